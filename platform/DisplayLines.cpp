#include "platform/DisplayLines.h"

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';

// Characters a text document turns into block breaks besides CR and LF.
bool IsEditorBreak(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

} // namespace

void DisplayLines::Rebuild(QStringView text) {
    starts_.assign(1, 0);
    CutFrom(text, 0);
}

qsizetype DisplayLines::Extend(QStringView text, qsizetype oldLength) {
    // A CR that ended the old text and an LF that begins the new part are one break.
    if (oldLength > 0 && oldLength < text.size() && text[oldLength - 1] == kCR &&
        text[oldLength] == kLF && starts_.back() == oldLength)
        starts_.back() = oldLength + 1;
    const qsizetype shownFrom = std::max(oldLength, starts_.back());
    CutFrom(text, shownFrom);
    return shownFrom;
}

void DisplayLines::CutFrom(QStringView text, qsizetype from) {
    const QChar* data = text.data();
    for (qsizetype i = from; i < text.size(); ++i) {
        const char16_t c = data[i].unicode();
        if (c == kCR) {
            if (i + 1 < text.size() && data[i + 1] == kLF)
                ++i;
            starts_.push_back(i + 1);
        } else if (c == kLF) {
            starts_.push_back(i + 1);
        }
    }
}

qsizetype DisplayLines::BreakLength(QStringView text, qsizetype line) const {
    if (line + 1 >= Count())
        return 0;
    const qsizetype next = Start(line + 1);
    return next >= 2 && text[next - 1] == kLF && text[next - 2] == kCR && next - 2 >= Start(line)
               ? 2
               : 1;
}

QString DisplayLines::ToDisplay(QStringView text) {
    QString display;
    display.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == kCR && i + 1 < text.size() && text[i + 1] == kLF)
            continue; // the LF that follows makes the break
        if (c == kCR)
            display.append(QChar(kLF));
        else if (IsEditorBreak(c))
            display.append(QChar::ReplacementCharacter);
        else
            display.append(c);
    }
    return display;
}

QString DisplayLines::FromDisplay(QStringView text) {
    QString pane;
    pane.reserve(text.size() + text.count(QChar::ParagraphSeparator));
    for (const QChar c : text) {
        if (c == QChar::ParagraphSeparator || c == kLF)
            pane.append(u"\r\n");
        else
            pane.append(c);
    }
    return pane;
}
