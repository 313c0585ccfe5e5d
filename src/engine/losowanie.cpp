// Linear congruential generator whose draw is the upper half of the 64-bit product with the range.
#include "losowanie.h"

namespace vokara {

int Losowanie::Losuj(int zakres)
{
    if (zakres <= 0)
        return 0;
    Ziarno = Ziarno * 134775813u + 1u; // wraps modulo 2^32
    return static_cast<int>((static_cast<std::uint64_t>(Ziarno) * static_cast<std::uint64_t>(zakres)) >> 32);
}

} // namespace vokara
