// The dictionary: both FreeDict dictionaries loaded on first use, their reverse indexes, look-ups in both
// directions with ranking, IPA, and the words of a text.
#include "slownik.h"

#include "dictd.h"
#include "hasla.h"
#include "odmiana.h"
#include "slowa.h"
#include "utf8.h"
#include "wymowa.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace vokara {

using namespace slownik;

std::string FolderSlownikow()
{
    const char* z = std::getenv(ZmiennaFolderuSlownikow);
    return (z != nullptr && *z != '\0') ? std::string(z) : std::string(DomyslnyFolderSlownikow);
}

const char* SkrotCzesci(Czesc czesc)
{
    switch (czesc) {
    case Czesc::Inna:
        return "";
    case Czesc::Rzeczownik:
        return "rzecz.";
    case Czesc::Czasownik:
        return "czas.";
    case Czesc::Przymiotnik:
        return "przym.";
    case Czesc::Przyslowek:
        return "przysł.";
    case Czesc::Zaimek:
        return "zaim.";
    case Czesc::Liczebnik:
        return "licz.";
    case Czesc::Przyimek:
        return "przyim.";
    case Czesc::Spojnik:
        return "spój.";
    case Czesc::Wykrzyknik:
        return "wykrz.";
    case Czesc::Partykula:
        return "part.";
    case Czesc::NazwaWlasna:
        return "nazwa wł.";
    case Czesc::Skrot:
        return "skr.";
    case Czesc::Przedrostek:
        return "przedr.";
    case Czesc::Przyrostek:
        return "przyr.";
    case Czesc::Wyrazenie:
        return "wyraż.";
    case Czesc::Przyslowie:
        return "przysłowie";
    }
    return "";
}

std::vector<std::string> Wynik::Znaczenia(std::size_t ile) const
{
    std::vector<std::string> wynik;
    for (const auto& g : Grupy) {
        for (const auto& z : g.Znaczenia) {
            if (wynik.size() >= ile)
                return wynik;
            if (std::find(wynik.begin(), wynik.end(), z.Tekst) == wynik.end())
                wynik.push_back(z.Tekst);
        }
    }
    return wynik;
}

std::string Wynik::PierwszeZnaczenie() const
{
    for (const auto& g : Grupy) {
        if (!g.Znaczenia.empty())
            return g.Znaczenia.front().Tekst;
    }
    return {};
}

namespace {

// One of the two dictionaries.
struct Jeden {
    const char* Nazwa;  // as a sentence names it
    const char* Plik;   // file names without their endings
    const char* Pakiet; // the Debian package
    Indeks Ind;
    TekstSlownika Tekst;
    enum class Stan { Brak, Gotowy, Uszkodzony } S = Stan::Brak;
    std::string Blad;

    bool Gotowy() const { return S == Stan::Gotowy; }
};

// A reverse index entry: a meaning of one dictionary as the key, the entry it comes from.
struct Odwrotna {
    std::uint32_t Klucz = 0;  // in the reverse index's key text
    std::uint32_t Wpis = 0;   // the entry, in the dictionary's list of entries
    std::uint8_t Dlugosc = 0; // of the key
    std::uint8_t Zmysl = 0;   // the sense of the entry it belongs to (0 for the first)
    std::uint8_t Pozycja = 0; // place among that sense's meanings
    std::uint8_t Ile = 0;     // meanings the sense has
    Czesc Rodzaj = Czesc::Inna;
};

struct Odwrotny {
    std::string Klucze;
    std::vector<Odwrotna> Pozycje;

    std::string_view Klucz(const Odwrotna& o) const { return {Klucze.data() + o.Klucz, o.Dlugosc}; }

    bool Dodaj(std::string_view klucz, const Odwrotna& wzor)
    {
        if (klucz.empty() || klucz.size() > 255 || Klucze.size() + klucz.size() > 0xFFFFFFFFu)
            return false;
        Odwrotna o = wzor;
        o.Klucz = std::uint32_t(Klucze.size());
        o.Dlugosc = std::uint8_t(klucz.size());
        Klucze.append(klucz);
        Pozycje.push_back(o);
        return true;
    }

