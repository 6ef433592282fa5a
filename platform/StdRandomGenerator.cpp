#include "platform/StdRandomGenerator.h"

#include <bit>
#include <cstdint>

void StdRandomGenerator::Randomize(double seed) {
    engine_.seed(std::bit_cast<std::uint64_t>(seed));
}

double StdRandomGenerator::Rnd() {
    // The top 53 bits scaled by 2^-53: every double this gives is exact and below 1, which
    // std::uniform_real_distribution does not promise on every library.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}
