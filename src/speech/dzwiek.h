// Sound as the player takes it: 16-bit mono samples at one rate, made from recordings and the voice's samples.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace vokara {

using Probki = std::vector<std::int16_t>;

// The one rate the player's device is opened at; every sound is brought to it before it is queued.
inline constexpr int CzestotliwoscOdtwarzania = 48000;
// The longest stretch of a recording decoded (a pronunciation lasts a second or two; a huge file in the cache must not
// fill the memory), and the most of the file read for it.
inline constexpr int NajdluzszeNagranieS = 30;
inline constexpr long long NajwiekszyPlikNagrania = 4 * 1024 * 1024;

// The samples brought from rate `z` to rate `na` through a windowed-sinc filter (band-limited, so a rate brought down
// folds nothing back); the length is the input's at the new rate.
Probki Przelicz(const Probki& probki, int z, int na);

// The quiet before and after a sound (below 0.5% of full scale: the voice's pauses, a recording's silence) cut down
// to a 20 ms margin, faded in and out across it: a press is heard at once, every sample of the word itself is kept,
// and the sound starts and ends without a click. Empty when nothing rises above the quiet.
Probki Przytnij(const Probki& probki, int czestotliwosc);

// The same sound slower or faster (`tempo` 0.75 lasts 4/3 as long) at the same pitch (WSOLA, set for speech).
Probki Rozciagnij(const Probki& probki, int czestotliwosc, double tempo);

// An MP3 file decoded to mono (libmpg123): at most NajdluzszeNagranieS of sound, from at most NajwiekszyPlikNagrania
// of the file, which must be a regular file (a FIFO put in its place is never waited on). False, with the reason in
// `blad`, when the file cannot be read or holds no sound.
bool DekodujMp3(const QString& plik, Probki& probki, int& czestotliwosc, QString& blad);

} // namespace vokara
