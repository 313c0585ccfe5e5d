// Message box driven by keys and mouse from a timer while it runs modally; its pictures and the JPEG decoder.
#include "fwarning.h"
#include "jpeg.h"
#include "pomocnicze.h"

#include <QAccessible>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <functional>

using namespace vokara::komunikat;

namespace {

bool czerwony(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90;
}

} // namespace

class TestKomunikat : public QObject {
    Q_OBJECT

    // Shows a box and, once its modal loop runs, does `akcja` on it; returns WynikOkna. A box still open afterwards
    // fails the test (it is closed so the run goes on).
    int pokaz(TFWarning& okno, int rodzaj, const std::function<void(TFWarning&)>& akcja, bool* otwarte = nullptr)
    {
        auto polaczenie = connect(
            &okno, &TFWarning::pokazany, this,
            [&] {
                akcja(okno);
                if (otwarte)
                    *otwarte = okno.isVisible();
                if (okno.isVisible())
                    okno.done(0);
            },
            Qt::QueuedConnection);
        okno.Komunikat(rodzaj, rodzaj == Pytanie ? IkonaPytania : IkonaInformacji, QStringLiteral("Tekst"));
        disconnect(polaczenie);
        return okno.WynikOkna;
    }

    static QImage obraz(TFWarning& okno) { return okno.grab().toImage(); }

    static void klawisze(TFWarning& okno, const QList<int>& lista, Qt::KeyboardModifiers mod = Qt::NoModifier)
    {
        for (int k : lista)
            QTest::keyClick(&okno, Qt::Key(k), mod);
    }

private slots:
    // Every picture button has the word a listener needs, and the box reads out its text.
    void nazwyDlaCzytnika_data()
    {
        QTest::addColumn<QString>("czesc");
        QTest::addColumn<QString>("nazwa");
        QTest::newRow("Tak") << "ImButTak"
                             << "Tak";
        QTest::newRow("Nie") << "ImButNie"
                             << "Nie";
        QTest::newRow("Anuluj") << "ImButAnuluj"
                                << "Anuluj";
        QTest::newRow("Zamknij") << "ImButZamknij"
                                 << "Zamknij";
        QTest::newRow("close spot") << "LClose"
                                    << "Zamknij okno";
        QTest::newRow("icon") << "ImIkona"
                              << "Pytanie";
    }

    void nazwyDlaCzytnika()
    {
        TFWarning okno;
        pokaz(okno, Pytanie, [](TFWarning& o) { QTest::keyClick(&o, Qt::Key_A); });
        auto* czesc = okno.findChild<QWidget*>(WARTOSC(QString, czesc));
        QVERIFY(czesc);
        QCOMPARE(QAccessible::queryAccessibleInterface(czesc)->text(QAccessible::Name), WARTOSC(QString, nazwa));
        QCOMPARE(QAccessible::queryAccessibleInterface(&okno)->text(QAccessible::Description), QStringLiteral("Tekst"));
    }

    void informacja_data()
    {
        QTest::addColumn<QList<int>>("klawisze");
        QTest::addColumn<int>("wynik");
        QTest::newRow("Z") << QList<int>{Qt::Key_Z} << 0;
        QTest::newRow("Escape") << QList<int>{Qt::Key_Escape} << 0;
        QTest::newRow("Enter") << QList<int>{Qt::Key_Return} << 0;
        QTest::newRow("keypad Enter") << QList<int>{Qt::Key_Enter} << 0;
        QTest::newRow("T N A arrows do nothing")
            << QList<int>{Qt::Key_T, Qt::Key_N, Qt::Key_A, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return} << 0;
    }

    void informacja()
    {
        QFETCH(QList<int>, klawisze);
        TFWarning okno;
        QCOMPARE(pokaz(okno, Informacja, [&](TFWarning& o) { TestKomunikat::klawisze(o, klawisze); }),
                 WARTOSC(int, wynik));
        QCOMPARE(okno.Podswietlony, 4);
    }

    void pytanie_data()
    {
        QTest::addColumn<QList<int>>("klawisze");
        QTest::addColumn<int>("wynik");
        const int P = Qt::Key_Right, L = Qt::Key_Left, E = Qt::Key_Return;
        QTest::newRow("Enter") << QList<int>{E} << 1;
        QTest::newRow("Right Enter") << QList<int>{P, E} << 2;
        QTest::newRow("Right x2 Enter") << QList<int>{P, P, E} << 3;
        QTest::newRow("Right x3 Enter") << QList<int>{P, P, P, E} << 1;
        QTest::newRow("Left Enter") << QList<int>{L, E} << 3;
        QTest::newRow("Left x2 Enter") << QList<int>{L, L, E} << 2;
        QTest::newRow("T") << QList<int>{Qt::Key_T} << 1;
        QTest::newRow("N") << QList<int>{Qt::Key_N} << 2;
        QTest::newRow("A") << QList<int>{Qt::Key_A} << 3;
        QTest::newRow("Escape and Z do nothing") << QList<int>{Qt::Key_Escape, Qt::Key_Z, P, E} << 2;
    }

