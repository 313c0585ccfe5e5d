// Main window: start-up load, pickers, page switching, help, skin and the welcome page.
#include "fglowny.h"

#include "adresy.h"
#include "aktualizacja.h"
#include "cien.h"
#include "fmojezestawy.h"
#include "fpomoc.h"
#include "fpostepy.h"
#include "fslowaztekstu.h"
#include "fsluchaj.h"
#include "fwarning.h"
#include "ikona.h"
#include "malowanie.h"
#include "siec.h"
#include "skorka.h"
#include "slownik.h"
#include "stronafiszek.h"
#include "stronaodsluchu.h"
#include "stronasluchu.h"
#include "stronatestu.h"
#include "stronawpisu.h"
#include "tekst.h"
#include "ui_fglowny.h"
#include "wlasne.h"
#include "wybory.h"
#include "wyborzestawu.h"
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
#include <QVBoxLayout>
#include <QWindow>

#include <system_error>

namespace {
// The welcome page's help; each exercise page names its own.
constexpr const char* PomocPowitania = "index.htm";
} // namespace

TFGlowny::TFGlowny(StanProgramu& stan, QWidget* parent)
    // The window's flags are given at construction: changing them later re-parents the window and makes every
    // control take its style sheet again. The skin is in force before the controls exist for the same reason.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      stan_(stan), ui(std::make_unique<Ui::TFGlowny>())
{
    FormCreate();
    ui->setupUi(this);
    // The exercise pages, in tab order: each is made when it first comes to the front.
    DodajStrone<StronaTestu>();
    DodajStrone<StronaWpisu>();
    DodajStrone<StronaSluchu>();
    DodajStrone<StronaOdsluchu>();
    DodajStrone<StronaFiszek>();
    // Until the data load brings the welcome page, the first exercise page is in front (an idle one, should the
    // load fail).
    ui->PStrony->setCurrentIndex(1);
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
    EnterNaciska(ui->SPowitanie);
}

void TFGlowny::DodajStrone(const OpisStrony& opis, std::function<TStrona*(QWidget*)> zrob)
{
    auto* miejsce = new QWidget;
    miejsce->setObjectName(QString::fromLatin1(opis.Miejsce));
    ui->PStrony->addTab(miejsce, QString::fromUtf8(opis.Podpis));
    strony_.push_back({miejsce, &opis, std::move(zrob), nullptr});
}

void TFGlowny::ZbudujStrone(int p)
{
    Q_ASSERT(warning_);
    if (p < 1 || std::size_t(p) > strony_.size() || strony_[std::size_t(p - 1)].Strona)
        return;
    MiejsceStrony& m = strony_[std::size_t(p - 1)];
    m.Strona = m.Zrob(m.Miejsce);
    auto* uklad = new QVBoxLayout(m.Miejsce);
    uklad->setContentsMargins(0, 0, 0, 0);
    uklad->addWidget(m.Strona);
    // A page already on screen does not show a widget made after it.
    if (m.Miejsce->isVisible())
        m.Strona->show();
    connect(m.Strona, &TStrona::odpowiedziano, this,
            [this](const vokara::_word& wpis, int strona, int kierunek, bool dobrze) {
                stan_.pamiec.Zapisz(wpis.Angielski, wpis.Polski, strona, kierunek, dobrze);
            });
    connect(m.Strona, &TStrona::uznano, this,
            [this](const vokara::_word& wpis) { stan_.pamiec.Uznaj(wpis.Angielski, wpis.Polski); });
    if (QComboBox* wybor = m.Strona->Wybor()) {
        WypelnijZestawy(wybor);
        // The new picker shows the sets' progress; the pickers made before keep theirs.
        if (stan_.pamiec.Dostepna())
            vokara::OdswiezWybory(stan_.pamiec, stan_.dane, {wybor});
    }
    // A self-graded answer (flashcards) is kept with its grade.
    connect(m.Strona, &TStrona::ocenione, this, [this](const vokara::_word& wpis, int strona, int kierunek, int ocena) {
        stan_.pamiec.Zapisz(wpis.Angielski, wpis.Polski, strona, kierunek, vokara::Ocena(ocena));
    });
}

