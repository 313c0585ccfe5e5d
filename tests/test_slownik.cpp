// The built-in dictionary on the installed FreeDict files: look-ups both ways, IPA from eng-pol and espeak-ng, damaged
// copies of the files, and a subtitle file turned into a word list.
#include "dictd.h"
#include "hasla.h"
#include "odmiana.h"
#include "slowa.h"
#include "slownik.h"
#include "wymowa.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <zlib.h>

using namespace vokara;

namespace {

const QStringList Pliki = {"freedict-eng-pol.index", "freedict-eng-pol.dict.dz", "freedict-pol-eng.index",
                           "freedict-pol-eng.dict.dz"};

QString Zrodla()
{
    return QString::fromStdString(FolderSlownikow());
}

bool Zainstalowane()
{
    for (const QString& p : Pliki) {
        if (!QFile::exists(Zrodla() + "/" + p))
            return false;
    }
    return true;
}

QByteArray Wczytaj(const QString& sciezka)
{
    QFile f(sciezka);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(sciezka));
    return f.readAll();
}

void Zapisz(const QString& sciezka, const QByteArray& bajty)
{
    QFile f(sciezka);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bajty) != bajty.size())
        qFatal("cannot write %s", qPrintable(sciezka));
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// Groups as "rzecz. a, b | c (note) {form}": synonyms of a sense joined by commas, senses by bars.
QString Grupy(const std::vector<Grupa>& grupy)
{
    QStringList wynik;
    for (const auto& g : grupy) {
        QString t = QString(SkrotCzesci(g.Rodzaj)) + " ";
        for (std::size_t i = 0; i < g.Znaczenia.size(); ++i) {
            const auto& z = g.Znaczenia[i];
            if (i > 0)
                t += z.Zmysl == g.Znaczenia[i - 1].Zmysl ? ", " : " | ";
            t += Q(z.Tekst);
            if (!z.Dopisek.empty())
                t += " (" + Q(z.Dopisek) + ")";
            if (!z.Forma.empty())
                t += " {" + Q(z.Forma) + "}";
        }
        wynik << t;
    }
    return wynik.join("; ");
}

// A dictzip file of `tekst` in chunks of `dlugosc` bytes, each compressed on its own, as dictzip writes them.
std::string Dictzip(const std::string& tekst, unsigned dlugosc)
{
    std::vector<std::string> kawalki;
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    for (std::size_t od = 0; od < tekst.size(); od += dlugosc) {
        std::string wejscie = tekst.substr(od, dlugosc);
        std::string wyjscie(wejscie.size() + 64, '\0');
        z.next_in = reinterpret_cast<Bytef*>(wejscie.data());
        z.avail_in = uInt(wejscie.size());
        z.next_out = reinterpret_cast<Bytef*>(wyjscie.data());
        z.avail_out = uInt(wyjscie.size());
        deflate(&z, od + dlugosc >= tekst.size() ? Z_FINISH : Z_FULL_FLUSH);
        wyjscie.resize(wyjscie.size() - z.avail_out);
        kawalki.push_back(wyjscie);
    }
    deflateEnd(&z);
    const auto le16 = [](std::string& s, std::size_t v) {
        s += char(v & 0xFF);
        s += char((v >> 8) & 0xFF);
    };
    std::string b("\x1f\x8b\x08\x04\0\0\0\0\0\x03", 10);
    le16(b, 10 + 2 * kawalki.size());
    b += "RA";
    le16(b, 6 + 2 * kawalki.size());
    le16(b, 1);
    le16(b, dlugosc);
    le16(b, kawalki.size());
    for (const auto& k : kawalki)
        le16(b, k.size());
    for (const auto& k : kawalki)
        b += k;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(tekst.data()), uInt(tekst.size()));
    for (int i = 0; i < 4; ++i)
        b += char((crc >> (8 * i)) & 0xFF);
    for (int i = 0; i < 4; ++i)
        b += char((tekst.size() >> (8 * i)) & 0xFF);
    return b;
}

QStringList Znaczenia(const Wynik& w, std::size_t ile)
{
    QStringList wynik;
    for (const auto& z : w.Znaczenia(ile))
        wynik << Q(z);
    return wynik;
}

} // namespace

class TestSlownik : public QObject {
    Q_OBJECT

