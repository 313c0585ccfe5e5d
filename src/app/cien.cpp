// The label's text is laid out once into an image, its coverage blurred into a shadow and kept until the text changes.
#include "cien.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// A window's sum divided by its width as a multiply and a shift, which the compiler can vectorise: exact for every sum
// a window of alpha values can hold while the width stays under 64.
struct Dzielnik {
    explicit Dzielnik(int okno) : mnoznik((1u << 20) / uint(okno) + 1) { Q_ASSERT(okno < 64); }
    uchar operator()(uint suma) const { return uchar((suma * mnoznik) >> 20); }
    uint mnoznik;
};

// One box pass along a line of `n` alpha values.
void Przebieg(uchar* poczatek, int n, int promien, Dzielnik dziel, std::vector<int>& bufor)
{
    bufor.assign(poczatek, poczatek + n);
    int suma = 0;
    for (int i = 0; i <= promien && i < n; ++i)
        suma += bufor[std::size_t(i)];
    for (int i = 0; i < n; ++i) {
        poczatek[i] = dziel(uint(suma));
        const int wchodzi = i + promien + 1, wychodzi = i - promien;
        suma += (wchodzi < n ? bufor[std::size_t(wchodzi)] : 0) - (wychodzi >= 0 ? bufor[std::size_t(wychodzi)] : 0);
    }
}

// The same box pass down every column of a block at once, a row at a time, so memory is read in order.
void PrzebiegPionowy(QImage& obraz, int lewa, int szerokosc, int gora, int wysokosc, int promien, Dzielnik dziel,
                     std::vector<uchar>& kopia, std::vector<int>& sumy)
{
    kopia.resize(std::size_t(szerokosc) * std::size_t(wysokosc));
    for (int y = 0; y < wysokosc; ++y)
        std::copy_n(obraz.constScanLine(gora + y) + lewa, szerokosc, kopia.begin() + std::ptrdiff_t(y) * szerokosc);
    const auto wiersz = [&](int y) { return kopia.data() + std::ptrdiff_t(y) * szerokosc; };
    sumy.assign(std::size_t(szerokosc), 0);
    for (int i = 0; i <= promien && i < wysokosc; ++i)
        std::transform(sumy.begin(), sumy.end(), wiersz(i), sumy.begin(), std::plus<>());
    for (int y = 0; y < wysokosc; ++y) {
        uchar* cel = obraz.scanLine(gora + y) + lewa;
        std::transform(sumy.begin(), sumy.end(), cel, [dziel](int suma) { return dziel(uint(suma)); });
        if (y + promien + 1 < wysokosc)
            std::transform(sumy.begin(), sumy.end(), wiersz(y + promien + 1), sumy.begin(), std::plus<>());
        if (y - promien >= 0)
            std::transform(sumy.begin(), sumy.end(), wiersz(y - promien), sumy.begin(), std::minus<>());
    }
}

} // namespace

