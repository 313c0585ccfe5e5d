// Review schedule: FSRS-6's formulas against values worked out by hand, the grades' order, the fit's check against the
// defaults, and the Polish interval texts.
#include "dopasowanie.h"
#include "harmonogram.h"

#include <QTest>

#include <cmath>
#include <random>

using namespace vokara;

Q_DECLARE_METATYPE(std::vector<Odpowiedz>)

namespace {

enum Wzor {
    Pamietanie,                // a = days, b = S
    Odstep,                    // a = S, b = retention
    TrudnoscPoczatkowa,        // a = grade
    NowaTrudnosc,              // a = D, b = grade
    StabilnoscPoPrzypomnieniu, // a = S, b = D, c = R, d = grade
    StabilnoscPoZapomnieniu,   // a = S, b = D, c = R
    StabilnoscTegoSamegoDnia,  // a = S, b = grade
};

constexpr std::int64_t Godzina = 3600000;

// A day's answer at 18:00, on day numbers counted from 0.
Odpowiedz O(std::int64_t dzien, int ocena, std::int64_t poMinutach = 0)
{
    return {dzien * MsNaDzien + 18 * Godzina + poMinutach * 60000, dzien, ocena};
}

// Answer logs of learners whose memory follows FSRS-6 with the given weights: each entry starts on one of the first
// 30 days (a third of them with Again), then comes back around its due day (up to a few days early or late), and
// each answer is right with the recall those weights predict.
Historia Wygeneruj(const Parametry& prawdziwe, int wpisy, std::uint64_t ziarno)
{
    std::mt19937_64 los(ziarno);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Historia h;
    for (int i = 0; i < wpisy; ++i) {
        std::int64_t dzien = std::int64_t(u(los) * 30);
        std::vector<Odpowiedz> log{O(dzien, u(los) < 0.33 ? OcenaNie : OcenaDobrze, std::int64_t(u(los) * 120))};
        StanFsrs s = Powtorz(prawdziwe, {}, log.back());
        while (true) {
            const double odstep = fsrs::Odstep(prawdziwe, s.S) * (0.6 + 1.2 * u(los));
            const std::int64_t dni = std::max<std::int64_t>(1, std::llround(odstep));
            dzien += dni;
            if (dzien >= 150)
                break;
            const bool dobrze = u(los) < fsrs::Pamietanie(prawdziwe, double(dni), s.S);
            log.push_back(O(dzien, OcenaOdpowiedzi(dobrze), std::int64_t(u(los) * 120)));
            s = Powtorz(prawdziwe, s, log.back());
        }
        h.push_back(std::move(log));
    }
    return h;
}

} // namespace

