// Owner-drawn set picker: the list's delegate and the closed field both draw through RysujPozycje.
#include "wyborzestawu.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

class DelegatPozycji : public QStyledItemDelegate {
public:
    explicit DelegatPozycji(TWyborZestawu* lista) : QStyledItemDelegate(lista), lista_(lista) {}

    void paint(QPainter* malarz, const QStyleOptionViewItem& opcja, const QModelIndex& indeks) const override
    {
        RysujPozycje(*malarz, *lista_, indeks.row(), opcja.rect, opcja.state & QStyle::State_Selected);
    }

    QSize sizeHint(const QStyleOptionViewItem& opcja, const QModelIndex& indeks) const override
    {
        return {QStyledItemDelegate::sizeHint(opcja, indeks).width(), TWyborZestawu::WysokoscPozycji};
    }

private:
    TWyborZestawu* lista_;
};

} // namespace

TWyborZestawu::TWyborZestawu(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setItemDelegate(new DelegatPozycji(this));
}

void TWyborZestawu::hidePopup()
{
    QComboBox::hidePopup();
    wlasnieZamknieta_ = true;
    QTimer::singleShot(0, this, [this] { wlasnieZamknieta_ = false; });
}

void TWyborZestawu::wheelEvent(QWheelEvent* zdarzenie)
{
    zdarzenie->ignore();
}

void TWyborZestawu::keyPressEvent(QKeyEvent* zdarzenie)
{
    switch (zdarzenie->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        showPopup();
        zdarzenie->accept();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        zdarzenie->accept();
        return;
    case Qt::Key_Space:
        break; // opens the list
    default:
        // Typed letters would select an item by its first letters and load it at once.
        if (!zdarzenie->text().isEmpty() && zdarzenie->text().at(0).isPrint()) {
            zdarzenie->ignore();
            return;
        }
        break;
    }
    QComboBox::keyPressEvent(zdarzenie);
}

void TWyborZestawu::paintEvent(QPaintEvent*)
{
    QStylePainter malarz(this);
    QStyleOptionComboBox opcja;
    initStyleOption(&opcja);
    opcja.currentText.clear(); // the text comes from RysujPozycje below, not from the style
    opcja.currentIcon = QIcon();
    malarz.drawComplexControl(QStyle::CC_ComboBox, opcja);
    const QRect pole = style()->subControlRect(QStyle::CC_ComboBox, &opcja, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0)
        RysujPozycje(malarz, *this, currentIndex(), pole);
}

void RysujPozycje(QPainter& malarz, const QComboBox& lista, int indeks, const QRect& prostokat, bool podswietlona)
{
    malarz.save();
    malarz.fillRect(prostokat, podswietlona ? lista.palette().color(QPalette::Highlight) : QColor(255, 255, 255));
    malarz.setPen(podswietlona ? lista.palette().color(QPalette::HighlightedText) : QColor(70, 77, 64));
    malarz.setFont(lista.font());
    const QFontMetrics miary(lista.font());
    // The text's top-left corner sits at (left+1, top+1): the baseline is one ascent lower.
    malarz.drawText(QPoint(prostokat.left() + 1, prostokat.top() + 1 + miary.ascent()), lista.itemText(indeks));
    malarz.restore();
}
