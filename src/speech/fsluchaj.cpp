// Playback through one QMediaPlayer for the program's life, driven from a thread of its own by queued requests.
#include "fsluchaj.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QMediaPlayer>
#include <QThread>
#include <QUrl>

#include <memory>

// Lives in the player's thread; only this thread ever touches the player, so a call that hangs inside the audio
// system delays the sound, never the window.
class Odtwarzacz : public QObject {
public:
    explicit Odtwarzacz(TFSluchaj* okno) : okno_(okno) {}
    // The player goes before the speech it may still be reading.
    ~Odtwarzacz() override { delete gracz_; }

    void Przygotuj()
    {
        gracz_ = new QMediaPlayer(this);
        gracz_->setObjectName(QStringLiteral("Playerek"));
        gracz_->setAudioOutput(new QAudioOutput(gracz_));
        connect(gracz_, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
            const quint64 numer = numer_;
            const qreal tempo = gracz_->playbackRate();
            QMetaObject::invokeMethod(
                okno_, [o = okno_, numer, s, tempo] { o->Zgloszenie(numer, s, tempo); }, Qt::QueuedConnection);
        });
        connect(gracz_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& opis) {
            // The audio system may signal one failure more than once: one report per request.
            if (zgloszono_)
                return;
            zgloszono_ = true;
            const quint64 numer = numer_;
            const QString plik = plik_;
            QMetaObject::invokeMethod(
                okno_, [o = okno_, numer, plik, opis] { o->Blad(numer, plik, opis); }, Qt::QueuedConnection);
        });
    }

    void Graj(quint64 numer, const QString& plik, const QByteArray& wav, qreal tempo)
    {
        // Quick presses queue up requests; only the latest is worth the audio system's time.
        if (numer != okno_->najnowsze_.load())
            return;
        ++okno_->podjete_;
        numer_ = numer;
        plik_ = plik;
        zgloszono_ = false;
        // A new source stops the one playing. Clearing it first makes the same file open afresh, so a word asked
        // for twice plays twice. These calls may wait on the audio system for a second or more: this thread's to bear.
        std::unique_ptr<QBuffer> poprzedni = std::move(bufor_);
        if (wav.isEmpty()) {
            const QUrl zrodlo = QUrl::fromLocalFile(plik);
            if (gracz_->source() == zrodlo)
                gracz_->setSource(QUrl());
            gracz_->setSource(zrodlo);
        } else {
            bufor_ = std::make_unique<QBuffer>();
            bufor_->setData(wav);
            bufor_->open(QIODevice::ReadOnly);
            gracz_->setSourceDevice(bufor_.get(), QUrl(QStringLiteral("glos.wav")));
        }
        gracz_->setPlaybackRate(tempo);
        gracz_->play();
    }

private:
    TFSluchaj* okno_;
    QMediaPlayer* gracz_ = nullptr;
    std::unique_ptr<QBuffer> bufor_; // the speech being played, kept until the player has let go of it
    quint64 numer_ = 0;
    QString plik_;
    bool zgloszono_ = false;
};

TFSluchaj::TFSluchaj(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FSluchaj"));
}

TFSluchaj::~TFSluchaj()
{
    if (!watek_)
        return;
    watek_->quit();
    // A player stuck in the audio system must not keep the program from ending: then the thread is left behind.
    if (!watek_->wait(3000)) {
        watek_->setParent(nullptr);
        watek_ = nullptr;
    }
}

void TFSluchaj::Odtworz(const QString& plik, qreal tempo)
{
    zrodlo_ = plik;
    Wyslij(plik, {}, tempo);
}

void TFSluchaj::OdtworzWav(const QByteArray& wav)
{
    zrodlo_.clear();
    Wyslij({}, wav, 1.0);
}

void TFSluchaj::Przygotuj()
{
    if (watek_)
        return;
    watek_ = new QThread(this);
    watek_->setObjectName(QStringLiteral("Odtwarzacz"));
    odtwarzacz_ = new Odtwarzacz(this);
    odtwarzacz_->moveToThread(watek_);
    connect(watek_, &QThread::finished, odtwarzacz_, &QObject::deleteLater);
    watek_->start();
    QMetaObject::invokeMethod(
        odtwarzacz_, [o = odtwarzacz_] { o->Przygotuj(); }, Qt::QueuedConnection);
}

void TFSluchaj::Wyslij(const QString& plik, const QByteArray& wav, qreal tempo)
{
    Przygotuj(); // at the latest now
    const quint64 numer = ++najnowsze_;
    stan_ = QMediaPlayer::StoppedState;
    zagrane_ = false;
    QMetaObject::invokeMethod(
        odtwarzacz_, [o = odtwarzacz_, numer, plik, wav, tempo] { o->Graj(numer, plik, wav, tempo); },
        Qt::QueuedConnection);
}

void TFSluchaj::Zgloszenie(quint64 numer, QMediaPlayer::PlaybackState stan, qreal tempo)
{
    if (numer != najnowsze_.load())
        return;
    stan_ = stan;
    tempo_ = tempo;
    zagrane_ = zagrane_ || stan == QMediaPlayer::PlayingState;
    emit stanZmieniony(stan);
}

void TFSluchaj::Blad(quint64 numer, const QString& plik, const QString& opis)
{
    if (numer == najnowsze_.load() && !plik.isEmpty())
        emit nieodtworzono(plik, opis);
}
