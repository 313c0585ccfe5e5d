// The exercise pages played through their real widgets: each on its own with its round where the test is about one
// page, in the whole program where it is about pronunciation or moving between pages.
#include "cwiczenie.h"
#include "formularz_testowy.h"
#include "program_testowy.h"
#include "slownik.h"
#include "stronafiszek.h"
#include "stronaodsluchu.h"
#include "stronasluchu.h"
#include "stronatestu.h"
#include "stronawpisu.h"
#include "tekst.h"
#include "wlasne.h"
#include "wyborzestawu.h"
#include "zbior.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QMediaPlayer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QWheelEvent>

using testy::cp;

namespace {

const QStringList Pochwaly{"Bardzo dobrze", "OK", "Poprawnie"};
const QStringList Nagany{
    "Błąd. Poprawna odpowiedź to: ", "Źle. Poprawna odpowiedź to: ", "Pomyłka. Poprawna odpowiedź to: "};

// A reproach ending so; a slip of the keyboard is told by "Prawie! " before it.
bool jestNagana(const QString& tekst, const QString& koniec, bool prawie = false)
{
    for (const auto& n : Nagany) {
        if (tekst == (prawie ? QStringLiteral("Prawie! ") : QString()) + n + koniec)
            return true;
    }
    return false;
}

} // namespace

// A started program on a working folder with the given sets, its boxes answered by `odpowiedzi`.
struct Gra {
    explicit Gra(const QList<QStringList>& zestawy)
    {
        QStringList lista{"01.12.2026*1.0"};
        for (int i = 0; i < zestawy.size(); ++i) {
            const QString plik = QStringLiteral("z%1.txt").arg(i);
            lista << QStringLiteral("Zestaw %1*%2").arg(i).arg(plik);
            katalog.zestaw(plik, QStringList{"Słowo*Znaczenie"} + zestawy[i]);
            // Every English word has a recording in the cache, so pronunciation needs no network.
            for (const auto& linia : zestawy[i])
                if (!linia.section('*', 0, 0).contains('/'))
                    testy::zapisz(katalog.sciezka("dane/voice/" + linia.section('*', 0, 0).toLower() + ".mp3"),
                                  testy::nagranie());
        }
        katalog.lista(lista);
        program = std::make_unique<Program>();
        odpowiedzi = std::make_unique<testy::Odpowiedzi>(*program->FWarning);
        if (!program->Pokaz() || !QTest::qWaitForWindowActive(program->FGlowny.get()))
            qFatal("program did not start");
    }

    testy::Formularz ui() { return testy::Formularz(*program->FGlowny); }
    // The round of the page in front.
    vokara::Runda& runda() { return *program->FGlowny->Strona(ui().PStrony->currentIndex())->Runda(); }
    std::vector<vokara::_word>& wyrazy() { return runda().Wyrazy(); }

    void strona(int p)
    {
        QTabBar* pasek = ui().PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(p).center());
    }

    void wybierz(TWyborZestawu* lista, int i) { testy::wybierz(lista, i); }

    StronaTestu& test() { return program->FGlowny->Strona<StronaTestu>(); }
    QLabel* etykieta(const char* nazwa) { return program->FGlowny->findChild<QLabel*>(QString::fromLatin1(nazwa)); }

    QString glos(const std::string& angielski) const
    {
        return katalog.sciezka("dane/voice/" + vokara::ZCp1250(angielski).toLower() + ".mp3");
    }
    QString zrodlo() const { return program->FSluchaj->Zrodlo(); }

    testy::Katalog katalog;
    std::unique_ptr<Program> program;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi;
};

// One page on its own, with its round and the services it is made with: the sets read from a working folder, the
// program's message box answered by `odpowiedzi`, pronunciations written down, and whatever `dopelnij` adds. Brought
// to the front as the main window would.
template <typename T> struct JednaStrona {
    explicit JednaStrona(const QList<QStringList>& zestawy,
                         const std::function<void(JednaStrona&, Uslugi&)>& dopelnij = {})
    {
        QStringList lista{"01.12.2026*1.0"};
        for (int i = 0; i < zestawy.size(); ++i) {
            const QString plik = QStringLiteral("z%1.txt").arg(i);
            lista << QStringLiteral("Zestaw %1*%2").arg(i).arg(plik);
            katalog.zestaw(plik, QStringList{"Słowo*Znaczenie"} + zestawy[i]);
        }
        katalog.lista(lista);
        dane.KatalogRoboczy = katalog.sciezka().toStdString();
        if (vokara::WczytajListe(dane) != vokara::ListaGotowa)
            qFatal("no sets");
        Uslugi uslugi;
        uslugi.Los = &los;
        uslugi.Wymow = [this](const std::string& slowo) { wymowione << vokara::ZCp1250(slowo); };
        uslugi.WymowTekst = [this](const QString& tekst) { wymowione << tekst; };
        uslugi.Komunikat = [this](int rodzaj, int ikona, const QString& tekst) {
            warning.Komunikat(rodzaj, ikona, tekst);
            return warning.WynikOkna;
        };
        uslugi.Zestaw = [this](int i, vokara::Zestaw& wynik) { return vokara::WczytajPlikZestawu(dane, i, wynik); };
        uslugi.Powtorka = [](vokara::Zestaw&) { return false; };
        uslugi.Odstepy = [this](const vokara::_word&) { return odstepy; };
        if (dopelnij)
            dopelnij(*this, uslugi);
        strona_ = std::make_unique<T>(uslugi);
        strona_->resize(993, 535);
        if (TWyborZestawu* wybor = strona_->Wybor()) {
            for (const auto& z : dane.Zestawy)
                wybor->addItem(vokara::ZCp1250(z.Nazwa));
            wybor->setCurrentIndex(-1);
        }
        strona_->show();
        if (!QTest::qWaitForWindowActive(strona_.get()))
            qFatal("the page did not show");
        strona_->Resetuj();
    }

    testy::Formularz ui() { return testy::Formularz(*strona_); }
    void strona(int) {} // the page is in front already
    void wybierz(TWyborZestawu* lista, int i) { testy::wybierz(lista, i); }
    vokara::Runda& runda() { return *strona_->Runda(); }
    std::vector<vokara::_word>& wyrazy() { return runda().Wyrazy(); }
    T& test() { return *strona_; }
    QLabel* etykieta(const char* nazwa) { return strona_->template findChild<QLabel*>(QString::fromLatin1(nazwa)); }

    testy::Katalog katalog;
    vokara::Dane dane;
    vokara::Losowanie los;
    TFWarning warning;
    std::unique_ptr<testy::Odpowiedzi> odpowiedzi = std::make_unique<testy::Odpowiedzi>(warning);
    QStringList wymowione;
    // What the memory's preview gives every entry: 10 minutes, 5 hours, 3 days, 400 days.
    std::array<std::int64_t, 4> odstepy{600000, 5 * 3600000, 3 * 86400000LL, 400 * 86400000LL};
    std::unique_ptr<T> strona_;
};

