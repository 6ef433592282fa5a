#include "platform/PlainText.h"

PlainText::PlainText(QString text) : text_(std::move(text)), lines_(text_) {}

PlainText::PlainText(QString text, TextLines lines)
    : text_(std::move(text)), lines_(std::move(lines)) {}

void PlainText::Replace(qsizetype position, qsizetype removed, QStringView inserted) {
    if (position == text_.size() && removed == 0)
        text_.append(inserted); // grows in place where the string has room
    else
        text_.replace(position, removed, inserted.data(), inserted.size());
    lines_.Update(text_, position, removed, inserted.size());
}

QStringView PlainText::LineView(qsizetype line) const {
    const qsizetype start = LineStart(line);
    return QStringView(text_).sliced(start, LineEnd(line) - start);
}

void PlainText::AppendUnits(qsizetype from, qsizetype to, QString& out) const {
    out.append(QStringView(text_).sliced(from, to - from));
}

std::vector<qsizetype> PlainText::LongLines(qsizetype units) const {
    std::vector<qsizetype> lines;
    const qsizetype count = LineCount();
    for (qsizetype line = 0; line < count; ++line) {
        const qsizetype next = line + 1 < count ? LineStart(line + 1) : Length();
        if (next - LineStart(line) > units && LineEnd(line) - LineStart(line) > units)
            lines.push_back(line);
    }
    return lines;
}
