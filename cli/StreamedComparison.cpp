#include "cli/StreamedComparison.h"

#include "cli/PieceBatches.h"

#include "compare/ContentHash.h"
#include "compare/LineSet.h"
#include "compare/PieceCutter.h"
#include "compare/WordPass.h"

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

void Missing(EntrySink& sink, const CutPiece& cut) {
    sink.Entry(cut.piece, u"\r", cut.place.start, cut.place.length + (cut.endsWithCR ? 1 : 0));
}

// The line comparison holds the distinct lines of one file only, the smaller: the other file's
// lines are looked up in them as it is read, and each one found is marked, so that the lines of
// the first file that are not marked afterwards are those the other file lacks.
void CompareLines(InputText& one, InputText& two, SideReport& first, SideReport& second,
                  ByteSink& out) {
    const bool ofSecond = two.Length() <= one.Length();
    InputText& held = ofSecond ? two : one;
    InputText& read = ofSecond ? one : two;
    compare::LineSet set;
    ForEachPiece(held, set, [&](const CutPiece& cut) { set.Add(cut.content, cut.hash); });
    const auto lookedUp = [&](bool mark) {
        return [&, mark](EntrySink& sink) {
            ForEachPiece(read, set, [&](const CutPiece& cut) {
                const std::size_t entry = set.Find(cut.content, cut.hash);
                if (entry == compare::LineSet::kNone)
                    Missing(sink, cut);
                else if (mark)
                    set.Mark(entry);
            });
        };
    };
    const Pass unmarked = [&](EntrySink& sink) {
        ForEachPiece(held, set, [&](const CutPiece& cut) {
            if (!set.Marked(set.Find(cut.content, cut.hash)))
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

Pass WordsOf(InputText& own, InputText& other) {
    return [&own, &other](EntrySink& sink) {
        InputText::Reading ownChunks(own);
        InputText::Reading otherChunks(other);
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
        CompareLines(one, two, first, second, out);
        return;
    }
    first.Write(WordsOf(one, two), out);
    second.Write(WordsOf(two, one), out);
}
