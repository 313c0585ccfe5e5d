// The learning memory: every checked answer in an SQLite file beside the sets, Leitner boxes and what is due.
#pragma once

#include "dane.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlError>
#include <QString>

class QTimer;

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vokara {

// Boxes 1 to 5; an entry never answered counts as box 1.
inline constexpr int NajwyzszePudelko = 5;
// An entry in this box or higher counts as known.
inline constexpr int PudelkoZnane = 3;
// At most this many due entries make one review round.
inline constexpr int NajwiecejPowtorek = 50;
// The database file in the data folder, and the name a damaged one is moved aside to.
inline constexpr const char* PlikPostepow = "postepy.sqlite";
inline constexpr const char* PlikUszkodzony = "postepy.sqlite.uszkodzony";

// The box after an answer that counts: right moves up one (to 5 at most), wrong goes back to 1.
int NowePudelko(int pudelko, bool dobrze);
// Days after its last answer an entry in this box is due again: 0, 1, 3, 7, 14.
int DniDoPowtorki(int pudelko);

// Where a checked answer was given: the exercise page's tab index.
enum Strona : int {
    StronaTestu = 1,
    StronaWpisu = 2,
    StronaSluchu = 3,
};

// An entry of a set, named by its file and its two texts (Windows-1250 bytes), so editing or reordering a set keeps
// its history.
struct WpisPamieci {
    std::string Plik;
    std::string Angielski;
    std::string Polski;
};

// How one set stands: how many of the entries in its file are known; Cwiczony false when none was ever answered.
struct ZnajomoscZestawu {
    bool Cwiczony = false;
    int Znane = 0;
    int Wszystkie = 0;
    double Udzial() const { return Wszystkie > 0 ? double(Znane) / Wszystkie : 0.0; }
};

// What the progress window shows.
struct Statystyki {
    struct Dzien {
        QDate Data;
        int Dobrze = 0;
        int Zle = 0;
    };
    struct Blad {
        WpisPamieci Wpis;
        int Bledy = 0;
        int Odpowiedzi = 0;
    };
    std::vector<Dzien> Dni; // the last 30 days, oldest first, today last
    int Pudelka[NajwyzszePudelko] = {};
    int DniZRzedu = 0; // days in a row with practice, up to today (or yesterday, if today is still empty)
    int Odpowiedzi = 0;
    int Poprawne = 0;
    std::vector<Blad> Bledy; // the entries answered wrong most often, most first
};

class Pamiec : public QObject {
    Q_OBJECT

public:
    using Zegar = std::function<QDateTime()>;

    // Without a clock the system's is used. Nothing is opened yet: the program opens the file after its window shows.
    explicit Pamiec(Zegar zegar = {}, QObject* parent = nullptr);
    ~Pamiec() override;

    // Opens or creates the database file, moving a damaged one aside. True when answers will be saved; otherwise
    // `awaria` has been emitted once and the memory stays out of the way.
    bool Otworz(const QString& plik);
    void Zamknij();
    // True while answers are being saved (or will be, once the first one creates the file).
    bool Dostepna() const { return otwarta_ || czeka_; }
    QString Sciezka() const { return plik_; }

    // A new round of the given set begins: every entry's first answer counts for its box again.
    void NowaRunda(const std::string& plik);
    // The due entries as the round "Powtórka" (longest overdue first, at most NajwiecejPowtorek) with its two
    // captions. False when nothing is due; `wynik` is then left as it was.
    bool WczytajPowtorke(Zestaw& wynik);
    bool JestPowtorka() const { return powtorka_; }

    // Records one checked answer of the current round in a single transaction. While another copy of the program
    // holds the file, the answer waits in order and is written a moment later (or as the memory closes). False when
    // the memory is not in use.
    bool Zapisz(const std::string& angielski, const std::string& polski, int strona, int kierunek, bool dobrze);
    bool Zapisz(const WpisPamieci& wpis, int strona, int kierunek, bool dobrze);

    // Entries due now (at most `limit`), longest overdue first.
    std::vector<WpisPamieci> DoPowtorki(int limit = NajwiecejPowtorek);
    int LiczbaDoPowtorki();
    // How much of each of these set files is known, in their order; the files are read from the data folder of `d`.
    std::vector<ZnajomoscZestawu> Znajomosc(const Dane& d, const std::vector<std::string>& pliki);
    Statystyki Zbierz(int najwiecejBledow = 10);
    int Pudelko(const WpisPamieci& wpis);

    QDateTime Teraz() const { return zegar_(); }
    void UstawZegar(Zegar zegar) { zegar_ = std::move(zegar); }

signals:
    // The one notice: the database cannot be used (or was damaged and replaced). Emitted at most once per file.
    void awaria(const QString& tekst);
    // An answer was saved: the pickers' progress and the due count may have changed.
    void zapisano();

private:
    struct Zapytania;
    bool OtworzPlik();
    bool SprobujOtworzyc(QString& gdzie, QSqlError& blad);
    // An answer given and not yet written: another copy of the program may hold the file for a moment.
    struct Czekajaca {
        WpisPamieci Wpis;
        int Strona = 0;
        int Kierunek = 0;
        bool Dobrze = false;
        bool Liczy = false; // the round's first answer to the entry, which moves its box
        QDateTime Kiedy;
    };
    bool ZapiszCzekajace();
    bool ZapiszWTransakcji(const Czekajaca& odpowiedz, QSqlError& blad);
    // Closes the connection after a failure; a damaged file is moved aside and a new one opened. Always false.
    bool Blad(const QString& gdzie, const QSqlError& blad);
    bool Uszkodzona(const QSqlError& blad) const;
    bool OdlozUszkodzona();
    qint64 IdZestawu(const std::string& plik);
    // The entries of a set file, keyed by their two texts, with how often each occurs; read again when it changes.
    std::shared_ptr<const QHash<QByteArray, int>> WpisyPliku(const Dane& d, const std::string& plik);

    Zegar zegar_;
    QString nazwa_; // the connection's own name, so every memory (and every test's) has its own
    QString plik_;
    bool otwarta_ = false;
    bool zgloszona_ = false;
    bool odlozona_ = false;
    bool czeka_ = false;   // the file does not exist yet: the first answer creates it
    bool nowsza_ = false;  // the file was written by a newer program and is left alone
    QString odlozonyJako_; // the name the damaged file was set aside under
    std::deque<Czekajaca> czekajace_;
    QTimer* ponowienie_ = nullptr;
    std::unique_ptr<Zapytania> z_;
    QHash<QByteArray, qint64> zestawy_;
    // The round: its set (empty for "Powtórka"), the entries already counted, and the review's entry files.
    std::string plikRundy_;
    bool powtorka_ = false;
    QSet<QByteArray> policzone_;
    QHash<QByteArray, std::string> plikiPowtorki_;
    struct Plik {
        QDateTime Zmieniony;
        qint64 Rozmiar = -1;
        std::shared_ptr<const QHash<QByteArray, int>> Wpisy;
    };
    QHash<QString, Plik> pliki_;
};

} // namespace vokara
