#include "compare/FindWordDifferences.h"

#include "app/MemoryBound.h"
#include "compare/DifferenceNotes.h"
#include "compare/LookalikeDescription.h"
#include "compare/LookalikeWords.h"
#include "compare/RedWordNote.h"
#include "compare/RuleMatchTips.h"
#include "compare/WordLookalikeCount.h"
#include "compare/WordPass.h"
#include "compare/WordsUnderRules.h"
#include "platform/PaneToken.h"
#include "platform/ResultList.h"
#include "platform/Utf16View.h"
#include "platform/WorkProgress.h"

#include <future>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// One pass as the panes take it: its unmatched words as a list of places in the full pane's text,
// and the last one, where the selection goes (an empty word colours nothing but takes it).
struct PassFound {
    std::shared_ptr<const ResultList> list;
    std::optional<TextRange> last;
    std::exception_ptr failure; // reported where the pass is shown
    bool roomToCount = true;    // for counting its look-alikes (see CountLookalikesLater)
    // When told to stop before the end: the last line looked at (counted from 1).
    std::optional<qsizetype> stoppedAfterLine;
    // Under rules, the words only a rule matched, in text order.
    RuleMatches matched;
};

// The lines that end before `units` of the text, as the word comparison cuts them (at CR LF).
qsizetype LinesBefore(QStringView text, qsizetype units) {
    qsizetype lines = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0 && cr + 1 < units;
         cr = text.indexOf(u'\r', cr + 1))
        if (text[cr + 1] == u'\n')
            ++lines;
    return lines;
}

// The look-alike counts of the two passes run side by side, reading the red words from their
// lists and keying a line at a time: they are left out only where the lists themselves leave no
// room beside what the panes hold.
void AllowCounts(PassFound& first, PassFound& second, qint64 room) {
    for (PassFound* pass : {&first, &second})
        if (pass->list)
            room -= pass->list->MemoryBytes();
    for (PassFound* pass : {&first, &second})
        pass->roomToCount = room >= 0;
}

PassFound WorkOutPass(const QString& own, const QString& other, const std::atomic<bool>& stop,
                      std::atomic<std::size_t>& done, const compare::ComparisonRules& rules) {
    PassFound found;
    try {
        // Room for the most words a text can have: only address space until it is written to.
        ResultList::Builder list(own, ResultList::Form::Words,
                                 static_cast<std::size_t>(own.size()) + 1);
        std::size_t reported = 0;
        const auto red = [&](std::size_t start, std::size_t length) {
            found.last = TextRange{static_cast<qsizetype>(start), static_cast<qsizetype>(length)};
            list.Add(*found.last);
        };
        const auto keepGoing = [&](std::size_t unitsDone) {
            done += unitsDone - reported;
            reported = unitsDone;
            return !stop;
        };
        bool whole = true;
        if (rules.Any()) {
            std::vector<compare::RuleMatch> matched;
            whole = compare::ForEachWordUnderRules(
                AsU16(own), AsU16(other), rules, red,
                [&](const compare::RuleMatch& match) { matched.push_back(match); }, keepGoing);
            found.matched =
                std::make_shared<const std::vector<compare::RuleMatch>>(std::move(matched));
        } else {
            whole = compare::ForEachUnmatchedWord(AsU16(own), AsU16(other), red, keepGoing);
        }
        found.list = std::make_shared<const ResultList>(std::move(list).Finish());
        if (!whole)
            found.stoppedAfterLine = LinesBefore(own, static_cast<qsizetype>(reported));
    } catch (...) {
        found.failure = std::current_exception();
    }
    return found;
}

