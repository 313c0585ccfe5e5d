// The forms in which the set check compares an entry's texts with the dictionary's meanings.
#include "porownanie.h"

#include "utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace vokara::zestawy {

namespace {

std::vector<std::string> Slowa(std::string_view tekst)
{
    std::vector<std::string> slowa;
    std::size_t i = 0;
    while (i < tekst.size()) {
        const std::size_t poczatek = tekst.find_first_not_of(' ', i);
        if (poczatek == std::string_view::npos)
            break;
        const std::size_t koniec = std::min(tekst.find(' ', poczatek), tekst.size());
        slowa.emplace_back(tekst.substr(poczatek, koniec - poczatek));
        i = koniec;
    }
    return slowa;
}

std::string Polacz(const std::vector<std::string>& slowa)
{
    std::string tekst;
    for (const std::string& s : slowa) {
        if (s.empty())
            continue;
        if (!tekst.empty())
            tekst += ' ';
        tekst += s;
    }
    return tekst;
}

template <std::size_t N> bool Jest(const std::array<std::string_view, N>& lista, std::string_view slowo)
{
    return std::find(lista.begin(), lista.end(), slowo) != lista.end();
}

// Small letters, the typographic apostrophe as a plain one, and the marks the dictionaries put around a phrase
// ("Uważaj!''", "ile?", "*keep in touch*") gone; what is left is split into words.
std::vector<std::string> OczyszczoneSlowa(std::string_view tekst, bool myslnikJakoOdstep)
{
    std::string t = slownik::Zlozone(tekst);
    for (std::size_t p; (p = t.find("\xE2\x80\x99")) != std::string::npos;)
        t.replace(p, 3, "'");
    for (std::size_t p; (p = t.find("''")) != std::string::npos;)
        t.erase(p, 2);
    std::string czysty;
    for (const char c : t) {
        if (c == '!' || c == '?' || c == '.' || c == ',' || c == ';' || c == ':' || c == '"' || c == '*')
            czysty += ' ';
        else if (c == '-' && myslnikJakoOdstep)
            czysty += ' ';
        else
            czysty += c;
    }
    std::vector<std::string> slowa = Slowa(czysty);
    for (std::string& s : slowa) { // an apostrophe only inside a word: "don't", "butcher's"
        while (!s.empty() && s.front() == '\'')
            s.erase(0, 1);
        while (!s.empty() && s.back() == '\'' && !s.ends_with("s'"))
            s.pop_back();
    }
    std::erase(slowa, std::string());
    return slowa;
}

bool KonczySie(std::string_view tekst, std::string_view koncowka)
{
    return tekst.size() > koncowka.size() && tekst.ends_with(koncowka);
}

// "I'm" as "i am", "doesn't" as "does not", "let's" as "let us"; "'s" only after the words it shortens "is" for, so a
// possessive ("butcher's") stays.
void RozwinSkroty(std::vector<std::string>& slowa)
{
    static constexpr std::array<std::string_view, 13> zIs = {"it", "that", "what", "where", "who", "there", "here",
                                                             "he", "she",  "how",  "when",  "why", "this"};
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> koncowki = {{
        {"'m", "am"},
        {"'re", "are"},
        {"'ve", "have"},
        {"'ll", "will"},
        {"'d", "would"},
        {"n't", "not"},
    }};
    std::vector<std::string> wynik;
    for (const std::string& s : slowa) {
        if (s == "can't" || s == "won't" || s == "shan't" || s == "let's") {
            wynik.emplace_back(s == "can't" ? "can" : s == "won't" ? "will" : s == "shan't" ? "shall" : "let");
            wynik.emplace_back(s == "let's" ? "us" : "not");
            continue;
        }
        bool rozwiniety = false;
        for (const auto& [skrot, pelne] : koncowki) {
            if (KonczySie(s, skrot)) {
                wynik.push_back(s.substr(0, s.size() - skrot.size()));
                wynik.emplace_back(pelne);
                rozwiniety = true;
                break;
            }
        }
        if (!rozwiniety && s.ends_with("'s") && Jest(zIs, std::string_view(s).substr(0, s.size() - 2))) {
            wynik.push_back(s.substr(0, s.size() - 2));
            wynik.emplace_back("is");
            rozwiniety = true;
        }
        if (!rozwiniety)
            wynik.push_back(s);
    }
    slowa = std::move(wynik);
}

} // namespace