    // Sorted by key; entries were added in entry and sense order, which the sort keeps for equal keys. The first
    // eight bytes of each key are compared as one number, so most comparisons never reach the key text.
    void Uporzadkuj()
    {
        struct DoSortu {
            std::uint64_t Poczatek;
            std::uint32_t Nr;
        };
        std::vector<DoSortu> s(Pozycje.size());
        for (std::size_t i = 0; i < Pozycje.size(); ++i) {
            const std::string_view k = Klucz(Pozycje[i]);
            std::uint64_t p = 0;
            for (std::size_t b = 0; b < 8; ++b)
                p = (p << 8) | (b < k.size() ? static_cast<unsigned char>(k[b]) : 0u);
            s[i] = {p, std::uint32_t(i)};
        }
        // A stable radix sort on the eight bytes, then each run of equal beginnings with longer keys by the rest.
        std::vector<DoSortu> pomoc(s.size());
        for (int bajt = 0; bajt < 8; ++bajt) {
            std::array<std::size_t, 257> licznik{};
            const int przesuniecie = 8 * bajt;
            for (const DoSortu& x : s)
                ++licznik[((x.Poczatek >> przesuniecie) & 0xFF) + 1];
            if (std::any_of(licznik.begin(), licznik.end(), [&](std::size_t c) { return c == s.size(); }))
                continue; // every key has the same byte here
            for (std::size_t i = 1; i < licznik.size(); ++i)
                licznik[i] += licznik[i - 1];
            for (const DoSortu& x : s)
                pomoc[licznik[(x.Poczatek >> przesuniecie) & 0xFF]++] = x;
            s.swap(pomoc);
        }
        const auto reszta = [this](const DoSortu& x) {
            const std::string_view k = Klucz(Pozycje[x.Nr]);
            return k.substr(std::min<std::size_t>(8, k.size()));
        };
        for (std::size_t od = 0; od < s.size();) {
            std::size_t doo = od + 1;
            bool dlugie = reszta(s[od]).size() > 0;
            while (doo < s.size() && s[doo].Poczatek == s[od].Poczatek) {
                dlugie = dlugie || reszta(s[doo]).size() > 0;
                ++doo;
            }
            if (dlugie && doo - od > 1)
                std::stable_sort(s.begin() + std::ptrdiff_t(od), s.begin() + std::ptrdiff_t(doo),
                                 [&](const DoSortu& a, const DoSortu& b) { return reszta(a) < reszta(b); });
            od = doo;
        }
        std::vector<Odwrotna> posortowane;
        posortowane.reserve(Pozycje.size());
        for (const DoSortu& x : s)
            posortowane.push_back(Pozycje[x.Nr]);
        Pozycje = std::move(posortowane);
        Klucze.shrink_to_fit();
    }

    std::pair<const Odwrotna*, const Odwrotna*> Znajdz(std::string_view klucz) const
    {
        const auto od = std::lower_bound(Pozycje.begin(), Pozycje.end(), klucz,
                                         [this](const Odwrotna& a, std::string_view k) { return Klucz(a) < k; });
        auto doo = od;
        while (doo != Pozycje.end() && Klucz(*doo) == klucz)
            ++doo;
        return {Pozycje.data() + (od - Pozycje.begin()), Pozycje.data() + (doo - Pozycje.begin())};
    }

    std::size_t Ile(std::string_view klucz) const
    {
        const auto [od, doo] = Znajdz(klucz);
        return std::size_t(doo - od);
    }

    void Wyczysc()
    {
        Klucze.clear();
        Klucze.shrink_to_fit();
        Pozycje.clear();
        Pozycje.shrink_to_fit();
    }

    std::size_t Pamiec() const { return Klucze.capacity() + Pozycje.capacity() * sizeof(Odwrotna); }
};

// An entry of a dictionary: where its text lies and its headword as written.
struct Wpis {
    std::uint32_t Od = 0;
    std::uint32_t Dlugosc = 0;
    std::uint32_t Haslo = 0; // in the list's headword text
    std::uint8_t DlugoscHasla = 0;
    Czesc Rodzaj = Czesc::Inna;
    std::uint8_t Zmyslow = 0; // senses of a pol-eng entry
    std::uint8_t Glos = 0;    // and its glosses
};

struct Wpisy {
    std::string Hasla;
    std::vector<Wpis> Lista;

    std::string_view Haslo(const Wpis& w) const { return {Hasla.data() + w.Haslo, w.DlugoscHasla}; }

    std::uint32_t Dodaj(const PozycjaIndeksu& p, std::string_view haslo, Czesc rodzaj, std::size_t zmyslow,
                        std::size_t glos)
    {
        if (haslo.size() > 255) {
            std::size_t ciecie = 255;
            while (ciecie > 0 && (static_cast<unsigned char>(haslo[ciecie]) & 0xC0) == 0x80)
                --ciecie;
            haslo = haslo.substr(0, ciecie);
        }
        Lista.push_back({p.Od, p.Dlugosc, std::uint32_t(Hasla.size()), std::uint8_t(haslo.size()), rodzaj,
                         std::uint8_t(std::min<std::size_t>(zmyslow, 255)),
                         std::uint8_t(std::min<std::size_t>(glos, 255))});
        Hasla.append(haslo);
        return std::uint32_t(Lista.size() - 1);
    }

    void Wyczysc()
    {
        Hasla.clear();
        Hasla.shrink_to_fit();
        Lista.clear();
        Lista.shrink_to_fit();
    }

    std::size_t Pamiec() const { return Hasla.capacity() + Lista.capacity() * sizeof(Wpis); }
};

// Index entries in text order, each text range once (an index may name one entry under several headwords).
std::vector<PozycjaIndeksu> WKolejnosciTekstu(const Indeks& ind)
{
    std::vector<PozycjaIndeksu> wynik = ind.Pozycje();
    std::sort(wynik.begin(), wynik.end(), [](const PozycjaIndeksu& a, const PozycjaIndeksu& b) {
        return std::tie(a.Od, a.Dlugosc) < std::tie(b.Od, b.Dlugosc);
    });
    wynik.erase(std::unique(wynik.begin(), wynik.end(),
                            [](const PozycjaIndeksu& a, const PozycjaIndeksu& b) {
                                return a.Od == b.Od && a.Dlugosc == b.Dlugosc;
                            }),
                wynik.end());
    return wynik;
}

bool PolskieLitery(std::string_view t)
{
    for (std::size_t i = 0; i < t.size();) {
        const char32_t z = MalaLitera(NastepnyZnak(t, i));
        if (std::u32string_view(U"ąćęłńóśźż").find(z) != std::u32string_view::npos)
            return true;
    }
    return false;
}

std::vector<Znaczenie>& GrupaCzesci(Wynik& w, Czesc c)
{
    for (auto& g : w.Grupy) {
        if (g.Rodzaj == c)
            return g.Znaczenia;
    }
    w.Grupy.push_back({c, {}});
    return w.Grupy.back().Znaczenia;
}

} // namespace

