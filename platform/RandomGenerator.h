#pragma once

// Random numbers as the start-up needs them: seeded once, then uniform in [0, 1).
class RandomGenerator {
public:
    virtual ~RandomGenerator() = default;
    virtual void Randomize(double seed) = 0;
    virtual double Rnd() = 0;
};