std::string AmerykanskaPisownia(std::string_view slowo)
{
    std::string s(slowo);
    // Words whose British form no rule below covers.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 17> wyrazy = {{
        {"grey", "gray"},
        {"maths", "math"},
        {"mum", "mom"},
        {"mums", "moms"},
        {"programme", "program"},
        {"programmes", "programs"},
        {"cheque", "check"},
        {"cheques", "checks"},
        {"plough", "plow"},
        {"mould", "mold"},
        {"moustache", "mustache"},
        {"pyjamas", "pajamas"},
        {"aluminium", "aluminum"},
        {"aeroplane", "airplane"},
        {"jewellery", "jewelry"},
        {"sceptical", "skeptical"},
        {"practise", "practice"},
    }};
    for (const auto& [brytyjskie, amerykanskie] : wyrazy) {
        if (s == brytyjskie)
            return std::string(amerykanskie);
    }
    // -our: colour, favour, behaviour, neighbour; never four, hour, your, tour (too short) nor flour, pour, detour.
    static constexpr std::array<std::string_view, 6> bezOur = {"flour",   "flours", "detour",
                                                               "detours", "devour", "devours"};
    for (const std::string_view koncowka : {"our", "ours", "oured", "ouring", "ourful", "ourite", "ourites"}) {
        const std::size_t rdzen = s.size() - koncowka.size();
        if (KonczySie(s, koncowka) && rdzen >= 3 && !Jest(bezOur, s)) {
            s.erase(rdzen + 1, 1);
            return s;
        }
    }
    // -ise, -isation: apologise, realised, organisation; never rise, wise, prise (which is not "prize").
    static constexpr std::array<std::string_view, 17> zIse = {
        "advertise",   "advise", "compromise", "despise", "devise",  "disguise", "exercise", "expertise", "franchise",
        "merchandise", "noise",  "otherwise",  "praise",  "precise", "promise",  "raise",    "surprise"};
    for (const std::string_view koncowka : {"ise", "ised", "ises", "ising", "iser", "isers", "isation", "isations"}) {
        const std::size_t rdzen = s.size() - koncowka.size();
        if (!KonczySie(s, koncowka) || rdzen < 3)
            continue;
        bool wyjatek = false;
        for (const std::string_view w : zIse)
            wyjatek = wyjatek || s.starts_with(w.substr(0, w.size() - 1));
        if (!wyjatek && !s.starts_with("pris") && !s.starts_with("revis") && !s.starts_with("supervis") &&
            !s.starts_with("televis") && !s.starts_with("enterpris") && !s.starts_with("cruis")) {
            s[rdzen + 1] = 'z';
            return s;
        }
    }
    // -yse: analyse, paralysed.
    for (const std::string_view koncowka : {"yse", "ysed", "yses", "ysing"}) {
        if (KonczySie(s, koncowka) && s.size() - koncowka.size() >= 3) {
            s[s.size() - koncowka.size() + 1] = 'z';
            return s;
        }
    }
    // -tre, -bre: centre, theatre, litres, fibre.
    for (const std::string_view koncowka : {"tre", "tres", "bre", "bres"}) {
        if (KonczySie(s, koncowka) && s.size() - koncowka.size() >= 2) {
            const std::size_t r = s.size() - koncowka.size() + 1;
            std::swap(s[r], s[r + 1]);
            return s;
        }
    }
    // -ogue: catalogue, dialogue.
    if (KonczySie(s, "ogue") && s.size() >= 7)
        return s.substr(0, s.size() - 2);
    // -ence for -ense: defence, offence, licence, pretence.
    for (const std::string_view w : {"defence", "offence", "licence", "pretence"}) {
        if (s == w || s == std::string(w) + "s") {
            s[s.size() - (s.back() == 's' ? 3 : 2)] = 's';
            return s;
        }
    }
    // A doubled l before an ending: travelled, cancelling, labelled, modelling, quarrelled.
    for (const std::string_view rdzen : {"travel", "cancel", "label", "model", "quarrel", "fuel", "marvel", "level",
                                         "signal", "counsel", "dial", "total"}) {
        if (s.starts_with(rdzen) && s.size() > rdzen.size() + 1 && s[rdzen.size()] == 'l' &&
            (s.compare(rdzen.size() + 1, std::string::npos, "ed") == 0 ||
             s.compare(rdzen.size() + 1, std::string::npos, "ing") == 0 ||
             s.compare(rdzen.size() + 1, std::string::npos, "er") == 0 ||
             s.compare(rdzen.size() + 1, std::string::npos, "ers") == 0)) {
            s.erase(rdzen.size(), 1);
            return s;
        }
    }
    return s;
}

