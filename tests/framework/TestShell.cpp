// Shell: exit status and captured output, also large. (Finding our own tools first on PATH is left to
// the bookmarks file tests, which run plutil through it.)
#include "framework/files/Shell.h"

#include <gtest/gtest.h>

using fw::Shell;

// ErrorCode is the exit status as sh gives it, also for a missing command and a signal.
TEST(ShellTest, ErrorCodeIsTheExitStatus) {
    Shell shell;
    const std::vector<std::pair<std::string, int>> cases{
        {"true", 0}, {"exit 3", 3}, {"no-such-command-quillfen", 127}, {"kill -TERM $$", 128 + 15}};
    for (const auto& [command, status] : cases) {
        shell.Execute(command);
        EXPECT_EQ(shell.ErrorCode(), status) << command;
    }
}

// Result holds what the command wrote to stdout and stderr, also output far larger than a pipe holds
// (read while the command runs, so Execute returns); a new run starts empty; a command reading its input
// ends at once instead of waiting for a user.
TEST(ShellTest, ResultCapturesAllOutputAndInputIsEmpty) {
    Shell shell;
    shell.Execute("printf out; printf err >&2; printf ' \\n'");
    EXPECT_EQ(shell.Result(), "outerr \n");
    shell.Execute("head -c 3000000 /dev/zero | tr '\\0' a");
    EXPECT_EQ(shell.Result(), std::string(3000000, 'a'));
    shell.Execute("true");
    EXPECT_EQ(shell.Result(), "");
    shell.Execute("cat; echo done");
    EXPECT_EQ(shell.Result(), "done\n");
}