struct Slownik::Dane {
    std::string Folder;
    std::mutex Zamek;
    bool Wczytany = false;
    std::atomic<bool> Czytany{false}; // Wczytany, for Slownik::Czytany without the lock
    Jeden AP{"angielsko-polski", "freedict-eng-pol", "dict-freedict-eng-pol", {}, {}, Jeden::Stan::Brak, {}};
    Jeden PA{"polsko-angielski", "freedict-pol-eng", "dict-freedict-pol-eng", {}, {}, Jeden::Stan::Brak, {}};
    std::string Komunikat;
    bool Odebrany = false;

    Wpisy WpisyAP;     // eng-pol entries, their first headword as written
    Wpisy WpisyPA;     // pol-eng entries, their headword and part of speech
    Odwrotny OdwrotAP; // Polish meanings of eng-pol -> its entries
    Odwrotny OdwrotPA; // English glosses of pol-eng -> its entries
    std::string Bufor;

    void WczytajWszystko();
    void Otworz(Jeden& s);
    void Uszkodzony(Jeden& s, const std::string& blad);
    void UlozKomunikat();
    bool ZbudujAP(std::string& blad);
    bool ZbudujPA(std::string& blad);
    bool Czytaj(Jeden& s, std::uint32_t od, std::uint32_t dlugosc);

    bool JestAngielskie(std::string_view klucz) const;
    std::string Rozwiaz(std::string_view slowo) const;
    Wynik Angielskie(const std::string& klucz, std::string_view wpisane, bool zIpa, bool zWyrazeniami);
    void DodajOdwrotnePA(Wynik& w, const std::string& klucz, std::size_t najwiecej);
    Wynik Polskie(std::string_view slowo);
    std::string IpaHasla(const std::string& klucz);
    std::string Ipa(std::string_view tekst);
    std::uint64_t OdAP(const std::string& klucz) const;
};

void Slownik::Dane::Otworz(Jeden& s)
{
    namespace fs = std::filesystem;
    const std::string baza = Folder + "/" + s.Plik;
    std::error_code ec;
    const bool jestIndeks = fs::exists(baza + ".index", ec);
    std::string tekst = baza + ".dict.dz";
    if (!fs::exists(tekst, ec) && fs::exists(baza + ".dict", ec))
        tekst = baza + ".dict";
    if (!jestIndeks) {
        s.S = Jeden::Stan::Brak;
        return;
    }
    std::string bajty;
    std::string blad;
    if (!WczytajPlik(baza + ".index", NajwiekszyIndeks, bajty, blad) || !s.Ind.Wczytaj(std::move(bajty), blad))
        return Uszkodzony(s, blad);
    auto zrodlo = OtworzPlik(tekst, blad);
    if (!zrodlo || !s.Tekst.Otworz(std::move(zrodlo), blad))
        return Uszkodzony(s, blad);
    if (s.Ind.Pozycje().empty())
        return Uszkodzony(s, "indeks nie ma żadnego hasła");
    if (s.Ind.Koniec() > s.Tekst.Rozmiar())
        return Uszkodzony(s, "indeks wskazuje poza koniec tekstu");
    s.S = Jeden::Stan::Gotowy;
}

void Slownik::Dane::Uszkodzony(Jeden& s, const std::string& blad)
{
    s.S = Jeden::Stan::Uszkodzony;
    s.Blad = blad;
    s.Ind = Indeks{};
    if (&s == &AP) {
        WpisyAP.Wyczysc();
        OdwrotAP.Wyczysc();
    } else {
        WpisyPA.Wyczysc();
        OdwrotPA.Wyczysc();
    }
    UlozKomunikat();
}

void Slownik::Dane::UlozKomunikat()
{
    std::string k;
    if (AP.S == Jeden::Stan::Brak && PA.S == Jeden::Stan::Brak) {
        k = KomunikatBrakuSlownika;
    } else {
        for (const Jeden* s : {&AP, &PA}) {
            if (!k.empty() && s->S != Jeden::Stan::Gotowy)
                k += ' ';
            if (s->S == Jeden::Stan::Brak)
                k += std::string("Słownik ") + s->Nazwa + " nie jest zainstalowany (pakiet " + s->Pakiet + ").";
            else if (s->S == Jeden::Stan::Uszkodzony)
                k += std::string("Słownik ") + s->Nazwa + " jest uszkodzony (" + s->Blad + ") i nie będzie używany.";
        }
    }
    if (k != Komunikat) {
        Komunikat = k;
        Odebrany = k.empty();
    }
}

bool Slownik::Dane::Czytaj(Jeden& s, std::uint32_t od, std::uint32_t dlugosc)
{
    std::string blad;
    if (s.Tekst.Czytaj(od, dlugosc, Bufor, blad))
        return true;
    Uszkodzony(s, blad);
    return false;
}