class TestStrony : public QObject {
    Q_OBJECT

    static QSet<QString> zbior(const QStringList& lista) { return {lista.begin(), lista.end()}; }

    // The installed dictionaries, read once for the suite; the test is skipped without them.
    static std::shared_ptr<vokara::Slownik> Slownik()
    {
        static std::shared_ptr<vokara::Slownik> slownik;
        const QString folder = QString::fromStdString(vokara::FolderSlownikow());
        if (!QFile::exists(folder + "/freedict-eng-pol.index") || !QFile::exists(folder + "/freedict-pol-eng.index"))
            return nullptr;
        if (!slownik)
            slownik = std::make_shared<vokara::Slownik>(folder.toStdString());
        return slownik;
    }

    template <typename G> static QLabel* opcja(G& g, int n)
    {
        return n == 1 ? g.ui().Lw1 : n == 2 ? g.ui().LW2 : g.ui().LW3;
    }

    template <typename G> static QStringList widoczneOpcje(G& g)
    {
        QStringList wynik;
        for (int n = 1; n <= 3; ++n) {
            if (opcja(g, n)->isVisible())
                wynik << opcja(g, n)->text();
        }
        return wynik;
    }

    // Clicks the option that is (or is not) the expected answer, then "Sprawdź".
    template <typename G> static void odpowiedzTest(G& g, bool dobrze)
    {
        const auto& biezacy = g.wyrazy()[std::size_t(g.runda().Biezacy)];
        const QString poprawna = vokara::ZCp1250(biezacy.Polski);
        for (int n = 1; n <= 3; ++n) {
            if (opcja(g, n)->isVisible() && (opcja(g, n)->text() == poprawna) == dobrze) {
                QTest::mouseClick(opcja(g, n), Qt::LeftButton);
                break;
            }
        }
        QTest::mouseClick(g.ui().ButSprawdz, Qt::LeftButton);
    }

private slots:
    void rundaTestuWyboru()
    {
        JednaStrona<StronaTestu> g({QStringList{"dog*pies", "cat*kot", "cow*krowa", "horse*koń"}});
        const auto ui = g.ui();
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        QCOMPARE(ui.LKomentarz->text(), Cwiczenie::KliknijNastepny);
        QCOMPARE(ui.LWyraz->text(), QStringLiteral("Słowo"));
        const auto kolejnosc = g.wyrazy(); // the shuffled A, B, C, D
        const auto angielski = [&](std::size_t i) { return vokara::ZCp1250(kolejnosc[i].Angielski); };

        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QVERIFY(!ui.RJezyk->isEnabled());
        QCOMPARE(ui.LDanyWyraz->text(), angielski(1)); // B first: the search starts after the first entry
        QCOMPARE(zbior(widoczneOpcje(g)).size(), 3);
        QVERIFY(widoczneOpcje(g).contains(vokara::ZCp1250(kolejnosc[1].Polski)));
        // Only a left click picks an option.
        QTest::mouseClick(ui.LW2, Qt::RightButton);
        QCOMPARE(g.test().Wybrana, -1);
        // "Sprawdź" with nothing picked.
        QTest::mouseClick(ui.ButSprawdz, Qt::LeftButton);
        QCOMPARE(g.odpowiedzi->teksty, QStringList{"Wybierz jedną z odpowiedzi"});
        QVERIFY(ui.ButSprawdz->isVisible());
        odpowiedzTest(g, true);
        QVERIFY(Pochwaly.contains(ui.LKomentarz->text()));
        QVERIFY(ui.ButNastepny->isVisible() && !ui.ButSprawdz->isVisible());

        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QCOMPARE(ui.LDanyWyraz->text(), angielski(2));
        odpowiedzTest(g, false);
        QVERIFY(jestNagana(ui.LKomentarz->text(), vokara::ZCp1250(kolejnosc[2].Polski)));
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QCOMPARE(ui.LDanyWyraz->text(), angielski(2)); // a wrong answer is asked again at once
        odpowiedzTest(g, true);
        for (std::size_t i : {3u, 0u}) {
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            QCOMPARE(ui.LDanyWyraz->text(), angielski(i));
            odpowiedzTest(g, true);
        }
        QCOMPARE(g.etykieta("LPostep")->text(), QStringLiteral("Zaliczone: 4 z 4, błędy: 1"));

        g.odpowiedzi->klawisze = {Qt::Key_N};
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QCOMPARE(g.odpowiedzi->teksty.last(), Cwiczenie::KoniecZestawu);
        QCOMPARE(ui.LKomentarz->text(), QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
        QVERIFY(!ui.RJezyk->isEnabled() && !ui.ButNastepny->isVisible() && !ui.Lw1->isVisible());
    }

    void powtorzenieZestawu_data()
    {
        QTest::addColumn<int>("klawisz");
        QTest::addColumn<bool>("gotowy");
        QTest::newRow("Tak reloads") << int(Qt::Key_T) << true;
        QTest::newRow("Anuluj leaves idle") << int(Qt::Key_A) << false;
    }

    void powtorzenieZestawu()
    {
        JednaStrona<StronaTestu> g({QStringList{"dog*pies", "cat*kot", "cow*krowa"}});
        const auto ui = g.ui();
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            // Every question of a 3-entry set shows all three translations.
            QCOMPARE(zbior(widoczneOpcje(g)), (QSet<QString>{"pies", "kot", "krowa"}));
            odpowiedzTest(g, true);
        }
        g.odpowiedzi->klawisze = {WARTOSC(int, klawisz)};
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        const bool gotowy = WARTOSC(bool, gotowy);
        QCOMPARE(ui.ButNastepny->isVisible(), gotowy);
        QCOMPARE(ui.CZestawSlow->currentIndex(), 0);
        if (gotowy) {
            QCOMPARE(ui.LKomentarz->text(), Cwiczenie::KliknijNastepny);
            for (const auto& w : g.wyrazy())
                QVERIFY(!w.Zaliczony);
        } else {
            QCOMPARE(ui.LKomentarz->text(), QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
        }
    }

    void kierunekIGlosniki()
    {
        Gra g({QStringList{"dog*pies", "cat*kot", "cow*krowa"}});
        const auto ui = g.ui();
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        QTest::mouseClick(ui.RJezyk_1, Qt::LeftButton);
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        const auto& b = g.wyrazy()[1];
        QCOMPARE(ui.LDanyWyraz->text(), vokara::ZCp1250(b.Polski));
        QCOMPARE(zbior(widoczneOpcje(g)), (QSet<QString>{"dog", "cat", "cow"}));
        QVERIFY(!ui.BSluchajWyraz_0->isVisible());
        QVERIFY(ui.BSluchajWyraz_1->isVisible() && ui.BSluchajWyraz_2->isVisible() && ui.BSluchajWyraz_3->isVisible());
        QTest::mouseClick(ui.BSluchajWyraz_2, Qt::LeftButton);
        QCOMPARE(g.zrodlo(), g.katalog.sciezka("dane/voice/" + ui.LW2->text() + ".mp3"));
        // The keyboard: a digit picks, Enter checks, Enter again goes on.
        QTest::keyClick(ui.ButSprawdz, Qt::Key_3);
        QCOMPARE(g.test().Wybrana, 3);
        QVERIFY(ui.LW3->styleSheet().contains("#9c6b3a"));
        QVERIFY(!ui.Lw1->styleSheet().contains("#9c6b3a"));
        QTest::keyClick(ui.CZestawSlow, Qt::Key_Return);
        QVERIFY(ui.ButNastepny->isVisible());
        const bool dobrze = ui.LW3->text() == "dog" || vokara::ZCp1250(b.Angielski) == ui.LW3->text();
        QCOMPARE(Pochwaly.contains(ui.LKomentarz->text()), dobrze);
        QTest::keyClick(ui.CZestawSlow, Qt::Key_Return);
        QVERIFY(ui.ButSprawdz->isVisible());

        // Direction 0: the given English word has the loudspeaker.
        g.wybierz(ui.CZestawSlow, 0);
        QTest::mouseClick(ui.RJezyk_0, Qt::LeftButton);
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QVERIFY(ui.BSluchajWyraz_0->isVisible() && !ui.BSluchajWyraz_1->isVisible());
        QTest::mouseClick(ui.BSluchajWyraz_0, Qt::LeftButton);
        QCOMPARE(g.zrodlo(), g.glos(g.wyrazy()[1].Angielski));
    }

    // The check shows at a glance which option was right: before it the pick in the skin's highlight, after it the
    // right one green and a wrong pick red, told to a screen reader too; the next question clears them.
    void werdyktWyboru()
    {
        JednaStrona<StronaTestu> g({QStringList{"dog*pies", "cat*kot", "cow*krowa"}});
        const auto ui = g.ui();
        g.wybierz(ui.CZestawSlow, 0);
        const auto kolor = [](QLabel* o) {
            for (const char* k : {"#9c6b3a", "#008000", "#b3261e"})
                if (o->styleSheet().contains(k))
                    return QString::fromLatin1(k);
            return QString();
        };
        const auto opis = [](QLabel* o) {
            return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Description);
        };
        for (const bool dobrze : {false, true}) {
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            const QString poprawna = vokara::ZCp1250(g.runda().PoprawnaOdpowiedz(0));
            QLabel* wybrana = nullptr;
            QLabel* dobra = nullptr;
            for (int n = 1; n <= 3; ++n) {
                if (opcja(g, n)->text() == poprawna)
                    dobra = opcja(g, n);
                else if (!wybrana)
                    wybrana = opcja(g, n);
                QCOMPARE(kolor(opcja(g, n)), QString());
            }
            if (dobrze)
                wybrana = dobra;
            QTest::mouseClick(wybrana, Qt::LeftButton);
            QCOMPARE(kolor(wybrana), QStringLiteral("#9c6b3a"));
            QCOMPARE(opis(wybrana), QStringLiteral("wybrana"));
            QTest::mouseClick(ui.ButSprawdz, Qt::LeftButton);
            QCOMPARE(kolor(dobra), QStringLiteral("#008000"));
            QCOMPARE(opis(dobra), QStringLiteral("poprawna odpowiedź"));
            int zwykle = 0;
            for (int n = 1; n <= 3; ++n)
                zwykle += kolor(opcja(g, n)).isEmpty() && opis(opcja(g, n)).isEmpty() ? 1 : 0;
            QCOMPARE(zwykle, dobrze ? 2 : 1);
            if (!dobrze) {
                QCOMPARE(kolor(wybrana), QStringLiteral("#b3261e"));
                QCOMPARE(opis(wybrana), QStringLiteral("wybrana, błędna"));
                // A click after the check changes the pick, not the verdict.
                QTest::mouseClick(dobra, Qt::LeftButton);
                QCOMPARE(kolor(wybrana), QStringLiteral("#b3261e"));
                QCOMPARE(g.test().Wybrana, dobra == ui.Lw1 ? 1 : dobra == ui.LW2 ? 2 : 3);
            }
        }
    }

