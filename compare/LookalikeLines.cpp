#include "compare/LookalikeLines.h"

#include "compare/Lookalike.h"
#include "compare/LooseKey.h"
#include "compare/Prefetch.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <future>
#include <string>
#include <utility>

namespace compare {

namespace {

// A line's loose key hash in the 32 bits the tables keep, its bits well mixed.
std::uint32_t KeyHash32(std::uint64_t keyHash) {
    return static_cast<std::uint32_t>(keyHash * 0x9E3779B97F4A7C15ull >> 32);
}

std::u16string_view ContentOf(const LineIndex& lines, std::size_t piece) {
    const Piece cut = lines.PieceAt(piece);
    return LineContent(lines.Text().substr(cut.start, cut.length));
}

// The red pieces of one direction under their loose keys, for finding the lines that share them.
class RedKeys {
public:
    RedKeys(std::u16string_view own, std::span<const Piece> red) {
        filter_.assign(std::bit_ceil(std::max<std::size_t>(red.size() / 8, 16)), 0);
        filterShift_ = 64 - std::countr_zero(filter_.size());
        reds_.reserve(red.size());
        // Red lines stand far apart in a large text: each would wait for its text to be read
        // from memory unless asked for a few lines ahead.
        constexpr std::size_t kAhead = 8;
        for (std::size_t i = 0; i < red.size(); ++i) {
            if (i + kAhead < red.size())
                TARNWICK_PREFETCH(own.data() + red[i + kAhead].start);
            Red& r = reds_.emplace_back();
            r.content = LineContent(own.substr(red[i].start, red[i].length));
            if (r.content.size() > kLongestLookalikeLine)
                continue; // keyed by nothing: no line will share its key
            r.keyHash = LooseKeyHash(r.content);
            const std::uint64_t keySum = LooseKeySum(r.content);
            filter_[FilterWord(keySum)] |= FilterBits(keySum);
        }
        slots_.assign(std::bit_ceil(std::max<std::size_t>(2 * red.size(), 16)), Slot{});
        mask_ = slots_.size() - 1;
        // From the last back, so that the pieces sharing a hash are chained in order. A red piece
        // with the content of one after it takes that one's place: a content that repeats is
        // chained, and searched for, once, however often it repeats.
        for (std::size_t i = red.size(); i-- > 0;) {
            Red& r = reds_[i];
            if (r.content.size() > kLongestLookalikeLine)
                continue;
            const std::uint32_t hash = KeyHash32(r.keyHash);
            std::size_t slot = hash & mask_;
            while (slots_[slot].first != 0 && slots_[slot].hash != hash)
                slot = (slot + 1) & mask_;
            std::size_t chained = slots_[slot].first;
            for (std::size_t before = 0; chained != 0;
                 before = chained, chained = reds_[chained - 1].next) {
                Red& repeat = reds_[chained - 1];
                if (repeat.keyHash != r.keyHash || repeat.content != r.content)
                    continue;
                (before == 0 ? slots_[slot].first : reds_[before - 1].next) =
                    static_cast<std::uint32_t>(repeat.next);
                repeat.sameAs = static_cast<std::uint32_t>(i + 1);
                break;
            }
            r.next = slots_[slot].first;
            slots_[slot] = {hash, static_cast<std::uint32_t>(i + 1)};
        }
    }

    std::size_t Count() const { return reds_.size(); }
    std::u16string_view Content(std::size_t red) const { return reds_[red].content; }
    // The red piece's loose key, written into `scratch`.
    std::u16string_view Key(std::size_t red, std::u16string& scratch) const {
        return LooseKey(reds_[red].content, scratch);
    }
    std::uint64_t KeyHashOf(std::size_t red) const { return reds_[red].keyHash; }
    // The earlier red piece with the same content, if there is one: its look-alike is this one's.
    std::optional<std::size_t> SameAs(std::size_t red) const {
        if (reds_[red].sameAs == 0)
            return std::nullopt;
        return reds_[red].sameAs - 1;
    }

    // Whether some red piece's key may have the KeySum: a few bits per piece, which stay in the
    // cache while every line of a text is looked up, so that most lines go no further.
    bool MayHave(std::uint64_t keySum) const {
        const std::uint64_t bits = FilterBits(keySum);
        return (filter_[FilterWord(keySum)] & bits) == bits;
    }
    void Prefetch(std::uint64_t keySum) const { TARNWICK_PREFETCH(&filter_[FilterWord(keySum)]); }

