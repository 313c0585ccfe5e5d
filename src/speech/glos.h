// The built-in English voice: Flite speaks a word or a phrase into an in-memory WAV, with no network and no files.
#pragma once

#include <QByteArray>

#include <string>

namespace vokara {

// The text as UTF-8 (English letters; anything the voice cannot say is skipped by it). `rozciagniecie` stretches the
// durations: 1 is the normal pace, 1.5 the slow one for learners. The voice is loaded on the first call, not at
// start-up. Empty when nothing could be said.
QByteArray GlosWav(const std::string& tekst, double rozciagniecie = 1.0);

// Whether the voice has been loaded (start-up must leave it unloaded).
bool GlosZaladowany();
// Lets the voice go; the next call loads it again (the benchmark measures that first use).
void ZwolnijGlos();

} // namespace vokara
