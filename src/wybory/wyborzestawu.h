// Set picker: a drop-down list without a typing field whose items the program draws itself.
#pragma once

#include <QColor>
#include <QComboBox>

class QAbstractItemDelegate;
class QPainter;

class TWyborZestawu : public QComboBox {
    Q_OBJECT

public:
    explicit TWyborZestawu(QWidget* parent = nullptr);

    static constexpr int WysokoscPozycji = 16;

    // The delegate that draws the open list's items (made, with the list, on first use).
    QAbstractItemDelegate* Delegat();
    // The list is open; asking does not make it.
    bool ListaOtwarta() const;

    void showPopup() override;
    void hidePopup() override;
    // True while the key that closed the list is still being delivered: the same Enter must not also act on the
    // page once the list has closed.
    bool ListaWlasnieZamknieta() const { return wlasnieZamknieta_; }

protected:
    void paintEvent(QPaintEvent* zdarzenie) override;
    // A closed picker never changes its set by itself: a wheel notch, an arrow or a letter would load a set and
    // throw a running round away. The arrows open the list instead; only a pick from it loads.
    void wheelEvent(QWheelEvent* zdarzenie) override;
    void keyPressEvent(QKeyEvent* zdarzenie) override;
    // The closed field's tooltip is its item's: how the picked set stands.
    bool event(QEvent* zdarzenie) override;

private:
    QAbstractItemDelegate* delegat_ = nullptr;
    bool wlasnieZamknieta_ = false;
};

// Item data the learning memory puts on a picker: a set's share opanowane (0 to 1; none for a set never practised),
// the mark of the closing "Powtórka" item, and the share w nauce (answered, not yet opanowane).
inline constexpr int RolaPostepu = Qt::UserRole + 1;
inline constexpr int RolaPowtorki = Qt::UserRole + 2;
inline constexpr int RolaWNauce = Qt::UserRole + 3;

// The bar's colours: its ground, the part opanowane, and the lighter part w nauce after it.
inline const QColor KolorTlaPaska(239, 228, 207);
inline const QColor KolorOpanowanych(96, 128, 64);
inline const QColor KolorWNauce(181, 201, 146);

// Draws one item of a picker: white ground, RGB(70,77,64) text at (left+1, top+1) in the picker's font, unclipped.
// Selected or not, in the closed field every item looks the same; the item under the mouse or the keyboard in an
// open list is highlighted in the picker's selection colours. A practised set shows its progress right-aligned as a
// small bar of two parts (opanowane, then w nauce, lighter) and the percentage opanowane.
void RysujPozycje(QPainter& malarz, const QComboBox& lista, int indeks, const QRect& prostokat,
                  bool podswietlona = false);
