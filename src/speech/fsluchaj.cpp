// The program's sound: a thread that makes samples (the voice, decoded recordings, both kept for a while) and a thread
// that writes them straight to the audio device through one QAudioSink, kept open for the program's life.
#include "fsluchaj.h"

#include "dzwiek.h"
#include "glos.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCache>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

using Dzwiek = std::shared_ptr<const vokara::Probki>;

constexpr int ProbekNaMs = vokara::CzestotliwoscOdtwarzania / 1000;
// What the device is asked to hold ahead of what is heard (the sound server settles on a little less). A sound that
// starts after silence is heard at once whatever this is, as the device then has room for its whole start; a press
// while a sound plays waits behind this much of it. The player thread may be kept from the processor about this
// long (a busy machine) before the device runs dry: with 40 ms, two busy processes on two cores left gaps in a word.
constexpr int BuforMs = 150;
// How often the player tops the device up while a sound lasts.
constexpr int KrokMs = 10;
// A sound cut short by a newer one fades out over this long, so it ends without a click.
constexpr int WyciszenieMs = 8;
// Silence written after each sound: the device plays the sound's last samples before it runs dry, and once this is
// written the sound has been handed over whole.
constexpr int CiszaPoMs = BuforMs + 2 * KrokMs;
// How soon the player tries an audio device again after it failed to open or went away.
constexpr int PonowOtwarcieMs = 2000;

} // namespace

// Lives in the player's thread; only this thread ever touches the audio device, so a call that hangs inside the audio
// system delays the sound, never the window.
class Odtwarzacz : public QObject {
public:
    Odtwarzacz(TFSluchaj* okno, std::shared_ptr<TFSluchaj::Wspolne> wspolne) : okno_(okno), wspolne_(std::move(wspolne))
    {
    }
    ~Odtwarzacz() override { delete wyjscie_; }

    void Przygotuj()
    {
        karmienie_ = new QTimer(this);
        karmienie_->setTimerType(Qt::PreciseTimer);
        karmienie_->setInterval(KrokMs);
        connect(karmienie_, &QTimer::timeout, this, &Odtwarzacz::Karm);
        Otworz();
    }

    void Graj(quint64 numer, const Dzwiek& dzwiek, qreal tempo)
    {
        // Quick presses queue up requests; only the latest is worth the audio system's time.
        if (Porzucony.load() || numer != wspolne_->najnowsze.load())
            return;
        ++wspolne_->podjete;
        if (!wyjscie_ && (!probaOtwarcia_.isValid() || probaOtwarcia_.elapsed() >= PonowOtwarcieMs))
            Otworz();
        // What the device has not been given yet of the sound before fades out first; what it holds plays out.
        std::vector<std::int16_t> kolejka;
        const std::size_t reszta = kolejka_.size() - pozycja_;
        const std::size_t wyciszenie = std::min<std::size_t>(reszta, WyciszenieMs * ProbekNaMs);
        kolejka.reserve(wyciszenie + dzwiek->size() + CiszaPoMs * ProbekNaMs);
        for (std::size_t i = 0; i < wyciszenie; ++i)
            kolejka.push_back(std::int16_t(kolejka_[pozycja_ + i] * double(wyciszenie - i) / double(wyciszenie + 1)));
        poczatek_ = kolejka.size();
        kolejka.insert(kolejka.end(), dzwiek->begin(), dzwiek->end());
        kolejka.resize(kolejka.size() + CiszaPoMs * ProbekNaMs, 0);
        if (pozycja_ >= kolejka_.size()) {
            // The device ran dry after the last sound: the silent pace starts afresh too.
            zegarCiszy_.start();
            zapisaneWCiszy_ = 0;
        }
        kolejka_ = std::move(kolejka);
        pozycja_ = 0;
        numer_ = numer;
        tempo_ = tempo;
        dlugosc_ = qint64(dzwiek->size());
        zgloszonaGra_ = zgloszonyKoniec_ = false;
        Karm();
        if (pozycja_ < kolejka_.size())
            karmienie_->start();
    }

