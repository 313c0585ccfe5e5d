// The dictionary page: any typed English word or phrase is spoken, and as the learner types its IPA and meanings show
// under the field (a Polish word shows its English candidates); a meaning goes into an own set with one button.
#pragma once

#include "strona.h"
#include "uslugi.h"

#include <QFutureWatcher>

#include <memory>
#include <vector>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;
class QToolButton;

namespace Ui {
class TStronaOdsluchu;
}

class StronaOdsluchu : public TStrona {
    Q_OBJECT

public:
    StronaOdsluchu(Uslugi uslugi, QWidget* parent = nullptr);
    ~StronaOdsluchu() override;

    static constexpr OpisStrony Opis{"sSluchanieSlowa", "     Odsłuchanie słowa       ", "odsluch.htm"};

    // How long typing must pause before the word is looked up.
    static constexpr int PrzerwaPisania = 300;
    // At most this many meanings show under the field.
    static constexpr int NajwiecejZnaczen = 6;

    void Resetuj() override;
    void OdsluchajDowolne();
    // Looks the typed text up now (the pause's end does it); the results show when the look-up is done.
    void Szukaj();
    // Adds the typed word with the meaning picked to the own set picked; the line under the meanings says how it went.
    void DodajDoMoich();

    // One meaning on the page: what it shows and the pair it gives an own set.
    struct Pozycja {
        QString Czesc;           // the part of speech's abbreviation on the first meaning of its group, else empty
        QString CzescPelna;      // the part of speech in full, for a screen reader
        QString Tekst;           // the meaning as shown
        QString Dopisek;         // what narrows it, or an English candidate's IPA and the Polish definition, in grey
        QString Naglowek;        // a heading shown above this meaning (a second reading of the typed text), or empty
        bool Angielskie = false; // an English candidate of a Polish word: it has a loudspeaker
        QString Angielski, Polski;
    };
    // The meanings shown now, in order, and the one picked (-1 when none shows).
    const std::vector<Pozycja>& Pozycje() const { return pozycje_; }
    int Wybrana() const;

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;
    void showEvent(QShowEvent* zdarzenie) override;

private:
    // What a look-up on the worker thread found, with everything the page shows.
    struct Znalezione {
        int Numer = 0;
        QString Tekst;    // the text looked up
        QString Naglowek; // the headword line: "umbrella  /ʌmˈbrələ/", "łyżka – po angielsku:"
        std::vector<Pozycja> Pozycje;
        QString Uwaga;          // the dictionary's own message ("Słownik nie jest zainstalowany…"), or empty
        bool BrakSlowa = false; // the dictionaries were read and know nothing of the text
    };
    void ZacznijWczytywanie();
    static Znalezione Znajdz(vokara::Slownik& slownik, const QString& tekst, int numer);
    void Pokaz(const Znalezione& z);
    void Wyczysc();
    void UstawRzad(int i, const Pozycja& p, int& y);
    void Komunikat(const QString& tekst);
    void WypelnijZestawy(const QString& wybierz = QString());
    void WymowPozycje(int i);

    Uslugi uslugi_;
    std::unique_ptr<Ui::TStronaOdsluchu> ui;
    QTimer* pauza_ = nullptr;
    QFutureWatcher<Znalezione> szukanie_;
    int numer_ = 0;          // the latest look-up asked for; an older one's results are dropped
    bool wczytanie_ = false; // the dictionary's load has been started
    QString uwaga_;          // what the dictionary says of itself once loaded (not installed, damaged), or empty
    std::vector<Pozycja> pozycje_;
    // The meanings' rows, made once: the part of speech, the pick, the loudspeaker and the grey note.
    struct Rzad {
        QLabel* Naglowek = nullptr;
        QLabel* Czesc = nullptr;
        QRadioButton* Wybor = nullptr;
        QToolButton* Glosnik = nullptr;
        QLabel* Dopisek = nullptr;
    };
    std::vector<Rzad> rzedy_;
    QButtonGroup* wybory_ = nullptr;
};
