// The data folder, its two file formats, the loaded records and the readers that fill them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vokara {

// One entry of a set. Texts are Windows-1250 bytes, exactly as in the file.
struct _word {
    std::string Polski;
    std::string Angielski;
    bool Zaliczony = false; // answered correctly in the current round
};

// One available set: the name shown in the pickers and the file name in the data folder.
struct _zestaw {
    std::string Nazwa;
    std::string Plik;
};
using _zestawy = std::vector<_zestaw>;

// What a set file holds: the captions above the given word and above the answers, and its entries in file order.
struct Zestaw {
    std::string NaglowekWyraz;
    std::string NaglowekOznacza;
    std::vector<_word> Wyrazy;
};

// Splits a line at its first '*'. The second field keeps at most this many bytes.
inline constexpr std::size_t NajdluzszeZnaczenie = 100;

// A line that is empty leaves both fields as they were and gives false; a line without '*' is all first field.
bool Rozdziel(const std::string& linia, std::string& pierwsze, std::string& drugie);

// Splits file bytes into lines: CR, LF and CR LF end a line, a final end adds no empty line, NUL ends the text.
// Stops after `najwiecejNiepustych` non-empty lines (with the empty ones between them).
std::vector<std::string> PodzielNaLinie(const std::string& bajty,
                                        std::size_t najwiecejNiepustych = static_cast<std::size_t>(-1));

// Results of WczytajListe.
enum WynikListy : int {
    ListaGotowa = 0,
    BrakListy = 1,
    ListaUszkodzona = 2,
    BrakZestawow = 3,
};

// Bounds of what a list may offer: a longer set name, and set lines beyond this many, are left out, so a hostile list
// cannot make start-up slow or the pickers huge.
inline constexpr std::size_t NajdluzszaNazwaZestawu = 200;
inline constexpr std::size_t NajwiecejZestawow = 10000;

// Name of the list file inside the data folder.
inline constexpr const char* PlikListy = "a_spis.txt";
// The user's own list, in the list format; its sets are named moje_<name>.txt and no data update writes either.
inline constexpr const char* PlikMoichZestawow = "a_moje.txt";

// What the list files put into memory: the sets on offer and the versions. The working folder is injected so tests
// can build a fresh state in a folder of their own; the program sets it to its current directory before each load.
// A set's entries are read by the round that drills it.
struct Dane {
    std::filesystem::path KatalogRoboczy; // the folder that holds `dane`
    _zestawy Zestawy;
    std::size_t ZestawyListy = 0; // how many of Zestawy come from the list file; the user's own sets follow them
    std::string WersjaDanych;
    std::string WersjaProgramu;

    std::filesystem::path FolderDanych() const { return KatalogRoboczy / "dane"; }
    // A file of the data folder named by data bytes (Windows-1250), as a UTF-8 path on disk.
    std::filesystem::path SciezkaDanych(const std::string& plikCp1250) const;
};

// No data file is larger than this: a bigger one is refused rather than read whole into memory.
inline constexpr std::uintmax_t NajwiekszyPlikDanych = 64u * 1024u * 1024u;

// Clears `lista` and fills it with the lines of a file (at most `najwiecejNiepustych` non-empty ones). False when
// the file cannot be read or is too large.
bool WczytajLinie(const std::filesystem::path& plik, std::vector<std::string>& lista,
                  std::size_t najwiecejNiepustych = static_cast<std::size_t>(-1));

// Non-empty lines of a list worth reading: the header and at most NajwiecejZestawow set lines.
inline constexpr std::size_t NajwiecejLiniiListy = NajwiecejZestawow + 1;

// True for an existing regular file (a folder at that path does not count).
bool JestPlikiem(const std::filesystem::path& sciezka);

// Reads the list file into Zestawy and the versions, then the user's own sets after it.
int WczytajListe(Dane& d);
// Appends the user's own sets to Zestawy, after those of the list file. A missing or damaged own list adds nothing.
void WczytajMoje(Dane& d);
// True for a file name the own list may name: moje_ followed by letters, digits and '_', then ".txt".
bool JestPlikiemMoim(const std::string& plik);
// The sets named by the lines of a list (the header line first), those whose file is there, into Zestawy.
int WczytajZestawy(Dane& d, const std::vector<std::string>& linie);
// The entries of a set file's lines (the header line first; empty lines between entries add nothing).
std::vector<_word> WczytajWyrazy(const std::vector<std::string>& linie);

// Reads set `index` as the file holds it, not shuffled; false (and `wynik` untouched) when it cannot be read.
bool WczytajPlikZestawu(const Dane& d, int index, Zestaw& wynik);

} // namespace vokara