    // Since when the player has been inside the audio system (0: not), and whether the window has given it up.
    std::atomic<qint64> OdKiedy{0};
    std::atomic<bool> Porzucony{false};

private:
    void Otworz()
    {
        OdKiedy.store(QDateTime::currentMSecsSinceEpoch());
        probaOtwarcia_.start();
        QAudioFormat format;
        format.setSampleRate(vokara::CzestotliwoscOdtwarzania);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        const QAudioDevice urzadzenie = QMediaDevices::defaultAudioOutput();
        if (!urzadzenie.isNull()) {
            wyjscie_ = new QAudioSink(urzadzenie, format, this);
            // A short buffer: a press is heard after at most this much of what plays already.
            wyjscie_->setBufferSize(BuforMs * ProbekNaMs * 2);
            urzadzenie_ = wyjscie_->start();
            if (!urzadzenie_ || wyjscie_->error() != QAudio::NoError)
                Zamknij();
        }
        OdKiedy.store(0);
    }

    void Zamknij()
    {
        delete wyjscie_;
        wyjscie_ = nullptr;
        urzadzenie_ = nullptr;
    }

    // How many samples the device takes now. With no device the sound goes nowhere at its own pace, so the program
    // behaves the same, only silent.
    qint64 Wolne()
    {
        if (wyjscie_) {
            const QAudio::Error blad = wyjscie_->error();
            if (blad == QAudio::NoError || blad == QAudio::UnderrunError)
                return wyjscie_->bytesFree() / 2;
            Zamknij(); // the sound server went away: silent until it can be opened again
            zegarCiszy_.start();
            zapisaneWCiszy_ = 0;
        }
        const qint64 zagrane = zegarCiszy_.elapsed() * ProbekNaMs;
        return std::max<qint64>(0, BuforMs * ProbekNaMs - (zapisaneWCiszy_ - zagrane));
    }

    qint64 Zapisz(const std::int16_t* probki, qint64 ile)
    {
        if (!urzadzenie_) {
            zapisaneWCiszy_ += ile;
            return ile;
        }
        const qint64 bajty = urzadzenie_->write(reinterpret_cast<const char*>(probki), ile * 2);
        return bajty > 0 ? bajty / 2 : 0;
    }

    // Hands the device what it has room for; the sound's start is reported once it is there, its end once the silence
    // after it is.
    void Karm()
    {
        OdKiedy.store(QDateTime::currentMSecsSinceEpoch());
        while (pozycja_ < kolejka_.size()) {
            const qint64 wolne = std::min<qint64>(Wolne(), qint64(kolejka_.size() - pozycja_));
            if (wolne <= 0)
                break;
            const qint64 zapisane = Zapisz(&kolejka_[pozycja_], wolne);
            if (zapisane <= 0)
                break;
            pozycja_ += std::size_t(zapisane);
        }
        OdKiedy.store(0);
        if (!zgloszonaGra_ && pozycja_ > poczatek_) {
            zgloszonaGra_ = true;
            Zglos(TFSluchaj::StanOdtwarzania::Gra);
        }
        if (!zgloszonyKoniec_ && pozycja_ >= kolejka_.size()) {
            zgloszonyKoniec_ = true;
            karmienie_->stop();
            Zglos(TFSluchaj::StanOdtwarzania::Zatrzymane);
        }
    }

    void Zglos(TFSluchaj::StanOdtwarzania stan)
    {
        if (Porzucony.load())
            return;
        QMetaObject::invokeMethod(
            okno_,
            [o = okno_, n = numer_, stan, t = tempo_, d = dlugosc_, u = wyjscie_ != nullptr] {
                o->Zgloszenie(n, stan, t, d, u);
            },
            Qt::QueuedConnection);
    }

