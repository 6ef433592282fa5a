#include "cli/RuleMatchSinks.h"

#include "cli/JsonWriter.h"

QByteArray RuleNames(const compare::MatchedRules& rules, bool quoted) {
    QByteArray names;
    for (const std::string_view name : compare::MatchedRuleNames(rules)) {
        if (!names.isEmpty())
            names.append(quoted ? "," : ", ");
        if (quoted)
            names.append('"');
        names.append(name.data(), static_cast<qsizetype>(name.size()));
        if (quoted)
            names.append('"');
    }
    return names;
}

void ReadableMatches::Matched(std::u16string_view a, std::u16string_view b,
                              const EntryMatch& match) {
    list_.Entry(a, b, match.start, match.length, {});
    list_.Finish(); // the entry goes before the line under it
    if (!out_.Wants())
        return;
    if (match.ignored)
        out_.Write("    ignored by: " + RuleNames(match.rules, false) + "\n");
    else
        out_.Write("    matches line " +
                   QByteArray::number(static_cast<qulonglong>(match.otherLine)) + " of " +
                   otherName_ + " by: " + RuleNames(match.rules, false) + "\n");
}

void JsonMatches::Matched(std::u16string_view, std::u16string_view, const EntryMatch& match) {
    if (!list_.Wanted())
        return;
    QByteArray& bytes = list_.Next();
    AppendPlaces(bytes, match.start, match.length,
                 match.ignored ? std::nullopt
                               : std::optional(std::pair{match.otherStart, match.otherLength}));
    bytes.append(",\"rules\":[").append(RuleNames(match.rules, true)).append("]}");
    list_.Done();
}

void JsonMatches::Finish() {
    list_.Flush();
}
