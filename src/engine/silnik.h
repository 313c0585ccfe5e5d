// Study round logic shared by the three exercises: shuffle, next unanswered entry, wrong options, feedback.
#pragma once

#include "dane.h"
#include "losowanie.h"

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

// Works on the loaded set of a Dane and draws from an injected generator. It never touches a window.
class Silnik {
public:
    Silnik(Dane& dane, Losowanie& los) : dane_(dane), los_(los) {}

    bool WczytajZestaw(int index); // reads the set and shuffles it
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
    Dane& dane_;
    Losowanie& los_;
    // Every entry from 1 to kursor_-1 was answered when NastepnyOdPoczatku last looked; valid only for the same
    // entries (a load or a shuffle starts it again).
    int kursor_ = 1;
    const _word* kursorDane_ = nullptr;
    std::size_t kursorDlugosc_ = 0;
};

} // namespace vokara
