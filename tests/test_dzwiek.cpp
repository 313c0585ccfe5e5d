// Sound as the player takes it (rates, slowing, trimming, decoding), and a word played through a private sound
// server and recorded there whole.
#include "dzwiek.h"
#include "fsluchaj.h"
#include "glos.h"
#include "pomocnicze.h"
#include "serwer_dzwieku.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cmath>
#include <numbers>

using vokara::Probki;

namespace {

Probki Ton(int czestotliwosc, double hz, double sekundy, double glosnosc = 0.5)
{
    Probki wynik(std::size_t(czestotliwosc * sekundy));
    for (std::size_t i = 0; i < wynik.size(); ++i)
        wynik[i] = std::int16_t(32767 * glosnosc * std::sin(2 * std::numbers::pi * hz * double(i) / czestotliwosc));
    return wynik;
}

// The tone's frequency from its sign changes, and its peak, away from the edges.
std::pair<double, int> Pomiar(const Probki& probki, int czestotliwosc)
{
    const std::size_t od = probki.size() / 10, ile = probki.size() - 2 * od;
    int zmiany = 0, szczyt = 0;
    for (std::size_t i = od; i < od + ile; ++i) {
        zmiany += (probki[i] >= 0) != (probki[i + 1] >= 0);
        szczyt = std::max(szczyt, std::abs(int(probki[i])));
    }
    return {zmiany / 2.0 * czestotliwosc / double(ile), szczyt};
}

} // namespace

class TestDzwiek : public QObject {
    Q_OBJECT

private slots:
    void przeliczenie_data()
    {
        QTest::addColumn<int>("czestotliwosc");
        QTest::newRow("the voice") << 16000;
        QTest::newRow("a dictionary recording") << 22050;
        QTest::newRow("a CD rate") << 44100;
        QTest::newRow("a studio rate") << 96000;
    }

    // The same tone at the player's rate: the length scaled, the pitch and the level kept.
    void przeliczenie()
    {
        const int z = WARTOSC(int, czestotliwosc);
        const Probki ton = Ton(z, 1000, 0.5);
        const Probki wynik = vokara::Przelicz(ton, z, vokara::CzestotliwoscOdtwarzania);
        QCOMPARE(qint64(wynik.size()), qint64(ton.size()) * vokara::CzestotliwoscOdtwarzania / z);
        const auto [hz, szczyt] = Pomiar(wynik, vokara::CzestotliwoscOdtwarzania);
        QVERIFY2(std::abs(hz - 1000) < 10, qPrintable(QString::number(hz)));
        QVERIFY2(std::abs(szczyt - 16383) < 16383 / 50, qPrintable(QString::number(szczyt)));
    }

    // A tone above the new Nyquist frequency is filtered out, not folded back into the hearing range.
    void bezOdbic()
    {
        const Probki wynik = vokara::Przelicz(Ton(96000, 30000, 0.5), 96000, vokara::CzestotliwoscOdtwarzania);
        QVERIFY2(Pomiar(wynik, vokara::CzestotliwoscOdtwarzania).second < 328,
                 qPrintable(QString::number(Pomiar(wynik, vokara::CzestotliwoscOdtwarzania).second)));
    }

    // Slow replay: four thirds as long at the same pitch.
    void rozciagniecie()
    {
        const int c = vokara::CzestotliwoscOdtwarzania;
        const Probki ton = Ton(c, 440, 1.0);
        const Probki wynik = vokara::Rozciagnij(ton, c, 0.75);
        QCOMPARE(qint64(wynik.size()), qRound64(double(ton.size()) / 0.75));
        const double hz = Pomiar(wynik, c).first;
        QVERIFY2(std::abs(hz - 440) < 440 * 0.02, qPrintable(QString::number(hz)));
    }