class TestHarmonogram : public QObject {
    Q_OBJECT

private slots:
    // Each value below was worked out on a calculator from the published formulas with the default weights.
    void wzory_data()
    {
        QTest::addColumn<int>("wzor");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("oczekiwane");
        QTest::newRow("R right after an answer") << int(Pamietanie) << 0.0 << 5.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("R after S days is 90%") << int(Pamietanie) << 5.0 << 5.0 << 0.0 << 0.0 << 0.9;
        QTest::newRow("R after 2S") << int(Pamietanie) << 10.0 << 5.0 << 0.0 << 0.0 << 0.8458846451;
        QTest::newRow("R after 1 day, S 2") << int(Pamietanie) << 1.0 << 2.0 << 0.0 << 0.0 << 0.9403442889;
        QTest::newRow("R after 10S") << int(Pamietanie) << 30.0 << 3.0 << 0.0 << 0.0 << 0.6928266346;
        QTest::newRow("interval at 90% is S") << int(Odstep) << 10.0 << 0.9 << 0.0 << 0.0 << 10.0;
        QTest::newRow("interval at 80%") << int(Odstep) << 10.0 << 0.8 << 0.0 << 0.0 << 33.1595978623;
        QTest::newRow("interval at 95%") << int(Odstep) << 10.0 << 0.95 << 0.0 << 0.0 << 4.0255869199;
        QTest::newRow("D0 Again") << int(TrudnoscPoczatkowa) << 1.0 << 0.0 << 0.0 << 0.0 << 6.4133;
        QTest::newRow("D0 Hard") << int(TrudnoscPoczatkowa) << 2.0 << 0.0 << 0.0 << 0.0 << 5.1121707056;
        QTest::newRow("D0 Good") << int(TrudnoscPoczatkowa) << 3.0 << 0.0 << 0.0 << 0.0 << 2.1181039705;
        QTest::newRow("D0 Easy clamped to 1") << int(TrudnoscPoczatkowa) << 4.0 << 0.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("D after Again") << int(NowaTrudnosc) << 5.0 << 1.0 << 0.0 << 0.0 << 8.3417623693;
        QTest::newRow("D after Good reverts") << int(NowaTrudnosc) << 5.0 << 3.0 << 0.0 << 0.0 << 4.9902283693;
        QTest::newRow("D after Easy") << int(NowaTrudnosc) << 5.0 << 4.0 << 0.0 << 0.0 << 3.3144613693;
        QTest::newRow("D near 10 damped") << int(NowaTrudnosc) << 9.5 << 1.0 << 0.0 << 0.0 << 9.8208817693;
        QTest::newRow("D clamped at 1") << int(NowaTrudnosc) << 1.2 << 4.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow("S recall Hard") << int(StabilnoscPoPrzypomnieniu) << 5.0 << 3.0 << 0.9 << 2.0 << 14.9122849914;
        QTest::newRow("S recall Good") << int(StabilnoscPoPrzypomnieniu) << 5.0 << 3.0 << 0.9 << 3.0 << 21.4820169461;
        QTest::newRow("S recall Easy") << int(StabilnoscPoPrzypomnieniu) << 5.0 << 3.0 << 0.9 << 4.0 << 35.8691695384;
        QTest::newRow("S recall at 70%") << int(StabilnoscPoPrzypomnieniu) << 20.0 << 7.0 << 0.7 << 3.0
                                         << 105.1814487393;
        QTest::newRow("S lapse") << int(StabilnoscPoZapomnieniu) << 5.0 << 5.0 << 0.8 << 0.0 << 1.1243627496;
        QTest::newRow("S lapse capped") << int(StabilnoscPoZapomnieniu) << 0.5 << 1.0 << 0.2 << 0.0 << 0.4758639997;
        QTest::newRow("same day Good keeps S") << int(StabilnoscTegoSamegoDnia) << 5.0 << 3.0 << 0.0 << 0.0 << 5.0;
        QTest::newRow("same day Again") << int(StabilnoscTegoSamegoDnia) << 5.0 << 1.0 << 0.0 << 0.0 << 1.596817998;
        QTest::newRow("same day Hard") << int(StabilnoscTegoSamegoDnia) << 0.5 << 2.0 << 0.0 << 0.0 << 0.3196393033;
        QTest::newRow("same day Easy") << int(StabilnoscTegoSamegoDnia) << 0.5 << 4.0 << 0.0 << 0.0 << 0.9459532819;
    }

    void wzory()
    {
        QFETCH(int, wzor);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QFETCH(double, d);
        QFETCH(double, oczekiwane);
        const Parametry p = Parametry::Domyslne();
        double wynik = 0.0;
        switch (wzor) {
        case Pamietanie:
            wynik = fsrs::Pamietanie(p, a, b);
            break;
        case Odstep:
            wynik = fsrs::Odstep(p, a, b);
            break;
        case TrudnoscPoczatkowa:
            wynik = fsrs::TrudnoscPoczatkowa(p, int(a));
            break;
        case NowaTrudnosc:
            wynik = fsrs::NowaTrudnosc(p, a, int(b));
            break;
        case StabilnoscPoPrzypomnieniu:
            wynik = fsrs::StabilnoscPoPrzypomnieniu(p, a, b, c, int(d));
            break;
        case StabilnoscPoZapomnieniu:
            wynik = fsrs::StabilnoscPoZapomnieniu(p, a, b, c);
            break;
        case StabilnoscTegoSamegoDnia:
            wynik = fsrs::StabilnoscTegoSamegoDnia(p, a, int(b));
            break;
        }
        QVERIFY2(std::abs(wynik - oczekiwane) < 1e-8, qPrintable(QString::number(wynik, 'g', 12)));
    }

