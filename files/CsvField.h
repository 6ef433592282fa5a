#pragma once

#include <QString>
#include <QStringView>

// What ends each record of a CSV file, the header's too (RFC 4180).
inline constexpr QStringView kCsvRecordEnd = u"\r\n";

// Appends one field of a CSV record (RFC 4180): as it is, or in double quotes with each quote
// doubled when it holds a comma, a double quote, a CR or an LF.
void AppendCsvField(QStringView field, QString& out);
