// Own sets on disk: the own list and set files written atomically, the checks before saving, export.
#include "zbior.h"

#include "kodowanie.h"
#include "tekst.h"
#include "zapis.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstring>

namespace vokara {

namespace {

// The own list's header: it is never compared with anything, it only keeps the list format's first line.
constexpr const char* NaglowekMoich = "Moje zestawy*1\r\n";

QString Sciezka(const std::filesystem::path& katalogRoboczy, const QString& plik)
{
    return QString::fromStdString((katalogRoboczy / "dane").string()) + QLatin1Char('/') + plik;
}

// The first character of a text that has no Windows-1250 byte, as text; empty when every character has one.
QString ZnakBezCp1250(const QString& tekst)
{
    for (qsizetype i = 0; i < tekst.size(); ++i) {
        if (BajtCp1250(char32_t(tekst[i].unicode())) >= 0)
            continue;
        if (tekst[i].isHighSurrogate() && i + 1 < tekst.size())
            return tekst.mid(i, 2);
        return tekst.mid(i, 1);
    }
    return QString();
}

// Polish plural after a number: 1 bajt, 2-4 bajty (but 12-14 bajtów), 5 and more bajtów.
QString Liczebnik(int n, const char* jeden, const char* kilka, const char* wiele)
{
    const int jednosci = n % 10;
    const int dziesiatki = n % 100;
    const bool kilku = jednosci >= 2 && jednosci <= 4 && !(dziesiatki >= 12 && dziesiatki <= 14);
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? jeden : kilku ? kilka : wiele);
}

// Whether a field of the set is longer than a set file keeps: such a set is never written in that format.
bool ZaDlugie(const WlasnyZestaw& z)
{
    if (BajtyPola(z.NaglowekWyraz) > NajwiecejBajtowPola || BajtyPola(z.NaglowekOznacza) > NajwiecejBajtowPola)
        return true;
    return std::any_of(z.Pary.cbegin(), z.Pary.cend(), [](const Para& p) {
        return BajtyPola(p.Angielski) > NajwiecejBajtowPola || BajtyPola(p.Polski) > NajwiecejBajtowPola;
    });
}

const QString BladDlugosci = QStringLiteral("Zestaw ma pola dłuższe niż %1 bajtów, a plik zestawu by je uciął, więc "
                                            "nic nie zapisano.")
                                 .arg(NajwiecejBajtowPola);

bool Zapisz(const QString& sciezka, const QByteArray& bajty, QString& blad)
{
    BladZapisu przyczyna = BladZapisu::Brak;
    if (ZapiszPlik(sciezka, bajty, &przyczyna))
        return true;
    blad = OpisBleduZapisu(przyczyna);
    return false;
}

// The set's lines in the set format; false when a text has no Windows-1250 form (the checks refuse that first).
bool BajtyZestawu(const WlasnyZestaw& z, QByteArray& wynik)
{
    std::string bajty;
    bajty.reserve(std::size_t(z.Pary.size()) * 24 + 64);
    const auto dopisz = [&bajty](const QString& a, const QString& b) {
        const auto pierwsze = DoCp1250(a);
        const auto drugie = DoCp1250(b);
        if (!pierwsze || !drugie)
            return false;
        bajty += *pierwsze;
        bajty += '*';
        bajty += *drugie;
        bajty += "\r\n";
        return true;
    };
    if (!dopisz(z.NaglowekWyraz.trimmed(), z.NaglowekOznacza.trimmed()))
        return false;
    for (const Para& p : z.Pary) {
        const QString a = p.Angielski.trimmed();
        const QString b = p.Polski.trimmed();
        if (a.isEmpty() && b.isEmpty())
            continue; // empty rows are dropped
        if (!dopisz(a, b))
            return false;
    }
    wynik = QByteArray::fromStdString(bajty);
    return true;
}

// The own list as its lines stand in the file: every line is kept as it is, so a set the readers leave out for the
// moment (its file missing, a bound reached) is never dropped by a save of another set. False when a list that is
// there cannot be read: nothing may then be written over it.
bool LinieListy(const std::filesystem::path& katalogRoboczy, std::vector<std::string>& linie)
{
    const std::filesystem::path sciezka = katalogRoboczy / "dane" / PlikMoichZestawow;
    std::error_code blad;
    if (!std::filesystem::exists(sciezka, blad) && !blad) {
        linie.clear();
        return true;
    }
    try {
        return JestPlikiem(sciezka) && WczytajLinie(sciezka, linie);
    } catch (const std::exception&) {
        return false;
    }
}

bool ZapiszListe(const std::filesystem::path& katalogRoboczy, const std::vector<std::string>& linie, QString& blad)
{
    std::string bajty = linie.empty() ? std::string(NaglowekMoich) : linie.front() + "\r\n";
    for (std::size_t i = 1; i < linie.size(); ++i) {
        if (!linie[i].empty())
            bajty += linie[i] + "\r\n";
    }
    return Zapisz(Sciezka(katalogRoboczy, QString::fromLatin1(PlikMoichZestawow)), QByteArray::fromStdString(bajty),
                  blad);
}

// Whether a line of the own list names this set file.
bool NazywaPlik(const std::string& linia, const std::string& plik)
{
    std::string nazwa;
    std::string plikLinii;
    return Rozdziel(linia, nazwa, plikLinii) && plikLinii == plik;
}

const QString ListaNieczytelna =
    QStringLiteral("Nie można odczytać listy własnych zestawów (dane/a_moje.txt), więc nic nie zapisano.");

} // namespace

