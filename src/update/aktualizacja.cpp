// Update outcomes, version advice, the temporary list and the staged, all-or-nothing replacement of the data files.
#include "aktualizacja.h"

#include "adresy.h"
#include "fwarning.h"
#include "fwynikaktualizacji.h"
#include "kodowanie.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <unordered_set>

const QString Aktualizacja::FolderPosredni = QStringLiteral(".aktualizacja");

namespace {

QString Utf8(const std::string& cp1250)
{
    return QString::fromStdString(vokara::Cp1250NaUtf8(cp1250));
}

// The user's own sets and learning database live in the data folder too; no site may overwrite them (the database
// with its journal files, the damaged copies set aside and the copy kept while it is migrated).
bool PlikUzytkownika(const std::string& plik)
{
    return plik.rfind("moje_", 0) == 0 || plik == "a_moje.txt" || plik.rfind("postepy.sqlite", 0) == 0;
}

// A file name from the downloaded list names one file inside the data folder and nothing else: not a path, not the
// staging folder, not a folder already there (such as the recording cache), not one of the user's own files.
bool ZwyklaNazwaPliku(const std::string& plik, const QString& folderDanych)
{
    if (plik.empty() || plik == "." || plik == ".." || Utf8(plik) == Aktualizacja::FolderPosredni ||
        PlikUzytkownika(plik))
        return false;
    for (unsigned char c : plik) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)
            return false;
    }
    return !QFileInfo(folderDanych + QLatin1Char('/') + Utf8(plik)).isDir();
}

// A web page (a portal's log-in page, a site's error page with status 200) is not a list or a set.
bool WygladaNaDane(const QByteArray& poczatek)
{
    if (poczatek.contains('\0'))
        return false;
    QByteArray tekst = poczatek;
    if (tekst.startsWith("\xEF\xBB\xBF"))
        tekst.remove(0, 3);
    qsizetype i = 0;
    while (i < tekst.size() && (tekst[i] == ' ' || (tekst[i] >= '\t' && tekst[i] <= '\r')))
        ++i;
    const QByteArray poczatekTekstu = tekst.mid(i, 9).toLower();
    return !poczatekTekstu.startsWith("<!doctype") && !poczatekTekstu.startsWith("<html");
}

// Text data never holds a NUL byte; a file that does is something else. Read in pieces: a set may be large.
bool ZawieraNul(const QString& sciezka)
{
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly))
        return true;
    while (!plik.atEnd()) {
        const QByteArray kawalek = plik.read(64 * 1024);
        if (kawalek.isEmpty() || kawalek.contains('\0'))
            return true;
    }
    return false;
}

// How the home site is set up, for the notice and the button's tooltip when it is not.
const QString JakUstawic = QStringLiteral("Ustaw ją zmienną środowiskową VOKARA_HOME_URL i uruchom program ponownie.");

// Polish plural after a number: 1 inny, 2-4 inne (but 12-14 innych), 5 and more innych.
QString Liczebnik(qsizetype n, const char* jeden, const char* kilka, const char* wiele)
{
    const qsizetype jednosci = n % 10;
    const qsizetype dziesiatki = n % 100;
    const bool kilku = jednosci >= 2 && jednosci <= 4 && !(dziesiatki >= 12 && dziesiatki <= 14);
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? jeden : kilku ? kilka : wiele);
}

// Set names as a notice lists them: "A, B i C", at most ten, then the rest counted ("… i 2 inne"). A name longer
// than a notice line is shortened with an ellipsis, so a site's long name cannot push the rest out of view.
QString Wymien(const QStringList& nazwy)
{
    constexpr qsizetype Wymienione = 10;
    constexpr qsizetype NajdluzszaNazwa = 60;
    QStringList krotkie;
    for (qsizetype i = 0; i < std::min(nazwy.size(), Wymienione); ++i)
        krotkie << (nazwy[i].size() > NajdluzszaNazwa ? nazwy[i].left(NajdluzszaNazwa - 1) + QChar(0x2026) : nazwy[i]);
    if (nazwy.size() > Wymienione)
        return krotkie.join(QStringLiteral(", ")) + QStringLiteral(" i ") +
               Liczebnik(nazwy.size() - Wymienione, "inny", "inne", "innych");
    if (krotkie.size() < 2)
        return krotkie.value(0);
    return krotkie.mid(0, krotkie.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" i ") + krotkie.last();
}

