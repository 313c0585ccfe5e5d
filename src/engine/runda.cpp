// Round logic over the round's own entries; every draw happens in the order the operations are called.
#include "runda.h"

#include "kodowanie.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>
#include <vector>

namespace vokara {

namespace {

std::string Cp1250(const char* utf8)
{
    std::string bajty;
    const bool ok = Utf8NaCp1250(utf8, bajty);
    assert(ok);
    (void)ok;
    return bajty;
}

// The feedback texts, as data bytes so they can be joined with entry texts.
const std::array<std::string, 3>& Pochwaly()
{
    static const std::array<std::string, 3> teksty = {Cp1250("Bardzo dobrze"), Cp1250("OK"), Cp1250("Poprawnie")};
    return teksty;
}

const std::array<std::string, 3>& Nagany()
{
    static const std::array<std::string, 3> teksty = {
        Cp1250("Błąd. Poprawna odpowiedź to: "),
        Cp1250("Źle. Poprawna odpowiedź to: "),
        Cp1250("Pomyłka. Poprawna odpowiedź to: "),
    };
    return teksty;
}

// The Polish letters of the code page and the plain letters they are written as without their marks.
const std::array<std::pair<char, char>, 18>& PolskieZnaki()
{
    static const std::array<std::pair<char, char>, 18> znaki = [] {
        const std::string polskie = Cp1250("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
        const std::string zwykle = "acelnoszzACELNOSZZ";
        std::array<std::pair<char, char>, 18> wynik{};
        for (std::size_t i = 0; i < wynik.size(); ++i)
            wynik[i] = {polskie[i], zwykle[i]};
        return wynik;
    }();
    return znaki;
}

bool PolskiZnak(char c, char& zwykly)
{
    for (const auto& [polski, bez] : PolskieZnaki()) {
        if (c == polski) {
            zwykly = bez;
            return true;
        }
    }
    return false;
}

// `odpowiedz` is `dobra` with some of its Polish letters written without their marks (and at least one).
bool BezPolskichZnakow(const std::string& odpowiedz, const std::string& dobra)
{
    if (odpowiedz.size() != dobra.size() || odpowiedz == dobra)
        return false;
    for (std::size_t i = 0; i < dobra.size(); ++i) {
        char zwykly = 0;
        if (odpowiedz[i] != dobra[i] && !(PolskiZnak(dobra[i], zwykly) && odpowiedz[i] == zwykly))
            return false;
    }
    return true;
}

// One slip of the keyboard: a character added, left out or changed, or two neighbours swapped.
bool JednaPomylka(const std::string& a, const std::string& b)
{
    if (a == b)
        return false;
    if (a.size() == b.size()) {
        std::size_t i = 0;
        while (a[i] == b[i])
            ++i;
        if (a.compare(i + 1, std::string::npos, b, i + 1, std::string::npos) == 0)
            return true; // one changed
        return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
               a.compare(i + 2, std::string::npos, b, i + 2, std::string::npos) == 0;
    }
    const std::string& dluzszy = a.size() > b.size() ? a : b;
    const std::string& krotszy = a.size() > b.size() ? b : a;
    if (dluzszy.size() != krotszy.size() + 1)
        return false;
    std::size_t i = 0;
    while (i < krotszy.size() && krotszy[i] == dluzszy[i])
        ++i;
    return krotszy.compare(i, std::string::npos, dluzszy, i + 1, std::string::npos) == 0;
}

// The text itself and each alternative it lists, blanks around them gone.
void Alternatywy(const std::string& tekst, std::vector<std::string>& wynik)
{
    const std::string calosc = BezSpacjiNaBrzegach(tekst);
    if (calosc.empty())
        return;
    wynik.push_back(calosc);
    std::size_t poczatek = 0;
    for (std::size_t i = 0; i < calosc.size(); ++i) {
        std::size_t separator = 0;
        if ((calosc[i] == ',' || calosc[i] == ';') && i + 1 < calosc.size() && calosc[i + 1] == ' ')
            separator = 2;
        else if (calosc.compare(i, 3, " / ") == 0)
            separator = 3;
        if (separator == 0)
            continue;
        wynik.push_back(BezSpacjiNaBrzegach(calosc.substr(poczatek, i - poczatek)));
        poczatek = i + separator;
        i = poczatek - 1;
    }
    if (poczatek > 0)
        wynik.push_back(BezSpacjiNaBrzegach(calosc.substr(poczatek)));
    std::erase(wynik, std::string());
}

// How a typed answer stands against the right ones (compared as they are given: the dictation folds both first).
struct Ocena {
    bool Dobrze = false;
    bool Prawie = false;
    std::string BezZnakow; // the right answer whose Polish letters the learner wrote without their marks
};

Ocena Ocen(const std::string& odpowiedz, const std::vector<std::string>& dobre, const std::vector<std::string>& wzory)
{
    Ocena o;
    for (const std::string& d : dobre) {
        if (odpowiedz == d) {
            o.Dobrze = true;
            return o;
        }
    }
    for (std::size_t i = 0; i < dobre.size(); ++i) {
        if (BezPolskichZnakow(odpowiedz, dobre[i])) {
            o.Dobrze = true;
            o.BezZnakow = wzory[i];
            return o;
        }
    }
    if (odpowiedz.size() >= 4) {
        for (const std::string& d : dobre)
            o.Prawie = o.Prawie || JednaPomylka(odpowiedz, d);
    }
    return o;
}

std::string Przypomnienie(const std::string& wzor)
{
    static const std::string poczatek = Cp1250(" (pamiętaj o polskich znakach: ");
    return poczatek + wzor + ")";
}

} // namespace

std::string BezSpacjiNaBrzegach(const std::string& tekst)
{
    const auto poczatek = tekst.find_first_not_of(' ');
    if (poczatek == std::string::npos)
        return {};
    return tekst.substr(poczatek, tekst.find_last_not_of(' ') - poczatek + 1);
}

bool Runda::WczytajZestaw(const Dane& dane, int index)
{
    Zestaw zestaw;
    if (!WczytajPlikZestawu(dane, index, zestaw))
        return false;
    Zacznij(std::move(zestaw));
    return true;
}

void Runda::Zacznij(Zestaw zestaw)
{
    zestaw_ = std::move(zestaw);
    Wymieszaj();
}

void Runda::Wymieszaj()
{
    kursorDane_ = nullptr;
    auto& w = zestaw_.Wyrazy;
    const int dlugosc = static_cast<int>(w.size());
    for (int i = 0; i < dlugosc / 2; ++i) {
        const int a = los_.Losuj(dlugosc);
        const int b = los_.Losuj(dlugosc);
        std::swap(w[static_cast<std::size_t>(a)], w[static_cast<std::size_t>(b)]);
    }
}

bool Runda::SaNiezaliczone() const
{
    return std::any_of(zestaw_.Wyrazy.begin(), zestaw_.Wyrazy.end(), [](const _word& w) { return !w.Zaliczony; });
}

int Runda::NastepnyWyraz()
{
    // One pass over at most every entry, starting after the current one: finding none is the same as
    // SaNiezaliczone being false, and Biezacy then stays where it was. A single pass keeps a whole round linear.
    const int dlugosc = static_cast<int>(zestaw_.Wyrazy.size());
    int i = Biezacy;
    for (int krok = 0; krok < dlugosc; ++krok) {
        ++i;
        // A shorter set picked in the middle of a round can leave the position past the end.
        if (i >= dlugosc || i < 0)
            i = 0;
        if (!zestaw_.Wyrazy[static_cast<std::size_t>(i)].Zaliczony) {
            Biezacy = i;
            return i;
        }
    }
    return -1;
}

int Runda::NastepnyOdPoczatku()
{
    Biezacy = 0;
    const auto& w = zestaw_.Wyrazy;
    const int dlugosc = static_cast<int>(w.size());
    if (dlugosc == 0)
        return -1;
    // Entries only ever become answered during a round, so the answered run before the cursor stays answered; a
    // different set, or an entry before the cursor found unanswered again, means a new round.
    if (kursorDane_ != w.data() || kursorDlugosc_ != w.size() || kursor_ < 1 || kursor_ > dlugosc ||
        (kursor_ > 1 && !w[static_cast<std::size_t>(kursor_ - 1)].Zaliczony))
        kursor_ = 1;
    kursorDane_ = w.data();
    kursorDlugosc_ = w.size();
    while (kursor_ < dlugosc && w[static_cast<std::size_t>(kursor_)].Zaliczony)
        ++kursor_;
    if (kursor_ < dlugosc) {
        Biezacy = kursor_;
        return Biezacy;
    }
    return w[0].Zaliczony ? -1 : 0;
}

void Runda::LosujInne()
{
    const int dlugosc = static_cast<int>(zestaw_.Wyrazy.size());
    Inny1 = Biezacy;
    Inny2 = Biezacy;
    if (!JestBiezacy())
        return;
    // With fewer than three entries there is no pair of distinct others: draw only those that exist, and leave the
    // missing ones equal to Biezacy, so the drawing always ends.
    if (dlugosc >= 2) {
        while (Inny1 == Biezacy)
            Inny1 = los_.Losuj(dlugosc);
    }
    if (dlugosc >= 3) {
        while (Inny2 == Biezacy || Inny2 == Inny1)
            Inny2 = los_.Losuj(dlugosc);
    }
}

Opcje Runda::UlozOpcje(int tryb)
{
    static constexpr int uklady[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 1, 0}, {2, 0, 1}};
    const int k = los_.Losuj(6);
    Opcje opcje;
    if (!JestBiezacy())
        return opcje;
    const _word& biezacy = BiezacyWyraz();
    opcje.Dany = tryb == AngielskiPolski ? biezacy.Angielski : biezacy.Polski;
    const int kandydaci[3] = {Biezacy, Inny1, Inny2};
    for (int miejsce : uklady[k]) {
        const int indeks = kandydaci[miejsce];
        // An "other" equal to the current entry exists only in sets too small to fill three options.
        if (miejsce != 0 && indeks == Biezacy)
            continue;
        opcje.Indeksy.push_back(indeks);
    }
    return opcje;
}

std::string Runda::PoprawnaOdpowiedz(int tryb) const
{
    if (!JestBiezacy())
        return {};
    return tryb != AngielskiPolski ? BiezacyWyraz().Angielski : BiezacyWyraz().Polski;
}

std::string Runda::Pochwala()
{
    return Pochwaly()[static_cast<std::size_t>(los_.Losuj(3))];
}

std::string Runda::Nagana(int tryb)
{
    return Nagany()[static_cast<std::size_t>(los_.Losuj(3))] + PoprawnaOdpowiedz(tryb);
}

void Runda::PomijajFrazy()
{
    for (auto& w : zestaw_.Wyrazy) {
        const auto& a = w.Angielski;
        // A blank anywhere but in the last place makes a phrase; recordings exist for single words only.
        if (a.size() >= 2 && a.find(' ') < a.size() - 1)
            w.Zaliczony = true;
    }
}

bool Runda::JestBiezacy() const
{
    return Biezacy >= 0 && static_cast<std::size_t>(Biezacy) < zestaw_.Wyrazy.size();
}

const _word& Runda::BiezacyWyraz() const
{
    assert(JestBiezacy());
    return zestaw_.Wyrazy[static_cast<std::size_t>(Biezacy)];
}

_word& Runda::BiezacyWyraz()
{
    assert(JestBiezacy());
    return zestaw_.Wyrazy[static_cast<std::size_t>(Biezacy)];
}

int Runda::Zaliczone() const
{
    return static_cast<int>(
        std::count_if(zestaw_.Wyrazy.begin(), zestaw_.Wyrazy.end(), [](const _word& w) { return w.Zaliczony; }));
}

Werdykt Runda::SprawdzWybor(const std::string& wybrana, int tryb)
{
    if (wybrana != PoprawnaOdpowiedz(tryb))
        return {false, false, Nagana(tryb)};
    BiezacyWyraz().Zaliczony = true;
    return {true, false, Pochwala()};
}

Werdykt Runda::SprawdzWpis(const std::optional<std::string>& wpisane, int tryb)
{
    // Not case-folded. Text with no Windows-1250 form can match nothing.
    std::vector<std::string> dobre;
    Alternatywy(PoprawnaOdpowiedz(tryb), dobre);
    if (tryb == PolskiAngielski) {
        // The prompt is all the learner sees: another entry behind the very same Polish is right as well.
        const _word& biezacy = BiezacyWyraz();
        for (const _word& w : zestaw_.Wyrazy) {
            if (&w != &biezacy && w.Polski == biezacy.Polski)
                Alternatywy(w.Angielski, dobre);
        }
    }
    const Ocena o = wpisane ? Ocen(*wpisane, dobre, dobre) : Ocena{};
    if (!o.Dobrze)
        return {false, o.Prawie, (o.Prawie ? Cp1250("Prawie! ") : std::string()) + Nagana(tryb)};
    BiezacyWyraz().Zaliczony = true;
    return {true, false, Pochwala() + (o.BezZnakow.empty() ? std::string() : Przypomnienie(o.BezZnakow))};
}

Werdykt Runda::SprawdzSluch(const std::optional<std::string>& wpisane)
{
    static const std::string angielskieSlowo = Cp1250(". Angielskie słowo to: ");
    const _word& w = BiezacyWyraz();
    // The English word and the meaning's alternatives, as written and folded: the dictation does not mind case.
    std::vector<std::string> wzory;
    Alternatywy(w.Angielski, wzory);
    const std::size_t angielskie = wzory.size();
    Alternatywy(w.Polski, wzory);
    std::vector<std::string> dobre;
    for (const std::string& wzor : wzory)
        dobre.push_back(MaleLiteryPolskie(wzor));
    const Ocena o = wpisane ? Ocen(MaleLiteryPolskie(*wpisane), dobre, wzory) : Ocena{};
    if (!o.Dobrze)
        return {false, o.Prawie,
                (o.Prawie ? Cp1250("Prawie! ") : std::string()) + Nagana(PolskiAngielski) + " [" + w.Polski + "]"};
    BiezacyWyraz().Zaliczony = true;
    const std::string t = MaleLiteryPolskie(*wpisane);
    const bool poAngielsku = std::any_of(dobre.begin(), dobre.begin() + std::ptrdiff_t(angielskie),
                                         [&t](const std::string& d) { return d == t; });
    std::string komentarz = Pochwala();
    if (!o.BezZnakow.empty())
        komentarz += Przypomnienie(o.BezZnakow);
    // The meaning was typed: the English word is named too.
    if (!poAngielsku)
        komentarz += angielskieSlowo + w.Angielski;
    return {true, false, komentarz};
}

bool Runda::Uznaj()
{
    if (!JestBiezacy() || BiezacyWyraz().Zaliczony)
        return false;
    BiezacyWyraz().Zaliczony = true;
    return true;
}

} // namespace vokara
