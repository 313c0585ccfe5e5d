// Pronunciation against a real HTTP server on 127.0.0.1: cache, status check, download, playback and failures.
#include "program_testowy.h"
#include "serwer_http.h"
#include "ui_fglowny.h"
#include "wymawianie.h"

#include <QElapsedTimer>
#include <QTabBar>

#include <QMediaPlayer>
#include <QSignalSpy>

using testy::OdpowiedzHttp;

namespace {

QByteArray nagranie()
{
    QFile plik(VOKARA_TESTY_DANE "/krotki.mp3");
    if (!plik.open(QIODevice::ReadOnly))
        qFatal("no test recording");
    return plik.readAll();
}

QByteArray zawartosc(const QString& sciezka)
{
    QFile plik(sciezka);
    return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray();
}

const QString Brak = QStringLiteral("Takiego słowa nie mam w słowniku.\rSprawdź pisownię.");

} // namespace

// One program with its own working folder, dictionary server and answered message boxes.
struct Stanowisko {
    Stanowisko()
    {
        qputenv("VOKARA_DICTIONARY_URL", serwer.adres().toLatin1());
        katalog.lista({"v*1", "A*a.txt"});
        katalog.zestaw("a.txt", {"w*o", "dog*pies"});
        program = std::make_unique<Program>();
        program->siec.LimitCiszyMs = 400;
        odpowiedzi = std::make_unique<testy::Odpowiedzi>(*program->FWarning);
        if (!program->Pokaz())
            qFatal("program did not start");
    }
    ~Stanowisko() { qunsetenv("VOKARA_DICTIONARY_URL"); }

    QString glos(const QString& plik) const { return katalog.sciezka("dane/voice/" + plik); }
    QString zrodlo() const
    {
        auto* p = program->FSluchaj->Playerek();
        return p ? p->source().toLocalFile() : QString();
    }
    void wymow(const QString& slowo) { program->FGlowny->Wymowa().Wymow(slowo); }

    testy::SerwerHttp serwer;
    testy::Katalog katalog;
    testy::Raporty raporty;
    std::unique_ptr<Program> program;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi;
};

class TestWymowa : public QObject {
    Q_OBJECT

private slots:
    void zapamietaneSlowo()
    {
        Stanowisko s;
        testy::zapisz(s.glos("dog.mp3"), nagranie());
        s.wymow("Dog");
        QVERIFY(s.serwer.zapytania.isEmpty());
        QCOMPARE(s.zrodlo(), s.glos("dog.mp3"));
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
    }

