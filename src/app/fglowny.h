// The main window: the welcome page and the list of exercise pages, the data load, page resets, help, the update.
#pragma once

#include "stan.h"
#include "strona.h"
#include "uslugi.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class Aktualizacja;
class Siec;
class TFSluchaj;
class TFMojeZestawy;
class TFPostepy;
class TFPomoc;
class TFSlowaZTekstu;
class TFWarning;
class Wymawianie;

namespace vokara {
class Slownik;
} // namespace vokara

namespace Ui {
class TFGlowny;
}

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
    // The editor closed: a round left on an exercise page just to open it goes on when the user comes back, unless
    // the editor changed the set it drills.
    void MojeZamkniete(const QStringList& zmienione);
    // Lists the own sets afresh in every picker after the editor saved or removed one; each picker keeps its pick,
    // and a round in progress goes on with the words it loaded.
    void OdswiezMoje();
    // The learning memory: opened once the window shows; the pickers follow it; "Postępy" opens its window.
    void OtworzPamiec();
    void OdswiezPostep();
    void ButPostepyClick();
    TFPostepy* OknoPostepow() { return postepy_.get(); }

    // The built-in dictionary: made with the window, read only when a page or window that needs it first shows.
    const std::shared_ptr<vokara::Slownik>& Slownik() const { return slownik_; }
    // The "Słowa z tekstu" window, created on first use. OtworzSlowaZTekstu shows it with the file read (or, with no
    // file, asks for one); a set made there is listed in every picker at once.
    TFSlowaZTekstu& SlowaZTekstu();
    void OtworzSlowaZTekstu(const QString& sciezka = QString());
    // A file given to the program (`vokara FILE`): running text (subtitles, HTML, prose; vokara::TekstCiagly) opens
    // the words window with it, anything else the own-sets editor with the file imported as a new set.
    void OtworzPlik(const QString& sciezka);

    // Opens a help file; replaceable so a test can record the path instead of starting a browser.
    std::function<void(const QString&)> OtwieraczPomocy;
    // The default opener: the desktop's handler for the page, or the program's own help window when there is
    // none or it fails. A page that does not exist opens nothing.
    void OtworzStroneSystemowo(const QString& plik);
    // The program's own help window, created on first use.
    void PokazPomocWOknie(const QString& plik);
    TFPomoc* OknoPomocy() const { return pomocOkno_.get(); }

    // The page on tab p (1 the first exercise page), made now if it was not made yet; null for the welcome page.
    TStrona* Strona(int p);
    // Every page made (they are otherwise made when first shown).
    void ZbudujStrony();
    // The first page of a kind, made if need be.
    template <typename T> T& Strona()
    {
        ZbudujStrony();
        for (const auto& m : strony_) {
            if (auto* s = qobject_cast<T*>(m.Strona))
                return *s;
        }
        Q_UNREACHABLE();
    }
    Wymawianie& Wymowa() { return *wymawianie_; }
    Aktualizacja& Aktualizator() { return *aktualizacja_; }

protected:
    void closeEvent(QCloseEvent* zdarzenie) override;
    void moveEvent(QMoveEvent* zdarzenie) override;
    void showEvent(QShowEvent* zdarzenie) override;

private:
    // One exercise page: the tab's page widget it is made in when first shown, and how to make it.
    struct MiejsceStrony {
        QWidget* Miejsce = nullptr;
        const OpisStrony* Opis = nullptr;
        std::function<TStrona*(QWidget*)> Zrob;
        TStrona* Strona = nullptr;
    };
    template <typename T> void DodajStrone()
    {
        DodajStrone(T::Opis, [this](QWidget* miejsce) -> TStrona* { return new T(uslugi_, miejsce); });
    }
    void DodajStrone(const OpisStrony& opis, std::function<TStrona*(QWidget*)> zrob);
    void ZbudujStrone(int p);
    void FormCreate();
    // Brings a page to the front from the program: no page reset follows.
    void UstawStrone(int p);
    // Puts the window, frame included, in the middle of its screen's free area.
    void Wysrodkuj();
    void PoliczRamke();
    // The pickers of the pages made so far.
    std::vector<QComboBox*> Wybory() const;

    StanProgramu& stan_;
    std::unique_ptr<Ui::TFGlowny> ui;
    std::vector<MiejsceStrony> strony_;
    Uslugi uslugi_; // what the pages are made with
    TFWarning* warning_ = nullptr;
    std::unique_ptr<Wymawianie> wymawianie_;
    std::unique_ptr<Aktualizacja> aktualizacja_;
    std::unique_ptr<TFMojeZestawy> moje_;
    std::unique_ptr<TFPostepy> postepy_; // created on first use
    std::unique_ptr<TFPomoc> pomocOkno_;
    std::shared_ptr<vokara::Slownik> slownik_;
    std::unique_ptr<TFSlowaZTekstu> slowa_; // created on first use
    bool zmianaProgramowa_ = false;
    int zPrzodu_ = 1; // the tab in front
    // The round on the exercise page the user left for the welcome page: its page and current entry, and whether it
    // goes on when the user comes back (the editor was opened and closed meanwhile without touching its set).
    struct Przerwana {
        int Strona = -1;
        int Biezacy = -1;
        bool Zachowana = false;
    } przerwana_;
    bool pierwszePokazanie_ = true;
    bool ramkaPoliczona_ = false; // centred again once the window manager's frame was known
};