    // Good, then Good three days later, Again the same evening and Hard a week after: the state step by step, as
    // worked out by hand from the formulas above, with its due time and recall a week on.
    void odtworzenie()
    {
        const Parametry p = Parametry::Domyslne();
        const std::vector<Odpowiedz> log{O(0, 3), O(3, 3), O(3, 1, 30), O(10, 2)};
        std::vector<double> przewidywania;
        // Given out of order, the log is replayed in time order.
        const std::vector<Odpowiedz> pomieszany{log[2], log[0], log[3], log[1]};
        const StanFsrs s = Odtworz(p, pomieszany, &przewidywania);
        QCOMPARE(s.Odpowiedzi, 4);
        QCOMPARE(s.Pomylki, 1);
        QVERIFY(std::abs(s.S - 9.5579837485) < 1e-7);
        QVERIFY(std::abs(s.D - 8.2540745198) < 1e-7);
        QCOMPARE(przewidywania.size(), std::size_t(4));
        QCOMPARE(przewidywania[0], -1.0); // a first answer is not predicted
        QVERIFY(std::abs(przewidywania[1] - 0.8809479558) < 1e-8);
        QCOMPARE(przewidywania[2], -1.0); // nor a same-day one
        QVERIFY(std::abs(przewidywania[3] - 0.8598885878) < 1e-8);
        QCOMPARE(s.OstatniCzas, log[3].Czas);
        QVERIFY(std::abs(double(Termin(p, s) - s.OstatniCzas) - 9.5579837485 * MsNaDzien) < 1.0);
        QVERIFY(std::abs(PrzewidywanePamietanie(p, s, s.OstatniCzas + 7 * MsNaDzien) - 0.9199416302) < 1e-8);
        QCOMPARE(EtapWpisu(s), Etap::Utrwalane);
    }

    void ocenyPrzesuwajaTermin_data()
    {
        QTest::addColumn<std::vector<Odpowiedz>>("log");
        QTest::addColumn<std::int64_t>("dzien");
        QTest::newRow("never answered") << std::vector<Odpowiedz>{} << std::int64_t(0);
        QTest::newRow("a Good three days ago") << std::vector<Odpowiedz>{O(0, 3)} << std::int64_t(3);
        QTest::newRow("after a lapse") << std::vector<Odpowiedz>{O(0, 3), O(2, 3), O(9, 1)} << std::int64_t(10);
        QTest::newRow("again the same day") << std::vector<Odpowiedz>{O(0, 3), O(4, 3)} << std::int64_t(4);
        QTest::newRow("long known, overdue")
            << std::vector<Odpowiedz>{O(0, 4), O(9, 3), O(40, 3), O(130, 3)} << std::int64_t(500);
    }

    void ocenyPrzesuwajaTermin()
    {
        QFETCH(std::vector<Odpowiedz>, log);
        QFETCH(std::int64_t, dzien);
        const Parametry p = Parametry::Domyslne();
        const StanFsrs s = Odtworz(p, log);
        const auto odstepy = OdstepyOcen(p, s, O(dzien, 3, 60).Czas, dzien);
        QVERIFY(odstepy[0] > 0);
        for (std::size_t i = 1; i < 4; ++i)
            QVERIFY2(odstepy[i - 1] < odstepy[i], qPrintable(QString::number(i)));
    }

    void opisOdstepu_data()
    {
        QTest::addColumn<double>("minuty");
        QTest::addColumn<QString>("tekst");
        QTest::newRow("nothing") << 0.0 << "za 1 min";
        QTest::newRow("10 min") << 10.0 << "za 10 min";
        QTest::newRow("59.6 min is an hour") << 59.6 << "za 1 godz.";
        QTest::newRow("5 h") << 300.0 << "za 5 godz.";
        QTest::newRow("23.6 h is a day") << 23.6 * 60 << "za 1 dzień";
        QTest::newRow("3 days") << 3 * 1440.0 << "za 3 dni";
        QTest::newRow("22 days") << 22 * 1440.0 << "za 22 dni";
        QTest::newRow("61 days") << 61 * 1440.0 << "za 2 mies.";
        QTest::newRow("5 months") << 152 * 1440.0 << "za 5 mies.";
        QTest::newRow("a year") << 365 * 1440.0 << "za 1 rok";
        QTest::newRow("2 years") << 730 * 1440.0 << "za 2 lata";
        QTest::newRow("5 years") << 1826 * 1440.0 << "za 5 lat";
        QTest::newRow("12 years") << 4383 * 1440.0 << "za 12 lat";
        QTest::newRow("22 years") << 8036 * 1440.0 << "za 22 lata";
    }

