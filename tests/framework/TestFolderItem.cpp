// FolderItem's HFS paths and shell quoting, and the shell that runs commands: exit status and output.
#include "framework/files/FolderItem.h"
#include "framework/files/Shell.h"

#include <gtest/gtest.h>

using namespace fw;

// Every POSIX path maps to one HFS path and back, whatever its names hold; existing folders end in ':'.
TEST(FolderItemTest, HfsPathsRoundTrip) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/", "Macintosh HD:"},
        {"/nonexistent-q/a:b/c", "Macintosh HD:nonexistent-q:a/b:c"},
        {"/nonexistent-q/Café/ü.plist", "Macintosh HD:nonexistent-q:Café:ü.plist"},
        {"/nonexistent-q/::/", "Macintosh HD:nonexistent-q://:"},
    };
    for (const auto& [posix, hfs] : cases) {
        EXPECT_EQ(FolderItem(posix).AbsolutePath(), hfs);
        const auto back = GetFolderItem(hfs);
        ASSERT_TRUE(back) << hfs;
        EXPECT_EQ(back->PosixPath(), posix);
    }
    for (const char* notOurs : {"Macintosh HD", "Other Disk:Users:", ""})
        EXPECT_FALSE(GetFolderItem(notOurs)) << notOurs;

    // An existing folder named without a trailing slash still gets the folder's trailing ':'.
    EXPECT_EQ(GetFolderItem(FolderItem("/tmp").AbsolutePath())->PosixPath(), "/tmp/");
}

// The shell passes a shell path on unchanged, whatever characters the path holds.
TEST(FolderItemTest, ShellPathSurvivesRealShell) {
    const std::vector<std::string> names{"$HOME", "`id`",   "$(id)",       "a\"b",
                                         "it's",  "''",     "two  spaces", "line\nbreak",
                                         "-n",    "Café €", "back\\slash", "*?[a]"};
    Shell shell;
    for (const auto& name : names) {
        shell.Execute("printf '%s' " + FolderItem("/nonexistent-q/" + name).ShellPath());
        EXPECT_EQ(shell.Result(), "/nonexistent-q/" + name) << name;
    }
}

// ErrorCode is the exit status as sh gives it, also for a missing command and a signal. Result holds what
// the command wrote to stdout and stderr, also output far larger than a pipe holds (read while the command
// runs, so Execute returns); a new run starts empty; a command reading its input ends at once.
TEST(ShellTest, ExitStatusAndAllOutput) {
    Shell shell;
    const std::tuple<std::string, int, std::optional<std::string>> cases[] = {
        {"printf out; printf err >&2; printf ' \\n'", 0, "outerr \n"},
        {"head -c 3000000 /dev/zero | tr '\\0' a", 0, std::string(3000000, 'a')},
        {"true", 0, ""},
        {"exit 3", 3, ""},
        {"no-such-command-quillfen", 127, std::nullopt},
        {"kill -TERM $$", 128 + 15, ""},
        {"cat; echo done", 0, "done\n"}};
    for (const auto& [command, status, result] : cases) {
        shell.Execute(command);
        EXPECT_EQ(shell.ErrorCode(), status) << command;
        EXPECT_EQ(shell.Result(), result.value_or(shell.Result())) << command;
    }
}
