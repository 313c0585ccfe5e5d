// Benchmark of the built-in dictionary on the installed FreeDict files: the first look-up (both indexes read, the
// reverse ones built), single look-ups, a 100,000-word text turned into its word list, and the memory it all holds.
#include "dictd.h"
#include "slownik.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace vokara;
using Zegar = std::chrono::steady_clock;

namespace {

double Ms(Zegar::time_point od)
{
    return std::chrono::duration<double, std::milli>(Zegar::now() - od).count();
}

double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double RssMiB()
{
    std::ifstream statm("/proc/self/statm");
    long rozmiar = 0;
    long rezydentne = 0;
    statm >> rozmiar >> rezydentne;
    return double(rezydentne) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Percentyl(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

struct Los {
    std::uint64_t s = 88172645463325252ull;
    std::uint64_t operator()()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
};

std::vector<std::string> Klucze(const std::string& plik)
{
    std::string bajty;
    std::string blad;
    slownik::Indeks ind;
    if (!slownik::WczytajPlik(plik, slownik::NajwiekszyIndeks, bajty, blad) || !ind.Wczytaj(bajty, blad))
        return {};
    std::vector<std::string> wynik;
    for (const auto& p : ind.Pozycje())
        wynik.emplace_back(ind.Klucz(p));
    return wynik;
}

// A text of `slow` words with Zipf-like frequencies: headwords of eng-pol, some inflected, among function words,
// names inside sentences and numbers, in sentences of 4 to 20 words.
std::string Tekst(const std::vector<std::string>& hasla, int slow)
{
    static const char* funkcyjne[] = {"the", "a",   "of",   "and", "to", "in", "is",  "was",  "it",  "that",
                                      "he",  "she", "with", "for", "on", "at", "but", "they", "not", "you"};
    static const char* imiona[] = {"John", "Mary", "London", "Smith", "Oxford"};
    std::vector<std::string> slownictwo;
    for (const auto& h : hasla) {
        if (h.find(' ') == std::string::npos && h.size() > 2 && slownictwo.size() < 8000)
            slownictwo.push_back(h);
    }
    Los los;
    std::string t;
    int wZdaniu = 0;
    int dlugoscZdania = 8;
    for (int i = 0; i < slow; ++i) {
        std::string w;
        const std::uint64_t r = los() % 100;
        if (r < 45) {
            w = funkcyjne[los() % 20];
        } else if (r < 47) {
            w = imiona[los() % 5];
        } else if (r < 48) {
            w = std::to_string(los() % 1000);
        } else {
            // Zipf: the k-th word about 1/k as often.
            const double u = double(los() % 1000000) / 1000000.0;
            const auto k = std::size_t(std::pow(double(slownictwo.size()), u)) - 1;
            w = slownictwo[std::min(k, slownictwo.size() - 1)];
            const std::uint64_t f = los() % 10;
            if (f == 0)
                w += "s";
            else if (f == 1)
                w += "ed";
            else if (f == 2)
                w += "ing";
        }
        if (wZdaniu == 0 && !w.empty())
            w[0] = char(std::toupper(static_cast<unsigned char>(w[0])));
        t += w;
        if (++wZdaniu >= dlugoscZdania) {
            t += ". ";
            wZdaniu = 0;
            dlugoscZdania = 4 + int(los() % 17);
        } else {
            t += ' ';
        }
    }
    return t;
}

} // namespace

int main()
{
    const std::string folder = FolderSlownikow();
    const double rss0 = RssMiB();
    Slownik s(folder);
    double cpu = CpuMs();
    auto start = Zegar::now();
    const Wynik umbrella = s.SzukajAngielskie("umbrella");
    const double pierwsze = Ms(start);
    const double pierwszeCpu = CpuMs() - cpu;
    if (umbrella.Pusty()) {
        std::printf("the dictionaries are not installed in %s: %s\n", folder.c_str(), s.Komunikat().c_str());
        return 1;
    }
    std::printf("first look-up (\"umbrella\": both indexes read, the reverse ones built, each text checked whole):\n"
                "  %.1f ms wall, %.1f ms CPU (both threads)\n",
                pierwsze, pierwszeCpu);
    start = Zegar::now();
    const Wynik knife = s.SzukajAngielskie("knife");
    std::printf("first look-up needing espeak-ng (\"knife\" %s, espeak-ng started): %.1f ms\n", knife.Ipa.c_str(),
                Ms(start));
    const double rss1 = RssMiB();

    // The same again on fresh objects (the files in the page cache, espeak-ng already started).
    std::vector<double> ponowne;
    std::vector<double> ponowneCpu;
    for (int i = 0; i < 9; ++i) {
        Slownik nowy(folder);
        cpu = CpuMs();
        start = Zegar::now();
        if (nowy.SzukajAngielskie("umbrella").Pusty())
            return 1;
        ponowne.push_back(Ms(start));
        ponowneCpu.push_back(CpuMs() - cpu);
    }
    std::printf(
        "first look-up again on a fresh object, 9 runs: median %.1f ms wall (fastest %.1f), median %.1f ms CPU\n",
        Mediana(ponowne), *std::min_element(ponowne.begin(), ponowne.end()), Mediana(ponowneCpu));
    std::printf("memory with both loaded: +%.1f MiB RSS (%.1f MiB held by the indexes and caches)\n", rss1 - rss0,
                double(s.Pamiec()) / (1024.0 * 1024.0));

    // Single look-ups: headwords of both dictionaries at random, inflected forms, words neither has.
    const auto angielskie = Klucze(folder + "/freedict-eng-pol.index");
    const auto polskie = Klucze(folder + "/freedict-pol-eng.index");
    Los los;
    std::vector<std::string> slowa;
    for (int i = 0; i < 1500 && !angielskie.empty(); ++i) {
        std::string w = angielskie[los() % angielskie.size()];
        if (i % 5 == 0)
            w += "s";
        slowa.push_back(w);
    }
    for (const char* w : {"knife", "night", "went", "children", "running", "qwzxv", "set up", "good morning"})
        slowa.emplace_back(w);
    std::vector<double> czasy;
    for (const auto& w : slowa) {
        start = Zegar::now();
        (void)s.SzukajAngielskie(w);
        czasy.push_back(Ms(start));
    }
    std::printf("English look-up (with IPA), %zu words: median %.3f ms, 90th percentile %.3f ms, slowest %.2f ms\n",
                czasy.size(), Mediana(czasy), Percentyl(czasy, 0.9), *std::max_element(czasy.begin(), czasy.end()));
    czasy.clear();
    for (int i = 0; i < 1000 && !polskie.empty(); ++i) {
        const std::string& w = polskie[los() % polskie.size()];
        start = Zegar::now();
        (void)s.SzukajPolskie(w);
        czasy.push_back(Ms(start));
    }
    std::printf("Polish look-up, %zu words: median %.3f ms, 90th percentile %.3f ms, slowest %.2f ms\n", czasy.size(),
                Mediana(czasy), Percentyl(czasy, 0.9), *std::max_element(czasy.begin(), czasy.end()));

    const std::string tekst = Tekst(angielskie, 100000);
    std::vector<double> tekstCzasy;
    SlowaTekstu lista;
    for (int i = 0; i < 5; ++i) {
        start = Zegar::now();
        lista = s.SlowaZTekstu(tekst);
        tekstCzasy.push_back(Ms(start));
    }
    std::printf("100,000-word text (%.0f kB) to its word list, 5 runs: median %.1f ms, fastest %.1f ms\n"
                "  %zu words read, %zu headwords with a meaning, %zu without an entry\n",
                double(tekst.size()) / 1000.0, Mediana(tekstCzasy),
                *std::min_element(tekstCzasy.begin(), tekstCzasy.end()), lista.WszystkichSlow, lista.Slowa.size(),
                lista.BezHasla.size());
    std::printf("peak RSS %.1f MiB\n", RssMiB());
    return 0;
}
