#include "files/CsvField.h"

#include "PythonCsv.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Only a field with a comma, a quote, a CR or an LF is quoted, and what is written is what a real
// CSV reader reads: every field back as it was, record by record.
TEST(CsvFieldTest, QuotesWhatMustBeQuotedAndAReaderReadsEveryFieldBack) {
    const QStringList fields = {u"plain"_s,         u""_s,
                                u" blanks kept "_s, u"a,b"_s,
                                u"say \"hi\""_s,    u"\""_s,
                                u"two\r\nlines"_s,  u"lone\rcr"_s,
                                u"lone\nlf"_s,      u"caf\u00e9 \u20ac;\t"_s};
    QString csv;
    std::vector<QStringList> records;
    for (const QString& field : fields) {
        records.push_back({u"1"_s, field});
        csv += u"1,"_s;
        AppendCsvField(field, csv);
        csv += kCsvRecordEnd;
    }
    EXPECT_TRUE(csv.startsWith(u"1,plain\r\n1,\r\n1, blanks kept \r\n1,\"a,b\"\r\n"
                               u"1,\"say \"\"hi\"\"\"\r\n1,\"\"\"\"\r\n1,\"two\r\nlines\"\r\n"_s));
    EXPECT_TRUE(csv.endsWith(u"\r\n1,caf\u00e9 \u20ac;\t\r\n"_s));

    QTemporaryDir folder;
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
