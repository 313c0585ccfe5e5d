// Whole-file writes checked to the disk before they replace anything.
#include "zapis.h"

#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace vokara {

BladZapisu PrzyczynaZErrno(int numer)
{
    switch (numer) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return BladZapisu::BrakMiejsca;
    case EACCES:
    case EPERM:
    case EROFS:
        return BladZapisu::BrakPrawa;
    default:
        return BladZapisu::Inny;
    }
}

namespace {

bool Nieudane(int numer, BladZapisu* przyczyna)
{
    if (przyczyna)
        *przyczyna = PrzyczynaZErrno(numer);
    return false;
}

} // namespace

bool ZatwierdzPlik(QSaveFile& plik, qint64 rozmiar, BladZapisu* przyczyna)
{
    // Small files stay in the file's buffer until the flush, and the commit does not report a flush that failed:
    // the flush, the sync and the size on the disk are checked here, before anything is renamed.
    errno = 0;
    if (!plik.flush() || plik.error() != QFileDevice::NoError) {
        const int numer = errno;
        plik.cancelWriting();
        return Nieudane(numer, przyczyna);
    }
    if (::fsync(plik.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        const int numer = errno;
        plik.cancelWriting();
        return Nieudane(numer, przyczyna);
    }
    if (plik.size() != rozmiar) {
        plik.cancelWriting();
        return Nieudane(ENOSPC, przyczyna);
    }
    errno = 0;
    if (!plik.commit())
        return Nieudane(errno, przyczyna);
    if (przyczyna)
        *przyczyna = BladZapisu::Brak;
    return true;
}

bool ZapiszPlik(const QString& sciezka, const QByteArray& bajty, BladZapisu* przyczyna)
{
    QSaveFile plik(sciezka);
    errno = 0;
    if (!plik.open(QIODevice::WriteOnly))
        return Nieudane(errno, przyczyna);
    if (plik.write(bajty) != bajty.size() || plik.error() != QFileDevice::NoError)
        return Nieudane(errno, przyczyna);
    return ZatwierdzPlik(plik, bajty.size(), przyczyna);
}

QString OpisBleduZapisu(BladZapisu przyczyna)
{
    switch (przyczyna) {
    case BladZapisu::Brak:
        return QString();
    case BladZapisu::BrakMiejsca:
        return QStringLiteral("Brak miejsca na dysku. Zwolnij trochę miejsca i spróbuj ponownie.");
    case BladZapisu::BrakPrawa:
        return QStringLiteral("Folder danych jest tylko do odczytu albo brak prawa zapisu.");
    case BladZapisu::Inny:
        break;
    }
    return QStringLiteral("Błąd zapisu na dysku.");
}

} // namespace vokara
