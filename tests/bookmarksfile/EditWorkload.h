// A large bookmarks file and an edit log for it, for the apply's kill test and its benchmark.
#pragma once

#include "bookmarksfile/EditLog.h"

#include <fstream>
#include <string>

namespace testsupport {

// `count` bookmarks in 50 folders, each titled, addressed and identified by its number, every item with a
// "Sync" dictionary as newer Safari versions write it. Written as XML text directly: building it through
// libplist takes longer than the runs it is made for.
inline bool WriteLargeBookmarksFile(const std::string& path, int count) {
    constexpr int kFolders = 50;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                      "\t<key>Children</key>\n\t<array>\n";
    const auto item = [&xml](const std::string& tabs, const std::string& id) {
        xml += tabs + "<key>Sync</key>\n" + tabs + "<dict>\n" + tabs + "\t<key>Data</key>\n" + tabs +
               "\t<data>\n" + tabs + "\tWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpa\n" + tabs +
               "\t</data>\n" + tabs + "\t<key>ServerID</key>\n" + tabs + "\t<string>server-" + id + "</string>\n" +
               tabs + "</dict>\n";
    };
    for (int folder = 0; folder < kFolders; ++folder) {
        xml += "\t\t<dict>\n\t\t\t<key>Children</key>\n\t\t\t<array>\n";
        for (int i = folder; i < count; i += kFolders) {
            const std::string n = std::to_string(i);
            xml += "\t\t\t\t<dict>\n";
            item("\t\t\t\t\t", n);
            xml += "\t\t\t\t\t<key>URIDictionary</key>\n\t\t\t\t\t<dict>\n\t\t\t\t\t\t<key>title</key>\n"
                   "\t\t\t\t\t\t<string>Title " + n + "</string>\n\t\t\t\t\t</dict>\n"
                   "\t\t\t\t\t<key>URLString</key>\n\t\t\t\t\t<string>http://site" + n + ".example/</string>\n"
                   "\t\t\t\t\t<key>WebBookmarkType</key>\n\t\t\t\t\t<string>WebBookmarkTypeLeaf</string>\n"
                   "\t\t\t\t\t<key>WebBookmarkUUID</key>\n\t\t\t\t\t<string>UUID-" + n + "</string>\n\t\t\t\t</dict>\n";
        }
        const std::string f = std::to_string(folder);
        xml += "\t\t\t</array>\n";
        item("\t\t\t", "folder-" + f);
        xml += "\t\t\t<key>Title</key>\n\t\t\t<string>Folder " + f + "</string>\n"
               "\t\t\t<key>WebBookmarkType</key>\n\t\t\t<string>WebBookmarkTypeList</string>\n"
               "\t\t\t<key>WebBookmarkUUID</key>\n\t\t\t<string>FOLDER-" + f + "</string>\n\t\t</dict>\n";
    }
    xml += "\t</array>\n\t<key>WebBookmarkType</key>\n\t<string>WebBookmarkTypeList</string>\n</dict>\n</plist>\n";
    std::ofstream out(path, std::ios::binary);
    out << xml;
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
