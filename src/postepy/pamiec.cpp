// The learning memory on SQLite: one named connection, WAL, a versioned schema, one short transaction per answer,
// each entry's FSRS-6 state kept beside its answers, and the longer work (a migration, a fit) in a worker thread.
#include "pamiec.h"

#include "tekst.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

#include <algorithm>

namespace vokara {

namespace {

// SQLite's result codes: another connection holds the file, or the file itself is not a sound database.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADb = 26;

int KodSqlite(const QSqlError& blad)
{
    return blad.nativeErrorCode().toInt() & 0xff; // an extended code keeps the primary one in its low byte
}

// Another copy of the program is writing: the answer waits and is written a moment later.
bool Zajeta(const QSqlError& blad)
{
    const int kod = KodSqlite(blad);
    return kod == SqliteBusy || kod == SqliteLocked;
}

// This program's own worker is writing: the same as another copy holding the file, without the wait.
QSqlError ZajetaPrzezPrace()
{
    return QSqlError(QString(), QStringLiteral("the memory's worker is writing"), QSqlError::StatementError,
                     QString::number(SqliteBusy));
}

// How long a statement waits for another copy of the program to finish its write. Writes are one short transaction,
// so this is plenty; anything longer is left to the retry timer rather than kept waiting on the window thread.
constexpr int CzekanieNaBaze = 250;
constexpr int PonowienieMs = 200;

// A fit is worth a worker only with at least this many counted answers; the worker checks the rest.
constexpr int NajmniejDoPracy = NajmniejOdpowiedziDoDopasowania;

QByteArray Bajty(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

// A key that no two different (file, English, Polish) triples share: every part carries its length.
QByteArray Klucz(const std::string& a, const std::string& b, const std::string& c = {})
{
    QByteArray k;
    for (const std::string* s : {&a, &b, &c})
        k += QByteArray::number(qulonglong(s->size())) + ':' + Bajty(*s);
    return k;
}

// An entry's two texts as one key. Data texts never hold a zero byte (it ends a file's text), so it can part them.
QByteArray KluczWpisu(const QByteArray& angielski, const QByteArray& polski)
{
    return angielski + '\0' + polski;
}

StanFsrs StanZWiersza(const QSqlQuery& q, int od)
{
    StanFsrs s;
    s.S = q.value(od).toDouble();
    s.D = q.value(od + 1).toDouble();
    s.OstatniCzas = q.value(od + 2).toLongLong();
    s.OstatniDzien = q.value(od + 3).toLongLong();
    s.Odpowiedzi = q.value(od + 4).toInt();
    s.Pomylki = q.value(od + 5).toInt();
    return s;
}

const QString NieZapisywane =
    QStringLiteral("Postępy nauki nie są zapisywane: nie można otworzyć ani zapisać pliku dane/postepy.sqlite."
                   "\rĆwiczenia działają jak zwykle.");
QString OdlozonoUszkodzony(const QString& nazwa)
{
    return QStringLiteral("Plik postępów nauki był uszkodzony. Odłożono go jako dane/%1 i zaczęto nowy."
                          "\rĆwiczenia działają jak zwykle.")
        .arg(nazwa);
}
const QString Nowszy = QStringLiteral("Plik postępów pochodzi z nowszej wersji programu, więc postępy nie są teraz "
                                      "zapisywane.\rĆwiczenia działają jak zwykle.");

// How many damaged files set aside are kept; older ones go when a newer one is added.
constexpr int NajwiecejOdlozonych = 3;

} // namespace

// The statements of the hot path, prepared once per opened file.
struct Pamiec::Zapytania {
    explicit Zapytania(const QSqlDatabase& db)
        : transakcja(db), parametry(db), zestaw(db), nowyZestaw(db), wpis(db), nowyWpis(db), zmianaWpisu(db),
          odpowiedz(db), przewidywanie(db)
    {
    }
    QSqlQuery transakcja, parametry, zestaw, nowyZestaw, wpis, nowyWpis, zmianaWpisu, odpowiedz, przewidywanie;
};

Pamiec::Pamiec(Zegar zegar, QObject* parent)
    : QObject(parent), zegar_(zegar ? std::move(zegar) : Zegar([] { return QDateTime::currentDateTime(); })),
      nazwa_(QStringLiteral("vokara-postepy-%1").arg(quintptr(this), 0, 16))
{
}

Pamiec::~Pamiec()
{
    Zamknij();
}

bool Pamiec::Otworz(const QString& plik)
{
    Zamknij();
    plik_ = plik;
    zgloszona_ = false;
    odlozona_ = false;
    nowsza_ = false;
    const QFileInfo info(plik);
    // A link that leads nowhere would make SQLite create the database wherever it points.
    if (info.isSymLink() && !info.exists())
        return Blad(QStringLiteral("dangling link"), QSqlError());
    // A folder where nothing was ever answered stays as it was until the first answer creates the file.
    if (!info.exists() && QFileInfo(info.absolutePath()).isWritable()) {
        czeka_ = true;
        return true;
    }
    return OtworzPlik();
}

bool Pamiec::OtworzPlik()
{
    QString gdzie;
    QSqlError blad;
    if (!SprobujOtworzyc(gdzie, blad))
        return Blad(gdzie, blad);
    MozeDopasuj();
    return true;
}

// Every handle on the connection lives inside this function, so a failure can close the connection afterwards.
bool Pamiec::SprobujOtworzyc(QString& gdzie, QSqlError& blad)
{
    QSqlDatabase db = QSqlDatabase::contains(nazwa_) ? QSqlDatabase::database(nazwa_, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nazwa_);
    db.setDatabaseName(plik_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(CzekanieNaBaze));
    gdzie = QStringLiteral("open");
    if (!db.open()) {
        blad = db.lastError();
        return false;
    }
    QSqlQuery q(db);
    const auto nieudane = [&](const char* miejsce) {
        gdzie = QString::fromLatin1(miejsce);
        blad = q.lastError();
        return false;
    };
    // Reading the header first tells a file that is not a database from one that cannot be reached.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return nieudane("version");
    const int wersja = q.value(0).toInt();
    q.finish();
    // Written by a newer program: never touched, not even its journal mode.
    if (wersja > WersjaBazy) {
        gdzie = QStringLiteral("version %1").arg(wersja);
        nowsza_ = true;
        return false;
    }
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next() ||
        q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return nieudane("journal");
    // In WAL mode every commit survives the program being killed; only a power cut may cost the last few.
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // No whole-file check here: on a year of answers it costs tens of milliseconds at every start. SQLite reports
    // damage wherever a statement meets it, and every statement's failure goes through Blad, which moves the file
    // aside.
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) || !q.next())
        return nieudane("schema");
    q.finish();
    // A new file gets its tables at once. A file of an earlier version is moved in a worker thread, with a copy of
    // it kept until the move has committed; the window goes on meanwhile and answers wait.
    if (wersja == 0) {
        if (!Migruj(db, wersja, gdzie, blad))
            return false;
    } else if (wersja < WersjaBazy) {
        przenoszona_ = true;
        ZacznijPrace(Praca::Przenoszenie, [plik = plik_] {
            WynikDopasowaniaPliku w;
            static_cast<WynikPracy&>(w) = PrzeniesPlik(plik);
            return w;
        });
        return true;
    }
    return PrzygotujZapytania(gdzie, blad);
}

