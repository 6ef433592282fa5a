#include "files/CsvField.h"

#include <algorithm>

void AppendCsvField(QStringView field, QString& out) {
    const bool quoted = std::any_of(field.begin(), field.end(), [](QChar unit) {
        return unit == u',' || unit == u'"' || unit == u'\r' || unit == u'\n';
    });
    if (!quoted) {
        out.append(field);
        return;
    }
    out.append(u'"');
    for (qsizetype from = 0;;) {
        const qsizetype quote = field.indexOf(u'"', from);
        if (quote < 0) {
            out.append(field.sliced(from));
            break;
        }
        out.append(field.sliced(from, quote + 1 - from));
        out.append(u'"');
        from = quote + 1;
    }
    out.append(u'"');
}
