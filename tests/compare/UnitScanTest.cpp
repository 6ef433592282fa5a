#include "compare/UnitScan.h"
#include "compare/FindUnit.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

using namespace compare;

namespace {

using Block = std::array<char16_t, kScanUnits>;

// Units around every boundary the vector code could get wrong: the separators, the ASCII limit,
// the sign bit of a 16-bit lane and the byte limit of the narrowing.
constexpr std::array<char16_t, 12> kAwkwardUnits{u' ',   u'\r',  u'\n',  u'a',   0x0000, 0x007F,
                                                 0x0080, 0x00FF, 0x0100, 0x7FFF, 0x8000, 0xFFFF};

Block RandomBlock(std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> pick(0, kAwkwardUnits.size() - 1);
    Block block{};
    for (char16_t& unit : block)
        unit = kAwkwardUnits[pick(random)];
    return block;
}

// What each mask means, one unit at a time.
std::uint32_t MaskWhere(const Block& block, auto&& wanted) {
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < block.size(); ++i)
        if (wanted(block[i]))
            mask |= 1u << i;
    return mask;
}

std::uint32_t EqualMask(const Block& block, char16_t unit) {
    return MaskWhere(block, [unit](char16_t u) { return u == unit; });
}

std::uint32_t NonAsciiOrEqualMaskOf(const Block& block, char16_t unit) {
    return MaskWhere(block, [unit](char16_t u) { return u > 0x7F || u == unit; });
}

// Both versions are held to the loop: the one this build uses and the one a build without vector
// instructions uses.
struct Scanner {
    const char* name;
    UnitMasks (*equalMasks)(const char16_t*, char16_t, char16_t);
    std::uint32_t (*nonAsciiOrEqualMask)(const char16_t*, char16_t);
    void (*narrowAscii)(const char16_t*, char*);
    UnitMasks (*foldedCopy)(const char16_t*, bool, char16_t*);
    UnitMasks (*ruleChangeMasks)(const char16_t*, bool);
};

const Scanner kScanners[] = {
    {"built", &EqualMasks, &NonAsciiOrEqualMask, &NarrowAscii, &FoldedCopy, &RuleChangeMasks},
    {"portable", &portable::EqualMasks, &portable::NonAsciiOrEqualMask, &portable::NarrowAscii,
     &portable::FoldedCopy, &portable::RuleChangeMasks},
};

} // namespace

TEST(UnitScanTest, MasksMarkExactlyTheUnitsALoopFinds) {
    for (const Scanner& scanner : kScanners) {
        SCOPED_TRACE(scanner.name);
        std::mt19937 random(7);
        for (int round = 0; round < 2000; ++round) {
            const Block block = RandomBlock(random);
            for (const auto& [a, b] : {std::pair<char16_t, char16_t>{u' ', u'\r'},
                                       {u'\r', u'\r'},
                                       {0x8000, 0x00FF},
                                       {0xFFFF, 0x0000}}) {
                const UnitMasks found = scanner.equalMasks(block.data(), a, b);
                ASSERT_EQ(found.a, EqualMask(block, a));
                ASSERT_EQ(found.b, EqualMask(block, b));
            }
            for (const char16_t unit : {u'\r', u' ', u'\x7F'})
                ASSERT_EQ(scanner.nonAsciiOrEqualMask(block.data(), unit),
                          NonAsciiOrEqualMaskOf(block, unit));
        }
    }
}

TEST(UnitScanTest, NarrowingKeepsEveryAsciiUnit) {
    for (const Scanner& scanner : kScanners) {
        SCOPED_TRACE(scanner.name);
        std::mt19937 random(11);
        std::uniform_int_distribution<int> ascii(0, 0x7F);
        for (int round = 0; round < 200; ++round) {
            Block block{};
            for (char16_t& unit : block)
                unit = static_cast<char16_t>(ascii(random));
            std::array<char, kScanUnits> narrow{};
            scanner.narrowAscii(block.data(), narrow.data());
            for (std::size_t i = 0; i < block.size(); ++i)
                ASSERT_EQ(narrow[i], static_cast<char>(block[i]));
        }
    }
}