    void pytanie()
    {
        QFETCH(QList<int>, klawisze);
        TFWarning okno;
        QCOMPARE(pokaz(okno, Pytanie, [&](TFWarning& o) { TestKomunikat::klawisze(o, klawisze); }),
                 WARTOSC(int, wynik));
        // Shift gives the same key codes, so letters answer alike.
        QCOMPARE(pokaz(okno, Pytanie, [&](TFWarning& o) { TestKomunikat::klawisze(o, klawisze, Qt::ShiftModifier); }),
                 WARTOSC(int, wynik));
    }

    void przyciskiMysza_data()
    {
        QTest::addColumn<int>("rodzaj");
        QTest::addColumn<QString>("cel");
        QTest::addColumn<int>("wynik");
        QTest::newRow("TAK") << Pytanie << "ImButTak" << 1;
        QTest::newRow("NIE") << Pytanie << "ImButNie" << 2;
        QTest::newRow("ANULUJ") << Pytanie << "ImButAnuluj" << 3;
        QTest::newRow("close spot, question") << Pytanie << "LClose" << 3;
        QTest::newRow("ZAMKNIJ") << Informacja << "ImButZamknij" << 0;
        QTest::newRow("close spot, information") << Informacja << "LClose" << 0;
    }

    void przyciskiMysza()
    {
        TFWarning okno;
        const QString cel = WARTOSC(QString, cel);
        const int wynik = pokaz(okno, WARTOSC(int, rodzaj), [&](TFWarning& o) {
            auto* w = o.findChild<QWidget*>(cel);
            QVERIFY(w);
            // The drag strip covers the close spot's left part; only its right end takes clicks.
            const QPoint punkt = cel == "LClose" ? QPoint(15, 8) : w->rect().center();
            QTest::mouseClick(w, Qt::LeftButton, {}, punkt);
        });
        QCOMPARE(wynik, WARTOSC(int, wynik));
    }

    void kliknieciaBezSkutku()
    {
        TFWarning okno;
        bool otwarte = false;
        const int wynik = pokaz(
            okno, Pytanie,
            [&](TFWarning& o) {
                for (const char* nazwa : {"LTekstWarning", "ImIkona", "ImWarning"})
                    QTest::mouseClick(o.findChild<QWidget*>(nazwa), Qt::LeftButton);
                // Where the strip lies over the close spot a press starts a drag, not a close.
                auto* listwa = o.findChild<QWidget*>("LListwa");
                QTest::mousePress(listwa, Qt::LeftButton, {}, QPoint(272, 8));
                QVERIFY(o.Przeciaganie);
                QTest::mouseRelease(listwa, Qt::LeftButton, {}, QPoint(272, 8));
                QVERIFY(!o.Przeciaganie);
                QTest::keyClicks(&o, QStringLiteral("xyz 123!"));
            },
            &otwarte);
        QVERIFY(otwarte);
        QCOMPARE(wynik, 2);
    }

    void zamknietePrzezProgram()
    {
        TFWarning okno;
        okno.WynikOkna = 0;
        QCOMPARE(pokaz(okno, Pytanie, [](TFWarning& o) { o.close(); }), 2);
    }

    void przeciaganie()
    {
        TFWarning okno;
        QPoint przed;
        QPoint po;
        pokaz(okno, Informacja, [&](TFWarning& o) {
            auto* listwa = o.findChild<QWidget*>("LListwa");
            przed = o.pos();
            QTest::mousePress(listwa, Qt::LeftButton, {}, QPoint(100, 10));
            QTest::mouseMove(listwa, QPoint(130, 25));
            QTest::mouseMove(listwa, QPoint(125, 35)); // the strip has moved under the cursor meanwhile
            QTest::mouseRelease(listwa, Qt::LeftButton, {}, QPoint(125, 35));
            po = o.pos();
        });
        // The cursor went (30,15) and then (-5,10) relative to a strip that had itself moved (30,15): on the screen it
        // moved (55,40), and so did the window.
        QCOMPARE(po - przed, QPoint(55, 40));
    }

    void polozenie()
    {
        QWidget glowne;
        glowne.move(100, 80);
        TFWarning okno;
        okno.UstawWlasciciela(&glowne);
        QPoint pierwsze;
        pokaz(okno, Informacja, [&](TFWarning& o) { pierwsze = o.geometry().center(); });
        const QPoint srodek = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY((pierwsze - srodek).manhattanLength() <= 2);
        for (int i = 0; i < 2; ++i) {
            QPoint lewyGorny;
            pokaz(okno, Informacja, [&](TFWarning& o) {
                lewyGorny = o.pos();
                o.move(5, 5); // a dragged box does not move the next one
            });
            QCOMPARE(lewyGorny, glowne.pos() + QPoint(200, 150));
        }
    }

