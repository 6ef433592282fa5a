#include "compare/WordLookalikeWalk.h"

#include "compare/FindUnit.h"

#include <algorithm>

namespace compare {

namespace {

// The words of the line [start, end) of `text`, counted no further than `most`: one more than its
// blanks.
std::size_t CountWords(std::u16string_view text, std::size_t start, std::size_t end,
                       std::size_t most) {
    if (start == end)
        return 0;
    const NthUnit blank = FindNthUnit(text, u' ', start, end, most - 1);
    return blank.found + 1;
}

} // namespace

WordLookalikeWalk::WordLookalikeWalk(std::u16string_view ownPane, std::u16string_view otherPane)
    : WordLookalikeWalk(WordComparisonText(ownPane), WordComparisonText(otherPane),
                        CrLfLineWalker(WordComparisonText(ownPane)),
                        PartnerLineWalker(WordComparisonText(otherPane))) {}

WordLookalikeWalk::WordLookalikeWalk(std::u16string_view own, std::u16string_view other,
                                     const CrLfLineWalker& line, const PartnerLineWalker& partner)
    : own_(own), other_(other), line_(line), partner_(partner) {}

bool WordLookalikeWalk::MoveTo(std::size_t start) {
    if (!line_.HasLine() || start > own_.size())
        return false;
    while (line_.End() + 2 <= start) {
        line_.Next();
        partner_.Next();
        lineStarted_ = false;
    }
    return true;
}

void WordLookalikeWalk::StartLine() {
    word_ = 0;
    wordStart_ = line_.Start();
    wordEnd_.reset();
    reach_ = NearReach(CountWords(own_, line_.Start(), line_.End(), WordsForFullReach()));
    near_.StartLine(other_, partner_.Line().Start(), partner_.Line().End());
    lineStarted_ = true;
}

void WordLookalikeWalk::MoveToWordAt(std::size_t start) {
    // Each blank before `start` ends a word and begins the next; the last of them begins the word
    // `start` belongs to.
    const std::size_t upTo = std::min(start, line_.End());
    if (upTo <= wordStart_ || WordEnd() >= upTo)
        return;
    const std::size_t blanks = CountUnit(own_, u' ', *wordEnd_, upTo);
    word_ += blanks;
    wordStart_ = own_.substr(0, upTo).rfind(u' ') + 1;
    wordEnd_.reset();
}

std::size_t WordLookalikeWalk::WordEnd() {
    if (!wordEnd_)
        wordEnd_ = FindUnit(own_.substr(0, line_.End()), u' ', wordStart_);
    return *wordEnd_;
}

std::optional<WordLookalike> WordLookalikeWalk::Next(std::size_t start) {
    if (!MoveTo(start) || !partner_.HasLine() || line_.Start() == line_.End())
        return std::nullopt;
    if (!lineStarted_)
        StartLine();
    MoveToWordAt(start);
    const KeyedWord keyed = KeyWordAt(own_, wordStart_, line_.End());
    wordEnd_ = keyed.end;
    if (!keyed.keyHash)
        return std::nullopt;
    const std::u16string_view word = own_.substr(wordStart_, keyed.end - wordStart_);
    near_.Hold(word_ >= reach_ ? word_ - reach_ : 0, word_ + reach_);
    const std::optional<NearLookalike> near =
        FindNearLookalike(word, keyed.keyHash, word_, reach_, near_);
    if (!near)
        return std::nullopt;
    const NearWords::Word& other = *near_.At(near->word);
    return WordLookalike{
        wordStart_, word.size(), other.start, other.length, partner_.Line().Number() + 1,
        near->kinds};
}

} // namespace compare
