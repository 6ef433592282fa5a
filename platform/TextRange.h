#pragma once

#include <QtGlobal>

// A run of code units in a pane's text: [start, start + length).
struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype End() const { return start + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};
