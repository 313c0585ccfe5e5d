// The built-in dictionary on the installed FreeDict files: look-ups both ways, IPA from eng-pol and espeak-ng, damaged
// copies of the files, and a subtitle file turned into a word list.
#include "dictd.h"
#include "slownik.h"
#include "wymowa.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
        if (!slownik && nazwa != "styl" && nazwa != "brak" && nazwa != "dictzip")
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
