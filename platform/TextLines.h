#pragma once

#include <QStringView>

#include <cstdint>
#include <vector>

// Where each line of a text begins, as a pane shows it: every CR LF, lone CR and lone LF ends one
// line. The text itself is kept elsewhere, exactly as written; this is its index, four bytes a
// line, so that a text of millions of lines is drawn and moved about in without scanning it.
class TextLines {
public:
    // Cuts `text`; a text has at least one line, perhaps empty.
    explicit TextLines(QStringView text = {});

    qsizetype Count() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype Start(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
    // Where the break that ends `line` begins in `text`, or the text's end for the last line.
    qsizetype End(QStringView text, qsizetype line) const;
    // The line that `position` belongs to: a position inside a break belongs to the line the
    // break ends.
    qsizetype LineAt(qsizetype position) const;

    // `text` is the old text with `removed` units at `position` replaced by `inserted` units:
    // cuts again only around the edit and moves the later lines along.
    void Update(QStringView text, qsizetype position, qsizetype removed, qsizetype inserted);

private:
    std::vector<std::uint32_t> starts_;
};