std::string PorownawczeAngielskie(std::string_view tekst)
{
    std::vector<std::string> slowa = OczyszczoneSlowa(tekst, true);
    RozwinSkroty(slowa);
    for (std::string& s : slowa)
        s = AmerykanskaPisownia(s);
    if (slowa.size() < 2)
        return Polacz(slowa);
    static constexpr std::array<std::string_view, 6> zastepcze = {"sb",        "sth",     "somebody",
                                                                  "something", "someone", "anybody"};
    static constexpr std::array<std::string_view, 11> dzierzawcze = {
        "my", "your", "his", "her", "its", "our", "their", "one's", "sb's", "somebody's", "someone's"};
    static constexpr std::array<std::string_view, 9> zwrotne = {
        "myself", "yourself", "himself", "herself", "itself", "ourselves", "yourselves", "themselves", "oneself"};
    std::vector<std::string> wynik;
    for (const std::string& s : slowa) {
        if (Jest(zastepcze, s))
            continue;
        if (Jest(dzierzawcze, s))
            wynik.emplace_back("one's");
        else if (Jest(zwrotne, s))
            wynik.emplace_back("oneself");
        else
            wynik.push_back(s);
    }
    if (wynik.size() > 1 && wynik.front() == "the")
        wynik.erase(wynik.begin());
    return wynik.empty() ? Polacz(slowa) : Polacz(wynik);
}

std::string PorownawczePolskie(std::string_view tekst)
{
    const std::vector<std::string> slowa = OczyszczoneSlowa(tekst, false);
    if (slowa.size() < 2)
        return Polacz(slowa);
    static constexpr std::array<std::string_view, 17> zastepcze = {
        "coś",    "czegoś", "czemuś",   "czymś",    "kogoś",  "komuś",   "kimś",    "ktoś",   "czyjś",
        "czyjąś", "czyjeś", "czyjegoś", "czyjemuś", "czyimś", "czyichś", "czyjejś", "czyimiś"};
    std::vector<std::string> wynik;
    for (const std::string& s : slowa) {
        if (!Jest(zastepcze, s))
            wynik.push_back(s);
    }
    return wynik.empty() ? Polacz(slowa) : Polacz(wynik);
}

bool BezPrzyimka(std::string_view tekst, bool polski, std::string& reszta)
{
    static constexpr std::array<std::string_view, 10> angielskie = {"on", "for",  "in", "to",    "from",
                                                                    "of", "with", "at", "about", "into"};
    static constexpr std::array<std::string_view, 16> polskie = {
        "na", "od", "w", "we", "do", "z", "ze", "o", "za", "przy", "po", "nad", "przed", "pod", "u", "dla"};
    const std::vector<std::string> slowa = Slowa(tekst);
    if (slowa.size() < 2)
        return false;
    const std::string ostatnie = slownik::Zlozone(slowa.back());
    if (polski ? !Jest(polskie, ostatnie) : !Jest(angielskie, ostatnie))
        return false;
    reszta = Polacz(std::vector<std::string>(slowa.begin(), slowa.end() - 1));
    return true;
}