bool Pamiec::PrzygotujZapytania(QString& gdzie, QSqlError& blad)
{
    QSqlDatabase db = QSqlDatabase::database(nazwa_, false);
    z_ = std::make_unique<Zapytania>(db);
    const bool ok =
        z_->parametry.prepare(QStringLiteral("SELECT wartosc FROM ustawienia WHERE klucz = ?")) &&
        z_->zestaw.prepare(QStringLiteral("SELECT id FROM zestawy WHERE plik = ?")) &&
        z_->nowyZestaw.prepare(QStringLiteral("INSERT INTO zestawy(plik) VALUES(?)")) &&
        z_->wpis.prepare(QStringLiteral("SELECT id, stabilnosc, trudnosc, ostatnia, dzien, powtorki, pomylki "
                                        "FROM wpisy WHERE zestaw = ? AND angielski = ? AND polski = ?")) &&
        z_->nowyWpis.prepare(QStringLiteral(
            "INSERT INTO wpisy(zestaw, angielski, polski, stabilnosc, trudnosc, ostatnia, dzien, termin, powtorki, "
            "pomylki, odpowiedzi, bledy) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?)")) &&
        z_->zmianaWpisu.prepare(QStringLiteral(
            "UPDATE wpisy SET stabilnosc = ?, trudnosc = ?, ostatnia = ?, dzien = ?, termin = ?, powtorki = ?, "
            "pomylki = ?, odpowiedzi = odpowiedzi + 1, bledy = bledy + ? WHERE id = ?")) &&
        z_->odpowiedz.prepare(QStringLiteral("INSERT INTO odpowiedzi(wpis, czas, dzien, strona, kierunek, dobrze, "
                                             "ocena, liczy) VALUES(?, ?, ?, ?, ?, ?, ?, ?)")) &&
        z_->przewidywanie.prepare(QStringLiteral(
            "INSERT INTO przewidywania(dzien, odpowiedzi, poprawne, suma) VALUES(?, 1, ?, ?) ON CONFLICT(dzien) DO "
            "UPDATE SET odpowiedzi = odpowiedzi + 1, poprawne = poprawne + excluded.poprawne, "
            "suma = suma + excluded.suma"));
    if (!ok) {
        gdzie = QStringLiteral("prepare");
        blad = db.lastError();
        z_.reset();
        return false;
    }
    z_->parametry.setForwardOnly(true);
    z_->zestaw.setForwardOnly(true);
    z_->wpis.setForwardOnly(true);
    otwarta_ = true;
    if (!WczytajParametry()) {
        gdzie = QStringLiteral("settings");
        blad = z_->parametry.lastError();
        return false;
    }
    return true;
}

bool Pamiec::WczytajParametry()
{
    QSqlQuery& q = z_->parametry;
    const auto wartosc = [&](const char* klucz, QString& w) {
        q.addBindValue(QString::fromLatin1(klucz));
        if (!q.exec())
            return false;
        w = q.next() ? q.value(0).toString() : QString();
        q.finish();
        return true;
    };
    QString tekst, dzien;
    if (!wartosc(KluczParametrow, tekst) || !wartosc(KluczDniaParametrow, dzien))
        return false;
    const auto p = ParametryZTekstu(tekst);
    tekstParametrow_ = tekst;
    parametry_ = p ? *p : Parametry::Domyslne();
    dataParametrow_ = p ? QDate::fromJulianDay(dzien.toLongLong()) : QDate();
    if (p && !dataParametrow_.isValid())
        dataParametrow_ = QDate::fromJulianDay(0); // fitted, on a day the file no longer tells
    return true;
}

QString Pamiec::OpisHarmonogramu() const
{
    if (!Dopasowany())
        return QStringLiteral("Harmonogram: parametry domyślne");
    return QStringLiteral("Harmonogram: dopasowany do Ciebie (%1)").arg(dataParametrow_.toString(u"dd.MM.yyyy"));
}

