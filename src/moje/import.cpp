// Import of word pairs: encoding and separator detection, RFC 4180 quoting, Anki headers and HTML, KVTML 2.
#include "import.h"

#include "kodowanie.h"
#include "tekst.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vokara {

namespace {

const QString PowodBrakPola = QStringLiteral("brak drugiego pola");
const QString PowodPustePole = QStringLiteral("puste słowo albo znaczenie");
const QString PowodDlugie = QStringLiteral("pole dłuższe niż %1 znaków").arg(NajdluzszePoleImportu);
const QString PowodZaDuzo = QStringLiteral("ponad %1 par w pliku").arg(NajwiecejPar);
constexpr qsizetype NajdluzszyCytat = 100000;
const QString PowodKvtml = QStringLiteral("wpis bez obu tłumaczeń");

// A KVTML document is measured on its text before the XML reader sees it, because the reader takes a whole start
// tag at once (comparing every attribute with every other one) and keeps every open element. No word list comes
// near these: its elements nest a handful deep and carry an attribute or two.
constexpr qsizetype NajwiecejWezlow = 1000000; // elements, comments, instructions, CDATA, references
constexpr int NajwiecejTlumaczen = 64;         // in one entry
constexpr int NajglebszeZagniezdzenie = 32;
constexpr int NajwiecejAtrybutow = 32;
constexpr int NajwiecejPrzestrzeniNazw = 16;
// Of a translation's text only this much is kept: anything longer is skipped as too long anyway.
constexpr qsizetype NajdluzszyTekstKvtml = NajdluzszePoleImportu * 4 + 1;

// Polish plural: 1 para, 2-4 pary (but 12-14 par), 5 and more par.
QString Odmiana(int n, const char* jeden, const char* kilka, const char* wiele)
{
    const int jednosci = n % 10;
    const int dziesiatki = n % 100;
    const char* slowo = n == 1                                                                        ? jeden
                        : (jednosci >= 2 && jednosci <= 4 && !(dziesiatki >= 12 && dziesiatki <= 14)) ? kilka
                                                                                                      : wiele;
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(slowo);
}

void Pomin(WynikImportu& w, const QString& powod, int wiersz)
{
    if (w.Pominiete == 0)
        w.PierwszyPominiety = wiersz;
    ++w.Pominiete;
    ++w.Powody[powod];
}

// Whether a field cleans to nothing: blanks, control characters and invisible marks only.
bool Puste(QStringView pole)
{
    return std::all_of(pole.cbegin(), pole.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029 || u == 0xFEFF || u == 0x200B ||
               c.isSpace();
    });
}

// Takes a pair from two raw fields, or records why not.
void Dodaj(WynikImportu& w, QStringView pierwsze, QStringView drugie, int wiersz)
{
    if (pierwsze.size() > NajdluzszePoleImportu * 4 || drugie.size() > NajdluzszePoleImportu * 4)
        return Pomin(w, PowodDlugie, wiersz); // not worth cleaning
    if (w.Pary.size() >= NajwiecejPar) {
        // Past the cap a line is only counted, so it is not cleaned either.
        if (!Puste(pierwsze) || !Puste(drugie))
            Pomin(w, PowodZaDuzo, wiersz);
        return;
    }
    const QString angielski = OczyscPole(pierwsze);
    const QString polski = OczyscPole(drugie);
    if (angielski.isEmpty() && polski.isEmpty())
        return; // a blank line is no data, so nothing to report
    if (angielski.size() > NajdluzszePoleImportu || polski.size() > NajdluzszePoleImportu)
        return Pomin(w, PowodDlugie, wiersz);
    if (angielski.isEmpty() || polski.isEmpty())
        return Pomin(w, PowodPustePole, wiersz);
    w.Pary.append({angielski, polski});
}

WynikImportu Blad(const QString& tekst)
{
    WynikImportu w;
    w.Blad = tekst;
    return w;
}

bool JestUtf8(QByteArrayView bajty, QString& tekst)
{
    QStringDecoder dekoder(QStringConverter::Utf8);
    tekst = dekoder.decode(bajty);
    return !dekoder.hasError();
}

