// Telling running text from word lists by a file's name, its first bytes and what the import reader found in it, and
// reading a text of up to 200 MB as UTF-8.
#include "tekstpliku.h"

#include "kodowanie.h"
#include "slownik.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vokara {

namespace {

constexpr qsizetype DlugoscPoczatku = 64 * 1024;
// The patterns are looked for in the first few kilobytes only.
constexpr qsizetype DlugoscProbki = 4096;
// More words than this on a side of a pair is a piece of a sentence, not a word or a phrase to learn.
constexpr int NajwiecejSlowPary = 6;

QString Rozszerzenie(const QString& sciezka)
{
    return QFileInfo(sciezka).suffix().toLower();
}

// The start of a text as ASCII for the patterns, a UTF-8 byte order mark left out.
QByteArray Probka(QByteArrayView poczatek)
{
    if (poczatek.startsWith("\xEF\xBB\xBF"))
        poczatek = poczatek.sliced(3);
    return poczatek.first(std::min(poczatek.size(), DlugoscProbki)).toByteArray();
}

int Slowa(QStringView tekst)
{
    int slowa = 0;
    bool wSlowie = false;
    for (const QChar c : tekst) {
        const bool bialy = c.isSpace();
        slowa += !bialy && !wSlowie ? 1 : 0;
        wSlowie = !bialy;
    }
    return slowa;
}

// A file name as a message shows it: control and format characters (the direction overrides among them) as U+FFFD.
QString NazwaWKomunikacie(const QString& sciezka)
{
    QString nazwa = QFileInfo(sciezka).fileName();
    for (QChar& c : nazwa) {
        const auto kategoria = c.category();
        if (kategoria == QChar::Other_Control || kategoria == QChar::Other_Format)
            c = QChar(0xFFFD);
    }
    return nazwa;
}

bool PoprawneUtf8(const char* p, std::size_t n)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII, eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t osiem;
            std::memcpy(&osiem, b + i, 8);
            if (osiem & 0x8080808080808080ull)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int dalej;
        char32_t znak;
        if (c >= 0xC2 && c <= 0xDF) {
            dalej = 1;
            znak = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            dalej = 2;
            znak = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            dalej = 3;
            znak = c & 0x07;
        } else {
            return false;
        }
        if (i + std::size_t(dalej) >= n)
            return false; // cut short at the end
        for (int k = 1; k <= dalej; ++k) {
            if ((b[i + std::size_t(k)] & 0xC0) != 0x80)
                return false;
            znak = (znak << 6) | (b[i + std::size_t(k)] & 0x3F);
        }
        // Overlong forms, surrogates and characters past U+10FFFF are not UTF-8.
        if ((dalej == 2 && znak < 0x800) || (dalej == 3 && znak < 0x10000) || znak > 0x10FFFF ||
            (znak >= 0xD800 && znak <= 0xDFFF))
            return false;
        i += std::size_t(dalej) + 1;
    }
    return true;
}

} // namespace

bool ZdaniowaPara(QStringView angielski, QStringView polski)
{
    return Slowa(angielski) > NajwiecejSlowPary || Slowa(polski) > NajwiecejSlowPary;
}