std::vector<std::string> Rozwiniecia(std::string_view haslo)
{
    // Between "*" marks a "/" parts whole phrases: "*take/come to* power" is "take power" or "come to power".
    std::vector<std::string> formy = {std::string(haslo)};
    for (int grupa = 0; grupa < 3; ++grupa) {
        std::vector<std::string> nowe;
        bool byla = false;
        for (const std::string& f : formy) {
            const std::size_t otwarcie = f.find('*');
            const std::size_t zamkniecie = otwarcie == std::string::npos ? otwarcie : f.find('*', otwarcie + 1);
            if (zamkniecie == std::string::npos) {
                nowe.push_back(f);
                continue;
            }
            byla = true;
            const std::string wnetrze = f.substr(otwarcie + 1, zamkniecie - otwarcie - 1);
            std::size_t poczatek = 0;
            while (poczatek <= wnetrze.size()) {
                const std::size_t ukosnik = std::min(wnetrze.find('/', poczatek), wnetrze.size());
                nowe.push_back(f.substr(0, otwarcie) + wnetrze.substr(poczatek, ukosnik - poczatek) +
                               f.substr(zamkniecie + 1));
                poczatek = ukosnik + 1;
            }
        }
        formy = std::move(nowe);
        if (!byla)
            break;
    }
    for (std::string& f : formy)
        std::erase(f, '*');
    // Parts in brackets may be there or not: each group doubles the forms (a few groups at most).
    for (int grupa = 0; grupa < 3; ++grupa) {
        std::vector<std::string> nowe;
        bool byla = false;
        for (const std::string& f : formy) {
            const std::size_t otwarcie = f.find('(');
            const std::size_t zamkniecie = otwarcie == std::string::npos ? otwarcie : f.find(')', otwarcie);
            if (zamkniecie == std::string::npos) {
                nowe.push_back(f);
                continue;
            }
            byla = true;
            nowe.push_back(f.substr(0, otwarcie) + f.substr(otwarcie + 1, zamkniecie - otwarcie - 1) +
                           f.substr(zamkniecie + 1));
            nowe.push_back(f.substr(0, otwarcie) + f.substr(zamkniecie + 1));
        }
        formy = std::move(nowe);
        if (!byla)
            break;
    }
    // A word written "be/keep" is either word.
    std::vector<std::string> wynik;
    for (const std::string& f : formy) {
        std::vector<std::vector<std::string>> czesci = {{}};
        for (const std::string& slowo : Slowa(f)) {
            std::vector<std::string> mozliwe;
            std::size_t poczatek = 0;
            while (poczatek <= slowo.size()) {
                const std::size_t ukosnik = std::min(slowo.find('/', poczatek), slowo.size());
                if (ukosnik > poczatek)
                    mozliwe.push_back(slowo.substr(poczatek, ukosnik - poczatek));
                poczatek = ukosnik + 1;
            }
            std::vector<std::vector<std::string>> dalej;
            for (const auto& c : czesci) {
                for (const std::string& m : mozliwe) {
                    if (dalej.size() >= 32)
                        break;
                    dalej.push_back(c);
                    dalej.back().push_back(m);
                }
            }
            czesci = std::move(dalej);
        }
        for (const auto& c : czesci) {
            std::string forma = Polacz(c);
            if (!forma.empty() && std::find(wynik.begin(), wynik.end(), forma) == wynik.end())
                wynik.push_back(std::move(forma));
        }
    }
    return wynik;
}

