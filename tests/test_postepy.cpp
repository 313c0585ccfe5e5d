// The learning memory: each entry's schedule and due time, grades, the move from version 1, the fit, progress, the
// database's failures, and rounds played through the real pages.
#include "cwiczenie.h"
#include "formularz_testowy.h"
#include "fpostepy.h"
#include "pamiec.h"
#include "program_testowy.h"
#include "schemat.h"
#include "stronafiszek.h"
#include "tekst.h"
#include "ui_fpostepy.h"
#include "wybory.h"
#include "wyborzestawu.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabBar>
#include <QTableWidget>

#include <array>
#include <csignal>
#include <random>
#include <set>
#include <unistd.h>

namespace {

// A started program on a working folder with the given sets.
struct Gra {
    explicit Gra(const QList<QStringList>& zestawy)
    {
        QStringList lista{"01.12.2026*1.0"};
        for (int i = 0; i < zestawy.size(); ++i) {
            const QString plik = QStringLiteral("z%1.txt").arg(i);
            lista << QStringLiteral("Zestaw %1*%2").arg(i).arg(plik);
            katalog.zestaw(plik, QStringList{"Słowo*Znaczenie"} + zestawy[i]);
        }
        katalog.lista(lista);
    }

    void start()
    {
        program = std::make_unique<Program>();
        odpowiedzi = std::make_unique<testy::Odpowiedzi>(*program->FWarning);
        if (!program->Pokaz() || !QTest::qWaitForWindowActive(program->FGlowny.get()))
            qFatal("program did not start");
    }

    testy::Formularz ui() { return testy::Formularz(*program->FGlowny); }

    void strona(int p)
    {
        QTabBar* pasek = ui().PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(p).center());
    }

    void wybierz(TWyborZestawu* lista, int i) { testy::wybierz(lista, i); }

    testy::Katalog katalog;
    std::unique_ptr<Program> program;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi;
};

const QStringList Osiem{"dog*pies",  "cat*kot",   "cow*krowa",  "horse*koń",
                        "bird*ptak", "fish*ryba", "mouse*mysz", "sheep*owca"};

// A whole round on the choice page and one on the typing page, every third (fourth) answer wrong, written down
// question by question: what the user saw and what the page said.
QStringList ZagrajRundy(Gra& g)
{
    QStringList zapis;
    const auto ui = g.ui();
    g.strona(1);
    g.wybierz(ui.CZestawSlow, 0);
    for (int krok = 0; krok < 60; ++krok) {
        g.odpowiedzi->klawisze = {Qt::Key_N};
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        if (!ui.ButSprawdz->isVisible())
            break;
        const QString poprawna = vokara::ZCp1250(g.program->FGlowny->Strona(1)->Runda()->PoprawnaOdpowiedz(0));
        QLabel* opcje[] = {ui.Lw1, ui.LW2, ui.LW3};
        zapis << QStringLiteral("test %1: %2 | %3 | %4")
                     .arg(ui.LDanyWyraz->text(), opcje[0]->text(), opcje[1]->text(), opcje[2]->text());
        const bool dobrze = krok % 3 != 2;
        for (QLabel* o : opcje) {
            if ((o->text() == poprawna) == dobrze) {
                QTest::mouseClick(o, Qt::LeftButton);
                break;
            }
        }
        QTest::mouseClick(ui.ButSprawdz, Qt::LeftButton);
        zapis << ui.LKomentarz->text();
    }
    g.strona(2);
    g.wybierz(ui.CZestawSlow2, 0);
    for (int krok = 0; krok < 60; ++krok) {
        g.odpowiedzi->klawisze = {Qt::Key_N};
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        if (!ui.ButSprawdz2->isVisible())
            break;
        zapis << QStringLiteral("wpis %1").arg(ui.LDanyWyraz2->text());
        const QString poprawna = vokara::ZCp1250(g.program->FGlowny->Strona(2)->Runda()->PoprawnaOdpowiedz(0));
        testy::wpisz(ui.EWpis2, krok % 4 == 3 ? QStringLiteral("zle") : poprawna);
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        zapis << ui.LKomentarz2->text();
    }
    return zapis;
}

// A fixed moment plus some days, as the injected clock of a memory.
QDateTime Dzien(int dni)
{
    return QDateTime(QDate(2026, 12, 1).addDays(dni), QTime(18, 0));
}

// A memory on its own file in a temporary folder, with a clock the test moves.
struct Baza {
    Baza()
    {
        pamiec.UstawZegar([this] { return Dzien(dzien); });
    }
    bool otworz() { return pamiec.Otworz(katalog.filePath("postepy.sqlite")); }
    // One answer to the entry in a round of its own on `dni`.
    void odpowiedz(const std::string& angielski, bool dobrze, int dni)
    {
        dzien = dni;
        pamiec.NowaRunda("z.txt");
        QVERIFY(pamiec.Zapisz(angielski, "x", vokara::StronaTestu, 0, dobrze));
    }
    bool zalegly(const std::string& angielski)
    {
        for (const auto& w : pamiec.DoPowtorki())
            if (w.Angielski == angielski)
                return true;
        return false;
    }
    QTemporaryDir katalog;
    int dzien = 0;
    vokara::Pamiec pamiec;
};

// How many answers a database file holds (on one page, or all), read through a connection of its own.
int LiczbaOdpowiedzi(const QString& plik, QString* sprawdzenie = nullptr, int strona = 0)
{
    int wynik = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "liczenie");
        db.setDatabaseName(plik);
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare("SELECT COUNT(*) FROM odpowiedzi WHERE ? IN (0, strona)");
            q.addBindValue(strona);
            if (q.exec() && q.next())
                wynik = q.value(0).toInt();
            if (sprawdzenie && q.exec("PRAGMA integrity_check") && q.next())
                *sprawdzenie = q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase("liczenie");
    return wynik;
}

// The child of the killed-mid-write check: records answers without end, reporting each one committed.
int PiszBezKonca(const QString& plik)
{
    vokara::Pamiec pamiec;
    if (!pamiec.Otworz(plik))
        return 2;
    pamiec.NowaRunda("z.txt");
    for (int i = 0;; ++i) {
        if (!pamiec.Zapisz("word" + std::to_string(i % 300), "słowo", vokara::StronaWpisu, 1, i % 3 != 0))
            return 3;
        std::printf("%d\n", i + 1);
        std::fflush(stdout);
    }
}

const QStringList Kolory{"red*czerwony", "blue*niebieski", "green*zielony"};

// The rows a query gives on a connection of its own; with `wartosci`, bound to it in order (a statement that gives no
// rows gives none).
QList<QVariantList> Zapytaj(const QString& plik, const QString& zapytanie, const QVariantList& wartosci = {})
{
    QList<QVariantList> wiersze;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "zapytanie");
        db.setDatabaseName(plik);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(plik));
        QSqlQuery q(db);
        q.prepare(zapytanie);
        for (const QVariant& v : wartosci)
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s: %s", qPrintable(zapytanie), qPrintable(q.lastError().text()));
        while (q.next()) {
            QVariantList w;
            for (int i = 0; i < q.record().count(); ++i)
                w << q.value(i);
            wiersze << w;
        }
    }
    QSqlDatabase::removeDatabase("zapytanie");
    return wiersze;
}

// A version 1 file as the program wrote it before the schedule: texts as Windows-1250 BLOBs, each answer right or
// wrong, and no mark of which answers counted for their round.
struct OdpowiedzV1 {
    int Wpis = 0; // an index into Wpisy; the row's id is one more
    qint64 Czas = 0;
    qint64 Dzien = 0;
    int Strona = 0;
    int Kierunek = 0;
    bool Dobrze = false;
};
struct PlikV1 {
    std::vector<std::string> Zestawy;
    std::vector<vokara::WpisPamieci> Wpisy;
    std::vector<int> ZestawWpisu;
    std::vector<OdpowiedzV1> Odpowiedzi; // in time order; the row's id is the index plus one
};

