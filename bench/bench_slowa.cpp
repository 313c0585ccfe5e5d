// Benchmark of the dictionary's places in the program: the dictionary page from the pause's end to its results painted
// (the first look-up with the dictionary's load, then single words), the words window from a 100,000-word file to its
// list painted, and the memory both dictionaries add to the running program.
#include "dictd.h"
#include "fslowaztekstu.h"
#include "slownik.h"
#include "stronaodsluchu.h"
#include "ui_fslowaztekstu.h"
#include "wtle.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>

#include <unistd.h>

namespace {

double RssMiB()
{
    std::ifstream statm("/proc/self/statm");
    long rozmiar = 0;
    long rezydentne = 0;
    statm >> rozmiar >> rezydentne;
    return double(rezydentne) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Waits (the event loop running) until `obiekt` is painted while `warunek` holds, at most `ms`; the time of that
// paint from `od`, or -1.
class Malowanie : public QObject {
public:
    Malowanie(QWidget* obiekt, std::function<bool()> warunek) : warunek_(std::move(warunek))
    {
        obiekt->installEventFilter(this);
    }
    double Czekaj(const QElapsedTimer& od, int ms)
    {
        kiedy_ = -1;
        od_ = &od;
        QElapsedTimer limit;
        limit.start();
        while (kiedy_ < 0 && limit.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return kiedy_;
    }

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override
    {
        if (zdarzenie->type() == QEvent::Paint && kiedy_ < 0 && od_ && warunek_()) {
            // The label paints within this event; the time is taken once it has.
            obiekt->removeEventFilter(this);
            obiekt->event(zdarzenie);
            obiekt->installEventFilter(this);
            kiedy_ = double(od_->nsecsElapsed()) / 1e6;
            return true;
        }
        return false;
    }

private:
    std::function<bool()> warunek_;
    const QElapsedTimer* od_ = nullptr;
    double kiedy_ = -1;
};

struct Los {
    std::uint64_t s = 88172645463325252ull;
    std::uint64_t operator()()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
};

// A text of `slow` words, Zipf-like: eng-pol's headwords, some inflected, among function words, names and numbers,
// as subtitles would give them.
std::string Tekst(const std::string& folder, int slow)
{
    std::string bajty, blad;
    vokara::slownik::Indeks ind;
    std::vector<std::string> hasla;
    if (vokara::slownik::WczytajPlik(folder + "/freedict-eng-pol.index", vokara::slownik::NajwiekszyIndeks, bajty,
                                     blad) &&
        ind.Wczytaj(bajty, blad)) {
        for (const auto& p : ind.Pozycje()) {
            std::string h(ind.Klucz(p));
            if (h.find(' ') == std::string::npos && h.size() > 2 && hasla.size() < 8000)
                hasla.push_back(h);
        }
    }
    static const char* funkcyjne[] = {"the", "a", "of", "and", "to", "in", "is", "was", "it", "that", "you", "not"};
    Los los;
    std::string t;
    for (int i = 0, wZdaniu = 0; i < slow; ++i) {
        const std::uint64_t r = los() % 100;
        std::string w;
        if (r < 45) {
            w = funkcyjne[los() % 12];
        } else if (r < 47) {
            w = "John";
        } else if (r < 48) {
            w = std::to_string(los() % 1000);
        } else {
            const double u = double(los() % 1000000) / 1000000.0;
            const auto k = std::size_t(std::pow(double(hasla.size()), u)) - 1;
            w = hasla[std::min(k, hasla.size() - 1)];
            if (los() % 10 == 0)
                w += "s";
        }
        t += w;
        t += ++wZdaniu % 12 == 0 ? ".\n" : " ";
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication aplikacja(argc, argv);
    const std::string folder = vokara::FolderSlownikow();
    auto slownik = std::make_shared<vokara::Slownik>(folder);

    // Memory: the program's page shown without a dictionary, then both dictionaries loaded on a worker thread as the
    // page loads them.
    double przyrost = 0;
    {
        Uslugi bez;
        bez.WymowTekst = [](const QString&) {};
        StronaOdsluchu pusta(bez);
        pusta.resize(993, 535);
        pusta.show();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const double przed = RssMiB();
        auto wczytanie = vokara::WTle([slownik] { return slownik->Wczytaj(); });
        wczytanie.waitForFinished();
        przyrost = RssMiB() - przed;
    }
    auto swiezy = std::make_shared<vokara::Slownik>(folder); // for the page's first word, loaded as it shows
    std::printf("memory: +%.1f MiB RSS with both dictionaries loaded on a worker thread in the running program (%.1f "
                "MiB held by the dictionary's indexes and caches)\n",
                przyrost, double(slownik->Pamiec()) / (1024.0 * 1024.0));

    // The dictionary page as the program makes it, with the look-up's pause cut to nothing so every word is timed
    // from the moment the pause ends.
    Uslugi uslugi;
    uslugi.WymowTekst = [](const QString&) {};
    uslugi.Komunikat = [](int, int, const QString&) { return 0; };
    uslugi.Slownik = swiezy;
    uslugi.MojeZestawy = [] { return QStringList(); };
    uslugi.DodajDoMoich = [](const QString&, const QString&, const QString&, QString&) { return false; };
    StronaOdsluchu strona(uslugi);
    strona.resize(993, 535);
    auto* pole = strona.findChild<QLineEdit*>(QStringLiteral("EWpis4"));
    auto* haslo = strona.findChild<QLabel*>(QStringLiteral("LHaslo4"));
    auto* pauza = strona.findChild<QTimer*>(QStringLiteral("CzasSzukania"));
    pauza->setInterval(0);
    QElapsedTimer od;
    QObject::connect(pauza, &QTimer::timeout, [&od] { od.start(); });
    QString przed;
    Malowanie malowanie(haslo, [&] { return !haslo->text().isEmpty() && haslo->text() != przed; });

    // The first word is typed as the page first shows: the dictionary loads on its worker thread meanwhile.
    strona.show();
    pole->setText(QStringLiteral("umbrella"));
    const double pierwsze = malowanie.Czekaj(od, 5000);
    if (pierwsze < 0 || !swiezy->Dostepny()) {
        std::printf("the dictionaries are not installed in %s\n", folder.c_str());
        return 1;
    }
    std::printf("dictionary page, first word as the page first shows (both dictionaries loaded on a worker thread): "
                "%.1f ms from the pause's end to the results painted\n",
                pierwsze);

    const QStringList slowa{"knife",  "łyżka",  "house", "running", "zamek",     "dog",    "spoon",    "went",
                            "tired",  "pies",   "cat",   "parasol", "children",  "night",  "go",       "kot",
                            "table",  "window", "dom",   "book",    "beautiful", "szkoła", "computer", "quickly",
                            "mother", "woda",   "water", "green",   "miasto",    "city"};
    std::vector<double> czasy;
    double najdluzszy = 0;
    for (int runda = 0; runda < 5; ++runda) {
        for (const QString& s : slowa) {
            przed = haslo->text();
            pole->setText(s);
            const double t = malowanie.Czekaj(od, 2000);
            if (t < 0)
                continue; // the same headword line as before: no new paint to time
            czasy.push_back(t);
            najdluzszy = std::max(najdluzszy, t);
        }
    }
    std::printf("dictionary page, %zu look-ups of %lld words (the first run of each needing espeak-ng's IPA): median "
                "%.2f ms, slowest %.2f ms from the pause's end to the results painted\n",
                czasy.size(), qlonglong(slowa.size()), Mediana(czasy), najdluzszy);

    // The words window on a 100,000-word file, from the call to its list painted.
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("tekst.txt"));
    {
        std::ofstream wyjscie(plik.toStdString(), std::ios::binary);
        wyjscie << Tekst(folder, 100000);
    }
    UslugiSlow us;
    us.Slownik = slownik;
    // A learner who knows 3,000 words: the list leaves them out.
    std::vector<std::string> znane;
    for (int i = 0; i < 3000; ++i)
        znane.push_back("slowo" + std::to_string(i));
    us.Znane = [znane] { return znane; };
    TFSlowaZTekstu okno(us);
    okno.show();
    QTableView* tabela = okno.Formularz().TSlowa;
    std::vector<double> okna;
    std::size_t wierszy = 0;
    for (int i = 0; i < 5; ++i) {
        okno.Model().Ustaw({});
        QCoreApplication::processEvents();
        bool wczytane = false;
        QMetaObject::Connection c = QObject::connect(&okno, &TFSlowaZTekstu::wczytano, [&] { wczytane = true; });
        Malowanie lista(tabela->viewport(), [&] { return wczytane; });
        QElapsedTimer start;
        start.start();
        okno.Wczytaj(plik);
        const double t = lista.Czekaj(start, 10000);
        QObject::disconnect(c);
        if (t >= 0)
            okna.push_back(t);
        wierszy = okno.Model().Wiersze().size();
    }
    std::printf("words window, a 100,000-word file (%.0f kB) to its list painted, %zu runs: median %.1f ms, fastest "
                "%.1f ms (%zu headwords listed)\n",
                double(QFileInfo(plik).size()) / 1000.0, okna.size(), Mediana(okna),
                okna.empty() ? 0.0 : *std::min_element(okna.begin(), okna.end()), wierszy);
    std::printf("peak RSS %.1f MiB\n", RssMiB());
    return 0;
}
