#include "cli/ByteLinesUnderRules.h"

#include "cli/ByteMaskKey.h"
#include "cli/ByteRuleKey.h"
#include "cli/LineHash.h"

#include "compare/Prefetch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};
// Lines of the other text hashed before their look-ups.
constexpr std::size_t kBatch = 32;

// A masked key in hand, or none when the line's key is made from its bytes.
using MaskedKey = std::optional<std::u16string_view>;

std::size_t KeySlotCount(std::size_t keys) {
    return std::bit_ceil(std::max<std::size_t>(16, 2 * keys));
}

// Thirty-two bits a key at least, two set for each in one word: about one line in two hundred
// whose key is none of the table's is looked up, and the filter stays in the cache.
std::size_t FilterWords(std::size_t keys) {
    return std::bit_ceil(std::max<std::size_t>(1024, 32 * keys)) / 64;
}

// The distinct keys of the missing pieces, each named by the first missing piece that has it.
class MissingByteKeys {
public:
    MissingByteKeys(const ByteLines& own, const std::vector<std::uint32_t>& missing,
                    const compare::ComparisonRules& rules)
        : own_(own), ownEnd_(own.Bytes().data() + own.Bytes().size()), key_(rules.Kinds()),
          remade_(rules.Kinds()), slots_(KeySlotCount(missing.size()), 0),
          filter_(FilterWords(missing.size()), 0) {
        if (rules.HasMasks())
            masked_.emplace(rules);
        Enter(missing);
        found_.assign(firstOf_.size(), false);
        unmatched_ = firstOf_.size();
    }

    // Keys each line of `other` in turn until every key has found a line or it ends; a line that
    // the rules may not change is its own key. The filter and the slots are larger than the
    // nearest cache: the hashes of a batch of lines are made first and their words of the filter
    // asked for, then the slots of those that pass it, so that the waits for them overlap.
    //
    // Under masks only a line that a mask matches can have a masked key, and only one that none
    // matches a key from its bytes. While masked keys wait for a line, every line is matched
    // against the masks, and one that a mask matches is looked up once the next is matched. Once
    // none waits, or if none ever did, a line is keyed from its bytes first, and matched only if
    // its key is one of the table's, to tell whether that key is its own.
    void FindLines(const ByteLines& other) {
        const std::size_t count = other.PieceCount();
        const char* const end = other.Bytes().data() + other.Bytes().size();
        std::array<std::uint64_t, kBatch> hashes{};
        std::array<bool, kBatch> done{};
        std::array<std::uint32_t, kBatch> passed{};
        // Which lines of a batch the rules may change is read a batch ahead, and the bytes of
        // those asked for: the lines are read in order, but the pages of a mapped file are
        // scattered, and the processor's own prefetching stops at the end of each.
        std::array<bool, kBatch> marked{}, markedNext{};
        const auto look = [&](std::size_t first, std::array<bool, kBatch>& flags) {
            for (std::size_t i = first; i < std::min(first + kBatch, count); ++i) {
                flags[i - first] = other.MayChange(i);
                if (flags[i - first]) { // its first and its last byte are read first
                    const std::string_view content = other.Content(i);
                    TARNWICK_PREFETCH(content.data());
                    TARNWICK_PREFETCH(content.data() + content.size());
                }
            }
        };
        look(0, marked);
        for (std::size_t from = 0; from < count && unmatched_ > 0; from += kBatch) {
            const std::size_t size = std::min(kBatch, count - from);
            look(from + kBatch, markedNext);
            const bool everyLine = unmatchedMasked_ > 0;
            untested_ = masked_ && !everyLine;
            for (std::size_t i = 0; i < size; ++i) {
                done[i] = everyLine && LookUpMasked(other, from + i, end);
                if (done[i])
                    continue;
                hashes[i] = marked[i] ? KeyHash(other, from + i, end) : other.Hash(from + i);
                TARNWICK_PREFETCH(&filter_[FilterWord(hashes[i])]);
            }
            std::swap(marked, markedNext);
            std::size_t passing = 0;
            for (std::size_t i = 0; i < size; ++i) {
                if (done[i] || !InFilter(hashes[i]))
                    continue;
                TARNWICK_PREFETCH(&slots_[hashes[i] & (slots_.size() - 1)]);
                passed[passing++] = static_cast<std::uint32_t>(i);
            }
            for (std::size_t k = 0; k < passing && unmatched_ > 0; ++k)
                LookUp(other, from + passed[k], end, hashes[passed[k]], {});
        }
        LookUpWaiting(other, end);
    }