int BajtyPola(const QString& pole)
{
    return int(pole.trimmed().size()); // a character with no Windows-1250 byte is refused before its size matters
}

QString OpisDlugosci(int bajty)
{
    return QStringLiteral("%1 – plik zestawu mieści najwyżej %2")
        .arg(Liczebnik(bajty, "bajt", "bajty", "bajtów"))
        .arg(NajwiecejBajtowPola);
}

_zestawy ListaMoich(const std::filesystem::path& katalogRoboczy)
{
    Dane d;
    d.KatalogRoboczy = katalogRoboczy;
    WczytajMoje(d);
    return d.Zestawy;
}

bool WczytajWlasny(const std::filesystem::path& katalogRoboczy, const std::string& plik, WlasnyZestaw& zestaw)
{
    // Through the program's own readers, so a set reads here exactly as the exercise pages read it.
    Dane d;
    d.KatalogRoboczy = katalogRoboczy;
    d.Zestawy.push_back({std::string(), plik});
    Zestaw z;
    if (!WczytajPlikZestawu(d, 0, z))
        return false;
    zestaw.NaglowekWyraz = ZCp1250(z.NaglowekWyraz);
    zestaw.NaglowekOznacza = ZCp1250(z.NaglowekOznacza);
    zestaw.Pary.clear();
    zestaw.Pary.reserve(qsizetype(z.Wyrazy.size()));
    for (const _word& w : z.Wyrazy)
        zestaw.Pary.append({ZCp1250(w.Angielski), ZCp1250(w.Polski)});
    // The readers cut a meaning at the bound; a file written by hand (or by an older editor) may hold more. The editor
    // shows such a meaning whole, marked, so that saving cannot cut it without a word. Only a meaning that reads as
    // long as the bound can have been cut, so only then is the file read again.
    const bool mogloByc = std::any_of(z.Wyrazy.cbegin(), z.Wyrazy.cend(),
                                      [](const _word& w) { return w.Polski.size() == NajdluzszeZnaczenie; });
    std::vector<std::string> linie;
    bool przeczytane = false;
    try {
        przeczytane = mogloByc && WczytajLinie(d.SciezkaDanych(plik), linie);
    } catch (const std::exception&) {
        przeczytane = false;
    }
    if (przeczytane) {
        qsizetype wpis = 0;
        for (std::size_t i = 1; i < linie.size() && wpis < zestaw.Pary.size(); ++i) {
            if (linie[i].empty())
                continue; // the readers skip empty lines too, so the entries stay in step
            const auto gwiazdka = linie[i].find('*');
            if (gwiazdka != std::string::npos && linie[i].size() - gwiazdka - 1 > NajdluzszeZnaczenie)
                zestaw.Pary[wpis].Polski = ZCp1250(linie[i].substr(gwiazdka + 1));
            ++wpis;
        }
    }
    return true;
}

