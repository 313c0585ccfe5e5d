// The never-shown window that owns the program's one media player, which runs in a thread of its own.
#pragma once

#include <QMediaPlayer>
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

    // Stops what played before and starts the recording at the given rate (1 normal, 0.75 slow). Returns at once:
    // the audio system is only ever called from the player's thread, so nothing here can wait on it.
    void Odtworz(const QString& plik, qreal tempo = 1.0);
    // Stops what played before and has the built-in voice say the text (UTF-8) with its durations stretched by
    // `rozciagniecie`. Returns at once as well: the voice speaks in a thread of its own, so however long the text, the
    // window never waits for it; a request overtaken by a newer one is never spoken.
    void Powiedz(const std::string& tekst, double rozciagniecie = 1.0);

    // Starts the player, the voice's thread and theirs without playing anything, so the first word is heard without
    // their start-up delay; the exercise pages call it when they come to the front (never at start-up, to keep it
    // light).
    void Przygotuj();

    // The recording asked for last; empty for the built-in voice or before anything was played.
    QString Zrodlo() const { return zrodlo_; }
    // Playbacks asked for so far (the player and its thread exist from the first one on).
    int Zadania() const { return int(wspolne_->najnowsze.load()); }
    // Requests the player has taken up; the rest were overtaken by a newer one while still queued.
    int Podjete() const { return wspolne_->podjete.load(); }
    // Players given up for stuck inside the audio system and replaced by a fresh one.
    int Porzucone() const { return porzucone_; }
    // What the player reported for the latest request: its state and its playback rate.
    QMediaPlayer::PlaybackState Stan() const { return stan_; }
    qreal Tempo() const { return tempo_; }
    // Whether the latest request has started playing (a short word may have ended already).
    bool Zagrane() const { return zagrane_; }

signals:
    // The latest request's recording could not be played; the text is the audio system's.
    void nieodtworzono(const QString& plik, const QString& opis);
    void stanZmieniony(QMediaPlayer::PlaybackState stan);

private:
    void Wyslij(quint64 numer);
    void Zgloszenie(quint64 numer, QMediaPlayer::PlaybackState stan, qreal tempo);
    void Blad(quint64 numer, const QString& plik, const QString& opis);
    void Pilnuj();

    // What the window, the voice and the players share; a player given up keeps its copy, so it never reaches a
    // window gone.
    struct Wspolne {
        std::atomic<quint64> najnowsze{0}; // the number of the latest request; the voice and the player skip older ones
        std::atomic<int> podjete{0};
        std::atomic<Odtwarzacz*> odtwarzacz{nullptr}; // where the voice hands its speech (a fresh one after a hang)
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
    Prosba ostatnia_; // sent again to a fresh player when the one it went to is stuck
    QTimer straznik_;
    int porzucone_ = 0;
    QString zrodlo_;
    QMediaPlayer::PlaybackState stan_ = QMediaPlayer::StoppedState;
    qreal tempo_ = 1.0;
    bool zagrane_ = false;
};