    // The quiet around a sound goes down to 20 ms faded in and out; the sound itself is kept sample for sample.
    void przyciecie()
    {
        const int c = vokara::CzestotliwoscOdtwarzania;
        const Probki ton = Ton(c, 440, 0.1);
        Probki dzwiek(std::size_t(c * 3 / 10), 20); // a faint hum, below the quiet's level
        dzwiek.insert(dzwiek.end(), ton.begin(), ton.end());
        dzwiek.resize(dzwiek.size() + std::size_t(c * 3 / 10), -20);
        const Probki wynik = vokara::Przytnij(dzwiek, c);
        const auto [od, _] = testy::Zasieg(ton, 0, 164);
        const auto [pierwsza, ostatnia] = testy::Zasieg(wynik, 0, 164);
        QCOMPARE(pierwsza, qint64(c / 50));
        QCOMPARE(ostatnia - pierwsza, testy::Zasieg(ton, 0, 164).second - od);
        QVERIFY(std::equal(ton.begin() + od, ton.begin() + od + 1000, wynik.begin() + pierwsza));
        QCOMPARE(wynik.front(), std::int16_t(0));
        QVERIFY(vokara::Przytnij(Probki(4800, 100), c).empty());
    }

    void dekodowanie_data()
    {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<bool>("dobre");
        QTest::newRow("recording") << testy::nagranie() << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("web page") << QByteArray("<html>Zaloguj się</html>").repeated(200) << false;
        QTest::newRow("cut after its tag") << testy::nagranie().left(40) << false;
    }

    void dekodowanie()
    {
        QTemporaryDir katalog;
        const QString plik = katalog.filePath("slowo.mp3");
        testy::zapisz(plik, WARTOSC(QByteArray, tresc));
        Probki probki;
        int czestotliwosc = 0;
        QString blad;
        QCOMPARE(vokara::DekodujMp3(plik, probki, czestotliwosc, blad), WARTOSC(bool, dobre));
        QCOMPARE(blad.isEmpty(), WARTOSC(bool, dobre));
        if (!WARTOSC(bool, dobre))
            return;
        QCOMPARE(czestotliwosc, 22050);
        // The recording's frames, as GStreamer decodes them too.
        QCOMPARE(qsizetype(probki.size()), qsizetype(17856));
        QVERIFY(*std::max_element(probki.begin(), probki.end()) > 3000);
    }

    // A FIFO put where a recording was is refused without waiting for a writer.
    void kolejkaZamiastPliku()
    {
        QTemporaryDir katalog;
        const QString plik = katalog.filePath("slowo.mp3");
        QCOMPARE(mkfifo(QFile::encodeName(plik).constData(), 0600), 0);
        Probki probki;
        int czestotliwosc = 0;
        QString blad;
        QVERIFY(!vokara::DekodujMp3(plik, probki, czestotliwosc, blad));
        QVERIFY(!blad.isEmpty());
    }

    // A word through a private sound server: it arrives, and what the server got is what was synthesised, from its
    // first audible sample to its last.
    void przezSerwerDzwieku()
    {
        testy::SerwerDzwieku serwer;
        if (!serwer.Dziala())
            QSKIP(qPrintable(QStringLiteral("no private sound server: ") + serwer.Blad));
        QVERIFY(serwer.Nagrywaj());
        TFSluchaj sluchaj;
        sluchaj.Przygotuj();
        const std::string slowo = "beautiful";
        const std::size_t od = serwer.Ile();
        sluchaj.Powiedz(slowo);
        QTRY_VERIFY_WITH_TIMEOUT(sluchaj.Zagrane(), 10000);
        QVERIFY(sluchaj.Urzadzenie());
        QTRY_COMPARE_WITH_TIMEOUT(sluchaj.Stan(), TFSluchaj::StanOdtwarzania::Zatrzymane, 10000);
        QTest::qWait(200); // the recorder's last pieces
        int czestotliwosc = 0;
        const Probki glos = vokara::GlosProbki(slowo, 1.0, czestotliwosc);
        const Probki mowa = vokara::Przytnij(vokara::Przelicz(glos, czestotliwosc, vokara::CzestotliwoscOdtwarzania),
                                             vokara::CzestotliwoscOdtwarzania);
        const auto [p, k] = testy::Zasieg(mowa);
        const auto [pierwsza, ostatnia] = testy::Zasieg(serwer.Probki(od));
        QVERIFY2(pierwsza >= 0, "no sound reached the server");
        QCOMPARE(qint64(sluchaj.Dlugosc()), qint64(mowa.size()));
        // Sample for sample: nothing dropped, repeated or cut at either end.
        QCOMPARE(ostatnia - pierwsza, k - p);
        const Probki nagrane = serwer.Probki(od);
        QVERIFY(std::equal(mowa.begin() + p, mowa.begin() + k + 1, nagrane.begin() + pierwsza));
    }
};

QTEST_MAIN(TestDzwiek)
#include "test_dzwiek.moc"