void Pamiec::Zamknij()
{
    const bool wczesniej = zamykana_;
    zamykana_ = true;
    if (praca_.valid()) {
        // A fit may be cut short at any step; a migration is left to end, so the answers waiting for it are kept.
        if (rodzajPracy_ == Praca::Dopasowanie)
            przerwij_ = true;
        praca_.wait();
        PoPracy(true);
    }
    // Answers still waiting for another copy of the program get one last chance, with the usual short wait.
    while (otwarta_ && z_ && !czekajace_.empty()) {
        QSqlError blad;
        if (!ZapiszWTransakcji(czekajace_.front(), blad))
            break;
        czekajace_.pop_front();
    }
    czekajace_.clear();
    if (ponowienie_)
        ponowienie_->stop();
    z_.reset();
    zestawy_.clear();
    otwarta_ = false;
    czeka_ = false;
    przenoszona_ = false;
    parametry_ = Parametry::Domyslne();
    tekstParametrow_.clear();
    dataParametrow_ = QDate();
    sprawdzonoDnia_ = QDate();
    if (QSqlDatabase::contains(nazwa_)) {
        QSqlDatabase::database(nazwa_, false).close();
        QSqlDatabase::removeDatabase(nazwa_);
    }
    zamykana_ = wczesniej;
}

void Pamiec::ZacznijPrace(Praca rodzaj, std::function<WynikDopasowaniaPliku()> zadanie)
{
    Q_ASSERT(!praca_.valid());
    rodzajPracy_ = rodzaj;
    przerwij_ = false;
    const int numer = ++numerPracy_;
    praca_ = std::async(std::launch::async, [this, numer, zadanie = std::move(zadanie)] {
        WynikDopasowaniaPliku wynik = zadanie();
        // The end is handled on the memory's own thread; a memory closed meanwhile has handled it already.
        QMetaObject::invokeMethod(
            this,
            [this, numer] {
                if (numer == numerPracy_ && praca_.valid())
                    PoPracy(false);
            },
            Qt::QueuedConnection);
        return wynik;
    });
}

void Pamiec::PoPracy(bool zamykanie)
{
    const Praca rodzaj = rodzajPracy_;
    const WynikDopasowaniaPliku wynik = praca_.get();
    rodzajPracy_ = Praca::Brak;
    if (rodzaj == Praca::Przenoszenie) {
        przenoszona_ = false;
        QString gdzie = wynik.Gdzie;
        QSqlError blad = wynik.Blad;
        if (!wynik.Ok || !PrzygotujZapytania(gdzie, blad)) {
            Blad(gdzie, blad);
            return;
        }
        // While the memory closes, Zamknij writes them itself and nothing new starts.
        if (!zamykanie) {
            ZapiszCzekajace();
            emit zapisano();
        }
        return;
    }
    if (!wynik.Ok) {
        // The schedule stays as it was; a file that is damaged shows itself to the next statement here.
        qWarning("learning memory: %s failed: %s", qPrintable(wynik.Gdzie), qPrintable(wynik.Blad.text()));
        return;
    }
    if (wynik.Dopasowano && otwarta_ && WczytajParametry() && wynik.Zmiana && !zamykanie)
        emit zapisano();
}

void Pamiec::MozeDopasuj()
{
    const QDateTime teraz = zegar_();
    if (!otwarta_ || zamykana_ || praca_.valid() || teraz.date() == sprawdzonoDnia_)
        return;
    sprawdzonoDnia_ = teraz.date();
    const qint64 dzis = teraz.date().toJulianDay();
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.setForwardOnly(true);
    // At most once a day, and only once there is enough to fit to (counting stops there).
    q.prepare(QStringLiteral("SELECT (SELECT wartosc FROM ustawienia WHERE klucz = ?), "
                             "(SELECT COUNT(*) FROM (SELECT 1 FROM odpowiedzi WHERE liczy = 1 LIMIT ?))"));
    q.addBindValue(QString::fromLatin1(KluczDniaDopasowania));
    q.addBindValue(NajmniejDoPracy);
    if (!q.exec() || !q.next() || q.value(0).toString() == QString::number(dzis) ||
        q.value(1).toInt() < NajmniejDoPracy)
        return;
    q.finish();
    ZacznijPrace(Praca::Dopasowanie, [this, plik = plik_, dzis] { return DopasujPlik(plik, dzis, zapis_, przerwij_); });
}

bool Pamiec::Uszkodzona(const QSqlError& blad) const
{
    const int kod = KodSqlite(blad);
    return kod == SqliteCorrupt || kod == SqliteNotADb;
}

bool Pamiec::Blad(const QString& gdzie, const QSqlError& blad)
{
    qWarning("learning memory: %s failed: %s", qPrintable(gdzie), qPrintable(blad.text()));
    // Another copy of the program holding the file for longer than the wait is no fault of the file: a read gives
    // nothing this time, and answers wait (see ZapiszCzekajace).
    if (Zajeta(blad) && otwarta_)
        return false;
    const bool uszkodzona = Uszkodzona(blad);
    Zamknij();
    // A damaged file is moved aside once and a new one started; a new file failing as well is not moved again.
    if (uszkodzona && !odlozona_ && OdlozUszkodzona()) {
        odlozona_ = true;
        if (OtworzPlik() && !zgloszona_) {
            zgloszona_ = true;
            emit awaria(OdlozonoUszkodzony(odlozonyJako_));
        }
        return false;
    }
    if (!zgloszona_) {
        zgloszona_ = true;
        emit awaria(nowsza_ ? Nowszy : NieZapisywane);
    }
    return false;
}

