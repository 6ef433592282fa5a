#include "compare/LinesUnderRules.h"

#include "compare/ContentHash.h"
#include "compare/RuleText.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <future>
#include <string>

namespace compare {

namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};
constexpr std::size_t kSlice = std::size_t{1} << 14; // lines between looks at whether to go on

std::u16string_view ContentOf(const LineIndex& lines, Piece piece) {
    return LineContent(lines.Text().substr(piece.start, piece.length));
}

// The distinct keys of the missing pieces, and for each the first line of the other text found
// with it.
class MissingKeys {
public:
    MissingKeys(const LineIndex& own, std::span<const Piece> missing, RuleText& text)
        : slots_(std::bit_ceil(std::max<std::size_t>(16, 2 * missing.size())), 0) {
        keyOf_.reserve(missing.size());
        for (const Piece piece : missing) {
            const std::u16string_view key = text.Key(ContentOf(own, piece));
            keyOf_.push_back(Enter(key, ContentHash(key)));
        }
        partner_.assign(starts_.size(), kNone);
        unmatched_ = starts_.size();
    }

    // Keys each line of `other` in turn until every key has found its line or it ends.
    bool FindPartners(const LineIndex& other, RuleText& text, const KeepGoing& keepGoing) {
        for (std::size_t line = 0; line < other.PieceCount() && unmatched_ > 0; ++line) {
            if (line % kSlice == 0 && keepGoing && !keepGoing())
                return false;
            const std::u16string_view key = text.Key(ContentOf(other, other.PieceAt(line)));
            const std::uint32_t id = Find(key, ContentHash(key));
            if (id != kNone && partner_[id] == kNone) {
                partner_[id] = static_cast<std::uint32_t>(line);
                --unmatched_;
            }
        }
        return true;
    }

    // The line of the other text that missing piece `i` matched, if it found one.
    std::uint32_t PartnerOf(std::size_t i) const { return partner_[keyOf_[i]]; }

private:
    std::u16string_view Key(std::uint32_t id) const {
        const std::size_t end = id + 1 < starts_.size() ? starts_[id + 1] : keys_.size();
        return std::u16string_view(keys_).substr(starts_[id], end - starts_[id]);
    }
    std::uint32_t Find(std::u16string_view key, std::uint32_t hash) const {
        for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                return kNone;
            const auto id = static_cast<std::uint32_t>(slot & 0xFFFFFFFFu) - 1;
            if ((slot >> 32) == hash && Key(id) == key)
                return id;
        }
    }
    std::uint32_t Enter(std::u16string_view key, std::uint32_t hash) {
        std::size_t i = hash & (slots_.size() - 1);
        for (;; i = (i + 1) & (slots_.size() - 1)) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                break;
            const auto id = static_cast<std::uint32_t>(slot & 0xFFFFFFFFu) - 1;
            if ((slot >> 32) == hash && Key(id) == key)
                return id;
        }
        const auto id = static_cast<std::uint32_t>(starts_.size());
        starts_.push_back(keys_.size());
        keys_.append(key);
        slots_[i] = std::uint64_t{hash} << 32 | (id + 1);
        return id;
    }

    std::u16string keys_;             // the distinct keys, one after the other
    std::vector<std::size_t> starts_; // where each begins
    std::vector<std::uint64_t> slots_;
    std::vector<std::uint32_t> keyOf_;   // for each missing piece
    std::vector<std::uint32_t> partner_; // for each key
    std::size_t unmatched_ = 0;
};

} // namespace

LinesUnderRules SortOutMissingLines(const LineIndex& own, std::span<const Piece> missing,
                                    const LineIndex& other, const ComparisonRules& rules,
                                    const KeepGoing& keepGoing) {
    LinesUnderRules found;
    if (!rules.Any()) {
        found.red.assign(missing.begin(), missing.end());
        return found;
    }
    RuleText text(rules);
    std::optional<MissingKeys> keys;
    if (rules.MakesEqual() && !missing.empty()) {
        keys.emplace(own, missing, text);
        if (!keys->FindPartners(other, text, keepGoing)) {
            found.stopped = true;
            return found;
        }
    }
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const Piece piece = missing[i];
        if (const std::uint32_t partner = keys ? keys->PartnerOf(i) : kNone; partner != kNone) {
            const Piece line = other.PieceAt(partner);
            found.matched.push_back(
                {piece.start, piece.length, false, line.start, line.length, partner + 1u});
        } else if (rules.HasIgnoreMatching() && text.Ignored(ContentOf(own, piece))) {
            found.matched.push_back({piece.start, piece.length, true});
        } else {
            found.red.push_back(piece);
        }
    }
    return found;
}

std::array<LinesUnderRules, 2> CompareLinesUnderRules(const LineIndex& first,
                                                      const LineIndex& second,
                                                      const ComparisonRules& rules,
                                                      const KeepGoing& keepGoing) {
    auto secondMissing = std::async(std::launch::async, [&] { return second.MissingIn(first); });
    const std::vector<Piece> firstMissing = first.MissingIn(second);
    const std::vector<Piece> missingOfSecond = secondMissing.get();
    auto secondFound = std::async(std::launch::async, [&] {
        return SortOutMissingLines(second, missingOfSecond, first, rules, keepGoing);
    });
    std::array<LinesUnderRules, 2> found;
    found[0] = SortOutMissingLines(first, firstMissing, second, rules, keepGoing);
    found[1] = secondFound.get();
    return found;
}

} // namespace compare
