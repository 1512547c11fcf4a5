// Editing bookmarks in the list as a user does it, Undo, the edit log, and writing the edits into the file.
#include "ListwinFixture.h"
#include "app/Menu.h"
#include "app/MenuItems.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksReader.h"
#include "bookmarksfile/EditLog.h"
#include "framework/Application.h"
#include "framework/MoviePlayer.h"
#include "framework/Shell.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

namespace quillfen {
void PrintTo(const EditRecord& r, std::ostream* os) {
    *os << "{" << r.uuid << " | " << r.newTitle << " | " << r.oldTitle << " | " << r.newURL << " | " << r.oldURL
        << " | " << r.orderKey << "}";
}
} // namespace quillfen

namespace {

using quillfen::EditRecord;
using namespace quillfen::BookmarkColumn;
using Texts = std::vector<std::string>;

class RowRecorder : public quillfen::BookmarkSink {
public:
    void AddBookmark(const quillfen::BookmarkRow& row) override { rows.push_back({row.name, row.url, row.uuid}); }
    std::vector<Texts> rows;
};

class ListwinEditTest : public ListwinTest {
protected:
    void SetUp() override {
        ListwinTest::SetUp();
        app_.SetMenuBar(&quillfen::Menu::Instance());
    }
    void TearDown() override {
        ListwinTest::TearDown();
        app_.SetMenuBar(nullptr);
        quillfen::Menu::Release();
    }

    std::string BookmarksPath() const { return home_.Path() + "/Library/Safari/Bookmarks.plist"; }
    void Load(const std::vector<testsupport::FixtureBookmark>& bookmarks) {
        WriteBookmarksFile(bookmarks);
        ClickButton("PushButton2");
    }
    void ClickButton(const char* name) {
        QTest::mouseClick(fw::detail::WidgetOf(Button(name)), Qt::LeftButton);
    }
    // What a user does: click the row, press "Edit Bookmark", click the cell, type over its text, Return.
    void TypeInto(int row, int column, const std::string& text) {
        ClickCell(row, column);
        ClickButton("PushButton5");
        ClickCell(row, column);
        QLineEdit* editor = nullptr;
        ASSERT_TRUE(testsupport::SpinUntil([&] { return (editor = View().findChild<QLineEdit*>()) != nullptr; }));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QString::fromStdString(text));
        QTest::keyClick(editor, Qt::Key_Return);
        testsupport::ProcessPendingEvents();
    }
    void ClickCheckBox(int row) { ClickCell(row, Check); }
    int RowOf(const std::string& uuid) const {
        const std::vector<int> rows = RowsWhere([&](int row) { return List().Cell(row, UUID) == uuid; });
        return rows.empty() ? -1 : rows.front();
    }
    Texts Names() const { return Column(Name); }
    std::vector<EditRecord> Log() const { return quillfen::ReadEditLog(win_->editUIs); }
    bool MenuEnabled(fw::MenuItem* item) {
        app_.UpdateMenuEnabling();
        return item && item->Enabled;
    }
    bool Editable(int row) const {
        return List().CellType(row, Name) == fw::ListBox::TypeEditable &&
               List().CellType(row, URL) == fw::ListBox::TypeEditable;
    }
    // The file as the reader lists it now, after plutil has taken it as a property list.
    std::vector<Texts> Listed() {
        fw::Shell shell;
        shell.Execute("plutil -convert xml1 " + quillfen::BookmarksFile().ShellPath());
        EXPECT_EQ(shell.ErrorCode(), 0) << "not a property list";
        RowRecorder recorder;
        quillfen::ReadBookmarks(quillfen::BookmarksFile(), recorder);
        return recorder.rows;
    }
    std::string FileText() const { return testsupport::ReadFile(BookmarksPath()); }
    int Plays() const { return win_->Get<fw::MoviePlayer>("MoviePlayer1").PlayCount(); }

    fw::Application app_;
};

const std::vector<testsupport::FixtureBookmark> kThree = {
    {"Zeta", "http://z/", "U1"}, {"Alpha", "http://a/", "U2"}, {"Mid", "http://m/", "U3"}};

