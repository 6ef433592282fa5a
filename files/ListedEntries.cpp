#include "files/ListedEntries.h"

#include <algorithm>

namespace {

// Counts lines (and, for words, blanks since the line began) from one entry's start to the next,
// as the list's comparison cuts its text: a list of lines at every CR, a list of words at every
// CR LF.
class PlaceCounter {
public:
    PlaceCounter(QStringView text, bool words) : text_(text), words_(words) {}

    void MoveTo(qsizetype position) {
        if (!words_) {
            line_ += std::count(text_.begin() + at_, text_.begin() + position, u'\r');
            at_ = position;
            return;
        }
        for (; at_ < position; ++at_) {
            const QChar unit = text_[at_];
            if (unit == u' ') {
                ++blanks_;
            } else if (unit == u'\r' && at_ + 1 < text_.size() && text_[at_ + 1] == u'\n') {
                ++line_;
                blanks_ = 0;
                lineStart_ = at_ + 2;
            }
        }
    }
    qsizetype Line() const { return line_; }
    qsizetype Word() const { return words_ ? blanks_ + 1 : 0; }
    bool AtLineStart() const { return at_ == lineStart_; }

private:
    QStringView text_;
    bool words_;
    qsizetype at_ = 0;
    qsizetype line_ = 1;
    qsizetype blanks_ = 0;
    qsizetype lineStart_ = 0;
};

} // namespace

void ForEachListedEntry(const ResultList& list,
                        const std::function<void(const ListedEntry&)>& visit) {
    const QStringView text = list.Source();
    const bool words = list.ListForm() == ResultList::Form::Words;
    // Only a load leaves a lone CR at the end of a text.
    const bool appendedCR = text.endsWith(u'\r');
    const qsizetype appendedAt = text.size() - 1;
    PlaceCounter place(text, words);
    list.ForEachEntry([&](TextRange entry) {
        place.MoveTo(entry.start);
        QStringView units = text.sliced(entry.start, entry.length);
        if (!words && units.startsWith(u'\n'))
            units = units.sliced(1);
        if (appendedCR && entry.End() > appendedAt) {
            if (!words) // the empty line after the CR
                return;
            units.chop(1);
            if (units.isEmpty() && place.AtLineStart()) // a line of nothing but the CR
                return;
        } else if (appendedCR && !words && entry.End() == appendedAt && units.isEmpty()) {
            return; // what lies between the file's last line break and the CR
        }
        visit({units, place.Line(), place.Word()});
    });
}
