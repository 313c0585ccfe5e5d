// How the set check compares an entry's texts with the dictionary's: the form a text is compared in, the phrases a
// dictionary headword stands for, British spellings, the plurals a Polish noun may take.
//
// Plain C++; texts in and out are UTF-8. Each rule only brings together two ways of writing the same thing, so a
// comparison made through them never joins an entry to a meaning it does not have.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vokara::zestawy {

// English as it is compared: small letters, hyphens as blanks, no quote marks or closing punctuation, contractions
// written out ("I'm" is "i am", "doesn't" is "does not"), each word in its American spelling. A phrase also loses a
// leading "the" and the dictionary's stand-ins "sb" and "sth", and writes every possessive ("my", "your", "sb's") as
// "one's" and every reflexive ("yourself") as "oneself"; a single word keeps what it is, so "your" never meets "his".
std::string PorownawczeAngielskie(std::string_view tekst);

// Polish as it is compared: small letters, no quote marks or closing punctuation; a phrase loses the stand-ins
// "coś", "kogoś", "czymś", "komuś"... ("kierować czymś" is "kierować").
std::string PorownawczePolskie(std::string_view tekst);

// The text without the closing preposition a verb takes: "rely on" gives "rely", "polegać na" gives "polegać",
// "pokłócić się z" gives "pokłócić się". False when the text does not end in one (after at least one word).
bool BezPrzyimka(std::string_view tekst, bool polski, std::string& reszta);

// The American spelling of one British word in small letters ("colour" -> "color", "apologise" -> "apologize",
// "centre" -> "center", "travelled" -> "traveled"); any other word as it is.
std::string AmerykanskaPisownia(std::string_view slowo);

// The phrases a dictionary headword stands for: "be/keep in touch (with sb)" is "be in touch with sb",
// "be in touch", "keep in touch with sb" and "keep in touch"; between "*" marks a "/" parts whole phrases
// ("*fall/be taken* ill" is "fall ill" or "be taken ill").
std::vector<std::string> Rozwiniecia(std::string_view haslo);

// The nominative plurals a Polish noun in small letters may take ("skarpetka" -> "skarpetki", "kapeć" -> "kapcie",
// "zioło" -> "zioła", "dziecko" -> "dzieci"): candidates to compare an entry's plural with, several of them no word
// at all. Empty for a phrase.
std::vector<std::string> LiczbaMnoga(std::string_view rzeczownik);

// The singular forms an English word that ends in "s" may come from ("nuts" -> "nut", "dishes" -> "dish",
// "berries" -> "berry"); empty for any other word.
std::vector<std::string> PojedynczeFormy(std::string_view slowo);

} // namespace vokara::zestawy
