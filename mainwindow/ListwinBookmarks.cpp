// Filling the list from Safari's bookmarks file, and the "Get Bookmarks" button.
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksReader.h"
#include "framework/text/Text.h"
#include "framework/ui/Modal.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "mainwindow/Listwin.h"

namespace quillfen {
namespace {

// Each bookmark read becomes a row at the end of the list.
class ListSink : public BookmarkSink {
public:
    explicit ListSink(fw::ListBox& list) : list_(list) {}
    void AddBookmark(const BookmarkRow& row) override {
        list_.AddRow("");
        const int last = list_.ListCount() - 1;
        list_.SetCell(last, BookmarkColumn::URL, row.url);
        list_.SetCell(last, BookmarkColumn::Name, row.name);
        list_.SetCell(last, BookmarkColumn::UUID, row.uuid);
        list_.SetCell(last, BookmarkColumn::Order, row.orderKey);
    }

private:
    fw::ListBox& list_;
};

} // namespace

void Listwin::buildList() {
    List().DeleteAllRows();
    ListSink sink(List());
    ReadResult result = ReadBookmarks(BookmarksFile(), sink);
    urlArray = std::move(result.urlArray);
    UUIDArray = std::move(result.UUIDArray);
    if (result.status == ReadStatus::ReadFailure) {
        fw::MsgBox(std::string(kReadFailureMessage));
        return;
    }
    List().SetColumnAlignment(BookmarkColumn::Check, fw::ListBox::AlignRight);
    List().Refresh(true);
    StatusLine().SetText(fw::Str(List().ListCount()) + " bookmarks");
    StatusLine().SetTextColor(fw::RGB(0, 0, 0));
    Refresh(true);
    editWholeplist = std::move(result.wholeText);
    editHasBeenEdited = false;
}

void Listwin::PushButton2_Action() {
    buildList();
    Get<fw::PushButton>("PushButton2").SetDefault(false);
    Get<fw::PushButton>("PushButton1").SetDefault(true);
    List().SetSortedColumn(BookmarkColumn::Order);
    SearchField().SetCell(0, 0, "");
    SearchField().Refresh(true);
    EnableRowButtons(false);
}

} // namespace quillfen
