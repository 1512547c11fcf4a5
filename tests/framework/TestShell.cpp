// Shell: exit status, captured output (also large), the program's folder on PATH.
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
    const std::vector<std::pair<std::string, int>> cases{
        {"true", 0}, {"exit 3", 3}, {"no-such-command-quillfen", 127}, {"kill -TERM $$", 128 + 15}};
    for (const auto& [command, status] : cases) {
        shell_.Execute(command);
        EXPECT_EQ(shell_.ErrorCode(), status) << command;
    }
}

// Result holds what the command wrote to stdout and stderr, also output far larger than a pipe holds
// (read while the command runs, so Execute returns); a new run starts empty; a command reading its input
// ends at once instead of waiting for a user.
TEST_F(ShellTest, ResultCapturesAllOutputAndInputIsEmpty) {
    shell_.Execute("printf out; printf err >&2; printf ' \\n'");
    EXPECT_EQ(shell_.Result(), "outerr \n");
    shell_.Execute("head -c 3000000 /dev/zero | tr '\\0' a");
    EXPECT_EQ(shell_.Result(), std::string(3000000, 'a'));
    shell_.Execute("true");
    EXPECT_EQ(shell_.Result(), "");
    shell_.Execute("cat; echo done");
    EXPECT_EQ(shell_.Result(), "done\n");
}

// The folder of the running program comes first on PATH, so our own tools are found first.
TEST_F(ShellTest, ProgramFolderFirstOnPath) {
    const std::string folder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    shell_.Execute("printf '%s' \"$PATH\"");
    EXPECT_TRUE(shell_.Result().starts_with(folder + ":")) << shell_.Result();
}