    std::unique_ptr<Slownik> slownik;

private slots:
    void initTestCase()
    {
        if (Zainstalowane())
            slownik = std::make_unique<Slownik>(FolderSlownikow());
    }

    void init()
    {
        const QByteArray nazwa = QTest::currentTestFunction();
        static const QByteArrayList bezSlownika = {"styl",   "brak",  "dictzip", "angPol",
                                                   "polAng", "formy", "wyrazy",  "dictzipWlasny"};
        if (!slownik && !bezSlownika.contains(nazwa))
            QSKIP("the FreeDict dictionaries are not installed (dict-freedict-eng-pol, dict-freedict-pol-eng)");
    }

    // English rows go through eng-pol and the reversed pol-eng, Polish rows through pol-eng; the meaning must be the
    // first one, or (for the second of a sense's synonyms) among the first two.
    void szukaj_data()
    {
        QTest::addColumn<QString>("slowo");
        QTest::addColumn<bool>("polskie");
        QTest::addColumn<QString>("haslo");
        QTest::addColumn<QString>("znaczenie");
        QTest::addColumn<int>("wsrod");
        QTest::newRow("umbrella") << "umbrella" << false << "umbrella"
                                  << "parasol" << 1;
        QTest::newRow("house, first sense") << "house" << false << "house"
                                            << "budynek" << 1;
        QTest::newRow("house, its synonym") << "house" << false << "house"
                                            << "dom" << 2;
        QTest::newRow("tired") << "tired" << false << "tired"
                               << "zmęczony" << 1;
        QTest::newRow("spoon") << "spoon" << false << "spoon"
                               << "łyżka" << 1;
        QTest::newRow("dog: eng-pol before noisy glosses") << "dog" << false << "dog"
                                                           << "pies" << 1;
        QTest::newRow("knife: only pol-eng has it") << "knife" << false << "knife"
                                                    << "nóż" << 1;
        QTest::newRow("night: only pol-eng has it") << "night" << false << "night"
                                                    << "noc" << 1;
        QTest::newRow("-ves plural, capitals") << "Knives" << false << "knife"
                                               << "nóż" << 1;
        QTest::newRow("plural -s") << "houses" << false << "house"
                                   << "budynek" << 1;
        QTest::newRow("-ied past") << "tried" << false << "try"
                                   << "próbować" << 1;
        QTest::newRow("irregular plural") << "children" << false << "child"
                                          << "dziecko" << 1;
        QTest::newRow("irregular past") << "went" << false << "go"
                                        << "iść" << 1;
        QTest::newRow("doubled consonant") << "stopped" << false << "stop"
                                           << "przestawać" << 1;
        QTest::newRow("possessive") << "umbrella's" << false << "umbrella"
                                    << "parasol" << 1;
        QTest::newRow("phrase under its word") << "set up" << false << "set up"
                                               << "przygotowywać" << 1;
        QTest::newRow("łyżka: the sense eng-pol agrees with first") << "łyżka" << true << "łyżka"
                                                                    << "spoon" << 1;
        QTest::newRow("Polish capitals folded") << "ŁYŻKA" << true << "łyżka"
                                                << "spoon" << 1;
        QTest::newRow("nóż") << "nóż" << true << "nóż"
                             << "knife" << 1;
        QTest::newRow("pies") << "pies" << true << "pies"
                              << "dog" << 1;
    }

    void szukaj()
    {
        QFETCH(QString, slowo);
        QFETCH(bool, polskie);
        QFETCH(QString, haslo);
        QFETCH(QString, znaczenie);
        QFETCH(int, wsrod);
        const std::string s = slowo.toStdString();
        const Wynik w = polskie ? slownik->SzukajPolskie(s) : slownik->SzukajAngielskie(s);
        QCOMPARE(Q(w.Haslo), haslo);
        QVERIFY2(Znaczenia(w, std::size_t(wsrod)).contains(znaczenie), qPrintable(Znaczenia(w, 6).join(", ")));
        // Szukaj finds it too, whichever language the text is in ("pies" is English "pie" as well).
        const auto wyniki = slownik->Szukaj(s);
        QVERIFY(std::any_of(wyniki.begin(), wyniki.end(), [&](const Wynik& x) {
            return x.JezykHasla == (polskie ? Jezyk::Polski : Jezyk::Angielski) && Q(x.Haslo) == haslo;
        }));
    }

