// Decoding recordings (libmpg123), bringing samples to the player's rate, and slowing a recording without lowering it
// (WSOLA).
#include "dzwiek.h"

#include <QFile>

#include <mpg123.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <numbers>

namespace vokara {

namespace {

std::int16_t Probka(double v)
{
    return std::int16_t(std::lround(std::clamp(v, -32768.0, 32767.0)));
}

// The file's bytes, at most `limit` of them; never waits on anything but a regular file.
bool Wczytaj(const QString& plik, long long limit, std::vector<unsigned char>& bajty, QString& blad)
{
    const int fd = ::open(QFile::encodeName(plik).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        blad = QStringLiteral("Nie można otworzyć pliku nagrania.");
        return false;
    }
    struct stat opis {};
    if (::fstat(fd, &opis) != 0 || !S_ISREG(opis.st_mode)) {
        ::close(fd);
        blad = QStringLiteral("Nagranie nie jest zwykłym plikiem.");
        return false;
    }
    bajty.resize(std::size_t(std::min<long long>(std::max<long long>(opis.st_size, 0), limit)));
    std::size_t wczytane = 0;
    while (wczytane < bajty.size()) {
        const ssize_t n = ::read(fd, bajty.data() + wczytane, bajty.size() - wczytane);
        if (n <= 0)
            break;
        wczytane += std::size_t(n);
    }
    ::close(fd);
    bajty.resize(wczytane);
    return true;
}

} // namespace

Probki Przelicz(const Probki& probki, int z, int na)
{
    if (z == na || probki.empty() || z <= 0 || na <= 0)
        return probki;
    // Output sample m lies at input position m * z / na; it is the sum of the input around it weighed by a sinc
    // cut just below the lower of the two Nyquist frequencies, in a Blackman window. The weights are tabled for
    // Fazy positions between two input samples.
    const double skala = std::min(1.0, double(na) / z);
    const int polowa = int(std::ceil(16.0 / skala));
    const int dlugosc = 2 * polowa;
    constexpr int Fazy = 512;
    const double granica = 0.5 * 0.92 * skala; // cycles per input sample
    std::vector<float> wagi(std::size_t(Fazy + 1) * std::size_t(dlugosc));
    for (int f = 0; f <= Fazy; ++f) {
        const double ulamek = double(f) / Fazy;
        float* wiersz = &wagi[std::size_t(f) * std::size_t(dlugosc)];
        double suma = 0;
        for (int j = 0; j < dlugosc; ++j) {
            const double u = double(j - polowa + 1) - ulamek;
            const double x = std::numbers::pi * u / polowa;
            const double okno = std::abs(u) >= polowa ? 0.0 : 0.42 + 0.5 * std::cos(x) + 0.08 * std::cos(2 * x);
            const double sinc =
                u == 0 ? 2 * granica : std::sin(2 * std::numbers::pi * granica * u) / (std::numbers::pi * u);
            wiersz[j] = float(sinc * okno);
            suma += sinc * okno;
        }
        for (int j = 0; j < dlugosc; ++j)
            wiersz[j] = float(wiersz[j] / suma); // unity gain at every position: no ripple on a steady level
    }
    const auto ile = std::size_t((long long)probki.size() * na / z);
    const auto n = (long long)probki.size();
    Probki wynik(ile);
    for (std::size_t m = 0; m < ile; ++m) {
        const long long pozycja = (long long)m * z;
        const long long i0 = pozycja / na;
        const int f = int(((pozycja % na) * Fazy + na / 2) / na);
        const float* wiersz = &wagi[std::size_t(f) * std::size_t(dlugosc)];
        const long long pierwszy = i0 - polowa + 1;
        double suma = 0;
        for (int j = std::max(0LL, -pierwszy); j < dlugosc && pierwszy + j < n; ++j)
            suma += wiersz[j] * probki[std::size_t(pierwszy + j)];
        wynik[m] = Probka(suma);
    }
    return wynik;
}

Probki Przytnij(const Probki& probki, int czestotliwosc)
{
    constexpr int Cisza = 164; // 0.5% of full scale
    const auto glosne = [](std::int16_t p) { return std::abs(int(p)) >= Cisza; };
    const auto pierwsza = std::find_if(probki.begin(), probki.end(), glosne);
    if (pierwsza == probki.end())
        return {};
    const auto ostatnia = std::find_if(probki.rbegin(), probki.rend(), glosne).base(); // one past the last
    const auto margines = std::ptrdiff_t(czestotliwosc / 50);
    const auto poczatek = pierwsza - std::min(margines, pierwsza - probki.begin());
    const auto koniec = ostatnia + std::min(margines, probki.end() - ostatnia);
    Probki wynik(poczatek, koniec);
    const auto wejscie = pierwsza - poczatek, wyjscie = koniec - ostatnia;
    for (std::ptrdiff_t i = 0; i < wejscie; ++i)
        wynik[std::size_t(i)] = std::int16_t(wynik[std::size_t(i)] * i / wejscie);
    for (std::ptrdiff_t i = 0; i < wyjscie; ++i) {
        auto& p = wynik[wynik.size() - 1 - std::size_t(i)];
        p = std::int16_t(p * i / wyjscie);
    }
    return wynik;
}

Probki Rozciagnij(const Probki& probki, int czestotliwosc, double tempo)
{
    if (tempo == 1.0 || probki.empty() || tempo <= 0.0)
        return probki;
    // WSOLA, set for speech: pieces of 40 ms laid 32 ms apart in the output and taken from the input 32 ms times the
    // tempo apart, each one moved by up to 15 ms to where it matches best the sound the last piece would have gone on
    // with, and cross-faded with it over 8 ms. The pitch stays; only the pace changes.
    const auto ms = [czestotliwosc](int n) {
        return std::max<std::ptrdiff_t>(1, std::ptrdiff_t(czestotliwosc) * n / 1000);
    };
    const std::ptrdiff_t kawalek = ms(40), zakladka = ms(8), szukanie = ms(15);
    const std::ptrdiff_t krokWyjscia = kawalek - zakladka;
    const double krokWejscia = double(krokWyjscia) * tempo;
    const auto dlugosc = std::ptrdiff_t(probki.size());
    const auto oczekiwane = std::size_t(std::lround(double(probki.size()) / tempo));
    const auto wejscie = [&](std::ptrdiff_t i) { return i >= 0 && i < dlugosc ? double(probki[std::size_t(i)]) : 0.0; };

    std::vector<double> wyjscie(oczekiwane + std::size_t(kawalek), 0.0);
    std::ptrdiff_t poprzedni = 0; // where the last piece was taken from
    for (std::ptrdiff_t k = 0; std::size_t(k * krokWyjscia) < oczekiwane; ++k) {
        const std::ptrdiff_t cel = k * krokWyjscia;
        std::ptrdiff_t zrodlo = std::ptrdiff_t(std::lround(double(k) * krokWejscia));
        if (k > 0) {
            // The sound the last piece would have gone on with over the overlap, and the shift that matches it best.
            const std::ptrdiff_t naturalny = poprzedni + krokWyjscia;
            double najlepsza = -1e300;
            std::ptrdiff_t przesuniecie = 0;
            for (std::ptrdiff_t d = -szukanie / 2; d <= szukanie / 2; ++d) {
                double zgodnosc = 0.0;
                for (std::ptrdiff_t i = 0; i < zakladka; i += 2)
                    zgodnosc += wejscie(zrodlo + d + i) * wejscie(naturalny + i);
                if (zgodnosc > najlepsza) {
                    najlepsza = zgodnosc;
                    przesuniecie = d;
                }
            }
            zrodlo += przesuniecie;
        }
        for (std::ptrdiff_t i = 0; i < kawalek; ++i) {
            const double waga = k > 0 && i < zakladka ? double(i) / double(zakladka) : 1.0;
            double& w = wyjscie[std::size_t(cel + i)];
            w = w * (1.0 - waga) + wejscie(zrodlo + i) * waga;
        }
        poprzedni = zrodlo;
    }
    Probki wynik(oczekiwane);
    for (std::size_t i = 0; i < oczekiwane; ++i)
        wynik[i] = Probka(wyjscie[i]);
    return wynik;
}

bool DekodujMp3(const QString& plik, Probki& probki, int& czestotliwosc, QString& blad)
{
    probki.clear();
    std::vector<unsigned char> bajty;
    if (!Wczytaj(plik, NajwiekszyPlikNagrania, bajty, blad))
        return false;
    static std::once_flag start;
    std::call_once(start, [] { mpg123_init(); });
    int kod = MPG123_OK;
    const std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)> dekoder(mpg123_new(nullptr, &kod), mpg123_delete);
    if (!dekoder) {
        blad = QString::fromUtf8(mpg123_plain_strerror(kod));
        return false;
    }
    // Signed 16-bit at the file's own rate and channels; nothing printed on damaged frames.
    mpg123_param(dekoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(dekoder.get());
    const long* czestotliwosci = nullptr;
    std::size_t ileCzestotliwosci = 0;
    mpg123_rates(&czestotliwosci, &ileCzestotliwosci);
    for (std::size_t i = 0; i < ileCzestotliwosci; ++i)
        mpg123_format(dekoder.get(), czestotliwosci[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(dekoder.get()) != MPG123_OK ||
        mpg123_feed(dekoder.get(), bajty.data(), bajty.size()) != MPG123_OK) {
        blad = QString::fromUtf8(mpg123_strerror(dekoder.get()));
        return false;
    }
    long czest = 0;
    int kanaly = 1, kodowanie = 0;
    std::vector<std::int16_t> bufor(16384);
    for (;;) {
        std::size_t gotowe = 0;
        kod = mpg123_read(dekoder.get(), bufor.data(), bufor.size() * sizeof(std::int16_t), &gotowe);
        if (kod == MPG123_NEW_FORMAT)
            mpg123_getformat(dekoder.get(), &czest, &kanaly, &kodowanie);
        const std::size_t ile = gotowe / sizeof(std::int16_t);
        if (kanaly == 2) {
            for (std::size_t i = 0; i + 1 < ile; i += 2)
                probki.push_back(std::int16_t((int(bufor[i]) + int(bufor[i + 1])) / 2));
        } else {
            probki.insert(probki.end(), bufor.begin(), bufor.begin() + std::ptrdiff_t(ile));
        }
        if (czest > 0 && probki.size() >= std::size_t(czest) * NajdluzszeNagranieS) {
            probki.resize(std::size_t(czest) * NajdluzszeNagranieS);
            break;
        }
        if (kod != MPG123_OK && kod != MPG123_NEW_FORMAT)
            break; // the end of what was read (NEED_MORE, DONE) or a frame that cannot be decoded
    }
    if (probki.empty() || czest <= 0) {
        blad = kod == MPG123_NEED_MORE || kod == MPG123_DONE ? QStringLiteral("Plik nie zawiera dźwięku.")
                                                             : QString::fromUtf8(mpg123_strerror(dekoder.get()));
        probki.clear();
        return false;
    }
    czestotliwosc = int(czest);
    return true;
}

} // namespace vokara
