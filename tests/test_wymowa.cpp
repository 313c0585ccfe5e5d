// Pronunciation against a real HTTP server on 127.0.0.1: cache, status check, download, playback and failures.
#include "formularz_testowy.h"
#include "glos.h"
#include "program_testowy.h"
#include "serwer_http.h"
#include "wymawianie.h"

#include <QElapsedTimer>
#include <QTabBar>
#include <QThread>
#include <QtEndian>

#include <QSignalSpy>

using testy::OdpowiedzHttp;

namespace {

QByteArray zawartosc(const QString& sciezka)
{
    QFile plik(sciezka);
    return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray();
}

const QString Brak = QStringLiteral("Takiego słowa nie mam w słowniku.\rSprawdź pisownię.");

} // namespace

// One program with its own working folder, dictionary server and answered message boxes.
struct Stanowisko {
    // Without a dictionary the program keeps the built-in placeholder address.
    explicit Stanowisko(bool slownik = true)
    {
        qputenv("VOKARA_DICTIONARY_URL",
                slownik ? serwer.adres().toLatin1() : QByteArray("https://slownik.vokara.invalid"));
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
    QString zrodlo() const { return program->FSluchaj->Zrodlo(); }
    void wymow(const QString& slowo) { program->FGlowny->Wymowa().Wymow(slowo); }
    // The built-in voice was asked to speak last: a playback with no recording behind it.
    bool glosMowi() const { return program->FSluchaj->Zadania() > 0 && zrodlo().isEmpty(); }
    QStringList nagrania() const { return QDir(glos("")).entryList(QDir::Files | QDir::Hidden); }

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
        testy::zapisz(s.glos("dog.mp3"), testy::nagranie());
        s.wymow("Dog");
        QVERIFY(s.serwer.zapytania.isEmpty());
        QCOMPARE(s.zrodlo(), s.glos("dog.mp3"));
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
    }

