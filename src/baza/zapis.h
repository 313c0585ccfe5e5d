// Writing a whole file so that afterwards it is either all on the disk or exactly as it was before.
#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace vokara {

// Why a file could not be written.
enum class BladZapisu {
    Brak,
    BrakMiejsca, // the disk or the quota is full (or the file would be larger than allowed)
    BrakPrawa,   // a read-only folder or file system, or no permission
    Inny,
};

// Writes `bajty` to a file beside `sciezka` and only then puts it in place with one rename. Every write, the flush
// to the disk and the size on the disk are checked first: a full disk found at any of them leaves the old file
// untouched. False with the cause when the file was not replaced.
bool ZapiszPlik(const QString& sciezka, const QByteArray& bajty, BladZapisu* przyczyna = nullptr);

// The last steps of such a write for a file written piece by piece (a download): the flush, the sync and the size
// on the disk are checked, then the file is put in place; on any failure it is dropped and the old file stays.
bool ZatwierdzPlik(QSaveFile& plik, qint64 rozmiar, BladZapisu* przyczyna = nullptr);

// What the learner reads about a failed write, short enough for the message box: "Brak miejsca na dysku…".
QString OpisBleduZapisu(BladZapisu przyczyna);

// The cause behind an errno value of a failed file operation.
BladZapisu PrzyczynaZErrno(int numer);

} // namespace vokara
