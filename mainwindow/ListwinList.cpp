// The bookmark list: its set-up, painting, clicks, paging, drops and sorting.
#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/text/Text.h"
#include "framework/runtime/Thread.h"
#include "framework/runtime/Timer.h"
#include "mainwindow/Listwin.h"
#include "mainwindow/WebAddress.h"

namespace quillfen {

void Listwin::ListBox1_Open() {
    fw::ListBox& list = List();
    list.SetAcceptTextDrop(true);
    list.SetColumnCount(7);
    list.SetColumnType(BookmarkColumn::Check, fw::ListBox::TypeCheckBox);
    const char* headings[] = {" ", "Name", "URL", "Status", "Code", " ", " ", " "};
    for (int column = 0; column < 8; ++column)
        list.SetHeading(column, headings[column]);
    list.SetColumnWidths("30,2*,4*,2*,1*,0,0");
    list.SetColumnAlignment(BookmarkColumn::Check, fw::ListBox::AlignCenter);
    list.SetColumnAlignment(BookmarkColumn::Name, fw::ListBox::AlignLeft);
    list.SetColumnAlignment(BookmarkColumn::Status, fw::ListBox::AlignCenter);
    list.SetColumnAlignment(BookmarkColumn::Code, fw::ListBox::AlignCenter);
    list.SetDefaultRowHeight(18);
    scanNumber = -1;
    list.SetScrollBarVertical(true);
    list.SetUseFocusRing(false);
    list.Refresh(true);
}

bool Listwin::ListBox1_CellBackgroundPaint(fw::Graphics& g, int row, int) {
    g.SetForeColor(row % 2 == 0 ? fw::RGB(240, 240, 255) : fw::RGB(255, 255, 255));
    g.FillRect(0, 0, g.Width(), g.Height());
    return false;
}

bool Listwin::ListBox1_CellClick(int row, int column, int, int) {
    const std::string url = List().Cell(row, BookmarkColumn::URL);
    StatusLine().SetText(url);
    StatusLine().SetTextColor(IsWebAddress(url) ? fw::RGB(0, 0, 255) : fw::RGB(0, 0, 0));
    StatusLine().Refresh(true);
    if (doubleclick)
        OpenIfWebAddress(url);
    activeRow = row;
    activeBookmark_ = List().RowIdentity(row);
    activeColumn = column;
    EnableRowButtons(true);
    return false;
}

// A click within a second after a double-click opens the row's URL.
void Listwin::ListBox1_DoubleClick() {
    doubleclick = true;
    Get<fw::Timer>("Timer2").SetMode(fw::Timer::ModeSingle);
}

void Listwin::Timer2_Action() { doubleclick = false; }

// Space pages on, leaving about three rows of the old view in sight.
bool Listwin::ListBox1_KeyDown(const std::string& key) {
    if (key == " ") {
        fw::ListBox& list = List();
        const double page = static_cast<double>(list.Height()) / list.DefaultRowHeight();
        list.SetScrollPosition(static_cast<int>(list.ScrollPosition() + page - 3));
    }
    return false;
}

void Listwin::ListBox1_DropObject(const std::string& text) { buildText(text); }

// Each "http://" starts a URL that runs to the next one or to the end of its line. Dropped text
// arrives with carriage returns for line ends, so URLs dropped one per line become one row each.
void Listwin::buildText(const std::string& text) {
    const std::vector<std::string> fields = fw::Split(text, "http://");
    for (std::size_t i = 1; i < fields.size(); ++i) {
        List().AddRow("");
        List().SetCell(List().ListCount() - 1, BookmarkColumn::URL, "http://" + fw::NthFieldB(fields[i], "\r", 1));
        fw::BackgroundYield();
    }
    Refresh(true);
}

// Equal names (or URLs) keep the order in which the bookmarks stand in the file.
bool Listwin::ListBox1_CompareRows(int row1, int row2, int column, int& result) {
    if (column != BookmarkColumn::Name && column != BookmarkColumn::URL)
        return false;
    const fw::ListBox& list = List();
    if (fw::TextCompare(list.Cell(row1, column), list.Cell(row2, column)) != 0)
        return false;
    // Texts equal under the comparison have as many characters, so text plus key compares as the keys do.
    const int order = fw::TextCompare(list.Cell(row1, BookmarkColumn::Order), list.Cell(row2, BookmarkColumn::Order));
    result = order == 0 ? 0 : (order > 0 ? 1 : -1);
    return true;
}

// Every heading press flips the direction of the check mirror and sorts by it.
bool Listwin::ListBox1_HeaderPressed(int) {
    fw::ListBox& list = List();
    list.SetSortedColumn(BookmarkColumn::Checked);
    list.SetColumnSortDirection(BookmarkColumn::Checked, list.ColumnSortDirection(BookmarkColumn::Checked) == 1 ? -1 : 1);
    list.SetSortedColumn(BookmarkColumn::Checked);
    list.Sort();
    return false;
}

bool Listwin::ListBox1_SortColumn(int) { return false; }

void Listwin::SortBy(int column) {
    List().SetSortedColumn(column);
    List().Sort();
}

bool Listwin::_SortlistbyBookmarkname_Action() {
    SortBy(BookmarkColumn::Name);
    return false;
}

bool Listwin::_SortlistbyBookmarkURL_Action() {
    SortBy(BookmarkColumn::URL);
    return false;
}

bool Listwin::_SortlistbyCode_Action() {
    SortBy(BookmarkColumn::Code);
    return false;
}

bool Listwin::_SortlistbyOriginalorder_Action() {
    SortBy(BookmarkColumn::Order);
    return false;
}

bool Listwin::_SortlistbyChecked_Action() {
    List().PressHeader(BookmarkColumn::Check);
    SortBy(BookmarkColumn::Checked);
    return false;
}

} // namespace quillfen
