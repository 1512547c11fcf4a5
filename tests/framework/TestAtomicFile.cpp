// Atomic rewrite: content replaced whole, mode kept, links followed, failures leave the target as it was.
#include "framework/files/AtomicFile.h"
#include "tests/support/TempHome.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <tuple>

#include <gtest/gtest.h>

using namespace fw;
using testsupport::EntryCount, testsupport::ReadFile;

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

// Only a regular file that its owner may write is replaced: a folder, a FIFO, a link to one, or a file made
// read-only (also for a privileged user) stays as it was, with a reason and no temporary file; a writer
// dropped before Commit leaves the target untouched. A writer removes the temporary files a killed writer of
// the same target left, and no other file.
TEST_F(AtomicFileTest, FailuresLeaveNoTemporaryFile) {
    std::filesystem::create_directory(Path("folder"));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(Path("fifo"), Path("link"));
    std::ofstream(Path("read-only")) << "kept";
    ::chmod(Path("read-only").c_str(), 0444);
    for (const char* name : {"folder", "fifo", "link", "read-only"}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(FolderItem(Path(name)), "x", &error)) << name;
        EXPECT_NE(error.find(name == std::string("read-only") ? "write-protected" : "not a regular file"),
                  std::string::npos)
            << error;
    }
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder")));
    EXPECT_TRUE(std::filesystem::is_fifo(Path("fifo")));
    EXPECT_EQ(ReadFile(Path("read-only")), "kept");
    EXPECT_EQ(EntryCount(Path("")), 4);
    EXPECT_FALSE(WriteFileAtomically(FolderItem(Path("no/such/file")), "x", nullptr));

    std::ofstream(Path("t")) << "kept";
    {
        AtomicWriter writer{FolderItem(Path("t"))};
        EXPECT_TRUE(writer.Write("partial"));
    }
    EXPECT_EQ(ReadFile(Path("t")), "kept");
    EXPECT_EQ(EntryCount(Path("")), 5);

    for (const char* name : {".t.tmp-0123abcd", ".t.tmp-0123abcde", ".u.tmp-0123abcd"})
        std::ofstream(Path(name)) << "left";
    EXPECT_TRUE(WriteFileAtomically(FolderItem(Path("t")), "new", nullptr));
    EXPECT_FALSE(std::filesystem::exists(Path(".t.tmp-0123abcd")));
    EXPECT_EQ(EntryCount(Path("")), 7);
}

// Commit replaces the target only while it is the version that was read: another program's save renamed
// over it, a size or a modification time (to the nanosecond) changed since, leave that program's file.
TEST_F(AtomicFileTest, ReplacesOnlyTheVersionRead) {
    const std::string target = Path("Bookmarks.plist");
    const std::function<void()> saves[] = {
        [] {},
        [&] {
            std::ofstream(Path("saved")) << "read";
            std::filesystem::rename(Path("saved"), target);
        },
        [&] { std::ofstream(target, std::ios::app) << "+"; },
        [&] {
            struct stat info {};
            ::stat(target.c_str(), &info);
            ++info.st_mtim.tv_nsec %= 1'000'000'000;
            const timespec times[] = {info.st_atim, info.st_mtim};
            ::utimensat(AT_FDCWD, target.c_str(), times, 0);
        },
    };
    for (const auto& save : saves) {
        std::ofstream(target) << "read";
        FileStamp read;
        ASSERT_TRUE(FolderItem(target).ReadAll(100, &read));
        AtomicWriter writer{FolderItem(target)};
        writer.ReplaceOnlyIf(read);
        ASSERT_TRUE(writer.Write("new"));
        save();
        const bool untouched = &save == &saves[0];
        const std::string theirs = ReadFile(target);
        EXPECT_EQ(writer.Commit(), untouched);
        EXPECT_EQ(writer.TargetChanged(), !untouched);
        EXPECT_EQ(ReadFile(target), untouched ? "new" : theirs);
        EXPECT_EQ(EntryCount(Path("")), 1);
    }
}
