// Readers of the list file and the set files.
#include "dane.h"

#include "kodowanie.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

namespace vokara {

bool Rozdziel(const std::string& linia, std::string& pierwsze, std::string& drugie)
{
    if (linia.empty())
        return false;
    const auto gwiazdka = linia.find('*');
    if (gwiazdka == std::string::npos) {
        pierwsze = linia;
        drugie.clear();
        return true;
    }
    pierwsze = linia.substr(0, gwiazdka);
    drugie = linia.substr(gwiazdka + 1, NajdluzszeZnaczenie);
    return true;
}

std::vector<std::string> PodzielNaLinie(const std::string& bajty, std::size_t najwiecejNiepustych)
{
    std::vector<std::string> linie;
    std::size_t niepuste = 0;
    const std::size_t koniec = std::min(bajty.find('\0'), bajty.size());
    std::size_t poczatek = 0;
    std::size_t i = 0;
    while (i < koniec) {
        const char c = bajty[i];
        if (c == '\r' || c == '\n') {
            if (i > poczatek && ++niepuste > najwiecejNiepustych)
                return linie;
            linie.emplace_back(bajty, poczatek, i - poczatek);
            if (c == '\r' && i + 1 < koniec && bajty[i + 1] == '\n')
                ++i;
            poczatek = i + 1;
        }
        ++i;
    }
    if (poczatek < koniec && niepuste < najwiecejNiepustych)
        linie.emplace_back(bajty, poczatek, koniec - poczatek);
    return linie;
}

std::filesystem::path Dane::SciezkaDanych(const std::string& plikCp1250) const
{
    // Joined as text, as the list's names always are: a name starting with '/' stays inside the data folder
    // instead of replacing it, as joining paths would.
    return std::filesystem::path(FolderDanych().string() + "/" + Cp1250NaUtf8(plikCp1250));
}

bool JestPlikiem(const std::filesystem::path& sciezka)
{
    std::error_code blad;
    return std::filesystem::is_regular_file(sciezka, blad);
}

bool WczytajLinie(const std::filesystem::path& plik, std::vector<std::string>& lista, std::size_t najwiecejNiepustych)
{
    lista.clear();
    std::error_code blad;
    const auto rozmiar = std::filesystem::file_size(plik, blad);
    if (blad || rozmiar > NajwiekszyPlikDanych)
        return false;
    std::ifstream wejscie(plik, std::ios::binary);
    if (!wejscie)
        return false;
    std::string bajty((std::istreambuf_iterator<char>(wejscie)), std::istreambuf_iterator<char>());
    if (wejscie.bad())
        return false;
    lista = PodzielNaLinie(bajty, najwiecejNiepustych);
    return true;
}

int WczytajListe(Dane& d)
{
    const auto sciezka = d.FolderDanych() / PlikListy;
    if (!JestPlikiem(sciezka))
        return BrakListy;
    std::vector<std::string> linie;
    try {
        if (!WczytajLinie(sciezka, linie, NajwiecejLiniiListy) || linie.empty())
            return ListaUszkodzona;
    } catch (const std::exception&) {
        return ListaUszkodzona;
    }
    // A header that does not split (an empty first line) means the list cannot be trusted.
    if (!Rozdziel(linie.front(), d.WersjaDanych, d.WersjaProgramu))
        return ListaUszkodzona;
    const int wynik = WczytajZestawy(d, linie);
    d.ZestawyListy = d.Zestawy.size();
    if (wynik == ListaGotowa)
        WczytajMoje(d);
    return wynik;
}

bool JestPlikiemMoim(const std::string& plik)
{
    // Only names the editor itself makes: nothing that could leave the data folder or name a shipped set.
    constexpr std::string_view poczatek = "moje_";
    constexpr std::string_view koniec = ".txt";
    if (plik.size() <= poczatek.size() + koniec.size() || plik.size() > 120 || !plik.starts_with(poczatek) ||
        !plik.ends_with(koniec))
        return false;
    for (std::size_t i = poczatek.size(); i < plik.size() - koniec.size(); ++i) {
        const char c = plik[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    }
    return true;
}

void WczytajMoje(Dane& d)
{
    d.Zestawy.resize(std::min(d.Zestawy.size(), d.ZestawyListy));
    d.ZestawyListy = d.Zestawy.size();
    const auto sciezka = d.FolderDanych() / PlikMoichZestawow;
    if (!JestPlikiem(sciezka))
        return;
    try {
        // The own list is held to the list file's bounds: no more sets, no longer names.
        std::vector<std::string> linie;
        if (!WczytajLinie(sciezka, linie, NajwiecejLiniiListy))
            return;
        std::string nazwa;
        std::string plik;
        for (std::size_t i = 1; i < linie.size(); ++i) {
            if (!Rozdziel(linie[i], nazwa, plik) || nazwa.size() > NajdluzszaNazwaZestawu || !JestPlikiemMoim(plik) ||
                !JestPlikiem(d.SciezkaDanych(plik)))
                continue;
            // A file named twice is listed once, where it first appears.
            const auto wlasne = d.Zestawy.begin() + std::ptrdiff_t(d.ZestawyListy);
            if (std::none_of(wlasne, d.Zestawy.end(), [&plik](const _zestaw& z) { return z.Plik == plik; }))
                d.Zestawy.push_back({nazwa, plik});
        }
    } catch (const std::exception&) {
        // A damaged own list only means fewer own sets; what was read so far stays.
    }
}

int WczytajZestawy(Dane& d, const std::vector<std::string>& linie)
{
    d.Zestawy.clear();
    bool przerwane = false;
    try {
        std::string nazwa;
        std::string plik;
        std::size_t zestawy = 0;
        for (std::size_t i = 1; i < linie.size() && zestawy < NajwiecejZestawow; ++i) {
            if (!Rozdziel(linie[i], nazwa, plik))
                continue; // an empty line names no set
            ++zestawy;
            if (nazwa.size() > NajdluzszaNazwaZestawu)
                continue;
            // An empty file name would name the data folder itself, which is no set file.
            if (!plik.empty() && JestPlikiem(d.SciezkaDanych(plik)))
                d.Zestawy.push_back({nazwa, plik});
        }
    } catch (const std::exception&) {
        przerwane = true;
    }
    if (d.Zestawy.empty())
        return BrakZestawow;
    return przerwane ? ListaUszkodzona : ListaGotowa;
}

std::vector<_word> WczytajWyrazy(const std::vector<std::string>& linie)
{
    std::vector<_word> wyrazy;
    wyrazy.reserve(linie.empty() ? 0 : linie.size() - 1);
    std::string angielski;
    std::string polski;
    for (std::size_t i = 1; i < linie.size(); ++i) {
        if (!Rozdziel(linie[i], angielski, polski))
            continue; // empty lines between entries add nothing
        wyrazy.push_back({polski, angielski, false});
    }
    return wyrazy;
}

bool WczytajPlikZestawu(const Dane& d, int index, Zestaw& wynik)
{
    if (index < 0 || static_cast<std::size_t>(index) >= d.Zestawy.size())
        return false;
    const auto sciezka = d.SciezkaDanych(d.Zestawy[static_cast<std::size_t>(index)].Plik);
    if (!JestPlikiem(sciezka))
        return false;
    try {
        std::vector<std::string> linie;
        if (!WczytajLinie(sciezka, linie) || linie.empty())
            return false;
        // Without its header line a set file is not trusted.
        Zestaw zestaw;
        if (!Rozdziel(linie.front(), zestaw.NaglowekWyraz, zestaw.NaglowekOznacza))
            return false;
        zestaw.Wyrazy = WczytajWyrazy(linie);
        wynik = std::move(zestaw);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace vokara