// The overall limit of an update's downloads, for the update's length only (recordings keep theirs).
class LimitPobierania {
public:
    LimitPobierania(Siec& siec, int ms) : siec_(siec), poprzedni_(siec.LimitCalkowityMs) { siec.LimitCalkowityMs = ms; }
    ~LimitPobierania() { siec_.LimitCalkowityMs = poprzedni_; }
    LimitPobierania(const LimitPobierania&) = delete;
    LimitPobierania& operator=(const LimitPobierania&) = delete;

private:
    Siec& siec_;
    int poprzedni_;
};

} // namespace

// The progress window of a running update. Its "Przerwij" button (and Escape) ends the download under way; it is
// the one window that takes input while a download waits, and it closes before the outcome's notice.
class PostepAktualizacji {
public:
    PostepAktualizacji(QWidget* okno, Siec& siec)
        : siec_(siec), okno_(okno, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        okno_.setWindowTitle(QStringLiteral("Vokara"));
        okno_.setObjectName(QStringLiteral("FPostep"));
        // The skin gives the paper, the button's frame and size; the text is that of the program's other windows.
        okno_.setAttribute(Qt::WA_StyledBackground);
        okno_.setStyleSheet(QStringLiteral("QLabel { font-size: 13px; color: rgb(44,47,43); background: transparent; }"
                                           "QPushButton { font-size: 13px; color: rgb(0,0,0); }"));
        okno_.setCancelButtonText(QStringLiteral("Przerwij"));
        okno_.setAccessibleName(QStringLiteral("Postęp aktualizacji"));
        // Not modal to Qt: the download's wait lets input reach this window only, and closing the main window
        // must still reach the program.
        okno_.setWindowModality(Qt::NonModal);
        okno_.setMinimumDuration(0);
        okno_.setMinimumWidth(420);
        okno_.setAutoClose(false);
        okno_.setAutoReset(false);
        okno_.setRange(0, 1);
        QObject::connect(&okno_, &QProgressDialog::canceled, &okno_, [this] { siec_.Przerwij(); });
        siec_.OknoCzekania = &okno_;
    }
    ~PostepAktualizacji() { siec_.OknoCzekania = nullptr; }
    PostepAktualizacji(const PostepAktualizacji&) = delete;
    PostepAktualizacji& operator=(const PostepAktualizacji&) = delete;

    void Pokaz(const QString& tekst, int wartosc, int wszystkie)
    {
        okno_.setLabelText(tekst);
        okno_.setRange(0, wszystkie);
        okno_.setValue(wartosc);
        if (!okno_.isVisible())
            okno_.show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    bool Przerwane() const { return okno_.wasCanceled(); }

private:
    Siec& siec_;
    QProgressDialog okno_;
};

bool Aktualizacja::PrzeniesWszystkie(const std::vector<std::string>& pliki, const QString& posredni,
                                     const QString& folderDanych, const vokara::PunktKontrolny& punkt)
{
    namespace fs = std::filesystem;
    std::vector<std::string> nazwy;
    for (const auto& p : pliki)
        nazwy.push_back(vokara::Cp1250NaUtf8(p));
    const fs::path folder(posredni.toStdString());
    return vokara::Podmien(nazwy, folder / vokara::FolderNowych, folder / vokara::FolderStarych,
                           folder / vokara::PlikDziennika, fs::path(folderDanych.toStdString()), punkt);
}

bool Aktualizacja::NaprawFolderDanych(const QString& folderDanych)
{
    const std::filesystem::path folder(folderDanych.toStdString());
    return vokara::NaprawPrzerwanaPodmiane(folder / FolderPosredni.toStdString(), folder);
}

Aktualizacja::Aktualizacja(Siec& siec, TFWarning& warning, vokara::Dane& dane, std::function<void()> zaladujDane,
                           QString adresDomowy, QWidget* okno)
    : siec_(siec), warning_(warning), dane_(dane), zaladujDane_(std::move(zaladujDane)),
      adresDomowy_(std::move(adresDomowy)), okno_(okno)
{
}

Aktualizacja::~Aktualizacja() = default;

QString Aktualizacja::AdresPliku(const std::string& plik) const
{
    return adresDomowy_ + QStringLiteral("/vokara/dane/") + QString::fromLatin1(QUrl::toPercentEncoding(Utf8(plik)));
}

void Aktualizacja::Powiadom(const char* pierwsza, const QString& druga)
{
    Powiadom(QStringList{QString::fromUtf8(pierwsza), druga});
}

void Aktualizacja::Powiadom(const QStringList& linie, const QStringList& pelne)
{
    // The message box holds a few short lines; a longer outcome (lists of sets) would be clipped there.
    const QString tekst = linie.join(QLatin1Char('\r'));
    if (warning_.Miesci(tekst))
        warning_.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji, tekst);
    else
        OknoWyniku().Pokaz((pelne.isEmpty() ? linie : pelne).join(QLatin1Char('\r')));
}

