#pragma once

#include <QByteArray>
#include <QStringView>

#include <cstddef>
#include <string_view>
#include <vector>

struct TextRange;

// Appends JSON to a UTF-8 buffer. Strings go out code unit for code unit: a lone surrogate, which
// UTF-8 cannot carry, is written as its \u escape rather than replaced.
namespace JsonWriter {

// The most bytes a unit of text can take escaped: \u and four digits.
inline constexpr std::size_t kEscapedBytesPerUnit = 6;

void AppendString(QByteArray& out, QStringView text);
// The same without the quotes, so that a long string can be written a piece at a time; a piece
// must not end between the two halves of a surrogate pair.
void AppendEscaped(QByteArray& out, QStringView text);
// The same into room for kEscapedBytesPerUnit bytes a unit of `text` at `out`; returns the end
// of what it wrote.
char* PutEscaped(char* out, std::u16string_view text);
// [[start,length],...]
void AppendRanges(QByteArray& out, const std::vector<TextRange>& ranges);
// A whole number in decimal.
void AppendNumber(QByteArray& out, unsigned long long number);

} // namespace JsonWriter
