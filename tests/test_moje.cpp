// Own sets: the import readers over sample files, hostile input, saving through the real readers, the editor.
#include "fmojezestawy.h"
#include "formularz_testowy.h"
#include "import.h"
#include "program_testowy.h"
#include "slownik.h"
#include "tekst.h"
#include "zbior.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTabBar>
#include <QTableView>
#include <QXmlStreamReader>

#include <atomic>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vokara;

namespace {

QString probka(const QString& plik)
{
    return QStringLiteral(VOKARA_TESTY_DANE "/moje/") + plik;
}

// Keys go where the focus is, as a user's do: to the table, then to the cell editor it opens (or to the list of
// suggestions open under it, which takes the keys first).
void klawisz(int klawisz, Qt::KeyboardModifiers modyfikatory = Qt::NoModifier)
{
    QWidget* lista = QApplication::activePopupWidget();
    QWidget* okno = QApplication::focusWidget() ? QApplication::focusWidget()->window() : nullptr;
    QWidget* cel = lista ? lista : QApplication::focusWidget();
    QVERIFY(cel);
    QTest::keyClick(cel, Qt::Key(klawisz), modyfikatory);
    // The offscreen platform hands activation back from a closed pop-up to no window, as a desktop always does.
    if (lista && !lista->isVisible() && okno) {
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(okno);
    }
}

void pisz(const QString& tekst)
{
    for (const QChar z : tekst)
        testy::wpisz(QApplication::focusWidget(), z);
}

QStringList jakoTekst(const QList<Para>& pary)
{
    QStringList wynik;
    for (const Para& p : pary)
        wynik << p.Angielski + QLatin1Char('|') + p.Polski;
    return wynik;
}

QByteArray utf16(const QString& tekst, bool bom, bool be = false)
{
    QStringEncoder koder(be ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
    return (bom ? QByteArray(be ? "\xFE\xFF" : "\xFF\xFE") : QByteArray()) + QByteArray(koder.encode(tekst));
}

QByteArray kvtml(const QByteArray& wpisy, const QByteArray& deklaracja = "<?xml version=\"1.0\"?>")
{
    return deklaracja + "\n<kvtml version=\"2.0\"><entries>" + wpisy + "</entries></kvtml>\n";
}

QByteArray wpis(const QByteArray& angielski, const QByteArray& polski)
{
    return "<entry><translation id=\"0\"><text>" + angielski + "</text></translation><translation id=\"1\"><text>" +
           polski + "</text></translation></entry>";
}

} // namespace

class TestMoje : public QObject {
    Q_OBJECT

private slots:
    void import_data()
    {
        QTest::addColumn<QString>("plik");
        QTest::addColumn<QStringList>("pary");
        QTest::addColumn<int>("pominiete");
        QTest::addColumn<QString>("rodzaj");
        QTest::newRow("quoted CSV") << "cudzyslowy.csv"
                                    << QStringList{"ice cream, vanilla|lody waniliowe", "to say \"hi\"|przywitać się",
                                                   "line break|z łamaniem", "dog|pies"}
                                    << 0 << "tekst UTF-8, pola rozdzielone przecinkiem";
        QTest::newRow("Windows-1250") << "windows1250.txt" << QStringList{"turtle|żółw", "bee|pszczoła"} << 1
                                      << "tekst Windows-1250, pola rozdzielone średnikiem";
        QTest::newRow("BOM, no-break space") << "bom_utf8.txt" << QStringList{"house|dom", "tree|drzewo"} << 0
                                             << "tekst UTF-8, pola rozdzielone tabulatorem";
        QTest::newRow("Anki") << "anki.txt" << QStringList{"apple|jabłko", "cat kitten|kot & kotek"} << 1
                              << "tekst UTF-8, pola rozdzielone tabulatorem, nagłówek Anki";
        QTest::newRow("UTF-16") << "utf16.txt" << QStringList{"bird|ptak", "owl|sowa"} << 0
                                << "tekst UTF-16, pola rozdzielone średnikiem";
        QTest::newRow("Quizlet tab") << "quizlet.txt"
                                     << QStringList{"house|dom, mieszkanie", "sun|słońce", "moon|księżyc"} << 0
                                     << "tekst UTF-8, pola rozdzielone tabulatorem";
        QTest::newRow("Quizlet comma") << "quizlet_przecinek.txt" << QStringList{"sun|słońce", "moon|księżyc"} << 0
                                       << "tekst UTF-8, pola rozdzielone przecinkiem";
        QTest::newRow("own set file") << "zestaw.txt" << QStringList{"cat|kot", "ice cream|lody*zimne"} << 0
                                      << "tekst Windows-1250, pola rozdzielone gwiazdką, podpisy z pierwszego wiersza";
        QTest::newRow("KVTML") << "slowa.kvtml" << QStringList{"red|czerwony", "green & blue|zielony i niebieski"} << 1
                               << "KVTML 2";
    }

    void import()
    {
        QFETCH(QString, plik);
        const WynikImportu w = ImportujPlik(probka(plik));
        QVERIFY2(w.Ok, qPrintable(w.Blad));
        QCOMPARE(jakoTekst(w.Pary), WARTOSC(QStringList, pary));
        QCOMPARE(w.Pominiete, WARTOSC(int, pominiete));
        QCOMPARE(w.Rodzaj, WARTOSC(QString, rodzaj));
        QVERIFY(w.Podsumowanie().startsWith(QStringLiteral("Wczytano ")));
    }