// UTF-16 without a byte order mark: in text that is mostly ASCII every other byte is zero. Looked for only in files
// that hold zero bytes at all, and taken only when most of the first characters are printable ASCII in one byte
// order and hardly any in the other, so that a binary file is not read as text.
std::optional<QStringConverter::Encoding> Utf16BezBom(QByteArrayView bajty)
{
    if (bajty.size() < 4 || bajty.size() % 2 != 0 || !std::memchr(bajty.data(), 0, std::size_t(bajty.size())))
        return std::nullopt;
    const auto ascii = [](unsigned char b) { return (b >= 0x20 && b < 0x7F) || b == '\t' || b == '\n' || b == '\r'; };
    const qsizetype pary = std::min<qsizetype>(bajty.size() / 2, 32768);
    qsizetype le = 0;
    qsizetype be = 0;
    for (qsizetype k = 0; k < pary; ++k) {
        const auto a = static_cast<unsigned char>(bajty[2 * k]);
        const auto b = static_cast<unsigned char>(bajty[2 * k + 1]);
        le += b == 0 && ascii(a);
        be += a == 0 && ascii(b);
    }
    if (le * 10 >= pary * 6 && be * 20 <= pary)
        return QStringConverter::Utf16LE;
    if (be * 10 >= pary * 6 && le * 20 <= pary)
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

struct Odczytany {
    QString Tekst;
    QString Kodowanie; // as the summary names it: "UTF-8", "UTF-16", "Windows-1250"
};

// The file's text: UTF-16 by its byte order mark or by the pattern of its zero bytes, else UTF-8 when the bytes are
// valid UTF-8, else Windows-1250. A byte order mark is left out.
bool Odkoduj(const QByteArray& bajty, Odczytany& wynik, QString& blad)
{
    std::optional<QStringConverter::Encoding> utf16;
    qsizetype bom = 0;
    if (bajty.startsWith("\xFF\xFE")) {
        utf16 = QStringConverter::Utf16LE;
        bom = 2;
    } else if (bajty.startsWith("\xFE\xFF")) {
        utf16 = QStringConverter::Utf16BE;
        bom = 2;
    } else {
        utf16 = Utf16BezBom(bajty);
    }
    if (utf16) {
        QStringDecoder dekoder(*utf16);
        wynik.Tekst = dekoder.decode(QByteArrayView(bajty).sliced(bom));
        wynik.Kodowanie = QStringLiteral("UTF-16");
        if (dekoder.hasError()) {
            blad = QStringLiteral("Plik UTF-16 jest uszkodzony. Nie zaimportowano niczego.");
            return false;
        }
        return true;
    }
    QByteArrayView widok(bajty);
    if (widok.startsWith("\xEF\xBB\xBF"))
        widok = widok.sliced(3);
    if (JestUtf8(widok, wynik.Tekst)) {
        wynik.Kodowanie = QStringLiteral("UTF-8");
    } else {
        wynik.Tekst = ZCp1250(widok);
        wynik.Kodowanie = QStringLiteral("Windows-1250");
    }
    return true;
}

// An XML file that is not UTF-8 is read in the 8-bit encoding its declaration names, when there is one Qt knows.
void KodowanieDeklaracji(const QByteArray& bajty, Odczytany& t)
{
    const QByteArray poczatek = bajty.left(256);
    const qsizetype koniec = poczatek.indexOf("?>");
    qsizetype i = poczatek.indexOf("encoding");
    if (!poczatek.startsWith("<?xml") || koniec < 0 || i < 0 || i > koniec)
        return;
    i += 8;
    while (i < koniec && (poczatek[i] == ' ' || poczatek[i] == '=' || poczatek[i] == '\t'))
        ++i;
    if (i >= koniec || (poczatek[i] != '"' && poczatek[i] != '\''))
        return;
    const qsizetype zamkniecie = poczatek.indexOf(poczatek[i], i + 1);
    if (zamkniecie < 0 || zamkniecie > koniec)
        return;
    const QByteArray nazwa = poczatek.mid(i + 1, zamkniecie - i - 1).toUpper();
    // A file declared as UTF-16 or UTF-32 without being one (no mark, no zero bytes) says something untrue.
    if (nazwa.startsWith("UTF") || nazwa.startsWith("UCS"))
        return;
    QStringDecoder dekoder(nazwa.constData());
    if (!dekoder.isValid())
        return;
    QString tekst = dekoder.decode(bajty);
    if (!dekoder.hasError())
        t.Tekst = std::move(tekst);
}

QString NazwaSeparatora(QChar s)
{
    switch (s.unicode()) {
    case u'\t':
        return QStringLiteral("tabulatorem");
    case u';':
        return QStringLiteral("średnikiem");
    case u',':
        return QStringLiteral("przecinkiem");
    case u'|':
        return QStringLiteral("kreską pionową");
    case u' ':
        return QStringLiteral("spacją");
    case u':':
        return QStringLiteral("dwukropkiem");
    case u'*':
        return QStringLiteral("gwiazdką");
    default:
        // An Anki header may name any one character.
        return QStringLiteral("znakiem „%1”").arg(NazwaDoKomunikatu(QString(s)));
    }
}

// The separator found in the most of the first lines; on a tie the earlier of '*', tab, ';', ','.
QChar WykryjSeparator(QStringView tekst)
{
    const QChar kandydaci[] = {QLatin1Char('*'), QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    int liczby[4] = {0, 0, 0, 0};
    int linie = 0;
    qsizetype poczatek = 0;
    while (poczatek < tekst.size() && linie < 500) {
        qsizetype koniec = poczatek;
        while (koniec < tekst.size() && tekst[koniec] != QLatin1Char('\n') && tekst[koniec] != QLatin1Char('\r'))
            ++koniec;
        const QStringView linia = tekst.mid(poczatek, koniec - poczatek);
        if (!linia.trimmed().isEmpty()) {
            ++linie;
            for (int k = 0; k < 4; ++k)
                liczby[k] += linia.contains(kandydaci[k]) ? 1 : 0;
        }
        poczatek = koniec + 1;
    }
    const int najlepszy = int(std::max_element(std::begin(liczby), std::end(liczby)) - std::begin(liczby));
    return liczby[najlepszy] > 0 ? kandydaci[najlepszy] : QChar();
}

// Anki's "Notes in Plain Text" header: "#separator:tab", "#html:true", "#columns:...", "#deck column:3" and more.
struct NaglowekAnki {
    QChar Separator;
    bool Html = false;
    QSet<int> Pominiete; // columns (from 0) that hold no field: guid, note type, deck, tags
    int Linie = 0;
};

// Reads the header lines and moves `tekst` past them.
NaglowekAnki CzytajNaglowekAnki(QStringView& tekst)
{
    NaglowekAnki n;
    static const std::pair<const char16_t*, char16_t> separatory[] = {
        {u"tab", u'\t'}, {u"comma", u','}, {u"semicolon", u';'}, {u"pipe", u'|'}, {u"space", u' '}, {u"colon", u':'},
    };
    qsizetype poczatek = 0;
    while (poczatek < tekst.size() && tekst[poczatek] == QLatin1Char('#')) {
        qsizetype koniec = tekst.indexOf(QLatin1Char('\n'), poczatek);
        if (koniec < 0)
            koniec = tekst.size();
        const QStringView linia = tekst.mid(poczatek + 1, koniec - poczatek - 1).trimmed();
        const qsizetype dwukropek = linia.indexOf(QLatin1Char(':'));
        const QStringView klucz = (dwukropek < 0 ? linia : linia.left(dwukropek)).trimmed();
        const QStringView wartosc = dwukropek < 0 ? QStringView() : linia.mid(dwukropek + 1).trimmed();
        if (klucz.compare(u"separator", Qt::CaseInsensitive) == 0) {
            const auto nazwany = std::find_if(std::begin(separatory), std::end(separatory), [&](const auto& s) {
                return wartosc.compare(QStringView(s.first), Qt::CaseInsensitive) == 0;
            });
            if (nazwany != std::end(separatory))
                n.Separator = QChar(nazwany->second);
            else if (wartosc.size() == 1)
                n.Separator = wartosc[0];
        } else if (klucz.compare(u"html", Qt::CaseInsensitive) == 0) {
            n.Html = wartosc.compare(u"true", Qt::CaseInsensitive) == 0;
        } else if (klucz.endsWith(u" column", Qt::CaseInsensitive)) {
            bool ok = false;
            const int kolumna = wartosc.toInt(&ok);
            if (ok && kolumna >= 1 && kolumna <= 64)
                n.Pominiete.insert(kolumna - 1);
        }
        // "#columns:" and anything else only describe the notes; the first two fields are taken whatever their names.
        ++n.Linie;
        poczatek = koniec + 1;
    }
    tekst = tekst.mid(std::min(poczatek, tekst.size()));
    return n;
}

WynikImportu ImportujTekst(const Odczytany& odczytany)
{
    WynikImportu w;
    QStringView tekst = odczytany.Tekst;
    const NaglowekAnki anki = CzytajNaglowekAnki(tekst);
    QChar separator = anki.Separator.isNull() ? WykryjSeparator(tekst) : anki.Separator;
    if (separator.isNull())
        return Blad(
            QStringLiteral("W pliku nie ma pól rozdzielonych gwiazdką, tabulatorem, średnikiem ani przecinkiem. "
                           "Nie zaimportowano niczego."));
    w.Rodzaj = QStringLiteral("tekst %1, pola rozdzielone %2").arg(odczytany.Kodowanie, NazwaSeparatora(separator));
    if (anki.Linie > 0)
        w.Rodzaj += QStringLiteral(", nagłówek Anki");

    if (separator == QLatin1Char('*')) {
        // This program's own set format: the split at the first '*', no quoting, and the captions on line 1.
        bool naglowek = true;
        PodzielRekordy(tekst, QChar(), false, [&](const Rekord& r) {
            const QStringView linia = r.Pola.value(0);
            const qsizetype gwiazdka = linia.indexOf(QLatin1Char('*'));
            if (naglowek) {
                naglowek = false;
                if (gwiazdka >= 0) {
                    w.NaglowekWyraz = OczyscPole(linia.left(gwiazdka));
                    w.NaglowekOznacza = OczyscPole(linia.mid(gwiazdka + 1));
                    return;
                }
            }
            if (gwiazdka < 0) {
                if (!linia.trimmed().isEmpty())
                    Pomin(w, PowodBrakPola, r.Wiersz + anki.Linie);
                return;
            }
            Dodaj(w, linia.left(gwiazdka), linia.mid(gwiazdka + 1), r.Wiersz + anki.Linie);
        });
        w.Rodzaj += QStringLiteral(", podpisy z pierwszego wiersza");
    } else {
        PodzielRekordy(tekst, separator, true, [&](const Rekord& r) {
            // Only the first two fields that are not left out are needed, so only those are made plain text.
            int wybrane[2] = {-1, -1};
            int ile = 0;
            for (int k = 0; k < r.Pola.size() && ile < 2; ++k) {
                if (!anki.Pominiete.contains(k))
                    wybrane[ile++] = k;
            }
            QString html[2];
            QStringView pola[2];
            for (int i = 0; i < ile; ++i) {
                pola[i] = r.Pola[wybrane[i]];
                if (anki.Html) {
                    html[i] = TekstHtml(pola[i]);
                    pola[i] = html[i];
                }
            }
            if (ile < 2) {
                if (!pola[0].trimmed().isEmpty())
                    Pomin(w, PowodBrakPola, r.Wiersz + anki.Linie);
                return;
            }
            Dodaj(w, pola[0], pola[1], r.Wiersz + anki.Linie);
        });
    }
    return w;
}

// Measures the document against the limits above in one pass over its text, as the XML reader will see it:
// comments, CDATA sections and processing instructions are passed over, quoted attribute values are skipped whole,
// every '=' of a start tag counts as an attribute and every '&' as a reference. Gives the reason for refusing it,
// or nothing.
QString ZmierzXml(QStringView x)
{
    const QString koniec = QStringLiteral(" – to nie jest zestaw słów KVTML. Nie zaimportowano niczego.");
    const QString zaWieleWezlow =
        QStringLiteral("Plik XML ma ponad milion elementów, komentarzy i odwołań do znaków") + koniec;
    qsizetype wezly = 0;
    int glebokosc = 0;
    int przestrzenie = 0;
    const qsizetype n = x.size();
    qsizetype i = 0;
    for (;;) {
        const qsizetype otwarcie = x.indexOf(QLatin1Char('<'), i);
        wezly += x.mid(i, (otwarcie < 0 ? n : otwarcie) - i).count(QLatin1Char('&'));
        if (wezly > NajwiecejWezlow)
            return zaWieleWezlow;
        if (otwarcie < 0)
            break;
        i = otwarcie;
        const QStringView reszta = x.mid(i);
        qsizetype k = -1;
        if (!reszta.startsWith(u"</") && ++wezly > NajwiecejWezlow)
            return zaWieleWezlow;
        if (reszta.startsWith(u"<!--")) {
            k = x.indexOf(u"-->", i + 4);
            i = k < 0 ? n : k + 3;
            continue;
        }
        if (reszta.startsWith(u"<![CDATA[")) {
            k = x.indexOf(u"]]>", i + 9);
            i = k < 0 ? n : k + 3;
            continue;
        }
        if (reszta.startsWith(u"<?")) {
            k = x.indexOf(u"?>", i + 2);
            i = k < 0 ? n : k + 2;
            continue;
        }
        if (reszta.startsWith(u"</")) {
            k = x.indexOf(QLatin1Char('>'), i + 2);
            glebokosc = std::max(0, glebokosc - 1);
            i = k < 0 ? n : k + 1;
            continue;
        }
        const bool deklaracja = reszta.startsWith(u"<!");
        int atrybuty = 0;
        qsizetype j = i + 1;
        while (j < n && x[j] != QLatin1Char('>')) {
            const QChar c = x[j];
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                k = x.indexOf(c, j + 1);
                const qsizetype za = k < 0 ? n : k + 1;
                wezly += x.mid(j, za - j).count(QLatin1Char('&'));
                if (wezly > NajwiecejWezlow)
                    return zaWieleWezlow;
                j = za;
                continue;
            }
            // The document's own entity declarations (the internal subset of its DOCTYPE) could expand into any
            // text or markup; a word list has none.
            if (deklaracja && c == QLatin1Char('['))
                return QStringLiteral("Plik XML zawiera własne deklaracje DTD") + koniec;
            if (!deklaracja && c == QLatin1Char('=') && ++atrybuty > NajwiecejAtrybutow)
                return QStringLiteral("Element pliku XML ma ponad %1 atrybuty").arg(NajwiecejAtrybutow) + koniec;
            if (!deklaracja && c == QLatin1Char('x') && x.mid(j).startsWith(u"xmlns") &&
                ++przestrzenie > NajwiecejPrzestrzeniNazw)
                return QStringLiteral("Plik XML deklaruje ponad %1 przestrzeni nazw").arg(NajwiecejPrzestrzeniNazw) +
                       koniec;
            ++j;
        }
        if (!deklaracja && j < n && x[j - 1] != QLatin1Char('/') && ++glebokosc > NajglebszeZagniezdzenie)
            return QStringLiteral("Elementy pliku XML są zagnieżdżone na ponad %1 poziomach")
                       .arg(NajglebszeZagniezdzenie) +
                   koniec;
        i = j + 1;
    }
    return QString();
}

// The character data of the current element and of everything inside it, as
// readElementText(IncludeChildElements) gives it, but read in a loop instead of a call per nested element, and only
// up to `najwiecej` characters kept (the rest is read past). The reader is left at the element's end.
QString TekstElementu(QXmlStreamReader& xml, qsizetype najwiecej)
{
    QString tekst;
    int glebokosc = 1; // bounded by the measure taken before reading
    while (glebokosc > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++glebokosc;
            break;
        case QXmlStreamReader::EndElement:
            --glebokosc;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            if (tekst.size() < najwiecej)
                tekst += xml.text().left(najwiecej - tekst.size());
            break;
        default:
            break;
        }
    }
    return tekst;
}

