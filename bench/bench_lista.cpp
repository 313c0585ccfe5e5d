// Benchmark of reading hostile lists: a 10 MB set name, and a 60 MB list of millions of sets; time, sets, peak memory.
#include "dane.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace vokara;

namespace {

void Zmierz(const char* co, Dane& d)
{
    const auto start = std::chrono::steady_clock::now();
    const int wynik = WczytajListe(d);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rusage zuzycie{};
    getrusage(RUSAGE_SELF, &zuzycie);
    std::printf("%-34s %9.1f ms  result %d  %6zu sets  peak %6.1f MB\n", co, ms, wynik, d.Zestawy.size(),
                double(zuzycie.ru_maxrss) / 1024.0);
}

} // namespace

int main()
{
    const auto katalog = std::filesystem::temp_directory_path() / "vokara-bench-lista";
    std::filesystem::remove_all(katalog);
    std::filesystem::create_directories(katalog / "dane");
    std::ofstream(katalog / "dane" / "a.txt", std::ios::binary) << "w*o\r\ndog*pies\r\n";
    Dane d;
    d.KatalogRoboczy = katalog;
    {
        std::ofstream lista(katalog / "dane" / PlikListy, std::ios::binary);
        lista << "02.12.2026*1.0\r\n" << std::string(10 * 1024 * 1024, 'N') << "*a.txt\r\nDobry*a.txt\r\n";
    }
    Zmierz("list with a 10 MB set name", d);
    {
        std::ofstream lista(katalog / "dane" / PlikListy, std::ios::binary);
        lista << "02.12.2026*1.0\r\n";
        std::size_t rozmiar = 0;
        for (long i = 0; rozmiar < 60u * 1000u * 1000u; ++i) {
            const std::string linia = "Zestaw " + std::to_string(i) + "*a.txt\r\n";
            lista << linia;
            rozmiar += linia.size();
        }
    }
    Zmierz("60 MB list (about 2.7 million sets)", d);
    std::filesystem::remove_all(katalog);
    return 0;
}