// Two months of rounds: in each, an entry answered wrong is asked again until right, and now and then the round is
// left after a wrong answer; two rounds a day, each of a set on a page drawn at random. Texts with Polish letters,
// and one file name and one meaning with a byte Windows-1250 leaves undefined.
PlikV1 DwaMiesiaceWersji1()
{
    PlikV1 v;
    v.Zestawy = {"z0.txt", testy::cp("zwierzęta.txt"), "inny\x81.txt"};
    const auto dodaj = [&](int zestaw, const std::string& angielski, const std::string& polski) {
        v.Wpisy.push_back({v.Zestawy[std::size_t(zestaw)], angielski, polski});
        v.ZestawWpisu.push_back(zestaw);
    };
    for (int i = 0; i < 20; ++i)
        dodaj(0, "w" + std::to_string(i), testy::cp("słowo ") + std::to_string(i));
    dodaj(1, "dog", "pies");
    dodaj(1, "horse", testy::cp("koń"));
    dodaj(1, "bee", testy::cp("pszczoła"));
    dodaj(2, "odd", "x\x98y");
    std::mt19937 los(2026);
    for (int d = 0; d < 60; ++d) {
        qint64 czas = Dzien(d).toMSecsSinceEpoch();
        for (int runda = 0; runda < 2; ++runda) {
            const int zestaw = int(los() % 3), strona = 1 + int(los() % 3), kierunek = int(los() % 2);
            for (int w = 0; w < int(v.Wpisy.size()); ++w) {
                if (v.ZestawWpisu[std::size_t(w)] != zestaw)
                    continue;
                for (int proba = 0; proba < 4; ++proba) {
                    const bool dobrze = los() % 10 < 7;
                    czas += 5000;
                    v.Odpowiedzi.push_back({w, czas, Dzien(d).date().toJulianDay(), strona, kierunek, dobrze});
                    if (dobrze || los() % 10 == 0)
                        break;
                }
            }
        }
    }
    return v;
}

const char* const TabeleWersji1[] = {
    "CREATE TABLE zestawy(id INTEGER PRIMARY KEY, plik BLOB NOT NULL UNIQUE)",
    "CREATE TABLE wpisy(id INTEGER PRIMARY KEY, zestaw INTEGER NOT NULL REFERENCES zestawy(id), "
    "angielski BLOB NOT NULL, polski BLOB NOT NULL, pudelko INTEGER NOT NULL, ostatnia INTEGER NOT NULL, "
    "termin INTEGER NOT NULL, odpowiedzi INTEGER NOT NULL, bledy INTEGER NOT NULL, UNIQUE(zestaw, angielski, polski))",
    "CREATE INDEX wpisy_termin ON wpisy(termin, ostatnia)",
    "CREATE TABLE odpowiedzi(id INTEGER PRIMARY KEY, wpis INTEGER NOT NULL REFERENCES wpisy(id), "
    "czas INTEGER NOT NULL, dzien INTEGER NOT NULL, strona INTEGER NOT NULL, kierunek INTEGER NOT NULL, "
    "dobrze INTEGER NOT NULL)",
    "CREATE INDEX odpowiedzi_dzien ON odpowiedzi(dzien, dobrze)",
};

void ZapiszWersje1(const QString& plik, const PlikV1& v)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "wersja1");
        db.setDatabaseName(plik);
        if (!db.open())
            qFatal("cannot create %s", qPrintable(plik));
        QSqlQuery q(db);
        q.exec("PRAGMA journal_mode=WAL");
        for (const char* polecenie : TabeleWersji1)
            q.exec(polecenie);
        db.transaction();
        const auto bajty = [](const std::string& s) { return QVariant(QByteArray::fromStdString(s)); };
        q.prepare("INSERT INTO zestawy(id, plik) VALUES(?, ?)");
        for (std::size_t i = 0; i < v.Zestawy.size(); ++i) {
            q.addBindValue(int(i) + 1);
            q.addBindValue(bajty(v.Zestawy[i]));
            q.exec();
        }
        q.prepare("INSERT INTO wpisy VALUES(?, ?, ?, ?, 1, 0, 0, 0, 0)");
        for (std::size_t i = 0; i < v.Wpisy.size(); ++i) {
            for (const QVariant& w : {QVariant(int(i) + 1), QVariant(v.ZestawWpisu[i] + 1), bajty(v.Wpisy[i].Angielski),
                                      bajty(v.Wpisy[i].Polski)})
                q.addBindValue(w);
            q.exec();
        }
        q.prepare("INSERT INTO odpowiedzi VALUES(?, ?, ?, ?, ?, ?, ?)");
        for (std::size_t i = 0; i < v.Odpowiedzi.size(); ++i) {
            const OdpowiedzV1& o = v.Odpowiedzi[i];
            for (const QVariant& w : {QVariant(int(i) + 1), QVariant(o.Wpis + 1), QVariant(o.Czas), QVariant(o.Dzien),
                                      QVariant(o.Strona), QVariant(o.Kierunek), QVariant(o.Dobrze ? 1 : 0)})
                q.addBindValue(w);
            q.exec();
        }
        db.commit();
        q.exec("PRAGMA user_version=1");
    }
    QSqlDatabase::removeDatabase("wersja1");
}

// Whether each answer counted for its round, as the move decides it for a version 1 file: after a wrong answer to
// an entry, the next one on the same page the same day is the round asking again.
std::vector<bool> Liczace(const PlikV1& v)
{
    std::vector<bool> liczy(v.Odpowiedzi.size(), true);
    std::vector<int> poprzednia(v.Wpisy.size(), -1);
    for (std::size_t i = 0; i < v.Odpowiedzi.size(); ++i) {
        const OdpowiedzV1& o = v.Odpowiedzi[i];
        const int p = poprzednia[std::size_t(o.Wpis)];
        if (p >= 0) {
            const OdpowiedzV1& w = v.Odpowiedzi[std::size_t(p)];
            liczy[i] = w.Dobrze || w.Dzien != o.Dzien || w.Strona != o.Strona;
        }
        poprzednia[std::size_t(o.Wpis)] = int(i);
    }
    return liczy;
}

// The child of the killed-mid-migration check: moves a version 1 file and stops for good at the given moment.
int PrzeniesIStan(const QString& plik, int krok)
{
    const auto wynik = vokara::PrzeniesPlik(plik, [krok](vokara::Etap1Do2 etap) {
        if (int(etap) == krok) {
            std::printf("%d\n", krok);
            std::fflush(stdout);
            for (;;)
                ::pause();
        }
        return true;
    });
    return wynik.Ok ? 0 : 1;
}

} // namespace

