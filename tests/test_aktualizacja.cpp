// The data update against a loopback home site: every outcome, its notice, and what is on disk afterwards.
#include "aktualizacja.h"
#include "formularz_testowy.h"
#include "fwynikaktualizacji.h"
#include "program_testowy.h"
#include "serwer_http.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QUuid>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A notice of three lines and more: the first, what happened, the advice.
QString powiadomienie(const char* a, const QString& b, const char* c)
{
    return QString::fromUtf8(a) + '\r' + b + '\r' + QString::fromUtf8(c);
}

const char* const RadaTaSama = "Życzymy owocnej pracy z programem.";
const char* const RadaNowa = "Pobierz samodzielnie nową wersję programu ze strony domowej.";
const char* const RadaPonownie = "Pobierz ponownie program ze strony domowej.";

// A failed update that names the file it could not fetch.
QString nieUdaloSie(const char* plik, const char* rada = RadaPonownie)
{
    return powiadomienie("Wystąpiły problemy z uaktualnieniem danych.",
                         QStringLiteral("Nie udało się pobrać zestawu: ") + QString::fromUtf8(plik), rada);
}

const QString Aktualne = powiadomienie("Dane są aktualne.", "Życzymy owocnej pracy z programem.");
const QString AktualneNowyProgram =
    powiadomienie("Dane są aktualne.", "Pobierz samodzielnie nową wersję programu ze strony domowej.");
const QString Uaktualnione = powiadomienie("Dane zostały uaktualnione.", "Życzymy owocnej pracy z programem.");
const QString Problemy =
    powiadomienie("Wystąpiły problemy z uaktualnieniem danych.", "Pobierz ponownie program ze strony domowej.");
const QString BrakDostepu = powiadomienie("Wystąpił problem z aktualizacją.", "Brak dostępu do strony z danymi.");
const QString Przerwana = powiadomienie("Aktualizacja została przerwana.", "Dane pozostały bez zmian.");

// The progress window of the update under way.
QProgressDialog* oknoPostepu()
{
    for (QWidget* okno : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<QProgressDialog*>(okno); p && p->isVisible())
            return p;
    }
    return nullptr;
}

} // namespace

// A started program with list "01.12.2026*1.0" and one set (or the sets given), and a home site that serves nothing
// until told to.
struct Witryna {
    explicit Witryna(const QStringList& lista = {"01.12.2026*1.0", "Stary*stary.txt"},
                     const QStringList& pliki = {"stary.txt"})
    {
        qputenv("VOKARA_HOME_URL", serwer.adres().toLatin1());
        katalog.lista(lista);
        for (const QString& plik : pliki)
            katalog.zestaw(plik, {"w*o", "old*stary"});
        program = std::make_unique<Program>();
        odpowiedzi = std::make_unique<testy::Odpowiedzi>(*program->FWarning);
        if (!program->Pokaz())
            qFatal("program did not start");
        odpowiedzi->teksty.clear();
        // An outcome too long for the message box shows in the update's result window: recorded with the others,
        // checked to show whole, and closed as a user would.
        TFWynikAktualizacji& wynik = program->FGlowny->Aktualizator().OknoWyniku();
        QObject::connect(
            &wynik, &TFWynikAktualizacji::pokazany, &wynik,
            [this, &wynik] {
                odpowiedzi->teksty << wynik.OstatniTekst;
                for (auto* etykieta : wynik.findChildren<QLabel*>()) {
                    if (etykieta->isVisible() && etykieta->height() < etykieta->heightForWidth(etykieta->width()))
                        obciete << etykieta->text();
                }
                QTest::mouseClick(wynik.findChild<QPushButton*>("ButZamknij"), Qt::LeftButton);
            },
            Qt::QueuedConnection);
    }
    ~Witryna() { qunsetenv("VOKARA_HOME_URL"); }

