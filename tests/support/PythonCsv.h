#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

// The records of a CSV file as Python's csv module reads them, strictly, as UTF-8: a widely used
// reader's view of RFC 4180. Nothing when there is no python3 to ask.
inline std::optional<std::vector<QStringList>> RecordsReadByPython(const QString& path) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    const QString script = QStringLiteral(
        "import csv, json, sys\n"
        "with open(sys.argv[1], newline='', encoding='utf-8', errors='strict') as f:\n"
        "    sys.stdout.write(json.dumps(list(csv.reader(f, strict=True))))\n");
    QProcess process;
    process.start(python, {QStringLiteral("-I"), QStringLiteral("-c"), script, path});
    std::vector<QStringList> records;
    if (!process.waitForFinished(60'000) || process.exitCode() != 0) {
        ADD_FAILURE() << "python3 could not read " << path.toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return records;
    }
    for (const QJsonValue record : QJsonDocument::fromJson(process.readAllStandardOutput()).array())
        records.push_back(record.toVariant().toStringList());
    return records;
}
