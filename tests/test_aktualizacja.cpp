// The data update against a loopback home site: every outcome, its notice, and what is on disk afterwards.
#include "aktualizacja.h"
#include "program_testowy.h"
#include "serwer_http.h"
#include "ui_fglowny.h"

#include <QDirIterator>
#include <QProgressDialog>
#include <QUuid>

using testy::OdpowiedzHttp;

namespace {

QByteArray cp1250(const QStringList& linie)
{
    std::string bajty;
    for (const auto& l : linie)
        bajty += testy::cp(l.toUtf8().constData()) + "\r\n";
    return QByteArray::fromStdString(bajty);
}

// Every file under a folder with its bytes, to tell whether an update changed anything.
QMap<QString, QByteArray> zawartosc(const QString& folder)
{
    QMap<QString, QByteArray> wynik;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sciezka = it.next();
        QFile plik(sciezka);
        plik.open(QIODevice::ReadOnly);
        wynik[QDir(folder).relativeFilePath(sciezka)] = plik.readAll();
    }
    return wynik;
}

QString powiadomienie(const char* a, const char* b)
{
    return QString::fromUtf8(a) + '\r' + QString::fromUtf8(b);
}

const QString Aktualne = powiadomienie("Dane są aktualne.", "Życzymy owocnej pracy z programem.");
const QString AktualneNowyProgram =
    powiadomienie("Dane są aktualne.", "Pobierz samodzielnie nową wersję programu ze strony domowej.");
const QString Uaktualnione = powiadomienie("Dane zostały uaktualnione.", "Życzymy owocnej pracy z programem.");
const QString UaktualnioneNowyProgram =
    powiadomienie("Dane zostały uaktualnione.", "Pobierz samodzielnie nową wersję programu ze strony domowej.");
const QString Problemy =
    powiadomienie("Wystąpiły problemy z uaktualnieniem danych.", "Pobierz ponownie program ze strony domowej.");
const QString ProblemyNowyProgram = powiadomienie("Wystąpiły problemy z uaktualnieniem danych.",
                                                  "Pobierz samodzielnie nową wersję programu ze strony domowej.");

} // namespace

// A started program with list "01.12.2026*1.0" and one set, and a home site that serves nothing until told to.
struct Witryna {
    explicit Witryna(const QStringList& lista = {"01.12.2026*1.0", "Stary*stary.txt"})
    {
        qputenv("VOKARA_HOME_URL", serwer.adres().toLatin1());
        katalog.lista(lista);
        katalog.zestaw("stary.txt", {"w*o", "old*stary"});
        program = std::make_unique<Program>();
        odpowiedzi = std::make_unique<testy::Odpowiedzi>(*program->FWarning);
        if (!program->Pokaz())
            qFatal("program did not start");
        odpowiedzi->teksty.clear();
    }
    ~Witryna() { qunsetenv("VOKARA_HOME_URL"); }

    void plik(const QString& nazwa, const QStringList& linie) { serwer.ustaw(adres(nazwa), {{200, cp1250(linie)}}); }
    static QByteArray adres(const QString& nazwa) { return "/vokara/dane/" + QUrl::toPercentEncoding(nazwa); }
    void aktualizuj() { QTest::mouseClick(program->FGlowny->Formularz().ButAktualizacja, Qt::LeftButton); }
    QString tymczasowa() const { return katalog.sciezka("a_spis.txt"); }
    QStringList pozycje() const
    {
        const QComboBox* lista = program->FGlowny->Formularz().CZestawSlow2;
        QStringList wynik;
        for (int i = 0; i < lista->count(); ++i)
            wynik << lista->itemText(i);
        return wynik;
    }

    testy::SerwerHttp serwer;
    testy::Katalog katalog;
    std::unique_ptr<Program> program;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi;
};

class TestAktualizacja : public QObject {
    Q_OBJECT

private slots:
    void bezZmian_data()
    {
        QTest::addColumn<QString>("naglowek");
        QTest::addColumn<QString>("powiadomienie");
        QTest::newRow("3 same versions") << "01.12.2026*1.0" << Aktualne;
        QTest::newRow("4 other program version") << "01.12.2026*2.0" << AktualneNowyProgram;
    }

