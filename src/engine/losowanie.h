// The program's single pseudo-random generator: seeded with 0 and never reseeded, so a run is reproducible.
#pragma once

#include <cstdint>

namespace vokara {

class Losowanie {
public:
    // A number from 0 to zakres-1 (0 for an empty range, without a draw).
    int Losuj(int zakres);

    std::uint32_t Ziarno = 0;
};

} // namespace vokara
