// Update benchmarks: 50 set files of 200 entries each from a loopback home site, end to end, notice answered; then a
// site that stalls on its first set file, which must end within the silence time-out plus one second.
#include "aktualizacja.h"
#include "fwynikaktualizacji.h"
#include "program_testowy.h"
#include "serwer_http.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikacja(argc, argv);
    testy::SerwerHttp serwer;
    qputenv("VOKARA_HOME_URL", serwer.adres().toLatin1());

    QByteArray lista = "02.12.2026*1.0\r\n";
    for (int z = 0; z < 50; ++z) {
        const QByteArray plik = "zestaw" + QByteArray::number(z) + ".txt";
        lista += "Zestaw " + QByteArray::number(z) + "*" + plik + "\r\n";
        QByteArray tresc = "S\xb3owo*oznacza\r\n";
        for (int i = 0; i < 200; ++i)
            tresc += "word" + QByteArray::number(i) + "*s\xb3owo" + QByteArray::number(i) + "\r\n";
        serwer.ustaw("/vokara/dane/" + plik, {{200, tresc}});
    }
    serwer.ustaw("/vokara/dane/a_spis.txt", {{200, lista}});

    testy::Katalog katalog; // a working folder with dane/voice, made current
    katalog.lista({"01.12.2026*1.0", "A*a.txt"});
    katalog.zestaw("a.txt", {"w*o", "dog*pies"});

    Program program;
    if (!program.Pokaz())
        return 1;
    // The notice is answered wherever it shows: the message box, or the result window for a longer outcome.
    QString powiadomienie;
    QObject::connect(
        program.FWarning.get(), &TFWarning::pokazany, program.FWarning.get(),
        [&] {
            powiadomienie = program.FWarning->OstatniTekst;
            QTest::keyClick(program.FWarning.get(), Qt::Key_Return);
        },
        Qt::QueuedConnection);
    TFWynikAktualizacji& wynik = program.FGlowny->Aktualizator().OknoWyniku();
    QObject::connect(
        &wynik, &TFWynikAktualizacji::pokazany, &wynik,
        [&] {
            powiadomienie = wynik.OstatniTekst;
            wynik.accept();
        },
        Qt::QueuedConnection);
    QElapsedTimer zegar;
    zegar.start();
    program.FGlowny->ButAktualizacjaClick();
    const double ms = double(zegar.nsecsElapsed()) / 1e6;
    std::printf("update of 50 sets x 200 entries: %.1f ms (%lld requests, %zu sets loaded, notice: %s)\n", ms,
                qlonglong(serwer.zapytania.size()), program.stan.dane.Zestawy.size(),
                qPrintable(powiadomienie.section('\r', 0, 0)));

    // A newer list whose first set file never comes: the silence time-out ends it, and nothing else is tried.
    QByteArray stojaca = "03.12.2026*1.0\r\n";
    for (int z = 0; z < 14; ++z)
        stojaca += "Zestaw " + QByteArray::number(z) + "*stoi" + QByteArray::number(z) + ".txt\r\n";
    serwer.ustaw("/vokara/dane/a_spis.txt", {{200, stojaca}});
    serwer.ustaw("/vokara/dane/stoi0.txt", {{200, {}, {}, true}});
    const int zapytaniaPrzed = int(serwer.zapytania.size());
    zegar.restart();
    program.FGlowny->ButAktualizacjaClick();
    const double stoi = double(zegar.nsecsElapsed()) / 1e6;
    const int limit = program.siec.LimitCiszyMs;
    std::printf("update against a site stalling on its first of 14 set files: %.1f ms (silence time-out %d ms, "
                "target under %d ms: %s; %d requests, notice: %s)\n",
                stoi, limit, limit + 1000, stoi < limit + 1000 ? "met" : "MISSED",
                int(serwer.zapytania.size()) - zapytaniaPrzed, qPrintable(powiadomienie.section('\r', 0, 0)));
    return 0;
}
