// A fresh main window in a temporary home, its list filled with bookmark rows, and helpers to drive it.
#pragma once

#include "BookmarksFixture.h"
#include "EventLoop.h"
#include "ScriptedModal.h"
#include "TempHome.h"
#include "UserClicks.h"
#include "app/Menu.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "framework/runtime/Thread.h"
#include "framework/text/Text.h"
#include "framework/ui/Application.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/ui/qt/Bridge.h"
#include "mainwindow/Listwin.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTableView>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>

class ListwinTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (withMenu_)
            menuApp_.emplace().SetMenuBar(&quillfen::Menu::Instance());
        win_ = &fw::Instance<quillfen::Listwin>();
    }
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        if (menuApp_) {
            menuApp_->SetMenuBar(nullptr);
            quillfen::Menu::Release();
        }
    }

    // A fresh main window, the old one and every other window closed and freed.
    void Reopen() {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        win_ = &fw::Instance<quillfen::Listwin>();
    }
    QWidget* Top() const { return fw::detail::ContentOf(*win_)->window(); }
    // The user sees the window before using it, and it is the active one unless another window is.
    void ShowWindow() {
        if (!Top()->isVisible())
            win_->Show();
        if (!QApplication::activeWindow())
            testsupport::Activate(Top());
    }
    // The user's input, sent to the shown window; what it sets off is handled before the test goes on.
    template <class Send> void AsUser(Send&& send) {
        ShowWindow();
        send();
        testsupport::ProcessPendingEvents();
    }
    // The user's click at the middle of `control`, delivered by its window to whatever lies on top there.
    void Click(const fw::VisualControl& control) {
        AsUser([&] { testsupport::ClickOnTop(control); });
    }
    fw::ListBox& List() const { return win_->Get<fw::ListBox>("ListBox1"); }
    fw::ListBox& SearchField() const { return win_->Get<fw::ListBox>("ListBox2"); }
    fw::PushButton& Button(const char* name) const { return win_->Get<fw::PushButton>(name); }
    fw::PushButton& ScanControl() const { return Button("PushButton1"); }
    fw::StaticText& StatusLine() const { return win_->Get<fw::StaticText>("statusLine"); }
    std::string Status() const { return StatusLine().Text(); }
    static QTableView& ViewOf(const fw::ListBox& list) {
        return *static_cast<QTableView*>(fw::detail::WidgetOf(list));
    }
    QTableView& View() const { return ViewOf(List()); }
    template <class W> static bool IsOpen() { return fw::detail::OpenWindow(typeid(W)) != nullptr; }

    // A bookmark row as the bookmarks-file reader writes it; `order` is its place in the file.
    void AddBookmark(const std::string& name, const std::string& url, int order,
                     const std::string& code = {}) {
        List().AddRow("");
        const int row = List().ListCount() - 1;
        List().SetCell(row, quillfen::BookmarkColumn::Name, name);
        List().SetCell(row, quillfen::BookmarkColumn::URL, url);
        List().SetCell(row, quillfen::BookmarkColumn::Code, code);
        List().SetCell(row, quillfen::BookmarkColumn::Order, fw::Format(order, "000000"));
    }
    std::string Path(const std::string& name) const { return home_.Path() + "/" + name; }
    std::string BookmarksPath() const { return Path("Library/Safari/Bookmarks.plist"); }
    // Entries beside the bookmarks file and itself: 1 when no temporary file was left.
    long SafariEntries() const { return testsupport::EntryCount(Path("Library/Safari")); }
    // While `on`, another program saves the file between a rewrite's read and its replace: the same bytes,
    // written beside it and renamed over it.
    void SaveMeanwhile(bool on) {
        quillfen::SetAfterReadHook(on ? std::function<void()>([this] {
            std::filesystem::copy_file(BookmarksPath(), Path("saved meanwhile"));
            std::filesystem::rename(Path("saved meanwhile"), BookmarksPath());
        })
                                      : nullptr);
    }
    void WaitForDeleteRun() {
        ASSERT_TRUE(
            testsupport::SpinUntil([&] { return !win_->Get<fw::Thread>("DeleteLoopThread11").IsRunning(); }));
    }
    // Safari's bookmarks file in the temporary home, one folder of these bookmarks, then a click on "Get
    // Bookmarks" unless `get` is false.
    void WriteBookmarksFile(const std::vector<testsupport::FixtureBookmark>& bookmarks, bool get = true) {
        std::filesystem::create_directories(home_.Path() + "/Library/Safari");
        testsupport::BookmarksFixture fixture(testsupport::BookmarksFixture::Form::Modern);
        for (const testsupport::FixtureBookmark& bookmark : bookmarks)
            fixture.Add("BookmarksBar", bookmark);
        ASSERT_TRUE(fixture.Write(BookmarksPath(), testsupport::BookmarksFixture::Encoding::Binary));
        if (get)
            Click(Button("PushButton2"));
    }
    // What a scan writes into a row.
    void SetResult(int row, const std::string& status, const std::string& code) {
        List().SetCell(row, quillfen::BookmarkColumn::Status, status);
        List().SetCell(row, quillfen::BookmarkColumn::Code, code);
    }
    std::vector<int> RowsWhere(const std::function<bool(int)>& test) const {
        std::vector<int> rows;
        for (int row = 0; row < List().ListCount(); ++row)
            if (test(row))
                rows.push_back(row);
        return rows;
    }
    // The first row whose cell in `column` reads `text`; -1 when none does.
    int RowWith(int column, const std::string& text) const {
        const std::vector<int> rows = RowsWhere([&](int row) { return List().Cell(row, column) == text; });
        return rows.empty() ? -1 : rows.front();
    }
    std::vector<int> SelectedRows() const {
        return RowsWhere([this](int row) { return List().Selected(row); });
    }
    // The rows whose check box is on; every row's check mirror must agree with its box.
    std::vector<int> MarkedRows() const {
        return RowsWhere([this](int row) {
            const bool on = List().CellCheck(row, quillfen::BookmarkColumn::Check);
            const std::string& mirror = List().Cell(row, quillfen::BookmarkColumn::Checked);
            EXPECT_EQ(mirror, on ? "1" : (mirror.empty() ? "" : "0")) << "row " << row;
            return on;
        });
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> out;
        for (int row = 0; row < List().ListCount(); ++row)
            out.push_back(List().Cell(row, column));
        return out;
    }
    QWidget* FieldEditor() const {
        QTableView& field = ViewOf(SearchField());
        return field.indexWidget(field.model()->index(0, 0));
    }
    // Keys go to the window that has the focus, which hands them to its focus widget or its shortcuts.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        AsUser([&] { testsupport::PressKey(Top(), key, modifiers); });
    }
    void Type(const std::string& text) {
        AsUser([&] { testsupport::TypeText(Top(), text); });
    }
    // The user scrolls the cell into sight and clicks (or double-clicks) its middle.
    void ClickCellOf(const fw::ListBox& list, int row, int column, bool twice = false,
                     Qt::KeyboardModifiers modifiers = {}) {
        QTableView& view = ViewOf(list);
        const QModelIndex index = view.model()->index(row, column);
        AsUser([&] {
            view.scrollTo(index);
            testsupport::ClickAt(view.viewport(), view.visualRect(index).center(), modifiers, twice);
        });
    }
    void ClickCell(int row, int column, bool twice = false, Qt::KeyboardModifiers modifiers = {}) {
        ClickCellOf(List(), row, column, twice, modifiers);
    }
    void ClickField() { ClickCellOf(SearchField(), 0, 0); }
    // The user clicks into the search field, types and ends the edit with Return.
    void TypeWordAndReturn(const std::string& word) {
        ClickField();
        Type(word);
        Press(Qt::Key_Return);
    }
    // Files written from now on end at `bytes`, as on a full disk, also for a privileged user; none: as far
    // as the hard limit allows.
    static void LimitFileSize(std::optional<rlim_t> bytes) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes.value_or(limit.rlim_max);
        std::signal(SIGXFSZ, bytes ? SIG_IGN : SIG_DFL);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    quillfen::Listwin* win_ = nullptr;
    bool withMenu_ = false; // set before SetUp where commands or keys go through the application's menu bar
    std::optional<fw::Application> menuApp_;
};
