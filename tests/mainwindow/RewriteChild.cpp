// Rewrites $HOME's bookmarks file as the program does; the kill test kills it at random moments.
//   rewrite_child delete UUID_LIST   cuts the bookmarks listed one a line, as the delete run does
//   rewrite_child apply EDIT_LOG     applies the log through the main window, as "Apply Change" does
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksLocation.h"
#include "bookmarksfile/BookmarksRewrite.h"
#include "framework/ui/Runtime.h"
#include "framework/ui/WindowRegistry.h"
#include "mainwindow/Listwin.h"
#include "tests/support/TempHome.h"

#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::string operation = argv[1], input = testsupport::ReadFile(argv[2]);
    if (operation == "delete") {
        std::set<std::string, std::less<>> uuids;
        std::istringstream lines(input);
        for (std::string line; std::getline(lines, line);)
            uuids.insert(line);
        const quillfen::RewriteResult result =
            quillfen::RewriteBookmarksFile(quillfen::BookmarksFile(), [&](const std::string& text) {
                return quillfen::CutBookmarks(text, uuids);
            });
        return result.ok && result.changed ? 0 : 1;
    }
    fw::Runtime runtime(argc, argv);
    quillfen::Listwin& window = fw::Instance<quillfen::Listwin>();
    window.editUIs = input;
    return window.ApplyChanges() ? 0 : 1;
}
