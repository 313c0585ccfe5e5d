// Pronouncing an English word: from the recording cache, or fetched from the dictionary on first use.
#pragma once

#include <QString>

#include <functional>
#include <string>

class Siec;
class TFSluchaj;
class TFWarning;

class Wymawianie {
public:
    // `folderDanych` gives the data folder at the moment of the call (the cache is its `voice` folder);
    // `adresSlownika` is the dictionary's scheme, host and port.
    Wymawianie(Siec& siec, TFSluchaj& sluchaj, TFWarning& warning, std::function<QString()> folderDanych,
               QString adresSlownika);

    // The word as data bytes (Windows-1250).
    void Wymow(const std::string& slowo);
    // Typed text; one with a character outside Windows-1250 cannot be in the dictionary.
    void Wymow(const QString& slowo);

    // Where a word's recording is cached, and where it is asked for; empty for a word that would not make a safe
    // single file name.
    QString PlikNagrania(const std::string& slowo) const;
    QString AdresNagrania(const std::string& slowo) const;

    static const QString BrakSlowa;

private:
    void BrakWSlowniku();

    Siec& siec_;
    TFSluchaj& sluchaj_;
    TFWarning& warning_;
    std::function<QString()> folderDanych_;
    QString adresSlownika_;
};
