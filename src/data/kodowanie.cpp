// Windows-1250 code page table and the conversions built on it.
#include "kodowanie.h"

#include <array>
#include <utility>

namespace vokara {

namespace {

// Upper half of the code page, 0x80..0xFF; the lower half is ASCII.
constexpr std::array<char16_t, 128> gornaPolowa = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void DopiszUtf8(std::string& wynik, char32_t znak)
{
    if (znak < 0x80) {
        wynik += static_cast<char>(znak);
    } else if (znak < 0x800) {
        wynik += static_cast<char>(0xC0 | (znak >> 6));
        wynik += static_cast<char>(0x80 | (znak & 0x3F));
    } else {
        // The table holds nothing beyond the Basic Multilingual Plane.
        wynik += static_cast<char>(0xE0 | (znak >> 12));
        wynik += static_cast<char>(0x80 | ((znak >> 6) & 0x3F));
        wynik += static_cast<char>(0x80 | (znak & 0x3F));
    }
}

} // namespace

char32_t ZnakCp1250(unsigned char bajt)
{
    return bajt < 0x80 ? char32_t(bajt) : char32_t(gornaPolowa[bajt - 0x80]);
}

int BajtCp1250(char32_t znak)
{
    if (znak < 0x80)
        return int(znak);
    if (znak == 0xFFFD)
        return -1; // stands for the undefined bytes, so it has no byte of its own
    for (std::size_t i = 0; i < gornaPolowa.size(); ++i) {
        if (gornaPolowa[i] == znak)
            return int(0x80 + i);
    }
    return -1;
}

std::string Cp1250NaUtf8(const std::string& bajty)
{
    std::string wynik;
    wynik.reserve(bajty.size() * 2);
    for (unsigned char b : bajty)
        DopiszUtf8(wynik, ZnakCp1250(b));
    return wynik;
}

bool Utf8NaCp1250(const std::string& utf8, std::string& wynik)
{
    wynik.clear();
    wynik.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t znak = 0;
        int dalsze = 0;
        if (b < 0x80) {
            znak = b;
        } else if ((b & 0xE0) == 0xC0) {
            znak = b & 0x1F;
            dalsze = 1;
        } else if ((b & 0xF0) == 0xE0) {
            znak = b & 0x0F;
            dalsze = 2;
        } else if ((b & 0xF8) == 0xF0) {
            znak = b & 0x07;
            dalsze = 3;
        } else {
            return false;
        }
        if (i + dalsze >= utf8.size() && dalsze > 0)
            return false; // a sequence cut off at the end
        for (int k = 1; k <= dalsze; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            znak = (znak << 6) | (c & 0x3F);
        }
        constexpr char32_t najmniejszy[] = {0, 0x80, 0x800, 0x10000};
        if (znak < najmniejszy[dalsze])
            return false; // an over-long form could smuggle in a byte such as NUL
        const int bajt = BajtCp1250(znak);
        if (bajt < 0)
            return false;
        wynik += static_cast<char>(bajt);
        i += dalsze + 1;
    }
    return true;
}

std::string MaleLitery(std::string tekst)
{
    for (char& c : tekst) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return tekst;
}

std::string MaleLiteryPolskie(std::string tekst)
{
    // Windows-1250 bytes of the nine Polish capitals and of their small letters, in the same order.
    static constexpr unsigned char wielkie[] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
    static constexpr unsigned char male[] = {0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
    tekst = MaleLitery(std::move(tekst));
    for (char& c : tekst) {
        for (std::size_t i = 0; i < sizeof wielkie; ++i) {
            if (static_cast<unsigned char>(c) == wielkie[i]) {
                c = static_cast<char>(male[i]);
                break;
            }
        }
    }
    return tekst;
}

} // namespace vokara
