// One exercise round: its own entries, shuffle, next unanswered entry, wrong options, the checks and their feedback.
#pragma once

#include "dane.h"
#include "losowanie.h"

#include <optional>
#include <string>
#include <vector>

namespace vokara {

// Direction of work: which side of an entry is given.
enum Tryb : int {
    AngielskiPolski = 0, // English given, Polish expected
    PolskiAngielski = 1, // Polish given, English expected
};

// A choice question: the given word and the entries whose other side are the options, in display order. A set of
// fewer than three entries yields fewer options; no entry appears twice.
struct Opcje {
    std::string Dany;
    std::vector<int> Indeksy;
};

// The text without the blanks at its start and end: a typed answer and the expected one are compared so.
std::string BezSpacjiNaBrzegach(const std::string& tekst);

// What a check found: right or wrong, and the feedback line (data bytes) the page shows.
struct Werdykt {
    bool Dobrze = false;
    bool Prawie = false; // wrong, but one slip of the keyboard from a right answer
    std::string Komentarz;
};

// A round holds the entries of the set it drills and draws from an injected generator (the program's one), so the
// draws come in the order the operations are called. It never touches a window.
class Runda {
public:
    explicit Runda(Losowanie& los) : los_(los) {}

    // Reads set `index` of the data folder and shuffles it; false leaves the round as it was, with nothing drawn.
    bool WczytajZestaw(const Dane& dane, int index);
    // Takes the entries and captions given (the review's due entries) and shuffles them.
    void Zacznij(Zestaw zestaw);
    void Wymieszaj();
    bool SaNiezaliczone() const;
    int NastepnyWyraz();
    // The choice test's search: as NastepnyWyraz from Biezacy = 0, so each question is the lowest unanswered entry
    // after the first and the first comes last; Biezacy is 0 when none is left. Answered entries are passed over
    // once per round, not once per question.
    int NastepnyOdPoczatku();
    void LosujInne();
    Opcje UlozOpcje(int tryb);
    std::string PoprawnaOdpowiedz(int tryb) const;
    std::string Pochwala();
    std::string Nagana(int tryb);
    void PomijajFrazy();

    // The checks of the three pages. Each marks the current entry answered when right and draws its feedback.
    // The choice test: the data text of the picked option against the expected one.
    Werdykt SprawdzWybor(const std::string& wybrana, int tryb);
    // The typing page: the typed text (without its surrounding blanks; empty when it has no Windows-1250 form)
    // against the expected text, byte for byte.
    Werdykt SprawdzWpis(const std::optional<std::string>& wpisane, int tryb);
    // The dictation page: the English word or its meaning, case folded (Polish letters too).
    Werdykt SprawdzSluch(const std::optional<std::string>& wpisane);
    // Both typed checks judge as a teacher would: each of the alternatives an expected text lists (", ", "; ",
    // " / ") is right alone; with Polish given, so is the English of another entry of the round with the very same
    // Polish; an answer that lacks only the marks of Polish letters is right, and the feedback reminds of them; an
    // answer one slip from a right one (a letter added, left out or changed, two neighbours swapped; four letters or
    // more) stays wrong, and its feedback begins "Prawie! ". One draw for the feedback, as ever.

    // The learner's word over a wrong verdict: the current entry counts as answered. False when there was nothing to
    // turn (no current entry, or it was right already).
    bool Uznaj();

    std::vector<_word>& Wyrazy() { return zestaw_.Wyrazy; }
    const std::vector<_word>& Wyrazy() const { return zestaw_.Wyrazy; }
    const std::string& NaglowekWyraz() const { return zestaw_.NaglowekWyraz; }
    const std::string& NaglowekOznacza() const { return zestaw_.NaglowekOznacza; }

    // True when Biezacy names an entry of the loaded set; handlers check it before reading the entry.
    bool JestBiezacy() const;
    const _word& BiezacyWyraz() const;
    _word& BiezacyWyraz();
    // Entries answered so far, and those the round asks at all (a dictation round leaves phrases out).
    int Zaliczone() const;

    int Biezacy = 0; // -1 before the first entry; a page switch sets it so
    int Inny1 = 0;
    int Inny2 = 0;

private:
    Zestaw zestaw_;
    Losowanie& los_;
    // Every entry from 1 to kursor_-1 was answered when NastepnyOdPoczatku last looked; valid only for the same
    // entries (a load or a shuffle starts it again).
    int kursor_ = 1;
    const _word* kursorDane_ = nullptr;
    std::size_t kursorDlugosc_ = 0;
};

} // namespace vokara
