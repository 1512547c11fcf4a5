// Safari-like bookmarks files for the tests and benchmarks, as trees: nested folders, the proxies, the
// Reading List, written as XML or binary property lists. The modern form gives every item a "Sync"
// dictionary ahead of its other keys, as newer Safari versions do; the older form has none.
#pragma once

#include "bookmarksfile/BookmarksText.h"

#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

enum class Form { Modern, Older };
enum class Encoding { Xml, Binary };

// A missing key is left out of the file.
struct FixtureBookmark {
    std::optional<std::string> title;
    std::optional<std::string> url;
    std::optional<std::string> uuid;
};

struct TreeItem {
    enum class Kind { Folder, Leaf, Proxy } kind = Kind::Leaf;
    FixtureBookmark keys;                   // a folder's or proxy's title and identifier
    std::optional<std::string> previewText; // a Reading List item, with its own dictionaries
    std::vector<TreeItem> children;
    std::vector<std::pair<std::string, TreeItem>> keyed = {}; // items that stand as values of its keys
};

// False when the file cannot be written.
bool WriteTree(const TreeItem& root, const std::string& path, Form form, Encoding encoding = Encoding::Xml);

inline TreeItem Folder(std::string title, std::string uuid, std::vector<TreeItem> children) {
    return {
        TreeItem::Kind::Folder, {std::move(title), std::nullopt, std::move(uuid)}, {}, std::move(children)};
}
inline TreeItem Leaf(const std::string& title, std::string uuid, bool readingList = false) {
    return {TreeItem::Kind::Leaf,
            {title, "http://" + title + ".example/", std::move(uuid)},
            readingList ? std::optional<std::string>("First line\nsecond") : std::nullopt,
            {}};
}

// Builds the usual file by top-level folders: History first, the folders in their order of first use,
// Bonjour last.
class BookmarksFixture {
public:
    using Form = testsupport::Form;
    using Encoding = testsupport::Encoding;

    explicit BookmarksFixture(Form form) : form_(form) {}

    // A Reading List item ("com.apple.ReadingList") has a preview text (several lines) and its own
    // dictionaries.
    void Add(std::string_view folder, const FixtureBookmark& bookmark,
             std::optional<std::string> previewText = std::nullopt) {
        FolderNamed(folder).push_back({TreeItem::Kind::Leaf, bookmark, std::move(previewText), {}});
    }
    bool Write(const std::string& path, Encoding encoding) const;

private:
    std::vector<TreeItem>& FolderNamed(std::string_view title);

    Form form_;
    std::vector<TreeItem> folders_;
};

// Favorites, nested folders and the Reading List, whose item is the last of the file. "twin" stands in two
// folders with the same title and URL.
inline TreeItem SampleTree() {
    return Folder(
        "", "root",
        {
            Folder("BookmarksBar", "f-bar", {Leaf("fav1", "A"), Leaf("twin", "T1"), Leaf("fav2", "B")}),
            Folder("BookmarksMenu", "f-menu",
                   {Leaf("c", "C"),
                    Folder("Sub", "f-sub",
                           {Leaf("d", "D"), Leaf("e", "E"), Folder("Deeper", "f-deep", {Leaf("f", "F")}),
                            Leaf("twin", "T2")}),
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

// The tree without the bookmarks whose identifiers are in `uuids`, a key's value with its key; folders stay.
inline TreeItem Without(TreeItem item, const std::set<std::string>& uuids) {
    const auto gone = [&](const TreeItem& child) {
        return child.kind == TreeItem::Kind::Leaf && uuids.contains(child.keys.uuid.value_or(""));
    };
    std::erase_if(item.children, gone);
    std::erase_if(item.keyed, [&](const auto& keyed) { return gone(keyed.second); });
    for (TreeItem& child : item.children)
        child = Without(std::move(child), uuids);
    for (auto& keyed : item.keyed)
        keyed.second = Without(std::move(keyed.second), uuids);
    return item;
}

// The bookmarks (identifier, title, URL) that Python's plistlib, a reader independent of ours, finds in the
// file at `path`: every dictionary with its own URIDictionary, wherever it stands, outer before inner; a
// missing key reads as empty. Nothing when /usr/bin/python3 is missing; one row {"unreadable"} when plistlib
// refuses the file.
std::optional<std::vector<std::vector<std::string>>> PlistlibBookmarks(const std::string& path);

// The file plutil writes for the tree, made through a scratch file at `path`.
inline std::string PlutilForm(const TreeItem& tree, Form form, const std::string& path) {
    if (!WriteTree(tree, path, form))
        return "unwritable";
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
