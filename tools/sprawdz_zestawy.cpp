// sprawdz_zestawy: checks the shipped word sets in a data folder for format faults and prints a summary per set.
//
// Usage: sprawdz_zestawy [--slownik FOLDER] DATA_FOLDER
// Exit status: 0 with no fault, 1 with faults (each printed with its file and line), 2 when the list cannot be read.
#include "dane.h"
#include "kodowanie.h"
#include "porownanie.h"
#include "slownik.h"
#include "utf8.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using namespace vokara;

namespace {

// A set offers enough to drill on every page, and not so much that one round never ends.
constexpr std::size_t NajmniejWpisow = 30;
constexpr std::size_t NajwiecejWpisow = 60;

// What a dictionary says about one entry.
enum class Potwierdzenie { NieSprawdzone, Potwierdzone, Niepotwierdzone };

// An entry counts as confirmed when its Polish text (or one of its comma-separated parts, a note in brackets left
// out) is among the English word's meanings, or its English among the Polish word's. Texts are compared in the forms
// of porownanie.h (case, punctuation, British spelling, the dictionary's "sb"/"coś" stand-ins), and a plural entry
// ("socks*skarpetki") also meets the plural of its singular's noun meanings.
class SlownikZestawow {
public:
    bool Otworz(const fs::path& folder, std::string& blad)
    {
        slownik_ = std::make_unique<vokara::Slownik>(folder.string());
        if (slownik_->Dostepny())
            return true;
        blad = slownik_->Komunikat();
        return false;
    }
    Potwierdzenie Potwierdz(const std::string& angielski, const std::string& polski) const
    {
        const std::vector<std::string> polskie = Czesci(Cp1250NaUtf8(polski));
        for (const std::string& a : Czesci(Cp1250NaUtf8(angielski))) {
            if (Potwierdzone(a, polskie))
                return Potwierdzenie::Potwierdzone;
            // A verb with the preposition it takes in both languages is the verb: "rely on*polegać na" is
            // "rely*polegać", "take part in*brać udział w" is "take part*brać udział".
            std::string czasownik;
            if (!zestawy::BezPrzyimka(a, false, czasownik))
                continue;
            std::vector<std::string> bezPrzyimka;
            for (const std::string& p : polskie) {
                std::string reszta;
                if (zestawy::BezPrzyimka(p, true, reszta))
                    bezPrzyimka.push_back(reszta);
            }
            if (!bezPrzyimka.empty() && Potwierdzone(czasownik, bezPrzyimka))
                return Potwierdzenie::Potwierdzone;
        }
        return Potwierdzenie::Niepotwierdzone;
    }

private:
    // One English text against the Polish parts: among the word's meanings, the meanings of the phrases listed under
    // each of its words, the plurals of its singular's nouns, or the Polish words' meanings.
    bool Potwierdzone(const std::string& a, const std::vector<std::string>& czesci) const
    {
        // Every Polish form worth looking for: the parts, and a reflexive verb without its "się".
        std::vector<std::string> polskie;
        for (const std::string& czesc : czesci) {
            polskie.push_back(czesc);
            if (czesc.ends_with(" się"))
                polskie.push_back(czesc.substr(0, czesc.size() - 4));
        }
        std::vector<std::string> porownawcze;
        for (const std::string& p : polskie)
            porownawcze.push_back(zestawy::PorownawczePolskie(p));
        const auto wsrodPolskich = [&](const std::string& tekst) {
            return std::find(porownawcze.begin(), porownawcze.end(), tekst) != porownawcze.end();
        };
        const std::string porownawczy = zestawy::PorownawczeAngielskie(a);
        const vokara::Wynik wynik = Szukaj(a);
        for (const std::string& z : wynik.Znaczenia()) {
            if (wsrodPolskich(zestawy::PorownawczePolskie(z)))
                return true;
        }
        // "pardon" is listed as "(I beg your) pardon?", "keep an eye on" as "keep an eye on sb" under "eye".
        for (const std::string& slowo : Slowa(a)) {
            for (const vokara::Wyrazenie& w : Szukaj(slowo).Wyrazenia) {
                if (!PasujeDoHasla(w.Haslo, porownawczy))
                    continue;
                for (const vokara::Znaczenie& z : w.Znaczenia) {
                    if (wsrodPolskich(zestawy::PorownawczePolskie(z.Tekst)))
                        return true;
                }
            }
        }
        if (a.find(' ') == std::string::npos && MnogaPotwierdzona(a, wynik, porownawcze))
            return true;
        for (const std::string& p : polskie) {
            for (const std::string& z : slownik_->SzukajPolskie(p).Znaczenia()) {
                if (PasujeDoHasla(z, porownawczy))
                    return true;
            }
        }
        return false;
    }

