// The never-shown window that owns the media player used for pronunciation.
#pragma once

#include <QWidget>

class QMediaPlayer;

class TFSluchaj : public QWidget {
    Q_OBJECT

public:
    explicit TFSluchaj(QWidget* parent = nullptr);

    // Stops what played before and starts the file without waiting for its end. An error from the audio system
    // reaches the default error report; the program carries on.
    void Odtworz(const QString& plik);

    // The player, or null before the first playback (it is made on first use to keep start-up light).
    QMediaPlayer* Playerek() const { return playerek_; }

private:
    QMediaPlayer* playerek_ = nullptr;
    bool zgloszono_ = false; // one report per file: the audio system may signal one failure more than once
};
