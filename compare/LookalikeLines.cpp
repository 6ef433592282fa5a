#include "compare/LookalikeLines.h"

#include "compare/FirstLookalikes.h"
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

constexpr std::uint32_t kNone = ~std::uint32_t{0};

// How many of a group's members a red piece is compared with to find that it repeats one.
constexpr std::size_t kRepeatsLookedFor = 32;

// A line's loose key hash in the 32 bits the tables keep, its bits well mixed.
std::uint32_t KeyHash32(std::uint64_t keyHash) {
    return static_cast<std::uint32_t>(keyHash * 0x9E3779B97F4A7C15ull >> 32);
}

// The red pieces of one direction, gathered by loose key: a group holds the red pieces that share
// one key, and lines are looked up among the groups. However many red pieces share a key, a line
// with that key is looked up once, and each of them is checked against a few such lines only.
class RedKeys {
public:
    RedKeys(std::u16string_view own, std::span<const Piece> red) {
        filter_.assign(std::bit_ceil(std::max<std::size_t>(red.size() / 8, 16)), 0);
        filterShift_ = 64 - std::countr_zero(filter_.size());
        slots_.assign(std::bit_ceil(std::max<std::size_t>(2 * red.size(), 16)), Slot{});
        mask_ = slots_.size() - 1;
        // The keys are hashed first and gathered afterwards, so that the lookups in the table do
        // not wait on the hashing.
        const std::vector<std::uint64_t> keyHashes = HashKeys(own, red);
        Gather(keyHashes);
        ListMembers();
    }

    std::size_t RedCount() const { return reds_.size(); }
    std::u16string_view Content(std::size_t red) const { return reds_[red].content; }
    // The earlier red piece with the same content, if one was seen: its look-alike is this one's.
    std::optional<std::size_t> SameAs(std::size_t red) const {
        if (reds_[red].sameAs == kNone)
            return std::nullopt;
        return reds_[red].sameAs;
    }

    std::size_t GroupCount() const { return groups_.size(); }
    // The key the group's red pieces share, written into `scratch`.
    std::u16string_view Key(std::size_t group, std::u16string& scratch) const {
        return LooseKey(reds_[groups_[group].firstRed].content, scratch);
    }
    std::uint64_t KeyHashOf(std::size_t group) const { return groups_[group].keyHash; }
    // The group's red pieces, in order, but for those with the content of one before them.
    std::span<const std::uint32_t> Members(std::size_t group) const {
        return std::span(members_).subspan(memberStarts_[group],
                                           memberStarts_[group + 1] - memberStarts_[group]);
    }

    // Whether some red piece's key may have the KeySum: a few bits per piece, which stay in the
    // cache while every line of a text is looked up, so that most lines go no further.
    bool MayHave(std::uint64_t keySum) const {
        const std::uint64_t bits = FilterBits(keySum);
        return (filter_[FilterWord(keySum)] & bits) == bits;
    }
    void Prefetch(std::uint64_t keySum) const { TARNWICK_PREFETCH(&filter_[FilterWord(keySum)]); }

