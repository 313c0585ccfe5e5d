// UTF-8 as the dictionary reads it: characters one by one, case folding for Latin (Polish too), Greek and Cyrillic
// letters, and the look-up key that dictd's index files use.
#pragma once

#include <string>
#include <string_view>

namespace vokara::slownik {

// The character at `i`, moving `i` past it. A byte that does not start a valid sequence reads as U+FFFD and moves
// `i` by one, so every loop over a text ends.
char32_t NastepnyZnak(std::string_view tekst, std::size_t& i);

void DopiszZnak(std::string& tekst, char32_t znak);

// The small letter of a capital; every other character stays as it is.
char32_t MalaLitera(char32_t znak);

// Letters that can make a word (Latin with its accented forms, Greek, Cyrillic).
bool Litera(char32_t znak);

// The text with every capital made small (Ą, Ł, Ś, É... too); invalid bytes become U+FFFD.
std::string Zlozone(std::string_view tekst);

// The key dictd's index files use for a headword: folded to small letters, letters and digits kept, white space
// between words as one blank, everything else (hyphens, apostrophes, dots) dropped. "Out-of-the-way" gives
// "outoftheway", "Adam's apple" gives "adams apple".
std::string KluczHasla(std::string_view tekst);
void KluczHasla(std::string_view tekst, std::string& wynik); // the same into a string kept for reuse

// The text with invalid sequences replaced by U+FFFD and control characters other than tab and line ends dropped:
// what the library hands out is always valid UTF-8, whatever a damaged file held.
std::string PoprawneUtf8(std::string_view tekst);

// Length in characters.
std::size_t LiczbaZnakow(std::string_view tekst);

} // namespace vokara::slownik
