// Main window: start-up load, pickers, page switching, help, skin and the welcome page.
#include "fglowny.h"

#include "adresy.h"
#include "aktualizacja.h"
#include "cien.h"
#include "fmojezestawy.h"
#include "formularz.h"
#include "fpomoc.h"
#include "fpostepy.h"
#include "fsluchaj.h"
#include "fwarning.h"
#include "ikona.h"
#include "malowanie.h"
#include "siec.h"
#include "skorka.h"
#include "stronasluchu.h"
#include "stronatestu.h"
#include "stronawpisu.h"
#include "tekst.h"
#include "wybory.h"
#include "wymawianie.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <system_error>

const char* const TFGlowny::PlikiPomocy[5] = {"index.htm", "test.htm", "wpis.htm", "sluchanie.htm", "odsluch.htm"};

TFGlowny::TFGlowny(StanProgramu& stan, QWidget* parent)
    // The window's flags are given at construction: changing them later re-parents the window and makes every
    // control take its style sheet again. The skin is in force before the controls exist for the same reason.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      stan_(stan), ui(std::make_unique<FormularzGlowny>()) // value-initialised: the pages' controls start null
{
    FormCreate();
    ui->Ui::TFGlowny::setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(1066, 600);
    // The icon goes to the desktop once the window is on screen: on X11 handing over its picture takes longer than
    // drawing the whole window.
    vokara::PoPierwszymMalowaniu(this,
                                 [this] { setWindowIcon(IkonaNaZadanie(QStringLiteral(":/obrazy/vokara.png"))); });

    // The welcome text's last line names the home site the update uses.
    QStringList powitanie = ui->LPowitanie->text().split(QLatin1Char('\n'));
    const QString domowa = vokara::AdresDomowy();
    powitanie.last() =
        QStringLiteral("Strona domowa: ") + (vokara::AdresUstawiony(domowa) ? domowa : QStringLiteral("nie ustawiono"));
    ui->LPowitanie->setText(powitanie.join(QLatin1Char('\n')));
    if (!qEnvironmentVariableIsSet("BEZCIENIA")) {
        new CienEtykiety(ui->LPowitanie, QPoint(2, 2), QColor(0, 0, 0, 70));
    }

    // Help: F1 anywhere in the window, or the small "?" beside the tabs.
    auto* pomoc = new QToolButton(ui->PStrony);
    pomoc->setObjectName(QStringLiteral("BPomoc"));
    pomoc->setText(QStringLiteral("?"));
    pomoc->setToolTip(QStringLiteral("Pomoc (F1)"));
    pomoc->setAccessibleName(QStringLiteral("Pomoc"));
    pomoc->setFocusPolicy(Qt::NoFocus);
    ui->PStrony->setCornerWidget(pomoc, Qt::TopRightCorner);
    connect(pomoc, &QToolButton::clicked, this, &TFGlowny::OtworzPomoc);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &TFGlowny::OtworzPomoc);

    OtwieraczPomocy = [this](const QString& plik) { OtworzStroneSystemowo(plik); };
    // A page is made as it comes to the front, before the page reset below runs on it.
    connect(ui->PStrony, &QTabWidget::currentChanged, this, &TFGlowny::ZbudujStrone);
    connect(ui->PStrony, &QTabWidget::currentChanged, this, [this](int p) {
        if (!zmianaProgramowa_)
            PStronyChange(p);
    });
    connect(ui->ButAktualizacja, &QPushButton::clicked, this, &TFGlowny::ButAktualizacjaClick);
    connect(ui->ButMojeZestawy, &QPushButton::clicked, this, &TFGlowny::ButMojeZestawyClick);
    connect(ui->ButPostepy, &QPushButton::clicked, this, &TFGlowny::ButPostepyClick);
    // A tab is named for a listener by its caption without the blanks that space it out.
    for (int i = 0; i < ui->PStrony->count(); ++i)
        ui->PStrony->tabBar()->setAccessibleTabName(i, ui->PStrony->tabText(i).trimmed());
    // Enter presses the focused button on every page, as Space does.
    for (QPushButton* przycisk : ui->SPowitanie->findChildren<QPushButton*>())
        przycisk->installEventFilter(this);
}

