// Pronunciation benchmark over loopback: a cached word until the player plays, and an uncached one (status check,
// download, start).
#include "program_testowy.h"
#include "serwer_http.h"
#include "wymawianie.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QTest>

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

    Program program;
    if (!program.Pokaz())
        return 1;
    const auto zmierz = [&](const QString& slowo) {
        QElapsedTimer zegar;
        zegar.start();
        program.FGlowny->Wymowa().Wymow(slowo);
        QMediaPlayer* odtwarzacz = program.FSluchaj->Playerek();
        if (!odtwarzacz ||
            !QTest::qWaitFor([&] { return odtwarzacz->playbackState() == QMediaPlayer::PlayingState; }, 5000))
            return -1.0;
        return double(zegar.nsecsElapsed()) / 1e6;
    };
    // The player and the audio system start on first use; that one-off cost is not a word's.
    serwer.ustaw("/images-common/en/mp3/rozgrzewka.mp3", {{200, nagranie}});
    zmierz(QStringLiteral("rozgrzewka"));
    std::vector<double> zapamietane, pobrane;
    for (int i = 0; i < 20; ++i) {
        const QString slowo = QStringLiteral("word%1").arg(i);
        serwer.ustaw("/images-common/en/mp3/" + slowo.toLatin1() + ".mp3", {{200, nagranie}});
        pobrane.push_back(zmierz(slowo));
        zapamietane.push_back(zmierz(slowo));
    }
    std::printf("cached word to playing:   median %.1f ms, worst %.1f ms\n", Mediana(zapamietane),
                *std::max_element(zapamietane.begin(), zapamietane.end()));
    std::printf("uncached word to playing: median %.1f ms, worst %.1f ms (status check + download + start)\n",
                Mediana(pobrane), *std::max_element(pobrane.begin(), pobrane.end()));
    return 0;
}
