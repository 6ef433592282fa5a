#include "compare/OneTableMembership.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Found {
    std::vector<compare::Piece> first, second;
};

Found WithOneTable(std::u16string_view first, std::u16string_view second,
                   std::size_t stopAfter = SIZE_MAX) {
    Found found;
    compare::OneTableMembership::Run(
        first, second, [&](compare::Piece piece) { found.first.push_back(piece); },
        [&](compare::Piece piece) { found.second.push_back(piece); },
        [&](std::size_t done) { return done < stopAfter; });
    return found;
}

} // namespace

// One table of the text with fewer pieces finds what a table of each finds, in both directions,
// whichever text is the smaller: texts of repeats, empty lines, lone CRs and LFs.
TEST(OneTableMembershipTest, FindsWhatATableOfEachFinds) {
    std::mt19937 random(3);
    const std::u16string_view alphabet = u"ab \r\n";
    for (int round = 0; round < 400; ++round) {
        std::u16string texts[2];
        for (std::u16string& text : texts)
            for (int i = static_cast<int>(random() % 60); i > 0; --i)
                text.push_back(alphabet[random() % alphabet.size()]);
        const compare::LineIndex first(texts[0]), second(texts[1]);
        const Found found = WithOneTable(texts[0], texts[1]);
        EXPECT_EQ(found.first, first.MissingIn(second)) << "round " << round;
        EXPECT_EQ(found.second, second.MissingIn(first)) << "round " << round;
    }
}

TEST(OneTableMembershipTest, EmptyTextsAndAStop) {
    const std::u16string lines = u"a\r\nb\r\nc\r";
    EXPECT_EQ(WithOneTable(u"", lines).second.size(), 4u) << "against nothing, every piece";
    EXPECT_EQ(WithOneTable(lines, u"").first.size(), 4u);
    EXPECT_TRUE(WithOneTable(lines, lines).first.empty());
    const Found stopped = WithOneTable(lines, u"x\r", 0);
    EXPECT_TRUE(stopped.first.empty() && stopped.second.empty()) << "stopped before it began";
}
