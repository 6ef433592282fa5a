#pragma once

#include "cli/InputText.h"
#include "compare/Lines.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A piece of a text cut at CR, with what looking it up needs.
struct CutPiece {
    std::u16string_view piece;
    compare::Piece place;
    bool endsWithCR;
    std::u16string_view content;
    std::uint32_t hash;
};

// A text's pieces, a batch of about a chunk at a time, made on a thread of their own: one thread
// reads, decodes, cuts and hashes while the other looks the pieces up. A batch keeps its own copy
// of the text its pieces refer to.
class PieceBatches {
public:
    struct Batch {
        std::u16string text;
        std::vector<CutPiece> pieces;
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
