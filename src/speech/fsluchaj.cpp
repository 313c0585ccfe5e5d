// Playback through one QMediaPlayer for the program's life, driven from a thread of its own by queued requests; the
// built-in voice speaks in another thread.
#include "fsluchaj.h"

#include "glos.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QCache>
#include <QDateTime>
#include <QMediaPlayer>
#include <QThread>
#include <QUrl>

#include <memory>

// Lives in the player's thread; only this thread ever touches the player, so a call that hangs inside the audio
// system delays the sound, never the window.
class Odtwarzacz : public QObject {
public:
    Odtwarzacz(TFSluchaj* okno, std::shared_ptr<TFSluchaj::Wspolne> wspolne) : okno_(okno), wspolne_(std::move(wspolne))
    {
    }
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
            if (Porzucony.load())
                return;
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
            if (Porzucony.load())
                return;
            QMetaObject::invokeMethod(
                okno_, [o = okno_, numer, plik, opis] { o->Blad(numer, plik, opis); }, Qt::QueuedConnection);
        });
    }

    void Graj(quint64 numer, const QString& plik, const QByteArray& wav, qreal tempo)
    {
        // Quick presses queue up requests; only the latest is worth the audio system's time.
        if (Porzucony.load() || numer != wspolne_->najnowsze.load())
            return;
        ++wspolne_->podjete;
        OdKiedy.store(QDateTime::currentMSecsSinceEpoch());
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
        OdKiedy.store(0);
    }

    // Since when the player has been busy with a request (0: idle), and whether the window has given it up.
    std::atomic<qint64> OdKiedy{0};
    std::atomic<bool> Porzucony{false};

private:
    TFSluchaj* okno_;
    std::shared_ptr<TFSluchaj::Wspolne> wspolne_;
    QMediaPlayer* gracz_ = nullptr;
    std::unique_ptr<QBuffer> bufor_; // the speech being played, kept until the player has let go of it
    quint64 numer_ = 0;
    QString plik_;
    bool zgloszono_ = false;
};

// Lives in the voice's thread: a long text keeps Flite busy for a second or two, and only this thread waits for it.
class Mowca : public QObject {
public:
    explicit Mowca(std::shared_ptr<TFSluchaj::Wspolne> wspolne) : wspolne_(std::move(wspolne)) {}

    void Mow(quint64 numer, const std::string& tekst, double rozciagniecie)
    {
        // Quick presses queue up requests; a text already overtaken is not worth synthesising.
        if (numer != wspolne_->najnowsze.load())
            return;
        // A learner presses the same loudspeaker again and again: what was said lately is not synthesised anew.
        const QByteArray klucz = QByteArray::fromStdString(tekst) + (rozciagniecie != 1.0 ? '\1' : '\0');
        QByteArray wav;
        if (const QByteArray* zapamietana = mowa_.object(klucz)) {
            wav = *zapamietana;
        } else {
            wav = vokara::GlosWav(tekst, rozciagniecie);
            if (wav.isEmpty())
                return;
            mowa_.insert(klucz, new QByteArray(wav), wav.size());
        }
        Odtwarzacz* odtwarzacz = wspolne_->odtwarzacz.load();
        if (numer != wspolne_->najnowsze.load() || !odtwarzacz)
            return; // a newer request came while the voice spoke: this speech is stale
        QMetaObject::invokeMethod(
            odtwarzacz, [odtwarzacz, numer, wav] { odtwarzacz->Graj(numer, {}, wav, 1.0); }, Qt::QueuedConnection);
    }

private:
    std::shared_ptr<TFSluchaj::Wspolne> wspolne_;
    QCache<QByteArray, QByteArray> mowa_{4 * 1024 * 1024}; // recent speech by text and pace, cost in bytes
};

TFSluchaj::TFSluchaj(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FSluchaj"));
    straznik_.setInterval(1000);
    connect(&straznik_, &QTimer::timeout, this, &TFSluchaj::Pilnuj);
}

