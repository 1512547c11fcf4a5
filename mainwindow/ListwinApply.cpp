// Writing the edit log into Safari's bookmarks file.
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "bookmarksfile/EditLog.h"
#include "bookmarksfile/NotDoneReport.h"
#include "bookmarksfile/Window1.h"
#include "framework/ui/Application.h"
#include "framework/ui/Modal.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/text/Text.h"
#include "framework/runtime/Thread.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

#include <optional>
#include <utility>

namespace quillfen {
namespace {

constexpr const char* kChanging = "Changing... ";
constexpr const char* kNothingChanged = "Nothing was changed.";

// Marks an apply as running, and as ended however it ends, also when the window went meanwhile.
class ApplyRun {
public:
    explicit ApplyRun(const std::shared_ptr<bool>& flag) : flag_(flag) { *flag = true; }
    ~ApplyRun() {
        if (const std::shared_ptr<bool> flag = flag_.lock())
            *flag = false;
    }
    ApplyRun(const ApplyRun&) = delete;
    ApplyRun& operator=(const ApplyRun&) = delete;

    bool WindowGone() const { return flag_.expired(); }

private:
    std::weak_ptr<bool> flag_;
};

} // namespace

// The confirmation has closed itself by now. A failed backup or apply keeps the log and the file as they
// were.
void Listwin::warnChange() {
    fw::CloseIfOpen<Window1>();
    if (!makeBackup()) {
        ShowStatusNow(kNothingChanged);
        return;
    }
    if (!ApplyChanges())
        return;
    Get<fw::PushButton>("PushButton4").SetEnabled(!editUIs.empty());
    showWindow1();
}

bool Listwin::RewriteRunning() const { return *applying_ || Get<fw::Thread>("DeleteLoopThread11").IsRunning(); }

// The file is read as it is on disk now, not as the last load left it, so a delete, a restore or an earlier
// apply stays. The events let through every 100 records may ask for another apply or a delete, which are
// refused (each run would write a file the other has not seen), or close the window, which ends the run
// with the file as it was.
bool Listwin::ApplyChanges() {
    if (RewriteRunning())
        return false;
    const ApplyRun run(applying_);
    const std::size_t logSize = editUIs.size();
    const std::vector<EditRecord> records = ReadEditLog(editUIs);
    std::vector<EditOutcome> outcomes;
    StatusLine().SetTextColor(fw::RGB(0, 0, 0));
    StatusLine().SetText(kChanging + fw::Str(records.size() + 1));
    StatusLine().Refresh(true);

    const RewriteResult result = RewriteBookmarksFile(BookmarksFile(), [&](const std::string& text) {
        std::optional<std::string> changed = ApplyEdits(text, records, [this, &run](std::size_t done) {
            // Counted as the log's fields are: the first record is field 2.
            if (const std::size_t field = done + 1; field % 100 == 0) {
                StatusLine().SetText(kChanging + fw::Str(field));
                StatusLine().Refresh(true);
                if (fw::Application* app = fw::Application::Instance())
                    app->DoEvents();
                if (run.WindowGone())
                    return false;
            }
            fw::BackgroundYield();
            return true;
        }, &outcomes);
        return changed ? std::move(*changed) : text; // the same text is not written
    });
    if (run.WindowGone())
        return false;
    if (!result.ok) {
        ShowStatusNow(kNothingChanged);
        fw::MsgBox(result.message);
        return false;
    }
    // Only the records applied leave the log: the others stay, and so do edits made while the apply let
    // events through.
    std::string kept;
    std::vector<NotDone> notApplied;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i] == EditOutcome::Applied)
            continue;
        AppendEditRecord(kept, records[i]);
        notApplied.push_back({records[i].newTitle, records[i].newURL, WhyNotApplied(outcomes[i])});
    }
    editUIs = kept + editUIs.substr(logSize);
    if (!notApplied.empty()) {
        StatusLine().SetText(result.changed ? "Not every change was applied." : "No change was applied.");
        StatusLine().Refresh(true);
        fw::MsgBox(NotDoneMessage("These changes could not be applied and are kept for the next time:",
                                  notApplied));
        return result.changed;
    }
    StatusLine().SetText("Done");
    PlayGlass();
    StatusLine().Refresh(true);
    return true;
}

void Listwin::PushButton4_Action() { confirmChange(); }

bool Listwin::_EditApplyChanges_Action() {
    confirmChange();
    return false;
}

} // namespace quillfen
