// Cleaning a running text of its markup and counting its words.
#include "slowa.h"

#include "utf8.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <unordered_map>

namespace vokara::slownik {

namespace {

// Sorted, for the binary search in SlowoFunkcyjne.
// clang-format off
constexpr auto Funkcyjne = std::to_array<std::string_view>({
    "a", "about", "above", "across", "after", "afterwards", "again", "against", "ago", "ah", "ain't", "all",
    "almost", "along", "already", "also", "although", "always", "am", "among", "amongst", "an", "and", "another",
    "any", "anybody", "anyhow", "anyone", "anything", "anyway", "anywhere", "are", "around", "as", "at", "aw",
    "away", "back", "be", "because", "been", "before", "beforehand", "behind", "being", "below", "beside",
    "besides", "between", "beyond", "both", "but", "by", "can", "cannot", "could", "dare", "did", "do", "does",
    "doing", "done", "down", "during", "each", "eh", "either", "else", "elsewhere", "em", "enough", "etc", "even",
    "ever", "every", "everybody", "everyone", "everything", "everywhere", "except", "far", "few", "for", "from",
    "further", "get", "gets", "getting", "go", "goes", "going", "gonna", "got", "gotta", "had", "has", "have",
    "having", "he", "hello", "her", "here", "hers", "herself", "hey", "hi", "him", "himself", "his", "how",
    "however", "huh", "i", "if", "in", "indeed", "inside", "instead", "into", "is", "it", "its", "itself", "just",
    "least", "less", "let", "lets", "like", "many", "may", "maybe", "me", "might", "mine", "more", "moreover",
    "most", "mostly", "mr", "mrs", "ms", "much", "must", "my", "myself", "near", "neither", "never", "nevertheless",
    "next", "no", "nobody", "none", "nor", "not", "nothing", "now", "nowhere", "of", "off", "often", "oh", "ok",
    "okay", "on", "once", "one", "ones", "only", "onto", "or", "other", "others", "otherwise", "ought", "our",
    "ours", "ourselves", "out", "outside", "over", "own", "per", "perhaps", "please", "quite", "rather", "really",
    "same", "shall", "she", "should", "since", "so", "some", "somebody", "somehow", "someone", "something",
    "sometimes", "somewhat", "somewhere", "soon", "still", "such", "than", "that", "the", "their", "theirs", "them",
    "themselves", "then", "there", "thereby", "therefore", "these", "they", "this", "those", "though", "through",
    "throughout", "thus", "till", "to", "together", "too", "toward", "towards", "uh", "um", "under", "unless",
    "until", "up", "upon", "us", "very", "via", "wanna", "was", "we", "well", "were", "what", "whatever", "when",
    "whenever", "where", "whereas", "wherever", "whether", "which", "whichever", "while", "who", "whoever", "whole",
    "whom", "whose", "why", "will", "with", "within", "without", "would", "ya", "yeah", "yes", "yet", "you", "your",
    "yours", "yourself", "yourselves", "yup",
});
// clang-format on
static_assert(std::is_sorted(Funkcyjne.begin(), Funkcyjne.end()));

bool Wielka(char32_t z)
{
    return MalaLitera(z) != z;
}

bool Apostrof(char32_t z)
{
    return z == '\'' || z == U'’' || z == U'ʼ' || z == U'‘';
}

// Subtitle cue numbers and time lines, the WebVTT header and its note, style and region blocks go; blank lines stay
// (they end a sentence).
std::string BezNapisow(std::string_view tekst)
{
    std::string wynik;
    wynik.reserve(tekst.size());
    bool blok = false; // inside a WebVTT NOTE, STYLE or REGION block
    for (std::size_t od = 0; od < tekst.size();) {
        std::size_t koniec = tekst.find('\n', od);
        if (koniec == std::string_view::npos)
            koniec = tekst.size();
        std::string_view linia = tekst.substr(od, koniec - od);
        od = koniec + 1;
        std::string_view p = linia;
        while (!p.empty() && (p.front() == ' ' || p.front() == '\t' || p.front() == '\r'))
            p.remove_prefix(1);
        while (!p.empty() && (p.back() == ' ' || p.back() == '\t' || p.back() == '\r'))
            p.remove_suffix(1);
        if (p.starts_with("\xEF\xBB\xBF"))
            p.remove_prefix(3);
        if (p.empty()) {
            blok = false;
            wynik += '\n';
            continue;
        }
        if (blok)
            continue;
        if (p.starts_with("WEBVTT") || p == "NOTE" || p.starts_with("NOTE ") || p == "STYLE" || p == "REGION") {
            blok = !p.starts_with("WEBVTT");
            continue;
        }
        if (p.find("-->") != std::string_view::npos && p.front() >= '0' && p.front() <= '9')
            continue; // a cue's times ("00:00:01,000 --> 00:00:03,000"); an HTML comment's end is no time line
        if (std::all_of(p.begin(), p.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        wynik.append(linia);
        wynik += '\n';
    }
    return wynik;
}

bool ZnacznikBlokowy(std::string_view nazwa)
{
    static constexpr std::array<std::string_view, 20> blokowe = {
        "p",  "br", "div", "h1",    "h2", "h3", "h4",    "h5",         "h6",      "li",
        "tr", "td", "th",  "title", "ul", "ol", "table", "blockquote", "section", "article"};
    return std::find(blokowe.begin(), blokowe.end(), nazwa) != blokowe.end();
}

void Encja(std::string_view nazwa, std::string& wynik)
{
    static constexpr std::array<std::pair<std::string_view, char32_t>, 14> znane = {{
        {"amp", '&'},
        {"lt", '<'},
        {"gt", '>'},
        {"quot", '"'},
        {"apos", '\''},
        {"nbsp", ' '},
        {"rsquo", U'’'},
        {"lsquo", U'‘'},
        {"ldquo", U'“'},
        {"rdquo", U'”'},
        {"hellip", U'…'},
        {"mdash", U'—'},
        {"ndash", U'–'},
        {"shy", 0},
    }};
    if (!nazwa.empty() && nazwa.front() == '#') {
        char32_t z = 0;
        const bool hex = nazwa.size() > 1 && (nazwa[1] == 'x' || nazwa[1] == 'X');
        for (char c : nazwa.substr(hex ? 2 : 1)) {
            int cyfra = -1;
            if (c >= '0' && c <= '9')
                cyfra = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                cyfra = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                cyfra = c - 'A' + 10;
            if (cyfra < 0 || z > 0x10FFFF)
                break;
            z = z * (hex ? 16 : 10) + char32_t(cyfra);
        }
        if (z >= 0x20 && z <= 0x10FFFF && !(z >= 0xD800 && z <= 0xDFFF))
            DopiszZnak(wynik, z);
        else
            wynik += ' ';
        return;
    }
    for (const auto& [n, z] : znane) {
        if (n == nazwa) {
            if (z != 0)
                DopiszZnak(wynik, z);
            return;
        }
    }
    wynik += ' ';
}

// Tags, scripts, styles, comments and "{\an8}" subtitle overrides removed, entities decoded, block tags as
// paragraph breaks.
std::string BezZnacznikow(std::string_view t)
{
    std::string wynik;
    wynik.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '<' && i + 1 < t.size() &&
            (std::isalpha(static_cast<unsigned char>(t[i + 1])) || t[i + 1] == '/' || t[i + 1] == '!' ||
             t[i + 1] == '?')) {
            if (t.substr(i, 4) == "<!--") {
                const std::size_t k = t.find("-->", i + 4);
                i = k == std::string_view::npos ? t.size() : k + 2;
                continue;
            }
            const std::size_t k = t.find('>', i + 1);
            if (k == std::string_view::npos || k - i > 4096) {
                wynik += c; // not a tag after all
                continue;
            }
            std::size_t n = i + 1 + (t[i + 1] == '/');
            std::size_t nk = n;
            while (nk < k && std::isalnum(static_cast<unsigned char>(t[nk])))
                ++nk;
            std::string nazwa(t.substr(n, nk - n));
            for (char& z : nazwa)
                z = char(std::tolower(static_cast<unsigned char>(z)));
            i = k;
            if (t[n - 1] != '/' && (nazwa == "script" || nazwa == "style")) {
                // Their content is not text; skip to the closing tag.
                const std::string zamkniecie = "</" + nazwa;
                std::size_t z = i;
                for (;;) {
                    z = t.find("</", z + 1);
                    if (z == std::string_view::npos)
                        break;
                    std::string kawalek(t.substr(z, zamkniecie.size()));
                    for (char& x : kawalek)
                        x = char(std::tolower(static_cast<unsigned char>(x)));
                    if (kawalek == zamkniecie)
                        break;
                }
                const std::size_t zk = z == std::string_view::npos ? std::string_view::npos : t.find('>', z);
                i = zk == std::string_view::npos ? t.size() : zk;
                continue;
            }
            wynik += ZnacznikBlokowy(nazwa) ? "\n\n" : " ";
            continue;
        }
        if (c == '{' && i + 1 < t.size() && t[i + 1] == '\\') {
            const std::size_t k = t.find('}', i);
            if (k != std::string_view::npos && k - i < 256) {
                i = k;
                continue;
            }
        }
        if (c == '&') {
            std::size_t k = i + 1;
            while (k < t.size() && k - i < 12 && (std::isalnum(static_cast<unsigned char>(t[k])) || t[k] == '#'))
                ++k;
            if (k < t.size() && t[k] == ';' && k > i + 1) {
                Encja(t.substr(i + 1, k - i - 1), wynik);
                i = k;
                continue;
            }
        }
        wynik += c;
    }
    return wynik;
}

// Abbreviations whose dot does not end a sentence.
bool Skrot(std::string_view s)
{
    static constexpr std::array<std::string_view, 12> skroty = {"mr", "mrs", "ms", "dr", "st",  "prof",
                                                                "vs", "mt",  "jr", "sr", "etc", "co"};
    return std::find(skroty.begin(), skroty.end(), s) != skroty.end();
}

// A word's clitic taken off: "she'll" -> "she", "couldn't" -> "could", "john's" -> "john".
std::string BezKlityki(std::string s)
{
    if (s == "won't")
        return "will";
    if (s == "can't")
        return "can";
    if (s == "shan't")
        return "shall";
    for (std::string_view k : {"n't", "'ll", "'re", "'ve", "'s", "'d", "'m"}) {
        if (s.size() > k.size() && s.ends_with(k))
            return s.substr(0, s.size() - k.size());
    }
    if (s.size() > 2 && s.ends_with("s'"))
        s.pop_back();
    return s;
}

struct Licznik {
    std::size_t Pierwsze = 0;
    int Male = 0;     // written small
    int Poczatek = 0; // capitalised at a sentence start, or all in capitals
    int Imie = 0;     // capitalised inside a sentence
};

} // namespace

bool SlowoFunkcyjne(std::string_view slowo)
{
    return std::binary_search(Funkcyjne.begin(), Funkcyjne.end(), slowo);
}

WyrazyTekstu WyrazyZTekstu(std::string_view tekst)
{
    const std::string czysty = BezZnacznikow(BezNapisow(tekst));
    const std::string_view t = czysty;
    WyrazyTekstu wynik;
    std::unordered_map<std::string, Licznik> liczniki;
    liczniki.reserve(4096);
    std::vector<const std::string*> kolejnosc;
    bool poczatekZdania = true;
    bool nowaLinia = true;
    std::string slowo;
    std::string poprzednie;
    for (std::size_t i = 0; i < t.size();) {
        const char32_t z = NastepnyZnak(t, i);
        if (!Litera(z) && !(z >= '0' && z <= '9')) {
            if (z == '.' || z == '!' || z == '?' || z == U'…' || z == ';') {
                if (!(z == '.' && Skrot(poprzednie)))
                    poczatekZdania = true;
            } else if (z == '\n') {
                if (nowaLinia)
                    poczatekZdania = true; // a blank line: a new paragraph or subtitle
                nowaLinia = true;
            } else if (z == '-' && nowaLinia) {
                poczatekZdania = true; // a dialogue dash opens a line of speech
            }
            if (z != ' ' && z != '\t' && z != '\r' && z != '\n' && z != '"' && z != '-')
                nowaLinia = false;
            continue;
        }
        nowaLinia = false;
        // A word: letters and digits, apostrophes only between letters.
        std::size_t koniec = i;
        bool cyfry = z >= '0' && z <= '9';
        bool wielkaPierwsza = Wielka(z);
        bool wszystkieWielkie = wielkaPierwsza;
        int litery = Litera(z) ? 1 : 0;
        slowo.clear();
        DopiszZnak(slowo, MalaLitera(z));
        for (std::size_t j = i; j < t.size();) {
            std::size_t k = j;
            const char32_t n = NastepnyZnak(t, k);
            if (Litera(n) || (n >= '0' && n <= '9')) {
                cyfry = cyfry || (n >= '0' && n <= '9');
                if (Litera(n)) {
                    ++litery;
                    wszystkieWielkie = wszystkieWielkie && Wielka(n);
                }
                DopiszZnak(slowo, MalaLitera(n));
                j = koniec = k;
                continue;
            }
            if (Apostrof(n) && k < t.size()) {
                std::size_t m = k;
                const char32_t po = NastepnyZnak(t, m);
                if (Litera(po)) {
                    slowo += '\'';
                    j = koniec = k;
                    continue;
                }
                if (!slowo.empty() && slowo.back() == 's') { // "dogs'"
                    j = koniec = k;
                    continue;
                }
            }
            break;
        }
        i = koniec;
        ++wynik.Wszystkich;
        const bool poczatek = poczatekZdania;
        poczatekZdania = false;
        if (cyfry)
            continue;
        std::string baza = BezKlityki(slowo);
        poprzednie = baza;
        if (SlowoFunkcyjne(slowo) || SlowoFunkcyjne(baza) || baza.size() < 2)
            continue;
        auto [it, nowy] = liczniki.try_emplace(std::move(baza));
        Licznik& l = it->second;
        if (nowy) {
            l.Pierwsze = kolejnosc.size();
            kolejnosc.push_back(&it->first);
        }
        if (!wielkaPierwsza)
            ++l.Male;
        else if (poczatek || (wszystkieWielkie && litery > 1))
            ++l.Poczatek;
        else
            ++l.Imie;
    }
    wynik.Wyrazy.reserve(kolejnosc.size());
    for (const std::string* s : kolejnosc) {
        const Licznik& l = liczniki.find(*s)->second;
        if (l.Male == 0 && l.Imie > 0)
            continue; // a name
        const int ile = l.Male + l.Poczatek;
        if (ile > 0)
            wynik.Wyrazy.push_back({*s, ile, l.Pierwsze});
    }
    return wynik;
}

} // namespace vokara::slownik
