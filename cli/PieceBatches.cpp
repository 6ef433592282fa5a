#include "cli/PieceBatches.h"

#include "compare/ContentHash.h"
#include "compare/PieceCutter.h"

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
