// The pane's editing against its plain model: every step the fuzzer makes up (writes, appends,
// edits, typing, undo and redo, selections from the user and from code, colouring, red marks of a
// word, of lists of words and of lines) is done to both, and after each the text, its lines, the
// colours, the red stretches and the selection must agree, with no end of the selection inside a
// CR LF or a surrogate pair. The pane packs its marks anew after a few edits in different places,
// as it does after thousands in the window.
#include "FuzzInput.h"
#include "PaneAgainstPlain.h"
#include "PlainPane.h"
#include "platform/Pane.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// Units that make pairs, lone halves of pairs, lines and words.
constexpr char16_t kAlphabet[] = {u'a', u'b', u' ', u'\r', u'\n', u'\xD83D', u'\xDE00'};
constexpr Colour kColours[] = {kBlack, kRed, 0xFF0000};

class StepSource {
public:
    StepSource(const std::uint8_t* data, std::size_t size) : next_(data), end_(data + size) {}

    bool More() const { return next_ != end_; }

    PaneStep Next(std::size_t textLength) {
        using Kind = PaneStep::Kind;
        const auto kind = static_cast<Kind>(Byte() % (static_cast<int>(Kind::MarkLines) + 1));
        switch (kind) {
        case Kind::SetText:
            return {kind, 0, 0, Units(Byte() % 24)};
        case Kind::AppendText:
        case Kind::Type:
            return {kind, 0, 0, Units(1 + Byte() % 3)};
        case Kind::Edit: {
            const std::size_t at = Position(textLength);
            const std::size_t removed = Byte() % 4;
            return {kind, at, removed, Units(Byte() % 4)};
        }
        case Kind::Select:
        case Kind::Paint:
        case Kind::MarkRed: {
            const std::size_t at = Position(textLength);
            const std::size_t other = Position(textLength);
            return {kind,
                    at,
                    kind == Kind::Select ? other : other % 6,
                    {},
                    kColours[Byte() % std::size(kColours)]};
        }
        case Kind::SetSelStart:
        case Kind::SetSelLength:
            return {kind, Position(textLength), Position(textLength)};
        case Kind::SetSelColor:
            return {kind, 0, 0, {}, kColours[Byte() % std::size(kColours)]};
        case Kind::MarkWords: {
            const std::size_t emptyAfter = Byte();
            return {kind, emptyAfter, Mask()};
        }
        case Kind::MarkLines:
            return {kind, 0, Mask()};
        case Kind::Undo:
        case Kind::Redo:
            break;
        }
        return {kind};
    }

private:
    std::uint8_t Byte() { return next_ != end_ ? *next_++ : 0; }

    // Which of the first sixteen words or lines, and so on round.
    std::size_t Mask() {
        const std::size_t low = Byte();
        return low | std::size_t{Byte()} << 8;
    }

    // Now and then past the end, which the pane must take as the end.
    std::size_t Position(std::size_t textLength) { return Byte() % (textLength + 2); }

    std::u16string Units(std::size_t count) {
        std::u16string units;
        for (std::size_t i = 0; i < count; ++i)
            units.push_back(kAlphabet[Byte() % std::size(kAlphabet)]);
        return units;
    }

    const std::uint8_t* next_;
    const std::uint8_t* end_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Pane pane;
    plain::PlainPane model;
    StepSource steps(data, size);
    pane.SetMarkPartLimit(1 + (size > 0 ? data[0] % 8 : 0));
    for (int step = 0; steps.More(); ++step) {
        Apply(steps.Next(model.Text().size()), pane, model);
        const std::string mismatch = Mismatch(pane, model);
        if (!mismatch.empty())
            std::fprintf(stderr, "step %d: %s\n", step, mismatch.c_str());
        Check(mismatch.empty());
    }
    return 0;
}
