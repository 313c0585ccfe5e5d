// Data folder readers: the split rule, line ends, the codec, the list and set readers, bad and shipped files.
#include "dane.h"
#include "kodowanie.h"
#include "pomocnicze.h"
#include "runda.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace vokara;
using testy::cp;

class TestDane : public QObject {
    Q_OBJECT

    QTemporaryDir katalog;
    Dane dane;
    Losowanie los;

    QString dan(const QString& plik) const { return katalog.filePath("dane/" + plik); }
    void lista(const QStringList& linie) { testy::zapiszLinie(dan("a_spis.txt"), linie); }

private slots:
    void init()
    {
        QDir(katalog.path()).removeRecursively();
        QDir().mkpath(katalog.filePath("dane"));
        dane = Dane{};
        dane.KatalogRoboczy = katalog.path().toStdString();
        los = Losowanie{};
    }

    void rozdziel_data()
    {
        QTest::addColumn<QByteArray>("linia");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("pierwsze");
        QTest::addColumn<QByteArray>("drugie");
        QTest::newRow("phrase") << QByteArray("ice cream*lody") << true << QByteArray("ice cream")
                                << QByteArray("lody");
        QTest::newRow("first star only") << QByteArray("a*b*c") << true << QByteArray("a") << QByteArray("b*c");
        QTest::newRow("blanks kept") << QByteArray("cat * kot") << true << QByteArray("cat ") << QByteArray(" kot");
        QTest::newRow("no star") << QByteArray("dog") << true << QByteArray("dog") << QByteArray();
        QTest::newRow("star first") << QByteArray("*pies") << true << QByteArray() << QByteArray("pies");
        QTest::newRow("star last") << QByteArray("dog*") << true << QByteArray("dog") << QByteArray();
        QTest::newRow("empty line") << QByteArray() << false << QByteArray("old1") << QByteArray("old2");
        QTest::newRow("meaning cut at 100")
            << QByteArray("x*" + QByteArray(150, 'y')) << true << QByteArray("x") << QByteArray(100, 'y');
    }

    void rozdziel()
    {
        QFETCH(QByteArray, linia);
        std::string pierwsze = "old1";
        std::string drugie = "old2";
        QCOMPARE(Rozdziel(linia.toStdString(), pierwsze, drugie), WARTOSC(bool, ok) ? true : false);
        QCOMPARE(QByteArray::fromStdString(pierwsze), WARTOSC(QByteArray, pierwsze));
        QCOMPARE(QByteArray::fromStdString(drugie), WARTOSC(QByteArray, drugie));
    }

