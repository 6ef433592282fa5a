#include "platform/FileNames.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Whatever bytes a name holds, they come back unchanged, and a message shows them readably.
TEST(FileNamesTest, AnyBytesComeBackAsTheyWere) {
    struct Row {
        QByteArray bytes;
        QString shown;
    };
    const Row rows[] = {
        {"", u""_s},
        {"plain.txt", u"plain.txt"_s},
        {"caf\xC3\xA9 \xF0\x9F\x98\x80", u"caf\u00e9 \U0001F600"_s},
        {"bad\xFF.txt", u"bad\uFFFD.txt"_s},
        {"\x80\xBF", u"\uFFFD\uFFFD"_s},                     // continuation bytes alone
        {"\xC0\x80", u"\uFFFD\uFFFD"_s},                     // a NUL spelt long
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"_s},           // a surrogate spelt in UTF-8
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"_s}, // past U+10FFFF
        {"a\xE2\x82", u"a\uFFFD\uFFFD"_s},                   // cut short at the end
        {"\xE2\x82\xACx\xE2\x82y", u"\u20acx\uFFFD\uFFFDy"_s},
        // a pair whose second half looks like a stray byte's, then a stray byte
        {"\xF0\x9F\x92\x80\xFE", u"\U0001F480\uFFFD"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes.toHex(' ').toStdString());
        const QString name = FileNames::Decode(row.bytes);
        EXPECT_EQ(FileNames::Encode(name), row.bytes);
        const QString shown = FileNames::Shown(name);
        EXPECT_EQ(shown, row.shown);
        if (row.bytes.isValidUtf8()) {
            EXPECT_EQ(name, QString::fromUtf8(row.bytes)) << "valid names read as ever";
        }
    }
}

// A name that never came from the system (typed, or from a dialog) is spelt in UTF-8 as ever.
TEST(FileNamesTest, OtherNamesAreUtf8) {
    for (const QString& name : {u"r\u00e9sum\u00e9.txt"_s, u"\U0001F480"_s, u"\uFFFD"_s})
        EXPECT_EQ(FileNames::Encode(name), name.toUtf8());
}
