// Benchmark of the import reader on hostile and large files: each case runs in a child process of its own, and its
// time and the growth of its peak memory are printed.
#include "import.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vokara;

namespace {

constexpr qsizetype MiB = 1024 * 1024;
// A file just within the import's cap, with room for the few bytes around the repeated part.
constexpr qsizetype Pelny = 16 * MiB - 64;

QByteArray Powtorz(const QByteArray& kawalek, qsizetype rozmiar)
{
    QByteArray wynik;
    wynik.reserve(rozmiar + kawalek.size());
    while (wynik.size() + kawalek.size() <= rozmiar)
        wynik += kawalek;
    return wynik;
}

QByteArray Kvtml(const QByteArray& srodek)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">" + srodek + "</kvtml>\n";
}

QByteArray Utf16(const QString& tekst, bool bom)
{
    QByteArray wynik = bom ? QByteArray("\xFF\xFE") : QByteArray();
    wynik.append(reinterpret_cast<const char*>(tekst.utf16()), tekst.size() * 2);
    return wynik;
}

// Lines of pairs with Polish letters until the text fills `rozmiar` bytes as UTF-16.
QString LinieUtf16(qsizetype rozmiar)
{
    QString tekst;
    tekst.reserve(rozmiar / 2);
    for (int i = 0; (tekst.size() + 40) * 2 < rozmiar; ++i)
        tekst += QStringLiteral("word %1\tsłowo żółte %1\r\n").arg(i);
    return tekst;
}

struct Przypadek {
    const char* Nazwa;
    std::function<QByteArray()> Bajty;
    bool ZPliku = false; // read through ImportujPlik from a file on disk, as the editor does
    const char* NazwaPliku = "";
};