TFWynikAktualizacji& Aktualizacja::OknoWyniku()
{
    if (!wynik_)
        wynik_ = std::make_unique<TFWynikAktualizacji>(okno_);
    return *wynik_;
}

QString Aktualizacja::Podpowiedz() const
{
    if (!vokara::AdresUstawiony(adresDomowy_))
        return QStringLiteral("Strona domowa nie jest ustawiona. ") + JakUstawic;
    return QStringLiteral("Pobiera nowe zestawy słów ze strony domowej %1.").arg(adresDomowy_);
}

Aktualizacja::ZmianaZestawow Aktualizacja::Zmiany(const vokara::_zestawy& przed,
                                                  const std::vector<std::string>& lista) const
{
    // The sets the new list offers, read as the window reads them when it reloads; sets are told apart by their
    // file, which the learning memory is attached to too (a set renamed on the site is neither added nor removed).
    vokara::Dane nowe;
    nowe.KatalogRoboczy = QDir::currentPath().toStdString();
    vokara::WczytajZestawy(nowe, lista);
    std::unordered_set<std::string> byly;
    std::unordered_set<std::string> sa;
    for (const auto& z : przed)
        byly.insert(z.Plik);
    for (const auto& z : nowe.Zestawy)
        sa.insert(z.Plik);
    QStringList dodane;
    QStringList usuniete;
    QStringList cwiczone;
    std::unordered_set<std::string> wymienione;
    for (const auto& z : nowe.Zestawy) {
        if (!byly.count(z.Plik) && wymienione.insert(z.Plik).second)
            dodane << Utf8(z.Nazwa);
    }
    wymienione.clear();
    for (const auto& z : przed) {
        if (sa.count(z.Plik) || !wymienione.insert(z.Plik).second)
            continue;
        usuniete << Utf8(z.Nazwa);
        if (Cwiczony && Cwiczony(z.Plik))
            cwiczone << Utf8(z.Nazwa);
    }
    ZmianaZestawow zmiana{Wymien(dodane), Wymien(usuniete), QString()};
    // The memory keeps every answer by the set's file: should the set come back, so does its progress.
    if (cwiczone.size() == 1)
        zmiana.Postepy =
            QStringLiteral("Postępy w zestawie %1 zostają zachowane i wrócą, jeśli zestaw wróci.").arg(cwiczone[0]);
    else if (!cwiczone.isEmpty())
        zmiana.Postepy = QStringLiteral("Postępy w zestawach %1 zostają zachowane i wrócą, jeśli zestawy wrócą.")
                             .arg(Wymien(cwiczone));
    return zmiana;
}

QString Aktualizacja::PrzyczynaLokalna() const
{
    const QString folder = QDir::toNativeSeparators(miejsce_);
    if (blad_ == Siec::Blad::BrakMiejsca)
        return QStringLiteral("Brak miejsca na dysku: nie można zapisać plików w folderze %1").arg(folder);
    if (blad_ == Siec::Blad::Zapis)
        return QStringLiteral("Nie można zapisać plików w folderze %1").arg(folder);
    return {};
}

bool Aktualizacja::PobierzDane(const QUrl& adres, const QString& plik, const QString& folder)
{
    if (!siec_.Pobierz(adres, plik, WygladaNaDane)) {
        blad_ = siec_.OstatniBlad;
        miejsce_ = folder;
        return false;
    }
    if (ZawieraNul(plik)) {
        QFile::remove(plik);
        blad_ = Siec::Blad::Odrzucone;
        return false;
    }
    return true;
}

