// libFuzzer target for everything in the dictionary that reads bytes from outside: the dictd index parser, the
// dictzip (and gzip, plain) text reader, both dictionaries' entry parsers and the reader of running texts. The first
// byte picks the reader, the rest is its input.
#include "dictd.h"
#include "hasla.h"
#include "odmiana.h"
#include "slowa.h"
#include "utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace vokara;
using namespace vokara::slownik;

namespace {

void Utf8(const std::string& s)
{
    if (PoprawneUtf8(s) != s)
        std::abort(); // everything handed out must be valid UTF-8
}

void Indeksu(std::string_view b)
{
    Indeks ind;
    std::string blad;
    if (!ind.Wczytaj(std::string(b), blad)) {
        if (blad.empty() || !ind.Pozycje().empty())
            std::abort();
        return;
    }
    for (const auto& p : ind.Pozycje()) {
        if (ind.Klucz(p).empty() || ind.Klucz(p).size() > NajdluzszyKlucz || p.Dlugosc == 0 ||
            p.Dlugosc > NajdluzszyWpis || std::uint64_t(p.Od) + p.Dlugosc > ind.Koniec())
            std::abort();
        (void)ind.Znajdz(ind.Klucz(p));
    }
}

void Tekstu(std::string_view b)
{
    TekstSlownika t;
    std::string blad;
    if (!t.Otworz(std::make_unique<ZrodloPamieci>(b), blad))
        return;
    if (t.Rozmiar() > NajwiekszyTekst)
        std::abort();
    // Ranges at the start, across the middle, at the end, and past it.
    const std::uint64_t r = t.Rozmiar();
    const std::pair<std::uint64_t, std::uint32_t> zakresy[] = {{0, 64}, {r / 2, 70000}, {r > 10 ? r - 10 : 0, 10},
                                                               {r, 1},  {r + 5, 5},     {0, NajdluzszyWpis + 1}};
    std::string wynik;
    std::string_view widok;
    std::string bufor;
    for (const auto& [od, dlugosc] : zakresy) {
        const bool ok = t.Czytaj(od, dlugosc, wynik, blad);
        if (ok && wynik.size() != dlugosc)
            std::abort();
        if (ok && (dlugosc > NajdluzszyWpis || od + dlugosc > r))
            std::abort();
        if (t.Widok(od, dlugosc, widok, bufor, blad) && (widok.size() != dlugosc || (ok && widok != wynik)))
            std::abort();
    }
    (void)t.SprawdzSume(blad);
}

void Hasel(std::string_view b)
{
    const WpisAngPol ap = ParsujAngPol(b);
    for (const auto& h : ap.Hasla)
        Utf8(h);
    Utf8(ap.Ipa);
    for (const auto& g : ap.Grupy) {
        for (const auto& z : g.Znaczenia) {
            Utf8(z.Tekst);
            Utf8(z.Dopisek);
            Utf8(z.Forma);
            if (z.Tekst.empty())
                std::abort();
        }
    }
    for (const auto& w : ap.Wyrazenia)
        Utf8(w.Haslo);
    std::vector<ZnaczenieAngPol> znaczenia;
    (void)ZnaczeniaAngPol(b, znaczenia);
    WpisPolAng pa;
    ParsujPolAng(b, pa);
    for (const auto& g : pa.Glosy) {
        if (g.Tekst.empty() || g.Pozycja >= g.Ile || g.Zmysl >= pa.Definicje.size())
            std::abort();
    }
    Utf8(CzystaDefinicja(b));
}

void Slow(std::string_view b)
{
    const WyrazyTekstu w = WyrazyZTekstu(b);
    for (const auto& x : w.Wyrazy) {
        if (x.Ile <= 0 || x.Slowo.empty())
            std::abort();
        Utf8(x.Slowo);
        for (const auto& f : FormyPodstawowe(KluczHasla(x.Slowo)))
            Utf8(f);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar)
{
    if (rozmiar == 0)
        return 0;
    const std::string_view b(reinterpret_cast<const char*>(dane) + 1, rozmiar - 1);
    switch (dane[0] % 4) {
    case 0:
        Indeksu(b);
        break;
    case 1:
        Tekstu(b);
        break;
    case 2:
        Hasel(b);
        break;
    default:
        Slow(b);
        break;
    }
    return 0;
}
