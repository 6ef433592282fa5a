#include "compare/RedWordReason.h"

#include "compare/CrLfLines.h"
#include "compare/LineWords.h"
#include "compare/WordComparison.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace compare {

namespace {

// The words of a line cut at every single blank, as the word comparison cuts them.
std::vector<std::u16string_view> WordsOf(std::u16string_view line) {
    std::vector<std::u16string_view> words;
    if (line.empty())
        return words;
    for (std::size_t start = 0;;) {
        const std::size_t blank = line.find(kWordBlank, start);
        words.push_back(line.substr(start, blank == line.npos ? line.npos : blank - start));
        if (blank == line.npos)
            return words;
        start = blank + 1;
    }
}

// One match of the walk: word `by` of the line matched partner word `to`, using up [from, to].
struct Match {
    std::size_t by, from, to;
};

} // namespace

// The walk is replayed with each partner word's places looked up, not searched for, so that a
// line of many words is explained in time in proportion to it.
std::optional<RedWordReason> ExplainRedWordOfLine(std::u16string_view line, std::size_t word,
                                                  std::u16string_view partner) {
    const std::vector<std::u16string_view> own = WordsOf(line), other = WordsOf(partner);
    if (word >= own.size())
        return std::nullopt;
    std::unordered_map<std::u16string_view, std::vector<std::size_t>> places;
    for (std::size_t j = 0; j < other.size(); ++j)
        places[other[j]].push_back(j);
    const auto placesOf = [&](std::u16string_view w) -> const std::vector<std::size_t>* {
        const auto found = places.find(w);
        return found == places.end() ? nullptr : &found->second;
    };
    const std::size_t window = WindowSize(own.size());
    std::vector<Match> matches;
    std::size_t next = 0; // the first partner word not used up
    for (std::size_t i = 0; i < word; ++i) {
        const std::vector<std::size_t>* at = placesOf(own[i]);
        if (!at)
            continue;
        const auto from = std::lower_bound(at->begin(), at->end(), next);
        if (from != at->end() && *from < next + window) {
            matches.push_back({i, next, *from});
            next = *from + 1;
        }
    }
    RedWordReason reason;
    reason.word = word;
    reason.text = own[word];
    const std::vector<std::size_t>* at = placesOf(own[word]);
    if (!at)
        return reason;
    const auto ahead = std::lower_bound(at->begin(), at->end(), next);
    if (ahead != at->end()) {
        if (*ahead < next + window)
            return std::nullopt; // the walk matches it
        reason.kind = RedWordReason::Kind::BeyondLookAhead;
        reason.partnerWord = *ahead;
        reason.walkAt = next;
        reason.lookAhead = window;
        return reason;
    }
    // Every equal word stands behind the walk: the nearest one, and the match that used it up.
    reason.kind = RedWordReason::Kind::Passed;
    reason.partnerWord = at->back();
    const auto user = std::lower_bound(matches.begin(), matches.end(), reason.partnerWord,
                                       [](const Match& m, std::size_t j) { return m.to < j; });
    reason.usedBy = user->by;
    reason.usedByText = own[user->by];
    reason.usedFrom = user->from;
    reason.usedTo = user->to;
    return reason;
}

std::optional<RedWordReason> ExplainRedWordAt(std::u16string_view ownPane, std::size_t wordStart,
                                              std::u16string_view otherPane) {
    const std::u16string_view own = WordComparisonText(ownPane);
    const std::u16string_view other = WordComparisonText(otherPane);
    CrLfLineWalker line(own);
    PartnerLineWalker partner(other);
    if (wordStart > own.size() || !line.HasLine())
        return std::nullopt;
    while (line.End() + 2 <= wordStart) {
        line.Next();
        partner.Next();
    }
    if (line.End() - line.Start() > kLongestExplainedLine || wordStart > line.End())
        return std::nullopt;
    const std::u16string_view text = line.Line();
    const std::size_t offset = wordStart - line.Start();
    if (offset > 0 && text[offset - 1] != kWordBlank)
        return std::nullopt; // not where a word begins
    const std::size_t word = static_cast<std::size_t>(
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), kWordBlank));
    const std::u16string_view partnerText =
        partner.HasLine() ? partner.Line().Line() : std::u16string_view();
    if (partnerText.size() > kLongestExplainedLine)
        return std::nullopt;
    auto reason = ExplainRedWordOfLine(text, word, partnerText);
    if (reason)
        reason->partnerLine = partner.HasLine() ? partner.Line().Number() : 0;
    return reason;
}

} // namespace compare
