#include "files/RtfText.h"

#include "files/TextDecoding.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <random>

namespace {

std::u16string PlainText(QByteArrayView rtf) {
    return RtfToPlainText(rtf).toStdU16String();
}

// A document as a word processor writes it: header tables, a stylesheet, document information,
// a picture, a header and ignorable destinations around a little text.
constexpr char kSample[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang2057"
    "{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}{\\f1\\froman Times New Roman;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\stylesheet{\\s0 Normal;}{\\s1\\b heading 1;}}\r\n"
    "{\\info{\\title Secret title}{\\author Someone}}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1\r\n"
    "{\\header\\pard Page header\\par}\r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22 Caf\\'e9 costs \\u8364? 5,\\tab "
    "{\\b bold {\\i nested}} text\\par\r\n"
    "second\\line line{\\pict\\wmetafile8 0a0b0c0d}\\cf1  red\\cf0\\par\r\n"
    "}\r\n";

} // namespace

TEST(RtfTextTest, WordProcessorDocumentGivesOnlyItsText) {
    EXPECT_EQ(PlainText(kSample), u"Café costs € 5,\tbold nested text\r\nsecond\r\nline red\r\n");
}

TEST(RtfTextTest, MarksBecomeLineBreaksAndTabsStay) {
    EXPECT_EQ(PlainText("{\\rtf1 a\\par b\\line c\\sect d\\page e}"), u"a\r\nb\r\nc\r\nd\r\ne");
    EXPECT_EQ(PlainText("{\\rtf1 a\\tab b\tc}"), u"a\tb\tc");
    EXPECT_EQ(PlainText("{\\rtf1 {a\\cell b\\cell\\row}c}"), u"a\tb\t\r\nc");
    // Line ends in the source only lay it out, except after a backslash.
    EXPECT_EQ(PlainText("{\\rtf1 a\r\nb\nc\\\nd}"), u"abc\r\nd");
}

TEST(RtfTextTest, CharacterEscapes) {
    EXPECT_EQ(PlainText("{\\rtf1 \\'e9\\'93\\'94\\'80}"), u"é“”€");
    EXPECT_EQ(PlainText("{\\rtf1 \\\\ \\{ \\} a\\~b co\\-op}"), u"\\ { } a\u00A0b coop");
    EXPECT_EQ(PlainText("{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}"),
              u"—–‘’“”•");
    // Raw 8-bit text is in the document's code page too.
    EXPECT_EQ(PlainText("{\\rtf1\\ansi\\ansicpg1252 \x93\xe9\x94}"), u"“é”");
    EXPECT_EQ(PlainText("{\\rtf1\\ansi\\ansicpg28591 \\'80}"), u"\u0080");
    EXPECT_EQ(PlainText("{\\rtf1\\ansi\\ansicpg1250 \\'93}"), u"“"); // unknown: read as 1252
}

TEST(RtfTextTest, UnicodeEscapesSkipTheirFallback) {
    EXPECT_EQ(PlainText("{\\rtf1 \\u8364?x}"), u"€x");
    EXPECT_EQ(PlainText("{\\rtf1 \\u-3913?x}"), u"\uF0B7x"); // negative: N + 65536
    EXPECT_EQ(PlainText("{\\rtf1 \\u8364\\'80x}"), u"€x");   // an escape is one fallback
    EXPECT_EQ(PlainText("{\\rtf1\\uc2 \\u8364ABx}"), u"€x");
    EXPECT_EQ(PlainText("{\\rtf1\\uc0 \\u8364 x}"), u"€x");
    // A surrogate pair written as two escapes.
    EXPECT_EQ(PlainText("{\\rtf1 \\u-10179?\\u-8704?}"), u"\U0001F600");
    // \ucN holds for its group only, and a fallback never reaches past a group's end.
    EXPECT_EQ(PlainText("{\\rtf1 {\\uc3 a}\\u8364?b}"), u"a€b");
    EXPECT_EQ(PlainText("{\\rtf1 {\\u8364}x}"), u"€x");
}

TEST(RtfTextTest, HiddenGroupsAreDropped) {
    EXPECT_EQ(PlainText("{\\rtf1 a{\\*\\unknown b{c}}d}"), u"ad");
    EXPECT_EQ(PlainText("{\\rtf1 {\\footer f}{\\headerl h}{\\fonttbl{\\f0 F;}}x}"), u"x");
    EXPECT_EQ(PlainText("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt shown}}}"),
              u"shown");
    // Binary data is skipped by length, braces and backslashes in it included.
    EXPECT_EQ(PlainText("{\\rtf1 {\\pict\\bin4 }\\{a}b}c}"), u"bc");
    EXPECT_EQ(PlainText("{\\rtf1 a\\bin3 {}\\b}"), u"ab");
}

TEST(RtfTextTest, MalformedInputGivesWhatCanBeRead) {
    EXPECT_EQ(PlainText(""), u"");
    EXPECT_EQ(PlainText("{\\rtf1 a}}}b{"), u"ab");
    EXPECT_EQ(PlainText("{\\rtf1 {{{a"), u"a");
    EXPECT_EQ(PlainText("{\\rtf1 a\\"), u"a");
    EXPECT_EQ(PlainText("{\\rtf1 a\\'"), u"a");
    EXPECT_EQ(PlainText("{\\rtf1 a\\'4"), u"a4");
    EXPECT_EQ(PlainText("{\\rtf1 a\\'zzb"), u"azzb");
    EXPECT_EQ(PlainText("{\\rtf1 \\u99999999999999999999?x}"), u"\uFFFDx");
    EXPECT_EQ(PlainText("{\\rtf1 \\u}"), u"");
    EXPECT_EQ(PlainText("{\\rtf1 a\\bin999999999999"), u"a");
    EXPECT_EQ(PlainText("{\\rtf1 a\\bin-5 b}"), u"ab");
    EXPECT_EQ(PlainText("{\\rtf1 \\uc999999 \\u65 bcd}"), u"A");
    const QByteArray longWord = "{\\rtf1 \\" + QByteArray(100, 'p') + "ar x}";
    EXPECT_EQ(PlainText(longWord), u"x");
    EXPECT_EQ(PlainText(QByteArray("{\\rtf1 a\0b\x01}", 12)), u"ab");
}

TEST(RtfTextTest, DeepNestingNeitherOverflowsNorLosesText) {
    const int depth = 200'000;
    const QByteArray nested = "{\\rtf1 " + QByteArray(depth, '{') + "{\\*\\x hidden}deep" +
                              QByteArray(depth, '}') + "out}";
    EXPECT_EQ(PlainText(nested), u"deepout");
    const QByteArray open = "{\\rtf1 " + QByteArray(depth, '{') + "{\\fonttbl F}a";
    EXPECT_EQ(PlainText(open), u"a");
    EXPECT_EQ(PlainText("{\\rtf1 a" + QByteArray(depth, '}') + "b"), u"ab");
}

// Hundreds of damaged copies of a real document: each must be read to its end without a crash,
// and the text can never be longer than two units per byte.
TEST(RtfTextTest, DamagedDocumentsAlwaysTerminate) {
    const QByteArray sample(kSample);
    const char interesting[] = "{}\\'*0123456789-abcdefuxz ?;\r\n\x80\xff";
    std::mt19937 random(2024);
    for (int round = 0; round < 400; ++round) {
        QByteArray damaged = sample;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !damaged.isEmpty(); ++e) {
            const auto at =
                static_cast<qsizetype>(random() % static_cast<unsigned>(damaged.size()));
            const char c = random() % 2 ? interesting[random() % (sizeof interesting - 1)]
                                        : static_cast<char>(random() % 256);
            switch (random() % 3) {
            case 0:
                damaged[at] = c;
                break;
            case 1:
                damaged.insert(at, c);
                break;
            default:
                damaged.remove(at, 1 + static_cast<qsizetype>(random() % 4));
            }
        }
        if (round % 4 == 0)
            damaged.truncate(static_cast<qsizetype>(random() % (damaged.size() + 1)));
        EXPECT_LE(RtfToPlainText(damaged).size(), 2 * damaged.size()) << "round " << round;
        EXPECT_LE(DecodeText(damaged).size(), 2 * damaged.size()) << "round " << round;
    }
}
