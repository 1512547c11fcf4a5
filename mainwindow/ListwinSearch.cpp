// The search field, Find and Find Next, and the filter.
#include "framework/ui/graphics/Graphics.h"
#include "framework/ui/controls/ListBox.h"
#include "framework/ui/Modal.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/StaticText.h"
#include "framework/text/Text.h"
#include "mainwindow/EachRow.h"
#include "mainwindow/Listwin.h"

#include <algorithm>
#include <vector>

namespace quillfen {
namespace {
// The first row of Find Next's hit is shown this many rows below the top of the list.
constexpr int kRowsAboveHit = 5;
} // namespace

fw::ListBox& Listwin::SearchField() const { return Get<fw::ListBox>("ListBox2"); }

void Listwin::ListBox2_Open() {
    fw::ListBox& field = SearchField();
    field.SetColumnType(0, fw::ListBox::TypeEditable);
    field.AddRow("");
    field.SetUseFocusRing(false);
    // One row fills the field inside its border: a taller row would put the lower part of the text
    // below the field's edge.
    field.SetDefaultRowHeight(field.Height() - 2);
}

void Listwin::ListBox2_GotFocus() { SearchField().EditCell(0, 0); }

// Every click starts a new word, also while the field keeps the focus after an edit was abandoned,
// when no focus event would open the cell again; the click then goes on to the list box.
bool Listwin::ListBox2_CellClick(int, int, int, int) {
    SearchField().SetCell(0, 0, "");
    SearchField().EditCell(0, 0);
    SearchField().Refresh(true);
    return false;
}

// Answering "drawn" keeps the field white: it never shows a selection.
bool Listwin::ListBox2_CellBackgroundPaint(fw::Graphics& g, int, int) {
    g.SetForeColor(fw::RGB(255, 255, 255));
    return true;
}

// Return ends the word: the list is reloaded and filtered by it, and the focus goes to the list.
void Listwin::ListBox2_CellAction(int, int) {
    SearchField().SetSelected(0, false);
    SearchField().Refresh(true);
    if (List().ListCount() > 0) {
        filterWord();
        List().SetFocus();
    }
}

void Listwin::ListBox2_CellLostFocus(int, int) { SearchField().SetSelected(0, false); }

void Listwin::ListBox2_Change() { Get<fw::PushButton>("PushButton1").SetDefault(false); }

bool Listwin::_FileFind_Action() {
    searchLine = 0;
    SearchField().EditCell(0, 0);
    return false;
}

bool Listwin::_FileFindNext_Action() {
    if (List().ListCount() == 0)
        fw::Beep();
    else
        searchWord();
    return false;
}

// The search starts after the last hit and wraps at the end. A position at or past the end (the list
// may have been shortened since) wraps too, and without a hit the search stops after one full pass.
void Listwin::searchWord() {
    fw::ListBox& list = List();
    list.SetSelectionType(fw::ListBox::SelectionSingle);
    // The word being typed counts: Find Next must not wait for Return, which would filter the list.
    const std::string word = SearchField().ShownText(0, 0);
    for (int examined = 0; examined < list.ListCount(); ++examined) {
        ++searchLine;
        if (searchLine >= list.ListCount())
            searchLine = 0;
        if (fw::InStr(list.Cell(searchLine, BookmarkColumn::Name), word) > 0) {
            list.SetScrollPosition(std::max(0, searchLine - kRowsAboveHit));
            list.SetSelected(searchLine, true);
            list.Refresh(true);
            break;
        }
        fw::BackgroundYield();
    }
    list.SetSelectionType(fw::ListBox::SelectionMultiple);
}

// Rows are judged one by one as they stand, then the misses leave the list together, by identity.
void Listwin::filterWord() {
    buildList();
    const std::string word = SearchField().Cell(0, 0);
    if (!word.empty()) {
        fw::ListBox& list = List();
        std::vector<fw::ListBox::RowId> misses;
        ForEachRow(list, [&](int row) {
            if (fw::InStr(list.Cell(row, BookmarkColumn::Name) + list.Cell(row, BookmarkColumn::URL), word) == 0)
                misses.push_back(list.RowIdentity(row));
        });
        list.RemoveRows(misses);
    }
    StatusLine().SetText(fw::Str(List().ListCount()) + " matched");
    List().Refresh(true);
}

} // namespace quillfen