std::vector<std::string> LiczbaMnoga(std::string_view rzeczownik)
{
    const std::string m(rzeczownik);
    if (m.empty() || m.find(' ') != std::string::npos)
        return {};
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 12> nieregularne = {{
        {"dziecko", "dzieci"},
        {"człowiek", "ludzie"},
        {"oko", "oczy"},
        {"ucho", "uszy"},
        {"ręka", "ręce"},
        {"brat", "bracia"},
        {"rok", "lata"},
        {"tydzień", "tygodnie"},
        {"dzień", "dni"},
        {"ksiądz", "księża"},
        {"przyjaciel", "przyjaciele"},
        {"pieniądz", "pieniądze"},
    }};
    for (const auto& [pojedyncza, mnoga] : nieregularne) {
        if (m == pojedyncza)
            return {std::string(mnoga)};
    }
    std::vector<std::string> wynik;
    const auto bez = [&](std::size_t ile) { return m.substr(0, m.size() - ile); };
    const auto dodaj = [&](std::string rdzen, std::initializer_list<std::string_view> koncowki) {
        for (const std::string_view k : koncowki)
            wynik.push_back(rdzen + std::string(k));
    };
    if (KonczySie(m, "ka") || KonczySie(m, "ga"))
        dodaj(bez(1), {"i"}); // skarpetka, noga
    else if (KonczySie(m, "a"))
        dodaj(bez(1), {"y", "i", "e"}); // przyprawa, kuchnia, koszula
    else if (KonczySie(m, "um"))
        dodaj(bez(2), {"a"}); // muzeum
    else if (KonczySie(m, "o") || KonczySie(m, "e"))
        dodaj(bez(1), {"a"}); // zioło, ubranie
    else if (KonczySie(m, "ę"))
        dodaj(bez(2), {"ęta", "iona"}); // zwierzę, imię
    else if (KonczySie(m, "eć"))
        dodaj(bez(3), {"cie"}); // kapeć, łokieć
    else if (KonczySie(m, "ć"))
        dodaj(bez(2), {"cie", "ci"}); // gość, wiadomość
    else if (KonczySie(m, "ń"))
        dodaj(bez(2), {"nie", "ni"}); // koń, dłoń
    else if (KonczySie(m, "ś"))
        dodaj(bez(2), {"sie", "si"}); // łoś
    else if (KonczySie(m, "ź"))
        dodaj(bez(2), {"zie", "zi"}); // gałąź
    else if (KonczySie(m, "anin"))
        dodaj(bez(2), {"e"}); // Amerykanin
    else {
        // A consonant: orzech, kolczyk, but, nauczyciel, pan; -ek and -ec lose their e (ołówek, palec), and an ó
        // in the last syllable may open to o (pieróg, samochód).
        std::vector<std::string> rdzenie = {m};
        if (KonczySie(m, "ek") || KonczySie(m, "ec"))
            rdzenie.push_back(bez(2) + m.substr(m.size() - 1));
        const std::size_t o = m.rfind("ó");
        if (o != std::string::npos && o + 2 < m.size() && m.size() - o <= 4)
            rdzenie.push_back(m.substr(0, o) + "o" + m.substr(o + 2));
        for (const std::string& r : rdzenie)
            dodaj(r, {"y", "i", "e", "owie"});
    }
    return wynik;
}

std::vector<std::string> PojedynczeFormy(std::string_view slowo)
{
    const std::string s(slowo);
    if (s.size() < 3 || s.back() != 's' || s.ends_with("ss") || s.find(' ') != std::string::npos)
        return {};
    std::vector<std::string> formy;
    if (s.ends_with("ies"))
        formy.push_back(s.substr(0, s.size() - 3) + "y");
    if (s.ends_with("es"))
        formy.push_back(s.substr(0, s.size() - 2));
    formy.push_back(s.substr(0, s.size() - 1));
    return formy;
}

} // namespace vokara::zestawy
