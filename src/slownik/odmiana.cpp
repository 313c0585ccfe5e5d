// Rules and a small table that take English word forms back to their headwords.
#include "odmiana.h"

#include <algorithm>
#include <array>

namespace vokara::slownik {

namespace {

struct Nieregularna {
    std::string_view Forma;
    std::string_view Haslo;
};

// Sorted by form for the binary search below.
// clang-format off
constexpr std::array Nieregularne = std::to_array<Nieregularna>({
    {"am", "be"}, {"analyses", "analysis"}, {"are", "be"}, {"ate", "eat"}, {"awoke", "awake"}, {"bade", "bid"},
    {"beaten", "beat"}, {"became", "become"}, {"been", "be"}, {"began", "begin"}, {"begun", "begin"},
    {"being", "be"}, {"bent", "bend"}, {"best", "good"}, {"better", "good"}, {"bit", "bite"}, {"bitten", "bite"},
    {"bled", "bleed"}, {"blew", "blow"}, {"blown", "blow"}, {"bore", "bear"}, {"borne", "bear"}, {"bought", "buy"},
    {"bound", "bind"}, {"bred", "breed"}, {"broke", "break"}, {"broken", "break"}, {"brought", "bring"},
    {"built", "build"}, {"burnt", "burn"}, {"came", "come"}, {"caught", "catch"}, {"children", "child"},
    {"chose", "choose"}, {"chosen", "choose"}, {"clung", "cling"}, {"crises", "crisis"}, {"criteria", "criterion"},
    {"dealt", "deal"}, {"did", "do"}, {"does", "do"}, {"done", "do"}, {"drank", "drink"}, {"drawn", "draw"},
    {"dreamt", "dream"}, {"drew", "draw"}, {"driven", "drive"}, {"drove", "drive"}, {"dug", "dig"},
    {"eaten", "eat"}, {"fallen", "fall"}, {"fed", "feed"}, {"feet", "foot"}, {"fell", "fall"}, {"felt", "feel"},
    {"fled", "flee"}, {"flew", "fly"}, {"flown", "fly"}, {"forbade", "forbid"}, {"forgave", "forgive"},
    {"forgiven", "forgive"}, {"forgot", "forget"}, {"forgotten", "forget"}, {"fought", "fight"}, {"found", "find"},
    {"froze", "freeze"}, {"frozen", "freeze"}, {"gave", "give"}, {"geese", "goose"}, {"given", "give"},
    {"gone", "go"}, {"got", "get"}, {"gotten", "get"}, {"grew", "grow"}, {"grown", "grow"}, {"had", "have"},
    {"has", "have"}, {"having", "have"}, {"heard", "hear"}, {"held", "hold"}, {"hid", "hide"}, {"hidden", "hide"},
    {"hung", "hang"}, {"is", "be"}, {"kept", "keep"}, {"knelt", "kneel"}, {"knew", "know"}, {"known", "know"},
    {"laid", "lay"}, {"lain", "lie"}, {"led", "lead"}, {"left", "leave"}, {"lent", "lend"}, {"lice", "louse"},
    {"lit", "light"}, {"lost", "lose"}, {"made", "make"}, {"meant", "mean"}, {"men", "man"}, {"met", "meet"},
    {"mice", "mouse"}, {"oxen", "ox"}, {"paid", "pay"}, {"people", "person"}, {"phenomena", "phenomenon"},
    {"ran", "run"}, {"rang", "ring"}, {"ridden", "ride"}, {"risen", "rise"}, {"rode", "ride"}, {"rose", "rise"},
    {"rung", "ring"}, {"said", "say"}, {"sang", "sing"}, {"sank", "sink"}, {"sat", "sit"}, {"saw", "see"},
    {"seen", "see"}, {"sent", "send"}, {"shaken", "shake"}, {"shone", "shine"}, {"shook", "shake"},
    {"shot", "shoot"}, {"slept", "sleep"}, {"slid", "slide"}, {"sold", "sell"}, {"sought", "seek"},
    {"spat", "spit"}, {"spent", "spend"}, {"spoke", "speak"}, {"spoken", "speak"}, {"sprang", "spring"},
    {"sprung", "spring"}, {"spun", "spin"}, {"stole", "steal"}, {"stolen", "steal"}, {"stood", "stand"},
    {"struck", "strike"}, {"stuck", "stick"}, {"stung", "sting"}, {"sung", "sing"}, {"sunk", "sink"},
    {"swam", "swim"}, {"swept", "sweep"}, {"swore", "swear"}, {"sworn", "swear"}, {"swum", "swim"},
    {"swung", "swing"}, {"taken", "take"}, {"taught", "teach"}, {"teeth", "tooth"}, {"thought", "think"},
    {"threw", "throw"}, {"thrown", "throw"}, {"told", "tell"}, {"took", "take"}, {"tore", "tear"}, {"torn", "tear"},
    {"understood", "understand"}, {"was", "be"}, {"went", "go"}, {"wept", "weep"}, {"were", "be"}, {"woke", "wake"},
    {"woken", "wake"}, {"women", "woman"}, {"won", "win"}, {"wore", "wear"}, {"worn", "wear"}, {"worse", "bad"},
    {"worst", "bad"}, {"wound", "wind"}, {"written", "write"}, {"wrote", "write"},
});
// clang-format on

static_assert(std::is_sorted(Nieregularne.begin(), Nieregularne.end(),
                             [](const Nieregularna& a, const Nieregularna& b) { return a.Forma < b.Forma; }));

bool Samogloska(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

bool MaSamogloske(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), Samogloska);
}

// Consonant, vowel, consonant at the end ("hop", "mak"): such a stem doubles its last letter before -ing and -ed, so
// a form without the doubling ("hoping") comes from the stem with an -e ("hope").
bool SpolgloskaSamogloskaSpolgloska(std::string_view s)
{
    if (s.size() < 3)
        return false;
    const char a = s[s.size() - 3];
    const char b = s[s.size() - 2];
    const char c = s[s.size() - 1];
    return !Samogloska(a) && Samogloska(b) && !Samogloska(c) && c != 'w' && c != 'x' && c != 'y';
}

// The stem without a doubled last consonant ("runn" -> "run"), or "".
std::string Pojedyncza(std::string_view s)
{
    if (s.size() >= 3 && s.back() == s[s.size() - 2] && !Samogloska(s.back()))
        return std::string(s.substr(0, s.size() - 1));
    return {};
}

// Stems of a suffix that may drop an -e or double a consonant (-ing, -ed, -er, -est).
void Rdzenie(std::string_view rdzen, std::vector<std::string>& wynik)
{
    if (rdzen.size() < 2 || !MaSamogloske(rdzen))
        return;
    const std::string zE = std::string(rdzen) + "e";
    if (SpolgloskaSamogloskaSpolgloska(rdzen)) {
        wynik.push_back(zE);
        wynik.emplace_back(rdzen);
    } else {
        wynik.emplace_back(rdzen);
        wynik.push_back(zE);
    }
    if (std::string p = Pojedyncza(rdzen); !p.empty())
        wynik.push_back(std::move(p));
}

} // namespace

