// Flite with the cmu_us_slt voice, the CMU lexicon and US English text rules, linked in as libraries.
#include "glos.h"

#include <QtEndian>

#include <flite/flite.h>

#include <cstring>

extern "C" cst_voice* register_cmu_us_slt(const char* katalog);

namespace vokara {

namespace {

cst_voice* glos_ = nullptr;

cst_voice* Glos()
{
    // About 9 MiB of voice data and lexicon: made ready only when the program first has to speak.
    if (!glos_) {
        flite_init();
        glos_ = register_cmu_us_slt(nullptr);
    }
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
    feat_set_float(glos->features, "duration_stretch", float(rozciagniecie));
    cst_wave* fala = flite_text_to_wave(tekst.c_str(), glos);
    QByteArray wynik;
    if (fala && fala->num_samples > 0 && fala->num_channels > 0 && fala->sample_rate > 0)
        wynik = Wav(*fala);
    delete_wave(fala);
    return wynik;
}

bool GlosZaladowany()
{
    return glos_ != nullptr;
}

} // namespace vokara
