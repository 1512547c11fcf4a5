// Deleting checked bookmarks as the user does it: the confirmation, the backup dialog, the delete thread,
// the changes-applied window and the restore, with the file checked after every run.
#include "ListwinFixture.h"
#include "bookmarksfile/QuitSafariConfirmation.h"
#include "bookmarksfile/Window1.h"
#include "framework/runtime/AppleEvent.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/controls/ProgressBar.h"

#include <QImage>
#include <sys/stat.h>

namespace {

using quillfen::warningWin, quillfen::warningChangeWin, quillfen::Window1;
using Names = std::vector<std::string>;
using Gone = std::set<std::string>;
constexpr int kName = quillfen::BookmarkColumn::Name, kStatus = quillfen::BookmarkColumn::Status;
constexpr const char* kBookmarks = "Library/Safari/Bookmarks.plist";

template <class W> fw::PushButton& ButtonOf(const char* name) {
    return fw::Instance<W>().template Get<fw::PushButton>(name);
}

class ListwinDeleteTest : public ListwinTest {
protected:
    void SetUp() override {
        ListwinTest::SetUp();
        fw::SetAppleEventSender([this](const fw::AppleEvent& e) {
            quitRequests.push_back(e.eventClass + "/" + e.eventID + "/" + e.targetSignature);
            return quitSucceeds;
        });
        app_.SetMenuBar(&menuBar_);
        Reload();
    }
    void TearDown() override {
        fw::SetAppleEventSender({});
        ListwinTest::TearDown();
    }

