#include "compare/DifferenceNotes.h"

using namespace Qt::StringLiterals;

namespace {

QString LookalikePart(qsizetype found, qsizetype lookalikes) {
    if (lookalikes <= 0)
        return {};
    if (found == 1)
        return u", a look-alike"_s;
    if (lookalikes == 1)
        return u", 1 of them a look-alike"_s;
    return u", %1 of them look-alikes"_s.arg(lookalikes);
}

QString LinesFound(qsizetype lines, const QString& otherPane) {
    const QString count =
        lines == 1 ? u"1 line of this text is"_s : u"%1 lines of this text are"_s.arg(lines);
    return count + u" nowhere in "_s + otherPane;
}

QString WordsFound(qsizetype words, const QString& otherPane) {
    const QString count =
        words == 1 ? u"1 word of this text is not supplied by its partner line"_s
                   : u"%1 words of this text are not supplied by their partner lines"_s.arg(words);
    return count + u" in "_s + otherPane;
}

// What `said` of `found` differences adds of their look-alikes: how many, once counted; nothing
// when nothing is red.
QString WithLookalikes(qsizetype found, const QString& said, std::optional<qsizetype> lookalikes) {
    if (lookalikes)
        return said + LookalikePart(found, *lookalikes);
    return found > 0 ? said + u" (look-alikes being counted)"_s : said;
}

QString Uncounted(qsizetype found, const QString& said) {
    return found > 0 ? said + u" (too many to look for look-alikes)"_s : said;
}

} // namespace

QString LinesNoteUncounted(qsizetype lines, const QString& otherPane) {
    return Uncounted(lines, LinesFound(lines, otherPane));
}

QString LinesNote(qsizetype lines, const QString& otherPane, std::optional<qsizetype> lookalikes) {
    return WithLookalikes(lines, LinesFound(lines, otherPane), lookalikes);
}

QString WordsNoteUncounted(qsizetype words, const QString& otherPane) {
    return Uncounted(words, WordsFound(words, otherPane));
}

QString WordsNote(qsizetype words, const QString& otherPane, std::optional<qsizetype> lookalikes) {
    return WithLookalikes(words, WordsFound(words, otherPane), lookalikes);
}

namespace {

QString Stopped(std::optional<qsizetype> afterLine, const QString& found) {
    const QString where = !afterLine        ? u"Stopped before the end: "_s
                          : *afterLine == 0 ? u"Stopped before the first line: "_s
                                            : u"Stopped after line %1: "_s.arg(*afterLine);
    return where + found + u" found so far"_s;
}

} // namespace

QString StoppedLinesNote(qsizetype lines, std::optional<qsizetype> afterLine,
                         const QString& otherPane) {
    const QString count = lines == 1 ? u"1 line"_s : u"%1 lines"_s.arg(lines);
    return Stopped(afterLine, count + u" nowhere in "_s + otherPane);
}

QString StoppedWordsNote(qsizetype words, std::optional<qsizetype> afterLine,
                         const QString& otherPane) {
    const QString count = words == 1 ? u"1 word not supplied by its partner line"_s
                                     : u"%1 words not supplied by their partner lines"_s.arg(words);
    return Stopped(afterLine, count + u" in "_s + otherPane);
}
