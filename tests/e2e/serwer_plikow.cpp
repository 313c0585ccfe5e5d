// A plain HTTP file server on 127.0.0.1 for the end-to-end run: serves a folder, logs every requested path.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication aplikacja(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir korzen(QString::fromLocal8Bit(argv[1]));
    QTcpServer serwer;
    if (!serwer.listen(QHostAddress::LocalHost, 0))
        return 1;
    std::printf("%d\n", serwer.serverPort());
    std::fflush(stdout);
    QObject::connect(&serwer, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* gniazdo = serwer.nextPendingConnection()) {
            gniazdo->setParent(&serwer);
            QObject::connect(gniazdo, &QTcpSocket::readyRead, gniazdo, [gniazdo, &korzen] {
                const QByteArray zadanie = gniazdo->peek(8192);
                if (!zadanie.contains("\r\n\r\n"))
                    return;
                gniazdo->readAll();
                const QByteArray sciezka = zadanie.split(' ').value(1);
                std::printf("%s\n", sciezka.constData());
                std::fflush(stdout);
                const QString wzgledna = QUrl::fromPercentEncoding(sciezka).mid(1);
                QFile plik(korzen.filePath(wzgledna));
                const bool jest = !wzgledna.contains(QLatin1String("..")) && plik.open(QIODevice::ReadOnly);
                const QByteArray tresc = jest ? plik.readAll() : QByteArray("not found");
                gniazdo->write("HTTP/1.1 " + QByteArray(jest ? "200 OK" : "404 Not Found") +
                               "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(tresc.size()) +
                               "\r\n\r\n" + tresc);
                gniazdo->disconnectFromHost();
            });
        }
    });
    return QCoreApplication::exec();
}