    void wynikUporzadkowany()
    {
        const Wynik house = slownik->SzukajAngielskie("house");
        QCOMPARE(house.Grupy.front().Rodzaj, Czesc::Rzeczownik);
        QCOMPARE(QString(SkrotCzesci(house.Grupy.front().Rodzaj)), QStringLiteral("rzecz."));
        const auto& budynek = house.Grupy.front().Znaczenia.at(0);
        QCOMPARE(house.Grupy.front().Znaczenia.at(1).Zmysl, budynek.Zmysl); // "budynek, dom": one sense
        bool czasownik = false;
        for (const auto& g : house.Grupy)
            czasownik = czasownik || (g.Rodzaj == Czesc::Czasownik && !g.Znaczenia.empty());
        QVERIFY(czasownik);
        // Codes and labels never reach the texts: "be housed (be V: :housed)", "[form]  [parlamentu]  izba".
        bool wyrazenie = false;
        for (const auto& w : house.Wyrazenia)
            wyrazenie = wyrazenie || (w.Haslo == "be housed" && w.Znaczenia.at(0).Tekst == "mieszkać");
        QVERIFY(wyrazenie);
        for (const auto& g : house.Grupy) {
            for (const auto& z : g.Znaczenia) {
                for (const char* kod : {"[", "]", ":", "form"})
                    QVERIFY2(z.Tekst.find(kod) == std::string::npos && z.Dopisek.find(kod) == std::string::npos,
                             z.Tekst.c_str());
            }
        }
        QCOMPARE(slownik->SzukajAngielskie("qwzxv").Pusty(), true);
        QCOMPARE(slownik->SzukajPolskie("").Pusty(), true);
    }

    void ipa_data()
    {
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("ipa");
        QTest::newRow("eng-pol") << "umbrella"
                                 << "/ʌmˈbrələ/";
        QTest::newRow("eng-pol, capitals") << "Tired"
                                           << "/ˈtaɪəd/";
        QTest::newRow("espeak-ng: eng-pol lacks the word") << "knife"
                                                           << "/naɪf/";
        QTest::newRow("espeak-ng: eng-pol lacks the transcription") << "house"
                                                                    << "/haʊs/";
        QTest::newRow("phrase of both") << "umbrella knife"
                                        << "/ʌmˈbrələ naɪf/";
        QTest::newRow("nothing to say") << "123"
                                        << "";
    }

    void ipa()
    {
        QFETCH(QString, tekst);
        QFETCH(QString, ipa);
        QCOMPARE(Q(slownik->Ipa(tekst.toStdString())), ipa);
    }

    void ipaWyniku()
    {
        const Wynik umbrella = slownik->SzukajAngielskie("umbrellas");
        QCOMPARE(Q(umbrella.Ipa), QStringLiteral("/ʌmˈbrələ/"));
        QVERIFY(umbrella.IpaZeSlownika);
        const Wynik knife = slownik->SzukajAngielskie("knife");
        QCOMPARE(Q(knife.Ipa), QStringLiteral("/naɪf/"));
        QVERIFY(!knife.IpaZeSlownika);
    }

    // espeak-ng's output as eng-pol writes it (no dictionary needed).
    void styl_data()
    {
        QTest::addColumn<QString>("espeak");
        QTest::addColumn<QString>("ipa");
        QTest::newRow("stress to the syllable start, ɹ ɛ ɐ") << "ʌmbɹˈɛlɐ"
                                                             << "ʌmˈbrelə";
        QTest::newRow("one syllable: no stress") << "hˈaʊs"
                                                 << "haʊs";
        QTest::newRow("s + stop onset") << "dɪspˈəʊzəbəl"
                                        << "dɪˈspəʊzəbəl";
        QTest::newRow("length, g") << "ɡɹˈuːsʌm"
                                   << "ˈgru:sʌm";
        QTest::newRow("no secondary stress after the main one") << "pˈɒlɪnˌeɪt"
                                                                << "ˈpɒlɪneɪt";
        QTest::newRow("secondary before the main one stays") << "ˌɛvəlˈɑːstɪŋ"
                                                             << "ˌevəˈlɑ:stɪŋ";
        QTest::newRow("affricates") << "dʒˈuːkbɒks"
                                    << "ˈʤu:kbɒks";
        QTest::newRow("short i") << "hˈæpi"
                                 << "ˈhæpɪ";
        QTest::newRow("garbage dropped") << "a<b>!1"
                                         << "ab";
    }

