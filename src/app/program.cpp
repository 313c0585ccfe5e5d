// Start-up: the three windows in order, an interrupted update rolled back, the data load before the main window shows.
#include "program.h"

#include "aktualizacja.h"
#include "malowanie.h"
#include "wybory.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

void UstawAplikacje()
{
    // The name the desktop lists the running program under; no display name, which Qt would append to captions.
    QApplication::setApplicationName(QStringLiteral("Vokara"));
    // One sans-serif face for every text; sizes are pixels, as the layouts give them.
    QFont czcionka(QStringLiteral("Liberation Sans"));
    czcionka.setStyleHint(QFont::SansSerif);
    czcionka.setPixelSize(11);
    QApplication::setFont(czcionka);
    WczytajPolskieTeksty();
}

bool WczytajPolskieTeksty()
{
    auto* aplikacja = QCoreApplication::instance();
    if (aplikacja->findChild<QTranslator*>(QStringLiteral("qtbase_pl"), Qt::FindDirectChildrenOnly))
        return true;
    auto* tlumacz = new QTranslator(aplikacja);
    tlumacz->setObjectName(QStringLiteral("qtbase_pl"));
    if (!tlumacz->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete tlumacz;
        return false; // Qt's own texts stay in English; the program's are Polish anyway
    }
    QCoreApplication::installTranslator(tlumacz);
    return true;
}

Program::Program()
{
    FGlowny = std::make_unique<TFGlowny>(stan);
    FWarning = std::make_unique<TFWarning>();
    FSluchaj = std::make_unique<TFSluchaj>();
    FGlowny->Polacz(*FWarning, *FSluchaj, siec);
}

Program::~Program() = default;

bool Program::Pokaz()
{
    // An update a crash cut short is rolled back before the data is read, so the data folder is wholly old or wholly
    // new and its list is always there.
    Aktualizacja::NaprawFolderDanych(QDir::current().filePath(QStringLiteral("dane")));
    if (!FGlowny->FormShow())
        return false;
    FGlowny->show();
    // The learning memory opens once the window has been painted, so it never delays the start.
    vokara::PoPierwszymMalowaniu(FGlowny.get(), [okno = FGlowny.get()] { okno->OtworzPamiec(); });
    return true;
}