    TFSluchaj* okno_;
    std::shared_ptr<TFSluchaj::Wspolne> wspolne_;
    QAudioSink* wyjscie_ = nullptr;
    QIODevice* urzadzenie_ = nullptr;
    QTimer* karmienie_ = nullptr;
    QElapsedTimer probaOtwarcia_;
    QElapsedTimer zegarCiszy_; // the silent pace: since when, and how much went nowhere
    qint64 zapisaneWCiszy_ = 0;
    std::vector<std::int16_t> kolejka_; // the fade of the sound before, the latest sound, silence
    std::size_t pozycja_ = 0;           // how much of it the device has
    std::size_t poczatek_ = 0;          // where the latest sound starts in it
    quint64 numer_ = 0;
    qreal tempo_ = 1.0;
    qint64 dlugosc_ = 0;
    bool zgloszonaGra_ = true;
    bool zgloszonyKoniec_ = true;
};

// Lives in the thread that makes samples: the voice (a long text keeps Flite busy for a second or two), decoding, rate
// conversion and slowing. Only this thread waits for that work.
class Mowca : public QObject {
public:
    Mowca(TFSluchaj* okno, std::shared_ptr<TFSluchaj::Wspolne> wspolne) : okno_(okno), wspolne_(std::move(wspolne)) {}

    void Mow(quint64 numer, const std::string& tekst, double rozciagniecie)
    {
        // Quick presses queue up requests; a text already overtaken is not worth synthesising.
        if (numer != wspolne_->najnowsze.load())
            return;
        // A learner presses the same loudspeaker again and again: what was said lately is not synthesised anew.
        const QString klucz = QStringLiteral("g%1 ").arg(rozciagniecie) + QString::fromStdString(tekst);
        Dzwiek dzwiek = Zapamietany(klucz);
        if (!dzwiek) {
            int czestotliwosc = 0;
            vokara::Probki probki = vokara::GlosProbki(tekst, rozciagniecie, czestotliwosc);
            probki = vokara::Przytnij(vokara::Przelicz(probki, czestotliwosc, vokara::CzestotliwoscOdtwarzania),
                                      vokara::CzestotliwoscOdtwarzania);
            if (probki.empty())
                return;
            dzwiek = Zapamietaj(klucz, std::move(probki));
        }
        Oddaj(numer, dzwiek, 1.0);
    }

    void Nagranie(quint64 numer, const QString& plik, qreal tempo)
    {
        if (numer != wspolne_->najnowsze.load())
            return;
        // A file is known by its path, size and time of writing, so one fetched afresh is decoded afresh.
        const QFileInfo info(plik);
        const QString klucz =
            QStringLiteral("n%1 %2 ").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch()) + plik;
        const QString kluczTempa = QStringLiteral("%1 ").arg(tempo) + klucz;
        Dzwiek dzwiek = Zapamietany(kluczTempa);
        if (!dzwiek) {
            Dzwiek zwykly = Zapamietany(klucz);
            if (!zwykly) {
                vokara::Probki probki;
                int czestotliwosc = 0;
                QString blad;
                if (!vokara::DekodujMp3(plik, probki, czestotliwosc, blad)) {
                    QMetaObject::invokeMethod(
                        okno_, [o = okno_, numer, plik, blad] { o->Blad(numer, plik, blad); }, Qt::QueuedConnection);
                    return;
                }
                probki = vokara::Przytnij(vokara::Przelicz(probki, czestotliwosc, vokara::CzestotliwoscOdtwarzania),
                                          vokara::CzestotliwoscOdtwarzania);
                if (probki.empty()) {
                    // Decoded, but nothing in it above the noise: nothing to hear either.
                    const QString blad = QStringLiteral("Nagranie jest ciszą.");
                    QMetaObject::invokeMethod(
                        okno_, [o = okno_, numer, plik, blad] { o->Blad(numer, plik, blad); }, Qt::QueuedConnection);
                    return;
                }
                zwykly = Zapamietaj(klucz, std::move(probki));
            }
            dzwiek = tempo == 1.0
                         ? zwykly
                         : Zapamietaj(kluczTempa, vokara::Rozciagnij(*zwykly, vokara::CzestotliwoscOdtwarzania, tempo));
        }
        Oddaj(numer, dzwiek, tempo);
    }