    // The English word's entry; a British spelling the dictionary lacks is looked up in its American form.
    vokara::Wynik Szukaj(const std::string& angielski) const
    {
        vokara::Wynik wynik = slownik_->SzukajAngielskie(angielski);
        if (!wynik.Pusty())
            return wynik;
        std::string amerykanski;
        for (const std::string& slowo : Slowa(vokara::slownik::Zlozone(angielski)))
            amerykanski += (amerykanski.empty() ? "" : " ") + zestawy::AmerykanskaPisownia(slowo);
        return amerykanski == vokara::slownik::Zlozone(angielski) ? wynik : slownik_->SzukajAngielskie(amerykanski);
    }

    // A dictionary text ("be/keep in touch (with sb)", "Uważaj!''") that stands for the entry's English.
    static bool PasujeDoHasla(const std::string& haslo, const std::string& porownawczy)
    {
        for (const std::string& forma : zestawy::Rozwiniecia(haslo)) {
            if (zestawy::PorownawczeAngielskie(forma) == porownawczy)
                return true;
        }
        return false;
    }

    // A plural-shaped English word ("socks", "children", "herbs", "clothes") whose Polish is the plural of one of the
    // noun meanings of its singular ("skarpetka", "dziecko", "zioło", "ubranie").
    bool MnogaPotwierdzona(const std::string& angielski, const vokara::Wynik& wynik,
                           const std::vector<std::string>& porownawcze) const
    {
        const std::string slowo = vokara::slownik::Zlozone(angielski);
        std::vector<vokara::Wynik> pojedyncze;
        // The word's own nouns when the dictionary folded a plural ("children" is "child") or lists a word that is
        // only plural ("clothes" is "ubranie").
        if (!wynik.Pusty() && (vokara::slownik::Zlozone(wynik.Haslo) != slowo || slowo.ends_with('s')))
            pojedyncze.push_back(wynik);
        for (const std::string& forma : zestawy::PojedynczeFormy(slowo)) {
            vokara::Wynik w = slownik_->SzukajAngielskie(forma);
            if (!w.Pusty() && vokara::slownik::Zlozone(w.Haslo) == forma)
                pojedyncze.push_back(std::move(w));
        }
        for (const vokara::Wynik& w : pojedyncze) {
            for (const vokara::Grupa& g : w.Grupy) {
                if (g.Rodzaj != vokara::Czesc::Rzeczownik)
                    continue;
                for (const vokara::Znaczenie& z : g.Znaczenia) {
                    for (const std::string& mnoga : zestawy::LiczbaMnoga(vokara::slownik::Zlozone(z.Tekst))) {
                        if (std::find(porownawcze.begin(), porownawcze.end(), mnoga) != porownawcze.end())
                            return true;
                    }
                }
            }
        }
        return false;
    }

    static std::vector<std::string> Slowa(const std::string& tekst)
    {
        std::vector<std::string> slowa;
        std::size_t poczatek = 0;
        while (poczatek < tekst.size()) {
            const std::size_t koniec = std::min(tekst.find(' ', poczatek), tekst.size());
            if (koniec > poczatek)
                slowa.push_back(tekst.substr(poczatek, koniec - poczatek));
            poczatek = koniec + 1;
        }
        return slowa;
    }