bool Pamiec::OdlozUszkodzona()
{
    // A damaged file set aside before may hold a year of answers: it is never overwritten. The first one takes the
    // plain name, later ones a number one higher than any before, and only the newest few are kept.
    const QFileInfo info(plik_);
    const QDir folder = info.absoluteDir();
    const QString wzor = info.fileName() + QStringLiteral(".uszkodzony");
    const auto numer = [&wzor](const QString& nazwa) {
        bool ok = false;
        const int n = nazwa == wzor ? 1 : nazwa.mid(wzor.size() + 1).toInt(&ok);
        return nazwa == wzor || (ok && n > 1) ? n : 0;
    };
    const auto odlozone = [&] {
        QStringList nazwy;
        for (const QString& n : folder.entryList({wzor, wzor + QStringLiteral("-*")}, QDir::Files | QDir::System)) {
            if (numer(n) > 0)
                nazwy << n;
        }
        std::sort(nazwy.begin(), nazwy.end(), [&](const QString& a, const QString& b) { return numer(a) < numer(b); });
        return nazwy;
    };
    const QStringList przed = odlozone();
    const QString nazwa = przed.isEmpty() ? wzor : wzor + QLatin1Char('-') + QString::number(numer(przed.last()) + 1);
    if (!QFile::rename(plik_, folder.filePath(nazwa)))
        return false;
    odlozonyJako_ = nazwa;
    const QStringList wszystkie = odlozone();
    for (qsizetype i = 0; i + NajwiecejOdlozonych < wszystkie.size(); ++i) {
        if (wszystkie[i] != nazwa)
            QFile::remove(folder.filePath(wszystkie[i]));
    }
    // The journal files belong to the damaged file; left beside a new one they would be read into it.
    QFile::remove(plik_ + QStringLiteral("-wal"));
    QFile::remove(plik_ + QStringLiteral("-shm"));
    return true;
}

void Pamiec::NowaRunda(const std::string& plik)
{
    plikRundy_ = plik;
    powtorka_ = false;
    policzone_.clear();
    plikiPowtorki_.clear();
}

bool Pamiec::WczytajPowtorke(Zestaw& d)
{
    const auto wpisy = DoPowtorki();
    if (wpisy.empty())
        return false;
    NowaRunda({});
    powtorka_ = true;
    d.Wyrazy.clear();
    for (const auto& w : wpisy) {
        d.Wyrazy.push_back({w.Polski, w.Angielski, false});
        plikiPowtorki_.insert(Klucz(w.Angielski, w.Polski), w.Plik);
    }
    d.NaglowekWyraz = *DoCp1250(QStringLiteral("Angielskie słowo"));
    d.NaglowekOznacza = *DoCp1250(QStringLiteral("Polskie znaczenie"));
    return true;
}

bool Pamiec::WpisRundy(const std::string& angielski, const std::string& polski, WpisPamieci& wpis) const
{
    if (powtorka_) {
        const auto it = plikiPowtorki_.constFind(Klucz(angielski, polski));
        if (it == plikiPowtorki_.constEnd())
            return false;
        wpis = {*it, angielski, polski};
        return true;
    }
    if (plikRundy_.empty())
        return false;
    wpis = {plikRundy_, angielski, polski};
    return true;
}

bool Pamiec::Zapisz(const std::string& angielski, const std::string& polski, int strona, int kierunek, bool dobrze)
{
    return Zapisz(angielski, polski, strona, kierunek, Ocena(OcenaOdpowiedzi(dobrze)));
}

bool Pamiec::Zapisz(const std::string& angielski, const std::string& polski, int strona, int kierunek, Ocena ocena)
{
    WpisPamieci wpis;
    return WpisRundy(angielski, polski, wpis) && Zapisz(wpis, strona, kierunek, ocena);
}

bool Pamiec::Zapisz(const WpisPamieci& wpis, int strona, int kierunek, bool dobrze)
{
    return Zapisz(wpis, strona, kierunek, Ocena(OcenaOdpowiedzi(dobrze)));
}

bool Pamiec::Zapisz(const WpisPamieci& wpis, int strona, int kierunek, Ocena ocena)
{
    if (ocena < OcenaNie || ocena > OcenaLatwe)
        return false;
    if (czeka_) {
        czeka_ = false;
        OtworzPlik();
    }
    if (!otwarta_ && !przenoszona_)
        return false;
    const QByteArray klucz = Klucz(wpis.Plik, wpis.Angielski, wpis.Polski);
    // Only the first answer to an entry in a round moves its state.
    czekajace_.push_back({wpis, strona, kierunek, ocena, !policzone_.contains(klucz), zegar_()});
    policzone_.insert(klucz);
    // During a migration the answers wait for its end.
    return przenoszona_ || ZapiszCzekajace();
}

bool Pamiec::Cwiczony(const std::string& plik)
{
    if (!otwarta_)
        return false;
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.prepare(QStringLiteral("SELECT 1 FROM zestawy WHERE plik = ?"));
    q.addBindValue(DoBazy(plik));
    return q.exec() && q.next();
}

