// The set check's comparison forms: each brings together two ways of writing the same thing and keeps different
// words apart.
#include "porownanie.h"

#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

using namespace vokara::zestawy;

class TestPorownanie : public QObject {
    Q_OBJECT

    static bool Zawiera(const std::vector<std::string>& lista, const char* tekst)
    {
        return std::find(lista.begin(), lista.end(), std::string(tekst)) != lista.end();
    }

private slots:
    void angielskie_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("rowne");
        QTest::newRow("British spelling") << "Colourful"
                                          << "colorful" << true;
        QTest::newRow("-ise") << "apologise"
                              << "apologize" << true;
        QTest::newRow("-tre") << "town centre"
                              << "town center" << true;
        QTest::newRow("doubled l") << "travelled"
                                   << "traveled" << true;
        QTest::newRow("contraction") << "I'm afraid"
                                     << "I am afraid" << true;
        QTest::newRow("dictionary marks") << "Be careful!''"
                                          << "be careful" << true;
        QTest::newRow("stand-in dropped") << "keep an eye on sb"
                                          << "keep an eye on" << true;
        QTest::newRow("possessive in a phrase") << "cross one's fingers"
                                                << "cross your fingers" << true;
        QTest::newRow("hyphen") << "stomach-ache"
                                << "stomach ache" << true;
        QTest::newRow("leading the") << "the United States"
                                     << "United States" << true;
        QTest::newRow("possessive alone") << "your"
                                          << "his" << false;
        QTest::newRow("four is not for") << "four"
                                         << "for" << false;
        QTest::newRow("prise is not prize") << "prise"
                                            << "prize" << false;
        QTest::newRow("exercise stays") << "exercise"
                                        << "exercize" << false;
        QTest::newRow("possessive 's stays") << "butcher's"
                                             << "butcher is" << false;
    }
    void angielskie()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, rowne);
        QCOMPARE(PorownawczeAngielskie(a.toStdString()) == PorownawczeAngielskie(b.toStdString()), rowne);
    }

    void polskie()
    {
        QCOMPARE(PorownawczePolskie("kierować czymś"), PorownawczePolskie("kierować"));
        QCOMPARE(PorownawczePolskie("Uważaj!''"), std::string("uważaj"));
        QVERIFY(PorownawczePolskie("coś") != PorownawczePolskie("kogoś")); // a stand-in alone is the word itself
    }

    void rozwiniecia()
    {
        const auto r = Rozwiniecia("be/keep in touch (with sb)");
        QVERIFY(Zawiera(r, "keep in touch"));
        QVERIFY(Zawiera(r, "be in touch with sb"));
        QVERIFY(!Zawiera(r, "be/keep in touch"));
        QVERIFY(Zawiera(Rozwiniecia("*is anything/what is* the matter?"), "what is the matter?"));
    }

    void liczbaMnoga_data()
    {
        QTest::addColumn<QString>("pojedyncza");
        QTest::addColumn<QString>("mnoga");
        QTest::addColumn<bool>("jest");
        QTest::newRow("-ka") << "skarpetka"
                             << "skarpetki" << true;
        QTest::newRow("-eć") << "kapeć"
                             << "kapcie" << true;
        QTest::newRow("-o") << "zioło"
                            << "zioła" << true;
        QTest::newRow("-e") << "ubranie"
                            << "ubrania" << true;
        QTest::newRow("ó to o") << "pieróg"
                                << "pierogi" << true;
        QTest::newRow("-ść") << "oszczędność"
                             << "oszczędności" << true;
        QTest::newRow("irregular") << "dziecko"
                                   << "dzieci" << true;
        QTest::newRow("another noun") << "kosz"
                                      << "koszty" << false;
        QTest::newRow("a phrase has none") << "buty sportowe"
                                           << "buty sportowe" << false;
    }
    void liczbaMnoga()
    {
        QFETCH(QString, pojedyncza);
        QFETCH(QString, mnoga);
        QFETCH(bool, jest);
        QCOMPARE(Zawiera(LiczbaMnoga(pojedyncza.toStdString()), mnoga.toStdString().c_str()), jest);
    }

    void bezPrzyimka()
    {
        std::string reszta;
        QVERIFY(BezPrzyimka("rely on", false, reszta));
        QCOMPARE(reszta, std::string("rely"));
        QVERIFY(BezPrzyimka("pokłócić się z", true, reszta));
        QCOMPARE(reszta, std::string("pokłócić się"));
        QVERIFY(!BezPrzyimka("give up", false, reszta));
        QVERIFY(!BezPrzyimka("on", false, reszta));
        QVERIFY(!BezPrzyimka("patrzeć z góry", true, reszta));
    }
};

QTEST_GUILESS_MAIN(TestPorownanie)
#include "test_porownanie.moc"