WynikImportu ImportujKvtml(const QString& tekst)
{
    const QString zaDuzy = ZmierzXml(tekst);
    if (!zaDuzy.isEmpty())
        return Blad(zaDuzy);
    // Given the text, the reader takes it as it is and ignores the encoding the declaration names: the text was
    // decoded once already, and the measure above was taken on exactly this.
    QXmlStreamReader xml(tekst);
    const auto uszkodzony = [&xml] {
        return Blad(QStringLiteral("Plik XML jest uszkodzony (błąd w wierszu %1). Nie zaimportowano niczego.")
                        .arg(xml.lineNumber()));
    };
    if (!xml.readNextStartElement())
        return uszkodzony();
    if (xml.name() != QLatin1String("kvtml"))
        return Blad(QStringLiteral("Plik XML nie jest zestawem słów KVTML (KWordQuiz, Parley). "
                                   "Nie zaimportowano niczego."));
    if (!xml.attributes().value(QLatin1String("version")).startsWith(QLatin1Char('2')))
        return Blad(QStringLiteral("Obsługiwane są tylko pliki KVTML w wersji 2 (KWordQuiz, Parley). "
                                   "Nie zaimportowano niczego."));

    QStringList identyfikatory;
    struct Wpis {
        int Wiersz;
        QList<std::pair<QString, QString>> Tlumaczenia; // id and text
    };
    QList<Wpis> wpisy;
    // For a document that lists no identifiers: the two first translation ids in number order, kept as they come.
    const auto przed = [](const QString& a, const QString& b) {
        return a.toInt() != b.toInt() ? a.toInt() < b.toInt() : a < b;
    };
    QStringList najmniejsze;
    const auto zauwaz = [&](const QString& id) {
        if (najmniejsze.contains(id))
            return;
        najmniejsze.insert(std::lower_bound(najmniejsze.begin(), najmniejsze.end(), id, przed) - najmniejsze.begin(),
                           id);
        if (najmniejsze.size() > 2)
            najmniejsze.removeLast();
    };
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("identifiers")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("identifier"))
                    identyfikatory << xml.attributes().value(QLatin1String("id")).toString();
                xml.skipCurrentElement();
            }
        } else if (xml.name() == QLatin1String("entries")) {
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("entry")) {
                    xml.skipCurrentElement();
                    continue;
                }
                Wpis wpis{int(xml.lineNumber()), {}};
                while (xml.readNextStartElement()) {
                    // An entry holds one translation a language; past NajwiecejTlumaczen they are read past, so
                    // looking an id up among an entry's own stays short.
                    if (xml.name() != QLatin1String("translation") || wpis.Tlumaczenia.size() >= NajwiecejTlumaczen) {
                        xml.skipCurrentElement();
                        continue;
                    }
                    const QString id = xml.attributes().value(QLatin1String("id")).toString();
                    while (xml.readNextStartElement()) {
                        // Only an id's first text in an entry counts.
                        if (xml.name() != QLatin1String("text") ||
                            std::any_of(wpis.Tlumaczenia.cbegin(), wpis.Tlumaczenia.cend(),
                                        [&id](const auto& t) { return t.first == id; })) {
                            xml.skipCurrentElement();
                            continue;
                        }
                        wpis.Tlumaczenia.append({id, TekstElementu(xml, NajdluzszyTekstKvtml)});
                        zauwaz(id);
                    }
                }
                wpisy.append(std::move(wpis));
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    // Anything after the root, a truncated file or a broken tag anywhere: the whole file is refused.
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (xml.hasError())
        return uszkodzony();

    identyfikatory.removeAll(QString());
    if (identyfikatory.size() < 2)
        identyfikatory = najmniejsze;
    if (identyfikatory.size() < 2)
        return Blad(QStringLiteral("Plik KVTML nie ma słów w dwóch językach. Nie zaimportowano niczego."));

    const auto tlumaczenie = [](const Wpis& wpis, const QString& id) {
        for (const auto& [i, tekst] : wpis.Tlumaczenia) {
            if (i == id)
                return tekst;
        }
        return QString();
    };
    WynikImportu w;
    w.Rodzaj = QStringLiteral("KVTML 2");
    for (const Wpis& wpis : wpisy) {
        const QString pierwsze = tlumaczenie(wpis, identyfikatory[0]);
        const QString drugie = tlumaczenie(wpis, identyfikatory[1]);
        if (OczyscPole(pierwsze).isEmpty() || OczyscPole(drugie).isEmpty())
            Pomin(w, PowodKvtml, wpis.Wiersz);
        else
            Dodaj(w, pierwsze, drugie, wpis.Wiersz);
    }
    return w;
}

