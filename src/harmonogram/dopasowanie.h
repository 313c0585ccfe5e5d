// Fitting the schedule's weights to one learner's answers, checked against the defaults on the latest answers.
#pragma once

#include "harmonogram.h"

#include <atomic>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace vokara {

// Every entry's answer log, one log per entry (each in any order; the fit sorts a copy by time).
using Historia = std::vector<std::vector<Odpowiedz>>;

// A fit needs at least this many answers (all of them, first answers included) given on at least this many
// different calendar days: fewer say too little about how memory fades over days.
inline constexpr int NajmniejOdpowiedziDoDopasowania = 1000;
inline constexpr int NajmniejDniDoDopasowania = 7;
bool MoznaDopasowac(std::span<const std::vector<Odpowiedz>> historia);

struct UstawieniaDopasowania {
    int Epoki = 5;             // passes over the answers
    int Paczka = 512;          // predicted answers per step, in whole entries
    double Krok = 0.04;        // Adam's step at the start; it falls along a cosine to nothing by the end
    double Odlozone = 0.2;     // the latest share of answers by time, held out for the check
    std::uint64_t Ziarno = 23; // the order of entries in each pass, so a fit repeats exactly
};

struct WynikDopasowania {
    Parametry Dopasowane = Parametry::Domyslne(); // fitted on the answers before the held-out part
    // Mean log loss of the predicted held-out answers (those on a later day than the entry's previous answer).
    double StrataDopasowanych = 0.0;
    double StrataDomyslnych = 0.0;
    double BladRoznicy = 0.0; // the standard error of the mean per-answer difference of the two losses
    int Uczace = 0;           // predicted answers the fit learnt from
    int Sprawdzane = 0;       // predicted held-out answers
    // True only when the fitted weights predict the held-out answers better than the defaults by more than twice
    // the standard error of the difference: noise alone does not replace the defaults. The caller keeps the
    // defaults otherwise.
    bool Lepsze = false;
    bool Przerwane = false; // `przerwij` was set; nothing else in the result is meaningful
};

// Fits all 21 weights within their bounds by minimising the log loss of the predicted recall at every answer given
// on a later day than the entry's previous one (same-day answers shape the state through w17-w19 but are not
// predicted, as in FSRS-6's own training): first the initial stabilities of the grades seen, one by one, from each
// entry's second answer; then all weights by Adam over mini-batches of whole entries with exact derivatives. Single
// thread, no shared state: it may run in a worker thread; `przerwij` ends it early (checked between steps).
WynikDopasowania Dopasuj(std::span<const std::vector<Odpowiedz>> historia, const UstawieniaDopasowania& u = {},
                         const std::atomic<bool>* przerwij = nullptr);

// Mean log loss of the predictions these weights make for the answers given at or after `odCzasu` (ms), each
// entry's log replayed from its start; `ile` receives how many answers were predicted.
double StrataLogarytmiczna(const Parametry& p, std::span<const std::vector<Odpowiedz>> historia,
                           std::int64_t odCzasu = std::numeric_limits<std::int64_t>::min(), int* ile = nullptr);

} // namespace vokara