void TFGlowny::ZbudujStrone(int p)
{
    Q_ASSERT(warning_);
    std::vector<QWidget*> strony;
    QComboBox* wybor = nullptr; // the page's picker
    if (p == 1 && !test_) {
        ui->Ui::TStronaTestu::setupUi(ui->STestWyboru);
        strony = {ui->STestWyboru};
        wybor = ui->CZestawSlow;
        WypelnijZestawy(wybor);
        test_ = new StronaTestu(stan_, *ui, *warning_, wymow_, this);
    } else if (p == 2 && !wpis_) {
        ui->Ui::TStronaWpisu::setupUi(ui->sWpisSlowa);
        strony = {ui->sWpisSlowa};
        wybor = ui->CZestawSlow2;
        WypelnijZestawy(wybor);
        wpis_ = new StronaWpisu(stan_, *ui, *warning_, wymow_, this);
    } else if ((p == 3 || p == 4) && !sluch_) {
        ui->Ui::TStronaSluchu::setupUi(ui->sSluchanie);
        ui->Ui::TStronaOdsluchu::setupUi(ui->sSluchanieSlowa);
        strony = {ui->sSluchanie, ui->sSluchanieSlowa};
        wybor = ui->CZestawSlow3;
        WypelnijZestawy(wybor);
        sluch_ = new StronaSluchu(
            stan_, *ui, *warning_, wymow_, [this](const QString& s) { wymawianie_->Wymow(s); }, this);
    } else {
        return;
    }
    // Names a listener understands: a field or picker is named by the label above it.
    const std::pair<QLabel*, QWidget*> opisy[] = {{ui->SWybierzZestaw, ui->CZestawSlow},
                                                  {ui->LWybierzZestaw2, ui->CZestawSlow2},
                                                  {ui->LWybierzZestaw3, ui->CZestawSlow3},
                                                  {ui->LOznacza2, ui->EWpis2},
                                                  {ui->LOznacza3, ui->EWpis3},
                                                  {ui->LTekst, ui->EWpis4}};
    for (auto [etykieta, pole] : opisy) {
        if (etykieta && !etykieta->buddy())
            etykieta->setBuddy(pole);
    }
    for (QWidget* s : strony) {
        for (QPushButton* przycisk : s->findChildren<QPushButton*>())
            przycisk->installEventFilter(this);
        // A page already on screen does not show controls made after it; those its code did not hide are shown.
        if (s->isVisible()) {
            for (QWidget* w : s->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
                    w->show();
            }
        }
    }
    // The new picker shows the sets' progress; the pickers made before keep theirs.
    if (stan_.pamiec.Dostepna())
        vokara::OdswiezWybory(stan_.pamiec, stan_.dane, {wybor});
}

FormularzGlowny& TFGlowny::Formularz()
{
    for (int p = 1; p <= 3; ++p)
        ZbudujStrone(p);
    return *ui;
}

StronaTestu& TFGlowny::Test()
{
    ZbudujStrone(1);
    return *test_;
}

StronaWpisu& TFGlowny::Wpis()
{
    ZbudujStrone(2);
    return *wpis_;
}

StronaSluchu& TFGlowny::Sluch()
{
    ZbudujStrone(3);
    return *sluch_;
}

std::vector<QComboBox*> TFGlowny::Wybory() const
{
    std::vector<QComboBox*> wybory;
    for (QComboBox* lista : {static_cast<QComboBox*>(ui->CZestawSlow), static_cast<QComboBox*>(ui->CZestawSlow2),
                             static_cast<QComboBox*>(ui->CZestawSlow3)}) {
        if (lista)
            wybory.push_back(lista);
    }
    return wybory;
}

TFGlowny::~TFGlowny() = default;

void TFGlowny::FormCreate()
{
    vokara::AktywujSkorke(QStringLiteral("notes_wood"));
}

void TFGlowny::Polacz(TFWarning& warning, TFSluchaj& sluchaj, Siec& siec)
{
    warning_ = &warning;
    warning.UstawWlasciciela(this);
    wymawianie_ = std::make_unique<Wymawianie>(
        siec, sluchaj, warning, [this] { return QString::fromStdString(stan_.dane.FolderDanych().string()); },
        vokara::AdresSlownika());
    // The player starts when a page that speaks first comes to the front, so its first word is not kept waiting.
    connect(ui->PStrony, &QTabWidget::currentChanged, &sluchaj, [&sluchaj](int strona) {
        if (strona > 0)
            sluchaj.Przygotuj();
    });
    wymow_ = [this](const std::string& slowo) { wymawianie_->Wymow(slowo); };
    aktualizacja_ = std::make_unique<Aktualizacja>(
        siec, warning, stan_.dane,
        [this] {
            if (!ZaladujDane())
                QCoreApplication::exit(1); // the new list is gone: nothing can work
        },
        vokara::AdresDomowy(), this);
    // One notice when progress cannot be kept; it waits until the check that met the failure has finished.
    connect(&stan_.pamiec, &vokara::Pamiec::awaria, this, [this](const QString& tekst) {
        QTimer::singleShot(0, this, [this, tekst] {
            warning_->Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji, tekst);
        });
    });
    // Several answers in a row redraw the pickers once.
    auto* odswiez = new QTimer(this);
    odswiez->setSingleShot(true);
    odswiez->setInterval(0);
    connect(odswiez, &QTimer::timeout, this, &TFGlowny::OdswiezPostep);
    connect(&stan_.pamiec, &vokara::Pamiec::zapisano, odswiez, qOverload<>(&QTimer::start));
}