// Tags go and the tags that end a line become a blank. A '<' with no '>' anywhere after it is an ordinary
// character; the next '>' is looked for once for all the '<' before it, so the walk stays one pass.
QString BezZnacznikow(QStringView t)
{
    const auto przerwa = [](QStringView znacznik) {
        qsizetype k = 0;
        while (k < znacznik.size() && znacznik[k].isSpace())
            ++k;
        for (const char16_t* nazwa : {u"br", u"/p", u"/div", u"/li", u"/tr"}) {
            const QStringView n(nazwa);
            if (!znacznik.mid(k).startsWith(n, Qt::CaseInsensitive))
                continue;
            const qsizetype po = k + n.size();
            if (po == znacznik.size() || !(znacznik[po].isLetterOrNumber() || znacznik[po] == QLatin1Char('_')))
                return true;
        }
        return false;
    };
    QString wynik;
    wynik.reserve(t.size());
    qsizetype zamkniecie = -1;
    qsizetype i = 0;
    while (i < t.size()) {
        const qsizetype otwarcie = t.indexOf(QLatin1Char('<'), i);
        if (otwarcie < 0) {
            wynik += t.mid(i);
            break;
        }
        wynik += t.mid(i, otwarcie - i);
        if (zamkniecie < otwarcie)
            zamkniecie = t.indexOf(QLatin1Char('>'), otwarcie);
        if (zamkniecie < 0) {
            wynik += t.mid(otwarcie);
            break;
        }
        if (przerwa(t.mid(otwarcie + 1, zamkniecie - otwarcie - 1)))
            wynik += QLatin1Char(' ');
        i = zamkniecie + 1;
    }
    return wynik;
}

