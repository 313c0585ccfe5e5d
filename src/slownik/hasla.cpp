// Taking the two dictionaries' entry texts apart.
#include "hasla.h"

#include "utf8.h"

#include <algorithm>
#include <array>

namespace vokara::slownik {

namespace {

bool Cyfra(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view PrzytnijLewo(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

// Lines of an entry, without their ends.
template <class F> void KazdaLinia(std::string_view tekst, F&& f)
{
    for (std::size_t od = 0; od < tekst.size();) {
        std::size_t koniec = tekst.find('\n', od);
        if (koniec == std::string_view::npos)
            koniec = tekst.size();
        std::string_view linia = tekst.substr(od, koniec - od);
        if (!linia.empty() && linia.back() == '\r')
            linia.remove_suffix(1);
        f(linia);
        od = koniec + 1;
    }
}

// "12. " or "12." at the end: the length of the mark with its blanks, 0 when there is none.
std::size_t Numer(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && i < 3 && Cyfra(s[i]))
        ++i;
    if (i == 0 || i >= s.size() || s[i] != '.')
        return 0;
    ++i;
    if (i < s.size() && s[i] != ' ')
        return 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return i;
}

// "a. " / "b." of a sub-sense.
std::size_t Litera(std::string_view s)
{
    if (s.size() < 2 || s[0] < 'a' || s[0] > 'h' || s[1] != '.' || (s.size() > 2 && s[2] != ' '))
        return 0;
    std::size_t i = 2;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return i;
}

// "I.", "IV." at the start of a line opens a group.
std::size_t Rzymska(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && i < 6 && (s[i] == 'I' || s[i] == 'V' || s[i] == 'X' || s[i] == 'L'))
        ++i;
    if (i == 0 || i >= s.size() || s[i] != '.' || (i + 1 < s.size() && s[i + 1] != ' '))
        return 0;
    return i + 1;
}

// Pieces of a sense separated by two blanks or more: "goods  [w handlu]  artykuły, towary".
template <class F> void KazdySegment(std::string_view s, F&& f)
{
    std::size_t od = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || (s[i] == ' ' && i + 1 < s.size() && s[i + 1] == ' ')) {
            const std::string_view kawalek = Przytnij(s.substr(od, i - od));
            if (!kawalek.empty())
                f(kawalek);
            while (i < s.size() && s[i] == ' ')
                ++i;
            od = i;
        }
    }
}

std::vector<std::string_view> Segmenty(std::string_view s)
{
    std::vector<std::string_view> wynik;
    KazdySegment(s, [&](std::string_view k) { wynik.push_back(k); });
    return wynik;
}

// The end of a bracket that opens at `od` (nesting counted), or npos when it never closes.
std::size_t KoniecNawiasu(std::string_view s, std::size_t od)
{
    int glebokosc = 0;
    for (std::size_t i = od; i < s.size(); ++i) {
        if (s[i] == '(' || s[i] == '[')
            ++glebokosc;
        else if ((s[i] == ')' || s[i] == ']') && --glebokosc == 0)
            return i;
    }
    return std::string_view::npos;
}

// eng-pol's labels of register and region: dropped, they say nothing a learner needs to pick a meaning.
constexpr std::array<std::string_view, 16> Rejestry = {"form",    "nieform", "BR",     "US",     "lit",  "przest",
                                                       "przen",   "wulg",    "pejor",  "termin", "gram", "GRAM",
                                                       "dawniej", "też",     "zwykle", "np."};
// Its domain labels, which do tell meanings apart ("chip [techn]"): written out.
constexpr std::array<std::pair<std::string_view, std::string_view>, 13> Dziedziny = {{
    {"komp", "informatyka"},
    {"sport", "sport"},
    {"med", "medycyna"},
    {"muz", "muzyka"},
    {"praw", "prawo"},
    {"wojsk", "wojsko"},
    {"chem", "chemia"},
    {"techn", "technika"},
    {"relig", "religia"},
    {"mat", "matematyka"},
    {"fot", "fotografia"},
    {"szach", "szachy"},
    {"bot", "botanika"},
}};