    void obrazyPodswietlenia()
    {
        TFWarning okno;
        pokaz(okno, Pytanie, [](TFWarning& o) {
            QImage ekran = obraz(o);
            // The highlighted button has its red lower edge; the others do not.
            QVERIFY(czerwony(ekran.pixel(63 + 44, 116 + 24)));
            QVERIFY(!czerwony(ekran.pixel(156 + 44, 116 + 24)));
            QVERIFY(!czerwony(ekran.pixel(248 + 44, 116 + 24)));
            QTest::keyClick(&o, Qt::Key_Right);
            ekran = obraz(o);
            QVERIFY(!czerwony(ekran.pixel(63 + 44, 116 + 24)));
            QVERIFY(czerwony(ekran.pixel(156 + 44, 116 + 24)));
            QCOMPARE(o.Podswietlony, 2);
            // The background's body is white and its title strip yellow.
            QCOMPARE(QColor(ekran.pixel(175, 80)).lightness() > 245, true);
            QVERIFY(qRed(ekran.pixel(175, 16)) > 200 && qBlue(ekran.pixel(175, 16)) < 150);
        });
        // Whatever the previous highlight, a question opens on TAK.
        pokaz(okno, Pytanie, [](TFWarning& o) {
            QCOMPARE(o.Podswietlony, 1);
            QVERIFY(czerwony(obraz(o).pixel(63 + 44, 116 + 24)));
        });
        pokaz(okno, Informacja, [](TFWarning& o) {
            QVERIFY(czerwony(obraz(o).pixel(190 + 44, 116 + 24)));
            QVERIFY(!o.findChild<QWidget*>("PButTak")->isVisible());
        });
    }

    void tekstILinie()
    {
        TFWarning okno;
        connect(
            &okno, &TFWarning::pokazany, this,
            [&] {
                auto* etykieta = okno.findChild<QLabel*>("LTekstWarning");
                QCOMPARE(etykieta->text(), QStringLiteral("Pierwsza linia.\nDruga linia."));
                QVERIFY(etykieta->wordWrap());
                QCOMPARE(etykieta->font().pixelSize(), 12);
                // A box asked for while this one shows returns at once and changes nothing.
                okno.WynikOkna = 7;
                okno.Komunikat(Pytanie, IkonaPytania, QStringLiteral("inny"));
                QCOMPARE(okno.WynikOkna, 7);
                QCOMPARE(etykieta->text(), QStringLiteral("Pierwsza linia.\nDruga linia."));
                QVERIFY(okno.findChild<QWidget*>("pButZamknij")->isVisible());
                QTest::keyClick(&okno, Qt::Key_Z);
            },
            Qt::QueuedConnection);
        okno.Komunikat(Informacja, IkonaInformacji, QStringLiteral("Pierwsza linia.\rDruga linia."));
        QCOMPARE(okno.WynikOkna, 0);
    }

    void brakujacyObraz()
    {
        TFWarning okno;
        auto* ikona = okno.findChild<QLabel*>("ImIkona");
        okno.WczytajObraz("ikoinfo", ikona);
        QCOMPARE(ikona->pixmap().size(), QSize(42, 43));
        okno.WczytajObraz("niematakiego", ikona);
        QVERIFY(ikona->pixmap().isNull());
    }

    void dekoder()
    {
        QFile plik(":/jpeg/OKNOWARNING");
        QVERIFY(plik.open(QIODevice::ReadOnly));
        const QByteArray bajty = plik.readAll();
        QString blad;
        const QImage tlo = vokara::DekodujJpeg(bajty, &blad);
        QCOMPARE(tlo.size(), QSize(350, 150));
        QVERIFY(blad.isEmpty());
        QVERIFY(QColor(tlo.pixel(175, 80)).lightness() > 245);

        QVERIFY(vokara::DekodujJpeg(bajty.left(bajty.size() / 2), &blad).isNull());
        QVERIFY(!blad.isEmpty());
        blad.clear();
        QVERIFY(vokara::DekodujJpeg(QByteArray(5000, 'x'), &blad).isNull());
        QVERIFY(!blad.isEmpty());
        QVERIFY(vokara::DekodujJpeg(QByteArray()).isNull());
    }

    // Last: once the program is told to quit, no event loop runs any more in this process.
    void zamknieciePrzyWyjsciu()
    {
        TFWarning okno;
        okno.WynikOkna = 0;
        QCOMPARE(pokaz(okno, Informacja, [](TFWarning&) { QCoreApplication::exit(0); }), 2);
    }
};

QTEST_MAIN(TestKomunikat)
#include "test_komunikat.moc"
