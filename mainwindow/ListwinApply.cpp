// Writing the edit log into Safari's bookmarks file.
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksText.h"
#include "bookmarksfile/EditLog.h"
#include "framework/Application.h"
#include "framework/AtomicFile.h"
#include "framework/Modal.h"
#include "framework/StaticText.h"
#include "framework/Text.h"
#include "framework/Thread.h"
#include "mainwindow/Listwin.h"

#include <optional>

namespace quillfen {
namespace {

constexpr const char* kChanging = "Changing... ";

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

// The file is read as it is now, not as the last load left it, so a delete, a restore or an earlier apply
// stays. The events let through every 100 records may ask for another apply, which is refused (each run
// would write a file the other has not seen), or close the window, which ends the run with the file as it was.
bool Listwin::ApplyChanges() {
    if (*applying_)
        return false;
    const ApplyRun run(applying_);
    const std::vector<EditRecord> records = ReadEditLog(editUIs);
    StatusLine().SetTextColor(fw::RGB(0, 0, 0));
    StatusLine().SetText(kChanging + fw::Str(records.size() + 1));
    StatusLine().Refresh(true);

    const fw::FolderItem file = BookmarksFile();
    const std::optional<std::string> xml = ConvertAndReadBookmarks(file);
    if (!xml) {
        fw::MsgBox("Safari Quillfen could not read Safari's bookmarks, so the changes were not applied.");
        return false;
    }
    const std::optional<std::string> changed = ApplyEdits(*xml, records, [this, &run](std::size_t done) {
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
    });
    if (!changed)
        return false;
    std::string error;
    if (!fw::WriteFileAtomically(file, *changed, &error)) {
        fw::MsgBox("Safari Quillfen could not write Safari's bookmarks (" + error +
                   "), so the changes were not applied. The bookmarks file is as it was.");
        return false;
    }
    StatusLine().SetText("Done");
    PlayGlass();
    StatusLine().Refresh(true);
    return true;
}

// The confirmation that quits Safari first comes with the bookmarks-file rewrite.
void Listwin::PushButton4_Action() {}

bool Listwin::_EditApplyChanges_Action() { return false; }

} // namespace quillfen