    // "ręka (dłoń)" is "ręka"; "dom, mieszkanie" is "dom" and "mieszkanie".
    static std::vector<std::string> Czesci(const std::string& tekst)
    {
        std::string bez;
        int nawias = 0;
        for (const char c : tekst) {
            nawias += c == '(' ? 1 : c == ')' && nawias > 0 ? -1 : 0;
            if (nawias == 0 && c != ')')
                bez += c;
        }
        std::vector<std::string> czesci;
        std::size_t poczatek = 0;
        while (poczatek <= bez.size()) {
            const std::size_t koniec = std::min(bez.find_first_of(",;/", poczatek), bez.size());
            std::string czesc = bez.substr(poczatek, koniec - poczatek);
            czesc.erase(0, czesc.find_first_not_of(' '));
            czesc.erase(czesc.find_last_not_of(' ') + 1);
            if (!czesc.empty())
                czesci.push_back(czesc);
            poczatek = koniec + 1;
        }
        return czesci;
    }

    std::unique_ptr<vokara::Slownik> slownik_;
};

std::string CzytajBajty(const fs::path& plik)
{
    std::ifstream wejscie(plik, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(wejscie)), std::istreambuf_iterator<char>());
}

// UTF-8 text padded with blanks to `szerokosc` characters, for the summary's columns.
std::string Wyrownaj(const std::string& utf8, std::size_t szerokosc)
{
    std::size_t znaki = 0;
    for (const char c : utf8)
        znaki += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return utf8 + std::string(znaki < szerokosc ? szerokosc - znaki : 0, ' ');
}

bool Kontynuacja(unsigned char b)
{
    return b >= 0x80 && b <= 0xBF;
}

// True when the bytes hold a well-formed UTF-8 sequence for a character beyond ASCII: a sign that a file was saved in
// UTF-8. Polish text in Windows-1250 practically never forms one (its letters would have to be followed by the
// right number of bytes 0x80-0xBF).
bool MaSekwencjeUtf8(std::string_view bajty)
{
    for (std::size_t i = 0; i < bajty.size(); ++i) {
        const auto b = static_cast<unsigned char>(bajty[i]);
        const std::size_t dalsze = (b >= 0xC2 && b <= 0xDF)   ? 1
                                   : (b >= 0xE0 && b <= 0xEF) ? 2
                                   : (b >= 0xF0 && b <= 0xF4) ? 3
                                                              : 0;
        if (dalsze == 0 || i + dalsze >= bajty.size())
            continue;
        bool pelna = true;
        for (std::size_t k = 1; pelna && k <= dalsze; ++k)
            pelna = Kontynuacja(static_cast<unsigned char>(bajty[i + k]));
        if (pelna)
            return true;
    }
    return false;
}

class Sprawdzenie {
public:
    explicit Sprawdzenie(Dane& dane) : dane_(dane) {}

    void Blad(const std::string& plikUtf8, std::size_t linia, const std::string& opis)
    {
        ++bledy_;
        if (linia > 0)
            std::printf("BŁĄD %s:%zu: %s\n", plikUtf8.c_str(), linia, opis.c_str());
        else
            std::printf("BŁĄD %s: %s\n", plikUtf8.c_str(), opis.c_str());
    }
    int Bledy() const { return bledy_; }

    // Faults every data line can have: over 100 bytes, no '*', UTF-8 bytes, a line end other than CR LF.
    void SprawdzLinie(const std::string& plikUtf8, const std::string& bajty)
    {
        std::size_t nr = 0;
        std::size_t poczatek = 0;
        while (poczatek < bajty.size()) {
            const auto koniec = bajty.find('\n', poczatek);
            ++nr;
            std::string linia =
                bajty.substr(poczatek, koniec == std::string::npos ? std::string::npos : koniec - poczatek);
            poczatek = koniec == std::string::npos ? bajty.size() : koniec + 1;
            if (koniec == std::string::npos || linia.empty() || linia.back() != '\r')
                Blad(plikUtf8, nr, "wiersz nie kończy się znakami CR LF");
            else
                linia.pop_back();
            if (linia.empty())
                continue;
            if (linia.size() > NajdluzszeZnaczenie)
                Blad(plikUtf8, nr, "wiersz ma " + std::to_string(linia.size()) + " bajtów (najwyżej 100)");
            if (linia.find('*') == std::string::npos)
                Blad(plikUtf8, nr, "brak znaku '*'");
            if (linia.find('\r') != std::string::npos)
                Blad(plikUtf8, nr, "samotny znak CR wewnątrz wiersza");
            if (MaSekwencjeUtf8(linia))
                Blad(plikUtf8, nr, "bajty w UTF-8 zamiast Windows-1250");
        }
    }

