#include "cli/CliComparison.h"
#include "cli/CliOptions.h"
#include "cli/OutputPipe.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char** argv) {
    // A report past the file size limit is a failed write, not the end of the process.
    std::signal(SIGXFSZ, SIG_IGN);
#ifdef __GLIBC__
    // Large blocks come straight from the system and go back to it when freed: report bytes kept
    // by one thread and let go by another must not linger in the first one's heap.
    mallopt(M_MMAP_THRESHOLD, 512 * 1024);
#endif
    QCoreApplication app(argc, argv);
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const auto parsed = ParseCliArguments(arguments);
    if (const auto* exit = std::get_if<CliExit>(&parsed))
        return PrintCliExit(*exit, stdout, stderr);
    WidenOutputPipe(stdout);
    const int status = RunCliComparison(std::get<CliOptions>(parsed), stdout);
    // A file that is still being read (a pipe no one writes to) must not hold the end up.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
