// The "Postępy" window: answers per day, reviews ahead, each set's progress, the entries by stage, the schedule in
// use and how well it predicted, the streak and the worst words.
#pragma once

#include <QWidget>

#include <memory>
#include <vector>

namespace Ui {
class TFPostepy;
}

namespace vokara {
class Pamiec;
struct Dane;
struct Statystyki;
struct ZnajomoscZestawu;
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
    void RysujTerminy(const vokara::Statystyki& s);
    void RysujZestawy(const std::vector<vokara::ZnajomoscZestawu>& znajomosc);
    void RysujEtapy(const std::vector<vokara::ZnajomoscZestawu>& znajomosc);
    void WypelnijBledy(const vokara::Statystyki& s);
    QChart* NowyWykres() const;

    vokara::Pamiec& pamiec_;
    const vokara::Dane& dane_;
    std::unique_ptr<Ui::TFPostepy> ui;
};
