#include "compare/LinesUnderRules.h"

#include "compare/ContentHash.h"
#include "compare/RuleText.h"

#include <algorithm>
#include <bit>
#include <future>
#include <span>
#include <string>

namespace compare {

namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};
constexpr std::size_t kSlice = std::size_t{1} << 14; // lines between looks at whether to go on

std::u16string_view ContentOf(const LineIndex& lines, Piece piece) {
    return LineContent(lines.Text().substr(piece.start, piece.length));
}

// The distinct keys of the missing pieces, each named by the first missing piece that has it,
// and for each the first line of the other text found with it.
class MissingKeys {
public:
    MissingKeys(const LineIndex& own, std::span<const Piece> missing, RuleText& text)
        : own_(own), missing_(missing), text_(text),
          slots_(std::bit_ceil(std::max<std::size_t>(16, 2 * missing.size())), 0),
          filter_(std::bit_ceil(std::max<std::size_t>(1024, 16 * missing.size())) / 64, 0) {
        keyOf_.reserve(missing.size());
        for (std::size_t i = 0; i < missing.size(); ++i) {
            const std::u16string_view key = text.Key(ContentOf(own, missing[i]));
            keyOf_.push_back(Enter(key, ContentHash(key), static_cast<std::uint32_t>(i)));
        }
        partner_.assign(firstOf_.size(), kNone);
        unmatched_ = firstOf_.size();
    }

    // Keys each line of `other` in turn until every key has found its line or it ends. Most
    // lines have no key of the table: a bit of their hash in a filter small enough to stay in
    // the cache says so, and only the others are looked up, their key made again when the
    // hash is one of a key that has not found its line.
    bool FindPartners(const LineIndex& other, const KeepGoing& keepGoing) {
        for (std::size_t line = 0; line < other.PieceCount() && unmatched_ > 0; ++line) {
            if (line % kSlice == 0 && keepGoing && !keepGoing())
                return false;
            const std::u16string_view content = ContentOf(other, other.PieceAt(line));
            // A line the rules leave as it is has the hash its table holds.
            const std::uint32_t hash = text_.KeyIsContent(content)
                                           ? other.ContentHashOf(line)
                                           : ContentHash(text_.Key(content));
            if (!InFilter(hash))
                continue;
            const std::uint32_t id = Find(text_.Key(content), hash, true);
            if (id != kNone) {
                partner_[id] = static_cast<std::uint32_t>(line);
                --unmatched_;
            }
        }
        return true;
    }

    // The line of the other text that missing piece `i` matched, or kNone.
    std::uint32_t PartnerOf(std::size_t i) const { return partner_[keyOf_[i]]; }

private:
    // Whether the key held is the key of key number `id`.
    bool IsHeldKey(std::uint32_t id) {
        return text_.Key(ContentOf(own_, missing_[firstOf_[id]])) == held_;
    }
    std::size_t FilterBit(std::uint32_t hash) const {
        // The bits above those that pick a slot, so that the two tests do not overlap.
        return static_cast<std::size_t>(std::rotr(hash, 16)) & (filter_.size() * 64 - 1);
    }
    bool InFilter(std::uint32_t hash) const {
        const std::size_t bit = FilterBit(hash);
        return (filter_[bit / 64] >> (bit % 64) & 1) != 0;
    }
    // The key's number; with `unmatchedOnly` only a key that has not found its line yet is
    // looked at closely (the others are found by their hash alone, which then does not matter).
    std::uint32_t Find(std::u16string_view key, std::uint32_t hash, bool unmatchedOnly) {
        // `key` is a view that each key made to tell two apart overwrites, and several keys may
        // have its hash.
        held_.assign(key);
        for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                return kNone;
            const auto id = static_cast<std::uint32_t>(slot & 0xFFFFFFFFu) - 1;
            if ((slot >> 32) != hash || (unmatchedOnly && partner_[id] != kNone))
                continue;
            if (IsHeldKey(id))
                return id;
        }
    }
    std::uint32_t Enter(std::u16string_view key, std::uint32_t hash, std::uint32_t piece) {
        entering_.assign(key); // the view goes when a key is made to tell two apart
        std::size_t i = hash & (slots_.size() - 1);
        for (;; i = (i + 1) & (slots_.size() - 1)) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                break;
            const auto id = static_cast<std::uint32_t>(slot & 0xFFFFFFFFu) - 1;
            if ((slot >> 32) == hash &&
                text_.Key(ContentOf(own_, missing_[firstOf_[id]])) == entering_)
                return id;
        }
        const auto id = static_cast<std::uint32_t>(firstOf_.size());
        firstOf_.push_back(piece);
        slots_[i] = std::uint64_t{hash} << 32 | (id + 1);
        const std::size_t bit = FilterBit(hash);
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
        return id;
    }

    const LineIndex& own_;
    std::span<const Piece> missing_;
    RuleText& text_;
    std::vector<std::uint64_t> slots_;   // hash << 32 | key number + 1
    std::vector<std::uint64_t> filter_;  // a bit for each key's hash
    std::vector<std::uint32_t> firstOf_; // for each key, the first missing piece with it
    std::vector<std::uint32_t> keyOf_;   // for each missing piece
    std::vector<std::uint32_t> partner_; // for each key
    std::size_t unmatched_ = 0;
    std::u16string held_;
    std::u16string entering_;
};

} // namespace

std::vector<Piece> LinesUnderRules::Red() const {
    std::vector<Piece> red;
    for (std::size_t i = 0; i < missing_.size(); ++i)
        if (outcomes_[i] == kRed)
            red.push_back(missing_[i]);
    return red;
}

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
        MissingKeys keys(own, some, text);
        if (!keys.FindPartners(other, keepGoing)) {
            LinesUnderRules stopped;
            stopped.stopped = true;
            return stopped;
        }
        for (std::size_t i = 0; i < some.size(); ++i)
            outcomes[from + i] = keys.PartnerOf(i);
    }
    for (std::size_t i = 0; i < missing.size() && rules.HasIgnoreMatching(); ++i)
        if (outcomes[i] == kNone && text.Ignored(ContentOf(own, missing[i])))
            outcomes[i] = LinesUnderRules::kIgnored;
    return LinesUnderRules(std::move(missing), std::move(outcomes));
}

std::array<LinesUnderRules, 2> CompareLinesUnderRules(const LineIndex& first,
                                                      const LineIndex& second,
                                                      const ComparisonRules& rules,
                                                      const KeepGoing& keepGoing,
                                                      std::size_t mostAtOnce) {
    auto secondFound = std::async(std::launch::async, [&] {
        return SortOutMissingLines(second, second.MissingIn(first), first, rules, keepGoing,
                                   mostAtOnce);
    });
    std::array<LinesUnderRules, 2> found;
    found[0] =
        SortOutMissingLines(first, first.MissingIn(second), second, rules, keepGoing, mostAtOnce);
    found[1] = secondFound.get();
    return found;
}

} // namespace compare