// What a bracket's inside becomes: "" when it is a code or a label to drop.
std::string Dopisek(std::string_view wnetrze, bool kwadratowy)
{
    wnetrze = Przytnij(wnetrze);
    if (wnetrze.empty() || wnetrze.find(':') != std::string_view::npos || wnetrze.find('|') != std::string_view::npos)
        return {}; // grammar codes: "(be V: :housed)", "[:good | :bad]"
    if (!kwadratowy)
        return std::string(wnetrze);
    std::string dziedziny;
    bool etykiety = true;
    std::size_t od = 0;
    while (od < wnetrze.size() && etykiety) {
        std::size_t koniec = wnetrze.find(' ', od);
        if (koniec == std::string_view::npos)
            koniec = wnetrze.size();
        const std::string_view slowo = wnetrze.substr(od, koniec - od);
        od = koniec + 1;
        if (slowo.empty())
            continue;
        if (std::find(Rejestry.begin(), Rejestry.end(), slowo) != Rejestry.end())
            continue;
        const auto d =
            std::find_if(Dziedziny.begin(), Dziedziny.end(), [&](const auto& p) { return p.first == slowo; });
        if (d == Dziedziny.end()) {
            etykiety = false;
        } else {
            if (!dziedziny.empty())
                dziedziny += ", ";
            dziedziny += d->second;
        }
    }
    return etykiety ? dziedziny : std::string(wnetrze);
}

void DopiszDo(std::string& dokad, std::string_view co)
{
    if (co.empty())
        return;
    if (!dokad.empty())
        dokad += "; ";
    dokad += co;
}

// Takes the brackets out of a piece of text: their readable insides go to `dopiski`, the rest is returned with its
// blanks tidied.
std::string BezNawiasow(std::string_view s, std::string& dopiski)
{
    std::string wynik;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '(' || s[i] == '[') {
            const std::size_t koniec = KoniecNawiasu(s, i);
            if (koniec == std::string_view::npos)
                break; // an unclosed bracket: the rest is a note nobody can read
            DopiszDo(dopiski, Dopisek(s.substr(i + 1, koniec - i - 1), s[i] == '['));
            i = koniec;
            continue;
        }
        if (s[i] == ' ' && (wynik.empty() || wynik.back() == ' '))
            continue;
        wynik += s[i];
    }
    while (!wynik.empty() && (wynik.back() == ' ' || wynik.back() == ','))
        wynik.pop_back();
    return wynik;
}

// An English phrase with its grammar codes and labels taken out; other brackets ("(he)", "(that)") stay.
std::string CzystaFraza(std::string_view s)
{
    std::string wynik;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '(' || s[i] == '[') {
            const std::size_t koniec = KoniecNawiasu(s, i);
            if (koniec == std::string_view::npos)
                break;
            const std::string_view wnetrze = s.substr(i + 1, koniec - i - 1);
            const std::string d = Dopisek(wnetrze, s[i] == '[');
            if (s[i] == '(' && !d.empty())
                wynik.append(s.substr(i, koniec - i + 1));
            i = koniec;
            continue;
        }
        if (s[i] == '"' || s[i] == '`' || (s[i] == '\'' && i + 1 < s.size() && s[i + 1] == '\''))
            continue;
        if (s[i] == ' ' && (wynik.empty() || wynik.back() == ' '))
            continue;
        wynik += s[i];
    }
    while (!wynik.empty() && (wynik.back() == ' ' || wynik.back() == '\''))
        wynik.pop_back();
    return PoprawneUtf8(wynik);
}

