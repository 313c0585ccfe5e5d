// Reading dictd's index and text files: base64 numbers, the index lines, dictzip chunks and their fall-backs.
#include "dictd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace vokara::slownik {

namespace {

int CyfraDictd(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool Naglowek00(std::string_view klucz)
{
    return klucz.starts_with("00database") || klucz.starts_with("00-database-");
}

std::uint32_t Le16(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8);
}

std::uint32_t Le32(const unsigned char* p)
{
    return Le16(p) | (Le16(p + 2) << 16);
}

class ZrodloPliku : public ZrodloBajtow {
public:
    ZrodloPliku(int fd, std::uint64_t rozmiar) : fd_(fd), rozmiar_(rozmiar) {}
    ~ZrodloPliku() override { ::close(fd_); }
    ZrodloPliku(const ZrodloPliku&) = delete;
    ZrodloPliku& operator=(const ZrodloPliku&) = delete;
    std::uint64_t Rozmiar() const override { return rozmiar_; }

    bool Czytaj(std::uint64_t od, std::size_t ile, char* dokad) override
    {
        if (od > rozmiar_ || ile > rozmiar_ - od)
            return false;
        while (ile > 0) {
            const ssize_t n = ::pread(fd_, dokad, ile, off_t(od));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false; // an error, or the file got shorter since it was opened
            dokad += n;
            od += std::uint64_t(n);
            ile -= std::size_t(n);
        }
        return true;
    }

private:
    int fd_;
    std::uint64_t rozmiar_;
};

} // namespace

bool LiczbaDictd(std::string_view tekst, std::uint32_t& wartosc)
{
    if (tekst.empty() || tekst.size() > 6)
        return false;
    std::uint64_t w = 0;
    for (char c : tekst) {
        const int cyfra = CyfraDictd(c);
        if (cyfra < 0)
            return false;
        w = w * 64 + std::uint64_t(cyfra);
    }
    if (w > 0xFFFFFFFFu)
        return false;
    wartosc = std::uint32_t(w);
    return true;
}

bool Indeks::Wczytaj(std::string bajty, std::string& blad)
{
    tekst_.clear();
    pozycje_.clear();
    koniec_ = 0;
    if (bajty.size() > NajwiekszyIndeks) {
        blad = "indeks jest za duży";
        return false;
    }
    tekst_ = std::move(bajty);
    const std::string_view t = tekst_;
    pozycje_.reserve(t.size() / 24);
    std::size_t numer = 0;
    for (std::size_t poczatek = 0; poczatek < t.size();) {
        std::size_t koniec = t.find('\n', poczatek);
        if (koniec == std::string_view::npos)
            koniec = t.size();
        std::string_view linia = t.substr(poczatek, koniec - poczatek);
        const std::size_t odLinii = poczatek;
        poczatek = koniec + 1;
        ++numer;
        if (!linia.empty() && linia.back() == '\r')
            linia.remove_suffix(1);
        if (linia.empty())
            continue;
        const auto zle = [&](const char* co) {
            blad = std::string(co) + " w wierszu " + std::to_string(numer) + " indeksu";
            tekst_.clear();
            pozycje_.clear();
            koniec_ = 0;
            return false;
        };
        const std::size_t tab1 = linia.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : linia.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos)
            return zle("brak tabulatora");
        std::size_t tab3 = linia.find('\t', tab2 + 1);
        if (tab3 == std::string_view::npos)
            tab3 = linia.size();
        else if (linia.find('\t', tab3 + 1) != std::string_view::npos)
            return zle("za dużo pól");
        const std::string_view klucz = linia.substr(0, tab1);
        if (Naglowek00(klucz))
            continue;
        std::uint32_t od = 0;
        std::uint32_t dlugosc = 0;
        if (klucz.size() > NajdluzszyKlucz)
            return zle("za długie hasło");
        if (!LiczbaDictd(linia.substr(tab1 + 1, tab2 - tab1 - 1), od) ||
            !LiczbaDictd(linia.substr(tab2 + 1, tab3 - tab2 - 1), dlugosc))
            return zle("zła liczba");
        if (dlugosc > NajdluzszyWpis)
            return zle("za długi wpis");
        if (dlugosc == 0 || klucz.empty())
            continue; // nothing to find: headwords of punctuation alone have no key
        pozycje_.push_back({std::uint32_t(odLinii), od, dlugosc, std::uint16_t(klucz.size())});
        koniec_ = std::max(koniec_, std::uint64_t(od) + dlugosc);
    }
    std::stable_sort(pozycje_.begin(), pozycje_.end(),
                     [this](const PozycjaIndeksu& a, const PozycjaIndeksu& b) { return Klucz(a) < Klucz(b); });
    pozycje_.shrink_to_fit();
    return true;
}

