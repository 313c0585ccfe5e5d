// Set picker: a drop-down list without a typing field whose items the program draws itself.
#pragma once

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

private:
    QAbstractItemDelegate* delegat_ = nullptr;
    bool wlasnieZamknieta_ = false;
};

// Item data the learning memory puts on a picker: a set's known share (0 to 1; none for a set never practised),
// and the mark of the closing "Powtórka" item.
inline constexpr int RolaPostepu = Qt::UserRole + 1;
inline constexpr int RolaPowtorki = Qt::UserRole + 2;

// Draws one item of a picker: white ground, RGB(70,77,64) text at (left+1, top+1) in the picker's font, unclipped.
// Selected or not, in the closed field every item looks the same; the item under the mouse or the keyboard in an
// open list is highlighted in the picker's selection colours. A set with a known share shows it right-aligned as a
// small bar and a percentage.
void RysujPozycje(QPainter& malarz, const QComboBox& lista, int indeks, const QRect& prostokat,
                  bool podswietlona = false);
