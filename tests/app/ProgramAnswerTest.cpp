// The built program itself, asked for its help or version: an answer it cannot write is trouble.
#include "UnwritableStreams.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

struct Ending {
    int status; // the exit status, or 128 and the signal that ended it
    QByteArray messages;
};

// Runs the window's program with `option`, its output going to `out` and its messages to a file
// in `dir`.
Ending RunProgram(const char* option, int out, const QTemporaryDir& dir) {
    const QByteArray messages = QFile::encodeName(dir.filePath(u"messages"_s));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, messages.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    char program[] = TARNWICK_PROGRAM;
    char* argv[] = {program, const_cast<char*>(option), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid)
        return {-1, "not started"};
    QFile file(dir.filePath(u"messages"_s));
    (void)file.open(QIODevice::ReadOnly);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), file.readAll()};
}

} // namespace

TEST(ProgramAnswerTest, HelpAndVersionThatCannotBeWrittenEndInTrouble) {
    QTemporaryDir dir;
    const UnwritableStreams unwritable(dir);
    ASSERT_FALSE(unwritable.All().empty());
    for (const char* option : {"--help", "--version"}) {
        for (const UnwritableStreams::Stream& out : unwritable.All()) {
            const Ending ending = RunProgram(option, fileno(out.file), dir);
            EXPECT_EQ(ending.status, 2) << option << " to " << out.name;
            EXPECT_EQ(ending.messages, "tarnwick: the answer could not be written\n")
                << option << " to " << out.name;
        }
        std::FILE* file = std::fopen(QFile::encodeName(dir.filePath(u"answer"_s)).constData(), "w");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(RunProgram(option, fileno(file), dir).status, 0) << option << " to a file";
        std::fclose(file);
    }
}