std::pair<const PozycjaIndeksu*, const PozycjaIndeksu*> Indeks::Znajdz(std::string_view klucz) const
{
    const auto od = std::lower_bound(pozycje_.begin(), pozycje_.end(), klucz,
                                     [this](const PozycjaIndeksu& a, std::string_view k) { return Klucz(a) < k; });
    const auto doo = std::upper_bound(od, pozycje_.end(), klucz,
                                      [this](std::string_view k, const PozycjaIndeksu& a) { return k < Klucz(a); });
    return {pozycje_.data() + (od - pozycje_.begin()), pozycje_.data() + (doo - pozycje_.begin())};
}

bool Indeks::Jest(std::string_view klucz) const
{
    const auto [od, doo] = Znajdz(klucz);
    return od != doo;
}

bool ZrodloPamieci::Czytaj(std::uint64_t od, std::size_t ile, char* dokad)
{
    if (od > bajty_.size() || ile > bajty_.size() - od)
        return false;
    std::memcpy(dokad, bajty_.data() + od, ile);
    return true;
}

std::unique_ptr<ZrodloBajtow> OtworzPlik(const std::string& sciezka, std::string& blad)
{
    const int fd = ::open(sciezka.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        blad = "nie można otworzyć pliku " + sciezka;
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        blad = "to nie jest zwykły plik: " + sciezka;
        return nullptr;
    }
    return std::make_unique<ZrodloPliku>(fd, std::uint64_t(st.st_size));
}

bool WczytajPlik(const std::string& sciezka, std::uint64_t najwiecej, std::string& bajty, std::string& blad)
{
    auto plik = OtworzPlik(sciezka, blad);
    if (!plik)
        return false;
    if (plik->Rozmiar() > najwiecej) {
        blad = "plik jest za duży: " + sciezka;
        return false;
    }
    bajty.resize(plik->Rozmiar());
    if (!plik->Czytaj(0, bajty.size(), bajty.data())) {
        blad = "nie można przeczytać pliku " + sciezka;
        return false;
    }
    return true;
}

TekstSlownika::TekstSlownika() = default;

TekstSlownika::~TekstSlownika()
{
    if (strumien_) {
        inflateEnd(strumien_);
        delete strumien_;
    }
}

bool TekstSlownika::Otworz(std::unique_ptr<ZrodloBajtow> zrodlo, std::string& blad)
{
    rodzaj_ = Rodzaj::Brak;
    zrodlo_ = std::move(zrodlo);
    if (!zrodlo_) {
        blad = "brak pliku";
        return false;
    }
    unsigned char magia[2] = {0, 0};
    if (zrodlo_->Rozmiar() >= 2 && !zrodlo_->Czytaj(0, 2, reinterpret_cast<char*>(magia))) {
        blad = "nie można przeczytać tekstu słownika";
        return false;
    }
    if (magia[0] != 0x1F || magia[1] != 0x8B) {
        if (zrodlo_->Rozmiar() > NajwiekszyTekst) {
            blad = "tekst słownika jest za duży";
            return false;
        }
        rozmiar_ = zrodlo_->Rozmiar();
        rodzaj_ = Rodzaj::Zwykly;
        return true;
    }
    if (zrodlo_->Rozmiar() > NajwiekszyPlikTekstu) {
        blad = "tekst słownika jest za duży";
        return false;
    }
    if (!CzytajNaglowekGzip(blad))
        return false;
    if (rodzaj_ == Rodzaj::CalyGzip && !RozpakujCaly(blad)) {
        rodzaj_ = Rodzaj::Brak;
        return false;
    }
    return true;
}

