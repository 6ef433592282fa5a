#include "cli/JsonWriter.h"

#include "platform/TextRange.h"

#include <QString>

#include <charconv>

namespace JsonWriter {

namespace {

void AppendEscape(QByteArray& out, char16_t unit) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
    out.append(escape);
}

// Appends the units as UTF-8. Runs of ASCII, the common case, are copied a byte a unit straight
// into `out`, without a string of their own.
void AppendUtf8(QByteArray& out, QStringView text) {
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* bytes = out.data() + start;
    qsizetype ascii = 0;
    for (; ascii < text.size() && text[ascii].unicode() < 0x80; ++ascii)
        bytes[ascii] = static_cast<char>(text[ascii].unicode());
    if (ascii == text.size())
        return;
    out.resize(start + ascii);
    out.append(text.sliced(ascii).toUtf8());
}

} // namespace

void AppendString(QByteArray& out, QStringView text) {
    out.reserve(out.size() + text.size() + 2);
    out.append('"');
    AppendEscaped(out, text);
    out.append('"');
}

void AppendEscaped(QByteArray& out, QStringView text) {
    qsizetype plainFrom = 0; // start of units not written yet that need no escape
    const auto flushPlain = [&](qsizetype upTo) {
        if (upTo > plainFrom)
            AppendUtf8(out, text.sliced(plainFrom, upTo - plainFrom));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pairStart = QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                               QChar::isLowSurrogate(text[i + 1].unicode());
        if (pairStart) {
            ++i;
            continue;
        }
        const bool loneSurrogate = QChar::isSurrogate(unit);
        if (unit >= 0x20 && unit != u'"' && unit != u'\\' && !loneSurrogate)
            continue;
        flushPlain(i);
        plainFrom = i + 1;
        switch (unit) {
        case u'"':
            out.append("\\\"");
            break;
        case u'\\':
            out.append("\\\\");
            break;
        case u'\n':
            out.append("\\n");
            break;
        case u'\r':
            out.append("\\r");
            break;
        case u'\t':
            out.append("\\t");
            break;
        default:
            AppendEscape(out, unit);
        }
    }
    flushPlain(text.size());
}

void AppendRanges(QByteArray& out, const std::vector<TextRange>& ranges) {
    out.append('[');
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append('[');
        AppendNumber(out, static_cast<unsigned long long>(ranges[i].start));
        out.append(',');
        AppendNumber(out, static_cast<unsigned long long>(ranges[i].length));
        out.append(']');
    }
    out.append(']');
}

void AppendNumber(QByteArray& out, unsigned long long number) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    out.append(digits, end - digits);
}

} // namespace JsonWriter
