// Progress and the review item written into the pickers' items, where RysujPozycje finds them.
#include "wybory.h"

#include "pamiec.h"
#include "wyborzestawu.h"

#include <QComboBox>

namespace vokara {

bool JestPowtorka(const QComboBox& lista, int indeks)
{
    return indeks >= 0 && indeks < lista.count() && lista.itemData(indeks, RolaPowtorki).toBool();
}

QString OpisZnajomosci(const ZnajomoscZestawu& z)
{
    return QStringLiteral("Opanowane: %1 z %2, w nauce: %3").arg(z.Opanowane()).arg(z.Wszystkie).arg(z.WNauce());
}

void OdswiezWybory(Pamiec& pamiec, const Dane& dane, const std::vector<QComboBox*>& listy)
{
    std::vector<std::string> pliki;
    pliki.reserve(dane.Zestawy.size());
    for (const auto& z : dane.Zestawy)
        pliki.push_back(z.Plik);
    const auto znajomosc = pamiec.Znajomosc(dane, pliki);
    const int doPowtorki = pamiec.LiczbaDoPowtorki();
    for (QComboBox* lista : listy) {
        int powtorka = -1;
        for (int i = 0; i < lista->count(); ++i) {
            if (JestPowtorka(*lista, i)) {
                powtorka = i;
                continue;
            }
            // The list's sets come first, in list order; anything after them has no progress of its own here.
            const auto z = std::size_t(i) < znajomosc.size() ? znajomosc[std::size_t(i)] : ZnajomoscZestawu{};
            lista->setItemData(i, z.Cwiczony ? QVariant(z.Udzial()) : QVariant(), RolaPostepu);
            lista->setItemData(i, z.Cwiczony ? QVariant(z.UdzialWNauce()) : QVariant(), RolaWNauce);
            // What the bar's two parts show, in words for the pointer and for a screen reader.
            const QVariant opis = z.Cwiczony ? QVariant(OpisZnajomosci(z)) : QVariant();
            lista->setItemData(i, opis, Qt::ToolTipRole);
            lista->setItemData(i, opis, Qt::AccessibleDescriptionRole);
        }
        const QString tekst = QStringLiteral("Powtórka (%1)").arg(doPowtorki);
        const bool wybrana = powtorka >= 0 && powtorka == lista->currentIndex();
        if (powtorka >= 0 && !wybrana && (doPowtorki == 0 || powtorka != lista->count() - 1)) {
            lista->removeItem(powtorka);
            powtorka = -1;
        }
        if (powtorka >= 0) {
            lista->setItemText(powtorka, tekst);
        } else if (doPowtorki > 0 && lista->count() > 0) {
            // It goes after everything else, and appending it never changes which item is picked.
            const int biezacy = lista->currentIndex();
            lista->addItem(tekst);
            lista->setItemData(lista->count() - 1, true, RolaPowtorki);
            lista->setCurrentIndex(biezacy);
        }
        lista->update();
    }
}

} // namespace vokara
