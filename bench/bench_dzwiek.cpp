// What the learner hears: a private PulseAudio server with a null sink, its monitor recorded, and the time from Enter
// on the free pronunciation page of the real window to the first sample above 1% of full scale at the server, for the
// built-in voice and for cached recordings, on a quiet machine and with two busy processes; the heard span of each
// word against the synthesised one; the first pronunciation after start-up in a fresh process.
#include "dzwiek.h"
#include "formularz_testowy.h"
#include "glos.h"
#include "program_testowy.h"
#include "serwer_dzwieku.h"
#include "wymawianie.h"

#include <QApplication>
#include <QProcess>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int Prog = 328; // 1% of full scale

struct Wynik {
    std::vector<double> opoznienia; // ms from the key to the first sample above Prog
    std::vector<double> odchylenia; // heard span against the synthesised one, in percent
    int nieuslyszane = 0;
};

double Percentyl(std::vector<double> v, double p)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::size_t(std::max(0.0, std::ceil(p * double(v.size())) - 1))];
}

void Wypisz(const char* nazwa, const Wynik& w)
{
    std::printf("%-46s n=%2zu  median %6.1f ms  p95 %6.1f ms  max %6.1f ms", nazwa, w.opoznienia.size(),
                Percentyl(w.opoznienia, 0.5), Percentyl(w.opoznienia, 0.95), Percentyl(w.opoznienia, 1.0));
    if (!w.odchylenia.empty())
        std::printf("  heard span %+.2f%% .. %+.2f%%", Percentyl(w.odchylenia, 0.0), Percentyl(w.odchylenia, 1.0));
    std::printf("%s\n", w.nieuslyszane ? qPrintable(QStringLiteral("  (%1 not heard)").arg(w.nieuslyszane)) : "");
    std::fflush(stdout);
}

// The span (first to last sample above Prog) of what the player is given for a text or a recording.
long long SpanGlosu(const QString& tekst, double rozciagniecie)
{
    int czestotliwosc = 0;
    const vokara::Probki glos = vokara::GlosProbki(tekst.toStdString(), rozciagniecie, czestotliwosc);
    const vokara::Probki p = vokara::Przytnij(vokara::Przelicz(glos, czestotliwosc, vokara::CzestotliwoscOdtwarzania),
                                              vokara::CzestotliwoscOdtwarzania);
    const auto [a, b] = testy::Zasieg(p);
    return b - a;
}

long long SpanNagrania(const QString& plik, double tempo)
{
    vokara::Probki p;
    int czestotliwosc = 0;
    QString blad;
    vokara::DekodujMp3(plik, p, czestotliwosc, blad);
    p = vokara::Przytnij(vokara::Przelicz(p, czestotliwosc, vokara::CzestotliwoscOdtwarzania),
                         vokara::CzestotliwoscOdtwarzania);
    p = vokara::Rozciagnij(p, vokara::CzestotliwoscOdtwarzania, tempo);
    const auto [a, b] = testy::Zasieg(p);
    return b - a;
}

// The first sample above Prog at or after the moment, waiting up to three seconds; -1 when none came.
double Uslyszane(const testy::SerwerDzwieku& serwer, double odMs, std::size_t& gdzie)
{
    std::size_t od = serwer.Probka(odMs - 2);
    for (int i = 0; i < 3000; ++i) {
        const std::size_t ile = serwer.Ile();
        const long long pierwsza = serwer.Glosna(od, Prog);
        if (pierwsza >= 0) {
            gdzie = std::size_t(pierwsza);
            return serwer.Czas(gdzie) - odMs;
        }
        od = std::max(od, ile);
        QTest::qWait(1);
    }
    return -1;
}