// Each piece between commas outside brackets, trimmed, to `f`.
template <class F> void KazdyPrzecinek(std::string_view s, F&& f)
{
    int glebokosc = 0;
    std::size_t od = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && (s[i] == '(' || s[i] == '['))
            ++glebokosc;
        else if (i < s.size() && (s[i] == ')' || s[i] == ']'))
            glebokosc = std::max(0, glebokosc - 1);
        if (i == s.size() || (s[i] == ',' && glebokosc == 0)) {
            const std::string_view kawalek = Przytnij(s.substr(od, i - od));
            if (!kawalek.empty())
                f(kawalek);
            od = i + 1;
        }
    }
}

std::vector<std::string_view> PoPrzecinkach(std::string_view s)
{
    std::vector<std::string_view> wynik;
    KazdyPrzecinek(s, [&](std::string_view k) { wynik.push_back(k); });
    return wynik;
}

bool Nawias(std::string_view s)
{
    return !s.empty() && (s.front() == '[' || s.front() == '(');
}

// One sense's text as meanings: "[książek]  wydawnictwo", "minutes  protokół", "łyżka, łyżeczka".
void DodajZmysl(std::string_view tresc, std::vector<Znaczenie>& dokad, int zmysl)
{
    std::string dopiskiZmyslu;
    std::vector<std::string_view> zwykle;
    for (std::string_view seg : Segmenty(tresc)) {
        if (Nawias(seg)) {
            BezNawiasow(seg, dopiskiZmyslu);
            continue;
        }
        seg.remove_prefix(Litera(seg));
        if (!seg.empty())
            zwykle.push_back(seg);
    }
    if (zwykle.empty())
        return;
    std::string forma;
    for (std::size_t i = 0; i + 1 < zwykle.size(); ++i) {
        std::string pomijane;
        const std::string f = BezNawiasow(zwykle[i], pomijane);
        if (!forma.empty() && !f.empty())
            forma += ' ';
        forma += f;
    }
    for (std::string_view pozycja : PoPrzecinkach(zwykle.back())) {
        Znaczenie z;
        std::string dopiski = dopiskiZmyslu;
        z.Tekst = PoprawneUtf8(BezNawiasow(pozycja, dopiski));
        if (Przytnij(z.Tekst).empty() || z.Tekst == "-")
            continue;
        z.Dopisek = PoprawneUtf8(dopiski);
        z.Forma = PoprawneUtf8(forma);
        z.Zmysl = zmysl;
        z.Skad = Zrodlo::AngielskoPolski;
        dokad.push_back(std::move(z));
    }
}

// Header: "offence, offense /əˈfens/ <N>".
void Naglowek(std::string_view h, WpisAngPol& wpis, Czesc& czesc)
{
    h = Przytnij(h);
    if (!h.empty() && h.back() == '>') {
        const std::size_t lt = h.rfind('<');
        if (lt != std::string_view::npos) {
            czesc = CzescAngPol(h.substr(lt + 1, h.size() - lt - 2));
            h = Przytnij(h.substr(0, lt));
        }
    }
    const std::size_t ukosnik = h.find(" /");
    if (ukosnik != std::string_view::npos) {
        std::string_view ipa = h.substr(ukosnik + 2);
        ipa = ipa.substr(0, ipa.find('/'));
        if (ipa.find('$') == std::string_view::npos && ipa.find("⋅") == std::string_view::npos)
            wpis.Ipa = PoprawneUtf8(Przytnij(ipa));
        h = h.substr(0, ukosnik);
    }
    for (std::string_view haslo : PoPrzecinkach(h))
        wpis.Hasla.push_back(PoprawneUtf8(haslo));
}

} // namespace

