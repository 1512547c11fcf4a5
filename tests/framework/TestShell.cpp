// Shell: exit status, captured output, the program's folder on PATH, large output.
#include "framework/Shell.h"

#include <gtest/gtest.h>

#include <filesystem>

using fw::Shell;

namespace {

class ShellTest : public ::testing::Test {
protected:
    Shell shell_;
};

} // namespace

// ErrorCode is the exit status as sh gives it, also for a missing command and a signal.
TEST_F(ShellTest, ErrorCodeIsTheExitStatus) {
    shell_.Execute("true");
    EXPECT_EQ(shell_.ErrorCode(), 0);
    shell_.Execute("exit 3");
    EXPECT_EQ(shell_.ErrorCode(), 3);
    shell_.Execute("no-such-command-quillfen");
    EXPECT_EQ(shell_.ErrorCode(), 127);
    shell_.Execute("kill -TERM $$");
    EXPECT_EQ(shell_.ErrorCode(), 128 + 15);
}

// Result holds what the command wrote to stdout and stderr; a new run starts empty; a command reading
// its input ends at once instead of waiting for a user.
TEST_F(ShellTest, ResultCapturesBothStreamsAndInputIsEmpty) {
    shell_.Execute("printf out; printf err >&2; printf ' \\n'");
    EXPECT_EQ(shell_.Result(), "outerr \n");
    shell_.Execute("true");
    EXPECT_EQ(shell_.Result(), "");
    shell_.Execute("cat; echo done");
    EXPECT_EQ(shell_.Result(), "done\n");
}

// The folder of the running program comes first on PATH, so our own tools are found first.
TEST_F(ShellTest, ProgramFolderFirstOnPath) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    shell_.Execute("printf '%s' \"$PATH\"");
    EXPECT_TRUE(shell_.Result().starts_with(std::filesystem::path(self).parent_path().string() + ":"))
        << shell_.Result();
    shell_.Execute("command -v " + std::filesystem::path(self).filename().string());
    EXPECT_EQ(shell_.Result(), self + "\n");
}

// Output far larger than a pipe holds is read while the command runs, so Execute returns.
TEST_F(ShellTest, LargeOutputDoesNotBlock) {
    shell_.Execute("head -c 3000000 /dev/zero | tr '\\0' a; exit 4");
    EXPECT_EQ(shell_.Result(), std::string(3000000, 'a'));
    EXPECT_EQ(shell_.ErrorCode(), 4);
}
