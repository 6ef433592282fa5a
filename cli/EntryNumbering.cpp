#include "cli/EntryNumbering.h"

#include "compare/FindUnit.h"
#include "compare/LineBreakUnits.h"
#include "compare/LineWords.h"

#include <utility>

namespace {

// Hands entries on with their lines.
class NumberingSink final : public EntrySink {
public:
    NumberingSink(std::u16string_view text, CliOptions::Mode mode, EntrySink& out)
        : numbering_(text, mode), out_(out) {}

    void Entry(std::u16string_view a, std::u16string_view b, std::size_t start, std::size_t length,
               EntryLine) override {
        out_.Entry(a, b, start, length, numbering_.At(start));
    }
    void Lookalike(const EntryLookalike& lookalike) override { out_.Lookalike(lookalike); }
    void Finish() override { out_.Finish(); }
    bool WantsLines() const override { return true; }

private:
    EntryNumbering numbering_;
    EntrySink& out_;
};

// How many times `unit` stands in [from, to) of `text`, sixteen units at a time. (Counted without
// std::popcount, which is a library call where the build cannot assume the instruction.)
std::size_t CountOf(std::u16string_view text, char16_t unit, std::size_t from, std::size_t to) {
    const char16_t* units = text.data();
    std::size_t count = 0;
    std::size_t i = from;
    for (; i + compare::kScanUnits <= to; i += compare::kScanUnits)
        count += compare::CountBits(compare::EqualMasks(units + i, unit, unit).a);
    for (; i < to; ++i)
        count += units[i] == unit;
    return count;
}

} // namespace

EntryLine EntryNumbering::At(std::size_t start) {
    if (mode_ == CliOptions::Mode::Lines) {
        // A piece begins after the CR that ends the one before.
        breaks_ += CountOf(text_, kCR, read_, start);
        read_ = start;
        return {breaks_ + 1, 0};
    }
    // A word's line begins after a CR LF; a lone CR stays inside its line.
    const std::u16string_view before = text_.substr(0, start);
    for (std::size_t cr = compare::FindUnit(before, kCR, read_); cr < start;
         cr = compare::FindUnit(before, kCR, read_)) {
        if (cr + 1 < text_.size() && text_[cr + 1] == kLF) {
            ++breaks_;
            blanks_ = 0;
            read_ = cr + 2;
        } else {
            blanks_ += CountOf(text_, compare::kWordBlank, read_, cr);
            read_ = cr + 1;
        }
    }
    blanks_ += CountOf(text_, compare::kWordBlank, read_, start);
    read_ = start;
    return {breaks_ + 1, blanks_};
}

Pass Numbered(Pass pass, std::u16string_view text, CliOptions::Mode mode) {
    return [pass = std::move(pass), text, mode](EntrySink& sink) {
        if (!sink.WantsLines()) {
            pass(sink);
            return;
        }
        NumberingSink numbering(text, mode, sink);
        pass(numbering);
    };
}
