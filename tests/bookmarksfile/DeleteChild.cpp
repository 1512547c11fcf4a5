// Deletes the bookmarks whose identifiers a list file names from a bookmarks file, as the delete run
// does; the kill test kills it at random moments.
//   delete_child BOOKMARKS_FILE UUID_LIST_FILE
#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarksRewrite.h"

#include <fstream>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    std::set<std::string, std::less<>> uuids;
    std::ifstream list(argv[2]);
    for (std::string line; std::getline(list, line);)
        uuids.insert(line);
    const quillfen::RewriteResult result =
        quillfen::RewriteBookmarksFile(fw::FolderItem(argv[1]), [&](const std::string& text) {
            return quillfen::CutBookmarks(text, uuids);
        });
    return result.ok && result.changed ? 0 : 1;
}
