// The "Słowa z tekstu" window: the distinct words of a text (subtitles, prose, simple HTML) folded to headwords, with
// how often each occurs and its first meaning, the words the learner knows left out; ticked words become an own set.
#pragma once

#include <QAbstractTableModel>
#include <QFutureWatcher>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Ui {
class TFSlowaZTekstu;
}

namespace vokara {
class Slownik;
} // namespace vokara

// What the window takes from the rest of the program.
struct UslugiSlow {
    std::shared_ptr<vokara::Slownik> Slownik;
    // The English texts the learner knows (Windows-1250 bytes), asked for as each text is read.
    std::function<std::vector<std::string>()> Znane;
    // Saves a new own set of these pairs (English, Polish) under a free name made from `nazwa`; `zapisana` gets the
    // name used. False with a Polish reason.
    std::function<bool(const QString& nazwa, const std::vector<std::pair<QString, QString>>& pary, QString& zapisana,
                       QString& blad)>
        UtworzZestaw;
};

// The text's words with a dictionary entry, most frequent first; the first column is ticked for the new set.
class ModelSlowTekstu : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Wiersz {
        QString Haslo;
        QString Znaczenie;
        int Ile = 0;
        bool Zaznaczony = false;
    };
    using QAbstractTableModel::QAbstractTableModel;

    void Ustaw(std::vector<Wiersz> wiersze);
    const std::vector<Wiersz>& Wiersze() const { return wiersze_; }
    void ZaznaczWszystkie(bool zaznacz);
    int Zaznaczone() const { return zaznaczone_; }

    int rowCount(const QModelIndex& rodzic = QModelIndex()) const override;
    int columnCount(const QModelIndex& rodzic = QModelIndex()) const override;
    QVariant data(const QModelIndex& indeks, int rola) const override;
    bool setData(const QModelIndex& indeks, const QVariant& wartosc, int rola) override;
    QVariant headerData(int sekcja, Qt::Orientation kierunek, int rola) const override;
    Qt::ItemFlags flags(const QModelIndex& indeks) const override;

signals:
    void zaznaczenieZmienione();

private:
    std::vector<Wiersz> wiersze_;
    int zaznaczone_ = 0;
};

class TFSlowaZTekstu : public QWidget {
    Q_OBJECT

public:
    // At most this many of the most frequent words are ticked when a text is read.
    static constexpr int ZaznaczaneNaPoczatek = 50;

    TFSlowaZTekstu(UslugiSlow uslugi, QWidget* parent = nullptr);
    ~TFSlowaZTekstu() override;

    // Shows the window over its parent and brings it to the front.
    void Pokaz();
    // Reads a file and lists its words on a worker thread; `wczytano` tells when the list is filled (or the text was
    // refused, with the reason in the window).
    void Wczytaj(const QString& sciezka);
    // Asks for a file and reads it.
    void WybierzPlik();
    // Makes an own set of the ticked words; false (with the reason in the window) when none could be made.
    bool UtworzZestaw();

    bool Czyta() const { return czytanie_.isRunning(); }
    const ModelSlowTekstu& Model() const { return model_; }
    ModelSlowTekstu& Model() { return model_; }
    Ui::TFSlowaZTekstu& Formularz() { return *ui; }

signals:
    void wczytano();
    // A set was made: the pickers must list the own sets afresh.
    void zestawUtworzony(const QString& nazwa);

protected:
    void keyPressEvent(QKeyEvent* zdarzenie) override;

private:
    struct Odczyt {
        QString Sciezka;
        QString Blad;
        std::vector<ModelSlowTekstu::Wiersz> Slowa;
        QString BezHasla;
        qint64 Wszystkich = 0;
        qint64 Znanych = 0;
    };
    static Odczyt Czytaj(vokara::Slownik& slownik, const QString& sciezka, const std::vector<std::string>& znane);
    void Przeczytano(const Odczyt& o);
    void PokazZaznaczone();
    void Stan(const QString& tekst);

    UslugiSlow uslugi_;
    std::unique_ptr<Ui::TFSlowaZTekstu> ui;
    ModelSlowTekstu model_;
    QFutureWatcher<Odczyt> czytanie_;
    QString sciezka_;
};