// One press of Enter on the free pronunciation page, as a learner gives it once the word before has been heard out.
void Nacisnij(Program& program, testy::SerwerDzwieku& serwer, const QString& slowo, long long span, Wynik& wynik)
{
    TFSluchaj& sluchaj = *program.FSluchaj;
    const testy::Formularz ui(*program.FGlowny);
    (void)QTest::qWaitFor([&] { return sluchaj.Stan() == TFSluchaj::StanOdtwarzania::Zatrzymane; }, 10000);
    QTest::qWait(250);
    ui.EWpis4->setText(slowo);
    const double kiedy = testy::TerazMs();
    QTest::keyClick(ui.EWpis4, Qt::Key_Return);
    std::size_t gdzie = 0;
    const double opoznienie = Uslyszane(serwer, kiedy, gdzie);
    if (opoznienie < 0) {
        ++wynik.nieuslyszane;
        return;
    }
    wynik.opoznienia.push_back(opoznienie);
    (void)QTest::qWaitFor([&] { return sluchaj.Zagrane() && sluchaj.Stan() == TFSluchaj::StanOdtwarzania::Zatrzymane; },
                          10000);
    // The sound has reached the server whole; the recorder may lag behind on a busy machine.
    const double koniec = testy::TerazMs() + 100;
    (void)QTest::qWaitFor([&] { return serwer.Czas(serwer.Ile()) >= koniec; }, 5000);
    const auto [_, ostatnia] = testy::Zasieg(serwer.Probki(gdzie), 0, Prog);
    const double odchylenie = 100.0 * double(ostatnia - span) / double(span);
    wynik.odchylenia.push_back(odchylenie);
    if (std::abs(odchylenie) > 1)
        std::printf("  \"%s\": heard span %+.2f%% of the synthesised one\n", qPrintable(slowo), odchylenie);
}

const QStringList Slowa{"dog",     "house",   "beautiful", "ice cream", "to look after", "yesterday",
                        "cat",     "morning", "juice",     "window",    "apple",         "teacher",
                        "kitchen", "sunday",  "garden",    "library",   "bicycle",       "weather",
                        "orange",  "friend",  "mountain",  "question",  "yellow",        "thirsty"};

// Every word of the list once (each a word never said before in this process), and the voice's slow replay of some.
void Glos(Program& program, testy::SerwerDzwieku& serwer, const QString& dopisek, Wynik& zwykle, Wynik& wolne)
{
    for (int i = 0; i < Slowa.size(); ++i) {
        const QString slowo = Slowa[i] + dopisek;
        Nacisnij(program, serwer, slowo, SpanGlosu(slowo, 1.0), zwykle);
        if (i % 4 == 0) // the same word again at once: slow
            Nacisnij(program, serwer, slowo, SpanGlosu(slowo, Wymawianie::RozciagniecieWolne), wolne);
    }
}

void Nagrania(Program& program, testy::SerwerDzwieku& serwer, const QString& przedrostek, const QString& folder,
              Wynik& pierwsze, Wynik& wolne)
{
    const long long span = SpanNagrania(VOKARA_TESTY_DANE "/krotki.mp3", 1.0);
    const long long spanWolny = SpanNagrania(VOKARA_TESTY_DANE "/krotki.mp3", Wymawianie::TempoWolne);
    for (int i = 0; i < 24; ++i) {
        const QString slowo = przedrostek + QString::number(i);
        QFile::copy(VOKARA_TESTY_DANE "/krotki.mp3", folder + "/" + slowo + ".mp3");
        Nacisnij(program, serwer, slowo, span, pierwsze);
        if (i % 4 == 0)
            Nacisnij(program, serwer, slowo, spanWolny, wolne);
    }
}

vokara::Probki ProbkiGlosu(const QString& tekst)
{
    int czestotliwosc = 0;
    const vokara::Probki glos = vokara::GlosProbki(tekst.toStdString(), 1.0, czestotliwosc);
    return vokara::Przytnij(vokara::Przelicz(glos, czestotliwosc, vokara::CzestotliwoscOdtwarzania),
                            vokara::CzestotliwoscOdtwarzania);
}

int NajwiekszySkok(const vokara::Probki& p, std::size_t od, std::size_t do_)
{
    int skok = 0;
    for (std::size_t i = od; i + 1 < std::min(do_, p.size()); ++i)
        skok = std::max(skok, std::abs(int(p[i + 1]) - int(p[i])));
    return skok;
}

