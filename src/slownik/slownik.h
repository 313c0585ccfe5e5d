// The built-in English-Polish dictionary: meanings of English and Polish words from the FreeDict dictionaries that
// Debian installs, the IPA of any English word, and the words of a running text with their first meanings.
//
// Plain C++ (no Qt). Texts in and out are UTF-8; the Windows-1250 edge of the program converts them.
//
// Sources, read in place from one folder (FolderSlownikow()):
//   freedict-eng-pol.index + .dict.dz  English -> Polish, a print dictionary with British IPA (GFDL-1.2+)
//   freedict-pol-eng.index + .dict.dz  Polish -> English, from Wiktionary (CC-BY-SA-3.0); read backwards, its English
//                                       glosses give Polish candidates for English words the first one lacks
//
// Nothing is read when a Slownik is made. The first look-up (or Wczytaj()) reads both indexes, unpacks each text once
// to build the reverse indexes and check its checksum (about 70 ms of CPU, eng-pol on a second thread); a page that
// wants its first look-up quick calls Wczytaj() on a worker thread when it is first shown. After that a look-up
// unpacks at most a chunk or two of the text, about 0.25 ms. The first IPA made by espeak-ng starts it (about 12 ms).
// Every member may be called from any thread; calls are serialised inside.
//
// A missing dictionary, or one whose files are damaged (truncated, numbers past the end, a chunk table or checksum
// that does not match, sizes past the caps, not a regular file), is unavailable for the object's life: look-ups in
// it give empty results, Komunikat() says why, and nothing is thrown. The other dictionary still answers.
//
// Typical use in the program:
//   Slownik slownik(FolderSlownikow());
//   Wynik w = slownik.SzukajAngielskie("umbrellas");   // w.Haslo "umbrella", w.Ipa "/ʌmˈbrələ/",
//                                                      // w.PierwszeZnaczenie() "parasol"
//   for (const Wynik& w : slownik.Szukaj(wpisane)) ... // whichever language the text is in
//   if (!slownik.Dostepny()) pokaz(KomunikatBrakuSlownika);
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vokara {

// The Debian packages that hold the dictionaries.
inline constexpr const char* PakietySlownika = "dict-freedict-eng-pol dict-freedict-pol-eng";
// What the dictionary's places say when neither dictionary can be read.
inline constexpr const char* KomunikatBrakuSlownika =
    "Słownik nie jest zainstalowany. Zainstaluj pakiety dict-freedict-eng-pol i dict-freedict-pol-eng.";
inline constexpr const char* DomyslnyFolderSlownikow = "/usr/share/dictd";
inline constexpr const char* ZmiennaFolderuSlownikow = "VOKARA_SLOWNIK_DIR";

// The dictionaries' folder: the environment variable VOKARA_SLOWNIK_DIR when it is set and not empty, otherwise
// /usr/share/dictd. Read once by the program and handed to Slownik, never inside it.
std::string FolderSlownikow();

// Parts of speech, as both dictionaries give them.
enum class Czesc : std::uint8_t {
    Inna,
    Rzeczownik,
    Czasownik,
    Przymiotnik,
    Przyslowek,
    Zaimek,
    Liczebnik,
    Przyimek,
    Spojnik,
    Wykrzyknik,
    Partykula,
    NazwaWlasna,
    Skrot,
    Przedrostek,
    Przyrostek,
    Wyrazenie,
    Przyslowie,
};

// The Polish abbreviation shown before a group: "rzecz.", "czas.", "przym.", "przysł.", ...; "" for Inna.
const char* SkrotCzesci(Czesc czesc);

// Where a meaning comes from.
enum class Zrodlo : std::uint8_t {
    AngielskoPolski,          // an English word's sense in eng-pol
    PolskoAngielskiOdwrotnie, // an English word found among the glosses of a Polish headword in pol-eng
    PolskoAngielski,          // a Polish word's gloss in pol-eng
    AngielskoPolskiOdwrotnie, // a Polish word found among the senses of an English headword in eng-pol
};

// One meaning: a single word or phrase in the other language, ready to go into a set.
struct Znaczenie {
    std::string Tekst;   // "budynek", "nóż", "spoon"
    std::string Dopisek; // what narrows it, without the dictionary's codes: "książek", "sb - za kimś"; for a Polish
                         // word's English gloss, the Polish definition of that sense
    std::string Forma;   // the English form the sense is for when it is not the headword itself ("minutes" for
                         // "minute" -> "protokół")
    int Zmysl = 0;       // meanings with the same number are synonyms of one sense ("budynek", "dom")
    Zrodlo Skad = Zrodlo::AngielskoPolski;
};

// The meanings of one part of speech, in the order they rank.
struct Grupa {
    Czesc Rodzaj = Czesc::Inna;
    std::vector<Znaczenie> Znaczenia;
};

// A compound, phrasal verb or idiom listed under the headword ("set up", "be housed", "for good").
struct Wyrazenie {
    std::string Haslo;
    std::string Ipa; // "/.../" when the dictionary gives it
    Czesc Rodzaj = Czesc::Wyrazenie;
    std::vector<Znaczenie> Znaczenia;
};

enum class Jezyk : std::uint8_t { Angielski, Polski };

// What a look-up found. Empty Grupy means nothing was found.
struct Wynik {
    Jezyk JezykHasla = Jezyk::Angielski;
    std::string Haslo;          // the headword found, as the dictionary writes it ("knife" for "knives")
    std::string Ipa;            // an English headword's IPA, "/ʌmˈbrələ/"; empty for Polish
    bool IpaZeSlownika = false; // from eng-pol; otherwise made by espeak-ng
    std::vector<Grupa> Grupy;   // by part of speech; the first group holds the best meaning
    std::vector<Wyrazenie> Wyrazenia;

    bool Pusty() const { return Grupy.empty(); }
    // The distinct meaning texts in rank order (group by group), at most `ile`.
    std::vector<std::string> Znaczenia(std::size_t ile = 1000) const;
    // The best meaning, "" when none: what the editor fills in and what a word list shows.
    std::string PierwszeZnaczenie() const;
};

// One word of a text.
struct SlowoTekstu {
    std::string Haslo;     // the headword the word folds to ("run" for "running")
    std::string Znaczenie; // its first meaning; "" for a word without a dictionary entry
    int Ile = 0;           // occurrences in the text
};

struct SlowaTekstu {
    bool Ok = false;
    std::string Blad;                  // why the text was refused (Polish, for a message box)
    std::vector<SlowoTekstu> Slowa;    // words with a meaning, most frequent first (then in order of appearance)
    std::vector<SlowoTekstu> BezHasla; // words no dictionary knows, in the same order
    std::size_t WszystkichSlow = 0;    // words read in the text, every occurrence counted
    std::size_t Znanych = 0;           // distinct headwords left out because the learner knows them
};

// A text longer than this is refused by SlowaZTekstu.
inline constexpr std::size_t NajwiekszyTekstDoSlow = 200u * 1024u * 1024u;

class Slownik {
public:
    // `folder` holds the dictionaries' files; nothing is read yet.
    explicit Slownik(std::string folder);
    ~Slownik();
    Slownik(const Slownik&) = delete;
    Slownik& operator=(const Slownik&) = delete;

    // Reads the indexes and builds the reverse ones, once; later calls return at once. A page may call it on a
    // worker thread when it is first shown, so the first look-up is quick. True when at least one dictionary can be
    // used.
    bool Wczytaj();
    // Whether the dictionaries have been read or are being read; it never reads them (nor waits for a reading), so
    // the program can check that its start left them alone.
    bool Czytany() const;
    bool Dostepny();        // either dictionary (reads them first)
    bool AngielskoPolski(); // eng-pol can be used
    bool PolskoAngielski(); // pol-eng can be used

    // Why a dictionary cannot be used, in Polish: KomunikatBrakuSlownika when neither is installed, a sentence
    // naming the damaged file otherwise; "" when both work. Unchanged for the object's life once set.
    std::string Komunikat();
    // The same text, but only once per problem: "" on every later call, so a message box is shown once.
    std::string NowyKomunikat();

    // English -> Polish: eng-pol's senses first, then the Polish headwords of pol-eng that give the word as a gloss,
    // ranked (a gloss that is the word alone before one of several, both dictionaries agreeing, earlier senses,
    // shorter and more common Polish words). Case is folded; an inflected form ("knives", "tried", "running")
    // finds its headword.
    Wynik SzukajAngielskie(std::string_view slowo);
    // Polish -> English: pol-eng's glosses, those eng-pol agrees with first, then English headwords of eng-pol that
    // list the word as a meaning.
    Wynik SzukajPolskie(std::string_view slowo);
    // Whatever the text is: a text with Polish letters is looked up as Polish only; otherwise English first, then
    // Polish. Only results that found something are returned.
    std::vector<Wynik> Szukaj(std::string_view tekst);

    // The headword an English word folds to ("knife" for "Knives"); "" when neither dictionary knows it.
    std::string HasloAngielskie(std::string_view slowo);

    // IPA of an English word or phrase in eng-pol's style, "/ˈʌmbrələ/": eng-pol's own where it has the word, else
    // espeak-ng's British voice rewritten to that style; a phrase gets the IPA of its words joined by blanks. "" when
    // neither gives one.
    std::string Ipa(std::string_view angielskie);

    // The distinct English words of a text (plain prose, .srt/.vtt subtitles, simple HTML), folded to headwords,
    // counted, with their first meanings. Left out: numbers, names (capitalised inside a sentence and never written
    // small), the commonest function words, and words `znane` says the learner knows (it gets the headword).
    // Words without a dictionary entry come apart in BezHasla. Texts over NajwiekszyTekstDoSlow or holding a NUL byte
    // are refused with a Polish reason.
    SlowaTekstu SlowaZTekstu(std::string_view tekst, const std::function<bool(const std::string&)>& znane = {});

    // Bytes held by the loaded indexes and caches (for the benchmark).
    std::size_t Pamiec();

    struct Dane; // the loaded state, in slownik.cpp

private:
    std::unique_ptr<Dane> d_;
};

} // namespace vokara
