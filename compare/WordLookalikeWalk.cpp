#include "compare/WordLookalikeWalk.h"

#include "compare/LookalikeLines.h"

namespace compare {

WordLookalikeWalk::WordLookalikeWalk(std::u16string_view ownPane, std::u16string_view otherPane)
    : own_(WordComparisonText(ownPane)), other_(WordComparisonText(otherPane)), line_(own_),
      partner_(other_) {}

bool WordLookalikeWalk::MoveTo(std::size_t start) {
    if (!line_.HasLine() || start > own_.size())
        return false;
    while (line_.End() + 2 <= start) {
        line_.Next();
        partner_.Next();
        ownKeyed_ = false;
    }
    return true;
}

std::optional<WordLookalike> WordLookalikeWalk::Next(std::size_t start) {
    if (!MoveTo(start) || !partner_.HasLine())
        return std::nullopt;
    const CrLfLineWalker& partner = partner_.Line();
    if (line_.End() - line_.Start() > kLongestLookalikeLine ||
        partner.End() - partner.Start() > kLongestLookalikeLine)
        return std::nullopt;
    if (!ownKeyed_) {
        ownWords_.Cut(own_, line_.Start(), line_.End());
        ownKeyed_ = true;
        word_ = 0;
    }
    if (ownWords_.Count() == 0)
        return std::nullopt;
    if (partnerKeyed_ != partner.Number()) {
        partnerWords_.Cut(other_, partner.Start(), partner.End());
        partnerKeyed_ = partner.Number();
    }
    // The red words come in order: the word they begin in is found by walking on.
    while (word_ + 1 < ownWords_.Count() && ownWords_.Start(word_ + 1) <= start)
        ++word_;
    return FindLookalikeWord(ownWords_, word_, partnerWords_, partner.Number());
}

} // namespace compare
