#include "compare/RepeatTips.h"

#include "compare/Lines.h"
#include "platform/Utf16View.h"

using namespace Qt::StringLiterals;

namespace {

QString Times(std::uint32_t count) {
    switch (count) {
    case 1:
        return u"once"_s;
    case 2:
        return u"twice"_s;
    default:
        return u"%1 times"_s.arg(count);
    }
}

// The content of the piece (cut at CR) that holds `position`, as the comparison keys it.
std::u16string_view PieceAround(std::u16string_view text, std::size_t position) {
    const std::size_t cr = text.rfind(u'\r', position == 0 ? 0 : position - 1);
    const std::size_t start = position == 0 || cr == text.npos ? 0 : cr + 1;
    const std::size_t end = std::min(text.find(u'\r', start), text.size());
    return compare::LineContent(text.substr(start, end - start));
}

} // namespace

QString RepeatNote(compare::RepeatedLines::Counts counts, const QString& otherName) {
    const QString there = counts.there == 0 ? u"nowhere in "_s + otherName
                                            : Times(counts.there) + u" in "_s + otherName;
    return Times(counts.here) + u" here, "_s + there;
}

Pane::TipSource WithRepeatTips(Pane::TipSource tips, const Pane& own,
                               std::shared_ptr<const compare::RepeatedLines> repeats,
                               const QString& otherName) {
    if (!repeats || repeats->Count() == 0)
        return tips;
    return [tips = std::move(tips), text = own.Text(), repeats = std::move(repeats),
            otherName](qsizetype position) -> QString {
        QString said = tips ? tips(position) : QString();
        const std::u16string_view units = AsU16(text);
        if (position < 0 || static_cast<std::size_t>(position) > units.size())
            return said;
        const auto counts =
            repeats->Find(PieceAround(units, static_cast<std::size_t>(position)), units);
        if (!counts)
            return said;
        return said.isEmpty() ? RepeatNote(*counts, otherName)
                              : said + u'\n' + RepeatNote(*counts, otherName);
    };
}
