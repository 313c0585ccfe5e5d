// The review schedule on FSRS-6: the defaults and bounds, one answer, a replayed log, due times and their Polish texts.
#include "harmonogram.h"

#include "wzory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vokara {

namespace {

// A grade the schedule can take; anything else (a damaged row) is passed over.
bool Poprawna(int ocena)
{
    return ocena >= OcenaNie && ocena <= OcenaLatwe;
}

double CzynnikKrzywej(const Parametry& p)
{
    return wzory::Czynnik<double>(p.w);
}

} // namespace

Parametry Parametry::Domyslne()
{
    return {{0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
             1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542}};
}

const std::array<std::array<double, 2>, LiczbaParametrow>& Parametry::Granice()
{
    // The initial stabilities stay within 0.001-100 days. w17 and w18 share a ceiling that only lowers below 2 with
    // several relearning steps, which this program does not have.
    static const std::array<std::array<double, 2>, LiczbaParametrow> granice = {{
        {wzory::SMin, 100.0}, {wzory::SMin, 100.0}, {wzory::SMin, 100.0}, {wzory::SMin, 100.0}, {1.0, 10.0},
        {0.001, 4.0},         {0.001, 4.0},         {0.001, 0.75},        {0.0, 4.5},           {0.0, 0.8},
        {0.001, 3.5},         {0.001, 5.0},         {0.001, 0.25},        {0.001, 0.9},         {0.0, 4.0},
        {0.0, 1.0},           {1.0, 6.0},           {0.0, 2.0},           {0.0, 2.0},           {0.0, 0.8},
        {0.1, 0.8},
    }};
    return granice;
}

Parametry Parametry::Przyciete() const
{
    const Parametry domyslne = Domyslne();
    Parametry wynik = *this;
    for (int i = 0; i < LiczbaParametrow; ++i) {
        double& x = wynik.w[std::size_t(i)];
        x = std::isfinite(x) ? std::clamp(x, Granice()[std::size_t(i)][0], Granice()[std::size_t(i)][1])
                             : domyslne.w[std::size_t(i)];
    }
    return wynik;
}

namespace fsrs {

double Pamietanie(const Parametry& p, double dni, double s)
{
    return wzory::Pamietanie(p.w, CzynnikKrzywej(p), std::max(0.0, dni), std::max(s, wzory::SMin));
}

double Odstep(const Parametry& p, double s, double retencja)
{
    // R(t, S) solved for t.
    const double r = std::clamp(retencja, 0.0001, 0.9999);
    const double t = std::max(s, wzory::SMin) / CzynnikKrzywej(p) * (std::pow(r, -1.0 / p.w[20]) - 1.0);
    return std::clamp(t, 0.0, wzory::SMax);
}

double StabilnoscPoczatkowa(const Parametry& p, int ocena)
{
    return std::clamp(p.w[std::size_t(std::clamp(ocena, 1, 4) - 1)], wzory::SMin, wzory::SMax);
}

double TrudnoscPoczatkowa(const Parametry& p, int ocena)
{
    return std::clamp(wzory::TrudnoscPoczatkowa<double>(p.w, ocena), wzory::DMin, wzory::DMax);
}

double NowaTrudnosc(const Parametry& p, double d, int ocena)
{
    return wzory::NowaTrudnosc(p.w, d, ocena);
}

double StabilnoscPoPrzypomnieniu(const Parametry& p, double s, double d, double r, int ocena)
{
    return std::clamp(wzory::StabilnoscPoPrzypomnieniu(p.w, s, d, r, ocena), wzory::SMin, wzory::SMax);
}

double StabilnoscPoZapomnieniu(const Parametry& p, double s, double d, double r)
{
    return std::clamp(wzory::StabilnoscPoZapomnieniu(p.w, s, d, r), wzory::SMin, wzory::SMax);
}

double StabilnoscTegoSamegoDnia(const Parametry& p, double s, int ocena)
{
    return std::clamp(wzory::StabilnoscTegoSamegoDnia(p.w, s, ocena), wzory::SMin, wzory::SMax);
}

} // namespace fsrs

