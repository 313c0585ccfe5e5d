// dictd's files read in place: the index (headword, offset, length in dictd's base64) and the text, as dictzip
// (gzip whose chunks are compressed one by one and listed in the "RA" extra field), as plain gzip or uncompressed.
// Every file is hostile until read: sizes are capped, every number is checked, and damage gives false and a reason.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct z_stream_s;

namespace vokara::slownik {

// Bounds no real dictionary comes near (the largest index installed is 0.7 MB, the largest text 5.6 MB, the longest
// entry 5 kB); beyond them a file is taken as damaged rather than read.
inline constexpr std::uint64_t NajwiekszyIndeks = 32u << 20;
inline constexpr std::uint64_t NajwiekszyPlikTekstu = 256u << 20;
inline constexpr std::uint64_t NajwiekszyTekst = 512u << 20;   // uncompressed, as a dictzip file claims it
inline constexpr std::uint64_t NajwiekszyCalyGzip = 64u << 20; // a gzip file without chunks is unpacked whole
inline constexpr std::uint32_t NajdluzszyWpis = 1u << 20;
inline constexpr std::size_t NajdluzszyKlucz = 255;

// A number in dictd's base64 (digits A-Z a-z 0-9 + /, most significant first). False for an empty text, another
// character, or a value past 2^32 - 1.
bool LiczbaDictd(std::string_view tekst, std::uint32_t& wartosc);

struct PozycjaIndeksu {
    std::uint32_t Klucz = 0; // where the headword starts in the index text
    std::uint32_t Od = 0;    // the entry in the uncompressed text
    std::uint32_t Dlugosc = 0;
    std::uint16_t DlugoscKlucza = 0;
};

// An index file, sorted by headword for look-ups. Headwords stay in the file's own bytes, so both indexes together
// cost about what their files weigh.
class Indeks {
public:
    // Takes the file's bytes. Lines are "headword TAB offset TAB length" (a fourth field is allowed and ignored);
    // empty lines, the "00database..." lines of dictfmt's own header, entries of length 0 and entries
    // with an empty headword (pol-eng lists ";" and quotation marks, whose key is empty) are skipped. Any
    // other line that does not parse makes the whole index damaged: false, with the line's number in `blad`.
    bool Wczytaj(std::string bajty, std::string& blad);

    std::string_view Klucz(const PozycjaIndeksu& p) const { return {tekst_.data() + p.Klucz, p.DlugoscKlucza}; }
    // Every entry of a key, in the file's order.
    std::pair<const PozycjaIndeksu*, const PozycjaIndeksu*> Znajdz(std::string_view klucz) const;
    bool Jest(std::string_view klucz) const;
    const std::vector<PozycjaIndeksu>& Pozycje() const { return pozycje_; }
    // The end of the farthest entry, to be checked against the text's size.
    std::uint64_t Koniec() const { return koniec_; }
    std::size_t Pamiec() const { return tekst_.capacity() + pozycje_.capacity() * sizeof(PozycjaIndeksu); }

private:
    std::string tekst_;
    std::vector<PozycjaIndeksu> pozycje_;
    std::uint64_t koniec_ = 0;
};

// Where the bytes of a dictionary's text come from: a file on disk, or memory (the fuzzer).
class ZrodloBajtow {
public:
    virtual ~ZrodloBajtow() = default;
    virtual std::uint64_t Rozmiar() const = 0;
    // Exactly `ile` bytes from `od`, or false.
    virtual bool Czytaj(std::uint64_t od, std::size_t ile, char* dokad) = 0;
};

class ZrodloPamieci : public ZrodloBajtow {
public:
    explicit ZrodloPamieci(std::string_view bajty) : bajty_(bajty) {}
    std::uint64_t Rozmiar() const override { return bajty_.size(); }
    bool Czytaj(std::uint64_t od, std::size_t ile, char* dokad) override;

private:
    std::string_view bajty_;
};

// A regular file only: a named pipe or a device would block or never end, so it is refused before it is read.
std::unique_ptr<ZrodloBajtow> OtworzPlik(const std::string& sciezka, std::string& blad);

// Reads the whole of a regular file of at most `najwiecej` bytes.
bool WczytajPlik(const std::string& sciezka, std::uint64_t najwiecej, std::string& bajty, std::string& blad);

// The text of a dictionary, read one range at a time. A dictzip file is read a chunk at a time with raw inflate (a
// few recent chunks are kept, so neighbouring look-ups and a pass over the whole text unpack each chunk once).
class TekstSlownika {
public:
    TekstSlownika();
    ~TekstSlownika();
    TekstSlownika(const TekstSlownika&) = delete;
    TekstSlownika& operator=(const TekstSlownika&) = delete;

    // Reads the header (and for gzip without chunks the whole text). False with the reason when the bytes are not a
    // dictionary text this reader trusts.
    bool Otworz(std::unique_ptr<ZrodloBajtow> zrodlo, std::string& blad);

    // The uncompressed size.
    std::uint64_t Rozmiar() const { return rozmiar_; }
    bool Pokawalkowany() const { return rodzaj_ == Rodzaj::Dictzip; }

    // The range as bytes. False with the reason when the range lies past the end or a chunk does not unpack to
    // the size the header promised.
    bool Czytaj(std::uint64_t od, std::uint32_t dlugosc, std::string& wynik, std::string& blad);

    // The same, as a view: into the chunk kept in memory when the range lies in one chunk (a pass over the whole
    // text copies nothing then), else into `bufor`. Valid until the next call.
    bool Widok(std::uint64_t od, std::uint32_t dlugosc, std::string_view& wynik, std::string& bufor, std::string& blad);

    // After a pass over the whole text: every chunk unpacked (those the pass skipped are unpacked now) and the text's
    // CRC-32 compared with the one the gzip trailer gives, so a chunk damaged into other text of the right length is
    // found too. True for the other kinds (a plain file has no sum, zlib checks a whole gzip itself).
    bool SprawdzSume(std::string& blad);

    std::size_t Pamiec() const;

private:
    enum class Rodzaj { Brak, Zwykly, Dictzip, CalyGzip };
    struct Kawalek {
        std::uint32_t Numer = 0;
        std::string Bajty;
    };

    bool CzytajNaglowekGzip(std::string& blad);
    bool RozpakujCaly(std::string& blad);
    const std::string* KawalekNr(std::uint32_t numer, std::string& blad);

    Rodzaj rodzaj_ = Rodzaj::Brak;
    std::unique_ptr<ZrodloBajtow> zrodlo_;
    std::uint64_t rozmiar_ = 0;
    // dictzip: the chunk length and where each chunk starts in the file (one more entry marks the end).
    std::uint32_t dlugoscKawalka_ = 0;
    std::vector<std::uint64_t> poczatki_;
    std::vector<Kawalek> ostatnie_; // most recent last
    std::uint32_t zsumowanych_ = 0; // chunks 0.. taken into suma_, in order
    unsigned long suma_ = 0;
    std::uint32_t sumaPliku_ = 0;
    std::string spakowany_;
    z_stream_s* strumien_ = nullptr;
    std::string caly_; // gzip without chunks
};

} // namespace vokara::slownik
