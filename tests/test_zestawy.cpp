// The set check tool: each format fault in a data folder fails it with a message naming the fault; clean data passes.
#include "pomocnicze.h"

#include <QProcess>
#include <QTemporaryDir>

class TestZestawy : public QObject {
    Q_OBJECT

    // A set of `ile` distinct entries, in Windows-1250 with CR LF ends.
    static QByteArray zestaw(int ile, const QByteArray& dopisek = {})
    {
        QByteArray bajty = "Angielskie s\xb3owo*Polskie znaczenie\r\n";
        for (int i = 0; i < ile; ++i)
            bajty += "word" + QByteArray::number(i) + "*s\xb3owo" + QByteArray::number(i) + "\r\n";
        return bajty + dopisek;
    }

private slots:
    void bledyFormatu_data()
    {
        QTest::addColumn<QByteArray>("lista");
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<int>("kod");
        QTest::addColumn<QString>("komunikat");
        const QByteArray lista = "10.12.2026*1.0\r\nA1 \xb7 Zwierz\xeata*a.txt\r\n";
        QTest::newRow("clean") << lista << zestaw(30) << 0 << "błędów: 0";
        QTest::newRow("line over 100 bytes")
            << lista << zestaw(30, QByteArray(60, 'a') + "*" + QByteArray(40, 'b') + "\r\n") << 1 << "101 bajtów";
        QTest::newRow("no star") << lista << zestaw(30, "dog pies\r\n") << 1 << "brak znaku '*'";
        QTest::newRow("UTF-8 bytes") << lista
                                     << zestaw(30, "frog*\xc5\xbc"
                                                   "aba\r\n")
                                     << 1 << "UTF-8";
        QTest::newRow("LF only") << lista << zestaw(30, "frog*zaba\n") << 1 << "CR LF";
        QTest::newRow("English twice") << lista << zestaw(30, "word3*inne\r\n") << 1 << "angielski tekst drugi raz";
        QTest::newRow("Polish twice") << lista << zestaw(30, "other*s\xb3owo3\r\n") << 1 << "polski tekst drugi raz";
        QTest::newRow("29 entries") << lista << zestaw(29) << 1 << "29 wpisów";
        QTest::newRow("61 entries") << lista << zestaw(61) << 1 << "61 wpisów";
        QTest::newRow("listed set missing") << lista + "A2 \xb7 Dom*brak.txt\r\n"
                                            << zestaw(30) << 1 << "brak pliku zestawu brak.txt";
        QTest::newRow("set not listed") << QByteArray("10.12.2026*1.0\r\nA*b.txt\r\n") << zestaw(30) << 1
                                        << "a.txt: plik zestawu, którego lista nie wymienia";
    }

    void bledyFormatu()
    {
        QTemporaryDir katalog;
        const QString dane = katalog.filePath("dane");
        testy::zapisz(dane + "/a_spis.txt", WARTOSC(QByteArray, lista));
        testy::zapisz(dane + "/a.txt", WARTOSC(QByteArray, bajty));
        testy::zapisz(dane + "/b.txt", zestaw(30));
        if (!WARTOSC(QByteArray, lista).contains("b.txt"))
            QFile::remove(dane + "/b.txt");
        QProcess narzedzie;
        narzedzie.start(VOKARA_SPRAWDZ_ZESTAWY, {dane});
        QVERIFY(narzedzie.waitForFinished(30000));
        const QString wyjscie = QString::fromUtf8(narzedzie.readAllStandardOutput());
        QCOMPARE(narzedzie.exitCode(), WARTOSC(int, kod));
        QVERIFY2(wyjscie.contains(WARTOSC(QString, komunikat)), qPrintable(wyjscie));
    }
};

QTEST_GUILESS_MAIN(TestZestawy)
#include "test_zestawy.moc"