    std::string File() const { return testsupport::ReadFile(Path(kBookmarks)); }
    // The sample tree written anew, in the modern or the older form, and read with "Get Bookmarks".
    void Reload(testsupport::Form form = testsupport::Form::Modern) {
        form_ = form;
        std::filesystem::create_directories(Path("Library/Safari"));
        ASSERT_TRUE(testsupport::WriteTree(testsupport::SampleTree(), Path(kBookmarks), form));
        Click(Button("PushButton2"));
    }
    // The file is what plutil writes for the tree without `gone`, but for the line at each join; plutil
    // reads it back as that tree.
    void ExpectFileWithout(const Gone& gone, const testsupport::TreeItem& tree = testsupport::SampleTree()) {
        const std::string expected =
            testsupport::PlutilForm(testsupport::Without(tree, gone), form_, Path("expected.plist"));
        EXPECT_EQ(testsupport::WithoutJoins(File()), expected);
        std::filesystem::copy_file(Path(kBookmarks), Path("again.plist"),
                                   std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(quillfen::ConvertAndReadBookmarks(fw::FolderItem(Path("again.plist"))), expected);
        // plistlib, a reader independent of ours, where python3 is there.
        if (const auto read = testsupport::PlistlibBookmarks(Path(kBookmarks))) {
            EXPECT_EQ(read, testsupport::PlistlibBookmarks(Path("expected.plist")));
        }
    }
    void Check(const Names& names) {
        for (const std::string& name : names)
            ClickCell(RowWith(kName, name), quillfen::BookmarkColumn::Check);
    }
    Names RowsReading(const std::string& status) const {
        Names names;
        for (int row : RowsWhere([&](int r) { return List().Cell(r, kStatus) == status; }))
            names.push_back(List().Cell(row, kName));
        std::sort(names.begin(), names.end());
        return names;
    }
    // "Delete Checked Bookmarks", OK in the confirmation, then the run to its end.
    void DeleteChecked() {
        EXPECT_FALSE(win_->HandleMenuCommand("EditDeleteSelectedBookmarks"));
        const std::size_t dialogs = modal_.dialogsAsked.size();
        Click(ButtonOf<warningWin>("PushButton2"));
        // OK goes on once its handler has returned: first the backup dialog, then the thread.
        const fw::Thread& thread = win_->Get<fw::Thread>("DeleteLoopThread11");
        ASSERT_TRUE(testsupport::SpinUntil([&] {
            return modal_.dialogsAsked.size() > dialogs && !thread.IsRunning() && fw::ReadyThreadCount() == 0;
        }));
        testsupport::ProcessPendingEvents();
        EXPECT_TRUE(Button("PushButton2").Enabled());
        EXPECT_TRUE(menuBar_.BarEnabled());
        EXPECT_FALSE(win_->Get<fw::ProgressBar>("ProgressBar1").Visible());
    }

    Names quitRequests;
    bool quitSucceeds = false;
    testsupport::Form form_ = testsupport::Form::Modern;
    fw::MenuBar menuBar_;
    fw::Application app_;
};

// In both forms of the file and whatever the order or filter of the list, exactly the checked bookmarks
// leave the file, whole, and every other byte stays; their rows read "deleted", "Done" shows with the
// changes-applied window; a file written in binary form since the read is converted again and still cut.
// The quit request fails here: the user hears a beep and is asked to quit Safari.
TEST_F(ListwinDeleteTest, DeletesExactlyTheCheckedBookmarks) {
    const struct {
        const char* view;
        Names checked; // in the order "deleted" rows are listed
        Gone gone;
    } cases[] = {
        {"", {"d", "fav1", "r"}, {"A", "D", "R"}},
        {"", {"twin"}, {"T1"}}, // the first of two with the same title and URL
        {"SortlistbyBookmarkname", {"d", "e"}, {"D", "E"}},
        {"SortlistbyBookmarkURL", {"f", "fav2", "g"}, {"B", "F", "G"}},
        {"fav", {"fav2"}, {"B"}},
        {"binary since", {"c", "g"}, {"C", "G"}},
        {"", {}, {}},
        {"", {"c", "d", "e", "f", "fav1", "fav2", "g", "r"}, {"A", "B", "C", "D", "E", "F", "G", "R"}},
    };
    for (const testsupport::Form form : {testsupport::Form::Modern, testsupport::Form::Older})
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << static_cast<int>(form) << " " << c.view << " " << c.gone.size());
            Reload(form);
            if (std::string(c.view) == "fav") { // typed into the search field: the list keeps the matches
                win_->Show();
                TypeWordAndReturn(c.view);
                ASSERT_EQ(Column(kName), (Names{"fav1", "fav2"}));
            } else if (std::string(c.view) == "binary since") {
                testsupport::WriteTree(testsupport::SampleTree(), Path(kBookmarks), form,
                                       testsupport::Encoding::Binary);
            } else if (*c.view) {
                win_->HandleMenuCommand(c.view);
            }
            Check(c.checked);
            DeleteChecked();
            ExpectFileWithout(c.gone);
            EXPECT_EQ(RowsReading("deleted"), c.checked);
            EXPECT_EQ(Status(), "Done");
            EXPECT_EQ(win_->Get<fw::ProgressBar>("ProgressBar1").Maximum(),
                      static_cast<int>(c.checked.size()));
            EXPECT_TRUE(IsOpen<Window1>());
            EXPECT_EQ(quitRequests.back(), "aevt/quit/sfri");
            EXPECT_EQ(
                std::exchange(modal_.messages, {}),
                Names{"Safari could not be automatically quit. Please make sure Safari is not running."});
            EXPECT_EQ(std::exchange(modal_.beeps, 0), 1);
            fw::Instance<Window1>().Close();
        }
}

// Dropped text adds a row per address, which removes nothing and is named as not deleted; a second delete
// with the first run's rows still checked removes the newly checked one too.
TEST_F(ListwinDeleteTest, DroppedRowsAndSecondDeletes) {
    quitSucceeds = true;
    testsupport::DropText(View().viewport(), {10, 10}, "see http://a.example/one\nhttp://b.example/two two");
    ASSERT_EQ(List().Cell(List().ListCount() - 1, quillfen::BookmarkColumn::URL), "http://b.example/two two");
    ClickCell(List().ListCount() - 1, quillfen::BookmarkColumn::Check);
    for (const char* name : {"c", "g"}) {
        Check({name});
        DeleteChecked();
        EXPECT_EQ(std::exchange(modal_.messages, {}),
                  Names{"These bookmarks were not deleted:\r\"http://b.example/two two\" (http://b.example/two two): "
                        "it is not in Safari's bookmarks file."});
        EXPECT_EQ(Status(), "Not every checked bookmark was deleted.");
        EXPECT_TRUE(IsOpen<Window1>());
    }
    ExpectFileWithout({"C", "G"});
    EXPECT_EQ(RowsReading("deleted"), (Names{"c", "g"}));
}

