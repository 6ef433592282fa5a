#include "compare/WordLookalikeCount.h"

#include "compare/CrLfLines.h"
#include "compare/NearLookalikeWord.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>

namespace compare {

namespace {

constexpr std::size_t kLinesBetweenCalls = 4096;
// Below this many units a second thread costs more than it saves.
constexpr std::size_t kUnitsWorthTwoThreads = std::size_t{1} << 20;
constexpr auto kProgressWait = std::chrono::milliseconds(20);

// One stretch of `own` to count in: from a line, paired with its partner line, up to the line
// that begins at `end` (or the text's end).
struct Stretch {
    CrLfLineWalker line;
    PartnerLineWalker partner;
    std::size_t end;
};

// Counts the red words of one line at a time that have a look-alike near them in the line's
// partner, keeping the partner's words while it stays the partner.
class LineCounter {
public:
    LineCounter(std::u16string_view own, std::u16string_view other) : own_(own), other_(other) {}

    // `red` are the red words of `line`, in order.
    std::size_t Count(const CrLfLineWalker& line, const CrLfLineWalker& partner,
                      std::span<const RedWordStart> red) {
        ownWords_.Cut(own_, line.Start(), line.End());
        if (ownWords_.Count() == 0)
            return 0;
        if (partnerKeyed_ != partner.Number()) {
            partnerWords_.Cut(other_, partner.Start(), partner.End());
            partnerKeyed_ = partner.Number();
        }
        std::size_t count = 0;
        std::size_t word = 0;
        for (const RedWordStart redWord : red) {
            while (word + 1 < ownWords_.Count() && ownWords_.Start(word + 1) <= redWord)
                ++word;
            count += FindNearLookalike(ownWords_, word, partnerWords_).has_value();
        }
        return count;
    }

private:
    std::u16string_view own_;
    std::u16string_view other_;
    KeyedLineWords ownWords_;
    KeyedLineWords partnerWords_;
    std::size_t partnerKeyed_ = static_cast<std::size_t>(-1);
};

// Calls progress(start of the line reached) every kLinesBetweenCalls lines; stops when it
// returns false.
template <typename Progress>
std::optional<std::size_t> CountInStretch(std::u16string_view own, std::u16string_view other,
                                          std::span<const RedWordStart> red, Stretch stretch,
                                          Progress&& progress) {
    CrLfLineWalker& line = stretch.line;
    LineCounter counter(own, other);
    // Red words in text order: each line takes those that begin on it, from where the last line
    // left off. One that begins on no line (on a line's LF) is no word of the text and is passed
    // over; a line's last word may be empty and begin where its CR LF stands.
    auto next = std::lower_bound(red.begin(), red.end(), line.Start(),
                                 [](RedWordStart word, std::size_t at) { return word < at; });
    std::size_t count = 0;
    for (std::size_t lines = 1;; ++lines) {
        if (lines % kLinesBetweenCalls == 0 && !progress(line.Start()))
            return std::nullopt;
        const auto first =
            std::find_if(next, red.end(), [&](RedWordStart word) { return word >= line.Start(); });
        next = std::find_if(first, red.end(), [&](RedWordStart word) { return word > line.End(); });
        if (first != next)
            count += counter.Count(line, stretch.partner.Line(), {first, next});
        if (!line.HasNext() || line.End() + 2 >= stretch.end)
            return count;
        line.Next();
        stretch.partner.Next();
    }
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
CountWordLookalikesWith(std::u16string_view ownPane, std::u16string_view otherPane,
                        std::span<const RedWordStart> redWords,
                        const std::function<bool(std::size_t)>& keepGoing) {
    const std::u16string_view own = WordComparisonText(ownPane);
    const std::u16string_view other = WordComparisonText(otherPane);
    Stretch whole{CrLfLineWalker(own), PartnerLineWalker(other), own.size() + 1};
    if (redWords.empty() || !whole.line.HasLine() || !whole.partner.HasLine())
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
