// The learning memory's database: its schema and the steps between versions, texts as stored, every entry's state
// replayed from its answers, and the work done on a connection of its own (the move from version 1, the fit).
#pragma once

#include "dopasowanie.h"
#include "harmonogram.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vokara {

// The schema this program writes. Each step moves a file one version up; a file from a newer program is left alone.
inline constexpr int WersjaBazy = 2;
// Beside the database while a version 1 file is moved to the current version: a copy of it as it was.
inline constexpr const char* KoncowkaKopii = ".v1";

// A text (a set's file name, an entry's English or Polish side; Windows-1250 bytes) as the database keeps it: UTF-8
// TEXT, readable by any SQLite tool. A text holding a byte Windows-1250 leaves undefined would come back from UTF-8
// as U+FFFD, so it alone keeps its bytes (a BLOB): no two texts ever share a stored value.
QVariant DoBazy(const std::string& bajty);
// The Windows-1250 bytes of a stored text; nothing for TEXT no data file can hold (written by another tool).
std::optional<std::string> ZBazy(const QVariant& wartosc);

// The schedule's weights as stored: 21 numbers in full precision, and back (nothing unless 21 numbers).
QString TekstParametrow(const Parametry& p);
std::optional<Parametry> ParametryZTekstu(const QString& tekst);

// The moments a move from version 1 reports, in order. A report answered false ends it, rolled back.
enum class Etap1Do2 : int {
    Kopia = 0,        // the copy `.v1` is complete, nothing else written yet
    Odczytane = 1,    // inside the transaction: the answers have been read and every entry replayed
    Zapisane = 2,     // grades, texts and states written, not yet committed
    Zatwierdzane = 3, // just before the commit
};
using Postep = std::function<bool(Etap1Do2)>;

// Every schema step from `wersja` to WersjaBazy, each in a transaction of its own taken for writing at once, the
// version read again inside (another copy of the program may have moved the file meanwhile). `gdzie` names the step
// that failed.
bool Migruj(QSqlDatabase& db, int wersja, QString& gdzie, QSqlError& blad, const Postep& postep = {});

// Where a piece of work on a connection of its own ended. `Blad` is what failed (none when all went well).
struct WynikPracy {
    bool Ok = false;
    QString Gdzie;
    QSqlError Blad;
};

// Moves a version 1 file to the current version on a connection of its own, in whatever thread calls it: first a
// complete copy beside it as `<plik>.v1`, then one transaction, then the copy goes. Killed at any moment before the
// commit, the file is still the version 1 file it was (and the copy lies beside it). A file already moved (by
// another copy of the program) is left as it is.
WynikPracy PrzeniesPlik(const QString& plik, const Postep& postep = {});

// The counted answers of every entry (those that moved its state: the round's first answer to it), in time order.
struct LogiWpisow {
    std::vector<qint64> Id; // the entries' ids, one per log
    Historia Logi;
    qint64 OstatniaOdpowiedz = 0; // the highest answer id read, so a later read takes only what came after
};
// Adds the counted answers with an id above l.OstatniaOdpowiedz.
bool WczytajLogi(QSqlDatabase& db, LogiWpisow& l, QSqlError& blad);
// Every logged entry's state replayed with these weights and written to its row.
bool ZapiszStany(QSqlDatabase& db, const Parametry& p, const LogiWpisow& l, QSqlError& blad);

// The fit of the schedule to the learner, on a connection of its own (a worker thread). Nothing is written unless the
// history is enough for a fit and it ran to its end: then the day of the fit, and the fitted weights if they beat the
// defaults on the held-out answers (otherwise the defaults again), and, when the weights in use change, every
// entry's state replayed with them, all in one transaction taken while `zapis` is held (the memory's own thread
// then lets its answers wait rather than wait itself).
struct WynikDopasowaniaPliku : WynikPracy {
    bool Dopasowano = false; // a fit ran to its end and its outcome was stored
    bool Zmiana = false;     // the weights in use changed
    WynikDopasowania Dopasowanie;
};
WynikDopasowaniaPliku DopasujPlik(const QString& plik, qint64 dzis, std::mutex& zapis,
                                  const std::atomic<bool>& przerwij);

// The stored settings: the weights in use (none: the defaults), the day (Julian) they were fitted, and the day the
// last fit ran, so it runs at most once a day.
inline constexpr const char* KluczParametrow = "parametry";
inline constexpr const char* KluczDniaParametrow = "dopasowane_dnia";
inline constexpr const char* KluczDniaDopasowania = "ostatnie_dopasowanie";

} // namespace vokara
