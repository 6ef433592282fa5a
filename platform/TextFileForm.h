#pragma once

#include "platform/LineBreakKinds.h"

// How a file held its text: what a save needs to write the text back as the file had it.
struct TextFileForm {
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1252, RichText };

    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;
    // Its only kind of line break, or its most common; the system's own when it has none.
    LineBreak lineBreak = kSystemLineBreak;
    bool mixedBreaks = false;
    // For a file that mixes kinds of break: each of its breaks, in order.
    LineBreakKinds eachBreak;

    qint64 MemoryBytes() const { return eachBreak.MemoryBytes(); }
};
