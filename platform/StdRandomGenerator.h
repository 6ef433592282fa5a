#pragma once

#include "platform/RandomGenerator.h"

#include <random>

// Uniform numbers in [0, 1) from a 64-bit Mersenne Twister. The same seed gives the same
// numbers on every platform.
class StdRandomGenerator final : public RandomGenerator {
public:
    void Randomize(double seed) override;
    double Rnd() override;

private:
    std::mt19937_64 engine_;
};
