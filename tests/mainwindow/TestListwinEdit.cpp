// Editing bookmarks in the list as a user does it, Undo, the edit log, and applying the edits to the file.
#include "ListwinFixture.h"
#include "app/MenuItems.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksReader.h"
#include "bookmarksfile/EditLog.h"
#include "bookmarksfile/QuitSafariConfirmation.h"
#include "bookmarksfile/Window1.h"
#include "framework/ui/controls/MoviePlayer.h"

#include <QLineEdit>
#include <QTimer>

namespace {

using quillfen::EditRecord;
using namespace quillfen::BookmarkColumn;
using Texts = std::vector<std::string>;

class ListwinEditTest : public ListwinTest {
protected:
    ListwinEditTest() { withMenu_ = true; }

    // One click on an editable cell, then Ctrl+A, the text typed over it and Return, all through the window.
    void TypeIntoCell(int row, int column, const std::string& text) {
        ClickCell(row, column);
        ASSERT_TRUE(testsupport::SpinUntil([&] {
            const QLineEdit* editor = View().findChild<QLineEdit*>();
            return editor && editor->hasFocus();
        }));
        Press(Qt::Key_A, Qt::ControlModifier);
        Type(text);
        Press(Qt::Key_Return);
    }
    // Click the row, press "Edit Bookmark", then type into the cell.
    void TypeInto(const std::string& uuid, int column, const std::string& text) {
        const int row = RowWith(UUID, uuid);
        ClickCell(row, column);
        Click(Button("PushButton5"));
        TypeIntoCell(row, column, text);
    }
    // "Apply Change", then OK in the confirmation; the apply runs once the confirmation has gone.
    void ApplyByHand() {
        Click(Button("PushButton4"));
        Click(fw::Instance<quillfen::warningChangeWin>().Get<fw::PushButton>("PushButton2"));
        testsupport::ProcessPendingEvents();
    }
    std::vector<int> EditableRows() const {
        return RowsWhere([&](int row) {
            return List().CellType(row, Name) == fw::ListBox::TypeEditable &&
                   List().CellType(row, URL) == fw::ListBox::TypeEditable;
        });
    }
    bool MenuEnabled(fw::MenuItem* item) {
        menuApp_->UpdateMenuEnabling();
        return item && item->Enabled;
    }
    // Each listed bookmark's name, URL and UUID, once plutil has taken the file as a property list.
    std::vector<Texts> Listed() {
        struct : quillfen::BookmarkSink {
            void AddBookmark(const quillfen::BookmarkRow& row) override {
                rows.push_back({row.name, row.url, row.uuid});
            }
            std::vector<Texts> rows;
        } sink;
        EXPECT_EQ(quillfen::ReadBookmarks(quillfen::BookmarksFile(), sink).status, quillfen::ReadStatus::Ok)
            << "not a property list";
        return sink.rows;
    }
};

const std::vector<testsupport::FixtureBookmark> kThree = {
    {"Zeta", "http://z/", "U1"}, {"Alpha", "http://a/", "U2"}, {"Mid", "http://m/", "U3"}};

// Before an edit, Undo and "Apply Changes" are disabled, the submenus enabled. An edit appends one record
// and shows "Apply Change"; Undo alternates between the two titles, recording each; a check box click writes
// the mirror and records its own bookmark's values, not the backup's.
TEST_F(ListwinEditTest, EditUndoAndCheckBoxRecord) {
    WriteBookmarksFile(kThree);
    EXPECT_FALSE(Button("PushButton4").Visible());
    EXPECT_FALSE(MenuEnabled(quillfen::EditUndo()) || MenuEnabled(quillfen::EditApplyChanges()));
    EXPECT_TRUE(MenuEnabled(quillfen::ToolsCheckall()) && MenuEnabled(quillfen::ToolsSortlistby()));
    TypeInto("U1", Name, "Omega");
    EXPECT_TRUE(EditableRows().empty());
    EXPECT_TRUE(Button("PushButton4").Visible() && Button("PushButton4").Enabled());
    EXPECT_TRUE(MenuEnabled(quillfen::EditApplyChanges()) && MenuEnabled(quillfen::EditUndo()));
    Press(Qt::Key_Z, Qt::ControlModifier); // Undo
    EXPECT_EQ(List().Cell(0, Name), "Zeta");
    Press(Qt::Key_Z, Qt::ControlModifier);
    ClickCell(1, Check);
    EXPECT_EQ(Column(Checked), (Texts{"0", "1", ""}));
    const std::string z = "http://z/", a = "http://a/";
    EXPECT_EQ(quillfen::ReadEditLog(win_->editUIs),
              (std::vector<EditRecord>{{"U1", "Omega", "Zeta", z, z, "000001"},
                                       {"U1", "Zeta", "Omega", z, z, "000001"},
                                       {"U1", "Omega", "Zeta", z, z, "000001"},
                                       {"U2", "Alpha", "Alpha", a, a, "000002"}}));
}

// Undo and "Edit Bookmark" follow their bookmark through sorts and do nothing once a reload took it away;
// before any click "Edit Bookmark" takes the first row, whose cell a single click then edits.
TEST_F(ListwinEditTest, UndoAndEditBookmarkFollowTheBookmark) {
    WriteBookmarksFile(kThree);
    Press(Qt::Key_E, Qt::ControlModifier); // "Edit Bookmark"
    EXPECT_EQ(EditableRows(), std::vector<int>{0});
    TypeIntoCell(0, URL, "http://zz/");
    win_->HandleMenuCommand("SortlistbyBookmarkname");
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Column(URL), (Texts{"http://a/", "http://m/", "http://z/"}));
    ClickCell(RowWith(UUID, "U2"), Name);
    win_->HandleMenuCommand("SortlistbyBookmarkURL");
    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(EditableRows(), std::vector<int>{RowWith(UUID, "U2")});