// A press while a word still plays: from the key to the new word's first sample above 1% (found by its samples, as
// the voice says a text the same each time), and the largest step between neighbouring samples while the old word
// gave way to it, against the largest inside the words themselves (a cut without a fade shows as a far larger jump).
void Przerwania(Program& program, testy::SerwerDzwieku& serwer)
{
    TFSluchaj& sluchaj = *program.FSluchaj;
    const testy::Formularz ui(*program.FGlowny);
    Wynik wynik;
    int skokPrzejscia = 0, skokSlow = 0;
    for (int i = 0; i + 1 < Slowa.size(); i += 2) {
        const QString a = Slowa[i] + QStringLiteral(" again"), b = Slowa[i + 1] + QStringLiteral(" again");
        const vokara::Probki pb = ProbkiGlosu(b);
        skokSlow = std::max({skokSlow, NajwiekszySkok(ProbkiGlosu(a), 0, SIZE_MAX), NajwiekszySkok(pb, 0, SIZE_MAX)});
        const auto [p, _] = testy::Zasieg(pb);
        const vokara::Probki wzor(pb.begin() + p, pb.begin() + p + 48);
        (void)QTest::qWaitFor([&] { return sluchaj.Stan() == TFSluchaj::StanOdtwarzania::Zatrzymane; }, 10000);
        QTest::qWait(250);
        ui.EWpis4->setText(a);
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        std::size_t gdzie = 0;
        if (Uslyszane(serwer, testy::TerazMs(), gdzie) < 0)
            continue;
        QTest::qWait(250); // the first word is in its middle now
        ui.EWpis4->setText(b);
        const double kiedy = testy::TerazMs();
        const std::size_t od = serwer.Probka(kiedy);
        QTest::keyClick(ui.EWpis4, Qt::Key_Return);
        long long znalezione = -1;
        for (int t = 0; t < 3000 && znalezione < 0; ++t) {
            QTest::qWait(1);
            const vokara::Probki nagrane = serwer.Probki(od);
            const auto it = std::search(nagrane.begin(), nagrane.end(), wzor.begin(), wzor.end());
            if (it != nagrane.end())
                znalezione = (long long)od + (it - nagrane.begin());
        }
        if (znalezione < 0) {
            ++wynik.nieuslyszane;
            continue;
        }
        wynik.opoznienia.push_back(serwer.Czas(std::size_t(znalezione)) - kiedy);
        skokPrzejscia = std::max(skokPrzejscia, NajwiekszySkok(serwer.Probki(), od, std::size_t(znalezione)));
    }
    Wypisz("quiet: voice, a press while a word plays", wynik);
    std::printf("  largest step between samples as the word gave way: %d (inside the words: %d)\n", skokPrzejscia,
                skokSlow);
}

// The child of the start-up figure: a fresh program, its free pronunciation page brought to the front, a word typed
// after `czekajMs`; prints the moment of Enter.
int Pierwsze(int argc, char** argv, int czekajMs)
{
    QApplication aplikacja(argc, argv);
    testy::Katalog katalog;
    katalog.lista({"v*1", "A*a.txt"});
    katalog.zestaw("a.txt", {"w*o", "dog*pies"});
    Program program;
    if (!program.Pokaz())
        return 1;
    const testy::Formularz ui(*program.FGlowny);
    QTest::qWait(300);
    QTabBar* pasek = ui.PStrony->tabBar();
    QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(4).center());
    QTest::qWait(czekajMs);
    ui.EWpis4->setText(QStringLiteral("beautiful"));
    const double kiedy = testy::TerazMs();
    QTest::keyClick(ui.EWpis4, Qt::Key_Return);
    std::printf("%.3f\n", kiedy);
    std::fflush(stdout);
    (void)QTest::qWaitFor([&] { return program.FSluchaj->Zagrane(); }, 5000);
    QTest::qWait(1500);
    return 0;
}

