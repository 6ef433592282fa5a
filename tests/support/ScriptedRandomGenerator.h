#pragma once

#include "platform/RandomGenerator.h"

#include <deque>
#include <vector>

// Records every seed and hands out scripted numbers; 0 once the script has run out.
class ScriptedRandomGenerator final : public RandomGenerator {
public:
    void Randomize(double seed) override { seeds.push_back(seed); }
    double Rnd() override {
        ++draws;
        if (numbers.empty())
            return 0.0;
        const double number = numbers.front();
        numbers.pop_front();
        return number;
    }

    std::vector<double> seeds;
    std::deque<double> numbers;
    int draws = 0;
};
