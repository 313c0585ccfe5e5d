// What the main window knows of a page: its place among the tabs, its help, its reset, its picker and its signals.
#pragma once

#include "dane.h"

#include <QWidget>

class TWyborZestawu;

namespace vokara {
class Runda;
} // namespace vokara

// How the main window lists a page before the page is made: the name of the tab's page widget, the tab's caption
// (with the blanks that space the tabs out) and the page's help file in the help folder.
struct OpisStrony {
    const char* Miejsce;
    const char* Podpis;
    const char* PlikPomocy;
};

class TStrona : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // What bringing the page to the front by the user does: the page is idle again, its picker on the first item.
    virtual void Resetuj() = 0;
    // The page's idle state alone, with its picker and direction as they are.
    virtual void Ukryj() {}
    // The page's set picker, if it has one (the pickers are filled and given their progress from outside).
    virtual TWyborZestawu* Wybor() const { return nullptr; }
    // The page's round, if it drills a set.
    virtual vokara::Runda* Runda() { return nullptr; }

signals:
    // An answer was checked: the entry (Windows-1250 texts), the page's id kept in the learning memory, the
    // direction of work, and whether it was right.
    void odpowiedziano(const vokara::_word& wpis, int strona, int kierunek, bool dobrze);
    // The learner's word turned the latest wrong answer to the entry into a right one.
    void uznano(const vokara::_word& wpis);
    // A round came to its end (every entry answered).
    void koniecRundy();
    // The learner graded their own recall of an entry (flashcards): the grade 1-4, "Nie pamiętam" to "Łatwe".
    void ocenione(const vokara::_word& wpis, int strona, int kierunek, int ocena);
};

// Enter presses the focused one of these buttons, as Space does.
void EnterNaciska(QWidget* korzen);
