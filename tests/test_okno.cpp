// Main window: start-up outcomes, page resets on the user's switches, help, picker drawing and the layout.
#include "cien.h"
#include "formularz_testowy.h"
#include "fpomoc.h"
#include "program_testowy.h"
#include "stronatestu.h"
#include "tekst.h"
#include "wyborzestawu.h"

#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTextBrowser>

using testy::znajdz;

class TestOkno : public QObject {
    Q_OBJECT

    static QStringList pozycje(const QComboBox* lista)
    {
        QStringList wynik;
        for (int i = 0; i < lista->count(); ++i)
            wynik << lista->itemText(i);
        return wynik;
    }

    static void kliknijZakladke(Program& p, int indeks)
    {
        QTabBar* pasek = testy::Formularz(*p.FGlowny).PStrony->tabBar();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(indeks).center());
        QCOMPARE(testy::Formularz(*p.FGlowny).PStrony->currentIndex(), indeks);
    }

    static void zwyklyZestaw(const testy::Katalog& k)
    {
        k.lista({"01.12.2026*1.0", "Zwierzęta*zwierzeta.txt", "Dom*dom.txt"});
        k.zestaw("zwierzeta.txt", {"Słowo*Znaczenie", "dog*pies", "cat*kot", "cow*krowa"});
        k.zestaw("dom.txt", {"Słowo*Znaczenie", "house*dom", "door*drzwi", "window*okno"});
    }

