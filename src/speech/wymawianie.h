// Pronouncing an English word: a cached recording, one fetched from the dictionary, or the built-in voice.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

class Siec;
class TFSluchaj;
class TFWarning;

class Wymawianie : public QObject {
public:
    // `folderDanych` gives the data folder at the moment of the call (the cache is its `voice` folder);
    // `adresSlownika` is the dictionary's scheme, host and port (a placeholder under `.invalid` when none is set).
    Wymawianie(Siec& siec, TFSluchaj& sluchaj, TFWarning& warning, std::function<QString()> folderDanych,
               QString adresSlownika, QObject* parent = nullptr);

    // The word as data bytes (Windows-1250).
    void Wymow(const std::string& slowo);
    // Typed text; one with a character outside Windows-1250 cannot be in the dictionary.
    void Wymow(const QString& slowo);

    // Where a word's recording is cached, and where it is asked for; empty for a word that would not make a safe
    // single file name.
    QString PlikNagrania(const std::string& slowo) const;
    QString AdresNagrania(const std::string& slowo) const;

    // Whether the latest pronunciation was the slow one (the same word asked for again within a few seconds).
    bool Wolno() const { return wolno_; }

    static const QString BrakSlowa;
    // The slow pace: the voice's durations stretched, a recording's playback rate.
    static constexpr double RozciagniecieWolne = 1.5;
    static constexpr double TempoWolne = 0.75;
    // How soon a second request for the same word counts as asking for it again.
    static constexpr int OknoPowtorkiMs = 5000;

private:
    void BrakWSlowniku();
    void Powtorka(const std::string& male);
    void Nagranie(const QString& plik, const std::string& slowo);
    void Powiedz(const std::string& utf8);
    void NieodtworzonoNagrania(const QString& plik);

    Siec& siec_;
    TFSluchaj& sluchaj_;
    TFWarning& warning_;
    std::function<QString()> folderDanych_;
    QString adresSlownika_;
    bool slownik_; // a dictionary is set up at all

    std::string poprzednie_; // the word asked for last, lower-cased, and when
    QElapsedTimer kiedy_;
    bool wolno_ = false;
    QString nagranie_; // the recording asked for last and its word, for when it turns out to be unplayable
    std::string slowoNagrania_;
};
