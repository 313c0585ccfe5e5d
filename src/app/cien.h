// A soft drop shadow under a label's text, blurred once and kept, instead of a graphics effect on every paint.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class QLabel;

class CienEtykiety : public QObject {
public:
    // Draws under `etykieta` the shadow of its own text, moved by `przesuniecie`, in `kolor` (its alpha included).
    CienEtykiety(QLabel* etykieta, QPoint przesuniecie, QColor kolor);

    // The shadow as it is drawn (empty until the label has first been painted); tests look at it.
    const QImage& Obraz() const { return cien_; }

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    void Przygotuj();

    QLabel* etykieta_;
    QPoint przesuniecie_;
    QColor kolor_;
    QImage cien_;
    QString tekstCienia_; // what the kept shadow was made from
    QSize rozmiarCienia_;
};

// Blurs the alpha of an image in place: three box passes each way, which come close to a Gaussian blur.
void RozmyjAlfe(QImage& obraz, int promien);
