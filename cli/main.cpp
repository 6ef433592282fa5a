#include "cli/CliComparison.h"
#include "cli/CliOptions.h"
#include "cli/OutputPipe.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto parsed = ParseCliArguments(QCoreApplication::arguments());
    if (const auto* exit = std::get_if<CliExit>(&parsed)) {
        std::FILE* stream = exit->status == 0 ? stdout : stderr;
        std::fprintf(stream, "%s\n", exit->text.toUtf8().constData());
        return exit->status;
    }
    WidenOutputPipe(stdout);
    return RunCliComparison(std::get<CliOptions>(parsed), stdout);
}
