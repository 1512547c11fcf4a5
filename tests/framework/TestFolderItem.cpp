// FolderItem: HFS paths, shell quoting, text and binary streams, copy and delete.
#include "framework/files/FolderItem.h"
#include "framework/files/Shell.h"
#include "tests/framework/FileTestSupport.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

using namespace fw;
using namespace fwtest;

namespace {

class FolderItemTest : public FileTest {};

using Texts = std::vector<std::string>;

} // namespace

// Every POSIX path maps to one HFS path and back, whatever its names hold; existing folders end in ':'.
TEST_F(FolderItemTest, HfsPathsRoundTrip) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/", "Macintosh HD:"},
        {"/nonexistent-q/b", "Macintosh HD:nonexistent-q:b"},
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
    std::filesystem::create_directory(Path("sub"));
    EXPECT_EQ(GetFolderItem(FolderItem(Path("sub")).AbsolutePath())->PosixPath(), Path("sub/"));
}

// The shell passes a shell path on unchanged, whatever characters the path holds.
TEST_F(FolderItemTest, ShellPathSurvivesRealShell) {
    const Texts names{"$HOME",       "`id`",        "$(id)", "a\"b",   "it's",        "''",
                      "two  spaces", "line\nbreak", "-n",    "Café €", "back\\slash", "*?[a]"};
    Shell shell;
    for (const auto& name : names) {
        shell.Execute("printf '%s' " + FolderItem(Path(name)).ShellPath());
        EXPECT_EQ(shell.Result(), Path(name)) << name;
    }
}

// Lines end at LF, CR LF or CR, also a CR LF split across the reader's blocks; a last line without an
// end is read; bytes stay as they were; ReadAll gives the rest byte for byte, after lines already read.
TEST_F(FolderItemTest, TextStreamLineEndsAndReadAll) {
    const auto readLines = [this](const std::string& bytes) {
        WriteFile(Path("lines.txt"), bytes);
        auto stream = FolderItem(Path("lines.txt")).OpenAsTextFile();
        Texts lines;
        while (stream && !stream->AtEOF())
            lines.push_back(stream->ReadLine());
        return lines;
    };
    EXPECT_EQ((std::vector<Texts>{readLines("a\nb\r\nc\rd"), readLines("x\n"), readLines("\n\r\n\r"),
                                  readLines(""), readLines("\xFF\xE9t\xC3\xA9\t<\r\n")}),
              (std::vector<Texts>{{"a", "b", "c", "d"}, {"x"}, {"", "", ""}, {}, {"\xFF\xE9t\xC3\xA9\t<"}}));
    const std::string longLine((1 << 16) - 1, 'a');
    const std::string other(200000, 'b');
    EXPECT_EQ(readLines(longLine + "\r\n" + other + "\nend"), (Texts{longLine, other, "end"}));

    WriteFile(Path("f"), "first\r\nsecond\rthird\n\xFF");
    auto stream = FolderItem(Path("f")).OpenAsTextFile();
    ASSERT_TRUE(stream);
    // Read left to right, as a braced list is evaluated.
    EXPECT_EQ((Texts{stream->ReadLine(), stream->ReadAll()}), (Texts{"first", "second\rthird\n\xFF"}));
    EXPECT_TRUE(stream->AtEOF());
    stream->Close();
    EXPECT_TRUE(stream->AtEOF());
    EXPECT_EQ(stream->ReadLine(), "");
}

// OpenAsTextFile gives nothing for a missing file, a folder or an unreadable file.
TEST_F(FolderItemTest, OpenAsTextFileFailsCleanly) {
    const FolderItem missing(Path("missing"));
    EXPECT_EQ(missing.OpenAsTextFile(), nullptr);
    EXPECT_EQ(missing.LastErrorCode(), ENOENT);
    EXPECT_EQ(FolderItem(Path("")).OpenAsTextFile(), nullptr);

    WriteFile(Path("secret"), "x");
    ::chmod(Path("secret").c_str(), 0);
    ::chmod(Path("").c_str(), 0755);
    const std::string secret = Path("secret");
    EXPECT_TRUE(RunUnprivileged([&] { return FolderItem(secret).OpenAsTextFile() == nullptr; }));
}
