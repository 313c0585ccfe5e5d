// The never-shown window that owns the program's sound: the audio device's player and what prepares its samples, each
// in a thread of its own.
#pragma once

#include <QWidget>

#include <QTimer>

#include <atomic>
#include <memory>
#include <string>

class QThread;
class Mowca;
class Odtwarzacz;

class TFSluchaj : public QWidget {
    Q_OBJECT

public:
    explicit TFSluchaj(QWidget* parent = nullptr);
    ~TFSluchaj() override;

    // Fades out what plays and plays the recording at the given tempo (1 normal, 0.75 slow: longer, at the same
    // pitch). Returns at once: the file is decoded in one thread and played in another, so nothing here waits on
    // the disk or the audio system.
    void Odtworz(const QString& plik, qreal tempo = 1.0);
    // The same for the built-in voice saying the text (UTF-8) with its durations stretched by `rozciagniecie`: however
    // long the text, the window never waits for it; a request overtaken by a newer one is never spoken.
    void Powiedz(const std::string& tekst, double rozciagniecie = 1.0);

    // Starts both threads and opens the audio device without playing anything, so a press only has to queue samples;
    // the exercise pages call it when they come to the front (never at start-up, to keep it light).
    void Przygotuj();

    enum class StanOdtwarzania { Zatrzymane, Gra };
    Q_ENUM(StanOdtwarzania)

    // The recording asked for last; empty for the built-in voice or before anything was played.
    QString Zrodlo() const { return zrodlo_; }
    // Playbacks asked for so far (the threads exist from the first one on).
    int Zadania() const { return int(wspolne_->najnowsze.load()); }
    // Requests the player has taken up; the rest were overtaken by a newer one while still being prepared or queued.
    int Podjete() const { return wspolne_->podjete.load(); }
    // Players given up for stuck inside the audio system and replaced by a fresh one.
    int Porzucone() const { return porzucone_; }
    // What the player reported for the latest request: playing or played out, its tempo, and its length in samples
    // at the device's rate (vokara::CzestotliwoscOdtwarzania).
    StanOdtwarzania Stan() const { return stan_; }
    qreal Tempo() const { return tempo_; }
    qint64 Dlugosc() const { return dlugosc_; }
    // Whether the latest request has started playing (a short word may have ended already).
    bool Zagrane() const { return zagrane_; }
    // Whether the player has an audio device; without one the sound is silent, at its own pace.
    bool Urzadzenie() const { return urzadzenie_; }

signals:
    // The latest request's recording could not be played (damaged, not a recording); the text says why.
    void nieodtworzono(const QString& plik, const QString& opis);
    void stanZmieniony(TFSluchaj::StanOdtwarzania stan);

private:
    void Wyslij(quint64 numer);
    void Zgloszenie(quint64 numer, StanOdtwarzania stan, qreal tempo, qint64 dlugosc, bool urzadzenie);
    void Blad(quint64 numer, const QString& plik, const QString& opis);
    void Pilnuj();

    // What the window and its threads share; a player given up keeps its copy, so it never reaches a window gone.
    struct Wspolne {
        std::atomic<quint64> najnowsze{0}; // the number of the latest request; older ones are skipped everywhere
        std::atomic<int> podjete{0};
        std::atomic<Odtwarzacz*> odtwarzacz{nullptr}; // where prepared sound goes (a fresh one after a hang)
    };
    struct Prosba {
        QString plik;      // a recording, or
        std::string tekst; // what the voice says
        double rozciagniecie = 1.0;
        qreal tempo = 1.0;
    };

    friend class Mowca;
    friend class Odtwarzacz;
    QThread* watek_ = nullptr;
    Odtwarzacz* odtwarzacz_ = nullptr;
    QThread* watekMowy_ = nullptr;
    Mowca* mowca_ = nullptr;
    std::shared_ptr<Wspolne> wspolne_ = std::make_shared<Wspolne>();
    Prosba ostatnia_; // prepared again for a fresh player when the one it went to is stuck
    QTimer straznik_;
    int porzucone_ = 0;
    QString zrodlo_;
    StanOdtwarzania stan_ = StanOdtwarzania::Zatrzymane;
    qreal tempo_ = 1.0;
    qint64 dlugosc_ = 0;
    bool zagrane_ = false;
    bool urzadzenie_ = false;
};