bool Slownik::Dane::ZbudujPA(std::string& blad)
{
    WpisPolAng wpis;
    std::string bufor;
    std::string klucz;
    std::string_view tekst;
    const auto kolejnosc = WKolejnosciTekstu(PA.Ind);
    WpisyPA.Lista.reserve(kolejnosc.size());
    OdwrotPA.Pozycje.reserve(kolejnosc.size() * 2);
    for (const PozycjaIndeksu& p : kolejnosc) {
        if (!PA.Tekst.Widok(p.Od, p.Dlugosc, tekst, bufor, blad))
            return false;
        ParsujPolAng(tekst, wpis);
        const std::uint32_t nr = WpisyPA.Dodaj(p, wpis.Haslo, wpis.Rodzaj, wpis.Definicje.size(), wpis.Glosy.size());
        for (const GlosaPolAng& g : wpis.Glosy) {
            KluczHasla(g.Tekst, klucz);
            OdwrotPA.Dodaj(klucz, {0, nr, 0, g.Zmysl, g.Pozycja, g.Ile, wpis.Rodzaj});
        }
    }
    if (!PA.Tekst.SprawdzSume(blad))
        return false;
    OdwrotPA.Uporzadkuj();
    return true;
}

bool Slownik::Dane::ZbudujAP(std::string& blad)
{
    std::string bufor;
    std::string klucz;
    std::string_view tekst;
    std::vector<ZnaczenieAngPol> znaczenia;
    const auto kolejnosc = WKolejnosciTekstu(AP.Ind);
    WpisyAP.Lista.reserve(kolejnosc.size());
    OdwrotAP.Pozycje.reserve(kolejnosc.size() * 3);
    for (const PozycjaIndeksu& p : kolejnosc) {
        if (!AP.Tekst.Widok(p.Od, p.Dlugosc, tekst, bufor, blad))
            return false;
        const std::string_view haslo = ZnaczeniaAngPol(tekst, znaczenia);
        const std::uint32_t nr =
            WpisyAP.Dodaj(p, haslo, znaczenia.empty() ? Czesc::Inna : znaczenia.front().Rodzaj, 0, 0);
        for (const ZnaczenieAngPol& z : znaczenia) {
            KluczHasla(z.Tekst, klucz);
            OdwrotAP.Dodaj(klucz, {0, nr, 0, z.Zmysl, z.Pozycja, z.Ile, z.Rodzaj});
        }
    }
    if (!AP.Tekst.SprawdzSume(blad))
        return false;
    OdwrotAP.Uporzadkuj();
    return true;
}

void Slownik::Dane::WczytajWszystko()
{
    if (Wczytany)
        return;
    Wczytany = true;
    Czytany = true;
    Otworz(AP);
    Otworz(PA);
    // Each pass reads every chunk once, so a damaged chunk anywhere is found now and not in the middle of a session.
    // The two dictionaries share nothing, so eng-pol is read on a second thread while pol-eng is read here.
    std::string bladAP;
    std::string bladPA;
    bool okAP = true;
    bool okPA = true;
    const auto ap = [&] {
        try {
            okAP = ZbudujAP(bladAP);
        } catch (...) {
            okAP = false;
            bladAP = "za mało pamięci";
        }
    };
    std::thread watek;
    if (AP.Gotowy() && PA.Gotowy()) {
        try {
            watek = std::thread(ap);
        } catch (...) {
            ap(); // no second thread to be had: one after the other
        }
    } else if (AP.Gotowy()) {
        ap();
    }
    if (PA.Gotowy()) {
        try {
            okPA = ZbudujPA(bladPA);
        } catch (...) {
            okPA = false;
            bladPA = "za mało pamięci";
        }
    }
    if (watek.joinable())
        watek.join();
    if (!okAP)
        Uszkodzony(AP, bladAP);
    if (!okPA)
        Uszkodzony(PA, bladPA);
    UlozKomunikat();
}

bool Slownik::Dane::JestAngielskie(std::string_view klucz) const
{
    return (AP.Gotowy() && AP.Ind.Jest(klucz)) || (PA.Gotowy() && OdwrotPA.Ile(klucz) > 0);
}

std::string Slownik::Dane::Rozwiaz(std::string_view slowo) const
{
    std::string z = Zlozone(Przytnij(slowo));
    for (std::string_view dopelniacz : {"'s", "’s"}) {
        if (z.size() > dopelniacz.size() + 1 && z.ends_with(dopelniacz))
            z.resize(z.size() - dopelniacz.size());
    }
    const std::string klucz = KluczHasla(z);
    if (klucz.empty())
        return {};
    if (klucz.find(' ') != std::string::npos)
        return klucz; // phrases are not inflected; a look-up also searches the sub-entries of their words
    for (const std::string& forma : FormyPodstawowe(klucz)) {
        if (JestAngielskie(forma))
            return forma;
    }
    return {};
}

std::uint64_t Slownik::Dane::OdAP(const std::string& klucz) const
{
    if (!AP.Gotowy())
        return UINT64_MAX;
    const auto [od, doo] = AP.Ind.Znajdz(klucz);
    return od == doo ? UINT64_MAX : od->Od;
}

