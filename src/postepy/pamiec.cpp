// The learning memory on SQLite: one named connection, WAL, a versioned schema, one short transaction per answer.
#include "pamiec.h"

#include "tekst.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

#include <algorithm>

namespace vokara {

namespace {

// The schema this program writes. Each step moves a file one version up; a file from a newer program is left alone.
constexpr int WersjaBazy = 1;

const char* const KrokiMigracji[WersjaBazy][5] = {
    // 0 -> 1: sets by file name, entries by their texts with their box, and every answer.
    {"CREATE TABLE zestawy(id INTEGER PRIMARY KEY, plik BLOB NOT NULL UNIQUE)",
     "CREATE TABLE wpisy(id INTEGER PRIMARY KEY, zestaw INTEGER NOT NULL REFERENCES zestawy(id), "
     "angielski BLOB NOT NULL, polski BLOB NOT NULL, pudelko INTEGER NOT NULL, ostatnia INTEGER NOT NULL, "
     "termin INTEGER NOT NULL, odpowiedzi INTEGER NOT NULL, bledy INTEGER NOT NULL, "
     "UNIQUE(zestaw, angielski, polski))",
     "CREATE INDEX wpisy_termin ON wpisy(termin, ostatnia)",
     "CREATE TABLE odpowiedzi(id INTEGER PRIMARY KEY, wpis INTEGER NOT NULL REFERENCES wpisy(id), "
     "czas INTEGER NOT NULL, dzien INTEGER NOT NULL, strona INTEGER NOT NULL, kierunek INTEGER NOT NULL, "
     "dobrze INTEGER NOT NULL)",
     "CREATE INDEX odpowiedzi_dzien ON odpowiedzi(dzien, dobrze)"},
};

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

// How long a statement waits for another copy of the program to finish its write. Writes are one short transaction,
// so this is plenty; anything longer is left to the retry timer rather than kept waiting on the window thread.
constexpr int CzekanieNaBaze = 250;
constexpr int PonowienieMs = 200;

QByteArray Bajty(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

std::string Tekst(const QVariant& v)
{
    return v.toByteArray().toStdString();
}

// A key that no two different (file, English, Polish) triples share: every part carries its length.
QByteArray Klucz(const std::string& a, const std::string& b, const std::string& c = {})
{
    QByteArray k;
    for (const std::string* s : {&a, &b, &c})
        k += QByteArray::number(qulonglong(s->size())) + ':' + Bajty(*s);
    return k;
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

int NowePudelko(int pudelko, bool dobrze)
{
    if (!dobrze)
        return 1;
    return std::clamp(pudelko + 1, 1, NajwyzszePudelko);
}

int DniDoPowtorki(int pudelko)
{
    static constexpr int dni[NajwyzszePudelko] = {0, 1, 3, 7, 14};
    return dni[std::clamp(pudelko, 1, NajwyzszePudelko) - 1];
}

// The statements of the hot path, prepared once per opened file.
struct Pamiec::Zapytania {
    explicit Zapytania(const QSqlDatabase& db)
        : transakcja(db), zestaw(db), nowyZestaw(db), wpis(db), nowyWpis(db), zmianaWpisu(db), odpowiedz(db)
    {
    }
    QSqlQuery transakcja, zestaw, nowyZestaw, wpis, nowyWpis, zmianaWpisu, odpowiedz;
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
    if (SprobujOtworzyc(gdzie, blad))
        return true;
    return Blad(gdzie, blad);
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
    for (int w = wersja; w < WersjaBazy; ++w) {
        gdzie = QStringLiteral("migrate");
        // Taken for writing at once, and the version read again inside: another copy of the program may have
        // migrated the file in the meantime.
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            blad = q.lastError();
            return false;
        }
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
            blad = q.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        const bool zrobione = q.value(0).toInt() > w;
        q.finish();
        for (const char* polecenie : KrokiMigracji[w]) {
            if (!zrobione && polecenie && !q.exec(QString::fromLatin1(polecenie))) {
                blad = q.lastError();
                q.exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
        if ((!zrobione && !q.exec(QStringLiteral("PRAGMA user_version=%1").arg(w + 1))) ||
            !q.exec(QStringLiteral("COMMIT"))) {
            blad = q.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    z_ = std::make_unique<Zapytania>(db);
    const bool ok =
        z_->zestaw.prepare(QStringLiteral("SELECT id FROM zestawy WHERE plik = ?")) &&
        z_->nowyZestaw.prepare(QStringLiteral("INSERT INTO zestawy(plik) VALUES(?)")) &&
        z_->wpis.prepare(
            QStringLiteral("SELECT id, pudelko FROM wpisy WHERE zestaw = ? AND angielski = ? AND polski = ?")) &&
        z_->nowyWpis.prepare(
            QStringLiteral("INSERT INTO wpisy(zestaw, angielski, polski, pudelko, ostatnia, termin, odpowiedzi, "
                           "bledy) VALUES(?, ?, ?, ?, ?, ?, 1, ?)")) &&
        z_->zmianaWpisu.prepare(
            QStringLiteral("UPDATE wpisy SET pudelko = ?, ostatnia = ?, termin = ?, odpowiedzi = odpowiedzi + 1, "
                           "bledy = bledy + ? WHERE id = ?")) &&
        z_->odpowiedz.prepare(QStringLiteral(
            "INSERT INTO odpowiedzi(wpis, czas, dzien, strona, kierunek, dobrze) VALUES(?, ?, ?, ?, ?, ?)"));
    if (!ok) {
        gdzie = QStringLiteral("prepare");
        blad = db.lastError();
        z_.reset();
        return false;
    }
    z_->zestaw.setForwardOnly(true);
    z_->wpis.setForwardOnly(true);
    otwarta_ = true;
    return true;
}

void Pamiec::Zamknij()
{
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
    if (QSqlDatabase::contains(nazwa_)) {
        QSqlDatabase::database(nazwa_, false).close();
        QSqlDatabase::removeDatabase(nazwa_);
    }
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

bool Pamiec::Zapisz(const std::string& angielski, const std::string& polski, int strona, int kierunek, bool dobrze)
{
    if (powtorka_) {
        const auto it = plikiPowtorki_.constFind(Klucz(angielski, polski));
        if (it == plikiPowtorki_.constEnd())
            return false;
        return Zapisz(WpisPamieci{*it, angielski, polski}, strona, kierunek, dobrze);
    }
    if (plikRundy_.empty())
        return false;
    return Zapisz(WpisPamieci{plikRundy_, angielski, polski}, strona, kierunek, dobrze);
}

qint64 Pamiec::IdZestawu(const std::string& plik)
{
    const QByteArray nazwa = Bajty(plik);
    if (const auto it = zestawy_.constFind(nazwa); it != zestawy_.constEnd())
        return *it;
    z_->zestaw.addBindValue(nazwa);
    if (!z_->zestaw.exec())
        return -1;
    qint64 id = -1;
    if (z_->zestaw.next()) {
        id = z_->zestaw.value(0).toLongLong();
    } else {
        z_->zestaw.finish();
        z_->nowyZestaw.addBindValue(nazwa);
        if (!z_->nowyZestaw.exec())
            return -1;
        id = z_->nowyZestaw.lastInsertId().toLongLong();
    }
    z_->zestaw.finish();
    return id;
}

bool Pamiec::Zapisz(const WpisPamieci& wpis, int strona, int kierunek, bool dobrze)
{
    if (czeka_) {
        czeka_ = false;
        OtworzPlik();
    }
    if (!otwarta_)
        return false;
    const QByteArray klucz = Klucz(wpis.Plik, wpis.Angielski, wpis.Polski);
    // Only the first answer to an entry in a round moves its box.
    czekajace_.push_back({wpis, strona, kierunek, dobrze, !policzone_.contains(klucz), zegar_()});
    policzone_.insert(klucz);
    return ZapiszCzekajace();
}

bool Pamiec::ZapiszCzekajace()
{
    while (otwarta_ && !czekajace_.empty()) {
        QSqlError blad;
        if (!ZapiszWTransakcji(czekajace_.front(), blad)) {
            zestawy_.clear(); // ids made inside a rolled-back transaction are gone
            if (Zajeta(blad)) {
                // Another copy of the program is writing: the answers wait in order and are written shortly.
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
    return otwarta_;
}

bool Pamiec::ZapiszWTransakcji(const Czekajaca& c, QSqlError& blad)
{
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
    const qint64 zestaw = IdZestawu(wpis.Plik);
    if (zestaw < 0)
        return przerwij(z_->nowyZestaw.lastError().isValid() ? z_->nowyZestaw : z_->zestaw);
    QSqlQuery& w = z_->wpis;
    w.addBindValue(zestaw);
    w.addBindValue(Bajty(wpis.Angielski));
    w.addBindValue(Bajty(wpis.Polski));
    if (!w.exec())
        return przerwij(w);
    qint64 id = -1;
    int pudelko = 1;
    if (w.next()) {
        id = w.value(0).toLongLong();
        pudelko = w.value(1).toInt();
    }
    w.finish();
    if (c.Liczy)
        pudelko = NowePudelko(pudelko, c.Dobrze);
    const qint64 termin = dzien + DniDoPowtorki(pudelko);
    if (id < 0) {
        QSqlQuery& n = z_->nowyWpis;
        for (const QVariant& v : {QVariant(zestaw), QVariant(Bajty(wpis.Angielski)), QVariant(Bajty(wpis.Polski)),
                                  QVariant(pudelko), QVariant(czas), QVariant(termin), QVariant(c.Dobrze ? 0 : 1)})
            n.addBindValue(v);
        if (!n.exec())
            return przerwij(n);
        id = n.lastInsertId().toLongLong();
    } else {
        QSqlQuery& u = z_->zmianaWpisu;
        for (const QVariant& v :
             {QVariant(pudelko), QVariant(czas), QVariant(termin), QVariant(c.Dobrze ? 0 : 1), QVariant(id)})
            u.addBindValue(v);
        if (!u.exec())
            return przerwij(u);
    }
    QSqlQuery& o = z_->odpowiedz;
    for (const QVariant& v : {QVariant(id), QVariant(czas), QVariant(dzien), QVariant(c.Strona), QVariant(c.Kierunek),
                              QVariant(c.Dobrze ? 1 : 0)})
        o.addBindValue(v);
    if (!o.exec())
        return przerwij(o);
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
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT z.plik, w.angielski, w.polski FROM wpisy w JOIN zestawy z ON z.id = w.zestaw "
                             "WHERE w.termin <= ? ORDER BY w.termin, w.ostatnia LIMIT ?"));
    q.addBindValue(zegar_().date().toJulianDay());
    q.addBindValue(limit);
    if (!q.exec()) {
        const QSqlError blad = q.lastError();
        q = QSqlQuery();
        Blad(QStringLiteral("due"), blad);
        return wynik;
    }
    while (q.next())
        wynik.push_back({Tekst(q.value(0)), Tekst(q.value(1)), Tekst(q.value(2))});
    return wynik;
}

int Pamiec::LiczbaDoPowtorki()
{
    if (!otwarta_)
        return 0;
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM wpisy WHERE termin <= ? LIMIT ?)"));
    q.addBindValue(zegar_().date().toJulianDay());
    q.addBindValue(NajwiecejPowtorek);
    if (!q.exec() || !q.next()) {
        const QSqlError blad = q.lastError();
        q = QSqlQuery();
        Blad(QStringLiteral("due"), blad);
        return 0;
    }
    return q.value(0).toInt();
}

int Pamiec::Pudelko(const WpisPamieci& wpis)
{
    if (!otwarta_)
        return 0;
    QSqlQuery q(QSqlDatabase::database(nazwa_, false));
    q.prepare(QStringLiteral("SELECT w.pudelko FROM wpisy w JOIN zestawy z ON z.id = w.zestaw "
                             "WHERE z.plik = ? AND w.angielski = ? AND w.polski = ?"));
    q.addBindValue(Bajty(wpis.Plik));
    q.addBindValue(Bajty(wpis.Angielski));
    q.addBindValue(Bajty(wpis.Polski));
    return q.exec() && q.next() ? q.value(0).toInt() : 0;
}

// An entry's two texts as one key. Data texts never hold a zero byte (it ends a file's text), so it can part them.
static QByteArray KluczWpisu(const QByteArray& angielski, const QByteArray& polski)
{
    return angielski + '\0' + polski;
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
                const auto it = indeksy.constFind(q.value(1).toByteArray());
                if (it == indeksy.constEnd())
                    continue;
                zestawy.insert(q.value(0).toLongLong(), *it);
                ZnajomoscZestawu& z = wynik[*it];
                z.Cwiczony = true;
                wpisy[*it] = WpisyPliku(d, pliki[*it]);
                for (int n : *wpisy[*it])
                    z.Wszystkie += n;
            }
            q.prepare(QStringLiteral("SELECT zestaw, angielski, polski FROM wpisy WHERE pudelko >= ?"));
            q.addBindValue(PudelkoZnane);
            if (!q.exec())
                blad = q.lastError();
            while (blad.type() == QSqlError::NoError && q.next()) {
                const auto it = zestawy.constFind(q.value(0).toLongLong());
                if (it == zestawy.constEnd())
                    continue;
                // Only the entries the file holds now count: an entry edited away keeps its history but not its place.
                wynik[*it].Znane += wpisy[*it]->value(KluczWpisu(q.value(1).toByteArray(), q.value(2).toByteArray()));
            }
        }
    }
    if (blad.type() != QSqlError::NoError)
        Blad(QStringLiteral("progress"), blad);
    return wynik;
}

Statystyki Pamiec::Zbierz(int najwiecejBledow)
{
    Statystyki s;
    const qint64 dzis = zegar_().date().toJulianDay();
    for (qint64 d = dzis - 29; d <= dzis; ++d)
        s.Dni.push_back({QDate::fromJulianDay(d), 0, 0});
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
    if (q.exec(QStringLiteral("SELECT pudelko, COUNT(*), SUM(odpowiedzi), SUM(bledy) FROM wpisy GROUP BY pudelko"))) {
        while (q.next()) {
            const int p = std::clamp(q.value(0).toInt(), 1, NajwyzszePudelko);
            s.Pudelka[p - 1] += q.value(1).toInt();
            s.Odpowiedzi += q.value(2).toInt();
            s.Poprawne += q.value(2).toInt() - q.value(3).toInt();
        }
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
        while (q.next())
            s.Bledy.push_back(
                {{Tekst(q.value(0)), Tekst(q.value(1)), Tekst(q.value(2))}, q.value(3).toInt(), q.value(4).toInt()});
    }
    return s;
}

} // namespace vokara
