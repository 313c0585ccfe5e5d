// The entry texts of both dictionaries taken apart: eng-pol's numbered senses, sub-entries and idioms with their
// labels and grammar codes cleaned, and pol-eng's glosses and definitions.
#pragma once

#include "slownik.h"

#include <string>
#include <string_view>
#include <vector>

namespace vokara::slownik {

// eng-pol, e.g.
//   house
//   I.  <N> 1.  budynek, dom
//    2.  [książek]  wydawnictwo
//   II.  <V> 1.  mieścić
//    2.  be housed (be V: :housed)
//    - mieszkać
struct WpisAngPol {
    std::vector<std::string> Hasla; // the headword and its variants as written ("offence", "offense")
    std::string Ipa;                // without slashes; "" when absent or unusable
    std::vector<Grupa> Grupy;       // the headword's own senses, merged by part of speech
    std::vector<Wyrazenie> Wyrazenia;
};
WpisAngPol ParsujAngPol(std::string_view tekst);

// Only the headword's own meanings (no sub-entries, idioms or notes), read the same way, for the reverse index;
// `wynik` is refilled, its strings reused. Returns the first headword as written.
struct ZnaczenieAngPol {
    std::string Tekst;
    std::uint8_t Zmysl = 0;   // numbered from 1
    std::uint8_t Pozycja = 0; // place among the sense's meanings
    std::uint8_t Ile = 0;     // meanings the sense has
    Czesc Rodzaj = Czesc::Inna;
};
std::string_view ZnaczeniaAngPol(std::string_view tekst, std::vector<ZnaczenieAngPol>& wynik);

// pol-eng, e.g.
//   łyżka /ˈwɨʃka/ <n>
//   1. shovel
//   (technologia, technika, techniczny) część maszyny budowlanej ...
//   2. spoon
//   sztuciec służący do jedzenia
// A gloss line follows the header or a sense's definitions; the line after a gloss line is always a definition, even
// when it starts with a number; " 3." alone on a line opens another definition of the same sense.
struct GlosaPolAng {
    std::string_view Tekst;
    std::uint8_t Zmysl = 0;   // 0 for the first sense
    std::uint8_t Pozycja = 0; // place among the sense's glosses
    std::uint8_t Ile = 0;     // how many glosses the sense has
};
struct WpisPolAng {
    std::string_view Haslo;
    Czesc Rodzaj = Czesc::Inna;
    std::vector<GlosaPolAng> Glosy;
    std::vector<std::string_view> Definicje; // the first definition of each sense, by sense
};
// Views into `tekst`; `wpis` is cleared and refilled, so one object can be reused for a whole pass.
void ParsujPolAng(std::string_view tekst, WpisPolAng& wpis);

// A definition as shown: domain labels cut to their first word, at most about 200 bytes.
std::string CzystaDefinicja(std::string_view definicja);

Czesc CzescAngPol(std::string_view kod); // "N", "V Phras", "Adj"...
Czesc CzescPolAng(std::string_view kod); // "n", "v", "adj", "pn", "personalPronoun"...

std::string_view Przytnij(std::string_view s);

} // namespace vokara::slownik