TStrona* TFGlowny::Strona(int p)
{
    ZbudujStrone(p);
    return p >= 1 && std::size_t(p) <= strony_.size() ? strony_[std::size_t(p - 1)].Strona : nullptr;
}

void TFGlowny::ZbudujStrony()
{
    for (int p = 1; p <= int(strony_.size()); ++p)
        ZbudujStrone(p);
}

std::vector<QComboBox*> TFGlowny::Wybory() const
{
    std::vector<QComboBox*> wybory;
    for (const MiejsceStrony& m : strony_) {
        if (QComboBox* lista = m.Strona ? m.Strona->Wybor() : nullptr)
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
    // What every page is made with.
    uslugi_.Los = &stan_.los;
    uslugi_.Wymow = [this](const std::string& slowo) { wymawianie_->Wymow(slowo); };
    uslugi_.WymowTekst = [this](const QString& tekst) { wymawianie_->Wymow(tekst); };
    uslugi_.Komunikat = [this](int rodzaj, int ikona, const QString& tekst) {
        warning_->Komunikat(rodzaj, ikona, tekst);
        return warning_->WynikOkna;
    };
    uslugi_.Zestaw = [this](int i, vokara::Zestaw& wynik) {
        if (!vokara::WczytajPlikZestawu(stan_.dane, i, wynik))
            return false;
        // Answers are kept under the set's file name; a picker item beyond the list's sets has none here.
        stan_.pamiec.NowaRunda(std::size_t(i) < stan_.dane.Zestawy.size() ? stan_.dane.Zestawy[std::size_t(i)].Plik
                                                                          : std::string());
        return true;
    };
    uslugi_.Powtorka = [this](vokara::Zestaw& wynik) { return stan_.pamiec.WczytajPowtorke(wynik); };
    uslugi_.Odstepy = [this](const vokara::_word& wpis) {
        return stan_.pamiec.OdstepyOcen(wpis.Angielski, wpis.Polski);
    };
    // Making the dictionary reads nothing: the dictionary page loads it on a worker thread when first shown.
    slownik_ = std::make_shared<vokara::Slownik>(vokara::FolderSlownikow());
    uslugi_.Slownik = slownik_;
    uslugi_.MojeZestawy = [this] { return vokara::NazwyMoichOdOstatniego(stan_.dane.KatalogRoboczy); };
    uslugi_.DodajDoMoich = [this](const QString& ang, const QString& pol, const QString& zestaw, QString& blad) {
        if (!vokara::DodajDoMojego(stan_.dane.KatalogRoboczy, ang, pol, zestaw, blad))
            return false;
        OdswiezMoje();
        return true;
    };
    aktualizacja_ = std::make_unique<Aktualizacja>(
        siec, warning, stan_.dane,
        [this] {
            if (!ZaladujDane())
                QCoreApplication::exit(1); // the new list is gone: nothing can work
        },
        vokara::AdresDomowy(), this);
    ui->ButAktualizacja->setToolTip(aktualizacja_->Podpowiedz());
    // The update's notice says when a set it removed had been practised: its progress stays.
    aktualizacja_->Cwiczony = [this](const std::string& plik) { return stan_.pamiec.Cwiczony(plik); };
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
    // An open "Postępy" follows the memory as well: an answer, the end of a move, a fit in the background.
    connect(odswiez, &QTimer::timeout, this, [this] {
        if (postepy_ && postepy_->isVisible())
            postepy_->Odswiez();
    });
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
    // The page in front stays there, idle.
    if (TStrona* strona = Strona(ui->PStrony->currentIndex()))
        strona->Ukryj();
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
    zPrzodu_ = p;
    przerwana_ = {};
    zmianaProgramowa_ = true;
    ui->PStrony->setCurrentIndex(p);
    zmianaProgramowa_ = false;
}

void TFGlowny::PStronyChange(int p)
{
    const int poprzednia = zPrzodu_;
    zPrzodu_ = p;
    // Back on the page a round was left on only to open "Moje zestawy": the round goes on where it stood.
    if (przerwana_.Zachowana && p == przerwana_.Strona) {
        if (vokara::Runda* runda = Strona(p)->Runda())
            runda->Biezacy = przerwana_.Biezacy;
        przerwana_ = {};
        return;
    }
    przerwana_ = {};
    if (p == 0 && poprzednia >= 1) {
        if (TStrona* strona = Strona(poprzednia); strona && strona->Runda() && strona->Runda()->JestBiezacy())
            przerwana_ = {poprzednia, strona->Runda()->Biezacy, false};
    }
    // A switch by the user ends the round in progress, whichever page it was on; the page brought to the front
    // starts idle.
    for (const MiejsceStrony& m : strony_) {
        if (vokara::Runda* runda = m.Strona ? m.Strona->Runda() : nullptr)
            runda->Biezacy = -1;
    }
    if (TStrona* strona = Strona(p))
        strona->Resetuj();
}

void TFGlowny::OtworzPomoc()
{
    const int p = ui->PStrony->currentIndex();
    const char* plik =
        p >= 1 && std::size_t(p) <= strony_.size() ? strony_[std::size_t(p - 1)].Opis->PlikPomocy : PomocPowitania;
    // Help lies beside the program, whatever the current directory; a failure to open it is not reported.
    OtwieraczPomocy(QCoreApplication::applicationDirPath() + QStringLiteral("/pomoc/") + QString::fromLatin1(plik));
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
        connect(moje_.get(), &TFMojeZestawy::zamkniety, this, &TFGlowny::MojeZamkniete);
        moje_->UstawSlownik(slownik_);
        moje_->TekstDoSlow = [](const QString& sciezka) { return vokara::TekstDoSlow(sciezka); };
        connect(moje_.get(), &TFMojeZestawy::slowaZTekstu, this,
                [this](const QString& sciezka) { OtworzSlowaZTekstu(sciezka); });
    }
    return *moje_;
}

