// The choice test page: one word, up to three translations to pick from.
#pragma once

#include "cwiczenie.h"

#include <array>
#include <memory>

class QFrame;

namespace Ui {
class TStronaTestu;
}

class StronaTestu : public Cwiczenie {
    Q_OBJECT

public:
    StronaTestu(Uslugi uslugi, QWidget* parent = nullptr);
    ~StronaTestu() override;

    static constexpr OpisStrony Opis{"STestWyboru", "            Test wyboru              ", "test.htm"};
    // The page as the learning memory records it.
    static constexpr int Id = 1;

    void Resetuj() override;
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
    void Enter();
    void UstawKolorOpcji(int n, const QColor& kolor);
    // After the check: the right option green, a wrong pick red, and a screen reader told.
    void PokazWerdykt(bool dobrze, int tryb);
    QLabel* Opcja(int n) const;
    QWidget* Glosnik(int n) const;

    std::unique_ptr<Ui::TStronaTestu> ui;
    // The data bytes behind each shown option: the check compares these, never a re-encoded caption.
    std::array<std::string, 3> opcje_;
    int liczbaOpcji_ = 0;
    bool sprawdzone_ = false; // the current question's answer was checked
    QFrame* ramkaFokusu_ = nullptr;
};
