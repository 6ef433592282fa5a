#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "app/WindowRules.h"

#include <cstdio>
#include <optional>
#include <variant>

// What `tarnwick [--lines | --words] [RULES] [FILE1 [FILE2]]` asks of the window once it is shown.
struct WindowCommandLine {
    enum class Comparison { None, Lines, Words };

    // Absolute, in native form: the first goes into side 1, the second into side 2.
    QStringList files;
    Comparison comparison = Comparison::None;
    // The comparison rules for this run (--ignore, -i, -Z, -b, -w, -I, --mask), when any is given:
    // they take the place of the remembered ones and are not remembered.
    std::optional<WindowRules> rules;
};

// Help, the version or a usage error instead of a window: print `text` (on stdout when `status`
// is 0, on stderr otherwise) and end with `status`.
struct CommandLineExit {
    QString text;
    int status = 0;
};

// Prints `exit` and gives the status to end with: an answer that cannot be written all the way
// (a full disk, a closed pipe) is trouble, told on `err`.
int PrintCommandLineExit(const CommandLineExit& exit, std::FILE* out, std::FILE* err);

// `arguments` begins with the program's name. Needs no application object, so that --help and
// --version answer where no display is. Qt's own start-up options (-platform, -style ...) are
// accepted and left to QApplication, which reads them from the same arguments.
std::variant<WindowCommandLine, CommandLineExit>
ParseWindowCommandLine(const QStringList& arguments);
// The same for the arguments as the system gives them: a file's name may be any bytes, and it is
// that file that loads (see FileNames).
std::variant<WindowCommandLine, CommandLineExit>
ParseWindowCommandLine(const QList<QByteArray>& arguments);
