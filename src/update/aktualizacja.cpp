// Update outcomes, version advice, the temporary list and the staged, all-or-nothing replacement of the data files.
#include "aktualizacja.h"

#include "fwarning.h"
#include "kodowanie.h"
#include "siec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

const QString Aktualizacja::FolderPosredni = QStringLiteral(".aktualizacja");

namespace {

QString Utf8(const std::string& cp1250) { return QString::fromStdString(vokara::Cp1250NaUtf8(cp1250)); }

// A file name from the downloaded list names one file inside the data folder and nothing else.
bool ZwyklaNazwaPliku(const std::string& plik)
{
    if (plik.empty() || plik == "." || plik == ".." || Utf8(plik) == Aktualizacja::FolderPosredni ||
        plik == vokara::PlikListy)
        return false;
    for (unsigned char c : plik) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F || c == ':')
            return false;
    }
    return true;
}

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
    const char* radaProgramu =
        tenSamProgram ? "Życzymy owocnej pracy z programem." : "Pobierz samodzielnie nową wersję programu ze strony domowej.";
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
    namespace fs = std::filesystem;
    const QString folderDanych = QDir::current().filePath(QStringLiteral("dane"));
    const QString posredni = folderDanych + QLatin1Char('/') + FolderPosredni;
    QDir(posredni).removeRecursively();
    if (!QDir(folderDanych).exists() || !QDir().mkdir(posredni))
        return false;

    // The set files the list names, in list order (a name listed twice is fetched once), then the list itself.
    std::vector<std::optional<std::string>> pliki;
    std::string nazwa;
    std::string plik;
    for (std::size_t i = 1; i < dane_.Lista.size(); ++i) {
        if (!vokara::Rozdziel(dane_.Lista[i], nazwa, plik))
            continue; // an empty line names nothing
        if (!ZwyklaNazwaPliku(plik))
            pliki.push_back(std::nullopt);
        else if (std::find(pliki.begin(), pliki.end(), std::optional(plik)) == pliki.end())
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
        for (const auto& p : pliki) {
            std::error_code blad;
            const QString nazwaPliku = Utf8(*p);
            fs::rename(fs::path((posredni + QLatin1Char('/') + nazwaPliku).toStdString()),
                       fs::path((folderDanych + QLatin1Char('/') + nazwaPliku).toStdString()), blad);
            if (blad)
                ok = false;
        }
    }
    QDir(posredni).removeRecursively();
    return ok;
}
