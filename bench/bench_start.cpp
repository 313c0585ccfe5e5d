// Start-up benchmark: process start to the main window shown with the shipped data, against a bare Qt Widgets
// window started the same way, and the peak memory of each once idle.
#include "program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

double Teraz()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t); // the same clock in every process, so the parent can subtract
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Notes the moment the window's first exposure has been handled: Qt paints and flushes the window within that event,
// so this is when it is on screen. Timers and queued calls the program made while painting come after it.
class Pokazanie : public QObject {
public:
    explicit Pokazanie(QWindow* okno) : okno_(okno) { okno->installEventFilter(this); }
    double Kiedy() const { return kiedy_; }

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override
    {
        if (obiekt == okno_ && zdarzenie->type() == QEvent::Expose && kiedy_ == 0)
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        return false;
    }
    bool event(QEvent* zdarzenie) override
    {
        if (zdarzenie->type() == QEvent::User && kiedy_ == 0 && okno_->isExposed())
            kiedy_ = Teraz();
        return QObject::event(zdarzenie);
    }

private:
    QWindow* okno_;
    double kiedy_ = 0;
};

// Child: shows one window, reports the moment it was exposed and the peak memory after a short idle.
int Dziecko(int argc, char** argv, bool vokara)
{
    QApplication aplikacja(argc, argv);
    std::unique_ptr<Program> program;
    std::unique_ptr<QWidget> pusty;
    QWidget* okno = nullptr;
    if (vokara) {
        UstawAplikacje();
        program = std::make_unique<Program>();
        if (!program->Pokaz())
            return 1;
        okno = program->FGlowny.get();
    } else {
        pusty = std::make_unique<QWidget>();
        pusty->resize(1066, 600);
        pusty->show();
        okno = pusty.get();
    }
    const Pokazanie pokazanie(okno->windowHandle());
    QTimer::singleShot(300, [&] {
        rusage zuzycie{};
        getrusage(RUSAGE_SELF, &zuzycie);
        std::printf("%.3f %ld\n", pokazanie.Kiedy(), zuzycie.ru_maxrss);
        QApplication::quit();
    });
    return QApplication::exec();
}

struct Pomiar {
    double ms;
    double mib;
};

Pomiar Uruchom(const QString& program, const QString& tryb, const QString& katalog)
{
    QProcess p;
    p.setWorkingDirectory(katalog);
    const double start = Teraz();
    p.start(program, {tryb});
    p.waitForFinished(30000);
    const QList<QByteArray> pola = p.readAllStandardOutput().trimmed().split(' ');
    return {pola.value(0).toDouble() - start, pola.value(1).toDouble() / 1024.0};
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        return Dziecko(argc, argv, QByteArray(argv[1]) == "vokara");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication aplikacja(argc, argv);
    QTemporaryDir katalog;
    QProcess::execute("cp", {"-r", QStringLiteral(VOKARA_DANE_ZRODLOWE), katalog.path()});
    // A learning memory to start with (as bench_postepy leaves it when given a path): the file is opened after the
    // window shows, so it must not move the figure.
    if (!qEnvironmentVariableIsEmpty("VOKARA_BENCH_POSTEPY"))
        QFile::copy(qEnvironmentVariable("VOKARA_BENCH_POSTEPY"), katalog.path() + "/dane/postepy.sqlite");
    std::vector<double> czasPusty, czasVokara, pamiecPusty, pamiecVokara;
    // Pairs run alternately, so a slow spell of the machine falls on both kinds alike, and each start waits a random
    // moment first, so that nothing recurring on the machine keeps step with one kind of start.
    constexpr int Par = 31;
    std::mt19937 los(12345);
    const auto odczekaj = [&los] { QThread::msleep(std::uniform_int_distribution<unsigned long>(0, 150)(los)); };
    for (int i = 0; i < Par; ++i) {
        odczekaj();
        const Pomiar p = Uruchom(QCoreApplication::applicationFilePath(), "pusty", katalog.path());
        odczekaj();
        const Pomiar v = Uruchom(QCoreApplication::applicationFilePath(), "vokara", katalog.path());
        if (qEnvironmentVariableIsSet("WSZYSTKIE")) // every pair, to see the machine's slow spells
            std::printf("%.1f %.1f\n", p.ms, v.ms);
        czasPusty.push_back(p.ms);
        pamiecPusty.push_back(p.mib);
        czasVokara.push_back(v.ms);
        pamiecVokara.push_back(v.mib);
    }
    const double tp = Mediana(czasPusty), tv = Mediana(czasVokara);
    const double mp = Mediana(pamiecPusty), mv = Mediana(pamiecVokara);
    std::printf("platform: %s\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "xcb" : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("start to shown (median of %d): bare window %.1f ms, Vokara %.1f ms, ratio %.2f\n", Par, tp, tv,
                tv / tp);
    // The fastest run of each: what is left when nothing else on the machine got in the way.
    const double np = *std::min_element(czasPusty.begin(), czasPusty.end());
    const double nv = *std::min_element(czasVokara.begin(), czasVokara.end());
    std::printf("start to shown (fastest):      bare window %.1f ms, Vokara %.1f ms, ratio %.2f\n", np, nv, nv / np);
    std::printf("peak memory at idle:           bare window %.1f MiB, Vokara %.1f MiB, ratio %.2f\n", mp, mv, mv / mp);
    return 0;
}
