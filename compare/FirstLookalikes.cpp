#include "compare/FirstLookalikes.h"

#include "compare/Lookalike.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <numeric>
#include <unordered_map>

namespace compare {

namespace {

using SetsOfKinds = LookalikeForms::SetsOfKinds;

// Most red lines have a candidate or two: so few pairs are checked one by one, which for the most
// common look-alikes (a single kind) stops at the first kind that explains them.
constexpr std::size_t kPairsOneByOne = 16;

std::optional<FirstLookalike> FirstOneByOne(std::u16string_view text,
                                            std::span<const std::u16string_view> candidates,
                                            std::size_t from) {
    for (std::size_t i = from; i < candidates.size(); ++i)
        if (const std::optional<LookalikeKinds> kinds = ExplainLookalike(text, candidates[i]))
            return FirstLookalike{i, *kinds};
    return std::nullopt;
}

// The forms of a stretch of candidates, to look up which of them shares a form with a text under
// a set of kinds that both have. A form is kept as a hash of it: a candidate found is checked
// afterwards.
class FormIndex {
public:
    // Candidates are added in order.
    void Add(std::size_t candidate, const LookalikeForms& forms) {
        for (const auto& [form, sets] : forms.Forms())
            entries_.push_back({FormHash(form), static_cast<std::uint32_t>(candidate), IdOf(sets)});
    }
    std::size_t Size() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

    // Gathers each form's entries in the order of their candidates, and drops those whose sets
    // the entries before them already have: they can never be the first found.
    void Seal() {
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.form < b.form; });
        std::size_t kept = 0;
        SetsOfKinds seen;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (i == 0 || entries_[i].form != entries_[i - 1].form)
                seen.reset();
            const SetsOfKinds& sets = sets_[entries_[i].sets];
            if ((sets & ~seen).none())
                continue;
            seen |= sets;
            entries_[kept++] = entries_[i];
        }
        entries_.resize(kept);
    }

    // The first candidate with a form of `forms` under a set of kinds both have. Each form's
    // entries are at most as many as there are sets of kinds, whatever the candidates.
    std::optional<std::size_t> First(const LookalikeForms& forms) const {
        std::optional<std::size_t> first;
        for (const auto& [form, sets] : forms.Forms()) {
            const std::uint64_t hash = FormHash(form);
            auto at = std::lower_bound(entries_.begin(), entries_.end(), hash,
                                       [](const Entry& e, std::uint64_t h) { return e.form < h; });
            for (; at != entries_.end() && at->form == hash; ++at)
                if ((sets_[at->sets] & sets).any()) {
                    if (!first || at->candidate < *first)
                        first = at->candidate;
                    break;
                }
        }
        return first;
    }

private:
    struct Entry {
        std::uint64_t form;
        std::uint32_t candidate;
        std::uint32_t sets; // in sets_: few distinct sets of sets occur, each is kept once
    };

    static std::uint64_t FormHash(std::u16string_view form) {
        return std::hash<std::u16string_view>{}(form);
    }
    std::uint32_t IdOf(const SetsOfKinds& sets) {
        const auto [found, added] =
            ids_.try_emplace(sets, static_cast<std::uint32_t>(sets_.size()));
        if (added)
            sets_.push_back(sets);
        return found->second;
    }

    std::vector<Entry> entries_;
    std::vector<SetsOfKinds> sets_;
    std::unordered_map<SetsOfKinds, std::uint32_t> ids_;
};

// The candidate the index named, once checked. Two forms with one hash could name a candidate
// that is no look-alike; none before it is one, so the candidates after it are checked one by one.
std::optional<FirstLookalike> Checked(std::u16string_view text,
                                      std::span<const std::u16string_view> candidates,
                                      std::size_t named) {
    if (const std::optional<LookalikeKinds> kinds = ExplainLookalike(text, candidates[named]))
        return FirstLookalike{named, *kinds};
    return FirstOneByOne(text, candidates, named + 1);
}

} // namespace

std::vector<std::optional<FirstLookalike>>
FindFirstLookalikes(std::span<const std::u16string_view> texts,
                    std::span<const std::u16string_view> candidates) {
    std::vector<std::optional<FirstLookalike>> found(texts.size());
    if (texts.size() * candidates.size() <= kPairsOneByOne) {
        for (std::size_t text = 0; text < texts.size(); ++text)
            found[text] = FirstOneByOne(texts[text], candidates, 0);
        return found;
    }
    // The candidates a stretch at a time, in order: a text matched in one stretch has no
    // look-alike in those before.
    std::vector<std::size_t> open(texts.size());
    std::iota(open.begin(), open.end(), std::size_t{0});
    FormIndex index;
    for (std::size_t from = 0; from < candidates.size() && !open.empty();) {
        index.Clear();
        std::size_t to = from;
        for (; to < candidates.size() && index.Size() < kMostFormsAtOnce; ++to)
            index.Add(to, LookalikeForms(candidates[to]));
        index.Seal();
        std::erase_if(open, [&](std::size_t text) {
            const std::optional<std::size_t> first = index.First(LookalikeForms(texts[text]));
            if (first)
                found[text] = Checked(texts[text], candidates, *first);
            return first.has_value();
        });
        from = to;
    }
    return found;
}

} // namespace compare
