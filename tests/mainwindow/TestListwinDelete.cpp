// Deleting checked bookmarks as the user does it: the confirmation, the backup dialog, the delete thread,
// the changes-applied window and the restore, with the file checked after every run.
#include "ListwinFixture.h"
#include "bookmarksfile/QuitSafariConfirmation.h"
#include "bookmarksfile/Window1.h"
#include "framework/AppleEvent.h"
#include "framework/Application.h"
#include "framework/MenuBar.h"
#include "framework/ProgressBar.h"
#include "framework/Thread.h"
#include "tests/bookmarksfile/BookmarksTree.h"
#include "tests/bookmarksfile/ScriptedDialogs.h"

#include <QImage>
#include <QMainWindow>
#include <QPushButton>

namespace {

using quillfen::BookmarkColumn::Name;
constexpr int kStatus = quillfen::BookmarkColumn::Status;
using quillfen::warningWin, quillfen::warningChangeWin, quillfen::Window1;
using Names = std::vector<std::string>;

constexpr const char* kNotQuit = "Safari could not be automatically quit. Please make sure Safari is not running.";

template <class W> bool IsOpen() { return fw::detail::OpenWindow(typeid(W)) != nullptr; }

QWidget& WidgetOf(fw::Window& window, const std::string& control) {
    return *fw::detail::WidgetOf(window.Get<fw::VisualControl>(control));
}

class ListwinDeleteTest : public ListwinTest {
protected:
    void SetUp() override {
        ListwinTest::SetUp();
        fw::SetAppleEventSender([this](const fw::AppleEvent& event) {
            quitRequests.push_back(event.eventClass + "/" + event.eventID + "/" + event.targetSignature);
            return quitSucceeds;
        });
        menuBar_.SetBarEnabled(true);
        app_.SetMenuBar(&menuBar_);
    }
    void TearDown() override {
        fw::SetAppleEventSender({});
        fw::detail::CloseAllWindows();
        ListwinTest::TearDown();
    }