    // Calls `shared(red)` for each red piece whose loose key is keyOf() (of KeyHash `keyHash`),
    // in order. The keys are only worked out when a red piece's key has the hash; the red
    // piece's is written into `scratch`.
    template <typename KeyOf, typename Shared>
    void ForEachWithKey(KeyOf&& keyOf, std::uint64_t keyHash, std::u16string& scratch,
                        Shared&& shared) const {
        const std::uint32_t hash = KeyHash32(keyHash);
        std::size_t slot = hash & mask_;
        while (slots_[slot].first != 0 && slots_[slot].hash != hash)
            slot = (slot + 1) & mask_;
        for (std::size_t next = slots_[slot].first; next != 0; next = reds_[next - 1].next)
            if (reds_[next - 1].keyHash == keyHash && Key(next - 1, scratch) == keyOf())
                shared(next - 1);
    }

private:
    struct Red {
        std::u16string_view content;
        std::uint64_t keyHash = 0; // KeyHash of the loose key
        std::uint32_t next = 0;    // the next red piece with the same 32-bit hash, plus one
        std::uint32_t sameAs = 0;  // the next earlier red piece with the same content, plus one
    };
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t first = 0; // the first red piece with the hash, plus one; 0: an empty slot
    };

    // Two bits of one word for each sum: one memory access, and few lines that pass by chance.
    std::size_t FilterWord(std::uint64_t keySum) const {
        return static_cast<std::size_t>(keySum >> filterShift_);
    }
    static std::uint64_t FilterBits(std::uint64_t keySum) {
        return std::uint64_t{1} << (keySum & 63) | std::uint64_t{1} << (keySum >> 6 & 63);
    }