void Aktualizacja::Aktualizuj()
{
    blad_ = Siec::Blad::Brak;
    nieudany_.clear();
    // The built-in address lies under .invalid: no site is down, none was set up, so nothing is asked or changed.
    if (!vokara::AdresUstawiony(adresDomowy_)) {
        Powiadom("Strona domowa nie jest ustawiona.", JakUstawic);
        return;
    }
    // The sets the pickers offer now, to tell afterwards what the update added and removed.
    const vokara::_zestawy przed(dane_.Zestawy.begin(),
                                 dane_.Zestawy.begin() +
                                     std::ptrdiff_t(std::min(dane_.Zestawy.size(), dane_.ZestawyListy)));
    const QString folderDanych = QDir::current().filePath(QStringLiteral("dane"));
    // An update a crash interrupted is rolled back first, and a stale staging entry of any kind goes.
    NaprawFolderDanych(folderDanych);
    const QString tymczasowa = QDir::current().filePath(QString::fromLatin1(vokara::PlikListy));
    const QUrl adresListy = QUrl::fromEncoded(AdresPliku(vokara::PlikListy).toLatin1());
    LimitPobierania limit(siec_, LimitPlikuMs);
    auto postep = std::make_unique<PostepAktualizacji>(okno_, siec_);
    postep_ = postep.get();
    const auto koniecPostepu = [this, &postep] {
        postep_ = nullptr;
        postep.reset();
    };
    const auto przerwana = [this] {
        Powiadom("Aktualizacja została przerwana.", QStringLiteral("Dane pozostały bez zmian."));
    };
    postep->Pokaz(QStringLiteral("Pobieranie listy zestawów\n%1").arg(QString::fromLatin1(vokara::PlikListy)), 0, 1);
    const bool listaPobrana = PobierzDane(adresListy, tymczasowa, QDir::currentPath());
    const bool przerwane = postep->Przerwane() || blad_ == Siec::Blad::Przerwane;
    if (!listaPobrana || przerwane) {
        koniecPostepu();
        if (listaPobrana)
            QFile::remove(tymczasowa);
        if (siec_.Zamykanie())
            return; // the program is ending: no notice
        if (przerwane)
            przerwana();
        else if (const QString lokalna = PrzyczynaLokalna(); !lokalna.isEmpty())
            Powiadom("Wystąpił problem z aktualizacją.", lokalna);
        else
            Powiadom("Wystąpił problem z aktualizacją.", QStringLiteral("Brak dostępu do strony z danymi."));
        return;
    }
    std::string d;
    std::string p;
    // A list without any line, or with an empty first line, cannot be trusted; the downloaded file stays for a look.
    std::vector<std::string> lista;
    if (!vokara::WczytajLinie(tymczasowa.toStdString(), lista, vokara::NajwiecejLiniiListy) || lista.empty() ||
        !vokara::Rozdziel(lista.front(), d, p)) {
        koniecPostepu();
        Powiadom("Pobrany plik listy jest uszkodzony.", QStringLiteral("Zgłoś problem autorowi programu."));
        return;
    }
    // Versions are compared as whole texts: an older data version counts as different too.
    const bool tenSamProgram = p == dane_.WersjaProgramu;
    const QString radaProgramu = QString::fromUtf8(tenSamProgram ? "Życzymy owocnej pracy z programem."
                                                                 : "Pobierz samodzielnie nową wersję programu ze "
                                                                   "strony domowej.");
    if (d == dane_.WersjaDanych) {
        koniecPostepu();
        Powiadom("Dane są aktualne.", radaProgramu);
        QFile::remove(tymczasowa);
        return;
    }
    const bool ok = PobierzZestawy(lista);
    const bool przerwaneZestawy = !ok && (postep->Przerwane() || blad_ == Siec::Blad::Przerwane);
    koniecPostepu();
    QFile::remove(tymczasowa);
    if (siec_.Zamykanie())
        return;
    if (ok) {
        // One line of changes for the message box; in the result window the added and the removed sets each have
        // a paragraph of their own.
        const ZmianaZestawow z = Zmiany(przed, lista);
        const QString dodano = QStringLiteral("Dodano: ") + z.Dodane;
        QStringList zwiezle{QStringLiteral("Dane zostały uaktualnione.")};
        QStringList pelne = zwiezle;
        if (!z.Dodane.isEmpty() && !z.Usuniete.isEmpty())
            zwiezle << dodano + QStringLiteral("; usunięto: ") + z.Usuniete + QLatin1Char('.');
        else if (!z.Dodane.isEmpty())
            zwiezle << dodano + QLatin1Char('.');
        else if (!z.Usuniete.isEmpty())
            zwiezle << QStringLiteral("Usunięto: ") + z.Usuniete + QLatin1Char('.');
        if (!z.Dodane.isEmpty())
            pelne << dodano + QLatin1Char('.');
        if (!z.Usuniete.isEmpty())
            pelne << QStringLiteral("Usunięto: ") + z.Usuniete + QLatin1Char('.');
        for (QStringList* linie : {&zwiezle, &pelne}) {
            if (!z.Postepy.isEmpty())
                *linie << z.Postepy;
            *linie << radaProgramu;
        }
        Powiadom(zwiezle, pelne);
        zaladujDane_();
    } else if (przerwaneZestawy) {
        przerwana();
    } else if (const QString lokalna = PrzyczynaLokalna(); !lokalna.isEmpty()) {
        Powiadom("Wystąpiły problemy z uaktualnieniem danych.", lokalna);
    } else {
        QStringList linie{QStringLiteral("Wystąpiły problemy z uaktualnieniem danych.")};
        if (!nieudany_.empty())
            linie << (nieudany_ == vokara::PlikListy ? QStringLiteral("Nie udało się pobrać listy zestawów: ")
                                                     : QStringLiteral("Nie udało się pobrać zestawu: ")) +
                         Utf8(nieudany_);
        linie << QString::fromUtf8(tenSamProgram ? "Pobierz ponownie program ze strony domowej."
                                                 : "Pobierz samodzielnie nową wersję programu ze strony domowej.");
        Powiadom(linie);
    }
}

