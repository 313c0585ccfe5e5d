// A private PulseAudio server with one null sink, and a recording of what reaches it, timed against the process clock.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

namespace testy {

// Milliseconds on the monotonic clock, which the sound server's null sink keeps time by as well.
inline double TerazMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Its own runtime folder, socket, home and state, so it never meets the user's sound server or any other. The process
// is pointed at it through PULSE_SERVER, which must happen before anything in it talks to a sound server.
class SerwerDzwieku {
public:
    static constexpr int Czestotliwosc = 48000;

    SerwerDzwieku()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()) {
            Blad = QStringLiteral("pulseaudio or parec is not installed");
            return;
        }
        const QString gniazdo = katalog_.filePath(QStringLiteral("native"));
        adres_ = QStringLiteral("unix:") + gniazdo;
        QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
        for (const char* zmienna : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "HOME", "XDG_CONFIG_HOME"})
            srodowisko.insert(QString::fromLatin1(zmienna), katalog_.path());
        srodowisko.remove(QStringLiteral("PULSE_SERVER"));
        srodowisko.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        serwer_.setProcessEnvironment(srodowisko);
        serwer_.setProcessChannelMode(QProcess::MergedChannels);
        serwer_.setStandardOutputFile(katalog_.filePath(QStringLiteral("serwer.log")));
        serwer_.start(QStringLiteral("pulseaudio"),
                      {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-target=stderr", "-L",
                       "module-null-sink sink_name=vokara format=s16le rate=48000 channels=1", "-L",
                       "module-native-protocol-unix auth-anonymous=1 socket=" + gniazdo});
        if (!serwer_.waitForStarted(5000)) {
            Blad = QStringLiteral("pulseaudio did not start");
            return;
        }
        // Ready once a client gets an answer through the socket.
        for (int i = 0; i < 100 && Blad.isEmpty(); ++i) {
            if (serwer_.state() != QProcess::Running)
                Blad = QStringLiteral("pulseaudio ended at once");
            else if (QFileInfo::exists(gniazdo) && Odpowiada())
                break;
            QThread::msleep(50);
        }
        if (Blad.isEmpty() && !QFileInfo::exists(gniazdo))
            Blad = QStringLiteral("pulseaudio made no socket");
        if (Blad.isEmpty())
            qputenv("PULSE_SERVER", adres_.toLocal8Bit());
    }

    ~SerwerDzwieku()
    {
        Zatrzymaj();
        serwer_.terminate();
        if (!serwer_.waitForFinished(3000))
            serwer_.kill();
        serwer_.waitForFinished(1000);
        if (!adres_.isEmpty() && qgetenv("PULSE_SERVER") == adres_.toLocal8Bit())
            qunsetenv("PULSE_SERVER");
    }

    SerwerDzwieku(const SerwerDzwieku&) = delete;
    SerwerDzwieku& operator=(const SerwerDzwieku&) = delete;

    bool Dziala() const { return Blad.isEmpty(); }
    QString Blad;

    // Records the sink's monitor from now on, in a thread of its own that notes when each piece arrives.
    bool Nagrywaj()
    {
        int rura[2];
        if (!Dziala() || pipe2(rura, O_CLOEXEC) != 0)
            return false;
        posix_spawn_file_actions_t akcje;
        posix_spawn_file_actions_init(&akcje);
        posix_spawn_file_actions_adddup2(&akcje, rura[1], STDOUT_FILENO);
        const std::string adres = "--server=" + adres_.toStdString();
        const char* argumenty[] = {"parec",        adres.c_str(),  "--device=vokara.monitor", "--format=s16le",
                                   "--rate=48000", "--channels=1", "--latency-msec=10",       "--raw",
                                   nullptr};
        const int wynik = posix_spawnp(&nagrywanie_, "parec", &akcje, nullptr, const_cast<char**>(argumenty), environ);
        posix_spawn_file_actions_destroy(&akcje);
        ::close(rura[1]);
        if (wynik != 0) {
            ::close(rura[0]);
            return false;
        }
        czytnik_ = std::thread([this, fd = rura[0]] {
            std::vector<std::int16_t> bufor(4800);
            long long razem = 0;
            for (;;) {
                const ssize_t n = ::read(fd, bufor.data(), bufor.size() * 2);
                if (n <= 0)
                    break;
                const double kiedy = TerazMs();
                const std::lock_guard<std::mutex> blokada(przez_);
                probki_.insert(probki_.end(), bufor.begin(), bufor.begin() + n / 2);
                razem += n / 2;
                // The earliest a sample can have arrived: the least delayed piece gives the clock of the recording.
                poczatek_ = std::min(poczatek_, kiedy - double(razem) * 1000.0 / Czestotliwosc);
            }
            ::close(fd);
        });
        return true;
    }

    void Zatrzymaj()
    {
        if (nagrywanie_ > 0) {
            kill(nagrywanie_, SIGTERM);
            waitpid(nagrywanie_, nullptr, 0);
            nagrywanie_ = 0;
        }
        if (czytnik_.joinable())
            czytnik_.join();
    }

    std::size_t Ile() const
    {
        const std::lock_guard<std::mutex> blokada(przez_);
        return probki_.size();
    }
    // The recording so far from sample `od` on.
    std::vector<std::int16_t> Probki(std::size_t od = 0) const
    {
        const std::lock_guard<std::mutex> blokada(przez_);
        return {probki_.begin() + std::ptrdiff_t(std::min(od, probki_.size())), probki_.end()};
    }
    // The first sample at or after `od` at or above `prog` in what has been recorded so far; -1 when none is.
    long long Glosna(std::size_t od, int prog) const
    {
        const std::lock_guard<std::mutex> blokada(przez_);
        for (std::size_t i = od; i < probki_.size(); ++i) {
            if (std::abs(int(probki_[i])) >= prog)
                return (long long)i;
        }
        return -1;
    }
    // When sample `i` reached the sink, and the sample of a moment.
    double Czas(std::size_t i) const
    {
        const std::lock_guard<std::mutex> blokada(przez_);
        return poczatek_ + double(i) * 1000.0 / Czestotliwosc;
    }
    std::size_t Probka(double kiedyMs) const
    {
        const std::lock_guard<std::mutex> blokada(przez_);
        return std::size_t(std::max(0.0, (kiedyMs - poczatek_) * Czestotliwosc / 1000.0));
    }

private:
    bool Odpowiada() const
    {
        QProcess pactl;
        pactl.setStandardOutputFile(QProcess::nullDevice());
        pactl.setStandardErrorFile(QProcess::nullDevice());
        pactl.start(QStringLiteral("pactl"), {"--server=" + adres_, "info"});
        return pactl.waitForFinished(2000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
    }

    QTemporaryDir katalog_;
    QString adres_;
    QProcess serwer_;
    pid_t nagrywanie_ = 0;
    std::thread czytnik_;
    mutable std::mutex przez_;
    std::vector<std::int16_t> probki_;
    double poczatek_ = std::numeric_limits<double>::max();
};

// Where a sound rises above and last falls below a level (1% of full scale by default) from sample `od` on; -1 when
// it never does.
inline std::pair<long long, long long> Zasieg(const std::vector<std::int16_t>& probki, std::size_t od = 0,
                                              int prog = 328)
{
    long long pierwsza = -1, ostatnia = -1;
    for (std::size_t i = od; i < probki.size(); ++i) {
        if (std::abs(int(probki[i])) >= prog) {
            if (pierwsza < 0)
                pierwsza = (long long)i;
            ostatnia = (long long)i;
        }
    }
    return {pierwsza, ostatnia};
}

} // namespace testy
