// The whole program's state and windows, created in start-up order; a test can build a fresh one.
#pragma once

#include "fglowny.h"
#include "fsluchaj.h"
#include "fwarning.h"
#include "siec.h"
#include "stan.h"

#include <memory>

struct Program {
    Program();
    ~Program();

    // Loads the data and shows the main window; false when the program must end at once (no list file).
    bool Pokaz();

    StanProgramu stan;
    Siec siec;
    std::unique_ptr<TFGlowny> FGlowny;
    std::unique_ptr<TFWarning> FWarning;
    std::unique_ptr<TFSluchaj> FSluchaj;
};

// The application-wide settings of a start: title, font, Qt's own texts in Polish.
void UstawAplikacje();
// Loads Qt's Polish texts (context menus, standard dialogs, names read to a screen reader) whatever the system's
// language is, since the whole interface is Polish; false when the translation files are missing.
bool WczytajPolskieTeksty();