bool Aktualizacja::PobierzZestawy(const std::vector<std::string>& lista)
{
    blad_ = Siec::Blad::Brak;
    const QString folderDanych = QDir::current().filePath(QStringLiteral("dane"));
    const QString posredni = folderDanych + QLatin1Char('/') + FolderPosredni;
    const QString nowe = posredni + QLatin1Char('/') + QString::fromLatin1(vokara::FolderNowych);
    miejsce_ = folderDanych;
    errno = 0;
    if (!NaprawFolderDanych(folderDanych) || !QDir(folderDanych).exists() || !QDir().mkpath(nowe)) {
        // The staging folder cannot be cleared or made: the data folder cannot take the new files.
        blad_ = errno == ENOSPC || errno == EDQUOT ? Siec::Blad::BrakMiejsca : Siec::Blad::Zapis;
        return false;
    }

    // The set files the list names, in list order (a name listed twice is fetched once, and a set named like the
    // list is the list's own download), then the list itself. The bounds of reading a list apply: what the list
    // reader leaves out is not fetched either.
    std::vector<std::optional<std::string>> pliki;
    std::string nazwa;
    std::string plik;
    std::size_t zestawy = 0;
    for (std::size_t i = 1; i < lista.size() && zestawy < vokara::NajwiecejZestawow; ++i) {
        if (!vokara::Rozdziel(lista[i], nazwa, plik))
            continue; // an empty line names nothing
        ++zestawy;
        if (nazwa.size() > vokara::NajdluzszaNazwaZestawu)
            continue;
        if (!ZwyklaNazwaPliku(plik, folderDanych))
            pliki.push_back(std::nullopt);
        else if (plik != vokara::PlikListy && std::find(pliki.begin(), pliki.end(), std::optional(plik)) == pliki.end())
            pliki.push_back(plik);
    }
    pliki.push_back(std::string(vokara::PlikListy));

    bool ok = true;
    for (std::size_t i = 0; i < pliki.size() && ok; ++i) {
        // A name that is not a plain file name is never fetched or written: it counts as a failed download. Nothing
        // is applied unless every file arrived, so the first failure ends the downloads.
        if (!pliki[i]) {
            blad_ = Siec::Blad::Odrzucone;
            ok = false;
            break;
        }
        const QString nazwaPliku = Utf8(*pliki[i]);
        if (postep_)
            postep_->Pokaz(QStringLiteral("Pobieranie danych: plik %1 z %2\n%3")
                               .arg(int(i) + 1)
                               .arg(int(pliki.size()))
                               .arg(nazwaPliku),
                           int(i), int(pliki.size()));
        const QUrl adres = QUrl::fromEncoded(AdresPliku(*pliki[i]).toLatin1());
        if (!PobierzDane(adres, nowe + QLatin1Char('/') + nazwaPliku, folderDanych)) {
            nieudany_ = *pliki[i]; // the notice names it
            ok = false;
        } else {
            ok = !(postep_ && postep_->Przerwane());
        }
    }

    if (ok) {
        // Set files first, the list last: a list never names a set whose new file is not yet in place.
        std::vector<std::string> wszystkie;
        for (const auto& p : pliki)
            wszystkie.push_back(*p);
        ok = PrzeniesWszystkie(wszystkie, posredni, folderDanych);
        if (!ok)
            blad_ = errno == ENOSPC || errno == EDQUOT ? Siec::Blad::BrakMiejsca : Siec::Blad::Zapis;
    }
    NaprawFolderDanych(folderDanych);
    return ok;
}