QString NazwaPliku(const std::filesystem::path& katalogRoboczy, const QString& nazwa)
{
    static const QHash<QChar, char> polskie = {
        {QChar(u'ą'), 'a'}, {QChar(u'ć'), 'c'}, {QChar(u'ę'), 'e'}, {QChar(u'ł'), 'l'}, {QChar(u'ń'), 'n'},
        {QChar(u'ó'), 'o'}, {QChar(u'ś'), 's'}, {QChar(u'ź'), 'z'}, {QChar(u'ż'), 'z'}, {QChar(u'Ą'), 'A'},
        {QChar(u'Ć'), 'C'}, {QChar(u'Ę'), 'E'}, {QChar(u'Ł'), 'L'}, {QChar(u'Ń'), 'N'}, {QChar(u'Ó'), 'O'},
        {QChar(u'Ś'), 'S'}, {QChar(u'Ź'), 'Z'}, {QChar(u'Ż'), 'Z'},
    };
    std::string rdzen;
    // Other accented letters lose their marks the same way (é to e); what is left that is not a plain letter or
    // digit becomes '_', so no name can hold a separator, a dot or anything else a path could use.
    for (const QChar z : nazwa.normalized(QString::NormalizationForm_D)) {
        if (z.category() == QChar::Mark_NonSpacing)
            continue;
        const QChar zz = z;
        if (polskie.contains(zz))
            rdzen += polskie.value(zz);
        else if (zz.unicode() < 128 && zz.isLetterOrNumber())
            rdzen += char(zz.unicode());
        else
            rdzen += '_';
        if (rdzen.size() >= 60)
            break;
    }
    // NFD leaves ł and Ł whole, so the table above still sees them.
    rdzen = MaleLitery(rdzen);
    if (rdzen.find_first_not_of('_') == std::string::npos)
        rdzen = "zestaw";
    const _zestawy moje = ListaMoich(katalogRoboczy);
    for (int numer = 1;; ++numer) {
        const std::string plik = "moje_" + rdzen + (numer == 1 ? std::string() : "_" + std::to_string(numer)) + ".txt";
        bool zajety = QFile::exists(Sciezka(katalogRoboczy, QString::fromStdString(plik)));
        for (const _zestaw& z : moje)
            zajety = zajety || MaleLitery(z.Plik) == plik;
        if (!zajety)
            return QString::fromStdString(plik);
    }
}

QList<UwagiWiersza> SprawdzPary(const QList<Para>& pary)
{
    QList<UwagiWiersza> uwagi(pary.size());
    QHash<QString, int> pierwszeWystapienie;
    for (qsizetype w = 0; w < pary.size(); ++w) {
        const QString pola[2] = {pary[w].Angielski.trimmed(), pary[w].Polski.trimmed()};
        if (pola[0].isEmpty() && pola[1].isEmpty())
            continue; // dropped on saving
        for (int k = 0; k < 2; ++k) {
            Uwaga& u = uwagi[w].Pole[k];
            const QString znak = ZnakBezCp1250(pola[k]);
            if (!znak.isEmpty()) {
                u = {QStringLiteral("znak „%1” nie ma odpowiednika w kodowaniu Windows-1250").arg(znak), true};
            } else if (pola[k].contains(QLatin1Char('*'))) {
                u = {QStringLiteral("gwiazdka „*” rozdziela pola w pliku zestawu i nie może być w polu"), true};
            } else if (pola[k].isEmpty()) {
                u = {k == 0 ? QStringLiteral("brak słowa angielskiego") : QStringLiteral("brak polskiego znaczenia"),
                     true};
            } else if (const int bajty = BajtyPola(pola[k]); bajty > NajwiecejBajtowPola) {
                u = {OpisDlugosci(bajty), true, bajty};
            }
        }
        if (!pola[0].isEmpty() && !uwagi[w].Pole[0].Blokuje) {
            const auto miejsce = pierwszeWystapienie.constFind(pola[0]);
            if (miejsce == pierwszeWystapienie.cend())
                pierwszeWystapienie.insert(pola[0], int(w));
            else if (uwagi[w].Pole[0].Tekst.isEmpty())
                uwagi[w].Pole[0] = {QStringLiteral("to samo słowo jest już w wierszu %1").arg(*miejsce + 1), false};
        }
    }
    return uwagi;
}

