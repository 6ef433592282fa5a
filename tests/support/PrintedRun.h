#pragma once

#include <QByteArray>

#include <cstdio>

// What `run(FILE*)` prints, caught in a scratch stream that has no name and is gone once closed;
// what it returns goes to `status`.
template <typename Run, typename Status> QByteArray Printed(Run&& run, Status& status) {
    std::FILE* out = std::tmpfile();
    status = run(out);
    std::rewind(out);
    QByteArray printed;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        printed.append(buffer, static_cast<qsizetype>(n));
    std::fclose(out);
    return printed;
}
