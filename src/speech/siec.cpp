// Blocking-for-the-caller HTTP on one QNetworkAccessManager, with a wait cursor and a silence time-out.
#include "siec.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QNetworkReply>
#include <QSaveFile>

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

} // namespace

Siec::Siec(QObject* parent) : QObject(parent) {}

QNetworkRequest Siec::Zadanie(const QUrl& adres) const
{
    QNetworkRequest zadanie(adres);
    zadanie.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("IE"));
    zadanie.setTransferTimeout(LimitCiszyMs);
    return zadanie;
}

void Siec::Czekaj(QNetworkReply* odpowiedz)
{
    if (odpowiedz->isFinished())
        return;
    QEventLoop petla;
    connect(odpowiedz, &QNetworkReply::finished, &petla, &QEventLoop::quit);
    petla.exec(QEventLoop::ExcludeUserInputEvents);
}

bool Siec::AdresDostepny(const QUrl& adres)
{
    return SprawdzAdres(adres) == Odpowiedz::Dostepny;
}

Siec::Odpowiedz Siec::SprawdzAdres(const QUrl& adres)
{
    KursorCzekania kursor;
    QNetworkRequest zadanie = Zadanie(adres);
    zadanie.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    zadanie.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    ++Zapytania;
    std::unique_ptr<QNetworkReply, UsunPozniej> odpowiedz(siec_.get(zadanie));
    int status = 0;
    // Declared last, so destroyed first: the handler below, which points into this call, never outlives it.
    QObject straznik;
    // The status is all that is wanted: once the head has arrived the rest of the body is not fetched.
    connect(odpowiedz.get(), &QNetworkReply::metaDataChanged, &straznik, [&status, r = odpowiedz.get()] {
        status = Status(r);
        if (status != 0)
            r->abort();
    });
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
    KursorCzekania kursor;
    QSaveFile cel(plik);
    // Without a place to write (a missing folder, say) nothing is asked of the server.
    if (!cel.open(QIODevice::WriteOnly))
        return false;
    QNetworkRequest zadanie = Zadanie(adres);
    zadanie.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    zadanie.setMaximumRedirectsAllowed(5);
    ++Zapytania;
    std::unique_ptr<QNetworkReply, UsunPozniej> odpowiedz(siec_.get(zadanie));
    bool bladZapisu = false; // a failed write, or a body over the size limit
    qint64 zapisane = 0;
    constexpr int Poczatek = 4096;
    QByteArray poczatek; // the first bytes, for `przyjmij`
    bool odrzucone = false;
    QObject straznik; // destroyed first: the handler below never outlives this call
    connect(odpowiedz.get(), &QNetworkReply::readyRead, &straznik, [&, r = odpowiedz.get()] {
        const QByteArray kawalek = r->readAll();
        const int status = Status(r);
        // An error page is never stored as a recording or a data file.
        if (status < 200 || status > 299)
            return;
        if (zapisane + kawalek.size() > NajwiekszyPlik || cel.write(kawalek) != kawalek.size()) {
            bladZapisu = true;
            r->abort();
        }
        zapisane += kawalek.size();
        if (przyjmij && poczatek.size() < Poczatek) {
            poczatek += kawalek.left(Poczatek - poczatek.size());
            if (poczatek.size() == Poczatek && !przyjmij(poczatek)) {
                odrzucone = true;
                r->abort();
            }
        }
    });
    Czekaj(odpowiedz.get());
    const int status = Status(odpowiedz.get());
    // A wait ended early (the program quitting) leaves an unfinished reply: whatever arrived is not the whole body.
    bool caly = odpowiedz->isFinished() && odpowiedz->error() == QNetworkReply::NoError && status >= 200 &&
                status <= 299 && !bladZapisu;
    const QVariant dlugosc = odpowiedz->header(QNetworkRequest::ContentLengthHeader);
    if (caly && dlugosc.isValid() && !odpowiedz->hasRawHeader("Content-Encoding"))
        caly = zapisane == dlugosc.toLongLong();
    // A body shorter than the sample has not been shown yet.
    if (caly && przyjmij && poczatek.size() < Poczatek)
        odrzucone = !przyjmij(poczatek);
    if (!caly || odrzucone) {
        cel.cancelWriting();
        return false;
    }
    return cel.commit();
}