private slots:
    void brakListy()
    {
        testy::Katalog k;
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(!p.Pokaz());
        QCOMPARE(odp.teksty, QStringList{QStringLiteral("Brak pliku z Listą zestawów. Program nie może działać.\r"
                                                        "Pobierz program i zainstaluj go ponownie.")});
        QVERIFY(!p.FGlowny->isVisible());
    }

    void zepsutaLista_data()
    {
        QTest::addColumn<QStringList>("linie");
        QTest::addColumn<QString>("komunikat");
        QTest::newRow("no set file") << QStringList{"01.12.2026*1.0", "A*brak.txt"}
                                     << QStringLiteral("Brak zestawów słów w folderze Dane. Program nie może działać.\r"
                                                       "Dokonaj aktualizacji danych.");
        QTest::newRow("damaged") << QStringList{"", "A*brak.txt"}
                                 << QStringLiteral("Plik Listy zestawów jest uszkodzony. Program nie może działać.\r"
                                                   "Dokonaj aktualizacji danych.");
    }

    void zepsutaLista()
    {
        testy::Katalog k;
        k.lista(WARTOSC(QStringList, linie));
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QCOMPARE(odp.teksty, QStringList{WARTOSC(QString, komunikat)});
        QCOMPARE(p.stan.dane.WersjaDanych, std::string("11.11.2011"));
        const testy::Formularz ui(*p.FGlowny);
        QCOMPARE(ui.PStrony->currentIndex(), 1);
        for (QComboBox* lista : {static_cast<QComboBox*>(ui.CZestawSlow), static_cast<QComboBox*>(ui.CZestawSlow2),
                                 static_cast<QComboBox*>(ui.CZestawSlow3)})
            QCOMPARE(lista->count(), 0);
        // The choice page waits idle: no placeholder can be clicked into reading a set that is not there.
        QVERIFY(!ui.Lw1->isVisible() && !ui.ButNastepny->isVisible() && !ui.ButSprawdz->isVisible());
        QCOMPARE(ui.LKomentarz->text(), QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));
        QTest::mouseClick(ui.BSluchajWyraz_0, Qt::LeftButton);
        QCOMPARE(p.FSluchaj->Zadania(), 0);
    }

    void zwyklyStart()
    {
        testy::Katalog k;
        k.lista({"01.12.2026*1.0", "Zwierzęta*zwierzeta.txt", "Brak*brak.txt", "Dom*dom.txt", "Dom*zwierzeta.txt"});
        k.zestaw("zwierzeta.txt", {"w*o", "dog*pies"});
        k.zestaw("dom.txt", {"w*o", "house*dom"});
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QVERIFY(odp.teksty.isEmpty());
        const testy::Formularz ui(*p.FGlowny);
        QCOMPARE(ui.PStrony->currentIndex(), 0);
        const QStringList nazwy{"Zwierzęta", "Dom", "Dom"}; // a name listed twice shows twice
        for (QComboBox* lista : {static_cast<QComboBox*>(ui.CZestawSlow), static_cast<QComboBox*>(ui.CZestawSlow2),
                                 static_cast<QComboBox*>(ui.CZestawSlow3)}) {
            QCOMPARE(pozycje(lista), nazwy);
            QCOMPARE(lista->currentIndex(), -1);
        }
        for (int strona = 1; strona <= 3; ++strona)
            QVERIFY(p.FGlowny->Strona(strona)->Runda()->Wyrazy().empty());
        QCOMPARE(p.stan.dane.WersjaDanych, std::string("01.12.2026"));
        QCOMPARE(p.FGlowny->windowTitle(), QStringLiteral("VOKARA  1.0"));
        QCOMPARE(p.FGlowny->size(), QSize(1066, 600));
        // A reload from the program brings the welcome page without a page reset.
        kliknijZakladke(p, 2);
        p.FGlowny->Strona(2)->Runda()->Biezacy = 5;
        QVERIFY(p.FGlowny->ZaladujDane());
        QCOMPARE(ui.PStrony->currentIndex(), 0);
        QCOMPARE(p.FGlowny->Strona(2)->Runda()->Biezacy, 5);
    }

    void zmianaStron()
    {
        testy::Katalog k;
        zwyklyZestaw(k);
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QVERIFY(QTest::qWaitForWindowActive(p.FGlowny.get()));
        const testy::Formularz ui(*p.FGlowny);

        kliknijZakladke(p, 1);
        QCOMPARE(p.FGlowny->Strona(1)->Runda()->Biezacy, -1);
        QCOMPARE(ui.CZestawSlow->currentIndex(), 0);
        QVERIFY(ui.RJezyk_0->isChecked() && ui.RJezyk->isEnabled());
        QVERIFY(p.FGlowny->Strona(1)->Runda()->Wyrazy().empty()); // selecting item 0 loaded nothing
        QVERIFY(!ui.ButNastepny->isVisible() && !ui.LDanyWyraz->isVisible());

        // Halfway through a set, leave and come back: idle again, direction unlocked.
        emit ui.CZestawSlow->activated(1);
        QTest::mouseClick(ui.RJezyk_1, Qt::LeftButton);
        QTest::mouseClick(ui.ButNastepny, Qt::LeftButton);
        QVERIFY(ui.ButSprawdz->isVisible() && !ui.RJezyk->isEnabled());
        kliknijZakladke(p, 0);
        QCOMPARE(p.FGlowny->Strona(1)->Runda()->Biezacy, -1);
        kliknijZakladke(p, 1);
        QVERIFY(!ui.ButSprawdz->isVisible() && !ui.Lw1->isVisible());
        QVERIFY(ui.RJezyk_0->isChecked() && ui.RJezyk->isEnabled());
        QCOMPARE(ui.LKomentarz->text(), QStringLiteral("Wybierz któryś z zestawów słów i tryb pracy"));

        kliknijZakladke(p, 2);
        QCOMPARE(ui.CZestawSlow2->currentIndex(), 0);
        QVERIFY(!ui.EWpis2->isVisible() && !ui.ButNastepny2->isVisible());
        kliknijZakladke(p, 3);
        QCOMPARE(ui.CZestawSlow3->currentIndex(), 0);
        QCOMPARE(ui.LKomentarz3->text(), QStringLiteral("Wybierz któryś z zestawów słów"));
        QVERIFY(!ui.EWpis3->isVisible());

        kliknijZakladke(p, 4);
        QTest::keyClicks(ui.EWpis4, QStringLiteral("abc"));
        kliknijZakladke(p, 0);
        kliknijZakladke(p, 4);
        QCOMPARE(ui.EWpis4->text(), QString());
        QTRY_VERIFY(ui.EWpis4->hasFocus());
        QVERIFY(odp.teksty.isEmpty());
    }

    void pomoc_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<QString>("plik");
        QTest::newRow("welcome") << 0 << "index.htm";
        QTest::newRow("choice") << 1 << "test.htm";
        QTest::newRow("typing") << 2 << "wpis.htm";
        QTest::newRow("dictation") << 3 << "sluchanie.htm";
        QTest::newRow("free listening") << 4 << "odsluch.htm";
        QTest::newRow("flashcards") << 5 << "fiszki.htm";
    }

    void pomoc()
    {
        testy::Katalog k; // the working folder is not the program's folder
        zwyklyZestaw(k);
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QVERIFY(QTest::qWaitForWindowActive(p.FGlowny.get()));
        QStringList otwarte;
        p.FGlowny->OtwieraczPomocy = [&](const QString& plik) { otwarte << plik; };
        kliknijZakladke(p, WARTOSC(int, strona));
        QTest::keyClick(p.FGlowny.get(), Qt::Key_F1);
        QTest::mouseClick(znajdz<QWidget>(*p.FGlowny, "BPomoc"), Qt::LeftButton);
        const QString oczekiwany = QCoreApplication::applicationDirPath() + "/pomoc/" + WARTOSC(QString, plik);
        QCOMPARE(otwarte, (QStringList{oczekiwany, oczekiwany}));
    }

    // Help without a browser: xdg-open reporting no handler (3), or none found at all, brings the program's own help
    // window, whose links lead between the pages; a handler that took the page leaves it closed.
    void pomocBezPrzegladarki_data()
    {
        QTest::addColumn<QString>("skrypt"); // the xdg-open on the PATH; empty for none
        QTest::addColumn<bool>("okno");
        QTest::newRow("no handler") << "exit 3" << true;
        QTest::newRow("no xdg-open") << QString() << true;
        QTest::newRow("a browser took it") << "exit 0" << false;
    }

    void pomocBezPrzegladarki()
    {
        QTemporaryDir bin;
        const QString skrypt = WARTOSC(QString, skrypt);
        if (!skrypt.isEmpty()) {
            testy::zapisz(bin.filePath("xdg-open"), "#!/bin/sh\n" + skrypt.toUtf8() + "\n");
            QFile(bin.filePath("xdg-open")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray sciezka = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        testy::Katalog k;
        zwyklyZestaw(k);
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        p.FGlowny->OtworzStroneSystemowo(VOKARA_POMOC_ZRODLOWA "/test.htm");
        qputenv("PATH", sciezka);
        if (!WARTOSC(bool, okno)) {
            QTest::qWait(300);
            QVERIFY(!p.FGlowny->OknoPomocy());
            return;
        }
        QTRY_VERIFY(p.FGlowny->OknoPomocy() && p.FGlowny->OknoPomocy()->isVisible());
        TFPomoc& pomoc = *p.FGlowny->OknoPomocy();
        QCOMPARE(pomoc.Strona().fileName(), QStringLiteral("test.htm"));
        auto* przegladarka = pomoc.findChild<QTextBrowser*>("TBPomoc");
        QVERIFY(przegladarka->toPlainText().contains("Test wyboru"));
        // A link to another page, clicked.
        QTextCursor kursor(przegladarka->document());
        while (!kursor.atEnd() && kursor.charFormat().anchorHref() != "wpis.htm")
            kursor.movePosition(QTextCursor::NextCharacter);
        QVERIFY(!kursor.atEnd());
        kursor.movePosition(QTextCursor::NextCharacter);
        const QPoint punkt = przegladarka->cursorRect(kursor).center();
        QTest::mouseClick(przegladarka->viewport(), Qt::LeftButton, {}, punkt);
        QTRY_COMPARE(pomoc.Strona().fileName(), QStringLiteral("wpis.htm"));
        // Closing the main window still ends the program.
        QVERIFY(!pomoc.testAttribute(Qt::WA_QuitOnClose));
    }

    void rysowaniePozycji()
    {
        TWyborZestawu lista;
        lista.setStyleSheet("background: rgb(255,255,255); font-size: 12px; color: rgb(90,98,87);");
        lista.addItems({"Zwierzęta", "Dom"});
        lista.resize(241, 22);
        const auto narysuj = [&](bool zaznaczona) {
            QImage obraz(241, 16, QImage::Format_RGB32);
            obraz.fill(Qt::black);
            QPainter malarz(&obraz);
            QStyleOptionViewItem opcja;
            opcja.rect = obraz.rect();
            opcja.state = QStyle::State_Enabled |
                          (zaznaczona ? QStyle::State_Selected | QStyle::State_MouseOver : QStyle::State_None);
            lista.Delegat()->paint(&malarz, opcja, lista.model()->index(0, 0));
            return obraz;
        };
        const QImage zwykla = narysuj(false);
        // The item under the pointer or the keyboard is highlighted.
        QCOMPARE(narysuj(true).pixel(200, 8), lista.palette().color(QPalette::Highlight).rgb());
        QCOMPARE(zwykla.pixel(200, 8), qRgb(255, 255, 255));
        QCOMPARE(zwykla.pixel(0, 0), qRgb(255, 255, 255));
        int tekstu = 0;
        for (int x = 0; x < 80; ++x)
            for (int y = 0; y < 16; ++y)
                tekstu += zwykla.pixel(x, y) == qRgb(70, 77, 64);
        QVERIFY(tekstu > 5);
        // Nothing of the text lies left of left+1 or above top+1.
        for (int y = 0; y < 16; ++y)
            QCOMPARE(zwykla.pixel(0, y), qRgb(255, 255, 255));
        // The closed field draws its item the same way.
        lista.setCurrentIndex(0);
        const QImage pole = lista.grab().toImage();
        int poleTekstu = 0;
        for (int x = 0; x < 120; ++x)
            for (int y = 0; y < 22; ++y)
                poleTekstu += pole.pixel(x, y) == qRgb(70, 77, 64);
        QVERIFY(poleTekstu > 5);
    }

    void uklad_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<QRect>("pudelko");
        QTest::addColumn<int>("piksele");
        QTest::addColumn<bool>("gruba");
        QTest::addColumn<QColor>("kolor");
        const QColor czarny(0, 0, 0), ciemny(44, 47, 43), brazowy(47, 23, 0);
        QTest::newRow("PStrony") << "PStrony" << QRect(36, 34, 993, 535) << -1 << false << QColor();
        QTest::newRow("LPowitanie") << "LPowitanie" << QRect(96, 88, 481, 193) << 17 << false << QColor(128, 64, 0);
        QTest::newRow("ButAktualizacja") << "ButAktualizacja" << QRect(736, 407, 209, 65) << 13 << false << czarny;
        QTest::newRow("LW2") << "LW2" << QRect(530, 202, 440, 38) << 16 << true << QColor(255, 255, 0);
        QTest::newRow("LDanyWyraz") << "LDanyWyraz" << QRect(528, 80, 297, 25) << 16 << true << czarny;
        QTest::newRow("LKomentarz") << "LKomentarz" << QRect(90, 390, 471, 40) << 15 << true << ciemny;
        QTest::newRow("ButNastepny") << "ButNastepny" << QRect(665, 375, 257, 49) << 13 << true << brazowy;
        QTest::newRow("BSluchajWyraz_3") << "BSluchajWyraz_3" << QRect(467, 236, 33, 33) << -1 << false << QColor();
        QTest::newRow("CZestawSlow2") << "CZestawSlow2" << QRect(32, 65, 241, 22) << 12 << false << QColor(90, 98, 87);
        QTest::newRow("EWpis2") << "EWpis2" << QRect(528, 160, 233, 24) << 15 << true << ciemny;
        QTest::newRow("RJezyk2") << "RJezyk2" << QRect(32, 125, 238, 65) << 12 << false << czarny;
        QTest::newRow("ButSprawdz3") << "ButSprawdz3" << QRect(665, 359, 257, 49) << 13 << true << brazowy;
        QTest::newRow("LWyraz3") << "LWyraz3" << QRect(520, 83, 257, 17) << 13 << false << czarny;
        QTest::newRow("EWpis4") << "EWpis4" << QRect(184, 100, 345, 24) << 15 << true << ciemny;
        QTest::newRow("BNastepny4") << "BNastepny4" << QRect(649, 359, 257, 49) << 13 << true << brazowy;
        QTest::newRow("ButPokaz5") << "ButPokaz5" << QRect(665, 375, 257, 49) << 13 << true << brazowy;
        QTest::newRow("LDanyWyraz5") << "LDanyWyraz5" << QRect(528, 80, 400, 25) << 16 << true << czarny;
        QTest::newRow("CZestawSlow5") << "CZestawSlow5" << QRect(32, 65, 241, 22) << 12 << false << QColor(90, 98, 87);
    }

    void uklad()
    {
        testy::Katalog k;
        Program p;
        testy::Formularz(*p.FGlowny); // every page made
        auto* w = znajdz<QWidget>(*p.FGlowny, WARTOSC(QString, nazwa).toLatin1().constData());
        w->ensurePolished();
        QCOMPARE(w->geometry(), WARTOSC(QRect, pudelko));
        const int piksele = WARTOSC(int, piksele);
        if (piksele > 0) {
            QCOMPARE(w->font().pixelSize(), piksele);
            QCOMPARE(w->font().bold(), WARTOSC(bool, gruba));
            QCOMPARE(w->palette().color(w->foregroundRole()), WARTOSC(QColor, kolor));
        }
    }

    // The longest reproach the shipped sets can give on each page fits its comment line, wrapped within its width
    // and height (descenders included).
    void pelnyKomentarz()
    {
        testy::Katalog k;
        Program p;
        const testy::Formularz ui(*p.FGlowny);
        vokara::Dane dane;
        dane.KatalogRoboczy = std::filesystem::path(VOKARA_DANE_ZRODLOWE).parent_path();
        QCOMPARE(vokara::WczytajListe(dane), int(vokara::ListaGotowa));
        // The longest of the three, after the word for a slip.
        const QString nagana = QStringLiteral("Prawie! Pomyłka. Poprawna odpowiedź to: ");
        QStringList wpisywane, dyktowane;
        for (int z = 0; z < int(dane.Zestawy.size()); ++z) {
            vokara::Zestaw zestaw;
            QVERIFY(vokara::WczytajPlikZestawu(dane, z, zestaw));
            for (const auto& w : zestaw.Wyrazy) {
                const QString a = vokara::ZCp1250(w.Angielski), pl = vokara::ZCp1250(w.Polski);
                wpisywane << nagana + a << nagana + pl
                          << QStringLiteral("Bardzo dobrze (pamiętaj o polskich znakach: %1)").arg(pl);
                dyktowane << nagana + a + " [" + pl + "]"
                          << QStringLiteral("Bardzo dobrze (pamiętaj o polskich znakach: %1). Angielskie słowo to: %2")
                                 .arg(pl, a);
            }
        }
        QVERIFY(dyktowane.size() > 100);
        for (QLabel* etykieta : {ui.LKomentarz, ui.LKomentarz2, ui.LKomentarz3}) {
            etykieta->ensurePolished();
            QCOMPARE(etykieta->geometry().topLeft(), QPoint(90, 390));
            QCOMPARE(etykieta->width(), 471);
            const QFontMetrics miary(etykieta->font());
            for (const QString& tekst : etykieta == ui.LKomentarz3 ? dyktowane : wpisywane) {
                const QRect zajete = miary.boundingRect(QRect(0, 0, etykieta->width(), 1000), Qt::TextWordWrap, tekst);
                QVERIFY2(zajete.width() <= etykieta->width() && zajete.height() <= etykieta->height(),
                         qPrintable(tekst));
            }
        }
    }

    // Qt's own texts are Polish whatever the system's language (the tests run with LANG=C.UTF-8).
    void polskieTekstyQt()
    {
        QVERIFY(WczytajPolskieTeksty());
        QVERIFY(WczytajPolskieTeksty()); // a second call adds nothing
        testy::Katalog k;
        Program p;
        std::unique_ptr<QMenu> menu(testy::Formularz(*p.FGlowny).EWpis2->createStandardContextMenu());
        QStringList napisy;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator())
                napisy << a->text().remove('&').section('\t', 0, 0);
        QVERIFY2(napisy.contains(QStringLiteral("Wklej")) && napisy.contains(QStringLiteral("Zaznacz wszystko")),
                 qPrintable(napisy.join(", ")));
        QVERIFY(!napisy.contains(QStringLiteral("Paste")));
    }

    // The window centred with its frame and without a maximise button; tabs in 12 px window text; a locked
    // direction group looks locked.
    void oknoIWyglad()
    {
        testy::Katalog k;
        zwyklyZestaw(k);
        Program p;
        QVERIFY(p.Pokaz());
        QVERIFY(QTest::qWaitForWindowExposed(p.FGlowny.get()));
        TFGlowny& okno = *p.FGlowny;
        // The offscreen screen (800 px) is narrower than the window, which it may shift by a pixel or two.
        const QPoint przesuniecie = okno.frameGeometry().center() - okno.screen()->availableGeometry().center();
        QVERIFY2(std::abs(przesuniecie.y()) <= 1 && std::abs(przesuniecie.x()) <= 2,
                 qPrintable(QStringLiteral("%1, %2").arg(przesuniecie.x()).arg(przesuniecie.y())));
        QVERIFY(!(okno.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(okno.windowFlags() & Qt::WindowMinimizeButtonHint);
        const testy::Formularz ui(okno);
        QTabBar* pasek = ui.PStrony->tabBar();
        pasek->ensurePolished();
        QCOMPARE(pasek->font().pixelSize(), 12);
        const auto kolor = [](QWidget* w) { return w->palette().color(w->foregroundRole()); };
        const QColor wlaczony = kolor(ui.RJezyk_0);
        ui.RJezyk->setEnabled(false);
        QVERIFY(kolor(ui.RJezyk_0) != wlaczony);
        ui.ButNastepny->setEnabled(false);
        QVERIFY(kolor(ui.ButNastepny) != QColor(47, 23, 0));
    }

    // An exercise page's controls are made when the page first comes to the front: they show on it, the picker
    // lists the sets, and Enter presses its buttons.
    void stronaZPierwszymPokazaniem_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<QString>("kontrolka");
        QTest::addColumn<QString>("wybor");
        QTest::newRow("choice") << 1 << "CZestawSlow"
                                << "CZestawSlow";
        QTest::newRow("typing") << 2 << "CZestawSlow2"
                                << "CZestawSlow2";
        QTest::newRow("dictation") << 3 << "CZestawSlow3"
                                   << "CZestawSlow3";
        QTest::newRow("pronunciation") << 4 << "EWpis4" << QString(); // a page of its own, without a picker
    }

    void stronaZPierwszymPokazaniem()
    {
        testy::Katalog k;
        zwyklyZestaw(k);
        Program p;
        testy::Odpowiedzi odp(*p.FWarning);
        QVERIFY(p.Pokaz());
        QVERIFY(QTest::qWaitForWindowExposed(p.FGlowny.get()));
        const QString kontrolka = WARTOSC(QString, kontrolka);
        QVERIFY(!p.FGlowny->findChild<QWidget*>(kontrolka));
        QTabBar* pasek = p.FGlowny->findChild<QTabBar*>();
        QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(WARTOSC(int, strona)).center());
        auto* w = p.FGlowny->findChild<QWidget*>(kontrolka);
        QVERIFY(w && w->isVisible());
        if (!WARTOSC(QString, wybor).isEmpty()) {
            auto* lista = p.FGlowny->findChild<QComboBox*>(WARTOSC(QString, wybor));
            QCOMPARE(pozycje(lista), (QStringList{"Zwierzęta", "Dom"}));
        }
        for (QPushButton* przycisk : w->parentWidget()->findChildren<QPushButton*>()) {
            if (przycisk->isVisible()) {
                QSignalSpy klik(przycisk, &QPushButton::clicked);
                QTest::keyClick(przycisk, Qt::Key_Return);
                QCOMPARE(klik.count(), 1);
                break;
            }
        }
    }

    // The welcome text's shadow: blurred evenly around each point, its weight kept, drawn under the text.
    void cienPowitania()
    {
        QImage punkt(21, 21, QImage::Format_Alpha8);
        punkt.fill(0);
        punkt.scanLine(10)[10] = 255;
        QImage rozmyty = punkt;
        RozmyjAlfe(rozmyty, 2);
        const auto alfa = [&](int x, int y) { return int(rozmyty.constScanLine(y)[x]); };
        QVERIFY(alfa(10, 10) > 0 && alfa(10, 10) < 255);
        QCOMPARE(alfa(8, 10), alfa(12, 10));
        QCOMPARE(alfa(10, 7), alfa(10, 13));
        QCOMPARE(alfa(0, 0), 0);
        testy::Katalog k;
        zwyklyZestaw(k);
        Program p;
        QVERIFY(p.Pokaz());
        auto* cien = testy::Formularz(*p.FGlowny).LPowitanie->findChild<CienEtykiety*>();
        QVERIFY(cien);
        testy::Formularz(*p.FGlowny).LPowitanie->grab();
        QVERIFY(!cien->Obraz().isNull());
    }

    // Blurring only the bands around lines of text gives what three box passes over the whole image give: lines
    // far apart, just close enough to join, and at the image's edges.
    void rozmycieWPasach_data()
    {
        QTest::addColumn<QList<int>>("wiersze");
        QTest::addColumn<int>("promien");
        QTest::newRow("far apart") << QList<int>{5, 60} << 2;
        QTest::newRow("joined") << QList<int>{10, 22, 23} << 2;
        QTest::newRow("edges") << QList<int>{0, 79} << 3;
        QTest::newRow("one row") << QList<int>{40} << 1;
    }

    void rozmycieWPasach()
    {
        const int promien = WARTOSC(int, promien);
        QImage obraz(50, 80, QImage::Format_Alpha8);
        obraz.fill(0);
        for (int y : WARTOSC(QList<int>, wiersze)) {
            for (int x = 3 + y % 7; x < 50; x += 5)
                obraz.scanLine(y)[x] = uchar(40 + (x * 37 + y) % 216);
        }
        // Three box passes each way over every row and column, out-of-image values counting as 0.
        std::vector<int> wzor(std::size_t(obraz.width() * obraz.height()));
        const auto w = [&](int x, int y) -> int& { return wzor[std::size_t(y * obraz.width() + x)]; };
        for (int y = 0; y < obraz.height(); ++y)
            for (int x = 0; x < obraz.width(); ++x)
                w(x, y) = obraz.constScanLine(y)[x];
        const auto przebieg = [&](bool poziomo) {
            const std::vector<int> przed = wzor;
            for (int y = 0; y < obraz.height(); ++y)
                for (int x = 0; x < obraz.width(); ++x) {
                    int suma = 0;
                    for (int d = -promien; d <= promien; ++d) {
                        const int px = poziomo ? x + d : x, py = poziomo ? y : y + d;
                        if (px >= 0 && px < obraz.width() && py >= 0 && py < obraz.height())
                            suma += przed[std::size_t(py * obraz.width() + px)];
                    }
                    w(x, y) = suma / (2 * promien + 1);
                }
        };
        for (int i = 0; i < 3; ++i) {
            przebieg(true);
            przebieg(false);
        }
        RozmyjAlfe(obraz, promien);
        for (int y = 0; y < obraz.height(); ++y)
            for (int x = 0; x < obraz.width(); ++x)
                QCOMPARE(int(obraz.constScanLine(y)[x]), w(x, y));
    }

    void zakladki()
    {
        testy::Katalog k;
        Program p;
        const QTabWidget* strony = testy::Formularz(*p.FGlowny).PStrony;
        const QStringList napisy{
            QString(10, ' ') + "Powitanie" + QString(11, ' '), QString(12, ' ') + "Test wyboru" + QString(14, ' '),
            QString(6, ' ') + "Wpisywanie słowa" + QString(7, ' '), QString(8, ' ') + "Słuchanie" + QString(8, ' '),
            QString(5, ' ') + "Odsłuchanie słowa" + QString(7, ' ')};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(strony->tabText(i), napisy[i]);
        QCOMPARE(strony->widget(3)->objectName(), QStringLiteral("sSluchanie"));
        QCOMPARE(strony->count(), 6);
        QCOMPARE(strony->tabText(5), QString(12, ' ') + "Fiszki" + QString(13, ' '));
    }

    void stronaDomowa_data()
    {
        QTest::addColumn<QByteArray>("adres");
        QTest::addColumn<QString>("linia");
        QTest::newRow("placeholder") << QByteArray("http://vokara.invalid") << "Strona domowa: nie ustawiono";
        QTest::newRow("set") << QByteArray("http://127.0.0.1:8080/") << "Strona domowa: http://127.0.0.1:8080";
    }

    // The welcome text's last line names the home site, or says that none is set.
    void stronaDomowa()
    {
        qputenv("VOKARA_HOME_URL", WARTOSC(QByteArray, adres));
        testy::Katalog k;
        zwyklyZestaw(k);
        Program p;
        qunsetenv("VOKARA_HOME_URL");
        QCOMPARE(testy::Formularz(*p.FGlowny).LPowitanie->text().split('\n').last(), WARTOSC(QString, linia));
    }
};

QTEST_MAIN(TestOkno)
#include "test_okno.moc"