void RozmyjAlfe(QImage& obraz, int promien)
{
    Q_ASSERT(obraz.format() == QImage::Format_Alpha8);
    // Three passes carry coverage at most three radii away: only the rows of text and that much around them can
    // change, and everything else stays transparent. Lines of text further apart than twice that are blurred as
    // separate bands, so the empty lines between them cost nothing; rows still empty are skipped.
    const int margines = 3 * promien;
    const int w = obraz.width(), h = obraz.height();
    int lewa = w, prawa = -1;
    std::vector<std::pair<int, int>> pasy; // rows with text, grown by the margin, overlapping ones joined
    for (int y = 0; y < h; ++y) {
        const uchar* linia = obraz.constScanLine(y);
        const auto pierwszy = std::find_if(linia, linia + w, [](uchar a) { return a != 0; });
        if (pierwszy == linia + w)
            continue;
        const auto ostatni = std::find_if(std::make_reverse_iterator(linia + w), std::make_reverse_iterator(linia),
                                          [](uchar a) { return a != 0; });
        lewa = std::min(lewa, int(pierwszy - linia));
        prawa = std::max(prawa, int(ostatni.base() - linia) - 1);
        const int od = std::max(0, y - margines), doo = std::min(h - 1, y + margines);
        if (!pasy.empty() && od <= pasy.back().second + 1)
            pasy.back().second = doo;
        else
            pasy.emplace_back(od, doo);
    }
    if (prawa < 0)
        return;
    lewa = std::max(0, lewa - margines);
    prawa = std::min(w - 1, prawa + margines);
    const int szerokosc = prawa - lewa + 1;
    const auto pusta = [&](int y) {
        const uchar* linia = obraz.constScanLine(y) + lewa;
        return std::all_of(linia, linia + szerokosc, [](uchar a) { return a == 0; });
    };
    const Dzielnik dziel(2 * promien + 1);
    std::vector<int> bufor;
    std::vector<uchar> kopia;
    for (auto [gora, dol] : pasy) {
        for (int przejscie = 0; przejscie < 3; ++przejscie) {
            for (int y = gora; y <= dol; ++y) {
                if (!pusta(y))
                    Przebieg(obraz.scanLine(y) + lewa, szerokosc, promien, dziel, bufor);
            }
            PrzebiegPionowy(obraz, lewa, szerokosc, gora, dol - gora + 1, promien, dziel, kopia, bufor);
        }
    }
}

CienEtykiety::CienEtykiety(QLabel* etykieta, QPoint przesuniecie, QColor kolor)
    : QObject(etykieta), etykieta_(etykieta), przesuniecie_(przesuniecie), kolor_(kolor)
{
    etykieta->installEventFilter(this);
}

void CienEtykiety::Przygotuj()
{
    const qreal skala = etykieta_->devicePixelRatioF();
    // The text's coverage, laid out as the label lays it out, painted straight into an alpha-only image.
    QImage alfa(etykieta_->size() * skala, QImage::Format_Alpha8);
    alfa.setDevicePixelRatio(skala);
    alfa.fill(0);
    {
        QPainter malarz(&alfa);
        malarz.setFont(etykieta_->font());
        malarz.setPen(Qt::black);
        const int uklad = int(etykieta_->alignment()) | (etykieta_->wordWrap() ? Qt::TextWordWrap : 0);
        malarz.drawText(etykieta_->contentsRect(), uklad, etykieta_->text());
    }
    // A radius of 2 in three passes spreads about as far as the blur radius 6 the shadow was designed with.
    RozmyjAlfe(alfa, qRound(2 * skala));
    // The shadow's colour at each blurred coverage, premultiplied: one table entry per level.
    QRgb odcienie[256];
    const QRgb kolor = qPremultiply(kolor_.rgba());
    const auto razy = [](uint skladowa, uint pokrycie) {
        const uint t = skladowa * pokrycie + 128;
        return (t + (t >> 8)) >> 8; // divided by 255, rounded
    };
    for (uint a = 0; a < 256; ++a)
        odcienie[a] = qRgba(int(razy(qRed(kolor), a)), int(razy(qGreen(kolor), a)), int(razy(qBlue(kolor), a)),
                            int(razy(qAlpha(kolor), a)));
    cien_ = QImage(alfa.size(), QImage::Format_ARGB32_Premultiplied);
    cien_.setDevicePixelRatio(skala);
    for (int y = 0; y < alfa.height(); ++y) {
        const uchar* pokrycie = alfa.constScanLine(y);
        auto* cel = reinterpret_cast<QRgb*>(cien_.scanLine(y));
        std::transform(pokrycie, pokrycie + alfa.width(), cel, [&odcienie](uchar a) { return odcienie[a]; });
    }
    tekstCienia_ = etykieta_->text();
    rozmiarCienia_ = etykieta_->size();
}

bool CienEtykiety::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    if (obiekt == etykieta_ && zdarzenie->type() == QEvent::Paint) {
        if (cien_.isNull() || tekstCienia_ != etykieta_->text() || rozmiarCienia_ != etykieta_->size())
            Przygotuj();
        QPainter malarz(etykieta_);
        malarz.drawImage(przesuniecie_, cien_);
    }
    return QObject::eventFilter(obiekt, zdarzenie); // the label then paints its text over the shadow
}
