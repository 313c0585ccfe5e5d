// Files of running text: telling them from word lists (subtitles, HTML, prose), and reading one as UTF-8 text for the
// dictionary's list of its words.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

namespace vokara {

// What the import reader made of a file (WynikImportu), as TekstCiagly weighs it.
struct ParyImportu {
    bool Odczytany = false; // the reader accepted the file (WynikImportu::Ok)
    bool ZaDuzy = false;    // it refused it for its size alone, as a book or a film's subtitles can be
    int Pary = 0;
    int Pominiete = 0; // lines that gave no pair
    int Zdaniowe = 0;  // pairs that read as pieces of sentences (ZdaniowaPara)
};

// A pair cut from prose rather than taken from a word list: a side of more than six words.
bool ZdaniowaPara(QStringView angielski, QStringView polski);

// Fills Pary and Zdaniowe from a reader's pairs (any list of items with Angielski and Polski, e.g.
// WynikImportu::Pary).
template <typename Lista> void PoliczPary(ParyImportu& import, const Lista& pary)
{
    import.Pary = int(pary.size());
    import.Zdaniowe = 0;
    for (const auto& p : pary)
        import.Zdaniowe += ZdaniowaPara(p.Angielski, p.Polski) ? 1 : 0;
}

// The first bytes of a file (at most 64 KiB), for the tests below; empty when it cannot be read.
QByteArray PoczatekPliku(const QString& sciezka);

// Subtitles (.srt, .vtt, or a WEBVTT header or a subtitle's time line near the start) or HTML (.htm, .html, .xhtml,
// or a document's start): running text, whatever pairs a reader could cut from it.
bool NapisyLubHtml(const QString& sciezka, QByteArrayView poczatek);

// Whether a file given to the program holds running text (for the words window) rather than word pairs (for the
// editor): subtitles or HTML (NapisyLubHtml); never a KVTML, XML, CSV or TSV file; otherwise plain text in which the
// import reader found no pairs (it refused the text for that, or for its size alone), fewer pairs than lines it
// skipped, or mostly pairs that read as sentences. An empty file, or one with NUL bytes, is left to the editor, which
// says why it takes nothing.
bool TekstCiagly(const QString& sciezka, QByteArrayView poczatek, const ParyImportu& import);

// The text of a file as UTF-8 for Slownik::SlowaZTekstu: UTF-8 (its BOM dropped), UTF-16 by its BOM, otherwise
// Windows-1250. Refused with a Polish reason (and nothing read past the check): anything but a regular file, a file
// over 200 MB, a text holding NUL bytes.
bool CzytajTekst(const QString& sciezka, std::string& utf8, QString& blad);

} // namespace vokara