    // The notice of a successful update that added and removed these sets (names as listed, "" for none): one line
    // of changes in the message box when that fits there whole, else the result window with the added and the
    // removed sets each on a line of their own.
    QString uaktualnione(const QString& dodano, const QString& usunieto, const QString& postepy = {},
                         const char* rada = RadaTaSama) const
    {
        const QString pierwsza = QStringLiteral("Dane zostały uaktualnione.");
        QStringList zwiezle{pierwsza};
        QStringList pelne{pierwsza};
        if (!dodano.isEmpty() && !usunieto.isEmpty())
            zwiezle << "Dodano: " + dodano + "; usunięto: " + usunieto + ".";
        else if (!dodano.isEmpty() || !usunieto.isEmpty())
            zwiezle << (dodano.isEmpty() ? "Usunięto: " + usunieto : "Dodano: " + dodano) + ".";
        if (!dodano.isEmpty())
            pelne << "Dodano: " + dodano + ".";
        if (!usunieto.isEmpty())
            pelne << "Usunięto: " + usunieto + ".";
        for (QStringList* linie : {&zwiezle, &pelne}) {
            if (!postepy.isEmpty())
                *linie << postepy;
            *linie << QString::fromUtf8(rada);
        }
        const QString tekst = zwiezle.join('\r');
        return program->FWarning->Miesci(tekst) ? tekst : pelne.join('\r');
    }

    void plik(const QString& nazwa, const QStringList& linie) { serwer.ustaw(adres(nazwa), {{200, cp1250(linie)}}); }
    static QByteArray adres(const QString& nazwa) { return "/vokara/dane/" + QUrl::toPercentEncoding(nazwa); }
    void aktualizuj() { QTest::mouseClick(testy::Formularz(*program->FGlowny).ButAktualizacja, Qt::LeftButton); }
    QString tymczasowa() const { return katalog.sciezka("a_spis.txt"); }
    QStringList pozycje() const
    {
        const QComboBox* lista = testy::Formularz(*program->FGlowny).CZestawSlow2;
        QStringList wynik;
        for (int i = 0; i < lista->count(); ++i)
            wynik << lista->itemText(i);
        return wynik;
    }

