// The search field, Find and Find Next, the filter, and rows from dropped text, driven by the user's keys.
#include "ListwinFixture.h"

namespace {

using quillfen::BookmarkColumn::Name, quillfen::BookmarkColumn::URL;
using Rows = std::vector<int>;
using Texts = std::vector<std::string>;

// The menu bar is installed, so that the menu's keys reach the window.
class ListwinSearchTest : public ListwinTest {
protected:
    ListwinSearchTest() { withMenu_ = true; }
    void Ctrl(Qt::Key key) { Press(key, Qt::ControlModifier); }
};

// The field edits its word while it has the focus and deselects its row when it loses it. Ctrl+G on an
// empty list only beeps. After Ctrl+F and a word typed but not committed, Ctrl+G starts at row 1, reaches
// row 0 only after the wrap and matches names (not URLs) in any letter case; the list is neither reloaded
// nor filtered. Without a hit the search ends after one pass, also from past the end.
TEST_F(ListwinSearchTest, FindNextTakesTheTypedWordWrapsAndEnds) {
    ClickField();
    ASSERT_NE(FieldEditor(), nullptr);
    ASSERT_TRUE(SearchField().Selected(0));
    Click(List());
    EXPECT_EQ(FieldEditor(), nullptr);
    EXPECT_FALSE(SearchField().Selected(0));
    Ctrl(Qt::Key_G);
    EXPECT_EQ(modal_.beeps, 1);
    for (const std::string name : {"Apple", "plum", "apple pie", "pear"})
        AddBookmark(name, "http://" + name + ".example/", List().ListCount() + 1);
    List().SetCell(3, URL, "http://apple.example/");
    Ctrl(Qt::Key_F);
    Type("APPLE");
    EXPECT_EQ(win_->searchLine, 0);
    for (const int hit : {2, 0, 2}) {
        Ctrl(Qt::Key_G);
        EXPECT_EQ(SelectedRows(), Rows{hit});
    }
    EXPECT_EQ(List().ListCount(), 4);
    EXPECT_EQ(List().SelectionType(), fw::ListBox::SelectionMultiple);

    List().SetSelected(2, false);
    ClickField();
    Type("zzz");
    win_->searchLine = 500;
    Ctrl(Qt::Key_G);
    EXPECT_TRUE(SelectedRows().empty());
}

// Every click into the field starts a new word, whether its editor lies open on top there or not, and
// wherever the focus was: in the list after a filter, in the field itself, or in another window. Escape
// does not bring back the word a click has emptied.
TEST_F(ListwinSearchTest, EveryClickIntoTheFieldStartsANewWord) {
    WriteBookmarksFile({{"apple pie", "http://a.example/", "U1"},
                        {"Long read", "http://b.example/", "U2"},
                        {"pear", "http://c.example/", "U3"}});
    QWidget other;
    const auto typeAp = [&] { ClickField(), Type("ap"); };
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Find, Escape", [&] { Ctrl(Qt::Key_F), Press(Qt::Key_Escape); }},
        {"Find, Find Next, Escape", [&] { Ctrl(Qt::Key_F), Ctrl(Qt::Key_G), Press(Qt::Key_Escape); }},
        {"typed, Escape", [&] { typeAp(), Press(Qt::Key_Escape); }},
        {"typed, the field keeps the focus", typeAp},
        {"typed, another window", [&] { typeAp(), other.show(), testsupport::Activate(&other); }},
    };
    for (const auto& [what, before] : cases) {
        SCOPED_TRACE(what);
        Reopen();
        Click(Button("PushButton2"));
        TypeWordAndReturn("pie");
        EXPECT_EQ(Column(Name), Texts{"apple pie"});
        before();
        TypeWordAndReturn("Long");
        EXPECT_EQ(SearchField().Cell(0, 0), "Long");
        EXPECT_EQ(Column(Name), Texts{"Long read"});
    }
}

// Return in the search field reloads the list from the file and keeps the bookmarks whose name followed
// by URL holds the word, also across the two; the focus then goes to the list. With an empty list Return
// only ends the edit.
TEST_F(ListwinSearchTest, ReturnFiltersTheReloadedListLeavingNoRowToActOn) {
    WriteBookmarksFile({{"News", "http://paper.example/", "U1"},
                        {"Alpha", "http://beta.example/", "U2"},
                        {"Recipes", "http://food.example/alpha", "U3"}},
                       false);
    const std::string before = Status();
    TypeWordAndReturn("news");
    EXPECT_EQ(std::pair(List().ListCount(), Status()), std::pair(0, before));
    EXPECT_EQ(SearchField().Cell(0, 0), "news");

    Click(Button("PushButton2"));
    ClickCell(0, quillfen::BookmarkColumn::Check);
    SetResult(0, "OK", "200");
    TypeWordAndReturn("ahttp://b");
    EXPECT_EQ(Column(Name), Texts{"Alpha"});
    EXPECT_EQ(Status(), "1 matched");
    EXPECT_FALSE(SearchField().Selected(0));
    EXPECT_TRUE(List().HasFocus());

    TypeWordAndReturn("ALPHA");
    EXPECT_EQ(Column(Name), (Texts{"Alpha", "Recipes"}));
    EXPECT_EQ(MarkedRows(), Rows{});
    EXPECT_EQ(Column(quillfen::BookmarkColumn::Status), (Texts{"", ""}));
    TypeWordAndReturn("");
    EXPECT_EQ(Status(), "3 matched");

    // A reload, by Return in the search field or by "Get Bookmarks", leaves no row selected and the buttons
    // that act on a row disabled; so does "Get Bookmarks" after a click on a row's box alone.
    for (const auto& [column, byReturn] : {std::pair{1, true}, {1, false}, {0, false}}) {
        ClickCell(1, column);
        EXPECT_TRUE(column == 0 || Button("PushButton5").Enabled());
        byReturn ? TypeWordAndReturn("") : Click(Button("PushButton2"));
        EXPECT_EQ(
            std::tuple(List().SelCount(), Button("PushButton3").Enabled(), Button("PushButton5").Enabled()),
            std::tuple(0, false, false));
    }
}

} // namespace
