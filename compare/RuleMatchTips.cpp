#include "compare/RuleMatchTips.h"

#include "app/RuleKindNames.h"
#include "compare/Lines.h"
#include "compare/RuleText.h"
#include "platform/Utf16View.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

TextRange MarkOf(std::u16string_view own, const compare::RuleMatch& match, bool lines) {
    const compare::Piece marked = lines ? compare::MarkedSpan(own, {match.start, match.length})
                                        : compare::Piece{match.start, match.length};
    return {static_cast<qsizetype>(marked.start), static_cast<qsizetype>(marked.length)};
}

// "a", "a and b", "a, b and c".
QString Listed(const QStringList& parts) {
    if (parts.size() <= 1)
        return parts.join(QString());
    return parts.first(parts.size() - 1).join(u", "_s) + u" and "_s + parts.last();
}

} // namespace

std::vector<TextRange> RuleMatchMarks(std::u16string_view own,
                                      const std::vector<compare::RuleMatch>& matched, bool lines) {
    std::vector<TextRange> marks;
    marks.reserve(matched.size());
    for (const compare::RuleMatch& match : matched) {
        const TextRange mark = MarkOf(own, match, lines);
        if (mark.length == 0)
            continue;
        if (!marks.empty() && marks.back().End() >= mark.start)
            marks.back().length = std::max(marks.back().End(), mark.End()) - marks.back().start;
        else
            marks.push_back(mark);
    }
    return marks;
}

QString RuleMatchNote(const compare::RuleMatch& match, const compare::MatchedRules& rules,
                      const QString& otherName, bool lines, const QString& ignoreMatching) {
    if (match.ignored)
        return u"Ignored: the line matches "_s + ignoreMatching;
    QStringList ignored;
    for (std::size_t i = 0; i < compare::kLookalikeKinds.size(); ++i)
        if (rules.kinds.Has(compare::kLookalikeKinds[i]))
            ignored.append(QString::fromUtf16(kRuleKindNames[i].ignored));
    if (rules.mask)
        ignored.append(u"the masks' matches"_s);
    const QString what = lines ? u"Matches line %1 of "_s : u"Matches a word of line %1 of "_s;
    const QString said = what.arg(match.otherLine) + otherName;
    if (ignored.isEmpty())
        return said;
    const bool one = ignored.size() == 1 && ignored.front() == u"case";
    return said + u" when "_s + Listed(ignored) + (one ? u" is"_s : u" are"_s) + u" ignored"_s;
}

QString RuleMatchCountNote(std::size_t matched, bool lines) {
    if (matched == 0)
        return {};
    if (matched == 1)
        return lines ? u", 1 more line matches only by the rules"_s
                     : u", 1 more word matches only by the rules"_s;
    return (lines ? u", %1 more lines match only by the rules"_s
                  : u", %1 more words match only by the rules"_s)
        .arg(matched);
}

Pane::TipSource WithRuleMatchTips(Pane::TipSource tips, const Pane& own, const Pane& other,
                                  RuleMatches matched, compare::ComparisonRules rules,
                                  const QString& otherName, bool lines) {
    if (!matched || matched->empty())
        return tips;
    return [tips = std::move(tips), text = own.Text(), otherText = other.Text(),
            matched = std::move(matched), rules = std::move(rules), otherName,
            lines](qsizetype position) -> QString {
        const std::u16string_view units = AsU16(text);
        // The last match that begins at or before the place.
        const auto after = std::upper_bound(matched->begin(), matched->end(), position,
                                            [](qsizetype at, const compare::RuleMatch& match) {
                                                return at < static_cast<qsizetype>(match.start);
                                            });
        const auto inside = [&](const compare::RuleMatch& match) {
            const TextRange mark = MarkOf(units, match, lines);
            return mark.start <= position && position < mark.End();
        };
        if (after == matched->begin() || !inside(*std::prev(after)))
            return tips ? tips(position) : QString();
        const compare::RuleMatch& match = *std::prev(after);
        compare::MatchedRules named;
        QString expression;
        if (match.ignored) {
            const auto& stored = rules.Choice().ignoreMatching;
            expression = stored ? QString::fromStdU16String(*stored) : QString();
        } else {
            compare::RuleText ruleText(rules);
            const auto content = [&](std::u16string_view of, std::size_t start,
                                     std::size_t length) {
                const std::u16string_view piece = of.substr(start, length);
                return lines ? compare::LineContent(piece) : piece;
            };
            named = compare::ExplainRuleMatch(
                ruleText, content(units, match.start, match.length),
                content(AsU16(otherText), match.otherStart, match.otherLength));
        }
        return RuleMatchNote(match, named, otherName, lines, expression);
    };
}
