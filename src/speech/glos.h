// The built-in English voice: Flite speaks a word or a phrase into samples in memory, with no network and no files.
#pragma once

#include "dzwiek.h"

#include <string>

class QThread;

namespace vokara {

// The most the voice says of one text: a longer text is spoken in its first part, cut at a blank.
inline constexpr std::size_t NajdluzszyTekstGlosu = 200;
// Digits kept in one word, and punctuation marks kept in a row; the rest is left out.
inline constexpr int NajwiecejCyfrWSlowie = 15;
inline constexpr int NajwiecejZnakowWRzedzie = 3;

// What the voice is given of a text (UTF-8): printable ASCII only, letters with marks as their base letters (ł as
// l), invisible characters (zero-width, bidi controls, soft hyphens) left out, controls and anything the voice has
// no sound for as blanks, runs of punctuation and digits bounded, at most NajdluzszyTekstGlosu characters. Flite
// corrupts its heap on a few hundred punctuation marks in a row and takes minutes over long numbers; what this
// gives it costs a bounded time. Empty when nothing is left to say.
std::string TekstDlaGlosu(const std::string& utf8);

// The text as UTF-8, cleaned as above, as mono samples at the voice's own rate (set in `czestotliwosc`).
// `rozciagniecie` stretches the durations: 1 is the normal pace, 1.5 the slow one for learners. The voice is loaded
// on the first call, not at start-up. Empty when nothing could be said. Any thread may call it; one text is spoken
// at a time.
Probki GlosProbki(const std::string& tekst, double rozciagniecie, int& czestotliwosc);

// Whether the voice has been loaded (start-up must leave it unloaded).
bool GlosZaladowany();
// Lets the voice go; the next call loads it again (the benchmark measures that first use).
void ZwolnijGlos();
// The thread the voice last spoke in (never the window's).
QThread* WatekGlosu();

} // namespace vokara