TFSluchaj::~TFSluchaj()
{
    if (!watek_)
        return;
    // The voice first, as it hands its speech to the player; a text it is speaking is at most a second or two.
    wspolne_->najnowsze.store(0);
    watekMowy_->quit();
    watekMowy_->wait();
    odtwarzacz_->Porzucony.store(true); // nothing more for this window, which is going
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
    ostatnia_ = {plik, {}, 1.0, tempo};
    Wyslij(++wspolne_->najnowsze);
}

void TFSluchaj::Powiedz(const std::string& tekst, double rozciagniecie)
{
    zrodlo_.clear();
    ostatnia_ = {{}, tekst, rozciagniecie, 1.0};
    Wyslij(++wspolne_->najnowsze);
}

void TFSluchaj::Przygotuj()
{
    if (watek_)
        return;
    if (!watekMowy_) {
        watekMowy_ = new QThread(this);
        watekMowy_->setObjectName(QStringLiteral("Mowa"));
        mowca_ = new Mowca(wspolne_);
        mowca_->moveToThread(watekMowy_);
        connect(watekMowy_, &QThread::finished, mowca_, &QObject::deleteLater);
        watekMowy_->start();
    }
    watek_ = new QThread(this);
    watek_->setObjectName(QStringLiteral("Odtwarzacz"));
    odtwarzacz_ = new Odtwarzacz(this, wspolne_);
    odtwarzacz_->moveToThread(watek_);
    wspolne_->odtwarzacz.store(odtwarzacz_);
    connect(watek_, &QThread::finished, odtwarzacz_, &QObject::deleteLater);
    watek_->start();
    QMetaObject::invokeMethod(
        odtwarzacz_, [o = odtwarzacz_] { o->Przygotuj(); }, Qt::QueuedConnection);
    straznik_.start();
}

// The audio system can hang for good while a source is replaced (seen about once in several hundred quick
// replacements). A player busy with one request for this long is given up, left where it hangs, and a fresh one
// plays the latest request, so the program keeps its sound.
void TFSluchaj::Pilnuj()
{
    constexpr qint64 LimitMs = 5000;
    const qint64 od = odtwarzacz_ ? odtwarzacz_->OdKiedy.load() : 0;
    if (od == 0 || QDateTime::currentMSecsSinceEpoch() - od < LimitMs)
        return;
    odtwarzacz_->Porzucony.store(true);
    watek_->setParent(nullptr); // never deleted: it may never return from the audio system
    watek_ = nullptr;
    odtwarzacz_ = nullptr;
    ++porzucone_;
    Przygotuj();
    Wyslij(wspolne_->najnowsze.load());
}

// The latest request goes to the voice, or for a recording straight to the player.
void TFSluchaj::Wyslij(quint64 numer)
{
    Przygotuj(); // at the latest now
    stan_ = QMediaPlayer::StoppedState;
    zagrane_ = false;
    if (ostatnia_.plik.isEmpty()) {
        QMetaObject::invokeMethod(
            mowca_, [m = mowca_, numer, p = ostatnia_] { m->Mow(numer, p.tekst, p.rozciagniecie); },
            Qt::QueuedConnection);
    } else {
        QMetaObject::invokeMethod(
            odtwarzacz_, [o = odtwarzacz_, numer, p = ostatnia_] { o->Graj(numer, p.plik, {}, p.tempo); },
            Qt::QueuedConnection);
    }
}

void TFSluchaj::Zgloszenie(quint64 numer, QMediaPlayer::PlaybackState stan, qreal tempo)
{
    if (numer != wspolne_->najnowsze.load())
        return;
    stan_ = stan;
    tempo_ = tempo;
    zagrane_ = zagrane_ || stan == QMediaPlayer::PlayingState;
    emit stanZmieniony(stan);
}

void TFSluchaj::Blad(quint64 numer, const QString& plik, const QString& opis)
{
    if (numer == wspolne_->najnowsze.load() && !plik.isEmpty())
        emit nieodtworzono(plik, opis);
}
