#pragma once

#include "compare/ComparisonRules.h"
#include "compare/CrLfLines.h"
#include "compare/LineStream.h"
#include "compare/LineWords.h"
#include "compare/PartnerLine.h"
#include "compare/RuleMatch.h"
#include "compare/RuleText.h"
#include "compare/StreamedPartner.h"
#include "compare/WordComparison.h"
#include "compare/WordPass.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace compare {

// The word comparison of one line against its partner line under rules that make words equal
// (ComparisonRules::MakesEqual). Both lines are put in their forms (RuleText::Form) and the walk
// is the word comparison's own, on the forms' words: each word is looked for among the next few
// partner words not used up, the look-ahead counted from the form's word count. A word the walk
// matches to a partner word that is not the same as it stands is matched by a rule; a word it
// leaves unmatched is red, unless the ignore-matching expression finds a match in its line.
// A line that is the same as its partner as it stands is passed over: every word matches itself.
//
// A long line that can be formed a part at a time (RuleText::FormsInParts) is: its words are
// counted part by part first, for the look-ahead, and then walked part by part, so that what is
// held of it is a part's form, not the line's.
class WordsUnderRulesOfLine {
public:
    static constexpr std::size_t kPartUnits = std::size_t{1} << 16;

    explicit WordsUnderRulesOfLine(const ComparisonRules& rules, std::size_t partUnits = kPartUnits)
        : text_(rules), partner_(u""), partUnits_(std::max<std::size_t>(partUnits, 1)) {}

    // The partner line as it stands (no line break); it must stay valid while it is the partner.
    void Partner(std::u16string_view line) {
        partnerLine_ = line;
        partnerFormed_ = false;
    }

    // Compares `line` with the partner: unmatched(start, length) for each red word and
    // matched(RuleMatch) for each word matched only by a rule, in order, with places from the
    // starts of the two lines (otherLine is not set). Inside a line of very many words
    // keepGoing(start) is asked from time to time; returns false when it said to stop.
    template <typename Unmatched, typename Matched, typename KeepGoing>
    bool Compare(std::u16string_view line, Unmatched&& unmatched, Matched&& matched,
                 KeepGoing&& keepGoing);

private:
    void FormPartner() {
        if (partnerFormed_) {
            partner_.Rewind();
            return;
        }
        text_.Form(partnerLine_, partnerForm_);
        partner_.Use(partnerForm_.Text());
        partnerFormed_ = true;
    }

    // Calls part(formText, lineStart, last) for the form of each part of `line` in turn, until it
    // returns false; returns false then.
    template <typename Part> bool ForEachPart(std::u16string_view line, Part&& part) {
        if (line.size() <= partUnits_ || !text_.FormsInParts(line)) {
            text_.Form(line, ownForm_);
            return part(ownForm_.Text(), std::size_t{0}, true);
        }
        for (std::size_t from = 0; from < line.size();) {
            const std::size_t to = RuleText::PartEnd(line, from, partUnits_);
            text_.FormPart(line, from, to, ownForm_);
            if (!part(ownForm_.Text(), from, to == line.size()))
                return false;
            from = to;
        }
        return true;
    }
    // The words of the form of `line`.
    std::size_t FormWords(std::u16string_view line) {
        std::size_t blanks = 0;
        bool any = false;
        ForEachPart(line, [&](std::u16string_view form, std::size_t, bool) {
            blanks += static_cast<std::size_t>(std::count(form.begin(), form.end(), kWordBlank));
            any = any || !form.empty();
            return true;
        });
        return any ? blanks + 1 : 0;
    }

    RuleText text_;
    std::u16string_view partnerLine_;
    RuleLine ownForm_;
    RuleLine partnerForm_;
    bool partnerFormed_ = false;
    PartnerLine partner_;
    LineCut cut_;
    std::size_t partUnits_;
};

template <typename Unmatched, typename Matched, typename KeepGoing>
bool WordsUnderRulesOfLine::Compare(std::u16string_view line, Unmatched&& unmatched,
                                    Matched&& matched, KeepGoing&& keepGoing) {
    if (line == partnerLine_)
        return true;
    const bool inParts = line.size() > partUnits_ && text_.FormsInParts(line);
    const std::size_t words = inParts ? FormWords(line) : 0;
    FormPartner();
    std::size_t window = WindowSize(words);
    std::size_t next = 0; // the first partner word not used up
    std::size_t counted = 0;
    int ignored = -1; // not asked yet
    return ForEachPart(line, [&](std::u16string_view own, std::size_t partStart, bool last) {
        const LineExtent extent = cut_.Cut(own, 0);
        if (!inParts)
            window = WindowSize(extent.words);
        // A part that is not the last ends with the blank before the next part's first word:
        // the empty word after it is no word of the line.
        std::size_t left = last ? extent.words : extent.words - 1;
        return cut_.ForEachWord([&](std::size_t start, std::size_t end) {
            if (left-- == 0)
                return false;
            const auto [partFrom, partTo] = ownForm_.origins.Original(start, end);
            const std::size_t from = partStart + partFrom;
            const std::size_t to = partStart + partTo;
            if (++counted % kWordsBetweenChecks == 0 && !keepGoing(from))
                return false;
            const std::u16string_view word = own.substr(start, end - start);
            const std::size_t found = partner_.Find(word, WordKey(word), next, window);
            if (found == PartnerLine::kNotFound) {
                if (ignored < 0)
                    ignored = text_.Ignored(line) ? 1 : 0;
                if (ignored == 1)
                    matched(RuleMatch{from, to - from, true});
                else
                    unmatched(from, to - from);
                return true;
            }
            next = found + 1;
            const std::size_t partnerStart = partner_.StartOfFound(found);
            const auto [otherFrom, otherTo] =
                partnerForm_.origins.Original(partnerStart, partnerStart + word.size());
            if (line.substr(from, to - from) != partnerLine_.substr(otherFrom, otherTo - otherFrom))
                matched(RuleMatch{from, to - from, false, otherFrom, otherTo - otherFrom});
            return true;
        }) || left == std::size_t(-1);
    });
}