    void pobraneSlowo()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, testy::nagranie()}});
        s.wymow("DOG");
        QCOMPARE(s.serwer.zapytania,
                 (QList<QByteArray>{"/images-common/en/mp3/dog.mp3", "/images-common/en/mp3/dog.mp3"}));
        QCOMPARE(s.serwer.agenci.value(0), QByteArray("IE"));
        QCOMPARE(zawartosc(s.glos("dog.mp3")), testy::nagranie());
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
        s.serwer.ustaw(sciezka, {{200, testy::nagranie()}});
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
        s.serwer.ustaw("/pliki/dog.mp3", {{200, testy::nagranie()}});
        s.wymow("dog");
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QCOMPARE(s.serwer.zapytania, (QList<QByteArray>{"/images-common/en/mp3/dog.mp3",
                                                        "/images-common/en/mp3/dog.mp3", "/pliki/dog.mp3"}));
        QCOMPARE(zawartosc(s.glos("dog.mp3")), testy::nagranie());
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
            {{200, "ok"},
             {WARTOSC(int, status), testy::nagranie(), {}, WARTOSC(bool, zawies), WARTOSC(qint64, uciecPo)}});
        s.wymow("dog");
        QCOMPARE(s.serwer.zapytania.size(), 2);
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QCOMPARE(QDir(s.glos("")).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(s.zrodlo(), QString());
    }

    void slownikNieosiagalny_data()
    {
        QTest::addColumn<bool>("odmowa");
        QTest::newRow("time-out") << false;
        QTest::newRow("connection refused") << true;
    }

    // The voice speaks and nothing is stored, so the recording is fetched once the dictionary answers again.
    void slownikNieosiagalny()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, {}, {}, true}, {200, testy::nagranie()}});
        if (WARTOSC(bool, odmowa))
            s.serwer.zatrzymaj();
        QElapsedTimer zegar;
        zegar.start();
        s.wymow("dog");
        QVERIFY(zegar.elapsed() < 5000);
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QVERIFY(s.glosMowi());
        QCOMPARE(s.nagrania(), QStringList());
        if (WARTOSC(bool, odmowa))
            return;
        s.wymow("dog");
        QCOMPARE(zawartosc(s.glos("dog.mp3")), testy::nagranie());
        QCOMPARE(s.zrodlo(), s.glos("dog.mp3"));
    }

    void toNieNagranie_data()
    {
        QTest::addColumn<QByteArray>("tresc");
        QTest::newRow("empty body") << QByteArray();
        QTest::newRow("login page") << QByteArray("<html>Zaloguj się do sieci</html>").repeated(300);
        QTest::newRow("short text") << QByteArray("ok");
    }

    // The dictionary said yes, but what came is no recording: nothing is stored and the voice speaks.
    void toNieNagranie()
    {
        Stanowisko s;
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, "ok"}, {200, WARTOSC(QByteArray, tresc)}});
        s.wymow("dog");
        QCOMPARE(s.serwer.zapytania.size(), 2);
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QCOMPARE(s.nagrania(), QStringList());
        QVERIFY(s.glosMowi());
    }

    // No dictionary set up: the voice speaks words and phrases at once, and nothing is asked or written.
    void bezSlownika()
    {
        Stanowisko s(false);
        for (const QString& tekst : {QStringLiteral("dog"), QStringLiteral("ice cream"), QStringLiteral("日本")}) {
            s.wymow(tekst);
            QVERIFY(s.glosMowi());
        }
        QTRY_VERIFY_WITH_TIMEOUT(s.program->FSluchaj->Zagrane(), 10000);
        QCOMPARE(s.program->siec.Zapytania, 0);
        QVERIFY(s.serwer.zapytania.isEmpty());
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
        QCOMPARE(s.nagrania(), QStringList());
        QVERIFY(vokara::GlosZaladowany());
    }

    void glosMowi_data()
    {
        QTest::addColumn<QByteArray>("tekst");
        QTest::newRow("word") << QByteArray("dog");
        QTest::newRow("phrase") << QByteArray("good morning, how are you");
    }

    // Real samples at the voice's rate: sound rather than silence, and the slow pace is longer.
    void glosMowi()
    {
        const QByteArray tekst = WARTOSC(QByteArray, tekst);
        int czestotliwosc = 0;
        const vokara::Probki probki = vokara::GlosProbki(tekst.toStdString(), 1.0, czestotliwosc);
        QCOMPARE(czestotliwosc, 16000);
        const auto ile = qsizetype(probki.size());
        QVERIFY(ile > czestotliwosc / 5 * (tekst.count(' ') + 1)); // at least a fifth of a second a word
        QVERIFY(*std::max_element(probki.begin(), probki.end()) > 3000);
        const auto wolno = qsizetype(vokara::GlosProbki(tekst.toStdString(), 1.5, czestotliwosc).size());
        QVERIFY(wolno > ile * 13 / 10);
    }

    void tekstDlaGlosu_data()
    {
        QTest::addColumn<QByteArray>("tekst");
        QTest::addColumn<QByteArray>("czysty");
        QTest::newRow("Polish letters") << QByteArray("Źdźbło żółwia") << QByteArray("Zdzblo zolwia");
        QTest::newRow("invisible characters")
            << QByteArray("d\u200Bo\u00ADg\u202E \uFEFFcat\u2066") << QByteArray("dog cat");
        QTest::newRow("controls and other scripts")
            << QByteArray("ice\tcream\n日本\x01tea") << QByteArray("ice cream tea");
        QTest::newRow("punctuation in a row") << QByteArray("What?!?!?! . . . . no") << QByteArray("What?!? . no");
        QTest::newRow("typographic marks") << QByteArray("don’t — “stop”") << QByteArray("don't - \"stop\"");
        QTest::newRow("digits in a word") << QByteArray("1234567890123456789 km") << QByteArray("123456789012345 km");
        QTest::newRow("long text cut at a blank")
            << QByteArray("word ").repeated(100) << QByteArray("word ").repeated(40).chopped(1);
        QTest::newRow("nothing to say") << QByteArray("日本 😀 \u200B") << QByteArray();
    }

    void tekstDlaGlosu()
    {
        QCOMPARE(QByteArray::fromStdString(vokara::TekstDlaGlosu(WARTOSC(QByteArray, tekst).toStdString())),
                 WARTOSC(QByteArray, czysty));
    }

    // Texts that corrupted Flite's heap or kept it busy for minutes (thousands of words spoken, gigabytes of memory):
    // each goes to the real voice, which says what is left of it (in the sanitized build under AddressSanitizer).
    void wrogiTekst_data()
    {
        QTest::addColumn<QByteArray>("tekst");
        QByteArray sterujace;
        for (char c = 1; c < 0x20; ++c)
            sterujace += c;
        QTest::newRow("313 full stops") << QByteArray(313, '.');
        QTest::newRow("punctuation after a word") << "dog" + QByteArray(".!?,;:)").repeated(100);
        QTest::newRow("closing brackets and quotes") << "dog" + QByteArray("]}\"'").repeated(200);
        QTest::newRow("opening brackets") << QByteArray("([{\"`").repeated(200) + "dog";
        QTest::newRow("symbols said as words") << QByteArray("*$#%&@").repeated(100);
        QTest::newRow("punctuation words") << QByteArray(". ! ? ").repeated(300);
        QTest::newRow("10,000 digits") << QByteArray(10000, '9');
        QTest::newRow("1,000 numbers") << QByteArray("123456789 ").repeated(1000);
        QTest::newRow("grouped digits") << "1" + QByteArray(",000").repeated(3000);
        QTest::newRow("roman numeral") << "chapter " + QByteArray(4000, 'M');
        QTest::newRow("ordinal") << QByteArray(5000, '1') + "st";
        QTest::newRow("exponent") << "1e" + QByteArray(5000, '9');
        QTest::newRow("telephone numbers") << QByteArray("123-4567 ").repeated(500);
        QTest::newRow("times of day") << QByteArray("99:99 ").repeated(1000);
        QTest::newRow("hyphens and slashes") << QByteArray("a-/").repeated(3000);
        QTest::newRow("one long word") << QByteArray(10000, 'x');
        QTest::newRow("combining marks") << "a" + QByteArray("\u0301").repeated(5000);
        QTest::newRow("zero-width and bidi") << QByteArray("d\u200Bo\u202Eg\u2066").repeated(2000);
        QTest::newRow("controls") << (sterujace + "\x7F").repeated(300);
        QTest::newRow("broken UTF-8") << QByteArray("\xff\xfe\xc3\x80\x80").repeated(1000) + "dog\xe6\x97";
        QTest::newRow("NUL inside") << QByteArray("dog\0cat", 7);
        QTest::newRow("other scripts") << QByteArray("日本語😀").repeated(1000);
    }

    void wrogiTekst()
    {
        const std::string tekst = WARTOSC(QByteArray, tekst).toStdString();
        const std::string czysty = vokara::TekstDlaGlosu(tekst);
        // What bounds the voice's work: the length, printable ASCII, punctuation and digits in a row.
        QVERIFY(czysty.size() <= vokara::NajdluzszyTekstGlosu);
        int wRzedzie = 0, cyfry = 0;
        bool slowoBezLiter = false, poprzednieBezLiter = false;
        for (std::size_t i = 0; i <= czysty.size(); ++i) {
            const char c = i < czysty.size() ? czysty[i] : ' ';
            QVERIFY2(c >= 0x20 && c < 0x7F, czysty.c_str());
            if (c == ' ') {
                QVERIFY2(!(slowoBezLiter && poprzednieBezLiter), czysty.c_str());
                poprzednieBezLiter = slowoBezLiter;
                slowoBezLiter = true;
                wRzedzie = cyfry = 0;
                continue;
            }
            const bool cyfra = c >= '0' && c <= '9';
            const bool litera = std::isalpha(static_cast<unsigned char>(c)) != 0;
            wRzedzie = cyfra || litera ? 0 : wRzedzie + 1;
            cyfry += cyfra;
            slowoBezLiter = slowoBezLiter && !cyfra && !litera;
            QVERIFY2(wRzedzie <= vokara::NajwiecejZnakowWRzedzie && cyfry <= vokara::NajwiecejCyfrWSlowie,
                     czysty.c_str());
        }
        int czestotliwosc = 0;
        QCOMPARE(vokara::GlosProbki(tekst, 1.0, czestotliwosc).empty(), czysty.empty());
    }

    void wolnaPowtorka_data()
    {
        QTest::addColumn<bool>("nagrane");
        QTest::newRow("recording") << true;
        QTest::newRow("built-in voice") << false;
    }

    // The same word again within a few seconds plays slowly, a third time at the normal pace again.
    void wolnaPowtorka()
    {
        Stanowisko s(false);
        if (WARTOSC(bool, nagrane))
            testy::zapisz(s.glos("dog.mp3"), testy::nagranie());
        const QList<bool> oczekiwane{false, true, false};
        QList<qint64> dlugosci;
        for (bool wolno : oczekiwane) {
            s.wymow("Dog");
            QCOMPARE(s.program->FGlowny->Wymowa().Wolno(), wolno);
            QTRY_VERIFY_WITH_TIMEOUT(s.program->FSluchaj->Zagrane(), 10000);
            dlugosci << s.program->FSluchaj->Dlugosc();
            if (WARTOSC(bool, nagrane))
                QCOMPARE(s.program->FSluchaj->Tempo(), wolno ? 0.75 : 1.0);
        }
        // Slow is longer, and normal again the same; a recording is stretched by exactly its tempo.
        QVERIFY(dlugosci[1] > dlugosci[0] * 12 / 10);
        QCOMPARE(dlugosci[2], dlugosci[0]);
        if (WARTOSC(bool, nagrane))
            QVERIFY(qAbs(dlugosci[1] - qRound64(dlugosci[0] / 0.75)) <= 1);
        s.wymow("cat"); // another word starts afresh
        QVERIFY(!s.program->FGlowny->Wymowa().Wolno());
    }

    void brakFolderuNagran()
    {
        Stanowisko s;
        QDir(s.glos("")).removeRecursively();
        s.serwer.ustaw("/images-common/en/mp3/dog.mp3", {{200, testy::nagranie()}});
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

    // A damaged recording leaves the cache and the voice speaks instead; no error box.
    void uszkodzonePlikiWPamieci()
    {
        Stanowisko s;
        testy::zapisz(s.glos("zly.mp3"), WARTOSC(QByteArray, tresc));
        s.wymow("zly");
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(s.glos("zly.mp3")), 10000);
        QTRY_VERIFY(s.glosMowi());
        QVERIFY(s.raporty.teksty.isEmpty());
        QVERIFY(s.serwer.zapytania.isEmpty());
    }

    void dwaRazyPodRzad()
    {
        Stanowisko s;
        testy::zapisz(s.glos("one.mp3"), testy::nagranie());
        testy::zapisz(s.glos("two.mp3"), testy::nagranie());
        s.wymow("one");
        s.wymow("two");
        QCOMPARE(s.zrodlo(), s.glos("two.mp3"));
        QTRY_VERIFY_WITH_TIMEOUT(s.program->FSluchaj->Zagrane(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(s.program->FSluchaj->Stan(), TFSluchaj::StanOdtwarzania::Zatrzymane,
                                  10000); // played in full
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
        s.serwer.ustaw("/images-common/en/mp3/house.mp3", {{200, testy::nagranie()}});
        const testy::Formularz ui(*s.program->FGlowny);
        QTabBar* pasek = ui.PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(4).center());
        QTest::keyClicks(ui.EWpis4, QStringLiteral("House"));
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        QCOMPARE(s.zrodlo(), s.glos("house.mp3"));
        QCOMPARE(ui.EWpis4->text(), QStringLiteral("House"));
        s.serwer.zatrzymaj();
        QTest::mouseClick(ui.BNastepny4, Qt::LeftButton);
        QCOMPARE(s.zrodlo(), s.glos("house.mp3"));
        QCOMPARE(s.serwer.zapytania.size(), 2);
        // An empty field asks for a word.
        ui.EWpis4->clear();
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        QCOMPARE(s.odpowiedzi->teksty,
                 QStringList{QStringLiteral("Wpisz, proszę, słowo, którego brzmienie chcesz odsłuchać")});
    }

    // 10,000 characters on the free pronunciation page: Enter gives control back while the voice works in its own
    // thread, and the first part of the text is heard.
    void dlugiTekstNaStronie()
    {
        Stanowisko s(false);
        const testy::Formularz ui(*s.program->FGlowny);
        QTabBar* pasek = ui.PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(4).center());
        ui.EWpis4->setText(QStringLiteral("1234567890 ").repeated(910));
        const int zadania = s.program->FSluchaj->Zadania();
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        QCOMPARE(s.program->FSluchaj->Zadania(), zadania + 1);
        QTRY_VERIFY_WITH_TIMEOUT(s.program->FSluchaj->Zagrane(), 20000);
        QVERIFY(vokara::WatekGlosu() != nullptr && vokara::WatekGlosu() != QThread::currentThread());
        QVERIFY(s.odpowiedzi->teksty.isEmpty());
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
        QSignalSpy bledy(&sluchaj, &TFSluchaj::nieodtworzono);
        sluchaj.Odtworz(VOKARA_TESTY_DANE "/krotki.mp3");
        QTRY_VERIFY_WITH_TIMEOUT(sluchaj.Zagrane(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(sluchaj.Stan(), TFSluchaj::StanOdtwarzania::Zatrzymane, 10000);
        QCOMPARE(bledy.size(), 0);
        QVERIFY(sluchaj.Dlugosc() > vokara::CzestotliwoscOdtwarzania / 4); // "hello", whole
    }
};

QTEST_MAIN(TestWymowa)
#include "test_wymowa.moc"