// The tooltip of a red word: why the walk left it red and, when it has one, its look-alike in its
// partner line; worked out when asked, from the two texts, while the other text is still the one
// compared.
Pane::TipSource WordTips(const Pane& full, const Pane& other,
                         std::shared_ptr<const ResultList> list, const QString& otherName) {
    return [own = full.Text(), other = &other, generation = other.TextGeneration(),
            list = std::move(list), otherName](qsizetype position) -> QString {
        if (other->TextGeneration() != generation)
            return {};
        const qsizetype i = list->FirstEntryEndingAfter(position);
        if (i >= list->EntryCount() || list->Entry(i).start > position)
            return {};
        const TextRange word = list->Entry(i);
        const std::u16string_view ownText = AsU16(own), otherText = AsU16(other->Text());
        const auto start = static_cast<std::size_t>(word.start);
        QStringList notes;
        if (const auto reason = compare::ExplainRedWordAt(ownText, start, otherText))
            notes.append(RedWordNote(*reason, otherName));
        if (const auto lookalike = compare::FindLookalikeWordAt(ownText, start, otherText)) {
            const std::string described = compare::DescribeLookalike(
                lookalike->kinds, ownText.substr(lookalike->start, lookalike->length),
                otherText.substr(lookalike->otherStart, lookalike->otherLength));
            notes.append(u"Differs from line %1 of %2 only by: %3"_s.arg(lookalike->otherLine)
                             .arg(otherName, QString::fromStdString(described)));
        }
        return notes.join(u'\n');
    };
}

// How many of the pass's red words have a look-alike: counted beside the window once the pass is
// shown, and told in the pane's summary when known, if the texts are still those compared and no
// other comparison has told its own summary meanwhile. A job of its own, which nobody waits for.
Task<> CountLookalikesLater(Pane& full, const Pane& other, std::shared_ptr<const ResultList> list,
                            QString otherName, EventPump& pump, bool roomToCount,
                            QString matchedNote) {
    const qsizetype words = list->EntryCount();
    if (!roomToCount) {
        full.SetSummary(WordsNoteUncounted(words, otherName) + matchedNote);
        co_return;
    }
    full.SetSummary(WordsNote(words, otherName, std::nullopt) + matchedNote);
    if (words == 0)
        co_return;
    const PaneToken token{&full, &other};
    const std::uint64_t summary = full.SummaryGeneration();
    const std::shared_ptr<const std::atomic<bool>> stop = full.StartReportingWork();
    std::optional<std::size_t> count;
    const QString own = full.Text(), otherText = other.Text();
    try {
        co_await pump.RunAside([&] {
            // Read from the list where they stand: a copy of millions of starts would stay
            // beside the copy of the text that an edit meanwhile makes.
            const std::function<compare::RedWordStart(std::size_t)> start = [&](std::size_t i) {
                return static_cast<compare::RedWordStart>(
                    list->Entry(static_cast<qsizetype>(i)).start);
            };
            count = compare::CountWordLookalikesWith(AsU16(own), AsU16(otherText),
                                                     static_cast<std::size_t>(list->EntryCount()),
                                                     start, [&](std::size_t) { return !*stop; });
        });
    } catch (...) {
        // The count is only ever a help: without it the summary says that it is missing.
        if (token.Holds() && full.SummaryGeneration() == summary)
            full.SetSummary(WordsNoteUncounted(words, otherName) + matchedNote);
        co_return;
    }
    if (count && token.Holds() && full.SummaryGeneration() == summary)
        full.SetSummary(WordsNote(words, otherName, static_cast<qsizetype>(*count)) + matchedNote);
}