StanFsrs Powtorz(const Parametry& p, const StanFsrs& stan, const Odpowiedz& odpowiedz, double* przewidywanie)
{
    if (przewidywanie)
        *przewidywanie = -1.0;
    if (!Poprawna(odpowiedz.Ocena))
        return stan;
    StanFsrs wynik = stan;
    wzory::Pamiec<double> m{stan.S, stan.D};
    const bool pierwsza = stan.Nowy();
    // A clock set back between two answers counts as the same day rather than as negative time.
    const long long dni = pierwsza ? 0 : std::max<long long>(0, odpowiedz.Dzien - stan.OstatniDzien);
    wzory::Krok(p.w, CzynnikKrzywej(p), m, pierwsza, dni, odpowiedz.Ocena, przewidywanie);
    wynik.S = m.S;
    wynik.D = m.D;
    wynik.OstatniCzas = odpowiedz.Czas;
    wynik.OstatniDzien = odpowiedz.Dzien;
    ++wynik.Odpowiedzi;
    if (!pierwsza && odpowiedz.Ocena == OcenaNie)
        ++wynik.Pomylki;
    return wynik;
}

StanFsrs Odtworz(const Parametry& p, std::span<const Odpowiedz> log, std::vector<double>* przewidywania)
{
    const auto wczesniej = [](const Odpowiedz& a, const Odpowiedz& b) { return a.Czas < b.Czas; };
    std::vector<Odpowiedz> posortowany;
    if (!std::is_sorted(log.begin(), log.end(), wczesniej)) {
        posortowany.assign(log.begin(), log.end());
        std::stable_sort(posortowany.begin(), posortowany.end(), wczesniej);
        log = posortowany;
    }
    if (przewidywania)
        przewidywania->assign(log.size(), -1.0);
    StanFsrs stan;
    for (std::size_t i = 0; i < log.size(); ++i)
        stan = Powtorz(p, stan, log[i], przewidywania ? &(*przewidywania)[i] : nullptr);
    return stan;
}

double PrzewidywanePamietanie(const Parametry& p, const StanFsrs& stan, std::int64_t czas)
{
    if (stan.Nowy())
        return 0.0;
    return fsrs::Pamietanie(p, double(czas - stan.OstatniCzas) / double(MsNaDzien), stan.S);
}

std::int64_t Termin(const Parametry& p, const StanFsrs& stan, double retencja)
{
    if (stan.Nowy())
        return 0;
    return stan.OstatniCzas + std::int64_t(std::llround(fsrs::Odstep(p, stan.S, retencja) * double(MsNaDzien)));
}

std::array<std::int64_t, 4> OdstepyOcen(const Parametry& p, const StanFsrs& stan, std::int64_t czas, std::int64_t dzien,
                                        double retencja)
{
    std::array<std::int64_t, 4> wynik{};
    for (int ocena = OcenaNie; ocena <= OcenaLatwe; ++ocena) {
        const StanFsrs po = Powtorz(p, stan, {czas, dzien, ocena});
        wynik[std::size_t(ocena - 1)] = Termin(p, po, retencja) - czas;
    }
    return wynik;
}

namespace {

// The Polish plural of a year: 1 rok, 2-4 lata (but 12-14 lat), otherwise lat.
const char* Lata(long long n)
{
    if (n == 1)
        return "rok";
    const long long jednosci = n % 10, dziesiatki = n % 100;
    if (jednosci >= 2 && jednosci <= 4 && (dziesiatki < 12 || dziesiatki > 14))
        return "lata";
    return "lat";
}

} // namespace

std::string OpisOdstepu(std::int64_t ms)
{
    const auto za = [](long long n, const char* jednostka) { return "za " + std::to_string(n) + " " + jednostka; };
    const double minuty = double(std::max<std::int64_t>(ms, 0)) / 60000.0;
    if (const long long m = std::max(1LL, std::llround(minuty)); m < 60)
        return za(m, "min");
    if (const long long h = std::llround(minuty / 60.0); h < 24)
        return za(h, "godz.");
    const double dni = minuty / 1440.0;
    if (const long long d = std::llround(dni); d < 30)
        return za(d, d == 1 ? "dzień" : "dni");
    // An average month and year, so 61 days are two months and 365 days one year.
    if (const long long mies = std::llround(dni / 30.436875); mies < 12)
        return za(mies, "mies.");
    const long long lata = std::max(1LL, std::llround(dni / 365.2425));
    return za(lata, Lata(lata));
}

Etap EtapWpisu(const StanFsrs& stan)
{
    if (stan.Nowy())
        return Etap::Nowe;
    if (stan.S >= ProgOpanowania)
        return Etap::Opanowane;
    if (stan.S >= ProgUtrwalania)
        return Etap::Utrwalane;
    return Etap::WNauce;
}

} // namespace vokara