bool TFGlowny::FormShow()
{
    if (!ZaladujDane())
        return false;
    if (pierwszePokazanie_) {
        pierwszePokazanie_ = false;
        Wysrodkuj();
    }
    return true;
}

void TFGlowny::Wysrodkuj()
{
    if (const QScreen* ekran = screen()) {
        QRect ramka = frameGeometry();
        ramka.moveCenter(ekran->availableGeometry().center());
        move(ramka.topLeft());
    }
}

void TFGlowny::moveEvent(QMoveEvent* zdarzenie)
{
    QWidget::moveEvent(zdarzenie);
    PoliczRamke();
}

void TFGlowny::showEvent(QShowEvent* zdarzenie)
{
    QWidget::showEvent(zdarzenie);
    PoliczRamke();
}

void TFGlowny::PoliczRamke()
{
    // Before the window is first on screen its frame is unknown and counts as nothing; once the window manager has
    // framed it, centre it again, once, with the frame counted.
    if (!ramkaPoliczona_ && !pierwszePokazanie_ && windowHandle() && frameGeometry().size() != size()) {
        ramkaPoliczona_ = true;
        Wysrodkuj();
    }
}

bool TFGlowny::ZaladujDane()
{
    Q_ASSERT(warning_);
    std::error_code blad;
    stan_.dane.KatalogRoboczy = std::filesystem::current_path(blad);
    const int wynik = vokara::WczytajListe(stan_.dane);
    stan_.KolorWyboru = QColor(0, 128, 0);
    const auto komunikat = [this](const char* pierwsza, const char* druga) {
        warning_->Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                            QString::fromUtf8(pierwsza) + QLatin1Char('\r') + QString::fromUtf8(druga));
    };
    switch (wynik) {
    case vokara::ListaGotowa:
        for (QComboBox* lista : Wybory())
            WypelnijZestawy(lista);
        OdswiezPostep();
        UstawStrone(0);
        return true;
    case vokara::BrakListy:
        komunikat("Brak pliku z Listą zestawów. Program nie może działać.",
                  "Pobierz program i zainstaluj go ponownie.");
        return false;
    case vokara::ListaUszkodzona:
        komunikat("Plik Listy zestawów jest uszkodzony. Program nie może działać.", "Dokonaj aktualizacji danych.");
        break;
    default:
        komunikat("Brak zestawów słów w folderze Dane. Program nie może działać.", "Dokonaj aktualizacji danych.");
        break;
    }
    // Degraded: the next update compares with this version, so any other one downloads everything. The pickers
    // list nothing that Zestawy does not hold, and the choice page waits idle instead of showing placeholders.
    stan_.dane.WersjaDanych = "11.11.2011";
    stan_.dane.Zestawy.clear();
    stan_.dane.ZestawyListy = 0;
    for (QComboBox* lista : Wybory())
        lista->clear();
    // The choice page stays in front, idle.
    Test().UkryjTest();
    return true;
}

void TFGlowny::WypelnijZestawy(QComboBox* lista)
{
    lista->clear();
    for (const auto& z : stan_.dane.Zestawy)
        lista->addItem(vokara::ZCp1250(z.Nazwa));
    lista->setCurrentIndex(-1);
}

void TFGlowny::UstawStrone(int p)
{
    zmianaProgramowa_ = true;
    ui->PStrony->setCurrentIndex(p);
    zmianaProgramowa_ = false;
}

void TFGlowny::PStronyChange(int p)
{
    stan_.runda.Biezacy = -1;
    // Selecting an item from the program loads nothing: the page stays idle until the user picks a set.
    const auto pierwszy = [](QComboBox* lista) { lista->setCurrentIndex(lista->count() > 0 ? 0 : -1); };
    switch (p) {
    case 1:
        test_->UkryjTest();
        pierwszy(ui->CZestawSlow);
        UstawTryb(ui->RJezyk, 0);
        ui->RJezyk->setEnabled(true);
        break;
    case 2:
        wpis_->UkryjWpis();
        pierwszy(ui->CZestawSlow2);
        UstawTryb(ui->RJezyk2, 0);
        ui->RJezyk2->setEnabled(true);
        break;
    case 3:
        sluch_->UkryjSluch();
        pierwszy(ui->CZestawSlow3);
        break;
    case 4:
        ui->EWpis4->clear();
        ui->EWpis4->setFocus();
        break;
    default:
        break;
    }
}

