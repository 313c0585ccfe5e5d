// UTF-8 decoding, case folding and dictd's look-up key.
#include "utf8.h"

namespace vokara::slownik {

char32_t NastepnyZnak(std::string_view tekst, std::size_t& i)
{
    const auto b = static_cast<unsigned char>(tekst[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    int dalej = 0;
    char32_t znak = 0;
    char32_t najmniejszy = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        dalej = 1;
        znak = b & 0x1F;
        najmniejszy = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        dalej = 2;
        znak = b & 0x0F;
        najmniejszy = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        dalej = 3;
        znak = b & 0x07;
        najmniejszy = 0x10000;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + std::size_t(dalej) >= tekst.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= dalej; ++k) {
        const auto c = static_cast<unsigned char>(tekst[i + std::size_t(k)]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        znak = (znak << 6) | (c & 0x3F);
    }
    if (znak < najmniejszy || znak > 0x10FFFF || (znak >= 0xD800 && znak <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += std::size_t(dalej) + 1;
    return znak;
}

void DopiszZnak(std::string& tekst, char32_t znak)
{
    if (znak < 0x80) {
        tekst += static_cast<char>(znak);
    } else if (znak < 0x800) {
        tekst += static_cast<char>(0xC0 | (znak >> 6));
        tekst += static_cast<char>(0x80 | (znak & 0x3F));
    } else if (znak < 0x10000) {
        tekst += static_cast<char>(0xE0 | (znak >> 12));
        tekst += static_cast<char>(0x80 | ((znak >> 6) & 0x3F));
        tekst += static_cast<char>(0x80 | (znak & 0x3F));
    } else {
        tekst += static_cast<char>(0xF0 | (znak >> 18));
        tekst += static_cast<char>(0x80 | ((znak >> 12) & 0x3F));
        tekst += static_cast<char>(0x80 | ((znak >> 6) & 0x3F));
        tekst += static_cast<char>(0x80 | (znak & 0x3F));
    }
}

char32_t MalaLitera(char32_t z)
{
    if (z < 0x80)
        return (z >= 'A' && z <= 'Z') ? z + 32 : z;
    if (z >= 0xC0 && z <= 0xDE && z != 0xD7)
        return z + 32;
    if (z < 0x100)
        return z;
    if (z == 0x130)
        return 'i';
    if ((z >= 0x100 && z <= 0x137) || (z >= 0x14A && z <= 0x177))
        return (z % 2 == 0) ? z + 1 : z;
    if ((z >= 0x139 && z <= 0x148) || (z >= 0x179 && z <= 0x17E))
        return (z % 2 == 1) ? z + 1 : z;
    if (z == 0x178)
        return 0xFF;
    if (z >= 0x391 && z <= 0x3A9 && z != 0x3A2)
        return z + 32;
    if (z >= 0x410 && z <= 0x42F)
        return z + 32;
    if (z >= 0x400 && z <= 0x40F)
        return z + 80;
    return z;
}

bool Litera(char32_t z)
{
    if (z < 0x80)
        return (z >= 'a' && z <= 'z') || (z >= 'A' && z <= 'Z');
    return (z >= 0xC0 && z <= 0x24F && z != 0xD7 && z != 0xF7) || (z >= 0x370 && z <= 0x3FF) ||
           (z >= 0x400 && z <= 0x4FF) || (z >= 0x1E00 && z <= 0x1EFF);
}

std::string Zlozone(std::string_view tekst)
{
    std::string wynik;
    wynik.reserve(tekst.size());
    for (std::size_t i = 0; i < tekst.size();) {
        const auto b = static_cast<unsigned char>(tekst[i]);
        if (b < 0x80) { // the common case without decoding
            wynik += (b >= 'A' && b <= 'Z') ? char(b + 32) : char(b);
            ++i;
            continue;
        }
        DopiszZnak(wynik, MalaLitera(NastepnyZnak(tekst, i)));
    }
    return wynik;
}

void KluczHasla(std::string_view tekst, std::string& wynik)
{
    wynik.clear();
    bool odstep = false;
    for (std::size_t i = 0; i < tekst.size();) {
        char32_t z = static_cast<unsigned char>(tekst[i]);
        if (z < 0x80) {
            ++i;
            if (z >= 'A' && z <= 'Z')
                z += 32;
        } else {
            z = MalaLitera(NastepnyZnak(tekst, i));
        }
        if (z == ' ' || z == '\t' || z == '\n' || z == '\r' || z == 0xA0) {
            odstep = !wynik.empty();
            continue;
        }
        if (z < 0x80 ? !((z >= 'a' && z <= 'z') || (z >= '0' && z <= '9')) : !Litera(z))
            continue;
        if (odstep)
            wynik += ' ';
        odstep = false;
        if (z < 0x80)
            wynik += char(z);
        else
            DopiszZnak(wynik, z);
    }
}

std::string KluczHasla(std::string_view tekst)
{
    std::string wynik;
    KluczHasla(tekst, wynik);
    return wynik;
}

std::string PoprawneUtf8(std::string_view tekst)
{
    std::string wynik;
    wynik.reserve(tekst.size());
    for (std::size_t i = 0; i < tekst.size();) {
        const char32_t z = NastepnyZnak(tekst, i);
        if ((z < 0x20 && z != '\t' && z != '\n' && z != '\r') || z == 0x7F)
            continue;
        DopiszZnak(wynik, z);
    }
    return wynik;
}

std::size_t LiczbaZnakow(std::string_view tekst)
{
    std::size_t ile = 0;
    for (unsigned char b : tekst)
        ile += (b & 0xC0) != 0x80;
    return ile;
}

} // namespace vokara::slownik
