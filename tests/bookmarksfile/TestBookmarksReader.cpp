#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksReader.h"

#include "BookmarksFixture.h"
#include "TempHome.h"
#include "framework/Thread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <tuple>

namespace quillfen {
void PrintTo(const BookmarkRow& row, std::ostream* os) {
    *os << "{" << row.name << " | " << row.url << " | " << row.orderKey << " | " << row.uuid << "}";
}

namespace {

using testsupport::BookmarksFixture;
using Form = BookmarksFixture::Form;
using Encoding = BookmarksFixture::Encoding;

class RowRecorder : public BookmarkSink {
public:
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

    void WriteText(const std::string& text) const {
        std::ofstream(file.PosixPath(), std::ios::binary) << text;
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

// Both file layouts, binary or XML, list exactly the web and feed bookmarks in file order, texts verbatim.
TEST_F(BookmarksReaderTest, ListsWebAndFeedBookmarksOfEveryForm) {
    const std::vector<BookmarkRow> expected{
        {"Apple", "http://www.apple.com/", "000001", "UUID-APPLE"},
        {"AT&amp;T &lt;Mobile&gt;", "https://att.example/?a=1&amp;b=2", "000002", "UUID-ATT"},
        {"", "http://untitled.example/", "000003", "UUID-EMPTY"},
        {"Z\xC3\xBCrich caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "http://z\xC3\xBCrich.example/", "000004",
         "UUID-ZURICH"},
        {"News", "FEED://news.example/rss", "000005", "UUID-FEED"},
        {"Upper", "HTTP://UPPER.EXAMPLE/", "000006", "UUID-UPPER"},
        {"Redirector", "http://inside.example/", "000007", "UUID-INSIDE"},
        {"Later", "https://later.example/read", "000008", "UUID-LATER"},
    };
    for (const Form form : {Form::Modern, Form::Older}) {
        // Bookmarks of every kind the reader must tell apart, spread over folders and the Reading List.
        BookmarksFixture fixture(form);
        fixture.Add("BookmarksBar", {"Apple", "http://www.apple.com/", "UUID-APPLE"});
        fixture.Add("BookmarksBar", {"AT&T <Mobile>", "https://att.example/?a=1&b=2", "UUID-ATT"});
        fixture.Add("BookmarksBar", {"", "http://untitled.example/", "UUID-EMPTY"});
        fixture.Add("BookmarksBar", {"Bookmarklet", "javascript:void(document.title)", "UUID-JS"});
        fixture.Add("BookmarksMenu", {"Z\xC3\xBCrich caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC",
                                      "http://z\xC3\xBCrich.example/", "UUID-ZURICH"});
        fixture.Add("BookmarksMenu", {"Local page", "file:///Users/me/page.html", "UUID-FILE"});
        fixture.Add("BookmarksMenu", {"News", "FEED://news.example/rss", "UUID-FEED"});
        fixture.Add("BookmarksMenu", {"Upper", "HTTP://UPPER.EXAMPLE/", "UUID-UPPER"});
        fixture.Add("BookmarksMenu", {"Redirector", "x-open://go?to=http://inside.example/", "UUID-INSIDE"});
        fixture.AddToReadingList({"Later", "https://later.example/read", "UUID-LATER"},
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

// A missing file, or a folder where the file should be, ends the load as a read failure without text; files
// without bookmark entries (only folders and proxies, or no property list at all) list nothing.
TEST_F(BookmarksReaderTest, FilesWithoutEntriesListNothing) {
    const auto expectNoRows = [this](ReadStatus status) {
        const ReadResult result = Load();
        EXPECT_EQ(result.status, status);
        EXPECT_TRUE(sink.rows.empty() && result.urlArray.empty() && result.UUIDArray.empty());
        return result.wholeText;
    };
    EXPECT_EQ(expectNoRows(ReadStatus::ReadFailure), "");
    ASSERT_TRUE(BookmarksFixture(Form::Modern).Write(file.PosixPath(), Encoding::Binary));
    EXPECT_NE(expectNoRows(ReadStatus::Ok).find("WebBookmarkTypeProxy"), std::string::npos);
    WriteText(std::string("bplist00\x01\x02 not really", 20));
    expectNoRows(ReadStatus::Ok);
    std::filesystem::remove(file.PosixPath());
    std::filesystem::create_directory(file.PosixPath());
    EXPECT_EQ(expectNoRows(ReadStatus::ReadFailure), "");
}

// An entry without title, URL or UUID, or with an empty or multi-line URL or UUID, is left out, never taking
// the next entry's lines or its folder's UUID; a multi-line title (no "</string>") gives an empty name.
TEST_F(BookmarksReaderTest, EntryMissingAValueIsLeftOutAlone) {
    for (const Form form : {Form::Modern, Form::Older}) {
        SCOPED_TRACE(form == Form::Modern ? "modern" : "older");
        BookmarksFixture fixture(form);
        fixture.Add("BookmarksBar", {std::nullopt, "http://a.example/", "UUID-A"});
        fixture.Add("BookmarksBar", {"Two\nlines", "http://b.example/", "UUID-B"});
        fixture.Add("BookmarksBar", {"C", std::nullopt, "UUID-C"});
        fixture.Add("BookmarksBar", {"D", "http://d.example/", "UUID-D"});
        fixture.Add("BookmarksBar", {"E", "http://e.example/", std::nullopt});
        fixture.Add("BookmarksMenu", {"F", "http://f.example/", "UUID-F"});
        fixture.Add("BookmarksMenu", {"G", "http://g.example/", ""});
        fixture.Add("BookmarksMenu", {"Broken URL", "http://three.example/\nrest", "UUID-THREE"});
        fixture.Add("BookmarksMenu", {"Broken UUID", "http://four.example/", "UUID\nFOUR"});
        fixture.Add("BookmarksMenu", {"H", "http://h.example/", "UUID-H"});
        fixture.Add("BookmarksMenu", {"I", "http://i.example/", std::nullopt});
        ASSERT_TRUE(fixture.Write(file.PosixPath(), Encoding::Xml));

        const ReadResult result = Load();

        const std::vector<BookmarkRow> expected{{"", "http://b.example/", "000001", "UUID-B"},
                                                {"D", "http://d.example/", "000002", "UUID-D"},
                                                {"F", "http://f.example/", "000003", "UUID-F"},
                                                {"H", "http://h.example/", "000004", "UUID-H"}};
        EXPECT_EQ(result.status, ReadStatus::Ok);
        EXPECT_EQ(sink.rows, expected);
        EXPECT_EQ(result.UUIDArray, Column(expected, &BookmarkRow::uuid));
    }
}

// A damaged entry that never closes stops at the next entry's marker, which is then read as itself.
TEST_F(BookmarksReaderTest, UnclosedEntryLeavesTheNextOneWhole) {
    const std::string text = ConvertedText(Numbered(2));
    // Cut the first entry from its URL key through its closing "</dict>"; plutil leaves the damaged file be.
    const std::size_t from = text.rfind('\n', text.find("<key>URLString</key>")) + 1;
    const std::size_t to = text.find('\n', CutAfterLine(text, "<string>UUID-1</string>", 1).size()) + 1;
    WriteText(text.substr(0, from) + text.substr(to));

    Load();

    EXPECT_EQ(sink.rows, (std::vector<BookmarkRow>{{"Site 2", "http://site2.example/", "000001", "UUID-2"}}));
}

// A file that ends inside an entry (plutil leaves such a file alone) ends the load with the rows read so far.
TEST_F(BookmarksReaderTest, TruncatedFileKeepsTheRowsReadSoFar) {
    const std::string text = ConvertedText(Numbered(3));
    // Cut after the nth line holding the marker; the History proxy holds the first UUID key.
    for (const auto& [marker, nth, rows] : {std::tuple{"<key>URLString</key>", 3, 2u},
                                            {"<key>WebBookmarkUUID</key>", 4, 2u},
                                            {"<string>UUID-3</string>", 1, 3u}}) {
        SCOPED_TRACE(marker);
        const std::string truncated = CutAfterLine(text, marker, nth);
        WriteText(truncated);

        const ReadResult result = Load();

        EXPECT_EQ(result.status, ReadStatus::Ok);
        EXPECT_EQ(sink.rows.size(), rows);
        EXPECT_EQ(result.urlArray.size(), rows);
        EXPECT_EQ(result.wholeText, truncated);
    }
}

// A bookmark marker on the file's last line (the rest of the text on one line) is a read failure; the
// rows added before it stay, and the whole text is not taken.
TEST_F(BookmarksReaderTest, MarkerOnTheLastLineIsAReadFailure) {
    const std::string text = ConvertedText(Numbered(2));
    const std::string head = CutAfterLine(text, "<string>UUID-1</string>", 1);
    std::string tail = text.substr(head.size());
    std::erase(tail, '\n');
    // Without the root's closing tags plutil refuses the file and leaves it on one line.
    const std::string unclosed = tail.substr(0, tail.rfind("</dict>"));

    WriteText(head + unclosed);
    const ReadResult result = Load();
    EXPECT_EQ(result.status, ReadStatus::ReadFailure);
    EXPECT_EQ(sink.rows, (std::vector<BookmarkRow>{{"Site 1", "http://site1.example/", "000001", "UUID-1"}}));
    EXPECT_EQ(result.urlArray, Column(sink.rows, &BookmarkRow::url));
    EXPECT_EQ(result.UUIDArray, Column(sink.rows, &BookmarkRow::uuid));
    EXPECT_TRUE(result.wholeText.empty());
}

// The load gives way to cooperative threads while it reads, so a running thread is not starved.
TEST_F(BookmarksReaderTest, LoadLetsThreadsRun) {
    ASSERT_TRUE(Numbered(5).Write(file.PosixPath(), Encoding::Binary));
    int slices = 0;
    bool stop = false;
    fw::Thread thread;
    thread.RunEvent = [&] {
        for (; !stop; ++slices)
            fw::BackgroundYield();
    };
    thread.Run();

    Load();

    EXPECT_GT(slices, 5);
    stop = true;
    while (thread.IsRunning())
        fw::BackgroundYield();
}

} // namespace
} // namespace quillfen
