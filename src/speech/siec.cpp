// Blocking-for-the-caller HTTP on one QNetworkAccessManager: a wait cursor, silence and overall time-outs, checked
// writes, and a wait the user can end.
#include "siec.h"

#include "zapis.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QNetworkReply>
#include <QSaveFile>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <memory>

namespace {

// The wait cursor for as long as a request blocks the caller.
class KursorCzekania {
public:
    KursorCzekania()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~KursorCzekania()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
    KursorCzekania(const KursorCzekania&) = delete;
    KursorCzekania& operator=(const KursorCzekania&) = delete;
};

int Status(const QNetworkReply* odpowiedz)
{
    return odpowiedz->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A reply cut short (the program quitting during a wait) is stopped before the event loop deletes it.
struct UsunPozniej {
    void operator()(QNetworkReply* r) const
    {
        r->abort();
        r->deleteLater();
    }
};

bool JestWejsciem(QEvent::Type typ)
{
    switch (typ) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
        return true;
    default:
        return false;
    }
}

// A failed write's cause, read from errno right where the write failed.
Siec::Blad BladZErrno()
{
    return vokara::PrzyczynaZErrno(errno) == vokara::BladZapisu::BrakMiejsca ? Siec::Blad::BrakMiejsca
                                                                             : Siec::Blad::Zapis;
}

} // namespace

// While a request waits, the windows paint and timers run, but user input reaches only the window named by
// Siec::OknoCzekania (the update's progress window, so its cancel button and Escape work). Closing the main window
// ends the wait and the program instead of being held back until the server answers.
class StrazCzekania : public QObject {
public:
    explicit StrazCzekania(Siec& siec) : siec_(siec)
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QCoreApplication::instance()->installEventFilter(this);
    }
    ~StrazCzekania() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeEventFilter(this);
    }
    StrazCzekania(const StrazCzekania&) = delete;
    StrazCzekania& operator=(const StrazCzekania&) = delete;

    static bool Dziala() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

protected:
    bool eventFilter(QObject* cel, QEvent* zdarzenie) override
    {
        if (zdarzenie->type() == QEvent::Close) {
            auto* okno = qobject_cast<QWidget*>(cel);
            // Only a real window counts: tool tips and pop-ups close themselves, too.
            if (okno && okno->windowType() == Qt::Window && okno->isVisible() && okno != siec_.OknoCzekania) {
                siec_.zamykanie_ = true;
                siec_.Przerwij();
                QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
            }
            return false;
        }
        if (!JestWejsciem(zdarzenie->type()))
            return false;
        return !WOknieCzekania(cel);
    }

private:
    bool WOknieCzekania(QObject* cel) const
    {
        const QWidget* dozwolone = siec_.OknoCzekania;
        if (!dozwolone)
            return false;
        if (auto* okno = qobject_cast<QWindow*>(cel))
            return okno == dozwolone->windowHandle();
        if (auto* skrot = qobject_cast<QShortcut*>(cel))
            cel = skrot->parent();
        auto* widzet = qobject_cast<QWidget*>(cel);
        return widzet && widzet->window() == dozwolone;
    }

    Siec& siec_;
};

Siec::Siec(QObject* parent) : QObject(parent) {}

QNetworkRequest Siec::Zadanie(const QUrl& adres) const
{
    QNetworkRequest zadanie(adres);
    zadanie.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("IE"));
    zadanie.setTransferTimeout(LimitCiszyMs);
    return zadanie;
}

void Siec::Przerwij()
{
    przerwane_ = true;
    if (biezaca_)
        biezaca_->abort();
}

