// Program entry: for now it lists the sets of the data folder in the current directory.
#include "dane.h"
#include "kodowanie.h"

#include <cstdio>

int main()
{
    vokara::Dane dane;
    dane.KatalogRoboczy = std::filesystem::current_path();
    const int wynik = vokara::WczytajListe(dane);
    std::printf("a_spis.txt: %d\n", wynik);
    for (const auto& z : dane.Zestawy)
        std::printf("%s (%s)\n", vokara::Cp1250NaUtf8(z.Nazwa).c_str(), vokara::Cp1250NaUtf8(z.Plik).c_str());
    return wynik == vokara::BrakListy ? 1 : 0;
}
