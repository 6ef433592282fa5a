#pragma once

#include <cstdint>

// A text colour as 0x00BBGGRR: red in the low byte, blue in the high byte.
using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0;
inline constexpr Colour kRed = 255;
