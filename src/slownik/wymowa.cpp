// espeak-ng's IPA rewritten to eng-pol's transcription style.
#include "wymowa.h"

#include "utf8.h"

#include <algorithm>
#include <array>

namespace vokara::slownik {

namespace {

constexpr std::u32string_view Samogloski = U"aeiouɪʊəæɑɒɔʌɜ";
constexpr std::u32string_view Spolgloski = U"pbtdkgfvθðszʃʒhmnŋlrwjʧʤx";
constexpr char32_t Akcent = U'ˈ';
constexpr char32_t Poboczny = U'ˌ';

bool Samogloska(char32_t z)
{
    return Samogloski.find(z) != std::u32string_view::npos;
}

bool Spolgloska(char32_t z)
{
    return Spolgloski.find(z) != std::u32string_view::npos;
}

// Consonant clusters an English syllable may begin with; a stress mark moves back over as many consonants as still
// make one of them ("ʌmbɹˈɛlɐ" -> "ʌmˈbrelə", not "ˈʌmbrelə").
constexpr std::array<std::u32string_view, 44> Naglosy2 = {
    U"pl", U"bl", U"kl", U"gl", U"fl", U"sl", U"pr", U"br", U"tr", U"dr", U"kr", U"gr", U"fr", U"θr", U"ʃr",
    U"tw", U"dw", U"kw", U"sw", U"gw", U"θw", U"pj", U"bj", U"tj", U"dj", U"kj", U"gj", U"mj", U"nj", U"fj",
    U"vj", U"θj", U"sj", U"zj", U"hj", U"lj", U"sp", U"st", U"sk", U"sm", U"sn", U"sf", U"ʃm", U"ʃn",
};
constexpr std::array<std::u32string_view, 8> Naglosy3 = {U"spl", U"spr", U"str", U"skr",
                                                         U"skw", U"spj", U"stj", U"skj"};

bool Naglos(std::u32string_view s)
{
    if (s.size() == 1)
        return true;
    if (s.size() == 2)
        return std::find(Naglosy2.begin(), Naglosy2.end(), s) != Naglosy2.end();
    return s.size() == 3 && std::find(Naglosy3.begin(), Naglosy3.end(), s) != Naglosy3.end();
}

} // namespace

std::string IpaWStyluSlownika(std::string_view espeak)
{
    std::u32string znaki;
    for (std::size_t i = 0; i < espeak.size();)
        znaki += NastepnyZnak(espeak, i);

    // Symbols one for one, the affricates as eng-pol's single letters, and nothing eng-pol never writes.
    std::u32string a;
    for (std::size_t i = 0; i < znaki.size(); ++i) {
        char32_t z = znaki[i];
        const char32_t nastepny = i + 1 < znaki.size() ? znaki[i + 1] : 0;
        switch (z) {
        case U'ː':
            z = ':';
            break;
        case U'ɹ':
            z = 'r';
            break;
        case U'ɾ':
            z = 't';
            break;
        case U'ɛ':
            z = 'e';
            break;
        case U'ɐ':
            z = U'ə';
            break;
        case U'ɚ':
            z = U'ə';
            break;
        case U'ɡ':
            z = 'g';
            break;
        case U'ᵻ':
            z = U'ɪ';
            break;
        case U'ɫ':
            z = 'l';
            break;
        case U'ʍ':
            z = 'w';
            break;
        case 't':
        case 'd':
            if (nastepny == (z == 't' ? U'ʃ' : U'ʒ')) {
                z = z == 't' ? U'ʧ' : U'ʤ';
                ++i;
            }
            break;
        default:
            break;
        }
        if (Samogloska(z) || Spolgloska(z) || z == ':' || z == Akcent || z == Poboczny)
            a += z;
    }
    // eng-pol's short "happy" vowel is ɪ; its only i is the long one.
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == 'i' && (i + 1 >= a.size() || a[i + 1] != ':'))
            a[i] = U'ɪ';
    }
    for (std::size_t p; (p = a.find(U"u:ə")) != std::u32string::npos;)
        a.replace(p, 3, U"ʊə");

    // One main stress; a secondary one only before it.
    std::size_t glowny = a.find(Akcent);
    if (glowny == std::u32string::npos) {
        glowny = a.find(Poboczny);
        if (glowny != std::u32string::npos)
            a[glowny] = Akcent;
    }
    if (glowny != std::u32string::npos) {
        std::u32string b = a.substr(0, glowny + 1);
        for (std::size_t i = glowny + 1; i < a.size(); ++i) {
            if (a[i] != Poboczny)
                b += a[i];
        }
        a = std::move(b);
    }
    // Each mark moves to the start of its syllable.
    std::u32string wynik;
    for (char32_t z : a) {
        if (z != Akcent && z != Poboczny) {
            wynik += z;
            continue;
        }
        std::size_t k = wynik.size();
        while (k > 0 && Spolgloska(wynik[k - 1]))
            --k;
        std::size_t ile = wynik.size() - k;
        if (k > 0) {
            std::size_t najlepszy = 0;
            for (std::size_t n = 1; n <= std::min<std::size_t>(3, ile); ++n) {
                if (Naglos(std::u32string_view(wynik).substr(wynik.size() - n)))
                    najlepszy = n;
            }
            ile = najlepszy;
        }
        wynik.insert(wynik.size() - ile, 1, z);
    }
    // No stress mark on a word of one syllable (a run of vowels counts as one).
    int jadra = 0;
    for (std::size_t i = 0; i < wynik.size(); ++i) {
        if (Samogloska(wynik[i]) && (i == 0 || (!Samogloska(wynik[i - 1]) && wynik[i - 1] != ':')))
            ++jadra;
    }
    if (jadra <= 1)
        std::erase_if(wynik, [](char32_t z) { return z == Akcent || z == Poboczny; });

    std::string utf8;
    for (char32_t z : wynik)
        DopiszZnak(utf8, z);
    return utf8;
}

} // namespace vokara::slownik
