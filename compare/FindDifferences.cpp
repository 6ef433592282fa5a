#include "compare/FindDifferences.h"

#include "app/ErrorReport.h"
#include "app/MemoryBound.h"
#include "compare/DifferenceNotes.h"
#include "compare/RepeatTips.h"
#include "compare/RuleMatchTips.h"
#include "platform/PaneToken.h"
#include "platform/ResultList.h"
#include "platform/Utf16View.h"
#include "platform/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace RTB {

namespace {

struct Direction {
    int file; // 1 or 2
    Pane& own;
    Pane& result;
    const Pane& other;
    QString location;
    QString otherName;
};

Direction DirectionOf(Panes& panes, int file) {
    if (file == 1)
        return {1,
                panes.RichTextBox1,
                panes.RichTextBox3,
                panes.RichTextBox2,
                u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 "_s,
                u"Text File #2"_s};
    return {2,
            panes.RichTextBox2,
            panes.RichTextBox4,
            panes.RichTextBox1,
            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn2 "_s,
            u"Text File #1"_s};
}

// What the full pane tells of its red lines: how many, and how many look like a line of the
// other once that is known; under rules, how many lines only a rule matched.
QString SummaryOf(const Direction& direction, const LineFindings& found, bool lookalikesComing) {
    const qsizetype red = found.list->EntryCount();
    if (found.stopped) {
        const std::optional<qsizetype> after =
            found.linesDone ? std::optional<qsizetype>(static_cast<qsizetype>(*found.linesDone))
                            : std::nullopt;
        return StoppedLinesNote(red, after, direction.otherName);
    }
    QString note;
    if (found.lookalikesSought)
        note = LinesNote(red, direction.otherName, found.lookalikes ? found.lookalikes->size() : 0);
    else if (lookalikesComing)
        note = LinesNote(red, direction.otherName, std::nullopt);
    else
        note = LinesNoteUncounted(red, direction.otherName);
    return note + (found.matched ? RuleMatchCountNote(found.matched->size(), true) : QString()) +
           (found.rulesLeftOut ? u" (no room to apply the comparison rules)"_s : QString());
}

// What resting on a line of the full pane tells: its look-alike, how often it stands in each
// text, which rule matched it; each as far as it is known.
Pane::TipSource TipsOf(const Direction& direction, const LineFindings& found,
                       const compare::ComparisonRules& rules) {
    Pane::TipSource lookalikes;
    if (found.lookalikes && found.lookalikes->size() > 0)
        lookalikes =
            LineLookalikeTips(direction.other, found.list, found.lookalikes, direction.otherName);
    return WithRuleMatchTips(
        WithRepeatTips(std::move(lookalikes), direction.own, found.repeats, direction.otherName),
        direction.own, direction.other, found.matched, rules, direction.otherName, true);
}

void ShowNotes(const Direction& direction, const LineFindings& found,
               const compare::ComparisonRules& rules, bool lookalikesComing) {
    if (!found.list)
        return;
    direction.own.SetSummary(SummaryOf(direction, found, lookalikesComing));
    direction.own.SetTips(TipsOf(direction, found, rules));
}

// The notes on the lines (look-alikes, repeats) are worked out beside the window once the
// comparison is shown, and reach each pane that still shows what was compared and whose summary
// nothing has told since (`summaries`, none for a direction not shown). A job of its own, which
// nobody waits for; it lets go of the tables when done.
Task<> NoteLinesLater(Panes& panes, std::array<LineFindings, 2> found,
                      std::array<std::optional<std::uint64_t>, 2> summaries,
                      std::shared_ptr<const LineTables> tables, compare::ComparisonRules rules,
                      EventPump& pump) {
    const PaneToken compared{&panes.RichTextBox1, &panes.RichTextBox2};
    const std::shared_ptr<const std::atomic<bool>> stops[] = {
        panes.RichTextBox1.StartReportingWork(), panes.RichTextBox2.StartReportingWork()};
    try {
        co_await pump.RunAside(
            [&] { WorkOutLineNotes(found, *tables, [&] { return !*stops[0] && !*stops[1]; }); });
    } catch (...) {
        // The notes are only ever a help: without them the summaries say that they are missing.
        for (LineFindings& side : found) {
            side.lookalikesSought = false;
            side.lookalikes = nullptr;
            side.repeats = nullptr;
        }
    }
    tables.reset();
    if (!compared.Holds())
        co_return;
    for (int file = 1; file <= 2; ++file) {
        const Direction direction = DirectionOf(panes, file);
        if (summaries[file - 1] == direction.own.SummaryGeneration())
            ShowNotes(direction, found[file - 1], rules, false);
    }
}

// The direction is taken by value: the procedure outlives the call that starts it.
Task<Outcome> FindDifferences(Direction direction, LineComparisonRun& run, MsgBox& box) {
    GuardedProcedure proc(box, direction.location);
    bool current = true;
    // Both texts are read, cut at CR and looked up in each other here, for both directions.
    co_await proc.Step(100, [&]() -> Task<> { current = co_await run.Prepare(); });
    if (!current)
        co_return Outcome::Interrupted;
    const LineComparisonRun::Found& found = run.FoundIn(direction.file);
    // What was found goes to the panes only while they hold what was compared: an error report
    // on the way lets the window run other commands before the next statement.
    const auto show = [&](int step, auto statement) -> Task<bool> {
        if (!run.Current())
            co_return false;
        co_await proc.Step(step, statement);
        co_return true;
    };
    if (!co_await show(104, [&] { direction.result.SetText({}); }))
        co_return Outcome::Interrupted;
    // What a rule matched is painted before the red marks go on top, which stay marks then.
    if (!co_await show(122, [&] {
            // What an earlier run under other rules left quiet goes back to black first.
            if (const std::vector<TextRange> quiet = direction.own.RangesOf(kRuleMatched);
                !quiet.empty())
                direction.own.ColourRanges(quiet, kBlack);
            if (found.matched && !found.matched->empty())
                direction.own.ColourRanges(
                    RuleMatchMarks(AsU16(direction.own.Text()), *found.matched, true),
                    kRuleMatched);
            HighlightDifferences(direction.own, found.list);
        }))
        co_return Outcome::Interrupted;
    // The list is saved with the line breaks of the file it was cut from.
    if (!co_await show(124,
                       [&] {
                           direction.result.AppendList(found.list);
                           direction.result.SetFileForm(direction.own.FileForm());
                       }) ||
        !run.Current())
        co_return Outcome::Interrupted;
    ShowNotes(direction, found, run.Rules(), run.LookalikesComing());
    run.Shown(direction.file);
    co_return run.Cancelled() ? Outcome::Cancelled : Outcome::Finished;
}

} // namespace

