#pragma once

#include "DeviceNode.h"

#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

// Streams that take no bytes: a full device made in the test's own folder (where making devices is
// permitted) and a pipe whose reader is gone. While this lives, SIGPIPE is ignored, so that writing
// to the pipe fails with EPIPE instead of ending the test; programs started meanwhile inherit that.
class UnwritableStreams {
public:
    struct Stream {
        std::string name;
        std::FILE* file;
    };

    explicit UnwritableStreams(const QTemporaryDir& dir)
        : savedPipeSignal_(std::signal(SIGPIPE, SIG_IGN)) {
        const QString full = MakeWorkingDeviceIn(dir, QStringLiteral("full"), kFullDevice);
        if (!full.isEmpty())
            Add("a full device", std::fopen(QFile::encodeName(full).constData(), "w"));
        int ends[2];
        if (pipe(ends) == 0) {
            close(ends[0]);
            Add("a pipe no one reads", fdopen(ends[1], "w"));
        }
    }
    ~UnwritableStreams() {
        for (const Stream& stream : streams_)
            std::fclose(stream.file);
        std::signal(SIGPIPE, savedPipeSignal_);
    }
    UnwritableStreams(const UnwritableStreams&) = delete;
    UnwritableStreams& operator=(const UnwritableStreams&) = delete;

    const std::vector<Stream>& All() const { return streams_; }

private:
    void Add(std::string name, std::FILE* file) {
        if (file != nullptr)
            streams_.push_back({std::move(name), file});
    }

    void (*savedPipeSignal_)(int);
    std::vector<Stream> streams_;
};
