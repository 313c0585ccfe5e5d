// The all-or-nothing move of new data files into the data folder, its journal, and the roll-back after a crash.
#include "podmiana.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <system_error>

namespace vokara {

namespace fs = std::filesystem;

namespace {

constexpr const char* NaglowekDziennika = "vokara-podmiana 1";
constexpr const char* KoniecDziennika = "koniec";

// Pushes a folder's entries (a rename, a new file) to the disk, so a power cut cannot reorder them.
void Utrwal(const fs::path& sciezka, bool folder)
{
    const int fd = ::open(sciezka.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

struct Wpis {
    std::string plik;
    bool byl = false; // an older file stood in the data folder, and its backup is in the staging folder
};

// Written beside the journal and renamed over it, so a journal on disk is always whole.
bool ZapiszDziennik(const fs::path& dziennik, const std::vector<Wpis>& wpisy)
{
    std::ostringstream tekst;
    tekst << NaglowekDziennika << '\n';
    for (const auto& w : wpisy)
        tekst << (w.byl ? '1' : '0') << ' ' << w.plik << '\n';
    tekst << KoniecDziennika << '\n';
    const std::string bajty = tekst.str();
    const fs::path tymczasowy = dziennik.string() + ".nowy";
    const int fd = ::open(tymczasowy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::size_t zapisane = 0;
    while (zapisane < bajty.size()) {
        const ssize_t n = ::write(fd, bajty.data() + zapisane, bajty.size() - zapisane);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        zapisane += std::size_t(n);
    }
    const bool trwaly = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !trwaly)
        return false;
    std::error_code blad;
    fs::rename(tymczasowy, dziennik, blad);
    if (blad)
        return false;
    Utrwal(dziennik.parent_path(), true);
    return true;
}

// A journal that is missing, or not whole, names no replacement: nothing in the data folder was touched.
bool CzytajDziennik(const fs::path& dziennik, std::vector<Wpis>& wpisy)
{
    std::ifstream wejscie(dziennik, std::ios::binary);
    std::string linia;
    if (!wejscie || !std::getline(wejscie, linia) || linia != NaglowekDziennika)
        return false;
    while (std::getline(wejscie, linia)) {
        if (linia == KoniecDziennika)
            return true;
        if (linia.size() < 3 || (linia[0] != '0' && linia[0] != '1') || linia[1] != ' ')
            return false;
        wpisy.push_back({linia.substr(2), linia[0] == '1'});
    }
    return false;
}

// Puts back what the journal says stood there before: the backup where there was one, nothing where there was none.
// Each step can be repeated, so a crash during the roll-back is mended by the next one.
bool Wycofaj(const std::vector<Wpis>& wpisy, const fs::path& stare, const fs::path& folderDanych)
{
    bool ok = true;
    std::error_code blad;
    for (auto it = wpisy.rbegin(); it != wpisy.rend(); ++it) {
        const fs::path cel = folderDanych / it->plik;
        if (it->byl) {
            const fs::path kopia = stare / it->plik;
            if (fs::exists(fs::symlink_status(kopia, blad))) {
                fs::rename(kopia, cel, blad);
                ok = ok && !blad;
            }
        } else {
            fs::remove(cel, blad);
            ok = ok && !blad;
        }
    }
    Utrwal(folderDanych, true);
    return ok;
}

} // namespace

bool Podmien(const std::vector<std::string>& pliki, const fs::path& nowe, const fs::path& stare,
             const fs::path& dziennik, const fs::path& folderDanych, const PunktKontrolny& punkt)
{
    const auto krok = [&punkt](int k, std::size_t gotowe) {
        if (punkt)
            punkt(k, gotowe);
    };
    std::error_code blad;
    fs::create_directories(stare, blad);
    if (blad)
        return false;
    std::vector<Wpis> wpisy;
    for (const auto& plik : pliki) {
        const fs::path cel = folderDanych / plik;
        const auto stan = fs::symlink_status(cel, blad);
        // A folder is never replaced by a file.
        if (fs::is_directory(stan))
            return false;
        const bool byl = fs::exists(stan);
        if (byl) {
            // A second name for the old file costs no space; where links are not allowed, a copy does the same.
            fs::create_hard_link(cel, stare / plik, blad);
            if (blad) {
                fs::copy_file(cel, stare / plik, fs::copy_options::overwrite_existing, blad);
                if (blad)
                    return false;
                Utrwal(stare / plik, false);
            }
        }
        wpisy.push_back({plik, byl});
    }
    Utrwal(stare, true);
    krok(PoKopiach, 0);
    if (!ZapiszDziennik(dziennik, wpisy))
        return false;
    krok(PoDzienniku, 0);

    // Set files first, the list last, in the order given: a list never names a set whose new file is not yet there.
    for (std::size_t i = 0; i < wpisy.size(); ++i) {
        fs::rename(nowe / wpisy[i].plik, folderDanych / wpisy[i].plik, blad);
        if (blad) {
            const std::vector<Wpis> zrobione(wpisy.begin(), wpisy.begin() + std::ptrdiff_t(i));
            // The journal stays when the roll-back is not whole: the next start finishes it.
            if (Wycofaj(zrobione, stare, folderDanych))
                fs::remove(dziennik, blad);
            return false;
        }
        krok(PoPrzeniesieniu, i + 1);
    }
    Utrwal(folderDanych, true);
    // Removing the journal is the moment the new data counts: after it, start-up keeps the folder as it is.
    fs::remove(dziennik, blad);
    if (blad) {
        if (Wycofaj(wpisy, stare, folderDanych))
            fs::remove(dziennik, blad);
        return false;
    }
    Utrwal(dziennik.parent_path(), true);
    krok(PoZatwierdzeniu, wpisy.size());
    return true;
}

bool NaprawPrzerwanaPodmiane(const fs::path& posredni, const fs::path& folderDanych)
{
    std::error_code blad;
    const auto stan = fs::symlink_status(posredni, blad);
    if (!fs::exists(stan))
        return true;
    if (fs::is_directory(stan)) {
        const fs::path dziennik = posredni / PlikDziennika;
        std::vector<Wpis> wpisy;
        if (CzytajDziennik(dziennik, wpisy)) {
            if (!Wycofaj(wpisy, posredni / FolderStarych, folderDanych))
                return false; // the staging folder keeps the backups for the next try
            fs::remove(dziennik, blad);
            if (blad)
                return false;
        }
    }
    fs::remove_all(posredni, blad);
    return !blad;
}

} // namespace vokara
