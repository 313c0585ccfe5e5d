// Import of word pairs: encoding and separator detection, RFC 4180 quoting, Anki headers and HTML, KVTML 2.
#include "import.h"

#include "kodowanie.h"
#include "tekst.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>

namespace vokara {

namespace {

const QString PowodBrakPola = QStringLiteral("brak drugiego pola");
const QString PowodPustePole = QStringLiteral("puste słowo albo znaczenie");
const QString PowodDlugie = QStringLiteral("pole dłuższe niż %1 znaków").arg(NajdluzszePoleImportu);
const QString PowodZaDuzo = QStringLiteral("ponad %1 par w pliku").arg(NajwiecejPar);
constexpr qsizetype NajdluzszyCytat = 100000;
const QString PowodKvtml = QStringLiteral("wpis bez obu tłumaczeń");

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

// Takes a pair from two raw fields, or records why not.
void Dodaj(WynikImportu& w, const QString& pierwsze, const QString& drugie, int wiersz)
{
    if (pierwsze.size() > NajdluzszePoleImportu * 4 || drugie.size() > NajdluzszePoleImportu * 4)
        return Pomin(w, PowodDlugie, wiersz); // not worth cleaning
    const QString angielski = OczyscPole(pierwsze);
    const QString polski = OczyscPole(drugie);
    if (angielski.isEmpty() && polski.isEmpty())
        return; // a blank line is no data, so nothing to report
    if (w.Pary.size() >= NajwiecejPar)
        return Pomin(w, PowodZaDuzo, wiersz);
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

bool JestUtf8(const QByteArray& bajty, QString& tekst)
{
    QStringDecoder dekoder(QStringConverter::Utf8);
    tekst = dekoder.decode(bajty);
    return !dekoder.hasError();
}

QString NazwaSeparatora(QChar s)
{
    if (s == QLatin1Char('\t'))
        return QStringLiteral("tabulatorem");
    if (s == QLatin1Char(';'))
        return QStringLiteral("średnikiem");
    if (s == QLatin1Char(','))
        return QStringLiteral("przecinkiem");
    if (s == QLatin1Char('|'))
        return QStringLiteral("kreską pionową");
    if (s == QLatin1Char(' '))
        return QStringLiteral("spacją");
    return QStringLiteral("gwiazdką");
}

// The separator found in the most of the first lines; on a tie the earlier of '*', tab, ';', ','.
QChar WykryjSeparator(const QString& tekst)
{
    const QChar kandydaci[] = {QLatin1Char('*'), QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    int liczby[4] = {0, 0, 0, 0};
    int linie = 0;
    qsizetype poczatek = 0;
    while (poczatek < tekst.size() && linie < 500) {
        qsizetype koniec = poczatek;
        while (koniec < tekst.size() && tekst[koniec] != QLatin1Char('\n') && tekst[koniec] != QLatin1Char('\r'))
            ++koniec;
        const QStringView linia = QStringView(tekst).mid(poczatek, koniec - poczatek);
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

NaglowekAnki CzytajNaglowekAnki(QString& tekst)
{
    NaglowekAnki n;
    static const QHash<QString, QChar> separatory = {
        {QStringLiteral("tab"), QLatin1Char('\t')},      {QStringLiteral("comma"), QLatin1Char(',')},
        {QStringLiteral("semicolon"), QLatin1Char(';')}, {QStringLiteral("pipe"), QLatin1Char('|')},
        {QStringLiteral("space"), QLatin1Char(' ')},     {QStringLiteral("colon"), QLatin1Char(':')},
    };
    qsizetype poczatek = 0;
    while (poczatek < tekst.size() && tekst[poczatek] == QLatin1Char('#')) {
        qsizetype koniec = tekst.indexOf(QLatin1Char('\n'), poczatek);
        if (koniec < 0)
            koniec = tekst.size();
        const QString linia = tekst.mid(poczatek + 1, koniec - poczatek - 1).trimmed();
        const qsizetype dwukropek = linia.indexOf(QLatin1Char(':'));
        const QString klucz = linia.left(dwukropek).trimmed().toLower();
        const QString wartosc = dwukropek < 0 ? QString() : linia.mid(dwukropek + 1).trimmed();
        if (klucz == QLatin1String("separator")) {
            const QString s = wartosc.toLower();
            if (separatory.contains(s))
                n.Separator = separatory.value(s);
            else if (wartosc.size() == 1)
                n.Separator = wartosc[0];
        } else if (klucz == QLatin1String("html")) {
            n.Html = wartosc.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        } else if (klucz.endsWith(QLatin1String(" column"))) {
            bool ok = false;
            const int kolumna = wartosc.toInt(&ok);
            if (ok && kolumna >= 1 && kolumna <= 64)
                n.Pominiete.insert(kolumna - 1);
        }
        // "#columns:" and anything else only describe the notes; the first two fields are taken whatever their names.
        ++n.Linie;
        poczatek = koniec + 1;
    }
    tekst.remove(0, std::min(poczatek, tekst.size()));
    return n;
}

WynikImportu ImportujTekst(const QByteArray& bajty)
{
    WynikImportu w;
    QString tekst;
    QString kodowanie;
    if (JestUtf8(bajty, tekst)) {
        kodowanie = QStringLiteral("UTF-8");
    } else {
        tekst = ZCp1250(bajty);
        kodowanie = QStringLiteral("Windows-1250");
    }
    if (tekst.startsWith(QChar(0xFEFF)))
        tekst.remove(0, 1);

    const NaglowekAnki anki = CzytajNaglowekAnki(tekst);
    QChar separator = anki.Separator.isNull() ? WykryjSeparator(tekst) : anki.Separator;
    if (separator.isNull())
        return Blad(
            QStringLiteral("W pliku nie ma pól rozdzielonych gwiazdką, tabulatorem, średnikiem ani przecinkiem. "
                           "Nie zaimportowano niczego."));
    w.Rodzaj = QStringLiteral("tekst %1, pola rozdzielone %2").arg(kodowanie, NazwaSeparatora(separator));
    if (anki.Linie > 0)
        w.Rodzaj += QStringLiteral(", nagłówek Anki");

    if (separator == QLatin1Char('*')) {
        // This program's own set format: the split at the first '*', no quoting, and the captions on line 1.
        const QList<Rekord> rekordy = PodzielRekordy(tekst, QChar(), false);
        bool naglowek = true;
        for (const Rekord& r : rekordy) {
            const QString& linia = r.Pola.value(0);
            const qsizetype gwiazdka = linia.indexOf(QLatin1Char('*'));
            if (naglowek) {
                naglowek = false;
                if (gwiazdka >= 0) {
                    w.NaglowekWyraz = OczyscPole(linia.left(gwiazdka));
                    w.NaglowekOznacza = OczyscPole(linia.mid(gwiazdka + 1));
                    continue;
                }
            }
            if (gwiazdka < 0) {
                if (!linia.trimmed().isEmpty())
                    Pomin(w, PowodBrakPola, r.Wiersz + anki.Linie);
                continue;
            }
            Dodaj(w, linia.left(gwiazdka), linia.mid(gwiazdka + 1), r.Wiersz + anki.Linie);
        }
        w.Rodzaj += QStringLiteral(", podpisy z pierwszego wiersza");
    } else {
        const QList<Rekord> rekordy = PodzielRekordy(tekst, separator, true);
        for (const Rekord& r : rekordy) {
            QStringList pola;
            for (int k = 0; k < r.Pola.size(); ++k) {
                if (!anki.Pominiete.contains(k))
                    pola << (anki.Html ? TekstHtml(r.Pola[k]) : r.Pola[k]);
            }
            if (pola.size() < 2) {
                if (!pola.value(0).trimmed().isEmpty())
                    Pomin(w, PowodBrakPola, r.Wiersz + anki.Linie);
                continue;
            }
            Dodaj(w, pola[0], pola[1], r.Wiersz + anki.Linie);
        }
    }
    return w;
}

WynikImportu ImportujKvtml(const QByteArray& bajty)
{
    QXmlStreamReader xml(bajty);
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
        QHash<QString, QString> Tlumaczenia;
    };
    QList<Wpis> wpisy;
    QStringList kolejnosc; // translation ids in order of first appearance, when the document lists no identifiers
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
                    if (xml.name() != QLatin1String("translation")) {
                        xml.skipCurrentElement();
                        continue;
                    }
                    const QString id = xml.attributes().value(QLatin1String("id")).toString();
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("text") && !wpis.Tlumaczenia.contains(id)) {
                            wpis.Tlumaczenia.insert(id, xml.readElementText(QXmlStreamReader::IncludeChildElements));
                            if (!kolejnosc.contains(id))
                                kolejnosc << id;
                        } else {
                            xml.skipCurrentElement();
                        }
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
    if (identyfikatory.size() < 2) {
        std::sort(kolejnosc.begin(), kolejnosc.end(), [](const QString& a, const QString& b) {
            return a.toInt() != b.toInt() ? a.toInt() < b.toInt() : a < b;
        });
        identyfikatory = kolejnosc;
    }
    if (identyfikatory.size() < 2)
        return Blad(QStringLiteral("Plik KVTML nie ma słów w dwóch językach. Nie zaimportowano niczego."));

    WynikImportu w;
    w.Rodzaj = QStringLiteral("KVTML 2");
    for (const Wpis& wpis : wpisy) {
        const QString pierwsze = wpis.Tlumaczenia.value(identyfikatory[0]);
        const QString drugie = wpis.Tlumaczenia.value(identyfikatory[1]);
        if (OczyscPole(pierwsze).isEmpty() || OczyscPole(drugie).isEmpty())
            Pomin(w, PowodKvtml, wpis.Wiersz);
        else
            Dodaj(w, pierwsze, drugie, wpis.Wiersz);
    }
    return w;
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

QList<Rekord> PodzielRekordy(const QString& tekst, QChar separator, bool cudzyslowy)
{
    QList<Rekord> rekordy;
    Rekord rekord{1, {}};
    QString pole;
    int wiersz = 1;
    bool poczatekPola = true;
    bool wCudzyslowie = false;
    qsizetype otwarcie = -1; // where the open quoted field began
    qsizetype doslowny = -1; // a quote at this position is an ordinary character (its field never closed)
    int wierszOtwarcia = 0;
    const qsizetype n = tekst.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = tekst[i];
        if (wCudzyslowie) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && tekst[i + 1] == QLatin1Char('"')) {
                    pole += c;
                    ++i;
                } else {
                    wCudzyslowie = false;
                }
            } else {
                if (c == QLatin1Char('\n') ||
                    (c == QLatin1Char('\r') && !(i + 1 < n && tekst[i + 1] == QLatin1Char('\n'))))
                    ++wiersz;
                pole += c;
            }
            // A quote that never closes (or only far beyond any field's length) was an ordinary character.
            if (wCudzyslowie && (i + 1 == n || i - otwarcie > NajdluzszyCytat)) {
                // The quote never closed: read that field again from its quote, taking the quote as a character.
                wCudzyslowie = false;
                doslowny = otwarcie;
                i = otwarcie - 1;
                wiersz = wierszOtwarcia;
                pole.clear();
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
                pole += c;
            }
            continue;
        }
        if (!separator.isNull() && c == separator) {
            rekord.Pola << pole;
            pole.clear();
            poczatekPola = true;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && tekst[i + 1] == QLatin1Char('\n'))
                ++i;
            rekord.Pola << pole;
            rekordy.append(std::move(rekord));
            ++wiersz;
            rekord = Rekord{wiersz, {}};
            pole.clear();
            poczatekPola = true;
            continue;
        }
        // An unquoted run up to the next separator or line end goes in whole.
        qsizetype j = i + 1;
        while (j < n && (separator.isNull() || tekst[j] != separator) && tekst[j] != QLatin1Char('\r') &&
               tekst[j] != QLatin1Char('\n'))
            ++j;
        pole += QStringView(tekst).mid(i, j - i);
        poczatekPola = false;
        i = j - 1;
    }
    if (!pole.isEmpty() || !rekord.Pola.isEmpty()) {
        rekord.Pola << pole;
        rekordy.append(std::move(rekord));
    }
    return rekordy;
}