class TestPostepy : public QObject {
    Q_OBJECT

private slots:
    // Rounds played with the learning memory in place draw exactly what they drew before it existed.
    void teSameLosowania()
    {
        Gra g({Osiem, Kolory});
        const bool wzorzec = qEnvironmentVariableIsSet("VOKARA_ZAPISZ_RUNDE");
        if (!wzorzec) {
            // Something of the other set is due, so every picker ends with "Powtórka" from the start: a wrong answer
            // given yesterday.
            vokara::Pamiec pamiec([] { return QDateTime::currentDateTime().addDays(-1); });
            QVERIFY(pamiec.Otworz(g.katalog.sciezka("dane/postepy.sqlite")));
            pamiec.NowaRunda("z1.txt");
            QVERIFY(pamiec.Zapisz("red", testy::cp("czerwony"), vokara::StronaTestu, 0, false));
        }
        g.start();
        if (!wzorzec) {
            QTRY_COMPARE(g.ui().CZestawSlow->count(), 3);
            QCOMPARE(g.ui().CZestawSlow2->itemText(2), QStringLiteral("Powtórka (1)"));
        }
        const QStringList zapis = ZagrajRundy(g);
        QFile wzor(VOKARA_TESTY_DANE "/runda_przed.txt");
        if (wzorzec) {
            QVERIFY(wzor.open(QIODevice::WriteOnly));
            wzor.write(zapis.join('\n').toUtf8() + '\n');
            return;
        }
        QVERIFY(wzor.open(QIODevice::ReadOnly));
        QCOMPARE(zapis, QString::fromUtf8(wzor.readAll()).trimmed().split('\n'));
        // Every checked answer was kept, besides the one written before the start.
        const auto pytania = std::count_if(zapis.begin(), zapis.end(), [](const QString& l) {
            return l.startsWith(QLatin1String("test ")) || l.startsWith(QLatin1String("wpis "));
        });
        const QString plik = g.katalog.sciezka("dane/postepy.sqlite");
        QCOMPARE(LiczbaOdpowiedzi(plik), 1 + int(pytania));
        const auto wpisy = std::count_if(zapis.begin(), zapis.end(),
                                         [](const QString& l) { return l.startsWith(QLatin1String("wpis ")); });
        QCOMPARE(LiczbaOdpowiedzi(plik, nullptr, vokara::StronaWpisu), int(wpisy));
    }

    // State, stage and due moment after a history of answers, each the first of its own round (these were the
    // Leitner boxes' rows: the same histories, now with FSRS-6's defaults).
    void stany_data()
    {
        QTest::addColumn<QList<int>>("odpowiedzi"); // day of each answer; negative = wrong on that (positive) day
        QTest::addColumn<int>("etap");
        QTest::addColumn<double>("stabilnosc"); // days; the entry is due this long after its last answer
        const int nauka = int(vokara::Etap::WNauce), utrwalane = int(vokara::Etap::Utrwalane),
                  opanowane = int(vokara::Etap::Opanowane);
        QTest::newRow("new, right") << QList<int>{1} << nauka << 2.3065;
        QTest::newRow("new, wrong") << QList<int>{-1} << nauka << 0.2120;
        QTest::newRow("three right") << QList<int>{1, 2, 3} << utrwalane << 11.9910;
        QTest::newRow("four right") << QList<int>{1, 2, 5, 12} << opanowane << 45.1455;
        QTest::newRow("six right") << QList<int>{1, 2, 5, 12, 26, 40} << opanowane << 132.9042;
        QTest::newRow("a lapse") << QList<int>{1, 2, 5, -6} << nauka << 1.7529;
        QTest::newRow("up again after wrong") << QList<int>{1, -2, 3} << nauka << 2.3412;
    }

    void stany()
    {
        QFETCH(QList<int>, odpowiedzi);
        Baza b;
        QVERIFY(b.otworz());
        std::vector<vokara::Odpowiedz> log;
        for (int d : odpowiedzi) {
            b.odpowiedz("dog", d > 0, std::abs(d));
            log.push_back({Dzien(std::abs(d)).toMSecsSinceEpoch(), Dzien(std::abs(d)).date().toJulianDay(),
                           vokara::OcenaOdpowiedzi(d > 0)});
        }
        const vokara::StanFsrs stan = b.pamiec.Stan({"z.txt", "dog", "x"});
        const vokara::StanFsrs odtworzony = vokara::Odtworz(vokara::Parametry::Domyslne(), log);
        QCOMPARE(stan.S, odtworzony.S);
        QCOMPARE(stan.D, odtworzony.D);
        QCOMPARE(stan.Odpowiedzi, int(odpowiedzi.size()));
        QCOMPARE(stan.OstatniCzas, log.back().Czas);
        QCOMPARE(std::round(stan.S * 1e4) / 1e4, WARTOSC(double, stabilnosc));
        QCOMPARE(int(vokara::EtapWpisu(stan)), WARTOSC(int, etap));
        // Due the moment predicted recall falls to 90%: one stability after the last answer.
        const QDateTime termin = Dzien(std::abs(odpowiedzi.last())).addMSecs(qint64(stan.S * vokara::MsNaDzien));
        b.pamiec.UstawZegar([&] { return termin.addSecs(-60); });
        QVERIFY(!b.zalegly("dog"));
        b.pamiec.UstawZegar([&] { return termin.addSecs(60); });
        QVERIFY(b.zalegly("dog"));
    }

    // Within one round only an entry's first answer moves its state; a new round counts again.
    void jednaOdpowiedzNaRunde()
    {
        Baza b;
        QVERIFY(b.otworz());
        b.pamiec.NowaRunda("z.txt");
        QVERIFY(b.pamiec.Zapisz("dog", "x", vokara::StronaTestu, 0, false));
        QVERIFY(b.pamiec.Zapisz("dog", "x", vokara::StronaTestu, 0, true)); // asked again by the round
        QVERIFY(b.pamiec.Zapisz("cat", "x", vokara::StronaTestu, 0, true));
        QVERIFY(b.pamiec.Zapisz("cat", "x", vokara::StronaTestu, 0, true));
        const vokara::Parametry p = vokara::Parametry::Domyslne();
        // Each state is that of its first answer alone: Again (w0) and Good (w2).
        QCOMPARE(b.pamiec.Stan({"z.txt", "dog", "x"}).Odpowiedzi, 1);
        QCOMPARE(b.pamiec.Stan({"z.txt", "dog", "x"}).S, p.w[0]);
        QCOMPARE(b.pamiec.Stan({"z.txt", "cat", "x"}).Odpowiedzi, 1);
        QCOMPARE(b.pamiec.Stan({"z.txt", "cat", "x"}).S, p.w[2]);
        b.pamiec.NowaRunda("z.txt");
        QVERIFY(b.pamiec.Zapisz("dog", "x", vokara::StronaTestu, 0, true));
        QCOMPARE(b.pamiec.Stan({"z.txt", "dog", "x"}).Odpowiedzi, 2);
        const auto s = b.pamiec.Zbierz();
        QCOMPARE(s.Odpowiedzi, 5);
        QCOMPARE(s.Poprawne, 4);
        QCOMPARE(s.Bledy.size(), std::size_t(1));
        QCOMPARE(s.Bledy[0].Wpis.Angielski, std::string("dog"));
        QCOMPARE(s.DniZRzedu, 1);
    }

    // "Powtórka" takes at most 50, lowest predicted recall first, and the review's answers go to each entry's own
    // set.
    void kolejnoscPowtorki()
    {
        Baza b;
        QVERIFY(b.otworz());
        for (int i = 0; i < 60; ++i) {
            b.dzien = i + 1; // entry 0 answered (wrong) longest ago
            b.pamiec.NowaRunda(i % 2 ? "a.txt" : "b.txt");
            QVERIFY(b.pamiec.Zapisz("w" + std::to_string(i), "x", vokara::StronaTestu, 0, false));
        }
        b.dzien = 61;
        const auto due = b.pamiec.DoPowtorki();
        QCOMPARE(due.size(), std::size_t(vokara::NajwiecejPowtorek));
        QCOMPARE(b.pamiec.LiczbaDoPowtorki(), vokara::NajwiecejPowtorek);
        for (std::size_t i = 0; i < due.size(); ++i)
            QCOMPARE(due[i].Angielski, "w" + std::to_string(i));
        vokara::Zestaw d;
        QVERIFY(b.pamiec.WczytajPowtorke(d));
        QCOMPARE(d.Wyrazy.size(), std::size_t(50));
        QCOMPARE(d.NaglowekWyraz, testy::cp("Angielskie słowo"));
        QCOMPARE(d.NaglowekOznacza, testy::cp("Polskie znaczenie"));
        QVERIFY(b.pamiec.Zapisz("w1", "x", vokara::StronaTestu, 0, true));
        QCOMPARE(b.pamiec.Stan({"a.txt", "w1", "x"}).Odpowiedzi, 2);
        QCOMPARE(b.pamiec.LiczbaDoPowtorki(), vokara::NajwiecejPowtorek); // 59 are still due

        // Not the longest overdue first: an entry answered right long ago (60 days over 2.3 days of stability) still
        // holds better than one answered wrong eleven days ago (11 days over 0.2).
        Baza c;
        QVERIFY(c.otworz());
        c.odpowiedz("stary", true, 1);
        c.odpowiedz("nowy", false, 50);
        c.dzien = 61;
        const auto kolejnosc = c.pamiec.DoPowtorki();
        QCOMPARE(kolejnosc.size(), std::size_t(2));
        QCOMPARE(kolejnosc[0].Angielski, std::string("nowy"));
        QCOMPARE(kolejnosc[1].Angielski, std::string("stary"));
    }

