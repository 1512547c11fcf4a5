// The search field, Find and Find Next, the filter, and rows from dropped text.
#include "BookmarksFixture.h"
#include "ListwinFixture.h"
#include "framework/PushButton.h"
#include "framework/StaticText.h"

#include <QMimeData>
#include <QDropEvent>
#include <filesystem>

namespace {

using quillfen::BookmarkColumn::Name, quillfen::BookmarkColumn::URL;

class ListwinSearchTest : public ListwinTest {
protected:
    void SetWord(const std::string& word) { SearchField().SetCell(0, 0, word); }
    void FindNext() { EXPECT_FALSE(win_->HandleMenuCommand("FileFindNext")); }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int row = 0; row < List().ListCount(); ++row)
            if (List().Selected(row))
                rows.push_back(row);
        return rows;
    }
    std::string Status() const { return win_->Get<fw::StaticText>("statusLine").Text(); }
    void AddNames(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            AddBookmark(name, "http://" + name + ".example/", List().ListCount() + 1);
    }
    // Safari's bookmarks file in the temporary home, with these titles and URLs.
    void WriteBookmarksFile(const std::vector<std::pair<std::string, std::string>>& bookmarks) {
        const std::string folder = home_.Path() + "/Library/Safari";
        std::filesystem::create_directories(folder);
        testsupport::BookmarksFixture fixture(testsupport::BookmarksFixture::Form::Modern);
        int uuid = 0;
        for (const auto& [title, url] : bookmarks)
            fixture.Add("BookmarksBar", {title, url, "UUID-" + std::to_string(++uuid)});
        ASSERT_TRUE(fixture.Write(folder + "/Bookmarks.plist", testsupport::BookmarksFixture::Encoding::Xml));
    }
    // The user types into the search field and ends the edit with Return.
    void TypeWordAndReturn(const std::string& word) {
        QTableView& field = ViewOf(SearchField());
        SearchField().EditCell(0, 0);
        QWidget* editor = field.indexWidget(field.model()->index(0, 0));
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QString::fromStdString(word));
        QTest::keyClick(editor, Qt::Key_Return);
        testsupport::ProcessPendingEvents();
    }
};

// After Find the search starts at row 1 and reaches row 0 only after the wrap; the word is read from
// the search field and matched in names only, without regard to letter case.
TEST_F(ListwinSearchTest, FindNextStartsAfterFindAndWraps) {
    AddNames({"Apple", "plum", "apple pie", "pear"});
    List().SetCell(3, URL, "http://apple.example/");
    EXPECT_FALSE(win_->HandleMenuCommand("FileFind"));
    EXPECT_EQ(win_->searchLine, 0);
    SetWord("APPLE");
    FindNext();
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    FindNext();
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(List().SelectionType(), fw::ListBox::SelectionMultiple);
}

// A hit among the first five rows shows the top of the list; a later hit is shown five rows down, as the
// only selected row.
TEST_F(ListwinSearchTest, FindNextScrollsToTheHitLessFive) {
    for (int i = 0; i < 100; ++i)
        AddNames({i == 3 || i == 40 ? "needle" : "hay"});
    List().SetSelected(10, true);
    List().SetSelected(11, true);
    List().SetScrollPosition(50);
    SetWord("needle");
    FindNext();
    EXPECT_EQ(List().ScrollPosition(), 0);
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    FindNext();
    EXPECT_EQ(List().ScrollPosition(), 35);
    EXPECT_EQ(SelectedRows(), std::vector<int>{40});
}

// Without a hit the search ends after one pass, on short lists too and from a position past the end
// of a list that shrank; the last rows are searched like the others.
TEST_F(ListwinSearchTest, FindNextEndsAfterOnePass) {
    AddNames({"a", "b", "c"});
    SetWord("zzz");
    win_->searchLine = 50;
    FindNext();
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_EQ(List().SelectionType(), fw::ListBox::SelectionMultiple);

    SetWord("c");
    win_->searchLine = -1;
    FindNext();
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(modal_.beeps, 0);
}

// Find Next on an empty list only beeps; Find opens the search field for typing.
TEST_F(ListwinSearchTest, FindOnAnEmptyList) {
    FindNext();
    EXPECT_EQ(modal_.beeps, 1);
    win_->HandleMenuCommand("FileFind");
    QTableView& field = ViewOf(SearchField());
    EXPECT_NE(field.indexWidget(field.model()->index(0, 0)), nullptr);
}

