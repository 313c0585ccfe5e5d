// The online data update: the list and every set file from the home site, all or nothing on disk.
#pragma once

#include "dane.h"
#include "podmiana.h"
#include "siec.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class TFWarning;
class TFWynikAktualizacji;
class PostepAktualizacji;

class Aktualizacja {
public:
    // `zaladujDane` reloads the data folder into the window after a successful update; `adresDomowy` is the home
    // site's scheme, host and port; `okno` owns the progress window.
    Aktualizacja(Siec& siec, TFWarning& warning, vokara::Dane& dane, std::function<void()> zaladujDane,
                 QString adresDomowy, QWidget* okno);
    ~Aktualizacja();

    // Runs one update and tells the user its outcome in one notice: in the message box when it fits there whole,
    // else in the update's result window. With no home site set up nothing is asked of the network.
    void Aktualizuj();

    // The update button's tooltip: where the update looks, or how to set the home site up when it is not.
    QString Podpowiedz() const;

    // Whether the learner has practised a set, by its file name as the list gives it (Windows-1250 bytes). Asked of
    // the sets an update took off the list, so the notice can say that their progress is kept; unset, none counts
    // as practised.
    std::function<bool(const std::string& plik)> Cwiczony;

    // The result window, made on first use (a test answers it through its `pokazany` signal).
    TFWynikAktualizacji& OknoWyniku();

    // Downloads every set file the new list (its lines) names, then the list, into a staging folder; moves them into
    // the data folder only when all arrived. Stops at the first failure. True when the data folder now holds them all.
    bool PobierzZestawy(const std::vector<std::string>& lista);

    // Moves the staged files (Windows-1250 names) from the staging folder's `nowe` into the data folder, each by one
    // atomic rename over its old file after a backup of it was kept; if any move fails, every earlier one is undone,
    // so the data folder is either wholly new or exactly as it was. A crash meanwhile is undone by
    // NaprawFolderDanych at the next start.
    static bool PrzeniesWszystkie(const std::vector<std::string>& pliki, const QString& posredni,
                                  const QString& folderDanych, const vokara::PunktKontrolny& punkt = {});

    // Start-up (and each update's first step): rolls back an update a crash interrupted and removes whatever stands
    // at the staging folder's place. False when that could not be done; the data folder is then as the crash left it.
    static bool NaprawFolderDanych(const QString& folderDanych);

    // The staging folder's name inside the data folder.
    static const QString FolderPosredni;

    // How long one file of an update may take in all.
    int LimitPlikuMs = 60000;

private:
    QString AdresPliku(const std::string& plik) const;
    void Powiadom(const char* pierwsza, const QString& druga);
    // `linie` in the message box when they fit there; otherwise `pelne` (or `linie`) in the result window.
    void Powiadom(const QStringList& linie, const QStringList& pelne = {});
    // What a successful update changed against the list sets the window had before: the names of the sets added and
    // removed as a notice lists them, and the line on the kept progress of removed sets that were practised.
    struct ZmianaZestawow {
        QString Dodane;
        QString Usuniete;
        QString Postepy;
    };
    ZmianaZestawow Zmiany(const vokara::_zestawy& przed, const std::vector<std::string>& lista) const;
    // One checked download: `przyjmij` refuses what is plainly not a list or a set, and a NUL anywhere fails it.
    bool PobierzDane(const QUrl& adres, const QString& plik, const QString& folder);
    // The second line of a notice when the cause of a failure lies on this computer; empty when it does not.
    QString PrzyczynaLokalna() const;

    Siec& siec_;
    TFWarning& warning_;
    vokara::Dane& dane_;
    std::function<void()> zaladujDane_;
    QString adresDomowy_;
    QWidget* okno_;
    PostepAktualizacji* postep_ = nullptr;
    Siec::Blad blad_ = Siec::Blad::Brak; // why the last step failed
    QString miejsce_;                    // the folder a local failure concerns
    std::string nieudany_;               // the file whose download failed, empty when none did
    std::unique_ptr<TFWynikAktualizacji> wynik_;
};
