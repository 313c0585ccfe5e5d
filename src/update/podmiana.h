// Crash-safe replacement of data files from a staging folder, with a journal that start-up recovery reads.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vokara {

// Points of a replacement a test can stop at (each is reached after the step it names).
enum KrokPodmiany : int {
    PoKopiach = 0,       // every file to be replaced has a backup link in the staging folder
    PoDzienniku = 1,     // the journal is on disk; nothing in the data folder has changed yet
    PoPrzeniesieniu = 2, // one more new file has replaced its old one (reached once per file)
    PoZatwierdzeniu = 3, // the journal is gone: the data folder is new for good
};

// Called at each point with the step and, for PoPrzeniesieniu, how many files are in place.
using PunktKontrolny = std::function<void(int krok, std::size_t gotowe)>;

// Moves `pliki` (names on disk, UTF-8) from `nowe` into `folderDanych`, each with one atomic rename over its old file.
// Backups are hard links (or copies) made in `stare` beforehand, and the journal `dziennik` lists what was there
// before the first rename. A failure undoes the renames done so far. True when the data folder holds every new file.
bool Podmien(const std::vector<std::string>& pliki, const std::filesystem::path& nowe,
             const std::filesystem::path& stare, const std::filesystem::path& dziennik,
             const std::filesystem::path& folderDanych, const PunktKontrolny& punkt = {});

// Rolls back a replacement whose journal is still in the staging folder, so the data folder is wholly as before,
// then removes the staging entry, whatever it is (a folder, a file, a link). False only when something could not be
// removed or restored.
bool NaprawPrzerwanaPodmiane(const std::filesystem::path& posredni, const std::filesystem::path& folderDanych);

// The journal's and the two subfolders' names inside a staging folder.
inline constexpr const char* PlikDziennika = "dziennik";
inline constexpr const char* FolderNowych = "nowe";
inline constexpr const char* FolderStarych = "stare";

} // namespace vokara
