// The user's own sets on disk: the own list, reading and saving a set, checks before saving, and export.
#pragma once

#include "dane.h"
#include "import.h"

#include <QList>
#include <QString>

#include <filesystem>

namespace vokara {

// One set as the editor holds it. An empty Plik is a set that has never been saved.
struct WlasnyZestaw {
    QString Nazwa;
    QString Plik;
    QString NaglowekWyraz = QStringLiteral("Angielskie słowo");
    QString NaglowekOznacza = QStringLiteral("Polskie znaczenie");
    QList<Para> Pary;
};

// The own sets the pickers would list: those in a_moje.txt whose file is present, in its order.
_zestawy ListaMoich(const std::filesystem::path& katalogRoboczy);

// Reads any set file of the data folder (an own one or a shipped one to copy). False when it cannot be read.
bool WczytajWlasny(const std::filesystem::path& katalogRoboczy, const std::string& plik, WlasnyZestaw& zestaw);

// moje_<name>.txt: Polish letters to their base letters, anything but letters and digits to '_', lower case, and
// a number added when the name is taken (in the own list or on disk).
QString NazwaPliku(const std::filesystem::path& katalogRoboczy, const QString& nazwa);

// What a check found in one field of a row.
struct Uwaga {
    QString Tekst;
    bool Blokuje = false; // saving is refused while it stands
};
// The checks of one row: [0] the English field, [1] the Polish one.
struct UwagiWiersza {
    Uwaga Pole[2];
};

// Checks every row: no Windows-1250 form, a '*', more than 100 bytes, one field empty, the same English twice.
QList<UwagiWiersza> SprawdzPary(const QList<Para>& pary);
// Checks a set name (and captions) against the other own sets' names; empty when it is fine.
QString SprawdzNazwe(const QString& nazwa, const QStringList& inneNazwy);
QString SprawdzNaglowek(const QString& naglowek);
// The first blocking problem, with its row named, as the editor says it; empty when the set can be saved.
QString PierwszyBlad(const WlasnyZestaw& zestaw, const QStringList& inneNazwy, int* wiersz = nullptr);

// Writes the set file and the own list, each atomically. A new set gets its file name here. False with a Polish
// reason when something could not be written (the files on disk are then as they were).
bool ZapiszWlasny(const std::filesystem::path& katalogRoboczy, WlasnyZestaw& zestaw, QString& blad);
// Takes the set off the own list, then removes its file.
bool UsunWlasny(const std::filesystem::path& katalogRoboczy, const QString& plik, QString& blad);

// UTF-8 tab-separated text, one pair a line (Anki and Quizlet read it).
bool EksportujTsv(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad);
// A set file in this program's format (Windows-1250, CR LF, the captions on line 1).
bool EksportujZestaw(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad);

} // namespace vokara