    testy::SerwerHttp serwer;
    testy::Katalog katalog;
    std::unique_ptr<Program> program;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi;
    QStringList obciete; // texts of the result window that did not show whole
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
        QTest::addColumn<QString>("rada");
        QTest::newRow("5 newer data") << "02.12.2026*1.0" << RadaTaSama;
        QTest::newRow("5 older data") << "01.01.2000*1.0" << RadaTaSama;
        QTest::newRow("6 other program version") << "02.12.2026*1.1" << RadaNowa;
        QTest::newRow("6 header without a star") << "02.12.2026" << RadaNowa;
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
        const testy::Formularz ui(*w.program->FGlowny);
        ui.PStrony->setCurrentIndex(0);
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty,
                 QStringList{w.uaktualnione("Zwierzęta i Dom", "Stary", {}, qPrintable(WARTOSC(QString, rada)))});
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
            << "02.12.2026*1.0" << (zwykle + QStringList{"C*brak.txt"}) << false << nieUdaloSie("brak.txt");
        QTest::newRow("8 set missing, other program")
            << "02.12.2026*3.0" << (zwykle + QStringList{"C*brak.txt"}) << false << nieUdaloSie("brak.txt", RadaNowa);
        QTest::newRow("7 set cut short") << "02.12.2026*1.0" << zwykle << true << nieUdaloSie("b.txt");
        QTest::newRow("7 line without a file name")
            << "02.12.2026*1.0" << (zwykle + QStringList{"C"}) << false << Problemy;
        QTest::newRow("7 names outside the data folder")
            << "02.12.2026*1.0"
            << (zwykle + QStringList{"E*../evil.txt", "T*/tmp/vokara-" + QUuid::createUuid().toString(QUuid::Id128),
                                     "S*sub/dir.txt", "K*..", "W*a\\b.txt"})
            << false << Problemy;
        QTest::newRow("7 names a folder of the data folder")
            << "02.12.2026*1.0" << (zwykle + QStringList{"V*voice"}) << false << Problemy;
        // The user's own sets and learning database are never fetched or overwritten.
        for (const char* wlasny : {"a_moje.txt", "moje_zwierzeta.txt", "postepy.sqlite", "postepy.sqlite-wal",
                                   "postepy.sqlite-shm", "postepy.sqlite.uszkodzony"})
            QTest::newRow(qPrintable(QStringLiteral("7 names the user's %1").arg(wlasny)))
                << "02.12.2026*1.0" << (zwykle + QStringList{QStringLiteral("M*") + wlasny}) << false << Problemy;
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
            QVERIFY2(!z.contains("evil") && !z.contains("sub") && !z.contains("tmp") && !z.contains("moje") &&
                         !z.contains("postepy"),
                     z.constData());
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
        QCOMPARE(w.odpowiedzi->teksty, QStringList{w.uaktualnione("A i L", "Stary")});
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

    // With no home site set up the update says so and how to set it up, asks nothing of the network and changes
    // nothing; the button's tooltip says the same.
    void bezStronyDomowej()
    {
        testy::Katalog katalog;
        katalog.lista({"01.12.2026*1.0", "Stary*stary.txt"});
        katalog.zestaw("stary.txt", {"w*o", "old*stary"});
        qputenv("VOKARA_HOME_URL", "http://vokara.invalid");
        Program program;
        testy::Odpowiedzi odpowiedzi(*program.FWarning);
        QVERIFY(program.Pokaz());
        qunsetenv("VOKARA_HOME_URL");
        odpowiedzi.teksty.clear();
        const auto przed = zawartosc(katalog.sciezka());
        const QString jak = QStringLiteral("Ustaw ją zmienną środowiskową VOKARA_HOME_URL i uruchom program ponownie.");
        QVERIFY(program.FWarning->Miesci(QStringLiteral("Strona domowa nie jest ustawiona.\r") + jak));
        QTest::mouseClick(testy::znajdz<QPushButton>(*program.FGlowny, "ButAktualizacja"), Qt::LeftButton);
        QCOMPARE(odpowiedzi.teksty, QStringList{QStringLiteral("Strona domowa nie jest ustawiona.\r") + jak});
        QCOMPARE(program.siec.Zapytania, 0);
        QCOMPARE(zawartosc(katalog.sciezka()), przed);
        QCOMPARE(program.FGlowny->Aktualizator().Podpowiedz(),
                 QStringLiteral("Strona domowa nie jest ustawiona. ") + jak);
        Witryna w;
        QCOMPARE(w.program->FGlowny->Aktualizator().Podpowiedz(),
                 QStringLiteral("Pobiera nowe zestawy słów ze strony domowej %1.").arg(w.serwer.adres()));
    }

    // An update that took sets off the list names what it added and removed (ten of each, the rest counted) and says
    // that the progress of the practised ones is kept. Too long for the message box, that shows whole in the update's
    // result window. An update that changes only what the sets hold says just that.
    void zmianyZestawow()
    {
        QStringList stara{"01.12.2026*1.0"};
        QStringList pliki;
        for (int i = 1; i <= 12; ++i) {
            stara << QStringLiteral("S%1*s%1.txt").arg(i);
            pliki << QStringLiteral("s%1.txt").arg(i);
        }
        Witryna w(stara, pliki);
        Aktualizacja& aktualizacja = w.program->FGlowny->Aktualizator();
        QStringList pytane;
        aktualizacja.Cwiczony = [&pytane](const std::string& plik) {
            pytane << QString::fromStdString(plik);
            return plik == "s3.txt" || plik == "s7.txt";
        };
        QStringList nowa{"02.12.2026*1.0", "S12*s12.txt"};
        for (int i = 1; i <= 11; ++i) {
            nowa << QStringLiteral("N%1*n%1.txt").arg(i);
            w.plik(QStringLiteral("n%1.txt").arg(i), {"w*o", "new*nowy"});
        }
        w.plik("s12.txt", {"w*o", "old*stary"});
        w.plik("a_spis.txt", nowa);
        w.aktualizuj();
        const QString oczekiwany = w.uaktualnione(
            "N1, N2, N3, N4, N5, N6, N7, N8, N9, N10 i 1 inny", "S1, S2, S3, S4, S5, S6, S7, S8, S9, S10 i 1 inny",
            "Postępy w zestawach S3 i S7 zostają zachowane i wrócą, jeśli zestawy wrócą.");
        QCOMPARE(w.odpowiedzi->teksty, QStringList{oczekiwany});
        QCOMPARE(aktualizacja.OknoWyniku().OstatniTekst, oczekiwany);
        QVERIFY(oczekiwany.contains("\rUsunięto: ")); // the result window's form: too long for the message box
        QCOMPARE(w.obciete, QStringList());
        QCOMPARE(pytane.size(), 11); // the removed sets only
        QCOMPARE(w.pozycje().size(), 12);

        w.odpowiedzi->teksty.clear();
        nowa[0] = "03.12.2026*1.0";
        w.plik("a_spis.txt", nowa);
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{Uaktualnione});
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
        QCOMPARE(w.odpowiedzi->teksty,
                 (QStringList{w.uaktualnione({}, "Stary"),
                              powiadomienie("Brak zestawów słów w folderze Dane. Program nie może działać.",
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
        QCOMPARE(w.odpowiedzi->teksty, QStringList{w.uaktualnione("A", {})});
        QCOMPARE(w.pozycje(), QStringList{"A"});
    }

    void nieDane_data()
    {
        QTest::addColumn<QString>("plik");
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<QString>("powiadomienie");
        QTest::newRow("list is a web page")
            << "a_spis.txt" << QByteArray(" \r\n\t<!DOCTYPE html><p>Zaloguj</p>") << BrakDostepu;
        QTest::newRow("list holds a NUL")
            << "a_spis.txt" << QByteArray("02.12.2026*1.0\r\nA*a.txt\r\n\0", 26) << BrakDostepu;
        QTest::newRow("set is a web page")
            << "a.txt" << QByteArray("<HTML><body>404</body></HTML>") << nieUdaloSie("a.txt");
        QTest::newRow("set holds a NUL late")
            << "a.txt" << QByteArray(8000, 'x').append('\0').append("\r\n") << nieUdaloSie("a.txt");
    }

    // What is plainly not a list or a set counts as a failed download: nothing of it is kept.
    void nieDane()
    {
        Witryna w;
        w.plik("a_spis.txt", {"02.12.2026*1.0", "A*a.txt"});
        w.plik("a.txt", {"w*o", "a*a"});
        w.serwer.ustaw(Witryna::adres(WARTOSC(QString, plik)), {{200, WARTOSC(QByteArray, tresc)}});
        const auto przed = zawartosc(w.katalog.sciezka());
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{WARTOSC(QString, powiadomienie)});
        QCOMPARE(zawartosc(w.katalog.sciezka()), przed);
    }

    // A set name over 200 bytes is left out, and so is every set line after the first 10,000; the rest loads.
    void granice()
    {
        Witryna w;
        QStringList lista{"02.12.2026*1.0", QString(201, 'D') + "*a.txt"};
        for (int i = 0; i < 10000; ++i)
            lista << QStringLiteral("Z%1*a.txt").arg(i);
        w.plik("a_spis.txt", lista);
        w.plik("a.txt", {"w*o", "a*a"});
        w.aktualizuj();
        // Sets are told apart by their file, as the learning memory tells them: every line here names a.txt.
        QCOMPARE(w.odpowiedzi->teksty, QStringList{w.uaktualnione("Z0", "Stary")});
        const QStringList pozycje = w.pozycje();
        QCOMPARE(pozycje.size(), 9999); // the overlong line is one of the first 10,000
        QCOMPARE(pozycje.first(), QStringLiteral("Z0"));
        QCOMPARE(pozycje.last(), QStringLiteral("Z9998"));
    }

    void przyjmij_data()
    {
        QTest::addColumn<QByteArray>("tresc");
        QTest::addColumn<bool>("zgoda");
        QTest::newRow("empty body") << QByteArray() << true;
        QTest::newRow("short body") << QByteArray("w*o\r\n") << true;
        QTest::newRow("long body, first 4096 bytes") << QByteArray(3000, 'a') + QByteArray(3000, 'b') << true;
        QTest::newRow("refused") << QByteArray("<html>") << false;
    }

    // The check of a body's first bytes runs before anything replaces the target; a refusal leaves it as it was.
    void przyjmij()
    {
        testy::SerwerHttp serwer;
        const QByteArray tresc = WARTOSC(QByteArray, tresc);
        serwer.ustaw("/plik", {{200, tresc}});
        QTemporaryDir katalog;
        const QString cel = katalog.filePath("cel");
        testy::zapisz(cel, "old");
        Siec siec;
        QByteArrayList widziane;
        bool stareWtedy = false;
        const bool zgoda = WARTOSC(bool, zgoda);
        const bool wynik = siec.Pobierz(QUrl(serwer.adres() + "/plik"), cel, [&](const QByteArray& poczatek) -> bool {
            widziane << poczatek;
            stareWtedy = zawartosc(katalog.path()).value("cel") == "old"; // nothing replaced yet
            return zgoda;
        });
        QCOMPARE(wynik, zgoda);
        QVERIFY(stareWtedy);
        QCOMPARE(widziane, QByteArrayList{tresc.left(4096)});
        QCOMPARE(zawartosc(katalog.path()).value("cel"), zgoda ? tresc : QByteArray("old"));
        QCOMPARE(zawartosc(katalog.path()).size(), 1); // no file left beside it
        QCOMPARE(siec.OstatniBlad, zgoda ? Siec::Blad::Brak : Siec::Blad::Odrzucone);
    }

    void pelnyDysk_data()
    {
        QTest::addColumn<bool>("cala");
        QTest::addColumn<int>("rozmiar");
        // A body smaller than the file's buffer fails only when flushed; a larger one already when written.
        QTest::newRow("one download, fails on flush") << false << 8000;
        QTest::newRow("one download, fails on write") << false << 40000;
        QTest::newRow("an update") << true << 8000;
    }

    // A write that fails (here past a file-size limit, as on a full disk) fails the download: the target keeps its
    // old bytes, and an update keeps the data folder exactly as it was and says where saving failed.
    void pelnyDysk()
    {
        Witryna w;
        const QByteArray duzy = cp1250({"w*o"}) + QByteArray(WARTOSC(int, rozmiar), 'a');
        w.plik("a_spis.txt", {"02.12.2026*1.0", "Stary*stary.txt"});
        w.serwer.ustaw("/vokara/dane/stary.txt", {{200, duzy}});
        const auto przed = zawartosc(w.katalog.sciezka());
        if (!WARTOSC(bool, cala)) {
            bool wynik = true;
            {
                testy::PelnyDysk dysk(4096);
                wynik = w.program->siec.Pobierz(QUrl(w.serwer.adres() + "/vokara/dane/stary.txt"),
                                                w.katalog.sciezka("dane/stary.txt"));
            }
            QVERIFY(!wynik);
            QCOMPARE(w.program->siec.OstatniBlad, Siec::Blad::BrakMiejsca);
        } else {
            testy::PelnyDysk dysk(4096);
            w.aktualizuj();
        }
        QCOMPARE(zawartosc(w.katalog.sciezka()), przed);
        if (WARTOSC(bool, cala))
            QCOMPARE(w.odpowiedzi->teksty,
                     QStringList{powiadomienie("Wystąpiły problemy z uaktualnieniem danych.",
                                               "Brak miejsca na dysku: nie można zapisać plików w folderze ") +
                                 QDir::toNativeSeparators(w.katalog.sciezka("dane"))});
    }

    // A working folder where the temporary list cannot be written is named as the cause, not the site.
    void folderRoboczy()
    {
        Witryna w;
        QDir().mkpath(w.tymczasowa()); // a folder where the temporary list should go
        w.plik("a_spis.txt", {"02.12.2026*1.0"});
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty,
                 QStringList{powiadomienie("Wystąpił problem z aktualizacją.", "Nie można zapisać plików w folderze ") +
                             QDir::toNativeSeparators(w.katalog.sciezka())});
        QVERIFY(w.serwer.zapytania.isEmpty()); // nothing asked of the site
    }

    // A body dripping in a byte at a time ends at the overall limit, with nothing written.
    void kapiacySerwer()
    {
        testy::SerwerHttp serwer;
        serwer.ustaw("/kap", {{200, QByteArray(100000, 'x'), {}, false, -1, 20}});
        QTemporaryDir katalog;
        Siec siec;
        siec.LimitCalkowityMs = 300;
        QElapsedTimer zegar;
        zegar.start();
        QVERIFY(!siec.Pobierz(QUrl(serwer.adres() + "/kap"), katalog.filePath("cel")));
        QVERIFY(zegar.elapsed() < 30000); // the drip alone would take over half an hour
        QCOMPARE(siec.OstatniBlad, Siec::Blad::Polaczenie);
        QVERIFY(!QFile::exists(katalog.filePath("cel")));
    }

    void przerwij_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QByteArray>("gdzie");
        QTest::newRow("button, on a set") << false << QByteArray("/vokara/dane/b.txt");
        QTest::newRow("Escape, on a set") << true << QByteArray("/vokara/dane/b.txt");
        QTest::newRow("button, on the list") << false << QByteArray("/vokara/dane/a_spis.txt");
    }

    // "Przerwij" (or Escape) in the progress window ends a stalled update at once; the data folder stays as it was.
    void przerwij()
    {
        Witryna w;
        w.plik("a_spis.txt", {"02.12.2026*1.0", "A*a.txt", "B*b.txt"});
        w.plik("a.txt", {"w*o", "a*a"});
        w.serwer.ustaw(WARTOSC(QByteArray, gdzie), {{200, {}, {}, true}});
        const auto przed = zawartosc(w.katalog.sciezka());
        const bool escape = WARTOSC(bool, escape);
        const QByteArray gdzie = WARTOSC(QByteArray, gdzie);
        w.serwer.przyZapytaniu = [&](const QByteArray& sciezka) {
            if (sciezka != gdzie)
                return;
            // A click on the main window while the download waits is not taken.
            QTest::mouseClick(testy::Formularz(*w.program->FGlowny).ButAktualizacja, Qt::LeftButton);
            QTimer::singleShot(50, [escape] {
                QProgressDialog* postep = oknoPostepu();
                QVERIFY(postep);
                if (escape)
                    QTest::keyClick(postep, Qt::Key_Escape);
                else
                    QTest::mouseClick(postep->findChild<QPushButton*>(), Qt::LeftButton);
            });
        };
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{Przerwana});
        QCOMPARE(zawartosc(w.katalog.sciezka()), przed);
        QCOMPARE(w.serwer.zapytania.last(), gdzie);
        QCOMPARE(w.serwer.zapytania.count(), gdzie.endsWith("b.txt") ? 3 : 1);
    }

    void dziennik_data()
    {
        QTest::addColumn<int>("krok");
        QTest::addColumn<int>("gotowe");
        QTest::addColumn<bool>("nowe");
        QTest::newRow("after the backups") << int(vokara::PoKopiach) << 0 << false;
        QTest::newRow("after the journal") << int(vokara::PoDzienniku) << 0 << false;
        QTest::newRow("after 1 move") << int(vokara::PoPrzeniesieniu) << 1 << false;
        QTest::newRow("after 2 moves") << int(vokara::PoPrzeniesieniu) << 2 << false;
        QTest::newRow("after the last move") << int(vokara::PoPrzeniesieniu) << 3 << false;
        QTest::newRow("after the commit") << int(vokara::PoZatwierdzeniu) << 3 << true;
    }

    // A replacement killed at each of its steps is mended at the next start: the data folder is wholly old or
    // wholly new, and its list is there.
    void dziennik()
    {
        QTemporaryDir katalog;
        const QString dane = katalog.filePath("dane");
        const QString posredni = dane + "/.aktualizacja";
        testy::zapisz(dane + "/a_spis.txt", "old list");
        testy::zapisz(dane + "/a.txt", "old a");
        testy::zapisz(dane + "/b.txt", "old b, not in the new list");
        const auto stare = zawartosc(dane);
        auto nowe = stare;
        for (const char* plik : {"a.txt", "c.txt", "a_spis.txt"}) {
            testy::zapisz(posredni + "/nowe/" + plik, QByteArray("new ") + plik);
            nowe[plik] = QByteArray("new ") + plik;
        }
        const int krok = WARTOSC(int, krok);
        const std::size_t gotowe = std::size_t(WARTOSC(int, gotowe));
        const pid_t dziecko = fork();
        QVERIFY(dziecko >= 0);
        if (dziecko == 0) {
            Aktualizacja::PrzeniesWszystkie({"a.txt", "c.txt", "a_spis.txt"}, posredni, dane,
                                            [&](int k, std::size_t g) {
                                                if (k == krok && g == gotowe)
                                                    raise(SIGKILL);
                                            });
            _exit(0);
        }
        int stan = 0;
        QCOMPARE(waitpid(dziecko, &stan, 0), dziecko);
        QVERIFY(WIFSIGNALED(stan) && WTERMSIG(stan) == SIGKILL);
        QVERIFY(Aktualizacja::NaprawFolderDanych(dane));
        QCOMPARE(zawartosc(dane), WARTOSC(bool, nowe) ? nowe : stare);
        QVERIFY(!QFileInfo::exists(posredni));
    }

    // Whatever stands where the staging folder goes never blocks an update.
    void staryWpisPosredni()
    {
        Witryna w;
        testy::zapisz(w.katalog.sciezka("dane/.aktualizacja"), "a file, not a folder");
        w.plik("a_spis.txt", {"02.12.2026*1.0", "A*a.txt"});
        w.plik("a.txt", {"w*o", "a*a"});
        w.aktualizuj();
        QCOMPARE(w.odpowiedzi->teksty, QStringList{w.uaktualnione("A", "Stary")});
        QVERIFY(!QFileInfo::exists(w.katalog.sciezka("dane/.aktualizacja")));
    }

    // Closing the main window while a download waits ends the wait and the update, with no notice and no change.
    void zamkniecieOkna()
    {
        Witryna w;
        w.plik("a_spis.txt", {"02.12.2026*1.0", "A*a.txt"});
        w.serwer.ustaw("/vokara/dane/a.txt", {{200, {}, {}, true}});
        const auto przed = zawartosc(w.katalog.sciezka());
        w.serwer.przyZapytaniu = [&w](const QByteArray& sciezka) {
            if (sciezka.endsWith("a.txt"))
                QTimer::singleShot(50, w.program->FGlowny.get(), [&w] { w.program->FGlowny->close(); });
        };
        QElapsedTimer zegar;
        zegar.start();
        w.aktualizuj();
        QVERIFY(zegar.elapsed() < 10000);
        QVERIFY(w.program->siec.Zamykanie());
        QVERIFY(!w.program->FGlowny->isVisible());
        QCOMPARE(w.odpowiedzi->teksty, QStringList());
        QCOMPARE(zawartosc(w.katalog.sciezka()), przed);
    }
};

QTEST_MAIN(TestAktualizacja)
#include "test_aktualizacja.moc"
