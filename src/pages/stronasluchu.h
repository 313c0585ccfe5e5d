// The listening pages: dictation of the loaded set, and free pronunciation of any typed word.
#pragma once

#include "cwiczenie.h"

#include <functional>

class StronaSluchu : public Cwiczenie {
    Q_OBJECT

public:
    // `wymowDowolne` pronounces typed text, which may not fit the data code page at all.
    StronaSluchu(StanProgramu& stan, FormularzGlowny& ui, TFWarning& warning, Wymowa wymow,
                 std::function<void(const QString&)> wymowDowolne, QObject* parent);

    void Ukryj() override { UkryjSluch(); }
    void UkryjSluch();
    void PokazSluch();
    void NastepnySluch();
    void SprawdzSluch();
    void BSluchajSlowoClick();
    void OdsluchajDowolne();

protected:
    bool Wczytaj(int i) override;
    bool KlawiszWpisu(QLineEdit* pole, int klawisz, Qt::KeyboardModifiers modyfikatory) override;

private:
    std::function<void(const QString&)> wymowDowolne_;
};