bool Pamiec::Uznaj(const std::string& angielski, const std::string& polski)
{
    WpisPamieci wpis;
    if (!WpisRundy(angielski, polski, wpis))
        return false;
    // Not written yet (another copy of the program holds the file, or the file is being moved): mended in the queue.
    for (auto c = czekajace_.rbegin(); c != czekajace_.rend(); ++c) {
        if (c->Wpis.Plik == wpis.Plik && c->Wpis.Angielski == wpis.Angielski && c->Wpis.Polski == wpis.Polski) {
            if (c->Ocena != OcenaNie)
                return false;
            c->Ocena = OcenaDobrze;
            return true;
        }
    }
    if (!otwarta_)
        return false;
    std::unique_lock<std::mutex> blokada(zapis_, std::try_to_lock);
    if (!blokada.owns_lock())
        return false;
    QSqlDatabase db = QSqlDatabase::database(nazwa_, false);
    QSqlQuery q(db);
    QSqlError blad;
    const auto przerwij = [&] {
        blad = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    bool uznane = false;
    const auto wTransakcji = [&] {
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            blad = q.lastError();
            return false;
        }
        q.prepare(QStringLiteral("SELECT o.id, o.dobrze, o.liczy, o.dzien, w.id FROM odpowiedzi o "
                                 "JOIN wpisy w ON w.id = o.wpis JOIN zestawy z ON z.id = w.zestaw "
                                 "WHERE z.plik = ? AND w.angielski = ? AND w.polski = ? ORDER BY o.id DESC LIMIT 1"));
        for (const QVariant& v : {DoBazy(wpis.Plik), DoBazy(wpis.Angielski), DoBazy(wpis.Polski)})
            q.addBindValue(v);
        if (!q.exec())
            return przerwij();
        if (!q.next() || q.value(1).toInt() != 0) {
            q.finish();
            q.exec(QStringLiteral("ROLLBACK"));
            return true; // nothing wrong to turn
        }
        const qint64 odpowiedz = q.value(0).toLongLong();
        const bool liczy = q.value(2).toInt() != 0;
        const qint64 dzien = q.value(3).toLongLong();
        const qint64 id = q.value(4).toLongLong();
        q.finish();
        q.prepare(QStringLiteral("UPDATE odpowiedzi SET dobrze = 1, ocena = ? WHERE id = ?"));
        q.addBindValue(int(OcenaDobrze));
        q.addBindValue(odpowiedz);
        if (!q.exec())
            return przerwij();
        // The entry's state replayed from its counted answers, the turned one right now.
        std::vector<Odpowiedz> log;
        q.prepare(QStringLiteral("SELECT czas, dzien, ocena FROM odpowiedzi WHERE wpis = ? AND liczy = 1 "
                                 "ORDER BY czas, id"));
        q.addBindValue(id);
        if (!q.exec())
            return przerwij();
        while (q.next())
            log.push_back({q.value(0).toLongLong(), q.value(1).toLongLong(), Ocena(q.value(2).toInt())});
        std::vector<double> przewidywania;
        const StanFsrs stan = Odtworz(parametry_, log, &przewidywania);
        q.prepare(QStringLiteral("UPDATE wpisy SET stabilnosc = ?, trudnosc = ?, ostatnia = ?, dzien = ?, "
                                 "termin = ?, powtorki = ?, pomylki = ?, bledy = MAX(bledy - 1, 0) WHERE id = ?"));
        for (const QVariant& v : {QVariant(stan.S), QVariant(stan.D), QVariant(qint64(stan.OstatniCzas)),
                                  QVariant(qint64(stan.OstatniDzien)), QVariant(qint64(Termin(parametry_, stan))),
                                  QVariant(stan.Odpowiedzi), QVariant(stan.Pomylki), QVariant(id)})
            q.addBindValue(v);
        if (!q.exec())
            return przerwij();
        // The day's predicted answers counted this one wrong.
        if (liczy && !przewidywania.empty() && przewidywania.back() >= 0.0) {
            q.prepare(QStringLiteral("UPDATE przewidywania SET poprawne = poprawne + 1 WHERE dzien = ?"));
            q.addBindValue(dzien);
            if (!q.exec())
                return przerwij();
        }
        if (!q.exec(QStringLiteral("COMMIT")))
            return przerwij();
        uznane = true;
        return true;
    };
    if (!wTransakcji()) {
        if (!Zajeta(blad)) {
            q = QSqlQuery();
            blokada.unlock();
            Blad(QStringLiteral("accept"), blad);
        }
        return false;
    }
    if (uznane)
        emit zapisano();
    return uznane;
}

qint64 Pamiec::IdZestawu(const std::string& plik)
{
    const QByteArray nazwa = Bajty(plik);
    if (const auto it = zestawy_.constFind(nazwa); it != zestawy_.constEnd())
        return *it;
    const QVariant wartosc = DoBazy(plik);
    z_->zestaw.addBindValue(wartosc);
    if (!z_->zestaw.exec())
        return -1;
    qint64 id = -1;
    if (z_->zestaw.next()) {
        id = z_->zestaw.value(0).toLongLong();
    } else {
        z_->zestaw.finish();
        z_->nowyZestaw.addBindValue(wartosc);
        if (!z_->nowyZestaw.exec())
            return -1;
        id = z_->nowyZestaw.lastInsertId().toLongLong();
    }
    z_->zestaw.finish();
    return id;
}

bool Pamiec::ZapiszCzekajace()
{
    while (otwarta_ && !czekajace_.empty()) {
        QSqlError blad;
        if (!ZapiszWTransakcji(czekajace_.front(), blad)) {
            zestawy_.clear(); // ids made inside a rolled-back transaction are gone
            if (Zajeta(blad)) {
                // Another copy of the program (or this one's worker) is writing: the answers wait in order and are
                // written shortly.
                if (!ponowienie_) {
                    ponowienie_ = new QTimer(this);
                    ponowienie_->setSingleShot(true);
                    ponowienie_->setInterval(PonowienieMs);
                    connect(ponowienie_, &QTimer::timeout, this, &Pamiec::ZapiszCzekajace);
                }
                ponowienie_->start();
                return true;
            }
            czekajace_.clear();
            return Blad(QStringLiteral("save"), blad);
        }
        czekajace_.pop_front();
        emit zapisano();
    }
    // A learner who keeps the program open past midnight gets the day's fit too.
    MozeDopasuj();
    return otwarta_;
}

