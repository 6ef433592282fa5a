#include "compare/LinesUnderRules.h"

#include "compare/ContentHash.h"
#include "compare/MissingKeys.h"
#include "compare/RuleText.h"
#include "compare/SideBySide.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <span>
#include <string>

namespace compare {

namespace {

constexpr std::uint32_t kNone = MissingKeys::kNone;
constexpr std::size_t kSlice = std::size_t{1} << 14; // lines between looks at whether to go on

// The key of a line of `lines` and its hash; a line the rules leave as it is has the hash its
// table holds, and is its own key.
struct LineKey {
    std::u16string_view key;
    std::uint32_t hash;
};
LineKey KeyOfLine(const LineIndex& lines, std::size_t line, RuleText& text) {
    const std::u16string_view content = ContentOf(lines, lines.PieceAt(line));
    if (text.KeyIsContent(content))
        return {content, lines.ContentHashOf(line)};
    const std::u16string_view key = text.Key(content);
    return {key, ContentHash(key)};
}

// For each key of one direction, the first line of the other text found with it.
std::vector<std::uint32_t> FindPartners(const LineIndex& other, const MissingKeys& keys,
                                        RuleText& text, const KeepGoing& keepGoing, bool& stopped) {
    std::vector<std::uint32_t> partner(keys.KeyCount(), kNone);
    std::size_t unmatched = keys.KeyCount();
    std::u16string held;
    for (std::size_t line = 0; line < other.PieceCount() && unmatched > 0; ++line) {
        if (line % kSlice == 0 && keepGoing && !keepGoing()) {
            stopped = true;
            return partner;
        }
        const LineKey made = KeyOfLine(other, line, text);
        if (!keys.MayHold(made.hash))
            continue;
        held.assign(made.key);
        const std::uint32_t id = keys.Find(
            held, made.hash, text, [&](std::uint32_t key) { return partner[key] != kNone; });
        if (id != kNone) {
            partner[id] = static_cast<std::uint32_t>(line);
            --unmatched;
        }
    }
    return partner;
}

// The earliest line found so far for each key, as two threads find them.
class EarliestPartners {
public:
    explicit EarliestPartners(std::size_t keys) : partner_(keys) {
        for (std::atomic<std::uint32_t>& each : partner_)
            each.store(kNone, std::memory_order_relaxed);
    }
    // Whether `line` could still be the earliest for key `id`.
    bool Improves(std::uint32_t id, std::uint32_t line) const {
        return line < partner_[id].load(std::memory_order_relaxed);
    }
    void Offer(std::uint32_t id, std::uint32_t line) {
        std::uint32_t held = partner_[id].load(std::memory_order_relaxed);
        while (line < held && !partner_[id].compare_exchange_weak(held, line))
            ;
    }
    std::uint32_t Of(std::uint32_t id) const { return partner_[id].load(); }

private:
    std::vector<std::atomic<std::uint32_t>> partner_;
};

// Both directions at once from one read of the second text. A line of the first text is either
// missing from the second, and keyed already as such, or has its content in the second too: so
// the keys of all of the first text's lines are among those made while the second is read, and
// each line both texts hold is keyed once instead of once a direction.
class BothDirections {
public:
    BothDirections(const LineIndex& first, std::span<const Piece> missingOfFirst,
                   const LineIndex& second, std::span<const Piece> missingOfSecond,
                   const ComparisonRules& rules)
        : first_(first),
          second_(second), missing_{missingOfFirst, missingOfSecond}, texts_{RuleText(rules),
                                                                             RuleText(rules)} {
        auto [ofFirst, ofSecond] = SideBySide([&](int side) {
            return MissingKeys(side == 0 ? first : second, missing_[side], texts_[side]);
        });
        keys_.emplace_back(std::move(ofFirst));
        keys_.emplace_back(std::move(ofSecond));
        partners_.emplace_back(keys_[0].KeyCount());
        partners_.emplace_back(keys_[1].KeyCount());
    }

    // Reads the second text, its first half on this thread and the rest on another; false when
    // told to stop.
    bool Read(const KeepGoing& keepGoing) {
        const std::size_t half = second_.PieceCount() / 2;
        const auto [firstHalf, secondHalf] = SideBySide([&](int part) {
            return part == 0 ? ReadLines(0, half, texts_[0], keepGoing)
                             : ReadLines(half, second_.PieceCount(), texts_[1], keepGoing);
        });
        if (!firstHalf || !secondHalf)
            return false;
        OfferMissingOfFirst();
        return true;
    }