Wynik Slownik::Dane::Angielskie(const std::string& klucz, std::string_view wpisane, bool zIpa, bool zWyrazeniami)
{
    Wynik w;
    w.JezykHasla = Jezyk::Angielski;
    if (klucz.empty())
        return w;
    const std::string wpisaneCzyste(Przytnij(wpisane));
    int numerWpisu = 0;
    // Takes in one entry of eng-pol: its own senses, or those of its sub-entry the key names.
    const auto wez = [&](const WpisAngPol& wpis, bool tylkoPodhaslo) {
        const int przesuniecie = 1000 * ++numerWpisu; // senses of different entries never share a number
        bool glowne = false;
        for (const auto& h : wpis.Hasla)
            glowne = glowne || KluczHasla(h) == klucz;
        const Wyrazenie* pod = nullptr;
        if (!glowne) {
            for (const auto& wy : wpis.Wyrazenia) {
                if (KluczHasla(wy.Haslo) == klucz) {
                    pod = &wy;
                    break;
                }
            }
        }
        if (pod == nullptr && tylkoPodhaslo)
            return false;
        if (pod != nullptr) {
            auto& dokad = GrupaCzesci(w, pod->Rodzaj == Czesc::Wyrazenie ? Czesc::Inna : pod->Rodzaj);
            for (Znaczenie z : pod->Znaczenia) {
                z.Zmysl += przesuniecie;
                dokad.push_back(std::move(z));
            }
            if (w.Haslo.empty())
                w.Haslo = pod->Haslo;
            if (w.Ipa.empty() && !pod->Ipa.empty()) {
                w.Ipa = pod->Ipa;
                w.IpaZeSlownika = true;
            }
            return true;
        }
        for (const Grupa& g : wpis.Grupy) {
            auto& dokad = GrupaCzesci(w, g.Rodzaj);
            for (Znaczenie z : g.Znaczenia) {
                z.Zmysl += przesuniecie;
                dokad.push_back(std::move(z));
            }
        }
        if (zWyrazeniami)
            w.Wyrazenia.insert(w.Wyrazenia.end(), wpis.Wyrazenia.begin(), wpis.Wyrazenia.end());
        if (w.Haslo.empty() && !wpis.Hasla.empty())
            w.Haslo = wpis.Hasla.front();
        if (w.Ipa.empty() && !wpis.Ipa.empty()) {
            w.Ipa = "/" + wpis.Ipa + "/";
            w.IpaZeSlownika = true;
        }
        return true;
    };

    if (AP.Gotowy()) {
        const auto [od, doo] = AP.Ind.Znajdz(klucz);
        std::vector<WpisAngPol> wpisy;
        for (const PozycjaIndeksu* p = od; p != doo; ++p) {
            if (!Czytaj(AP, p->Od, p->Dlugosc))
                return Wynik{};
            wpisy.push_back(ParsujAngPol(Bufor));
        }
        // "turkey": the entry written as typed first, then small-letter headwords before capitalised ones (indyk
        // before Turcja).
        const auto ranga = [&](const WpisAngPol& x) {
            if (x.Hasla.empty())
                return 3;
            if (x.Hasla.front() == wpisaneCzyste)
                return 0;
            std::size_t i = 0;
            const char32_t pierwsza = x.Hasla.front().empty() ? 0 : NastepnyZnak(x.Hasla.front(), i);
            return MalaLitera(pierwsza) == pierwsza ? 1 : 2;
        };
        std::stable_sort(wpisy.begin(), wpisy.end(),
                         [&](const WpisAngPol& a, const WpisAngPol& b) { return ranga(a) < ranga(b); });
        for (const auto& wpis : wpisy)
            wez(wpis, false);
        // A phrase the index lacks may be a sub-entry or idiom of one of its words ("set up" under "set").
        if (w.Grupy.empty() && klucz.find(' ') != std::string::npos && AP.Gotowy()) {
            for (std::size_t start = 0; start < klucz.size() && w.Grupy.empty();) {
                std::size_t koniec = klucz.find(' ', start);
                if (koniec == std::string::npos)
                    koniec = klucz.size();
                const std::string slowo = klucz.substr(start, koniec - start);
                start = koniec + 1;
                const auto [o, d] = AP.Ind.Znajdz(slowo);
                for (const PozycjaIndeksu* p = o; p != d && w.Grupy.empty(); ++p) {
                    if (!Czytaj(AP, p->Od, p->Dlugosc))
                        return Wynik{};
                    wez(ParsujAngPol(Bufor), true);
                }
            }
        }
    }
    const bool zAngPol = !w.Grupy.empty();
    if (PA.Gotowy())
        DodajOdwrotnePA(w, klucz, zAngPol ? 4 : 8);
    if (w.Grupy.empty())
        return Wynik{};
    if (w.Haslo.empty())
        w.Haslo = klucz;
    if (zIpa && w.Ipa.empty()) {
        w.Ipa = Ipa(w.Haslo);
        w.IpaZeSlownika = false;
    }
    return w;
}

