#pragma once

// The two units line breaks are made of, for the comparison engine and the desktop code alike.
inline constexpr char16_t kCR = u'\r';
inline constexpr char16_t kLF = u'\n';