// A bookmark is deleted by its own identifier alone: one that is a key's value goes with its key, one that
// holds a dictionary with an identifier of its own goes whole. One whose identifier another bookmark shares,
// and one no longer in the file, stay, keep their status and are named; "Done" never shows then, and the
// changes-applied window only when something left the file.
TEST_F(ListwinDeleteTest, BookmarksThatCannotGoAreNamed) {
    using testsupport::Folder, testsupport::Leaf, testsupport::TreeItem;
    quitSucceeds = true;
    TreeItem nested = Leaf("n", "N");
    nested.keyed.emplace_back("WebBookmarkExtra",
                              TreeItem{TreeItem::Kind::Proxy, {"x", "http://x.example/", "X"}, {}, {}});
    TreeItem bar = Folder("Bar", "f-bar", {Leaf("s1", "S"), nested, Leaf("c", "C")});
    bar.keyed.emplace_back("Pinned", Leaf("p", "P"));
    const TreeItem tree = Folder("", "root", {bar, Folder("Menu", "f-menu", {Leaf("s2", "S")})});
    const std::string shared = "\r\"s1\" (http://s1.example/): another bookmark in the file has the same identifier.";
    const std::string stale = "\r\"c\" (http://c.example/): it is not in Safari's bookmarks file.";
    const struct {
        Names checked;
        Gone gone;
        Names deleted;
        std::string named;
        const char* status;
    } cases[] = {
        {{"c"}, {}, {}, stale, "Nothing was deleted."},
        {{"s1", "n", "p", "c"}, {"N", "P"}, {"n", "p"}, shared + stale, "Not every checked bookmark was deleted."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.checked.size());
        Reopen();
        ASSERT_TRUE(testsupport::WriteTree(tree, Path(kBookmarks), form_));
        Click(Button("PushButton2")); // "Get Bookmarks"
        ASSERT_EQ(Column(quillfen::BookmarkColumn::UUID), (Names{"S", "N", "C", "P", "S"}));
        SetResult(RowWith(kName, "c"), "OK", "200");
        ASSERT_TRUE(testsupport::WriteTree(testsupport::Without(tree, {"C"}), Path(kBookmarks), form_));
        Check(c.checked);
        DeleteChecked();
        Gone gone = c.gone;
        gone.insert("C");
        ExpectFileWithout(gone, tree);
        EXPECT_EQ(RowsReading("deleted"), c.deleted);
        EXPECT_EQ(List().Cell(RowWith(kName, "c"), kStatus), "OK");
        EXPECT_EQ(std::exchange(modal_.messages, {}), Names{"These bookmarks were not deleted:" + c.named});
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(IsOpen<Window1>(), !c.gone.empty());
    }
}