QString SprawdzNaglowek(const QString& naglowek)
{
    const QString znak = ZnakBezCp1250(naglowek);
    if (!znak.isEmpty())
        return QStringLiteral("znak „%1” nie ma odpowiednika w kodowaniu Windows-1250").arg(znak);
    if (naglowek.contains(QLatin1Char('*')))
        return QStringLiteral("gwiazdka „*” nie może być w podpisie");
    if (const int bajty = BajtyPola(naglowek); bajty > NajwiecejBajtowPola)
        return OpisDlugosci(bajty);
    return QString();
}

QString SprawdzNazwe(const QString& nazwa, const QStringList& inneNazwy)
{
    const QString n = nazwa.trimmed();
    if (n.isEmpty())
        return QStringLiteral("zestaw musi mieć nazwę");
    if (const QString blad = SprawdzNaglowek(n); !blad.isEmpty())
        return blad;
    for (const QChar z : n) {
        if (z.unicode() < 0x20)
            return QStringLiteral("nazwa nie może zawierać znaków sterujących");
    }
    if (inneNazwy.contains(n, Qt::CaseInsensitive))
        return QStringLiteral("zestaw o tej nazwie już jest");
    return QString();
}

namespace {

// Every row with a field too long, named in one notice short enough for the message box: the cells themselves show
// each field's size.
QString ZaDlugieWiersze(const QList<UwagiWiersza>& uwagi)
{
    constexpr int Wymienione = 10;
    QStringList wiersze;
    int wszystkie = 0;
    for (qsizetype w = 0; w < uwagi.size(); ++w) {
        if (uwagi[w].Pole[0].Bajty == 0 && uwagi[w].Pole[1].Bajty == 0)
            continue;
        if (++wszystkie <= Wymienione)
            wiersze << QString::number(w + 1);
    }
    const QString ile = wszystkie > Wymienione ? wiersze.join(QStringLiteral(", ")) + QStringLiteral(" i ") +
                                                     Liczebnik(wszystkie - Wymienione, "inny", "inne", "innych")
                        : wiersze.size() > 1 ? wiersze.mid(0, wiersze.size() - 1).join(QStringLiteral(", ")) +
                                                   QStringLiteral(" i ") + wiersze.last()
                                             : wiersze.value(0);
    return QStringLiteral("%1 %2: plik zestawu mieści najwyżej %3 bajtów w polu – skróć je.")
        .arg(wszystkie == 1 ? QStringLiteral("Za długie pole w wierszu") : QStringLiteral("Za długie pola w wierszach"),
             ile)
        .arg(NajwiecejBajtowPola);
}

} // namespace

