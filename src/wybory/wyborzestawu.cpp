// Owner-drawn set picker: the list's delegate and the closed field both draw through RysujPozycje.
#include "wyborzestawu.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

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
}

QAbstractItemDelegate* TWyborZestawu::Delegat()
{
    // The drop-down list (a whole popup window with its view) is made only when first wanted, not for every picker
    // at start-up.
    if (!delegat_) {
        delegat_ = new DelegatPozycji(this);
        setItemDelegate(delegat_);
    }
    return delegat_;
}

bool TWyborZestawu::ListaOtwarta() const
{
    // The list only ever opens through showPopup, which makes it with the delegate.
    return delegat_ && view()->isVisible();
}

void TWyborZestawu::showPopup()
{
    Delegat();
    QComboBox::showPopup();
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

bool TWyborZestawu::event(QEvent* zdarzenie)
{
    if (zdarzenie->type() == QEvent::ToolTip) {
        const QString opis = currentIndex() >= 0 ? itemData(currentIndex(), Qt::ToolTipRole).toString() : QString();
        if (!opis.isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(zdarzenie)->globalPos(), opis, this);
            return true;
        }
    }
    return QComboBox::event(zdarzenie);
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

namespace {

// The known share of a practised set, right-aligned over the item's end: "NN%" and a 40 px bar before it.
void RysujZnajomosc(QPainter& malarz, const QComboBox& lista, int indeks, const QRect& prostokat, const QColor& tlo,
                    const QColor& pioro)
{
    const QVariant udzial = lista.itemData(indeks, RolaPostepu);
    if (!udzial.isValid())
        return;
    const double u = std::clamp(udzial.toDouble(), 0.0, 1.0);
    const double wNauce = std::clamp(lista.itemData(indeks, RolaWNauce).toDouble(), 0.0, 1.0 - u);
    const QString procent = QStringLiteral("%1%").arg(int(u * 100.0 + 0.5));
    const QFontMetrics miary(lista.font());
    const int szerokoscTekstu = miary.horizontalAdvance(QStringLiteral("100%"));
    const QRect tekst(prostokat.right() - 2 - szerokoscTekstu, prostokat.top(), szerokoscTekstu, prostokat.height());
    const int wysokosc = std::min(6, prostokat.height() - 4);
    const QRect pasek(tekst.left() - 46, prostokat.center().y() - wysokosc / 2, 40, wysokosc);
    // A long name runs under the bar: the bar's own ground, up to the item's right edge, keeps both readable.
    malarz.fillRect(QRect(QPoint(pasek.left() - 3, prostokat.top()), prostokat.bottomRight()), tlo);
    malarz.setPen(QColor(162, 125, 79));
    malarz.setBrush(KolorTlaPaska);
    malarz.drawRect(pasek.adjusted(0, 0, -1, -1));
    // Both parts end where their shares end together, so rounding never leaves a gap between them.
    const int wnetrze = pasek.width() - 2;
    const int opanowane = int(wnetrze * u);
    const int razem = int(wnetrze * (u + wNauce));
    malarz.fillRect(QRect(pasek.left() + 1, pasek.top() + 1, opanowane, pasek.height() - 2), KolorOpanowanych);
    malarz.fillRect(QRect(pasek.left() + 1 + opanowane, pasek.top() + 1, razem - opanowane, pasek.height() - 2),
                    KolorWNauce);
    malarz.setPen(pioro);
    malarz.drawText(tekst, Qt::AlignRight | Qt::AlignVCenter, procent);
}

} // namespace

void RysujPozycje(QPainter& malarz, const QComboBox& lista, int indeks, const QRect& prostokat, bool podswietlona)
{
    malarz.save();
    const QColor tlo = podswietlona ? lista.palette().color(QPalette::Highlight) : QColor(255, 255, 255);
    const QColor pioro = podswietlona ? lista.palette().color(QPalette::HighlightedText) : QColor(70, 77, 64);
    malarz.fillRect(prostokat, tlo);
    malarz.setPen(pioro);
    malarz.setFont(lista.font());
    const QFontMetrics miary(lista.font());
    // The text's top-left corner sits at (left+1, top+1): the baseline is one ascent lower.
    malarz.drawText(QPoint(prostokat.left() + 1, prostokat.top() + 1 + miary.ascent()), lista.itemText(indeks));
    RysujZnajomosc(malarz, lista, indeks, prostokat, tlo, pioro);
    malarz.restore();
}