void TFGlowny::OtworzPomoc()
{
    const int p = ui->PStrony->currentIndex();
    const char* plik = p >= 0 && p <= 4 ? PlikiPomocy[p] : PlikiPomocy[0];
    // Help lies beside the program, whatever the current directory; a failure to open it is not reported.
    OtwieraczPomocy(QCoreApplication::applicationDirPath() + QStringLiteral("/pomoc/") + QString::fromLatin1(plik));
}

bool TFGlowny::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    if (zdarzenie->type() == QEvent::KeyPress) {
        const auto* klawisz = static_cast<QKeyEvent*>(zdarzenie);
        auto* przycisk = qobject_cast<QPushButton*>(obiekt);
        if (przycisk && (klawisz->key() == Qt::Key_Return || klawisz->key() == Qt::Key_Enter) &&
            !(klawisz->modifiers() & ~Qt::KeypadModifier) && przycisk->isEnabled() && przycisk->isVisible()) {
            przycisk->click();
            return true;
        }
    }
    return QWidget::eventFilter(obiekt, zdarzenie);
}

void TFGlowny::OtworzStroneSystemowo(const QString& plik)
{
    if (!QFileInfo::exists(plik))
        return;
    // Where xdg-open stands in for the desktop, its answer says whether a browser took the page (3: no handler,
    // 4: the handler failed); it runs on its own, so the window never waits for it.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(plik)))
            PokazPomocWOknie(plik);
        return;
    }
    auto* proces = new QProcess(this);
    connect(proces, &QProcess::finished, this, [this, proces, plik](int kod, QProcess::ExitStatus stan) {
        if (stan != QProcess::NormalExit || kod == 3 || kod == 4)
            PokazPomocWOknie(plik);
        proces->deleteLater();
    });
    connect(proces, &QProcess::errorOccurred, this, [this, proces, plik](QProcess::ProcessError blad) {
        if (blad == QProcess::FailedToStart) {
            PokazPomocWOknie(plik);
            proces->deleteLater();
        }
    });
    proces->start(xdgOpen, {plik});
}

void TFGlowny::PokazPomocWOknie(const QString& plik)
{
    if (!pomocOkno_)
        pomocOkno_ = std::make_unique<TFPomoc>();
    pomocOkno_->Pokaz(plik);
}

void TFGlowny::ButAktualizacjaClick()
{
    aktualizacja_->Aktualizuj();
}

TFMojeZestawy& TFGlowny::MojeZestawy()
{
    if (!moje_) {
        Q_ASSERT(warning_);
        moje_ = std::make_unique<TFMojeZestawy>(
            [this] { return stan_.dane.KatalogRoboczy; },
            [this] {
                const auto& z = stan_.dane.Zestawy;
                return vokara::_zestawy(z.begin(),
                                        z.begin() + std::ptrdiff_t(std::min(z.size(), stan_.dane.ZestawyListy)));
            },
            *warning_, this);
        connect(moje_.get(), &TFMojeZestawy::zestawyZmienione, this, &TFGlowny::OdswiezMoje);
    }
    return *moje_;
}

void TFGlowny::ButMojeZestawyClick()
{
    MojeZestawy().Otworz();
}

void TFGlowny::OdswiezMoje()
{
    // Without the list file's sets the pickers stay empty, as the data load left them.
    if (stan_.dane.ZestawyListy == 0)
        return;
    vokara::WczytajMoje(stan_.dane);
    for (QComboBox* lista : Wybory()) {
        const int wybrany = lista->currentIndex();
        const QString nazwa = lista->currentText();
        const QSignalBlocker blokada(lista);
        WypelnijZestawy(lista);
        // The list file's sets keep their places; an own set is found again by its name.
        const int indeks =
            wybrany >= 0 && std::size_t(wybrany) < stan_.dane.ZestawyListy ? wybrany : lista->findText(nazwa);
        lista->setCurrentIndex(wybrany >= 0 ? indeks : -1);
    }
    // Refilling dropped the review item and the progress bars; the memory puts them back.
    OdswiezPostep();
}

void TFGlowny::closeEvent(QCloseEvent* zdarzenie)
{
    // Unsaved work in the editor is asked about before the program ends with the main window.
    if (moje_ && !moje_->MoznaOpuscic()) {
        zdarzenie->ignore();
        return;
    }
    QWidget::closeEvent(zdarzenie);
}

void TFGlowny::OtworzPamiec()
{
    stan_.pamiec.Otworz(QString::fromStdString((stan_.dane.FolderDanych() / vokara::PlikPostepow).string()));
    OdswiezPostep();
}

void TFGlowny::OdswiezPostep()
{
    if (stan_.pamiec.Dostepna())
        vokara::OdswiezWybory(stan_.pamiec, stan_.dane, Wybory());
}

void TFGlowny::ButPostepyClick()
{
    if (!postepy_)
        postepy_ = std::make_unique<TFPostepy>(stan_.pamiec, stan_.dane, this);
    postepy_->Pokaz();
}