    // Whether missing piece number `i` found a line with its key.
    bool Matched(std::size_t i) const { return found_[keyOf_[i]]; }

private:
    // The keys of the missing pieces, in batches.
    void Enter(const std::vector<std::uint32_t>& missing) {
        keyOf_.resize(missing.size());
        std::array<std::uint64_t, kBatch> hashes{};
        std::array<bool, kBatch> done{};
        // The missing pieces are scattered over the text: where each stands and its hash are
        // asked for two batches ahead, its first and last bytes one batch ahead, and its slot
        // and its word of the filter before it is entered.
        for (std::size_t from = 0; from < missing.size(); from += kBatch) {
            const std::size_t size = std::min(kBatch, missing.size() - from);
            for (std::size_t i = from + 2 * kBatch; i < std::min(from + 3 * kBatch, missing.size());
                 ++i)
                own_.Prefetch(missing[i]);
            for (std::size_t i = from + kBatch; i < std::min(from + 2 * kBatch, missing.size());
                 ++i) {
                const std::string_view content = own_.Content(missing[i]);
                TARNWICK_PREFETCH(content.data());
                TARNWICK_PREFETCH(content.data() + content.size());
            }
            for (std::size_t i = 0; i < size; ++i) {
                const std::uint32_t piece = missing[from + i];
                const MaskedKey key =
                    masked_ ? masked_->MaskedKeyOf(own_.Content(piece)) : std::nullopt;
                done[i] = key.has_value();
                if (done[i]) {
                    Wait(from + i, *key);
                    EnterWaiting(missing);
                    std::swap(waiting_, next_);
                    continue;
                }
                hashes[i] = PieceKeyHash(own_, piece, ownEnd_);
                TARNWICK_PREFETCH(&slots_[hashes[i] & (slots_.size() - 1)]);
                TARNWICK_PREFETCH(&filter_[FilterWord(hashes[i])]);
            }
            for (std::size_t i = 0; i < size; ++i)
                if (!done[i])
                    keyOf_[from + i] = Enter(hashes[i], missing[from + i], {});
        }
        EnterWaiting(missing);
    }
    // Under masks, whether one matches in the piece; if so it is looked up once the next is.
    bool LookUpMasked(const ByteLines& lines, std::size_t piece, const char* end) {
        const MaskedKey key = masked_->MaskedKeyOf(lines.Content(piece));
        if (!key)
            return false;
        Wait(piece, *key);
        LookUpWaiting(lines, end);
        std::swap(waiting_, next_);
        return true;
    }
    // A masked key made, kept as the next to wait: its slot and its word of the filter are asked
    // for, and arrive while the one waiting before it is looked up and the line after it matched.
    void Wait(std::size_t at, std::u16string_view key) {
        next_.at = at;
        next_.hash = ByteMaskKey::Hash(key);
        next_.key.assign(key);
        next_.any = true;
        TARNWICK_PREFETCH(&slots_[next_.hash & (slots_.size() - 1)]);
        TARNWICK_PREFETCH(&filter_[FilterWord(next_.hash)]);
    }
    void EnterWaiting(const std::vector<std::uint32_t>& missing) {
        if (!waiting_.any)
            return;
        waiting_.any = false;
        keyOf_[waiting_.at] = Enter(waiting_.hash, missing[waiting_.at], waiting_.key);
    }
    void LookUpWaiting(const ByteLines& lines, const char* end) {
        if (!waiting_.any)
            return;
        waiting_.any = false;
        if (InFilter(waiting_.hash))
            LookUp(lines, waiting_.at, end, waiting_.hash, waiting_.key);
    }
    static std::uint64_t Tag(std::uint64_t hash) { return hash >> 32; }
    // Other bits than those that pick a slot, so that the two tests do not overlap.
    std::size_t FilterWord(std::uint64_t hash) const {
        return static_cast<std::size_t>(hash >> 24) & (filter_.size() - 1);
    }
    static std::uint64_t FilterBits(std::uint64_t hash) {
        return std::uint64_t{1} << (hash >> 52 & 63) | std::uint64_t{1} << (hash >> 58);
    }
    bool InFilter(std::uint64_t hash) const {
        const std::uint64_t bits = FilterBits(hash);
        return (filter_[FilterWord(hash)] & bits) == bits;
    }
    // The hash of the key of a piece: its own when the rules leave it as it is.
    std::uint64_t KeyHash(const ByteLines& lines, std::size_t piece, const char* end) {
        bool changed = false;
        const std::string_view key = key_.Of(lines.Content(piece), changed, end);
        return changed ? LineHash(key) : lines.Hash(piece);
    }
    // The same, without reading the piece when the rules may not change it.
    std::uint64_t PieceKeyHash(const ByteLines& lines, std::size_t piece, const char* end) {
        return lines.MayChange(piece) ? KeyHash(lines, piece, end) : lines.Hash(piece);
    }
    // Whether the key of the piece is key number `id`.
    bool IsKey(const ByteLines& lines, std::size_t piece, const char* end, std::uint32_t id) {
        bool changed = false;
        const std::string_view key = key_.Of(lines.Content(piece), changed, end);
        return remade_.Of(own_.Content(firstOf_[id]), changed, ownEnd_) == key;
    }
    // Whether the key of the piece, `masked` (held) when a mask matched in it, is key number `id`.
    // A masked key holds a placeholder, which a key made from bytes never does.
    bool IsKey(const ByteLines& lines, std::size_t piece, const char* end, std::uint32_t id,
               const MaskedKey& masked) {
        if (keyMasked_[id] != masked.has_value())
            return false;
        if (!masked)
            return IsKey(lines, piece, end, id) &&
                   !(untested_ && masked_->MaskedKeyOf(lines.Content(piece)));
        const MaskedKey remade = masked_->MaskedKeyOf(own_.Content(firstOf_[id]));
        return remade && *remade == *masked;
    }
    // Notes the key of the piece as found, if it is one of the table's that has not found a line.
    void LookUp(const ByteLines& lines, std::size_t piece, const char* end, std::uint64_t hash,
                const MaskedKey& masked) {
        const std::uint32_t id = FindUnmatched(lines, piece, end, hash, masked);
        if (id != kNone) {
            found_[id] = true;
            --unmatched_;
            if (keyMasked_[id])
                --unmatchedMasked_;
        }
    }
    // The number of a key that has not found a line yet and is the key of the piece, or kNone.
    std::uint32_t FindUnmatched(const ByteLines& lines, std::size_t piece, const char* end,
                                std::uint64_t hash, const MaskedKey& masked) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                return kNone;
            const auto id = static_cast<std::uint32_t>(slot) - 1;
            if ((slot >> 32) == Tag(hash) && !found_[id] && IsKey(lines, piece, end, id, masked))
                return id;
        }
    }
    std::uint32_t Enter(std::uint64_t hash, std::uint32_t piece, const MaskedKey& masked) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        for (;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                break;
            const auto id = static_cast<std::uint32_t>(slot) - 1;
            if ((slot >> 32) == Tag(hash) && IsKey(own_, piece, ownEnd_, id, masked))
                return id;
        }
        const auto id = static_cast<std::uint32_t>(firstOf_.size());
        firstOf_.push_back(piece);
        keyMasked_.push_back(masked.has_value());
        unmatchedMasked_ += masked ? 1 : 0;
        slots_[i] = Tag(hash) << 32 | (id + 1);
        filter_[FilterWord(hash)] |= FilterBits(hash);
        return id;
    }

    const ByteLines& own_;
    const char* ownEnd_; // as far as the bytes of its pieces may be read
    ByteRuleKey key_;
    ByteRuleKey remade_;                // a key made again to compare with the one in hand
    std::optional<ByteMaskKey> masked_; // with masks
    // A masked line whose key waits for its look-up (or its entry) while the next is matched, and
    // the next; each key is a copy, kept while keys are made again to tell it from others.
    struct Waiting {
        bool any = false;
        std::size_t at = 0; // a line, or a missing piece's number
        std::uint64_t hash = 0;
        std::u16string key;
    };
    Waiting waiting_;
    Waiting next_;
    std::vector<std::uint64_t> slots_;   // hash's top 32 bits << 32 | key number + 1
    std::vector<std::uint64_t> filter_;  // a bit for each key's hash
    std::vector<std::uint32_t> firstOf_; // for each key, the first missing piece with it
    std::vector<std::uint32_t> keyOf_;   // for each missing piece
    std::vector<bool> keyMasked_;        // for each key
    std::vector<bool> found_;            // for each key
    std::size_t unmatched_ = 0;
    std::size_t unmatchedMasked_ = 0; // of those, masked keys
    bool untested_ = false;           // the lines looked up have not been matched against the masks
};

} // namespace