void ShowPass(Pane& full, Pane& result, const Pane& other, const PassFound& pass,
              const QString& otherName, EventPump& pump, const compare::ComparisonRules& rules) {
    if (pass.failure)
        std::rethrow_exception(pass.failure);
    // What a rule matched is painted before the red marks go on top, which stay marks then.
    if (pass.matched && !pass.matched->empty())
        full.ColourRanges(RuleMatchMarks(AsU16(full.Text()), *pass.matched, false), kRuleMatched);
    full.MarkRed(pass.list);
    if (pass.last) {
        full.SetSelStart(pass.last->start);
        full.SetSelLength(pass.last->length);
    }
    result.AppendList(pass.list);
    result.SetFileForm(full.FileForm()); // saved with the line breaks of the file it came from
    full.SetTips(WithRuleMatchTips(WordTips(full, other, pass.list, otherName), full, other,
                                   pass.matched, rules, otherName, false));
    const QString matchedNote =
        pass.matched ? RuleMatchCountNote(pass.matched->size(), false) : QString();
    if (pass.stoppedAfterLine)
        full.SetSummary(
            StoppedWordsNote(pass.list->EntryCount(), pass.stoppedAfterLine, otherName));
    else
        CountLookalikesLater(full, other, pass.list, otherName, pump, pass.roomToCount,
                             matchedNote);
}

// Three numbered statements: the whole pane selected and coloured black.
Task<> ResetToBlack(Pane& pane, GuardedProcedure& proc, int firstStep) {
    co_await proc.Step(firstStep, [&] { pane.SetSelStart(0); });
    co_await proc.Step(firstStep + 2, [&] { pane.SetSelLength(pane.Length()); });
    co_await proc.Step(firstStep + 4, [&] { pane.SetSelColor(kBlack); });
}

} // namespace

Task<RTB::Outcome> FindWordDifferences(Panes& panes, GuardedProcedure& proc, EventPump& pump,
                                       const std::atomic<bool>& cancel,
                                       compare::ComparisonRules rules) {
    co_await ResetToBlack(panes.RichTextBox1, proc, 108);
    co_await ResetToBlack(panes.RichTextBox2, proc, 114);
    // What is read; the passes are shown only on the texts they were worked out from.
    const PaneToken compared{&panes.RichTextBox1, &panes.RichTextBox2};
    // Copies that share the panes' storage: the lists refer into them.
    QString one, two;
    co_await proc.Step(120, [&] { one = panes.RichTextBox1.Text(); });
    co_await proc.Step(122, [&] { two = panes.RichTextBox2.Text(); });
    co_await proc.Step(132, [&] { panes.RichTextBox3.SetText({}); });
    co_await proc.Step(134, [&] { panes.RichTextBox4.SetText({}); });
    std::atomic<bool> stop = false;
    std::atomic<std::size_t> done = 0;
    const std::size_t total = static_cast<std::size_t>(one.size() + two.size());
    PassFound first, second;
    {
        WorkProgress progress(
            {&panes.RichTextBox1, &panes.RichTextBox2, &panes.RichTextBox3, &panes.RichTextBox4});
        co_await proc.Step(136, [&] {
            return pump.RunAside(
                [&] {
                    auto secondPass = std::async(std::launch::async, [&] {
                        return WorkOutPass(two, one, stop, done, rules);
                    });
                    first = WorkOutPass(one, two, stop, done, rules);
                    second = secondPass.get();
                },
                [&] {
                    if (cancel || !compared.Holds())
                        stop = true;
                    progress.Show(done, total);
                });
        });
    }
    // An error report on the way lets the window run other commands: the token is looked at
    // again before each pass is shown.
    if (!compared.Holds())
        co_return RTB::Outcome::Interrupted;
    AllowCounts(first, second,
                MemoryBound::Room(panes.RichTextBox1, panes.RichTextBox2,
                                  {&panes.RichTextBox3, &panes.RichTextBox4}));
    co_await proc.Step(138, [&] {
        ShowPass(panes.RichTextBox1, panes.RichTextBox3, panes.RichTextBox2, first,
                 u"Text File #2"_s, pump, rules);
    });
    if (!compared.Holds())
        co_return RTB::Outcome::Interrupted;
    co_await proc.Step(154, [&] {
        ShowPass(panes.RichTextBox2, panes.RichTextBox4, panes.RichTextBox1, second,
                 u"Text File #1"_s, pump, rules);
    });
    co_return cancel || stop ? RTB::Outcome::Cancelled : RTB::Outcome::Finished;
}
