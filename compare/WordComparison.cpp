#include "compare/WordComparison.h"

#include "compare/LinesAtCRLF.h"
#include "compare/WordMatching.h"

namespace compare {

namespace {

// The line of the other text that the current line is compared with, and its words. It starts on
// the first line and moves on only when the next line begins inside the text, so it never reaches
// an empty last line and stops on the last line it reached. An empty text gives one empty line.
class PartnerLine {
public:
    explicit PartnerLine(std::u16string_view text) : text_(text) { Enter(0); }

    std::span<const std::u16string_view> Words() const { return words_; }

    void MoveOn() {
        const std::size_t next = end_ + kCRLF.size();
        if (next < text_.size())
            Enter(next);
    }

private:
    void Enter(std::size_t start) {
        end_ = LineEndAtCRLF(text_, start);
        CutAtBlanks(text_.substr(start, end_ - start), words_);
    }

    std::u16string_view text_;
    std::size_t end_ = 0;
    std::vector<std::u16string_view> words_; // reused from line to line
};

void AddUnmatched(WordPass& pass, std::size_t start, std::u16string_view word) {
    pass.marks.push_back({start, word.size()});
    pass.list.append(kCRLF).append(word);
}

} // namespace

WordPass ComparePass(std::u16string_view own, std::u16string_view other) {
    WordPass pass;
    PartnerLine partner(other);
    ForEachLineAtCRLF(own, [&](std::size_t lineStart, std::u16string_view line) {
        ForEachUnmatchedWord(line, partner.Words(),
                             [&](std::size_t offset, std::u16string_view word) {
                                 AddUnmatched(pass, lineStart + offset, word);
                             });
        partner.MoveOn();
    });
    return pass;
}

} // namespace compare
