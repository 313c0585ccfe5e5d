// A small HTTP server on 127.0.0.1 for the network tests: any status, redirects, stalls, drips, bodies cut short.
#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

namespace testy {

struct OdpowiedzHttp {
    int status = 200;
    QByteArray tresc;
    QByteArray przekierowanie = {}; // Location header, for 3xx answers
    bool zawies = false;            // read the request, then say nothing
    qint64 uciecPo = -1;            // announce the whole body but send only this many bytes, then close
    int kapanieMs = 0;              // send the body one byte at a time, this many milliseconds apart
};

class SerwerHttp : public QObject {
public:
    SerwerHttp()
    {
        connect(&serwer_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* gniazdo = serwer_.nextPendingConnection()) {
                gniazdo->setParent(this);
                connect(gniazdo, &QTcpSocket::readyRead, this, [this, gniazdo] { Czytaj(gniazdo); });
            }
        });
        if (!serwer_.listen(QHostAddress::LocalHost, 0))
            qFatal("cannot listen on 127.0.0.1");
    }

    QString adres() const { return QStringLiteral("http://127.0.0.1:%1").arg(serwer_.serverPort()); }
    void zatrzymaj() { serwer_.close(); }

    // Answers for a path, one per request in order; the last one answers every further request. Any other path
    // gets 404.
    QHash<QByteArray, QList<OdpowiedzHttp>> trasy;
    void ustaw(const QByteArray& sciezka, const QList<OdpowiedzHttp>& odpowiedzi) { trasy[sciezka] = odpowiedzi; }
    QList<QByteArray> zapytania;                          // every requested path, in order
    QList<QByteArray> agenci;                             // the User-Agent of each request
    std::function<void(const QByteArray&)> przyZapytaniu; // called with each path as it arrives

private:
    void Czytaj(QTcpSocket* gniazdo)
    {
        QByteArray& bufor = bufory_[gniazdo];
        bufor += gniazdo->readAll();
        const int koniec = bufor.indexOf("\r\n\r\n");
        if (koniec < 0)
            return;
        const QList<QByteArray> linie = bufor.left(koniec).split('\n');
        bufor.clear();
        const QList<QByteArray> pierwsza = linie.value(0).trimmed().split(' ');
        const QByteArray sciezka = pierwsza.value(1);
        zapytania << sciezka;
        if (przyZapytaniu)
            przyZapytaniu(sciezka);
        for (const auto& l : linie) {
            if (l.toLower().startsWith("user-agent:"))
                agenci << l.mid(11).trimmed();
        }
        OdpowiedzHttp o{404, "not found", {}, false, -1};
        if (auto it = trasy.find(sciezka); it != trasy.end() && !it->isEmpty())
            o = it->size() > 1 ? it->takeFirst() : it->first();
        if (o.zawies)
            return;
        QByteArray glowa =
            "HTTP/1.1 " + QByteArray::number(o.status) + " X\r\nConnection: close\r\n" +
            "Content-Type: application/octet-stream\r\nContent-Length: " + QByteArray::number(o.tresc.size()) + "\r\n";
        if (!o.przekierowanie.isEmpty())
            glowa += "Location: " + o.przekierowanie + "\r\n";
        gniazdo->write(glowa + "\r\n");
        if (o.kapanieMs > 0) {
            auto* zegar = new QTimer(gniazdo);
            connect(zegar, &QTimer::timeout, gniazdo, [gniazdo, reszta = o.tresc]() mutable {
                gniazdo->write(reszta.left(1));
                reszta.remove(0, 1);
                if (reszta.isEmpty())
                    gniazdo->disconnectFromHost();
            });
            zegar->start(o.kapanieMs);
            return;
        }
        gniazdo->write(o.uciecPo >= 0 ? o.tresc.left(o.uciecPo) : o.tresc);
        gniazdo->flush();
        gniazdo->disconnectFromHost();
    }

    QTcpServer serwer_;
    QHash<QTcpSocket*, QByteArray> bufory_;
};

} // namespace testy
