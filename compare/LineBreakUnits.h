#pragma once

// The two units line breaks are made of, as the comparisons cut texts at them.
inline constexpr char16_t kCR = u'\r';
inline constexpr char16_t kLF = u'\n';
