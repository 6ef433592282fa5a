#include "cli/CliComparison.h"
#include "cli/CliOptions.h"
#include "cli/OutputPipe.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace {

// Help, version or a usage error; an answer that cannot be written is trouble.
int Exit(const CliExit& exit) {
    std::FILE* stream = exit.status == 0 ? stdout : stderr;
    const QByteArray text = exit.text.toUtf8();
    const bool written =
        std::fprintf(stream, "%s%s\n",
                     exit.status == 0 ? "" : "tarnwick-cli: ", text.constData()) >= 0 &&
        std::fflush(stream) == 0;
    if (!written) {
        std::fprintf(stderr, "tarnwick-cli: the answer could not be written\n");
        return 2;
    }
    return exit.status;
}

} // namespace

int main(int argc, char** argv) {
    // A report past the file size limit is a failed write, not the end of the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const auto parsed = ParseCliArguments(arguments);
    if (const auto* exit = std::get_if<CliExit>(&parsed))
        return Exit(*exit);
    WidenOutputPipe(stdout);
    const int status = RunCliComparison(std::get<CliOptions>(parsed), stdout);
    // A file that is still being read (a pipe no one writes to) must not hold the end up.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
