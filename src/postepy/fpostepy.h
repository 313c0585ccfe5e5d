// The "Postępy" window: answers per day, how much of each set is known, the boxes, the streak and the worst words.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TFPostepy;
}

namespace vokara {
class Pamiec;
struct Dane;
struct Statystyki;
} // namespace vokara

class QChart;

class TFPostepy : public QWidget {
    Q_OBJECT

public:
    TFPostepy(vokara::Pamiec& pamiec, const vokara::Dane& dane, QWidget* parent);
    ~TFPostepy() override;

    // Reads the memory afresh and brings the window to the front.
    void Pokaz();
    void Odswiez();

    Ui::TFPostepy& Formularz() { return *ui; }

protected:
    void keyPressEvent(QKeyEvent* zdarzenie) override;

private:
    void RysujDni(const vokara::Statystyki& s);
    void RysujZestawy();
    void RysujPudelka(const vokara::Statystyki& s);
    void WypelnijBledy(const vokara::Statystyki& s);
    QChart* NowyWykres() const;

    vokara::Pamiec& pamiec_;
    const vokara::Dane& dane_;
    std::unique_ptr<Ui::TFPostepy> ui;
};