bool Pamiec::ZapiszWTransakcji(const Czekajaca& c, QSqlError& blad)
{
    // The worker writing (a fit's new states) would keep this thread waiting; the answer waits instead.
    std::unique_lock<std::mutex> blokada(zapis_, std::try_to_lock);
    if (!blokada.owns_lock()) {
        blad = ZajetaPrzezPrace();
        return false;
    }
    const WpisPamieci& wpis = c.Wpis;
    QSqlDatabase db = QSqlDatabase::database(nazwa_, false);
    const qint64 dzien = c.Kiedy.date().toJulianDay();
    const qint64 czas = c.Kiedy.toMSecsSinceEpoch();
    QSqlQuery& t = z_->transakcja;
    const auto przerwij = [&](const QSqlQuery& q) {
        blad = q.lastError().isValid() ? q.lastError() : db.lastError();
        t.exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    // Taken for writing at once: a read turned into a write later could meet another copy's write and fail at once
    // instead of waiting for it.
    if (!t.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        blad = t.lastError();
        return false;
    }
    // The weights in use, as the file has them now: another copy of the program, or this one's fit, may have
    // replayed every state with new ones.
    QSqlQuery& p = z_->parametry;
    p.addBindValue(QString::fromLatin1(KluczParametrow));
    if (!p.exec())
        return przerwij(p);
    const QString tekst = p.next() ? p.value(0).toString() : QString();
    p.finish();
    if (tekst != tekstParametrow_ && !WczytajParametry())
        return przerwij(p);
    const qint64 zestaw = IdZestawu(wpis.Plik);
    if (zestaw < 0)
        return przerwij(z_->nowyZestaw.lastError().isValid() ? z_->nowyZestaw : z_->zestaw);
    const QVariant angielski = DoBazy(wpis.Angielski);
    const QVariant polski = DoBazy(wpis.Polski);
    QSqlQuery& w = z_->wpis;
    w.addBindValue(zestaw);
    w.addBindValue(angielski);
    w.addBindValue(polski);
    if (!w.exec())
        return przerwij(w);
    qint64 id = -1;
    StanFsrs stan;
    if (w.next()) {
        id = w.value(0).toLongLong();
        stan = StanZWiersza(w, 1);
    }
    w.finish();
    // An entry's first answer always counts, even when an earlier one of the round was lost.
    const bool liczy = c.Liczy || id < 0 || stan.Nowy();
    double przewidziane = -1.0;
    if (liczy)
        stan = Powtorz(parametry_, stan, {czas, dzien, c.Ocena}, &przewidziane);
    const bool dobrze = c.Ocena > OcenaNie;
    const QVariant wartosciStanu[] = {QVariant(stan.S),
                                      QVariant(stan.D),
                                      QVariant(qint64(stan.OstatniCzas)),
                                      QVariant(qint64(stan.OstatniDzien)),
                                      QVariant(qint64(Termin(parametry_, stan))),
                                      QVariant(stan.Odpowiedzi),
                                      QVariant(stan.Pomylki)};
    if (id < 0) {
        QSqlQuery& n = z_->nowyWpis;
        for (const QVariant& v : {QVariant(zestaw), angielski, polski})
            n.addBindValue(v);
        for (const QVariant& v : wartosciStanu)
            n.addBindValue(v);
        n.addBindValue(dobrze ? 0 : 1);
        if (!n.exec())
            return przerwij(n);
        id = n.lastInsertId().toLongLong();
    } else {
        QSqlQuery& u = z_->zmianaWpisu;
        for (const QVariant& v : wartosciStanu)
            u.addBindValue(v);
        u.addBindValue(dobrze ? 0 : 1);
        u.addBindValue(id);
        if (!u.exec())
            return przerwij(u);
    }
    QSqlQuery& o = z_->odpowiedz;
    for (const QVariant& v : {QVariant(id), QVariant(czas), QVariant(dzien), QVariant(c.Strona), QVariant(c.Kierunek),
                              QVariant(dobrze ? 1 : 0), QVariant(c.Ocena), QVariant(liczy ? 1 : 0)})
        o.addBindValue(v);
    if (!o.exec())
        return przerwij(o);
    if (przewidziane >= 0.0) {
        QSqlQuery& r = z_->przewidywanie;
        for (const QVariant& v : {QVariant(dzien), QVariant(dobrze ? 1 : 0), QVariant(przewidziane)})
            r.addBindValue(v);
        if (!r.exec())
            return przerwij(r);
    }
    if (!t.exec(QStringLiteral("COMMIT")))
        return przerwij(t);
    zestawy_.insert(Bajty(wpis.Plik), zestaw);
    return true;
}

std::vector<WpisPamieci> Pamiec::DoPowtorki(int limit)
{
    std::vector<WpisPamieci> wynik;
    if (!otwarta_)
        return wynik;
    const qint64 teraz = zegar_().toMSecsSinceEpoch();
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.setForwardOnly(true);
    // Predicted recall falls with the time since the last answer over the stability, whatever the weights, so
    // ordering by that ratio puts the lowest recall first.
    q.prepare(QStringLiteral("SELECT z.plik, w.angielski, w.polski FROM wpisy w JOIN zestawy z ON z.id = w.zestaw "
                             "WHERE w.termin <= ? ORDER BY (? - w.ostatnia) / w.stabilnosc DESC, w.id LIMIT ?"));
    q.addBindValue(teraz);
    q.addBindValue(double(teraz));
    q.addBindValue(limit);
    if (!q.exec()) {
        const QSqlError blad = q.lastError();
        q = QSqlQuery();
        Blad(QStringLiteral("due"), blad);
        return wynik;
    }
    while (q.next()) {
        // A text no data file can hold (written by another tool) could never be answered.
        auto plik = ZBazy(q.value(0)), angielski = ZBazy(q.value(1)), polski = ZBazy(q.value(2));
        if (plik && angielski && polski)
            wynik.push_back({std::move(*plik), std::move(*angielski), std::move(*polski)});
    }
    return wynik;
}

int Pamiec::LiczbaDoPowtorki()
{
    if (!otwarta_)
        return 0;
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM wpisy WHERE termin <= ? LIMIT ?)"));
    q.addBindValue(zegar_().toMSecsSinceEpoch());
    q.addBindValue(NajwiecejPowtorek);
    if (!q.exec() || !q.next()) {
        const QSqlError blad = q.lastError();
        q = QSqlQuery();
        Blad(QStringLiteral("due"), blad);
        return 0;
    }
    return q.value(0).toInt();
}

