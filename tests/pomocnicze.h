// Small helpers the test suites share: data files in Windows-1250 written into a temporary folder, the test recording.
#pragma once

#include "kodowanie.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace testy {

// Windows-1250 bytes of a UTF-8 literal (the tests write their data in readable Polish).
inline std::string cp(const char* utf8)
{
    std::string wynik;
    if (!vokara::Utf8NaCp1250(utf8, wynik))
        qFatal("no Windows-1250 form for %s", utf8);
    return wynik;
}

inline void zapisz(const QString& sciezka, const QByteArray& bajty)
{
    QDir().mkpath(QFileInfo(sciezka).absolutePath());
    QFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly) || plik.write(bajty) != bajty.size())
        qFatal("cannot write %s", qPrintable(sciezka));
}

// Lines in UTF-8 written as a Windows-1250 file with CR LF ends.
inline void zapiszLinie(const QString& sciezka, const QStringList& linie)
{
    std::string bajty;
    for (const auto& l : linie)
        bajty += cp(l.toUtf8().constData()) + "\r\n";
    zapisz(sciezka, QByteArray::fromStdString(bajty));
}

// The short MP3 recording every pronunciation test plays or serves.
inline QByteArray nagranie()
{
    QFile plik(VOKARA_TESTY_DANE "/krotki.mp3");
    if (!plik.open(QIODevice::ReadOnly))
        qFatal("no test recording");
    return plik.readAll();
}

// A file-size limit stands in for a full disk (no root needed): a write past it fails with EFBIG, not a signal.
class PelnyDysk {
public:
    explicit PelnyDysk(rlim_t bajty)
    {
        getrlimit(RLIMIT_FSIZE, &poprzedni_);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = poprzedni_;
        limit.rlim_cur = bajty;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~PelnyDysk() { setrlimit(RLIMIT_FSIZE, &poprzedni_); }
    PelnyDysk(const PelnyDysk&) = delete;
    PelnyDysk& operator=(const PelnyDysk&) = delete;

private:
    rlimit poprzedni_{};
};

} // namespace testy

// A column of the current data row used inside an expression (QFETCH only declares a variable).
#define WARTOSC(Typ, nazwa) (*static_cast<Typ*>(QTest::qData(#nazwa, ::qMetaTypeId<Typ>())))
