// Round engine: the generator's sequence, shuffle, next unanswered entry, options, answers and feedback.
#include "kodowanie.h"
#include "pomocnicze.h"
#include "runda.h"

#include <QTest>

#include <optional>
#include <set>

using namespace vokara;
using testy::cp;

class TestRunda : public QObject {
    Q_OBJECT

    Losowanie los;
    Runda runda{los};

    void zestaw(int n)
    {
        runda.Wyrazy().clear();
        for (int i = 0; i < n; ++i)
            runda.Wyrazy().push_back({"p" + std::to_string(i), "e" + std::to_string(i), false});
    }

private slots:
    void init()
    {
        runda.Wyrazy().clear();
        los = Losowanie{};
        runda.Biezacy = -1;
    }

    void losujOdStartu()
    {
        QCOMPARE(los.Losuj(6), 0);
        QCOMPARE(los.Losuj(6), 0);
        QCOMPARE(los.Losuj(6), 5);
        const int dalej[] = {20, 27, 67, 31, 16};
        for (int oczekiwane : dalej)
            QCOMPARE(los.Losuj(100), oczekiwane);
    }

    void wymieszaj()
    {
        runda.Wyrazy() = {{"a", "A", false}, {"b", "B", false}, {"c", "C", false}, {"d", "D", false}};
        runda.Wymieszaj();
        QString kolejnosc;
        for (const auto& w : runda.Wyrazy())
            kolejnosc += QString::fromStdString(w.Angielski);
        QCOMPARE(kolejnosc, QStringLiteral("DBCA")); // two swaps from the fresh generator
    }