StanFsrs Pamiec::Stan(const WpisPamieci& wpis)
{
    if (!otwarta_)
        return {};
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.prepare(QStringLiteral("SELECT w.stabilnosc, w.trudnosc, w.ostatnia, w.dzien, w.powtorki, w.pomylki "
                             "FROM wpisy w JOIN zestawy z ON z.id = w.zestaw "
                             "WHERE z.plik = ? AND w.angielski = ? AND w.polski = ?"));
    q.addBindValue(DoBazy(wpis.Plik));
    q.addBindValue(DoBazy(wpis.Angielski));
    q.addBindValue(DoBazy(wpis.Polski));
    return q.exec() && q.next() ? StanZWiersza(q, 0) : StanFsrs{};
}

std::vector<std::string> Pamiec::OpanowaneAngielskie()
{
    std::vector<std::string> wynik;
    if (!otwarta_)
        return wynik;
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT DISTINCT angielski FROM wpisy WHERE powtorki > 0 AND stabilnosc >= ?"));
    q.addBindValue(ProgOpanowania);
    if (!q.exec())
        return wynik; // the list then leaves nothing out; the next answer reports a file that went wrong
    while (q.next()) {
        if (auto angielski = ZBazy(q.value(0)))
            wynik.push_back(std::move(*angielski));
    }
    return wynik;
}

std::array<std::int64_t, 4> Pamiec::OdstepyOcen(const std::string& angielski, const std::string& polski)
{
    WpisPamieci wpis;
    if (!WpisRundy(angielski, polski, wpis))
        wpis = {plikRundy_, angielski, polski};
    return OdstepyOcen(wpis);
}

std::array<std::int64_t, 4> Pamiec::OdstepyOcen(const WpisPamieci& wpis)
{
    const QDateTime teraz = zegar_();
    const qint64 ms = teraz.toMSecsSinceEpoch();
    const StanFsrs stan = Stan(wpis);
    if (!stan.Nowy() && policzone_.contains(Klucz(wpis.Plik, wpis.Angielski, wpis.Polski))) {
        const std::int64_t zostaje = std::max<std::int64_t>(0, Termin(parametry_, stan) - ms);
        return {zostaje, zostaje, zostaje, zostaje};
    }
    return vokara::OdstepyOcen(parametry_, stan, ms, teraz.date().toJulianDay());
}

std::shared_ptr<const QHash<QByteArray, int>> Pamiec::WpisyPliku(const Dane& d, const std::string& plik)
{
    const QFileInfo info(QString::fromStdString(d.SciezkaDanych(plik).string()));
    Plik& p = pliki_[info.filePath()];
    if (p.Wpisy && p.Rozmiar == info.size() && p.Zmieniony == info.lastModified())
        return p.Wpisy;
    // Read the way a set is loaded: the header skipped, each line split at its first '*', fields kept from the line
    // before when a line is empty.
    auto wpisy = std::make_shared<QHash<QByteArray, int>>();
    std::vector<std::string> linie;
    if (info.isFile() && WczytajLinie(d.SciezkaDanych(plik), linie)) {
        std::string angielski, polski;
        for (std::size_t i = 1; i < linie.size(); ++i) {
            Rozdziel(linie[i], angielski, polski);
            ++(*wpisy)[KluczWpisu(Bajty(angielski), Bajty(polski))];
        }
    }
    p = Plik{info.lastModified(), info.size(), wpisy};
    return wpisy;
}