QByteArray PoczatekPliku(const QString& sciezka)
{
    const int deskryptor = ::open(QFile::encodeName(sciezka).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (deskryptor < 0)
        return {};
    QByteArray bajty;
    struct stat stan {};
    if (::fstat(deskryptor, &stan) == 0 && S_ISREG(stan.st_mode)) {
        bajty.resize(DlugoscPoczatku);
        const ssize_t ile = ::read(deskryptor, bajty.data(), std::size_t(bajty.size()));
        bajty.resize(ile > 0 ? qsizetype(ile) : 0);
    }
    ::close(deskryptor);
    return bajty;
}

bool NapisyLubHtml(const QString& sciezka, QByteArrayView poczatek)
{
    static const QStringList rozszerzenia{"srt", "vtt", "htm", "html", "xhtml"};
    if (rozszerzenia.contains(Rozszerzenie(sciezka)))
        return true;
    const QByteArray probka = Probka(poczatek);
    if (probka.startsWith("WEBVTT"))
        return true;
    // "00:01:02,500 --> 00:01:04,000", as .srt and .vtt time their lines.
    static const QRegularExpression czas(QStringLiteral("\\d\\d:\\d\\d[,.]\\d{3}\\s*-->"));
    const QString tekst = QString::fromLatin1(probka);
    if (czas.match(tekst).hasMatch())
        return true;
    const QString malymi = tekst.trimmed().toLower();
    return malymi.startsWith(QLatin1String("<!doctype html")) || malymi.startsWith(QLatin1String("<html")) ||
           malymi.contains(QLatin1String("<body"));
}

bool TekstCiagly(const QString& sciezka, QByteArrayView poczatek, const ParyImportu& import)
{
    if (NapisyLubHtml(sciezka, poczatek))
        return true;
    static const QStringList listy{"kvtml", "xml", "csv", "tsv"};
    if (listy.contains(Rozszerzenie(sciezka)) || Probka(poczatek).trimmed().startsWith("<?xml"))
        return false;
    // A refused file is text when the refusal was for its size, or for finding no pairs in what is text; an empty
    // file, or one with NUL bytes, goes to the editor, which says why it takes nothing.
    if (!import.Odczytany)
        return import.ZaDuzy || (!Probka(poczatek).trimmed().isEmpty() && !poczatek.contains('\0'));
    return import.Pominiete > import.Pary || 2 * import.Zdaniowe > import.Pary;
}

bool CzytajTekst(const QString& sciezka, std::string& utf8, QString& blad)
{
    utf8.clear();
    const QString nazwa = NazwaWKomunikacie(sciezka);
    // Only a regular file is read, checked on the file as opened; the opening does not wait, so a pipe put in its
    // place cannot keep the window waiting for a writer.
    const int deskryptor = ::open(QFile::encodeName(sciezka).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (deskryptor < 0) {
        blad = QStringLiteral("Nie można otworzyć pliku „%1”.").arg(nazwa);
        return false;
    }
    struct stat stan {};
    if (::fstat(deskryptor, &stan) != 0 || !S_ISREG(stan.st_mode)) {
        ::close(deskryptor);
        blad = QStringLiteral("„%1” nie jest zwykłym plikiem.").arg(nazwa);
        return false;
    }
    if (std::uint64_t(stan.st_size) > NajwiekszyTekstDoSlow) {
        ::close(deskryptor);
        blad = QStringLiteral("Tekst jest za duży: można wczytać najwyżej 200 MB.");
        return false;
    }
    // To the end, but no more than one byte past the cap, which tells a file that grew since its size was taken.
    std::string bajty(std::size_t(stan.st_size) + 1, '\0');
    std::size_t wczytane = 0;
    for (;;) {
        if (wczytane == bajty.size()) {
            if (wczytane > NajwiekszyTekstDoSlow)
                break;
            bajty.resize(std::min(wczytane * 2, NajwiekszyTekstDoSlow + 1));
        }
        const ssize_t ile = ::read(deskryptor, bajty.data() + wczytane, bajty.size() - wczytane);
        if (ile < 0) {
            ::close(deskryptor);
            blad = QStringLiteral("Nie można odczytać pliku „%1”.").arg(nazwa);
            return false;
        }
        if (ile == 0)
            break;
        wczytane += std::size_t(ile);
    }
    ::close(deskryptor);
    bajty.resize(wczytane);
    if (bajty.size() > NajwiekszyTekstDoSlow) {
        blad = QStringLiteral("Tekst jest za duży: można wczytać najwyżej 200 MB.");
        return false;
    }
    const bool le = bajty.starts_with("\xFF\xFE"), be = bajty.starts_with("\xFE\xFF");
    if (le || be) {
        QStringDecoder dekoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString tekst = dekoder.decode(QByteArrayView(bajty.data() + 2, qsizetype(bajty.size() - 2)));
        bajty.clear();
        bajty.shrink_to_fit();
        if (tekst.contains(QChar(0))) {
            blad = QStringLiteral("To nie jest plik tekstowy: zawiera bajty zerowe.");
            return false;
        }
        utf8 = tekst.toStdString();
        return true;
    }
    if (std::memchr(bajty.data(), '\0', bajty.size()) != nullptr) {
        blad = QStringLiteral("To nie jest plik tekstowy: zawiera bajty zerowe.");
        return false;
    }
    if (bajty.starts_with("\xEF\xBB\xBF"))
        bajty.erase(0, 3);
    if (PoprawneUtf8(bajty.data(), bajty.size()))
        utf8 = std::move(bajty);
    else
        utf8 = Cp1250NaUtf8(bajty);
    return true;
}

} // namespace vokara
