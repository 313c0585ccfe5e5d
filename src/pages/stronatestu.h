// The choice test page: one word, up to three translations to pick from.
#pragma once

#include "cwiczenie.h"

#include <array>

class StronaTestu : public Cwiczenie {
    Q_OBJECT

public:
    StronaTestu(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow, QObject* parent);

    void Ukryj() override { UkryjTest(); }
    void UkryjTest();
    void PokazTest();
    void WypelnijTest();
    void NastepnyTest();
    void SprawdzTest();
    void WybierzOpcje(int n);

    void ButNastepnyClick();
    void BSluchajWyrazClick(int n); // 0 the given word, 1..3 the options

    int Wybrana = -1; // 1..3 the picked option, -1 none

protected:
    void PoWczytaniu() override;
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    int Tryb() const;
    void UstawKolorOpcji(int n, const QColor& kolor);
    QLabel* Opcja(int n) const;
    QWidget* Glosnik(int n) const;

    // The data bytes behind each shown option: the check compares these, never a re-encoded caption.
    std::array<std::string, 3> opcje_;
    int liczbaOpcji_ = 0;
};