    void zlyPlik_data()
    {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<QString>("plik");
        QTest::addColumn<QString>("blad");
        QTest::newRow("NUL bytes") << QByteArray("cat\tkot\n\0\0\0\x01", 12) << QString()
                                   << QStringLiteral("bajty zerowe");
        QTest::newRow("control bytes") << QByteArray("\x01\x02\x03\x04\x05\x06"
                                                     "ab\tcd\x07\x08",
                                                     13)
                                       << QString() << QStringLiteral("nie jest plik tekstowy");
        QTest::newRow("empty") << QByteArray(" \r\n") << QString() << QStringLiteral("pusty");
        QTest::newRow("no separator") << QByteArray("just words\nmore words\n") << QString()
                                      << QStringLiteral("nie ma pól");
        QTest::newRow("nothing but halves") << QByteArray("a\t\n\tb\n") << QString() << QStringLiteral("żadnej pary");
        QTest::newRow("malformed KVTML") << QByteArray() << "zepsuty.kvtml" << QStringLiteral("uszkodzony");
        QTest::newRow("XML, not KVTML") << QByteArray() << "nie_kvtml.xml" << QStringLiteral("nie jest zestawem");
        QTest::newRow("KVTML 1") << QByteArray("<kvtml><e><o>a</o><t>b</t></e></kvtml>") << QString()
                                 << QStringLiteral("wersji 2");
        // Documents that crashed or stalled the reader are refused by their shape before it reads them.
        QTest::newRow("KVTML 70,000 deep in <text>")
            << kvtml(wpis(QByteArray("<a>").repeated(70000) + "x" + QByteArray("</a>").repeated(70000), "b"))
            << QString() << QStringLiteral("zagnieżdżone");
        QByteArray szeroki = "<kvtml version=\"2.0\"";
        for (int i = 0; i < 100000; ++i)
            szeroki += " a" + QByteArray::number(i) + "=\"\"";
        QTest::newRow("KVTML root, 100,000 attributes") << szeroki + "/>" << QString() << QStringLiteral("atrybuty");
        QByteArray przestrzenie = "<kvtml version=\"2.0\"";
        for (int i = 0; i < 17; ++i)
            przestrzenie += " xmlns:p" + QByteArray::number(i) + "=\"u\"";
        QTest::newRow("KVTML, 17 namespaces") << przestrzenie + "/>" << QString() << QStringLiteral("przestrzeni nazw");
        QTest::newRow("KVTML, a million elements")
            << kvtml(QByteArray("<entry/>").repeated(1000001)) << QString() << QStringLiteral("milion");
        QTest::newRow("KVTML, own entities")
            << QByteArray("<!DOCTYPE kvtml [<!ENTITY e \"x\">]><kvtml version=\"2.0\">&e;</kvtml>") << QString()
            << QStringLiteral("deklaracje DTD");
    }

    void zlyPlik()
    {
        QFETCH(QByteArray, bajty);
        QFETCH(QString, plik);
        const WynikImportu w = plik.isEmpty() ? ImportujBajty(bajty) : ImportujPlik(probka(plik));
        QVERIFY(!w.Ok);
        QVERIFY(w.Pary.isEmpty() || !w.Ok);
        QVERIFY2(w.Blad.contains(WARTOSC(QString, blad)), qPrintable(w.Blad));
    }

    void odczyt_data()
    {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<QStringList>("pary");
        QTest::addColumn<int>("pominiete");
        QTest::addColumn<QString>("rodzaj");
        const QString pary = QStringLiteral("bird;ptak\r\nowl;sowa\r\n");
        const QString utf16Kvtml =
            QString::fromUtf8(kvtml(wpis("red", "czerwony"), "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"));
        QTest::newRow("UTF-16 LE, no BOM") << utf16(pary, false) << QStringList{"bird|ptak", "owl|sowa"} << 0
                                           << "tekst UTF-16, pola rozdzielone średnikiem";
        QTest::newRow("UTF-16 BE, no BOM") << utf16(pary, false, true) << QStringList{"bird|ptak", "owl|sowa"} << 0
                                           << "tekst UTF-16, pola rozdzielone średnikiem";
        QTest::newRow("KVTML in UTF-16 saying so")
            << utf16(utf16Kvtml, true) << QStringList{"red|czerwony"} << 0 << "KVTML 2";
        QTest::newRow("KVTML in UTF-16 BE, no BOM")
            << utf16(utf16Kvtml, false, true) << QStringList{"red|czerwony"} << 0 << "KVTML 2";
        QTest::newRow("KVTML in ISO-8859-2")
            << kvtml(wpis("moustache", "w\xb1s"), "<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>")
            << QStringList{"moustache|wąs"} << 0 << "KVTML 2";
        QTest::newRow("KVTML markup in a text") << kvtml(wpis("red <b>hot</b> <i>chili <u>pepper</u></i>", "papryczka"))
                                                << QStringList{"red hot chili pepper|papryczka"} << 0 << "KVTML 2";
        QTest::newRow("KVTML text too long") << kvtml(wpis(QByteArray(50000, 'x'), "y") + wpis("cat", "kot"))
                                             << QStringList{"cat|kot"} << 1 << "KVTML 2";
        const struct {
            const char* nazwa;
            const char* wiersz;
            const char* opis;
        } separatory[] = {
            {"Tab", "cat\tkot", "tabulatorem"},     {"comma", "cat,kot", "przecinkiem"},
            {"semicolon", "cat;kot", "średnikiem"}, {"Pipe", "cat|kot", "kreską pionową"},
            {"space", "cat kot", "spacją"},         {"colon", "cat:kot", "dwukropkiem"},
            {"#", "cat#kot", "znakiem „#”"},
        };
        for (const auto& s : separatory)
            QTest::newRow(qPrintable(QStringLiteral("separator %1").arg(s.nazwa)))
                << "#separator:" + QByteArray(s.nazwa) + "\n" + s.wiersz + "\n"
                << QStringList{"cat|kot"} << 0
                << QStringLiteral("tekst UTF-8, pola rozdzielone %1, nagłówek Anki").arg(QString::fromUtf8(s.opis));
        QTest::newRow("blank lines and separators")
            << "a,b\n" + QByteArray(100000, '\n') + QByteArray(",,,,\n").repeated(1000) + "c,d" +
                   QByteArray(",z").repeated(100000) + "\n"
            << QStringList{"a|b", "c|d"} << 0 << "tekst UTF-8, pola rozdzielone przecinkiem";
        QTest::newRow("Anki HTML, '&' alone")
            << QByteArray("#html:true\nAT&T &amp; co&#x41;\t&&& <br x\n") << QStringList{"AT&T & coA|&&& <br x"} << 0
            << "tekst UTF-8, pola rozdzielone tabulatorem, nagłówek Anki";
    }