    // The line of the other text that missing piece `i` of `side` matched, or kNone.
    std::uint32_t PartnerOf(int side, std::size_t i) const {
        return partners_[static_cast<std::size_t>(side)].Of(
            keys_[static_cast<std::size_t>(side)].KeyOf(i));
    }

private:
    // Lines [from, to) of the second text: each is a candidate for the keys of the first text's
    // missing lines, and each that the first text holds as it stands for those of the second's.
    bool ReadLines(std::size_t from, std::size_t to, RuleText& text, const KeepGoing& keepGoing) {
        if (from == to)
            return true;
        const std::span<const Piece> missing = missing_[1];
        std::size_t nextMissing = static_cast<std::size_t>(
            std::lower_bound(
                missing.begin(), missing.end(), second_.PieceAt(from).start,
                [](const Piece& piece, std::size_t start) { return piece.start < start; }) -
            missing.begin());
        std::u16string held;
        for (std::size_t line = from; line < to; ++line) {
            if ((line - from) % kSlice == 0 && keepGoing && !keepGoing())
                return false;
            const bool isMissing = nextMissing < missing.size() &&
                                   missing[nextMissing].start == second_.PieceAt(line).start;
            const auto number = static_cast<std::uint32_t>(line);
            if (isMissing) {
                const std::uint32_t hash = keys_[1].HashOf(keys_[1].KeyOf(nextMissing));
                if (keys_[0].MayHold(hash)) {
                    held.assign(keys_[1].KeyOfMissing(nextMissing, text));
                    Offer(0, held, hash, number, text);
                }
                ++nextMissing;
                continue;
            }
            const LineKey made = KeyOfLine(second_, line, text);
            const bool forFirst = keys_[0].MayHold(made.hash);
            const bool forSecond = keys_[1].MayHold(made.hash);
            if (!forFirst && !forSecond)
                continue;
            held.assign(made.key);
            if (forFirst)
                Offer(0, held, made.hash, number, text);
            if (forSecond) {
                // The first piece of the first text with this content: the earliest of it there.
                const std::optional<std::size_t> there =
                    first_.FirstPieceWith(ContentOf(second_, second_.PieceAt(line)));
                Offer(1, held, made.hash, static_cast<std::uint32_t>(*there), text);
            }
        }
        return true;
    }

    // The first text's missing lines, as candidates for the keys of the second's.
    void OfferMissingOfFirst() {
        std::u16string held;
        for (std::size_t i = 0; i < missing_[0].size(); ++i) {
            const std::uint32_t hash = keys_[0].HashOf(keys_[0].KeyOf(i));
            if (!keys_[1].MayHold(hash))
                continue;
            held.assign(keys_[0].KeyOfMissing(i, texts_[0]));
            const std::size_t line = first_.PieceStartingAt(missing_[0][i].start);
            Offer(1, held, hash, static_cast<std::uint32_t>(line), texts_[0]);
        }
    }

    // `line` of the other text, whose key is `key`, for the keys of `side`'s missing lines.
    void Offer(int side, std::u16string_view key, std::uint32_t hash, std::uint32_t line,
               RuleText& text) {
        EarliestPartners& partners = partners_[static_cast<std::size_t>(side)];
        const std::uint32_t id =
            keys_[static_cast<std::size_t>(side)].Find(key, hash, text, [&](std::uint32_t number) {
                return !partners.Improves(number, line);
            });
        if (id != kNone)
            partners.Offer(id, line);
    }

