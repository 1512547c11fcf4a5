// Deleting the checked bookmarks from Safari's bookmarks file, on the window's cooperative thread.
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "framework/runtime/Deferred.h"
#include "framework/runtime/Thread.h"
#include "framework/ui/Application.h"
#include "framework/ui/MenuBar.h"
#include "framework/ui/Modal.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/ProgressBar.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "mainwindow/EachRow.h"
#include "mainwindow/Listwin.h"

#include <set>
#include <utility>
#include <vector>

namespace quillfen {
namespace {

constexpr const char* kNothingDeleted = "Nothing was deleted.";

void EnableMenuBar(bool on) {
    if (fw::Application* app = fw::Application::Instance())
        if (fw::MenuBar* bar = app->GetMenuBar())
            bar->SetBarEnabled(on);
}

// The menu bar comes back also when the run is unwound because its window closed.
struct MenuBarShutOff {
    MenuBarShutOff() { EnableMenuBar(false); }
    ~MenuBarShutOff() { EnableMenuBar(true); }
    MenuBarShutOff(const MenuBarShutOff&) = delete;
    MenuBarShutOff& operator=(const MenuBarShutOff&) = delete;
};

} // namespace

void Listwin::deleteSelected() {
    fw::Thread& thread = Get<fw::Thread>("DeleteLoopThread11");
    if (RewriteRunning())
        return;
    if (!makeBackup()) {
        ShowStatusNow(kNothingDeleted);
        return;
    }
    thread.Run();
}

void Listwin::EnableCommands(bool on) {
    for (const char* name : {"PushButton1", "PushButton2", "PushButton4"})
        Get<fw::PushButton>(name).SetEnabled(on);
    EnableRowButtons(on && List().SelCount() > 0);
}

// Works on the rows as they are when it starts and on the file as it is on disk now. The file is
// replaced whole or not at all; a failure marks no row "deleted" and shows neither "Done" nor Window1.
void Listwin::DeleteLoopThread11_Run() {
    EnableCommands(false);
    const MenuBarShutOff menuBarOff;
    StatusLine().SetTextColor(fw::RGB(0, 0, 0));
    ShowStatusNow("Preparing to delete...");

    // A row without an identifier (dropped text) is marked like the others but removes nothing.
    std::set<std::string, std::less<>> uuids;
    std::vector<std::pair<fw::ListBox::RowId, std::string>> marked; // with the status each row had
    ForEachRow(List(), [&](int row) {
        if (!List().CellCheck(row, BookmarkColumn::Check))
            return;
        marked.emplace_back(List().RowIdentity(row), List().Cell(row, BookmarkColumn::Status));
        List().SetCell(row, BookmarkColumn::Status, "deleting");
        if (const std::string& uuid = List().Cell(row, BookmarkColumn::UUID); !uuid.empty())
            uuids.insert(uuid);
    });
    fw::ProgressBar& progress = Get<fw::ProgressBar>("ProgressBar1");
    progress.SetMaximum(static_cast<int>(marked.size()));
    progress.SetValue(0);
    progress.SetVisible(true);
    ShowStatusNow("Deleting... Do not interrupt.");

    const RewriteResult result = RewriteBookmarksFile(BookmarksFile(), [&](const std::string& text) {
        std::string cut = CutBookmarks(text, uuids, [&](std::size_t done) {
            progress.SetValue(static_cast<int>(done));
            fw::BackgroundYield();
        });
        ShowStatusNow("Wrapping Up...");
        return cut;
    });

    // Rows may have been sorted or filtered meanwhile: each is found again by its identity.
    for (const auto& [id, before] : marked) {
        const int row = List().RowOf(id);
        if (row >= 0 && List().Cell(row, BookmarkColumn::Status) == "deleting")
            List().SetCell(row, BookmarkColumn::Status, result.ok ? "deleted" : before);
        fw::BackgroundYield();
    }
    List().Refresh(true);
    progress.SetVisible(false);
    if (!result.ok) {
        ShowStatusNow(kNothingDeleted);
        EnableCommands(true);
        // A message box runs an event loop of its own: not on this thread's stack.
        fw::CallLater([message = result.message] { fw::MsgBox(message); });
        return;
    }
    ShowStatusNow("Done");
    PlayGlass();
    EnableCommands(true);
    EnableMenuBar(true);
    showWindow1();
}

} // namespace quillfen
