// Which source speaks a word: the cache, the dictionary, or the built-in voice when there is no recording to be had.
#include "wymawianie.h"

#include "adresy.h"
#include "fsluchaj.h"
#include "fwarning.h"
#include "glos.h"
#include "kodowanie.h"
#include "siec.h"
#include "tekst.h"

#include <QFile>
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

// A recording starts with an ID3 tag or an MPEG audio frame header (sync bits, then a version, layer, bit rate and
// sample rate that are not reserved). An error page, a network login page or an empty body does not.
bool WygladaNaMp3(const QByteArray& b)
{
    if (b.startsWith("ID3"))
        return true;
    if (b.size() < 4)
        return false;
    const auto bajt = [&b](int i) { return static_cast<unsigned char>(b[i]); };
    return bajt(0) == 0xFF && (bajt(1) & 0xE0) == 0xE0 && (bajt(1) & 0x18) != 0x08 && (bajt(1) & 0x06) != 0 &&
           (bajt(2) & 0xF0) != 0xF0 && (bajt(2) & 0x0C) != 0x0C;
}

} // namespace

Wymawianie::Wymawianie(Siec& siec, TFSluchaj& sluchaj, TFWarning& warning, std::function<QString()> folderDanych,
                       QString adresSlownika, QObject* parent)
    : QObject(parent), siec_(siec), sluchaj_(sluchaj), warning_(warning), folderDanych_(std::move(folderDanych)),
      adresSlownika_(std::move(adresSlownika)), slownik_(vokara::AdresUstawiony(adresSlownika_))
{
    connect(&sluchaj_, &TFSluchaj::nieodtworzono, this, &Wymawianie::NieodtworzonoNagrania);
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

// The same word again within a few seconds is asked for slowly, a third time at the normal pace again.
void Wymawianie::Powtorka(const std::string& male)
{
    const bool znowu = kiedy_.isValid() && male == poprzednie_ && kiedy_.elapsed() < OknoPowtorkiMs;
    wolno_ = znowu && !wolno_;
    poprzednie_ = male;
    kiedy_.start();
}

void Wymawianie::Nagranie(const QString& plik, const std::string& slowo)
{
    nagranie_ = plik;
    slowoNagrania_ = slowo;
    sluchaj_.Odtworz(plik, wolno_ ? TempoWolne : 1.0);
}

void Wymawianie::Powiedz(const std::string& utf8)
{
    nagranie_.clear();
    // Cleaned and bounded here already, so a text with nothing the voice could say asks for no playback at all.
    const std::string tekst = vokara::TekstDlaGlosu(utf8);
    if (!tekst.empty())
        sluchaj_.Powiedz(tekst, wolno_ ? RozciagniecieWolne : 1.0);
}

// A cached file the audio system cannot play can only be damaged: it goes, so the next request fetches it afresh,
// and the voice says the word meanwhile.
void Wymawianie::NieodtworzonoNagrania(const QString& plik)
{
    if (plik != nagranie_)
        return;
    QFile::remove(plik);
    Powiedz(vokara::Cp1250NaUtf8(slowoNagrania_));
}

void Wymawianie::Wymow(const QString& slowo)
{
    const auto bajty = vokara::DoCp1250(slowo);
    if (bajty) {
        Wymow(*bajty);
    } else if (!slownik_) {
        Powtorka(slowo.toUtf8().toStdString());
        Powiedz(slowo.toUtf8().toStdString());
    } else {
        BrakWSlowniku();
    }
}

void Wymawianie::Wymow(const std::string& slowo)
{
    const std::string male = vokara::MaleLitery(slowo);
    Powtorka(male);
    const QString plik = PlikNagrania(slowo);
    // A recording heard once plays again with no network access at all.
    if (!plik.isEmpty() && QFileInfo(plik).isFile()) {
        Nagranie(plik, slowo);
        return;
    }
    const std::string utf8 = vokara::Cp1250NaUtf8(slowo);
    // With no dictionary set up the voice speaks at once: no request, no notice, nothing stored.
    if (!slownik_) {
        Powiedz(utf8);
        return;
    }
    if (plik.isEmpty()) {
        BrakWSlowniku();
        return;
    }
    const QUrl adres = QUrl::fromEncoded(AdresNagrania(slowo).toLatin1(), QUrl::StrictMode);
    switch (siec_.SprawdzAdres(adres)) {
    case Siec::Odpowiedz::Brak:
        BrakWSlowniku(); // on the free pronunciation page this points at a typo
        return;
    case Siec::Odpowiedz::Nieosiagalny:
        Powiedz(utf8); // nothing is stored, so the recording is fetched once the dictionary can be reached
        return;
    case Siec::Odpowiedz::Dostepny:
        break;
    }
    bool nieNagranie = false;
    const auto przyjmij = [&nieNagranie](const QByteArray& poczatek) {
        nieNagranie = !WygladaNaMp3(poczatek);
        return !nieNagranie;
    };
    if (siec_.Pobierz(adres, plik, przyjmij))
        Nagranie(plik, slowo);
    else if (nieNagranie)
        Powiedz(utf8);
    // Any other failed download leaves no file and says nothing, as the word may still be asked for later.
}
