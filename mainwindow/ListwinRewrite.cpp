// What every rewrite of the bookmarks file shares: the confirmations, the backup copy, the
// changes-applied window and the restore.
#include "app/Media.h"
#include "bookmarksfile/BookmarksBackup.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/QuitSafariConfirmation.h"
#include "bookmarksfile/Window1.h"
#include "framework/ui/Modal.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"

namespace quillfen {
namespace {

template <class W> void ShowConfirmation(fw::Picture* backdrop, std::function<void()> proceed) {
    W& window = fw::Instance<W>();
    window.SetBackdrop(backdrop);
    window.proceed = std::move(proceed);
    window.Show();
}

} // namespace

void Listwin::confirmDelete() {
    ShowConfirmation<warningWin>(deletepic(), [] { fw::Instance<Listwin>().deleteSelected(); });
}

void Listwin::confirmChange() {
    ShowConfirmation<warningChangeWin>(quillfen1(), [] { fw::Instance<Listwin>().warnChange(); });
}

bool Listwin::makeBackup() { return OfferBackup(BookmarksFile()); }

void Listwin::showWindow1() {
    Window1& window = fw::Instance<Window1>();
    window.SetBackdrop(junk2());
    window.PlaceBeside(Top());
    window.revertToOriginal = [] { fw::Instance<Listwin>().restoreOriginal(); };
    window.Show();
}

// The list is not reloaded: the user does that with "Get Bookmarks", as the changes-applied window says.
// A delete or an apply under way would rename a file made from the old text over the restored one.
void Listwin::restoreOriginal() {
    if (RewriteRunning()) {
        fw::MsgBox("Safari's bookmarks file is being rewritten, so nothing was restored. Please try again "
                   "when it is done.");
        return;
    }
    fw::CloseIfOpen<Window1>();
    RestoreFromCopy(BookmarksFile());
}

} // namespace quillfen