// The longest line of `text` as the word comparison cuts it, in units: a line's form under rules
// that make words equal is held beside it, and so is its partner's.
inline std::size_t LongestWordLine(std::u16string_view text) {
    std::size_t longest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = FindCrLf(text, start);
        longest = std::max(longest, end - start);
        start = end + 2;
    }
    return longest;
}

// What comparing the lines of `own` with those of `other` under rules holds beside them at most:
// the two forms, each with as much again for the steps it is made in (see RuleText::Form).
inline std::size_t FormBytes(std::u16string_view own, std::u16string_view other) {
    return 2 * 2 * sizeof(char16_t) * (LongestWordLine(own) + LongestWordLine(other));
}

// One direction of the word comparison under `rules`, as ForEachUnmatchedWord (WordPass.h) walks
// it: unmatched(start, length) for each red word of `own` and matched(RuleMatch) for each word
// matched only by a rule (places in the texts given; otherLine the partner line's number, from 1),
// in text order. Every few thousand lines keepGoing(unitsOfOwnDone) is asked; returns false when
// it said to stop. With no rule that makes words equal, the walk is ForEachUnmatchedWord itself,
// and a red word is matched instead when the ignore-matching expression finds a match in its line.
template <typename Unmatched, typename Matched, typename KeepGoing>
bool ForEachWordUnderRules(std::u16string_view own, std::u16string_view other,
                           const ComparisonRules& rules, Unmatched&& unmatched, Matched&& matched,
                           KeepGoing&& keepGoing) {
    if (!rules.MakesEqual()) {
        RuleText text(rules);
        CrLfLineWalker line(WithoutFinalCR(own));
        int ignored = -1; // of the current line, not asked yet
        return ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t length) {
                while (start > line.End() && line.HasNext()) {
                    line.Next();
                    ignored = -1;
                }
                if (ignored < 0)
                    ignored = text.Ignored(line.Line()) ? 1 : 0;
                if (ignored == 1)
                    matched(RuleMatch{start, length, true});
                else
                    unmatched(start, length);
            },
            keepGoing);
    }
    own = WithoutFinalCR(own);
    other = WithoutFinalCR(other);
    WordsUnderRulesOfLine compare(rules);
    PartnerLineWalker partner(other);
    compare.Partner(partner.HasLine() ? partner.Line().Line() : std::u16string_view());
    std::size_t linesSinceCheck = 0;
    for (CrLfLineWalker line(own); line.HasLine(); line.Next()) {
        const std::size_t lineStart = line.Start();
        const std::size_t partnerStart = partner.HasLine() ? partner.Line().Start() : 0;
        const std::size_t partnerNumber = partner.HasLine() ? partner.Line().Number() + 1 : 0;
        const bool whole = compare.Compare(
            line.Line(),
            [&](std::size_t start, std::size_t length) { unmatched(lineStart + start, length); },
            [&](RuleMatch match) {
                match.start += lineStart;
                if (!match.ignored) {
                    match.otherStart += partnerStart;
                    match.otherLine = partnerNumber;
                }
                matched(match);
            },
            [&](std::size_t start) { return keepGoing(lineStart + start); });
        if (!whole)
            return false;
        if (!line.HasNext())
            break;
        if (partner.Next())
            compare.Partner(partner.Line().Line());
        if (++linesSinceCheck == kLinesBetweenChecks) {
            linesSinceCheck = 0;
            if (!keepGoing(line.End() + 2))
                return false;
        }
    }
    return true;
}

// The same for texts that arrive a chunk at a time (see ForEachUnmatchedWordStreamed): only the
// current line and the partner line are kept, so unmatched(start, word, line, place) is handed the
// word, its line from 1 and its place in the line from 0 (the blanks before it), and
// matched(RuleMatch, word, otherWord) the word and what it matched.
template <typename OwnChunks, typename OtherChunks, typename Unmatched, typename Matched>
void ForEachWordUnderRulesStreamed(OwnChunks&& ownChunks, OtherChunks&& otherChunks,
                                   const ComparisonRules& rules, Unmatched&& unmatched,
                                   Matched&& matched) {
    LineStream own(std::ref(ownChunks));
    StreamedPartner<std::remove_reference_t<OtherChunks>> partner(otherChunks);
    WordsUnderRulesOfLine compare(rules);
    compare.Partner(partner.Text());
    const auto goOn = [](std::size_t) { return true; };
    for (std::size_t lineNumber = 1; const auto line = own.Next(); ++lineNumber) {
        const std::u16string_view text = line->text;
        std::size_t blanks = 0, counted = 0; // blanks of the line before `counted`
        compare.Compare(
            text,
            [&](std::size_t start, std::size_t length) {
                for (; counted < start; ++counted)
                    blanks += text[counted] == kWordBlank;
                unmatched(line->start + start, text.substr(start, length), lineNumber, blanks);
            },
            [&](RuleMatch match) {
                const std::u16string_view word = text.substr(match.start, match.length);
                const std::u16string_view otherWord =
                    std::u16string_view(partner.Text()).substr(match.otherStart, match.otherLength);
                match.start += line->start;
                if (!match.ignored) {
                    match.otherStart += partner.Start();
                    match.otherLine = partner.Number();
                }
                matched(match, word, otherWord);
            },
            goOn);
        if (!line->hasNext)
            break;
        if (partner.MoveOn())
            compare.Partner(partner.Text());
    }
}

} // namespace compare
