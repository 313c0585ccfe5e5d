// The learning memory's schema steps, the move of a version 1 file with its copy, entry states replayed by FSRS-6,
// and the fit of the schedule, each on whatever connection the caller gives or on one of its own.
#include "schemat.h"

#include "kodowanie.h"
#include "tekst.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>

#include <algorithm>
#include <filesystem>
#include <map>
#include <unordered_map>

#include <unistd.h>

namespace vokara {

namespace {

// 0 -> 1: sets by file name, entries by their texts with their Leitner box, and every answer.
const char* const SchematWersji1[] = {
    "CREATE TABLE zestawy(id INTEGER PRIMARY KEY, plik BLOB NOT NULL UNIQUE)",
    "CREATE TABLE wpisy(id INTEGER PRIMARY KEY, zestaw INTEGER NOT NULL REFERENCES zestawy(id), "
    "angielski BLOB NOT NULL, polski BLOB NOT NULL, pudelko INTEGER NOT NULL, ostatnia INTEGER NOT NULL, "
    "termin INTEGER NOT NULL, odpowiedzi INTEGER NOT NULL, bledy INTEGER NOT NULL, "
    "UNIQUE(zestaw, angielski, polski))",
    "CREATE INDEX wpisy_termin ON wpisy(termin, ostatnia)",
    "CREATE TABLE odpowiedzi(id INTEGER PRIMARY KEY, wpis INTEGER NOT NULL REFERENCES wpisy(id), "
    "czas INTEGER NOT NULL, dzien INTEGER NOT NULL, strona INTEGER NOT NULL, kierunek INTEGER NOT NULL, "
    "dobrze INTEGER NOT NULL)",
    "CREATE INDEX odpowiedzi_dzien ON odpowiedzi(dzien, dobrze)",
};

// 1 -> 2, the tables written anew: texts as UTF-8, and each entry's FSRS state (stability in days, difficulty, its
// last counted answer's time in ms and Julian day, when it is due in ms, counted answers and lapses) beside the
// counts of all its answers and wrong ones, which the progress window shows.
const char* const TabeleWersji2[] = {
    "CREATE TABLE zestawy_nowe(id INTEGER PRIMARY KEY, plik TEXT NOT NULL UNIQUE)",
    "CREATE TABLE wpisy_nowe(id INTEGER PRIMARY KEY, zestaw INTEGER NOT NULL REFERENCES zestawy(id), "
    "angielski TEXT NOT NULL, polski TEXT NOT NULL, stabilnosc REAL NOT NULL, trudnosc REAL NOT NULL, "
    "ostatnia INTEGER NOT NULL, dzien INTEGER NOT NULL, termin INTEGER NOT NULL, powtorki INTEGER NOT NULL, "
    "pomylki INTEGER NOT NULL, odpowiedzi INTEGER NOT NULL, bledy INTEGER NOT NULL, "
    "UNIQUE(zestaw, angielski, polski))",
};
const char* const ZamianaWersji2[] = {
    "DROP TABLE wpisy",
    "DROP TABLE zestawy",
    "ALTER TABLE zestawy_nowe RENAME TO zestawy",
    "ALTER TABLE wpisy_nowe RENAME TO wpisy",
    "CREATE INDEX wpisy_termin ON wpisy(termin)",
    // The schedule's predictions per day: the counted answers it predicted (a day or more after the entry's
    // previous one), how many were right, and the sum of the recall it predicted for them.
    "CREATE TABLE przewidywania(dzien INTEGER PRIMARY KEY, odpowiedzi INTEGER NOT NULL, poprawne INTEGER NOT NULL, "
    "suma REAL NOT NULL)",
    "CREATE TABLE ustawienia(klucz TEXT PRIMARY KEY, wartosc TEXT NOT NULL)",
};

// How long a worker's statement waits for another copy of the program: its work is in the background, so it may
// wait much longer than the window's thread would.
constexpr int CzekanieWTle = 10000;

// A stored value as a key: its kind and its bytes, so a TEXT and a BLOB of the same bytes differ, as in SQLite.
QByteArray KluczWartosci(const QVariant& v)
{
    return v.typeId() == QMetaType::QByteArray ? 'B' + v.toByteArray() : 'T' + v.toString().toUtf8();
}

QSqlError Przerwano()
{
    return QSqlError(QString(), QStringLiteral("interrupted"), QSqlError::UnknownError);
}

// A connection of the calling thread's own, closed and removed when it goes.
class Polaczenie {
public:
    explicit Polaczenie(const QString& plik)
    {
        static std::atomic<int> licznik{0};
        nazwa_ = QStringLiteral("vokara-praca-%1").arg(++licznik);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nazwa_);
        db.setDatabaseName(plik);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(CzekanieWTle));
        if (db.open()) {
            QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        } else {
            blad_ = db.lastError();
        }
    }
    ~Polaczenie()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(nazwa_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(nazwa_);
    }
    Polaczenie(const Polaczenie&) = delete;
    Polaczenie& operator=(const Polaczenie&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(nazwa_, false); }
    const QSqlError& blad() const { return blad_; }

private:
    QString nazwa_;
    QSqlError blad_;
};