// A title edit appends one record and shows "Apply Change"; Undo puts the old title back and a second Undo
// the new one, each recorded; the menu follows.
TEST_F(ListwinEditTest, EditThenUndoAlternates) {
    Load(kThree);
    EXPECT_FALSE(Button("PushButton4").Visible());
    EXPECT_FALSE(MenuEnabled(quillfen::EditUndo()));
    TypeInto(0, Name, "Omega");
    EXPECT_EQ(Names(), (Texts{"Omega", "Alpha", "Mid"}));
    EXPECT_FALSE(Editable(0));
    EXPECT_TRUE(Button("PushButton4").Visible());
    EXPECT_TRUE(Button("PushButton4").Enabled());
    EXPECT_TRUE(MenuEnabled(quillfen::EditApplyChanges()));
    EXPECT_TRUE(MenuEnabled(quillfen::EditUndo()));

    win_->HandleMenuCommand("EditUndo");
    EXPECT_EQ(List().Cell(0, Name), "Zeta");
    win_->HandleMenuCommand("EditUndo");
    EXPECT_EQ(List().Cell(0, Name), "Omega");
    const std::string url = "http://z/";
    EXPECT_EQ(Log(), (std::vector<EditRecord>{{"U1", "Omega", "Zeta", url, url, "000001"},
                                              {"U1", "Zeta", "Omega", url, url, "000001"},
                                              {"U1", "Omega", "Zeta", url, url, "000001"}}));
}

// Undo and "Edit Bookmark" follow their bookmark through a sort, and do nothing once a reload took it away.
TEST_F(ListwinEditTest, UndoAndEditBookmarkBelongToTheBookmark) {
    Load(kThree);
    TypeInto(0, URL, "http://zz/");
    win_->HandleMenuCommand("SortlistbyBookmarkname");
    EXPECT_EQ(Names(), (Texts{"Alpha", "Mid", "Zeta"}));
    win_->HandleMenuCommand("EditUndo");
    EXPECT_EQ(Column(URL), (Texts{"http://a/", "http://m/", "http://z/"}));

    ClickCell(RowOf("U2"), Name);
    win_->HandleMenuCommand("SortlistbyBookmarkURL");
    win_->HandleMenuCommand("EditEditBookmark");
    EXPECT_EQ(RowsWhere([&](int row) { return Editable(row); }), (std::vector<int>{RowOf("U2")}));

    ClickButton("PushButton2");
    const std::string log = win_->editUIs;
    win_->HandleMenuCommand("EditUndo");
    ClickButton("PushButton5");
    EXPECT_EQ(Column(URL), (Texts{"http://z/", "http://a/", "http://m/"}));
    EXPECT_EQ(win_->editUIs, log);
    EXPECT_TRUE(RowsWhere([&](int row) { return Editable(row); }).empty());
}

// Before any click "Edit Bookmark" takes the first row.
TEST_F(ListwinEditTest, EditBookmarkBeforeAnyClick) {
    Load(kThree);
    win_->HandleMenuCommand("EditEditBookmark");
    EXPECT_EQ(RowsWhere([&](int row) { return Editable(row); }), (std::vector<int>{0}));
}

// A check box click writes the check mirror and records the bookmark with its own values, also right after
// another bookmark was edited.
TEST_F(ListwinEditTest, CheckBoxClickIsRecorded) {
    Load(kThree);
    TypeInto(0, Name, "Omega");
    ClickCheckBox(1);
    EXPECT_EQ(List().Cell(1, Checked), "1");
    ClickCheckBox(1);
    EXPECT_EQ(List().Cell(1, Checked), "0");
    const EditRecord own{"U2", "Alpha", "Alpha", "http://a/", "http://a/", "000002"};
    EXPECT_EQ(Log(), (std::vector<EditRecord>{{"U1", "Omega", "Zeta", "http://z/", "http://z/", "000001"}, own, own}));
}

