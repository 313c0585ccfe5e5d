// The FSRS-6 formulas written once, for plain numbers and for the fit's numbers that carry their derivatives.
#pragma once

#include <cmath>

namespace vokara::wzory {

inline constexpr double SMin = 0.001; // days; the published floor and ceiling of a stability
inline constexpr double SMax = 36500.0;
inline constexpr double DMin = 1.0;
inline constexpr double DMax = 10.0;

// The plain numbers' side of what the formulas use; the fit's numbers bring their own overloads.
inline double Wartosc(double x)
{
    return x;
}
inline double Exp(double x)
{
    return std::exp(x);
}
inline double Log(double x)
{
    return std::log(x);
}
inline double Pow(double a, double b)
{
    return std::pow(a, b);
}

// A bound cuts the dependence on the weights as well: a clamped value is a constant.
template <class T> T Przytnij(const T& x, double lo, double hi)
{
    if (Wartosc(x) < lo)
        return T(lo);
    if (Wartosc(x) > hi)
        return T(hi);
    return x;
}

// w is any indexable holding w0..w20 as T.
template <class T, class W> T Czynnik(const W& w)
{
    // Chosen so that R(S, S) = 0.9 whatever the decay.
    return Exp(-std::log(0.9) / w[20]) - 1.0;
}

template <class T, class W> T Pamietanie(const W& w, const T& czynnik, double dni, const T& s)
{
    return Exp(-w[20] * Log(1.0 + czynnik * dni / s));
}

template <class T, class W> T TrudnoscPoczatkowa(const W& w, int ocena)
{
    return w[4] - Exp(w[5] * double(ocena - 1)) + 1.0;
}

template <class T, class W> T NowaTrudnosc(const W& w, const T& d, int ocena)
{
    const T zmiana = -w[6] * double(ocena - 3);
    // Linear damping: the nearer 10, the smaller a step up, so difficulty never sticks at the top.
    const T poKroku = d + zmiana * (10.0 - d) / 9.0;
    // Mean reversion towards the difficulty of a first Easy, so an old run of Again fades.
    const T docelowa = TrudnoscPoczatkowa<T>(w, 4);
    return Przytnij(w[7] * docelowa + (1.0 - w[7]) * poKroku, DMin, DMax);
}

template <class T, class W> T StabilnoscPoPrzypomnieniu(const W& w, const T& s, const T& d, const T& r, int ocena)
{
    T wzrost = Exp(w[8]) * (11.0 - d) * Pow(s, -w[9]) * (Exp(w[10] * (1.0 - r)) - 1.0);
    if (ocena == 2)
        wzrost = wzrost * w[15]; // hard penalty
    else if (ocena == 4)
        wzrost = wzrost * w[16]; // easy bonus
    return s * (wzrost + 1.0);
}

template <class T, class W> T StabilnoscPoZapomnieniu(const W& w, const T& s, const T& d, const T& r)
{
    const T po = w[11] * Pow(d, -w[12]) * (Pow(s + 1.0, w[13]) - 1.0) * Exp(w[14] * (1.0 - r));
    // FSRS-6's cap: a lapse never leaves more stability than the same-day Again would have.
    const T najwyzej = s / Exp(w[17] * w[18]);
    return Wartosc(po) < Wartosc(najwyzej) ? po : najwyzej;
}

template <class T, class W> T StabilnoscTegoSamegoDnia(const W& w, const T& s, int ocena)
{
    T wzrost = Exp(w[17] * (double(ocena - 3) + w[18])) * Pow(s, -w[19]);
    // Good and Easy on the same day never lower stability.
    if (ocena >= 3 && Wartosc(wzrost) < 1.0)
        wzrost = T(1.0);
    return s * wzrost;
}

template <class T> struct Pamiec {
    T S;
    T D;
};

// One answer into the state; `dni` is the whole calendar days since the previous answer (ignored for the first).
// Returns the recall the state predicted for this answer when it is a prediction the model makes (a later day), so
// the fit and the held-out check read the same number the schedule uses.
template <class T, class W>
bool Krok(const W& w, const T& czynnik, Pamiec<T>& m, bool pierwsza, long long dni, int ocena, T* przewidywanie)
{
    if (pierwsza) {
        m.S = Przytnij(T(w[ocena - 1]), SMin, SMax);
        m.D = Przytnij(TrudnoscPoczatkowa<T>(w, ocena), DMin, DMax);
        return false;
    }
    T nowaS;
    bool przewidziana = false;
    if (dni <= 0) {
        nowaS = StabilnoscTegoSamegoDnia(w, m.S, ocena);
    } else {
        const T r = Pamietanie(w, czynnik, double(dni), m.S);
        if (przewidywanie)
            *przewidywanie = r;
        przewidziana = true;
        nowaS = ocena == 1 ? StabilnoscPoZapomnieniu(w, m.S, m.D, r) : StabilnoscPoPrzypomnieniu(w, m.S, m.D, r, ocena);
    }
    m.D = NowaTrudnosc(w, m.D, ocena);
    m.S = Przytnij(nowaS, SMin, SMax);
    return przewidziana;
}

} // namespace vokara::wzory
