// Fitting FSRS-6's weights to a learner: the initial stabilities first, then every weight by Adam with exact
// derivatives, and the check against the defaults on the latest answers.
#include "dopasowanie.h"

#include "wzory.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <set>

namespace vokara {

namespace {

constexpr int N = LiczbaParametrow;

// A number with its derivatives by each of the 21 weights (forward-mode differentiation): one pass over an entry's
// answers gives the loss and its whole gradient, through the schedule's own formulas.
struct Liczba {
    double v = 0.0;
    std::array<double, N> d{};

    Liczba() = default;
    Liczba(double x) : v(x) {} // a constant: no weight moves it
};

Liczba operator-(const Liczba& a)
{
    Liczba w;
    w.v = -a.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = -a.d[i];
    return w;
}
Liczba operator+(const Liczba& a, const Liczba& b)
{
    Liczba w;
    w.v = a.v + b.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = a.d[i] + b.d[i];
    return w;
}
Liczba operator-(const Liczba& a, const Liczba& b)
{
    Liczba w;
    w.v = a.v - b.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = a.d[i] - b.d[i];
    return w;
}
Liczba operator*(const Liczba& a, const Liczba& b)
{
    Liczba w;
    w.v = a.v * b.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = a.d[i] * b.v + b.d[i] * a.v;
    return w;
}
Liczba operator/(const Liczba& a, const Liczba& b)
{
    Liczba w;
    w.v = a.v / b.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = (a.d[i] - w.v * b.d[i]) / b.v;
    return w;
}
// With a plain number on one side the derivative needs less work.
Liczba operator+(Liczba a, double b)
{
    a.v += b;
    return a;
}
Liczba operator+(double a, Liczba b)
{
    b.v += a;
    return b;
}
Liczba operator-(Liczba a, double b)
{
    a.v -= b;
    return a;
}
Liczba operator-(double a, const Liczba& b)
{
    Liczba w = -b;
    w.v += a;
    return w;
}
Liczba operator*(Liczba a, double b)
{
    a.v *= b;
    for (int i = 0; i < N; ++i)
        a.d[i] *= b;
    return a;
}
Liczba operator/(const Liczba& a, double b)
{
    return a * (1.0 / b);
}
Liczba operator/(double a, const Liczba& b)
{
    Liczba w;
    w.v = a / b.v;
    const double k = -w.v / b.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = k * b.d[i];
    return w;
}
double Wartosc(const Liczba& a)
{
    return a.v;
}
Liczba Exp(const Liczba& a)
{
    Liczba w;
    w.v = std::exp(a.v);
    for (int i = 0; i < N; ++i)
        w.d[i] = w.v * a.d[i];
    return w;
}
Liczba Log(const Liczba& a)
{
    Liczba w;
    w.v = std::log(a.v);
    const double k = 1.0 / a.v;
    for (int i = 0; i < N; ++i)
        w.d[i] = k * a.d[i];
    return w;
}
Liczba Pow(const Liczba& a, const Liczba& b)
{
    // a^b = e^(b ln a)
    Liczba w;
    const double ln = std::log(a.v);
    w.v = std::exp(b.v * ln);
    const double ka = w.v * b.v / a.v, kb = w.v * ln;
    for (int i = 0; i < N; ++i)
        w.d[i] = ka * a.d[i] + kb * b.d[i];
    return w;
}

// Predictions are kept off 0 and 1 in the loss, so one surprising answer cannot dominate a fit.
constexpr double RMin = 0.0001;
constexpr double RMax = 0.9999;

double Strata(double r, bool dobrze)
{
    r = std::clamp(r, RMin, RMax);
    return dobrze ? -std::log(r) : -std::log(1.0 - r);
}

// One answer as the fit reads it: whole days since the entry's previous answer, its grade, and whether it lies in
// the held-out part.
struct Krok {
    int Dni = 0;
    signed char Ocena = 0;
    bool Odlozona = false;
};

struct Dane {
    std::vector<Krok> kroki;
    std::vector<std::size_t> poczatki; // entry i's answers are kroki[poczatki[i], poczatki[i + 1])
    std::vector<std::size_t> uczace;   // and its first this many are before the held-out part

