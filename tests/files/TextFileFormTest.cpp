#include "files/DecodedText.h"
#include "files/TextDecoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace Qt::StringLiterals;

namespace {

using Encoding = TextFileForm::Encoding;

struct FormCase {
    const char* name;
    QByteArray bytes;
    Encoding encoding;
    bool byteOrderMark;
    LineBreak lineBreak;
    bool mixed;
    // Each break as noted: W for CR LF, L for LF, C for CR.
    std::string eachBreak;
};

QByteArray Utf16(QStringView text, bool bigEndian) {
    QByteArray bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const QChar unit : text) {
        const char high = static_cast<char>(unit.unicode() >> 8);
        const char low = static_cast<char>(unit.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

std::string Letters(const LineBreakKinds& kinds) {
    std::string letters;
    for (qsizetype i = 0; i < kinds.Count(); ++i)
        letters += "WLC"[static_cast<int>(kinds.At(i))];
    return letters;
}

class TextFileFormTest : public ::testing::TestWithParam<FormCase> {};

} // namespace

// Whatever the chunks the file is read in, a CR LF split between two of them included, the form
// and each break noted are the file's, and noting them leaves the text as it is.
TEST_P(TextFileFormTest, TellsTheFilesEncodingAndLineBreaks) {
    const FormCase& c = GetParam();
    for (const qsizetype chunk : {qsizetype{4}, qsizetype{5}, qsizetype{7}, kDecodingChunkBytes}) {
        SCOPED_TRACE(chunk);
        DecodedText decoded(c.bytes, DecodedText::Form::AsLoaded, chunk);
        const TextFileForm form = decoded.FileForm();
        EXPECT_EQ(form.encoding, c.encoding);
        EXPECT_EQ(form.byteOrderMark, c.byteOrderMark);
        EXPECT_EQ(form.lineBreak, c.lineBreak);
        EXPECT_EQ(form.mixedBreaks, c.mixed);
        LineBreakKinds kinds;
        const QString text = decoded.ReadAll(&kinds);
        EXPECT_EQ(text, DecodeText(c.bytes));
        EXPECT_EQ(Letters(kinds), c.eachBreak);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, TextFileFormTest,
    ::testing::Values(
        FormCase{"lf", "one\ntwo\n", Encoding::Utf8, false, LineBreak::Lf, false, "LL"},
        FormCase{"crlf", "one\r\ntwo", Encoding::Utf8, false, LineBreak::CrLf, false, "W"},
        FormCase{"cr", "one\rtwo\r", Encoding::Utf8, false, LineBreak::Cr, false, "CC"},
        FormCase{"none", "", Encoding::Utf8, false, kSystemLineBreak, false, ""},
        FormCase{"mixed", "one\r\ntwo\nthree\rfour\r\n", Encoding::Utf8, false, LineBreak::CrLf,
                 true, "WLCW"},
        // Lines longer than the eight units looked at together.
        FormCase{"mixed_long", "abcdefghijkl\nmnopqrstuvwxyz\r\nabcdefghijklmnop\n", Encoding::Utf8,
                 false, LineBreak::Lf, true, "LWL"},
        FormCase{"breaks_only", "\r\r\n\n\n", Encoding::Utf8, false, LineBreak::Lf, true, "CWLL"},
        FormCase{"utf8_bom",
                 "\xEF\xBB\xBF"
                 "caf\xC3\xA9\r\n",
                 Encoding::Utf8, true, LineBreak::CrLf, false, "W"},
        FormCase{"utf8", "\xE2\x82\xAC 5\n", Encoding::Utf8, false, LineBreak::Lf, false, "L"},
        FormCase{"windows1252", "caf\xE9\r\n\x80\n\n", Encoding::Windows1252, false, LineBreak::Lf,
                 true, "WLL"},
        FormCase{"utf16le", Utf16(u"a\r\nb\r\nc\n", false), Encoding::Utf16LE, true,
                 LineBreak::CrLf, true, "WWL"},
        FormCase{"utf16be", Utf16(u"x\ry\r", true), Encoding::Utf16BE, true, LineBreak::Cr, false,
                 "CC"},
        FormCase{"rich_text", "{\\rtf1 one\\par two\\par}", Encoding::RichText, false,
                 kSystemLineBreak, false, ""}),
    [](const auto& named) { return std::string(named.param.name); });
