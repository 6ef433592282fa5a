#include "cli/RulePasses.h"

#include "cli/LookalikeSinks.h"

#include "compare/LinesUnderRules.h"
#include "compare/WordLookalikeWalk.h"
#include "compare/WordsUnderRules.h"

#include <future>

compare::MatchedRules RulesOfMatch(const compare::RuleMatch& match, std::u16string_view own,
                                   std::u16string_view other, compare::RuleText* text) {
    if (match.ignored)
        return {{}, false, true};
    if (!text)
        return {};
    return compare::ExplainRuleMatch(*text, own, other);
}

LineMatch::LineMatch(std::u16string_view own, std::u16string_view other,
                     const compare::ComparisonRules& rules, bool nameRules)
    : own_(own), other_(other) {
    if (nameRules)
        text_.emplace(rules);
}

void LineMatch::operator()(const compare::RuleMatch& match, EntrySink& sink) {
    const compare::Piece piece{match.start, match.length};
    const compare::Piece marked = compare::MarkedSpan(own_, piece);
    const std::u16string_view line = own_.substr(piece.start, piece.length);
    EntryMatch entry;
    entry.start = marked.start;
    entry.length = marked.length;
    entry.ignored = match.ignored;
    std::u16string_view otherLine;
    if (!match.ignored) {
        const compare::Piece other =
            compare::MarkedSpan(other_, {match.otherStart, match.otherLength});
        entry.otherStart = other.start;
        entry.otherLength = other.length;
        entry.otherLine = match.otherLine;
        otherLine = other_.substr(match.otherStart, match.otherLength);
    }
    entry.rules = RulesOfMatch(match, compare::LineContent(line), compare::LineContent(otherLine),
                               text_ ? &*text_ : nullptr);
    sink.Matched(line, u"\r", entry);
}

std::array<RedLines, 2> FindRedLinesUnderRules(const compare::LineIndex& first,
                                               const compare::LineIndex& second,
                                               const compare::ComparisonRules& rules,
                                               KeptRoom& room) {
    auto secondMissing = std::async(std::launch::async, [&] { return second.MissingIn(first); });
    std::vector<compare::Piece> missing[] = {first.MissingIn(second), secondMissing.get()};
    // Each side's table of keys takes at most half of what the room gives.
    constexpr qint64 kLeastBatch = 1024;
    const qint64 wanted =
        qint64{compare::kMissingKeyBytes} * qint64(missing[0].size() + missing[1].size());
    const qint64 taken = room.TakeUpTo(wanted);
    const auto batch = static_cast<std::size_t>(
        std::max(kLeastBatch, taken / 2 / qint64{compare::kMissingKeyBytes}));
    std::array<compare::LinesUnderRules, 2> found = compare::SortOutBoth(
        first, std::move(missing[0]), second, std::move(missing[1]), rules, {}, batch);
    room.GiveBack(taken);
    std::array<RedLines, 2> sides;
    for (int side = 0; side < 2; ++side) {
        sides[side].red = found[side].Red();
        sides[side].underRules = std::move(found[side]);
    }
    return sides;
}

Pass WordsUnderRules(std::u16string_view own, std::u16string_view other,
                     const compare::ComparisonRules& rules, bool nameRules, bool lookalikes) {
    return [own, other, &rules, nameRules, lookalikes](EntrySink& sink) {
        std::optional<compare::WordLookalikeWalk> walk;
        if (lookalikes)
            walk.emplace(own, other);
        std::optional<compare::RuleText> text;
        if (nameRules)
            text.emplace(rules);
        compare::ForEachWordUnderRules(
            own, other, rules,
            [&](std::size_t start, std::size_t length) {
                sink.Entry(u"\r\n", own.substr(start, length), start, length, {});
                if (!walk)
                    return;
                // The look-alike of the word as it stands, where the rules left it whole.
                const auto lookalike = walk->Next(start);
                if (lookalike && lookalike->start == start && lookalike->length == length)
                    sink.Lookalike(EntryLookalike{start, length, lookalike->otherStart,
                                                  lookalike->otherLength, lookalike->otherLine,
                                                  lookalike->kinds});
            },
            [&](const compare::RuleMatch& match) {
                const std::u16string_view word = own.substr(match.start, match.length);
                const EntryMatch entry{
                    match.start,
                    match.length,
                    match.ignored,
                    match.otherStart,
                    match.otherLength,
                    match.otherLine,
                    RulesOfMatch(match, word, other.substr(match.otherStart, match.otherLength),
                                 text ? &*text : nullptr)};
                sink.Matched(u"\r\n", word, entry);
            },
            [](std::size_t) { return true; });
    };
}
