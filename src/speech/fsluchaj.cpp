// MP3 playback through QMediaPlayer and QAudioOutput.
#include "fsluchaj.h"

#include "raport.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

TFSluchaj::TFSluchaj(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FSluchaj"));
}

void TFSluchaj::Odtworz(const QString& plik)
{
    if (!playerek_) {
        playerek_ = new QMediaPlayer(this);
        playerek_->setObjectName(QStringLiteral("Playerek"));
        playerek_->setAudioOutput(new QAudioOutput(playerek_));
        connect(playerek_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& opis) {
            if (zgloszono_)
                return;
            zgloszono_ = true;
            vokara::ZglosBlad(opis);
        });
    }
    playerek_->stop();
    zgloszono_ = false;
    // Clearing the source first makes the same file open afresh, so a word asked for twice plays twice.
    playerek_->setSource(QUrl());
    playerek_->setSource(QUrl::fromLocalFile(plik));
    playerek_->play();
}