QString PierwszyBlad(const WlasnyZestaw& zestaw, const QStringList& inneNazwy, int* wiersz)
{
    if (wiersz)
        *wiersz = -1;
    if (const QString b = SprawdzNazwe(zestaw.Nazwa, inneNazwy); !b.isEmpty())
        return QStringLiteral("Nazwa zestawu: %1.").arg(b);
    if (const QString b = SprawdzNaglowek(zestaw.NaglowekWyraz); !b.isEmpty())
        return QStringLiteral("Podpis nad słowem: %1.").arg(b);
    if (const QString b = SprawdzNaglowek(zestaw.NaglowekOznacza); !b.isEmpty())
        return QStringLiteral("Podpis nad odpowiedziami: %1.").arg(b);
    const QList<UwagiWiersza> uwagi = SprawdzPary(zestaw.Pary);
    for (qsizetype w = 0; w < uwagi.size(); ++w) {
        for (int k = 0; k < 2; ++k) {
            if (uwagi[w].Pole[k].Blokuje) {
                if (wiersz)
                    *wiersz = int(w);
                if (uwagi[w].Pole[k].Bajty > 0)
                    return ZaDlugieWiersze(uwagi);
                return QStringLiteral("Wiersz %1, pole „%2”: %3.")
                    .arg(w + 1)
                    .arg(k == 0 ? QStringLiteral("Angielski") : QStringLiteral("Polski"), uwagi[w].Pole[k].Tekst);
            }
        }
    }
    return QString();
}

bool ZapiszWlasny(const std::filesystem::path& katalogRoboczy, WlasnyZestaw& zestaw, QString& blad)
{
    const auto nazwa = DoCp1250(zestaw.Nazwa.trimmed());
    QByteArray bajty;
    if (!nazwa || nazwa->find('*') != std::string::npos || !BajtyZestawu(zestaw, bajty)) {
        blad = QStringLiteral("Zestaw zawiera znaki, których nie można zapisać w kodowaniu Windows-1250.");
        return false;
    }
    if (ZaDlugie(zestaw)) {
        blad = BladDlugosci;
        return false;
    }
    std::vector<std::string> linie;
    if (!LinieListy(katalogRoboczy, linie)) {
        blad = ListaNieczytelna;
        return false;
    }
    if (linie.empty())
        linie.push_back(std::string(NaglowekMoich, std::strlen(NaglowekMoich) - 2));
    QString plik = zestaw.Plik;
    if (plik.isEmpty() || !JestPlikiemMoim(plik.toStdString()))
        plik = NazwaPliku(katalogRoboczy, zestaw.Nazwa);
    const std::string plikBajty = plik.toStdString();
    const std::string linia = *nazwa + '*' + plikBajty;
    const auto jest = std::find_if(linie.begin() + 1, linie.end(),
                                   [&plikBajty](const std::string& l) { return NazywaPlik(l, plikBajty); });
    if (jest == linie.end()) {
        // The readers list no more own sets than this: one more would be saved and never shown.
        const auto zestawy =
            std::count_if(linie.begin() + 1, linie.end(), [](const std::string& l) { return !l.empty(); });
        if (std::size_t(zestawy) >= NajwiecejZestawow) {
            blad = QStringLiteral("Można mieć najwyżej %L1 własnych zestawów. Usuń któryś, by zapisać nowy.")
                       .arg(qulonglong(NajwiecejZestawow));
            return false;
        }
    }
    const QString sciezka = Sciezka(katalogRoboczy, plik);
    // What the set file held before, to put back should the list fail after it (a renamed set stays whole).
    QByteArray poprzednie;
    const bool nowy = !QFile::exists(sciezka);
    if (!nowy && jest != linie.end() && *jest != linia) {
        QFile stary(sciezka);
        if (stary.open(QIODevice::ReadOnly))
            poprzednie = stary.readAll();
    }
    // The set file first: a list naming a file that is not there yet would only hide the set, never lose it.
    if (!Zapisz(sciezka, bajty, blad))
        return false;
    if (jest == linie.end() || *jest != linia) {
        if (jest == linie.end())
            linie.push_back(linia);
        else
            *jest = linia;
        if (!ZapiszListe(katalogRoboczy, linie, blad)) {
            // All or nothing: a new file goes again, a re-saved one gets its old text back.
            if (nowy) {
                QFile::remove(sciezka);
            } else if (!poprzednie.isEmpty()) {
                QString pomijany;
                Zapisz(sciezka, poprzednie, pomijany);
            }
            return false;
        }
    }
    zestaw.Plik = plik;
    return true;
}

