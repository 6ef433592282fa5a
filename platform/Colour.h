#pragma once

#include <cstdint>

// A text colour as 0x00BBGGRR: red in the low byte, blue in the high byte.
using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0;
inline constexpr Colour kRed = 255;
// A line or word that is no difference only because of a comparison rule: a quiet blue-grey,
// apart from red and black for every kind of colour vision, and dark enough to read on white.
inline constexpr Colour kRuleMatched = 0x7A6E54;
