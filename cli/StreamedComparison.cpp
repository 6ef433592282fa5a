#include "cli/StreamedComparison.h"

#include "cli/PieceBatches.h"
#include "cli/RuleMatchSinks.h"
#include "cli/RulePasses.h"
#include "cli/StreamedRuleLines.h"

#include "compare/ContentHash.h"
#include "compare/LineSet.h"
#include "compare/PieceCutter.h"
#include "compare/WordPass.h"
#include "compare/WordsUnderRules.h"

#include <optional>

namespace {

// Calls each(CutPiece) for every piece of the text, in order. The text is read, decoded, cut and
// hashed on a thread of its own a batch ahead, and the set each piece is looked up in is told
// about it a few pieces ahead, so that the lookups' waits for memory overlap.
template <typename Each>
void ForEachPiece(InputText& text, const compare::LineSet& set, Each&& each) {
    constexpr std::size_t kAhead = 16;
    constexpr std::size_t kLineAhead = 8;
    PieceBatches batches(text);
    while (const PieceBatches::Batch* batch = batches.Next()) {
        const std::vector<CutPiece>& pieces = batch->pieces;
        const std::size_t count = pieces.size();
        for (std::size_t i = 0; i < std::min(count, kAhead); ++i)
            set.PrefetchSlot(pieces[i].hash);
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kAhead < count)
                set.PrefetchSlot(pieces[i + kAhead].hash);
            if (i + kLineAhead < count)
                set.PrefetchLine(pieces[i + kLineAhead].hash);
            each(pieces[i]);
        }
    }
}

template <typename OwnChunks, typename OtherChunks>
void WordsUnderRulesStreamed(const CliOptions& options, OwnChunks& ownChunks,
                             OtherChunks& otherChunks, EntrySink& sink) {
    std::optional<compare::RuleText> text;
    if (options.json || options.explain)
        text.emplace(options.rules);
    compare::ForEachWordUnderRulesStreamed(
        ownChunks, otherChunks, options.rules,
        [&](std::size_t start, std::u16string_view word) {
            sink.Entry(u"\r\n", word, start, word.size());
        },
        [&](const compare::RuleMatch& match, std::u16string_view word,
            std::u16string_view otherWord) {
            const EntryMatch entry{match.start,
                                   match.length,
                                   match.ignored,
                                   match.otherStart,
                                   match.otherLength,
                                   match.otherLine,
                                   RulesOfMatch(match, word, otherWord, text ? &*text : nullptr)};
            sink.Matched(u"\r\n", word, entry);
        });
}

void Missing(EntrySink& sink, const CutPiece& cut) {
    sink.Entry(cut.piece, u"\r", cut.place.start, cut.place.length + (cut.endsWithCR ? 1 : 0));
}

// The line comparison holds the distinct lines of one file only, the smaller: the other file's
// lines are looked up in them as it is read, and each one found is marked, so that the lines of
// the first file that are not marked afterwards are those the other file lacks.
void CompareLines(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                  SideReport& second, ByteSink& out) {
    const bool ofSecond = two.Length() <= one.Length();
    InputText& held = ofSecond ? two : one;
    InputText& read = ofSecond ? one : two;
    compare::LineSet set;
    std::optional<StreamedRuleLines> rules;
    if (options.rules.Any())
        rules.emplace(options.rules, set, options.json || options.explain);
    ForEachPiece(held, set, [&](const CutPiece& cut) {
        const std::size_t entry = set.Add(cut.content, cut.hash);
        if (rules)
            rules->AddHeld(cut, entry);
    });
    const auto lookedUp = [&](bool mark) {
        return [&, mark](EntrySink& sink) {
            if (rules)
                rules->StartReading();
            ForEachPiece(read, set, [&](const CutPiece& cut) {
                const std::size_t entry = set.Find(cut.content, cut.hash);
                const bool found = entry != compare::LineSet::kNone;
                if (found && mark)
                    set.Mark(entry);
                if (rules)
                    rules->Read(cut, found, mark, sink);
                else if (!found)
                    Missing(sink, cut);
            });
        };
    };
    const Pass unmarked = [&](EntrySink& sink) {
        ForEachPiece(held, set, [&](const CutPiece& cut) {
            if (set.Marked(set.Find(cut.content, cut.hash)))
                return;
            if (rules)
                rules->HeldMissing(cut, sink);
            else
                Missing(sink, cut);
        });
    };
    if (ofSecond) {
        first.Write(lookedUp(true), out);
        second.Write(unmarked, out);
    } else {
        second.Keep(lookedUp(true)); // every mark is needed before the first file's turn
        first.Write(unmarked, out);
        second.Write(lookedUp(false), out);
    }
}

Pass WordsOf(const CliOptions& options, InputText& own, InputText& other) {
    return [&options, &own, &other](EntrySink& sink) {
        InputText::Reading ownChunks(own);
        InputText::Reading otherChunks(other);
        if (options.rules.Any()) {
            WordsUnderRulesStreamed(options, ownChunks, otherChunks, sink);
            return;
        }
        compare::ForEachUnmatchedWordStreamed(ownChunks, otherChunks,
                                              [&](std::size_t start, std::u16string_view word) {
                                                  sink.Entry(u"\r\n", word, start, word.size());
                                              });
    };
}

} // namespace

void CompareStreamed(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                     SideReport& second, ByteSink& out) {
    if (options.mode == CliOptions::Mode::Lines) {
        CompareLines(options, one, two, first, second, out);
        return;
    }
    first.Write(WordsOf(options, one, two), out);
    second.Write(WordsOf(options, two, one), out);
}
