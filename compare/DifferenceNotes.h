#pragma once

#include <QString>

#include <optional>

// How a full pane tells its user, in its tooltip, what the last comparison found in it: "3 lines
// of this text are nowhere in Text File #2", "1 word of this text is not supplied by its partner
// line in Text File #1", with ", 2 of them look-alikes" where some differ only invisibly (see the
// look-alike kinds).
// Nothing for `lookalikes` while they are still being counted.
QString LinesNote(qsizetype lines, const QString& otherPane, std::optional<qsizetype> lookalikes);
QString WordsNote(qsizetype words, const QString& otherPane, std::optional<qsizetype> lookalikes);
// When there was no room to count them.
QString LinesNoteUncounted(qsizetype lines, const QString& otherPane);
QString WordsNoteUncounted(qsizetype words, const QString& otherPane);
// What a comparison stopped by the user had found, "Stopped after line 5000: 12 lines nowhere in
// Text File #2 found so far"; without the line when it is not known.
QString StoppedLinesNote(qsizetype lines, std::optional<qsizetype> afterLine,
                         const QString& otherPane);
QString StoppedWordsNote(qsizetype words, std::optional<qsizetype> afterLine,
                         const QString& otherPane);
