#pragma once

#include <QString>

#include <array>

// The kinds of difference a user may have the comparisons ignore, as the window names them: the
// command line's name, the words the window's title and tooltips use, and the dialog's line
// with an example. In the order the comparison engine keeps its kinds (a test holds the two
// together).
struct RuleKindName {
    const char16_t* name;
    const char16_t* ignored; // "… when case and trailing blanks are ignored"
    const char16_t* example;
};

inline constexpr std::array<RuleKindName, 9> kRuleKindNames{{
    {u"trailing-space", u"trailing blanks",
     u"Blanks and tabs at the end of a line: \"total 12  \" equals \"total 12\"."},
    {u"leading-space", u"leading blanks",
     u"Blanks and tabs at the start of a line: \"    return\" equals \"return\"."},
    {u"inner-space", u"changes of blanks",
     u"A run of blanks and tabs inside a line equals one blank: \"a  =   b\" equals \"a = b\"."},
    {u"nbsp", u"special spaces",
     u"A no-break or other special space equals a blank: \"10\u00A0kg\" equals \"10 kg\"."},
    {u"zero-width", u"invisible characters",
     u"Zero-width characters and soft hyphens count for nothing: \"co\u200Bop\" equals \"coop\"."},
    {u"case", u"case", u"Capitals equal small letters: \"Berlin\" equals \"BERLIN\"."},
    {u"unicode-form", u"Unicode forms",
     u"A composed letter equals its decomposed form: \"caf\u00E9\" equals \"cafe\u0301\"."},
    {u"compatibility", u"compatibility forms",
     u"Ligatures, full-width letters and the like equal their plain form: \"\uFB01le\" equals "
     u"\"file\"."},
    {u"confusable", u"look-alike letters",
     u"Letters of other scripts that look alike are equal: Cyrillic \"\u0441\u0430t\" equals "
     u"\"cat\"."},
}};

// The index of the kind named `name`, or -1.
int RuleKindIndex(const QString& name);
