#pragma once

#include <string_view>

// What a control word of rich text means for the plain text taken from it. Everything not listed
// is formatting and means nothing for the text.
enum class RtfWordRole {
    Formatting,
    Destination,    // its group holds no visible text (tables, pictures, headers ...)
    LineBreak,      // paragraph, line, section, row and page marks
    Character,      // stands for one character (\tab, \emdash, \cell ...)
    UnicodeChar,    // \uN: the character N, followed by a fallback the reader skips
    FallbackLength, // \ucN: how many fallback characters follow each \uN
    CodePage,       // \ansicpgN: the code page of \'hh escapes and 8-bit text
    Binary,         // \binN: N raw bytes follow
};

struct RtfWordMeaning {
    RtfWordRole role = RtfWordRole::Formatting;
    char16_t character = 0; // for Character
};

RtfWordMeaning LookUpRtfWord(std::string_view word);
