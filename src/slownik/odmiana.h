// English word forms traced back to the headwords a dictionary lists: plurals, -ed, -ing, -er/-est, -ly, and a
// table of the commonest irregular verbs and plurals.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vokara::slownik {

// Headwords `slowo` (folded to small letters, without a possessive 's) may come from, the likeliest first and the
// word itself always first. The caller keeps the first one its dictionaries know.
std::vector<std::string> FormyPodstawowe(std::string_view slowo);

} // namespace vokara::slownik
