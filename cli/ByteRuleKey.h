#pragma once

#include "compare/LookalikeKinds.h"

#include <cstddef>
#include <string>
#include <string_view>

// What the rules about blanks and tabs and about case make of a line of ASCII bytes: byte for
// unit the key that the comparison of decoded texts makes of the same line, so that two lines
// are equal under those rules exactly when their keys here are. Under leading-space the leading
// run of blanks and tabs goes, under trailing-space the trailing run, under inner-space each run
// between them becomes one blank, and under case capitals become small.
class ByteRuleKey {
public:
    explicit ByteRuleKey(compare::LookalikeKinds kinds);

    // Whether every kind of `kinds` is one of those four, and there is one.
    static bool Serves(compare::LookalikeKinds kinds);

    // The key of `content`, which must be ASCII: `content` itself when the rules leave it as it
    // is, else a view valid until the next call. `changed` says which. The bytes from the
    // content's end to `readable`, if it is further, may be read too (and are then left out).
    std::string_view Of(std::string_view content, bool& changed, const char* readable = nullptr);

    // What the key of a line of `bytes` bytes takes at most.
    static std::size_t BufferBytes(std::size_t bytes);

private:
    char* Middle(const char* in, std::size_t from, std::size_t to, const char* readable, char* out,
                 bool& changed) const;
    char* OneByOne(const char* in, std::size_t from, std::size_t at, std::size_t to, char* out,
                   bool& changed) const;

    bool leading_;
    bool trailing_;
    bool inner_;
    bool fold_;
    std::string buffer_; // only grows: most lines are not the longest
};