    // The four grades move the due time in order, as the flashcards' buttons tell beforehand; the round asking an
    // entry again moves nothing, whatever the grade.
    void oceny_data()
    {
        QTest::addColumn<QList<int>>("przed"); // days of earlier answers (negative: wrong), each a round of its own
        QTest::addColumn<int>("dzien");        // the day the four grades are given
        QTest::newRow("new entry") << QList<int>{} << 0;
        QTest::newRow("a week after a right answer") << QList<int>{1} << 8;
        QTest::newRow("after a lapse") << QList<int>{1, 5, -20} << 30;
        QTest::newRow("the same day as a right answer") << QList<int>{3} << 3;
    }

    void oceny()
    {
        QFETCH(QList<int>, przed);
        Baza b;
        QVERIFY(b.otworz());
        for (int ocena = 1; ocena <= 4; ++ocena) {
            for (int d : przed)
                b.odpowiedz("e" + std::to_string(ocena), d > 0, std::abs(d));
        }
        b.dzien = WARTOSC(int, dzien);
        const qint64 teraz = Dzien(b.dzien).toMSecsSinceEpoch();
        std::array<std::int64_t, 4> odstepy{};
        for (int ocena = 1; ocena <= 4; ++ocena) {
            const vokara::WpisPamieci wpis{"z.txt", "e" + std::to_string(ocena), "x"};
            b.pamiec.NowaRunda("z.txt");
            const auto zapowiedziane = b.pamiec.OdstepyOcen(wpis.Angielski, wpis.Polski);
            QVERIFY(b.pamiec.Zapisz(wpis.Angielski, wpis.Polski, vokara::StronaFiszek, 0, vokara::Ocena(ocena)));
            const vokara::StanFsrs stan = b.pamiec.Stan(wpis);
            odstepy[std::size_t(ocena - 1)] = vokara::Termin(b.pamiec.UzywaneParametry(), stan) - teraz;
            QCOMPARE(odstepy[std::size_t(ocena - 1)], zapowiedziane[std::size_t(ocena - 1)]);
            const std::int64_t o = odstepy[std::size_t(ocena - 1)];
            QCOMPARE(b.pamiec.OdstepyOcen(wpis), (std::array<std::int64_t, 4>{o, o, o, o}));
            QVERIFY(b.pamiec.Zapisz(wpis, vokara::StronaFiszek, 0, vokara::OcenaLatwe));
            QCOMPARE(b.pamiec.Stan(wpis).S, stan.S);
        }
        for (int i = 0; i < 3; ++i)
            QVERIFY2(odstepy[std::size_t(i)] < odstepy[std::size_t(i + 1)],
                     qPrintable(QStringLiteral("grade %1: %2 ms, grade %3: %4 ms")
                                    .arg(i + 1)
                                    .arg(odstepy[std::size_t(i)])
                                    .arg(i + 2)
                                    .arg(odstepy[std::size_t(i + 1)])));
        // Each answer keeps its grade; right is any grade but the first.
        const auto wiersze = Zapytaj(b.katalog.filePath("postepy.sqlite"),
                                     "SELECT ocena, dobrze, liczy FROM odpowiedzi ORDER BY id DESC LIMIT 2");
        QCOMPARE(wiersze, (QList<QVariantList>{{4, 1, 0}, {4, 1, 1}}));
    }

    // A version 1 file moves to the current version in the background: every answer kept with its grade, whether it
    // counted for its round, every entry's state equal to a replay, texts in UTF-8; answers given meanwhile wait.
    // Killed at any moment before the commit, the old file is still whole (and its copy beside it), and the next
    // start moves it.
    void migracja_data()
    {
        QTest::addColumn<int>("krok"); // where the mover is killed; -1: it is not
        QTest::newRow("undisturbed") << -1;
        QTest::newRow("killed after the copy") << int(vokara::Etap1Do2::Kopia);
        QTest::newRow("killed with every entry replayed") << int(vokara::Etap1Do2::Odczytane);
        QTest::newRow("killed with everything written") << int(vokara::Etap1Do2::Zapisane);
        QTest::newRow("killed just before the commit") << int(vokara::Etap1Do2::Zatwierdzane);
    }

