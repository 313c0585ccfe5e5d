// Conversions between QString and Windows-1250 bytes through the program's one code page table.
#include "tekst.h"

#include "kodowanie.h"

namespace vokara {

QString ZCp1250(QByteArrayView bajty)
{
    QString wynik;
    wynik.reserve(bajty.size());
    for (const char b : bajty)
        wynik += QChar(char16_t(ZnakCp1250(static_cast<unsigned char>(b))));
    return wynik;
}

std::optional<std::string> DoCp1250(const QString& tekst)
{
    std::string wynik;
    wynik.reserve(std::size_t(tekst.size()));
    for (QChar z : tekst) {
        // A surrogate half never maps, so characters beyond the Basic Multilingual Plane fail here too.
        const int b = BajtCp1250(char32_t(z.unicode()));
        if (b < 0)
            return std::nullopt;
        wynik += static_cast<char>(b);
    }
    return wynik;
}

} // namespace vokara
