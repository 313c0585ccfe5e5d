// The online data update: the list and every set file from the home site, all or nothing on disk.
#pragma once

#include "dane.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QWidget;
class Siec;
class TFWarning;

class Aktualizacja {
public:
    // `zaladujDane` reloads the data folder into the window after a successful update; `adresDomowy` is the home
    // site's scheme, host and port; `okno` owns the progress window.
    Aktualizacja(Siec& siec, TFWarning& warning, vokara::Dane& dane, std::function<void()> zaladujDane,
                 QString adresDomowy, QWidget* okno);

    // Runs one update and tells the user its outcome in one notice.
    void Aktualizuj();

    // Downloads every set file the list in Lista names, then the list, into a staging folder; moves them into the
    // data folder only when all arrived. True when the data folder now holds them all.
    bool PobierzZestawy();

    // Moves the staged files (Windows-1250 names) into the data folder in order, keeping what each replaces; if any
    // move fails, every earlier one is undone, so the data folder is either wholly new or exactly as it was.
    static bool PrzeniesWszystkie(const std::vector<std::string>& pliki, const QString& posredni,
                                  const QString& folderDanych);

    // The staging folder's name inside the data folder.
    static const QString FolderPosredni;

private:
    QString AdresPliku(const std::string& plik) const;
    void Powiadom(const char* pierwsza, const char* druga);

    Siec& siec_;
    TFWarning& warning_;
    vokara::Dane& dane_;
    std::function<void()> zaladujDane_;
    QString adresDomowy_;
    QWidget* okno_;
};
