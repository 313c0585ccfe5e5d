// The flashcards page: a word given, its answer shown on request, the learner's own grade of their recall.
#pragma once

#include "cwiczenie.h"

#include <array>
#include <memory>

class QShortcut;

namespace Ui {
class TStronaFiszek;
}

class StronaFiszek : public Cwiczenie {
    Q_OBJECT

public:
    StronaFiszek(Uslugi uslugi, QWidget* parent = nullptr);
    ~StronaFiszek() override;

    static constexpr OpisStrony Opis{"sFiszki", "            Fiszki             ", "fiszki.htm"};
    // The page as the learning memory records it (vokara::StronaFiszek).
    static constexpr int Id = 5;

    void Resetuj() override;
    void Ukryj() override { UkryjFiszke(); }
    void UkryjFiszke();
    void ButNastepny5Click();
    // The next card of the round, or the end-of-round question when every card is answered.
    void NastepnaFiszka();
    void PokazOdpowiedz();
    // Grade 1 ("Nie pamiętam") to 4 ("Łatwe") of the card whose answer is shown.
    void Ocen(int ocena);
    void BSluchajClick();

    // The four grade buttons, "Nie pamiętam" first.
    QPushButton* Przycisk(int ocena) const;

protected:
    void PoWczytaniu() override;

private:
    // Where the current card stands: none shown, its given word alone, its answer shown for a grade.
    enum class Etap { Brak, Pytanie, Odpowiedz };

    int Tryb() const;
    // The captions above the given word and above its answer follow the direction: each names the side it shows.
    void Podpisz();
    void UstawOceny();
    void UstawKlawisze();

    std::unique_ptr<Ui::TStronaFiszek> ui;
    Etap etap_ = Etap::Brak;
    QShortcut* spacja_ = nullptr;
    std::array<QShortcut*, 4> cyfry_{};
};