private:
    Dzwiek Zapamietany(const QString& klucz) const
    {
        const Dzwiek* d = dzwieki_.object(klucz);
        return d ? *d : Dzwiek();
    }

    Dzwiek Zapamietaj(const QString& klucz, vokara::Probki probki)
    {
        auto dzwiek = std::make_shared<const vokara::Probki>(std::move(probki));
        dzwieki_.insert(klucz, new Dzwiek(dzwiek), qsizetype(dzwiek->size() * sizeof(std::int16_t)));
        return dzwiek;
    }

    void Oddaj(quint64 numer, const Dzwiek& dzwiek, qreal tempo)
    {
        Odtwarzacz* odtwarzacz = wspolne_->odtwarzacz.load();
        if (numer != wspolne_->najnowsze.load() || !odtwarzacz)
            return; // a newer request came meanwhile: this sound is stale
        QMetaObject::invokeMethod(
            odtwarzacz, [odtwarzacz, numer, dzwiek, tempo] { odtwarzacz->Graj(numer, dzwiek, tempo); },
            Qt::QueuedConnection);
    }

    TFSluchaj* okno_;
    std::shared_ptr<TFSluchaj::Wspolne> wspolne_;
    // Recently heard words, ready to play at once; the cost is in bytes (about 170 seconds of sound).
    QCache<QString, Dzwiek> dzwieki_{16 * 1024 * 1024};
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
    // The samples' thread first, as it hands its sound to the player; what it is making lasts a second or two at most.
    wspolne_->najnowsze.store(0);
    watekMowy_->quit();
    watekMowy_->wait();
    wspolne_->odtwarzacz.store(nullptr);
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
        watekMowy_->setObjectName(QStringLiteral("Dzwieki"));
        mowca_ = new Mowca(this, wspolne_);
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

// The audio system can hang for good (a sound server that stopped answering). A player inside it for this long is
// given up, left where it hangs, and a fresh one plays the latest request, so the program keeps its sound. A server
// that keeps hanging is given up after a few tries: each try leaves a thread behind.
void TFSluchaj::Pilnuj()
{
    constexpr qint64 LimitMs = 5000;
    constexpr int NajwiecejPorzuconych = 3;
    const qint64 od = odtwarzacz_ ? odtwarzacz_->OdKiedy.load() : 0;
    if (od == 0 || QDateTime::currentMSecsSinceEpoch() - od < LimitMs || porzucone_ >= NajwiecejPorzuconych)
        return;
    odtwarzacz_->Porzucony.store(true);
    watek_->setParent(nullptr); // never deleted: it may never return from the audio system
    watek_ = nullptr;
    odtwarzacz_ = nullptr;
    ++porzucone_;
    Przygotuj();
    Wyslij(wspolne_->najnowsze.load());
}

// The latest request goes to the thread that makes its samples.
void TFSluchaj::Wyslij(quint64 numer)
{
    Przygotuj(); // at the latest now
    stan_ = StanOdtwarzania::Zatrzymane;
    zagrane_ = false;
    if (ostatnia_.plik.isEmpty()) {
        QMetaObject::invokeMethod(
            mowca_, [m = mowca_, numer, p = ostatnia_] { m->Mow(numer, p.tekst, p.rozciagniecie); },
            Qt::QueuedConnection);
    } else {
        QMetaObject::invokeMethod(
            mowca_, [m = mowca_, numer, p = ostatnia_] { m->Nagranie(numer, p.plik, p.tempo); }, Qt::QueuedConnection);
    }
}

void TFSluchaj::Zgloszenie(quint64 numer, StanOdtwarzania stan, qreal tempo, qint64 dlugosc, bool urzadzenie)
{
    urzadzenie_ = urzadzenie;
    if (numer != wspolne_->najnowsze.load())
        return;
    stan_ = stan;
    tempo_ = tempo;
    dlugosc_ = dlugosc;
    zagrane_ = zagrane_ || stan == StanOdtwarzania::Gra;
    emit stanZmieniony(stan);
}

void TFSluchaj::Blad(quint64 numer, const QString& plik, const QString& opis)
{
    if (numer == wspolne_->najnowsze.load() && !plik.isEmpty())
        emit nieodtworzono(plik, opis);
}
