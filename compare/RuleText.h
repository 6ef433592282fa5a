#pragma once

#include "compare/ComparisonRules.h"
#include "compare/UnitOrigins.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace compare {

// A line as the word comparison compares it under the rules, and where each of its units comes
// from in the line as it stands in the text.
struct RuleLine {
    std::u16string_view Text() const { return {units.data(), length}; }
    // The original units of `count` units from `start` of the text.
    std::pair<std::size_t, std::size_t> Original(std::size_t start, std::size_t count) const {
        return origins.Original(start, start + count);
    }

    std::u16string units; // the first `length` are the text; kept for the next line
    std::size_t length = 0;
    UnitOrigins origins;
};

// What the rules make of texts, for one thread: the rules' expressions keep state while they
// match, and the forms are made in buffers that are used again. Every form is the text with the
// masks applied first and then each kind of the rules removed, in the order of
// kLookalikeRemovalOrder. The masks come first because their expressions are written against the
// text as the user reads it: folded case or collapsed blanks would make an expression for
// "2026-12-07T10:00:01" or for two blanks in a row stop matching, and which kinds are chosen would
// change what a mask hides.
//
// A match of a mask becomes the placeholder U+FDD0, a noncharacter no kind changes. So that a
// placeholder never equals the text's own characters, the units U+FDD0 and U+FDD1 of the text
// itself are written as U+FDD1 U+FDD2 and U+FDD1 U+FDD1 wherever masks are in use, and for the
// word comparison a CR inside a line (one CR LF does not end) as U+FDD1 U+FDD3, so that no kind
// can join it to an LF into a line break by removing what stood between them.
//
// A line of ASCII (and placeholders) takes no ICU call: its case and its confusable skeleton are
// read from a table made once from ICU's data, and the other kinds leave it as it is.
class RuleText {
public:
    explicit RuleText(const ComparisonRules& rules);
    ~RuleText();
    RuleText(const RuleText&) = delete;
    RuleText& operator=(const RuleText&) = delete;

    const ComparisonRules& Rules() const { return rules_; }

    // The content of a line (cut at CR, without its leading LF) as the line comparison compares
    // it: two lines are equal under the rules when their keys are. Valid until the next call of
    // Key or Masked.
    std::u16string_view Key(std::u16string_view content);
    // Whether the key of `content` is the content itself, told from a quick look at it, sixteen
    // units at a time; false may also mean that it is not known. Under the rules about blanks and
    // case most lines keep their content as their key, and it need not be made.
    bool KeyIsContent(std::u16string_view content) const;
    // The content with the masks applied and nothing else: `content` itself when there are none.
    // Valid as Key.
    std::u16string_view Masked(std::u16string_view content);
    // Whether the ignore-matching expression finds a match in the line (false when there is
    // none).
    bool Ignored(std::u16string_view line);

    // A line of the word comparison (cut at CR LF) as it compares it under the rules, with where
    // its units come from, into `form`. Its words are cut at blanks, as ever; the rules about
    // blanks leave none of the empty words that blanks in a row, or at either end, make. A
    // character that a rule turns into a blank inside what was one word, such as a spacing accent
    // under `compatibility`, cuts it into words that are each marked as the whole.
    void Form(std::u16string_view line, RuleLine& form);

    // Whether the form of `line` can be made a part at a time (FormPart): a line of ASCII with no
    // CR, under rules with no mask and no confusable skeleton, whose form changes no unit but by
    // case and only joins or drops blanks and tabs.
    bool FormsInParts(std::u16string_view line) const;
    // Where the part of `line` that begins at `from` ends, about `units` on: after a blank that
    // something other than a blank or a tab follows, or at the line's end.
    static std::size_t PartEnd(std::u16string_view line, std::size_t from, std::size_t units);
    // The form of the part [from, to) of `line` (ends as PartEnd gives them): the parts' forms
    // one after the other are the line's form, and the origins of each are from the part's start.
    void FormPart(std::u16string_view line, std::size_t from, std::size_t to, RuleLine& form);

private:
    struct Work;
    ComparisonRules rules_;
    std::unique_ptr<Work> work_;
};

} // namespace compare
