// Bookmarks files as trees for the rewrite tests: nested folders, the Favorites bar, the Reading List, in
// the modern form (a "Sync" dictionary in every item) or the older one. Written as plain property-list
// XML; our plutil then gives it the form Safari's file has after reading.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace testsupport {

struct TreeItem {
    std::string title;
    std::string url;  // empty for a folder
    std::string uuid;
    bool readingList = false; // a Reading List item, with its own dictionaries
    std::vector<TreeItem> children;

    bool IsFolder() const { return url.empty(); }
};

inline TreeItem Folder(std::string title, std::string uuid, std::vector<TreeItem> children) {
    return {std::move(title), {}, std::move(uuid), false, std::move(children)};
}
inline TreeItem Leaf(std::string title, std::string uuid, bool readingList = false) {
    return {title, "http://" + title + ".example/", std::move(uuid), readingList, {}};
}

// The tree without the bookmarks whose identifiers are in `uuids`; folders stay.
inline TreeItem Without(const TreeItem& item, const std::set<std::string>& uuids) {
    TreeItem kept = item;
    kept.children.clear();
    for (const TreeItem& child : item.children)
        if (child.IsFolder() || !uuids.contains(child.uuid))
            kept.children.push_back(Without(child, uuids));
    return kept;
}

inline void AppendXml(std::string& out, const TreeItem& item, bool modern) {
    out += "<dict>";
    if (modern)
        out += "<key>Sync</key><dict><key>ServerID</key><string>s-" + item.uuid +
               "</string><key>Data</key><data>WlpaWlpaWlpaWlpa</data></dict>";
    if (item.IsFolder()) {
        out += "<key>Title</key><string>" + item.title + "</string><key>Children</key><array>";
        for (const TreeItem& child : item.children)
            AppendXml(out, child, modern);
        out += "</array><key>WebBookmarkType</key><string>WebBookmarkTypeList</string>";
    } else {
        out += "<key>URIDictionary</key><dict><key>title</key><string>" + item.title + "</string></dict>";
        out += "<key>URLString</key><string>" + item.url + "</string>";
        out += "<key>WebBookmarkType</key><string>WebBookmarkTypeLeaf</string>";
        if (item.readingList)
            out += "<key>ReadingList</key><dict><key>PreviewText</key><string>First line\nsecond line</string>"
                   "</dict><key>ReadingListNonSync</key><dict><key>siteName</key><string>Example</string></dict>";
    }
    out += "<key>WebBookmarkUUID</key><string>" + item.uuid + "</string></dict>";
}

inline std::string TreeXml(const TreeItem& root, bool modern) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
    AppendXml(out, root, modern);
    return out + "</plist>\n";
}

} // namespace testsupport
