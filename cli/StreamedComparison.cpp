#include "cli/StreamedComparison.h"

#include "cli/LineCounts.h"
#include "cli/LineTally.h"
#include "cli/PieceBatches.h"
#include "cli/StreamedWords.h"

#include "compare/ContentHash.h"
#include "compare/LineSet.h"
#include "compare/PieceCutter.h"

#include <optional>
#include <utility>

namespace {

// Calls each(CutPiece, line) for every piece of the text, in order, with its line from 1. The
// text is read, decoded, cut and hashed on a thread of its own a batch ahead, and the set each
// piece is looked up in is told about it a few pieces ahead, so that the lookups' waits for
// memory overlap.
template <typename Each>
void ForEachPiece(InputText& text, const compare::LineSet& set, Each&& each) {
    constexpr std::size_t kAhead = 16;
    constexpr std::size_t kLineAhead = 8;
    PieceBatches batches(text);
    std::size_t line = 0;
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
            each(pieces[i], ++line);
        }
    }
}

std::size_t MarkedLength(const CutPiece& cut) {
    return cut.place.length + (cut.endsWithCR ? 1 : 0);
}

void Missing(EntrySink& sink, const CutPiece& cut, std::size_t line) {
    sink.Entry(cut.piece, u"\r", cut.place.start, MarkedLength(cut), {line, 0});
}

// Thrown to end a pass at the first difference, when that is all that is asked.
struct Answered {};

// The line comparison holds the distinct lines of one file only, the smaller: the other file's
// lines are looked up in them as it is read, and each one found is marked, so that the lines of
// the first file that are not marked afterwards are those the other file lacks. For --counts the
// held lines are counted in both files, each file is read once more for its counted lines, and
// a line is told at its first piece there.
class StreamedLines {
public:
    StreamedLines(InputText& one, InputText& two, bool counts, bool appendedCR)
        : ofSecond_(two.Length() <= one.Length()), held_(ofSecond_ ? two : one),
          read_(ofSecond_ ? one : two) {
        if (!counts) {
            ForEachPiece(held_, set_, [&](const CutPiece& cut, std::size_t) {
                set_.Add(cut.content, cut.hash);
            });
            return;
        }
        tally_.emplace(set_);
        for (const bool held : {true, false}) {
            // The pieces after each file's last line are counted, then taken back.
            std::size_t pieces = 0;
            bool last = false, beforeLast = false;
            ForEachPiece(held ? held_ : read_, set_, [&](const CutPiece& cut, std::size_t) {
                ++pieces;
                beforeLast = std::exchange(last, NothingAfterABreak(cut.piece));
                if (held) {
                    tally_->AddHeld(cut.content, cut.hash);
                } else if (const std::size_t line = tally_->Find(cut.content, cut.hash);
                           line != LineTally::kNone) {
                    tally_->CountOther(line);
                }
            });
            const std::size_t after = PiecesAfterTheLastLine(pieces, last, beforeLast, appendedCR);
            const std::size_t empty = tally_->Find(u"", compare::ContentHash(u""));
            if (after > 0 && empty != LineTally::kNone)
                tally_->Uncount(empty, held, static_cast<std::uint32_t>(after));
        }
    }

    bool OfSecond() const { return ofSecond_; }

    // The read file's lines that the held one lacks; with `mark`, each one found is marked.
    Pass LookedUp(bool mark) {
        return [this, mark](EntrySink& sink) {
            ForEachPiece(read_, set_, [&](const CutPiece& cut, std::size_t line) {
                const std::size_t entry = set_.Find(cut.content, cut.hash);
                if (entry == compare::LineSet::kNone)
                    Missing(sink, cut, line);
                else if (mark)
                    set_.Mark(entry);
            });
        };
    }
    // The held file's lines that no looking up marked.
    Pass Unmarked() {
        return [this](EntrySink& sink) {
            ForEachPiece(held_, set_, [&](const CutPiece& cut, std::size_t line) {
                if (!set_.Marked(set_.Find(cut.content, cut.hash)))
                    Missing(sink, cut, line);
            });
        };
    }
    CountPass Counted(bool ofHeld) {
        if (!tally_)
            return {};
        return [this, ofHeld](CountSink& sink) {
            std::vector<bool> met(tally_->Lines(), false);
            ForEachPiece(ofHeld ? held_ : read_, set_, [&](const CutPiece& cut, std::size_t line) {
                const std::size_t counted = tally_->Find(cut.content, cut.hash);
                if (counted == LineTally::kNone || met[counted])
                    return;
                met[counted] = true;
                const std::size_t held = tally_->Held(counted), other = tally_->Other(counted);
                if (held != other && held != 0 && other != 0)
                    sink.Counted({cut.content, cut.place.start, MarkedLength(cut), line,
                                  ofHeld ? held : other, ofHeld ? other : held});
            });
        };
    }
    bool AnyCounted() const { return tally_ && tally_->AnyCounted(); }

private:
    bool ofSecond_;
    InputText& held_;
    InputText& read_;
    compare::LineSet set_;
    std::optional<LineTally> tally_;
};

// Stops a pass at its first entry.
class FirstEntry final : public EntrySink {
public:
    void Entry(std::u16string_view, std::u16string_view, std::size_t, std::size_t,
               EntryLine) override {
        throw Answered();
    }
    void Finish() override {}
};

bool AnyEntry(const Pass& pass) {
    FirstEntry first;
    try {
        pass(first);
    } catch (const Answered&) {
        return true;
    }
    return false;
}

Pass WordsOf(InputText& own, InputText& other) {
    return [&own, &other](EntrySink& sink) {
        ForEachUnmatchedWordReading(own, other,
                                    [&](std::size_t start, std::u16string_view word, EntryLine at) {
                                        sink.Entry(u"\r\n", word, start, word.size(), at);
                                        return true;
                                    });
    };
}

bool AnyWordOf(InputText& own, InputText& other) {
    return !ForEachUnmatchedWordReading(
        own, other, [](std::size_t, std::u16string_view, EntryLine) { return false; });
}

} // namespace

void CompareStreamed(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                     SideReport& second, ByteSink& out) {
    if (options.mode == CliOptions::Mode::Words) {
        first.Write(WordsOf(one, two), out);
        second.Write(WordsOf(two, one), out);
        return;
    }
    StreamedLines lines(one, two, options.counts, !options.exact);
    if (lines.OfSecond()) {
        first.Write(lines.LookedUp(true), out, lines.Counted(false));
        second.Write(lines.Unmarked(), out, lines.Counted(true));
    } else {
        second.Keep(lines.LookedUp(true)); // every mark is needed before the first file's turn
        first.Write(lines.Unmarked(), out, lines.Counted(true));
        second.Write(lines.LookedUp(false), out, lines.Counted(false));
    }
}

bool AnyDifferenceStreamed(const CliOptions& options, InputText& one, InputText& two) {
    if (options.mode == CliOptions::Mode::Words)
        return AnyWordOf(one, two) || AnyWordOf(two, one);
    StreamedLines lines(one, two, options.counts, !options.exact);
    return AnyEntry(lines.LookedUp(true)) || AnyEntry(lines.Unmarked()) || lines.AnyCounted();
}
