#include "compare/LookalikeDescription.h"

#include "compare/LookalikeForms.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace compare {

namespace {

std::string CodePointName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

std::vector<char32_t> CodePoints(std::u16string_view text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        points.push_back(c);
    }
    return points;
}

std::string Names(const std::vector<char32_t>& points) {
    std::string names;
    for (char32_t c : points)
        names.append(names.empty() ? "" : " ").append(CodePointName(c));
    return names;
}

// "U+0020", "U+0009" or "U+0020 and U+0009": the blanks and tabs among `units`.
std::string BlanksIn(std::u16string_view units) {
    const bool blank = units.find(u' ') != units.npos;
    const bool tab = units.find(u'\t') != units.npos;
    if (blank && tab)
        return "U+0020 and U+0009";
    return tab ? "U+0009" : "U+0020";
}

std::u16string_view TrailingRun(std::u16string_view text) {
    const std::size_t last = text.find_last_not_of(u" \t");
    return text.substr(last == text.npos ? 0 : last + 1);
}

std::u16string_view LeadingRun(std::u16string_view text) {
    return text.substr(0, std::min(text.find_first_not_of(u" \t"), text.size()));
}

std::u16string_view Inside(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == text.npos)
        return {};
    return text.substr(first, text.find_last_not_of(u" \t") + 1 - first);
}

// The first code points at which the two differ, each with what follows it up to where the two
// agree again, e.g. U+FB01 against U+0066 U+0069.
std::optional<std::pair<std::vector<char32_t>, std::vector<char32_t>>>
FirstDifference(std::u16string_view own, std::u16string_view other) {
    const std::vector<char32_t> a = CodePoints(own);
    const std::vector<char32_t> b = CodePoints(other);
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (ia == a.end() && ib == b.end())
        return std::nullopt;
    // Both ends agree from here on: the shortest tails that still differ.
    const auto ra = std::make_reverse_iterator(ia);
    const auto [ta, tb] = std::mismatch(a.rbegin(), ra, b.rbegin(), std::make_reverse_iterator(ib));
    return std::make_pair(std::vector<char32_t>(ia, ta.base()),
                          std::vector<char32_t>(ib, tb.base()));
}

// "U+00A0 where the other has U+0020", from the first place where the two differ.
std::string WhereOtherHas(std::u16string_view own, std::u16string_view other) {
    const auto difference = FirstDifference(own, other);
    if (!difference)
        return {};
    const auto& [mine, theirs] = *difference;
    if (mine.empty())
        return "the other has " + Names(theirs) + " here";
    if (theirs.empty())
        return Names(mine) + " that the other lacks";
    return Names(mine) + " where the other has " + Names(theirs);
}

std::string Described(std::string what, const std::string& detail) {
    return detail.empty() ? what : what + " (" + detail + ")";
}

std::string DescribeKind(LookalikeKind kind, std::u16string_view own, std::u16string_view other) {
    switch (kind) {
    case LookalikeKind::TrailingSpace: {
        const std::u16string_view run = TrailingRun(own).size() >= TrailingRun(other).size()
                                            ? TrailingRun(own)
                                            : TrailingRun(other);
        return Described("trailing space", BlanksIn(run) + " at the end");
    }
    case LookalikeKind::LeadingSpace: {
        const std::u16string_view run = LeadingRun(own).size() >= LeadingRun(other).size()
                                            ? LeadingRun(own)
                                            : LeadingRun(other);
        return Described("leading space", BlanksIn(run) + " at the start");
    }
    case LookalikeKind::InnerSpace: {
        const bool ownTab = Inside(own).find(u'\t') != std::u16string_view::npos;
        const bool otherTab = Inside(other).find(u'\t') != std::u16string_view::npos;
        if (ownTab != otherTab)
            return Described("inner space", ownTab ? "U+0009 where the other has U+0020"
                                                   : "U+0020 where the other has U+0009");
        return Described("inner space", "runs of blanks of different length");
    }
    case LookalikeKind::Nbsp:
        return Described("nbsp", WhereOtherHas(own, other));
    case LookalikeKind::ZeroWidth:
        return Described("zero-width character", WhereOtherHas(own, other));
    case LookalikeKind::Case:
        return "letter case";
    case LookalikeKind::UnicodeForm:
        return Described("Unicode form", WhereOtherHas(own, other));
    case LookalikeKind::Compatibility:
        return Described("compatibility form", WhereOtherHas(own, other));
    case LookalikeKind::Confusable:
        return Described("confusable character", WhereOtherHas(own, other));
    }
    return {};
}

} // namespace

std::string DescribeLookalike(LookalikeKinds kinds, std::u16string_view own,
                              std::u16string_view other) {
    std::string description;
    for (LookalikeKind kind : kLookalikeKinds) {
        if (!kinds.Has(kind))
            continue;
        // The other kinds removed first, so that what is left to show is this kind's alone.
        const LookalikeKinds rest = kinds.Without(kind);
        const std::u16string ownLeft = RemoveLookalikeDifferences(rest, own);
        const std::u16string otherLeft = RemoveLookalikeDifferences(rest, other);
        description.append(description.empty() ? "" : ", ")
            .append(DescribeKind(kind, ownLeft, otherLeft));
    }
    return description;
}

} // namespace compare