void KeepRedUnderRules(const ByteLines& own, std::vector<std::uint32_t>& missing,
                       const ByteLines& other, const compare::ComparisonRules& rules) {
    if (missing.empty())
        return;
    std::size_t kept = missing.size();
    if (rules.MakesEqual()) {
        MissingByteKeys keys(own, missing, rules);
        keys.FindLines(other);
        kept = 0;
        for (std::size_t i = 0; i < missing.size(); ++i)
            if (!keys.Matched(i))
                missing[kept++] = missing[i];
    }
    // Only a line that no line of the other text matches is looked at for the expression.
    if (rules.HasIgnoreMatching()) {
        ByteMaskKey matcher(rules);
        kept = static_cast<std::size_t>(
            std::remove_if(
                missing.begin(), missing.begin() + static_cast<std::ptrdiff_t>(kept),
                [&](std::uint32_t piece) { return matcher.Ignored(own.Content(piece)); }) -
            missing.begin());
    }
    missing.resize(kept);
}

std::size_t RedUnderRulesBytes(std::size_t missing, std::size_t longestLine,
                               const compare::ComparisonRules& rules) {
    // The slots, the filter, for each key or missing piece a number and two bits, two keys, and
    // with expressions two masked keys or one line matched.
    const std::size_t masks = rules.Masks().size();
    const std::size_t matching =
        rules.HasMasks()
            ? ByteMaskKey::BufferBytes(longestLine, masks) +
                  2 * ByteMaskKey::HeldKeyBytes(longestLine)
            : (rules.HasIgnoreMatching() ? ByteMaskKey::BufferBytes(longestLine, 0) : 0);
    return (KeySlotCount(missing) + FilterWords(missing)) * sizeof(std::uint64_t) +
           missing * (2 * sizeof(std::uint32_t) + 1) + 2 * ByteRuleKey::BufferBytes(longestLine) +
           matching;
}
