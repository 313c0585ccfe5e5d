// Own sets changed from outside the editor (a pair from the dictionary page, a set from the words of a text), and the
// choice between the editor and the words window for a file.
#include "wlasne.h"

#include "dane.h"
#include "tekst.h"
#include "tekstpliku.h"
#include "zbior.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace vokara {

namespace {

QStringList Nazwy(const _zestawy& moje)
{
    QStringList nazwy;
    for (const _zestaw& z : moje)
        nazwy << ZCp1250(z.Nazwa);
    return nazwy;
}

} // namespace

QStringList NazwyMoichOdOstatniego(const std::filesystem::path& katalogRoboczy)
{
    const _zestawy moje = ListaMoich(katalogRoboczy);
    Dane d;
    d.KatalogRoboczy = katalogRoboczy;
    std::vector<std::pair<QDateTime, std::size_t>> kolejnosc;
    for (std::size_t i = 0; i < moje.size(); ++i)
        kolejnosc.emplace_back(QFileInfo(QString::fromStdString(d.SciezkaDanych(moje[i].Plik).string())).lastModified(),
                               i);
    std::stable_sort(kolejnosc.begin(), kolejnosc.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList nazwy;
    for (const auto& [kiedy, i] : kolejnosc)
        nazwy << ZCp1250(moje[i].Nazwa);
    return nazwy;
}

bool DodajDoMojego(const std::filesystem::path& katalogRoboczy, const QString& angielski, const QString& polski,
                   const QString& zestaw, QString& blad)
{
    const _zestawy moje = ListaMoich(katalogRoboczy);
    WlasnyZestaw z;
    z.Nazwa = zestaw.trimmed();
    QStringList inne;
    for (const _zestaw& m : moje) {
        const QString nazwa = ZCp1250(m.Nazwa);
        if (!z.Plik.isEmpty() || nazwa.compare(z.Nazwa, Qt::CaseInsensitive) != 0) {
            inne << nazwa;
            continue;
        }
        if (!WczytajWlasny(katalogRoboczy, m.Plik, z)) {
            blad = QStringLiteral("Nie można odczytać zestawu „%1”.").arg(nazwa);
            return false;
        }
        z.Nazwa = nazwa;
        z.Plik = QString::fromStdString(m.Plik);
    }
    const Para para{angielski.trimmed(), polski.trimmed()};
    for (const Para& p : z.Pary) {
        if (p.Angielski != para.Angielski)
            continue;
        blad = p.Polski == para.Polski
                   ? QStringLiteral("„%1 – %2” jest już w zestawie „%3”.").arg(p.Angielski, p.Polski, z.Nazwa)
                   : QStringLiteral("„%1” jest już w zestawie „%2” ze znaczeniem „%3”.")
                         .arg(p.Angielski, z.Nazwa, p.Polski);
        return false;
    }
    z.Pary.append(para);
    if (const QString b = PierwszyBlad(z, inne); !b.isEmpty()) {
        blad = b;
        return false;
    }
    return ZapiszWlasny(katalogRoboczy, z, blad);
}

bool UtworzMoj(const std::filesystem::path& katalogRoboczy, const QString& nazwa, const QList<Para>& pary,
               QString& zapisana, QString& blad)
{
    const QStringList inne = Nazwy(ListaMoich(katalogRoboczy));
    QString podstawa = nazwa.trimmed();
    if (!SprawdzNazwe(podstawa, {}).isEmpty())
        podstawa = QStringLiteral("Słowa z tekstu");
    WlasnyZestaw z;
    z.Nazwa = podstawa;
    for (int numer = 2; !SprawdzNazwe(z.Nazwa, inne).isEmpty(); ++numer)
        z.Nazwa = QStringLiteral("%1 %2").arg(podstawa).arg(numer);
    z.Pary = pary;
    if (const QString b = PierwszyBlad(z, inne); !b.isEmpty()) {
        blad = b;
        return false;
    }
    if (!ZapiszWlasny(katalogRoboczy, z, blad))
        return false;
    zapisana = z.Nazwa;
    return true;
}

bool TekstDoSlow(const QString& sciezka)
{
    const QByteArray poczatek = PoczatekPliku(sciezka);
    if (NapisyLubHtml(sciezka, poczatek))
        return true;
    const WynikImportu wynik = ImportujPlik(sciezka);
    ParyImportu import;
    import.Odczytany = wynik.Ok;
    import.ZaDuzy = !wynik.Ok && QFileInfo(sciezka).size() > NajwiekszyImport;
    import.Pominiete = wynik.Pominiete;
    PoliczPary(import, wynik.Pary);
    return TekstCiagly(sciezka, poczatek, import);
}

} // namespace vokara