    void migracja()
    {
        QFETCH(int, krok);
        QTemporaryDir katalog;
        const QString plik = katalog.filePath("postepy.sqlite");
        const PlikV1 v1 = DwaMiesiaceWersji1();
        ZapiszWersje1(plik, v1);
        const QString odpowiedziV1 =
            "SELECT id, wpis, czas, dzien, strona, kierunek, dobrze FROM odpowiedzi ORDER BY id";
        const auto przed = Zapytaj(plik, odpowiedziV1);
        QCOMPARE(przed.size(), qsizetype(v1.Odpowiedzi.size()));
        if (krok >= 0) {
            QProcess dziecko;
            dziecko.start(QCoreApplication::applicationFilePath(), {"--przenies", plik, QString::number(krok)});
            QVERIFY(dziecko.waitForStarted());
            QVERIFY(dziecko.waitForReadyRead(20000));
            QCOMPARE(dziecko.readAllStandardOutput().trimmed(), QByteArray::number(krok));
            ::kill(pid_t(dziecko.processId()), SIGKILL);
            QVERIFY(dziecko.waitForFinished());
            for (const QString& f : {plik, plik + vokara::KoncowkaKopii}) {
                QCOMPARE(Zapytaj(f, "PRAGMA user_version"), (QList<QVariantList>{{1}}));
                QCOMPARE(Zapytaj(f, "PRAGMA integrity_check"), (QList<QVariantList>{{"ok"}}));
                QCOMPARE(Zapytaj(f, odpowiedziV1), przed);
            }
        }

        QDateTime teraz = Dzien(70);
        vokara::Pamiec pamiec([&teraz] { return teraz; });
        QSignalSpy gotowa(&pamiec, &vokara::Pamiec::zapisano);
        QVERIFY(pamiec.Otworz(plik));
        QVERIFY(pamiec.Przenoszona());
        pamiec.NowaRunda("z0.txt");
        QVERIFY(pamiec.Zapisz("w0", testy::cp("słowo 0"), vokara::StronaWpisu, 1, true));
        QTRY_VERIFY_WITH_TIMEOUT(!pamiec.Pracuje(), 20000);
        QVERIFY(!pamiec.Przenoszona());
        QVERIFY(gotowa.size() >= 1);
        QCOMPARE(Zapytaj(plik, "PRAGMA user_version"), (QList<QVariantList>{{vokara::WersjaBazy}}));
        // The copy has gone with the commit, and nothing else of the move is left.
        QCOMPARE(QDir(katalog.path()).entryList({"postepy.sqlite.v1*"}, QDir::Files), QStringList());

        // Every answer as it was, with its grade and whether it counted, and the one that waited after them.
        const std::vector<bool> liczy = Liczace(v1);
        QList<QVariantList> oczekiwane = przed;
        for (qsizetype i = 0; i < oczekiwane.size(); ++i)
            oczekiwane[i] << (v1.Odpowiedzi[std::size_t(i)].Dobrze ? 3 : 1) << (liczy[std::size_t(i)] ? 1 : 0);
        oczekiwane << QVariantList{
            qsizetype(przed.size()) + 1, 1, teraz.toMSecsSinceEpoch(), teraz.date().toJulianDay(), 2, 1, 1, 3, 1};
        QCOMPARE(Zapytaj(plik, "SELECT id, wpis, czas, dzien, strona, kierunek, dobrze, ocena, liczy FROM odpowiedzi "
                               "ORDER BY id"),
                 oczekiwane);

        // Each entry's state is the replay of its counted answers by the defaults, its due time read from it, and
        // the schedule's predictions of those answers are what the progress window sums.
        const vokara::Parametry p = vokara::Parametry::Domyslne();
        int przewidziane = 0;
        double suma = 0.0;
        for (std::size_t w = 0; w < v1.Wpisy.size(); ++w) {
            std::vector<vokara::Odpowiedz> log;
            for (std::size_t i = 0; i < v1.Odpowiedzi.size(); ++i) {
                const OdpowiedzV1& o = v1.Odpowiedzi[i];
                if (o.Wpis == int(w) && liczy[i])
                    log.push_back({o.Czas, o.Dzien, vokara::OcenaOdpowiedzi(o.Dobrze)});
            }
            std::vector<double> r;
            vokara::Odtworz(p, log, &r);
            for (double x : r) {
                przewidziane += x >= 0.0 ? 1 : 0;
                suma += std::max(x, 0.0);
            }
            if (w == 0)
                log.push_back({teraz.toMSecsSinceEpoch(), teraz.date().toJulianDay(), vokara::OcenaDobrze});
            const vokara::StanFsrs oczekiwany = vokara::Odtworz(p, log);
            const vokara::StanFsrs stan = pamiec.Stan(v1.Wpisy[w]);
            QCOMPARE(stan.S, oczekiwany.S);
            QCOMPARE(stan.D, oczekiwany.D);
            QCOMPARE(stan.OstatniCzas, oczekiwany.OstatniCzas);
            QCOMPARE(stan.Odpowiedzi, oczekiwany.Odpowiedzi);
            QCOMPARE(stan.Pomylki, oczekiwany.Pomylki);
            QCOMPARE(Zapytaj(plik, "SELECT termin FROM wpisy WHERE id = ?", {qint64(w) + 1}),
                     (QList<QVariantList>{{qint64(vokara::Termin(p, oczekiwany))}}));
        }
        const auto dni = Zapytaj(plik, "SELECT SUM(odpowiedzi), SUM(suma) FROM przewidywania");
        QCOMPARE(dni[0][0].toInt(), przewidziane + 1); // the answer that waited was predicted too
        QVERIFY(std::abs(dni[0][1].toDouble() - suma) < 1e-6 * przewidziane + 1.0);

        // Texts are UTF-8 for any SQLite tool, but for the two with a byte Windows-1250 leaves undefined, which keep
        // their bytes; through the memory every text comes back as the bytes it was.
        QCOMPARE(Zapytaj(plik, "SELECT typeof(plik) FROM zestawy ORDER BY id"),
                 (QList<QVariantList>{{"text"}, {"text"}, {"blob"}}));
        QCOMPARE(Zapytaj(plik, "SELECT plik FROM zestawy WHERE id = 2"), (QList<QVariantList>{{"zwierzęta.txt"}}));
        QCOMPARE(Zapytaj(plik, "SELECT typeof(angielski), typeof(polski), polski FROM wpisy WHERE angielski = 'horse'"),
                 (QList<QVariantList>{{"text", "text", "koń"}}));
        QCOMPARE(Zapytaj(plik, "SELECT typeof(polski) FROM wpisy WHERE angielski = 'odd'"),
                 (QList<QVariantList>{{"blob"}}));
        teraz = Dzien(5000);
        auto wszystkie = pamiec.DoPowtorki(100);
        QCOMPARE(wszystkie.size(), v1.Wpisy.size());
        const auto tekst = [](const vokara::WpisPamieci& w) { return w.Plik + '|' + w.Angielski + '|' + w.Polski; };
        std::set<std::string> zwrocone, zapisane;
        for (const auto& w : wszystkie)
            zwrocone.insert(tekst(w));
        for (const auto& w : v1.Wpisy)
            zapisane.insert(tekst(w));
        QCOMPARE(zwrocone, zapisane);
        QCOMPARE(pamiec.Zbierz().Odpowiedzi, int(przed.size()) + 1);
    }

    // The fit runs in the background once there is enough to fit to, at most once a day, and the weights in use
    // change only when the fitted ones predict the latest answers better than the defaults; the states follow.
    void dopasowanie_data()
    {
        QTest::addColumn<bool>("szybkoZapomina"); // otherwise the learner remembers just as the defaults predict
        QTest::addColumn<bool>("dopasowany");
        QTest::newRow("a learner as the defaults expect") << false << false;
        QTest::newRow("a learner who forgets within days") << true << true;
    }

    void dopasowanie()
    {
        QFETCH(bool, szybkoZapomina);
        Baza b;
        const QString plik = b.katalog.filePath("postepy.sqlite");
        QVERIFY(b.otworz());
        // 150 words started over ten days, each answered 0, 1, 3, 7, 14, 25, 40 and 60 days after its start.
        const vokara::Parametry p = vokara::Parametry::Domyslne();
        std::vector<std::pair<int, int>> plan; // (day, word)
        for (int s = 0; s < 150; ++s) {
            for (int d : {0, 1, 3, 7, 14, 25, 40, 60})
                plan.push_back({s % 10 + d, s});
        }
        std::sort(plan.begin(), plan.end());
        std::mt19937_64 los(7);
        std::uniform_real_distribution<double> jednostajny(0.0, 1.0);
        std::vector<vokara::StanFsrs> stany(150);
        std::vector<std::vector<vokara::Odpowiedz>> logi(150);
        for (const auto& [dzien, s] : plan) {
            vokara::StanFsrs& stan = stany[std::size_t(s)];
            const double dni = double(dzien - stan.OstatniDzien + Dzien(0).date().toJulianDay());
            const double r = stan.Nowy()      ? 0.7
                             : szybkoZapomina ? std::exp(-dni / 0.7)
                                              : vokara::fsrs::Pamietanie(p, dni, stan.S);
            const bool dobrze = jednostajny(los) < r;
            const vokara::Odpowiedz o{Dzien(dzien).toMSecsSinceEpoch(), Dzien(dzien).date().toJulianDay(),
                                      vokara::OcenaOdpowiedzi(dobrze)};
            stan = vokara::Powtorz(p, stan, o);
            logi[std::size_t(s)].push_back(o);
            b.odpowiedz("s" + std::to_string(s), dobrze, dzien);
        }
        b.pamiec.Zamknij();
        // A schedule fitted earlier, far from this learner: the day's fit replaces it whatever it finds.
        vokara::Parametry dawne = p;
        for (int i = 0; i < 4; ++i)
            dawne.w[std::size_t(i)] = 60.0;
        Zapytaj(plik, "INSERT OR REPLACE INTO ustawienia VALUES(?, ?), (?, ?), (?, ?)",
                {vokara::KluczParametrow, vokara::TekstParametrow(dawne), vokara::KluczDniaParametrow,
                 QString::number(Dzien(30).date().toJulianDay()), vokara::KluczDniaDopasowania,
                 QString::number(Dzien(30).date().toJulianDay())});

        b.dzien = 75;
        QVERIFY(b.otworz());
        QVERIFY(b.pamiec.Dopasowany());
        QVERIFY(b.pamiec.Pracuje());
        QTRY_VERIFY_WITH_TIMEOUT(!b.pamiec.Pracuje(), 60000);
        const bool dopasowany = WARTOSC(bool, dopasowany);
        QCOMPARE(b.pamiec.Dopasowany(), dopasowany);
        const QString dzis = QString::number(Dzien(75).date().toJulianDay());
        const auto ustawienia = Zapytaj(plik, "SELECT klucz, wartosc FROM ustawienia ORDER BY klucz");
        if (dopasowany) {
            QCOMPARE(b.pamiec.OpisHarmonogramu(), QStringLiteral("Harmonogram: dopasowany do Ciebie (14.02.2027)"));
            QCOMPARE(ustawienia, (QList<QVariantList>{
                                     {vokara::KluczDniaParametrow, dzis},
                                     {vokara::KluczDniaDopasowania, dzis},
                                     {vokara::KluczParametrow, vokara::TekstParametrow(b.pamiec.UzywaneParametry())}}));
            QVERIFY(b.pamiec.UzywaneParametry().w != p.w);
        } else {
            QCOMPARE(b.pamiec.OpisHarmonogramu(), QStringLiteral("Harmonogram: parametry domyślne"));
            QCOMPARE(ustawienia, (QList<QVariantList>{{vokara::KluczDniaDopasowania, dzis}}));
            QCOMPARE(b.pamiec.UzywaneParametry().w, p.w);
        }
        for (int s = 0; s < 150; s += 37) {
            const vokara::StanFsrs stan = b.pamiec.Stan({"z.txt", "s" + std::to_string(s), "x"});
            QCOMPARE(stan.S, vokara::Odtworz(b.pamiec.UzywaneParametry(), logi[std::size_t(s)]).S);
        }
        // Once a day: opened again the same day nothing runs; the next day it fits again.
        b.pamiec.Zamknij();
        QVERIFY(b.otworz());
        QVERIFY(!b.pamiec.Pracuje());
        b.pamiec.Zamknij();
        b.dzien = 76;
        QVERIFY(b.otworz());
        QVERIFY(b.pamiec.Pracuje());
        QTRY_VERIFY_WITH_TIMEOUT(!b.pamiec.Pracuje(), 60000);
        QCOMPARE(b.pamiec.Dopasowany(), dopasowany);
    }

