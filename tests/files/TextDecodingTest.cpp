#include "files/TextDecoding.h"
#include "files/DecodedText.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kUtf8Bom = "\xEF\xBB\xBF";

std::u16string Decoded(QByteArrayView bytes, qsizetype chunkBytes = kDecodingChunkBytes) {
    return DecodeText(bytes, chunkBytes).toStdU16String();
}

QByteArray Utf16WithBom(QStringView text, bool bigEndian) {
    QStringEncoder encoder(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE,
                           QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

// For long texts: where they first differ, rather than both texts in full.
::testing::AssertionResult SameText(const std::u16string& actual, const std::u16string& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "first difference at unit " << (a - actual.begin()) << " of " << actual.size()
           << " (expected " << expected.size() << ")";
}

// What the decoder must give, computed the slow and obvious way.
QString WithCrLf(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    return text.replace(u"\n"_s, u"\r\n"_s);
}

} // namespace

TEST(TextDecodingTest, EmptyInputGivesEmptyText) {
    EXPECT_EQ(Decoded(""), u"");
    EXPECT_EQ(Decoded(kUtf8Bom), u"");
    EXPECT_EQ(Decoded("\xFF\xFE"), u"");
}

TEST(TextDecodingTest, Utf8WithAndWithoutByteOrderMark) {
    EXPECT_EQ(Decoded("caf\xC3\xA9 \xE2\x82\xAC"), u"café €");
    EXPECT_EQ(Decoded(kUtf8Bom + "caf\xC3\xA9"), u"café");
    // Beyond the BMP: a surrogate pair, so two units for four bytes.
    EXPECT_EQ(Decoded("a\xF0\x9F\x98\x80z"), u"a\U0001F600z");
    // Only the first mark is ours; a second one is content.
    EXPECT_EQ(Decoded("\xEF\xBB\xBF\xEF\xBB\xBFx"), u"\uFEFFx");
}

TEST(TextDecodingTest, Utf16WithByteOrderMarkInBothByteOrders) {
    const QString text = u"a\u00E9\u20AC\U0001F600\r\nz"_s;
    EXPECT_EQ(Decoded(Utf16WithBom(text, false)), text.toStdU16String());
    EXPECT_EQ(Decoded(Utf16WithBom(text, true)), text.toStdU16String());
    EXPECT_EQ(Decoded(Utf16WithBom(u"a\nb\rc", true)), u"a\r\nb\r\nc");
    EXPECT_EQ(Decoded(Utf16WithBom(u"a\nb\rc", false)), u"a\r\nb\r\nc");
}

TEST(TextDecodingTest, Utf16OddLastByteBecomesOneReplacementCharacter) {
    QByteArray bytes = Utf16WithBom(u"ab", false);
    bytes.append('\x41');
    EXPECT_EQ(Decoded(bytes), u"ab\uFFFD");
    EXPECT_EQ(Decoded(bytes, 1), u"ab\uFFFD");
}

TEST(TextDecodingTest, InvalidUtf8WithoutMarkIsWindows1252) {
    EXPECT_EQ(Decoded("\x93quoted\x94 \x80"
                      "5"),
              u"\u201Cquoted\u201D \u20AC5");
    EXPECT_EQ(Decoded("caf\xE9"), u"café");
    // The whole file is one encoding: a valid UTF-8 sequence elsewhere does not change that.
    EXPECT_EQ(Decoded("\xC3\xA9 \x96"), u"Ã© –");
    // The five bytes Windows-1252 leaves undefined keep their value rather than being lost.
    EXPECT_EQ(Decoded("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Decoded("\x9F\xA0\xFF"), u"\u0178\u00A0\u00FF");
}

TEST(TextDecodingTest, InvalidUtf8AfterMarkGivesReplacementCharacters) {
    EXPECT_EQ(Decoded(kUtf8Bom + "a\x93z"), u"a\uFFFDz");
    // Each byte of a broken character is one U+FFFD, wherever it is broken off: by the end of
    // the file or by a line break, which itself survives.
    EXPECT_EQ(Decoded(kUtf8Bom + "a\xE2\x82"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(Decoded(kUtf8Bom + "a\xE2\x82\nb"), u"a\uFFFD\uFFFD\r\nb");
    EXPECT_EQ(Decoded(kUtf8Bom + "a\xC3\r\xE2\x82\rb", 3), u"a\uFFFD\r\n\uFFFD\uFFFD\r\nb");
}

TEST(TextDecodingTest, EveryLineBreakBecomesCrLf) {
    EXPECT_EQ(Decoded("a\r\nb\nc\rd"), u"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Decoded("\n\r"), u"\r\n\r\n");
    EXPECT_EQ(Decoded("\r\r\n\n"), u"\r\n\r\n\r\n");
    EXPECT_EQ(Decoded("end\r"), u"end\r\n");
    EXPECT_EQ(Decoded("\x93\r\x94\n"), u"\u201C\r\n\u201D\r\n");
}

TEST(TextDecodingTest, CrLfSplitBetweenChunksIsOneBreak) {
    EXPECT_EQ(Decoded("ab\r\ncd", 3), u"ab\r\ncd");
    EXPECT_EQ(Decoded("\x93\r\n\x94", 2), u"\u201C\r\n\u201D");
    const QByteArray utf16 = Utf16WithBom(u"a\r\nb", false); // CR at bytes 4-5 of the body
    EXPECT_EQ(Decoded(utf16, 3), u"a\r\nb");
    EXPECT_EQ(Decoded(utf16, 4), u"a\r\nb");
}

// Every chunk size, including ones that cut characters and CR LF pairs apart, gives the text
// a single pass over the whole input gives.
TEST(TextDecodingTest, ChunkSizeNeverChangesTheResult) {
    const QByteArray samples[] = {
        "x\xC3\xA9\r\n\xE2\x82\xAC\ry\n\xF0\x9F\x98\x80\r\n\r\r\n",
        "\xEF\xBB\xBF\xE2\x82\r\n\xFFok\xC3\r\xF0\x9F\x98",
        "\x93\r\n\x94\n\r\x80\r",
        "{\\rtf1 a\\par b\\'e9}", // the mark is found across the smallest chunks too
        Utf16WithBom(u"\u00E9\r\n\U0001F600\n\r\r\nz", false),
        Utf16WithBom(u"\u00E9\r\n\U0001F600\n\r\r\nz", true),
    };
    for (const QByteArray& bytes : samples) {
        const std::u16string whole = Decoded(bytes);
        for (qsizetype chunk = 1; chunk <= bytes.size() + 1; ++chunk)
            EXPECT_EQ(Decoded(bytes, chunk), whole) << "chunk " << chunk;
    }
}

TEST(TextDecodingTest, LongMixedTextMatchesStraightforwardDecoding) {
    const char* pieces[] = {
        "a", "bc ", "\r\n", "\n", "\r", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\t"};
    std::mt19937 random(7);
    QByteArray bytes;
    while (bytes.size() < 200'000)
        bytes.append(pieces[random() % std::size(pieces)]);
    const std::u16string expected = WithCrLf(QString::fromUtf8(bytes)).toStdU16String();
    for (qsizetype chunk : {qsizetype{7}, qsizetype{4096}, kDecodingChunkBytes})
        EXPECT_TRUE(SameText(Decoded(bytes, chunk), expected)) << "chunk " << chunk;
    const QByteArray utf16 = Utf16WithBom(QString::fromUtf8(bytes), true);
    EXPECT_TRUE(SameText(Decoded(utf16, 4097), expected));
}

TEST(TextDecodingTest, RichTextGivesItsPlainTextWithCrLfBreaks) {
    EXPECT_EQ(Decoded("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}one\\par two\\'0athree}"),
              u"one\r\ntwo\r\nthree");
    // Only a file that starts with the signature is rich text.
    EXPECT_EQ(Decoded(" {\\rtf1 x}"), u" {\\rtf1 x}");
}

TEST(TextDecodingTest, ExactUtf8KeepsEverythingAsItIs) {
    EXPECT_EQ(DecodeExactUtf8(kUtf8Bom + "a\r\nb\nc\r").toStdU16String(), u"\uFEFFa\r\nb\nc\r");
    EXPECT_EQ(DecodeExactUtf8("caf\xC3\xA9").toStdU16String(), u"café");
    // No code-page guess: bytes that are not UTF-8 are invalid, each one U+FFFD.
    EXPECT_EQ(DecodeExactUtf8("\x93x\x94").toStdU16String(), u"\uFFFDx\uFFFD");
    EXPECT_EQ(DecodeExactUtf8("{\\rtf1 a\\par}").toStdU16String(), u"{\\rtf1 a\\par}");
    EXPECT_EQ(DecodeExactUtf8("").toStdU16String(), u"");
}

// What cannot be read twice is kept, and counted, until the last reading lets it go: the bytes of
// a stream, or the plain text of rich text (read whole).
TEST(TextDecodingTest, WhatIsKeptToReadAgainIsCountedUntilLetGo) {
    DecodedText stream(QByteArray("one\ntwo\n"), DecodedText::Form::AsLoaded);
    EXPECT_EQ(stream.KeptBytes(), 8);
    EXPECT_EQ(stream.ReadAll(), u"one\r\ntwo\r\n"_s);
    EXPECT_EQ(stream.KeptBytes(), 8) << "read again as often as asked";
    stream.Release();
    EXPECT_EQ(stream.KeptBytes(), 0);

    DecodedText rich(QByteArray("{\\rtf1 one\\par two}"), DecodedText::Form::AsLoaded);
    EXPECT_EQ(rich.KeptBytes(), 2 * rich.Length());
    rich.Release();
    EXPECT_EQ(rich.KeptBytes(), 0);
}