// The search field is one empty editable cell; a click empties it. Once "Get Bookmarks" has passed the
// default to the scan control, a change of the field's selection leaves no default button.
TEST_F(ListwinSearchTest, SearchFieldClickAndChange) {
    ASSERT_EQ(SearchField().ListCount(), 1);
    EXPECT_EQ(SearchField().Cell(0, 0), "");
    SetWord("old word");
    QTableView& field = ViewOf(SearchField());
    QTest::mouseClick(field.viewport(), Qt::LeftButton, {}, field.visualRect(field.model()->index(0, 0)).center());
    EXPECT_EQ(SearchField().Cell(0, 0), "");

    win_->Get<fw::PushButton>("PushButton2").Push();
    ASSERT_TRUE(win_->Get<fw::PushButton>("PushButton1").Default());
    SearchField().SetSelected(0, false);
    SearchField().SetSelected(0, true);
    EXPECT_FALSE(win_->Get<fw::PushButton>("PushButton1").Default());
    EXPECT_FALSE(win_->Get<fw::PushButton>("PushButton2").Default());
}

// Taking the focus puts the field into editing; losing it deselects the field's row. A selected row
// is never highlighted: the field stays white.
TEST_F(ListwinSearchTest, SearchFieldFocusAndLook) {
    win_->Show();
    QTableView& field = ViewOf(SearchField());
    const QModelIndex cell = field.model()->index(0, 0);
    SearchField().SetFocus();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return field.indexWidget(cell) != nullptr; }, 2000));
    SearchField().SetSelected(0, true);
    List().SetFocus();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return field.indexWidget(cell) == nullptr; }, 2000));
    EXPECT_FALSE(SearchField().Selected(0));

    SearchField().SetSelected(0, true);
    const QImage image = field.viewport()->grab().toImage();
    const QPoint blank(field.visualRect(cell).right() - 3, field.viewport()->height() / 2);
    ASSERT_TRUE(image.valid(blank));
    EXPECT_EQ(image.pixelColor(blank), QColor(Qt::white));
}

// Return in the search field reloads the list from the file and keeps the bookmarks whose name followed
// by URL holds the word, also across the two; the focus then goes to the list.
TEST_F(ListwinSearchTest, ReturnFiltersTheReloadedList) {
    WriteBookmarksFile({{"News", "http://paper.example/"}, {"Alpha", "http://beta.example/"},
                        {"Recipes", "http://food.example/alpha"}});
    win_->Get<fw::PushButton>("PushButton2").Push();
    win_->Show();
    List().SetCellCheck(0, 0, true);
    SetResult(0, "OK", "200");

    TypeWordAndReturn("ahttp://b");
    EXPECT_EQ(Column(Name), std::vector<std::string>{"Alpha"});
    EXPECT_EQ(Status(), "1 matched");
    EXPECT_FALSE(SearchField().Selected(0));
    EXPECT_TRUE(List().HasFocus());

    TypeWordAndReturn("ALPHA");
    EXPECT_EQ(Column(Name), (std::vector<std::string>{"Alpha", "Recipes"}));
    EXPECT_EQ(MarkedRows(), std::vector<int>{});
    EXPECT_EQ(Column(quillfen::BookmarkColumn::Status), (std::vector<std::string>{"", ""}));

    TypeWordAndReturn("");
    EXPECT_EQ(Status(), "3 matched");
}

// With an empty list, Return only ends the edit: nothing is read or filtered.
TEST_F(ListwinSearchTest, ReturnWithAnEmptyListDoesNothing) {
    WriteBookmarksFile({{"News", "http://paper.example/"}});
    win_->Show();
    const std::string before = Status();
    TypeWordAndReturn("news");
    EXPECT_EQ(List().ListCount(), 0);
    EXPECT_EQ(Status(), before);
    EXPECT_EQ(SearchField().Cell(0, 0), "news");
    EXPECT_FALSE(SearchField().Selected(0));
}

// Dropped text: every "http://" starts a row at the end of the list, cut at the line end; the rows
// already there stay as they were, and text without "http://" adds nothing.
TEST_F(ListwinSearchTest, DroppedTextAddsOneRowPerUrl) {
    for (int i = 0; i < 100; ++i)
        AddNames({"row" + std::to_string(i)});
    auto drop = [this](const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint at = View().viewport()->rect().center();
        // Qt delivers a drop only to the widget that accepted the drag's entry.
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(View().viewport(), &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(View().viewport(), &event);
    };
    drop("see http://a.example/one\nhttp://b.example/two two\r\n");
    ASSERT_EQ(List().ListCount(), 102);
    EXPECT_EQ(List().Cell(100, URL), "http://a.example/one");
    EXPECT_EQ(List().Cell(101, URL), "http://b.example/two two");
    EXPECT_EQ(List().Cell(101, Name), "");
    EXPECT_EQ(List().Cell(0, URL), "http://row0.example/");
    EXPECT_EQ(List().Cell(1, Name), "row1");

    drop("https://secure.example/ and no other address");
    EXPECT_EQ(List().ListCount(), 102);
}

} // namespace
