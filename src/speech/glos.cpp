// Flite with the cmu_us_slt voice, the CMU lexicon and US English text rules, brought into the process on first use.
#include "glos.h"

#include <QLibrary>
#include <QtEndian>

#include <flite/flite.h>

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

void Dopisz16(QByteArray& b, quint16 v)
{
    const quint16 le = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&le), 2);
}

void Dopisz32(QByteArray& b, quint32 v)
{
    const quint32 le = qToLittleEndian(v);
    b.append(reinterpret_cast<const char*>(&le), 4);
}

// A canonical 44-byte RIFF header for 16-bit PCM, then the samples in little-endian order.
QByteArray Wav(const cst_wave& fala)
{
    const quint32 bajtyProbek = quint32(fala.num_samples) * quint32(fala.num_channels) * 2;
    QByteArray b;
    b.reserve(int(44 + bajtyProbek));
    b.append("RIFF", 4);
    Dopisz32(b, 36 + bajtyProbek);
    b.append("WAVEfmt ", 8);
    Dopisz32(b, 16);
    Dopisz16(b, 1); // PCM
    Dopisz16(b, quint16(fala.num_channels));
    Dopisz32(b, quint32(fala.sample_rate));
    Dopisz32(b, quint32(fala.sample_rate) * quint32(fala.num_channels) * 2);
    Dopisz16(b, quint16(fala.num_channels * 2));
    Dopisz16(b, 16);
    b.append("data", 4);
    Dopisz32(b, bajtyProbek);
    const qsizetype poczatek = b.size();
    b.resize(poczatek + qsizetype(bajtyProbek));
    qToLittleEndian<qint16>(fala.samples, qsizetype(fala.num_samples) * fala.num_channels, b.data() + poczatek);
    return b;
}

} // namespace

QByteArray GlosWav(const std::string& tekst, double rozciagniecie)
{
    cst_voice* glos = Glos();
    if (!glos || tekst.empty())
        return {};
    flite_.ustawLiczbe(glos->features, "duration_stretch", float(rozciagniecie));
    cst_wave* fala = flite_.tekstNaFale(tekst.c_str(), glos);
    QByteArray wynik;
    if (fala && fala->num_samples > 0 && fala->num_channels > 0 && fala->sample_rate > 0)
        wynik = Wav(*fala);
    if (fala)
        flite_.usunFale(fala);
    return wynik;
}

bool GlosZaladowany()
{
    return glos_ != nullptr;
}

void ZwolnijGlos()
{
    if (glos_)
        flite_.wyrejestruj(glos_);
    glos_ = nullptr;
}

} // namespace vokara
