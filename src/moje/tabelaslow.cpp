// The editor's table: new rows from Tab and Enter at the end, Shift+Tab out at the start, the byte count while typing.
#include "tabelaslow.h"

#include "zbior.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

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

namespace {

// Tab or Enter in the open list of suggestions: what the learner chose goes into the cell, and the table moves on.
class FiltrTabu : public QObject {
public:
    FiltrTabu(QCompleter* lista, QLineEdit* pole) : QObject(pole), lista_(lista), pole_(pole) {}

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override
    {
        if (zdarzenie->type() != QEvent::KeyPress || !lista_->popup()->isVisible())
            return QObject::eventFilter(obiekt, zdarzenie);
        const int klawisz = static_cast<QKeyEvent*>(zdarzenie)->key();
        if (klawisz != Qt::Key_Tab && klawisz != Qt::Key_Return && klawisz != Qt::Key_Enter)
            return QObject::eventFilter(obiekt, zdarzenie);
        // Tab takes the suggestion highlighted, the first when none is; Enter only one the arrows picked.
        QModelIndex wybrana = lista_->popup()->currentIndex();
        if (!wybrana.isValid() && klawisz == Qt::Key_Tab)
            wybrana = lista_->completionModel()->index(0, 0);
        if (wybrana.isValid())
            pole_->setText(wybrana.data(Qt::DisplayRole).toString());
        lista_->popup()->hide();
        // Then the table's own key, at once: the cell is committed and the table moves on as it always does.
        QKeyEvent dalej(QEvent::KeyPress, klawisz, Qt::NoModifier);
        QCoreApplication::sendEvent(pole_, &dalej);
        return true;
    }

private:
    QCompleter* lista_;
    QLineEdit* pole_;
};

} // namespace

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
    if (Podpowiedzi && indeks.data(Qt::EditRole).toString().trimmed().isEmpty()) {
        const int kolumna = indeks.column();
        const QString drugie = indeks.siblingAtColumn(1 - kolumna).data(Qt::EditRole).toString().trimmed();
        const QStringList podpowiedzi = drugie.isEmpty() ? QStringList() : Podpowiedzi(kolumna, drugie);
        if (!podpowiedzi.isEmpty())
            DodajPodpowiedzi(pole, podpowiedzi);
    }
    return edytor;
}

void KomorkaSlowa::DodajPodpowiedzi(QLineEdit* pole, const QStringList& podpowiedzi) const
{
    auto* lista = new QCompleter(podpowiedzi, pole);
    lista->setCaseSensitivity(Qt::CaseInsensitive);
    lista->setCompletionMode(QCompleter::PopupCompletion);
    lista->setMaxVisibleItems(8);
    lista->popup()->setAccessibleName(QStringLiteral("Podpowiedzi ze słownika"));
    pole->setCompleter(lista);
    // Tab takes the highlighted suggestion (the first, if none is) and then moves on as Tab always does in the
    // table; Escape or typing on leaves the cell as the learner types it.
    auto* tab = new FiltrTabu(lista, pole);
    lista->popup()->installEventFilter(tab);
    // Shown as the cell opens, once the editor is on screen.
    QTimer::singleShot(0, pole, [lista, pole] {
        if (!pole->isVisible())
            return;
        lista->setCompletionPrefix(QString());
        // Nothing highlighted: a highlighted suggestion would already stand in the cell, as if chosen.
        lista->complete();
    });
}
