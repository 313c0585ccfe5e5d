// The learning memory: every checked answer in an SQLite file beside the sets, each entry's memory by FSRS-6 and what
// is due.
#pragma once

#include "dane.h"
#include "harmonogram.h"
#include "schemat.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlError>
#include <QString>

class QTimer;

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vokara {

// At most this many due entries make one review round.
inline constexpr int NajwiecejPowtorek = 50;
// The database file in the data folder, and the name a damaged one is moved aside to.
inline constexpr const char* PlikPostepow = "postepy.sqlite";
inline constexpr const char* PlikUszkodzony = "postepy.sqlite.uszkodzony";
// The copy of a version 1 file kept beside it while it is moved to the current schema.
inline constexpr const char* PlikPrzedMigracja = "postepy.sqlite.v1";
// Days ahead the progress window shows the reviews due on.
inline constexpr int DniTerminow = 30;

// Where a checked answer was given: the exercise page's tab index.
enum Strona : int {
    StronaTestu = 1,
    StronaWpisu = 2,
    StronaSluchu = 3,
    StronaFiszek = 5,
};

// An entry of a set, named by its file and its two texts (Windows-1250 bytes), so editing or reordering a set keeps
// its history.
struct WpisPamieci {
    std::string Plik;
    std::string Angielski;
    std::string Polski;
};

// How one set stands, by the entries its file holds now: how many are at each stage (EtapWpisu; never answered is
// nowe). Cwiczony false when none was ever answered.
struct ZnajomoscZestawu {
    bool Cwiczony = false;
    std::array<int, 4> Etapy{}; // indexed by Etap: nowe, w nauce, utrwalane, opanowane
    int Wszystkie = 0;
    int Opanowane() const { return Etapy[std::size_t(Etap::Opanowane)]; }
    // Answered and not yet opanowane: the two young stages together.
    int WNauce() const { return Etapy[std::size_t(Etap::WNauce)] + Etapy[std::size_t(Etap::Utrwalane)]; }
    double Udzial() const { return Wszystkie > 0 ? double(Opanowane()) / Wszystkie : 0.0; }
    double UdzialWNauce() const { return Wszystkie > 0 ? double(WNauce()) / Wszystkie : 0.0; }
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
    // Entries due on each of the next DniTerminow days, today first (today's count includes those overdue).
    std::vector<int> Terminy;
    int DniZRzedu = 0; // days in a row with practice, up to today (or yesterday, if today is still empty)
    int Odpowiedzi = 0;
    int Poprawne = 0;
    // The answers of the last 30 days the schedule predicted (an entry's counted answer a day or more after its
    // previous one): how many, how many were right, and the sum of the recall it predicted for them.
    int Przewidziane = 0;
    int Trafione = 0;
    double SumaPrzewidywan = 0.0;
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
    // `awaria` has been emitted once and the memory stays out of the way. A file of an earlier version is moved to
    // the current one in a worker thread: until that ends (zapisano is emitted then) nothing is read from it and
    // answers wait in order. Once the file is ready, a fit of the schedule may start in the background (see
    // Pracuje).
    bool Otworz(const QString& plik);
    // Waits for any work in the background (a fit is cut short; a migration runs to its end and the answers that
    // waited for it are written), then closes the file.
    void Zamknij();
    // True while answers are being saved (or will be, once the first one creates the file or the migration ends).
    bool Dostepna() const { return otwarta_ || czeka_ || przenoszona_; }
    QString Sciezka() const { return plik_; }
    // A migration or a fit is running in a worker thread.
    bool Pracuje() const { return praca_.valid(); }
    // The file is being moved to the current schema: nothing can be read yet.
    bool Przenoszona() const { return przenoszona_; }

    // A new round of the given set begins: every entry's first answer counts for its state again.
    void NowaRunda(const std::string& plik);
    // The due entries as the round "Powtórka" (lowest predicted recall first, at most NajwiecejPowtorek) with its
    // two captions. False when nothing is due; `wynik` is then left as it was.
    bool WczytajPowtorke(Zestaw& wynik);
    bool JestPowtorka() const { return powtorka_; }

    // Records one checked answer of the current round in a single transaction. Only the round's first answer to an
    // entry moves its schedule; later ones (the round asking it again) are kept as answers only. While another copy
    // of the program holds the file, the answer waits in order and is written a moment later (or as the memory
    // closes). False when the memory is not in use. Right is grade 3 (Dobrze), wrong grade 1 (Nie); flashcards give
    // any of the four grades.
    bool Zapisz(const std::string& angielski, const std::string& polski, int strona, int kierunek, bool dobrze);
    bool Zapisz(const std::string& angielski, const std::string& polski, int strona, int kierunek, Ocena ocena);
    bool Zapisz(const WpisPamieci& wpis, int strona, int kierunek, bool dobrze);
    bool Zapisz(const WpisPamieci& wpis, int strona, int kierunek, Ocena ocena);

    // For the flashcards' buttons: how long (ms) from now until the entry of the current round would be due after
    // each grade, Nie first (OpisOdstepu gives the text). An answer that would not count (the round asked the entry
    // already) moves nothing: all four are then the time until it is due as it stands.
    std::array<std::int64_t, 4> OdstepyOcen(const std::string& angielski, const std::string& polski);
    std::array<std::int64_t, 4> OdstepyOcen(const WpisPamieci& wpis);

    // Whether any entry of this set file (Windows-1250 name) was ever answered.
    bool Cwiczony(const std::string& plik);
    // The learner's word over a wrong verdict: the entry's latest answer of the round, wrong, is kept as right (grade
    // 3) instead, and its state follows. False when there is no such answer.
    bool Uznaj(const std::string& angielski, const std::string& polski);

    // Entries due now (at most `limit`), lowest predicted recall first.
    std::vector<WpisPamieci> DoPowtorki(int limit = NajwiecejPowtorek);
    int LiczbaDoPowtorki();
    // How each of these set files stands, in their order; the files are read from the data folder of `d`.
    std::vector<ZnajomoscZestawu> Znajomosc(const Dane& d, const std::vector<std::string>& pliki);
    Statystyki Zbierz(int najwiecejBledow = 10);
    // An entry's state as stored; a new one (Nowy) for an entry never answered.
    StanFsrs Stan(const WpisPamieci& wpis);
    // The English texts (Windows-1250 bytes, each once) of the entries at stage opanowane in any set: the words the
    // learner knows, which a list of a text's words leaves out. One query.
    std::vector<std::string> OpanowaneAngielskie();

    // The schedule's weights in use: the defaults, or those fitted to this learner on DataDopasowania.
    const Parametry& UzywaneParametry() const { return parametry_; }
    bool Dopasowany() const { return dataParametrow_.isValid(); }
    QDate DataDopasowania() const { return dataParametrow_; }
    // "Harmonogram: parametry domyślne" or "Harmonogram: dopasowany do Ciebie (12.12.2026)".
    QString OpisHarmonogramu() const;

    QDateTime Teraz() const { return zegar_(); }
    void UstawZegar(Zegar zegar) { zegar_ = std::move(zegar); }

signals:
    // The one notice: the database cannot be used (or was damaged and replaced). Emitted at most once per file.
    void awaria(const QString& tekst);
    // The pickers' progress and the due count may have changed: an answer was saved, the file became readable at
    // the end of its migration, or a fit changed the schedule.
    void zapisano();

private:
    struct Zapytania;
    bool OtworzPlik();
    bool SprobujOtworzyc(QString& gdzie, QSqlError& blad);
    bool PrzygotujZapytania(QString& gdzie, QSqlError& blad);
    bool WczytajParametry();
    // An answer given and not yet written: another copy of the program may hold the file for a moment.
    struct Czekajaca {
        WpisPamieci Wpis;
        int Strona = 0;
        int Kierunek = 0;
        int Ocena = OcenaDobrze;
        bool Liczy = false; // the round's first answer to the entry, which moves its state
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
    // The entry of the current round with these texts; false outside a round or for an entry "Powtórka" lacks.
    bool WpisRundy(const std::string& angielski, const std::string& polski, WpisPamieci& wpis) const;

    // Work in a worker thread on a connection of its own. Its end is handled on this object's thread.
    enum class Praca { Brak, Przenoszenie, Dopasowanie };
    void ZacznijPrace(Praca rodzaj, std::function<WynikDopasowaniaPliku()> zadanie);
    void PoPracy(bool zamykanie);
    // Starts the fit when it may be due: at most once a day, with enough answers.
    void MozeDopasuj();

    Zegar zegar_;
    QString nazwa_; // the connection's own name, so every memory (and every test's) has its own
    QString plik_;
    bool otwarta_ = false;
    bool zgloszona_ = false;
    bool odlozona_ = false;
    bool czeka_ = false;  // the file does not exist yet: the first answer creates it
    bool nowsza_ = false; // the file was written by a newer program and is left alone
    bool przenoszona_ = false;
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

    // The weights in use as stored (an empty text for the defaults), and the day they were fitted.
    Parametry parametry_ = Parametry::Domyslne();
    QString tekstParametrow_;
    QDate dataParametrow_;
    // The background work: the worker holds `zapis_` while it writes, and this thread, finding it held, lets its
    // answers wait instead of waiting itself.
    std::mutex zapis_;
    std::atomic<bool> przerwij_{false};
    std::future<WynikDopasowaniaPliku> praca_;
    Praca rodzajPracy_ = Praca::Brak;
    int numerPracy_ = 0;
    QDate sprawdzonoDnia_;  // the day MozeDopasuj last looked
    bool zamykana_ = false; // inside Zamknij: no new work starts
};

} // namespace vokara