// A cancelled backup still deletes, a chosen one (also over a file the user agreed to replace) holds the
// file as it was; a backup that cannot be made, or one over the bookmarks file itself, is reported and
// nothing is deleted. A file gone since the read, another program's save between the read and the
// replace, a file its owner made read-only, or a disk too full for the new file (with the backup declined,
// so that the rewrite's own write fails) fail the run: the file as it was, no row "deleted", the check box
// still on, no "Done", no Window1, and no temporary file left.
TEST_F(ListwinDeleteTest, BackupAndFailuresDecideTheRun) {
    quitSucceeds = true;
    std::ofstream(Path("old backup")) << "replace me";
    const std::string file = Path(kBookmarks);
    const struct {
        const char* backupTo; // empty or in parentheses: declined
        Gone gone;
        const char* says; // in the one message of a failure
    } cases[] = {
        {"", {"D"}, nullptr},
        {"new backup", {"D"}, nullptr},
        {"old backup", {"D"}, nullptr},
        {"no such folder/backup", {}, "backup copy could not be saved"},
        {kBookmarks, {}, "cannot be saved over Safari's bookmarks file"},
        {"(file removed)", {}, "could not be read"},
        {"(saved meanwhile)", {}, "changed by another program meanwhile"},
        {"(write-protected)", {}, "write-protected"},
        {"(disk full)", {}, "could not be written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backupTo);
        const std::string before = File(), fault = c.backupTo;
        modal_.saveAnswer = *c.backupTo && fault[0] != '(' ? std::optional(Path(c.backupTo)) : std::nullopt;
        SetResult(RowWith(kName, "d"), "Not Found", "404");
        Check({"d"});
        if (fault == "(file removed)")
            std::filesystem::remove(file);
        SaveMeanwhile(fault == "(saved meanwhile)");
        if (fault == "(write-protected)")
            ::chmod(file.c_str(), 0444);
        if (fault == "(disk full)")
            LimitFileSize(64);
        DeleteChecked();
        LimitFileSize(std::nullopt);
        SaveMeanwhile(false);
        ::chmod(file.c_str(), 0644);
        EXPECT_EQ(modal_.dialogsAsked.back(),
                  "Save the original Bookmarks file as a Backup / Bookmarks.plist");
        EXPECT_EQ(Status(), c.gone.empty() ? "Nothing was deleted." : "Done");
        EXPECT_EQ(IsOpen<Window1>(), !c.gone.empty());
        const Names messages = std::exchange(modal_.messages, {});
        EXPECT_EQ(messages.size(), c.says ? 1u : 0u);
        EXPECT_TRUE(!c.says || messages.front().find(c.says) != std::string::npos) << messages.front();
        EXPECT_EQ(List().Cell(RowWith(kName, "d"), kStatus), c.gone.empty() ? "Not Found" : "deleted");
        EXPECT_TRUE(List().CellCheck(RowWith(kName, "d"), quillfen::BookmarkColumn::Check));
        EXPECT_TRUE(c.gone.empty() || !modal_.saveAnswer ||
                    testsupport::ReadFile(*modal_.saveAnswer) == before);
        if (fault != "(file removed)")
            ExpectFileWithout(c.gone);
        EXPECT_EQ(SafariEntries(), fault == "(file removed)" ? 0 : 1);
        Reopen();
        Reload();
    }
}

// Whatever a change makes of the text, the file is replaced only by a text that reads as a property list:
// a key left without its value, a cut-off text, or no text at all leave it as it was.
TEST_F(ListwinDeleteTest, RewriteNeverWritesWhatDoesNotParse) {
    const std::string before = File();
    const std::function<std::string(std::string)> breaks[] = {
        [](std::string text) { return text.insert(text.find("<dict>") + 6, "<key>dangling</key>"); },
        [](std::string text) { return text.substr(0, text.size() / 2); },
        [](const std::string&) { return std::string(); },
    };
    for (const auto& change : breaks) {
        const quillfen::RewriteResult result =
            quillfen::RewriteBookmarksFile(fw::FolderItem(Path(kBookmarks)), change);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.message.find("did not read as a property list"), std::string::npos)
            << result.message;
        EXPECT_EQ(File(), before);
    }
    EXPECT_EQ(SafariEntries(), 1);
}

// While the run goes on, the five buttons and the menu bar are off and the list stays usable. Closing the
// main window then ends the run: the file stays whole, the menu bar comes back, no temporary file is left.
TEST_F(ListwinDeleteTest, RunShutsOffCommandsAndEndsWithItsWindow) {
    const std::string before = File();
    Check({"c", "d"});
    ClickCell(0, kName); // selects the row
    win_->deleteSelected();
    fw::BackgroundYield(); // the run's first slice, up to its first yield
    for (const char* name : {"PushButton1", "PushButton2", "PushButton3", "PushButton4", "PushButton5"})
        EXPECT_FALSE(Button(name).Enabled()) << name;
    EXPECT_FALSE(menuBar_.BarEnabled());
    EXPECT_TRUE(List().Enabled());
    EXPECT_EQ(Status(), "Preparing to delete...");
    Reopen();
    EXPECT_TRUE(menuBar_.BarEnabled());
    EXPECT_EQ(File(), before);
    EXPECT_EQ(SafariEntries(), 1);
}

// Each window shows its backdrop: a spot clear of controls changes when the picture is taken away. Cancel,
// and the close box of the edit confirmation, only close: no quit request, no backup dialog.
TEST_F(ListwinDeleteTest, WindowsShowTheirBackdropsAndConfirmationsCancel) {
    win_->confirmDelete();
    win_->confirmChange();
    win_->showWindow1();
    const std::pair<fw::Window*, QPoint> windows[] = {{&fw::Instance<warningWin>(), {40, 100}},
                                                      {&fw::Instance<warningChangeWin>(), {60, 60}},
                                                      {&fw::Instance<Window1>(), {10, 10}}};
    for (const auto& [window, spot] : windows) {
        QWidget* content = fw::detail::ContentOf(*window);
        const QColor with = content->grab().toImage().pixelColor(spot);
        window->SetBackdrop(nullptr);
        EXPECT_NE(content->grab().toImage().pixelColor(spot), with) << window->LayoutName();
    }
    Click(ButtonOf<warningWin>("PushButton1"));
    testsupport::WindowOf(fw::detail::ContentOf(fw::Instance<warningChangeWin>()))->close(); // its close box
    testsupport::ProcessPendingEvents();
    EXPECT_FALSE(IsOpen<warningWin>() || IsOpen<warningChangeWin>());
    EXPECT_TRUE(quitRequests.empty() && modal_.dialogsAsked.empty());
}

