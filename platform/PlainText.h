#pragma once

#include "platform/PaneText.h"
#include "platform/TextLines.h"

// A text held whole, with its line index, as a pane keeps what is written or typed into it.
class PlainText final : public PaneText {
public:
    explicit PlainText(QString text = {});
    // With lines already cut, for a text made on another thread.
    PlainText(QString text, TextLines lines);

    const QString& String() const { return text_; }
    // Edits the text and its line index.
    void Replace(qsizetype position, qsizetype removed, QStringView inserted);

    qsizetype Length() const override { return text_.size(); }
    qsizetype LineCount() const override { return lines_.Count(); }
    qsizetype LineStart(qsizetype line) const override { return lines_.Start(line); }
    qsizetype LineEnd(qsizetype line) const override { return lines_.End(text_, line); }
    QStringView LineView(qsizetype line) const override;
    qsizetype LineAt(qsizetype position) const override { return lines_.LineAt(position); }
    std::vector<qsizetype> LongLines(qsizetype units) const override;
    void AppendUnits(qsizetype from, qsizetype to, QString& out) const override;

private:
    QString text_;
    TextLines lines_;
};