Wynik Start(testy::SerwerDzwieku& serwer, int czekajMs)
{
    Wynik wynik;
    for (int i = 0; i < 7; ++i) {
        QProcess dziecko;
        dziecko.start(QCoreApplication::applicationFilePath(), {"pierwsze", QString::number(czekajMs)});
        dziecko.waitForFinished(30000);
        const double kiedy = dziecko.readAllStandardOutput().trimmed().toDouble();
        std::size_t gdzie = 0;
        const double opoznienie = kiedy > 0 ? Uslyszane(serwer, kiedy, gdzie) : -1;
        if (opoznienie < 0)
            ++wynik.nieuslyszane;
        else
            wynik.opoznienia.push_back(opoznienie);
        if (qEnvironmentVariableIsSet("WSZYSTKIE"))
            std::printf("  start %d: %.1f ms\n", i, opoznienie);
    }
    return wynik;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2 && QByteArray(argv[1]) == "pierwsze")
        return Pierwsze(argc, argv, QByteArray(argv[2]).toInt());
    testy::SerwerDzwieku serwer; // before anything in the process talks to a sound server
    if (!serwer.Dziala() || !serwer.Nagrywaj()) {
        std::printf("no private sound server: %s\n", qPrintable(serwer.Blad));
        return 1;
    }
    QApplication aplikacja(argc, argv);
    qputenv("VOKARA_DICTIONARY_URL", "https://slownik.vokara.invalid");
    // A freshly started server takes over half a second over the first stream it ever plays: a second of silence
    // goes first, so that cost (the bench's own server's, not the program's) falls on no figure.
    {
        QProcess pacat;
        pacat.start(QStringLiteral("pacat"), {"--raw", "--format=s16le", "--rate=48000", "--channels=1"});
        pacat.waitForStarted();
        pacat.write(QByteArray(48000, 0));
        pacat.closeWriteChannel();
        pacat.waitForFinished(5000);
    }
    std::printf("platform: %s, sound server: a private PulseAudio with a null sink, 48 kHz mono\n",
                qPrintable(QGuiApplication::platformName()));

    // The first pronunciation after start-up, each in a fresh process: Enter a second after the page came to the
    // front (as a learner types), and at once.
    Wypisz("first word after start-up (typed in 1 s)", Start(serwer, 1000));
    Wypisz("first word after start-up (Enter at once)", Start(serwer, 0));

    testy::Katalog katalog;
    katalog.lista({"v*1", "A*a.txt"});
    katalog.zestaw("a.txt", {"w*o", "dog*pies"});
    Program program;
    if (!program.Pokaz())
        return 1;
    const testy::Formularz ui(*program.FGlowny);
    QTabBar* pasek = ui.PStrony->tabBar();
    QTest::mouseClick(pasek, Qt::LeftButton, {}, pasek->tabRect(4).center());
    QTest::qWait(1000);
    const QString folder = katalog.sciezka("dane/voice");

    for (const bool zajety : {false, true}) {
        std::vector<std::unique_ptr<QProcess>> obciazenie;
        if (zajety) {
            for (int i = 0; i < 2; ++i) {
                auto yes = std::make_unique<QProcess>();
                yes->setStandardOutputFile(QProcess::nullDevice());
                yes->start(QStringLiteral("yes"));
                yes->waitForStarted();
                obciazenie.push_back(std::move(yes));
            }
            QTest::qWait(500);
        }
        const char* stan = zajety ? "busy (2 x yes)" : "quiet";
        Wynik glos, glosWolny, nagranie, nagranieWolne;
        Glos(program, serwer, zajety ? QStringLiteral(" too") : QString(), glos, glosWolny);
        Nagrania(program, serwer, zajety ? QStringLiteral("busyword") : QStringLiteral("quietword"), folder, nagranie,
                 nagranieWolne);
        Wypisz(qPrintable(QStringLiteral("%1: voice").arg(stan)), glos);
        Wypisz(qPrintable(QStringLiteral("%1: voice, slow replay").arg(stan)), glosWolny);
        Wypisz(qPrintable(QStringLiteral("%1: cached recording").arg(stan)), nagranie);
        Wypisz(qPrintable(QStringLiteral("%1: cached recording, slow replay").arg(stan)), nagranieWolne);
        if (!zajety)
            Przerwania(program, serwer);
        for (auto& p : obciazenie) {
            p->kill();
            p->waitForFinished();
        }
    }
    return 0;
}
