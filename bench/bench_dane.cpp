// Benchmark of the data readers and the round engine on large sets: load and shuffle, whole rounds, peak memory.
#include "dane.h"
#include "runda.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>

using namespace vokara;
using Zegar = std::chrono::steady_clock;

namespace {

double Ms(const std::function<void()>& praca)
{
    const auto start = Zegar::now();
    praca();
    return std::chrono::duration<double, std::milli>(Zegar::now() - start).count();
}

void Zapisz(const std::filesystem::path& plik, int wpisy)
{
    std::ofstream out(plik, std::ios::binary);
    out << "S\xb3owo*oznacza\r\n";
    for (int i = 0; i < wpisy; ++i)
        out << "word" << i << "*s\xb3owo" << i << "\r\n";
}

} // namespace

int main()
{
    const auto katalog = std::filesystem::temp_directory_path() / "vokara-bench-dane";
    std::filesystem::remove_all(katalog);
    std::filesystem::create_directories(katalog / "dane");
    std::printf("%-10s %14s %16s %16s\n", "entries", "load+shuffle", "typing round", "choice round");
    for (int wpisy : {10000, 100000}) {
        Zapisz(katalog / "dane" / "duzy.txt", wpisy);
        Dane dane;
        dane.KatalogRoboczy = katalog;
        dane.Zestawy = {{"Duzy", "duzy.txt"}};
        Losowanie los;
        Runda runda(los);
        bool ok = false;
        const double wczytanie = Ms([&] { ok = runda.WczytajZestaw(dane, 0); });
        if (!ok || int(runda.Wyrazy().size()) != wpisy)
            return 1;

        // Typing round: every answer right, the search goes on from where it stands.
        runda.Biezacy = -1;
        const double wpis = Ms([&] {
            while (runda.NastepnyWyraz() >= 0) {
                if (runda.PoprawnaOdpowiedz(AngielskiPolski) == runda.BiezacyWyraz().Polski)
                    runda.BiezacyWyraz().Zaliczony = true;
                runda.Pochwala();
            }
        });

        // Choice round: each question is the lowest unanswered entry after the first; the set is loaded afresh.
        if (!runda.WczytajZestaw(dane, 0))
            return 1;
        const double wybor = Ms([&] {
            while (runda.NastepnyOdPoczatku() >= 0) {
                runda.LosujInne();
                runda.UlozOpcje(AngielskiPolski);
                runda.BiezacyWyraz().Zaliczony = true;
                runda.Pochwala();
            }
        });
        std::printf("%-10d %11.2f ms %13.2f ms %13.2f ms\n", wpisy, wczytanie, wpis, wybor);
    }
    rusage zuzycie{};
    getrusage(RUSAGE_SELF, &zuzycie);
    std::printf("peak memory: %.1f MiB\n", double(zuzycie.ru_maxrss) / 1024.0);
    std::filesystem::remove_all(katalog);
    return 0;
}
