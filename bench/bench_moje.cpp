// Benchmark of own sets: importing a 10,000-pair file and showing it in the editor, and saving it.
#include "fmojezestawy.h"
#include "fwarning.h"
#include "import.h"
#include "zbior.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vokara;

namespace {

constexpr int Pary = 10000;
constexpr int Powtorzenia = 7;

struct Wyniki {
    std::vector<double> ms;
    void Dodaj(double t) { ms.push_back(t); }
    double Mediana()
    {
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    }
    double Najwiecej() const { return *std::max_element(ms.begin(), ms.end()); }
};

double Ms(const QElapsedTimer& zegar)
{
    return double(zegar.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikacja(argc, argv);
    QTemporaryDir katalog;
    QDir().mkpath(katalog.filePath("dane"));
    const std::filesystem::path kat = katalog.path().toStdString();

    // A file as Anki or Quizlet export it: UTF-8, a tab between the fields, Polish letters in every line.
    const QString plik = katalog.filePath("Duzy zestaw.tsv");
    {
        QFile f(plik);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray bajty;
        for (int i = 0; i < Pary; ++i)
            bajty += "word number " + QByteArray::number(i) + "\tsłowo żółte numer " + QByteArray::number(i) + "\n";
        f.write(bajty);
    }

    Wyniki import;
    Wyniki importIEdytor;
    Wyniki zapis;
    Wyniki zapisEdytora;
    for (int r = 0; r < Powtorzenia; ++r) {
        QElapsedTimer zegar;
        zegar.start();
        const WynikImportu w = ImportujPlik(plik);
        import.Dodaj(Ms(zegar));
        if (w.Pary.size() != Pary)
            return 2;

        TFWarning warning;
        TFMojeZestawy edytor([&kat] { return kat; }, [] { return _zestawy{}; }, warning);
        zegar.restart();
        if (!edytor.Importuj(plik))
            return 3;
        edytor.Otworz();
        // Until the window and its table have been laid out and painted.
        edytor.findChild<QTableView*>(QStringLiteral("TSlowa"))->viewport()->repaint();
        QCoreApplication::processEvents();
        importIEdytor.Dodaj(Ms(zegar));
        if (edytor.Model().rowCount() != Pary)
            return 4;

        WlasnyZestaw zestaw = edytor.Biezacy();
        zestaw.Nazwa = QStringLiteral("Zapis %1").arg(r);
        QString blad;
        zegar.restart();
        if (!ZapiszWlasny(kat, zestaw, blad))
            return 5;
        zapis.Dodaj(Ms(zegar));

        // The editor's whole "Zapisz": checks, both files, the list and the set shown again from disk.
        zegar.restart();
        if (!edytor.Zapisz())
            return 6;
        zapisEdytora.Dodaj(Ms(zegar));
        edytor.hide();
    }

    std::printf("own sets, %d pairs, %d runs (median / max, ms)\n", Pary, Powtorzenia);
    std::printf("  import (read, detect, parse)        %8.1f / %8.1f\n", import.Mediana(), import.Najwiecej());
    std::printf("  import and show in the editor       %8.1f / %8.1f   (target <= 300)\n", importIEdytor.Mediana(),
                importIEdytor.Najwiecej());
    std::printf("  save (set file + own list)          %8.1f / %8.1f   (target <= 50)\n", zapis.Mediana(),
                zapis.Najwiecej());
    std::printf("  editor Zapisz (checks, save, reload) %7.1f / %8.1f\n", zapisEdytora.Mediana(),
                zapisEdytora.Najwiecej());
    return 0;
}
