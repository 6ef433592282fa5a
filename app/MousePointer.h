#pragma once

// The window pointer's shapes.
namespace MousePointer {
inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
inline constexpr int Custom = 99; // the hand over the buttons
} // namespace MousePointer
