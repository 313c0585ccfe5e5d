// Pronunciation benchmark: the built-in voice until the player plays (its first use loading the voice included), then
// over loopback a cached word and an uncached one (status check, download, start).
#include "formularz_testowy.h"
#include "glos.h"
#include "program_testowy.h"
#include "serwer_http.h"
#include "wymawianie.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikacja(argc, argv);
    testy::SerwerHttp serwer;
    qputenv("VOKARA_DICTIONARY_URL", serwer.adres().toLatin1());
    QFile mp3(VOKARA_TESTY_DANE "/krotki.mp3");
    mp3.open(QIODevice::ReadOnly);
    const QByteArray nagranie = mp3.readAll();

    testy::Katalog katalog; // a working folder with dane/voice, made current
    katalog.lista({"v*1", "A*a.txt"});
    katalog.zestaw("a.txt", {"w*o", "dog*pies"});

    // First the built-in voice, with no dictionary set up: the very first use loads the voice and starts the player.
    qputenv("VOKARA_DICTIONARY_URL", "https://slownik.vokara.invalid");
    auto bezSlownika = std::make_unique<Program>();
    if (!bezSlownika->Pokaz())
        return 1;
    const auto zmierz = [](Program& program, const QString& slowo) {
        TFSluchaj& sluchaj = *program.FSluchaj;
        // A word is asked for once the one before has been heard out, as a learner does.
        (void)QTest::qWaitFor([&] { return sluchaj.Stan() != TFSluchaj::StanOdtwarzania::Gra; }, 5000);
        QElapsedTimer zegar;
        zegar.start();
        program.FGlowny->Wymowa().Wymow(slowo);
        if (!QTest::qWaitFor([&] { return sluchaj.Zagrane(); }, 5000))
            return -1.0;
        return double(zegar.nsecsElapsed()) / 1e6;
    };
    const bool zaladowanyPrzed = vokara::GlosZaladowany();
    const double zimny = zmierz(*bezSlownika, QStringLiteral("first"));
    bezSlownika.reset();
    // As a learner meets it: the page comes to the front (which starts the player), then the first word is asked for.
    vokara::ZwolnijGlos();
    bezSlownika = std::make_unique<Program>();
    if (!bezSlownika->Pokaz())
        return 1;
    bezSlownika->FGlowny->findChild<QTabWidget*>(QStringLiteral("PStrony"))->setCurrentIndex(4);
    QTest::qWait(1000);
    const double pierwsze = zmierz(*bezSlownika, QStringLiteral("first"));
    std::vector<double> glos;
    const QStringList slowa{"dog", "house", "beautiful", "ice cream", "to look after", "yesterday", "cat", "morning"};
    for (int i = 0; i < 40; ++i)
        glos.push_back(zmierz(*bezSlownika, slowa[i % slowa.size()] + QString(i / slowa.size(), QLatin1Char(' '))));
    bezSlownika.reset();
    qputenv("VOKARA_DICTIONARY_URL", serwer.adres().toLatin1());
    std::printf("voice loaded before first use: %s\n", zaladowanyPrzed ? "yes" : "no");
    std::printf("built-in voice, first use in a fresh process to playing (loads the voice, starts the player and "
                "the audio system): %.1f ms\n",
                zimny);
    std::printf("built-in voice, first use to playing once its page is in front (loads the voice): %.1f ms\n",
                pierwsze);
    std::printf("built-in voice, Wymow to playing: median %.1f ms, worst %.1f ms\n", Mediana(glos),
                *std::max_element(glos.begin(), glos.end()));

    Program program;
    if (!program.Pokaz())
        return 1;
    // The player and the audio system start on first use; that one-off cost is not a word's.
    serwer.ustaw("/images-common/en/mp3/rozgrzewka.mp3", {{200, nagranie}});
    zmierz(program, QStringLiteral("rozgrzewka"));
    std::vector<double> zapamietane, pobrane;
    for (int i = 0; i < 20; ++i) {
        const QString slowo = QStringLiteral("word%1").arg(i);
        serwer.ustaw("/images-common/en/mp3/" + slowo.toLatin1() + ".mp3", {{200, nagranie}});
        pobrane.push_back(zmierz(program, slowo));
        zapamietane.push_back(zmierz(program, slowo));
    }
    std::printf("cached word to playing:   median %.1f ms, worst %.1f ms\n", Mediana(zapamietane),
                *std::max_element(zapamietane.begin(), zapamietane.end()));
    std::printf("uncached word to playing: median %.1f ms, worst %.1f ms (status check + download + start)\n",
                Mediana(pobrane), *std::max_element(pobrane.begin(), pobrane.end()));

    // Long texts on the free pronunciation page, which once froze the window (10,000 characters 59 s; 10,000 digits
    // 112 s and 88 MB; 1,000 numbers over 300 s and 2.6 GB): how long Enter keeps the window, the longest the event
    // loop then went without turning, the time until the speech plays, and the process's peak memory after it.
    qputenv("VOKARA_DICTIONARY_URL", "https://slownik.vokara.invalid");
    Program dlugie;
    if (!dlugie.Pokaz())
        return 1;
    const testy::Formularz ui(*dlugie.FGlowny);
    ui.PStrony->setCurrentIndex(4);
    QTest::qWait(500);
    const std::pair<const char*, QString> teksty[] = {
        {"10,000 characters", QStringLiteral("word ").repeated(2000)},
        {"10,000 digits", QString(10000, QLatin1Char('9'))},
        {"1,000 numbers", QStringLiteral("123456789 ").repeated(1000)},
    };
    for (const auto& [nazwa, tekst] : teksty) {
        (void)QTest::qWaitFor([&] { return dlugie.FSluchaj->Stan() != TFSluchaj::StanOdtwarzania::Gra; }, 60000);
        ui.EWpis4->setText(tekst);
        QElapsedTimer zegar, tetno;
        qint64 poprzedni = 0, najdluzej = 0;
        QTimer bicie;
        QObject::connect(&bicie, &QTimer::timeout, [&] {
            najdluzej = std::max(najdluzej, tetno.elapsed() - poprzedni);
            poprzedni = tetno.elapsed();
        });
        zegar.start();
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        const double enter = double(zegar.nsecsElapsed()) / 1e6;
        tetno.start();
        bicie.start(5);
        const bool gra = QTest::qWaitFor([&] { return dlugie.FSluchaj->Zagrane(); }, 60000);
        const double doGry = double(zegar.nsecsElapsed()) / 1e6;
        bicie.stop();
        rusage zuzycie{};
        getrusage(RUSAGE_SELF, &zuzycie);
        std::printf("%s: Enter returns in %.1f ms, longest stall of the event loop %lld ms, playing after %.0f ms%s, "
                    "peak memory %.0f MiB\n",
                    nazwa, enter, najdluzej, doGry, gra ? "" : " (not yet)", double(zuzycie.ru_maxrss) / 1024);
    }
    return 0;
}