    // A meaning as long as a set file keeps wraps inside its option instead of being cut.
    void dlugaOpcja()
    {
        const QString dlugie = QStringLiteral("bardzo długie znaczenie, które zajmuje prawie cały wiersz pliku "
                                              "i nie mieści się w jednej linii");
        JednaStrona<StronaTestu> g({QStringList{"long*" + dlugie, "cat*kot", "cow*krowa"}});
        const auto ui = g.ui();
        g.wybierz(ui.CZestawSlow, 0);
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            for (int n = 1; n <= 3; ++n) {
                QLabel* o = opcja(g, n);
                if (o->text() != dlugie)
                    continue;
                QVERIFY(o->wordWrap());
                QVERIFY2(o->heightForWidth(o->contentsRect().width()) <= o->contentsRect().height(),
                         qPrintable(QString::number(o->heightForWidth(o->contentsRect().width()))));
                return;
            }
            odpowiedzTest(g, true);
        }
        QFAIL("the long meaning never came up as an option");
    }

    // A set picked from the keyboard: Enter goes on to the first question.
    void enterPoWyborze()
    {
        JednaStrona<StronaWpisu> g({QStringList{"dog*pies"}});
        const auto ui = g.ui();
        g.wybierz(ui.CZestawSlow2, 0);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui.ButNastepny2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(ui.EWpis2->isVisible());
        QCOMPARE(ui.LDanyWyraz2->text(), QStringLiteral("dog"));
    }

    // The learner's word over a wrong verdict: Alt+U counts the entry, takes the mistake back and says so.
    void uznanie()
    {
        JednaStrona<StronaWpisu> g({QStringList{"dog*pies", "cat*kot"}});
        const auto ui = g.ui();
        QSignalSpy uznane(&g.test(), &TStrona::uznano);
        g.wybierz(ui.CZestawSlow2, 0);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        QVERIFY(!ui.ButUznaj2->isVisible());
        testy::wpisz(ui.EWpis2, QStringLiteral("pieski"));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QVERIFY(ui.ButUznaj2->isVisible());
        QCOMPARE(g.etykieta("LPostep2")->text(), QStringLiteral("Zaliczone: 0 z 2, błędy: 1"));
        QTest::keyClick(ui.EWpis2, Qt::Key_U, Qt::AltModifier);
        QCOMPARE(uznane.size(), 1);
        QCOMPARE(g.etykieta("LPostep2")->text(), QStringLiteral("Zaliczone: 1 z 2, błędy: 0"));
        QCOMPARE(ui.LKomentarz2->text(), QStringLiteral("Uznano Twoją odpowiedź za poprawną."));
        QVERIFY(!ui.ButUznaj2->isVisible());
        // The right answer of the next entry offers nothing to overrule.
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        testy::wpisz(ui.EWpis2, vokara::ZCp1250(g.runda().PoprawnaOdpowiedz(0)));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QVERIFY(!ui.ButUznaj2->isVisible());
    }

    void maleZestawy_data()
    {
        QTest::addColumn<QStringList>("wpisy");
        QTest::newRow("one entry") << QStringList{"dog*pies"};
        QTest::newRow("two entries") << QStringList{"dog*pies", "cat*kot"};
    }

    // Fewer than three entries: as many options as entries, never a duplicate, and the round ends.
    void maleZestawy()
    {
        const QStringList wpisy = WARTOSC(QStringList, wpisy);
        JednaStrona<StronaTestu> g({wpisy});
        const auto ui = g.ui();
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        for (int i = 0; i < wpisy.size(); ++i) {
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            const QStringList opcje = widoczneOpcje(g);
            QCOMPARE(opcje.size(), wpisy.size());
            QCOMPARE(QSet<QString>(opcje.begin(), opcje.end()).size(), opcje.size());
            QVERIFY(opcje.contains(vokara::ZCp1250(g.wyrazy()[std::size_t(g.runda().Biezacy)].Polski)));
            odpowiedzTest(g, true);
            QVERIFY(Pochwaly.contains(ui.LKomentarz->text()));
        }
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QCOMPARE(g.odpowiedzi->teksty, QStringList{Cwiczenie::KoniecZestawu});
    }

    void fiszki_data()
    {
        QTest::addColumn<int>("ocena");
        QTest::addColumn<int>("kierunek");
        QTest::newRow("1 Nie pamiętam, English given") << 1 << 0;
        QTest::newRow("1 Nie pamiętam, Polish given") << 1 << 1;
        QTest::newRow("2 Trudne") << 2 << 0;
        QTest::newRow("3 Dobrze, Polish given") << 3 << 1;
        QTest::newRow("4 Łatwe") << 4 << 0;
    }

    // A round of flashcards by the keys: Space shows the answer with the four grades and when each would bring the
    // entry back, a digit grades, Enter presses the focused button; "Nie pamiętam" brings the card back after the
    // others; the round ends with the end-of-round question. The English word is heard only once it is shown.
    void fiszki()
    {
        const int ocena = WARTOSC(int, ocena);
        const int kierunek = WARTOSC(int, kierunek);
        JednaStrona<StronaFiszek> g({QStringList{"dog*pies", "cat*kot", "cow*krowa"}});
        StronaFiszek& s = g.test();
        const auto p = [&](const char* nazwa) { return testy::znajdz<QWidget>(s, nazwa); };
        const auto opis = [](QWidget* w, QAccessible::Text t) {
            return QAccessible::queryAccessibleInterface(w)->text(t);
        };
        QSignalSpy oceny(&s, &TStrona::ocenione);
        auto* wybor = testy::znajdz<TWyborZestawu>(s, "CZestawSlow5");
        g.wybierz(wybor, 0);
        QTest::mouseClick(p(kierunek == 1 ? "RJezyk5_1" : "RJezyk5_0"), Qt::LeftButton);
        const auto kolejnosc = g.wyrazy();
        const auto dany = [&](std::size_t i) {
            return vokara::ZCp1250(kierunek == 1 ? kolejnosc[i].Polski : kolejnosc[i].Angielski);
        };
        QTest::mouseClick(p("ButNastepny5"), Qt::LeftButton);
        QCOMPARE(g.etykieta("LDanyWyraz5")->text(), dany(0));
        QCOMPARE(g.etykieta("LWyraz5")->text(), kierunek == 1 ? QStringLiteral("Znaczenie") : QStringLiteral("Słowo"));
        QVERIFY(!g.etykieta("LOdpowiedz5")->isVisible() && !s.Przycisk(1)->isVisible());
        QCOMPARE(p("BSluchajWyraz5")->isVisible(), kierunek == 0);
        // Before the answer shows a digit grades nothing, and the English answer is not given away by Alt+L.
        QTest::keyClick(wybor, Qt::Key_3);
        QTest::keyClick(wybor, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(oceny.count(), 0);
        QCOMPARE(g.wymowione, kierunek == 0 ? QStringList{dany(0)} : QStringList{});
        g.wymowione.clear();
        // A loudspeaker reached by Tab keeps its Space.
        if (kierunek == 0) {
            p("BSluchajWyraz5")->setFocus();
            QTest::keyClick(p("BSluchajWyraz5"), Qt::Key_Space);
            QCOMPARE(g.wymowione, QStringList{dany(0)});
            QVERIFY(!g.etykieta("LOdpowiedz5")->isVisible());
            g.wymowione.clear();
            wybor->setFocus();
        }

        QTest::keyClick(wybor, Qt::Key_Space);
        QVERIFY(g.etykieta("LOdpowiedz5")->isVisible() && !p("ButPokaz5")->isVisible());
        QCOMPARE(g.etykieta("LOdpowiedz5")->text(),
                 vokara::ZCp1250(kierunek == 1 ? kolejnosc[0].Angielski : kolejnosc[0].Polski));
        const QStringList nazwy{"Nie pamiętam", "Trudne", "Dobrze", "Łatwe"};
        const QStringList kiedy{"za 10 min", "za 5 godz.", "za 3 dni", "za 1 rok"};
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(s.Przycisk(n)->isVisible());
            QCOMPARE(s.Przycisk(n)->text(), nazwy[n - 1] + '\n' + kiedy[n - 1]);
            QCOMPARE(opis(s.Przycisk(n), QAccessible::Name), nazwy[n - 1]);
            QCOMPARE(opis(s.Przycisk(n), QAccessible::Description), kiedy[n - 1]);
        }
        QCOMPARE(QApplication::focusWidget(), p("ButDobrze"));
        QTest::keyClick(wybor, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(g.wymowione, QStringList{vokara::ZCp1250(kolejnosc[0].Angielski)});

        QTest::keyClick(wybor, Qt::Key(Qt::Key_0 + ocena));
        QCOMPARE(oceny.count(), 1);
        const auto zapis = oceny.takeFirst();
        QCOMPARE(zapis[0].value<vokara::_word>().Angielski, kolejnosc[0].Angielski);
        QCOMPARE(zapis.mid(1), (QVariantList{StronaFiszek::Id, kierunek, ocena}));
        QCOMPARE(g.etykieta("LPostep5")->text(),
                 QStringLiteral("Zaliczone: %1 z 3, błędy: %2").arg(ocena > 1 ? 1 : 0).arg(ocena == 1 ? 1 : 0));
        // The next card at once; Enter on the focused button shows its answer, Enter again grades it "Dobrze".
        g.odpowiedzi->klawisze = {Qt::Key_N};
        for (std::size_t i : {1u, 2u}) {
            QCOMPARE(g.etykieta("LDanyWyraz5")->text(), dany(i));
            QCOMPARE(QApplication::focusWidget(), p("ButPokaz5"));
            QTest::keyClick(p("ButPokaz5"), Qt::Key_Return);
            QTest::keyClick(p("ButDobrze"), Qt::Key_Return);
        }
        if (ocena == 1) {
            QCOMPARE(g.etykieta("LDanyWyraz5")->text(), dany(0));
            QTest::mouseClick(p("ButPokaz5"), Qt::LeftButton);
            QTest::mouseClick(s.Przycisk(4), Qt::LeftButton);
        }
        QTRY_COMPARE(g.odpowiedzi->teksty, QStringList{Cwiczenie::KoniecZestawu});
        QCOMPARE(oceny.count(), ocena == 1 ? 3 : 2);
        QCOMPARE(oceny.last().at(3).toInt(), ocena == 1 ? 4 : 3);
        QCOMPARE(g.etykieta("LPostep5")->text(), QStringLiteral("Zaliczone: 3 z 3, błędy: %1").arg(ocena == 1 ? 1 : 0));
        QVERIFY(!p("ButPokaz5")->isVisible() && !s.Przycisk(3)->isVisible());
    }

    void rundaWpisywania()
    {
        JednaStrona<StronaWpisu> g({QStringList{"dog*pies", "cat*kot", "cow*krowa"}});
        const auto ui = g.ui();
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 0);
        const auto kolejnosc = g.wyrazy();
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        QVERIFY(!ui.RJezyk2->isEnabled());
        QCOMPARE(ui.LDanyWyraz2->text(), vokara::ZCp1250(kolejnosc[0].Angielski)); // from -1 to the first entry
        QTRY_VERIFY2(
            ui.EWpis2->hasFocus(),
            qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString("none")));
        // Enter three times: check, next, then an empty answer.
        testy::wpisz(ui.EWpis2, vokara::ZCp1250(kolejnosc[0].Polski));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QVERIFY(Pochwaly.contains(ui.LKomentarz2->text()));
        QCOMPARE(ui.EWpis2->text(), vokara::ZCp1250(kolejnosc[0].Polski));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QCOMPARE(ui.LDanyWyraz2->text(), vokara::ZCp1250(kolejnosc[1].Angielski));
        QCOMPARE(ui.EWpis2->text(), QString());
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QCOMPARE(g.odpowiedzi->teksty, QStringList{"Wpisz, proszę, odpowiedź"});
        // A wrong entry comes back only after the others.
        QTest::keyClicks(ui.EWpis2, QStringLiteral("xyz"));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QVERIFY(jestNagana(ui.LKomentarz2->text(), vokara::ZCp1250(kolejnosc[1].Polski)));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QCOMPARE(ui.LDanyWyraz2->text(), vokara::ZCp1250(kolejnosc[2].Angielski));
        testy::wpisz(ui.EWpis2, vokara::ZCp1250(kolejnosc[2].Polski));
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QTest::keyClick(ui.EWpis2, Qt::Key_Return);
        QCOMPARE(ui.LDanyWyraz2->text(), vokara::ZCp1250(kolejnosc[1].Angielski));
    }

    void dokladnePorownanie_data()
    {
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<bool>("dobrze");
        QTest::addColumn<bool>("prawie"); // a wrong answer one slip from the right one
        QTest::newRow("exact") << "pies" << true << false;
        QTest::newRow("capital") << "Pies" << false << true;
        QTest::newRow("trailing blank") << "pies " << true << false;
        QTest::newRow("blanks around") << "  pies  " << true << false;
        QTest::newRow("capital and blank") << " Pies" << false << true;
        QTest::newRow("no Windows-1250 form") << "pies😀" << false << false;
    }

    void dokladnePorownanie()
    {
        JednaStrona<StronaWpisu> g({QStringList{"dog*pies"}});
        const auto ui = g.ui();
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 0);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        ui.EWpis2->setText(WARTOSC(QString, wpisane));
        QTest::mouseClick(ui.ButSprawdz2, Qt::LeftButton);
        if (WARTOSC(bool, dobrze))
            QVERIFY(Pochwaly.contains(ui.LKomentarz2->text()));
        else
            QVERIFY(jestNagana(ui.LKomentarz2->text(), "pies", WARTOSC(bool, prawie)));
    }

    // Slips of the keyboard and the mouse: a wheel notch, an arrow or a letter over a closed picker keeps the round;
    // Enter presses a focused button; Alt+L works on the choice page too.
    void klawiszeIMysz()
    {
        Gra g({QStringList{"dog*pies", "cat*kot", "cow*krowa"}, QStringList{"sun*słońce"}});
        const auto ui = g.ui();
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 0);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        const QString pytanie = ui.LDanyWyraz2->text();
        QWheelEvent kolko(QPointF(10, 10), ui.CZestawSlow2->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ui.CZestawSlow2, &kolko);
        ui.CZestawSlow2->setFocus();
        for (int k : {Qt::Key_End, Qt::Key_PageDown, Qt::Key_S})
            QTest::keyClick(ui.CZestawSlow2, Qt::Key(k));
        QTest::keyClick(ui.CZestawSlow2, Qt::Key_Down);
        QTRY_VERIFY(ui.CZestawSlow2->view()->isVisible()); // the arrow opens the list, it picks nothing
        QTest::keyClick(ui.CZestawSlow2->view(), Qt::Key_Escape);
        QTRY_VERIFY(!ui.CZestawSlow2->view()->isVisible());
        QCOMPARE(ui.CZestawSlow2->currentIndex(), 0);
        QCOMPARE(g.wyrazy().size(), std::size_t(3));
        QCOMPARE(ui.LDanyWyraz2->text(), pytanie);
        QVERIFY(ui.ButSprawdz2->isVisible());

        // Enter on the focused "Sprawdź", then on the focused "Następny".
        ui.EWpis2->setText(vokara::ZCp1250(g.runda().BiezacyWyraz().Polski));
        ui.ButSprawdz2->setFocus();
        QTest::keyClick(ui.ButSprawdz2, Qt::Key_Return);
        QVERIFY(Pochwaly.contains(ui.LKomentarz2->text()));
        ui.ButNastepny2->setFocus();
        QTest::keyClick(ui.ButNastepny2, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(ui.LDanyWyraz2->text() != pytanie);

        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QTest::keyClick(ui.ButSprawdz, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(g.zrodlo(), g.glos(g.runda().BiezacyWyraz().Angielski));
    }

    // What a screen reader hears: the options with their words across two questions, the picked one, the fields
    // named by their labels and the tabs without padding.
    void dostepnosc()
    {
        const auto nazwa = [](QObject* o, QAccessible::Text t = QAccessible::Name) {
            return QAccessible::queryAccessibleInterface(o)->text(t);
        };
        Gra g({QStringList{"dog*pies", "cat*kot", "cow*krowa", "horse*koń"}});
        const auto ui = g.ui();
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        for (int pytanie = 0; pytanie < 2; ++pytanie) {
            QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
            for (int n = 1; n <= 3; ++n)
                QCOMPARE(nazwa(opcja(g, n)), QStringLiteral("Odpowiedź %1: %2").arg(n).arg(opcja(g, n)->text()));
            // Tab from the direction reaches the options; Space picks the focused one.
            ui.CZestawSlow->setFocus();
            for (int i = 0; i < 3 && QApplication::focusWidget() != ui.Lw1; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), ui.Lw1);
            QTest::keyClick(ui.Lw1, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), ui.LW2);
            QTest::keyClick(ui.LW2, Qt::Key_Space);
            QCOMPARE(g.test().Wybrana, 2);
            QCOMPARE(nazwa(ui.LW2, QAccessible::Description), QStringLiteral("wybrana"));
            QCOMPARE(nazwa(ui.Lw1, QAccessible::Description), QString());
            QTest::mouseClick(ui.ButSprawdz, Qt::LeftButton);
        }
        QCOMPARE(nazwa(ui.EWpis4), ui.LTekst->text());
        QCOMPARE(nazwa(ui.CZestawSlow3), QStringLiteral("Zestawy słów"));
        QAccessibleInterface* pasek = QAccessible::queryAccessibleInterface(ui.PStrony->tabBar());
        QCOMPARE(pasek->child(2)->text(QAccessible::Name), QStringLiteral("Wpisywanie słowa"));
    }

    void znacznikiWDanych()
    {
        JednaStrona<StronaTestu> g({QStringList{"<b>dog</b>*<img src=x>"}});
        const auto ui = g.ui();
        g.strona(1);
        g.wybierz(ui.CZestawSlow, 0);
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QCOMPARE(ui.LDanyWyraz->text(), QStringLiteral("<b>dog</b>"));
        QCOMPARE(ui.LDanyWyraz->textFormat(), Qt::PlainText);
        QCOMPARE(ui.Lw1->text(), QStringLiteral("<img src=x>"));
        QCOMPARE(ui.Lw1->textFormat(), Qt::PlainText);
    }

    void altLTylkoZAngielskiego()
    {
        Gra g({QStringList{"dog*pies"}});
        const auto ui = g.ui();
        g.strona(2);
        g.wybierz(ui.CZestawSlow2, 0);
        QTest::mouseClick(ui.RJezyk2_1, Qt::LeftButton);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        QCOMPARE(ui.LDanyWyraz2->text(), QStringLiteral("pies"));
        QVERIFY(!ui.BSluchajWyrazWpis->isVisible());
        QTest::keyClick(ui.EWpis2, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(g.zrodlo(), QString());
        g.wybierz(ui.CZestawSlow2, 0);
        QTest::mouseClick(ui.RJezyk2_0, Qt::LeftButton);
        QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
        QVERIFY(ui.BSluchajWyrazWpis->isVisible());
        QTest::keyClick(ui.EWpis2, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(g.zrodlo(), g.glos("dog"));
        QCOMPARE(ui.EWpis2->text(), QString());
    }

    void dyktando_data()
    {
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<QString>("koniec"); // what the comment ends with; empty for plain praise
        QTest::addColumn<bool>("dobrze");
        QTest::newRow("dog") << "dog" << QString() << true;
        QTest::newRow("DOG") << "DOG" << QString() << true;
        QTest::newRow("Dog") << "Dog" << QString() << true;
        QTest::newRow("meaning") << "Pies"
                                 << ". Angielskie słowo to: Dog" << true;
        QTest::newRow("wrong") << "cat"
                               << "Dog [pies]" << false;
    }

    void dyktando()
    {
        Gra g({QStringList{"Dog*pies", "ice cream*lody", "New York*Nowy Jork"}});
        const auto ui = g.ui();
        g.strona(3);
        g.wybierz(ui.CZestawSlow3, 0);
        QCOMPARE(g.etykieta("LPostep3")->text(), QStringLiteral("Zaliczone: 0 z 1, błędy: 0"));
        QTest::mouseClick(ui.ButNastepny3, Qt::LeftButton);
        QCOMPARE(g.zrodlo(), g.glos("Dog")); // every new question plays its word
        testy::wpisz(ui.EWpis3, WARTOSC(QString, wpisane));
        QTest::keyClick(ui.EWpis3, Qt::Key_Return);
        const QString komentarz = ui.LKomentarz3->text();
        const QString koniec = WARTOSC(QString, koniec);
        if (!WARTOSC(bool, dobrze)) {
            QVERIFY2(jestNagana(komentarz, koniec), qPrintable(komentarz));
        } else {
            QVERIFY2(Pochwaly.contains(komentarz.chopped(koniec.size())) && komentarz.endsWith(koniec),
                     qPrintable(komentarz));
        }
        QVERIFY(ui.ButNastepny3->isVisible());
        const int zadania = g.program->FSluchaj->Zadania();
        QTest::keyClick(ui.EWpis3, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(g.program->FSluchaj->Zadania(), zadania + 1);
        QCOMPARE(g.zrodlo(), g.glos("Dog"));
    }

    void polskieWielkieLitery_data()
    {
        QTest::addColumn<QString>("polski");
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<bool>("dobrze");
        QTest::newRow("small letters") << "Żaba"
                                       << "żaba" << true;
        QTest::newRow("all capitals") << "Żaba"
                                      << "ŻABA" << true;
        QTest::newRow("every Polish capital") << "ąćęłńóśźż"
                                              << "ĄĆĘŁŃÓŚŹŻ" << true;
        QTest::newRow("without the marks") << "Żaba"
                                           << "zaba" << true;
        QTest::newRow("another word") << "Żaba"
                                      << "kot" << false;
    }

    // The dictation folds the Polish capitals as well as A-Z.
    void polskieWielkieLitery()
    {
        const QString polski = WARTOSC(QString, polski);
        JednaStrona<StronaSluchu> g({QStringList{"frog*" + polski}});
        const auto ui = g.ui();
        g.strona(3);
        g.wybierz(ui.CZestawSlow3, 0);
        QTest::mouseClick(ui.ButNastepny3, Qt::LeftButton);
        testy::wpisz(ui.EWpis3, WARTOSC(QString, wpisane));
        QTest::mouseClick(ui.ButSprawdz3, Qt::LeftButton);
        const QString komentarz = ui.LKomentarz3->text();
        if (WARTOSC(bool, dobrze))
            QVERIFY2(komentarz.endsWith(". Angielskie słowo to: frog"), qPrintable(komentarz));
        else
            QVERIFY2(jestNagana(komentarz, "frog [" + polski + "]"), qPrintable(komentarz));
    }

    void samePrazy()
    {
        JednaStrona<StronaSluchu> g({QStringList{"ice cream*lody", "New York*Nowy Jork"}});
        const auto ui = g.ui();
        g.strona(3);
        g.wybierz(ui.CZestawSlow3, 0);
        g.odpowiedzi->klawisze = {Qt::Key_T};
        QTest::mouseClick(ui.ButNastepny3, Qt::LeftButton);
        QCOMPARE(g.odpowiedzi->teksty, QStringList{Cwiczenie::KoniecZestawu});
        // Repeating leaves the phrases out again.
        QCOMPARE(g.runda().Zaliczone(), 2);
        QVERIFY(ui.ButNastepny3->isVisible());
    }

    // A shorter set picked in the middle of a question, then every button and key: nothing reads past the set.
    void krotszyZestawWTrakcie()
    {
        Gra g(QList<QStringList>{{"dog*pies", "cat*kot", "cow*krowa", "horse*koń", "bird*ptak"}, {"sun*słońce"}});
        const auto ui = g.ui();
        for (int strona : {1, 2, 3}) {
            g.strona(strona);
            auto* lista = strona == 1 ? ui.CZestawSlow : strona == 2 ? ui.CZestawSlow2 : ui.CZestawSlow3;
            g.wybierz(lista, 0);
            for (int i = 0; i < 4; ++i)
                QTest::mouseClick(strona == 1   ? ui.ButNastepny
                                  : strona == 2 ? ui.ButNastepny2
                                                : ui.ButNastepny3,
                                  Qt::LeftButton);
            g.wybierz(lista, 1);
            QVERIFY(g.runda().Biezacy >= 1);
            for (QAbstractButton* b : ui.PStrony->widget(strona)->findChildren<QAbstractButton*>())
                b->click();
            for (QLineEdit* e : {ui.EWpis2, ui.EWpis3}) {
                e->setText("x");
                QTest::keyClick(e, Qt::Key_Return);
                QTest::keyClick(e, Qt::Key_L, Qt::AltModifier);
            }
            for (int k : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_Return})
                QTest::keyClick(lista, Qt::Key(k));
        }
        QCOMPARE(g.wyrazy().size(), std::size_t(1));
    }

    // The dictionary page with the installed dictionaries (skipped without them): a typed word's headword line, its
    // meanings under the field, a Polish word's English candidates each with its loudspeaker, what a screen reader
    // hears; Enter still speaks the typed text.
    // The English word given shows its IPA in a small line under it; the Polish given shows none, and the dictation
    // shows the word with its IPA only once the answer is checked.
    void ipaWCwiczeniach()
    {
        const auto slownik = Slownik();
        if (!slownik)
            QSKIP("the FreeDict dictionaries are not installed");
        const auto zeSlownikiem = [&](auto&, Uslugi& u) { u.Slownik = slownik; };
        {
            JednaStrona<StronaWpisu> g({QStringList{"umbrella*parasol"}}, zeSlownikiem);
            const auto ui = g.ui();
            g.wybierz(ui.CZestawSlow2, 0);
            QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(ui.LIpa2->text(), QStringLiteral("/ʌmˈbrələ/"), 5000);
            QVERIFY(ui.LIpa2->isVisible());
            QCOMPARE(ui.LIpa2->geometry().top(), ui.LDanyWyraz2->geometry().bottom() + 0); // just under the word
            g.wybierz(ui.CZestawSlow2, 0);
            QTest::mouseClick(ui.RJezyk2_1, Qt::LeftButton);
            QTest::mouseClick(ui.ButNastepny2, Qt::LeftButton);
            QTest::qWait(100);
            QVERIFY(!ui.LIpa2->isVisible());
        }
        JednaStrona<StronaSluchu> g({QStringList{"umbrella*parasol"}}, zeSlownikiem);
        const auto ui = g.ui();
        g.wybierz(ui.CZestawSlow3, 0);
        QTest::mouseClick(ui.ButNastepny3, Qt::LeftButton);
        QTest::qWait(100);
        QVERIFY(!ui.LIpa3->isVisible());
        testy::wpisz(ui.EWpis3, QStringLiteral("parasol"));
        QTest::keyClick(ui.EWpis3, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(ui.LIpa3->text(), QStringLiteral("umbrella  /ʌmˈbrələ/"), 5000);
    }

    void slownikNaStronie_data()
    {
        QTest::addColumn<QString>("wpis");
        QTest::addColumn<QString>("naglowek");
        QTest::addColumn<QString>("znaczenie");
        QTest::addColumn<bool>("glosnik");
        QTest::newRow("eng-pol with its IPA") << "umbrella"
                                              << "umbrella  /ʌmˈbrələ/"
                                              << "parasol" << false;
        QTest::newRow("only in pol-eng, read backwards") << "knife"
                                                         << "knife  /"
                                                         << "nóż" << false;
        QTest::newRow("an inflected form") << "Knives"
                                           << "knife  /"
                                           << "nóż" << false;
        QTest::newRow("Polish to English") << "łyżka"
                                           << "łyżka – po angielsku:"
                                           << "spoon" << true;
    }

    void slownikNaStronie()
    {
        const auto slownik = Slownik();
        if (!slownik)
            QSKIP("the FreeDict dictionaries are not installed");
        JednaStrona<StronaOdsluchu> g({QStringList{"dog*pies"}}, [&](auto&, Uslugi& u) { u.Slownik = slownik; });
        auto& s = g.test();
        auto* pole = g.ui().EWpis4;
        testy::wpisz(pole, WARTOSC(QString, wpis));
        auto* haslo = testy::znajdz<QLabel>(s, "LHaslo4");
        QTRY_VERIFY_WITH_TIMEOUT(haslo->text().startsWith(WARTOSC(QString, naglowek)), 5000);
        QVERIFY(!s.Pozycje().empty() && s.Pozycje().size() <= std::size_t(StronaOdsluchu::NajwiecejZnaczen));
        QCOMPARE(s.Wybrana(), 0);
        int i = 0;
        while (i < int(s.Pozycje().size()) && s.Pozycje()[std::size_t(i)].Tekst != WARTOSC(QString, znaczenie))
            ++i;
        QVERIFY2(i < int(s.Pozycje().size()), qPrintable(haslo->accessibleName()));
        auto* wybor = testy::znajdz<QRadioButton>(s, QStringLiteral("RZnaczenie4_%1").arg(i + 1).toLatin1());
        QVERIFY(wybor->isVisible());
        QCOMPARE(wybor->text(), WARTOSC(QString, znaczenie));
        QVERIFY(!wybor->accessibleDescription().isEmpty()); // its part of speech, at least
        QVERIFY(haslo->accessibleName().contains(WARTOSC(QString, znaczenie)));
        auto* glosnik = testy::znajdz<QToolButton>(s, QStringLiteral("BSluchajZnaczenie4_%1").arg(i + 1).toLatin1());
        QCOMPARE(glosnik->isVisible(), WARTOSC(bool, glosnik));
        if (glosnik->isVisible()) {
            QTest::mouseClick(glosnik, Qt::LeftButton);
            QCOMPARE(g.wymowione.last(), WARTOSC(QString, znaczenie));
        }
        QTest::keyClick(pole, Qt::Key_Return);
        QCOMPARE(g.wymowione.last(), WARTOSC(QString, wpis));
        // Back from another page the field and the results are empty.
        s.Resetuj();
        QVERIFY(haslo->text().isEmpty() && !wybor->isVisible() && s.Pozycje().empty());
    }

    // "Dodaj do moich zestawów" on the real own sets of the working folder: the meaning picked from the keyboard goes
    // into a new set "Moje słówka", the next word into the same set, now first in the list; a pair already there and
    // a meaning with no Windows-1250 form are refused in the page and leave the file as it was.
    void dodajDoMoich()
    {
        const auto slownik = Slownik();
        if (!slownik)
            QSKIP("the FreeDict dictionaries are not installed");
        std::filesystem::path katalog;
        int odswiezone = 0;
        JednaStrona<StronaOdsluchu> g({QStringList{"dog*pies"}}, [&](auto& j, Uslugi& u) {
            katalog = j.dane.KatalogRoboczy;
            u.Slownik = slownik;
            u.MojeZestawy = [&] { return vokara::NazwyMoichOdOstatniego(katalog); };
            u.DodajDoMoich = [&](const QString& ang, const QString& pol, const QString& zestaw, QString& blad) {
                ++odswiezone;
                return vokara::DodajDoMojego(katalog, ang, pol, zestaw, blad);
            };
        });
        // An own set written long ago comes after the one used now.
        QString blad;
        QVERIFY(vokara::DodajDoMojego(katalog, "cat", "kot", "Stary", blad));
        QFile stary(QString::fromStdString((katalog / "dane" / "moje_stary.txt").string()));
        QVERIFY(stary.open(QIODevice::ReadWrite));
        QVERIFY(stary.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime));
        stary.close();

        auto& s = g.test();
        auto* pole = g.ui().EWpis4;
        auto* komunikat = testy::znajdz<QLabel>(s, "LKomunikat4");
        auto* zestawy = testy::znajdz<QComboBox>(s, "CZestaw4");
        auto* dodaj = testy::znajdz<QPushButton>(s, "BDodaj4");
        const auto szukaj = [&](const QString& slowo) {
            pole->clear();
            testy::wpisz(pole, slowo);
            QTRY_VERIFY_WITH_TIMEOUT(!s.Pozycje().empty() && s.Pozycje()[0].Polski.size() > 0 &&
                                         (s.Pozycje()[0].Angielski.startsWith(slowo) || s.Pozycje()[0].Polski == slowo),
                                     5000);
        };
        const auto pary = [&] {
            vokara::WlasnyZestaw z;
            return vokara::WczytajWlasny(katalog, "moje_moje_slowka.txt", z) ? z.Pary : QList<vokara::Para>();
        };
        szukaj("umbrella");
        QCOMPARE(zestawy->itemData(0).toString(), QStringLiteral("Stary"));
        QCOMPARE(zestawy->itemText(1), QStringLiteral("Moje słówka (nowy zestaw)"));
        zestawy->setCurrentIndex(1);
        // The second meaning, picked from the keyboard: Tab from the field to the meanings, the arrow down.
        auto* pierwszy = testy::znajdz<QRadioButton>(s, "RZnaczenie4_1");
        QTest::keyClick(pole, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), pierwszy);
        QTest::keyClick(pierwszy, Qt::Key_Down);
        QCOMPARE(s.Wybrana(), 1);
        QCOMPARE(s.Pozycje()[1].Polski, QStringLiteral("parasolka"));
        QTest::keyClick(dodaj, Qt::Key_Return);
        QCOMPARE(komunikat->text(), QStringLiteral("Dodano „umbrella – parasolka” do zestawu „Moje słówka”."));
        QCOMPARE(pary(), (QList<vokara::Para>{{"umbrella", "parasolka"}}));
        QCOMPARE(vokara::NazwyMoichOdOstatniego(katalog), (QStringList{"Moje słówka", "Stary"}));
        QCOMPARE(zestawy->currentData().toString(), QStringLiteral("Moje słówka"));

        szukaj(QStringLiteral("łyżka"));
        QCOMPARE(zestawy->itemData(0).toString(), QStringLiteral("Moje słówka"));
        QTest::mouseClick(dodaj, Qt::LeftButton);
        QCOMPARE(pary(), (QList<vokara::Para>{{"umbrella", "parasolka"}, {"spoon", QStringLiteral("łyżka")}}));
        QTest::mouseClick(dodaj, Qt::LeftButton);
        QVERIFY(komunikat->text().contains(QStringLiteral("jest już w zestawie")));

        szukaj(QStringLiteral("naiwny"));
        int i = 0;
        while (i < int(s.Pozycje().size()) && s.Pozycje()[std::size_t(i)].Angielski != QStringLiteral("naïve"))
            ++i;
        if (i == int(s.Pozycje().size()))
            QSKIP("this pol-eng gives no \"naïve\" for \"naiwny\"");
        QTest::mouseClick(testy::znajdz<QRadioButton>(s, QStringLiteral("RZnaczenie4_%1").arg(i + 1).toLatin1()),
                          Qt::LeftButton);
        QCOMPARE(s.Wybrana(), i);
        const int przed = odswiezone;
        QTest::mouseClick(dodaj, Qt::LeftButton);
        QVERIFY2(komunikat->text().contains(QStringLiteral("Windows-1250")), qPrintable(komunikat->text()));
        QCOMPARE(odswiezone, przed);
        QCOMPARE(pary().size(), 2);
    }

    // Without the dictionaries the page says so once in its own line, and pronunciation works as before.
    void bezSlownika()
    {
        QTemporaryDir pusty;
        JednaStrona<StronaOdsluchu> g({QStringList{"dog*pies"}}, [&](auto&, Uslugi& u) {
            u.Slownik = std::make_shared<vokara::Slownik>(pusty.path().toStdString());
        });
        auto* komunikat = testy::znajdz<QLabel>(g.test(), "LKomunikat4");
        QTRY_COMPARE(komunikat->text(), QString::fromUtf8(vokara::KomunikatBrakuSlownika));
        testy::wpisz(g.ui().EWpis4, QStringLiteral("house"));
        QTest::keyClick(g.ui().EWpis4, Qt::Key_Return);
        QCOMPARE(g.wymowione, QStringList{"house"});
        QTest::qWait(StronaOdsluchu::PrzerwaPisania + 100);
        QCOMPARE(komunikat->text(), QString::fromUtf8(vokara::KomunikatBrakuSlownika));
        QVERIFY(g.test().Pozycje().empty() && g.odpowiedzi->teksty.isEmpty());
    }
};

QTEST_MAIN(TestStrony)
#include "test_strony.moc"
