#pragma once

#include <QString>

#include <vector>

// Where each line a pane shows begins in the pane's text. The pane keeps its text exactly as
// written, but shows every CR LF, lone CR and lone LF as one line break.
class DisplayLines {
public:
    // Cuts `text` afresh.
    void Rebuild(QStringView text);
    // `text` has grown at the end from `oldLength` units; only the new part is cut. Returns where
    // the part to show begins: past an LF that completes a CR the old text ended with.
    qsizetype Extend(QStringView text, qsizetype oldLength);

    qsizetype Count() const { return static_cast<qsizetype>(starts_.size()); }
    qsizetype Start(qsizetype line) const { return starts_[static_cast<std::size_t>(line)]; }
    // Length of the break that ends `line` in `text`: 2 for CR LF, 1 for a lone CR or LF, 0 for
    // the last line.
    qsizetype BreakLength(QStringView text, qsizetype line) const;

    // The text as the editor holds it: each break one '\n', and the characters the editor would
    // take for breaks of its own replaced, so that every other unit keeps its place in its line.
    static QString ToDisplay(QStringView text);
    // The editor's text back as pane text: each break CR LF.
    static QString FromDisplay(QStringView text);

private:
    void CutFrom(QStringView text, qsizetype from);

    std::vector<qsizetype> starts_{0};
};
