// Update outcomes, version advice, the temporary list and the staged, all-or-nothing replacement of the data files.
#include "aktualizacja.h"

#include "fwarning.h"
#include "kodowanie.h"
#include "siec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

const QString Aktualizacja::FolderPosredni = QStringLiteral(".aktualizacja");

namespace {

QString Utf8(const std::string& cp1250)
{
    return QString::fromStdString(vokara::Cp1250NaUtf8(cp1250));
}

// A file name from the downloaded list names one file inside the data folder and nothing else: not a path, not the
// staging folder, not a folder already there (such as the recording cache).
bool ZwyklaNazwaPliku(const std::string& plik, const QString& folderDanych)
{
    if (plik.empty() || plik == "." || plik == ".." || Utf8(plik) == Aktualizacja::FolderPosredni)
        return false;
    for (unsigned char c : plik) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)
            return false;
    }
    return !QFileInfo(folderDanych + QLatin1Char('/') + Utf8(plik)).isDir();
}

} // namespace

bool Aktualizacja::PrzeniesWszystkie(const std::vector<std::string>& pliki, const QString& posredni,
                                     const QString& folderDanych)
{
    namespace fs = std::filesystem;
    const auto sciezka = [](const QString& folder, const std::string& plik) {
        return fs::path((folder + QLatin1Char('/') + Utf8(plik)).toStdString());
    };
    const QString kopie = posredni + QStringLiteral("/.poprzednie");
    if (!QDir().mkpath(kopie))
        return false;
    std::vector<std::pair<std::string, bool>> przeniesione; // name, whether an older file was kept aside
    std::error_code blad;
    std::error_code pytanie; // look-ups of what is there; their own failures are answers, not errors
    for (const auto& plik : pliki) {
        const bool byl = fs::exists(sciezka(folderDanych, plik), pytanie);
        // A folder is never set aside for a file: that would take the folder away with the staging area.
        if (fs::is_directory(sciezka(folderDanych, plik), pytanie))
            blad = std::make_error_code(std::errc::is_a_directory);
        else if (byl)
            fs::rename(sciezka(folderDanych, plik), sciezka(kopie, plik), blad);
        if (!blad)
            fs::rename(sciezka(posredni, plik), sciezka(folderDanych, plik), blad);
        if (blad) {
            if (byl && fs::exists(sciezka(kopie, plik), pytanie))
                fs::rename(sciezka(kopie, plik), sciezka(folderDanych, plik), blad);
            for (auto it = przeniesione.rbegin(); it != przeniesione.rend(); ++it) {
                fs::remove(sciezka(folderDanych, it->first), blad);
                if (it->second)
                    fs::rename(sciezka(kopie, it->first), sciezka(folderDanych, it->first), blad);
            }
            return false;
        }
        przeniesione.emplace_back(plik, byl);
    }
    return true;
}

namespace {

// The progress window of a running update; it has no cancel button and closes before the outcome's notice.
class Postep {
public:
    Postep(QWidget* okno, int pliki) : okno_(okno, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        okno_.setWindowTitle(QStringLiteral("Vokara"));
        okno_.setObjectName(QStringLiteral("FPostep"));
        okno_.setCancelButton(nullptr);
        okno_.setWindowModality(Qt::ApplicationModal);
        okno_.setRange(0, pliki);
        okno_.setMinimumDuration(0);
        okno_.setMinimumWidth(360);
        okno_.setAutoClose(false);
        okno_.setAutoReset(false);
    }

    void Plik(int numer, int wszystkie, const QString& nazwa)
    {
        okno_.setLabelText(QStringLiteral("Pobieranie danych: plik %1 z %2\n%3").arg(numer).arg(wszystkie).arg(nazwa));
        okno_.setValue(numer - 1);
        if (!okno_.isVisible())
            okno_.show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QProgressDialog okno_;
};

} // namespace

Aktualizacja::Aktualizacja(Siec& siec, TFWarning& warning, vokara::Dane& dane, std::function<void()> zaladujDane,
                           QString adresDomowy, QWidget* okno)
    : siec_(siec), warning_(warning), dane_(dane), zaladujDane_(std::move(zaladujDane)),
      adresDomowy_(std::move(adresDomowy)), okno_(okno)
{
}

QString Aktualizacja::AdresPliku(const std::string& plik) const
{
    return adresDomowy_ + QStringLiteral("/vokara/dane/") + QString::fromLatin1(QUrl::toPercentEncoding(Utf8(plik)));
}

void Aktualizacja::Powiadom(const char* pierwsza, const char* druga)
{
    warning_.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                       QString::fromUtf8(pierwsza) + QLatin1Char('\r') + QString::fromUtf8(druga));
}

