#include "compare/RedWordNote.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kLongestShown = 40;

// A word as the note quotes it: an empty one by name, a long one cut short.
QString Quoted(std::u16string_view word) {
    if (word.empty())
        return u"an empty word"_s;
    QString text = QString::fromUtf16(word.data(), static_cast<qsizetype>(word.size()));
    if (text.size() > kLongestShown)
        text = text.left(kLongestShown) + u"\u2026"_s;
    return u'`' + text + u'`';
}

QString Words(std::size_t from, std::size_t to) { // 0-based, shown from 1
    return from == to ? u"word %1"_s.arg(from + 1)
                      : u"words %1\u2013%2"_s.arg(from + 1).arg(to + 1);
}

} // namespace

QString RedWordNote(const compare::RedWordReason& reason, const QString& otherPane) {
    using Kind = compare::RedWordReason::Kind;
    const QString line = u"Line %1 of %2 has "_s.arg(reason.partnerLine + 1).arg(otherPane);
    switch (reason.kind) {
    case Kind::Absent:
        return line + u"no "_s + Quoted(reason.text);
    case Kind::Passed:
        return line + Quoted(reason.text) + u" at "_s +
               Words(reason.partnerWord, reason.partnerWord) +
               u", but the walk had already passed it: the "_s + Quoted(reason.usedByText) +
               u" before it used up "_s + Words(reason.usedFrom, reason.usedTo);
    case Kind::BeyondLookAhead:
        break;
    }
    return line + Quoted(reason.text) + u" at "_s + Words(reason.partnerWord, reason.partnerWord) +
           u", beyond the %1 the walk looks at from "_s.arg(
               reason.lookAhead == 1 ? u"word"_s : u"%1 words"_s.arg(reason.lookAhead)) +
           Words(reason.walkAt, reason.walkAt) + u" (the look-ahead of this line)"_s;
}