    Click(Button("PushButton2"));
    const std::string log = win_->editUIs;
    Press(Qt::Key_Z, Qt::ControlModifier);
    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Column(URL), (Texts{"http://z/", "http://a/", "http://m/"}));
    EXPECT_EQ(win_->editUIs, log);
    EXPECT_TRUE(EditableRows().empty());
}

// Edits go into the file as it is on disk now (a bookmark deleted since stays deleted, its edit named and
// kept), changing only the edited elements, and the result lists the typed text, markup and log markers
// included, also for a title named like the folder; the log keeps only the edit not applied, "Done" does not
// show and the changes-applied window does.
TEST_F(ListwinEditTest, ApplyWritesOnlyTheEditedElements) {
    WriteBookmarksFile(
        {{"Zeta", "http://z/", "U1"}, {"BookmarksBar", "http://b/", "U2"}, {"Mid", "http://m/", "U3"}});
    for (const auto& [uuid, column, text] :
         std::vector<std::tuple<std::string, int, std::string>>{{"U1", Name, "A & B <**x*EDIT*>"},
                                                                {"U2", Name, "Bar"},
                                                                {"U2", URL, "http://b2/"},
                                                                {"U3", Name, "Gone"}})
        TypeInto(uuid, column, text);
    ClickCell(RowWith(UUID, "U3"), Check);
    const std::string gone = win_->editUIs.substr(win_->editUIs.find("*EDIT*U3"));
    win_->deleteSelected();
    WaitForDeleteRun();
    Listed(); // the file as plutil leaves it
    const Texts before = fw::SplitB(testsupport::ReadFile(BookmarksPath()), "\n");
    ApplyByHand();
    EXPECT_EQ(Status(), "Not every change was applied.");
    EXPECT_EQ(modal_.messages.back(), "These changes could not be applied and are kept for the next time:\r"
                                      "\"Gone\" (http://m/): it is not in Safari's bookmarks file.");
    EXPECT_EQ(win_->editUIs, gone);
    EXPECT_TRUE(IsOpen<quillfen::Window1>() && Button("PushButton4").Enabled());
    const Texts after = fw::SplitB(testsupport::ReadFile(BookmarksPath()), "\n");
    EXPECT_EQ(Listed(), (std::vector<Texts>{{"A &amp; B &lt;**x*EDIT*&gt;", "http://z/", "U1"},
                                            {"Bar", "http://b2/", "U2"}}));
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(std::inner_product(before.begin(), before.end(), after.begin(), 0, std::plus<>(),
                                 std::not_equal_to<>()),
              3);
}

