// Soak: a thousand pronunciations in quick succession, recordings and the built-in voice mixed, while the window's
// event loop keeps turning.
#include "program_testowy.h"
#include "wymawianie.h"

#include <QElapsedTimer>
#include <QTimer>

class TestSeriaWymowy : public QObject {
    Q_OBJECT

private slots:
    void tysiacWymowien()
    {
        qputenv("VOKARA_DICTIONARY_URL", "https://slownik.vokara.invalid");
        testy::Katalog katalog;
        katalog.lista({"v*1", "A*a.txt"});
        katalog.zestaw("a.txt", {"w*o", "dog*pies"});
        testy::zapisz(katalog.sciezka("dane/voice/one.mp3"), testy::nagranie());
        testy::zapisz(katalog.sciezka("dane/voice/two.mp3"), testy::nagranie());
        Program program;
        testy::Raporty raporty;
        QVERIFY(program.Pokaz());

        // The longest time the event loop went without turning: a call stuck in the audio system shows up here.
        QElapsedTimer zegar;
        zegar.start();
        qint64 poprzedni = 0, najdluzej = 0;
        QTimer tetno;
        connect(&tetno, &QTimer::timeout, this, [&] {
            najdluzej = std::max(najdluzej, zegar.elapsed() - poprzedni);
            poprzedni = zegar.elapsed();
        });
        tetno.start(5);

        // Each word twice in a row, so the slow replay is mixed in as well.
        const QStringList slowa{"one", "cat", "Two", "ice cream", "one", "dog"};
        for (int i = 0; i < 1000; ++i) {
            program.FGlowny->Wymowa().Wymow(slowa[(i / 2) % slowa.size()]);
            if (i % 4 == 0)
                QTest::qWait(40); // now and then the player gets a moment to take up a request
            else
                QCoreApplication::processEvents();
        }
        QCOMPARE(program.FSluchaj->Zadania(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(program.FSluchaj->Zagrane(), 20000); // the last one is heard
        qInfo("player took up %d of 1000 requests, %d stuck players replaced; longest stall of the event loop %lld ms",
              program.FSluchaj->Podjete(), program.FSluchaj->Porzucone(), najdluzej);
        // The audio system was really driven, not just queued (it may take a second to replace a source).
        QVERIFY(program.FSluchaj->Podjete() >= 10);
        QVERIFY2(najdluzej < 2000, qPrintable(QStringLiteral("event loop stalled for %1 ms").arg(najdluzej)));
        QVERIFY(raporty.teksty.isEmpty());
        QCOMPARE(program.siec.Zapytania, 0);
        qunsetenv("VOKARA_DICTIONARY_URL");
    }
};

QTEST_MAIN(TestSeriaWymowy)
#include "test_seria_wymowy.moc"