    const LineIndex& first_;
    const LineIndex& second_;
    std::span<const Piece> missing_[2];
    RuleText texts_[2]; // one a thread
    std::vector<MissingKeys> keys_;
    std::deque<EarliestPartners> partners_;
};

} // namespace

std::vector<Piece> LinesUnderRules::Red() const {
    std::vector<Piece> red;
    for (std::size_t i = 0; i < missing_.size(); ++i)
        if (outcomes_[i] == kRed)
            red.push_back(missing_[i]);
    return red;
}

namespace {

LinesUnderRules Stopped() {
    LinesUnderRules stopped;
    stopped.stopped = true;
    return stopped;
}

// The missing pieces that no line matched, and that the ignore-matching expression finds a match
// in, told ignored.
LinesUnderRules Settled(const LineIndex& own, std::vector<Piece> missing,
                        std::vector<std::uint32_t> outcomes, RuleText& text,
                        const ComparisonRules& rules) {
    for (std::size_t i = 0; i < missing.size() && rules.HasIgnoreMatching(); ++i)
        if (outcomes[i] == kNone && text.Ignored(ContentOf(own, missing[i])))
            outcomes[i] = LinesUnderRules::kIgnored;
    return LinesUnderRules(std::move(missing), std::move(outcomes));
}

} // namespace

LinesUnderRules SortOutMissingLines(const LineIndex& own, std::vector<Piece> missing,
                                    const LineIndex& other, const ComparisonRules& rules,
                                    const KeepGoing& keepGoing, std::size_t mostAtOnce) {
    std::vector<std::uint32_t> outcomes(missing.size(), LinesUnderRules::kRed);
    if (!rules.Any() || missing.empty())
        return LinesUnderRules(std::move(missing), std::move(outcomes));
    RuleText text(rules);
    const std::size_t batch = std::max<std::size_t>(mostAtOnce, 1);
    for (std::size_t from = 0; rules.MakesEqual() && from < missing.size(); from += batch) {
        const std::span<const Piece> some =
            std::span<const Piece>(missing).subspan(from, std::min(batch, missing.size() - from));
        const MissingKeys keys(own, some, text);
        bool stopped = false;
        const std::vector<std::uint32_t> partner =
            FindPartners(other, keys, text, keepGoing, stopped);
        if (stopped)
            return Stopped();
        for (std::size_t i = 0; i < some.size(); ++i)
            outcomes[from + i] = partner[keys.KeyOf(i)];
    }
    return Settled(own, std::move(missing), std::move(outcomes), text, rules);
}

std::array<LinesUnderRules, 2> CompareLinesUnderRules(const LineIndex& first,
                                                      const LineIndex& second,
                                                      const ComparisonRules& rules,
                                                      const KeepGoing& keepGoing,
                                                      std::size_t mostAtOnce) {
    auto [ofFirst, ofSecond] = SideBySide(
        [&](int side) { return side == 0 ? first.MissingIn(second) : second.MissingIn(first); });
    return SortOutBoth(first, std::move(ofFirst), second, std::move(ofSecond), rules, keepGoing,
                       mostAtOnce);
}

std::array<LinesUnderRules, 2> SortOutBoth(const LineIndex& first, std::vector<Piece> ofFirst,
                                           const LineIndex& second, std::vector<Piece> ofSecond,
                                           const ComparisonRules& rules, const KeepGoing& keepGoing,
                                           std::size_t mostAtOnce) {
    std::array<LinesUnderRules, 2> found;
    if (!rules.MakesEqual() || std::max(ofFirst.size(), ofSecond.size()) > mostAtOnce) {
        // A batch at a time, each direction reading the other text once a batch.
        std::vector<Piece>* missing[] = {&ofFirst, &ofSecond};
        auto [one, two] = SideBySide([&](int side) {
            return SortOutMissingLines(side == 0 ? first : second, std::move(*missing[side]),
                                       side == 0 ? second : first, rules, keepGoing, mostAtOnce);
        });
        found = {std::move(one), std::move(two)};
        return found;
    }
    BothDirections both(first, ofFirst, second, ofSecond, rules);
    if (!both.Read(keepGoing))
        return {Stopped(), Stopped()};
    std::vector<Piece>* missing[] = {&ofFirst, &ofSecond};
    const LineIndex* owns[] = {&first, &second};
    RuleText text(rules);
    for (int side = 0; side < 2; ++side) {
        std::vector<std::uint32_t> outcomes(missing[side]->size());
        for (std::size_t i = 0; i < outcomes.size(); ++i)
            outcomes[i] = both.PartnerOf(side, i);
        found[static_cast<std::size_t>(side)] =
            Settled(*owns[side], std::move(*missing[side]), std::move(outcomes), text, rules);
    }
    return found;
}

} // namespace compare