std::vector<ZnajomoscZestawu> Pamiec::Znajomosc(const Dane& d, const std::vector<std::string>& pliki)
{
    std::vector<ZnajomoscZestawu> wynik(pliki.size());
    if (!otwarta_)
        return wynik;
    QSqlError blad;
    {
        QSqlQuery q(QSqlDatabase::database(nazwa_, false));
        q.setForwardOnly(true);
        // A set has a row once any of its entries was answered.
        QHash<qint64, std::size_t> zestawy;
        std::vector<std::shared_ptr<const QHash<QByteArray, int>>> wpisy(pliki.size());
        QHash<QByteArray, std::size_t> indeksy;
        for (std::size_t i = 0; i < pliki.size(); ++i)
            indeksy.insert(Bajty(pliki[i]), i);
        if (!q.exec(QStringLiteral("SELECT id, plik FROM zestawy"))) {
            blad = q.lastError();
        } else {
            while (q.next()) {
                const auto plik = ZBazy(q.value(1));
                const auto it = plik ? indeksy.constFind(Bajty(*plik)) : indeksy.constEnd();
                if (it == indeksy.constEnd())
                    continue;
                zestawy.insert(q.value(0).toLongLong(), *it);
                ZnajomoscZestawu& z = wynik[*it];
                z.Cwiczony = true;
                wpisy[*it] = WpisyPliku(d, pliki[*it]);
                for (int n : *wpisy[*it])
                    z.Wszystkie += n;
            }
            if (!q.exec(QStringLiteral("SELECT zestaw, angielski, polski, stabilnosc, powtorki FROM wpisy")))
                blad = q.lastError();
            std::vector<int> odpowiedziane(pliki.size());
            while (blad.type() == QSqlError::NoError && q.next()) {
                const auto it = zestawy.constFind(q.value(0).toLongLong());
                if (it == zestawy.constEnd())
                    continue;
                const auto angielski = ZBazy(q.value(1)), polski = ZBazy(q.value(2));
                if (!angielski || !polski)
                    continue;
                // Only the entries the file holds now count: an entry edited away keeps its history but not its place.
                const int n = wpisy[*it]->value(KluczWpisu(Bajty(*angielski), Bajty(*polski)));
                if (n == 0)
                    continue;
                StanFsrs stan;
                stan.S = q.value(3).toDouble();
                stan.Odpowiedzi = q.value(4).toInt();
                if (stan.Nowy())
                    continue; // counted with the entries never answered, below
                wynik[*it].Etapy[std::size_t(EtapWpisu(stan))] += n;
                odpowiedziane[*it] += n;
            }
            for (std::size_t i = 0; i < wynik.size(); ++i)
                wynik[i].Etapy[std::size_t(Etap::Nowe)] = std::max(0, wynik[i].Wszystkie - odpowiedziane[i]);
        }
    }
    if (blad.type() != QSqlError::NoError)
        Blad(QStringLiteral("progress"), blad);
    return wynik;
}

Statystyki Pamiec::Zbierz(int najwiecejBledow)
{
    Statystyki s;
    const QDateTime teraz = zegar_();
    const qint64 dzis = teraz.date().toJulianDay();
    for (qint64 d = dzis - 29; d <= dzis; ++d)
        s.Dni.push_back({QDate::fromJulianDay(d), 0, 0});
    s.Terminy.assign(DniTerminow, 0);
    if (!otwarta_)
        return s;
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT dzien, dobrze, COUNT(*) FROM odpowiedzi WHERE dzien BETWEEN ? AND ? GROUP BY dzien, dobrze"));
    q.addBindValue(dzis - 29);
    q.addBindValue(dzis);
    if (!q.exec()) {
        const QSqlError blad = q.lastError();
        q = QSqlQuery();
        Blad(QStringLiteral("statistics"), blad);
        return s;
    }
    while (q.next()) {
        auto& dzien = s.Dni[std::size_t(q.value(0).toLongLong() - (dzis - 29))];
        (q.value(1).toInt() ? dzien.Dobrze : dzien.Zle) += q.value(2).toInt();
    }
    if (q.exec(QStringLiteral("SELECT SUM(odpowiedzi), SUM(bledy) FROM wpisy")) && q.next()) {
        s.Odpowiedzi = q.value(0).toInt();
        s.Poprawne = s.Odpowiedzi - q.value(1).toInt();
    }
    // The reviews ahead by the local calendar day they fall on; the first day takes those overdue as well.
    std::vector<qint64> granice; // the start of each day after today, in ms
    for (int d = 1; d <= DniTerminow; ++d)
        granice.push_back(QDateTime(teraz.date().addDays(d), QTime(0, 0)).toMSecsSinceEpoch());
    q.prepare(QStringLiteral("SELECT termin FROM wpisy WHERE termin < ?"));
    q.addBindValue(granice.back());
    if (q.exec()) {
        while (q.next()) {
            const auto dzien = std::upper_bound(granice.begin(), granice.end(), q.value(0).toLongLong());
            ++s.Terminy[std::size_t(dzien - granice.begin())];
        }
    }
    q.prepare(QStringLiteral("SELECT SUM(odpowiedzi), SUM(poprawne), SUM(suma) FROM przewidywania "
                             "WHERE dzien BETWEEN ? AND ?"));
    q.addBindValue(dzis - 29);
    q.addBindValue(dzis);
    if (q.exec() && q.next()) {
        s.Przewidziane = q.value(0).toInt();
        s.Trafione = q.value(1).toInt();
        s.SumaPrzewidywan = q.value(2).toDouble();
    }
    // Days in a row: today counts when practised, otherwise the run may still end yesterday.
    QSqlQuery dzien(QSqlDatabase::database(nazwa_, false));
    dzien.prepare(QStringLiteral("SELECT 1 FROM odpowiedzi WHERE dzien = ? LIMIT 1"));
    const auto byl = [&](qint64 d) {
        dzien.addBindValue(d);
        const bool jest = dzien.exec() && dzien.next();
        dzien.finish();
        return jest;
    };
    qint64 d = byl(dzis) ? dzis : dzis - 1;
    while (byl(d)) {
        ++s.DniZRzedu;
        --d;
    }
    q.prepare(QStringLiteral("SELECT z.plik, w.angielski, w.polski, w.bledy, w.odpowiedzi FROM wpisy w "
                             "JOIN zestawy z ON z.id = w.zestaw WHERE w.bledy > 0 "
                             "ORDER BY w.bledy DESC, w.odpowiedzi, w.ostatnia DESC LIMIT ?"));
    q.addBindValue(najwiecejBledow);
    if (q.exec()) {
        while (q.next()) {
            auto plik = ZBazy(q.value(0)), angielski = ZBazy(q.value(1)), polski = ZBazy(q.value(2));
            if (plik && angielski && polski)
                s.Bledy.push_back({{std::move(*plik), std::move(*angielski), std::move(*polski)},
                                   q.value(3).toInt(),
                                   q.value(4).toInt()});
        }
    }
    return s;
}

} // namespace vokara