    // The group whose key is keyOf() (of KeyHash `keyHash`), or kNone. The keys are only worked
    // out when a group's key has the hash; the group's is written into `scratch`.
    template <typename KeyOf>
    std::uint32_t GroupWithKey(KeyOf&& keyOf, std::uint64_t keyHash,
                               std::u16string& scratch) const {
        const std::uint32_t hash = KeyHash32(keyHash);
        std::size_t slot = hash & mask_;
        while (slots_[slot].first != kNone && slots_[slot].hash != hash)
            slot = (slot + 1) & mask_;
        return GroupIn(slots_[slot], keyOf, keyHash, scratch);
    }

private:
    struct Red {
        std::u16string_view content;
        std::uint32_t group = kNone;
        std::uint32_t sameAs = kNone;   // an earlier red piece with the same content
        std::uint32_t previous = kNone; // the group's member before this one
    };
    struct Group {
        std::uint64_t keyHash; // KeyHash of the key
        std::uint32_t firstRed;
        std::uint32_t next; // the next group whose key hash has the same 32 bits
        std::uint32_t lastMember = kNone;
    };
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t first = kNone; // the first group with the hash; kNone: an empty slot
    };

    // Each red piece's content and the KeyHash of its key, and its key sum in the filter.
    std::vector<std::uint64_t> HashKeys(std::u16string_view own, std::span<const Piece> red) {
        // Red lines stand far apart in a large text: each would wait for its text to be read
        // from memory unless asked for a few lines ahead.
        constexpr std::size_t kAhead = 8;
        reds_.resize(red.size());
        std::vector<std::uint64_t> keyHashes(red.size());
        for (std::size_t i = 0; i < red.size(); ++i) {
            if (i + kAhead < red.size())
                TARNWICK_PREFETCH(own.data() + red[i + kAhead].start);
            Red& r = reds_[i];
            r.content = LineContent(own.substr(red[i].start, red[i].length));
            if (r.content.size() > kLongestLookalikeLine)
                continue; // in no group: no line will share its key
            keyHashes[i] = LooseKeyHash(r.content);
            const std::uint64_t keySum = LooseKeySum(r.content);
            filter_[FilterWord(keySum)] |= FilterBits(keySum);
        }
        return keyHashes;
    }

    // Puts each red piece in the group of its key, making the group when it is the first.
    void Gather(const std::vector<std::uint64_t>& keyHashes) {
        groups_.reserve(reds_.size());
        std::u16string scratch;
        std::u16string groupScratch;
        for (std::size_t i = 0; i < reds_.size(); ++i) {
            Red& r = reds_[i];
            if (r.content.size() > kLongestLookalikeLine)
                continue;
            std::optional<std::u16string_view> key;
            const auto keyOf = [&] {
                if (!key)
                    key = LooseKey(r.content, scratch);
                return *key;
            };
            Slot& slot = SlotFor(KeyHash32(keyHashes[i]));
            r.group = GroupIn(slot, keyOf, keyHashes[i], groupScratch);
            if (r.group == kNone) {
                r.group = static_cast<std::uint32_t>(groups_.size());
                groups_.push_back({keyHashes[i], static_cast<std::uint32_t>(i), slot.first});
                slot = {KeyHash32(keyHashes[i]), r.group};
            }
            JoinGroup(static_cast<std::uint32_t>(i));
        }
    }

    Slot& SlotFor(std::uint32_t hash) {
        std::size_t slot = hash & mask_;
        while (slots_[slot].first != kNone && slots_[slot].hash != hash)
            slot = (slot + 1) & mask_;
        return slots_[slot];
    }

    template <typename KeyOf>
    std::uint32_t GroupIn(const Slot& slot, KeyOf&& keyOf, std::uint64_t keyHash,
                          std::u16string& scratch) const {
        for (std::uint32_t group = slot.first; group != kNone; group = groups_[group].next)
            if (groups_[group].keyHash == keyHash && Key(group, scratch) == keyOf())
                return group;
        return kNone;
    }

    // A red piece with the content of a member of its group is that member's repeat, and is
    // searched for once with it. Only the last few members are compared, so that a key that
    // thousands of different lines share costs no more than one; a repeat that is missed is
    // searched for again, and finds what the first found.
    void JoinGroup(std::uint32_t red) {
        Red& r = reds_[red];
        Group& group = groups_[r.group];
        std::uint32_t member = group.lastMember;
        for (std::size_t looked = 0; member != kNone && looked < kRepeatsLookedFor;
             ++looked, member = reds_[member].previous)
            if (reds_[member].content == r.content) {
                r.sameAs = member;
                return;
            }
        r.previous = group.lastMember;
        group.lastMember = red;
    }

    // Each group's members, one group after the other.
    void ListMembers() {
        memberStarts_.assign(groups_.size() + 1, 0);
        for (const Red& r : reds_)
            if (r.group != kNone && r.sameAs == kNone)
                ++memberStarts_[r.group + 1];
        for (std::size_t group = 0; group < groups_.size(); ++group)
            memberStarts_[group + 1] += memberStarts_[group];
        members_.resize(memberStarts_.back());
        std::vector<std::uint32_t> next(memberStarts_.begin(), memberStarts_.end() - 1);
        for (std::uint32_t red = 0; red < reds_.size(); ++red)
            if (reds_[red].group != kNone && reds_[red].sameAs == kNone)
                members_[next[reds_[red].group]++] = red;
    }

    // Two bits of one word for each sum: one memory access, and few lines that pass by chance.
    std::size_t FilterWord(std::uint64_t keySum) const {
        return static_cast<std::size_t>(keySum >> filterShift_);
    }
    static std::uint64_t FilterBits(std::uint64_t keySum) {
        return std::uint64_t{1} << (keySum & 63) | std::uint64_t{1} << (keySum >> 6 & 63);
    }

    std::vector<Red> reds_;
    std::vector<Group> groups_;
    std::vector<std::uint32_t> memberStarts_; // where each group's members begin in members_
    std::vector<std::uint32_t> members_;
    std::vector<Slot> slots_; // open addressing, linear probing, at most half full
    std::size_t mask_ = 0;
    std::vector<std::uint64_t> filter_; // two bits for the key sum of each red piece
    int filterShift_ = 0;
};