// pol-eng read backwards: the Polish headwords that give the English word as a gloss, best first. Wiktionary's
// glosses are unranked and noisy ("dog" is a gloss of "olewać" and "śledzić"), so a candidate is weighed by how much
// of its entry is about the word (the share of its senses that give it, given first, in its first sense, alone),
// by how common it looks (short, with many senses and glosses, used by eng-pol as a meaning), and names, phrases
// and the English word written back as Polish fall behind. The weights were tuned on basic words eng-pol lacks.
void Slownik::Dane::DodajOdwrotnePA(Wynik& w, const std::string& klucz, std::size_t najwiecej)
{
    std::unordered_set<std::string> obecne;
    for (const auto& g : w.Grupy) {
        for (const auto& z : g.Znaczenia)
            obecne.insert(KluczHasla(z.Tekst));
    }
    struct Kandydat {
        std::uint32_t Wpis;
        double Punkty;
        std::string Klucz;
    };
    std::vector<Kandydat> kandydaci;
    const auto [od, doo] = OdwrotPA.Znajdz(klucz);
    for (const Odwrotna* o = od; o != doo;) {
        // The hits of one entry lie together, its first sense first.
        const Odwrotna& pierwszy = *o;
        int zmyslow = 0;
        for (std::uint32_t ostatni = 256; o != doo && o->Wpis == pierwszy.Wpis; ++o) {
            if (o->Zmysl != ostatni)
                ++zmyslow;
            ostatni = o->Zmysl;
        }
        const Wpis& wpis = WpisyPA.Lista[pierwszy.Wpis];
        const std::string_view haslo = WpisyPA.Haslo(wpis);
        std::string k = KluczHasla(haslo);
        if (k.empty() || obecne.count(k))
            continue; // eng-pol gives it already: the two agree, and it stands where eng-pol puts it
        double punkty = 20.0 * zmyslow / std::max(1, int(wpis.Zmyslow));
        punkty += pierwszy.Pozycja == 0 ? 10 : 0;
        punkty += 5.0 / (1 + pierwszy.Zmysl);
        punkty += 5.0 / std::max(1, int(pierwszy.Ile));
        punkty -= 4.0 * std::max(0, int(LiczbaZnakow(haslo)) - 4);
        punkty += std::min(int(wpis.Zmyslow), 6);
        punkty += 0.5 * std::min(int(wpis.Glos), 20);
        punkty += 4.0 * double(std::min<std::size_t>(OdwrotAP.Ile(k), 5));
        if (k == klucz)
            punkty -= 20;
        if (k.find(' ') != std::string::npos)
            punkty -= 15;
        std::size_t i = 0;
        const char32_t pierwsza = NastepnyZnak(haslo, i);
        if (wpis.Rodzaj == Czesc::NazwaWlasna)
            punkty -= 60;
        else if (MalaLitera(pierwsza) != pierwsza)
            punkty -= 30;
        const auto jest =
            std::find_if(kandydaci.begin(), kandydaci.end(), [&](const Kandydat& x) { return x.Klucz == k; });
        if (jest == kandydaci.end())
            kandydaci.push_back({pierwszy.Wpis, punkty, std::move(k)});
        else if (punkty > jest->Punkty)
            *jest = {pierwszy.Wpis, punkty, std::move(k)};
    }
    std::stable_sort(kandydaci.begin(), kandydaci.end(),
                     [](const Kandydat& a, const Kandydat& b) { return a.Punkty > b.Punkty; });
    if (kandydaci.size() > najwiecej)
        kandydaci.resize(najwiecej);
    int zmysl = 100000;
    for (const Kandydat& k : kandydaci) {
        const Wpis& wpis = WpisyPA.Lista[k.Wpis];
        Znaczenie z;
        z.Tekst = PoprawneUtf8(WpisyPA.Haslo(wpis));
        z.Zmysl = ++zmysl;
        z.Skad = Zrodlo::PolskoAngielskiOdwrotnie;
        GrupaCzesci(w, wpis.Rodzaj).push_back(std::move(z));
    }
}

Wynik Slownik::Dane::Polskie(std::string_view slowo)
{
    Wynik w;
    w.JezykHasla = Jezyk::Polski;
    const std::string klucz = KluczHasla(slowo);
    if (klucz.empty())
        return w;
    // English headwords of eng-pol that list the Polish word: they confirm a gloss, or add one.
    std::vector<const Odwrotna*> zAngPol;
    std::unordered_set<std::string> potwierdzone;
    if (AP.Gotowy()) {
        const auto [od, doo] = OdwrotAP.Znajdz(klucz);
        for (const Odwrotna* o = od; o != doo; ++o) {
            zAngPol.push_back(o);
            potwierdzone.insert(KluczHasla(WpisyAP.Haslo(WpisyAP.Lista[o->Wpis])));
        }
    }
    std::unordered_set<std::string> obecne;
    if (PA.Gotowy()) {
        const auto [od, doo] = PA.Ind.Znajdz(klucz);
        WpisPolAng wpis;
        int numerWpisu = 0;
        for (const PozycjaIndeksu* p = od; p != doo; ++p) {
            if (!Czytaj(PA, p->Od, p->Dlugosc))
                return Wynik{};
            ParsujPolAng(Bufor, wpis);
            const int przesuniecie = 1000 * ++numerWpisu;
            if (w.Haslo.empty())
                w.Haslo = PoprawneUtf8(wpis.Haslo);
            struct Kandydat {
                int Punkty;
                Znaczenie Z;
            };
            std::vector<Kandydat> kandydaci;
            for (const GlosaPolAng& g : wpis.Glosy) {
                std::string k = KluczHasla(g.Tekst);
                if (k.empty() || obecne.count(k))
                    continue;
                obecne.insert(k);
                Znaczenie z;
                z.Tekst = PoprawneUtf8(g.Tekst);
                if (g.Zmysl < wpis.Definicje.size())
                    z.Dopisek = CzystaDefinicja(wpis.Definicje[g.Zmysl]);
                z.Zmysl = przesuniecie + g.Zmysl;
                z.Skad = Zrodlo::PolskoAngielski;
                const int punkty = (potwierdzone.count(k) ? 1000 : 0) - 20 * g.Zmysl - g.Pozycja;
                kandydaci.push_back({punkty, std::move(z)});
            }
            std::stable_sort(kandydaci.begin(), kandydaci.end(),
                             [](const Kandydat& a, const Kandydat& b) { return a.Punkty > b.Punkty; });
            auto& dokad = GrupaCzesci(w, wpis.Rodzaj);
            for (auto& k : kandydaci)
                dokad.push_back(std::move(k.Z));
        }
    }
    // eng-pol read backwards, for what pol-eng does not give: the Polish word as a sense's only or first meaning
    // ranks first.
    std::stable_sort(zAngPol.begin(), zAngPol.end(), [](const Odwrotna* a, const Odwrotna* b) {
        return std::tie(a->Pozycja, a->Ile, a->Zmysl) < std::tie(b->Pozycja, b->Ile, b->Zmysl);
    });
    std::size_t dodane = 0;
    for (const Odwrotna* o : zAngPol) {
        if (dodane >= 6)
            break;
        const std::string_view haslo = WpisyAP.Haslo(WpisyAP.Lista[o->Wpis]);
        std::string k = KluczHasla(haslo);
        if (k.empty() || obecne.count(k))
            continue;
        obecne.insert(std::move(k));
        Znaczenie z;
        z.Tekst = PoprawneUtf8(haslo);
        z.Zmysl = 100000 + int(++dodane);
        z.Skad = Zrodlo::AngielskoPolskiOdwrotnie;
        GrupaCzesci(w, o->Rodzaj).push_back(std::move(z));
    }
    if (w.Grupy.empty())
        return Wynik{};
    if (w.Haslo.empty())
        w.Haslo = klucz;
    return w;
}

