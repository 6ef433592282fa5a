#include "compare/WordLookalikeCount.h"

#include "compare/CrLfLines.h"
#include "compare/WordLookalikeWalk.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>

namespace compare {

namespace {

constexpr std::size_t kRedWordsBetweenCalls = 4096;
// Below this many units a second thread costs more than it saves.
constexpr std::size_t kUnitsWorthTwoThreads = std::size_t{1} << 20;
constexpr auto kProgressWait = std::chrono::milliseconds(20);

// The red words, as many as there are, and where each begins.
struct RedWords {
    std::size_t count;
    const std::function<RedWordStart(std::size_t)>& start;
};

// One stretch of `own` to count in: from a line, paired with its partner line, up to the line
// that begins at `end` (or the text's end).
struct Stretch {
    CrLfLineWalker line;
    PartnerLineWalker partner;
    std::size_t end;
};

// The index of the first red word that starts at or after `from`, by halving: the starts ascend.
// (clang 14 cannot take a view of indexes as a range with libstdc++ 12's ranges.)
std::size_t FirstRedWordFrom(const RedWords& red, std::size_t from) {
    std::size_t low = 0, high = red.count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (red.start(middle) < from)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Calls progress(start of the red word reached) every kRedWordsBetweenCalls red words; stops when
// it returns false.
template <typename Progress>
std::optional<std::size_t> CountInStretch(std::u16string_view own, std::u16string_view other,
                                          const RedWords& red, Stretch stretch,
                                          Progress&& progress) {
    WordLookalikeWalk walk(own, other, stretch.line, stretch.partner);
    std::size_t count = 0;
    std::size_t asked = 0;
    const std::size_t from = stretch.line.Start();
    for (std::size_t i = FirstRedWordFrom(red, from); i < red.count; ++i) {
        const RedWordStart start = red.start(i);
        if (start >= stretch.end)
            break;
        if (++asked % kRedWordsBetweenCalls == 0 && !progress(std::size_t{start}))
            return std::nullopt;
        count += walk.Next(start).has_value();
    }
    return count;
}

// The second half of `own` from the first line that begins at or after its middle, if there is
// such a line.
std::optional<Stretch> SecondHalf(std::u16string_view own, std::u16string_view other) {
    const std::size_t middle = FindCrLf(own, own.size() / 2);
    if (middle == own.size())
        return std::nullopt;
    Stretch half{CrLfLineWalker(own), PartnerLineWalker(other), own.size() + 1};
    while (half.line.Start() < middle + 2) {
        half.line.Next();
        half.partner.Next();
    }
    return half;
}

// Sets the flag when it goes, so that a thread watching it stops whichever way the caller leaves.
class StopOnExit {
public:
    explicit StopOnExit(std::atomic<bool>& stop) : stop_(stop) {}
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;
    ~StopOnExit() { stop_ = true; }

private:
    std::atomic<bool>& stop_;
};

} // namespace

std::optional<std::size_t>
CountWordLookalikesWith(std::u16string_view own, std::u16string_view other,
                        std::span<const RedWordStart> redWords,
                        const std::function<bool(std::size_t)>& keepGoing) {
    return CountWordLookalikesWith(
        own, other, redWords.size(), [&](std::size_t i) { return redWords[i]; }, keepGoing);
}

std::optional<std::size_t>
CountWordLookalikesWith(std::u16string_view ownPane, std::u16string_view otherPane,
                        std::size_t redCount,
                        const std::function<RedWordStart(std::size_t)>& redStart,
                        const std::function<bool(std::size_t)>& keepGoing) {
    const std::u16string_view own = WordComparisonText(ownPane);
    const std::u16string_view other = WordComparisonText(otherPane);
    const RedWords redWords{redCount, redStart};
    Stretch whole{CrLfLineWalker(own), PartnerLineWalker(other), own.size() + 1};
    if (redCount == 0 || !whole.line.HasLine() || !whole.partner.HasLine())
        return 0;
    if (own.size() < kUnitsWorthTwoThreads)
        return CountInStretch(own, other, redWords, whole, keepGoing);

    // The second half on a thread of its own, which tells how far it has got and watches for a
    // stop; only this thread asks whether to go on.
    std::atomic<bool> stop = false;
    std::atomic<std::size_t> secondDone = 0;
    std::future<std::optional<std::size_t>> second;
    const StopOnExit stopSecond(
        stop); // declared after the future: it stops before it is waited for
    second = std::async(std::launch::async, [&]() -> std::optional<std::size_t> {
        std::optional<Stretch> half = SecondHalf(own, other);
        if (!half)
            return 0;
        const std::size_t from = half->line.Start();
        return CountInStretch(own, other, redWords, *half, [&](std::size_t at) {
            secondDone = at - from;
            return !stop;
        });
    });
    const std::optional<std::size_t> first = CountInStretch(
        own, other, redWords, Stretch{whole.line, whole.partner, FindCrLf(own, own.size() / 2) + 2},
        [&](std::size_t at) { return keepGoing(at + secondDone); });
    if (!first)
        return std::nullopt;
    while (second.wait_for(kProgressWait) != std::future_status::ready)
        if (!keepGoing(own.size() / 2 + secondDone))
            return std::nullopt;
    const std::optional<std::size_t> rest = second.get();
    if (!rest)
        return std::nullopt;
    return *first + *rest;
}

} // namespace compare
