// Bookmarks files as trees for the rewrite tests and the delete benchmark: nested folders, the Favorites
// bar, the Reading List, in the modern form (a "Sync" dictionary in every item) or the older one. Written
// as plain property-list XML; our plutil then gives it the form the file has after reading.
#pragma once

#include "bookmarksfile/BookmarksText.h"

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

struct TreeItem {
    std::string title, url, uuid; // no URL: a folder
    bool readingList = false;     // a Reading List item, with its own dictionaries
    std::vector<TreeItem> children;
};

inline TreeItem Folder(std::string title, std::string uuid, std::vector<TreeItem> children) {
    return {std::move(title), {}, std::move(uuid), false, std::move(children)};
}
inline TreeItem Leaf(const std::string& title, std::string uuid, bool readingList = false) {
    return {title, "http://" + title + ".example/", std::move(uuid), readingList, {}};
}

// Favorites, nested folders and the Reading List, whose item is the last of the file.
inline TreeItem SampleTree() {
    return Folder(
        "", "root",
        {
            Folder("BookmarksBar", "f-bar", {Leaf("fav1", "A"), Leaf("fav2", "B")}),
            Folder("BookmarksMenu", "f-menu",
                   {Leaf("c", "C"),
                    Folder("Sub", "f-sub",
                           {Leaf("d", "D"), Leaf("e", "E"), Folder("Deeper", "f-deep", {Leaf("f", "F")})}),
                    Leaf("g", "G")}),
            Folder("com.apple.ReadingList", "f-rl", {Leaf("r", "R", true)}),
        });
}

inline std::string Numbered(std::string prefix, int n) {
    return prefix += std::to_string(n);
}

// A heavy user's file: folders of 1,000 bookmarks, one in fifty in the Reading List instead; bookmark i
// has the identifier "5A0C-<100000 + i>".
inline TreeItem LargeTree(int bookmarks) {
    TreeItem root = Folder("", "root", {Folder("com.apple.ReadingList", "RL", {})});
    for (int i = 0; i < bookmarks; ++i) {
        if (i % 1000 == 0)
            root.children.push_back(Folder(Numbered("Folder ", i), Numbered("F", i), {}));
        (i % 50 == 49 ? root.children.front() : root.children.back())
            .children.push_back(Leaf(Numbered("site", i), Numbered("5A0C-", 100000 + i), i % 50 == 49));
    }
    return root;
}

// The tree without the bookmarks whose identifiers are in `uuids`; folders stay.
inline TreeItem Without(TreeItem item, const std::set<std::string>& uuids) {
    std::erase_if(item.children,
                  [&](const TreeItem& child) { return !child.url.empty() && uuids.contains(child.uuid); });
    for (TreeItem& child : item.children)
        child = Without(std::move(child), uuids);
    return item;
}

inline void AppendXml(std::string& out, const TreeItem& item, bool modern) {
    auto key = [&out](const std::string& name, const std::string& value) {
        out += "<key>" + name + "</key>" + value;
    };
    out += "<dict>";
    if (modern)
        key("Sync", "<dict><key>ServerID</key><string>s-" + item.uuid +
                        "</string><key>Data</key><data>WlpaWlpa</data></dict>");
    if (item.url.empty()) {
        key("Title", "<string>" + item.title + "</string><key>Children</key><array>");
        for (const TreeItem& child : item.children)
            AppendXml(out, child, modern);
        out += "</array>";
    } else {
        key("URIDictionary", "<dict><key>title</key><string>" + item.title + "</string></dict>");
        key("URLString", "<string>" + item.url + "</string>");
    }
    if (item.readingList)
        key("ReadingList",
            "<dict><key>PreviewText</key><string>First line\nsecond</string></dict><key>"
            "ReadingListNonSync</key><dict><key>siteName</key><string>Example</string></dict>");
    key("WebBookmarkUUID", "<string>" + item.uuid + "</string>");
    out += "</dict>";
}

inline std::string TreeXml(const TreeItem& root, bool modern) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";
    AppendXml(out, root, modern);
    return out + "</plist>\n";
}

// The file plutil writes for the tree, made through a scratch file at `path`.
inline std::string PlutilForm(const TreeItem& tree, bool modern, const std::string& path) {
    std::ofstream(path, std::ios::binary) << TreeXml(tree, modern);
    return quillfen::ConvertAndReadBookmarks(fw::FolderItem(path)).value_or("unreadable");
}

// The line each cut leaves (its indentation and the blank) taken out, and an emptied array written short,
// as plutil writes it: what is left of a rewritten file must be PlutilForm of the tree that remains.
inline std::string WithoutJoins(const std::string& text) {
    static const std::regex joinLine("\\n\\t* (?=\\n)");
    static const std::regex emptiedArray("<array>\\n\\t*</array>");
    return std::regex_replace(std::regex_replace(text, joinLine, ""), emptiedArray, "<array/>");
}

} // namespace testsupport
