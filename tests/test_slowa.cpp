// Words from a text: which files count as running text, a subtitle file to its word list in the window and the own set
// made of it, texts refused, and the program opening a file in the right window.
#include "fmojezestawy.h"
#include "fslowaztekstu.h"
#include "program_testowy.h"
#include "slownik.h"
#include "ui_fslowaztekstu.h"
#include "wlasne.h"
#include "zbior.h"

#include <QSignalSpy>
#include <QTabBar>

#include <sys/stat.h>

namespace {

// A film's subtitles: numbers and time lines, markup, a name, function words, a word no dictionary has, plurals and
// the -ing form folded to their headwords.
const QByteArray Napisy = "1\r\n00:00:01,000 --> 00:00:03,500\r\n"
                          "<i>Take the umbrella, Harry, it's raining.</i>\r\n\r\n"
                          "2\r\n00:00:04,000 --> 00:00:06,000\r\n"
                          "Where are the umbrellas? In the kitchen.\r\n\r\n"
                          "3\r\n00:00:06,500 --> 00:00:09,000\r\n"
                          "Harry left his umbrella and two knives in the kitchen.\r\n\r\n"
                          "4\r\n00:00:09,500 --> 00:00:12,000\r\n"
                          "Blorfing again? Harry, the spoon!\r\n";

} // namespace

class TestSlowa : public QObject {
    Q_OBJECT

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

