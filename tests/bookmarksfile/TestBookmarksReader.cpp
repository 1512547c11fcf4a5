#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksReader.h"
#include "framework/text/Text.h"

#include "BookmarksFixture.h"
#include "TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

using namespace quillfen;

namespace {

using testsupport::BookmarksFixture, testsupport::Form, testsupport::Encoding;

// Runs check in a child process as user "nobody" (65534) when we are root, for whom no permission bit
// holds, else directly; its result. The paths the check touches must be reachable for that user.
bool RunUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct RowRecorder : BookmarkSink {
    void AddBookmark(const BookmarkRow& row) override { rows.push_back(row); }
    std::vector<BookmarkRow> rows;
};

// One cell of every row, as the result's arrays keep them.
std::vector<std::string> Column(const std::vector<BookmarkRow>& rows, std::string BookmarkRow::*cell) {
    std::vector<std::string> cells;
    for (const BookmarkRow& row : rows)
        cells.push_back(row.*cell);
    return cells;
}

// The text up to and including the line that holds the nth (from 1) occurrence of marker.
std::string CutAfterLine(const std::string& text, std::string_view marker, int nth) {
    std::size_t at = 0;
    for (int i = 0; i < nth; ++i)
        at = text.find(marker, i == 0 ? 0 : at + 1);
    return text.substr(0, text.find('\n', at) + 1);
}

class BookmarksReaderTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(home.Path() + "/Library/Safari"); }

    // A fresh list for each load, as the main window empties its list first.
    ReadResult Load() {
        sink.rows.clear();
        return ReadBookmarks(file, sink);
    }

    std::string FileText() const { return testsupport::ReadFile(file.PosixPath()); }

    // The XML text our plutil makes of the fixture.
    std::string ConvertedText(const BookmarksFixture& fixture) {
        EXPECT_TRUE(fixture.Write(file.PosixPath(), Encoding::Binary));
        Load();
        return FileText();
    }

    static BookmarksFixture Numbered(int count) {
        BookmarksFixture fixture(Form::Modern);
        for (int i = 1; i <= count; ++i) {
            const std::string n = std::to_string(i);
            fixture.Add("BookmarksBar", {"Site " + n, "http://site" + n + ".example/", "UUID-" + n});
        }
        return fixture;
    }

    testsupport::TempHome home;
    fw::FolderItem file = BookmarksFile();
    RowRecorder sink;
};

// Both file layouts, binary or XML, list exactly the bookmarks whose URL begins with "http" or "feed", in
// file order with keys that leave no gaps, texts verbatim; a bookmark without a title, or with a multi-line
// one, has an empty name. An entry without URL or UUID, or with an empty or multi-line URL or UUID, is left
// out, never taking the next entry's lines or its folder's UUID.
TEST_F(BookmarksReaderTest, ListsWebAndFeedBookmarksOfEveryForm) {
    const std::vector<BookmarkRow> expected{
        {"Apple", "http://www.apple.com/", "000001", "UUID-APPLE"},
        {"AT&amp;T &lt;Mobile&gt;", "https://att.example/?a=1&amp;b=2", "000002", "UUID-ATT"},
        {"", "http://untitled.example/", "000003", "UUID-EMPTY"},
        {"", "http://b.example/", "000004", "UUID-B"},
        {"Z\xC3\xBCrich caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "http://z\xC3\xBCrich.example/", "000005",
         "UUID-ZURICH"},
        {"News", "FEED://news.example/rss", "000006", "UUID-FEED"},
        {"", "http://untitled-too.example/", "000007", "UUID-NO-TITLE"},
        {"Later", "https://later.example/read", "000008", "UUID-LATER"},
    };
    for (const Form form : {Form::Modern, Form::Older}) {
        // Bookmarks of every kind the reader must tell apart, spread over folders and the Reading List.
        BookmarksFixture fixture(form);
        fixture.Add("BookmarksBar", {"Apple", "http://www.apple.com/", "UUID-APPLE"});
        fixture.Add("BookmarksBar", {"No URL", std::nullopt, "UUID-C"});
        fixture.Add("BookmarksBar", {"AT&T <Mobile>", "https://att.example/?a=1&b=2", "UUID-ATT"});
        fixture.Add("BookmarksBar", {"", "http://untitled.example/", "UUID-EMPTY"});
        fixture.Add("BookmarksBar", {"No UUID", "http://e.example/", std::nullopt});
        fixture.Add("BookmarksMenu", {"Two\nlines", "http://b.example/", "UUID-B"});
        fixture.Add("BookmarksMenu", {"Empty UUID", "http://g.example/", ""});
        fixture.Add("BookmarksMenu", {"Z\xC3\xBCrich caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC",
                                      "http://z\xC3\xBCrich.example/", "UUID-ZURICH"});
        fixture.Add("BookmarksMenu", {"Broken URL", "http://three.example/\nrest", "UUID-THREE"});
        fixture.Add("BookmarksMenu", {"News", "FEED://news.example/rss", "UUID-FEED"});
        fixture.Add("BookmarksMenu", {"Broken UUID", "http://four.example/", "UUID\nFOUR"});
        fixture.Add("BookmarksMenu", {"Bookmarklet", "javascript:location='http://x.example/'", "UUID-JS2"});
        fixture.Add("BookmarksMenu", {std::nullopt, "http://untitled-too.example/", "UUID-NO-TITLE"});
        fixture.Add("com.apple.ReadingList", {"Later", "https://later.example/read", "UUID-LATER"},
                    "First line\n<key>URIDictionary</key>\nhttp://not.a.bookmark/");
        for (const Encoding encoding : {Encoding::Xml, Encoding::Binary}) {
            SCOPED_TRACE(testing::Message()
                         << "modern " << (form == Form::Modern) << ", xml " << (encoding == Encoding::Xml));
            ASSERT_TRUE(fixture.Write(file.PosixPath(), encoding));

            const ReadResult result = Load();

            EXPECT_EQ(result.status, ReadStatus::Ok);
            EXPECT_EQ(sink.rows, expected);
            EXPECT_EQ(result.urlArray, Column(expected, &BookmarkRow::url));
            EXPECT_EQ(result.UUIDArray, Column(expected, &BookmarkRow::uuid));
            EXPECT_TRUE(result.wholeText.starts_with("<?xml")) << "the file stays converted";
            EXPECT_EQ(result.wholeText, FileText());
        }
    }
}

