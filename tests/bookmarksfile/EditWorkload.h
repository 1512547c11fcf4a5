// A large bookmarks file and an edit log for it, for the apply's kill test and its benchmark.
#pragma once

#include "bookmarksfile/EditLog.h"

#include <fstream>
#include <string>

namespace testsupport {

// `count` bookmarks in 50 folders, each titled, addressed and identified by its number, every item with a
// "Sync" dictionary as newer Safari versions write it. Written as XML directly (libplist takes longer to
// build it than the runs it is made for); plutil sorts the keys when it converts the file.
inline bool WriteLargeBookmarksFile(const std::string& path, int count) {
    std::ofstream out(path, std::ios::binary);
    const auto line = [&out](int depth, const std::string& text) { out << std::string(depth, '\t') << text << '\n'; };
    const auto pair = [&](int depth, const std::string& key, const std::string& value) {
        line(depth, "<key>" + key + "</key>");
        line(depth, value.starts_with("<") ? value : "<string>" + value + "</string>");
    };
    const auto item = [&](int depth, const std::string& type, const std::string& id) {
        pair(depth, "Sync", "<dict><key>Data</key><data>WlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpa</data>"
                            "<key>ServerID</key><string>server-" + id + "</string></dict>");
        pair(depth, "WebBookmarkType", type);
        pair(depth, "WebBookmarkUUID", id);
    };
    line(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>Children</key>\n\t<array>");
    for (int folder = 0; folder < 50; ++folder) {
        line(2, "<dict>\n\t\t\t<key>Children</key>\n\t\t\t<array>");
        for (int i = folder; i < count; i += 50) {
            const std::string n = std::to_string(i);
            line(4, "<dict>");
            item(5, "WebBookmarkTypeLeaf", "UUID-" + n);
            pair(5, "URIDictionary", "<dict><key>title</key><string>Title " + n + "</string></dict>");
            pair(5, "URLString", "http://site" + n + ".example/");
            line(4, "</dict>");
        }
        line(3, "</array>");
        item(3, "WebBookmarkTypeList", "FOLDER-" + std::to_string(folder));
        pair(3, "Title", "Folder " + std::to_string(folder));
        line(2, "</dict>");
    }
    line(1, "</array>\n</dict>\n</plist>");
    return static_cast<bool>(out.flush());
}

// `edits` records spread evenly over the file's bookmarks, each changing a title and a URL.
inline std::string EditLogFor(int count, int edits) {
    std::string log;
    for (int e = 0; e < edits; ++e) {
        const std::string n = std::to_string(static_cast<long long>(e) * count / edits);
        const std::string url = "http://site" + n + ".example/";
        quillfen::AppendEditRecord(log, {"UUID-" + n, "Edited <" + n + "> & more", "Title " + n, url + "?e", url, n});
    }
    return log;
}

} // namespace testsupport
