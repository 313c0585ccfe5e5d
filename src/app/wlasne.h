// What the main window does with own sets and files outside the editor: the sets' names by last use, one pair added
// to a set (the dictionary page), a new set made of a text's words, and which window a file given to the program opens.
#pragma once

#include "import.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <filesystem>

namespace vokara {

// The own sets' names, the one whose file was written last first (the set used last), then in the list's order.
QStringList NazwyMoichOdOstatniego(const std::filesystem::path& katalogRoboczy);

// Adds one pair to the own set named `zestaw` (case aside), or makes a new own set of that name with the usual
// captions when there is none. Refused with a Polish reason: a pair that is in the set already, the English word
// there with another meaning, a field the set file cannot hold, a set that cannot be read or written.
bool DodajDoMojego(const std::filesystem::path& katalogRoboczy, const QString& angielski, const QString& polski,
                   const QString& zestaw, QString& blad);

// Saves a new own set of these pairs, named `nazwa`, or "nazwa 2", "nazwa 3"... when an own set has that name
// (a name the set list cannot hold becomes "Słowa z tekstu"). `zapisana` gets the name it was saved under.
bool UtworzMoj(const std::filesystem::path& katalogRoboczy, const QString& nazwa, const QList<Para>& pary,
               QString& zapisana, QString& blad);

// Whether a file given to the program holds running text for the words window (subtitles, HTML, prose) rather than
// word pairs for the editor: vokara::TekstCiagly on the file's start and on what the import reader makes of it.
bool TekstDoSlow(const QString& sciezka);

} // namespace vokara
