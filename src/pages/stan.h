// Program-wide state in one owned object, so a test can build a fresh program.
#pragma once

#include "dane.h"
#include "losowanie.h"
#include "pamiec.h"
#include "runda.h"

#include <QColor>

#include <functional>
#include <string>

struct StanProgramu {
    vokara::Dane dane;
    vokara::Losowanie los;
    vokara::Runda runda{los};
    QColor KolorWyboru{0, 128, 0}; // the picked option on the choice test; set again by every data load
    vokara::Pamiec pamiec;         // every checked answer, opened once the main window shows
};

// Pronounces an English word given as data bytes (Windows-1250).
using Wymowa = std::function<void(const std::string&)>;