// "[sound:file]" goes, in the same single walk.
QString BezDzwiekow(QStringView t)
{
    QString wynik;
    wynik.reserve(t.size());
    qsizetype zamkniecie = -1;
    qsizetype i = 0;
    while (i < t.size()) {
        const qsizetype otwarcie = t.indexOf(u"[sound:", i);
        if (otwarcie < 0) {
            wynik += t.mid(i);
            break;
        }
        wynik += t.mid(i, otwarcie - i);
        if (zamkniecie < otwarcie)
            zamkniecie = t.indexOf(QLatin1Char(']'), otwarcie + 7);
        if (zamkniecie < 0) {
            wynik += t.mid(otwarcie);
            break;
        }
        i = zamkniecie + 1;
    }
    return wynik;
}

} // namespace

QString WynikImportu::Podsumowanie() const
{
    QString tekst = QStringLiteral("Wczytano %1 (%2).").arg(Odmiana(int(Pary.size()), "parę", "pary", "par"), Rodzaj);
    if (Pominiete == 0)
        return tekst + QStringLiteral(" Nie pominięto żadnego wiersza.");
    QStringList powody;
    for (auto i = Powody.cbegin(); i != Powody.cend(); ++i)
        powody << QStringLiteral("%1 – %2").arg(i.key()).arg(i.value());
    return tekst + QStringLiteral(" Pominięto %1 (pierwszy: wiersz %2): %3.")
                       .arg(Odmiana(Pominiete, "wiersz", "wiersze", "wierszy"))
                       .arg(PierwszyPominiety)
                       .arg(powody.join(QStringLiteral("; ")));
}