    void odczyt()
    {
        QFETCH(QByteArray, bajty);
        const WynikImportu w = ImportujBajty(bajty);
        QVERIFY2(w.Ok, qPrintable(w.Blad));
        QCOMPARE(jakoTekst(w.Pary), WARTOSC(QStringList, pary));
        QCOMPARE(w.Pominiete, WARTOSC(int, pominiete));
        QCOMPARE(w.Rodzaj, WARTOSC(QString, rodzaj));
    }

    void duzePliki()
    {
        QTemporaryDir katalog;
        // One byte over the cap is refused by its size, without being read.
        QFile duzy(katalog.filePath("duzy.txt"));
        QVERIFY(duzy.open(QIODevice::WriteOnly));
        QVERIFY(duzy.resize(NajwiekszyImport + 1));
        duzy.close();
        QVERIFY(ImportujPlik(duzy.fileName()).Blad.contains(QStringLiteral("16 MiB")));
        QVERIFY(ImportujPlik(katalog.path()).Blad.contains(QStringLiteral("zwykłym plikiem")));
        // A line of a megabyte is skipped with its reason; the lines around it are read.
        const QByteArray dlugi = "a\tb\n" + QByteArray(1 << 20, 'x') + "\ty\nc\td\n";
        const WynikImportu w = ImportujBajty(dlugi);
        QCOMPARE(jakoTekst(w.Pary), (QStringList{"a|b", "c|d"}));
        QCOMPARE(w.Pominiete, 1);
        QCOMPARE(w.PierwszyPominiety, 2);
        // A quote that never closes is an ordinary character, not the start of a field swallowing the file.
        QCOMPARE(jakoTekst(ImportujBajty("\"x,y\nsun,słońce\n").Pary), (QStringList{"\"x|y", "sun|słońce"}));
        // Broken UTF-8 is read as Windows-1250 (0xB9 is ą there).
        QCOMPARE(jakoTekst(ImportujBajty("w\xb9s;moustache\n").Pary), QStringList{"wąs|moustache"});
        // The cap is on the file's bytes: 13 MiB of UTF-16 are read, though they would be 20 MiB as UTF-8.
        testy::zapisz(katalog.filePath("utf16.txt"),
                      utf16(QStringLiteral("cat\tkot\r\n") + QString(6900000, QChar(0x4E00)) + "\tx\r\n", true));
        const WynikImportu u = ImportujPlik(katalog.filePath("utf16.txt"));
        QVERIFY2(u.Ok, qPrintable(u.Blad));
        QCOMPARE(jakoTekst(u.Pary), QStringList{"cat|kot"});
    }

    // A pipe is refused without waiting for a writer (a pipe put in place of a file after any check by name would
    // otherwise block the open). Were it to block, the watchdog fails the test and a writer lets the thread end.
    void potok()
    {
        QTemporaryDir katalog;
        const QByteArray sciezka = QFile::encodeName(katalog.filePath("potok.txt"));
        QCOMPARE(::mkfifo(sciezka.constData(), 0600), 0);
        WynikImportu w;
        std::atomic<bool> gotowe = false;
        std::thread watek([&] {
            w = ImportujPlik(katalog.filePath("potok.txt"));
            gotowe = true;
        });
        const auto koniec = qScopeGuard([&] {
            while (!gotowe) {
                const int pisarz = ::open(sciezka.constData(), O_WRONLY | O_NONBLOCK);
                if (pisarz >= 0)
                    ::close(pisarz);
                QThread::msleep(10);
            }
            watek.join();
        });
        QTRY_VERIFY_WITH_TIMEOUT(gotowe, 5000);
        QVERIFY2(w.Blad.contains(QStringLiteral("zwykłym plikiem")), qPrintable(w.Blad));
    }

    // A file name is shown with its control and format characters replaced: U+202E would turn the message around.
    void nazwaWKomunikacie_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<QString>("widac");
        QTest::newRow("right-to-left override")
            << QStringLiteral("lista\u202Etxt.exe") << QStringLiteral("lista\uFFFDtxt.exe");
        QTest::newRow("isolate, mark, zero width")
            << QStringLiteral("a\u2067b\u200Fc\u200Bd") << QStringLiteral("a\uFFFDb\uFFFDc\uFFFDd");
        QTest::newRow("escape, tag character")
            << QStringLiteral("a\x1b") + QString::fromUcs4(U"\U000E0041") + "b" << QStringLiteral("a\uFFFD\uFFFDb");
        QTest::newRow("Polish letters, emoji") << QStringLiteral("żółw 🐢.txt") << QStringLiteral("żółw 🐢.txt");
    }

    void nazwaWKomunikacie()
    {
        QFETCH(QString, nazwa);
        QTemporaryDir katalog;
        QCOMPARE(ImportujPlik(katalog.filePath(nazwa)).Blad,
                 QStringLiteral("Nie ma pliku „%1”.").arg(WARTOSC(QString, widac)));
    }

