// What an exercise page takes from the rest of the program when it is made.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vokara {
class Losowanie;
class Slownik;
struct Zestaw;
struct _word;
} // namespace vokara

struct Uslugi {
    // The program's one generator: every page draws from it, so the draws come in the order the user acts.
    vokara::Losowanie* Los = nullptr;
    // Pronounces an English word of a set (Windows-1250 bytes), or any typed text.
    std::function<void(const std::string&)> Wymow;
    std::function<void(const QString&)> WymowTekst;
    // Shows the program's message box and gives its answer (vokara::komunikat).
    std::function<int(int rodzaj, int ikona, const QString& tekst)> Komunikat;
    // The set behind picker item `indeks` (the learning memory starts a round of it), or the entries due for
    // review; false when there is nothing to load.
    std::function<bool(int indeks, vokara::Zestaw& wynik)> Zestaw;
    std::function<bool(vokara::Zestaw& wynik)> Powtorka;
    // How long (ms) until an entry of the current round would come back after each grade, "Nie pamiętam" first:
    // the learning memory's preview for the flashcards' buttons.
    std::function<std::array<std::int64_t, 4>(const vokara::_word& wpis)> Odstepy;
    // The built-in dictionary, read by the page that needs it on a worker thread when first shown; null for none.
    std::shared_ptr<vokara::Slownik> Slownik;
    // The own sets' names, the one used last first; one pair (Unicode) added to the own set of that name, a new set
    // when there is none. False with a Polish reason when it cannot be saved (the files are then as they were).
    std::function<QStringList()> MojeZestawy;
    std::function<bool(const QString& ang, const QString& pol, const QString& zestaw, QString& blad)> DodajDoMoich;
};