std::string_view Przytnij(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

Czesc CzescAngPol(std::string_view kod)
{
    static constexpr std::array<std::pair<std::string_view, Czesc>, 15> mapa = {{
        {"N", Czesc::Rzeczownik},
        {"N Comp", Czesc::Rzeczownik},
        {"V", Czesc::Czasownik},
        {"V Phras", Czesc::Czasownik},
        {"V Mod", Czesc::Czasownik},
        {"V Refl", Czesc::Czasownik},
        {"Adj", Czesc::Przymiotnik},
        {"Adv", Czesc::Przyslowek},
        {"Prep", Czesc::Przyimek},
        {"Num", Czesc::Liczebnik},
        {"Pron", Czesc::Zaimek},
        {"Det", Czesc::Zaimek},
        {"Inter", Czesc::Wykrzyknik},
        {"Interj", Czesc::Wykrzyknik},
        {"Conj", Czesc::Spojnik},
    }};
    for (const auto& [k, c] : mapa) {
        if (k == kod)
            return c;
    }
    return Czesc::Inna;
}

Czesc CzescPolAng(std::string_view kod)
{
    static constexpr std::array<std::pair<std::string_view, Czesc>, 30> mapa = {{
        {"n", Czesc::Rzeczownik},
        {"adj", Czesc::Przymiotnik},
        {"pn", Czesc::NazwaWlasna},
        {"v", Czesc::Czasownik},
        {"adv", Czesc::Przyslowek},
        {"acronym", Czesc::Skrot},
        {"abbreviation", Czesc::Skrot},
        {"symbol", Czesc::Skrot},
        {"idiom", Czesc::Wyrazenie},
        {"interjection", Czesc::Wykrzyknik},
        {"proverb", Czesc::Przyslowie},
        {"particle", Czesc::Partykula},
        {"pronoun", Czesc::Zaimek},
        {"possessiveAdjective", Czesc::Zaimek},
        {"indefinitePronoun", Czesc::Zaimek},
        {"personalPronoun", Czesc::Zaimek},
        {"interrogativePronoun", Czesc::Zaimek},
        {"preposition", Czesc::Przyimek},
        {"conjunction", Czesc::Spojnik},
        {"suffix", Czesc::Przyrostek},
        {"prefix", Czesc::Przedrostek},
        {"numeral", Czesc::Liczebnik},
        {"cardinalNumeral", Czesc::Liczebnik},
        {"indefiniteCardinalNumeral", Czesc::Liczebnik},
        {"numeralFraction", Czesc::Liczebnik},
        {"collective", Czesc::Liczebnik},
        {"modal", Czesc::Czasownik},
        {"participleAdjective", Czesc::Przymiotnik},
        {"participle", Czesc::Przymiotnik},
        {"noun", Czesc::Rzeczownik},
    }};
    for (const auto& [k, c] : mapa) {
        if (k == kod)
            return c;
    }
    return Czesc::Inna;
}

namespace {

// The reading of an eng-pol entry, shared by the full parse and the quick pass for the reverse index. It tells the
// receiver about the header, each sub-entry, each sense (`cel` the sub-entry it belongs to, -1 for the headword's
// own) and each idiom with its meaning.
template <class Odbiorca> void RozbiorAngPol(std::string_view tekst, Odbiorca& o)
{
    Czesc czescNaglowka = Czesc::Inna;
    Czesc czesc = Czesc::Inna;
    int podhaslo = -1;
    int zmysl = 0;
    bool pierwsza = true;
    bool jestOczekujacy = false;
    std::string_view oczekujacy; // a sense held back: if " - ..." follows, it was an idiom
    int celOczekujacego = -1;
    Czesc czescOczekujacego = Czesc::Inna;

    const auto oddaj = [&] {
        if (!jestOczekujacy)
            return;
        jestOczekujacy = false;
        o.Zmysl(oczekujacy, celOczekujacego, czescOczekujacego, ++zmysl);
    };
    const auto tresc = [&](std::string_view t) {
        // Labels before a sense number belong to the group ("[nieform]  1.  zrzucać się"): skipped.
        std::string_view poNawiasach = PrzytnijLewo(t);
        while (Nawias(poNawiasach)) {
            const std::size_t koniec = KoniecNawiasu(poNawiasach, 0);
            if (koniec == std::string_view::npos)
                break;
            poNawiasach = PrzytnijLewo(poNawiasach.substr(koniec + 1));
        }
        if (const std::size_t n = Numer(poNawiasach))
            t = poNawiasach.substr(n);
        t = Przytnij(t);
        t.remove_prefix(Litera(t));
        if (t.empty())
            return;
        jestOczekujacy = true;
        oczekujacy = t;
        celOczekujacego = podhaslo;
        czescOczekujacego = czesc;
    };

    KazdaLinia(tekst, [&](std::string_view linia) {
        if (pierwsza) {
            pierwsza = false;
            czescNaglowka = o.Naglowek(linia);
            czesc = czescNaglowka;
            return;
        }
        if (Przytnij(linia).empty())
            return;
        if (linia.starts_with(" - ") || linia == " -") {
            if (jestOczekujacy) { // the held sense was an idiom and this is its meaning
                jestOczekujacy = false;
                o.Idiom(oczekujacy, linia.substr(std::min<std::size_t>(3, linia.size())), ++zmysl);
            }
            return;
        }
        oddaj();
        std::string_view t = linia;
        const std::string_view przyciete = Przytnij(t);
        if (przyciete.starts_with("See also:") || przyciete.starts_with("\""))
            return; // cross-references and usage examples
        if (const std::size_t r = Rzymska(t)) {
            podhaslo = -1;
            czesc = czescNaglowka;
            t = t.substr(r);
        }
        t = PrzytnijLewo(t);
        if (!t.empty() && t.front() == '<') {
            const std::size_t gt = t.find('>');
            if (gt == std::string_view::npos)
                return;
            czesc = CzescAngPol(t.substr(1, gt - 1));
            t = t.substr(gt + 1);
            if (!t.empty() && t.front() != ' ') {
                // A sub-entry: "<V Phras>set up  1.  przygotowywać", "<N Comp>good morning /.../   dzień dobry".
                std::size_t koniec = t.find("  ");
                if (koniec == std::string_view::npos)
                    koniec = t.size();
                std::string_view fraza = t.substr(0, koniec);
                std::string_view ipa;
                const std::size_t ukosnik = fraza.find(" /");
                if (ukosnik != std::string_view::npos) {
                    ipa = fraza.substr(ukosnik + 2);
                    ipa = ipa.substr(0, ipa.find('/'));
                    fraza = fraza.substr(0, ukosnik);
                }
                podhaslo = o.Podhaslo(fraza, ipa, czesc);
                if (podhaslo < 0)
                    return;
                t = t.substr(koniec);
            }
        }
        tresc(t);
    });
    oddaj();
}

// Builds the whole entry.
struct PelnyAngPol {
    WpisAngPol& Wpis;

    Czesc Naglowek(std::string_view linia)
    {
        Czesc c = Czesc::Inna;
        vokara::slownik::Naglowek(linia, Wpis, c);
        return c;
    }

    int Podhaslo(std::string_view fraza, std::string_view ipa, Czesc czesc)
    {
        Wyrazenie w;
        w.Rodzaj = czesc;
        if (!ipa.empty() && ipa.find('$') == std::string_view::npos)
            w.Ipa = "/" + PoprawneUtf8(ipa) + "/";
        w.Haslo = CzystaFraza(fraza);
        if (w.Haslo.empty())
            return -1;
        Wpis.Wyrazenia.push_back(std::move(w));
        return int(Wpis.Wyrazenia.size()) - 1;
    }

    void Zmysl(std::string_view tresc, int cel, Czesc czesc, int zmysl)
    {
        if (cel >= 0 && cel < int(Wpis.Wyrazenia.size())) {
            DodajZmysl(tresc, Wpis.Wyrazenia[std::size_t(cel)].Znaczenia, zmysl);
            return;
        }
        for (auto& g : Wpis.Grupy) {
            if (g.Rodzaj == czesc)
                return DodajZmysl(tresc, g.Znaczenia, zmysl);
        }
        Wpis.Grupy.push_back({czesc, {}});
        DodajZmysl(tresc, Wpis.Grupy.back().Znaczenia, zmysl);
    }

    void Idiom(std::string_view fraza, std::string_view znaczenie, int zmysl)
    {
        Wyrazenie w;
        w.Haslo = CzystaFraza(fraza);
        w.Rodzaj = Czesc::Wyrazenie;
        if (w.Haslo.empty())
            return;
        DodajZmysl(znaczenie, w.Znaczenia, zmysl);
        if (!w.Znaczenia.empty())
            Wpis.Wyrazenia.push_back(std::move(w));
    }
};

// Only the headword's own meanings, as texts.
struct ZnaczeniaWpisu {
    std::vector<ZnaczenieAngPol>& Wynik;
    std::size_t Ile = 0;
    std::string_view Haslo;
    std::string Pomijane;

    Czesc Naglowek(std::string_view linia)
    {
        std::string_view h = Przytnij(linia);
        Czesc c = Czesc::Inna;
        if (!h.empty() && h.back() == '>') {
            const std::size_t lt = h.rfind('<');
            if (lt != std::string_view::npos) {
                c = CzescAngPol(h.substr(lt + 1, h.size() - lt - 2));
                h = Przytnij(h.substr(0, lt));
            }
        }
        h = h.substr(0, h.find(" /"));
        Haslo = Przytnij(h.substr(0, h.find(", ")));
        return c;
    }

    int Podhaslo(std::string_view, std::string_view, Czesc) { return 0; }

    void Zmysl(std::string_view tresc, int cel, Czesc czesc, int zmysl)
    {
        if (cel >= 0)
            return;
        std::string_view ostatni;
        KazdySegment(tresc, [&](std::string_view seg) {
            if (!Nawias(seg))
                ostatni = seg.substr(Litera(seg));
        });
        const std::size_t przed = Ile;
        KazdyPrzecinek(ostatni, [&](std::string_view pozycja) {
            if (Ile == Wynik.size())
                Wynik.emplace_back();
            ZnaczenieAngPol& z = Wynik[Ile];
            Pomijane.clear();
            z.Tekst = BezNawiasow(pozycja, Pomijane);
            if (z.Tekst.empty() || z.Tekst == "-")
                return;
            z.Zmysl = std::uint8_t(std::min(zmysl, 255));
            z.Pozycja = std::uint8_t(std::min<std::size_t>(Ile - przed, 255));
            z.Rodzaj = czesc;
            ++Ile;
        });
        for (std::size_t i = przed; i < Ile; ++i)
            Wynik[i].Ile = std::uint8_t(std::min<std::size_t>(Ile - przed, 255));
    }

    void Idiom(std::string_view, std::string_view, int) {}
};

} // namespace

WpisAngPol ParsujAngPol(std::string_view tekst)
{
    WpisAngPol wpis;
    PelnyAngPol o{wpis};
    RozbiorAngPol(tekst, o);
    // Sub-entries whose senses never came (a broken entry) are not worth showing.
    std::erase_if(wpis.Wyrazenia, [](const Wyrazenie& w) { return w.Znaczenia.empty(); });
    std::erase_if(wpis.Grupy, [](const Grupa& g) { return g.Znaczenia.empty(); });
    return wpis;
}

std::string_view ZnaczeniaAngPol(std::string_view tekst, std::vector<ZnaczenieAngPol>& wynik)
{
    ZnaczeniaWpisu o{wynik, 0, {}, {}};
    RozbiorAngPol(tekst, o);
    wynik.resize(o.Ile);
    return o.Haslo;
}

void ParsujPolAng(std::string_view tekst, WpisPolAng& wpis)
{
    wpis.Haslo = {};
    wpis.Rodzaj = Czesc::Inna;
    wpis.Glosy.clear();
    wpis.Definicje.clear();
    enum { Naglowek, Glosa, Definicja, PoDefinicji, PoSeparatorze } stan = Naglowek;
    int zmysl = -1;
    KazdaLinia(tekst, [&](std::string_view linia) {
        if (stan == Naglowek) {
            std::string_view h = Przytnij(linia);
            if (!h.empty() && h.back() == '>') {
                const std::size_t lt = h.rfind('<');
                if (lt != std::string_view::npos) {
                    wpis.Rodzaj = CzescPolAng(h.substr(lt + 1, h.size() - lt - 2));
                    h = Przytnij(h.substr(0, lt));
                }
            }
            wpis.Haslo = Przytnij(h.substr(0, h.find(" /")));
            stan = Glosa;
            return;
        }
        if (Przytnij(linia).empty())
            return;
        switch (stan) {
        case Definicja:
        case PoSeparatorze:
            if (stan == Definicja)
                wpis.Definicje.push_back(Przytnij(linia));
            stan = PoDefinicji;
            return;
        case PoDefinicji:
            if (linia.size() >= 3 && linia[0] == ' ' && Numer(linia.substr(1)) == linia.size() - 1) {
                stan = PoSeparatorze;
                return;
            }
            if (Numer(linia) == 0)
                return; // never seen: a second line of a definition
            [[fallthrough]];
        case Glosa:
        case Naglowek: {
            std::string_view g = linia.substr(Numer(linia));
            // "house, home 2." - the number of the sense's next definition is glued to its gloss line.
            const std::size_t ostatniOdstep = g.rfind(' ');
            if (ostatniOdstep != std::string_view::npos && Numer(g.substr(ostatniOdstep + 1)) > 0 &&
                Numer(g.substr(ostatniOdstep + 1)) == g.size() - ostatniOdstep - 1)
                g = g.substr(0, ostatniOdstep);
            if (zmysl < 254)
                ++zmysl;
            const std::size_t przed = wpis.Glosy.size();
            KazdyPrzecinek(g, [&](std::string_view glosa) {
                if (glosa.find("Specjalna:") != std::string_view::npos || glosa.find("[[") != std::string_view::npos)
                    return; // leftovers of wiki markup
                if (wpis.Glosy.size() - przed < 255)
                    wpis.Glosy.push_back({glosa, std::uint8_t(zmysl), std::uint8_t(wpis.Glosy.size() - przed), 0});
            });
            for (std::size_t i = przed; i < wpis.Glosy.size(); ++i)
                wpis.Glosy[i].Ile = std::uint8_t(wpis.Glosy.size() - przed);
            stan = Definicja;
            return;
        }
        }
    });
    // A sense without its definition line (the last one of a truncated entry) still gets an empty one.
    while (int(wpis.Definicje.size()) <= zmysl)
        wpis.Definicje.push_back({});
}

std::string CzystaDefinicja(std::string_view d)
{
    std::string etykiety;
    d = Przytnij(d);
    while (!d.empty() && d.front() == '(') {
        const std::size_t koniec = KoniecNawiasu(d, 0);
        if (koniec == std::string_view::npos)
            break;
        std::string_view e = Przytnij(d.substr(1, koniec - 1));
        e = Przytnij(e.substr(0, e.find(',')));
        if (!e.empty() && e != "zobacz") {
            if (!etykiety.empty())
                etykiety += ", ";
            etykiety += e;
        }
        d = Przytnij(d.substr(koniec + 1));
    }
    while (!d.empty() && (d.back() == ';' || d.back() == ' '))
        d.remove_suffix(1);
    std::string wynik = etykiety.empty() ? std::string(d) : "(" + etykiety + ") " + std::string(d);
    constexpr std::size_t Najwiecej = 200;
    if (wynik.size() > Najwiecej) {
        std::size_t ciecie = Najwiecej;
        while (ciecie > 0 && (static_cast<unsigned char>(wynik[ciecie]) & 0xC0) == 0x80)
            --ciecie;
        wynik.resize(ciecie);
        wynik += "…";
    }
    return PoprawneUtf8(wynik);
}

} // namespace vokara::slownik