    // Progress from the first day: a set's entries by stage, and its picker item's two-part bar with both numbers
    // in words.
    void postepZestawow()
    {
        Baza b;
        vokara::Dane d;
        d.KatalogRoboczy = b.katalog.path().toStdString();
        testy::zapiszLinie(b.katalog.filePath("dane/z.txt"), {"Słowo*Znaczenie", "a*x", "b*x", "c*x", "d*x"});
        testy::zapiszLinie(b.katalog.filePath("dane/y.txt"), {"Słowo*Znaczenie", "e*x"});
        d.Zestawy = {{"Zestaw", "z.txt"}, {"Drugi", "y.txt"}};
        QVERIFY(b.otworz());
        for (int dzien : {0, 3, 10})
            b.odpowiedz("a", true, dzien); // 39 days of stability: opanowane
        for (int dzien : {0, 2})
            b.odpowiedz("b", true, dzien); // 11 days: utrwalane
        b.odpowiedz("c", false, 10);       // w nauce; d never answered
        const auto z = b.pamiec.Znajomosc(d, {"z.txt", "y.txt"});
        QVERIFY(z[0].Cwiczony);
        QCOMPARE(z[0].Etapy, (std::array<int, 4>{1, 1, 1, 1}));
        QCOMPARE(z[0].Opanowane(), 1);
        QCOMPARE(z[0].WNauce(), 2);
        QCOMPARE(z[0].Wszystkie, 4);
        QVERIFY(!z[1].Cwiczony);

        TWyborZestawu lista;
        lista.addItems({"Zestaw", "Drugi"});
        lista.resize(241, 22);
        vokara::OdswiezWybory(b.pamiec, d, {&lista});
        QCOMPARE(lista.itemData(0, RolaPostepu).toDouble(), 0.25);
        QCOMPARE(lista.itemData(0, RolaWNauce).toDouble(), 0.5);
        QCOMPARE(lista.itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("Opanowane: 1 z 4, w nauce: 2"));
        QCOMPARE(lista.itemData(0, Qt::AccessibleDescriptionRole).toString(),
                 QStringLiteral("Opanowane: 1 z 4, w nauce: 2"));
        QVERIFY(!lista.itemData(1, RolaWNauce).isValid());
        QVERIFY(!lista.itemData(1, Qt::ToolTipRole).isValid());
        // The bar's 38 inner pixels: a quarter opanowane, then half w nauce in the lighter green, the rest its
        // ground.
        QImage obraz(241, 16, QImage::Format_RGB32);
        obraz.fill(Qt::black);
        {
            QPainter malarz(&obraz);
            RysujPozycje(malarz, lista, 0, obraz.rect());
        }
        int opanowane = 0, wNauce = 0, tlo = 0;
        for (int x = 0; x < obraz.width(); ++x) {
            const QRgb piksel = obraz.pixel(x, 7);
            opanowane += piksel == KolorOpanowanych.rgb();
            wNauce += piksel == KolorWNauce.rgb();
            tlo += piksel == KolorTlaPaska.rgb();
        }
        QCOMPARE(opanowane, 9);
        QCOMPARE(wNauce, 19);
        QCOMPARE(tlo, 10);
    }

    // A writer killed at any moment leaves a sound file holding every answer it had committed.
    void zabityWTrakcieZapisu()
    {
        QTemporaryDir katalog;
        const QString plik = katalog.filePath("postepy.sqlite");
        QProcess dziecko;
        dziecko.start(QCoreApplication::applicationFilePath(), {"--pisz", plik});
        QVERIFY(dziecko.waitForStarted());
        int zatwierdzone = 0;
        while (zatwierdzone < 300 && dziecko.waitForReadyRead(10000)) {
            for (const QByteArray& linia : dziecko.readAllStandardOutput().split('\n'))
                if (!linia.isEmpty())
                    zatwierdzone = linia.toInt();
        }
        ::kill(pid_t(dziecko.processId()), SIGKILL);
        QVERIFY(dziecko.waitForFinished());
        QVERIFY(zatwierdzone >= 300);
        QString sprawdzenie;
        QVERIFY(LiczbaOdpowiedzi(plik, &sprawdzenie) >= zatwierdzone);
        QCOMPARE(sprawdzenie, QStringLiteral("ok"));
        vokara::Pamiec pamiec;
        QVERIFY(pamiec.Otworz(plik));
    }

    // A memory that cannot be used gives one notice, and the exercises go on as before.
    void awarie_data()
    {
        QTest::addColumn<QString>("rodzaj");
        QTest::addColumn<QString>("komunikat");
        QTest::addColumn<bool>("zapisuje");
        QTest::newRow("damaged file") << "uszkodzony"
                                      << "Plik postępów nauki był uszkodzony" << true;
        QTest::newRow("damaged inside") << "uszkodzony w środku"
                                        << "Plik postępów nauki był uszkodzony" << true;
        QTest::newRow("a folder in its place") << "folder"
                                               << "Postępy nauki nie są zapisywane" << false;
        QTest::newRow("read-only folder") << "tylko do odczytu"
                                          << "Postępy nauki nie są zapisywane" << false;
        QTest::newRow("from a newer program") << "nowszy"
                                              << "Plik postępów pochodzi z nowszej wersji programu" << false;
        QTest::newRow("a link to nowhere") << "martwy link"
                                           << "Postępy nauki nie są zapisywane" << false;
    }