// "Continue" only closes the changes-applied window; "Revert to original" closes it and, once plutil and the
// reader took a copy of the chosen file as bookmarks, replaces the bookmarks file with it, saying so only
// then. A cancel, the bookmarks file itself, a FIFO, an empty, a text, a foreign or a huge file change
// nothing and say why; a copy that fails partway leaves the bookmarks file whole; the chosen file itself is
// never converted. While a delete runs, a restore is refused.
TEST_F(ListwinDeleteTest, ChangesAppliedWindowReverts) {
    const std::string file = Path(kBookmarks), before = File();
    ASSERT_TRUE(testsupport::WriteTree(testsupport::Without(testsupport::SampleTree(), {"A"}), Path("saved"),
                                       form_, testsupport::Encoding::Binary));
    const std::string saved = testsupport::ReadFile(Path("saved"));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::ofstream(Path("empty")).flush();
    std::ofstream(Path("text")) << "http://example.com/\n";
    std::ofstream(Path("foreign")) << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>WebBookmarkType</key><string>WebBookmarkTypeList</string></dict></plist>)";
    std::ofstream(Path("huge")).flush();
    std::filesystem::resize_file(Path("huge"), std::uintmax_t{4} << 30); // sparse
    const std::string refused = " so nothing was restored.";
    const std::string noBookmarks =
        "The chosen file holds no bookmarks that Safari Quillfen can read," + refused;
    const struct {
        const char* button;
        const char* chosen; // empty: cancelled
        std::string message;
    } cases[] = {
        {"PushButton2", "", {}},
        {"PushButton1", "", {}},
        {"PushButton1", kBookmarks, "The chosen file is Safari's bookmarks file itself," + refused},
        {"PushButton1", "fifo", "The chosen file is not a regular file," + refused},
        {"PushButton1", "empty", noBookmarks},
        {"PushButton1", "text", noBookmarks},
        {"PushButton1", "foreign", noBookmarks},
        {"PushButton1", "huge", "The chosen file is larger than 256 MB," + refused},
        {"PushButton1", "saved (disk full)", "The Bookmarks file could not be restored"},
        {"PushButton1", "saved", "The Bookmarks file was successfully restored"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.chosen);
        const std::string chosen = std::string(c.chosen).substr(0, std::string(c.chosen).find(' '));
        const bool fails = std::string(c.chosen).ends_with("(disk full)");
        modal_.openAnswer = *c.chosen ? std::optional(Path(chosen)) : std::nullopt;
        quillfen::SetAfterReadHook([&] { LimitFileSize(fails ? std::optional<rlim_t>(64) : std::nullopt); });
        win_->showWindow1();
        Click(ButtonOf<Window1>(c.button));
        LimitFileSize(std::nullopt);
        quillfen::SetAfterReadHook({});
        EXPECT_FALSE(IsOpen<Window1>());
        EXPECT_EQ(std::exchange(modal_.dialogsAsked, {}), std::string(c.button) == "PushButton1"
                                                              ? Names{"Localize the original Bookmarks file"}
                                                              : Names{});
        EXPECT_EQ(File(), chosen == "saved" && !fails ? saved : before);
        EXPECT_EQ(testsupport::ReadFile(Path("saved")), saved);
        const Names messages = std::exchange(modal_.messages, {});
        EXPECT_EQ(messages.size(), c.message.empty() ? 0u : 1u);
        EXPECT_TRUE(c.message.empty() || messages.front().starts_with(c.message)) << messages.front();
        EXPECT_EQ(SafariEntries(), 1);
    }

    Reload();
    Check({"c"});
    win_->showWindow1();
    win_->deleteSelected();
    fw::BackgroundYield(); // the run has begun
    modal_.openAnswer = Path("saved");
    Click(ButtonOf<Window1>("PushButton1"));
    EXPECT_EQ(modal_.messages, Names{"Safari's bookmarks file is being rewritten, so nothing was restored. "
                                     "Please try again when it is done."});
    WaitForDeleteRun();
    ExpectFileWithout({"C"});
}

} // namespace