LineComparisonRun::LineComparisonRun(Panes& panes, EventPump& pump, const std::atomic<bool>& cancel,
                                     compare::ComparisonRules rules)
    : panes_(panes), pump_(pump), cancel_(cancel), rules_(std::move(rules)) {}

LineComparisonRun::~LineComparisonRun() = default;

bool LineComparisonRun::Current() const {
    return panes_.RichTextBox1.TextGeneration() == generations_[0] &&
           panes_.RichTextBox2.TextGeneration() == generations_[1];
}

Task<bool> LineComparisonRun::Prepare() {
    if (prepared_)
        co_return !(interrupted_ = interrupted_ || !Current());
    prepared_ = true;
    generations_[0] = panes_.RichTextBox1.TextGeneration();
    generations_[1] = panes_.RichTextBox2.TextGeneration();
    // Copies that share the panes' storage: they outlive a text the user replaces meanwhile.
    const QString one = panes_.RichTextBox1.Text();
    const QString two = panes_.RichTextBox2.Text();
    const qint64 room = MemoryBound::Room(panes_.RichTextBox1, panes_.RichTextBox2,
                                          {&panes_.RichTextBox3, &panes_.RichTextBox4});
    WorkProgress progress(
        {&panes_.RichTextBox1, &panes_.RichTextBox2, &panes_.RichTextBox3, &panes_.RichTextBox4});
    co_await pump_.RunAside(
        [&] { comparison_ = WorkOutLineComparison(one, two, room, work_, rules_); },
        [&] {
            if (cancel_ || !Current())
                stop_ = true;
            progress.Show(work_.piecesDone, work_.pieceTotal);
        });
    interrupted_ = !Current();
    if (cancel_)
        stop_ = true;
    co_return !interrupted_;
}

bool LineComparisonRun::LookalikesComing() const {
    return comparison_.tables && comparison_.tables->lookalikesFit;
}

void LineComparisonRun::Shown(int file) {
    const Pane& own = file == 1 ? panes_.RichTextBox1 : panes_.RichTextBox2;
    shownSummaries_[file - 1] = own.SummaryGeneration();
    // The second direction is shown last: the notes of both are worked out then.
    const std::shared_ptr<const LineTables>& tables = comparison_.tables;
    if (file == 2 && tables && (tables->lookalikesFit || tables->repeatsFit))
        NoteLinesLater(panes_, comparison_.found, shownSummaries_, tables, rules_, pump_);
}

Task<Outcome> FindDifferencesIn1(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences(DirectionOf(run.PaneSet(), 1), run, box);
}

Task<Outcome> FindDifferencesIn2(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences(DirectionOf(run.PaneSet(), 2), run, box);
}

void HighlightDifferences(Pane& pane, std::shared_ptr<const ResultList> list) {
    if (!list || list->EntryCount() == 0)
        return;
    const TextRange last = list->Mark(list->EntryCount() - 1);
    pane.MarkRed(std::move(list));
    pane.SetSelStart(last.start);
    pane.SetSelLength(last.length);
}

} // namespace RTB
