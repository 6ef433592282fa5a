#include "cli/HeldComparison.h"

#include "compare/LineIndex.h"
#include "compare/WordPass.h"

#include <exception>
#include <future>
#include <optional>

namespace {

// At most what a line index costs a piece (see LineIndex).
constexpr qint64 kIndexBytesPerPiece = 16;

Pass MissingLines(const compare::LineIndex& own, const compare::LineIndex& other) {
    return [&own, &other](EntrySink& sink) {
        const std::u16string_view text = own.Text();
        own.ForEachMissingIn(other, 0, own.PieceCount(), [&](compare::Piece piece) {
            const bool endsWithCR = piece.start + piece.length < text.size();
            sink.Entry(text.substr(piece.start, piece.length), u"\r", piece.start,
                       piece.length + (endsWithCR ? 1 : 0));
        });
    };
}

Pass UnmatchedWords(std::u16string_view own, std::u16string_view other) {
    return [own, other](EntrySink& sink) {
        compare::ForEachUnmatchedWord(
            own, other,
            [&](std::size_t start, std::size_t length) {
                sink.Entry(u"\r\n", own.substr(start, length), start, length);
            },
            [](std::size_t) { return true; });
    };
}

// Where a side's entries stand in its text, eight bytes each, kept as far as the room lasts: the
// report is then written from them and the held text, however often it reads them, without the
// comparison running again.
class Places final : public EntrySink {
public:
    Places(KeptRoom& room, CliOptions::Mode mode) : room_(room), mode_(mode) {}
    ~Places() override { Release(); }
    Places(const Places&) = delete;
    Places& operator=(const Places&) = delete;

    void Entry(std::u16string_view a, std::u16string_view, std::size_t start,
               std::size_t length) override {
        if (!complete_)
            return;
        if (blocks_.empty() || blocks_.back().size() == kBlockEntries) {
            if (!room_.Take(kBlockBytes)) {
                Release();
                complete_ = false;
                return;
            }
            blocks_.emplace_back().reserve(kBlockEntries);
        }
        // A line's entry is its piece; a word's is the word.
        const std::size_t units = mode_ == CliOptions::Mode::Lines ? a.size() : length;
        blocks_.back().push_back(
            {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(units)});
    }
    void Finish() override {}

    bool Complete() const { return complete_; }

    // The entries again, made from the text they stand in.
    Pass Replay(std::u16string_view text) const {
        return [this, text](EntrySink& sink) {
            const bool lines = mode_ == CliOptions::Mode::Lines;
            for (const std::vector<Place>& block : blocks_) {
                for (const Place place : block) {
                    const std::u16string_view units = text.substr(place.start, place.units);
                    if (lines) {
                        const bool endsWithCR = place.start + place.units < text.size();
                        sink.Entry(units, u"\r", place.start, place.units + (endsWithCR ? 1 : 0));
                    } else {
                        sink.Entry(u"\r\n", units, place.start, place.units);
                    }
                }
            }
        };
    }

private:
    struct Place {
        std::uint32_t start;
        std::uint32_t units;
    };
    static constexpr std::size_t kBlockEntries = std::size_t{1} << 16;
    static constexpr qint64 kBlockBytes = kBlockEntries * sizeof(Place);

    void Release() {
        room_.GiveBack(static_cast<qint64>(blocks_.size()) * kBlockBytes);
        blocks_ = {};
    }

    KeptRoom& room_;
    CliOptions::Mode mode_;
    std::vector<std::vector<Place>> blocks_;
    bool complete_ = true;
};

// Side 2 is worked out on another thread while side 1 is worked out and written.
void WriteBoth(const CliOptions& options, std::u16string_view firstText,
               std::u16string_view secondText, const Pass& firstPass, const Pass& secondPass,
               SideReport& first, SideReport& second, ByteSink& out, KeptRoom& room) {
    Places secondPlaces(room, options.mode);
    auto kept = std::async(std::launch::async, [&] { secondPass(secondPlaces); });
    std::exception_ptr failure;
    try {
        Places firstPlaces(room, options.mode);
        firstPass(firstPlaces);
        first.Write(firstPlaces.Complete() ? firstPlaces.Replay(firstText) : firstPass, out);
    } catch (...) {
        failure = std::current_exception();
    }
    kept.get(); // what it threw comes first
    if (failure)
        std::rethrow_exception(failure);
    second.Write(secondPlaces.Complete() ? secondPlaces.Replay(secondText) : secondPass, out);
}

} // namespace

qint64 HeldBytes(const CliOptions& options, const InputText& one, const InputText& two) {
    qint64 bytes = 0;
    for (const InputText* text : {&one, &two}) {
        bytes += qint64{text->Length()} * qint64{sizeof(char16_t)};
        if (options.mode == CliOptions::Mode::Lines)
            bytes += (qint64{text->CRs()} + 2) * kIndexBytesPerPiece;
    }
    return bytes;
}

void CompareHeld(const CliOptions& options, InputText& one, InputText& two, SideReport& first,
                 SideReport& second, ByteSink& out, KeptRoom& room) {
    auto secondText = std::async(std::launch::async, [&] { return two.ReadAll(); });
    const std::u16string firstText = one.ReadAll();
    const std::u16string otherText = secondText.get();
    if (options.mode == CliOptions::Mode::Words) {
        WriteBoth(options, firstText, otherText, UnmatchedWords(firstText, otherText),
                  UnmatchedWords(otherText, firstText), first, second, out, room);
        return;
    }
    auto secondIndex =
        std::async(std::launch::async, [&] { return compare::LineIndex(otherText); });
    const compare::LineIndex firstIndex(firstText);
    const compare::LineIndex otherIndex = secondIndex.get();
    WriteBoth(options, firstText, otherText, MissingLines(firstIndex, otherIndex),
              MissingLines(otherIndex, firstIndex), first, second, out, room);
}