    void awarie()
    {
        QFETCH(QString, rodzaj);
        QFETCH(QString, komunikat);
        QFETCH(bool, zapisuje);
        Gra g({Kolory});
        const QString plik = g.katalog.sciezka("dane/postepy.sqlite");
        const QByteArray smieci = QByteArray("to nie jest baza danych ").repeated(200);
        QByteArray zawartosc = smieci;
        if (rodzaj == "uszkodzony") {
            testy::zapisz(plik, smieci);
        } else if (rodzaj == "uszkodzony w środku") {
            // A sound header over tables whose pages were overwritten.
            {
                vokara::Pamiec pamiec;
                QVERIFY(pamiec.Otworz(plik));
                pamiec.NowaRunda("z0.txt");
                QVERIFY(pamiec.Zapisz("red", testy::cp("czerwony"), vokara::StronaTestu, 0, false));
            }
            QFile f(plik);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(1024);
            f.write(smieci.left(int(f.size()) - 1024));
            f.close();
            QVERIFY(f.open(QIODevice::ReadOnly));
            zawartosc = f.readAll();
        } else if (rodzaj == "folder") {
            QDir().mkpath(plik);
        } else if (rodzaj == "nowszy") {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "nowszy");
                db.setDatabaseName(plik);
                QVERIFY(db.open());
                QSqlQuery(db).exec("PRAGMA user_version=99");
            }
            QSqlDatabase::removeDatabase("nowszy");
            QFile f(plik);
            QVERIFY(f.open(QIODevice::ReadOnly));
            zawartosc = f.readAll();
        } else if (rodzaj == "martwy link") {
            QVERIFY(QFile::link(g.katalog.sciezka("dane/gdzie_indziej.sqlite"), plik));
        } else {
            if (::geteuid() == 0)
                QSKIP("the superuser writes into a read-only folder");
            QFile::setPermissions(g.katalog.sciezka("dane"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        g.start();
        QTRY_COMPARE(g.odpowiedzi->teksty.size(), 1);
        QVERIFY(g.odpowiedzi->teksty[0].startsWith(komunikat));
        QCOMPARE(g.program->stan.pamiec.Dostepna(), zapisuje);
        if (rodzaj == "martwy link")
            QVERIFY(!QFileInfo::exists(g.katalog.sciezka("dane/gdzie_indziej.sqlite")));
        if (rodzaj == "nowszy") {
            QFile f(plik);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), zawartosc);
        }
        if (zapisuje) {
            QFile odlozony(plik + ".uszkodzony");
            QVERIFY(odlozony.open(QIODevice::ReadOnly));
            QCOMPARE(odlozony.readAll(), zawartosc);
        }
        // A whole round still works.
        const auto ui = g.ui();
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 0);
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
            testy::wpisz(ui.EWpis2, vokara::ZCp1250(g.program->FGlowny->Strona(2)->Runda()->PoprawnaOdpowiedz(0)));
            QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        }
        QCOMPARE(g.program->FGlowny->findChild<QLabel*>("LPostep2")->text(),
                 QStringLiteral("Zaliczone: 3 z 3, błędy: 0"));
        QCOMPARE(g.odpowiedzi->teksty.size(), 1); // one notice, not one per answer
        QFile::setPermissions(g.katalog.sciezka("dane"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(LiczbaOdpowiedzi(plik) == 3, zapisuje);
    }

    // "Uznaj odpowiedź" keeps the answer as right in the memory: its grade, the entry's mistakes and its state.
    void uznanieWPamieci()
    {
        Gra g({Kolory});
        g.start();
        const auto ui = g.ui();
        QTRY_VERIFY(g.program->stan.pamiec.Dostepna());
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 0);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        const vokara::_word wpis = g.program->FGlowny->Strona(2)->Runda()->BiezacyWyraz();
        testy::wpisz(ui.EWpis2, QStringLiteral("zupełnie nie to"));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        const vokara::WpisPamieci klucz{"z0.txt", wpis.Angielski, wpis.Polski};
        const double poBledzie = g.program->stan.pamiec.Stan(klucz).S;
        QTest::mouseClick(ui.ButUznaj2, Qt::LeftButton);
        QVERIFY(g.program->stan.pamiec.Stan(klucz).S > poBledzie); // the state of a right first answer now
        g.program.reset();
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "uznanie");
        db.setDatabaseName(g.katalog.sciezka("dane/postepy.sqlite"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("SELECT o.dobrze, o.ocena, w.bledy FROM odpowiedzi o JOIN wpisy w ON w.id = o.wpis"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toInt(), 3);
        QCOMPARE(q.value(2).toInt(), 0);
        QVERIFY(!q.next());
        q = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("uznanie");
    }

    // Two copies of the program answering against one file both keep every answer.
    void dwieKopie()
    {
        QTemporaryDir katalog;
        const QString plik = katalog.filePath("postepy.sqlite");
        {
            vokara::Pamiec pierwsza; // the file exists before the other copy starts, as after any day of practice
            QVERIFY(pierwsza.Otworz(plik));
            pierwsza.NowaRunda("a.txt");
            QVERIFY(pierwsza.Zapisz("start", "początek", vokara::StronaTestu, 0, true));
        }
        QProcess druga;
        druga.start(QCoreApplication::applicationFilePath(), {"--pisz", plik});
        QVERIFY(druga.waitForStarted());
        QVERIFY(druga.waitForReadyRead(10000));
        {
            vokara::Pamiec pamiec;
            QVERIFY(pamiec.Otworz(plik));
            pamiec.NowaRunda("a.txt");
            for (int i = 0; i < 400; ++i)
                QVERIFY(pamiec.Zapisz("w" + std::to_string(i % 40), "x", vokara::StronaTestu, 0, i % 2 == 0));
            QCOMPARE(druga.state(), QProcess::Running); // the other copy never had to give up either
        }                                               // answers still waiting are written as the memory closes
        ::kill(pid_t(druga.processId()), SIGKILL);
        QVERIFY(druga.waitForFinished());
        QCOMPARE(LiczbaOdpowiedzi(plik, nullptr, vokara::StronaTestu), 401);
    }

    // A damaged file set aside earlier is never overwritten; the newest three set aside are kept.
    void drugieOdlozenie()
    {
        Baza b;
        const QString plik = b.katalog.filePath("postepy.sqlite");
        QVERIFY(b.otworz());
        b.odpowiedz("w", true, 0);
        b.pamiec.Zamknij();
        QVERIFY(QFile::rename(plik, plik + ".uszkodzony"));
        const int zdrowe = LiczbaOdpowiedzi(plik + ".uszkodzony");
        QCOMPARE(zdrowe, 1);
        QSignalSpy awarie(&b.pamiec, &vokara::Pamiec::awaria);
        for (int raz = 1; raz <= 4; ++raz) {
            b.pamiec.Zamknij();
            testy::zapisz(plik, QByteArray("to nie jest baza danych ").repeated(100));
            b.otworz();
            QVERIFY(b.pamiec.Dostepna());
            QCOMPARE(awarie.size(), raz);
            const QString nazwa = QStringLiteral("postepy.sqlite.uszkodzony-%1").arg(raz + 1);
            QVERIFY2(awarie.last().at(0).toString().contains("dane/" + nazwa),
                     qPrintable(awarie.last().at(0).toString()));
            QVERIFY(QFileInfo::exists(b.katalog.filePath(nazwa)));
        }
        // The first healthy copy held out until three newer ones came.
        const QStringList odlozone =
            QDir(b.katalog.path()).entryList({"postepy.sqlite.uszkodzony*"}, QDir::Files, QDir::Name);
        QCOMPARE(odlozone.size(), 3);
        QCOMPARE(odlozone, (QStringList{"postepy.sqlite.uszkodzony-3", "postepy.sqlite.uszkodzony-4",
                                        "postepy.sqlite.uszkodzony-5"}));
    }

    // "Powtórka" appears only once something is due, drills it under its own captions, and stays out of the list.
    void powtorkaWWyborach()
    {
        Gra g({Kolory, Osiem});
        g.start();
        const auto ui = g.ui();
        QTRY_VERIFY(g.program->stan.pamiec.Dostepna());
        QDateTime kiedy = QDateTime::currentDateTime();
        g.program->stan.pamiec.UstawZegar([&kiedy] { return kiedy; });
        const QByteArray spis = [&] {
            QFile f(g.katalog.sciezka("dane/a_spis.txt"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        QCOMPARE(ui.CZestawSlow->count(), 2);
        QVERIFY(!ui.CZestawSlow->itemData(0, RolaPostepu).isValid());
        // Nothing answered yet: the data folder holds no new file.
        QVERIFY(!QFileInfo::exists(g.katalog.sciezka("dane/postepy.sqlite")));
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        // One wrong answer, then the round to its end.
        for (int krok = 0; krok < 10 && ui.ButNastepny->isVisible(); ++krok) {
            g.odpowiedzi->klawisze = {Qt::Key_N};
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            if (!ui.ButSprawdz->isVisible())
                break;
            const QString poprawna = vokara::ZCp1250(g.program->FGlowny->Strona(1)->Runda()->PoprawnaOdpowiedz(0));
            for (QLabel* o : {ui.Lw1, ui.LW2, ui.LW3})
                if ((o->text() == poprawna) == (krok != 0)) {
                    QTest::mouseClick(o, Qt::LeftButton);
                    break;
                }
            QTest::mouseClick(ui.ButSprawdz, Qt::LeftButton);
            QCOMPARE(g.program->FGlowny->findChild<QLabel*>("LPostep")->text().endsWith(QStringLiteral("błędy: 1")),
                     true);
        }
        const std::vector<QComboBox*> listy{ui.CZestawSlow, ui.CZestawSlow2, ui.CZestawSlow3};
        // Progress shows at once; the entry answered wrong comes back once its recall has fallen below 90%, which
        // the defaults put about five hours after a first Again: a day later it is due.
        QTRY_VERIFY(ui.CZestawSlow->itemData(0, RolaWNauce).isValid());
        QCOMPARE(ui.CZestawSlow->count(), 2);
        kiedy = kiedy.addDays(1);
        g.program->FGlowny->OdswiezPostep();
        for (QComboBox* lista : listy) {
            QTRY_COMPARE(lista->count(), 3);
            QCOMPARE(lista->itemText(2), QStringLiteral("Powtórka (1)"));
            QVERIFY(vokara::JestPowtorka(*lista, 2));
            // After the first round nothing is opanowane yet, but all three are w nauce: progress from the first
            // day.
            QCOMPARE(lista->itemData(0, RolaPostepu).toDouble(), 0.0);
            QCOMPARE(lista->itemData(0, RolaWNauce).toDouble(), 1.0);
            QCOMPARE(lista->itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("Opanowane: 0 z 3, w nauce: 3"));
            QCOMPARE(lista->itemData(0, Qt::AccessibleDescriptionRole).toString(),
                     QStringLiteral("Opanowane: 0 z 3, w nauce: 3"));
            QVERIFY(!lista->itemData(1, RolaPostepu).isValid());
        }
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 2);
        QCOMPARE(ui.LWyraz2->text(), QStringLiteral("Angielskie słowo"));
        QCOMPARE(ui.LOznacza2->text(), QStringLiteral("Polskie znaczenie"));
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        testy::wpisz(ui.EWpis2, vokara::ZCp1250(g.program->FGlowny->Strona(2)->Runda()->PoprawnaOdpowiedz(0)));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QCOMPARE(g.program->stan.pamiec.LiczbaDoPowtorki(), 0);
        // Nothing due: the item goes from every picker but the one that shows it.
        QTRY_COMPARE(ui.CZestawSlow->count(), 2);
        QCOMPARE(ui.CZestawSlow2->count(), 3);
        QFile f(g.katalog.sciezka("dane/a_spis.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), spis);

        // The progress window shows the same memory.
        g.strona(0);
        QTest::mouseClick(ui.ButPostepy, Qt::LeftButton);
        TFPostepy* okno = g.program->FGlowny->OknoPostepow();
        QVERIFY(okno && okno->isVisible());
        QVERIFY(okno->Formularz().LPodsumowanie->text().contains(QStringLiteral("Odpowiedzi: 5")));
        QCOMPARE(okno->Formularz().TBledy->rowCount(), 1);
        // The review a day after the wrong answer was the one answer the schedule predicted.
        QVERIFY(okno->Formularz().LHarmonogram->text().endsWith(QStringLiteral("(1 powtórka)")));
        QVERIFY2(
            okno->Formularz().LHarmonogram->text().startsWith(QStringLiteral(
                "Harmonogram: parametry domyślne   •   Powtórki z 30 dni: poprawne 100%, harmonogram przewidywał ")),
            qPrintable(okno->Formularz().LHarmonogram->text()));
        QVERIFY(QTest::qWaitForWindowActive(okno));
        QTest::keyClick(okno, Qt::Key_Escape);
        QVERIFY(!okno->isVisible());
    }

    // A grade on the flashcards reaches the memory with its page, direction and grade, the buttons tell the memory's
    // own intervals, and an open "Postępy" follows the answer.
    void fiszkiWPamieci()
    {
        Gra g({Kolory});
        g.start();
        QTRY_VERIFY(g.program->stan.pamiec.Dostepna());
        StronaFiszek& strona = g.program->FGlowny->Strona<StronaFiszek>();
        g.strona(5);
        auto* wybor = testy::znajdz<TWyborZestawu>(strona, "CZestawSlow5");
        g.wybierz(wybor, 0);
        QTest::mouseClick(testy::znajdz<QRadioButton>(strona, "RJezyk5_1"), Qt::LeftButton);
        QTest::mouseClick(testy::znajdz<QPushButton>(strona, "ButNastepny5"), Qt::LeftButton);
        const vokara::_word wpis = strona.Runda()->BiezacyWyraz();
        QTest::keyClick(wybor, Qt::Key_Space);
        const auto odstepy = g.program->stan.pamiec.OdstepyOcen(wpis.Angielski, wpis.Polski);
        for (int ocena = 1; ocena <= 4; ++ocena)
            QCOMPARE(strona.Przycisk(ocena)->accessibleDescription(),
                     QString::fromStdString(vokara::OpisOdstepu(odstepy[std::size_t(ocena - 1)])));
        g.program->FGlowny->ButPostepyClick();
        TFPostepy* okno = g.program->FGlowny->OknoPostepow();
        QVERIFY(okno && okno->isVisible());
        QVERIFY(okno->Formularz().LPodsumowanie->text().contains(QStringLiteral("Odpowiedzi: 0,")));
        QTest::mouseClick(strona.Przycisk(vokara::OcenaTrudne), Qt::LeftButton);
        QCOMPARE(Zapytaj(g.katalog.sciezka("dane/postepy.sqlite"),
                         "SELECT w.angielski, o.strona, o.kierunek, o.ocena, o.dobrze, o.liczy FROM odpowiedzi o "
                         "JOIN wpisy w ON w.id = o.wpis"),
                 (QList<QVariantList>{{vokara::ZCp1250(wpis.Angielski), int(vokara::StronaFiszek),
                                       int(vokara::PolskiAngielski), int(vokara::OcenaTrudne), 1, 1}}));
        QTRY_VERIFY(okno->Formularz().LPodsumowanie->text().contains(QStringLiteral("Odpowiedzi: 1,")));
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--pisz") {
        QCoreApplication aplikacja(argc, argv);
        return PiszBezKonca(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 4 && QByteArray(argv[1]) == "--przenies") {
        QCoreApplication aplikacja(argc, argv);
        return PrzeniesIStan(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    QApplication aplikacja(argc, argv);
    TestPostepy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_postepy.moc"
