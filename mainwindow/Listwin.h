// The main window: the bookmark list, the toolbar, the status line and the window's menu commands.
#pragma once

#include "checker/HTTPSocket.h"
#include "checker/ListBoxRows.h"
#include "checker/ScanHost.h"
#include "checker/kritiskClass.h"
#include "framework/ui/Window.h"
#include "mainwindow/VersionSocket.h"

#include <memory>

#include <cstdint>
#include <string>
#include <vector>

namespace fw {
class ListBox;
class Graphics;
class MenuItem;
class StaticText;
} // namespace fw

namespace quillfen {

// The columns of a bookmark row in ListBox1; 5 and 6 are never seen, 7 lies beyond the column count.
namespace BookmarkColumn {
enum Column : int { Check = 0, Name = 1, URL = 2, Status = 3, Code = 4, Order = 5, UUID = 6, Checked = 7 };
}

class Listwin : public fw::Window, public ScanHost {
public:
    Listwin() : fw::Window("Listwin") {}

    // State shared with the bookmarks-file code, the scan and the dialogs.
    int32_t scanNumber = 0;
    bool doubleclick = false;
    int32_t searchLine = 0;
    std::string undoBackup;
    int32_t undoRow = 0;
    int32_t undoColumn = 0;
    std::string welcomeMsg;
    int32_t activeRow = 0;
    std::string editWholeplist;
    bool editHasBeenEdited = false;
    std::string editUIs;
    int32_t activeColumn = 0;
    std::string undoBackupTitle;
    std::string undoBackupURL;
    std::string printSettings;
    std::vector<std::string> urlArray;
    std::vector<std::string> UUIDArray;
    // The current scan; replaced by every new scan, ended when the window closes.
    std::unique_ptr<kritiskClass> kritisk;
    // Fetches the maker's version page.
    VersionSocket versionHTTPSock;

    // What the scan reaches of the window.
    ScanRows& Rows() override;
    void SetStatusText(const std::string& text) override;
    std::string ScanCaption() const override;
    void SetScanCaption(const std::string& caption) override;
    bool StopIt() const override { return stopIt_; }
    void SetStopIt(bool on) override { stopIt_ = on; }
    int ScopeIndex() const override;
    void PlayGlass() override;
    void Refresh() override { fw::Window::Refresh(true); }
    using fw::Window::Refresh;
    kritiskClass* CurrentScan() override { return kritisk.get(); }
    void SetCurrentScan(std::unique_ptr<kritiskClass> scan) override { kritisk = std::move(scan); }

    void readPrefs();
    // Hands the Preferences window what its Apply asks of the main window.
    static void linkPrefWin();
    // Reads Safari's bookmarks file into the list.
    void buildList();
    void confirmDelete();
    // Adds a row for each "http://" URL in dropped text.
    void buildText(const std::string& text);
    // Selects the next row whose name holds the search word.
    void searchWord();
    // Marks every row whose URL an earlier row already has.
    void checkDups();
    // Reloads the list and keeps the rows whose name and URL hold the search word.
    void filterWord();
    // Compares the newest version a version page names with the program's own; a newer one is announced.
    void readVersion(const std::string& page);
    // Writes the edit log into the bookmarks file as it is on disk now, and keeps in the log only the records
    // that could not be applied, naming them; false when the file was left as it was.
    bool ApplyChanges();

    // Rewriting the bookmarks file: the confirmations, the backup copy, the delete run and the restore.
    void deleteSelected();
    // Offers a backup copy; false when the copy failed (the user was told), and then no rewrite may run.
    bool makeBackup();
    void restoreOriginal();
    // Shows the confirmation whose OK goes on with warnChange; it is closed by the time warnChange runs.
    void confirmChange();
    void warnChange();
    // Shows the changes-applied window at its place beside this window.
    void showWindow1();

protected:
    void CreateControls() override;
    void AddMenuHandlers() override;
    void SetupBindings() override;
    void Event_Open() override;
    void Event_EnableMenuItems() override;
    void Event_Resized() override;
    void Event_Close() override;

private:
    fw::ListBox& List() const { return *list_; }
    fw::ListBox& SearchField() const;
    fw::StaticText& StatusLine() const;
    // Writes the status line and redraws it and the window at once.
    void ShowStatusNow(const std::string& text);
    // "Visit Site" and "Edit Bookmark", which act on a row.
    void EnableRowButtons(bool on);
    void SortBy(int column);
    // Marking sets the check box and then the check mirror that sorting by "Checked" reads.
    void SetMark(int row, bool on);
    // Marks the rows that pass `qualifies`, leaving the others as they are.
    template <class Qualifies> void MarkRowsWhere(Qualifies qualifies);
    void MarkResultClass(char digit);

