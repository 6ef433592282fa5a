#pragma once

#include "files/LineBreaks.h"

#include <QStringView>

// Calls line(units, broken) for each line of `text`, cut at every CR LF, lone CR and lone LF, in
// order; `broken` tells whether a break ends the line. A text that ends with a break has no line
// after it, and an empty text has none at all: lines as a file holds them.
template <typename Visit> void ForEachLineOf(QStringView text, Visit line) {
    const QChar* units = text.data();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (size - i >= 8 && !line_breaks_detail::EightHoldABreak(units + i)) {
            i += 7;
            continue;
        }
        const char16_t unit = units[i].unicode();
        if (unit != u'\r' && unit != u'\n')
            continue;
        line(text.sliced(start, i - start), true);
        if (unit == u'\r' && i + 1 < size && units[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(text.sliced(start), false);
}

// The lines of a pane's text as its file holds them: without the CR that a load appends to the
// text. Only a load leaves a lone CR at the end: typing and pasting give CR LF.
template <typename Visit> void ForEachSavedLine(QStringView text, Visit line) {
    if (text.endsWith(u'\r'))
        text.chop(1);
    ForEachLineOf(text, line);
}