void PodzielRekordy(QStringView tekst, QChar separator, bool cudzyslowy,
                    const std::function<void(const Rekord&)>& oddaj)
{
    Rekord rekord{1, {}, {}};
    int wiersz = 1;
    bool poczatekPola = true;
    bool wCudzyslowie = false;
    qsizetype otwarcie = -1; // where the open quoted field began
    qsizetype doslowny = -1; // a quote at this position is an ordinary character (its field never closed)
    int wierszOtwarcia = 0;
    const qsizetype n = tekst.size();
    // The field being read: a slice of the text [od, doo) as long as it is one, else gathered into `zebrane`
    // (doubled quotes, text after a closing quote). Past NajwiecejPol fields a record's fields are not kept.
    qsizetype od = 0;
    qsizetype doo = 0;
    bool zbierane = false;
    QString zebrane;
    const auto zachowaj = [&rekord] { return rekord.Pola.size() < NajwiecejPol; };
    const auto dolacz = [&](qsizetype p, qsizetype k) {
        if (!zachowaj())
            return;
        if (!zbierane) {
            if (od == doo) {
                od = p;
                doo = k;
                return;
            }
            if (p == doo) {
                doo = k;
                return;
            }
            zebrane = tekst.mid(od, doo - od).toString();
            zbierane = true;
        }
        zebrane += tekst.mid(p, k - p);
    };
    const auto wyczysc = [&] {
        od = doo = 0;
        zbierane = false;
        zebrane.clear();
    };
    const auto zamknijPole = [&] {
        if (zachowaj()) {
            if (zbierane) {
                rekord.Zebrane << zebrane;
                rekord.Pola << QStringView(rekord.Zebrane.constLast());
            } else {
                rekord.Pola << tekst.mid(od, doo - od);
            }
        }
        wyczysc();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = tekst[i];
        if (wCudzyslowie) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && tekst[i + 1] == QLatin1Char('"')) {
                    dolacz(i, i + 1);
                    ++i;
                } else {
                    wCudzyslowie = false;
                }
            } else {
                // The run up to the next quote, but no further than where the quote counts as never closed.
                const qsizetype granica = std::min(n, otwarcie + NajdluzszyCytat + 2);
                qsizetype j = i;
                for (; j < granica && tekst[j] != QLatin1Char('"'); ++j) {
                    if (tekst[j] == QLatin1Char('\n') ||
                        (tekst[j] == QLatin1Char('\r') && !(j + 1 < n && tekst[j + 1] == QLatin1Char('\n'))))
                        ++wiersz;
                }
                dolacz(i, j);
                i = j - 1;
            }
            // A quote that never closes (or only far beyond any field's length) was an ordinary character.
            if (wCudzyslowie && (i + 1 == n || i - otwarcie > NajdluzszyCytat)) {
                // The quote never closed: read that field again from its quote, taking the quote as a character.
                wCudzyslowie = false;
                doslowny = otwarcie;
                i = otwarcie - 1;
                wiersz = wierszOtwarcia;
                wyczysc();
                poczatekPola = false;
            }
            continue;
        }
        if (c == QLatin1Char('"') && cudzyslowy && poczatekPola && i != doslowny) {
            wCudzyslowie = true;
            otwarcie = i;
            wierszOtwarcia = wiersz;
            poczatekPola = false;
            if (i + 1 == n) {
                wCudzyslowie = false;
                dolacz(i, i + 1);
            }
            continue;
        }
        if (!separator.isNull() && c == separator) {
            zamknijPole();
            poczatekPola = true;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && tekst[i + 1] == QLatin1Char('\n'))
                ++i;
            zamknijPole();
            oddaj(rekord);
            ++wiersz;
            rekord.Wiersz = wiersz;
            rekord.Pola.clear();
            rekord.Zebrane.clear();
            poczatekPola = true;
            continue;
        }
        // An unquoted run up to the next separator or line end goes in whole.
        qsizetype j = i + 1;
        while (j < n && (separator.isNull() || tekst[j] != separator) && tekst[j] != QLatin1Char('\r') &&
               tekst[j] != QLatin1Char('\n'))
            ++j;
        dolacz(i, j);
        poczatekPola = false;
        i = j - 1;
    }
    if ((zbierane ? !zebrane.isEmpty() : doo > od) || !rekord.Pola.isEmpty()) {
        zamknijPole();
        oddaj(rekord);
    }
}

