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

// The most bytes a field keeps in a set file. The readers cut a meaning there (the word they keep whole); the word,
// the captions and the name are held to the same bound, so one rule covers every field and swapping the columns
// never turns a saved set into one that cannot be saved.
inline constexpr int NajwiecejBajtowPola = int(NajdluzszeZnaczenie);
// The bytes a field takes in a set file, trimmed as it is saved: one a character for every text that can be saved.
int BajtyPola(const QString& pole);
// "101 bajtów – plik zestawu mieści najwyżej 100", as the cell and its editor say it.
QString OpisDlugosci(int bajty);

// What a check found in one field of a row.
struct Uwaga {
    QString Tekst;
    bool Blokuje = false; // saving is refused while it stands
    int Bajty = 0;        // the field's bytes when it is longer than a set file keeps, else 0
};
// The checks of one row: [0] the English field, [1] the Polish one.
struct UwagiWiersza {
    Uwaga Pole[2];
};

// Checks every row: no Windows-1250 form, a '*', more than NajwiecejBajtowPola bytes, one field empty, the same
// English twice. Only the last is a warning; the others refuse saving.
QList<UwagiWiersza> SprawdzPary(const QList<Para>& pary);
// Checks a set name (and captions) against the other own sets' names; empty when it is fine.
QString SprawdzNazwe(const QString& nazwa, const QStringList& inneNazwy);
QString SprawdzNaglowek(const QString& naglowek);
// The first blocking problem, with its row named, as the editor says it; empty when the set can be saved. When it is
// a field too long, every row with such a field is named (and `wiersz` is the first of them).
QString PierwszyBlad(const WlasnyZestaw& zestaw, const QStringList& inneNazwy, int* wiersz = nullptr);

// Writes the set file and the own list, each atomically. A new set gets its file name here. False with a Polish
// reason when something could not be written (the files on disk are then as they were).
bool ZapiszWlasny(const std::filesystem::path& katalogRoboczy, WlasnyZestaw& zestaw, QString& blad);
// Takes the set off the own list, then removes its file.
bool UsunWlasny(const std::filesystem::path& katalogRoboczy, const QString& plik, QString& blad);

// UTF-8 tab-separated text, one pair a line (Anki and Quizlet read it).
bool EksportujTsv(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad);
// KVTML 2, the collection KWordQuiz and Parley open: identifiers English (en) and Polish (pl), one entry a pair, all
// in one lesson named after the set. No field is cut: the format has no bound.
bool EksportujKvtml(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad);
// A set file in this program's format (Windows-1250, CR LF, the captions on line 1). Refused, like saving, when a
// field is longer than the format keeps.
bool EksportujZestaw(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad);

} // namespace vokara