// A title the bookmark lacks, or holds over several lines (listed as empty), is written where the file keeps
// titles. An edit of a bookmark whose identifier another one shares changes neither, is named and stays in
// the log; asked again, it is named again, and with nothing changed no changes-applied window shows.
TEST_F(ListwinEditTest, EditsThatCannotBeWrittenAreNamedAndKept) {
    WriteBookmarksFile({{std::nullopt, "http://u/", "U1"},
                        {"Two\nlines", "http://t/", "U2"},
                        {"A", "http://s1/", "S"},
                        {"B", "http://s2/", "S"}});
    TypeInto("U1", Name, "Named");
    TypeInto("U2", Name, "One line");
    const std::size_t applied = win_->editUIs.size();
    TypeInto("S", Name, "Shared");
    const std::string shared = win_->editUIs.substr(applied);
    const std::string named = "These changes could not be applied and are kept for the next time:\r\"Shared\" "
                              "(http://s1/): another bookmark in the file has the same identifier.";
    const std::vector<Texts> listed = {
        {"Named", "http://u/", "U1"}, {"One line", "http://t/", "U2"}, {"A", "http://s1/", "S"}, {"B", "http://s2/", "S"}};
    for (const char* status : {"Not every change was applied.", "No change was applied."}) {
        ApplyByHand();
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(modal_.messages.back(), named);
        EXPECT_EQ(win_->editUIs, shared);
        EXPECT_EQ(IsOpen<quillfen::Window1>(), status == std::string("Not every change was applied."));
        fw::CloseIfOpen<quillfen::Window1>();
        EXPECT_EQ(Listed(), listed);
    }
    if (auto read = testsupport::PlistlibBookmarks(BookmarksPath())) {
        for (Texts& row : *read)
            std::rotate(row.begin(), row.begin() + 1, row.end()); // plistlib's rows begin with the identifier
        EXPECT_EQ(*read, listed);
    }
}

// Character references typed into a title or a URL read back as typed, in the list and in plistlib: a line
// break by reference becomes a blank, as a typed one does, so the bookmark stays listed with its title.
TEST_F(ListwinEditTest, TypedReferencesReadBackAsTyped) {
    const struct {
        const char* typed;
        const char* listed;  // the file's text, as the list shows it
        const char* decoded; // as plistlib reads it
    } titles[] = {
        {"a&#10;b", "a b", "a b"},
        {"&#x0D;c&#13;", " c ", " c "},
        {"&#38;&#x41;&#233;", "&amp;A\xC3\xA9", "&A\xC3\xA9"},
        {"&quot;&apos;&lt;&gt;&amp;", "\"'&lt;&gt;&amp;", "\"'<>&"},
        {"&#1;&nbsp;&#X41;&#9;", "&amp;#1;&amp;nbsp;&amp;#X41;\t", "&#1;&nbsp;&#X41;\t"},
    };
    std::vector<testsupport::FixtureBookmark> bookmarks;
    std::vector<Texts> listed, decoded;
    for (std::size_t i = 0; i < std::size(titles); ++i) {
        const std::string uuid = "U" + std::to_string(i), url = "http://u" + std::to_string(i) + "/";
        bookmarks.push_back({"Old", url, uuid});
        listed.push_back({titles[i].listed, i == 0 ? "http://u0/ x" : url, uuid});
        decoded.push_back({uuid, titles[i].decoded, listed.back()[1]});
    }
    WriteBookmarksFile(bookmarks);
    for (std::size_t i = 0; i < std::size(titles); ++i)
        TypeInto(*bookmarks[i].uuid, Name, titles[i].typed);
    TypeInto("U0", URL, "http://u0/&#10;x");
    ApplyByHand();
    EXPECT_EQ(Listed(), listed);
    if (const auto read = testsupport::PlistlibBookmarks(BookmarksPath())) {
        EXPECT_EQ(*read, decoded);
    }
}