    void styl()
    {
        QFETCH(QString, espeak);
        QFETCH(QString, ipa);
        QCOMPARE(Q(slownik::IpaWStyluSlownika(espeak.toStdString())), ipa);
    }

    void brak()
    {
        QTemporaryDir katalog;
        Slownik pusty(katalog.path().toStdString());
        QVERIFY(!pusty.Dostepny());
        QCOMPARE(Q(pusty.Komunikat()), QString::fromUtf8(KomunikatBrakuSlownika));
        QVERIFY(pusty.SzukajAngielskie("house").Pusty());
        QVERIFY(!pusty.SlowaZTekstu("The house.").Ok);
    }

    // A damaged copy of one file makes its dictionary unavailable, said once; the other one still works.
    void uszkodzony_data()
    {
        QTest::addColumn<QString>("plik");
        QTest::addColumn<QString>("uszkodzenie");
        QTest::newRow("truncated .dz") << "freedict-eng-pol.dict.dz"
                                       << "truncate";
        QTest::newRow("chunk sizes swapped") << "freedict-eng-pol.dict.dz"
                                             << "swap";
        QTest::newRow("more chunks claimed") << "freedict-eng-pol.dict.dz"
                                             << "count";
        QTest::newRow("a chunk overwritten") << "freedict-eng-pol.dict.dz"
                                             << "garble";
        QTest::newRow("index line without tabs") << "freedict-eng-pol.index"
                                                 << "notab";
        QTest::newRow("entry of 2 GB") << "freedict-eng-pol.index"
                                       << "huge";
        QTest::newRow("offset past the end") << "freedict-eng-pol.index"
                                             << "past";
        QTest::newRow("1 GB index") << "freedict-eng-pol.index"
                                    << "gigabyte";
        QTest::newRow("text is a named pipe") << "freedict-eng-pol.dict.dz"
                                              << "fifo";
        QTest::newRow("pol-eng truncated") << "freedict-pol-eng.dict.dz"
                                           << "truncate";
    }

    void uszkodzony()
    {
        QFETCH(QString, plik);
        QFETCH(QString, uszkodzenie);
        QTemporaryDir katalog;
        for (const QString& p : Pliki)
            QVERIFY(QFile::copy(Zrodla() + "/" + p, katalog.filePath(p)));
        const QString sciezka = katalog.filePath(plik);
        QByteArray b = Wczytaj(sciezka);
        if (uszkodzenie == "truncate") {
            b.truncate(b.size() / 2);
        } else if (uszkodzenie == "swap") { // the RA field's sizes of chunks 0 and 1
            QVERIFY(b.mid(12, 2) == "RA");
            const QByteArray a = b.mid(22, 2);
            b.replace(22, 2, b.mid(24, 2));
            b.replace(24, 2, a);
        } else if (uszkodzenie == "count") {
            b[20] = char(b[20] + 1);
        } else if (uszkodzenie == "garble") {
            for (int i = 0; i < 64; ++i)
                b[b.size() / 2 + i] = char(0xA5 ^ i);
        } else if (uszkodzenie == "notab") {
            const int i = b.indexOf("\nhouse\t") + 1;
            b[b.indexOf('\t', i)] = ' ';
            b[b.indexOf('\t', i)] = ' ';
        } else if (uszkodzenie == "huge") {
            b.replace(b.indexOf("\nhouse\t"), 1, "\nzzz\tA\tB/////\n");
        } else if (uszkodzenie == "past") {
            b.append("zzz\t/////\tBA\n");
        }
        if (uszkodzenie == "gigabyte") {
            QFile f(sciezka);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(qint64(1) << 30)); // sparse: nothing is written
        } else if (uszkodzenie == "fifo") {
            QVERIFY(QFile::remove(sciezka));
            QVERIFY(::mkfifo(QFile::encodeName(sciezka).constData(), 0600) == 0);
        } else {
            Zapisz(sciezka, b);
        }

