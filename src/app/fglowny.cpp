// Main window: start-up load, pickers, page switching, help, skin and the welcome page.
#include "fglowny.h"

#include "adresy.h"
#include "aktualizacja.h"
#include "fsluchaj.h"
#include "fwarning.h"
#include "siec.h"
#include "skorka.h"
#include "stronasluchu.h"
#include "stronatestu.h"
#include "stronawpisu.h"
#include "tekst.h"
#include "ui_fglowny.h"
#include "wymawianie.h"

#include <QDesktopServices>
#include <QGraphicsDropShadowEffect>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>

#include <system_error>

const char* const TFGlowny::PlikiPomocy[5] = {"index.htm", "test.htm", "wpis.htm", "sluchanie.htm", "odsluch.htm"};

TFGlowny::TFGlowny(StanProgramu& stan, QWidget* parent)
    : QWidget(parent), stan_(stan), ui(std::make_unique<Ui::TFGlowny>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(1066, 600);
    setWindowIcon(QIcon(QStringLiteral(":/obrazy/vokara.png")));

    // The welcome text's last line names the home site the update uses.
    QStringList powitanie = ui->LPowitanie->text().split(QLatin1Char('\n'));
    const QString domowa = vokara::AdresDomowy();
    powitanie.last() =
        QStringLiteral("Strona domowa: ") + (vokara::AdresUstawiony(domowa) ? domowa : QStringLiteral("nie ustawiono"));
    ui->LPowitanie->setText(powitanie.join(QLatin1Char('\n')));
    auto* cien = new QGraphicsDropShadowEffect(ui->LPowitanie);
    cien->setBlurRadius(6);
    cien->setOffset(2, 2);
    cien->setColor(QColor(0, 0, 0, 70));
    ui->LPowitanie->setGraphicsEffect(cien);

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

    OtwieraczPomocy = [](const QString& plik) { QDesktopServices::openUrl(QUrl::fromLocalFile(plik)); };
    connect(ui->PStrony, &QTabWidget::currentChanged, this, [this](int p) {
        if (!zmianaProgramowa_)
            PStronyChange(p);
    });
    connect(ui->ButAktualizacja, &QPushButton::clicked, this, &TFGlowny::ButAktualizacjaClick);
    FormCreate();
}

TFGlowny::~TFGlowny()
{
    // FormDestroy: the shared line list goes with the window.
    stan_.dane.Lista.clear();
}

void TFGlowny::FormCreate()
{
    stan_.dane.Lista.clear();
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
    auto wymow = [this](const std::string& slowo) { wymawianie_->Wymow(slowo); };
    test_ = new StronaTestu(stan_, *ui, warning, wymow, this);
    wpis_ = new StronaWpisu(stan_, *ui, warning, wymow, this);
    sluch_ = new StronaSluchu(
        stan_, *ui, warning, wymow, [this](const QString& s) { wymawianie_->Wymow(s); }, this);
    aktualizacja_ = std::make_unique<Aktualizacja>(
        siec, warning, stan_.dane,
        [this] {
            if (!ZaladujDane())
                QCoreApplication::exit(1); // the new list is gone: nothing can work
        },
        vokara::AdresDomowy(), this);
}

bool TFGlowny::FormShow()
{
    if (!ZaladujDane())
        return false;
    if (pierwszePokazanie_) {
        pierwszePokazanie_ = false;
        if (const QScreen* ekran = screen()) {
            QRect ramka = frameGeometry();
            ramka.moveCenter(ekran->availableGeometry().center());
            move(ramka.topLeft());
        }
    }
    return true;
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
        WypelnijZestawy(ui->CZestawSlow);
        WypelnijZestawy(ui->CZestawSlow2);
        WypelnijZestawy(ui->CZestawSlow3);
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
    for (QComboBox* lista : {static_cast<QComboBox*>(ui->CZestawSlow), static_cast<QComboBox*>(ui->CZestawSlow2),
                             static_cast<QComboBox*>(ui->CZestawSlow3)})
        lista->clear();
    test_->UkryjTest();
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
    stan_.silnik.Biezacy = -1;
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

void TFGlowny::ButAktualizacjaClick()
{
    aktualizacja_->Aktualizuj();
}