std::filesystem::path Sciezka(const QString& plik)
{
    return std::filesystem::path(QFile::encodeName(plik).toStdString());
}

bool Wykonaj(QSqlQuery& q, const char* polecenie, QSqlError& blad)
{
    if (q.exec(QString::fromLatin1(polecenie)))
        return true;
    blad = q.lastError();
    return false;
}

// One answer of a version 1 file, as the move reads it.
struct OdpowiedzV1 {
    qint64 Id = 0;
    qint64 Czas = 0;
    qint64 Dzien = 0;
    int Strona = 0;
    bool Dobrze = false;
};

struct WpisV1 {
    qint64 Id = 0;
    qint64 Zestaw = 0;
    QVariant Angielski, Polski;
    std::vector<OdpowiedzV1> Odpowiedzi;
    StanFsrs Stan;
    int Bledy = 0;
};

struct DzienPrzewidywan {
    int Odpowiedzi = 0;
    int Poprawne = 0;
    double Suma = 0.0;
};

// 1 -> 2 inside the caller's transaction. Version 1 kept no mark of which answers counted for their round, so the
// move decides it from the log: only an entry's answers are ordered by time, and a round asks an entry again only
// after a wrong answer, never after a right one (a right answer ends the entry's part in the round). An answer
// following a wrong answer to the same entry on the same page and the same calendar day is taken as the round
// asking it again, and does not count. A page switch always began a new round, so a different page counts; so does
// another day. What this rule can get wrong is an abandoned round after a wrong answer followed the same day, on
// the same page, by a new round: one same-day answer left uncounted, which moves FSRS's state least of all.
bool Krok1Do2(QSqlDatabase& db, QSqlError& blad, const Postep& postep)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Sets and entries keep their ids; two rows that become one stored value (a TEXT and a BLOB of the same bytes,
    // possible only in a file edited by hand) become the first of them.
    std::vector<std::pair<qint64, QVariant>> zestawy;
    QHash<qint64, qint64> zestawNa;
    {
        QHash<QByteArray, qint64> pierwszy;
        if (!Wykonaj(q, "SELECT id, plik FROM zestawy ORDER BY id", blad))
            return false;
        while (q.next()) {
            const qint64 id = q.value(0).toLongLong();
            const QVariant plik = DoBazy(q.value(1).toByteArray().toStdString());
            const QByteArray klucz = KluczWartosci(plik);
            const auto it = pierwszy.constFind(klucz);
            zestawNa.insert(id, it == pierwszy.constEnd() ? id : *it);
            if (it == pierwszy.constEnd()) {
                pierwszy.insert(klucz, id);
                zestawy.push_back({id, plik});
            }
        }
    }
    std::vector<WpisV1> wpisy;
    std::unordered_map<qint64, std::size_t> indeksWpisu; // every v1 id, merged ones included, to its entry
    QHash<qint64, qint64> scalone;                       // a merged entry's id to the id it joins
    {
        QHash<QByteArray, std::size_t> pierwszy;
        if (!Wykonaj(q, "SELECT id, zestaw, angielski, polski FROM wpisy ORDER BY id", blad))
            return false;
        while (q.next()) {
            WpisV1 w;
            w.Id = q.value(0).toLongLong();
            w.Zestaw = zestawNa.value(q.value(1).toLongLong(), q.value(1).toLongLong());
            w.Angielski = DoBazy(q.value(2).toByteArray().toStdString());
            w.Polski = DoBazy(q.value(3).toByteArray().toStdString());
            const QByteArray klucz =
                QByteArray::number(w.Zestaw) + '\0' + KluczWartosci(w.Angielski) + '\0' + KluczWartosci(w.Polski);
            const auto it = pierwszy.constFind(klucz);
            if (it == pierwszy.constEnd()) {
                pierwszy.insert(klucz, wpisy.size());
                indeksWpisu[w.Id] = wpisy.size();
                wpisy.push_back(std::move(w));
            } else {
                indeksWpisu[w.Id] = *it;
                scalone.insert(w.Id, wpisy[*it].Id);
            }
        }
    }
    // Answers of an entry that is gone (possible only by hand) stay as they are, in no state.
    if (!Wykonaj(q, "SELECT id, wpis, czas, dzien, strona, dobrze FROM odpowiedzi", blad))
        return false;
    while (q.next()) {
        const auto it = indeksWpisu.find(q.value(1).toLongLong());
        if (it == indeksWpisu.end())
            continue;
        wpisy[it->second].Odpowiedzi.push_back({q.value(0).toLongLong(), q.value(2).toLongLong(),
                                                q.value(3).toLongLong(), q.value(4).toInt(), q.value(5).toInt() != 0});
    }
    q.finish();

    // Each entry replayed by the defaults (a version 1 file was never fitted), its repeats in a round set aside.
    const Parametry p = Parametry::Domyslne();
    QByteArray powtorzenia = "[";
    std::map<qint64, DzienPrzewidywan> przewidywania;
    for (WpisV1& w : wpisy) {
        auto& o = w.Odpowiedzi;
        std::sort(o.begin(), o.end(), [](const OdpowiedzV1& a, const OdpowiedzV1& b) {
            return a.Czas != b.Czas ? a.Czas < b.Czas : a.Id < b.Id;
        });
        for (std::size_t i = 0; i < o.size(); ++i) {
            w.Bledy += o[i].Dobrze ? 0 : 1;
            if (i > 0 && !o[i - 1].Dobrze && o[i].Dzien == o[i - 1].Dzien && o[i].Strona == o[i - 1].Strona) {
                if (powtorzenia.size() > 1)
                    powtorzenia += ',';
                powtorzenia += QByteArray::number(o[i].Id);
                continue;
            }
            double r = -1.0;
            w.Stan = Powtorz(p, w.Stan, {o[i].Czas, o[i].Dzien, OcenaOdpowiedzi(o[i].Dobrze)}, &r);
            if (r >= 0.0) {
                DzienPrzewidywan& d = przewidywania[o[i].Dzien];
                ++d.Odpowiedzi;
                d.Poprawne += o[i].Dobrze ? 1 : 0;
                d.Suma += r;
            }
        }
    }
    powtorzenia += ']';
    if (postep && !postep(Etap1Do2::Odczytane)) {
        blad = Przerwano();
        return false;
    }

    // Grades and counting on the answers: the added columns' defaults stand for a right answer that counted, so
    // only wrong answers and the repeats are written.
    if (!Wykonaj(q, "ALTER TABLE odpowiedzi ADD COLUMN ocena INTEGER NOT NULL DEFAULT 3", blad) ||
        !Wykonaj(q, "ALTER TABLE odpowiedzi ADD COLUMN liczy INTEGER NOT NULL DEFAULT 1", blad) ||
        !Wykonaj(q, "UPDATE odpowiedzi SET ocena = 1 WHERE dobrze = 0", blad))
        return false;
    q.prepare(QStringLiteral("UPDATE odpowiedzi SET liczy = 0 WHERE id IN (SELECT value FROM json_each(?))"));
    q.addBindValue(QString::fromLatin1(powtorzenia));
    if (!q.exec()) {
        blad = q.lastError();
        return false;
    }
    if (!scalone.isEmpty()) {
        q.prepare(QStringLiteral("UPDATE odpowiedzi SET wpis = ? WHERE wpis = ?"));
        for (auto it = scalone.cbegin(); it != scalone.cend(); ++it) {
            q.addBindValue(it.value());
            q.addBindValue(it.key());
            if (!q.exec()) {
                blad = q.lastError();
                return false;
            }
        }
    }

    for (const char* polecenie : TabeleWersji2) {
        if (!Wykonaj(q, polecenie, blad))
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO zestawy_nowe(id, plik) VALUES(?, ?)"));
    for (const auto& [id, plik] : zestawy) {
        q.addBindValue(id);
        q.addBindValue(plik);
        if (!q.exec()) {
            blad = q.lastError();
            return false;
        }
    }
    q.prepare(QStringLiteral("INSERT INTO wpisy_nowe(id, zestaw, angielski, polski, stabilnosc, trudnosc, ostatnia, "
                             "dzien, termin, powtorki, pomylki, odpowiedzi, bledy) "
                             "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const WpisV1& w : wpisy) {
        const StanFsrs& s = w.Stan;
        for (const QVariant& v :
             {QVariant(w.Id), QVariant(w.Zestaw), w.Angielski, w.Polski, QVariant(s.S), QVariant(s.D),
              QVariant(qint64(s.OstatniCzas)), QVariant(qint64(s.OstatniDzien)), QVariant(qint64(Termin(p, s))),
              QVariant(s.Odpowiedzi), QVariant(s.Pomylki), QVariant(int(w.Odpowiedzi.size())), QVariant(w.Bledy)})
            q.addBindValue(v);
        if (!q.exec()) {
            blad = q.lastError();
            return false;
        }
    }
    for (const char* polecenie : ZamianaWersji2) {
        if (!Wykonaj(q, polecenie, blad))
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO przewidywania(dzien, odpowiedzi, poprawne, suma) VALUES(?, ?, ?, ?)"));
    for (const auto& [dzien, d] : przewidywania) {
        for (const QVariant& v : {QVariant(dzien), QVariant(d.Odpowiedzi), QVariant(d.Poprawne), QVariant(d.Suma)})
            q.addBindValue(v);
        if (!q.exec()) {
            blad = q.lastError();
            return false;
        }
    }
    if (postep && !postep(Etap1Do2::Zapisane)) {
        blad = Przerwano();
        return false;
    }
    return true;
}

bool KrokMigracji(QSqlDatabase& db, int zWersji, QSqlError& blad, const Postep& postep)
{
    if (zWersji == 0) {
        QSqlQuery q(db);
        for (const char* polecenie : SchematWersji1) {
            if (!Wykonaj(q, polecenie, blad))
                return false;
        }
        return true;
    }
    return Krok1Do2(db, blad, postep);
}

// Reads one stored setting; an empty string when there is none.
bool Ustawienie(QSqlDatabase& db, const char* klucz, QString& wartosc, QSqlError& blad)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT wartosc FROM ustawienia WHERE klucz = ?"));
    q.addBindValue(QString::fromLatin1(klucz));
    if (!q.exec()) {
        blad = q.lastError();
        return false;
    }
    wartosc = q.next() ? q.value(0).toString() : QString();
    return true;
}

bool UstawUstawienie(QSqlDatabase& db, const char* klucz, const QString& wartosc, QSqlError& blad)
{
    QSqlQuery q(db);
    if (wartosc.isEmpty()) {
        q.prepare(QStringLiteral("DELETE FROM ustawienia WHERE klucz = ?"));
        q.addBindValue(QString::fromLatin1(klucz));
    } else {
        q.prepare(QStringLiteral("INSERT INTO ustawienia(klucz, wartosc) VALUES(?, ?) "
                                 "ON CONFLICT(klucz) DO UPDATE SET wartosc = excluded.wartosc"));
        q.addBindValue(QString::fromLatin1(klucz));
        q.addBindValue(wartosc);
    }
    if (q.exec())
        return true;
    blad = q.lastError();
    return false;
}

} // namespace

QVariant DoBazy(const std::string& bajty)
{
    for (const char b : bajty) {
        if (ZnakCp1250(static_cast<unsigned char>(b)) == 0xFFFD)
            return QVariant(QByteArray(bajty.data(), qsizetype(bajty.size())));
    }
    return QVariant(ZCp1250(bajty));
}

std::optional<std::string> ZBazy(const QVariant& wartosc)
{
    if (wartosc.typeId() == QMetaType::QByteArray)
        return wartosc.toByteArray().toStdString();
    return DoCp1250(wartosc.toString());
}

QString TekstParametrow(const Parametry& p)
{
    QStringList liczby;
    for (const double w : p.w)
        liczby << QString::number(w, 'g', 17);
    return liczby.join(QLatin1Char(' '));
}

std::optional<Parametry> ParametryZTekstu(const QString& tekst)
{
    const QStringList liczby = tekst.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (liczby.size() != LiczbaParametrow)
        return std::nullopt;
    Parametry p = Parametry::Domyslne();
    for (int i = 0; i < LiczbaParametrow; ++i) {
        bool ok = false;
        p.w[std::size_t(i)] = liczby[i].toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return p.Przyciete();
}

bool Migruj(QSqlDatabase& db, int wersja, QString& gdzie, QSqlError& blad, const Postep& postep)
{
    QSqlQuery q(db);
    const auto wycofaj = [&] {
        blad = blad.isValid() ? blad : q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    for (int w = wersja; w < WersjaBazy; ++w) {
        gdzie = QStringLiteral("migrate %1").arg(w + 1);
        // Taken for writing at once, and the version read again inside.
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            blad = q.lastError();
            return false;
        }
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
            return wycofaj();
        const bool zrobione = q.value(0).toInt() > w;
        q.finish();
        if (!zrobione) {
            if (!KrokMigracji(db, w, blad, postep) || !q.exec(QStringLiteral("PRAGMA user_version=%1").arg(w + 1)))
                return wycofaj();
            if (w == 1 && postep && !postep(Etap1Do2::Zatwierdzane)) {
                blad = Przerwano();
                return wycofaj();
            }
        }
        if (!q.exec(QStringLiteral("COMMIT")))
            return wycofaj();
    }
    return true;
}

WynikPracy PrzeniesPlik(const QString& plik, const Postep& postep)
{
    WynikPracy wynik;
    const QString kopia = plik + QLatin1String(KoncowkaKopii);
    static std::atomic<int> licznik{0};
    const QString tymczasowa = QStringLiteral("%1-%2-%3").arg(kopia).arg(::getpid()).arg(++licznik);
    {
        Polaczenie p(plik);
        QSqlDatabase db = p.db();
        wynik.Gdzie = QStringLiteral("open for migration");
        if (!db.isOpen()) {
            wynik.Blad = p.blad();
            return wynik;
        }
        QSqlQuery q(db);
        wynik.Gdzie = QStringLiteral("version");
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
            wynik.Blad = q.lastError();
            return wynik;
        }
        const int wersja = q.value(0).toInt();
        q.finish();
        if (wersja >= WersjaBazy) {
            wynik.Ok = true;
            return wynik;
        }
        // The copy is a consistent snapshot, written to a name of its own, flushed to the disk, and only then put
        // in place of any copy an earlier attempt left.
        wynik.Gdzie = QStringLiteral("copy");
        QFile::remove(tymczasowa);
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(tymczasowa);
        if (!q.exec()) {
            wynik.Blad = q.lastError();
            QFile::remove(tymczasowa);
            return wynik;
        }
        q.finish();
        {
            QFile f(tymczasowa);
            std::error_code e;
            if (!f.open(QIODevice::ReadWrite) || ::fsync(f.handle()) != 0 ||
                (f.close(), std::filesystem::rename(Sciezka(tymczasowa), Sciezka(kopia), e), e)) {
                wynik.Blad =
                    QSqlError(QString(), QStringLiteral("the copy could not be written"), QSqlError::UnknownError);
                QFile::remove(tymczasowa);
                return wynik;
            }
        }
        if (postep && !postep(Etap1Do2::Kopia)) {
            wynik.Blad = Przerwano();
            return wynik;
        }
        if (!Migruj(db, wersja, wynik.Gdzie, wynik.Blad, postep))
            return wynik;
    }
    // Committed: the copy has done its part. Copies of attempts cut short go with it.
    const QFileInfo info(kopia);
    for (const QString& n :
         info.absoluteDir().entryList({info.fileName(), info.fileName() + QStringLiteral("-*")}, QDir::Files))
        QFile::remove(info.absoluteDir().filePath(n));
    wynik.Ok = true;
    wynik.Gdzie.clear();
    return wynik;
}

bool WczytajLogi(QSqlDatabase& db, LogiWpisow& l, QSqlError& blad)
{
    std::unordered_map<qint64, std::size_t> indeks;
    for (std::size_t i = 0; i < l.Id.size(); ++i)
        indeks[l.Id[i]] = i;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, wpis, czas, dzien, ocena FROM odpowiedzi WHERE liczy = 1 AND id > ?"));
    q.addBindValue(l.OstatniaOdpowiedz);
    if (!q.exec()) {
        blad = q.lastError();
        return false;
    }
    while (q.next()) {
        const qint64 wpis = q.value(1).toLongLong();
        const auto [it, nowy] = indeks.try_emplace(wpis, l.Id.size());
        if (nowy) {
            l.Id.push_back(wpis);
            l.Logi.emplace_back();
        }
        l.Logi[it->second].push_back({q.value(2).toLongLong(), q.value(3).toLongLong(), q.value(4).toInt()});
        l.OstatniaOdpowiedz = std::max(l.OstatniaOdpowiedz, q.value(0).toLongLong());
    }
    return true;
}

bool ZapiszStany(QSqlDatabase& db, const Parametry& p, const LogiWpisow& l, QSqlError& blad)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE wpisy SET stabilnosc = ?, trudnosc = ?, ostatnia = ?, dzien = ?, termin = ?, "
                             "powtorki = ?, pomylki = ? WHERE id = ?"));
    for (std::size_t i = 0; i < l.Id.size(); ++i) {
        const StanFsrs s = Odtworz(p, l.Logi[i]);
        for (const QVariant& v :
             {QVariant(s.S), QVariant(s.D), QVariant(qint64(s.OstatniCzas)), QVariant(qint64(s.OstatniDzien)),
              QVariant(qint64(Termin(p, s))), QVariant(s.Odpowiedzi), QVariant(s.Pomylki), QVariant(l.Id[i])})
            q.addBindValue(v);
        if (!q.exec()) {
            blad = q.lastError();
            return false;
        }
    }
    return true;
}