bool UsunWlasny(const std::filesystem::path& katalogRoboczy, const QString& plik, QString& blad)
{
    std::vector<std::string> linie;
    if (!LinieListy(katalogRoboczy, linie)) {
        blad = ListaNieczytelna;
        return false;
    }
    if (!linie.empty()) {
        const std::string p = plik.toStdString();
        linie.erase(
            std::remove_if(linie.begin() + 1, linie.end(), [&p](const std::string& l) { return NazywaPlik(l, p); }),
            linie.end());
    }
    if (!ZapiszListe(katalogRoboczy, linie, blad))
        return false;
    if (JestPlikiemMoim(plik.toStdString()))
        QFile::remove(Sciezka(katalogRoboczy, plik));
    return true;
}

bool EksportujTsv(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad)
{
    // A field holding a quote, a tab or a line break is quoted as RFC 4180 says; Anki reads that back.
    const auto pole = [](const QString& t) {
        if (!t.contains(QLatin1Char('"')) && !t.contains(QLatin1Char('\t')) && !t.contains(QLatin1Char('\n')))
            return t;
        QString wynik = t;
        wynik.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + wynik + QLatin1Char('"');
    };
    QString tekst;
    tekst.reserve(zestaw.Pary.size() * 24);
    for (const Para& p : zestaw.Pary) {
        const QString a = p.Angielski.trimmed();
        const QString b = p.Polski.trimmed();
        if (a.isEmpty() && b.isEmpty())
            continue;
        tekst += pole(a) + QLatin1Char('\t') + pole(b) + QLatin1Char('\n');
    }
    return Zapisz(sciezka, tekst.toUtf8(), blad);
}

bool EksportujKvtml(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad)
{
    QByteArray bajty;
    QXmlStreamWriter xml(&bajty);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral(R"(<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">)"));
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Vokara"));
    xml.writeTextElement(QStringLiteral("title"), zestaw.Nazwa.trimmed());
    xml.writeEndElement();
    // The first identifier is the word, the second its meaning: the order the peers (and our import) read them in.
    xml.writeStartElement(QStringLiteral("identifiers"));
    const struct {
        const char* Nazwa;
        const char* Kod;
    } jezyki[] = {{"English", "en"}, {"Polish", "pl"}};
    for (int i = 0; i < 2; ++i) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        xml.writeTextElement(QStringLiteral("name"), QString::fromLatin1(jezyki[i].Nazwa));
        xml.writeTextElement(QStringLiteral("locale"), QString::fromLatin1(jezyki[i].Kod));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("entries"));
    int wpisy = 0;
    for (const Para& p : zestaw.Pary) {
        const QString teksty[2] = {p.Angielski.trimmed(), p.Polski.trimmed()};
        if (teksty[0].isEmpty() && teksty[1].isEmpty())
            continue;
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(wpisy++));
        for (int i = 0; i < 2; ++i) {
            xml.writeStartElement(QStringLiteral("translation"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(i));
            xml.writeTextElement(QStringLiteral("text"), teksty[i]);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    // Every entry in one lesson: the peers show entries by lesson.
    xml.writeStartElement(QStringLiteral("lessons"));
    xml.writeStartElement(QStringLiteral("container"));
    xml.writeTextElement(QStringLiteral("name"), zestaw.Nazwa.trimmed());
    xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
    for (int i = 0; i < wpisy; ++i) {
        xml.writeEmptyElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) {
        blad = QStringLiteral("Nie można utworzyć pliku KVTML.");
        return false;
    }
    return Zapisz(sciezka, bajty, blad);
}

bool EksportujZestaw(const QString& sciezka, const WlasnyZestaw& zestaw, QString& blad)
{
    if (ZaDlugie(zestaw)) {
        blad = BladDlugosci;
        return false;
    }
    QByteArray bajty;
    if (!BajtyZestawu(zestaw, bajty)) {
        blad = QStringLiteral("Zestaw zawiera znaki, których nie można zapisać w kodowaniu Windows-1250.");
        return false;
    }
    return Zapisz(sciezka, bajty, blad);
}

} // namespace vokara
