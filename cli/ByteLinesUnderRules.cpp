#include "cli/ByteLinesUnderRules.h"

#include "cli/ByteRuleKey.h"
#include "cli/LineHash.h"

#include <algorithm>
#include <bit>
#include <string_view>

namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};

std::size_t SlotCount(std::size_t keys) {
    return std::bit_ceil(std::max<std::size_t>(16, 2 * keys));
}

// Sixteen bits a key at least: about one line in sixteen whose key is none of the table's is
// looked up.
std::size_t FilterWords(std::size_t keys) {
    return std::bit_ceil(std::max<std::size_t>(1024, 16 * keys)) / 64;
}

// The distinct keys of the missing pieces, each named by the first missing piece that has it.
class MissingByteKeys {
public:
    MissingByteKeys(const ByteLines& own, const std::vector<std::uint32_t>& missing,
                    compare::LookalikeKinds kinds)
        : own_(own), key_(kinds), remade_(kinds), slots_(SlotCount(missing.size()), 0),
          filter_(FilterWords(missing.size()), 0) {
        keyOf_.reserve(missing.size());
        for (const std::uint32_t piece : missing) {
            bool changed = false;
            const std::string_view key = key_.Of(own.Content(piece), changed);
            keyOf_.push_back(Enter(key, changed ? LineHash(key) : own.Hash(piece), piece));
        }
        found_.assign(firstOf_.size(), false);
        unmatched_ = firstOf_.size();
    }

    // Keys each line of `other` in turn until every key has found a line or it ends.
    void FindLines(const ByteLines& other) {
        const std::size_t count = other.PieceCount();
        for (std::size_t piece = 0; piece < count && unmatched_ > 0; ++piece) {
            bool changed = false;
            const std::string_view key = key_.Of(other.Content(piece), changed);
            const std::uint64_t hash = changed ? LineHash(key) : other.Hash(piece);
            if (!InFilter(hash))
                continue;
            const std::uint32_t id = FindUnmatched(key, hash);
            if (id != kNone) {
                found_[id] = true;
                --unmatched_;
            }
        }
    }

    // Whether missing piece number `i` found a line with its key.
    bool Matched(std::size_t i) const { return found_[keyOf_[i]]; }

private:
    static std::uint64_t Tag(std::uint64_t hash) { return hash >> 32; }
    std::size_t FilterBit(std::uint64_t hash) const {
        // Other bits than those that pick a slot, so that the two tests do not overlap.
        return static_cast<std::size_t>(std::rotr(hash, 24)) & (filter_.size() * 64 - 1);
    }
    bool InFilter(std::uint64_t hash) const {
        const std::size_t bit = FilterBit(hash);
        return (filter_[bit / 64] >> (bit % 64) & 1) != 0;
    }
    bool IsKey(std::string_view key, std::uint32_t id) {
        bool changed = false;
        return remade_.Of(own_.Content(firstOf_[id]), changed) == key;
    }
    // The number of a key that has not found a line yet and is `key`, or kNone.
    std::uint32_t FindUnmatched(std::string_view key, std::uint64_t hash) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                return kNone;
            const auto id = static_cast<std::uint32_t>(slot) - 1;
            if ((slot >> 32) == Tag(hash) && !found_[id] && IsKey(key, id))
                return id;
        }
    }
    std::uint32_t Enter(std::string_view key, std::uint64_t hash, std::uint32_t piece) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        for (;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0)
                break;
            const auto id = static_cast<std::uint32_t>(slot) - 1;
            if ((slot >> 32) == Tag(hash) && IsKey(key, id))
                return id;
        }
        const auto id = static_cast<std::uint32_t>(firstOf_.size());
        firstOf_.push_back(piece);
        slots_[i] = Tag(hash) << 32 | (id + 1);
        const std::size_t bit = FilterBit(hash);
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
        return id;
    }

    const ByteLines& own_;
    ByteRuleKey key_;
    ByteRuleKey remade_;                 // a key made again to compare with the one in hand
    std::vector<std::uint64_t> slots_;   // hash's top 32 bits << 32 | key number + 1
    std::vector<std::uint64_t> filter_;  // a bit for each key's hash
    std::vector<std::uint32_t> firstOf_; // for each key, the first missing piece with it
    std::vector<std::uint32_t> keyOf_;   // for each missing piece
    std::vector<bool> found_;            // for each key
    std::size_t unmatched_ = 0;
};

} // namespace

void KeepRedUnderRules(const ByteLines& own, std::vector<std::uint32_t>& missing,
                       const ByteLines& other, compare::LookalikeKinds kinds) {
    if (missing.empty())
        return;
    MissingByteKeys keys(own, missing, kinds);
    keys.FindLines(other);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < missing.size(); ++i)
        if (!keys.Matched(i))
            missing[kept++] = missing[i];
    missing.resize(kept);
}

std::size_t RedUnderRulesBytes(std::size_t missing, std::size_t longestLine) {
    // The slots, the filter, for each key or missing piece a number and a bit, and two keys.
    return (SlotCount(missing) + FilterWords(missing)) * sizeof(std::uint64_t) +
           missing * (2 * sizeof(std::uint32_t) + 1) + 2 * ByteRuleKey::BufferBytes(longestLine);
}
