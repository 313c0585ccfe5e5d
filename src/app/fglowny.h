// The main window: five pages, the data load, page resets, help and the update button.
#pragma once

#include "stan.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class Aktualizacja;
class Siec;
class StronaSluchu;
class StronaTestu;
class StronaWpisu;
class TFSluchaj;
class TFMojeZestawy;
class TFPostepy;
class TFPomoc;
class TFWarning;
class Wymawianie;

struct FormularzGlowny;
class TWyborZestawu;

class TFGlowny : public QWidget {
    Q_OBJECT

public:
    explicit TFGlowny(StanProgramu& stan, QWidget* parent = nullptr);
    ~TFGlowny() override;

    // Gives the window the message box and the pronunciation it needs; they are created after it.
    void Polacz(TFWarning& warning, TFSluchaj& sluchaj, Siec& siec);

    // Runs the data load before the window is first shown. False when the program must end (no list file).
    bool FormShow();
    bool ZaladujDane();
    void WypelnijZestawy(QComboBox* lista);
    void PStronyChange(int p);
    void OtworzPomoc();
    void ButAktualizacjaClick();
    // The own-sets editor, created on first use so start-up does not pay for it.
    TFMojeZestawy& MojeZestawy();
    void ButMojeZestawyClick();
    // Lists the own sets afresh in every picker after the editor saved or removed one; each picker keeps its pick,
    // and a round in progress goes on with the words it loaded.
    void OdswiezMoje();
    // The learning memory: opened once the window shows; the pickers follow it; "Postępy" opens its window.
    void OtworzPamiec();
    void OdswiezPostep();
    void ButPostepyClick();
    TFPostepy* OknoPostepow() { return postepy_.get(); }

    // Opens a help file; replaceable so a test can record the path instead of starting a browser.
    std::function<void(const QString&)> OtwieraczPomocy;
    // The default opener: the desktop's handler for the page, or the program's own help window when there is
    // none or it fails. A page that does not exist opens nothing.
    void OtworzStroneSystemowo(const QString& plik);
    // The program's own help window, created on first use.
    void PokazPomocWOknie(const QString& plik);
    TFPomoc* OknoPomocy() const { return pomocOkno_.get(); }

    // The whole form with every page made (the pages are otherwise made when first shown).
    FormularzGlowny& Formularz();
    StronaTestu& Test();
    StronaWpisu& Wpis();
    StronaSluchu& Sluch();
    // Makes page p's controls and the code that drives them, if not made yet: the choice page (1), the typing page
    // (2), or the two listening pages together (3 and 4), which one class drives.
    void ZbudujStrone(int p);
    Wymawianie& Wymowa() { return *wymawianie_; }
    Aktualizacja& Aktualizator() { return *aktualizacja_; }

    static const char* const PlikiPomocy[5];

protected:
    void closeEvent(QCloseEvent* zdarzenie) override;
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;
    void moveEvent(QMoveEvent* zdarzenie) override;
    void showEvent(QShowEvent* zdarzenie) override;

private:
    void FormCreate();
    // Brings a page to the front from the program: no page reset follows.
    void UstawStrone(int p);
    // Puts the window, frame included, in the middle of its screen's free area.
    void Wysrodkuj();
    void PoliczRamke();
    // The pickers of the pages made so far.
    std::vector<QComboBox*> Wybory() const;

    StanProgramu& stan_;
    std::unique_ptr<FormularzGlowny> ui;
    ::Wymowa wymow_; // pronounces a word of a set, for the pages
    TFWarning* warning_ = nullptr;
    std::unique_ptr<Wymawianie> wymawianie_;
    std::unique_ptr<Aktualizacja> aktualizacja_;
    std::unique_ptr<TFMojeZestawy> moje_;
    std::unique_ptr<TFPostepy> postepy_; // created on first use
    StronaTestu* test_ = nullptr;
    StronaWpisu* wpis_ = nullptr;
    StronaSluchu* sluch_ = nullptr;
    std::unique_ptr<TFPomoc> pomocOkno_;
    bool zmianaProgramowa_ = false;
    bool pierwszePokazanie_ = true;
    bool ramkaPoliczona_ = false; // centred again once the window manager's frame was known
};
