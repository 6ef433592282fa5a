#include "platform/TextLines.h"

#include <QString>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

std::vector<qsizetype> Starts(const TextLines& lines) {
    std::vector<qsizetype> starts;
    for (qsizetype i = 0; i < lines.Count(); ++i)
        starts.push_back(lines.Start(i));
    return starts;
}

} // namespace

TEST(TextLinesTest, EveryKindOfBreakEndsOneLine) {
    const QString text = u"a\r\nb\rc\nd\r\n"_s;
    const TextLines lines(text);
    EXPECT_EQ(Starts(lines), (std::vector<qsizetype>{0, 3, 5, 7, 10}));
    EXPECT_EQ(lines.End(text, 0), 1) << "a CR LF is one break";
    EXPECT_EQ(lines.End(text, 1), 4);
    EXPECT_EQ(lines.End(text, 2), 6);
    EXPECT_EQ(lines.End(text, 4), 10) << "the last line ends with the text";
    EXPECT_EQ(lines.LineAt(2), 0) << "the LF of a CR LF belongs to the line it ends";
    EXPECT_EQ(lines.LineAt(3), 1);
    EXPECT_EQ(lines.LineAt(10), 4);
    EXPECT_EQ(Starts(TextLines(QString())), std::vector<qsizetype>{0});
}

// Edits that join or split the two units of a CR LF, remove breaks or add them, anywhere: the
// lines kept up to date must be the lines cut afresh.
TEST(TextLinesTest, UpdatedLinesAreThoseOfTheEditedTextCutAfresh) {
    const QString alphabet = u"ab\r\n \r\n"_s;
    std::mt19937 random(7);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int i = pick(12); i > 0; --i)
            text += alphabet[pick(static_cast<int>(alphabet.size()) - 1)];
        TextLines lines(text);
        for (int edit = 0; edit < 4; ++edit) {
            const qsizetype position = pick(static_cast<int>(text.size()));
            const qsizetype removed = pick(static_cast<int>(text.size() - position));
            QString inserted;
            for (int i = pick(3); i > 0; --i)
                inserted += alphabet[pick(static_cast<int>(alphabet.size()) - 1)];
            const QString before = text;
            text.replace(position, removed, inserted);
            lines.Update(text, position, removed, inserted.size());
            ASSERT_EQ(Starts(lines), Starts(TextLines(text)))
                << "'" << before.toStdString() << "' at " << position << " minus " << removed
                << " plus '" << inserted.toStdString() << "'";
        }
    }
}
