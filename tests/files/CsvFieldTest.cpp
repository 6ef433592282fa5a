#include "files/CsvField.h"

#include "PythonCsv.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct FieldCase {
    QString field;
    QString written;
};

class CsvFieldTest : public ::testing::TestWithParam<FieldCase> {};

const FieldCase kFields[] = {
    {u"plain"_s, u"plain"_s},
    {u""_s, u""_s},
    {u" blanks kept "_s, u" blanks kept "_s},
    {u"a,b"_s, u"\"a,b\""_s},
    {u"say \"hi\""_s, u"\"say \"\"hi\"\"\""_s},
    {u"\""_s, u"\"\"\"\""_s},
    {u"two\r\nlines"_s, u"\"two\r\nlines\""_s},
    {u"lone\rcr"_s, u"\"lone\rcr\""_s},
    {u"lone\nlf"_s, u"\"lone\nlf\""_s},
    {u"caf\u00e9 \u20ac;\t"_s, u"caf\u00e9 \u20ac;\t"_s},
};

} // namespace

TEST_P(CsvFieldTest, QuotesOnlyWhatMustBeQuoted) {
    QString out = u"x"_s;
    AppendCsvField(GetParam().field, out);
    EXPECT_EQ(out, u"x"_s + GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Fields, CsvFieldTest, ::testing::ValuesIn(kFields));

// What is written is what a real CSV reader reads: every field back as it was, record by record.
TEST(CsvFieldReadBackTest, APythonReaderReadsEveryFieldBack) {
    QTemporaryDir folder;
    std::vector<QStringList> records;
    QString csv;
    for (const FieldCase& c : kFields) {
        records.push_back({u"1"_s, c.field, u"end"_s});
        for (const QString& field : records.back()) {
            AppendCsvField(field, csv);
            csv.append(u',');
        }
        csv.chop(1);
        csv.append(kCsvRecordEnd);
    }
    const QString path = folder.filePath(u"fields.csv"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder(QStringEncoder::Utf8).encode(csv));
    file.close();
    const auto read = RecordsReadByPython(path);
    if (!read)
        GTEST_SKIP() << "no python3";
    EXPECT_EQ(*read, records);
}
