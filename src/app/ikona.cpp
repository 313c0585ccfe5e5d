#include "ikona.h"

#include <QIconEngine>

namespace {

class SilnikNaZadanie : public QIconEngine {
public:
    explicit SilnikNaZadanie(QString plik) : plik_(std::move(plik)) {}

    void paint(QPainter* malarz, const QRect& prostokat, QIcon::Mode tryb, QIcon::State stan) override
    {
        Ikona().paint(malarz, prostokat, Qt::AlignCenter, tryb, stan);
    }
    QPixmap pixmap(const QSize& rozmiar, QIcon::Mode tryb, QIcon::State stan) override
    {
        return Ikona().pixmap(rozmiar, tryb, stan);
    }
    QPixmap scaledPixmap(const QSize& rozmiar, QIcon::Mode tryb, QIcon::State stan, qreal skala) override
    {
        return Ikona().pixmap(rozmiar, skala, tryb, stan);
    }
    QSize actualSize(const QSize& rozmiar, QIcon::Mode tryb, QIcon::State stan) override
    {
        return Ikona().actualSize(rozmiar, tryb, stan);
    }
    QList<QSize> availableSizes(QIcon::Mode tryb, QIcon::State stan) override
    {
        return Ikona().availableSizes(tryb, stan);
    }
    QIconEngine* clone() const override { return new SilnikNaZadanie(plik_); }

private:
    const QIcon& Ikona()
    {
        if (ikona_.isNull())
            ikona_ = QIcon(plik_);
        return ikona_;
    }

    QString plik_;
    QIcon ikona_;
};

} // namespace

QIcon IkonaNaZadanie(const QString& plik)
{
    return QIcon(new SilnikNaZadanie(plik));
}
