// What an exercise page takes from the rest of the program when it is made.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace vokara {
class Losowanie;
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
};