    void nazwyPlikow_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<QString>("plik");
        QTest::newRow("Polish letters") << "Żółte źdźbła"
                                        << "moje_zolte_zdzbla.txt";
        QTest::newRow("path") << "../../etc/passwd"
                              << "moje_______etc_passwd.txt";
        QTest::newRow("only signs") << "***"
                                    << "moje_zestaw.txt";
        QTest::newRow("other accents") << "Café Ørsted"
                                       << "moje_cafe__rsted.txt";
    }

    void nazwyPlikow()
    {
        QFETCH(QString, nazwa);
        QTemporaryDir katalog;
        QDir().mkpath(katalog.filePath("dane"));
        const QString plik = NazwaPliku(katalog.path().toStdString(), nazwa);
        QCOMPARE(plik, WARTOSC(QString, plik));
        QVERIFY(JestPlikiemMoim(plik.toStdString()));
    }

    void zapisIOdczyt()
    {
        QTemporaryDir katalog;
        const std::filesystem::path kat = katalog.path().toStdString();
        testy::zapiszLinie(katalog.filePath("dane/a_spis.txt"), {"01.12.2026*1.0", "Dom*dom.txt"});
        testy::zapiszLinie(katalog.filePath("dane/dom.txt"), {"Słowo*Znaczenie", "house*dom"});

        WlasnyZestaw z;
        z.Nazwa = QStringLiteral("Szkoła – lekcja 5");
        z.Pary = {{"  chalk ", "kreda"}, {"", ""}, {"pencil case", "piórnik"}};
        QString blad;
        QVERIFY2(ZapiszWlasny(kat, z, blad), qPrintable(blad));
        QCOMPARE(z.Plik, QStringLiteral("moje_szkola___lekcja_5.txt"));
        WlasnyZestaw drugi;
        drugi.Nazwa = QStringLiteral("Szkoła – lekcja 5");
        drugi.Pary = {{"ruler", "linijka"}};
        QVERIFY(ZapiszWlasny(kat, drugi, blad));
        QCOMPARE(drugi.Plik, QStringLiteral("moje_szkola___lekcja_5_2.txt"));
        // Lines a hand could have left: a shipped file, a path out, a missing file, a file named twice.
        QFile lista(katalog.filePath("dane/a_moje.txt"));
        QVERIFY(lista.open(QIODevice::Append));
        lista.write("Obcy*dom.txt\r\nUcieczka*moje_../../"
                    "x.txt\r\nBrak*moje_brak.txt\r\nZnowu*moje_szkola___lekcja_5_2.txt\r\n");
        lista.close();

        // The program's own readers see the sets after the list file's ones, bytes in Windows-1250, CR LF.
        Dane d;
        d.KatalogRoboczy = kat;
        QCOMPARE(WczytajListe(d), int(ListaGotowa));
        QCOMPARE(d.ZestawyListy, std::size_t(1));
        QCOMPARE(d.Zestawy.size(), std::size_t(3));
        QCOMPARE(d.Zestawy[1].Nazwa, testy::cp("Szkoła – lekcja 5"));
        QCOMPARE(d.Zestawy[2].Plik, std::string("moje_szkola___lekcja_5_2.txt"));
        Zestaw wczytany;
        QVERIFY(WczytajPlikZestawu(d, 1, wczytany));
        QCOMPARE(wczytany.NaglowekWyraz, testy::cp("Angielskie słowo"));
        QCOMPARE(wczytany.Wyrazy.size(), std::size_t(2));
        QCOMPARE(wczytany.Wyrazy[1].Polski, testy::cp("piórnik"));
        QFile plik(katalog.filePath("dane/" + z.Plik));
        QVERIFY(plik.open(QIODevice::ReadOnly));
        QCOMPARE(plik.readAll(),
                 QByteArray("Angielskie s\xb3owo*Polskie znaczenie\r\nchalk*kreda\r\npencil case*pi\xf3rnik\r\n"));

        // Export and import again give the same pairs, in both formats.
        for (const bool formatProgramu : {false, true}) {
            const QString cel = katalog.filePath(formatProgramu ? "eksport.txt" : "eksport.tsv");
            QVERIFY(EksportujZestaw(cel, z, blad) || !formatProgramu);
            QVERIFY(EksportujTsv(cel, z, blad) || formatProgramu);
            WlasnyZestaw oczekiwany = z;
            oczekiwany.Pary = {{"chalk", "kreda"}, {"pencil case", "piórnik"}};
            QCOMPARE(ImportujPlik(cel).Pary, oczekiwany.Pary);
        }

        QVERIFY(UsunWlasny(kat, z.Plik, blad));
        QVERIFY(!QFile::exists(katalog.filePath("dane/" + z.Plik)));
        QCOMPARE(WczytajListe(d), int(ListaGotowa));
        QCOMPARE(d.Zestawy.size(), std::size_t(2));

        // A damaged own list only means no own sets.
        testy::zapisz(katalog.filePath("dane/a_moje.txt"), QByteArray("\0\0\0", 3));
        QCOMPARE(WczytajListe(d), int(ListaGotowa));
        QCOMPARE(d.Zestawy.size(), std::size_t(1));
    }

    // KVTML 2 for the peers, read back through the program's own KVTML import: every pair whole (no bound in that
    // format), markup characters kept as text, the two identifiers English and Polish.
    void eksportKvtml()
    {
        QTemporaryDir katalog;
        WlasnyZestaw z;
        z.Nazwa = QStringLiteral("Kolory & <kształty>");
        const QString dlugie = QString(150, QChar(u'ą'));
        z.Pary = {{"green & blue", QStringLiteral("zielony i niebieski")},
                  {"", ""},
                  {"<b>bold</b> \"quote\"", QStringLiteral("pogrubiony „cudzysłów”")},
                  {"long", dlugie}};
        const QString cel = katalog.filePath("kolory.kvtml");
        QString blad;
        QVERIFY2(EksportujKvtml(cel, z, blad), qPrintable(blad));
        const WynikImportu w = ImportujPlik(cel);
        QVERIFY2(w.Ok, qPrintable(w.Blad));
        QCOMPARE(w.Rodzaj, QStringLiteral("KVTML 2"));
        QCOMPARE(w.Pominiete, 0);
        QCOMPARE(jakoTekst(w.Pary),
                 (QStringList{QStringLiteral("green & blue|zielony i niebieski"),
                              QStringLiteral("<b>bold</b> \"quote\"|pogrubiony „cudzysłów”"), "long|" + dlugie}));
        QFile plik(cel);
        QVERIFY(plik.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&plik);
        QStringList jezyki;
        QString tytul;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name") || xml.name() == QLatin1String("locale"))
                jezyki << xml.readElementText();
            else if (xml.name() == QLatin1String("title"))
                tytul = xml.readElementText();
        }
        QVERIFY(!xml.hasError());
        QCOMPARE(tytul, z.Nazwa);
        QCOMPARE(jezyki.mid(0, 4), (QStringList{"English", "en", "Polish", "pl"}));
    }

    // A save that cannot finish changes nothing on the disk and says why, whichever file it failed on.
    void zapisNieudany_data()
    {
        QTest::addColumn<QString>("rodzaj");
        QTest::addColumn<int>("limit"); // the largest file that can be written, 0 for no bound
        QTest::addColumn<QString>("komunikat");
        QTest::newRow("new set, full disk") << "nowy" << 40 << "Brak miejsca na dysku";
        QTest::newRow("re-save, full disk") << "ponowny" << 600 << "Brak miejsca na dysku";
        QTest::newRow("the list does not fit") << "lista" << 4096 << "Brak miejsca na dysku";
        QTest::newRow("the own sets' limit") << "limit" << 0 << "najwyżej 10";
    }

    void zapisNieudany()
    {
        QFETCH(QString, rodzaj);
        QFETCH(int, limit);
        QTemporaryDir katalog;
        const std::filesystem::path kat = katalog.path().toStdString();
        QDir().mkpath(katalog.filePath("dane"));
        WlasnyZestaw z;
        z.Nazwa = QStringLiteral("Kuchnia");
        z.Pary = {{"spoon", "łyżka"}, {"fork", "widelec"}};
        QString blad;
        if (rodzaj == "ponowny") {
            for (int i = 0; i < 50; ++i)
                z.Pary.append(Para{QStringLiteral("word %1").arg(i), QStringLiteral("słowo %1").arg(i)});
            QVERIFY(ZapiszWlasny(kat, z, blad));
            z.Pary.append(Para{"knife", "nóż"});
        } else if (rodzaj != "nowy") {
            QStringList linie{"Moje zestawy*1"};
            for (int i = 0; i < (rodzaj == "limit" ? 10000 : 300); ++i)
                linie << QStringLiteral("Zestaw %1*moje_zestaw_%1.txt").arg(i);
            testy::zapiszLinie(katalog.filePath("dane/a_moje.txt"), linie);
        }
        const auto stan = [&] {
            QStringList pliki;
            for (const QFileInfo& f : QDir(katalog.filePath("dane")).entryInfoList(QDir::Files | QDir::Hidden)) {
                QFile plik(f.filePath());
                plik.open(QIODevice::ReadOnly);
                pliki << f.fileName() + QLatin1Char(' ') + QString::fromLatin1(plik.readAll().toHex());
            }
            return pliki;
        };
        const QStringList przed = stan();
        {
            std::optional<testy::PelnyDysk> dysk;
            if (limit > 0)
                dysk.emplace(rlim_t(limit));
            QVERIFY(!ZapiszWlasny(kat, z, blad));
        }
        QVERIFY2(blad.contains(WARTOSC(QString, komunikat)), qPrintable(blad));
        QCOMPARE(stan(), przed);
    }

    void sprawdzanie_data()
    {
        QTest::addColumn<QString>("angielski");
        QTest::addColumn<QString>("polski");
        QTest::addColumn<bool>("blokuje");
        QTest::addColumn<QString>("uwaga");
        QTest::newRow("fine") << "cat"
                              << "kot" << false << QString();
        QTest::newRow("no Windows-1250") << "cat"
                                         << "кот" << true << "nie ma odpowiednika";
        QTest::newRow("emoji") << "cat 🐈"
                               << "kot" << true << "nie ma odpowiednika";
        QTest::newRow("star") << "a*b"
                              << "kot" << true << "gwiazdka";
        QTest::newRow("empty Polish") << "cat"
                                      << " " << true << "brak polskiego";
        QTest::newRow("101 bytes") << "cat" << QString(101, QLatin1Char('k')) << true << "101 bajtów";
        QTest::newRow("101 bytes of English") << QString(101, QLatin1Char('k')) << "kot" << true << "101 bajtów";
        // Polish letters are one byte each in a set file, two in UTF-8: a hundred of them still fit.
        QTest::newRow("100 Polish letters") << "cat" << QString(100, QChar(u'ż')) << false << QString();
    }

    void sprawdzanie()
    {
        QFETCH(QString, angielski);
        QFETCH(QString, polski);
        const QList<UwagiWiersza> u = SprawdzPary({{angielski, polski}, {"cat", "kot2"}});
        const Uwaga& pierwsza = u[0].Pole[0].Tekst.isEmpty() ? u[0].Pole[1] : u[0].Pole[0];
        QCOMPARE(pierwsza.Blokuje, WARTOSC(bool, blokuje));
        QVERIFY2(pierwsza.Tekst.contains(WARTOSC(QString, uwaga)), qPrintable(pierwsza.Tekst));
        // The same English word twice is only a warning, shown on the second one.
        if (angielski == QLatin1String("cat")) {
            QVERIFY(u[1].Pole[0].Tekst.contains(QStringLiteral("wierszu 1")));
            QVERIFY(!u[1].Pole[0].Blokuje);
        }
    }

    // An empty cell beside a word offers the dictionary's meanings: Tab takes the first, a word of one's own stays.
    void podpowiedziSlownika()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Dom*dom.txt"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom"});
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        if (!p.FGlowny->Slownik()->Wczytaj())
            QSKIP("the FreeDict dictionaries are not installed");
        TFMojeZestawy& e = p.FGlowny->MojeZestawy();
        e.Otworz();
        QVERIFY(QTest::qWaitForWindowActive(&e));
        auto* tabela = e.findChild<QTableView*>("TSlowa");
        tabela->setFocus();
        tabela->setCurrentIndex(e.Model().index(0, 0));
        pisz("spoon");
        klawisz(Qt::Key_Tab);
        QTRY_VERIFY(QApplication::activePopupWidget());
        klawisz(Qt::Key_Tab);
        QTRY_COMPARE(e.Model().Pary().value(0), (Para{"spoon", QStringLiteral("łyżka")}));
        // Polish first: its English is offered in the empty cell before it.
        QTRY_COMPARE(tabela->currentIndex(), e.Model().index(1, 0));
        klawisz(Qt::Key_Tab);
        pisz(QStringLiteral("łyżka"));
        klawisz(Qt::Key_Backtab);
        QTRY_VERIFY(QApplication::activePopupWidget());
        klawisz(Qt::Key_Tab);
        QTRY_COMPARE(e.Model().Pary().value(1).Angielski, QStringLiteral("spoon"));
        // A word of one's own, typed over the suggestions, is what the cell keeps.
        QTRY_COMPARE(tabela->currentIndex(), e.Model().index(1, 1));
        klawisz(Qt::Key_Tab);
        QTRY_COMPARE(tabela->currentIndex(), e.Model().index(2, 0));
        pisz("knife");
        klawisz(Qt::Key_Tab);
        pisz(QStringLiteral("nożyk"));
        klawisz(Qt::Key_Tab);
        QTRY_COMPARE(e.Model().Pary().value(2), (Para{"knife", QStringLiteral("nożyk")}));
    }

    // A set typed from the keyboard alone: Tab runs through the cells and from the last one into a new row, Enter in
    // the last row opens a new one, Shift+Tab goes back; the empty row left at the end is neither a change nor saved.
    void klawiatura()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Dom*dom.txt"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom"});
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        TFMojeZestawy& e = p.FGlowny->MojeZestawy();
        e.Otworz();
        QVERIFY(QTest::qWaitForWindowActive(&e));
        auto* tabela = e.findChild<QTableView*>("TSlowa");
        tabela->setFocus();
        tabela->setCurrentIndex(e.Model().index(0, 0));
        pisz("dog");
        klawisz(Qt::Key_Tab);
        pisz("pies");
        klawisz(Qt::Key_Tab);
        QCOMPARE(e.Model().rowCount(), 2);
        QCOMPARE(tabela->currentIndex(), e.Model().index(1, 0));
        pisz("cat");
        klawisz(Qt::Key_Tab);
        pisz("kot");
        klawisz(Qt::Key_Return);
        QTRY_COMPARE(e.Model().rowCount(), 3);
        QCOMPARE(tabela->currentIndex(), e.Model().index(2, 0));
        pisz("sun");
        klawisz(Qt::Key_Tab);
        pisz(QStringLiteral("słońce"));
        klawisz(Qt::Key_Tab);
        QCOMPARE(e.Model().rowCount(), 4);
        klawisz(Qt::Key_Backtab);
        QCOMPARE(tabela->currentIndex(), e.Model().index(2, 1));
        QCOMPARE(jakoTekst(e.Model().Pary()), (QStringList{"dog|pies", "cat|kot", QStringLiteral("sun|słońce"), "|"}));

        e.findChild<QLineEdit*>("ENazwa")->setText(QStringLiteral("Klawiatura"));
        QVERIFY(e.Zapisz());
        QFile plik(k.sciezka("dane/moje_klawiatura.txt"));
        QVERIFY(plik.open(QIODevice::ReadOnly));
        QCOMPARE(plik.readAll(), QByteArray("Angielskie s\xb3owo*Polskie znaczenie\r\ndog*pies\r\ncat*kot\r\n"
                                            "sun*s\xb3o\xf1"
                                            "ce\r\n"));
        // Tab on from the last cell of the saved set opens an empty row: nothing to save yet.
        tabela->setFocus();
        tabela->setCurrentIndex(e.Model().index(2, 1));
        klawisz(Qt::Key_Tab);
        QCOMPARE(e.Model().rowCount(), 4);
        QVERIFY(!e.Zmieniony());
        // Shift+Tab from the first cell leaves the table for the field before it.
        klawisz(Qt::Key_Escape);
        tabela->setCurrentIndex(e.Model().index(0, 0));
        tabela->setFocus();
        klawisz(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), e.findChild<QLineEdit*>("ENaglowekOznacza"));
        QVERIFY(odp.teksty.isEmpty());
    }

    // A field longer than a set file keeps is marked with its size as it is typed, and saving is refused with every
    // such row named; a meaning a file holds beyond the bound is shown whole, so no save cuts it on the way.
    void dlugiePole()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Dom*dom.txt"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom"});
        const QString dlugie = QString(120, QLatin1Char('x'));
        k.zestaw("moje_stary.txt", {"Słowo*Znaczenie", "short*krótki", "long*" + dlugie, "tall*wysoki"});
        testy::zapiszLinie(k.sciezka("dane/a_moje.txt"), {"Moje zestawy*1", "Stary*moje_stary.txt"});
        const QByteArray naDysku = [&] {
            QFile plik(k.sciezka("dane/moje_stary.txt"));
            plik.open(QIODevice::ReadOnly);
            return plik.readAll();
        }();
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        TFMojeZestawy& e = p.FGlowny->MojeZestawy();
        e.Otworz();
        QCOMPARE(e.Model().Pary()[1].Polski, dlugie);
        QVERIFY(e.Model().Uwagi()[1].Pole[1].Blokuje);

        // Typing a 101st byte marks the field at once, before it is committed.
        auto* tabela = e.findChild<QTableView*>("TSlowa");
        tabela->setCurrentIndex(e.Model().index(2, 1));
        tabela->edit(e.Model().index(2, 1));
        auto* pole = tabela->findChild<QLineEdit*>();
        QVERIFY(pole);
        pole->setText(QString(100, QChar(u'ł')));
        QVERIFY(pole->toolTip().isEmpty());
        testy::wpisz(pole, QStringLiteral("ł"));
        QVERIFY2(pole->toolTip().startsWith(QStringLiteral("101 bajtów")), qPrintable(pole->toolTip()));
        QVERIFY(e.findChild<QLabel*>("LUwaga")->text().startsWith(QStringLiteral("Wiersz 3: 101 bajtów")));
        QTest::keyClick(pole, Qt::Key_Return);
        QTRY_COMPARE(e.Model().Pary()[2].Polski.size(), 101);

        QVERIFY(!e.Zapisz());
        QVERIFY2(odp.teksty.last().contains(QStringLiteral("Za długie pola w wierszach 2 i 3")),
                 qPrintable(odp.teksty.last()));
        QVERIFY(p.FWarning->Miesci(odp.teksty.last()));
        QCOMPARE(tabela->currentIndex().row(), 1);
        QString blad;
        vokara::WlasnyZestaw zestaw = e.Biezacy();
        QVERIFY(!EksportujZestaw(k.sciezka("eksport.txt"), zestaw, blad));
        QVERIFY(!ZapiszWlasny(k.sciezka().toStdString(), zestaw, blad));
        QVERIFY(blad.contains(QStringLiteral("dłuższe niż 100 bajtów")));
        QFile plik(k.sciezka("dane/moje_stary.txt"));
        QVERIFY(plik.open(QIODevice::ReadOnly));
        QCOMPARE(plik.readAll(), naDysku);
        QVERIFY(!QFile::exists(k.sciezka("eksport.txt")));
    }

    // The editor refuses a character outside Windows-1250 and names the row; once mended, the set is saved and
    // every picker lists it after the list file's sets.
    // A first row that names the columns is told apart from words, whatever program wrote it.
    void naglowki_data()
    {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<bool>("naglowek");
        QTest::newRow("english,polish") << QByteArray("english,polish\ncat,kot\n") << true;
        QTest::newRow("Front, Back (Anki)") << QByteArray("Front\tBack\ncat\tkot\n") << true;
        QTest::newRow("Term, Definition (Quizlet)") << QByteArray("Term\tDefinition\ncat\tkot\n") << true;
        QTest::newRow("Polish titles") << QByteArray("Słowo;Znaczenie\ncat;kot\n") << true;
        QTest::newRow("titles with colons") << QByteArray("English:,Polish:\ncat,kot\n") << true;
        QTest::newRow("words") << QByteArray("dog,pies\ncat,kot\n") << false;
        QTest::newRow("one side a word") << QByteArray("english,angielski język\ncat,kot\n") << false;
        QTest::newRow("a word that is also a title") << QByteArray("back,plecy\ncat,kot\n") << false;
        QTest::newRow("this program's captions") << QByteArray("Słowo*Znaczenie\ncat*kot\n") << false;
    }

    void naglowki()
    {
        const WynikImportu w = ImportujBajty(WARTOSC(QByteArray, bajty));
        QVERIFY2(w.Ok, qPrintable(w.Blad));
        QCOMPARE(w.PierwszyNaglowkiem, WARTOSC(bool, naglowek));
        QCOMPARE(w.Pary.last(), (Para{"cat", "kot"}));
    }

    // The editor leaves a title row out after import, and the learner can take it back.
    void naglowekWEdytorze()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Dom*dom.txt"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom"});
        testy::zapisz(k.sciezka("slowa.csv"), "English,Polish\ncat,kot\n");
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        TFMojeZestawy& e = p.FGlowny->MojeZestawy();
        e.Otworz();
        QVERIFY(e.Importuj(k.sciezka("slowa.csv")));
        auto* naglowek = e.findChild<QCheckBox*>("CPierwszyNaglowek");
        QVERIFY(naglowek->isVisible() && naglowek->isChecked());
        QCOMPARE(e.Model().Pary(), (QList<Para>{{"cat", "kot"}}));
        naglowek->click();
        QCOMPARE(e.Model().Pary(), (QList<Para>{{"English", "Polish"}, {"cat", "kot"}}));
        naglowek->click();
        QCOMPARE(e.Model().Pary(), (QList<Para>{{"cat", "kot"}}));
    }

    // Leaving a round only to open "Moje zestawy" costs nothing: back on its page the round goes on, unless the
    // editor changed the very set it drills (then the page starts idle, as after any switch).
    void rundaPrzetrwaEdytor_data()
    {
        QTest::addColumn<bool>("zmiana");
        QTest::newRow("opened and closed") << false;
        QTest::newRow("the drilled set saved anew") << true;
    }

    void rundaPrzetrwaEdytor()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Dom*dom.txt"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom"});
        k.zestaw("moje_kuchnia.txt", {"Angielskie słowo*Polskie znaczenie", "spoon*łyżka", "fork*widelec"});
        testy::zapisz(k.sciezka("dane/a_moje.txt"), "Moje zestawy*1\r\nKuchnia*moje_kuchnia.txt\r\n");
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QVERIFY(QTest::qWaitForWindowActive(p.FGlowny.get()));
        const testy::Formularz ui(*p.FGlowny);
        QTabBar* pasek = ui.PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(2).center());
        testy::wybierz(ui.CZestawSlow2, 1);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        const QString pytanie = ui.LDanyWyraz2->text();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(0).center());
        QTest::mouseClick(ui.ButMojeZestawy, Qt::LeftButton);
        TFMojeZestawy& e = p.FGlowny->MojeZestawy();
        QVERIFY(e.isVisible());
        if (WARTOSC(bool, zmiana)) {
            e.findChild<QListWidget*>()->setCurrentRow(0);
            QTRY_COMPARE(e.findChild<QLineEdit*>("ENazwa")->text(), QStringLiteral("Kuchnia"));
            e.findChild<QLineEdit*>("ENaglowekWyraz")->setText(QStringLiteral("Słowo"));
            QVERIFY(e.Zapisz());
        }
        e.close();
        QVERIFY(!e.isVisible());
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(2).center());
        if (WARTOSC(bool, zmiana)) {
            QVERIFY(!ui.EWpis2->isVisible());
            QCOMPARE(ui.LKomentarz2->text(), QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
        } else {
            QVERIFY(ui.EWpis2->isVisible() && ui.ButSprawdz2->isVisible());
            QCOMPARE(ui.LDanyWyraz2->text(), pytanie);
            testy::wpisz(ui.EWpis2, vokara::ZCp1250(p.FGlowny->Strona(2)->Runda()->PoprawnaOdpowiedz(0)));
            QTest::keyClick(ui.EWpis2, Qt::Key_Return);
            QCOMPARE(p.FGlowny->findChild<QLabel*>("LPostep2")->text(), QStringLiteral("Zaliczone: 1 z 2, błędy: 0"));
        }
    }

    void edytor()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Dom*dom.txt"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom"});
        testy::zapisz(k.sciezka("Lekcja 7.tsv"), "cat\tkot\nwater\tвода\n");
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QTest::mouseClick(testy::Formularz(*p.FGlowny).ButMojeZestawy, Qt::LeftButton);
        TFMojeZestawy& e = p.FGlowny->MojeZestawy();
        QVERIFY(e.isVisible());
        QVERIFY(!e.Importuj(k.sciezka(QStringLiteral("zła\u202Etxt.exe"))));
        QVERIFY2(odp.teksty.last().startsWith(QStringLiteral("Nie zaimportowano pliku „zła\uFFFDtxt.exe”.")),
                 qPrintable(odp.teksty.last()));
        QVERIFY(e.Importuj(k.sciezka("Lekcja 7.tsv")));
        QCOMPARE(e.findChild<QLineEdit*>("ENazwa")->text(), QStringLiteral("Lekcja 7"));
        QVERIFY(e.Zmieniony());

        // "Zamień kolumny" swaps every pair, and again back.
        auto* zamien = e.findChild<QPushButton*>("ButZamienKolumny");
        QTest::mouseClick(zamien, Qt::LeftButton);
        QCOMPARE(e.Model().Pary()[0], (Para{"kot", "cat"}));
        QTest::mouseClick(zamien, Qt::LeftButton);
        QCOMPARE(e.Model().Pary()[0], (Para{"cat", "kot"}));

        QVERIFY(!e.Zapisz());
        QVERIFY2(odp.teksty.last().contains(QStringLiteral("Wiersz 2, pole „Polski”")), qPrintable(odp.teksty.last()));
        QVERIFY(!QFile::exists(k.sciezka("dane/a_moje.txt")));
        QCOMPARE(testy::Formularz(*p.FGlowny).CZestawSlow->count(), 1);

        // A round on the typing page goes on with what it loaded while the pickers are filled again.
        testy::Formularz(*p.FGlowny).CZestawSlow2->setCurrentIndex(0);
        QVERIFY(p.FGlowny->Strona(2)->Runda()->WczytajZestaw(p.stan.dane, 0));
        const std::vector<_word> runda = p.FGlowny->Strona(2)->Runda()->Wyrazy();

        // Mend the cell as a user would: type over it.
        auto* tabela = e.findChild<QTableView*>("TSlowa");
        tabela->setCurrentIndex(e.Model().index(1, 1));
        tabela->edit(e.Model().index(1, 1));
        auto* pole = tabela->findChild<QLineEdit*>();
        QVERIFY(pole);
        pole->selectAll();
        testy::wpisz(pole, QStringLiteral("woda"));
        QTest::keyClick(pole, Qt::Key_Return);
        QTRY_COMPARE(e.Model().Pary()[1].Polski, QStringLiteral("woda"));
        QTest::mouseClick(e.findChild<QPushButton*>("ButZapisz"), Qt::LeftButton);
        QVERIFY(!e.Zmieniony());
        QVERIFY(QFile::exists(k.sciezka("dane/moje_lekcja_7.txt")));
        for (QComboBox* lista : {static_cast<QComboBox*>(testy::Formularz(*p.FGlowny).CZestawSlow),
                                 static_cast<QComboBox*>(testy::Formularz(*p.FGlowny).CZestawSlow2),
                                 static_cast<QComboBox*>(testy::Formularz(*p.FGlowny).CZestawSlow3)}) {
            QCOMPARE(lista->count(), 2);
            QCOMPARE(lista->itemText(1), QStringLiteral("Lekcja 7"));
        }
        QCOMPARE(testy::Formularz(*p.FGlowny).CZestawSlow2->currentIndex(), 0);
        QCOMPARE(p.FGlowny->Strona(2)->Runda()->Wyrazy().size(), runda.size());
        QCOMPARE(p.FGlowny->Strona(2)->Runda()->Wyrazy()[0].Angielski, runda[0].Angielski);

        // Leaving a changed set asks; "Anuluj" stays, and "Usuń" asks before it removes anything.
        e.findChild<QLineEdit*>("ENazwa")->setText(QStringLiteral("Lekcja 8"));
        odp.klawisze = {Qt::Key_A};
        QVERIFY(!e.MoznaOpuscic());
        QCOMPARE(odp.teksty.last(), QStringLiteral("Zapisać zmiany w zestawie „Lekcja 8”?"));
        odp.klawisze = {Qt::Key_A};
        QTest::mouseClick(e.findChild<QPushButton*>("ButUsun"), Qt::LeftButton);
        QVERIFY(QFile::exists(k.sciezka("dane/moje_lekcja_7.txt")));
        odp.klawisze = {Qt::Key_T}; // Tak
        QTest::mouseClick(e.findChild<QPushButton*>("ButUsun"), Qt::LeftButton);
        QVERIFY(!QFile::exists(k.sciezka("dane/moje_lekcja_7.txt")));
        QCOMPARE(testy::Formularz(*p.FGlowny).CZestawSlow->count(), 1);
    }
};

QTEST_MAIN(TestMoje)
#include "test_moje.moc"
