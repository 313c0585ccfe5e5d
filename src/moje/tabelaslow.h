// The editor's table of pairs: a set typed row after row from the keyboard, and the cell editor that counts bytes.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

// Tab from the last cell and Enter in the last row go on to a new row at the end (the editor opens there), so pairs
// are typed one after another and none overwrites the first row; Shift+Tab goes back, out of the table from its
// first cell.
class TabelaSlow : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;

    // Makes sure an empty row stands at the end (adding one unless the last row is empty already) and returns its
    // number. Without it the table moves as a plain one does.
    std::function<int()> NowyWiersz;

protected:
    QModelIndex moveCursor(CursorAction ruch, Qt::KeyboardModifiers klawisze) override;
    void closeEditor(QWidget* edytor, QAbstractItemDelegate::EndEditHint wskazowka) override;
    void keyPressEvent(QKeyEvent* zdarzenie) override;

private:
    bool NaOstatnimWierszu() const;
    bool NaPoczatku() const;
    void DoNowegoWiersza();
};

class QLineEdit;

// The cell editor: while a text is typed that is longer than a set file keeps, the field turns red and says how many
// bytes it holds, before anything is committed.
class KomorkaSlowa : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* rodzic, const QStyleOptionViewItem& opcje, const QModelIndex& indeks) const override;

    // What the dictionary offers for an empty cell of column `kolumna` (1: the Polish meanings of the English word
    // beside it; 0: the English of the Polish one); empty for nothing. Offered in a list under the cell as it opens,
    // filtered as the learner types; Tab takes the one highlighted (the first at first); nothing goes in by itself.
    std::function<QStringList(int kolumna, const QString& drugie)> Podpowiedzi;

private:
    void DodajPodpowiedzi(QLineEdit* pole, const QStringList& podpowiedzi) const;

signals:
    // The text being typed into a cell, as it changes: its size in bytes, or 0 when it fits.
    void zaDlugi(const QModelIndex& indeks, int bajty) const;
};