// Capitals become small and nothing else changes, the letters either side of them and the units
// whose lanes read as negative numbers included; blanks and tabs are marked.
TEST(UnitScanTest, FoldedCopyFoldsCapitalsAlone) {
    constexpr std::array<char16_t, 10> kUnits{u'@', u'A',  u'Z',   u'[',   u'a',
                                              u' ', u'\t', 0x00C0, 0x8041, 0xFDD0};
    for (const Scanner& scanner : kScanners) {
        SCOPED_TRACE(scanner.name);
        std::mt19937 random(13);
        for (int round = 0; round < 500; ++round) {
            Block block{};
            for (char16_t& unit : block)
                unit = kUnits[random() % kUnits.size()];
            for (const bool fold : {false, true}) {
                Block copy{};
                const UnitMasks found = scanner.foldedCopy(block.data(), fold, copy.data());
                for (std::size_t i = 0; i < block.size(); ++i) {
                    const bool capital = block[i] >= u'A' && block[i] <= u'Z';
                    ASSERT_EQ(copy[i], fold && capital ? block[i] + 0x20 : block[i]);
                }
                ASSERT_EQ(found.a, EqualMask(block, u' '));
                ASSERT_EQ(found.b, EqualMask(block, u'\t'));
                const UnitMasks changing = scanner.ruleChangeMasks(block.data(), fold);
                ASSERT_EQ(changing.a, MaskWhere(block, [fold](char16_t u) {
                              return u > 0x7F || u == u'\t' || (fold && u >= u'A' && u <= u'Z');
                          }));
                ASSERT_EQ(changing.b, EqualMask(block, u' '));
            }
        }
    }
}

// Every start and every length around the sixteen-unit blocks, against the string's own search.
TEST(UnitScanTest, FindUnitFindsWhatTheStringSearchFinds) {
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        std::u16string text(static_cast<std::size_t>(round % 70), u'x');
        std::uniform_int_distribution<std::size_t> pick(0, kAwkwardUnits.size() - 1);
        for (char16_t& unit : text)
            if (random() % 5 == 0)
                unit = kAwkwardUnits[pick(random)];
        for (const char16_t unit : {u'\r', u' ', char16_t{0x8000}})
            for (std::size_t from = 0; from <= text.size(); ++from) {
                const std::size_t expected = text.find(unit, from);
                ASSERT_EQ(FindUnit(text, unit, from),
                          expected == std::u16string::npos ? text.size() : expected)
                    << "length " << text.size() << " from " << from;
            }
    }
}

// Counting a unit, and finding its nth occurrence, sixteen units at a time give what a loop over
// the units gives: on either side of block boundaries, from any place, and past the last one.
// A count over more units than a vector lane can count alone, every unit a match.
TEST(UnitScanTest, CountsRunsLongerThanALaneHolds) {
    const std::u16string crs(600'000, u'\r');
    EXPECT_EQ(compare::CountUnit(crs, u'\r', 0, crs.size()), crs.size());
    EXPECT_EQ(compare::CountUnit(crs, u'\r', 3, crs.size() - 5), crs.size() - 8);
    EXPECT_EQ(compare::CountUnit(crs, u'\n', 0, crs.size()), 0u);
}

TEST(UnitScanTest, CountAndNthOccurrenceAgreeWithALoop) {
    std::mt19937 random(41);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        for (auto length = random() % 80; length > 0; --length)
            text += random() % 4 == 0 ? u' ' : u'x';
        const std::size_t from = random() % (text.size() + 1);
        const std::size_t to = from + random() % (text.size() - from + 1);
        std::vector<std::size_t> blanks;
        for (std::size_t i = from; i < to; ++i)
            if (text[i] == u' ')
                blanks.push_back(i);
        ASSERT_EQ(compare::CountUnit(text, u' ', from, to), blanks.size()) << "round " << round;
        for (std::size_t n = 1; n <= blanks.size() + 1; ++n) {
            const compare::NthUnit nth = compare::FindNthUnit(text, u' ', from, to, n);
            if (n <= blanks.size()) {
                ASSERT_EQ(nth.at, blanks[n - 1]) << "round " << round << ", n " << n;
                ASSERT_EQ(nth.found, n);
            } else {
                ASSERT_EQ(nth.at, to) << "round " << round;
                ASSERT_EQ(nth.found, blanks.size());
            }
        }
    }
}