// Edits go into the file as it is on disk now; only the edited elements change, and the result is a
// property list that lists the typed text.
TEST_F(ListwinEditTest, ApplyWritesOnlyTheEditedElements) {
    struct Case {
        const char* what;
        std::vector<testsupport::FixtureBookmark> before;                          // what "Get Bookmarks" reads
        std::optional<std::vector<testsupport::FixtureBookmark>> onDisk;           // the file changed after that
        std::vector<std::tuple<std::string, int, std::string>> edits;              // uuid, column, typed text
        std::vector<Texts> listed;                                                 // name, URL, uuid afterwards
        int changedLines;
    };
    const Case cases[] = {
        {"title with markup and log markers", kThree, {}, {{"U2", Name, "A & B <**x*EDIT*>"}},
         {{"Zeta", "http://z/", "U1"}, {"A &amp; B &lt;**x*EDIT*&gt;", "http://a/", "U2"}, {"Mid", "http://m/", "U3"}}, 1},
        {"URL, then the title of the same bookmark twice", kThree,
         {}, {{"U3", URL, "http://m2/"}, {"U3", Name, "One"}, {"U3", Name, "Two"}},
         {{"Zeta", "http://z/", "U1"}, {"Alpha", "http://a/", "U2"}, {"Two", "http://m2/", "U3"}}, 2},
        {"title equal to URL, twin title elsewhere",
         {{"http://s/", "http://s/", "S1"}, {"http://s/", "http://t/", "S2"}}, {}, {{"S1", Name, "Same"}},
         {{"Same", "http://s/", "S1"}, {"http://s/", "http://t/", "S2"}}, 1},
        {"a bookmark deleted since the load stays deleted", kThree,
         std::vector<testsupport::FixtureBookmark>{{"Zeta", "http://z/", "U1"}, {"Mid", "http://m/", "U3"}},
         {{"U2", Name, "Gone"}, {"U1", Name, "Kept"}}, {{"Kept", "http://z/", "U1"}, {"Mid", "http://m/", "U3"}}, 1},
        {"a restored file is edited, not replaced", kThree,
         std::vector<testsupport::FixtureBookmark>{{"Old", "http://z/", "U1"}, {"Extra", "http://e/", "U9"},
                                                   {"Mid", "http://m/", "U3"}},
         {{"U1", Name, "New"}, {"U3", Name, "Middle"}},
         {{"Old", "http://z/", "U1"}, {"Extra", "http://e/", "U9"}, {"Middle", "http://m/", "U3"}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        win_->editUIs.clear();
        Load(c.before);
        for (const auto& [uuid, column, text] : c.edits)
            TypeInto(RowOf(uuid), column, text);
        if (c.onDisk)
            WriteBookmarksFile(*c.onDisk);
        Listed(); // the file as it would be read, to compare with
        const std::string before = FileText();
        EXPECT_TRUE(win_->ApplyChanges());
        EXPECT_EQ(Status(), "Done");
        const std::string after = FileText();
        EXPECT_EQ(Listed(), c.listed);
        EXPECT_EQ(FileText(), after) << "plutil writes the applied text as it stands";
        const std::vector<std::string> linesBefore = fw::SplitB(before, "\n"), linesAfter = fw::SplitB(after, "\n");
        ASSERT_EQ(linesBefore.size(), linesAfter.size());
        int changed = 0;
        for (std::size_t i = 0; i < linesBefore.size(); ++i)
            changed += linesBefore[i] != linesAfter[i] ? 1 : 0;
        EXPECT_EQ(changed, c.changedLines);
    }
}

// The status line counts the log's fields, every 100th record lets waiting events through, and the end
// says "Done" with the movie.
TEST_F(ListwinEditTest, ApplyReportsProgress) {
    Load(kThree);
    for (int i = 0; i < 250; ++i)
        quillfen::AppendEditRecord(win_->editUIs, {"U1", "Zeta", "Zeta", "http://z/", "http://z/", "000001"});
    // An event waiting all the time, that notes the status line whenever it gets through.
    Texts seen = {Status()};
    QObject watcher;
    std::function<void()> watch = [&] {
        seen.push_back(Status());
        QTimer::singleShot(0, &watcher, watch);
    };
    QTimer::singleShot(0, &watcher, watch);
    const int plays = Plays();
    ASSERT_TRUE(win_->ApplyChanges());
    EXPECT_EQ(Texts(seen.begin() + 1, seen.end()), (Texts{"Changing... 100", "Changing... 200"}));
    EXPECT_EQ(Status(), "Done");
    EXPECT_EQ(Plays(), plays + 1);
}

// A file gone since the load, or one that cannot be written, is reported and left as it was, and the
// log is kept.
TEST_F(ListwinEditTest, FailedApplyKeepsFileAndLog) {
    Load(kThree);
    TypeInto(0, Name, "Omega");
    const std::string log = win_->editUIs;
    const std::string before = FileText();

    std::filesystem::rename(BookmarksPath(), BookmarksPath() + ".away");
    EXPECT_FALSE(win_->ApplyChanges());
    EXPECT_FALSE(std::filesystem::exists(BookmarksPath()));
    std::filesystem::rename(BookmarksPath() + ".away", BookmarksPath());

    // A file size limit fails the write as a full disk does, also for a privileged user.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_FALSE(win_->ApplyChanges());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(modal_.messages.size(), 2u);
    EXPECT_NE(Status(), "Done");
    EXPECT_EQ(win_->editUIs, log);
    const auto entries = std::filesystem::directory_iterator(home_.Path() + "/Library/Safari");
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1) << "no file left beside the bookmarks";
}

} // namespace