// eng-pol's IPA of a headword or of its sub-entry, without slashes; "" when it has none.
std::string Slownik::Dane::IpaHasla(const std::string& klucz)
{
    if (!AP.Gotowy() || klucz.empty())
        return {};
    const auto [od, doo] = AP.Ind.Znajdz(klucz);
    for (const PozycjaIndeksu* p = od; p != doo; ++p) {
        if (!Czytaj(AP, p->Od, p->Dlugosc))
            return {};
        const WpisAngPol wpis = ParsujAngPol(Bufor);
        for (const auto& h : wpis.Hasla) {
            if (!wpis.Ipa.empty() && KluczHasla(h) == klucz)
                return wpis.Ipa;
        }
        for (const auto& wy : wpis.Wyrazenia) {
            if (wy.Ipa.size() > 2 && KluczHasla(wy.Haslo) == klucz)
                return wy.Ipa.substr(1, wy.Ipa.size() - 2);
        }
    }
    return {};
}

std::string Slownik::Dane::Ipa(std::string_view tekst)
{
    const std::string_view t = Przytnij(tekst);
    if (t.empty() || t.size() > 1000)
        return {};
    if (std::string caly = IpaHasla(KluczHasla(t)); !caly.empty())
        return "/" + caly + "/";
    std::string wynik;
    for (std::size_t i = 0; i < t.size();) {
        // Words are split at blanks and hyphens; each gets eng-pol's IPA or espeak-ng's.
        std::size_t j = i;
        std::string slowo;
        while (j < t.size()) {
            std::size_t k = j;
            const char32_t z = NastepnyZnak(t, k);
            if (z == ' ' || z == '-' || z == '\t' || z == '/')
                break;
            slowo.append(t.substr(j, k - j));
            j = k;
        }
        i = j + (j < t.size() ? 1 : 0);
        const std::string klucz = KluczHasla(slowo);
        if (klucz.empty())
            continue;
        std::string ipa = IpaHasla(klucz);
        if (ipa.empty())
            ipa = IpaWStyluSlownika(IpaEspeak(slowo));
        if (ipa.empty())
            continue;
        if (!wynik.empty())
            wynik += ' ';
        wynik += ipa;
    }
    return wynik.empty() ? std::string() : "/" + wynik + "/";
}

namespace {

// Runs a member's work with the lock held; what the work throws (memory running out) ends as the fallback.
template <class F, class R> R Bezpiecznie(Slownik::Dane& d, F&& f, R zapas)
{
    try {
        const std::lock_guard blokada(d.Zamek);
        d.WczytajWszystko();
        return f();
    } catch (...) {
        return zapas;
    }
}

} // namespace

Slownik::Slownik(std::string folder) : d_(std::make_unique<Dane>())
{
    d_->Folder = std::move(folder);
}

Slownik::~Slownik() = default;

bool Slownik::Wczytaj()
{
    return Bezpiecznie(
        *d_, [&] { return d_->AP.Gotowy() || d_->PA.Gotowy(); }, false);
}

bool Slownik::Czytany() const
{
    return d_->Czytany;
}

bool Slownik::Dostepny()
{
    return Wczytaj();
}

bool Slownik::AngielskoPolski()
{
    return Bezpiecznie(
        *d_, [&] { return d_->AP.Gotowy(); }, false);
}

bool Slownik::PolskoAngielski()
{
    return Bezpiecznie(
        *d_, [&] { return d_->PA.Gotowy(); }, false);
}

std::string Slownik::Komunikat()
{
    return Bezpiecznie(
        *d_, [&] { return d_->Komunikat; }, std::string(KomunikatBrakuSlownika));
}

std::string Slownik::NowyKomunikat()
{
    return Bezpiecznie(
        *d_,
        [&] {
            if (d_->Odebrany)
                return std::string();
            d_->Odebrany = true;
            return d_->Komunikat;
        },
        std::string());
}