    // One set: its lines, its size, no English or Polish text twice; a summary line, and what the dictionary says.
    void SprawdzZestaw(int indeks, const SlownikZestawow* slownik)
    {
        const _zestaw zestaw = dane_.Zestawy[std::size_t(indeks)];
        const std::string plik = Cp1250NaUtf8(zestaw.Plik);
        const std::string bajty = CzytajBajty(dane_.SciezkaDanych(zestaw.Plik));
        const int przed = bledy_;
        SprawdzLinie(plik, bajty);
        Zestaw wczytany;
        if (!WczytajPlikZestawu(dane_, indeks, wczytany)) {
            Blad(plik, 0, "zestawu nie da się wczytać");
            return;
        }
        std::set<std::string> angielskie, polskie;
        std::size_t zwroty = 0, potwierdzone = 0, sprawdzone = 0;
        for (const _word& w : wczytany.Wyrazy) {
            const std::string wpis = Cp1250NaUtf8(w.Angielski + "*" + w.Polski);
            if (w.Angielski.empty() || w.Polski.empty())
                Blad(plik, 0, "pusta strona wpisu: " + wpis);
            if (!angielskie.insert(w.Angielski).second)
                Blad(plik, 0, "angielski tekst drugi raz: " + wpis);
            if (!polskie.insert(w.Polski).second)
                Blad(plik, 0, "polski tekst drugi raz: " + wpis);
            if (w.Angielski.find(' ') != std::string::npos)
                ++zwroty;
            if (slownik) {
                const Potwierdzenie p = slownik->Potwierdz(w.Angielski, w.Polski);
                if (p != Potwierdzenie::NieSprawdzone)
                    ++sprawdzone;
                if (p == Potwierdzenie::Potwierdzone)
                    ++potwierdzone;
                else if (p == Potwierdzenie::Niepotwierdzone)
                    niepotwierdzone_.push_back(plik + ": " + wpis);
            }
        }
        const std::size_t wpisy = wczytany.Wyrazy.size();
        if (wpisy < NajmniejWpisow || wpisy > NajwiecejWpisow)
            Blad(plik, 0, std::to_string(wpisy) + " wpisów (dozwolone 30-60)");
        if (zwroty == wpisy)
            Blad(plik, 0, "same zwroty: dyktando nie miałoby czego sprawdzać");
        wszystkie_ += wpisy;
        potwierdzoneWszystkie_ += potwierdzone;
        sprawdzoneWszystkie_ += sprawdzone;
        std::printf("%s %s %3zu wpisów, %2zu zwrotów", Wyrownaj(plik, 28).c_str(),
                    Wyrownaj(Cp1250NaUtf8(zestaw.Nazwa), 40).c_str(), wpisy, zwroty);
        if (sprawdzone > 0)
            std::printf(", potwierdzonych %zu", potwierdzone);
        std::printf("  %s\n", bledy_ == przed ? "OK" : "BŁĘDY");
    }

    void Podsumuj(bool zeSlownikiem) const
    {
        std::printf("Razem: %zu zestawów, %zu wpisów, błędów: %d\n", dane_.Zestawy.size(), wszystkie_, bledy_);
        if (!zeSlownikiem || sprawdzoneWszystkie_ == 0)
            return;
        std::printf("Potwierdzone w słowniku: %zu z %zu (%.1f%%)\n", potwierdzoneWszystkie_, wszystkie_,
                    100.0 * double(potwierdzoneWszystkie_) / double(wszystkie_));
        std::printf("Niepotwierdzone, do przeczytania:\n");
        for (const auto& n : niepotwierdzone_)
            std::printf("  %s\n", n.c_str());
    }

private:
    Dane& dane_;
    int bledy_ = 0;
    std::size_t wszystkie_ = 0, potwierdzoneWszystkie_ = 0, sprawdzoneWszystkie_ = 0;
    std::vector<std::string> niepotwierdzone_;
};

