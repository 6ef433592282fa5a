#include "platform/SourceLineIndex.h"
#include "platform/TextLines.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// A text of `units` units drawn from letters and every kind of break, so that CR LF pairs, lone
// CRs and lone LFs fall everywhere, block edges included.
QString MixedBreaks(qsizetype units, unsigned seed) {
    std::mt19937 random(seed);
    const char16_t alphabet[] = u"ab \r\n\r\n";
    QString text(units, u'a');
    for (QChar& unit : text)
        unit = QChar(alphabet[random() % (std::size(alphabet) - 1)]);
    return text;
}

} // namespace

// Each position is on the line the pane's own line index puts it on: every CR LF, lone CR and
// lone LF ends a line, and a position between a CR and its LF is on the line they end.
TEST(SourceLineIndexTest, FindsTheLineThePanesIndexFinds) {
    QString straddling(8191, u'x'); // a CR LF whose halves fall in two blocks
    straddling += u"\r\nafter\r"_s;
    const struct {
        const char* what;
        QString text;
    } cases[] = {
        {"empty", QString()},
        {"CR LF", u"one\r\ntwo\r\n\r\nfour"_s},
        {"lone CR", u"one\rtwo\r\rfour\r"_s},
        {"lone LF", u"\none\ntwo\n"_s},
        {"LF CR is two breaks", u"a\n\rb"_s},
        {"a CR LF across a block edge", straddling},
        {"mixed, several blocks", MixedBreaks(40'000, 7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TextLines lines(c.text);
        SourceLineIndex index(c.text);
        // Asked from the end backwards, then forwards: the index is built as far as asked.
        for (qsizetype p = c.text.size(); p >= 0; p -= 97)
            ASSERT_EQ(index.LineAt(p), lines.LineAt(p)) << "position " << p;
        for (qsizetype p = 0; p <= c.text.size(); ++p)
            ASSERT_EQ(index.LineAt(p), lines.LineAt(p)) << "position " << p;
    }
}

TEST(SourceLineIndexTest, PositionsOutsideTheTextAreOnItsFirstAndLastLines) {
    SourceLineIndex index(u"a\r\nb\r\nc"_s);
    EXPECT_EQ(index.LineAt(-5), 0);
    EXPECT_EQ(index.LineAt(1000), 2);
}