    void opisOdstepu()
    {
        QFETCH(double, minuty);
        QFETCH(QString, tekst);
        QCOMPARE(QString::fromStdString(OpisOdstepu(std::llround(minuty * 60000))), tekst);
    }

    void etapy_data()
    {
        QTest::addColumn<int>("odpowiedzi");
        QTest::addColumn<double>("s");
        QTest::addColumn<int>("etap");
        QTest::newRow("never answered") << 0 << 0.0 << int(Etap::Nowe);
        QTest::newRow("under a week") << 1 << 6.99 << int(Etap::WNauce);
        QTest::newRow("a week") << 2 << 7.0 << int(Etap::Utrwalane);
        QTest::newRow("three weeks") << 3 << 21.0 << int(Etap::Opanowane);
    }

    void etapy()
    {
        QFETCH(int, odpowiedzi);
        QFETCH(double, s);
        QFETCH(int, etap);
        StanFsrs stan;
        stan.Odpowiedzi = odpowiedzi;
        stan.S = s;
        QCOMPARE(int(EtapWpisu(stan)), etap);
    }

    void granice()
    {
        Parametry p = Parametry::Domyslne();
        p.w[0] = -3.0;
        p.w[3] = 500.0;
        p.w[20] = std::nan("");
        const Parametry q = p.Przyciete();
        QCOMPARE(q.w[0], 0.001);
        QCOMPARE(q.w[3], 100.0);
        QCOMPARE(q.w[20], Parametry::Domyslne().w[20]);
        QCOMPARE(q.w[4], Parametry::Domyslne().w[4]);
    }

    void moznaDopasowac_data()
    {
        QTest::addColumn<int>("odpowiedzi");
        QTest::addColumn<int>("dni");
        QTest::addColumn<bool>("mozna");
        QTest::newRow("999 answers") << 999 << 30 << false;
        QTest::newRow("6 days") << 1000 << 6 << false;
        QTest::newRow("1000 answers on 7 days") << 1000 << 7 << true;
    }

    void moznaDopasowac()
    {
        QFETCH(int, odpowiedzi);
        QFETCH(int, dni);
        QFETCH(bool, mozna);
        Historia h(10);
        for (int i = 0; i < odpowiedzi; ++i)
            h[std::size_t(i % 10)].push_back(O(i % dni, 3, i));
        QCOMPARE(MoznaDopasowac(h), mozna);
    }

    // On answers from a learner the defaults describe, no fit may replace them; on a learner whose memory fades
    // faster and decays differently, the fit must win on the latest answers by more than chance.
    void dopasowanie_data()
    {
        QTest::addColumn<bool>("inny");
        QTest::newRow("learner of the defaults") << false;
        QTest::newRow("a different learner") << true;
    }

    void dopasowanie()
    {
        QFETCH(bool, inny);
        Parametry prawdziwe = Parametry::Domyslne();
        if (inny) {
            prawdziwe.w[0] = 0.05;
            prawdziwe.w[2] = 0.6;
            prawdziwe.w[8] = 1.2;
            prawdziwe.w[20] = 0.5;
        }
        const Historia h = Wygeneruj(prawdziwe, 2000, 7);
        QVERIFY(MoznaDopasowac(h));
        const WynikDopasowania w = Dopasuj(h);
        const QString opis = QStringLiteral("fitted %1, defaults %2 +- %3 on %4 answers")
                                 .arg(w.StrataDopasowanych)
                                 .arg(w.StrataDomyslnych)
                                 .arg(w.BladRoznicy)
                                 .arg(w.Sprawdzane);
        QVERIFY(w.Uczace > 1000);
        QVERIFY(w.Sprawdzane > 500);
        QVERIFY2(w.Lepsze == inny, qPrintable(opis));
        if (w.Lepsze)
            QVERIFY2(w.StrataDopasowanych < w.StrataDomyslnych, qPrintable(opis));
        for (std::size_t i = 0; i < std::size_t(LiczbaParametrow); ++i) {
            QVERIFY(w.Dopasowane.w[i] >= Parametry::Granice()[i][0]);
            QVERIFY(w.Dopasowane.w[i] <= Parametry::Granice()[i][1]);
        }
        // The worker's stop ends a fit at once.
        const std::atomic<bool> stop{true};
        QVERIFY(Dopasuj(h, {}, &stop).Przerwane);
    }
};

QTEST_APPLESS_MAIN(TestHarmonogram)
#include "test_harmonogram.moc"
