#include "compare/FindDifferences.h"

#include "app/ErrorReport.h"
#include "compare/DifferenceNotes.h"
#include "compare/LookalikeDescription.h"
#include "compare/LookalikeLines.h"
#include "platform/ResultList.h"
#include "platform/Utf16View.h"
#include "platform/WorkProgress.h"

#include <future>

using namespace Qt::StringLiterals;

namespace RTB {

namespace {

constexpr std::size_t kSlice = std::size_t{1} << 14; // lines looked up between looks at the stop

struct Direction {
    int file; // 1 or 2
    Pane& own;
    Pane& result;
    QString location;
    QString otherName;
};

// One direction, worked out aside: the pieces of `ownText` that `other` lacks, as red marks (the
// piece and the CR that ends it) and as a list. Stops early, with what it has, when told to.
LineComparisonRun::Found FindMissing(const QString& ownText, const compare::LineIndex& own,
                                     const compare::LineIndex& other, const std::atomic<bool>& stop,
                                     std::atomic<std::size_t>& done) {
    LineComparisonRun::Found found;
    const std::u16string_view text = AsU16(ownText);
    ResultList::Builder list(ownText, ResultList::Form::Pieces);
    const std::size_t count = own.PieceCount();
    for (std::size_t first = 0; first < count && !stop; first += kSlice) {
        const std::size_t last = std::min(count, first + kSlice);
        own.ForEachMissingIn(other, first, last, [&](compare::Piece piece) {
            const compare::Piece marked = compare::MarkedSpan(text, piece);
            found.marks.push_back(
                {static_cast<qsizetype>(marked.start), static_cast<qsizetype>(marked.length)});
            list.Add({static_cast<qsizetype>(piece.start), static_cast<qsizetype>(piece.length)});
        });
        done += last - first;
    }
    found.list = std::make_shared<const ResultList>(std::move(list).Finish());
    return found;
}

// What the full pane tells of its red lines: how many, and which look like a line of the other.
void ShowLookalikes(const Direction& direction, const LineComparisonRun::Found& found) {
    if (!found.list)
        return;
    const auto tips = found.lookalikes;
    const qsizetype count = tips ? static_cast<qsizetype>(tips->size()) : 0;
    direction.own.SetSummary(LinesNote(found.list->EntryCount(), direction.otherName, count));
    if (count == 0)
        return;
    direction.own.SetTips([tips](qsizetype position) {
        const auto after =
            std::upper_bound(tips->begin(), tips->end(), position,
                             [](qsizetype p, const auto& tip) { return p < tip.first.start; });
        if (after == tips->begin())
            return QString();
        const auto& tip = *std::prev(after);
        return position < tip.first.End() ? tip.second : QString();
    });
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
    if (!co_await show(122, [&] { HighlightDifferences(direction.own, found.marks); }))
        co_return Outcome::Interrupted;
    if (!co_await show(124, [&] { direction.result.AppendList(found.list); }) || !run.Current())
        co_return Outcome::Interrupted;
    ShowLookalikes(direction, found);
    co_return run.Cancelled() ? Outcome::Cancelled : Outcome::Finished;
}

} // namespace

LineComparisonRun::LineComparisonRun(Panes& panes, EventPump& pump, const std::atomic<bool>& cancel)
    : panes_(panes), pump_(pump), cancel_(cancel) {}

LineComparisonRun::~LineComparisonRun() = default;

void LineComparisonRun::Work(const QString& one, const QString& two) {
    auto secondIndex =
        std::async(std::launch::async, [&] { return compare::LineIndex(AsU16(two)); });
    const compare::LineIndex first(AsU16(one));
    const compare::LineIndex second = secondIndex.get();
    pieceTotal_ = first.PieceCount() + second.PieceCount();
    auto secondFound = std::async(
        std::launch::async, [&] { return FindMissing(two, second, first, stop_, piecesDone_); });
    found_[0] = FindMissing(one, first, second, stop_, piecesDone_);
    found_[1] = secondFound.get();
    if (!stop_)
        FindLookalikes(first, second);
}

// For each red line, a line of the other text it differs from only invisibly, if there is one.
void LineComparisonRun::FindLookalikes(const compare::LineIndex& first,
                                       const compare::LineIndex& second) {
    const auto redOf = [](const Found& found) {
        std::vector<compare::Piece> pieces;
        for (qsizetype i = 0; i < found.list->EntryCount(); ++i) {
            const TextRange entry = found.list->Entry(i);
            pieces.push_back(
                {static_cast<std::size_t>(entry.start), static_cast<std::size_t>(entry.length)});
        }
        return pieces;
    };
    const std::vector<compare::Piece> red[] = {redOf(found_[0]), redOf(found_[1])};
    const compare::LookalikeLinesOfBoth found =
        compare::FindLookalikeLinesOfBoth(first, red[0], second, red[1]);
    const std::vector<std::optional<compare::LineLookalike>>* lookalikes[] = {&found.ofFirst,
                                                                              &found.ofSecond};
    const compare::LineIndex* texts[] = {&first, &second};
    for (int file = 0; file < 2; ++file) {
        auto tips = std::make_shared<std::vector<std::pair<TextRange, QString>>>();
        const QString otherName = file == 0 ? u"Text File #2"_s : u"Text File #1"_s;
        for (std::size_t i = 0; i < red[file].size(); ++i) {
            const auto& lookalike = (*lookalikes[file])[i];
            if (!lookalike)
                continue;
            const compare::Piece piece = red[file][i];
            const std::u16string_view own =
                compare::LineContent(texts[file]->Text().substr(piece.start, piece.length));
            const std::u16string_view other = compare::LineContent(
                texts[1 - file]->Text().substr(lookalike->piece.start, lookalike->piece.length));
            tips->emplace_back(TextRange{static_cast<qsizetype>(piece.start),
                                         static_cast<qsizetype>(piece.length)},
                               u"Differs from line %1 of %2 only by: %3"_s.arg(lookalike->line)
                                   .arg(otherName)
                                   .arg(QString::fromStdString(
                                       compare::DescribeLookalike(lookalike->kinds, own, other))));
        }
        found_[file].lookalikes = std::move(tips);
    }
}

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
    WorkProgress progress(
        {&panes_.RichTextBox1, &panes_.RichTextBox2, &panes_.RichTextBox3, &panes_.RichTextBox4});
    co_await pump_.RunAside([&] { Work(one, two); },
                            [&] {
                                if (cancel_ || !Current())
                                    stop_ = true;
                                progress.Show(piecesDone_, pieceTotal_);
                            });
    interrupted_ = !Current();
    if (cancel_)
        stop_ = true;
    co_return !interrupted_;
}

Task<Outcome> FindDifferencesIn1(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({1, run.PaneSet().RichTextBox1, run.PaneSet().RichTextBox3,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 "_s, u"Text File #2"_s},
                           run, box);
}

Task<Outcome> FindDifferencesIn2(LineComparisonRun& run, MsgBox& box) {
    return FindDifferences({2, run.PaneSet().RichTextBox2, run.PaneSet().RichTextBox4,
                            u"in Tarnwick2021/08/31.RTB.FindDifferencesIn2 "_s, u"Text File #1"_s},
                           run, box);
}

void HighlightDifferences(Pane& pane, std::span<const TextRange> ranges) {
    if (ranges.empty())
        return;
    pane.ColourRanges(ranges, kRed);
    pane.SetSelStart(ranges.back().start);
    pane.SetSelLength(ranges.back().length);
}

} // namespace RTB
