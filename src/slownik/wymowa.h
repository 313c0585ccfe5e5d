// English pronunciation in eng-pol's style: espeak-ng's IPA rewritten, and the call into espeak-ng itself.
#pragma once

#include <string>
#include <string_view>

namespace vokara::slownik {

// espeak-ng's IPA for one word rewritten the way eng-pol writes it (without the slashes): stress marks at the start
// of the syllable instead of before its vowel, none on a word of one syllable and no secondary stress after the
// main one, ":" for length, "r" for "ɹ", "e" for "ɛ", "ə" for "ɐ", "g", "ʧ", "ʤ", and nothing eng-pol never uses.
std::string IpaWStyluSlownika(std::string_view espeak);

// espeak-ng's IPA for an English word with its British (RP) voice, as espeak gives it; "" when espeak-ng or its
// voice cannot be loaded. Starts espeak-ng on first use; calls are serialised, espeak-ng is not thread-safe. Only
// letters, apostrophes, hyphens and blanks are passed on (no markup, no digits read out as numbers).
std::string IpaEspeak(std::string_view slowo);

} // namespace vokara::slownik