// A failed backup, a file gone since the load, another program's save between the apply's read and its
// replace, and a write that fails (a file size limit, as a full disk does, also for a privileged user) are
// reported; the file and the log stay, the status line says nothing was changed, and no Window1.
// Then the status line counts the log's fields, every 100th record lets waiting events through, and the end
// says "Done" with the movie. A delete asked for during the apply is refused, and so is an apply asked for
// during a delete: neither writes over the other. A window closed while the apply lets events through ends
// the apply, leaving the file as it was.
TEST_F(ListwinEditTest, FailedAppliesKeepFileAndLogAndAnApplyShutsOutDeletes) {
    WriteBookmarksFile(kThree);
    ClickCell(RowWith(UUID, "U2"), Check);
    TypeInto("U1", Name, "Omega");
    const std::string typed = win_->editUIs, before = testsupport::ReadFile(BookmarksPath());
    const std::function<void(bool)> failures[] = {
        [&](bool on) { modal_.saveAnswer = on ? std::optional(Path("no such folder/copy")) : std::nullopt; },
        [&](bool on) {
            std::filesystem::rename(on ? BookmarksPath() : Path("away"), on ? Path("away") : BookmarksPath());
        },
        [&](bool on) { SaveMeanwhile(on); },
        [](bool on) { LimitFileSize(on ? std::optional<rlim_t>(512) : std::nullopt); },
    };
    for (const auto& fail : failures) {
        const std::size_t messages = modal_.messages.size();
        fail(true);
        ApplyByHand();
        fail(false);
        EXPECT_GT(modal_.messages.size(), messages + 1) << "beyond the one on quitting Safari";
        EXPECT_EQ(Status(), "Nothing was changed.");
        EXPECT_EQ(testsupport::ReadFile(BookmarksPath()), before);
        EXPECT_EQ(win_->editUIs, typed);
        EXPECT_FALSE(IsOpen<quillfen::Window1>());
    }

    std::string log; // records that change nothing, for the apply to go through
    for (int i = 0; i < 250; ++i)
        quillfen::AppendEditRecord(log, {"U3", "Mid", "Mid", "http://m/", "http://m/", "000003"});
    win_->editUIs += log;
    Texts seen;
    bool applying = true;
    QObject watcher; // an event always waiting, that gets through whenever the apply lets events through
    std::function<void()> watch = [&] {
        if (!applying)
            return;
        seen.push_back(Status());
        win_->deleteSelected();
        QTimer::singleShot(0, &watcher, watch);
    };
    QTimer::singleShot(0, &watcher, watch);
    const int plays = win_->Get<fw::MoviePlayer>("MoviePlayer1").PlayCount();
    ASSERT_TRUE(win_->ApplyChanges());
    applying = false;
    EXPECT_EQ(seen, (Texts{"Changing... 100", "Changing... 200"}));
    EXPECT_EQ(Status(), "Done");
    EXPECT_EQ(win_->Get<fw::MoviePlayer>("MoviePlayer1").PlayCount(), plays + 1);
    const Texts omega = {"Omega", "http://z/", "U1"}, mid = {"Mid", "http://m/", "U3"};
    EXPECT_EQ(Listed(), (std::vector<Texts>{omega, {"Alpha", "http://a/", "U2"}, mid}));

    win_->deleteSelected();
    EXPECT_FALSE(win_->ApplyChanges());
    WaitForDeleteRun();
    EXPECT_EQ(Listed(), (std::vector<Texts>{omega, mid}));

    TypeInto("U1", Name, "Omega 2");
    win_->editUIs += log;
    const std::string file = testsupport::ReadFile(BookmarksPath());
    QTimer::singleShot(0, &watcher, [this] { win_->Close(); });
    EXPECT_FALSE(win_->ApplyChanges());
    EXPECT_EQ(testsupport::ReadFile(BookmarksPath()), file);
}

} // namespace
