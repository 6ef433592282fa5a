#include "compare/Lookalike.h"

#include "compare/LookalikeForms.h"

#include <algorithm>
#include <bit>
#include <bitset>
#include <string>
#include <utility>
#include <vector>

namespace compare {

namespace {

constexpr std::size_t kSetCount = std::size_t{1} << kLookalikeKindCount;

using SetsOfKinds = LookalikeForms::SetsOfKinds;

// The sets of kinds in the order in which they are preferred: fewer kinds first, then the one
// whose kinds come earlier in the list.
std::vector<std::uint16_t> PreferenceOrder() {
    std::vector<std::uint16_t> sets(kSetCount - 1);
    for (std::size_t i = 0; i < sets.size(); ++i)
        sets[i] = static_cast<std::uint16_t>(i + 1);
    std::sort(sets.begin(), sets.end(), [](std::uint16_t a, std::uint16_t b) {
        if (std::popcount(a) != std::popcount(b))
            return std::popcount(a) < std::popcount(b);
        // The first kind in which they differ decides: the set that has it comes first.
        const auto lowest = static_cast<unsigned>(std::countr_zero(static_cast<unsigned>(a ^ b)));
        return (a >> lowest & 1) != 0;
    });
    return sets;
}

SetsOfKinds SetsWith(LookalikeKind kind) {
    SetsOfKinds sets;
    for (std::size_t set = 0; set < kSetCount; ++set)
        sets[set] = LookalikeKinds::FromBits(static_cast<std::uint16_t>(set)).Has(kind);
    return sets;
}

// What a text becomes under every set of kinds at once: each distinct result with the sets that
// give it. A kind that leaves a result unchanged does not split it, so a text that only a few
// kinds touch has only a few results.
using Results = std::vector<std::pair<std::u16string, SetsOfKinds>>;

Results AllResults(std::u16string_view text,
                   LookalikeKinds allowed = LookalikeKinds::FromBits((1u << kLookalikeKindCount) -
                                                                     1)) {
    static const auto withKind = [] {
        std::array<SetsOfKinds, kLookalikeKindCount> sets;
        for (LookalikeKind kind : kLookalikeKinds)
            sets[static_cast<std::size_t>(kind)] = SetsWith(kind);
        return sets;
    }();
    Results results{{std::u16string(text), SetsOfKinds().set()}};
    for (LookalikeKind kind : kLookalikeRemovalOrder) {
        if (!allowed.Has(kind))
            continue; // the sets with it are not asked about
        const SetsOfKinds& with = withKind[static_cast<std::size_t>(kind)];
        Results next;
        const auto add = [&](std::u16string result, const SetsOfKinds& sets) {
            if (sets.none())
                return;
            const auto same = std::find_if(next.begin(), next.end(),
                                           [&](const auto& r) { return r.first == result; });
            if (same == next.end())
                next.emplace_back(std::move(result), sets);
            else
                same->second |= sets;
        };
        for (auto& [result, sets] : results) {
            std::optional<std::u16string> removed = RemoveLookalikeDifference(kind, result);
            if (!removed) {
                add(std::move(result), sets);
                continue;
            }
            add(std::move(*removed), sets & with);
            add(std::move(result), sets & ~with);
        }
        results = std::move(next);
    }
    return results;
}

// The first kind in the list that alone makes the texts equal. Tried before all sets at once
// because it is by far the most common answer, and the cheapest to find.
std::optional<LookalikeKind> SingleKind(std::u16string_view a, std::u16string_view b,
                                        LookalikeKinds allowed) {
    for (LookalikeKind kind : kLookalikeKinds) {
        if (!allowed.Has(kind))
            continue;
        const std::optional<std::u16string> ra = RemoveLookalikeDifference(kind, a);
        const std::optional<std::u16string> rb = RemoveLookalikeDifference(kind, b);
        if ((ra || rb) &&
            (ra ? std::u16string_view(*ra) : a) == (rb ? std::u16string_view(*rb) : b))
            return kind;
    }
    return std::nullopt;
}

// The set of kinds to name of those that make two texts equal: the first in the order preferred.
std::optional<LookalikeKinds> Preferred(const SetsOfKinds& explaining) {
    if (explaining.none())
        return std::nullopt; // most texts checked are no look-alikes
    static const std::vector<std::uint16_t> preferred = PreferenceOrder();
    for (std::uint16_t set : preferred)
        if (explaining[set])
            return LookalikeKinds::FromBits(set);
    return std::nullopt;
}

// The sets of kinds that take none but those of `allowed`.
SetsOfKinds SubsetsOf(LookalikeKinds allowed) {
    SetsOfKinds subsets;
    for (std::size_t set = 0; set < kSetCount; ++set)
        subsets[set] = (set & ~std::size_t{allowed.Bits()}) == 0;
    return subsets;
}

SetsOfKinds Explaining(const Results& ofA, const Results& ofB) {
    SetsOfKinds explaining;
    for (const auto& [result, sets] : ofA)
        for (const auto& [other, otherSets] : ofB)
            if (result == other)
                explaining |= sets & otherSets;
    return explaining;
}

} // namespace

std::optional<LookalikeKinds> ExplainLookalike(std::u16string_view a, std::u16string_view b) {
    return ExplainLookalikeWithin(a, b, LookalikeKinds::FromBits((1u << kLookalikeKindCount) - 1));
}

std::optional<LookalikeKinds> ExplainLookalikeWithin(std::u16string_view a, std::u16string_view b,
                                                     LookalikeKinds allowed) {
    if (a == b || allowed.Empty())
        return std::nullopt;
    if (const std::optional<LookalikeKind> kind = SingleKind(a, b, allowed))
        return LookalikeKinds(*kind);
    SetsOfKinds explaining = Explaining(AllResults(a, allowed), AllResults(b, allowed));
    if (allowed.Bits() != (1u << kLookalikeKindCount) - 1)
        explaining &= SubsetsOf(allowed);
    return Preferred(explaining);
}

LookalikeForms::LookalikeForms(std::u16string_view text) : text_(text), forms_(AllResults(text)) {}

std::optional<LookalikeKinds> ExplainLookalike(const LookalikeForms& a, const LookalikeForms& b) {
    if (a.text_ == b.text_)
        return std::nullopt;
    return Preferred(Explaining(a.forms_, b.forms_));
}

} // namespace compare
