#include "compare/UnitScan.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

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

} // namespace

TEST(UnitScanTest, MasksAgreeWithTheUnitByUnitVersion) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        const Block block = RandomBlock(random);
        const UnitMasks expected = portable::EqualMasks(block.data(), u' ', u'\r');
        const UnitMasks found = EqualMasks(block.data(), u' ', u'\r');
        ASSERT_EQ(found.a, expected.a);
        ASSERT_EQ(found.b, expected.b);
        ASSERT_EQ(NonAsciiOrEqualMask(block.data(), u'\r'),
                  portable::NonAsciiOrEqualMask(block.data(), u'\r'));
    }
}

TEST(UnitScanTest, MasksPutUnitIAtBitI) {
    Block block{};
    block.fill(u'x');
    block[0] = u' ';
    block[9] = u'\r';
    block[15] = 0x00E9;
    EXPECT_EQ(EqualMasks(block.data(), u' ', u'\r').a, 1u);
    EXPECT_EQ(EqualMasks(block.data(), u' ', u'\r').b, 1u << 9);
    EXPECT_EQ(NonAsciiOrEqualMask(block.data(), u'\r'), (1u << 9) | (1u << 15));
}

TEST(UnitScanTest, NarrowingKeepsEveryAsciiUnit) {
    Block block{};
    for (int i = 0; i < kScanUnits; ++i)
        block[static_cast<std::size_t>(i)] = static_cast<char16_t>(0x70 + i); // 0x70 to 0x7F
    std::array<char, kScanUnits> narrow{};
    NarrowAscii(block.data(), narrow.data());
    for (int i = 0; i < kScanUnits; ++i)
        EXPECT_EQ(narrow[static_cast<std::size_t>(i)], static_cast<char>(0x70 + i));
}