WynikDopasowaniaPliku DopasujPlik(const QString& plik, qint64 dzis, std::mutex& zapis,
                                  const std::atomic<bool>& przerwij)
{
    WynikDopasowaniaPliku wynik;
    Polaczenie p(plik);
    QSqlDatabase db = p.db();
    wynik.Gdzie = QStringLiteral("open for the fit");
    if (!db.isOpen()) {
        wynik.Blad = p.blad();
        return wynik;
    }
    // Another copy of the program may have fitted today already.
    QString dzien;
    wynik.Gdzie = QStringLiteral("fit: history");
    LogiWpisow logi;
    if (!Ustawienie(db, KluczDniaDopasowania, dzien, wynik.Blad))
        return wynik;
    if (dzien == QString::number(dzis)) {
        wynik.Ok = true;
        return wynik;
    }
    {
        // One read transaction, so the history is one moment's.
        QSqlQuery t(db);
        t.exec(QStringLiteral("BEGIN"));
        const bool ok = WczytajLogi(db, logi, wynik.Blad);
        t.exec(QStringLiteral("COMMIT"));
        if (!ok)
            return wynik;
    }
    if (!MoznaDopasowac(logi.Logi)) {
        wynik.Ok = true;
        return wynik;
    }
    wynik.Dopasowanie = Dopasuj(logi.Logi, {}, &przerwij);
    if (wynik.Dopasowanie.Przerwane) {
        wynik.Ok = true;
        return wynik;
    }
    const Parametry nowe = wynik.Dopasowanie.Lepsze ? wynik.Dopasowanie.Dopasowane.Przyciete() : Parametry::Domyslne();
    const QString tekst = wynik.Dopasowanie.Lepsze ? TekstParametrow(nowe) : QString();

    wynik.Gdzie = QStringLiteral("fit: store");
    std::lock_guard<std::mutex> blokada(zapis);
    QSqlQuery t(db);
    if (!t.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        wynik.Blad = t.lastError();
        return wynik;
    }
    const auto wycofaj = [&] {
        t.exec(QStringLiteral("ROLLBACK"));
        return wynik;
    };
    QString uzywane;
    if (!Ustawienie(db, KluczDniaDopasowania, dzien, wynik.Blad) ||
        !Ustawienie(db, KluczParametrow, uzywane, wynik.Blad))
        return wycofaj();
    if (dzien == QString::number(dzis)) {
        wynik.Ok = true;
        return wycofaj();
    }
    if (!UstawUstawienie(db, KluczDniaDopasowania, QString::number(dzis), wynik.Blad) ||
        !UstawUstawienie(db, KluczParametrow, tekst, wynik.Blad) ||
        !UstawUstawienie(db, KluczDniaParametrow, tekst.isEmpty() ? QString() : QString::number(dzis), wynik.Blad))
        return wycofaj();
    // The states follow the weights in use: every entry replayed, the answers given since the history was read
    // included.
    wynik.Zmiana = uzywane != tekst;
    if (wynik.Zmiana && (!WczytajLogi(db, logi, wynik.Blad) || !ZapiszStany(db, nowe, logi, wynik.Blad)))
        return wycofaj();
    if (!t.exec(QStringLiteral("COMMIT"))) {
        wynik.Blad = t.lastError();
        return wycofaj();
    }
    wynik.Ok = true;
    wynik.Dopasowano = true;
    wynik.Gdzie.clear();
    return wynik;
}

} // namespace vokara
