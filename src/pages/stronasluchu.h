// The dictation page: each new question plays its word; the word or its meaning is typed.
#pragma once

#include "cwiczenie.h"

#include <memory>

namespace Ui {
class TStronaSluchu;
}

class StronaSluchu : public Cwiczenie {
    Q_OBJECT

public:
    StronaSluchu(Uslugi uslugi, QWidget* parent = nullptr);
    ~StronaSluchu() override;

    static constexpr OpisStrony Opis{"sSluchanie", "        Słuchanie        ", "sluchanie.htm"};
    static constexpr int Id = 3;

    void Resetuj() override;
    void Ukryj() override { UkryjSluch(); }
    void UkryjSluch();
    void PokazSluch();
    void NastepnySluch();
    void SprawdzSluch();
    void BSluchajSlowoClick();

protected:
    bool Wczytaj(int i) override;
    bool KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory) override;

private:
    std::unique_ptr<Ui::TStronaSluchu> ui;
};