void TFGlowny::ButMojeZestawyClick()
{
    MojeZestawy().Otworz();
}

void TFGlowny::MojeZamkniete(const QStringList& zmienione)
{
    // The round left for the editor is kept unless the editor changed the very set it drills.
    if (przerwana_.Strona < 1 || zPrzodu_ != 0)
        return;
    const QComboBox* wybor = Strona(przerwana_.Strona)->Wybor();
    if (!wybor)
        return;
    const int i = wybor ? wybor->currentIndex() : -1;
    const bool zmieniony = i >= 0 && std::size_t(i) < stan_.dane.Zestawy.size() &&
                           zmienione.contains(QString::fromStdString(stan_.dane.Zestawy[std::size_t(i)].Plik));
    przerwana_.Zachowana = !zmieniony && !vokara::JestPowtorka(*wybor, i);
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

TFSlowaZTekstu& TFGlowny::SlowaZTekstu()
{
    if (!slowa_) {
        UslugiSlow uslugi;
        uslugi.Slownik = slownik_;
        uslugi.Znane = [this] { return stan_.pamiec.OpanowaneAngielskie(); };
        uslugi.UtworzZestaw = [this](const QString& nazwa, const std::vector<std::pair<QString, QString>>& pary,
                                     QString& zapisana, QString& blad) {
            QList<vokara::Para> doZestawu;
            doZestawu.reserve(qsizetype(pary.size()));
            for (const auto& [angielski, polski] : pary)
                doZestawu.append({angielski, polski});
            return vokara::UtworzMoj(stan_.dane.KatalogRoboczy, nazwa, doZestawu, zapisana, blad);
        };
        slowa_ = std::make_unique<TFSlowaZTekstu>(std::move(uslugi), this);
        connect(slowa_.get(), &TFSlowaZTekstu::zestawUtworzony, this, &TFGlowny::OdswiezMoje);
    }
    return *slowa_;
}

void TFGlowny::OtworzSlowaZTekstu(const QString& sciezka)
{
    TFSlowaZTekstu& okno = SlowaZTekstu();
    okno.Pokaz();
    if (sciezka.isEmpty())
        okno.WybierzPlik();
    else
        okno.Wczytaj(sciezka);
}

void TFGlowny::OtworzPlik(const QString& sciezka)
{
    if (vokara::TekstDoSlow(sciezka)) {
        OtworzSlowaZTekstu(sciezka);
        return;
    }
    TFMojeZestawy& edytor = MojeZestawy();
    edytor.Importuj(sciezka);
    edytor.Otworz();
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
