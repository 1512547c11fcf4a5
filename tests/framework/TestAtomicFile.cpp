// Atomic rewrite: content replaced whole, mode kept, links followed, failures leave the target as it was.
#include "framework/files/AtomicFile.h"
#include "tests/support/TempHome.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <tuple>

#include <gtest/gtest.h>

using namespace fw;
using testsupport::ReadFile;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return home_.Path() + "/" + name; }

    testsupport::TempHome home_;
};

std::tuple<unsigned, uid_t, gid_t> ModeAndOwner(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return {info.st_mode & 07777u, info.st_uid, info.st_gid};
}

long EntryCount(const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

} // namespace

// The target gets the new bytes and keeps its mode and owner (also another user than the writer, when we
// may hand it one); no temporary file stays behind; a missing target is made; links are followed.
TEST_F(AtomicFileTest, ReplacesContentKeepingModeOwnerAndLinks) {
    const std::string target = Path("Bookmarks.plist");
    std::ofstream(target) << "old content that is longer";
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(::geteuid() != 0 || ::chown(target.c_str(), 65534, 65534) == 0); // root hands it to nobody
    const auto modeAndOwner = ModeAndOwner(target);
    EXPECT_TRUE(WriteFileAtomically(FolderItem(target), std::string("new\0\xFF", 5), nullptr));
    EXPECT_EQ(ReadFile(target), std::string("new\0\xFF", 5));
    EXPECT_EQ(ModeAndOwner(target), modeAndOwner);
    EXPECT_EQ(EntryCount(Path("")), 1);

    EXPECT_TRUE(WriteFileAtomically(FolderItem(Path("new")), "x", nullptr));
    EXPECT_EQ(ReadFile(Path("new")), "x");

    // Through a chain of symbolic links the final file is replaced; the links stay links.
    std::filesystem::create_directory(Path("real"));
    std::ofstream(Path("real/Bookmarks.plist")) << "old";
    std::filesystem::create_symlink("real/Bookmarks.plist", Path("relative"));
    std::filesystem::create_symlink(Path("relative"), Path("absolute"));

    EXPECT_TRUE(WriteFileAtomically(FolderItem(Path("absolute")), "new", nullptr));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("absolute")));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("relative")));
    EXPECT_EQ(ReadFile(Path("real/Bookmarks.plist")), "new");
    EXPECT_EQ(EntryCount(Path("real")), 1);
}

// Only a regular file is replaced: a folder, a FIFO, or a link to one stays as it was, with a reason and no
// temporary file; a writer dropped before Commit leaves the target untouched.
TEST_F(AtomicFileTest, FailuresLeaveNoTemporaryFile) {
    std::filesystem::create_directory(Path("folder"));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(Path("fifo"), Path("link"));
    for (const char* name : {"folder", "fifo", "link"}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(FolderItem(Path(name)), "x", &error)) << name;
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder")));
    EXPECT_TRUE(std::filesystem::is_fifo(Path("fifo")));
    EXPECT_EQ(EntryCount(Path("")), 3);
    EXPECT_FALSE(WriteFileAtomically(FolderItem(Path("no/such/file")), "x", nullptr));

    std::ofstream(Path("t")) << "kept";
    {
        AtomicWriter writer{FolderItem(Path("t"))};
        EXPECT_TRUE(writer.Write("partial"));
    }
    EXPECT_EQ(ReadFile(Path("t")), "kept");
    EXPECT_EQ(EntryCount(Path("")), 4);
}