// Texts plutil would never write, read as they stand: what can be read is listed; a text ending inside an
// entry keeps the rows before it; a marker on the last line (the rest on one line) is a read failure that
// keeps the rows before it but not the text; any line ends serve.
TEST_F(BookmarksReaderTest, DamagedTextsKeepWhatCanBeRead) {
    const std::string text = ConvertedText(Numbered(3));
    const std::string head = CutAfterLine(text, "<string>UUID-1</string>", 1);
    std::string oneLine = fw::Join(fw::SplitB(text.substr(head.size()), "\n"), "");
    oneLine = oneLine.substr(0, oneLine.rfind("</dict>"));
    std::vector<BookmarkRow> all;
    for (const std::string i : {"1", "2", "3"})
        all.push_back({"Site " + i, "http://site" + i + ".example/", "00000" + i, "UUID-" + i});

    const std::vector<std::tuple<const char*, std::string, ReadStatus, std::vector<BookmarkRow>>> cases{
        {"at a URL key", CutAfterLine(text, "<key>URLString</key>", 3), ReadStatus::Ok, {all[0], all[1]}},
        {"at the last UUID", CutAfterLine(text, "<string>UUID-3</string>", 1), ReadStatus::Ok, all},
        {"CR", fw::Join(fw::SplitB(text, "\n"), "\r"), ReadStatus::Ok, all},
        {"marker on the last line", head + oneLine, ReadStatus::ReadFailure, {all[0]}},
    };
    for (const auto& [what, input, status, rows] : cases) {
        SCOPED_TRACE(what);
        sink.rows.clear();

        const ReadResult result = ListBookmarks(input, sink);

        EXPECT_EQ(result.status, status);
        EXPECT_EQ(sink.rows, rows);
        EXPECT_EQ(result.UUIDArray, Column(rows, &BookmarkRow::uuid));
        EXPECT_EQ(result.wholeText, status == ReadStatus::Ok ? input : "");
    }
}

// Whatever stands at the path, a file that cannot be converted or read ends the load at once as a read
// failure without rows, and stays as it was; so does a binary file in a folder the user may not write.
TEST_F(BookmarksReaderTest, FilesThatCannotBeReadAreReadFailures) {
    const std::string path = file.PosixPath(), folder = home.Path() + "/Library/Safari";
    const std::string xml = ConvertedText(Numbered(2));
    for (const std::string& parent : {home.Path(), home.Path() + "/Library"})
        ::chmod(parent.c_str(), 0755);
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"unwritable folder",
         [&] { Numbered(1).Write(path, Encoding::Binary), ::chmod(folder.c_str(), 0555); }},
        {"link to a FIFO",
         [&] {
             ::mkfifo((path + ".fifo").c_str(), 0644), std::filesystem::create_symlink(path + ".fifo", path);
         }},
        {"link to a device", [&] { std::filesystem::create_symlink("/dev/zero", path); }},
        {"XML cut short", [&] { std::ofstream(path) << CutAfterLine(xml, "<string>UUID-1</string>", 1); }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        ::chmod(folder.c_str(), 0755);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        make();
        const std::string before = std::filesystem::is_regular_file(path) ? FileText() : "";

        EXPECT_TRUE(RunUnprivileged([this] {
            const ReadResult result = Load();
            return result.status == ReadStatus::ReadFailure && sink.rows.empty() && result.urlArray.empty() &&
                   result.wholeText.empty();
        }));
        EXPECT_EQ(before.empty() ? "" : FileText(), before);
    }
}

} // namespace