Wynik Slownik::SzukajAngielskie(std::string_view slowo)
{
    return Bezpiecznie(
        *d_, [&] { return d_->Angielskie(d_->Rozwiaz(slowo), slowo, true, true); }, Wynik{});
}

Wynik Slownik::SzukajPolskie(std::string_view slowo)
{
    return Bezpiecznie(
        *d_, [&] { return d_->Polskie(slowo); }, Wynik{});
}

std::vector<Wynik> Slownik::Szukaj(std::string_view tekst)
{
    return Bezpiecznie(
        *d_,
        [&] {
            std::vector<Wynik> wyniki;
            if (!PolskieLitery(tekst)) {
                Wynik w = d_->Angielskie(d_->Rozwiaz(tekst), tekst, true, true);
                if (!w.Pusty())
                    wyniki.push_back(std::move(w));
            }
            Wynik p = d_->Polskie(tekst);
            if (!p.Pusty())
                wyniki.push_back(std::move(p));
            return wyniki;
        },
        std::vector<Wynik>{});
}

std::string Slownik::HasloAngielskie(std::string_view slowo)
{
    return Bezpiecznie(
        *d_, [&] { return d_->Rozwiaz(slowo); }, std::string());
}

std::string Slownik::Ipa(std::string_view angielskie)
{
    return Bezpiecznie(
        *d_, [&] { return d_->Ipa(angielskie); }, std::string());
}

SlowaTekstu Slownik::SlowaZTekstu(std::string_view tekst, const std::function<bool(const std::string&)>& znane)
{
    SlowaTekstu wynik;
    if (tekst.size() > NajwiekszyTekstDoSlow) {
        wynik.Blad = "Tekst jest za duży: można wczytać najwyżej 200 MB.";
        return wynik;
    }
    if (std::memchr(tekst.data(), '\0', tekst.size()) != nullptr) {
        wynik.Blad = "To nie jest plik tekstowy: zawiera bajty zerowe.";
        return wynik;
    }
    return Bezpiecznie(
        *d_,
        [&] {
            if (!d_->AP.Gotowy() && !d_->PA.Gotowy()) {
                wynik.Blad = d_->Komunikat;
                return wynik;
            }
            const WyrazyTekstu wyrazy = WyrazyZTekstu(tekst);
            wynik.WszystkichSlow = wyrazy.Wszystkich;
            struct Haslo {
                std::string Klucz;
                int Ile = 0;
                std::size_t Pierwsze = 0;
                std::uint64_t Od = 0;
                std::string Znaczenie;
            };
            std::vector<Haslo> hasla;
            std::unordered_map<std::string, std::size_t> gdzie;
            for (const WyrazTekstu& wyraz : wyrazy.Wyrazy) {
                std::string klucz = d_->Rozwiaz(wyraz.Slowo);
                if (klucz.empty()) {
                    wynik.BezHasla.push_back({wyraz.Slowo, {}, wyraz.Ile});
                    continue;
                }
                if (SlowoFunkcyjne(klucz))
                    continue;
                const auto [it, nowe] = gdzie.try_emplace(klucz, hasla.size());
                if (nowe)
                    hasla.push_back({std::move(klucz), 0, wyraz.Pierwsze, 0, {}});
                hasla[it->second].Ile += wyraz.Ile;
            }
            std::erase_if(hasla, [&](const Haslo& h) {
                const bool znaneSlowo = znane && znane(h.Klucz);
                wynik.Znanych += znaneSlowo;
                return znaneSlowo;
            });
            // Meanings in the text's order of entries, so each chunk of eng-pol is unpacked once for the whole list.
            for (Haslo& h : hasla)
                h.Od = d_->OdAP(h.Klucz);
            std::vector<Haslo*> wgTekstu;
            for (Haslo& h : hasla)
                wgTekstu.push_back(&h);
            std::stable_sort(wgTekstu.begin(), wgTekstu.end(),
                             [](const Haslo* a, const Haslo* b) { return a->Od < b->Od; });
            for (Haslo* h : wgTekstu)
                h->Znaczenie = d_->Angielskie(h->Klucz, h->Klucz, false, false).PierwszeZnaczenie();
            for (Haslo& h : hasla) {
                if (h.Znaczenie.empty())
                    wynik.BezHasla.push_back({h.Klucz, {}, h.Ile});
                else
                    wynik.Slowa.push_back({h.Klucz, std::move(h.Znaczenie), h.Ile});
            }
            const auto czestsze = [](const SlowoTekstu& a, const SlowoTekstu& b) { return a.Ile > b.Ile; };
            std::stable_sort(wynik.Slowa.begin(), wynik.Slowa.end(), czestsze);
            std::stable_sort(wynik.BezHasla.begin(), wynik.BezHasla.end(), czestsze);
            wynik.Ok = true;
            return wynik;
        },
        SlowaTekstu{false, "Za mało pamięci, by przeczytać ten tekst.", {}, {}, 0, 0});
}

std::size_t Slownik::Pamiec()
{
    return Bezpiecznie(
        *d_,
        [&] {
            return d_->AP.Ind.Pamiec() + d_->PA.Ind.Pamiec() + d_->AP.Tekst.Pamiec() + d_->PA.Tekst.Pamiec() +
                   d_->WpisyAP.Pamiec() + d_->WpisyPA.Pamiec() + d_->OdwrotAP.Pamiec() + d_->OdwrotPA.Pamiec();
        },
        std::size_t(0));
}

} // namespace vokara
