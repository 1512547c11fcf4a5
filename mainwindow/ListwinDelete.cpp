// Deleting the checked bookmarks from Safari's bookmarks file, on the window's cooperative thread.
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "bookmarksfile/NotDoneReport.h"
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
// replaced whole or not at all; a failure marks no row "deleted" and shows neither "Done" nor Window1. A
// bookmark that could not be cut is named, and Window1 then shows only when others left the file.
void Listwin::DeleteLoopThread11_Run() {
    EnableCommands(false);
    const MenuBarShutOff menuBarOff;
    StatusLine().SetTextColor(fw::RGB(0, 0, 0));
    ShowStatusNow("Preparing to delete...");

    // A row without an identifier (dropped text) removes nothing and is named as not deleted.
    std::set<std::string, std::less<>> uuids;
    struct Marked {
        fw::ListBox::RowId id;
        std::string status; // the one the row had
        std::string uuid;
        NotDone named;
    };
    std::vector<Marked> marked;
    ForEachRow(List(), [&](int row) {
        if (!List().CellCheck(row, BookmarkColumn::Check))
            return;
        const std::string uuid = List().Cell(row, BookmarkColumn::UUID);
        marked.push_back({List().RowIdentity(row), List().Cell(row, BookmarkColumn::Status), uuid,
                          {List().Cell(row, BookmarkColumn::Name), List().Cell(row, BookmarkColumn::URL), {}}});
        List().SetCell(row, BookmarkColumn::Status, "deleting");
        if (!uuid.empty())
            uuids.insert(uuid);
    });
    fw::ProgressBar& progress = Get<fw::ProgressBar>("ProgressBar1");
    progress.SetMaximum(static_cast<int>(marked.size()));
    progress.SetValue(0);
    progress.SetVisible(true);
    ShowStatusNow("Deleting... Do not interrupt.");

    CutOutcomes outcomes;
    const RewriteResult result = RewriteBookmarksFile(BookmarksFile(), [&](const std::string& text) {
        std::string cut = CutBookmarks(
            text, uuids,
            [&](std::size_t done) {
                progress.SetValue(static_cast<int>(done));
                fw::BackgroundYield();
            },
            &outcomes);
        ShowStatusNow("Wrapping Up...");
        return cut;
    });

    // Rows may have been sorted or filtered meanwhile: each is found again by its identity. Only a row
    // whose entry left the file reads "deleted".
    std::vector<NotDone> notDeleted;
    for (Marked& mark : marked) {
        const auto outcome = outcomes.find(mark.uuid);
        const CutOutcome cut = outcome == outcomes.end() ? CutOutcome::NotFound : outcome->second;
        const bool deleted = result.ok && result.changed && cut == CutOutcome::Cut;
        const int row = List().RowOf(mark.id);
        if (row >= 0 && List().Cell(row, BookmarkColumn::Status) == "deleting")
            List().SetCell(row, BookmarkColumn::Status, deleted ? "deleted" : mark.status);
        // A row an earlier run deleted, still checked, is gone as asked.
        const bool goneBefore = cut == CutOutcome::NotFound && mark.status == "deleted";
        if (result.ok && !deleted && !goneBefore) {
            mark.named.why = WhyNotCut(cut);
            notDeleted.push_back(std::move(mark.named));
        }
        fw::BackgroundYield();
    }
    List().Refresh(true);
    progress.SetVisible(false);
    EnableCommands(true);
    if (!result.ok || !notDeleted.empty()) {
        ShowStatusNow(result.changed ? "Not every checked bookmark was deleted." : kNothingDeleted);
        const std::string message =
            result.ok ? NotDoneMessage("These bookmarks were not deleted:", notDeleted) : result.message;
        // A message box runs an event loop of its own: not on this thread's stack.
        fw::CallLater([message] { fw::MsgBox(message); });
        if (!result.changed)
            return;
    } else {
        ShowStatusNow("Done");
        PlayGlass();
    }
    EnableMenuBar(true);
    showWindow1();
}

} // namespace quillfen