        Slownik s(katalog.path().toStdString());
        const bool angielski = plik.contains("eng-pol");
        QCOMPARE(s.AngielskoPolski(), !angielski);
        QCOMPARE(s.PolskoAngielski(), angielski);
        const QString komunikat = Q(s.Komunikat());
        QVERIFY2(
            komunikat.contains(angielski ? "angielsko-polski jest uszkodzony" : "polsko-angielski jest uszkodzony"),
            qPrintable(komunikat));
        QCOMPARE(Q(s.NowyKomunikat()), komunikat);
        QCOMPARE(Q(s.NowyKomunikat()), QString());
        // The other dictionary answers: pol-eng alone still gives "knife", eng-pol alone "spoon".
        QCOMPARE(Q(s.SzukajAngielskie(angielski ? "knife" : "spoon").PierwszeZnaczenie()),
                 angielski ? QStringLiteral("nóż") : QStringLiteral("łyżka"));
        QVERIFY(!s.SzukajPolskie("łyżka").Pusty());
    }

    // The reader itself on bytes that lie about their chunks (no dictionary needed for these).
    void dictzip()
    {
        slownik::TekstSlownika t;
        std::string blad;
        std::string naglowek("\x1f\x8b\x08\x04\0\0\0\0\0\x03\x0a\0RA\x06\0\x01\0\x10\0\x00\0", 22);
        QVERIFY(!t.Otworz(std::make_unique<slownik::ZrodloPamieci>(naglowek + std::string(8, '\0')), blad));
        QVERIFY(!blad.empty());
        slownik::Indeks ind;
        QVERIFY(!ind.Wczytaj("a\tB\n\tC\nb\tA!\tB\n", blad)); // "A!" is no number
        QVERIFY(ind.Wczytaj("00databaseinfo\tA\tB\n\tA\tB\n\nb\tA\tB\r\n", blad));
        QCOMPARE(ind.Pozycje().size(), std::size_t(1)); // the header line and the empty key are skipped
    }

    // eng-pol's layout, on entries written for the test.
    void angPol_data()
    {
        QTest::addColumn<QString>("wpis");
        QTest::addColumn<QString>("ipa");
        QTest::addColumn<QString>("grupy");
        QTest::addColumn<QString>("wyrazenia");
        QTest::newRow("senses, notes, a form, a code")
            << "lamp /læmp/\nI.  <N> 1.  lampa\n 2.  [uliczna]  latarnia\n 3. lamps  [form]  oświetlenie, światła\n"
               "II.  <V> 1.  [nieform]  oświetlać (sth - coś)\n"
            << "læmp"
            << "rzecz. lampa | latarnia (uliczna) | oświetlenie {lamps}, światła {lamps}; czas. oświetlać (sth - coś)"
            << "";
        QTest::newRow("one sense under the header") << "cat /kæt/ <N>\n  kot  [zwierzę]\n"
                                                    << "kæt"
                                                    << "rzecz. kot (zwierzę)"
                                                    << "";
        QTest::newRow("idiom and sub-entry")
            << "fix\nI.  <V> 1.  naprawiać\n 2.  fix sb up (fix V: NP :up)\n - swatać kogoś\n"
               "II.  <V Phras>fix on  [nieform]  1.  wybierać\n 2.  ustalać\n"
            << ""
            << "czas. naprawiać"
            << "fix sb up = swatać kogoś; fix on = wybierać | ustalać";
        QTest::newRow("unusable IPA, cross-reference") << "AB /ˌ$⋅$ˈ$⋅$/\nI.\n   See also: {Alpha Beta}\n  Alfa Beta\n"
                                                       << ""
                                                       << " Alfa Beta"
                                                       << "";
        QTest::newRow("sub-sense letters and examples")
            << "post\nI.  <N> 1.  a. poczta\n b.\n      \"by post\"  - pocztą\n 2.  słup\n"
            << ""
            << "rzecz. poczta | słup"
            << "";
        QTest::newRow("domain label kept, register dropped")
            << "chip\nI.  <N> 1.  [techn]  kość\n 2.  [BR nieform]  frytka\n"
            << ""
            << "rzecz. kość (technika) | frytka"
            << "";
        QTest::newRow("compound with its IPA")
            << "tea /ti:/\nI.  <N>  herbata\nII.  <N Comp>tea bag /ˈti: bæg/  [form]   torebka herbaty\n"
            << "ti:"
            << "rzecz. herbata"
            << "tea bag /ˈti: bæg/ = torebka herbaty";
    }

    void angPol()
    {
        QFETCH(QString, wpis);
        QFETCH(QString, ipa);
        QFETCH(QString, grupy);
        QFETCH(QString, wyrazenia);
        const slownik::WpisAngPol w = slownik::ParsujAngPol(wpis.toStdString());
        QCOMPARE(Q(w.Ipa), ipa);
        QCOMPARE(Grupy(w.Grupy), grupy);
        QStringList wy;
        for (const auto& x : w.Wyrazenia)
            wy << Q(x.Haslo) + (x.Ipa.empty() ? "" : " " + Q(x.Ipa)) + " = " +
                      Grupy({Grupa{Czesc::Inna, x.Znaczenia}}).mid(1);
        QCOMPARE(wy.join("; "), wyrazenia);
        // The quick pass for the reverse index reads the same meanings.
        std::vector<slownik::ZnaczenieAngPol> szybkie;
        (void)slownik::ZnaczeniaAngPol(wpis.toStdString(), szybkie);
        QStringList a;
        QStringList b;
        for (const auto& z : szybkie)
            a << Q(z.Tekst);
        for (const auto& g : w.Grupy) {
            for (const auto& z : g.Znaczenia)
                b << Q(z.Tekst);
        }
        QCOMPARE(a, b);
    }

    // pol-eng's layout: a gloss line after the header or after a sense's definitions, the line after it always a
    // definition, " 3." alone opening another definition of the same sense.
    void polAng_data()
    {
        QTest::addColumn<QString>("wpis");
        QTest::addColumn<QString>("glosy");
        QTest::addColumn<int>("definicji");
        QTest::newRow("numbered senses") << "łyżka /ˈwɨʃka/ <n>\n1. shovel\n(technologia, technika) część maszyny\n"
                                            "2. spoon\nsztuciec\n"
                                         << "shovel/0/0/1 spoon/1/0/1" << 2;
        QTest::newRow("glued numbers and separators")
            << "dom <n>\n1. house, home 2.\n(architektura) budynek\n 3.\n(heraldyka) ród\n2. home\nmiejsce\n"
            << "house/0/0/2 home/0/1/2 home/1/0/1" << 2;
        QTest::newRow("numbered definition after a gloss")
            << "jego <pronoun>\n1. his\n3. (osoba) lp, rodzaj męski\n2. its\n3. (osoba) lp\n"
            << "his/0/0/1 its/1/0/1" << 2;
        QTest::newRow("unnumbered") << "pies /pʲjɛs/ <n>\ndog, hound\n(zoologia, zoologiczny) Canis familiaris;\n"
                                    << "dog/0/0/2 hound/0/1/2" << 1;
        QTest::newRow("truncated after a gloss") << "kot <n>\ncat"
                                                 << "cat/0/0/1" << 1;
    }

    void polAng()
    {
        QFETCH(QString, wpis);
        QFETCH(QString, glosy);
        QFETCH(int, definicji);
        const std::string t = wpis.toStdString();
        slownik::WpisPolAng w;
        slownik::ParsujPolAng(t, w);
        QStringList g;
        for (const auto& x : w.Glosy)
            g << QString("%1/%2/%3/%4").arg(Q(std::string(x.Tekst))).arg(x.Zmysl).arg(x.Pozycja).arg(x.Ile);
        QCOMPARE(g.join(' '), glosy);
        QCOMPARE(int(w.Definicje.size()), definicji);
        QCOMPARE(Q(slownik::CzystaDefinicja("(zoologia, zoologiczny) (medycyna) Canis familiaris;")),
                 QStringLiteral("(zoologia, medycyna) Canis familiaris"));
    }

    void formy_data()
    {
        QTest::addColumn<QString>("forma");
        QTest::addColumn<QString>("haslo");
        QTest::addColumn<QString>("przed"); // a stem that must come later, or ""
        QTest::newRow("e dropped before -ing") << "hoping"
                                               << "hope"
                                               << "hop";
        QTest::newRow("no e before -ing") << "singing"
                                          << "sing"
                                          << "singe";
        QTest::newRow("doubled before -ing") << "running"
                                             << "run"
                                             << "";
        QTest::newRow("e dropped before -ed") << "hoped"
                                              << "hope"
                                              << "hop";
        QTest::newRow("-ves") << "knives"
                              << "knife"
                              << "";
        QTest::newRow("-ies") << "tries"
                              << "try"
                              << "";
        QTest::newRow("-ying") << "lying"
                               << "lie"
                               << "";
        QTest::newRow("comparative") << "bigger"
                                     << "big"
                                     << "";
        QTest::newRow("-ily") << "happily"
                              << "happy"
                              << "";
        QTest::newRow("irregular verb") << "went"
                                        << "go"
                                        << "";
        QTest::newRow("irregular plural") << "mice"
                                          << "mouse"
                                          << "";
        QTest::newRow("the word itself first") << "news"
                                               << "news"
                                               << "new";
    }

    void formy()
    {
        QFETCH(QString, forma);
        QFETCH(QString, haslo);
        QFETCH(QString, przed);
        QStringList f;
        for (const auto& x : slownik::FormyPodstawowe(forma.toStdString()))
            f << Q(x);
        QCOMPARE(f.front(), forma);
        QVERIFY2(f.contains(haslo), qPrintable(f.join(' ')));
        if (!przed.isEmpty() && f.contains(przed))
            QVERIFY2(f.indexOf(haslo) < f.indexOf(przed), qPrintable(f.join(' ')));
    }

    // Words of a text without the dictionary: in order of first appearance, with their counts.
    void wyrazy_data()
    {
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("wyrazy");
        QTest::newRow("names inside a sentence") << "Yesterday Anna met Bob. Anna smiled."
                                                 << "yesterday:1 met:1 smiled:1";
        QTest::newRow("small and capitalised") << "I saw Rose and a rose."
                                               << "saw:1 rose:1";
        QTest::newRow("clitics and possessives") << "She'll take John's dogs' bones, won't she?"
                                                 << "take:1 dogs:1 bones:1";
        QTest::newRow("HTML") << "<p>Cats &amp; dogs</p><script>var mice;</script><style>p{}</style><!-- birds -->"
                              << "cats:1 dogs:1";
        QTest::newRow("WebVTT") << "WEBVTT\n\nNOTE about birds\n\n00:01.000 --> 00:02.000\n{\\an8}Big <b>apples</b>\n"
                                << "big:1 apples:1";
        QTest::newRow("an abbreviation's dot") << "Mr. Brown arrived."
                                               << "arrived:1";
        QTest::newRow("numbers") << "Room 101 has 3rd floor views"
                                 << "room:1 floor:1 views:1";
        QTest::newRow("shouting and a dialogue dash") << "- STOP the car!\n- Car? stop."
                                                      << "stop:2 car:2";
    }

    void wyrazy()
    {
        QFETCH(QString, tekst);
        QFETCH(QString, wyrazy);
        QStringList w;
        for (const auto& x : slownik::WyrazyZTekstu(tekst.toStdString()).Wyrazy)
            w << Q(x.Slowo) + ":" + QString::number(x.Ile);
        QCOMPARE(w.join(' '), wyrazy);
    }

    // A dictzip file made here: ranges within and across chunks, the text's checksum, and the fall-backs for gzip
    // without chunks and for a plain text.
    void dictzipWlasny()
    {
        std::string tekst;
        for (int i = 0; i < 40; ++i)
            tekst += "entry " + std::to_string(i) + " zażółć gęślą jaźń\n";
        const std::string dz = Dictzip(tekst, 16);
        std::string blad;
        std::string wynik;
        std::string bufor;
        std::string_view widok;
        slownik::TekstSlownika t;
        QVERIFY2(t.Otworz(std::make_unique<slownik::ZrodloPamieci>(dz), blad), blad.c_str());
        QVERIFY(t.Pokawalkowany());
        QCOMPARE(t.Rozmiar(), tekst.size());
        for (const auto& [od, dl] : {std::pair{0u, 5u}, {14u, 40u}, {16u, 16u}, {100u, 300u}, {0u, 0u}}) {
            QVERIFY(t.Czytaj(od, dl, wynik, blad));
            QCOMPARE(wynik, tekst.substr(od, dl));
            QVERIFY(t.Widok(od, dl, widok, bufor, blad));
            QCOMPARE(std::string(widok), tekst.substr(od, dl));
        }
        QVERIFY(!t.Czytaj(tekst.size() - 2, 3, wynik, blad));
        QVERIFY(t.SprawdzSume(blad));

        std::string zlaSuma = dz;
        zlaSuma[zlaSuma.size() - 8] ^= 1;
        slownik::TekstSlownika z;
        QVERIFY(z.Otworz(std::make_unique<slownik::ZrodloPamieci>(zlaSuma), blad));
        QVERIFY(!z.SprawdzSume(blad));

        // gzip without the RA field: unpacked whole.
        std::string gz(tekst.size() + 256, '\0');
        z_stream s{};
        deflateInit2(&s, 9, Z_DEFLATED, MAX_WBITS + 16, 9, Z_DEFAULT_STRATEGY);
        s.next_in = reinterpret_cast<Bytef*>(tekst.data());
        s.avail_in = uInt(tekst.size());
        s.next_out = reinterpret_cast<Bytef*>(gz.data());
        s.avail_out = uInt(gz.size());
        deflate(&s, Z_FINISH);
        gz.resize(gz.size() - s.avail_out);
        deflateEnd(&s);
        for (const std::string& bajty : {gz, tekst}) {
            slownik::TekstSlownika c;
            QVERIFY2(c.Otworz(std::make_unique<slownik::ZrodloPamieci>(bajty), blad), blad.c_str());
            QVERIFY(!c.Pokawalkowany());
            QVERIFY(c.Czytaj(100, 50, wynik, blad));
            QCOMPARE(wynik, tekst.substr(100, 50));
        }
        slownik::TekstSlownika obciety;
        QVERIFY(!obciety.Otworz(std::make_unique<slownik::ZrodloPamieci>(std::string_view(gz).substr(0, 40)), blad));
    }

    void napisy()
    {
        const std::string srt = "1\r\n00:00:01,000 --> 00:00:03,000\r\n<i>The dogs are running</i> to the house.\r\n"
                                "\r\n2\r\n00:00:03,500 --> 00:00:05,000\r\nJohn has two knives and a dog.\r\n\r\n"
                                "3\r\n00:00:05,000 --> 00:00:07,000\r\n- Where is John?\r\n- In the HOUSE, with 3 "
                                "dogs &amp; a blorfing umbrella.\r\n";
        int pytania = 0;
        const SlowaTekstu s = slownik->SlowaZTekstu(srt, [&](const std::string& haslo) {
            ++pytania;
            return haslo == "umbrella";
        });
        QVERIFY(s.Ok);
        QStringList slowa;
        for (const auto& w : s.Slowa)
            slowa << Q(w.Haslo) + ":" + QString::number(w.Ile);
        // dog (dogs, dog, dogs) and house (house, HOUSE) first; John is a name, 3 a number, "the" a function word,
        // the umbrella known.
        QCOMPARE(slowa.mid(0, 2), QStringList({"dog:3", "house:2"}));
        QVERIFY2(slowa.contains("knife:1") && slowa.contains("running:1") && !slowa.join(' ').contains("john") &&
                     !slowa.join(' ').contains("umbrella") && !slowa.join(' ').contains("the:"),
                 qPrintable(slowa.join(' ')));
        QCOMPARE(Q(s.Slowa.front().Znaczenie), QStringLiteral("pies"));
        QCOMPARE(s.BezHasla.size(), std::size_t(1));
        QCOMPARE(Q(s.BezHasla.front().Haslo), QStringLiteral("blorfing"));
        QCOMPARE(s.Znanych, std::size_t(1));
        QVERIFY(pytania > 0);

        QVERIFY(!slownik->SlowaZTekstu(std::string("a\0b", 3)).Ok);
        const SlowaTekstu duzy = slownik->SlowaZTekstu(std::string(NajwiekszyTekstDoSlow + 1, 'a'));
        QVERIFY(!duzy.Ok);
        QVERIFY(Q(duzy.Blad).contains("200 MB"));
    }
};

QTEST_GUILESS_MAIN(TestSlownik)
#include "test_slownik.moc"