void Aktualizacja::Aktualizuj()
{
    // A staging folder left behind by a crash goes first, whatever this update's outcome.
    QDir(QDir::current().filePath(QStringLiteral("dane/") + FolderPosredni)).removeRecursively();
    const QString tymczasowa = QDir::current().filePath(QString::fromLatin1(vokara::PlikListy));
    const QUrl adresListy = QUrl::fromEncoded(AdresPliku(vokara::PlikListy).toLatin1());
    if (!siec_.Pobierz(adresListy, tymczasowa)) {
        Powiadom("Wystąpił problem z aktualizacją.", "Brak dostępu do strony z danymi.");
        return;
    }
    std::string d;
    std::string p;
    // A list without any line, or with an empty first line, cannot be trusted; the downloaded file stays for a look.
    if (!vokara::WczytajLinie(tymczasowa.toStdString(), dane_.Lista) || dane_.Lista.empty() ||
        !vokara::Rozdziel(dane_.Lista.front(), d, p)) {
        Powiadom("Pobrany plik listy jest uszkodzony.", "Zgłoś problem autorowi programu.");
        return;
    }
    // Versions are compared as whole texts: an older data version counts as different too.
    const bool tenSamProgram = p == dane_.WersjaProgramu;
    const char* radaProgramu = tenSamProgram ? "Życzymy owocnej pracy z programem."
                                             : "Pobierz samodzielnie nową wersję programu ze strony domowej.";
    if (d == dane_.WersjaDanych) {
        Powiadom("Dane są aktualne.", radaProgramu);
    } else if (PobierzZestawy()) {
        Powiadom("Dane zostały uaktualnione.", radaProgramu);
        zaladujDane_();
    } else {
        Powiadom("Wystąpiły problemy z uaktualnieniem danych.",
                 tenSamProgram ? "Pobierz ponownie program ze strony domowej."
                               : "Pobierz samodzielnie nową wersję programu ze strony domowej.");
    }
    QFile::remove(tymczasowa);
}

bool Aktualizacja::PobierzZestawy()
{
    const QString folderDanych = QDir::current().filePath(QStringLiteral("dane"));
    const QString posredni = folderDanych + QLatin1Char('/') + FolderPosredni;
    QDir(posredni).removeRecursively();
    if (!QDir(folderDanych).exists() || !QDir().mkdir(posredni))
        return false;

    // The set files the list names, in list order (a name listed twice is fetched once, and a set named like the
    // list is the list's own download), then the list itself.
    std::vector<std::optional<std::string>> pliki;
    std::string nazwa;
    std::string plik;
    for (std::size_t i = 1; i < dane_.Lista.size(); ++i) {
        if (!vokara::Rozdziel(dane_.Lista[i], nazwa, plik))
            continue; // an empty line names nothing
        if (!ZwyklaNazwaPliku(plik, folderDanych))
            pliki.push_back(std::nullopt);
        else if (plik != vokara::PlikListy && std::find(pliki.begin(), pliki.end(), std::optional(plik)) == pliki.end())
            pliki.push_back(plik);
    }
    pliki.push_back(std::string(vokara::PlikListy));

    bool ok = true;
    {
        Postep postep(okno_, int(pliki.size()));
        for (std::size_t i = 0; i < pliki.size(); ++i) {
            // A name that is not a plain file name is never fetched or written: it counts as a failed download.
            if (!pliki[i]) {
                ok = false;
                continue;
            }
            const QString nazwaPliku = Utf8(*pliki[i]);
            postep.Plik(int(i) + 1, int(pliki.size()), nazwaPliku);
            const QUrl adres = QUrl::fromEncoded(AdresPliku(*pliki[i]).toLatin1());
            if (!siec_.Pobierz(adres, posredni + QLatin1Char('/') + nazwaPliku))
                ok = false; // every other file is still tried, as the outcome names no file
        }
    }

    if (ok) {
        // Set files first, the list last: a list never names a set whose new file is not yet in place.
        std::vector<std::string> nowe;
        for (const auto& p : pliki)
            nowe.push_back(*p);
        ok = PrzeniesWszystkie(nowe, posredni, folderDanych);
    }
    QDir(posredni).removeRecursively();
    return ok;
}
