// The "Moje zestawy" window: the user's own sets listed and edited one at a time, import, export and saving.
#pragma once

#include "zbior.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QListWidgetItem;

namespace vokara {
class Slownik;
}
class TFWarning;

namespace Ui {
class TFMojeZestawy;
} // namespace Ui

// The pairs of the set being edited, with the checks of every field drawn on the cell itself.
class ModelSlow : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void Ustaw(QList<vokara::Para> pary);
    const QList<vokara::Para>& Pary() const { return pary_; }
    const QList<vokara::UwagiWiersza>& Uwagi() const { return uwagi_; }
    void ZamienKolumny();
    // An empty row at the end for the next pair (Tab or Enter at the end of the table): until something is typed into
    // it, it is no change, and saving drops it. Returns the row's number; the last row is reused when it is empty.
    int PustyNaKoncu();
    int Blokujace() const { return blokujace_; }
    int Ostrzezenia() const { return ostrzezenia_; }

    int rowCount(const QModelIndex& rodzic = QModelIndex()) const override;
    int columnCount(const QModelIndex& rodzic = QModelIndex()) const override;
    QVariant data(const QModelIndex& indeks, int rola) const override;
    bool setData(const QModelIndex& indeks, const QVariant& wartosc, int rola) override;
    QVariant headerData(int sekcja, Qt::Orientation kierunek, int rola) const override;
    Qt::ItemFlags flags(const QModelIndex& indeks) const override;
    bool insertRows(int wiersz, int ile, const QModelIndex& rodzic = QModelIndex()) override;
    bool removeRows(int wiersz, int ile, const QModelIndex& rodzic = QModelIndex()) override;
    bool moveRows(const QModelIndex& zRodzica, int wiersz, int ile, const QModelIndex& doRodzica, int cel) override;

signals:
    void zmieniony();

private:
    void Sprawdz();

    QList<vokara::Para> pary_;
    QList<vokara::UwagiWiersza> uwagi_;
    int blokujace_ = 0;
    int ostrzezenia_ = 0;
};

// What "Eksportuj…" writes.
enum class FormatEksportu {
    Tsv,    // UTF-8 tab-separated text (Anki, Quizlet)
    Zestaw, // a set file of this program
    Kvtml,  // KVTML 2 (KWordQuiz, Parley)
};

class TFMojeZestawy : public QWidget {
    Q_OBJECT

public:
    // The data folder is asked for afresh at each use; the shipped sets are those Kopiuj offers.
    TFMojeZestawy(std::function<std::filesystem::path()> katalogRoboczy, std::function<vokara::_zestawy()> zestawyListy,
                  TFWarning& warning, QWidget* parent = nullptr);
    ~TFMojeZestawy() override;

    // Shows the window with the own sets listed afresh.
    void Otworz();
    // Reads a file as a new, unsaved set named after the file (asks about unsaved changes first). False when
    // nothing was imported.
    bool Importuj(const QString& sciezka);
    // Checks and saves the set being edited; false (with the reason shown) when it cannot be saved.
    bool Zapisz();
    // Exports the set being edited in one of the formats.
    bool Eksportuj(const QString& sciezka, FormatEksportu format);
    // Asks "Zapisać zmiany?" when the set has unsaved changes; false when the user chose to stay.
    bool MoznaOpuscic();

    bool Zmieniony() const { return zmieniony_; }
    const ModelSlow& Model() const { return model_; }
    vokara::WlasnyZestaw Biezacy() const;

    // The built-in dictionary: an empty cell beside a word offers its meanings (null: no suggestions).
    void UstawSlownik(std::shared_ptr<vokara::Slownik> slownik);
    // Tells a file of running text (subtitles, an article) from a word list, for "Importuj…" (not set: every file is
    // imported as a list).
    std::function<bool(const QString& sciezka)> TekstDoSlow;

signals:
    // "Słowa z tekstu…", or a file of running text picked in "Importuj…": the words window should take it (an empty
    // path: it asks for a file itself).
    void slowaZTekstu(const QString& sciezka);
    // A set was saved or removed: the pickers must list the own sets afresh.
    void zestawyZmienione();
    // The window closed; the set files saved or removed while it was open (Windows-1250 names).
    void zamkniety(const QStringList& zmienione);

protected:
    void closeEvent(QCloseEvent* zdarzenie) override;

private:
    void WypelnijListe(const QString& zaznacz);
    // "Pierwszy wiersz to nagłówek" flipped: the imported first row leaves the table, or comes back to its top.
    void PierwszyNaglowkiem(bool naglowek);
    void Pokaz(const vokara::WlasnyZestaw& zestaw, bool nowy);
    void ZmianaZaznaczenia(int wiersz);
    bool WczytajPozycje(const QListWidgetItem* pozycja);
    void ButNowyClick();
    void ButKopiujClick();
    void ButUsunClick();
    void ButImportujClick();
    void ButEksportujClick();
    void DodajWiersz();
    void UsunWiersz();
    void Przesun(int oIle);
    void Zmieniono();
    void Odswiez();
    void PokazUwage();
    void PokazDlugosc(const QModelIndex& indeks, int bajty);
    QStringList InneNazwy() const;
    QString WolnaNazwa(const QString& podstawa) const;
    void Komunikat(const QString& tekst);

    std::unique_ptr<Ui::TFMojeZestawy> ui;
    std::function<std::filesystem::path()> katalogRoboczy_;
    std::function<vokara::_zestawy()> zestawyListy_;
    TFWarning& warning_;
    ModelSlow model_;
    QString plik_; // the file of the set being edited; empty for a set not saved yet
    bool zmieniony_ = false;
    QStringList zmienionePliki_; // saved or removed since the window was opened
    // The first row of an imported file while it is taken as the columns' titles (and so left out of the table).
    std::optional<vokara::Para> naglowekImportu_;
    std::shared_ptr<vokara::Slownik> slownik_;
    bool wypelnianie_ = false; // the program itself is filling the fields: no change to record
    int wierszListy_ = -1;
    bool pierwszePokazanie_ = true;
};