bool TekstSlownika::CzytajNaglowekGzip(std::string& blad)
{
    const std::uint64_t rozmiarPliku = zrodlo_->Rozmiar();
    // The fixed part, the extra field (at most 64 KiB), names and the header check fit in this much.
    std::string naglowek(std::min<std::uint64_t>(rozmiarPliku, 10 + 2 + 65535 + 2 * 4096 + 2), '\0');
    if (naglowek.size() < 18 || !zrodlo_->Czytaj(0, naglowek.size(), naglowek.data())) {
        blad = "tekst słownika jest obcięty";
        return false;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(naglowek.data());
    const unsigned flagi = b[3];
    if (b[2] != 8 || (flagi & 0xE0) != 0) {
        blad = "nieznany rodzaj kompresji";
        return false;
    }
    std::size_t pozycja = 10;
    bool maTablice = false;
    std::uint32_t ileKawalkow = 0;
    std::vector<std::uint32_t> dlugosci;
    if (flagi & 0x04) { // FEXTRA
        if (pozycja + 2 > naglowek.size()) {
            blad = "nagłówek jest obcięty";
            return false;
        }
        const std::size_t xlen = Le16(b + pozycja);
        pozycja += 2;
        if (pozycja + xlen > naglowek.size()) {
            blad = "nagłówek jest obcięty";
            return false;
        }
        const std::size_t koniecExtra = pozycja + xlen;
        while (pozycja + 4 <= koniecExtra) {
            const std::size_t len = Le16(b + pozycja + 2);
            const bool ra = b[pozycja] == 'R' && b[pozycja + 1] == 'A';
            pozycja += 4;
            if (pozycja + len > koniecExtra) {
                blad = "pole dodatkowe nagłówka jest obcięte";
                return false;
            }
            if (ra && !maTablice) {
                if (len < 6 || Le16(b + pozycja) != 1) {
                    blad = "nieznana wersja tablicy kawałków";
                    return false;
                }
                dlugoscKawalka_ = Le16(b + pozycja + 2);
                ileKawalkow = Le16(b + pozycja + 4);
                if (dlugoscKawalka_ == 0 || ileKawalkow == 0 || len != 6 + 2 * std::size_t(ileKawalkow)) {
                    blad = "tablica kawałków nie zgadza się ze swoją długością";
                    return false;
                }
                dlugosci.resize(ileKawalkow);
                for (std::uint32_t i = 0; i < ileKawalkow; ++i)
                    dlugosci[i] = Le16(b + pozycja + 6 + 2 * i);
                maTablice = true;
            }
            pozycja += len;
        }
        pozycja = koniecExtra;
    }
    for (unsigned flaga : {0x08u, 0x10u}) { // FNAME, FCOMMENT: zero-terminated
        if (flagi & flaga) {
            const std::size_t zero = naglowek.find('\0', pozycja);
            if (zero == std::string::npos) {
                blad = "nagłówek jest obcięty";
                return false;
            }
            pozycja = zero + 1;
        }
    }
    if (flagi & 0x02) // FHCRC
        pozycja += 2;
    if (pozycja + 8 > rozmiarPliku) {
        blad = "tekst słownika jest obcięty";
        return false;
    }
    unsigned char stopka[4];
    if (!zrodlo_->Czytaj(rozmiarPliku - 4, 4, reinterpret_cast<char*>(stopka))) {
        blad = "nie można przeczytać tekstu słownika";
        return false;
    }
    const std::uint32_t isize = Le32(stopka);
    unsigned char crc[4];
    if (!zrodlo_->Czytaj(rozmiarPliku - 8, 4, reinterpret_cast<char*>(crc))) {
        blad = "nie można przeczytać tekstu słownika";
        return false;
    }
    sumaPliku_ = Le32(crc);
    suma_ = crc32(0, nullptr, 0);
    if (!maTablice) {
        rodzaj_ = Rodzaj::CalyGzip;
        return true;
    }
    poczatki_.assign(ileKawalkow + 1, 0);
    poczatki_[0] = pozycja;
    for (std::uint32_t i = 0; i < ileKawalkow; ++i) {
        if (dlugosci[i] == 0) {
            blad = "pusty kawałek w tablicy kawałków";
            return false;
        }
        poczatki_[i + 1] = poczatki_[i] + dlugosci[i];
    }
    if (poczatki_.back() > rozmiarPliku - 8) {
        blad = "tablica kawałków sięga poza koniec pliku (plik obcięty?)";
        return false;
    }
    const std::uint64_t najwiecej = std::uint64_t(ileKawalkow) * dlugoscKawalka_;
    if (isize > najwiecej || isize <= najwiecej - dlugoscKawalka_ || isize > NajwiekszyTekst) {
        blad = "tablica kawałków nie zgadza się z rozmiarem tekstu";
        return false;
    }
    rozmiar_ = isize;
    strumien_ = new z_stream{};
    if (inflateInit2(strumien_, -MAX_WBITS) != Z_OK) {
        delete strumien_;
        strumien_ = nullptr;
        blad = "brak pamięci na rozpakowanie";
        return false;
    }
    rodzaj_ = Rodzaj::Dictzip;
    return true;
}

bool TekstSlownika::RozpakujCaly(std::string& blad)
{
    z_stream z{};
    if (inflateInit2(&z, MAX_WBITS + 16) != Z_OK) {
        blad = "brak pamięci na rozpakowanie";
        return false;
    }
    std::string wejscie(64 * 1024, '\0');
    std::string wynik;
    char wyjscie[64 * 1024];
    std::uint64_t od = 0;
    int kod = Z_OK;
    while (kod != Z_STREAM_END) {
        if (z.avail_in == 0) {
            const std::uint64_t ile = std::min<std::uint64_t>(wejscie.size(), zrodlo_->Rozmiar() - od);
            if (ile == 0 || !zrodlo_->Czytaj(od, std::size_t(ile), wejscie.data()))
                break; // the stream ends before its end: truncated
            od += ile;
            z.next_in = reinterpret_cast<Bytef*>(wejscie.data());
            z.avail_in = uInt(ile);
        }
        z.next_out = reinterpret_cast<Bytef*>(wyjscie);
        z.avail_out = sizeof(wyjscie);
        kod = inflate(&z, Z_NO_FLUSH);
        if (kod != Z_OK && kod != Z_STREAM_END)
            break;
        wynik.append(wyjscie, sizeof(wyjscie) - z.avail_out);
        if (wynik.size() > NajwiekszyCalyGzip) {
            inflateEnd(&z);
            blad = "tekst słownika jest za duży";
            return false;
        }
    }
    inflateEnd(&z);
    if (kod != Z_STREAM_END) {
        blad = "tekst słownika jest uszkodzony albo obcięty";
        return false;
    }
    caly_ = std::move(wynik);
    caly_.shrink_to_fit();
    rozmiar_ = caly_.size();
    return true;
}

const std::string* TekstSlownika::KawalekNr(std::uint32_t numer, std::string& blad)
{
    for (std::size_t i = 0; i < ostatnie_.size(); ++i) {
        if (ostatnie_[i].Numer == numer) {
            std::rotate(ostatnie_.begin() + std::ptrdiff_t(i), ostatnie_.begin() + std::ptrdiff_t(i) + 1,
                        ostatnie_.end());
            return &ostatnie_.back().Bajty;
        }
    }
    constexpr std::size_t Pamietanych = 8;
    if (ostatnie_.size() < Pamietanych)
        ostatnie_.emplace_back();
    else
        std::rotate(ostatnie_.begin(), ostatnie_.begin() + 1, ostatnie_.end()); // the oldest is reused
    Kawalek& k = ostatnie_.back();
    k.Numer = numer;
    const std::uint64_t odPliku = poczatki_[numer];
    const std::size_t spakowanych = std::size_t(poczatki_[numer + 1] - odPliku);
    const std::uint64_t odTekstu = std::uint64_t(numer) * dlugoscKawalka_;
    const std::size_t oczekiwanych = std::size_t(std::min<std::uint64_t>(dlugoscKawalka_, rozmiar_ - odTekstu));
    spakowany_.resize(spakowanych);
    if (!zrodlo_->Czytaj(odPliku, spakowanych, spakowany_.data())) {
        ostatnie_.pop_back();
        blad = "nie można przeczytać tekstu słownika (plik obcięty?)";
        return nullptr;
    }
    // One byte of room more than the chunk should give, so a chunk that unpacks to more is seen too.
    k.Bajty.resize(oczekiwanych + 1);
    inflateReset(strumien_);
    strumien_->next_in = reinterpret_cast<Bytef*>(spakowany_.data());
    strumien_->avail_in = uInt(spakowanych);
    strumien_->next_out = reinterpret_cast<Bytef*>(k.Bajty.data());
    strumien_->avail_out = uInt(k.Bajty.size());
    const int kod = inflate(strumien_, Z_SYNC_FLUSH);
    const std::size_t dostal = k.Bajty.size() - strumien_->avail_out;
    if ((kod != Z_OK && kod != Z_STREAM_END && kod != Z_BUF_ERROR) || dostal != oczekiwanych) {
        ostatnie_.pop_back();
        blad = "kawałek " + std::to_string(numer) + " tekstu słownika jest uszkodzony";
        return nullptr;
    }
    k.Bajty.resize(oczekiwanych);
    if (numer == zsumowanych_) {
        suma_ = crc32(suma_, reinterpret_cast<const Bytef*>(k.Bajty.data()), uInt(k.Bajty.size()));
        ++zsumowanych_;
    }
    return &k.Bajty;
}

bool TekstSlownika::Czytaj(std::uint64_t od, std::uint32_t dlugosc, std::string& wynik, std::string& blad)
{
    wynik.clear();
    if (rodzaj_ == Rodzaj::Brak) {
        blad = "tekst słownika nie jest otwarty";
        return false;
    }
    if (dlugosc > NajdluzszyWpis || od > rozmiar_ || dlugosc > rozmiar_ - od) {
        blad = "wpis sięga poza koniec tekstu słownika";
        return false;
    }
    switch (rodzaj_) {
    case Rodzaj::Zwykly:
        wynik.resize(dlugosc);
        if (!zrodlo_->Czytaj(od, dlugosc, wynik.data())) {
            wynik.clear();
            blad = "nie można przeczytać tekstu słownika";
            return false;
        }
        return true;
    case Rodzaj::CalyGzip:
        wynik.assign(caly_, std::size_t(od), dlugosc);
        return true;
    case Rodzaj::Dictzip:
        while (dlugosc > 0) {
            const auto numer = std::uint32_t(od / dlugoscKawalka_);
            const std::string* kawalek = KawalekNr(numer, blad);
            if (!kawalek) {
                wynik.clear();
                return false;
            }
            const std::size_t wKawalku = std::size_t(od - std::uint64_t(numer) * dlugoscKawalka_);
            const std::size_t ile = std::min<std::size_t>(dlugosc, kawalek->size() - wKawalku);
            wynik.append(*kawalek, wKawalku, ile);
            od += ile;
            dlugosc -= std::uint32_t(ile);
        }
        return true;
    case Rodzaj::Brak:
        break;
    }
    return false;
}

bool TekstSlownika::Widok(std::uint64_t od, std::uint32_t dlugosc, std::string_view& wynik, std::string& bufor,
                          std::string& blad)
{
    if (rodzaj_ == Rodzaj::Dictzip && dlugosc > 0 && od < rozmiar_ && dlugosc <= rozmiar_ - od) {
        const auto numer = std::uint32_t(od / dlugoscKawalka_);
        if ((od + dlugosc - 1) / dlugoscKawalka_ == numer) {
            const std::string* kawalek = KawalekNr(numer, blad);
            if (!kawalek)
                return false;
            wynik =
                std::string_view(*kawalek).substr(std::size_t(od - std::uint64_t(numer) * dlugoscKawalka_), dlugosc);
            return true;
        }
    }
    if (rodzaj_ == Rodzaj::CalyGzip && od <= rozmiar_ && dlugosc <= rozmiar_ - od && dlugosc <= NajdluzszyWpis) {
        wynik = std::string_view(caly_).substr(std::size_t(od), dlugosc);
        return true;
    }
    if (!Czytaj(od, dlugosc, bufor, blad))
        return false;
    wynik = bufor;
    return true;
}

bool TekstSlownika::SprawdzSume(std::string& blad)
{
    if (rodzaj_ != Rodzaj::Dictzip)
        return true;
    const auto ile = std::uint32_t(poczatki_.size() - 1);
    while (zsumowanych_ < ile) {
        const std::uint32_t numer = zsumowanych_;
        const std::string* kawalek = KawalekNr(numer, blad);
        if (!kawalek)
            return false;
        if (zsumowanych_ == numer) { // it was kept from an earlier read, out of order
            suma_ = crc32(suma_, reinterpret_cast<const Bytef*>(kawalek->data()), uInt(kawalek->size()));
            ++zsumowanych_;
        }
    }
    if (suma_ != sumaPliku_) {
        blad = "suma kontrolna tekstu słownika się nie zgadza";
        return false;
    }
    return true;
}

std::size_t TekstSlownika::Pamiec() const
{
    std::size_t ile = caly_.capacity() + spakowany_.capacity() + poczatki_.capacity() * sizeof(std::uint64_t);
    for (const auto& k : ostatnie_)
        ile += k.Bajty.capacity();
    return ile;
}

} // namespace vokara::slownik