// A text file of the data folder that the program treats as a set of this list (not the list itself, nor the
// user's own list and sets).
bool JestPlikiemZestawu(const std::string& nazwa)
{
    return nazwa.ends_with(".txt") && nazwa != PlikListy && nazwa != PlikMoichZestawow && !nazwa.starts_with("moje_");
}

} // namespace

int main(int argc, char** argv)
{
    fs::path folder;
    fs::path folderSlownika;
    bool zleArgumenty = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--slownik" && i + 1 < argc)
            folderSlownika = argv[++i];
        else if (!arg.starts_with("--") && folder.empty())
            folder = arg;
        else
            zleArgumenty = true;
    }
    if (folder.empty() || zleArgumenty) {
        std::fprintf(stderr, "Użycie: sprawdz_zestawy [--slownik FOLDER] FOLDER_DANYCH\n");
        return 2;
    }
    // The readers take the working folder and read its `dane`, so the data folder must carry that name.
    fs::path folderDanych = fs::absolute(folder).lexically_normal();
    if (folderDanych.filename().empty())
        folderDanych = folderDanych.parent_path();
    Dane dane;
    dane.KatalogRoboczy = folderDanych.parent_path();
    if (folderDanych.filename() != "dane") {
        std::fprintf(stderr, "Folder danych musi się nazywać \"dane\": %s\n", folderDanych.string().c_str());
        return 2;
    }

    SlownikZestawow slownik;
    bool zeSlownikiem = false;
    if (!folderSlownika.empty()) {
        std::string blad;
        zeSlownikiem = slownik.Otworz(folderSlownika, blad);
        if (!zeSlownikiem)
            std::printf("Uwaga: %s; sprawdzam tylko format.\n", blad.c_str());
    }

    Sprawdzenie sprawdzenie(dane);
    const fs::path lista = folderDanych / PlikListy;
    std::vector<std::string> linie;
    if (!WczytajLinie(lista, linie, NajwiecejLiniiListy) || linie.empty() ||
        !Rozdziel(linie.front(), dane.WersjaDanych, dane.WersjaProgramu)) {
        std::fprintf(stderr, "Nie da się odczytać listy %s\n", lista.string().c_str());
        return 2;
    }
    sprawdzenie.SprawdzLinie(PlikListy, CzytajBajty(lista));
    // Every set the list names must be there: the readers leave a missing one out of the pickers without a word.
    std::set<std::string> nazwane;
    std::set<std::string> nazwy;
    std::string nazwa, plik;
    for (std::size_t i = 1; i < linie.size(); ++i) {
        if (!Rozdziel(linie[i], nazwa, plik))
            continue;
        const std::string plikUtf8 = Cp1250NaUtf8(plik);
        if (!nazwane.insert(plikUtf8).second)
            sprawdzenie.Blad(PlikListy, i + 1, "plik " + plikUtf8 + " nazwany drugi raz");
        if (!nazwy.insert(nazwa).second)
            sprawdzenie.Blad(PlikListy, i + 1, "nazwa " + Cp1250NaUtf8(nazwa) + " drugi raz");
        if (plik.empty() || !JestPlikiem(dane.SciezkaDanych(plik)))
            sprawdzenie.Blad(PlikListy, i + 1, "brak pliku zestawu " + plikUtf8);
    }
    std::error_code blad;
    for (const auto& wpis : fs::directory_iterator(folderDanych, blad)) {
        const std::string nazwaPliku = wpis.path().filename().string();
        if (wpis.is_regular_file() && JestPlikiemZestawu(nazwaPliku) && !nazwane.contains(nazwaPliku))
            sprawdzenie.Blad(nazwaPliku, 0, "plik zestawu, którego lista nie wymienia");
    }

    if (WczytajZestawy(dane, linie) != ListaGotowa) {
        std::fprintf(stderr, "Lista nie daje żadnego zestawu\n");
        return 2;
    }
    for (int i = 0; i < int(dane.Zestawy.size()); ++i)
        sprawdzenie.SprawdzZestaw(i, zeSlownikiem ? &slownik : nullptr);
    sprawdzenie.Podsumuj(zeSlownikiem);
    return sprawdzenie.Bledy() == 0 ? 0 : 1;
}
