// libFuzzer target for everything that reads data files: the line splitter, the split rule, the codec and both
// file readers, fed with arbitrary bytes.
#include "dane.h"
#include "kodowanie.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path() / ("vokara-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(f / "dane");
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return f;
    }();
    return folder;
}

void Zapisz(const std::filesystem::path& plik, const std::string& bajty)
{
    std::ofstream out(plik, std::ios::binary | std::ios::trunc);
    out.write(bajty.data(), std::streamsize(bajty.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar)
{
    const std::string bajty(reinterpret_cast<const char*>(dane), rozmiar);
    for (const auto& linia : vokara::PodzielNaLinie(bajty)) {
        std::string pierwsze;
        std::string drugie;
        if (vokara::Rozdziel(linia, pierwsze, drugie) && drugie.size() > vokara::NajdluzszeZnaczenie)
            std::abort();
    }
    std::string cp;
    if (vokara::Utf8NaCp1250(bajty, cp) && vokara::Cp1250NaUtf8(cp) != bajty)
        std::abort(); // what converts must convert back
    (void)vokara::MaleLitery(bajty);

    vokara::Dane d;
    d.KatalogRoboczy = Folder();
    Zapisz(Folder() / "dane" / "a_spis.txt", bajty);
    Zapisz(Folder() / "dane" / "z.txt", bajty);
    const int wynik = vokara::WczytajListe(d);
    if (wynik < 0 || wynik > 3)
        std::abort();
    d.Zestawy = {{"Z", "z.txt"}};
    vokara::Zestaw z;
    if (vokara::WczytajPlikZestawu(d, 0, z)) {
        for (const auto& w : z.Wyrazy) {
            if (w.Polski.size() > vokara::NajdluzszeZnaczenie || w.Zaliczony)
                std::abort();
        }
    }
    return 0;
}