    std::size_t Wpisy() const { return poczatki.size() - 1; }
};

Dane Przygotuj(std::span<const std::vector<Odpowiedz>> historia, double odlozone)
{
    std::vector<std::int64_t> czasy;
    std::vector<std::vector<Odpowiedz>> logi;
    logi.reserve(historia.size());
    for (const auto& log : historia) {
        std::vector<Odpowiedz> l;
        l.reserve(log.size());
        for (const Odpowiedz& o : log) {
            if (o.Ocena >= OcenaNie && o.Ocena <= OcenaLatwe) {
                l.push_back(o);
                czasy.push_back(o.Czas);
            }
        }
        std::stable_sort(l.begin(), l.end(), [](const Odpowiedz& a, const Odpowiedz& b) { return a.Czas < b.Czas; });
        logi.push_back(std::move(l));
    }
    // The latest share by time is held out: every answer at or after the moment that parts it off.
    std::int64_t granica = std::numeric_limits<std::int64_t>::max();
    if (!czasy.empty() && odlozone > 0.0) {
        const auto k =
            std::size_t(std::clamp(std::floor(double(czasy.size()) * (1.0 - odlozone)), 0.0, double(czasy.size() - 1)));
        std::nth_element(czasy.begin(), czasy.begin() + std::ptrdiff_t(k), czasy.end());
        granica = czasy[k];
    }
    Dane d;
    d.poczatki.push_back(0);
    for (const auto& l : logi) {
        std::size_t uczace = 0;
        for (std::size_t i = 0; i < l.size(); ++i) {
            const long long dni = i == 0 ? 0 : std::max<long long>(0, l[i].Dzien - l[i - 1].Dzien);
            const bool odlozona = l[i].Czas >= granica;
            d.kroki.push_back({int(std::min<long long>(dni, 1 << 30)), static_cast<signed char>(l[i].Ocena), odlozona});
            if (!odlozona)
                ++uczace;
        }
        d.poczatki.push_back(d.kroki.size());
        d.uczace.push_back(uczace);
    }
    return d;
}

// The loss and its gradient, summed over the predicted answers of the given entries' parts before the held-out one.
int Gradient(const Parametry& p, const Dane& dane, std::span<const std::size_t> wpisy, std::array<double, N>& g)
{
    std::array<Liczba, N> w;
    for (int i = 0; i < N; ++i) {
        w[i].v = p.w[std::size_t(i)];
        w[i].d[i] = 1.0;
    }
    const Liczba czynnik = wzory::Czynnik<Liczba>(w);
    g.fill(0.0);
    int ile = 0;
    for (const std::size_t wpis : wpisy) {
        wzory::Pamiec<Liczba> m;
        const std::size_t od = dane.poczatki[wpis], koniec = od + dane.uczace[wpis];
        for (std::size_t i = od; i < koniec; ++i) {
            const Krok& k = dane.kroki[i];
            Liczba r;
            if (!wzory::Krok(w, czynnik, m, i == od, k.Dni, k.Ocena, &r))
                continue;
            ++ile;
            if (r.v <= RMin || r.v >= RMax)
                continue; // the loss is flat there
            const double dStrata = k.Ocena > OcenaNie ? -1.0 / r.v : 1.0 / (1.0 - r.v);
            for (int j = 0; j < N; ++j)
                g[std::size_t(j)] += dStrata * r.d[j];
        }
    }
    return ile;
}

// Each predicted held-out answer's loss under these weights, in one fixed order.
std::vector<double> StratyOdlozonych(const Parametry& p, const Dane& dane)
{
    std::vector<double> straty;
    const double czynnik = wzory::Czynnik<double>(p.w);
    for (std::size_t wpis = 0; wpis < dane.Wpisy(); ++wpis) {
        wzory::Pamiec<double> m{0.0, 0.0};
        for (std::size_t i = dane.poczatki[wpis]; i < dane.poczatki[wpis + 1]; ++i) {
            const Krok& k = dane.kroki[i];
            double r = 0.0;
            if (wzory::Krok(p.w, czynnik, m, i == dane.poczatki[wpis], k.Dni, k.Ocena, &r) && k.Odlozona)
                straty.push_back(Strata(r, k.Ocena > OcenaNie));
        }
    }
    return straty;
}

// A grade too rarely first to be fitted keeps the default's shape: scaled as the fitted grades around it were (on a
// log scale between two of them). The four initial stabilities then stay in order (Again lowest), so the flashcard
// buttons never promise less for a better grade.
void Uporzadkuj(Parametry& p, const std::array<bool, 4>& dopasowana)
{
    const Parametry domyslne = Parametry::Domyslne();
    const auto skala = [&](int o) { return std::log(p.w[std::size_t(o)] / domyslne.w[std::size_t(o)]); };
    std::array<double, 4> w{};
    for (int o = 0; o < 4; ++o) {
        w[std::size_t(o)] = p.w[std::size_t(o)];
        if (dopasowana[std::size_t(o)])
            continue;
        int nizej = o - 1, wyzej = o + 1;
        while (nizej >= 0 && !dopasowana[std::size_t(nizej)])
            --nizej;
        while (wyzej < 4 && !dopasowana[std::size_t(wyzej)])
            ++wyzej;
        double k = 0.0;
        if (nizej >= 0 && wyzej < 4)
            k = skala(nizej) + (skala(wyzej) - skala(nizej)) * double(o - nizej) / double(wyzej - nizej);
        else if (nizej >= 0)
            k = skala(nizej);
        else if (wyzej < 4)
            k = skala(wyzej);
        w[std::size_t(o)] = domyslne.w[std::size_t(o)] * std::exp(k);
        if (nizej >= 0 && wyzej < 4)
            w[std::size_t(o)] = std::clamp(w[std::size_t(o)], p.w[std::size_t(nizej)],
                                           std::max(p.w[std::size_t(nizej)], p.w[std::size_t(wyzej)]));
    }
    for (std::size_t o = 0; o < 4; ++o)
        p.w[o] = o > 0 ? std::max(w[o], p.w[o - 1]) : w[o];
    p = p.Przyciete();
}

// The initial stability of each grade from the entries whose second answer came on a later day: the one value
// whose forgetting curve (with the default decay) best predicts those second answers. A weak pull towards the
// default keeps a grade seen in few entries from running to a bound. Returns which grades were fitted.
std::array<bool, 4> Stabilnosci(Parametry& p, const Dane& dane)
{
    constexpr int NajmniejWpisow = 30;
    constexpr double Sciaganie = 2.0;
    std::array<std::map<int, std::array<int, 2>>, 4> pary; // per first grade: elapsed days -> answers, right ones
    std::array<int, 4> wpisow{};
    for (std::size_t wpis = 0; wpis < dane.Wpisy(); ++wpis) {
        if (dane.uczace[wpis] < 2)
            continue;
        const Krok& pierwsza = dane.kroki[dane.poczatki[wpis]];
        const Krok& druga = dane.kroki[dane.poczatki[wpis] + 1];
        if (druga.Dni <= 0)
            continue;
        const std::size_t o = std::size_t(pierwsza.Ocena - 1);
        auto& para = pary[o][druga.Dni];
        ++para[0];
        para[1] += druga.Ocena > OcenaNie ? 1 : 0;
        ++wpisow[o];
    }
    const Parametry domyslne = Parametry::Domyslne();
    const double czynnik = wzory::Czynnik<double>(domyslne.w);
    std::array<bool, 4> dopasowana{};
    for (std::size_t o = 0; o < 4; ++o) {
        if (wpisow[o] < NajmniejWpisow)
            continue;
        const double x0 = std::log(domyslne.w[o]);
        const auto f = [&](double x) {
            const double s = std::exp(x);
            double suma = Sciaganie * (x - x0) * (x - x0);
            for (const auto& [dni, para] : pary[o]) {
                const double r = wzory::Pamietanie(domyslne.w, czynnik, double(dni), s);
                suma += para[1] * Strata(r, true) + (para[0] - para[1]) * Strata(r, false);
            }
            return suma;
        };
        // Golden-section search over log S within the bounds.
        double a = std::log(Parametry::Granice()[o][0]), b = std::log(Parametry::Granice()[o][1]);
        const double z = (std::sqrt(5.0) - 1.0) / 2.0;
        double c = b - z * (b - a), d = a + z * (b - a), fc = f(c), fd = f(d);
        for (int i = 0; i < 60; ++i) {
            if (fc < fd) {
                b = d;
                d = c;
                fd = fc;
                c = b - z * (b - a);
                fc = f(c);
            } else {
                a = c;
                c = d;
                fc = fd;
                d = a + z * (b - a);
                fd = f(d);
            }
        }
        p.w[o] = std::exp((a + b) / 2.0);
        dopasowana[o] = true;
    }
    Uporzadkuj(p, dopasowana);
    return dopasowana;
}

} // namespace

bool MoznaDopasowac(std::span<const std::vector<Odpowiedz>> historia)
{
    std::size_t odpowiedzi = 0;
    std::set<std::int64_t> dni;
    for (const auto& log : historia) {
        for (const Odpowiedz& o : log) {
            if (o.Ocena < OcenaNie || o.Ocena > OcenaLatwe)
                continue;
            ++odpowiedzi;
            if (dni.size() < std::size_t(NajmniejDniDoDopasowania))
                dni.insert(o.Dzien);
        }
    }
    return odpowiedzi >= std::size_t(NajmniejOdpowiedziDoDopasowania) &&
           dni.size() >= std::size_t(NajmniejDniDoDopasowania);
}

double StrataLogarytmiczna(const Parametry& p, std::span<const std::vector<Odpowiedz>> historia, std::int64_t odCzasu,
                           int* ile)
{
    double suma = 0.0;
    int n = 0;
    std::vector<double> przewidywania;
    std::vector<Odpowiedz> log;
    for (const auto& l : historia) {
        log.assign(l.begin(), l.end());
        std::stable_sort(log.begin(), log.end(),
                         [](const Odpowiedz& a, const Odpowiedz& b) { return a.Czas < b.Czas; });
        Odtworz(p, log, &przewidywania);
        for (std::size_t i = 0; i < log.size(); ++i) {
            if (przewidywania[i] >= 0.0 && log[i].Czas >= odCzasu) {
                suma += Strata(przewidywania[i], log[i].Ocena > OcenaNie);
                ++n;
            }
        }
    }
    if (ile)
        *ile = n;
    return n > 0 ? suma / n : 0.0;
}

WynikDopasowania Dopasuj(std::span<const std::vector<Odpowiedz>> historia, const UstawieniaDopasowania& u,
                         const std::atomic<bool>* przerwij)
{
    WynikDopasowania wynik;
    const Dane dane = Przygotuj(historia, std::clamp(u.Odlozone, 0.0, 0.9));
    const auto przerwane = [&] { return przerwij && przerwij->load(std::memory_order_relaxed); };

    // The entries with anything to learn from, and how many predicted answers each brings.
    std::vector<std::size_t> wpisy;
    std::vector<int> przewidywane(dane.Wpisy(), 0);
    for (std::size_t wpis = 0; wpis < dane.Wpisy(); ++wpis) {
        const std::size_t od = dane.poczatki[wpis];
        for (std::size_t i = od + 1; i < od + dane.uczace[wpis]; ++i)
            przewidywane[wpis] += dane.kroki[i].Dni > 0 ? 1 : 0;
        if (przewidywane[wpis] > 0)
            wpisy.push_back(wpis);
        wynik.Uczace += przewidywane[wpis];
    }

    Parametry p = Parametry::Domyslne();
    const std::array<bool, 4> dopasowane = Stabilnosci(p, dane);

    // Steps of whole entries with about u.Paczka predicted answers each; the order changes every pass.
    const int paczka = std::max(1, u.Paczka);
    const int epoki = std::max(0, u.Epoki);
    const long long krokow = (std::max(1, wynik.Uczace) + paczka - 1) / paczka * (long long)epoki;
    std::mt19937_64 los(u.Ziarno);
    std::array<double, N> m{}, v{}, g{};
    constexpr double B1 = 0.9, B2 = 0.999, Eps = 1e-8;
    long long t = 0;
    std::vector<std::size_t> kolejka;
    for (int e = 0; e < epoki && !wpisy.empty(); ++e) {
        std::shuffle(wpisy.begin(), wpisy.end(), los);
        for (std::size_t i = 0; i < wpisy.size();) {
            if (przerwane()) {
                wynik.Przerwane = true;
                return wynik;
            }
            kolejka.clear();
            int w = 0;
            while (i < wpisy.size() && w < paczka) {
                kolejka.push_back(wpisy[i]);
                w += przewidywane[wpisy[i]];
                ++i;
            }
            const int ile = Gradient(p, dane, kolejka, g);
            if (ile == 0)
                continue;
            ++t;
            const double krok =
                u.Krok * 0.5 * (1.0 + std::cos(std::numbers::pi * double(std::min(t, krokow) - 1) / double(krokow)));
            for (std::size_t j = 0; j < std::size_t(N); ++j) {
                const double gj = g[j] / ile;
                m[j] = B1 * m[j] + (1.0 - B1) * gj;
                v[j] = B2 * v[j] + (1.0 - B2) * gj * gj;
                const double mh = m[j] / (1.0 - std::pow(B1, double(t)));
                const double vh = v[j] / (1.0 - std::pow(B2, double(t)));
                p.w[j] -= krok * mh / (std::sqrt(vh) + Eps);
            }
            p = p.Przyciete();
        }
    }
    Uporzadkuj(p, dopasowane);
    wynik.Dopasowane = p;

    // The check on the held-out answers, answer by answer against the defaults.
    const std::vector<double> dopasowanych = StratyOdlozonych(p, dane);
    const std::vector<double> domyslnych = StratyOdlozonych(Parametry::Domyslne(), dane);
    const std::size_t n = dopasowanych.size();
    wynik.Sprawdzane = int(n);
    if (n == 0)
        return wynik;
    double sumaDop = 0.0, sumaDom = 0.0, sumaR = 0.0, sumaR2 = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sumaDop += dopasowanych[i];
        sumaDom += domyslnych[i];
        const double r = domyslnych[i] - dopasowanych[i];
        sumaR += r;
        sumaR2 += r * r;
    }
    wynik.StrataDopasowanych = sumaDop / double(n);
    wynik.StrataDomyslnych = sumaDom / double(n);
    const double srednia = sumaR / double(n);
    const double wariancja = n > 1 ? std::max(0.0, (sumaR2 - double(n) * srednia * srednia) / double(n - 1)) : 0.0;
    wynik.BladRoznicy = std::sqrt(wariancja / double(n));
    wynik.Lepsze = n > 1 && srednia > 0.0 && srednia > 2.0 * wynik.BladRoznicy;
    return wynik;
}

} // namespace vokara
