// What the three exercise pages share: picking a set, the end-of-round question, progress and the answer keys.
#pragma once

#include "stan.h"

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class TFWarning;
class TWyborZestawu;

struct FormularzGlowny;

class Cwiczenie : public QObject {
    Q_OBJECT

public:
    Cwiczenie(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow, QObject* parent);

    // The page's idle state, also brought by every switch to it.
    virtual void Ukryj() = 0;

    static const QString KliknijNastepny;
    static const QString KoniecZestawu;

protected:
    // Binds the page's picker, comment line, "Następny" button and its idle prompt, and creates the progress line.
    void Powiaz(TWyborZestawu* lista, QLabel* komentarz, QPushButton* nastepny, QString tekstBezczynny);

    // Picking set i from the page's picker: idle, load, then ready for "Następny".
    void ZmianaZestawu(int i);
    // Loads the set for a round (the dictation page also leaves phrases out).
    virtual bool Wczytaj(int i);
    // What the page shows once a set is loaded, beyond the shared steps.
    virtual void PoWczytaniu() {}
    // The round is over: ask whether to repeat the set.
    void KoniecRundy();

    // "Zaliczone: X z Y, błędy: Z" of the loaded set, entries left out of the round not counted.
    void PokazPostep();
    // An answer to the current entry has just been checked (its Zaliczony says how): remember it, show the score.
    void Odpowiedziano(int kierunek);
    void UkryjPostep();

    // Handles Enter and Alt+L in an answer field; returns true when the key was consumed.
    virtual bool KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory);
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

    void Pokaz(const std::string& bajty, QLabel* etykieta);
    // Tells a screen reader that the comment line has new feedback, so it is read without moving the focus there.
    static void Oglos(QLabel* komentarz);
    bool JestBiezacy() const { return stan.runda.JestBiezacy(); }
    const vokara::_word& Biezacy() const { return stan.runda.BiezacyWyraz(); }

    StanProgramu& stan;
    FormularzGlowny& ui;
    TFWarning& warning;
    Wymowa wymow;
    int pominiete_ = 0; // entries counted as answered before the round began (phrases on the dictation page)

private:
    TWyborZestawu* lista_ = nullptr;
    QLabel* komentarz_ = nullptr;
    QPushButton* nastepny_ = nullptr;
    QLabel* postep_ = nullptr;
    QString tekstBezczynny_;
    int bledy_ = 0; // wrong answers in the current round
};

// The item index of a "Tryb pracy" group: 0 English given, 1 Polish given.
int IndeksTrybu(const QWidget* grupa);
void UstawTryb(QWidget* grupa, int indeks);
