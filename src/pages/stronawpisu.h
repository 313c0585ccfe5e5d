// The typing page: one word given, its translation typed; Enter drives the whole exercise.
#pragma once

#include "cwiczenie.h"

#include <memory>

namespace Ui {
class TStronaWpisu;
}

class StronaWpisu : public Cwiczenie {
    Q_OBJECT

public:
    StronaWpisu(Uslugi uslugi, QWidget* parent = nullptr);
    ~StronaWpisu() override;

    static constexpr OpisStrony Opis{"sWpisSlowa", "      Wpisywanie słowa       ", "wpis.htm"};
    static constexpr int Id = 2;

    void Resetuj() override;
    void Ukryj() override { UkryjWpis(); }
    void UkryjWpis();
    void PokazWpis();
    void NastepnyWpis();
    void SprawdzWpis();
    void ButNastepny2Click();
    void BSluchajWyrazWpisClick();

protected:
    void PoWczytaniu() override;
    bool KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory) override;

private:
    int Tryb() const;

    std::unique_ptr<Ui::TStronaWpisu> ui;
};
