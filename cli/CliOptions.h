#pragma once

#include "compare/ComparisonRules.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <variant>

// The file name that stands for standard input; a file of that name is reached as ./-.
inline constexpr char kStandardInput[] = "-";

struct CliOptions {
    enum class Mode { Lines, Words };

    Mode mode = Mode::Lines;
    // The files as the system names them: bytes in the local file-name encoding, which need not
    // be valid in any encoding.
    QByteArray file1;
    QByteArray file2;
    bool exact = false; // the files' bytes as UTF-8, nothing normalised or appended
    bool json = false;
    bool explain = false;     // each difference's look-alike in the other file, where it has one
    bool lineNumbers = false; // each entry of the readable report after its line number
    bool counts = false; // lines: also the lines the two files hold a different number of times
    bool quiet = false;  // no report, only the exit status
    bool count = false;  // only how many differences each file has
    // What counts as no difference: none by default, the comparisons as they always were.
    compare::ComparisonRules rules;
    // The memory the comparison may take (--memory); by default three times the files' size and
    // 100 MB, but never more than half the machine's memory.
    std::optional<qint64> memoryBytes;

    friend bool operator==(const CliOptions&, const CliOptions&) = default;
};

// The memory a comparison of files of `fileBytes` together may take, as `options` set it.
qint64 MemoryAllowance(const CliOptions& options, qint64 fileBytes);

// A size as --memory takes it: a whole number of bytes, or of KiB, MiB, GiB or TiB with the
// suffix K, M, G or T (either case, "B" or "iB" may follow). Nothing for anything else or 0.
std::optional<qint64> ParseMemorySize(const QString& text);

// What to print and how to end instead of comparing: help, version or a usage error (one line).
struct CliExit {
    QString text;
    int status = 0;
};

// `arguments` as the program was given them, its own name first.
std::variant<CliOptions, CliExit> ParseCliArguments(const QList<QByteArray>& arguments);
// The same for arguments already decoded (tests).
std::variant<CliOptions, CliExit> ParseCliArguments(const QStringList& arguments);

// Prints help or the version to `out`, a usage error to `err` in one line; returns the exit
// status. An answer that cannot be written is trouble.
int PrintCliExit(const CliExit& exit, std::FILE* out, std::FILE* err);
