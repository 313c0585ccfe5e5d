// What the three exercise pages share: a round of a picked set, the end-of-round question, progress, feedback.
#pragma once

#include "runda.h"
#include "strona.h"
#include "uslugi.h"

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class Cwiczenie : public TStrona {
    Q_OBJECT

public:
    Cwiczenie(Uslugi uslugi, QWidget* parent);

    TWyborZestawu* Wybor() const override { return lista_; }
    vokara::Runda* Runda() override { return &runda_; }

    static const QString KliknijNastepny;
    static const QString KoniecZestawu;

protected:
    // Binds the page's picker, comment line, "Następny" button and its idle prompt, and creates the progress line.
    // `id` is the page as the learning memory knows it.
    void Powiaz(int id, TWyborZestawu* lista, QLabel* komentarz, QPushButton* nastepny, QString tekstBezczynny);

    // Picking set i from the page's picker: idle, load, then ready for "Następny".
    void ZmianaZestawu(int i);
    // Loads the set for a round (the dictation page also leaves phrases out).
    virtual bool Wczytaj(int i);
    // What the page shows once a set is loaded, beyond the shared steps.
    virtual void PoWczytaniu() {}
    // The round is over: ask whether to repeat the set.
    void KoniecRundy();
    // The idle picker on its first item, the round without a current entry.
    void ResetujWybor();

    // The page's "Uznaj odpowiedź" button: shown after a wrong verdict, it lets the learner's word count.
    void PowiazUznanie(QPushButton* uznaj);
    void PokazUznanie(bool widoczne);
    void UznajOdpowiedz();

    // The IPA of an English word (data bytes) in its own small line, the word before it when `zeSlowem`. The
    // dictionary answers on a worker thread (its first use reads it); a line asked again meanwhile drops the answer.
    void PokazWymowe(QLabel* linia, const std::string& angielski, bool zeSlowem = false);
    void UkryjWymowe(QLabel* linia);

    // "Zaliczone: X z Y, błędy: Z" of the loaded set, entries left out of the round not counted.
    void PokazPostep();
    // An answer to the current entry has just been checked (its Zaliczony says how): report it, show the score.
    void Odpowiedziano(int kierunek);
    // The learner has graded the current entry (its Zaliczony says whether the round counts it answered): report
    // the grade, show the score.
    void Ocenione(int kierunek, int ocena);
    void UkryjPostep();

    // Handles Enter and Alt+L in the page's answer field; returns true when the key was consumed.
    virtual bool KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory);
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

    void Pokaz(const std::string& bajty, QLabel* etykieta);
    // Tells a screen reader that the comment line has new feedback, so it is read without moving the focus there.
    static void Oglos(QLabel* komentarz);
    bool JestBiezacy() const { return runda_.JestBiezacy(); }
    const vokara::_word& Biezacy() const { return runda_.BiezacyWyraz(); }
    int Komunikat(int rodzaj, int ikona, const QString& tekst) { return uslugi_.Komunikat(rodzaj, ikona, tekst); }
    void Wymow(const std::string& slowo) { uslugi_.Wymow(slowo); }

    Uslugi uslugi_;
    vokara::Runda runda_;
    int pominiete_ = 0; // entries counted as answered before the round began (phrases on the dictation page)

private:
    int id_ = 0;
    TWyborZestawu* lista_ = nullptr;
    QLabel* komentarz_ = nullptr;
    QPushButton* nastepny_ = nullptr;
    QPushButton* uznaj_ = nullptr;
    QLabel* postep_ = nullptr;
    QString tekstBezczynny_;
    int bledy_ = 0;           // wrong answers in the current round
    quint64 numerWymowy_ = 0; // the latest IPA asked for; an older answer is dropped
};

// The item index of a "Tryb pracy" group: 0 English given, 1 Polish given.
int IndeksTrybu(const QWidget* grupa);
void UstawTryb(QWidget* grupa, int indeks);
