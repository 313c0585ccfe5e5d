// The review schedule: an entry's memory by FSRS-6 (stability, difficulty, recall), its due time and stages.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vokara {

// The four grades of an answer. The choice, typing and dictation pages give only Dobrze (right) or Nie (wrong);
// flashcards give all four.
enum Ocena : int {
    OcenaNie = 1,    // "Nie pamiętam" (Again)
    OcenaTrudne = 2, // "Trudne" (Hard)
    OcenaDobrze = 3, // "Dobrze" (Good)
    OcenaLatwe = 4,  // "Łatwe" (Easy)
};

// A right answer on the pages without self-grading is Good, a wrong one Again. Only the first answer to an entry in
// a round counts (a wrong answer the round asks again is not passed here twice): the caller filters, as the Leitner
// boxes did.
inline constexpr int OcenaOdpowiedzi(bool dobrze)
{
    return dobrze ? OcenaDobrze : OcenaNie;
}

inline constexpr int LiczbaParametrow = 21;
inline constexpr double DomyslnaRetencja = 0.9; // an entry is due when its predicted recall falls below this
inline constexpr std::int64_t MsNaDzien = 86400000;

// The model's 21 weights w0..w20, as FSRS-6 numbers them. The defaults are FSRS-6's published ones; any other set
// (a fit, a stored one) is clamped to the published bounds before use, so a damaged value cannot run the schedule off.
struct Parametry {
    std::array<double, LiczbaParametrow> w;

    static Parametry Domyslne();
    // The lower and upper bound of each weight.
    static const std::array<std::array<double, 2>, LiczbaParametrow>& Granice();
    // These weights clamped into their bounds (a weight that is not a number takes its default).
    Parametry Przyciete() const;
};

// One answer of an entry: when (milliseconds since the epoch, and the calendar day it fell on, e.g. the database's
// Julian day of the local date) and its grade 1-4. The model counts elapsed time in whole calendar days, as FSRS-6
// does: two answers on the same day are a same-day review.
struct Odpowiedz {
    std::int64_t Czas = 0;
    std::int64_t Dzien = 0;
    int Ocena = OcenaDobrze;
};

// What the schedule knows of one entry after its answers.
struct StanFsrs {
    double S = 0.0; // stability: days until predicted recall falls to 90%
    double D = 0.0; // difficulty, 1 (easiest) to 10
    std::int64_t OstatniCzas = 0;
    std::int64_t OstatniDzien = 0;
    int Odpowiedzi = 0; // answers that went into the state; 0 for an entry never answered
    int Pomylki = 0;    // of them graded Again after the first (lapses)

    bool Nowy() const { return Odpowiedzi == 0; }
};

// The state after one more answer. Answers must come in time order; a grade outside 1-4 leaves the state as it was.
// The prediction the state made for this answer (recall after the elapsed whole days, or -1 for a first or same-day
// answer, which the model does not predict) goes to `przewidywanie` when given.
StanFsrs Powtorz(const Parametry& p, const StanFsrs& stan, const Odpowiedz& odpowiedz, double* przewidywanie = nullptr);

// An entry's whole answer log replayed into its state. The log is taken in time order (a log out of order is sorted
// first, by time, keeping the order of equal times). With `przewidywania`, one value per answer as Powtorz gives it.
StanFsrs Odtworz(const Parametry& p, std::span<const Odpowiedz> log, std::vector<double>* przewidywania = nullptr);

// Predicted recall of the entry at the moment `czas` (ms). Between answers the forgetting curve is read at the exact
// time, so the due moment is where it crosses the desired retention. An entry never answered has 0.
double PrzewidywanePamietanie(const Parametry& p, const StanFsrs& stan, std::int64_t czas);

// When the entry is due (ms): the moment its predicted recall falls to `retencja`. An entry never answered is due
// at once (returns 0).
std::int64_t Termin(const Parametry& p, const StanFsrs& stan, double retencja = DomyslnaRetencja);

// For flashcard buttons: how long (ms) until the entry would be due again after each grade given at (czas, dzien);
// index 0 is Again, 3 Easy.
std::array<std::int64_t, 4> OdstepyOcen(const Parametry& p, const StanFsrs& stan, std::int64_t czas, std::int64_t dzien,
                                        double retencja = DomyslnaRetencja);

// "za 10 min", "za 5 godz.", "za 1 dzień", "za 3 dni", "za 2 mies.", "za 1 rok", "za 2 lata", "za 5 lat" (UTF-8).
// Each unit is rounded to the nearest whole and moves to the next unit where it reaches it (59.6 min is "za 1
// godz."); anything under a minute is "za 1 min".
std::string OpisOdstepu(std::int64_t ms);

// The stages of progress, by stability (days until predicted recall falls to 90%):
//  - nowe: never answered;
//  - w nauce: answered, but the memory would fade below 90% within a week (S < 7), as after a first answer or a lapse;
//  - utrwalane: it holds for a week up to three (7 <= S < 21), the steps of a young memory growing;
//  - opanowane: three weeks and more (S >= 21), where reviews become rare.
enum class Etap : int { Nowe = 0, WNauce = 1, Utrwalane = 2, Opanowane = 3 };
inline constexpr double ProgUtrwalania = 7.0;
inline constexpr double ProgOpanowania = 21.0;
Etap EtapWpisu(const StanFsrs& stan);

// The formulas one by one, for the tests and for whoever explains the schedule. Time in days, grades 1-4.
namespace fsrs {
double Pamietanie(const Parametry& p, double dni, double s);                     // R(t, S) with the trainable decay w20
double Odstep(const Parametry& p, double s, double retencja = DomyslnaRetencja); // days until R falls to retencja
double StabilnoscPoczatkowa(const Parametry& p, int ocena);
double TrudnoscPoczatkowa(const Parametry& p, int ocena); // clamped to 1-10
double NowaTrudnosc(const Parametry& p, double d, int ocena);
double StabilnoscPoPrzypomnieniu(const Parametry& p, double s, double d, double r, int ocena);
double StabilnoscPoZapomnieniu(const Parametry& p, double s, double d, double r);
double StabilnoscTegoSamegoDnia(const Parametry& p, double s, int ocena);
} // namespace fsrs

} // namespace vokara
