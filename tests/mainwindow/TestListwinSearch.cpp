// The search field, Find and Find Next, the filter, and rows from dropped text.
#include "ListwinFixture.h"
#include "app/Menu.h"
#include "framework/Application.h"

#include <QApplication>

namespace {

using quillfen::BookmarkColumn::Name, quillfen::BookmarkColumn::URL;
using Rows = std::vector<int>;

class ListwinSearchTest : public ListwinTest {
protected:
    void SetWord(const std::string& word) { SearchField().SetCell(0, 0, word); }
    void FindNext() { EXPECT_FALSE(win_->HandleMenuCommand("FileFindNext")); }
    Rows SelectedRows() const { return RowsWhere([this](int row) { return List().Selected(row); }); }
    void AddNames(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            AddBookmark(name, "http://" + name + ".example/", List().ListCount() + 1);
    }
    QWidget* FieldEditor() const {
        QTableView& field = ViewOf(SearchField());
        return field.indexWidget(field.model()->index(0, 0));
    }
    // The user types into the search field and ends the edit with Return.
    void TypeWordAndReturn(const std::string& word) {
        SearchField().EditCell(0, 0);
        QWidget* editor = FieldEditor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QString::fromStdString(word));
        QTest::keyClick(editor, Qt::Key_Return);
        testsupport::ProcessPendingEvents();
    }
};

// Find Next on an empty list only beeps. Find opens the field for the word; the first Find Next then
// starts at row 1 and reaches row 0 only after the wrap, matching names without regard to letter case.
TEST_F(ListwinSearchTest, FindNextStartsAfterFindAndWraps) {
    FindNext();
    EXPECT_EQ(modal_.beeps, 1);
    AddNames({"Apple", "plum", "apple pie", "pear"});
    List().SetCell(3, URL, "http://apple.example/");
    EXPECT_FALSE(win_->HandleMenuCommand("FileFind"));
    EXPECT_EQ(win_->searchLine, 0);
    EXPECT_NE(FieldEditor(), nullptr);
    SetWord("APPLE");
    FindNext();
    EXPECT_EQ(SelectedRows(), Rows{2});
    FindNext();
    EXPECT_EQ(SelectedRows(), Rows{0});
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
    EXPECT_EQ(SelectedRows(), Rows{3});
    FindNext();
    EXPECT_EQ(List().ScrollPosition(), 35);
    EXPECT_EQ(SelectedRows(), Rows{40});
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
    EXPECT_EQ(SelectedRows(), Rows{2});
}

// The field edits its word while it has the focus and deselects its row when it loses it; a click
// empties it; it never shows a highlight. Once "Get Bookmarks" has passed the default to the scan
// control, a change of the field's selection leaves no default button.
TEST_F(ListwinSearchTest, SearchFieldEvents) {
    win_->Show();
    ASSERT_EQ(SearchField().ListCount(), 1);
    SearchField().SetFocus();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return FieldEditor() != nullptr; }, 2000));
    SearchField().SetSelected(0, true);
    List().SetFocus();
    ASSERT_TRUE(testsupport::SpinUntil([&] { return FieldEditor() == nullptr; }, 2000));
    EXPECT_FALSE(SearchField().Selected(0));

    QTableView& field = ViewOf(SearchField());
    const QRect cell = field.visualRect(field.model()->index(0, 0));
    SetWord("old word");
    QTest::mouseClick(field.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(SearchField().Cell(0, 0), "");

    SearchField().SetSelected(0, true);
    const QImage image = field.viewport()->grab().toImage();
    const QPoint blank(cell.right() - 3, field.viewport()->height() / 2);
    ASSERT_TRUE(image.valid(blank));
    EXPECT_EQ(image.pixelColor(blank), QColor(Qt::white));

    Button("PushButton2").Push();
    ASSERT_TRUE(Button("PushButton1").Default());
    SearchField().SetSelected(0, false);
    EXPECT_FALSE(Button("PushButton1").Default());
    EXPECT_FALSE(Button("PushButton2").Default());
}

// Return in the search field reloads the list from the file and keeps the bookmarks whose name followed
// by URL holds the word, also across the two; the focus then goes to the list.
TEST_F(ListwinSearchTest, ReturnFiltersTheReloadedList) {
    WriteBookmarksFile({{"News", "http://paper.example/", "U1"},
                        {"Alpha", "http://beta.example/", "U2"},
                        {"Recipes", "http://food.example/alpha", "U3"}});
    Button("PushButton2").Push();
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
    EXPECT_EQ(MarkedRows(), Rows{});
    EXPECT_EQ(Column(quillfen::BookmarkColumn::Status), (std::vector<std::string>{"", ""}));

    TypeWordAndReturn("");
    EXPECT_EQ(Status(), "3 matched");
}

