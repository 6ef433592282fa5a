#include "cli/StreamedComparison.h"

#include "compare/ContentHash.h"
#include "compare/LineSet.h"
#include "compare/PieceCutter.h"
#include "compare/WordPass.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

// A text's pieces, a batch of about a chunk at a time, made on a thread of their own: one thread
// reads, decodes, cuts and hashes while the other looks the pieces up. A batch keeps its own copy
// of the text its pieces refer to.
class PieceBatches {
public:
    struct Batch {
        std::u16string text;
        std::vector<struct CutPiece> pieces;
        std::vector<std::size_t> starts; // of each piece in `text`
    };

    explicit PieceBatches(InputText& text);
    ~PieceBatches();
    PieceBatches(const PieceBatches&) = delete;
    PieceBatches& operator=(const PieceBatches&) = delete;

    // The next batch, valid until the next call; nullptr at the end. Throws what reading threw.
    const Batch* Next();

private:
    void Make(InputText& text);

    static constexpr std::size_t kWaiting = 4;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> ready_;
    std::vector<Batch> spare_;
    std::optional<Batch> current_;
    bool finished_ = false;
    bool stop_ = false;
    std::exception_ptr failure_;
    std::thread maker_;
};

// A piece of a text cut at CR, with what looking it up needs.
struct CutPiece {
    std::u16string_view piece;
    compare::Piece place;
    bool endsWithCR;
    std::u16string_view content;
    std::uint32_t hash;
};

PieceBatches::PieceBatches(InputText& text) : maker_([this, &text] { Make(text); }) {}

PieceBatches::~PieceBatches() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    maker_.join();
}

const PieceBatches::Batch* PieceBatches::Next() {
    std::unique_lock lock(mutex_);
    if (current_) {
        spare_.push_back(std::move(*current_));
        current_.reset();
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return !ready_.empty() || finished_; });
    if (ready_.empty()) {
        if (failure_)
            std::rethrow_exception(failure_);
        return nullptr;
    }
    current_ = std::move(ready_.front());
    ready_.pop_front();
    changed_.notify_all();
    lock.unlock();
    // The pieces refer to the text only once it stays where it is: moving a short string moves
    // its units.
    Batch& batch = *current_;
    for (std::size_t i = 0; i < batch.pieces.size(); ++i) {
        CutPiece& piece = batch.pieces[i];
        piece.piece = std::u16string_view(batch.text).substr(batch.starts[i], piece.place.length);
        piece.content = compare::LineContent(piece.piece);
    }
    return &batch;
}

void PieceBatches::Make(InputText& text) {
    try {
        compare::PieceCutter cutter;
        InputText::Reading reading(text);
        Batch batch;
        const auto cut = [&](std::u16string_view piece, compare::Piece place, bool endsWithCR) {
            batch.starts.push_back(batch.text.size());
            batch.text.append(piece);
            const std::u16string_view content = compare::LineContent(piece);
            batch.pieces.push_back({{}, place, endsWithCR, {}, compare::ContentHash(content)});
        };
        const auto hand = [&](bool last) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return ready_.size() < kWaiting || stop_; });
            if (stop_)
                return false;
            ready_.push_back(std::move(batch));
            finished_ = last;
            batch = Batch();
            if (!spare_.empty()) {
                batch = std::move(spare_.back());
                spare_.pop_back();
            }
            batch.text.clear();
            batch.pieces.clear();
            batch.starts.clear();
            changed_.notify_all();
            return true;
        };
        for (std::u16string_view chunk = reading.Next(); !chunk.empty(); chunk = reading.Next()) {
            cutter.Add(chunk, cut);
            if (!hand(false))
                return;
        }
        cutter.End(cut);
        hand(true);
    } catch (...) {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        finished_ = true;
        changed_.notify_all();
    }
}

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
