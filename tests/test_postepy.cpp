// The learning memory: boxes and due dates, the database's failures, and rounds played through the real pages.
#include "cwiczenie.h"
#include "formularz_testowy.h"
#include "fpostepy.h"
#include "pamiec.h"
#include "program_testowy.h"
#include "tekst.h"
#include "ui_fpostepy.h"
#include "wybory.h"
#include "wyborzestawu.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTableWidget>

#include <csignal>
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
            // Something of the other set is due, so every picker ends with "Powtórka" from the start.
            vokara::Pamiec pamiec;
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

    // Box and due day after a history of answers, each the first of its own round.
    void pudelka_data()
    {
        QTest::addColumn<QList<int>>("odpowiedzi"); // day of each answer; negative = wrong on that (positive) day
        QTest::addColumn<int>("pudelko");
        QTest::addColumn<int>("termin"); // days after the last answer
        QTest::newRow("new, right") << QList<int>{1} << 2 << 1;
        QTest::newRow("new, wrong") << QList<int>{-1} << 1 << 0;
        QTest::newRow("three right") << QList<int>{1, 2, 3} << 4 << 7;
        QTest::newRow("four right") << QList<int>{1, 2, 5, 12} << 5 << 14;
        QTest::newRow("five stays at top") << QList<int>{1, 2, 5, 12, 26, 40} << 5 << 14;
        QTest::newRow("wrong drops to one") << QList<int>{1, 2, 5, -6} << 1 << 0;
        QTest::newRow("up again after wrong") << QList<int>{1, -2, 3} << 2 << 1;
    }

    void pudelka()
    {
        QFETCH(QList<int>, odpowiedzi);
        QFETCH(int, pudelko);
        QFETCH(int, termin);
        Baza b;
        QVERIFY(b.otworz());
        for (int d : odpowiedzi)
            b.odpowiedz("dog", d > 0, std::abs(d));
        QCOMPARE(b.pamiec.Pudelko({"z.txt", "dog", "x"}), pudelko);
        const int ostatni = std::abs(odpowiedzi.last());
        if (termin > 0) {
            b.dzien = ostatni + termin - 1;
            QVERIFY(!b.zalegly("dog"));
        }
        b.dzien = ostatni + termin;
        QVERIFY(b.zalegly("dog"));
        QCOMPARE(vokara::DniDoPowtorki(pudelko), termin);
    }

    // Within one round only an entry's first answer moves its box; a new round counts again.
    void jednaOdpowiedzNaRunde()
    {
        Baza b;
        QVERIFY(b.otworz());
        b.pamiec.NowaRunda("z.txt");
        QVERIFY(b.pamiec.Zapisz("dog", "x", vokara::StronaTestu, 0, false));
        QVERIFY(b.pamiec.Zapisz("dog", "x", vokara::StronaTestu, 0, true)); // asked again by the round
        QVERIFY(b.pamiec.Zapisz("cat", "x", vokara::StronaTestu, 0, true));
        QVERIFY(b.pamiec.Zapisz("cat", "x", vokara::StronaTestu, 0, true));
        QCOMPARE(b.pamiec.Pudelko({"z.txt", "dog", "x"}), 1);
        QCOMPARE(b.pamiec.Pudelko({"z.txt", "cat", "x"}), 2);
        b.pamiec.NowaRunda("z.txt");
        QVERIFY(b.pamiec.Zapisz("dog", "x", vokara::StronaTestu, 0, true));
        QCOMPARE(b.pamiec.Pudelko({"z.txt", "dog", "x"}), 2);
        const auto s = b.pamiec.Zbierz();
        QCOMPARE(s.Odpowiedzi, 5);
        QCOMPARE(s.Poprawne, 4);
        QCOMPARE(s.Bledy.size(), std::size_t(1));
        QCOMPARE(s.Bledy[0].Wpis.Angielski, std::string("dog"));
        QCOMPARE(s.DniZRzedu, 1);
    }

    // "Powtórka" takes at most 50, longest overdue first, and the review's answers go to each entry's own set.
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
        QCOMPARE(b.pamiec.Pudelko({"a.txt", "w1", "x"}), 2);
        QCOMPARE(b.pamiec.LiczbaDoPowtorki(), vokara::NajwiecejPowtorek); // 59 are still due
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
        for (QComboBox* lista : {static_cast<QComboBox*>(ui.CZestawSlow), static_cast<QComboBox*>(ui.CZestawSlow2),
                                 static_cast<QComboBox*>(ui.CZestawSlow3)}) {
            QTRY_COMPARE(lista->count(), 3);
            QCOMPARE(lista->itemText(2), QStringLiteral("Powtórka (1)"));
            QVERIFY(vokara::JestPowtorka(*lista, 2));
            // Two of three right at the first try: box 2, so nothing is known yet, but the set was practised.
            QCOMPARE(lista->itemData(0, RolaPostepu).toDouble(), 0.0);
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
        QVERIFY(QTest::qWaitForWindowActive(okno));
        QTest::keyClick(okno, Qt::Key_Escape);
        QVERIFY(!okno->isVisible());
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--pisz") {
        QCoreApplication aplikacja(argc, argv);
        return PiszBezKonca(QString::fromLocal8Bit(argv[2]));
    }
    QApplication aplikacja(argc, argv);
    TestPostepy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_postepy.moc"