// A reload, by Return in the search field or by "Get Bookmarks", leaves no row selected and the buttons
// that act on a row disabled; so does "Get Bookmarks" after a click on a row's box alone.
TEST_F(ListwinSearchTest, ReloadLeavesNoRowToActOn) {
    WriteBookmarksFile({{"News", "http://paper.example/", "U1"}, {"Alpha", "http://beta.example/", "U2"}});
    Button("PushButton2").Push();
    win_->Show();
    auto enabled = [this] { return std::pair(Button("PushButton3").Enabled(), Button("PushButton5").Enabled()); };
    for (const bool byReturn : {true, false}) {
        ClickCell(1, 1);
        ASSERT_EQ(enabled(), std::pair(true, true));
        if (byReturn)
            TypeWordAndReturn("");
        else
            Button("PushButton2").Push();
        EXPECT_EQ(List().SelCount(), 0);
        EXPECT_EQ(enabled(), std::pair(false, false));
    }
    ClickCell(0, 0);
    Button("PushButton2").Push();
    EXPECT_EQ(enabled(), std::pair(false, false));
}

// With an empty list, Return only ends the edit: nothing is read or filtered.
TEST_F(ListwinSearchTest, ReturnWithAnEmptyListDoesNothing) {
    WriteBookmarksFile({{"News", "http://paper.example/", "U1"}});
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
    // The list box hands the window dropped text with carriage returns for line ends.
    auto drop = [this](const std::string& text) { List().DropObject(text); };
    drop("see http://a.example/one\rhttp://b.example/two two\r");
    ASSERT_EQ(List().ListCount(), 102);
    EXPECT_EQ(List().Cell(100, URL), "http://a.example/one");
    EXPECT_EQ(List().Cell(101, URL), "http://b.example/two two");
    EXPECT_EQ(List().Cell(101, Name), "");
    EXPECT_EQ(List().Cell(0, URL), "http://row0.example/");
    EXPECT_EQ(List().Cell(1, Name), "row1");

    drop("https://secure.example/ and no other address");
    EXPECT_EQ(List().ListCount(), 102);
}

// The user's own path through Find: the menu's keys on the shown window, the word typed in the field.
class ListwinFindTest : public ListwinSearchTest {
protected:
    void SetUp() override {
        app_.SetMenuBar(&quillfen::Menu::Instance());
        ListwinSearchTest::SetUp();
        win_->Show();
        host_ = fw::detail::ContentOf(*win_)->window();
        QApplication::setActiveWindow(host_);
    }
    void TearDown() override {
        ListwinSearchTest::TearDown();
        app_.SetMenuBar(nullptr);
        quillfen::Menu::Release();
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : host_;
        QTest::keyClick(target, key, modifiers);
        testsupport::ProcessPendingEvents();
    }
    void Type(const std::string& text) {
        QWidget* editor = FieldEditor();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QString::fromStdString(text));
    }
    void ClickField() {
        QTableView& field = ViewOf(SearchField());
        QTest::mouseClick(field.viewport(), Qt::LeftButton, {}, field.visualRect(field.model()->index(0, 0)).center());
        testsupport::ProcessPendingEvents();
    }

    fw::Application app_;
    QWidget* host_ = nullptr;
};

// Find, a word typed and not committed, then Ctrl+G: the next row holding the typed word, and again
// wrapping to the top; the list is neither reloaded nor filtered.
TEST_F(ListwinFindTest, FindNextTakesTheWordBeingTyped) {
    AddNames({"Long", "Chips", "Fish", "chips shop"});
    Press(Qt::Key_F, Qt::ControlModifier);
    Type("chips");
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(), Rows{1});
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(), Rows{3});
    Press(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(), Rows{1});
    EXPECT_EQ(List().ListCount(), 4);
}

// After Find and Escape a click starts a new word: typing it and Return filters by that word alone.
TEST_F(ListwinFindTest, ClickAfterEscapeStartsANewWord) {
    WriteBookmarksFile({{"Chips", "http://chips.example/", "U1"}, {"Long", "http://long.example/", "U2"}});
    Button("PushButton2").Push();
    Press(Qt::Key_F, Qt::ControlModifier);
    Type("Chips");
    Press(Qt::Key_Escape);
    ClickField();
    EXPECT_EQ(SearchField().ShownText(0, 0), "");
    Type("Long");
    Press(Qt::Key_Return);
    EXPECT_EQ(Status(), "1 matched");
    EXPECT_EQ(Column(Name), std::vector<std::string>{"Long"});
}

// The field is tall enough for its font: letters reaching below the line are shown whole.
TEST_F(ListwinFindTest, SearchFieldShowsTheWholeText) {
    Press(Qt::Key_F, Qt::ControlModifier);
    QWidget* editor = FieldEditor();
    ASSERT_NE(editor, nullptr);
    QTableView& field = ViewOf(SearchField());
    const QRect cell = field.visualRect(field.model()->index(0, 0));
    const int textHeight = QFontMetrics(field.font()).height();
    EXPECT_GE(cell.height(), textHeight);
    EXPECT_LE(cell.bottom(), field.viewport()->height() - 1);
    EXPECT_TRUE(field.viewport()->rect().contains(editor->geometry()));
}

} // namespace