// A line that shares a group's loose key: a candidate to check.
struct Candidate {
    std::uint32_t group;
    std::uint32_t line; // in the text searched, from 0
    friend auto operator<=>(const Candidate&, const Candidate&) = default;
};

// The candidates of each group among lines offered in text order: the first line with each
// content. However many lines share a key, each is offered once.
class Candidates {
public:
    explicit Candidates(const LineIndex& searched) : searched_(searched) {}

    void Offer(std::uint32_t group, std::size_t line) {
        if (searched_.FirstPieceWith(searched_.Content(line)) == line)
            list_.push_back({group, static_cast<std::uint32_t>(line)});
    }
    // The candidates kept, in the order offered.
    std::vector<Candidate> Take() && { return std::move(list_); }

private:
    const LineIndex& searched_;
    std::vector<Candidate> list_;
};

// Looks at lines [first, end) of `lines` and calls `shared(group, line, keys)` for the group of
// each of `keySets` that shares a line's loose key, where wanted(line, keys) says it is wanted. The
// lines go in batches: the key sum of each line of a batch first, its bits in the filters asked for
// meanwhile, then the lines looked at. Only a line whose sum passes a filter is hashed, and only
// one whose hash a group's key has is keyed, to be sure.
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
            const std::u16string_view content = lines.Content(batch + i);
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
            const std::u16string_view content = lines.Content(batch + i);
            const std::uint64_t keyHash = LooseKeyHash(content);
            std::optional<std::u16string_view> key;
            const auto keyOf = [&] {
                if (!key)
                    key = LooseKey(content, scratch);
                return *key;
            };
            for (const RedKeys* keys : keySets)
                if (mayShare(keys))
                    if (const std::uint32_t group = keys->GroupWithKey(keyOf, keyHash, redScratch);
                        group != kNone)
                        shared(group, batch + i, keys);
        }
    }
}