    void pobraneSlowo()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, nagranie()}});
        s.wymow("DOG");
        QCOMPARE(s.serwer.zapytania,
                 (QList<QByteArray>{"/images-common/en/mp3/dog.mp3", "/images-common/en/mp3/dog.mp3"}));
        QCOMPARE(s.serwer.agenci.value(0), QByteArray("IE"));
        QCOMPARE(zawartosc(s.glos("dog.mp3")), nagranie());
        QCOMPARE(s.zrodlo(), s.glos("dog.mp3"));
        // Every capitalisation shares the one file in small letters.
        s.wymow("dOg");
        QCOMPARE(s.serwer.zapytania.size(), 2);
        QCOMPARE(QDir(s.glos("")).entryList(QDir::Files), QStringList{"dog.mp3"});
    }

    void nazwyINazwyPlikow_data()
    {
        QTest::addColumn<QString>("slowo");
        QTest::addColumn<QByteArray>("sciezka");
        QTest::addColumn<QString>("plik");
        QTest::newRow("Polish capital kept")
            << "ŻAba" << QByteArray("/images-common/en/mp3/%C5%BBaba.mp3") << "Żaba.mp3";
        QTest::newRow("phrase with a blank")
            << "Ice Cream" << QByteArray("/images-common/en/mp3/ice%20cream.mp3") << "ice cream.mp3";
        QTest::newRow("apostrophe") << "It's" << QByteArray("/images-common/en/mp3/it%27s.mp3") << "it's.mp3";
    }

    void nazwyINazwyPlikow()
    {
        Stanowisko s;
        const QByteArray sciezka = WARTOSC(QByteArray, sciezka);
        s.serwer.ustaw(sciezka, {{200, nagranie()}});
        s.wymow(WARTOSC(QString, slowo));
        QCOMPARE(s.serwer.zapytania, (QList<QByteArray>{sciezka, sciezka}));
        QVERIFY(QFileInfo(s.glos(WARTOSC(QString, plik))).isFile());
    }

    void brakWSlowniku_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("404") << 404;
        QTest::newRow("500") << 500;
        QTest::newRow("301") << 301;
    }

    void brakWSlowniku()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{WARTOSC(int, status), "x", "/gdzie/indziej.mp3"}});
        s.wymow("dog");
        QCOMPARE(s.odpowiedzi->teksty, QStringList{Brak});
        QCOMPARE(s.serwer.zapytania.size(), 1);
        QVERIFY(!QFile::exists(s.glos("dog.mp3")));
    }

    void przekierowanie302()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{302, {}, s.serwer.adres().toLatin1() + "/pliki/dog.mp3"}});
        s.serwer.ustaw("/pliki/dog.mp3", {{200, nagranie()}});
        s.wymow("dog");
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QCOMPARE(s.serwer.zapytania, (QList<QByteArray>{"/images-common/en/mp3/dog.mp3",
                                                        "/images-common/en/mp3/dog.mp3", "/pliki/dog.mp3"}));
        QCOMPARE(zawartosc(s.glos("dog.mp3")), nagranie());
    }

    void nieudanePobranie_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("uciecPo");
        QTest::addColumn<bool>("zawies");
        QTest::newRow("body cut short") << 200 << qint64(100) << false;
        QTest::newRow("404 after a 200 check") << 404 << qint64(-1) << false;
        QTest::newRow("download stalls") << 200 << qint64(-1) << true;
    }

    // The status said yes, the download failed: nothing is stored, nothing is said, nothing plays.
    void nieudanePobranie()
    {
        Stanowisko s;
        s.serwer.ustaw(
            "/images-common/en/mp3/dog.mp3",
            {{200, "ok"}, {WARTOSC(int, status), nagranie(), {}, WARTOSC(bool, zawies), WARTOSC(qint64, uciecPo)}});
        s.wymow("dog");
        QCOMPARE(s.serwer.zapytania.size(), 2);
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QCOMPARE(QDir(s.glos("")).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(s.zrodlo(), QString());
    }

    void zawieszonySerwer()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, {}, {}, true}});
        QElapsedTimer zegar;
        zegar.start();
        s.wymow("dog");
        QCOMPARE(s.odpowiedzi->teksty, QStringList{Brak});
        QVERIFY(zegar.elapsed() < 5000);
    }

    void brakFolderuNagran()
    {
        Stanowisko s;
        QDir(s.glos("")).removeRecursively();
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, nagranie()}});
        s.wymow("dog");
        QCOMPARE(s.serwer.zapytania.size(), 1); // the status check, then nothing
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QVERIFY(!QFileInfo::exists(s.glos("")));
    }

    void uszkodzonePlikiWPamieci_data()
    {
        QTest::addColumn<QByteArray>("tresc");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not MP3") << QByteArray("<html>not a recording</html>").repeated(50);
    }

    void uszkodzonePlikiWPamieci()
    {
        Stanowisko s;
        testy::zapisz(s.glos("zly.mp3"), WARTOSC(QByteArray, tresc));
        s.wymow("zly");
        QTRY_COMPARE_WITH_TIMEOUT(s.raporty.teksty.size(), 1, 10000);
        QVERIFY(!s.raporty.teksty.first().isEmpty());
        QVERIFY(QFile::exists(s.glos("zly.mp3")));
        QVERIFY(s.serwer.zapytania.isEmpty());
    }

    void dwaRazyPodRzad()
    {
        Stanowisko s;
        testy::zapisz(s.glos("one.mp3"), nagranie());
        testy::zapisz(s.glos("two.mp3"), nagranie());
        s.wymow("one");
        s.wymow("two");
        QCOMPARE(s.zrodlo(), s.glos("two.mp3"));
        QTRY_COMPARE_WITH_TIMEOUT(s.program->FSluchaj->Playerek()->mediaStatus(), QMediaPlayer::EndOfMedia, 10000);
    }

    void niebezpieczneSlowa_data()
    {
        QTest::addColumn<QString>("slowo");
        QTest::newRow("parent") << "..";
        QTest::newRow("dot") << ".";
        QTest::newRow("slash") << "../../evil";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("control character") << "do\tg";
        QTest::newRow("too long") << QString(201, 'a');
        QTest::newRow("no Windows-1250 form") << "日本";
    }

    void niebezpieczneSlowa()
    {
        Stanowisko s;
        s.wymow(WARTOSC(QString, slowo));
        QCOMPARE(s.odpowiedzi->teksty, QStringList{Brak});
        QVERIFY(s.serwer.zapytania.isEmpty());
        QCOMPARE(QDir(s.glos("")).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(QDir(s.katalog.sciezka()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Page 4 from the keyboard: fetched once, then played from the cache with the server gone.
    void stronaOdsluchu()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/house.mp3", {{200, nagranie()}});
        auto& ui = s.program->FGlowny->Formularz();
        QTabBar* pasek = ui.PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(4).center());
        QTest::keyClicks(ui.EWpis4, QStringLiteral("House"));
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        QCOMPARE(s.zrodlo(), s.glos("house.mp3"));
        QCOMPARE(ui.EWpis4->text(), QStringLiteral("House"));
        s.serwer.zatrzymaj();
        s.program->FSluchaj->Playerek()->stop();
        QTest::mouseClick(ui.BNastepny4, Qt::LeftButton);
        QCOMPARE(s.zrodlo(), s.glos("house.mp3"));
        QCOMPARE(s.serwer.zapytania.size(), 2);
        // An empty field asks for a word.
        ui.EWpis4->clear();
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        QCOMPARE(s.odpowiedzi->teksty,
                 QStringList{QStringLiteral("Wpisz proszę słowo, którego brzmienie chcesz odsłuchać")});
    }

    void staryPlikZostaje()
    {
        testy::SerwerHttp serwer;
        serwer.ustaw("/cut", {{200, "new content", {}, false, 3}});
        QTemporaryDir katalog;
        const QString cel = katalog.filePath("plik.txt");
        testy::zapisz(cel, "old content");
        Siec siec;
        QVERIFY(!siec.Pobierz(QUrl(serwer.adres() + "/missing"), cel));
        QVERIFY(!siec.Pobierz(QUrl(serwer.adres() + "/cut"), cel));
        QCOMPARE(zawartosc(cel), QByteArray("old content"));
        QCOMPARE(QDir(katalog.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plik.txt"});
        serwer.ustaw("/ok", {{200, "new content"}});
        siec.NajwiekszyPlik = 5; // a body over the limit is refused too
        QVERIFY(!siec.Pobierz(QUrl(serwer.adres() + "/ok"), cel));
        QCOMPARE(zawartosc(cel), QByteArray("old content"));
        siec.NajwiekszyPlik = 1024;
        QVERIFY(siec.Pobierz(QUrl(serwer.adres() + "/ok"), cel));
        QCOMPARE(zawartosc(cel), QByteArray("new content"));
        // A server that is not there at all.
        serwer.zatrzymaj();
        QVERIFY(!siec.AdresDostepny(QUrl(serwer.adres() + "/ok")));
    }

    void odtwarzaczDekodujeMp3()
    {
        TFSluchaj sluchaj;
        testy::Raporty raporty;
        sluchaj.Odtworz(VOKARA_TESTY_DANE "/krotki.mp3");
        QSignalSpy stany(sluchaj.Playerek(), &QMediaPlayer::mediaStatusChanged);
        QTRY_COMPARE_WITH_TIMEOUT(sluchaj.Playerek()->mediaStatus(), QMediaPlayer::EndOfMedia, 10000);
        QVERIFY(sluchaj.Playerek()->duration() > 100);
        QVERIFY(raporty.teksty.isEmpty());
    }
};

QTEST_MAIN(TestWymowa)
#include "test_wymowa.moc"
