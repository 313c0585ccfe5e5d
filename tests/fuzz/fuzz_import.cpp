// libFuzzer target for the import reader: arbitrary bytes read as a text file and as a KVTML file, and as a file
// name shown in a message, with what every import must keep to.
#include "import.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

bool Zwykly(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x20 && u != 0x7F && u != 0x2028 && u != 0x2029 && u != 0x85;
}

bool Kierunkowy(char16_t u)
{
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F || u == 0x061C;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar)
{
    const QByteArray bajty = QByteArray::fromRawData(reinterpret_cast<const char*>(dane), qsizetype(rozmiar));
    for (const QString& nazwa : {QString(), QStringLiteral("z.kvtml")}) {
        const vokara::WynikImportu w = vokara::ImportujBajty(bajty, nazwa);
        if (w.Ok == !w.Blad.isEmpty() || (w.Ok && w.Pary.isEmpty()) || w.Pary.size() > vokara::NajwiecejPar)
            std::abort();
        for (const vokara::Para& p : w.Pary) {
            for (const QString* pole : {&p.Angielski, &p.Polski}) {
                if (pole->isEmpty() || pole->size() > vokara::NajdluzszePoleImportu || *pole != pole->trimmed() ||
                    !std::all_of(pole->cbegin(), pole->cend(), Zwykly))
                    std::abort();
            }
        }
    }
    const QString widac = vokara::NazwaDoKomunikatu(QString::fromUtf8(bajty.left(512)));
    for (const QChar c : widac) {
        if (Kierunkowy(c.unicode()) || c.category() == QChar::Other_Format || c.category() == QChar::Other_Control)
            std::abort();
    }
    return 0;
}