// For each red piece, the first line of `searched` that is a look-alike among the candidates of
// its group. A candidate stands for the first line with its content.
std::vector<std::optional<LineLookalike>>
Resolve(const RedKeys& keys, std::vector<Candidate> candidates, const LineIndex& searched) {
    for (Candidate& candidate : candidates)
        candidate.line =
            static_cast<std::uint32_t>(*searched.FirstPieceWith(searched.Content(candidate.line)));
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::vector<std::optional<LineLookalike>> found(keys.RedCount());
    std::vector<std::u16string_view> reds;
    std::vector<std::u16string_view> lines;
    for (auto at = candidates.begin(); at != candidates.end();) {
        const auto groupEnd = std::find_if(
            at, candidates.end(), [&](const Candidate& c) { return c.group != at->group; });
        const std::span<const std::uint32_t> members = keys.Members(at->group);
        reds.clear();
        for (const std::uint32_t red : members)
            reds.push_back(keys.Content(red));
        lines.clear();
        for (auto line = at; line != groupEnd; ++line)
            lines.push_back(searched.Content(line->line));
        const auto first = FindFirstLookalikes(reds, lines);
        for (std::size_t i = 0; i < members.size(); ++i)
            if (first[i]) {
                const std::uint32_t line =
                    at[static_cast<std::ptrdiff_t>(first[i]->candidate)].line;
                found[members[i]] =
                    LineLookalike{searched.PieceAt(line), line + std::size_t{1}, first[i]->kinds};
            }
        at = groupEnd;
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
    Candidates candidates(other);
    ScanLines(
        other, 0, other.PieceCount(), {&keys}, [](std::size_t, const RedKeys*) { return true; },
        [&](std::uint32_t group, std::size_t line, const RedKeys*) {
            candidates.Offer(group, line);
        });
    return Resolve(keys, std::move(candidates).Take(), other);
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
        Candidates forSecond;
        std::vector<Candidate> standIns; // each content once
    };
    const auto scan = [&](std::size_t from, std::size_t to) {
        Found found{Candidates(first), {}};
        ScanLines(first, from, to, {&secondKeys, &firstKeys}, standsIn,
                  [&](std::uint32_t group, std::size_t line, const RedKeys* keys) {
                      if (keys == &secondKeys)
                          found.forSecond.Offer(group, line);
                      else if (first.FirstPieceWith(first.Content(line)) == line)
                          found.standIns.push_back({group, static_cast<std::uint32_t>(line)});
                  });
        return found;
    };
    const std::size_t half = first.PieceCount() / 2;
    auto laterHalf = std::async(std::launch::async, scan, half, first.PieceCount());
    Found found = scan(0, half);
    Found later = laterHalf.get();
    std::vector<Candidate> forSecond = std::move(found.forSecond).Take();
    for (const Candidate& candidate : std::move(later.forSecond).Take())
        forSecond.push_back(candidate);
    found.standIns.insert(found.standIns.end(), later.standIns.begin(), later.standIns.end());

    // Candidates for the red lines of the first text are lines of the second: its red lines that
    // share their key, and the first line of the second with the content of each stand-in.
    std::vector<Candidate> forFirst;
    std::u16string secondKey;
    std::u16string firstKey;
    for (std::size_t group = 0; group < secondKeys.GroupCount(); ++group) {
        const std::uint32_t shared =
            firstKeys.GroupWithKey([&] { return secondKeys.Key(group, secondKey); },
                                   secondKeys.KeyHashOf(group), firstKey);
        if (shared == kNone)
            continue;
        for (const std::uint32_t red : secondKeys.Members(group))
            forFirst.push_back({shared, static_cast<std::uint32_t>(
                                            second.PieceStartingAt(redOfSecond[red].start))});
    }
    for (const Candidate& standIn : found.standIns)
        if (const auto line = second.FirstPieceWith(first.Content(standIn.line)))
            forFirst.push_back({standIn.group, static_cast<std::uint32_t>(*line)});

    auto ofSecond = std::async(std::launch::async,
                               [&] { return Resolve(secondKeys, std::move(forSecond), first); });
    LookalikeLinesOfBoth both;
    both.ofFirst = Resolve(firstKeys, std::move(forFirst), second);
    both.ofSecond = ofSecond.get();
    return both;
}

} // namespace compare