QString OczyscPole(QStringView pole)
{
    const auto zwykly = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0x20 && u != 0x7F && u != 0x85 && u != 0x2028 && u != 0x2029 && u != 0xFEFF && u != 0x200B;
    };
    if (std::all_of(pole.cbegin(), pole.cend(), zwykly))
        return pole.trimmed().toString();
    QString wynik;
    wynik.reserve(pole.size());
    for (qsizetype i = 0; i < pole.size(); ++i) {
        const QChar c = pole[i];
        if (c == QLatin1Char('\r') && i + 1 < pole.size() && pole[i + 1] == QLatin1Char('\n'))
            continue; // CR LF is one line break, so one blank
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == 0x2028 || u == 0x2029 || u == 0x85)
            wynik += QLatin1Char(' ');
        else if (u != 0xFEFF && u != 0x200B)
            wynik += c;
    }
    return wynik.trimmed();
}

QString NazwaDoKomunikatu(const QString& nazwa)
{
    QString wynik;
    wynik.reserve(nazwa.size());
    for (qsizetype i = 0; i < nazwa.size(); ++i) {
        char32_t znak = nazwa[i].unicode();
        qsizetype dlugosc = 1;
        if (nazwa[i].isHighSurrogate() && i + 1 < nazwa.size() && nazwa[i + 1].isLowSurrogate()) {
            znak = QChar::surrogateToUcs4(nazwa[i], nazwa[i + 1]);
            dlugosc = 2;
        }
        switch (QChar::category(znak)) {
        case QChar::Other_Control:
        case QChar::Other_Format: // the direction marks, embeddings, overrides and isolates, joiners, tags
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            wynik += QChar(QChar::ReplacementCharacter);
            break;
        default:
            wynik += QStringView(nazwa).mid(i, dlugosc);
        }
        i += dlugosc - 1;
    }
    return wynik;
}

QString TekstHtml(QStringView html)
{
    // Each step is one walk over the field, whatever it holds: a '<' without '>', a "[sound:" without ']' and an
    // '&' without ';' cost no search through the rest of the field.
    QString tekst = html.toString();
    if (tekst.contains(QLatin1Char('<')))
        tekst = BezZnacznikow(tekst);
    if (tekst.contains(u"[sound:"))
        tekst = BezDzwiekow(tekst);
    if (!tekst.contains(QLatin1Char('&')))
        return tekst;
    static const std::pair<const char16_t*, char16_t> nazwane[] = {
        {u"amp", u'&'},       {u"lt", u'<'},         {u"gt", u'>'},         {u"quot", u'"'},        {u"apos", u'\''},
        {u"nbsp", u'\u00A0'}, {u"ndash", u'\u2013'}, {u"mdash", u'\u2014'}, {u"hellip", u'\u2026'},
    };
    const QStringView t = tekst;
    QString wynik;
    wynik.reserve(t.size());
    qsizetype i = 0;
    while (i < t.size()) {
        const qsizetype amp = t.indexOf(QLatin1Char('&'), i);
        if (amp < 0) {
            wynik += t.mid(i);
            break;
        }
        wynik += t.mid(i, amp - i);
        i = amp + 1;
        // An entity's ';' is at most ten characters on: nothing further is looked at.
        const qsizetype srednik = t.mid(amp + 1, 10).indexOf(QLatin1Char(';'));
        if (srednik < 0) {
            wynik += QLatin1Char('&');
            continue;
        }
        const QStringView nazwa = t.mid(amp + 1, srednik);
        char32_t znak = 0;
        if (nazwa.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint kod = nazwa.startsWith(u"#x", Qt::CaseInsensitive) ? nazwa.mid(2).toUInt(&ok, 16)
                                                                          : nazwa.mid(1).toUInt(&ok, 10);
            if (ok && kod > 0 && kod <= 0x10FFFF && !(kod >= 0xD800 && kod <= 0xDFFF))
                znak = kod;
        } else {
            for (const auto& [n, z] : nazwane) {
                if (nazwa == QStringView(n))
                    znak = z;
            }
        }
        if (znak == 0) {
            wynik += QLatin1Char('&');
            continue;
        }
        wynik += QString::fromUcs4(&znak, 1);
        i = amp + 1 + srednik + 1;
    }
    return wynik;
}

bool WygladaNaNaglowek(const Para& para)
{
    static const QSet<QString> tytuly = {
        QStringLiteral("english"),
        QStringLiteral("polish"),
        QStringLiteral("angielski"),
        QStringLiteral("polski"),
        QStringLiteral("term"),
        QStringLiteral("definition"),
        QStringLiteral("front"),
        QStringLiteral("back"),
        QStringLiteral("słowo"),
        QStringLiteral("znaczenie"),
        QStringLiteral("word"),
        QStringLiteral("meaning"),
        QStringLiteral("translation"),
        QStringLiteral("tłumaczenie"),
        QStringLiteral("question"),
        QStringLiteral("answer"),
        QStringLiteral("pytanie"),
        QStringLiteral("odpowiedź"),
        QStringLiteral("en"),
        QStringLiteral("pl"),
        QStringLiteral("angielskie słowo"),
        QStringLiteral("polskie znaczenie"),
        QStringLiteral("słówko"),
        QStringLiteral("przód"),
        QStringLiteral("tył"),
        QStringLiteral("english word"),
        QStringLiteral("polish meaning"),
        QStringLiteral("expression"),
        QStringLiteral("wyrażenie"),
        QStringLiteral("angielskie"),
        QStringLiteral("polskie"),
        QStringLiteral("language 1"),
        QStringLiteral("language 2"),
    };
    const auto tytul = [](const QString& pole) {
        QString t = pole.trimmed().toLower();
        // "English:" and "[Polish]" are titles as well.
        if (t.endsWith(QLatin1Char(':')))
            t.chop(1);
        if (t.size() >= 2 && ((t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) ||
                              (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')')))))
            t = t.mid(1, t.size() - 2);
        return tytuly.contains(t.trimmed());
    };
    return tytul(para.Angielski) && tytul(para.Polski);
}