    void bezZmian()
    {
        Witryna w;
        w.plik("a_spis.txt", {WARTOSC(QString, naglowek), "Nowy*nowy.txt"});
        w.plik("nowy.txt", {"w*o", "new*nowy"});
        const auto przed = zawartosc(w.katalog.sciezka("dane"));
        testy::zapisz(w.katalog.sciezka("dane/.aktualizacja/smiec.txt"), "left by a crash");
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{WARTOSC(QString, powiadomienie)});
        QCOMPARE(w.serwer.zapytania, QList<QByteArray>{"/vokara/dane/a_spis.txt"});
        QCOMPARE(zawartosc(w.katalog.sciezka("dane")), przed);
        QVERIFY(!QFile::exists(w.tymczasowa()));
    }

    void pelnaAktualizacja_data()
    {
        QTest::addColumn<QString>("naglowek");
        QTest::addColumn<QString>("powiadomienie");
        QTest::newRow("5 newer data") << "02.12.2026*1.0" << Uaktualnione;
        QTest::newRow("5 older data") << "01.01.2000*1.0" << Uaktualnione;
        QTest::newRow("6 other program version") << "02.12.2026*1.1" << UaktualnioneNowyProgram;
        QTest::newRow("6 header without a star") << "02.12.2026" << UaktualnioneNowyProgram;
    }

    void pelnaAktualizacja()
    {
        Witryna w;
        const QStringList lista{WARTOSC(QString, naglowek), "Zwierzęta*zwierzeta.txt", "", "Dom*dom.txt", ""};
        w.plik("a_spis.txt", lista);
        w.plik("zwierzeta.txt", {"w*o", "dog*pies"});
        w.plik("dom.txt", {"w*o", "house*dom"});
        // A staging folder left behind by a crash goes first.
        testy::zapisz(w.katalog.sciezka("dane/.aktualizacja/smiec.txt"), "x");
        QStringList postep;
        w.serwer.przyZapytaniu = [&](const QByteArray&) {
            for (QWidget* okno : QApplication::topLevelWidgets()) {
                if (auto* p = qobject_cast<QProgressDialog*>(okno); p && p->isVisible())
                    postep << p->labelText();
            }
        };
        auto& ui = w.program->FGlowny->Formularz();
        ui.PStrony->setCurrentIndex(0);
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{WARTOSC(QString, powiadomienie)});
        QCOMPARE(w.serwer.zapytania, (QList<QByteArray>{"/vokara/dane/a_spis.txt", "/vokara/dane/zwierzeta.txt",
                                                        "/vokara/dane/dom.txt", "/vokara/dane/a_spis.txt"}));
        QCOMPARE(postep,
                 (QStringList{"Pobieranie listy zestawów\na_spis.txt", "Pobieranie danych: plik 1 z 3\nzwierzeta.txt",
                              "Pobieranie danych: plik 2 z 3\ndom.txt", "Pobieranie danych: plik 3 z 3\na_spis.txt"}));
        const auto teraz = zawartosc(w.katalog.sciezka("dane"));
        QCOMPARE(teraz.value("a_spis.txt"), cp1250(lista));
        QCOMPARE(teraz.value("dom.txt"), cp1250({"w*o", "house*dom"}));
        QVERIFY(teraz.contains("stary.txt")); // files the new list does not name stay
        QVERIFY(!QFileInfo::exists(w.katalog.sciezka("dane/.aktualizacja")));
        QVERIFY(!QFile::exists(w.tymczasowa()));
        // Reloaded: new sets in the pickers, the welcome page in front, the new version in use.
        QCOMPARE(w.pozycje(), (QStringList{"Zwierzęta", "Dom"}));
        QCOMPARE(ui.PStrony->currentIndex(), 0);
        QCOMPARE(w.program->stan.dane.WersjaDanych, WARTOSC(QString, naglowek).section('*', 0, 0).toStdString());
        // A second update finds the data current.
        w.odpowiedzi->teksty.clear();
        w.aktualizuj();
        QVERIFY(w.odpowiedzi->teksty.value(0).startsWith("Dane są aktualne."));
    }

    void nieudanaAktualizacja_data()
    {
        QTest::addColumn<QString>("naglowek");
        QTest::addColumn<QStringList>("zestawy");
        QTest::addColumn<bool>("uciety");
        QTest::addColumn<QString>("powiadomienie");
        const QStringList zwykle{"A*a.txt", "B*b.txt"};
        QTest::newRow("7 set missing on the site")
            << "02.12.2026*1.0" << (zwykle + QStringList{"C*brak.txt"}) << false << Problemy;
        QTest::newRow("8 set missing, other program")
            << "02.12.2026*3.0" << (zwykle + QStringList{"C*brak.txt"}) << false << ProblemyNowyProgram;
        QTest::newRow("7 set cut short") << "02.12.2026*1.0" << zwykle << true << Problemy;
        QTest::newRow("7 line without a file name")
            << "02.12.2026*1.0" << (zwykle + QStringList{"C"}) << false << Problemy;
        QTest::newRow("7 names outside the data folder")
            << "02.12.2026*1.0"
            << (zwykle + QStringList{"E*../evil.txt", "T*/tmp/vokara-" + QUuid::createUuid().toString(QUuid::Id128),
                                     "S*sub/dir.txt", "K*..", "W*a\\b.txt"})
            << false << Problemy;
        QTest::newRow("7 names a folder of the data folder")
            << "02.12.2026*1.0" << (zwykle + QStringList{"V*voice"}) << false << Problemy;
    }

    // Any failure leaves the data folder exactly as it was, and ends the downloads: nothing after it is fetched.
    void nieudanaAktualizacja()
    {
        Witryna w;
        const QStringList zestawy = WARTOSC(QStringList, zestawy);
        w.plik("a_spis.txt", QStringList{WARTOSC(QString, naglowek)} + zestawy);
        w.plik("a.txt", {"w*o", "a*a"});
        w.plik("b.txt", {"w*o", "b*b"});
        w.serwer.ustaw("/vokara/dane/../evil.txt", {{200, "evil"}});
        w.serwer.ustaw("/vokara/dane/sub/dir.txt", {{200, "sub"}});
        if (WARTOSC(bool, uciety))
            w.serwer.ustaw("/vokara/dane/b.txt", {{200, cp1250({"w*o", "b*b", "c*c"}), {}, false, 8}});
        const auto przed = zawartosc(w.katalog.sciezka());
        const QStringList pozycjePrzed = w.pozycje();
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{WARTOSC(QString, powiadomienie)});
        QCOMPARE(zawartosc(w.katalog.sciezka()), przed);
        QCOMPARE(w.pozycje(), pozycjePrzed);
        QVERIFY(w.serwer.zapytania.contains("/vokara/dane/b.txt"));
        QCOMPARE(w.serwer.zapytania.count("/vokara/dane/a_spis.txt"), 1); // the temporary list only
        for (const auto& z : w.serwer.zapytania)
            QVERIFY2(!z.contains("evil") && !z.contains("sub") && !z.contains("tmp"), z.constData());
        QCOMPARE(w.program->stan.dane.WersjaDanych, std::string("01.12.2026"));
    }

    // A colon is an ordinary file-name character; a set named like the list is the list's own download.
    void nietypoweNazwy()
    {
        Witryna w;
        const QStringList lista{"02.12.2026*1.0", "A*a:b.txt", "L*a_spis.txt"};
        w.plik("a_spis.txt", lista);
        w.plik("a:b.txt", {"w*o", "a*a"});
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{Uaktualnione});
        QCOMPARE(zawartosc(w.katalog.sciezka("dane")).value("a:b.txt"), cp1250({"w*o", "a*a"}));
        QCOMPARE(w.serwer.zapytania.count("/vokara/dane/a_spis.txt"), 2); // the temporary list, then the list
    }

    // A move that fails halfway undoes the earlier ones: the data folder is whole, old or new.
    void wycofaniePrzeniesienia()
    {
        QTemporaryDir katalog;
        const QString dane = katalog.filePath("dane");
        const QString posredni = dane + "/.aktualizacja";
        testy::zapisz(dane + "/a.txt", "old a");
        testy::zapisz(dane + "/c.txt/zajety", "a folder where c.txt should go");
        for (const char* plik : {"a.txt", "b.txt", "c.txt"})
            testy::zapisz(posredni + "/nowe/" + plik, "new");
        QVERIFY(!Aktualizacja::PrzeniesWszystkie({"a.txt", "b.txt", "c.txt"}, posredni, dane));
        QDir(posredni).removeRecursively();
        const auto po = zawartosc(dane);
        QCOMPARE(po.keys(), (QStringList{"a.txt", "c.txt/zajety"}));
        QCOMPARE(po.value("a.txt"), QByteArray("old a"));
        for (const char* plik : {"a.txt", "b.txt"})
            testy::zapisz(posredni + "/nowe/" + plik, "new");
        QVERIFY(Aktualizacja::PrzeniesWszystkie({"a.txt", "b.txt"}, posredni, dane));
        QCOMPARE(zawartosc(dane).value("b.txt"), QByteArray("new"));
    }

    void brakStrony()
    {
        Witryna w;
        const auto przed = zawartosc(w.katalog.sciezka());
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty,
                 QStringList{powiadomienie("Wystąpił problem z aktualizacją.", "Brak dostępu do strony z danymi.")});
        QCOMPARE(zawartosc(w.katalog.sciezka()), przed);
    }

    void uszkodzonaLista_data()
    {
        QTest::addColumn<QByteArray>("tresc");
        QTest::newRow("first line empty") << QByteArray("\r\nA*a.txt\r\n");
        QTest::newRow("no line at all") << QByteArray();
    }

    void uszkodzonaLista()
    {
        Witryna w;
        w.serwer.ustaw("/vokara/dane/a_spis.txt", {{200, WARTOSC(QByteArray, tresc)}});
        const auto danePrzed = zawartosc(w.katalog.sciezka("dane"));
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty,
                 QStringList{powiadomienie("Pobrany plik listy jest uszkodzony.", "Zgłoś problem autorowi programu.")});
        QCOMPARE(zawartosc(w.katalog.sciezka("dane")), danePrzed);
        QVERIFY(QFile::exists(w.tymczasowa())); // left for a look, replaced by the next update
        w.plik("a_spis.txt", {"01.12.2026*1.0"});
        w.odpowiedzi->teksty.clear();
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{Aktualne});
        QVERIFY(!QFile::exists(w.tymczasowa()));
    }

    void listaBezZestawow()
    {
        Witryna w;
        w.plik("a_spis.txt", {"02.12.2026*1.0"});
        w.aktualizuj();
        QCOMPARE(
            w.odpowiedzi->teksty,
            (QStringList{Uaktualnione, powiadomienie("Brak zestawów słów w folderze Dane. Program nie może działać.",
                                                     "Dokonaj aktualizacji danych.")}));
        QCOMPARE(w.pozycje(), QStringList());
        QCOMPARE(w.program->stan.dane.WersjaDanych, std::string("11.11.2011"));
    }

    // After a degraded start any other data version, even the one on disk, downloads everything.
    void poZdegradowanymStarcie()
    {
        Witryna w({"01.12.2026*1.0", "Brak*brak.txt"});
        QCOMPARE(w.program->stan.dane.WersjaDanych, std::string("11.11.2011"));
        w.plik("a_spis.txt", {"01.12.2026*1.0", "A*a.txt"});
        w.plik("a.txt", {"w*o", "a*a"});
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{Uaktualnione});
        QCOMPARE(w.pozycje(), QStringList{"A"});
    }
};

QTEST_MAIN(TestAktualizacja)
#include "test_aktualizacja.moc"