bool Siec::Czekaj(QNetworkReply* odpowiedz)
{
    przerwane_ = false;
    if (odpowiedz->isFinished())
        return true;
    QEventLoop petla;
    connect(odpowiedz, &QNetworkReply::finished, &petla, &QEventLoop::quit);
    // The silence time-out cannot catch a server that drips a byte now and then; this one does.
    bool poTerminie = false;
    QTimer termin;
    termin.setSingleShot(true);
    connect(&termin, &QTimer::timeout, &petla, [&poTerminie, odpowiedz] {
        poTerminie = true;
        odpowiedz->abort();
    });
    termin.start(LimitCalkowityMs);
    biezaca_ = odpowiedz;
    {
        StrazCzekania straz(*this);
        if (!przerwane_ && !zamykanie_)
            petla.exec(StrazCzekania::Dziala() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    biezaca_ = nullptr;
    if (!odpowiedz->isFinished())
        odpowiedz->abort();
    return !poTerminie && !przerwane_ && !zamykanie_;
}

bool Siec::AdresDostepny(const QUrl& adres)
{
    return SprawdzAdres(adres) == Odpowiedz::Dostepny;
}

QNetworkAccessManager& Siec::Menedzer()
{
    if (!siec_)
        siec_ = std::make_unique<QNetworkAccessManager>();
    return *siec_;
}

Siec::Odpowiedz Siec::SprawdzAdres(const QUrl& adres)
{
    if (zamykanie_)
        return Odpowiedz::Nieosiagalny;
    KursorCzekania kursor;
    QNetworkRequest zadanie = Zadanie(adres);
    zadanie.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    zadanie.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    ++Zapytania;
    std::unique_ptr<QNetworkReply, UsunPozniej> odpowiedz(Menedzer().get(zadanie));
    int status = 0;
    // Declared last, so destroyed first: the handler below, which points into this call, never outlives it.
    QObject straznik;
    // The status is all that is wanted: once the head has arrived the rest of the body is not fetched.
    connect(odpowiedz.get(), &QNetworkReply::metaDataChanged, &straznik, [&status, r = odpowiedz.get()] {
        status = Status(r);
        if (status != 0)
            r->abort();
    });
    // A wait ended early (a deadline, the program closing) leaves no status: the server counts as not reached.
    Czekaj(odpowiedz.get());
    if (status == 0 && odpowiedz->error() == QNetworkReply::NoError)
        status = Status(odpowiedz.get());
    if (status == 200 || status == 302)
        return Odpowiedz::Dostepny;
    // Any status at all means the server was reached and has no such address.
    return status != 0 ? Odpowiedz::Brak : Odpowiedz::Nieosiagalny;
}

bool Siec::Pobierz(const QUrl& adres, const QString& plik, const std::function<bool(const QByteArray&)>& przyjmij)
{
    OstatniBlad = Blad::Przerwane;
    if (zamykanie_)
        return false;
    KursorCzekania kursor;
    QSaveFile cel(plik);
    // Without a place to write (a missing folder, say) nothing is asked of the server.
    if (!cel.open(QIODevice::WriteOnly)) {
        OstatniBlad = BladZErrno();
        return false;
    }
    QNetworkRequest zadanie = Zadanie(adres);
    zadanie.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    zadanie.setMaximumRedirectsAllowed(5);
    ++Zapytania;
    std::unique_ptr<QNetworkReply, UsunPozniej> odpowiedz(Menedzer().get(zadanie));
    Blad blad = Blad::Brak; // a failed write, or a body over the size limit
    qint64 zapisane = 0;
    QByteArray poczatek; // the first bytes, for `przyjmij`
    QObject straznik;    // destroyed first: the handler below never outlives this call
    connect(odpowiedz.get(), &QNetworkReply::readyRead, &straznik, [&, r = odpowiedz.get()] {
        const QByteArray kawalek = r->readAll();
        const int status = Status(r);
        // An error page is never stored as a recording or a data file.
        if (status < 200 || status > 299 || blad != Blad::Brak)
            return;
        if (poczatek.size() < 4096)
            poczatek += kawalek.left(4096 - poczatek.size());
        if (zapisane + kawalek.size() > NajwiekszyPlik) {
            blad = Blad::Polaczenie;
            r->abort();
            return;
        }
        // The file's own error counts as well: a buffered write can report the whole length and fail later.
        if (cel.write(kawalek) != kawalek.size() || cel.error() != QFileDevice::NoError) {
            blad = BladZErrno();
            r->abort();
            return;
        }
        zapisane += kawalek.size();
    });
    const bool doczekal = Czekaj(odpowiedz.get());
    const int status = Status(odpowiedz.get());
    OstatniBlad = przerwane_ || zamykanie_ ? Blad::Przerwane : Blad::Polaczenie;
    if (blad != Blad::Brak)
        OstatniBlad = blad;
    // A wait ended early leaves an unfinished reply: whatever arrived is not the whole body.
    bool caly = doczekal && odpowiedz->isFinished() && odpowiedz->error() == QNetworkReply::NoError && status >= 200 &&
                status <= 299 && blad == Blad::Brak;
    const QVariant dlugosc = odpowiedz->header(QNetworkRequest::ContentLengthHeader);
    if (caly && dlugosc.isValid() && !odpowiedz->hasRawHeader("Content-Encoding"))
        caly = zapisane == dlugosc.toLongLong();
    if (caly && przyjmij && !przyjmij(poczatek)) {
        OstatniBlad = Blad::Odrzucone;
        caly = false;
    }
    if (!caly) {
        cel.cancelWriting();
        return false;
    }
    // Everything handed to the file must be on the disk before it replaces the target: a full disk shows here.
    vokara::BladZapisu przyczyna = vokara::BladZapisu::Brak;
    if (!vokara::ZatwierdzPlik(cel, zapisane, &przyczyna)) {
        OstatniBlad = przyczyna == vokara::BladZapisu::BrakMiejsca ? Blad::BrakMiejsca : Blad::Zapis;
        return false;
    }
    OstatniBlad = Blad::Brak;
    return true;
}