WynikImportu ImportujBajty(const QByteArray& bajty, const QString& nazwaPliku)
{
    // The cap is on the file's own bytes: UTF-16 text is not measured by what it would take as UTF-8.
    if (bajty.size() > NajwiekszyImport)
        return Blad(
            QStringLiteral("Plik jest większy niż 16 MiB – to nie jest lista słów. Nie zaimportowano niczego."));
    Odczytany odczytany;
    QString blad;
    if (!Odkoduj(bajty, odczytany, blad))
        return Blad(blad);
    const QStringView tekst = odczytany.Tekst;
    if (tekst.trimmed().isEmpty())
        return Blad(QStringLiteral("Plik jest pusty. Nie zaimportowano niczego."));
    // Text never holds a zero character, and hardly any other control character: this is a picture, an archive, a
    // program.
    qsizetype sterujace = 0;
    for (const QChar c : tekst) {
        const char16_t u = c.unicode();
        if (u == 0)
            return Blad(
                QStringLiteral("Plik zawiera bajty zerowe – to nie jest plik tekstowy. Nie zaimportowano niczego."));
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n' && u != '\f')
            ++sterujace;
    }
    if (sterujace * 100 > tekst.size())
        return Blad(QStringLiteral("To nie jest plik tekstowy. Nie zaimportowano niczego."));

    const bool xml = tekst.left(256).trimmed().startsWith(QLatin1Char('<')) ||
                     nazwaPliku.endsWith(QLatin1String(".kvtml"), Qt::CaseInsensitive);
    if (xml && odczytany.Kodowanie == QLatin1String("Windows-1250"))
        KodowanieDeklaracji(bajty, odczytany);
    WynikImportu w = xml ? ImportujKvtml(odczytany.Tekst) : ImportujTekst(odczytany);
    if (!w.Blad.isEmpty())
        return w;
    if (w.Pary.isEmpty()) {
        QString tekstBledu = QStringLiteral("W pliku nie znaleziono żadnej pary słów. Nie zaimportowano niczego.");
        if (w.Pominiete > 0)
            tekstBledu += QLatin1Char(' ') + w.Podsumowanie();
        w.Blad = tekstBledu;
        return w;
    }
    w.Ok = true;
    // This program's set format carries its captions apart, and KVTML has none: only delimited text is asked.
    w.PierwszyNaglowkiem =
        !xml && w.NaglowekWyraz.isEmpty() && w.NaglowekOznacza.isEmpty() && WygladaNaNaglowek(w.Pary.front());
    return w;
}

WynikImportu ImportujPlik(const QString& sciezka)
{
    const QFileInfo info(sciezka);
    const QString nazwa = NazwaDoKomunikatu(info.fileName());
    const QString niezwykly = QStringLiteral("„%1” nie jest zwykłym plikiem. Nie zaimportowano niczego.").arg(nazwa);
    if (!info.exists())
        return Blad(QStringLiteral("Nie ma pliku „%1”.").arg(nazwa));
    // A folder, a device or a pipe could be endless or block: only regular files are read. The check is made on the
    // file as opened, and the opening does not wait: a pipe (even one put in place of the file a moment ago) would
    // keep an ordinary open waiting for a writer for ever.
    const int deskryptor = ::open(QFile::encodeName(sciezka).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (deskryptor < 0)
        return Blad(QStringLiteral("Nie można otworzyć pliku „%1”. Nie zaimportowano niczego.").arg(nazwa));
    struct stat stan {};
    if (::fstat(deskryptor, &stan) != 0 || !S_ISREG(stan.st_mode)) {
        ::close(deskryptor);
        return Blad(niezwykly);
    }
    if (stan.st_size > NajwiekszyImport) {
        ::close(deskryptor);
        return Blad(
            QStringLiteral("Plik jest większy niż 16 MiB – to nie jest lista słów. Nie zaimportowano niczego."));
    }
    QFile plik;
    if (!plik.open(deskryptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(deskryptor);
        return Blad(QStringLiteral("Nie można otworzyć pliku „%1”. Nie zaimportowano niczego.").arg(nazwa));
    }
    // Read to its end, but no more than one byte past the cap, which tells a file that grew since its size was taken.
    QByteArray bajty(qsizetype(stan.st_size) + 1, Qt::Uninitialized);
    qsizetype wczytane = 0;
    for (;;) {
        if (wczytane == bajty.size()) {
            if (wczytane > NajwiekszyImport)
                break;
            bajty.resize(std::min<qsizetype>(wczytane * 2, NajwiekszyImport + 1));
        }
        const qint64 ile = plik.read(bajty.data() + wczytane, bajty.size() - wczytane);
        if (ile < 0)
            return Blad(QStringLiteral("Nie można odczytać pliku „%1”. Nie zaimportowano niczego.").arg(nazwa));
        if (ile == 0)
            break;
        wczytane += qsizetype(ile);
    }
    bajty.truncate(wczytane);
    return ImportujBajty(bajty, info.fileName());
}

} // namespace vokara
