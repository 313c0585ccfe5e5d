// The program's two network operations: is an address available, and download an address into a file.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkReply;
class QWidget;

class Siec : public QObject {
    Q_OBJECT

public:
    explicit Siec(QObject* parent = nullptr);

    // One GET that always goes to the server and does not follow redirects: true for status 200 or 302 (a
    // dictionary hands a recording to its file server with a 302). The body is never read.
    bool AdresDostepny(const QUrl& adres);

    // The same request, telling a server that answered without the address (any status but 200 or 302) apart from
    // one that could not be reached at all (no name, no connection, time-out).
    enum class Odpowiedz { Dostepny, Brak, Nieosiagalny };
    Odpowiedz SprawdzAdres(const QUrl& adres);

    // Follows up to five redirects and writes the body beside the target, replacing the target only when the final
    // status is 2xx, the body arrived whole, every byte of it reached the disk, and `przyjmij` (when given) accepts
    // the body's first bytes (up to 4096, or the whole body if shorter); otherwise the target stays as it was.
    bool Pobierz(const QUrl& adres, const QString& plik, const std::function<bool(const QByteArray&)>& przyjmij = {});

    // Why the last Pobierz failed.
    enum class Blad {
        Brak,        // it succeeded
        Polaczenie,  // the server: no answer, an error status, a body cut short, too large, too slow
        Zapis,       // the target's folder cannot be written
        BrakMiejsca, // the disk (or the user's quota) is full
        Przerwane,   // the user ended the wait
        Odrzucone,   // `przyjmij` refused the body
    };
    Blad OstatniBlad = Blad::Brak;

    // How long a request may go without receiving a byte before it counts as failed.
    int LimitCiszyMs = 20000;
    // How long a whole request may take, however steadily the bytes drip in.
    int LimitCalkowityMs = 30000;

    // The largest body a download may bring; a bigger one fails, so a misbehaving server cannot fill the disk.
    qint64 NajwiekszyPlik = 64 * 1024 * 1024;

    // Requests sent so far (benchmarks and tests read it).
    int Zapytania = 0;

    // A window that keeps taking input while a request waits (the update's progress window with its cancel
    // button); every other window only paints. Closing any other window ends the wait and the program.
    QPointer<QWidget> OknoCzekania;

    // Ends the current wait, if any: the request fails with Blad::Przerwane.
    void Przerwij();

    // The user closed a window during a wait: the program is ending, and no further request is sent.
    bool Zamykanie() const { return zamykanie_; }

private:
    QNetworkRequest Zadanie(const QUrl& adres) const;
    // Waits for the reply in a local loop that keeps the windows painting; user input reaches only OknoCzekania.
    // False when the wait ended early: the overall limit, Przerwij, or a window closed.
    bool Czekaj(QNetworkReply* odpowiedz);

    // Made on the first request: most sessions never go online, and the start need not wait for it.
    QNetworkAccessManager& Menedzer();

    std::unique_ptr<QNetworkAccessManager> siec_;
    QNetworkReply* biezaca_ = nullptr;
    bool przerwane_ = false;
    bool zamykanie_ = false;
    friend class StrazCzekania;
};