std::vector<std::string> FormyPodstawowe(std::string_view s)
{
    std::vector<std::string> wynik;
    wynik.emplace_back(s);
    const auto n = std::lower_bound(Nieregularne.begin(), Nieregularne.end(), s,
                                    [](const Nieregularna& a, std::string_view b) { return a.Forma < b; });
    if (n != Nieregularne.end() && n->Forma == s)
        wynik.emplace_back(n->Haslo);
    const auto bez = [&](std::size_t ile) { return s.substr(0, s.size() - ile); };
    if (s.size() < 3)
        return wynik;
    if (s.ends_with("ies") && s.size() > 4)
        wynik.push_back(std::string(bez(3)) + "y");
    if (s.ends_with("ves")) {
        wynik.push_back(std::string(bez(3)) + "f");
        wynik.push_back(std::string(bez(3)) + "fe");
    }
    if (s.ends_with("es"))
        wynik.emplace_back(bez(2));
    if (s.ends_with("s") && !s.ends_with("ss") && !s.ends_with("us") && !s.ends_with("is"))
        wynik.emplace_back(bez(1));
    if (s.ends_with("ied") && s.size() > 4)
        wynik.push_back(std::string(bez(3)) + "y");
    if (s.ends_with("ed"))
        Rdzenie(bez(2), wynik);
    if (s.ends_with("ying") && s.size() >= 5)
        wynik.push_back(std::string(bez(4)) + "ie"); // lying -> lie
    if (s.ends_with("ing"))
        Rdzenie(bez(3), wynik);
    if (s.ends_with("iest") || s.ends_with("ier"))
        wynik.push_back(std::string(bez(s.ends_with("iest") ? 4 : 3)) + "y");
    if (s.ends_with("est"))
        Rdzenie(bez(3), wynik);
    if (s.ends_with("er"))
        Rdzenie(bez(2), wynik);
    if (s.ends_with("ily"))
        wynik.push_back(std::string(bez(3)) + "y");
    if (s.ends_with("ally"))
        wynik.emplace_back(bez(4));
    if (s.ends_with("ly")) {
        wynik.emplace_back(bez(2));
        wynik.push_back(std::string(bez(2)) + "le");
    }
    // A rule may give a stem twice, or one too short to be a word.
    std::vector<std::string> bezPowtorzen;
    for (auto& w : wynik) {
        if (bezPowtorzen.empty() ||
            (MaSamogloske(w) && std::find(bezPowtorzen.begin(), bezPowtorzen.end(), w) == bezPowtorzen.end()))
            bezPowtorzen.push_back(std::move(w));
    }
    return bezPowtorzen;
}

} // namespace vokara::slownik