    // The window on a working folder of its own, its sets made by the program's own saving.
    struct Okno {
        explicit Okno(std::vector<std::string> znane = {})
        {
            QDir().mkpath(katalog.filePath("dane"));
            UslugiSlow u;
            u.Slownik = Slownik();
            u.Znane = [znane] { return znane; };
            u.UtworzZestaw = [this](const QString& nazwa, const std::vector<std::pair<QString, QString>>& pary,
                                    QString& zapisana, QString& blad) {
                QList<vokara::Para> lista;
                for (const auto& [a, p] : pary)
                    lista.append({a, p});
                return vokara::UtworzMoj(katalog.path().toStdString(), nazwa, lista, zapisana, blad);
            };
            okno = std::make_unique<TFSlowaZTekstu>(u);
            okno->show();
        }
        // Reads the file and waits for the list.
        void wczytaj(const QString& sciezka)
        {
            QSignalSpy wczytano(okno.get(), &TFSlowaZTekstu::wczytano);
            okno->Wczytaj(sciezka);
            QVERIFY(wczytano.wait(10000));
        }
        QString plik(const QString& nazwa, const QByteArray& bajty) const
        {
            testy::zapisz(katalog.filePath(nazwa), bajty);
            return katalog.filePath(nazwa);
        }
        const ModelSlowTekstu::Wiersz* wiersz(const QString& haslo) const
        {
            for (const auto& w : okno->Model().Wiersze())
                if (w.Haslo == haslo)
                    return &w;
            return nullptr;
        }
        QTemporaryDir katalog;
        std::unique_ptr<TFSlowaZTekstu> okno;
    };

private slots:
    // Running text opens the words window, word pairs the editor, whatever the file is called.
    void tekstDoSlow_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<bool>("tekst");
        const QByteArray proza = "It was a bright cold day in April, and the clocks were striking thirteen.\n"
                                 "Winston Smith, his chin nuzzled into his breast in an effort to escape the wind, "
                                 "slipped quickly through the glass doors.\n"
                                 "The hallway smelt of boiled cabbage and old rag mats.\n"
                                 "At one end of it a coloured poster, too large for indoor display, had been tacked "
                                 "to the wall.\n";
        QTest::newRow("subtitles by their extension") << "film.srt" << Napisy << true;
        QTest::newRow("subtitles by their time lines") << "film.txt" << Napisy << true;
        QTest::newRow("WebVTT") << "film" << QByteArray("WEBVTT\n\n00:01.000 --> 00:04.000\nHello there.\n") << true;
        QTest::newRow("HTML") << "artykul.txt" << QByteArray("<!DOCTYPE html><html><body><p>The cat sat.</p></body>")
                              << true;
        QTest::newRow("prose cut at its commas") << "opowiadanie.txt" << proza << true;
        QTest::newRow("prose with no separator")
            << "list.txt" << QByteArray("Dear John\nI hope you are well\nSee you soon\n") << true;
        QTest::newRow("a set file") << "zestaw.txt" << QByteArray("dog*pies\r\ncat*kot\r\n") << false;
        QTest::newRow("comma pairs") << "slowa.txt" << QByteArray("dog,pies\ncat,kot\nguinea pig,świnka morska\n")
                                     << false;
        QTest::newRow("phrases with questions")
            << "zwroty.txt" << QByteArray("How are you?\tJak się masz?\nWhere is it?\tGdzie to jest?\n") << false;
        QTest::newRow("CSV") << "slowa.csv" << QByteArray("It was a bright cold day in April, dzień\n") << false;
        QTest::newRow("KVTML") << "lekcja.kvtml" << QByteArray("<?xml version=\"1.0\"?><kvtml version=\"2.0\"/>")
                               << false;
        QTest::newRow("empty: the editor says why") << "pusty.txt" << QByteArray() << false;
    }

    void tekstDoSlow()
    {
        QTemporaryDir katalog;
        const QString sciezka = katalog.filePath(WARTOSC(QString, nazwa));
        testy::zapisz(sciezka, WARTOSC(QByteArray, bajty));
        QCOMPARE(vokara::TekstDoSlow(sciezka), WARTOSC(bool, tekst));
    }

    // A subtitle file to its word list: headwords counted over their forms, the most frequent first with their first
    // meanings, names, numbers, time lines and function words left out, a word the learner knows left out, a word no
    // dictionary has apart; the ticked words become an own set named after the file.
    void napisyDoZestawu()
    {
        if (!Slownik())
            QSKIP("the FreeDict dictionaries are not installed");
        Okno o({testy::cp("kitchen"), testy::cp("go, went, gone")});
        o.wczytaj(o.plik("Film.srt", Napisy));
        const auto& wiersze = o.okno->Model().Wiersze();
        QVERIFY(!wiersze.empty());
        const auto* parasol = o.wiersz("umbrella");
        QVERIFY(parasol);
        QCOMPARE(parasol->Ile, 3);
        QCOMPARE(parasol->Znaczenie, QStringLiteral("parasol"));
        QCOMPARE(wiersze.front().Haslo, QStringLiteral("umbrella"));
        QVERIFY(o.wiersz("knife") && o.wiersz("spoon") && o.wiersz("rain"));
        for (const char* brak : {"kitchen", "the", "harry", "Harry", "1", "00", "i", "blorfing"})
            QVERIFY2(!o.wiersz(QString::fromLatin1(brak)), brak);
        for (std::size_t i = 1; i < wiersze.size(); ++i)
            QVERIFY(wiersze[i - 1].Ile >= wiersze[i].Ile);
        const auto& ui = o.okno->Formularz();
        QVERIFY(ui.TBezHasla->toPlainText().contains(QStringLiteral("blorfing")));
        QVERIFY(ui.LPodsumowanie->text().contains(QStringLiteral("znanych, pominiętych: 1")));
        QCOMPARE(o.okno->Model().Zaznaczone(), int(wiersze.size())); // fewer than 50: all ticked
        QCOMPARE(ui.ENazwa->text(), QStringLiteral("Film"));

        // One word unticked by the learner stays out of the set.
        const int knife = int(o.wiersz("knife") - wiersze.data());
        o.okno->Model().setData(o.okno->Model().index(knife, 0), Qt::Unchecked, Qt::CheckStateRole);
        QSignalSpy utworzony(o.okno.get(), &TFSlowaZTekstu::zestawUtworzony);
        QTest::mouseClick(ui.ButUtworz, Qt::LeftButton);
        QCOMPARE(utworzony.count(), 1);
        QCOMPARE(utworzony.at(0).at(0).toString(), QStringLiteral("Film"));
        const auto moje = vokara::ListaMoich(o.katalog.path().toStdString());
        QCOMPARE(int(moje.size()), 1);
        QCOMPARE(moje[0].Nazwa, std::string("Film"));
        vokara::WlasnyZestaw z;
        QVERIFY(vokara::WczytajWlasny(o.katalog.path().toStdString(), moje[0].Plik, z));
        QCOMPARE(z.NaglowekWyraz, QStringLiteral("Angielskie słowo"));
        QCOMPARE(z.NaglowekOznacza, QStringLiteral("Polskie znaczenie"));
        QCOMPARE(z.Pary.size(), qsizetype(wiersze.size() - 1));
        QCOMPARE(z.Pary.front(), (vokara::Para{"umbrella", "parasol"}));
        QVERIFY(!z.Pary.contains(vokara::Para{"knife", QStringLiteral("nóż")}));
        // A second set of the same text takes a free name.
        QTest::mouseClick(ui.ButUtworz, Qt::LeftButton);
        QCOMPARE(utworzony.at(1).at(0).toString(), QStringLiteral("Film 2"));
    }

    // A text that cannot be read is refused with a Polish reason in the window, and its list stays empty.
    void odmowy_data()
    {
        QTest::addColumn<int>("rodzaj");
        QTest::addColumn<QString>("powod");
        QTest::newRow("NUL bytes") << 0 << "bajty zerowe";
        QTest::newRow("over 200 MB") << 1 << "najwyżej 200 MB";
        QTest::newRow("a pipe") << 2 << "nie jest zwykłym plikiem";
    }

    void odmowy()
    {
        if (!Slownik())
            QSKIP("the FreeDict dictionaries are not installed");
        Okno o;
        const QString sciezka = o.katalog.filePath("tekst.txt");
        switch (WARTOSC(int, rodzaj)) {
        case 0:
            o.plik("tekst.txt", QByteArray("The umbrella\0is here.", 21));
            break;
        case 1: {
            // A sparse file: its size is over the cap without its bytes being written.
            QFile plik(sciezka);
            QVERIFY(plik.open(QIODevice::WriteOnly) && plik.resize(qint64(vokara::NajwiekszyTekstDoSlow) + 1));
            break;
        }
        default:
            QCOMPARE(::mkfifo(QFile::encodeName(sciezka).constData(), 0600), 0);
        }
        o.wczytaj(sciezka);
        QVERIFY2(o.okno->Formularz().LStan->text().contains(WARTOSC(QString, powod)),
                 qPrintable(o.okno->Formularz().LStan->text()));
        QVERIFY(o.okno->Model().Wiersze().empty());
        QVERIFY(!o.okno->Formularz().ButUtworz->isEnabled());
    }

    // The program's start and its exercise pages leave the dictionary unread; the dictionary page reads it, on a
    // worker thread, as it first shows.
    void slownikDopieroNaStronie()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Zwierzęta*z0.txt"});
        k.zestaw("z0.txt", {"Słowo*Znaczenie", "dog*pies", "cat*kot"});
        Program p;
        QVERIFY(p.Pokaz());
        QVERIFY(QTest::qWaitForWindowExposed(p.FGlowny.get()));
        QTabBar* pasek = p.FGlowny->findChild<QTabBar*>();
        for (int strona = 1; strona <= 3; ++strona)
            QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(strona).center());
        QTest::qWait(100);
        QVERIFY(!p.FGlowny->Slownik()->Czytany());
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(4).center());
        QTRY_VERIFY(p.FGlowny->Slownik()->Czytany());
    }

    // `vokara FILE` in the whole program: subtitles open the words window, and its set shows in the pickers at once;
    // a word list opens the editor with its pairs.
    void zProgramu()
    {
        if (!Slownik())
            QSKIP("the FreeDict dictionaries are not installed");
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Zwierzęta*z0.txt"});
        k.zestaw("z0.txt", {"Słowo*Znaczenie", "dog*pies", "cat*kot"});
        testy::zapisz(k.sciezka("film.srt"), Napisy);
        testy::zapisz(k.sciezka("slowa.txt"), "dog\tpies\ncat\tkot\n");
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        TFSlowaZTekstu& okno = p.FGlowny->SlowaZTekstu();
        QSignalSpy wczytano(&okno, &TFSlowaZTekstu::wczytano);
        p.FGlowny->OtworzPlik(k.sciezka("film.srt"));
        QVERIFY(okno.isVisible());
        QVERIFY(wczytano.wait(10000));
        QTest::mouseClick(okno.Formularz().ButUtworz, Qt::LeftButton);
        auto* wybor = testy::znajdz<QComboBox>(*p.FGlowny->Strona(1), "CZestawSlow");
        QCOMPARE(wybor->itemText(wybor->count() - 1), QStringLiteral("film"));

        p.FGlowny->OtworzPlik(k.sciezka("slowa.txt"));
        QVERIFY(p.FGlowny->MojeZestawy().isVisible());
        QCOMPARE(p.FGlowny->MojeZestawy().Model().Pary().size(), 2);
        QVERIFY(odp.teksty.isEmpty());
    }
};

QTEST_MAIN(TestSlowa)
#include "test_slowa.moc"