    std::vector<Red> reds_;
    std::vector<Slot> slots_; // open addressing, linear probing, at most half full
    std::size_t mask_ = 0;
    std::vector<std::uint64_t> filter_; // two bits for the key sum of each red piece
    int filterShift_ = 0;
};

// A line that shares a red piece's loose key: a candidate to check.
struct Candidate {
    std::uint32_t red;
    std::uint32_t line; // in the text searched, from 0
    friend auto operator<=>(const Candidate&, const Candidate&) = default;
};

// Looks at lines [first, end) of `lines` and calls `shared(red, line, keys)` for each red piece of
// each of `keySets` that shares a line's loose key, where wanted(line, keys) says it is wanted.
// The lines go in batches: the key sum of each line of a batch first, its bits in the filters
// asked for meanwhile, then the lines looked at. Only a line whose sum passes a filter is hashed,
// and only one whose hash a red piece's key has is keyed, to be sure.
template <typename Wanted, typename Shared>
void ScanLines(const LineIndex& lines, std::size_t first, std::size_t end,
               std::initializer_list<const RedKeys*> keySets, Wanted&& wanted, Shared&& shared) {
    constexpr std::size_t kBatch = 16;
    std::uint64_t keySums[kBatch];
    std::u16string scratch;
    std::u16string redScratch;
    for (std::size_t batch = first; batch < end; batch += kBatch) {
        const std::size_t count = std::min(kBatch, end - batch);
        bool tooLong[kBatch];
        for (std::size_t i = 0; i < count; ++i) {
            const std::u16string_view content = ContentOf(lines, batch + i);
            tooLong[i] = content.size() > kLongestLookalikeLine;
            if (tooLong[i])
                continue;
            keySums[i] = LooseKeySum(content);
            for (const RedKeys* keys : keySets)
                keys->Prefetch(keySums[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (tooLong[i])
                continue;
            const auto mayShare = [&](const RedKeys* keys) {
                return keys->MayHave(keySums[i]) && wanted(batch + i, keys);
            };
            if (std::none_of(keySets.begin(), keySets.end(), mayShare))
                continue;
            const std::u16string_view content = ContentOf(lines, batch + i);
            const std::uint64_t keyHash = LooseKeyHash(content);
            std::optional<std::u16string_view> key;
            const auto keyOf = [&] {
                if (!key)
                    key = LooseKey(content, scratch);
                return *key;
            };
            for (const RedKeys* keys : keySets)
                if (mayShare(keys))
                    keys->ForEachWithKey(keyOf, keyHash, redScratch,
                                         [&](std::size_t red) { shared(red, batch + i, keys); });
        }
    }
}

// For each red piece, the first of its candidates (in `searched`) that is a look-alike. Gives up on
// a red piece after kMostCandidates distinct candidates that are not.
std::vector<std::optional<LineLookalike>>
Resolve(const RedKeys& keys, std::vector<Candidate> candidates, const LineIndex& searched) {
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::vector<std::optional<LineLookalike>> found(keys.Count());
    std::vector<std::u16string_view> rejected;
    for (std::size_t at = 0; at < candidates.size();) {
        const std::uint32_t red = candidates[at].red;
        rejected.clear();
        for (; at < candidates.size() && candidates[at].red == red; ++at) {
            if (found[red] || rejected.size() == kMostCandidates)
                continue;
            const std::u16string_view content = ContentOf(searched, candidates[at].line);
            if (std::find(rejected.begin(), rejected.end(), content) != rejected.end())
                continue;
            if (const auto kinds = ExplainLookalike(keys.Content(red), content))
                found[red] = LineLookalike{searched.PieceAt(candidates[at].line),
                                           candidates[at].line + 1, *kinds};
            else
                rejected.push_back(content);
        }
    }
    for (std::size_t red = 0; red < found.size(); ++red)
        if (const auto same = keys.SameAs(red))
            found[red] = found[*same];
    return found;
}

} // namespace

std::vector<std::optional<LineLookalike>>
FindLookalikeLines(std::u16string_view own, std::span<const Piece> red, const LineIndex& other) {
    if (red.empty())
        return {};
    const RedKeys keys(own, red);
    std::vector<Candidate> candidates;
    ScanLines(
        other, 0, other.PieceCount(), {&keys}, [](std::size_t, const RedKeys*) { return true; },
        [&](std::size_t r, std::size_t line, const RedKeys*) {
            candidates.push_back({static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(line)});
        });
    return Resolve(keys, std::move(candidates), other);
}

// Both directions with one text read in full and only the other's red lines: a line of the other
// text that is not red has the content of a line of the text read, which stands in for it.
LookalikeLinesOfBoth FindLookalikeLinesOfBoth(const LineIndex& first,
                                              std::span<const Piece> redOfFirst,
                                              const LineIndex& second,
                                              std::span<const Piece> redOfSecond) {
    auto secondKeysMade =
        std::async(std::launch::async, [&] { return RedKeys(second.Text(), redOfSecond); });
    const RedKeys firstKeys(first.Text(), redOfFirst);
    const RedKeys secondKeys = secondKeysMade.get();

    // Candidates for the red lines of the second text are lines of the first. Lines of the first
    // that share the key of a red line of the first stand for the lines of the second with their
    // content; a red line of the first, whose content the second lacks, stands for none, and is
    // passed over unkeyed (it would share its own key). Each half of the first text is read on its
    // own thread.
    std::vector<bool> redInFirst(first.PieceCount());
    for (const Piece& piece : redOfFirst)
        redInFirst[first.PieceStartingAt(piece.start)] = true;
    const auto standsIn = [&](std::size_t line, const RedKeys* keys) {
        return keys != &firstKeys || !redInFirst[line];
    };
    struct Found {
        std::vector<Candidate> forSecond;
        std::vector<Candidate> standIns;
    };
    const auto scan = [&](std::size_t from, std::size_t to) {
        Found found;
        ScanLines(first, from, to, {&secondKeys, &firstKeys}, standsIn,
                  [&](std::size_t red, std::size_t line, const RedKeys* keys) {
                      const Candidate candidate{static_cast<std::uint32_t>(red),
                                                static_cast<std::uint32_t>(line)};
                      (keys == &secondKeys ? found.forSecond : found.standIns).push_back(candidate);
                  });
        return found;
    };
    const std::size_t half = first.PieceCount() / 2;
    auto laterHalf = std::async(std::launch::async, scan, half, first.PieceCount());
    Found found = scan(0, half);
    Found later = laterHalf.get();
    found.forSecond.insert(found.forSecond.end(), later.forSecond.begin(), later.forSecond.end());
    found.standIns.insert(found.standIns.end(), later.standIns.begin(), later.standIns.end());

    // Candidates for the red lines of the first text are lines of the second: its red lines that
    // share their key, and the first line of the second with the content of each stand-in.
    std::vector<Candidate> forFirst;
    std::u16string secondKey;
    std::u16string firstKey;
    for (std::size_t red = 0; red < secondKeys.Count(); ++red)
        if (!secondKeys.SameAs(red)) // a repeat's line comes after the first one's
            firstKeys.ForEachWithKey(
                [&] { return secondKeys.Key(red, secondKey); }, secondKeys.KeyHashOf(red), firstKey,
                [&](std::size_t r) {
                    const std::size_t line = second.PieceStartingAt(redOfSecond[red].start);
                    forFirst.push_back(
                        {static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(line)});
                });
    for (const Candidate& standIn : found.standIns)
        if (const auto line = second.FirstPieceWith(ContentOf(first, standIn.line)))
            forFirst.push_back({standIn.red, static_cast<std::uint32_t>(*line)});

    auto ofSecond = std::async(
        std::launch::async, [&] { return Resolve(secondKeys, std::move(found.forSecond), first); });
    LookalikeLinesOfBoth both;
    both.ofFirst = Resolve(firstKeys, std::move(forFirst), second);
    both.ofSecond = ofSecond.get();
    return both;
}

} // namespace compare
