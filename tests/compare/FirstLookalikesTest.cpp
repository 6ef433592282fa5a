#include "compare/FirstLookalikes.h"
#include "compare/Lookalike.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using compare::FirstLookalike;

namespace {

// Short texts of pieces that the kinds of look-alike treat specially, so that many pairs are
// look-alikes, many share a form under one set of kinds but not under another, and some repeat.
std::u16string TrickyText(std::mt19937& random) {
    static constexpr std::u16string_view kPieces[] = {
        u"a",      u"A",      u"1",      u"l",       u"I",      u"0",  u"O",      u" ", u"\t",
        u"\u00A0", u"\u200B", u"\u00E9", u"e\u0301", u"\uFB01", u"fi", u"\u0430", u"  "};
    std::u16string text;
    for (auto length = random() % 5; length > 0; --length)
        text += kPieces[random() % std::size(kPieces)];
    return text;
}

std::optional<FirstLookalike> FirstByTheRules(std::u16string_view text,
                                              const std::vector<std::u16string_view>& candidates) {
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (const auto kinds = compare::ExplainLookalike(text, candidates[i]))
            return FirstLookalike{i, *kinds};
    return std::nullopt;
}

} // namespace

// From one text against one candidate, checked pair by pair, to hundreds against thousands,
// matched through their forms: always the first candidate the rules name, with its kinds.
TEST(FirstLookalikesTest, GivesTheFirstCandidateTheRulesName) {
    std::mt19937 random(21);
    for (const auto& [texts, candidates] :
         {std::pair<std::size_t, std::size_t>{1, 1}, {2, 8}, {1, 300}, {40, 40}, {100, 2000}}) {
        std::vector<std::u16string> store;
        for (std::size_t i = 0; i < texts + candidates; ++i)
            store.push_back(TrickyText(random));
        const std::vector<std::u16string_view> textViews(store.begin(), store.begin() + texts);
        const std::vector<std::u16string_view> candidateViews(store.begin() + texts, store.end());
        const auto found = compare::FindFirstLookalikes(textViews, candidateViews);
        ASSERT_EQ(found.size(), texts);
        for (std::size_t i = 0; i < texts; ++i)
            EXPECT_EQ(found[i], FirstByTheRules(textViews[i], candidateViews))
                << texts << " against " << candidates << ", text " << i;
    }
}
