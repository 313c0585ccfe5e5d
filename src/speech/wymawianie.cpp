// Cache look-up, availability check, download and playback of a word's recording.
#include "wymawianie.h"

#include "fsluchaj.h"
#include "fwarning.h"
#include "kodowanie.h"
#include "siec.h"
#include "tekst.h"

#include <QFileInfo>
#include <QUrl>

const QString Wymawianie::BrakSlowa = QStringLiteral("Takiego słowa nie mam w słowniku.\rSprawdź pisownię.");

namespace {

// The lower-cased word names one file inside the cache folder and nothing else.
bool BezpiecznaNazwa(const std::string& male)
{
    if (male.empty() || male == "." || male == "..")
        return false;
    for (unsigned char c : male) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)
            return false;
    }
    return vokara::Cp1250NaUtf8(male).size() <= 200;
}

} // namespace

Wymawianie::Wymawianie(Siec& siec, TFSluchaj& sluchaj, TFWarning& warning, std::function<QString()> folderDanych,
                       QString adresSlownika)
    : siec_(siec), sluchaj_(sluchaj), warning_(warning), folderDanych_(std::move(folderDanych)),
      adresSlownika_(std::move(adresSlownika))
{
}

QString Wymawianie::PlikNagrania(const std::string& slowo) const
{
    const std::string male = vokara::MaleLitery(slowo);
    if (!BezpiecznaNazwa(male))
        return {};
    return folderDanych_() + QStringLiteral("/voice/") + QString::fromStdString(vokara::Cp1250NaUtf8(male)) +
           QStringLiteral(".mp3");
}

QString Wymawianie::AdresNagrania(const std::string& slowo) const
{
    const std::string male = vokara::MaleLitery(slowo);
    if (!BezpiecznaNazwa(male))
        return {};
    // The path carries the word's UTF-8 form percent-encoded (a blank becomes %20).
    const QByteArray sciezka = QByteArrayLiteral("/images-common/en/mp3/") +
                               QUrl::toPercentEncoding(QString::fromStdString(vokara::Cp1250NaUtf8(male))) +
                               QByteArrayLiteral(".mp3");
    return adresSlownika_ + QString::fromLatin1(sciezka);
}

void Wymawianie::BrakWSlowniku()
{
    warning_.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji, BrakSlowa);
}

void Wymawianie::Wymow(const QString& slowo)
{
    const auto bajty = vokara::DoCp1250(slowo);
    if (!bajty) {
        BrakWSlowniku();
        return;
    }
    Wymow(*bajty);
}

void Wymawianie::Wymow(const std::string& slowo)
{
    const QString plik = PlikNagrania(slowo);
    if (plik.isEmpty()) {
        BrakWSlowniku();
        return;
    }
    // A recording heard once plays again with no network access at all.
    if (QFileInfo(plik).isFile()) {
        sluchaj_.Odtworz(plik);
        return;
    }
    const QUrl adres = QUrl::fromEncoded(AdresNagrania(slowo).toLatin1(), QUrl::StrictMode);
    if (!siec_.AdresDostepny(adres)) {
        BrakWSlowniku();
        return;
    }
    // A failed download leaves no file and says nothing, as the word may still be asked for later.
    if (siec_.Pobierz(adres, plik))
        sluchaj_.Odtworz(plik);
}