    void wymieszajMalyZestaw_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("empty") << 0;
        QTest::newRow("one entry") << 1;
    }

    void wymieszajMalyZestaw()
    {
        zestaw(WARTOSC(int, n));
        runda.Wymieszaj();
        QCOMPARE(los.Ziarno, 0u); // no draw at all
    }

    void nastepnyWyraz_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("zaliczone");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("kolejne");
        QTest::newRow("after the current, wrapping") << 5 << QList<int>{2, 4} << 4 << QList<int>{0, 1, 3, 0};
        QTest::newRow("from -1") << 3 << QList<int>{} << -1 << QList<int>{0, 1, 2, 0};
        QTest::newRow("current reached last") << 3 << QList<int>{0, 2} << 1 << QList<int>{1, 1};
        QTest::newRow("past the end of a shorter set") << 2 << QList<int>{} << 7 << QList<int>{0, 1};
        QTest::newRow("all answered") << 3 << QList<int>{0, 1, 2} << 1 << QList<int>{-1};
        QTest::newRow("empty set") << 0 << QList<int>{} << -1 << QList<int>{-1};
    }

    void nastepnyWyraz()
    {
        zestaw(WARTOSC(int, n));
        for (int z : WARTOSC(QList<int>, zaliczone))
            runda.Wyrazy()[std::size_t(z)].Zaliczony = true;
        runda.Biezacy = WARTOSC(int, start);
        for (int oczekiwany : WARTOSC(QList<int>, kolejne))
            QCOMPARE(runda.NastepnyWyraz(), oczekiwany);
        if (!runda.SaNiezaliczone())
            QCOMPARE(runda.Biezacy, WARTOSC(int, start)); // the end of a round leaves Biezacy alone
    }

    // Whole choice rounds, recorded on the search that restarted from the first entry before every question: the
    // entries asked, their options and every draw must stay exactly the same. Every fourth answer is wrong.
    void rundaWyboru_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("tryb");
        QTest::addColumn<QString>("kolejnosc");
        QTest::addColumn<quint64>("skrot"); // FNV-1a of the given words, option indices and feedback texts (Polish)
        QTest::addColumn<quint32>("ziarno");
        QTest::newRow("1 entry") << 1 << 0 << "0" << quint64(0x21c33e911916df21) << 134775814u;
        QTest::newRow("2 entries") << 2 << 0 << "1 0" << quint64(0xc7ddf11272dc758f) << 1259699184u;
        QTest::newRow("3 entries") << 3 << 0 << "1 2 0 0" << quint64(0xf88a633e3331de8e) << 1408429452u;
        QTest::newRow("3 entries, Polish given") << 3 << 1 << "1 2 0 0" << quint64(0xf02f27e23b5378fb) << 1408429452u;
        QTest::newRow("10 entries") << 10 << 0 << "1 2 3 3 4 5 6 6 7 8 9 9 0" << quint64(0xca6e944247ee6732)
                                    << 1454753229u;
        QTest::newRow("10 entries, Polish given")
            << 10 << 1 << "1 2 3 3 4 5 6 6 7 8 9 9 0" << quint64(0xbcbb509573db1170) << 1454753229u;
        const QString czterdziesci = "1 2 3 3 4 5 6 6 7 8 9 9 10 11 12 12 13 14 15 15 16 17 18 18 19 20 21 21 22 23 "
                                     "24 24 25 26 27 27 28 29 30 30 31 32 33 33 34 35 36 36 37 38 39 39 0";
        QTest::newRow("40 entries") << 40 << 0 << czterdziesci << quint64(0x8cd434e9521f2c5a) << 52711199u;
        QTest::newRow("40 entries, Polish given")
            << 40 << 1 << czterdziesci << quint64(0x1cd5dd502c86974a) << 52711199u;
    }

    void rundaWyboru()
    {
        const int tryb = WARTOSC(int, tryb);
        zestaw(WARTOSC(int, n));
        runda.Wymieszaj();
        std::string zapis;
        QStringList kolejnosc;
        for (int pytanie = 0;; ++pytanie) {
            if (runda.NastepnyOdPoczatku() < 0)
                break;
            QVERIFY(pytanie < 1000);
            runda.LosujInne();
            const auto opcje = runda.UlozOpcje(tryb);
            zapis += opcje.Dany + ":";
            for (int i : opcje.Indeksy)
                zapis += std::to_string(i) + ",";
            kolejnosc << QString::number(runda.Biezacy);
            if (pytanie % 4 == 2) {
                zapis += runda.Nagana(tryb);
            } else {
                runda.BiezacyWyraz().Zaliczony = true;
                zapis += runda.Pochwala();
            }
            zapis += ";";
        }
        QCOMPARE(runda.Biezacy, 0);
        quint64 skrot = 1469598103934665603ull;
        for (unsigned char c : zapis) {
            skrot ^= c;
            skrot *= 1099511628211ull;
        }
        QCOMPARE(kolejnosc.join(' '), WARTOSC(QString, kolejnosc));
        QCOMPARE(skrot, WARTOSC(quint64, skrot));
        QCOMPARE(los.Ziarno, WARTOSC(quint32, ziarno));
    }

    // A round started again on the same entries (their flags cleared) asks from the second entry again.
    void rundaWyboruOdNowa()
    {
        zestaw(5);
        for (int oczekiwany : {1, 2, 3}) {
            QCOMPARE(runda.NastepnyOdPoczatku(), oczekiwany);
            runda.Wyrazy()[std::size_t(oczekiwany)].Zaliczony = true;
        }
        for (auto& w : runda.Wyrazy())
            w.Zaliczony = false;
        QCOMPARE(runda.NastepnyOdPoczatku(), 1);
        zestaw(2); // another set
        runda.Wyrazy()[1].Zaliczony = true;
        QCOMPARE(runda.NastepnyOdPoczatku(), 0);
        runda.Wyrazy()[0].Zaliczony = true;
        QCOMPARE(runda.NastepnyOdPoczatku(), -1);
        QCOMPARE(runda.Biezacy, 0);
    }

    void losujInne_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("one entry") << 1;
        QTest::newRow("two entries") << 2;
        QTest::newRow("three entries") << 3;
        QTest::newRow("many entries") << 20;
    }

    // The others are distinct from the current entry and each other when they exist; the drawing always ends.
    void losujInne()
    {
        const int n = WARTOSC(int, n);
        zestaw(n);
        for (int proba = 0; proba < 200; ++proba) {
            runda.Biezacy = proba % n;
            runda.LosujInne();
            const int c = runda.Biezacy;
            QCOMPARE(runda.Inny1 == c, n < 2);
            QCOMPARE(runda.Inny2 == c, n < 3);
            if (n >= 3)
                QVERIFY(runda.Inny1 != runda.Inny2);
            const auto opcje = runda.UlozOpcje(proba % 2);
            QCOMPARE(int(opcje.Indeksy.size()), std::min(n, 3));
            QCOMPARE(std::set<int>(opcje.Indeksy.begin(), opcje.Indeksy.end()).size(), opcje.Indeksy.size());
            QVERIFY(std::count(opcje.Indeksy.begin(), opcje.Indeksy.end(), c) == 1);
        }
    }

    void ulozOpcje_data()
    {
        QTest::addColumn<quint32>("ziarno"); // a state whose next Losuj(6) gives k
        QTest::addColumn<QList<int>>("uklad");
        // C = 0, I1 = 1, I2 = 2
        QTest::newRow("k0") << 0u << QList<int>{0, 1, 2};
        QTest::newRow("k1") << 6u << QList<int>{0, 2, 1};
        QTest::newRow("k2") << 11u << QList<int>{1, 0, 2};
        QTest::newRow("k3") << 16u << QList<int>{1, 2, 0};
        QTest::newRow("k4") << 22u << QList<int>{2, 1, 0};
        QTest::newRow("k5") << 27u << QList<int>{2, 0, 1};
    }

    void ulozOpcje()
    {
        zestaw(3);
        runda.Biezacy = 0;
        runda.Inny1 = 1;
        runda.Inny2 = 2;
        los.Ziarno = WARTOSC(quint32, ziarno);
        auto opcje = runda.UlozOpcje(AngielskiPolski);
        QCOMPARE(opcje.Dany, std::string("e0"));
        QCOMPARE(QList<int>(opcje.Indeksy.begin(), opcje.Indeksy.end()), WARTOSC(QList<int>, uklad));
        opcje = runda.UlozOpcje(PolskiAngielski);
        QCOMPARE(opcje.Dany, std::string("p0"));
    }

    void odpowiedziIKomentarze()
    {
        runda.Wyrazy() = {{"pies", "dog", false}};
        runda.Biezacy = 0;
        QCOMPARE(runda.PoprawnaOdpowiedz(AngielskiPolski), std::string("pies"));
        QCOMPARE(runda.PoprawnaOdpowiedz(PolskiAngielski), std::string("dog"));
        std::set<std::string> pochwaly;
        std::set<std::string> nagany;
        for (int i = 0; i < 60; ++i) {
            pochwaly.insert(runda.Pochwala());
            nagany.insert(runda.Nagana(AngielskiPolski));
        }
        QCOMPARE(pochwaly, (std::set<std::string>{"Bardzo dobrze", "OK", "Poprawnie"}));
        QCOMPARE(nagany,
                 (std::set<std::string>{cp("Błąd. Poprawna odpowiedź to: pies"), cp("Źle. Poprawna odpowiedź to: pies"),
                                        cp("Pomyłka. Poprawna odpowiedź to: pies")}));
        runda.Biezacy = 5; // no such entry: nothing is read
        QCOMPARE(runda.PoprawnaOdpowiedz(AngielskiPolski), std::string());
    }

    // The three pages' checks on the round itself: what counts as right, a slip, and the feedback's end.
    void sprawdzanie_data()
    {
        QTest::addColumn<QString>("strona"); // wybor, wpis or sluch
        QTest::addColumn<QString>("wpisy");  // English*Polish|...; the first is the current entry
        QTest::addColumn<int>("tryb");
        QTest::addColumn<QString>("odpowiedz"); // as typed, blanks around it already gone; "😀" has no byte at all
        QTest::addColumn<bool>("dobrze");
        QTest::addColumn<bool>("prawie");
        QTest::addColumn<QString>("koniec"); // how the feedback ends
        const auto wiersz = [](const char* nazwa, const char* strona, const char* wpisy, int tryb,
                               const char* odpowiedz, bool dobrze, bool prawie, const char* koniec) {
            QTest::newRow(nazwa) << QString::fromUtf8(strona) << QString::fromUtf8(wpisy) << tryb
                                 << QString::fromUtf8(odpowiedz) << dobrze << prawie << QString::fromUtf8(koniec);
        };
        wiersz("choice, right", "wybor", "dog*pies", 0, "pies", true, false, "");
        wiersz("choice, wrong", "wybor", "dog*pies", 0, "kot", false, false, "to: pies");
        wiersz("choice, Polish given", "wybor", "dog*pies", 1, "dog", true, false, "");
        wiersz("typed, exact", "wpis", "dog*pies", 0, "pies", true, false, "");
        wiersz("typed, capital counts, a slip", "wpis", "dog*pies", 0, "Pies", false, true, "to: pies");
        wiersz("typed, blanks of the entry", "wpis", "dog* pies ", 0, "pies", true, false, "");
        wiersz("typed, English", "wpis", "ice cream*lody", 1, "ice cream", true, false, "");
        wiersz("typed, no Windows-1250 form", "wpis", "dog*pies", 0, "pies😀", false, false, "to: pies");
        wiersz("an alternative alone", "wpis", "home*dom, mieszkanie", 0, "mieszkanie", true, false, "");
        wiersz("the first alternative", "wpis", "home*dom, mieszkanie", 0, "dom", true, false, "");
        wiersz("the whole list", "wpis", "home*dom, mieszkanie", 0, "dom, mieszkanie", true, false, "");
        wiersz("alternatives by semicolon", "wpis", "still*nadal; wciąż", 0, "wciąż", true, false, "");
        wiersz("English alternatives by slash", "wpis", "hi / hello*cześć", 1, "hello", true, false, "");
        wiersz("part of an alternative", "wpis", "home*dom, mieszkanie", 0, "miesz", false, false, "mieszkanie");
        wiersz("the same Polish, another entry", "wpis", "hand*ręka|arm*ręka", 1, "arm", true, false, "");
        wiersz("the same Polish, English given", "wpis", "hand*ręka|arm*ręka", 0, "ramię", false, false, "to: ręka");
        wiersz("another Polish, another entry", "wpis", "hand*ręka|leg*noga", 1, "leg", false, false, "to: hand");
        wiersz("Polish letters without marks", "wpis", "turtle*żółw", 0, "zolw", true, false,
               "(pamiętaj o polskich znakach: żółw)");
        wiersz("some of the marks", "wpis", "turtle*żółw", 0, "żolw", true, false,
               "(pamiętaj o polskich znakach: żółw)");
        wiersz("short, without marks", "wpis", "badly*źle", 0, "zle", true, false,
               "(pamiętaj o polskich znakach: źle)");
        wiersz("a mark on the wrong letter", "wpis", "turtle*żółw", 0, "zółv", false, false, "to: żółw");
        wiersz("a letter changed", "wpis", "house*dom", 1, "hoise", false, true, "to: house");
        wiersz("neighbours swapped", "wpis", "house*dom", 1, "huose", false, true, "to: house");
        wiersz("a letter left out", "wpis", "house*dom", 1, "hose", false, true, "to: house");
        wiersz("a letter added", "wpis", "dog*pies", 1, "dogg", false, true, "to: dog");
        wiersz("a slip of a short answer", "wpis", "dog*pies", 1, "dgo", false, false, "to: dog");
        wiersz("two slips", "wpis", "house*dom", 1, "huoes", false, false, "to: house");
        wiersz("dictation, any case", "sluch", "Dog*pies", 0, "DOG", true, false, "");
        wiersz("dictation, the meaning", "sluch", "Dog*pies", 0, "Pies", true, false, ". Angielskie słowo to: Dog");
        wiersz("dictation, Polish capitals", "sluch", "frog*żaba", 0, "ŻABA", true, false,
               ". Angielskie słowo to: frog");
        wiersz("dictation, without marks", "sluch", "frog*żaba", 0, "ZABA", true, false,
               "(pamiętaj o polskich znakach: żaba). Angielskie słowo to: frog");
        wiersz("dictation, an alternative", "sluch", "home*dom, mieszkanie", 0, "Mieszkanie", true, false,
               ". Angielskie słowo to: home");
        wiersz("dictation, a slip", "sluch", "house*dom", 0, "hoose", false, true, "house [dom]");
        wiersz("dictation, wrong", "sluch", "frog*żaba", 0, "kot", false, false, "frog [żaba]");
    }

    void sprawdzanie()
    {
        runda.Wyrazy().clear();
        for (const QString& wpis : WARTOSC(QString, wpisy).split('|')) {
            const QStringList pola = wpis.split('*');
            runda.Wyrazy().push_back({cp(pola[1].toUtf8().constData()), cp(pola[0].toUtf8().constData()), false});
        }
        runda.Biezacy = 0;
        const QString odpowiedz = WARTOSC(QString, odpowiedz);
        std::optional<std::string> bajty;
        if (std::string b; Utf8NaCp1250(odpowiedz.toStdString(), b))
            bajty = b;
        const QString strona = WARTOSC(QString, strona);
        const int tryb = WARTOSC(int, tryb);
        const Werdykt w = strona == "wybor"  ? runda.SprawdzWybor(bajty.value_or(""), tryb)
                          : strona == "wpis" ? runda.SprawdzWpis(bajty, tryb)
                                             : runda.SprawdzSluch(bajty);
        QCOMPARE(w.Dobrze, WARTOSC(bool, dobrze));
        QCOMPARE(w.Prawie, WARTOSC(bool, prawie));
        QCOMPARE(runda.Wyrazy()[0].Zaliczony, w.Dobrze);
        const QString komentarz = QString::fromStdString(Cp1250NaUtf8(w.Komentarz));
        QVERIFY2(komentarz.endsWith(WARTOSC(QString, koniec)), qPrintable(komentarz));
        QCOMPARE(komentarz.startsWith("Prawie! "), w.Prawie);
        QCOMPARE(komentarz.startsWith("Bardzo dobrze") || komentarz.startsWith("OK") ||
                     komentarz.startsWith("Poprawnie"),
                 w.Dobrze);
        // The learner's word turns a wrong verdict, once.
        QCOMPARE(runda.Uznaj(), !w.Dobrze);
        QVERIFY(runda.Wyrazy()[0].Zaliczony);
        QVERIFY(!runda.Uznaj());
    }

    void pomijajFrazy_data()
    {
        QTest::addColumn<QByteArray>("angielski");
        QTest::addColumn<bool>("pominiety");
        QTest::newRow("phrase") << QByteArray("ice cream") << true;
        QTest::newRow("leading blank") << QByteArray(" dog") << true;
        QTest::newRow("trailing blank") << QByteArray("dog ") << false;
        QTest::newRow("single word") << QByteArray("dog") << false;
        QTest::newRow("two trailing blanks") << QByteArray("dog  ") << true;
        QTest::newRow("blank alone") << QByteArray(" ") << false;
    }

    void pomijajFrazy()
    {
        runda.Wyrazy() = {{"x", WARTOSC(QByteArray, angielski).toStdString(), false}};
        runda.PomijajFrazy();
        QCOMPARE(runda.Wyrazy()[0].Zaliczony, WARTOSC(bool, pominiety));
    }
};

QTEST_GUILESS_MAIN(TestRunda)
#include "test_runda.moc"
