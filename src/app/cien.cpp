// The label's text is laid out once into an image, its coverage blurred into a shadow and kept until the text changes.
#include "cien.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>

#include <vector>

namespace {

// One box pass along a line of `n` alpha values `skok` bytes apart.
void Przebieg(uchar* poczatek, int n, int skok, int promien, std::vector<int>& bufor)
{
    bufor.assign(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        bufor[std::size_t(i)] = poczatek[i * skok];
    int suma = 0;
    const int szerokosc = 2 * promien + 1;
    for (int i = -promien; i <= promien; ++i)
        suma += (i >= 0 && i < n) ? bufor[std::size_t(i)] : 0;
    for (int i = 0; i < n; ++i) {
        poczatek[i * skok] = uchar(suma / szerokosc);
        const int wchodzi = i + promien + 1, wychodzi = i - promien;
        suma += (wchodzi < n ? bufor[std::size_t(wchodzi)] : 0) - (wychodzi >= 0 ? bufor[std::size_t(wychodzi)] : 0);
    }
}

} // namespace

void RozmyjAlfe(QImage& obraz, int promien)
{
    Q_ASSERT(obraz.format() == QImage::Format_Alpha8);
    std::vector<int> bufor;
    for (int przejscie = 0; przejscie < 3; ++przejscie) {
        for (int y = 0; y < obraz.height(); ++y)
            Przebieg(obraz.scanLine(y), obraz.width(), 1, promien, bufor);
        for (int x = 0; x < obraz.width(); ++x)
            Przebieg(obraz.bits() + x, obraz.height(), int(obraz.bytesPerLine()), promien, bufor);
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
    QImage tekst(etykieta_->size() * skala, QImage::Format_ARGB32_Premultiplied);
    tekst.setDevicePixelRatio(skala);
    tekst.fill(Qt::transparent);
    {
        // The text laid out as the label lays it out; only its coverage matters, not its colour.
        QPainter malarz(&tekst);
        malarz.setFont(etykieta_->font());
        malarz.setPen(Qt::black);
        const int uklad = int(etykieta_->alignment()) | (etykieta_->wordWrap() ? Qt::TextWordWrap : 0);
        malarz.drawText(etykieta_->contentsRect(), uklad, etykieta_->text());
    }
    QImage alfa = tekst.convertToFormat(QImage::Format_Alpha8);
    // A radius of 2 in three passes spreads about as far as the blur radius 6 the shadow was designed with.
    RozmyjAlfe(alfa, qRound(2 * skala));
    cien_ = QImage(alfa.size(), QImage::Format_ARGB32_Premultiplied);
    cien_.setDevicePixelRatio(skala);
    cien_.fill(kolor_);
    QPainter malarz(&cien_);
    malarz.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    malarz.drawImage(QPoint(), alfa);
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
