// Reading word pairs from the files other trainers write: plain text and CSV, Anki and Quizlet exports, KVTML 2.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace vokara {

// One pair as the editor holds it: Unicode text, converted to Windows-1250 only when saved.
struct Para {
    QString Angielski;
    QString Polski;
    bool operator==(const Para&) const = default;
};

// No file larger than this is read: a word list never comes near it, and a bigger file is almost surely not one.
inline constexpr qint64 NajwiekszyImport = 16 * 1024 * 1024;
// More pairs than this would make a set no one can drill; the rest of the file is counted as skipped.
inline constexpr int NajwiecejPar = 100000;
// A field longer than this is not a word or a phrase (a pasted paragraph, a binary run): its line is skipped.
inline constexpr int NajdluzszePoleImportu = 1000;

struct WynikImportu {
    bool Ok = false;
    QString Blad;          // why nothing was imported, in Polish, when Ok is false
    QString Rodzaj;        // what the file was read as, e.g. "tekst UTF-8, pola rozdzielone tabulatorem"
    QList<Para> Pary;      // in the file's order
    QString NaglowekWyraz; // the captions, when the file carries them (a set file of this program)
    QString NaglowekOznacza;
    int Pominiete = 0;         // lines (records, entries) that gave no pair
    QMap<QString, int> Powody; // why they were skipped, and how many times each reason came up
    int PierwszyPominiety = 0; // the line number of the first skipped line, 0 when none
    // The first pair looks like the titles of the columns ("english / polish", "Front / Back"): the editor offers to
    // leave it out. It stays in Pary; what to do with it is the learner's choice.
    bool PierwszyNaglowkiem = false;

    // "Wczytano N par, pominięto M wierszy: ..." as the editor shows it.
    QString Podsumowanie() const;
};

// Reads a file from disk: refuses what is not a regular file (checked on the opened file, so nothing swapped in
// afterwards can block) or is larger than NajwiekszyImport.
WynikImportu ImportujPlik(const QString& sciezka);
// Reads file bytes (at most NajwiekszyImport of them); the name only helps to tell a KVTML file by its extension.
WynikImportu ImportujBajty(const QByteArray& bajty, const QString& nazwaPliku = QString());

// Fields of delimited text, with RFC 4180 quoting when `cudzyslowy` is set: a field that starts with '"' runs to
// the next lone '"', doubled quotes stand for one, and separators and line breaks inside quotes belong to the
// field. Each record comes with the number of the line it starts on. Records are handed over one at a time, so a
// file of blank lines or of separators costs no memory, and a field is a view of the text wherever it can be; the
// views hold only while the record is handed over. A record keeps at most NajwiecejPol fields (the rest are read
// past), which is more than any column an Anki header can leave out.
inline constexpr int NajwiecejPol = 66;
struct Rekord {
    int Wiersz = 0;
    QList<QStringView> Pola;
    QStringList Zebrane; // the text of fields that are no slice of the input (doubled quotes), which Pola views
};
void PodzielRekordy(QStringView tekst, QChar separator, bool cudzyslowy,
                    const std::function<void(const Rekord&)>& rekord);

// A field as the editor takes it: line breaks and other control characters become blanks, and the blanks around
// it (no-break spaces included) go.
QString OczyscPole(QStringView pole);

// A file name as a message shows it: control, format and invisible characters (the bidirectional overrides and
// isolates among them, which would turn the Polish text around them) each become U+FFFD.
QString NazwaDoKomunikatu(const QString& nazwa);

// Whether a pair reads as column titles rather than words: both fields are titles other trainers and spreadsheets
// give such columns (english, polish, angielski, polski, term, definition, front, back, słowo, znaczenie, ...).
bool WygladaNaNaglowek(const Para& para);

// Text of an HTML field (Anki): <br> and block ends become blanks, tags go, entities are decoded.
QString TekstHtml(QStringView html);

} // namespace vokara