QString OczyscPole(const QString& pole)
{
    const auto zwykly = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0x20 && u != 0x7F && u != 0x85 && u != 0x2028 && u != 0x2029 && u != 0xFEFF && u != 0x200B;
    };
    if (std::all_of(pole.cbegin(), pole.cend(), zwykly))
        return pole.trimmed();
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

QString TekstHtml(const QString& html)
{
    static const QRegularExpression przerwy(QStringLiteral("<\\s*(br|/p|/div|/li|/tr)\\b[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression znaczniki(QStringLiteral("<[^>]*>"));
    static const QRegularExpression dzwieki(QStringLiteral("\\[sound:[^\\]]*\\]"));
    QString tekst = html;
    tekst.replace(przerwy, QStringLiteral(" "));
    tekst.remove(znaczniki);
    tekst.remove(dzwieki);
    static const QHash<QString, QChar> nazwane = {
        {QStringLiteral("amp"), QLatin1Char('&')},   {QStringLiteral("lt"), QLatin1Char('<')},
        {QStringLiteral("gt"), QLatin1Char('>')},    {QStringLiteral("quot"), QLatin1Char('"')},
        {QStringLiteral("apos"), QLatin1Char('\'')}, {QStringLiteral("nbsp"), QChar(0x00A0)},
        {QStringLiteral("ndash"), QChar(0x2013)},    {QStringLiteral("mdash"), QChar(0x2014)},
        {QStringLiteral("hellip"), QChar(0x2026)},
    };
    QString wynik;
    wynik.reserve(tekst.size());
    for (qsizetype i = 0; i < tekst.size(); ++i) {
        if (tekst[i] != QLatin1Char('&')) {
            wynik += tekst[i];
            continue;
        }
        const qsizetype srednik = tekst.indexOf(QLatin1Char(';'), i + 1);
        if (srednik < 0 || srednik - i > 10) {
            wynik += tekst[i];
            continue;
        }
        const QString nazwa = tekst.mid(i + 1, srednik - i - 1);
        char32_t znak = 0;
        if (nazwa.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint kod = nazwa.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? nazwa.mid(2).toUInt(&ok, 16)
                                                                                        : nazwa.mid(1).toUInt(&ok, 10);
            if (ok && kod > 0 && kod <= 0x10FFFF && !(kod >= 0xD800 && kod <= 0xDFFF))
                znak = kod;
        } else if (nazwane.contains(nazwa)) {
            znak = nazwane.value(nazwa).unicode();
        }
        if (znak == 0) {
            wynik += tekst[i];
            continue;
        }
        wynik += QString::fromUcs4(&znak, 1);
        i = srednik;
    }
    return wynik;
}

WynikImportu ImportujBajty(const QByteArray& wejscie, const QString& nazwaPliku)
{
    QByteArray bajty = wejscie;
    // Windows editors save "Unicode" text as UTF-16 with a byte order mark; it is read as the same text in UTF-8.
    const bool utf16le = bajty.startsWith("\xFF\xFE");
    if (utf16le || bajty.startsWith("\xFE\xFF")) {
        QStringDecoder dekoder(utf16le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString tekst = dekoder.decode(bajty.mid(2));
        if (dekoder.hasError())
            return Blad(QStringLiteral("Plik UTF-16 jest uszkodzony. Nie zaimportowano niczego."));
        bajty = tekst.toUtf8();
    }
    if (bajty.size() > NajwiekszyImport)
        return Blad(
            QStringLiteral("Plik jest większy niż 16 MiB – to nie jest lista słów. Nie zaimportowano niczego."));
    if (bajty.trimmed().isEmpty())
        return Blad(QStringLiteral("Plik jest pusty. Nie zaimportowano niczego."));
    // Text never holds a zero byte, and hardly any other control byte: this is a picture, an archive, a program.
    qsizetype sterujace = 0;
    for (const char b : bajty) {
        const auto u = static_cast<unsigned char>(b);
        if (u == 0)
            return Blad(
                QStringLiteral("Plik zawiera bajty zerowe – to nie jest plik tekstowy. Nie zaimportowano niczego."));
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n' && u != '\f')
            ++sterujace;
    }
    if (sterujace * 100 > bajty.size())
        return Blad(QStringLiteral("To nie jest plik tekstowy. Nie zaimportowano niczego."));

    QByteArray poczatek = bajty.left(256);
    if (poczatek.startsWith("\xEF\xBB\xBF"))
        poczatek.remove(0, 3);
    const bool xml =
        poczatek.trimmed().startsWith('<') || nazwaPliku.endsWith(QLatin1String(".kvtml"), Qt::CaseInsensitive);
    WynikImportu w = xml ? ImportujKvtml(bajty) : ImportujTekst(bajty);
    if (utf16le || wejscie.startsWith("\xFE\xFF"))
        w.Rodzaj.replace(QStringLiteral("UTF-8"), QStringLiteral("UTF-16"));
    if (!w.Blad.isEmpty())
        return w;
    if (w.Pary.isEmpty()) {
        QString tekst = QStringLiteral("W pliku nie znaleziono żadnej pary słów. Nie zaimportowano niczego.");
        if (w.Pominiete > 0)
            tekst += QLatin1Char(' ') + w.Podsumowanie();
        w.Blad = tekst;
        return w;
    }
    w.Ok = true;
    return w;
}

WynikImportu ImportujPlik(const QString& sciezka)
{
    const QFileInfo info(sciezka);
    if (!info.exists())
        return Blad(QStringLiteral("Nie ma pliku „%1”.").arg(info.fileName()));
    // A folder, a device or a pipe could be endless or block: only regular files are read.
    if (!info.isFile())
        return Blad(QStringLiteral("„%1” nie jest zwykłym plikiem. Nie zaimportowano niczego.").arg(info.fileName()));
    if (info.size() > NajwiekszyImport)
        return Blad(
            QStringLiteral("Plik jest większy niż 16 MiB – to nie jest lista słów. Nie zaimportowano niczego."));
    QFile plik(sciezka);
    if (!plik.open(QIODevice::ReadOnly))
        return Blad(QStringLiteral("Nie można otworzyć pliku „%1”. Nie zaimportowano niczego.").arg(info.fileName()));
    // One byte past the cap tells a file that grew after the size was checked.
    const QByteArray bajty = plik.read(NajwiekszyImport + 1);
    if (plik.error() != QFileDevice::NoError)
        return Blad(QStringLiteral("Nie można odczytać pliku „%1”. Nie zaimportowano niczego.").arg(info.fileName()));
    return ImportujBajty(bajty, info.fileName());
}

} // namespace vokara
