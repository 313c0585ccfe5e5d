// Flite with the cmu_us_slt voice, the CMU lexicon and US English text rules, brought into the process on first use.
#include "glos.h"

#include <QLibrary>
#include <QString>
#include <QThread>

#include <flite/flite.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace vokara {

namespace {

// The voice's libraries come with half a megabyte of tables that the loader relocates as soon as they are mapped, so
// they are loaded (not linked) when the program first has to speak: start-up and idle memory stay as they were.
struct Flite {
    int (*init)() = nullptr;
    cst_voice* (*zarejestruj)(const char*) = nullptr;
    void (*wyrejestruj)(cst_voice*) = nullptr;
    cst_wave* (*tekstNaFale)(const char*, cst_voice*) = nullptr;
    void (*ustawLiczbe)(cst_features*, const char*, float) = nullptr;
    void (*usunFale)(cst_wave*) = nullptr;
};

Flite flite_;
cst_voice* glos_ = nullptr;
std::mutex flitePrzez_; // Flite keeps its state in the voice: one text at a time
std::atomic<QThread*> watekGlosu_{nullptr};

// Characters of a text looked at: more than the voice ever says, with room for invisible ones.
constexpr qsizetype NajwiecejCzytanych = 4096;

// Letters that do not decompose into a base letter and a mark, and typographic marks with a plain ASCII form.
const char* Zastepstwo(char32_t z)
{
    switch (z) {
    case U'ł':
        return "l";
    case U'Ł':
        return "L";
    case U'ß':
        return "ss";
    case U'æ':
        return "ae";
    case U'Æ':
        return "AE";
    case U'œ':
        return "oe";
    case U'Œ':
        return "OE";
    case U'ø':
        return "o";
    case U'Ø':
        return "O";
    case U'đ':
    case U'ð':
        return "d";
    case U'Đ':
    case U'Ð':
        return "D";
    case U'ı':
        return "i";
    case U'þ':
        return "th";
    case U'Þ':
        return "Th";
    case U'ħ':
        return "h";
    case U'‘':
    case U'’':
    case U'‚':
    case U'‛':
    case U'′':
    case U'ʼ':
        return "'";
    case U'“':
    case U'”':
    case U'„':
    case U'″':
        return "\"";
    case U'‐':
    case U'‑':
    case U'‒':
    case U'–':
    case U'—':
    case U'―':
    case U'−':
        return "-";
    default:
        return nullptr;
    }
}

// The text in printable ASCII: compatibility forms decomposed (ligatures, full-width letters, superscripts), marks
// and invisible characters dropped, everything else the voice has no sound for (controls, separators, other
// scripts, pictographs, U+FFFD of broken UTF-8) a blank.
std::string DoAscii(const std::string& utf8)
{
    QString tekst =
        QString::fromUtf8(utf8.data(), qsizetype(std::min<std::size_t>(utf8.size(), 4 * NajwiecejCzytanych)));
    tekst.truncate(NajwiecejCzytanych);
    std::string wynik;
    for (const char32_t z : tekst.normalized(QString::NormalizationForm_KD).toUcs4()) {
        if (z < 0x80) {
            wynik += (z < 0x20 || z == 0x7F) ? ' ' : char(z);
        } else if (const char* zamiennik = Zastepstwo(z)) {
            wynik += zamiennik;
        } else {
            switch (QChar::category(z)) {
            case QChar::Mark_NonSpacing:
            case QChar::Mark_SpacingCombining:
            case QChar::Mark_Enclosing:
            case QChar::Other_Format: // zero-width characters, bidi controls, the soft hyphen, the byte order mark
                break;
            default:
                wynik += ' ';
            }
        }
    }
    return wynik;
}

bool Alfanumeryczny(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool ZaladujBiblioteke()
{
    if (flite_.init)
        return true;
    // The voice library names the lexicon, text rules and engine it needs; the loader brings them along.
    static QLibrary biblioteka;
    for (const char* nazwa : {VOKARA_FLITE_GLOS, "libflite_cmu_us_slt.so.1"}) {
        biblioteka.setFileName(QString::fromUtf8(nazwa));
        if (biblioteka.load())
            break;
    }
    if (!biblioteka.isLoaded())
        return false;
    Flite f;
    f.init = reinterpret_cast<int (*)()>(biblioteka.resolve("flite_init"));
    f.zarejestruj = reinterpret_cast<cst_voice* (*)(const char*)>(biblioteka.resolve("register_cmu_us_slt"));
    f.wyrejestruj = reinterpret_cast<void (*)(cst_voice*)>(biblioteka.resolve("unregister_cmu_us_slt"));
    f.tekstNaFale = reinterpret_cast<cst_wave* (*)(const char*, cst_voice*)>(biblioteka.resolve("flite_text_to_wave"));
    f.ustawLiczbe = reinterpret_cast<void (*)(cst_features*, const char*, float)>(biblioteka.resolve("feat_set_float"));
    f.usunFale = reinterpret_cast<void (*)(cst_wave*)>(biblioteka.resolve("delete_wave"));
    if (!f.init || !f.zarejestruj || !f.wyrejestruj || !f.tekstNaFale || !f.ustawLiczbe || !f.usunFale)
        return false;
    flite_ = f;
    flite_.init();
    return true;
}

cst_voice* Glos()
{
    // About 9 MiB of voice data and lexicon: made ready only when the program first has to speak.
    if (!glos_ && ZaladujBiblioteke())
        glos_ = flite_.zarejestruj(nullptr);
    return glos_;
}

} // namespace

std::string TekstDlaGlosu(const std::string& utf8)
{
    const std::string ascii = DoAscii(utf8);
    std::string wynik;
    bool poprzednieBezLiter = false; // the last word kept is punctuation only
    std::size_t i = 0;
    while (i < ascii.size()) {
        const std::size_t koniec = std::min(ascii.find(' ', i), ascii.size());
        // One word: punctuation in a row and digits bounded, counted over what is kept.
        std::string slowo;
        int wRzedzie = 0, cyfry = 0;
        bool litery = false;
        for (std::size_t j = i; j < koniec; ++j) {
            const char c = ascii[j];
            if (!Alfanumeryczny(c)) {
                if (wRzedzie == NajwiecejZnakowWRzedzie)
                    continue;
                ++wRzedzie;
            } else if (c >= '0' && c <= '9' && cyfry == NajwiecejCyfrWSlowie) {
                continue;
            } else {
                cyfry += c >= '0' && c <= '9';
                wRzedzie = 0;
                litery = true;
            }
            slowo += c;
        }
        i = koniec + 1;
        // Words of punctuation alone in a row are one.
        if (slowo.empty() || (!litery && poprzednieBezLiter))
            continue;
        poprzednieBezLiter = !litery;
        if (!wynik.empty())
            wynik += ' ';
        wynik += slowo;
    }
    if (wynik.size() > NajdluzszyTekstGlosu) {
        const std::size_t odstep = wynik.rfind(' ', NajdluzszyTekstGlosu);
        wynik.resize(odstep != std::string::npos ? odstep : NajdluzszyTekstGlosu);
    }
    return wynik;
}

Probki GlosProbki(const std::string& tekst, double rozciagniecie, int& czestotliwosc)
{
    const std::string czysty = TekstDlaGlosu(tekst);
    if (czysty.empty())
        return {};
    const std::lock_guard<std::mutex> blokada(flitePrzez_);
    cst_voice* glos = Glos();
    if (!glos)
        return {};
    watekGlosu_.store(QThread::currentThread());
    // Flite draws the noise of breath and unvoiced sounds from rand(): seeded afresh, a text always sounds the same.
    std::srand(1);
    flite_.ustawLiczbe(glos->features, "duration_stretch", float(rozciagniecie));
    cst_wave* fala = flite_.tekstNaFale(czysty.c_str(), glos);
    Probki wynik;
    if (fala && fala->num_samples > 0 && fala->num_channels == 1 && fala->sample_rate > 0) {
        wynik.assign(fala->samples, fala->samples + fala->num_samples);
        czestotliwosc = fala->sample_rate;
    }
    if (fala)
        flite_.usunFale(fala);
    return wynik;
}

bool GlosZaladowany()
{
    const std::lock_guard<std::mutex> blokada(flitePrzez_);
    return glos_ != nullptr;
}

QThread* WatekGlosu()
{
    return watekGlosu_.load();
}

void ZwolnijGlos()
{
    const std::lock_guard<std::mutex> blokada(flitePrzez_);
    if (glos_)
        flite_.wyrejestruj(glos_);
    glos_ = nullptr;
}

} // namespace vokara