const std::vector<Przypadek>& Przypadki()
{
    static const std::vector<Przypadek> lista = {
        {"anki html, 400 KB of '&'", [] { return "#html:true\nword\t" + QByteArray(400 * 1024, '&') + "\n"; }},
        {"anki html, 2 MB of '&'", [] { return "#html:true\nword\t" + QByteArray(2 * MiB, '&') + "\n"; }},
        {"anki html, 16 MiB of '&'", [] { return "#html:true\nword\t" + QByteArray(Pelny, '&') + "\n"; }},
        {"anki html, 2 MB of '<b' without '>'", [] { return "#html:true\nword\t" + Powtorz("<b", 2 * MiB) + "\n"; }},
        {"anki html, 16 MiB of short pairs", [] { return "#html:true\n" + Powtorz("a<b>x</b>\tb&amp;\n", Pelny); }},
        {"anki, 16 MiB of '#' header lines", [] { return Powtorz("#x:y\n", Pelny) + "a\tb\n"; }},
        {"kvtml, 80,000 distinct translation ids",
         [] {
             QByteArray srodek = "<entries>";
             for (int i = 0; i < 40000; ++i)
                 srodek += "<entry id=\"" + QByteArray::number(i) + "\"><translation id=\"" +
                           QByteArray::number(2 * i) + "\"><text>a</text></translation><translation id=\"" +
                           QByteArray::number(2 * i + 1) + "\"><text>b</text></translation></entry>";
             return Kvtml(srodek + "</entries>");
         }},
        {"kvtml, root with 1,000,000 attributes",
         [] {
             QByteArray atrybuty;
             for (int i = 0; i < 1000000; ++i)
                 atrybuty += " a" + QByteArray::number(i) + "=\"\"";
             return "<kvtml version=\"2.0\"" + atrybuty + "></kvtml>";
         }},
        {"kvtml, 70,000 elements nested in <text>",
         [] {
             return Kvtml("<entries><entry><translation id=\"0\"><text>" + Powtorz("<a>", 210000) + "x" +
                          Powtorz("</a>", 280000) + "</text></translation></entry></entries>");
         }},
        {"kvtml, 16 MiB of empty elements", [] { return Kvtml(Powtorz("<a/>", Pelny - 100)); }},
        {"kvtml, 16 MiB of empty entries",
         [] { return Kvtml("<entries>" + Powtorz("<entry/>", Pelny - 120) + "</entries>"); }},
        {"kvtml, 16 MiB of entries with two translations",
         [] {
             QByteArray srodek = "<identifiers><identifier id=\"0\"/><identifier id=\"1\"/></identifiers><entries>";
             for (int i = 0; srodek.size() < Pelny - 200; ++i)
                 srodek += "<entry id=\"" + QByteArray::number(i) + "\"><translation id=\"0\"><text>word " +
                           QByteArray::number(i) + "</text></translation><translation id=\"1\"><text>słowo " +
                           QByteArray::number(i) + "</text></translation></entry>\n";
             return Kvtml(srodek + "</entries>");
         }},
        {"kvtml, 16 MiB of tags with 32 attributes",
         [] {
             QByteArray tag = "<a";
             for (int i = 0; i < 32; ++i)
                 tag += " a" + QByteArray::number(i) + "=\"\"";
             return Kvtml(Powtorz(tag + "/>", Pelny - 100));
         }},
        {"kvtml, 16 namespaces, 32 prefixed attributes a tag",
         [] {
             QByteArray korzen = "<kvtml version=\"2.0\"";
             for (int i = 0; i < 16; ++i)
                 korzen += " xmlns:p" + QByteArray::number(i) + "=\"u" + QByteArray::number(i) + "\"";
             QByteArray tag = "<p0:a";
             for (int i = 0; i < 32; ++i)
                 tag += " p0:a" + QByteArray::number(i) + "=\"\"";
             return korzen + ">" + Powtorz(tag + "/>", Pelny - 400) + "</kvtml>";
         }},
        {"kvtml, one entry with 16 MiB of translations",
         [] {
             QByteArray srodek = "<entries><entry>";
             for (int i = 0; srodek.size() < Pelny - 200; ++i)
                 srodek += "<translation id=\"" + QByteArray::number(i) + "\"><text>t</text></translation>";
             return Kvtml(srodek + "</entry></entries>");
         }},
        {"kvtml, 999,000 undeclared entity references",
         [] {
             return "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"kvtml2.dtd\">\n<kvtml version=\"2.0\"><entries>"
                    "<entry><translation id=\"0\"><text>" +
                    Powtorz("&e;", 3 * 999000) + "</text></translation></entry></entries></kvtml>";
         }},
        {"kvtml, one 16 MiB text",
         [] {
             return Kvtml("<entries><entry><translation id=\"0\"><text>" + QByteArray(Pelny - 300, 'x') +
                          "</text></translation><translation id=\"1\"><text>y</text></translation></entry></entries>");
         }},
        {"text, a pair and 16 MiB of line ends", [] { return "a,b\n" + QByteArray(Pelny, '\n'); }},
        {"text, a pair and 16 MiB of commas", [] { return "a,b\n" + QByteArray(Pelny, ','); }},
        {"text, 16 MiB of short pairs", [] { return Powtorz("a,b\n", Pelny); }},
        {"text, 16 MiB of doubled quotes", [] { return "a,b\n\"" + Powtorz("a\"\"", Pelny); }},
        {"own set format, 16 MiB of line ends", [] { return "A*B\na*b\n" + QByteArray(Pelny, '\n'); }},
        {"UTF-16 with BOM, 13 MiB file", [] { return Utf16(LinieUtf16(13 * MiB), true); }, true, "duzy.txt"},
        {"UTF-16 with BOM, 13.3 MiB of CJK text (19 MiB as UTF-8)",
         [] {
             // Ten characters a word, each of them three bytes in UTF-8 and two in UTF-16.
             const auto slowo = [](int i, char16_t od) {
                 QString s;
                 for (int k = 0; k < 10; ++k, i /= 7)
                     s += QChar(char16_t(od + i % 7 + 7 * k));
                 return s;
             };
             QString tekst;
             for (int i = 0; tekst.size() * 2 < 13.3 * MiB; ++i)
                 tekst += slowo(i, 0x4E00) + QLatin1Char('\t') + slowo(i, 0x6000) + QLatin1String("\r\n");
             return Utf16(tekst, true);
         },
         true, "duzy.txt"},
        {"UTF-16 without BOM, 13 MiB file", [] { return Utf16(LinieUtf16(13 * MiB), false); }, true, "duzy.txt"},
    };
    return lista;
}

