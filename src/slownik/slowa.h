// The words of a running text: subtitles, HTML and prose cleaned of their markup, words counted with what tells
// names and sentence starts apart, and the list of English function words a learner need not be given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vokara::slownik {

struct WyrazTekstu {
    std::string Slowo;        // folded to small letters, possessive 's and clitics ('ll, n't...) taken off
    int Ile = 0;              // occurrences counted (those that look like a name are not)
    std::size_t Pierwsze = 0; // order of first appearance
};

struct WyrazyTekstu {
    std::vector<WyrazTekstu> Wyrazy; // in order of first appearance; names, numbers, function words left out
    std::size_t Wszystkich = 0;      // every word read, whatever was left out
};

// Reads the words of a text. Subtitle numbers and time lines (.srt, .vtt headers and notes), HTML tags, scripts,
// styles and entities are removed first. A word written with a capital inside a sentence, and never small, is
// taken for a name. Words with digits are numbers.
WyrazyTekstu WyrazyZTekstu(std::string_view tekst);

// One of the few hundred commonest English function words (articles, pronouns, auxiliaries, prepositions,
// conjunctions, the commonest adverbs and determiners); `slowo` folded to small letters.
bool SlowoFunkcyjne(std::string_view slowo);

} // namespace vokara::slownik
