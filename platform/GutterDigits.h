#pragma once

#include <QtGlobal>

#include <algorithm>

// How many digits a line-number gutter makes room for: enough for the largest number, and never
// fewer than kFewest. While a text is edited the room grows at once but shrinks only when two
// digits fewer would do, so that typing back and forth across a power of ten does not shift the
// text sideways each time.
class GutterDigits {
public:
    static constexpr int kFewest = 3;

    int Digits() const { return digits_; }

    // A new text: exactly the room it needs. True when the room changed.
    bool Reset(qsizetype largest) { return Set(Needed(largest)); }

    // The same text, edited. True when the room changed.
    bool Follow(qsizetype largest) {
        const int needed = Needed(largest);
        return needed > digits_ || needed + 2 <= digits_ ? Set(needed) : false;
    }

    static int Needed(qsizetype largest) {
        int digits = 1;
        for (; largest >= 10; largest /= 10)
            ++digits;
        return std::max(digits, kFewest);
    }

private:
    bool Set(int digits) {
        const bool changed = digits != digits_;
        digits_ = digits;
        return changed;
    }

    int digits_ = kFewest;
};