    std::string BookmarksPath() const { return home_.Path() + "/Library/Safari/Bookmarks.plist"; }
    void WriteTree(const testsupport::TreeItem& tree) {
        std::filesystem::create_directories(home_.Path() + "/Library/Safari");
        std::ofstream(BookmarksPath(), std::ios::binary) << testsupport::TreeXml(tree, true);
    }
    // The file must be what plutil writes for the sample tree without `gone`, but for the joins.
    void ExpectFileWithout(const std::set<std::string>& gone) {
        const auto expected = testsupport::Without(testsupport::SampleTree(), gone);
        EXPECT_EQ(testsupport::WithoutJoins(testsupport::ReadFile(BookmarksPath())),
                  testsupport::PlutilForm(expected, true, home_.Path() + "/expected.plist"));
    }
    int RowNamed(const std::string& name) const {
        const Names names = Column(Name);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    void CheckRows(const Names& names) {
        for (const std::string& name : names) {
            ASSERT_GE(RowNamed(name), 0) << name;
            ClickCell(RowNamed(name), quillfen::BookmarkColumn::Check);
            ASSERT_TRUE(List().CellCheck(RowNamed(name), quillfen::BookmarkColumn::Check)) << name;
        }
    }
    Names RowsWithStatus(const std::string& status) const {
        Names names;
        for (int row : RowsWhere([&](int r) { return List().Cell(r, kStatus) == status; }))
            names.push_back(List().Cell(row, Name));
        std::sort(names.begin(), names.end());
        return names;
    }
    void Click(fw::Window& window, const std::string& button) {
        QTest::mouseClick(&WidgetOf(window, button), Qt::LeftButton);
    }
    // "Delete Checked Bookmarks", then OK in the confirmation (or Return), then the run to its end.
    void DeleteChecked(bool withReturn = false) {
        EXPECT_FALSE(win_->HandleMenuCommand("EditDeleteSelectedBookmarks"));
        ASSERT_TRUE(IsOpen<warningWin>());
        warningWin& confirmation = fw::Instance<warningWin>();
        if (withReturn)
            QTest::keyClick(fw::detail::WidgetOf(confirmation.Get<fw::VisualControl>("StaticText1"))->window(), Qt::Key_Return);
        else
            Click(confirmation, "PushButton2");
        fw::Thread& thread = win_->Get<fw::Thread>("DeleteLoopThread11");
        // While it runs, no command can start another read, scan or delete.
        if (testsupport::SpinUntil([&] { return thread.IsRunning() && !Button("PushButton2").Enabled(); }, 2000)) {
            for (const char* name : {"PushButton1", "PushButton3", "PushButton4", "PushButton5"})
                EXPECT_FALSE(Button(name).Enabled()) << name;
            EXPECT_FALSE(menuBar_.BarEnabled());
            ++runsSeen;
        }
        ASSERT_TRUE(testsupport::SpinUntil([&] { return !thread.IsRunning() && fw::ReadyThreadCount() == 0; }));
        testsupport::ProcessPendingEvents();
    }
    void ExpectCommandsEnabled() {
        for (const char* name : {"PushButton1", "PushButton2"})
            EXPECT_TRUE(Button(name).Enabled()) << name;
        EXPECT_TRUE(menuBar_.BarEnabled());
        EXPECT_FALSE(win_->Get<fw::ProgressBar>("ProgressBar1").Visible());
    }

    testsupport::ScriptedDialogs dialogs_;
    std::vector<std::string> quitRequests;
    bool quitSucceeds = false;
    int runsSeen = 0;
    fw::MenuBar menuBar_;
    fw::Application app_;
};

// Whatever the order or filter of the list, exactly the checked bookmarks leave the file, whole; their
// rows read "deleted", "Done" shows with the changes-applied window, and every command is back.
TEST_F(ListwinDeleteTest, DeletesExactlyTheCheckedBookmarks) {
    const struct {
        const char* view;
        Names checked;
        std::set<std::string> gone;
    } cases[] = {
        {"", {"fav1", "d", "r"}, {"A", "D", "R"}},
        {"SortlistbyBookmarkname", {"d", "e"}, {"D", "E"}},
        {"SortlistbyBookmarkURL", {"g", "f", "fav2"}, {"G", "F", "B"}},
        {"filter", {"fav2"}, {"B"}},
        {"", {}, {}},
        {"", {"c", "d", "e", "f", "fav1", "fav2", "g", "r"}, {"A", "B", "C", "D", "E", "F", "G", "R"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.view << " " << c.gone.size());
        WriteTree(testsupport::SampleTree());
        Button("PushButton2").Push();
        if (std::string(c.view) == "filter") {
            win_->Show();
            SearchField().EditCell(0, 0);
            QWidget* editor = ViewOf(SearchField()).indexWidget(ViewOf(SearchField()).model()->index(0, 0));
            ASSERT_NE(editor, nullptr);
            QTest::keyClicks(editor, "fav");
            QTest::keyClick(editor, Qt::Key_Return);
            testsupport::ProcessPendingEvents();
            ASSERT_EQ(Column(Name), (Names{"fav1", "fav2"}));
        } else if (*c.view) {
            win_->HandleMenuCommand(c.view);
        }
        CheckRows(c.checked);
        Names checked = c.checked;
        std::sort(checked.begin(), checked.end());

        DeleteChecked();
        ExpectFileWithout(c.gone);
        EXPECT_EQ(RowsWithStatus("deleted"), checked);
        EXPECT_EQ(Status(), "Done");
        EXPECT_EQ(win_->Get<fw::ProgressBar>("ProgressBar1").Maximum(), static_cast<int>(checked.size()));
        EXPECT_TRUE(IsOpen<Window1>());
        ExpectCommandsEnabled();
        EXPECT_EQ(quitRequests.back(), "aevt/quit/sfri");
        EXPECT_EQ(dialogs_.messages, Names{kNotQuit});
        EXPECT_EQ(dialogs_.beeps, 1);
        dialogs_.messages.clear();
        dialogs_.beeps = 0;
        fw::Instance<Window1>().Close();
    }
    EXPECT_EQ(runsSeen, 6);
}

// A row of dropped text is marked like the others and removes nothing; a second delete with the first
// run's rows still checked removes the newly checked one too.
TEST_F(ListwinDeleteTest, DroppedRowsAndSecondDeletes) {
    WriteTree(testsupport::SampleTree());
    Button("PushButton2").Push();
    List().DropObject("http://dropped.example/");
    ClickCell(List().ListCount() - 1, quillfen::BookmarkColumn::Check);
    CheckRows({"c"});
    DeleteChecked(true);
    ExpectFileWithout({"C"});
    EXPECT_EQ(RowsWithStatus("deleted"), (Names{"", "c"}));

    CheckRows({"g"});
    DeleteChecked();
    ExpectFileWithout({"C", "G"});
    EXPECT_EQ(RowsWithStatus("deleted"), (Names{"", "c", "g"}));
}

// A cancelled backup still deletes; a backup that cannot be saved is reported and nothing is deleted; a file
// gone since the read fails the run: no row "deleted", the old statuses back, no "Done", no Window1.
TEST_F(ListwinDeleteTest, BackupAndFailuresDecideTheRun) {
    quitSucceeds = true;
    const struct {
        std::optional<std::string> backupTo;
        bool removeFile;
        std::set<std::string> gone;
        const char* status;
    } cases[] = {
        {std::nullopt, false, {"D"}, "Done"},
        {"backup.plist", false, {"D"}, "Done"},
        {"no such folder/backup.plist", false, {}, "Nothing was deleted."},
        {std::nullopt, true, {}, "Nothing was deleted."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.backupTo.value_or("no backup"));
        WriteTree(testsupport::SampleTree());
        Button("PushButton2").Push();
        const std::string before = testsupport::ReadFile(BookmarksPath());
        SetResult(RowNamed("d"), "Not Found", "404");
        CheckRows({"d"});
        dialogs_.messages.clear();
        dialogs_.saveAnswer = c.backupTo ? std::optional(home_.Path() + "/" + *c.backupTo) : std::nullopt;
        if (c.removeFile)
            std::filesystem::remove(BookmarksPath());

        DeleteChecked();
        EXPECT_EQ(dialogs_.asked.back(), "Save the original Bookmarks file as a Backup / Bookmarks.plist");
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(IsOpen<Window1>(), !c.gone.empty());
        EXPECT_EQ(dialogs_.messages.size(), c.gone.empty() ? 1u : 0u);
        EXPECT_EQ(List().Cell(RowNamed("d"), kStatus), c.gone.empty() ? "Not Found" : "deleted");
        if (c.backupTo && !c.gone.empty()) {
            EXPECT_EQ(testsupport::ReadFile(*dialogs_.saveAnswer), before);
        }
        if (!c.removeFile) {
            ExpectFileWithout(c.gone);
        }
        ExpectCommandsEnabled();
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        win_ = &fw::Instance<quillfen::Listwin>();
    }
}

// Cancel, and the close box of the edit confirmation, only close: no quit request, no rewrite. OK is the
// default button of both (Return); the quit request that goes through shows no message.
TEST_F(ListwinDeleteTest, ConfirmationsCancelOrGoOn) {
    WriteTree(testsupport::SampleTree());
    const std::string before = testsupport::ReadFile(BookmarksPath());
    win_->confirmDelete();
    Click(fw::Instance<warningWin>(), "PushButton1");
    EXPECT_FALSE(IsOpen<warningWin>());
    win_->confirmChange();
    fw::detail::WidgetOf(fw::Instance<warningChangeWin>().Get<fw::VisualControl>("PushButton1"))->window()->close();
    EXPECT_FALSE(IsOpen<warningChangeWin>());
    testsupport::ProcessPendingEvents();
    EXPECT_TRUE(quitRequests.empty());
    EXPECT_EQ(testsupport::ReadFile(BookmarksPath()), before);
    EXPECT_TRUE(dialogs_.asked.empty());

    quitSucceeds = true;
    win_->confirmChange();
    QTest::keyClick(WidgetOf(fw::Instance<warningChangeWin>(), "StaticText1").window(), Qt::Key_Return);
    testsupport::ProcessPendingEvents(); // the apply goes on here, not in a later test
    EXPECT_FALSE(IsOpen<warningChangeWin>());
    EXPECT_EQ(quitRequests, Names{"aevt/quit/sfri"});
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(dialogs_.beeps, 0);
}

// The windows' controls stand where their layouts put them, with the captions and texts as written.
TEST_F(ListwinDeleteTest, WindowsShowTheirControlsAndTexts) {
    const std::string tail = "\r\rYou will be asked to save a backup copy of the original Bookmarks file. You are "
                             "strongly adviced to accept.\r\rDo you wish to continue?";
    win_->confirmDelete();
    win_->confirmChange();
    win_->showWindow1();
    const struct {
        fw::Window& window;
        const char* control;
        QRect where;
        std::string text;
    } cases[] = {
        {fw::Instance<warningWin>(), "StaticText1", {114, 12, 401, 164},
         "Safari cannot be not running at this point and will be quit.  Do not start Safari. \r\rSelected "
         "bookmarks will now be deleted, please don't interrupt the process. " + tail},
        {fw::Instance<warningWin>(), "PushButton1", {327, 176, 69, 20}, "Cancel"},
        {fw::Instance<warningWin>(), "PushButton2", {422, 176, 69, 20}, "OK"},
        {fw::Instance<warningChangeWin>(), "StaticText1", {132, 9, 380, 126},
         "Safari cannot be not running at this point and will be quit. Please do not start Safari. \r\rEdited "
         "bookmarks will be permanently changed. " + tail},
        {fw::Instance<warningChangeWin>(), "PushButton1", {342, 147, 69, 20}, "Cancel"},
        {fw::Instance<warningChangeWin>(), "PushButton2", {437, 147, 69, 20}, "OK"},
        {fw::Instance<Window1>(), "StaticText1", {100, 27, 218, 85},
         "The selected bookmarks file has been successfully modifyed. Changes will take effect when you restart "
         "Safari.\r\r"},
        {fw::Instance<Window1>(), "PushButton1", {235, 228, 129, 20}, "Revert to original"},
        {fw::Instance<Window1>(), "PushButton3", {98, 196, 69, 20}, "Close"},
        {fw::Instance<Window1>(), "PushButton2", {143, 228, 75, 20}, "Continue"},
        {fw::Instance<Window1>(), "StaticText2", {20, 113, 353, 109},
         "Keep this window open while you review your updated Bookmarks. (Try in Safari or hit Get Bookmarks to "
         "load the new bookmarks file.) Press \"Revert to original\" to revert back to your previous bookmarks. "
         "Press \"Continue\" to accept the changes and close this window."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window.LayoutName() + "." + c.control);
        QWidget& widget = WidgetOf(c.window, c.control);
        EXPECT_EQ(widget.geometry(), c.where);
        if (auto* button = qobject_cast<QPushButton*>(&widget))
            EXPECT_EQ(button->text().toStdString(), c.text);
        else
            EXPECT_EQ(c.window.Get<fw::StaticText>(c.control).Text(), c.text);
    }
    // Each shows its backdrop: a spot clear of controls changes when the picture is taken away.
    const std::pair<fw::Window*, QPoint> spots[] = {{&fw::Instance<warningWin>(), {40, 100}},
                                                    {&fw::Instance<warningChangeWin>(), {60, 60}},
                                                    {&fw::Instance<Window1>(), {10, 10}}};
    for (const auto& [window, spot] : spots) {
        QWidget* content = fw::detail::ContentOf(*window);
        const QColor with = content->grab().toImage().pixelColor(spot);
        window->SetBackdrop(nullptr);
        EXPECT_NE(content->grab().toImage().pixelColor(spot), with) << window->LayoutName();
    }
    EXPECT_EQ(fw::Instance<warningWin>().Width(), 527);
    EXPECT_EQ(fw::Instance<warningChangeWin>().Height(), 187);
    EXPECT_FALSE(WidgetOf(fw::Instance<Window1>(), "PushButton3").isVisible());
}

// Window1 stands 20 pixels in from the main screen's right edge, level with the main window; "Continue"
// only closes it; "Revert to original" closes it and restores the chosen copy, a cancel restores nothing.
TEST_F(ListwinDeleteTest, ChangesAppliedWindowPlacesAndReverts) {
    win_->SetTop(140);
    const struct {
        const char* button;
        std::optional<std::string> chosen;
        const char* file;
    } cases[] = {
        {"PushButton2", std::nullopt, "new"},
        {"PushButton1", std::nullopt, "new"},
        {"PushButton1", "saved.plist", "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.chosen.value_or(""));
        WriteTree(testsupport::SampleTree());
        std::ofstream(BookmarksPath(), std::ios::binary) << "new";
        std::ofstream(home_.Path() + "/saved.plist", std::ios::binary) << "old";
        dialogs_.openAnswer = c.chosen ? std::optional(home_.Path() + "/" + *c.chosen) : std::nullopt;
        win_->showWindow1();
        Window1& window = fw::Instance<Window1>();
        EXPECT_EQ(window.Left(), fw::MainScreenWidth() - window.Width() - 20);
        EXPECT_EQ(window.Top(), win_->Top());
        Click(window, c.button);
        testsupport::ProcessPendingEvents();
        EXPECT_FALSE(IsOpen<Window1>());
        EXPECT_EQ(testsupport::ReadFile(BookmarksPath()), c.file);
        EXPECT_EQ(dialogs_.messages.size(), c.chosen ? 1u : 0u);
    }
}

} // namespace
