// The program's two network operations: is an address available, and download an address into a file.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

#include <functional>

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
    // status is 2xx and the body arrived whole; otherwise the target stays as it was.
    // `przyjmij`, when given, sees the first bytes of the body (up to 4096, or the whole body if shorter, possibly
    // none) before anything is committed; false makes the download fail with no file written.
    bool Pobierz(const QUrl& adres, const QString& plik, const std::function<bool(const QByteArray&)>& przyjmij = {});

    // How long a request may go without receiving a byte before it counts as failed.
    int LimitCiszyMs = 20000;

    // The largest body a download may bring; a bigger one fails, so a misbehaving server cannot fill the disk.
    qint64 NajwiekszyPlik = 64 * 1024 * 1024;

    // Requests sent so far (benchmarks and tests read it).
    int Zapytania = 0;

private:
    QNetworkRequest Zadanie(const QUrl& adres) const;
    // Waits for the reply in a local loop that keeps the windows painting but takes no input.
    static void Czekaj(QNetworkReply* odpowiedz);

    QNetworkAccessManager siec_;
};
