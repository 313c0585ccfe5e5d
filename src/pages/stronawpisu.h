// The typing page: one word given, its translation typed; Enter drives the whole exercise.
#pragma once

#include "cwiczenie.h"

class StronaWpisu : public Cwiczenie {
    Q_OBJECT

public:
    StronaWpisu(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow, QObject* parent);

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
};
