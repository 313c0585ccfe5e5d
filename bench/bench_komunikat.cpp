// Benchmark of the message box: from the call to the box painted, and one highlight move with its repaint.
#include "fwarning.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFWarning okno;
    std::vector<double> pokazanie;
    std::vector<double> ruch;
    QElapsedTimer zegar;
    QObject::connect(
        &okno, &TFWarning::pokazany, &okno,
        [&] {
            okno.repaint(); // the first frame of the box, drawn now rather than at the next update
            pokazanie.push_back(double(zegar.nsecsElapsed()) / 1e6);
            for (int i = 0; i < 30; ++i) {
                QElapsedTimer jeden;
                jeden.start();
                okno.PodswietlWPrawo();
                okno.repaint();
                ruch.push_back(double(jeden.nsecsElapsed()) / 1e6);
            }
            okno.done(0);
        },
        Qt::QueuedConnection);
    for (int i = 0; i < 50; ++i) {
        zegar.start();
        okno.Komunikat(3, 2, QStringLiteral("Odpowiedziałeś poprawnie na wszystkie pytania w tym zestawie."));
    }
    auto mediana = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("show to painted: median %.2f ms, first %.2f ms, worst %.2f ms\n", mediana(pokazanie), pokazanie[0],
                *std::max_element(pokazanie.begin(), pokazanie.end()));
    std::printf("highlight move:  median %.3f ms, worst %.3f ms\n", mediana(ruch),
                *std::max_element(ruch.begin(), ruch.end()));
    return 0;
}
