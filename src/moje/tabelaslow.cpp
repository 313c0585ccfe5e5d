// The editor's table: new rows from Tab and Enter at the end, Shift+Tab out at the start, the byte count while typing.
#include "tabelaslow.h"

#include "zbior.h"

#include <QKeyEvent>
#include <QLineEdit>

bool TabelaSlow::NaOstatnimWierszu() const
{
    const QModelIndex biezacy = currentIndex();
    return model() && (model()->rowCount() == 0 || (biezacy.isValid() && biezacy.row() == model()->rowCount() - 1));
}

bool TabelaSlow::NaPoczatku() const
{
    const QModelIndex biezacy = currentIndex();
    return biezacy.isValid() && biezacy.row() == 0 && biezacy.column() == 0;
}

void TabelaSlow::DoNowegoWiersza()
{
    if (!NowyWiersz || !model())
        return;
    const QModelIndex cel = model()->index(NowyWiersz(), 0);
    setCurrentIndex(cel);
    edit(cel);
}

QModelIndex TabelaSlow::moveCursor(CursorAction ruch, Qt::KeyboardModifiers klawisze)
{
    // A plain table wraps from its last cell to the first, where the next pair typed would overwrite the first one.
    const QModelIndex biezacy = currentIndex();
    if (ruch == MoveNext && NowyWiersz && model() && biezacy.isValid() && biezacy.row() == model()->rowCount() - 1 &&
        biezacy.column() == model()->columnCount() - 1)
        return model()->index(NowyWiersz(), 0);
    if (ruch == MovePrevious && NaPoczatku())
        return biezacy; // no wrap to the end; the key itself leaves the table (see keyPressEvent)
    return QTableView::moveCursor(ruch, klawisze);
}

void TabelaSlow::closeEditor(QWidget* edytor, QAbstractItemDelegate::EndEditHint wskazowka)
{
    // Enter commits with this hint: in the last row it goes on to a new one, elsewhere the cell stays current.
    if (wskazowka == QAbstractItemDelegate::SubmitModelCache && NowyWiersz && NaOstatnimWierszu()) {
        QTableView::closeEditor(edytor, QAbstractItemDelegate::NoHint);
        DoNowegoWiersza();
        return;
    }
    if (wskazowka == QAbstractItemDelegate::EditPreviousItem && NaPoczatku()) {
        QTableView::closeEditor(edytor, QAbstractItemDelegate::NoHint);
        focusPreviousChild();
        return;
    }
    QTableView::closeEditor(edytor, wskazowka);
}

void TabelaSlow::keyPressEvent(QKeyEvent* zdarzenie)
{
    const bool enter = zdarzenie->key() == Qt::Key_Return || zdarzenie->key() == Qt::Key_Enter;
    if (enter && (zdarzenie->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && state() != EditingState &&
        NowyWiersz && NaOstatnimWierszu()) {
        DoNowegoWiersza();
        zdarzenie->accept();
        return;
    }
    // Shift+Tab from the first cell is not taken: the focus goes on to the field before the table.
    if (zdarzenie->key() == Qt::Key_Backtab && NaPoczatku()) {
        zdarzenie->ignore();
        return;
    }
    QTableView::keyPressEvent(zdarzenie);
}

QWidget* KomorkaSlowa::createEditor(QWidget* rodzic, const QStyleOptionViewItem& opcje, const QModelIndex& indeks) const
{
    QWidget* edytor = QStyledItemDelegate::createEditor(rodzic, opcje, indeks);
    auto* pole = qobject_cast<QLineEdit*>(edytor);
    if (!pole)
        return edytor;
    const QPersistentModelIndex miejsce(indeks);
    connect(pole, &QLineEdit::textChanged, pole, [this, pole, miejsce](const QString& tekst) {
        const int bajty = vokara::BajtyPola(tekst);
        const bool zaDlugo = bajty > vokara::NajwiecejBajtowPola;
        pole->setStyleSheet(zaDlugo ? QStringLiteral("background-color: rgb(255,205,205);") : QString());
        pole->setToolTip(zaDlugo ? vokara::OpisDlugosci(bajty) : QString());
        emit zaDlugi(miejsce, zaDlugo ? bajty : 0);
    });
    return edytor;
}