    void linie_data()
    {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<QStringList>("linie");
        const QStringList ab{"a", "b"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << ab;
        QTest::newRow("LF only") << QByteArray("a\nb\n") << ab;
        QTest::newRow("CR only") << QByteArray("a\rb\r") << ab;
        QTest::newRow("no final end") << QByteArray("a\r\nb") << ab;
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("NUL ends text") << QByteArray("a\r\nb\0c\r\nd", 9) << ab;
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("only an end") << QByteArray("\r\n") << QStringList{""};
    }

    void linie()
    {
        QFETCH(QByteArray, bajty);
        QStringList wynik;
        for (const auto& l : PodzielNaLinie(bajty.toStdString()))
            wynik << QString::fromStdString(l);
        QCOMPARE(wynik, WARTOSC(QStringList, linie));
    }

    void kodowanie_data()
    {
        QTest::addColumn<QString>("znak");
        QTest::addColumn<int>("bajt");
        const QString polskie = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
        const int bajty[] = {0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF,
                             0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
        for (int i = 0; i < polskie.size(); ++i)
            QTest::newRow(polskie.mid(i, 1).toUtf8().constData()) << polskie.mid(i, 1) << bajty[i];
        QTest::newRow("euro") << QStringLiteral("€") << 0x80;
        QTest::newRow("ascii") << QStringLiteral("A") << 0x41;
    }

    void kodowanie()
    {
        QFETCH(QString, znak);
        QFETCH(int, bajt);
        const std::string b(1, static_cast<char>(bajt));
        QCOMPARE(QString::fromStdString(Cp1250NaUtf8(b)), znak);
        std::string wynik;
        QVERIFY(Utf8NaCp1250(znak.toStdString(), wynik));
        QCOMPARE(wynik, b);
    }

    void kodowanieNiemapowalne_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("n with tilde") << QStringLiteral("mañana").toUtf8();
        QTest::newRow("cjk") << QStringLiteral("日本").toUtf8();
        QTest::newRow("replacement char") << QStringLiteral("\uFFFD").toUtf8();
        QTest::newRow("emoji") << QStringLiteral("😀").toUtf8();
        QTest::newRow("broken utf8") << QByteArray("\xC5");
        QTest::newRow("overlong NUL") << QByteArray("a\xC0\x80");
    }

    void kodowanieNiemapowalne()
    {
        QFETCH(QByteArray, utf8);
        std::string wynik;
        QVERIFY(!Utf8NaCp1250(utf8.toStdString(), wynik));
    }

    void kodowanieCalaTablica()
    {
        // Every defined byte goes to its character and back; undefined ones read as U+FFFD.
        for (int b = 0; b < 256; ++b) {
            const char32_t z = ZnakCp1250(static_cast<unsigned char>(b));
            if (b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98) {
                QCOMPARE(int(z), 0xFFFD);
                continue;
            }
            QCOMPARE(BajtCp1250(z), b);
        }
    }

    void maleLitery()
    {
        QCOMPARE(MaleLitery("Dog ICE-Cream"), std::string("dog ice-cream"));
        QCOMPARE(MaleLitery(cp("ŻABA Łódź")), cp("Żaba Łódź"));
        QCOMPARE(MaleLitery("[\\]^_`@"), std::string("[\\]^_`@"));
    }

    void wczytajListe_data()
    {
        QTest::addColumn<QStringList>("linie");
        QTest::addColumn<QStringList>("pliki");
        QTest::addColumn<int>("wynik");
        QTest::addColumn<QStringList>("nazwy");
        const QStringList oba{"a.txt", "b.txt"};
        QTest::newRow("ready") << QStringList{"01.02.2026*1.0", "Zwierzęta*a.txt", "Dom*b.txt"} << oba << 0
                               << QStringList{"Zwierzęta", "Dom"};
        QTest::newRow("missing files skipped")
            << QStringList{"v*1", "A*a.txt", "X*x.txt", "B*b.txt"} << oba << 0 << QStringList{"A", "B"};
        QTest::newRow("no set file") << QStringList{"v*1", "X*x.txt"} << oba << 3 << QStringList{};
        QTest::newRow("header only") << QStringList{"v*1"} << oba << 3 << QStringList{};
        QTest::newRow("empty lines skipped")
            << QStringList{"v*1", "", "A*a.txt", "", "B*b.txt"} << oba << 0 << QStringList{"A", "B"};
        QTest::newRow("empty file name") << QStringList{"v*1", "A", "B*", "C*b.txt"} << oba << 0 << QStringList{"C"};
        QTest::newRow("name twice") << QStringList{"v*1", "A*a.txt", "A*b.txt"} << oba << 0 << QStringList{"A", "A"};
        QTest::newRow("first line empty") << QStringList{"", "A*a.txt"} << oba << 2 << QStringList{};
        QTest::newRow("polish file name")
            << QStringList{"v*1", "Żaby*żaby.txt"} << QStringList{"żaby.txt"} << 0 << QStringList{"Żaby"};
    }

    void wczytajListe()
    {
        QFETCH(QStringList, linie);
        QFETCH(QStringList, pliki);
        for (const auto& p : pliki)
            testy::zapiszLinie(dan(p), {"w*o", "dog*pies"});
        lista(linie);
        QCOMPARE(WczytajListe(dane), WARTOSC(int, wynik));
        QStringList nazwy;
        for (const auto& z : dane.Zestawy)
            nazwy << QString::fromStdString(Cp1250NaUtf8(z.Nazwa));
        QCOMPARE(nazwy, WARTOSC(QStringList, nazwy));
    }

    void wczytajListeWersje()
    {
        testy::zapiszLinie(dan("a.txt"), {"w*o"});
        lista({"11.11.2011*2.5", "A*a.txt"});
        QCOMPARE(WczytajListe(dane), 0);
        QCOMPARE(dane.WersjaDanych, std::string("11.11.2011"));
        QCOMPARE(dane.WersjaProgramu, std::string("2.5"));
    }

    // A name starting with '/' is joined to the data folder as text, so it cannot name a file elsewhere.
    void sciezkaBezwzgledna()
    {
        testy::zapiszLinie(katalog.filePath("poza.txt"), {"w*o"});
        testy::zapiszLinie(dan("a.txt"), {"w*o"});
        lista({"v*1", "X*" + katalog.filePath("poza.txt"), "A*a.txt"});
        QCOMPARE(WczytajListe(dane), 0);
        QCOMPARE(dane.Zestawy.size(), std::size_t(1));
        QCOMPARE(dane.Zestawy[0].Plik, std::string("a.txt"));
    }

    void wczytajListeBrak()
    {
        QCOMPARE(WczytajListe(dane), 1);
        // A folder where the list should be is no list either.
        QDir().mkpath(dan("a_spis.txt"));
        QCOMPARE(WczytajListe(dane), 1);
    }

    void wczytajListePusta()
    {
        testy::zapisz(dan("a_spis.txt"), QByteArray());
        QCOMPARE(WczytajListe(dane), 2);
    }

    void wczytajZestaw()
    {
        Runda runda(los);
        testy::zapiszLinie(dan("a.txt"), {"Słowo*oznacza", "ice cream*lody", "cat * kot", "dog"});
        lista({"v*1", "A*a.txt"});
        QCOMPARE(WczytajListe(dane), 0);
        QVERIFY(runda.WczytajZestaw(dane, 0));
        QCOMPARE(runda.NaglowekWyraz(), cp("Słowo"));
        QCOMPARE(runda.NaglowekOznacza(), std::string("oznacza"));
        QCOMPARE(runda.Wyrazy().size(), std::size_t(3));
        std::map<std::string, std::string> wpisy;
        for (const auto& w : runda.Wyrazy()) {
            QVERIFY(!w.Zaliczony);
            wpisy[w.Angielski] = w.Polski;
        }
        QCOMPARE(wpisy["ice cream"], std::string("lody"));
        QCOMPARE(wpisy["cat "], std::string(" kot"));
        QCOMPARE(wpisy["dog"], std::string());
    }

    // Each row: the set file's bytes; whether the load succeeds; the entries afterwards (a failed load keeps the
    // previous set, here the one entry "old").
    void wczytajZestawPrzypadki_data()
    {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("liczba");
        QTest::newRow("header only") << QByteArray("w*o\r\n") << true << 0;
        QTest::newRow("first line empty") << QByteArray("\r\ndog*pies\r\n") << false << 1;
        QTest::newRow("no line") << QByteArray() << false << 1;
        QTest::newRow("empty lines skipped") << QByteArray("w*o\r\n\r\na*b\r\n\r\nc*d") << true << 2;
        QTest::newRow("LF only") << QByteArray("w*o\na*b\nc*d\n") << true << 2;
        QTest::newRow("CR only") << QByteArray("w*o\ra*b\rc*d") << true << 2;
        QTest::newRow("NUL inside a line") << QByteArray("w*o\r\na*b\r\nc\0*d\r\ne*f", 20) << true << 2;
        QTest::newRow("only NUL") << QByteArray("\0w*o", 4) << false << 1;
    }

    void wczytajZestawPrzypadki()
    {
        Runda runda(los);
        QFETCH(QByteArray, bajty);
        testy::zapisz(dan("a.txt"), bajty);
        dane.Zestawy = {{"A", "a.txt"}};
        runda.Wyrazy() = {{"stare", "old", true}};
        QCOMPARE(runda.WczytajZestaw(dane, 0), WARTOSC(bool, ok));
        QCOMPARE(int(runda.Wyrazy().size()), WARTOSC(int, liczba));
    }

    void wczytajZestawNiepoprawny()
    {
        Runda runda(los);
        dane.Zestawy = {{"A", "a.txt"}, {"B", "katalog"}};
        runda.Wyrazy() = {{"stare", "old", false}};
        QDir().mkpath(dan("katalog"));
        QVERIFY(!runda.WczytajZestaw(dane, -1));
        QVERIFY(!runda.WczytajZestaw(dane, 2));
        QVERIFY(!runda.WczytajZestaw(dane, 0)); // file missing
        QVERIFY(!runda.WczytajZestaw(dane, 1)); // a folder, not a file
        QCOMPARE(runda.Wyrazy().size(), std::size_t(1));
        QCOMPARE(runda.Wyrazy()[0].Angielski, std::string("old"));
        QCOMPARE(los.Ziarno, 0u); // nothing was shuffled
    }

    void zleDane_data()
    {
        QTest::addColumn<QByteArray>("bajty");
        QByteArray losowe(1 << 20, Qt::Uninitialized);
        QRandomGenerator generator(1234);
        for (auto& b : losowe)
            b = static_cast<char>(generator.bounded(256));
        QTest::newRow("random bytes") << losowe;
        QTest::newRow("10 MB line without a star") << QByteArray(10 * 1024 * 1024, 'x');
        QTest::newRow("stars only") << QByteArray(100000, '*');
        QTest::newRow("line ends only") << QByteArray(100000, '\n');
    }

    // Whatever the bytes, the readers end with a result the callers know and never crash or hang.
    void zleDane()
    {
        Runda runda(los);
        QFETCH(QByteArray, bajty);
        testy::zapisz(dan("a_spis.txt"), bajty);
        testy::zapisz(dan("a.txt"), bajty);
        const int wynik = WczytajListe(dane);
        QVERIFY(wynik == 0 || wynik == 2 || wynik == 3);
        dane.Zestawy = {{"A", "a.txt"}};
        runda.WczytajZestaw(dane, 0);
        for (const auto& w : runda.Wyrazy())
            QVERIFY(w.Polski.size() <= NajdluzszeZnaczenie);
    }

    // A file past the size limit is refused before it is read (a sparse file costs no disk here).
    void zaDuzyPlik()
    {
        Runda runda(los);
        for (const char* nazwa : {"a_spis.txt", "a.txt"}) {
            QFile plik(dan(nazwa));
            QVERIFY(plik.open(QIODevice::WriteOnly));
            plik.write("v*1\r\nA*a.txt\r\n");
            QVERIFY(plik.resize(qint64(NajwiekszyPlikDanych) + 1));
        }
        QCOMPARE(WczytajListe(dane), 2);
        dane.Zestawy = {{"A", "a.txt"}};
        runda.Wyrazy() = {{"stare", "old", false}};
        QVERIFY(!runda.WczytajZestaw(dane, 0));
        QCOMPARE(runda.Wyrazy().size(), std::size_t(1));
    }

    void duzyZestaw()
    {
        Runda runda(los);
        QByteArray bajty = "w*o\r\n";
        for (int i = 0; i < 100000; ++i)
            bajty += "word" + QByteArray::number(i) + "*slowo" + QByteArray::number(i) + "\r\n";
        testy::zapisz(dan("a.txt"), bajty);
        dane.Zestawy = {{"A", "a.txt"}};
        QVERIFY(runda.WczytajZestaw(dane, 0));
        QCOMPARE(runda.Wyrazy().size(), std::size_t(100000));
    }

    // The vocabulary the program ships: every set listed, parsed into full entries, in Windows-1250.
    void dostarczoneZestawy()
    {
        Runda runda(los);
        Dane dostarczone;
        dostarczone.KatalogRoboczy = QFileInfo(VOKARA_DANE_ZRODLOWE).absolutePath().toStdString();
        QCOMPARE(WczytajListe(dostarczone), 0);
        QVERIFY(dostarczone.Zestawy.size() >= 12);
        const QByteArray utf8Polskie[] = {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż",
                                          "Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"};
        for (int i = 0; i < int(dostarczone.Zestawy.size()); ++i) {
            const auto& z = dostarczone.Zestawy[std::size_t(i)];
            QVERIFY2(runda.WczytajZestaw(dostarczone, i), z.Plik.c_str());
            QVERIFY2(runda.Wyrazy().size() >= 30, z.Plik.c_str());
            for (const auto& w : runda.Wyrazy())
                QVERIFY2(!w.Angielski.empty() && !w.Polski.empty(), (z.Plik + ": " + w.Angielski).c_str());
            QFile plik(QString::fromStdString(dostarczone.SciezkaDanych(z.Plik).string()));
            QVERIFY(plik.open(QIODevice::ReadOnly));
            const QByteArray bajty = plik.readAll();
            for (const auto& u : utf8Polskie)
                QVERIFY2(!bajty.contains(u), z.Plik.c_str());
            // Every line ends in CR LF and holds one '*'; a meaning fits in 100 bytes, is not the English word again
            // and appears once in its set, so a meaning given to the learner never has a second right answer in the
            // set.
            QVERIFY2(bajty.endsWith("\r\n"), z.Plik.c_str());
            const QList<QByteArray> linie = bajty.chopped(1).split('\n');
            QSet<QByteArray> znaczenia;
            for (qsizetype n = 1; n < linie.size(); ++n) {
                const QByteArray& linia = linie[n];
                const QByteArray opis = QByteArray(z.Plik.c_str()) + ": " + linia.trimmed();
                QVERIFY2(linia.endsWith('\r') && linia.count('\r') == 1 && linia.count('*') == 1, opis.constData());
                const QByteArray angielski = linia.first(linia.indexOf('*'));
                const QByteArray polski = linia.sliced(angielski.size() + 1).chopped(1);
                QVERIFY2(polski.size() <= 100, opis.constData());
                QVERIFY2(polski.toLower() != angielski.toLower(), opis.constData());
                QVERIFY2(!znaczenia.contains(polski), opis.constData());
                znaczenia.insert(polski);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDane)
#include "test_dane.moc"
