// Marking rows by result class, by selection and as duplicate URLs, and unmarking them all.
#include "checker/StatusText.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/Modal.h"
#include "framework/text/Text.h"
#include "mainwindow/EachRow.h"
#include "mainwindow/Listwin.h"

#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quillfen {

void Listwin::SetMark(int row, bool on) {
    List().SetCellCheck(row, BookmarkColumn::Check, on);
    List().SetCell(row, BookmarkColumn::Checked, on ? "1" : "0");
}

// Marks only ever add up: rows that do not qualify keep what they had.
template <class Qualifies> void Listwin::MarkRowsWhere(Qualifies qualifies) {
    ForEachRow(List(), [&](int row) {
        if (qualifies(row))
            SetMark(row, true);
    });
    List().Refresh(true);
}

// A timed-out row's Code cell holds the time-out in seconds, so it would pass for a digit class
// without the Status test. Socket errors (100 to 108) fall in class 1.
void Listwin::MarkResultClass(char digit) {
    const std::string timeout = StatusText(kTimeoutCode);
    MarkRowsWhere([&](int row) {
        const std::string& code = List().Cell(row, BookmarkColumn::Code);
        return !code.empty() && code.front() == digit && List().Cell(row, BookmarkColumn::Status) != timeout;
    });
}

bool Listwin::_Checkall1xx_Action() {
    MarkResultClass('1');
    return false;
}

bool Listwin::_Checkall2xx_Action() {
    MarkResultClass('2');
    return false;
}

bool Listwin::_Checkall3xx_Action() {
    MarkResultClass('3');
    return false;
}

bool Listwin::_Checkall4xx_Action() {
    MarkResultClass('4');
    return false;
}

bool Listwin::_Checkall5xx_Action() {
    MarkResultClass('5');
    return false;
}

bool Listwin::_CheckallTxx_Action() {
    const std::string timeout = StatusText(kTimeoutCode);
    MarkRowsWhere([&](int row) { return List().Cell(row, BookmarkColumn::Status) == timeout; });
    return false;
}

bool Listwin::_ToolsCheckSelectedBookmarks_Action() {
    MarkRowsWhere([&](int row) { return List().Selected(row); });
    return false;
}

bool Listwin::_Uncheckall_Action() {
    ForEachRow(List(), [&](int row) { SetMark(row, false); });
    List().Refresh(true);
    return false;
}

bool Listwin::_CheckDuplicatesDuplicateURLs_Action() {
    ShowStatusNow("Reading Duplicates...");
    checkDups();
    return true;
}

// URLs are compared byte for byte: addresses that differ only in letter case may name different pages.
void Listwin::checkDups() {
    ForEachRow(List(), [&](int row) { SetMark(row, false); });
    std::vector<std::pair<fw::ListBox::RowId, std::string>> urls;
    urls.reserve(static_cast<std::size_t>(List().ListCount()));
    ForEachRow(List(), [&](int row) { urls.emplace_back(List().RowIdentity(row), List().Cell(row, BookmarkColumn::URL)); });
    fw::Beep();
    // A row is a duplicate when a row above it has its URL. Walking down with the URLs seen so far
    // marks the same rows as comparing each row with all the rows above it, in linear time.
    std::unordered_set<std::string_view> seen;
    seen.reserve(urls.size());
    int count = 0;
    for (const auto& [id, url] : urls) {
        const int row = List().RowOf(id);
        if (!seen.insert(url).second && row >= 0) {
            SetMark(row, true);
            ++count;
        }
        fw::BackgroundYield();
    }
    ShowStatusNow(fw::Str(count) + " Duplicates");
}

} // namespace quillfen
