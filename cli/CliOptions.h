#pragma once

#include <QString>
#include <QStringList>

#include <variant>

struct CliOptions {
    enum class Mode { Lines, Words };

    Mode mode = Mode::Lines;
    QString file1;
    QString file2;
    bool exact = false; // the files' bytes as UTF-8, nothing normalised or appended
    bool json = false;
};

// What to print and how to end instead of comparing: help, version or a usage error.
struct CliExit {
    QString text;
    int status = 0;
};

std::variant<CliOptions, CliExit> ParseCliArguments(const QStringList& arguments);