    // ListBox1 and Timer2.
    void ListBox1_DropObject(const std::string& text);
    bool ListBox1_KeyDown(const std::string& key);
    bool ListBox1_CellBackgroundPaint(fw::Graphics& g, int row, int column);
    void ListBox1_DoubleClick();
    bool ListBox1_CellClick(int row, int column, int x, int y);
    bool ListBox1_SortColumn(int column);
    void ListBox1_Open();
    bool ListBox1_HeaderPressed(int column);
    bool ListBox1_CompareRows(int row1, int row2, int column, int& result);
    void Timer2_Action();

    // The toolbar's buttons and "Visit Site".
    void PushButton1_Action();
    void PushButton2_Open();
    void PushButton2_Action();
    void PushButton3_Action();

    // The status line, a link when its text is a web address.
    void statusLine_MouseEnter();
    void statusLine_MouseExit();
    bool statusLine_MouseDown(int x, int y);
    void statusLine_MouseUp(int x, int y);

    // ListBox2, the search field: one editable cell.
    void ListBox2_Open();
    void ListBox2_GotFocus();
    bool ListBox2_CellClick(int row, int column, int x, int y);
    bool ListBox2_CellBackgroundPaint(fw::Graphics& g, int row, int column);
    void ListBox2_CellAction(int row, int column);
    void ListBox2_CellLostFocus(int row, int column);
    void ListBox2_Change();

    // Canvas2, the logo button.
    void Canvas2_Open();
    void Canvas2_MouseEnter();
    void Canvas2_MouseExit();
    bool Canvas2_MouseDown(int x, int y);
    void Canvas2_MouseUp(int x, int y);
    void Canvas2_Paint(fw::Graphics& g);

    // The version check: the request as the window opens, and the page when it arrives.
    void startVersionCheck();
    void versionHTTPSock_PageReceived(const std::string& url, int status, const InternetHeaders& headers,
                                      const std::string& page);

    // Menu commands, registered by item name in this order.
    bool _FileFind_Action();
    bool _FileFindNext_Action();
    bool _EditUndo_Action();
    bool _ToolsDeleteSelectedBookmarks_Action();
    bool _AppleAboutSafariLindquay_Action();
    bool _EditPreferences_Action();
    bool _HelpStatuscodeexplanations_Action();
    bool _Checkall1xx_Action();
    bool _CheckallTxx_Action();
    bool _Checkall4xx_Action();
    bool _Checkall2xx_Action();
    bool _Checkall3xx_Action();
    bool _Checkall5xx_Action();
    bool _SortlistbyBookmarkname_Action();
    bool _SortlistbyBookmarkURL_Action();
    bool _SortlistbyCode_Action();
    bool _SortlistbyOriginalorder_Action();
    bool _Uncheckall_Action();
    bool _EditEditBookmark_Action();
    bool _EditApplyChanges_Action();
    bool _SortlistbyChecked_Action();
    bool _CheckDuplicatesDuplicateURLs_Action();
    bool _EditDeleteSelectedBookmarks_Action();
    bool _FilePrint_Action();
    bool _FilePageSetup_Action();
    bool _ToolsCheckSelectedBookmarks_Action();

    // The delete run, and the commands it shuts off while it rewrites the file.
    void DeleteLoopThread11_Run();
    void EnableCommands(bool on);

    // Editing in place. "Edit Bookmark" and Undo act on the bookmark that was clicked or edited, known by
    // its row's identity (0: none), so a sort cannot turn them to another bookmark and a reload ends them.
    void ListBox1_CellGotFocus(int row, int column);
    void ListBox1_CellAction(int row, int column);
    void PushButton4_Action();
    void PushButton5_Action();
    void MakeActiveBookmarkEditable();
    void RecordEdit(int row, const std::string& oldTitle, const std::string& oldURL);
    void ShowEditsWaiting();
    uint64_t activeBookmark_ = 0;
    uint64_t undoBookmark_ = 0;
    // True while an apply runs; it also tells that run whether the window still exists after the events
    // it lets through.
    std::shared_ptr<bool> applying_ = std::make_shared<bool>(false);
    // A delete or an apply rewrites the file; another one started meanwhile would write over it.
    bool RewriteRunning() const;

    fw::ListBox* list_ = nullptr;
    std::unique_ptr<ListBoxRows> rows_;
    bool stopIt_ = false;
};

} // namespace quillfen