long PoleStatusu(const char* nazwa)
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char linia[256];
    long wartosc = -1;
    const std::size_t dlugosc = std::strlen(nazwa);
    while (std::fgets(linia, sizeof linia, f)) {
        if (std::strncmp(linia, nazwa, dlugosc) == 0) {
            wartosc = std::strtol(linia + dlugosc, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return wartosc;
}

struct Pomiar {
    double Ms = 0;
    long PrzyrostKb = 0;
    int Ok = 0;
    int Pary = 0;
    int Pominiete = 0;
    char Opis[160] = {};
};

// The child: makes its input, resets its peak memory to what it holds now, imports and reports through the pipe.
[[noreturn]] void Dziecko(const Przypadek& p, int potok, const QString& katalog)
{
    const QByteArray bajty = p.Bajty();
    QString sciezka;
    if (p.ZPliku) {
        sciezka = katalog + QLatin1Char('/') + QString::fromUtf8(p.NazwaPliku);
        QFile plik(sciezka);
        if (!plik.open(QIODevice::WriteOnly) || plik.write(bajty) != bajty.size())
            _exit(3);
    }
    const int clear = ::open("/proc/self/clear_refs", O_WRONLY);
    if (clear >= 0) {
        (void)!::write(clear, "5", 1);
        ::close(clear);
    }
    const long przed = PoleStatusu("VmRSS:");
    QElapsedTimer zegar;
    zegar.start();
    const WynikImportu w = p.ZPliku ? ImportujPlik(sciezka) : ImportujBajty(bajty, QString::fromUtf8(p.NazwaPliku));
    Pomiar m;
    m.Ms = double(zegar.nsecsElapsed()) / 1e6;
    m.PrzyrostKb = PoleStatusu("VmHWM:") - przed;
    m.Ok = w.Ok;
    m.Pary = int(w.Pary.size());
    m.Pominiete = w.Pominiete;
    const QByteArray opis = (w.Ok ? w.Rodzaj : w.Blad).left(70).toUtf8();
    std::strncpy(m.Opis, opis.constData(), sizeof m.Opis - 1);
    if (!sciezka.isEmpty())
        QFile::remove(sciezka);
    (void)!::write(potok, &m, sizeof m);
    _exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    // bench_import [seconds [part of a case's name]]
    // A case still running after this many seconds is stopped and shown as slower than that.
    const unsigned limit = argc > 1 ? unsigned(std::atoi(argv[1])) : 60;
    const QString katalog = QDir::tempPath() + QStringLiteral("/vokara-bench-import-%1").arg(::getpid());
    QDir().mkpath(katalog);
    std::printf("import of hostile and large files, one child process each (limit %u s)\n", limit);
    std::printf("  %-42s %10s %12s  %s\n", "case", "time ms", "peak +MB", "result");
    // A second argument picks the cases whose name holds it.
    const QString wybor = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    for (const Przypadek& p : Przypadki()) {
        if (!QString::fromUtf8(p.Nazwa).contains(wybor))
            continue;
        int potok[2];
        if (::pipe(potok) != 0)
            return 1;
        std::fflush(stdout);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(potok[0]);
            ::alarm(limit);
            Dziecko(p, potok[1], katalog);
        }
        ::close(potok[1]);
        Pomiar m;
        const bool jest = ::read(potok[0], &m, sizeof m) == ssize_t(sizeof m);
        ::close(potok[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (jest) {
            std::printf("  %-42s %10.1f %12.1f  %s, %d pairs, %d skipped: %s\n", p.Nazwa, m.Ms,
                        double(m.PrzyrostKb) / 1024.0, m.Ok ? "ok" : "refused", m.Pary, m.Pominiete, m.Opis);
        } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
            std::printf("  %-42s %10s %12s  stopped after %u s\n", p.Nazwa, "-", "-", limit);
        } else if (WIFSIGNALED(status)) {
            std::printf("  %-42s %10s %12s  crashed: %s\n", p.Nazwa, "-", "-", strsignal(WTERMSIG(status)));
        } else {
            std::printf("  %-42s %10s %12s  exit %d\n", p.Nazwa, "-", "-", WEXITSTATUS(status));
        }
    }
    QDir(katalog).removeRecursively();
    return 0;
}
