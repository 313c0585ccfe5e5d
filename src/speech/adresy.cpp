// Reads the base addresses from the environment, falling back on the values set when the program was built.
#include "adresy.h"

#include <QByteArray>
#include <QUrl>
#include <QtGlobal>

namespace vokara {

namespace {
QString Adres(const char* zmienna, const char* domyslny)
{
    QString adres = qEnvironmentVariable(zmienna);
    if (adres.trimmed().isEmpty())
        adres = QString::fromUtf8(domyslny);
    adres = adres.trimmed();
    while (adres.endsWith(QLatin1Char('/')))
        adres.chop(1);
    return adres;
}
} // namespace

QString AdresSlownika()
{
    return Adres("VOKARA_DICTIONARY_URL", VOKARA_DOMYSLNY_SLOWNIK);
}

QString AdresDomowy()
{
    return Adres("VOKARA_HOME_URL", VOKARA_DOMYSLNA_STRONA);
}

bool AdresUstawiony(const QString& adres)
{
    const QString host = QUrl(adres).host();
    return !host.isEmpty() && host != QLatin1String("invalid") && !host.endsWith(QLatin1String(".invalid"));
}

} // namespace vokara
