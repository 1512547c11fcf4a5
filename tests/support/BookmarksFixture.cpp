// Builds the property list with libplist and lets it write either encoding.
#include "BookmarksFixture.h"

#include "framework/files/Shell.h"
#include "framework/text/Text.h"

#include <plist/plist.h>

#include <algorithm>
#include <sstream>
#include <unistd.h>

namespace testsupport {
namespace {

// A dictionary of the entries that are there, in their order.
plist_t Dict(std::initializer_list<std::pair<const char*, plist_t>> entries) {
    plist_t dict = plist_new_dict();
    for (const auto& [key, value] : entries)
        if (value)
            plist_dict_set_item(dict, key, value);
    return dict;
}

plist_t String(const std::optional<std::string>& value) {
    return value ? plist_new_string(value->c_str()) : nullptr;
}

plist_t Node(const TreeItem& item, bool withSync) {
    using Kind = TreeItem::Kind;
    const std::string data(48, '\x5a');
    const FixtureBookmark& keys = item.keys;
    const char* type = item.kind == Kind::Folder  ? "WebBookmarkTypeList"
                       : item.kind == Kind::Proxy ? "WebBookmarkTypeProxy"
                                                  : "WebBookmarkTypeLeaf";
    plist_t node = Dict({
        {"Sync", withSync ? Dict({{"ServerID", String("server-" + keys.uuid.value_or(""))},
                                  {"Data", plist_new_data(data.data(), data.size())}})
                          : nullptr},
        {"Title", item.kind == Kind::Leaf ? nullptr : String(keys.title)},
        {"WebBookmarkIdentifier", item.kind == Kind::Proxy ? String(keys.title) : nullptr},
        {"URIDictionary", item.kind == Kind::Leaf ? Dict({{"title", String(keys.title)}}) : nullptr},
        {"URLString", String(keys.url)},
    });
    if (item.kind == Kind::Folder) {
        plist_t children = plist_new_array();
        for (const TreeItem& child : item.children)
            plist_array_append_item(children, Node(child, withSync));
        plist_dict_set_item(node, "Children", children);
    }
    for (const auto& [key, value] : item.keyed)
        plist_dict_set_item(node, key.c_str(), Node(value, withSync));
    if (item.previewText) {
        plist_dict_set_item(
            node, "ReadingList",
            Dict({{"DateAdded", plist_new_date(700000000, 0)}, {"PreviewText", String(item.previewText)}}));
        plist_dict_set_item(
            node, "ReadingListNonSync",
            Dict({{"neverFetchMetadata", plist_new_bool(0)}, {"siteName", String("Example")}}));
    }
    plist_dict_set_item(node, "WebBookmarkType", plist_new_string(type));
    if (keys.uuid)
        plist_dict_set_item(node, "WebBookmarkUUID", String(keys.uuid));
    return node;
}

constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kListBookmarks = R"(import plistlib, sys
def walk(v):
    if isinstance(v, dict):
        if isinstance(v.get('URIDictionary'), dict):
            rows.append([str(v.get('WebBookmarkUUID', '')), str(v['URIDictionary'].get('title', '')),
                         str(v.get('URLString', ''))])
        for x in v.values(): walk(x)
    elif isinstance(v, list):
        for x in v: walk(x)
rows = []
try:
    with open(sys.argv[1], 'rb') as f: walk(plistlib.load(f))
except Exception:
    rows = [['unreadable']]
sys.stdout.write(''.join(chr(30) + chr(31).join(r) for r in rows) + chr(29))
)";

} // namespace

std::optional<std::vector<std::vector<std::string>>> PlistlibBookmarks(const std::string& path) {
    if (::access(kPython, X_OK) != 0)
        return std::nullopt;
    // The script and the path reach python through the environment, so that no text needs quoting for sh.
    ::setenv("QUILLFEN_PLISTLIB_SCRIPT", kListBookmarks, 1);
    ::setenv("QUILLFEN_PLISTLIB_FILE", path.c_str(), 1);
    fw::Shell shell;
    shell.Execute(kPython + std::string(R"( -c "$QUILLFEN_PLISTLIB_SCRIPT" "$QUILLFEN_PLISTLIB_FILE")") +
                  " 2>/dev/null");
    std::string out = shell.Result();
    // The script ends its output with a mark, so that a run that failed never reads as no bookmarks.
    if (!out.ends_with('\x1d'))
        return std::vector<std::vector<std::string>>{{"plistlib did not run"}};
    out.pop_back();
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    for (std::string row; std::getline(lines, row, '\x1e');)
        if (!row.empty()) // before the first row's mark
            rows.push_back(fw::SplitB(row, "\x1f"));
    return rows;
}

bool WriteTree(const TreeItem& root, const std::string& path, Form form, Encoding encoding) {
    plist_t tree = Node(root, form == Form::Modern);
    plist_dict_set_item(tree, "WebBookmarkFileVersion", plist_new_uint(1));
    const bool xml = encoding == Encoding::Xml;
    char* bytes = nullptr;
    std::uint32_t length = 0;
    (xml ? plist_to_xml : plist_to_bin)(tree, &bytes, &length);
    plist_free(tree);
    std::ofstream file(path, std::ios::binary);
    const bool written = bytes && file.write(bytes, length);
    (xml ? plist_to_xml_free : plist_to_bin_free)(bytes);
    return written;
}

std::vector<TreeItem>& BookmarksFixture::FolderNamed(std::string_view title) {
    const auto found = std::ranges::find(folders_, title, [](const TreeItem& f) { return *f.keys.title; });
    if (found != folders_.end())
        return found->children;
    const int n = static_cast<int>(folders_.size());
    return folders_.emplace_back(Folder(std::string(title), Numbered("00000000-FOLDER-", n), {})).children;
}

bool BookmarksFixture::Write(const std::string& path, Encoding encoding) const {
    const auto proxy = [](const char* title) {
        return TreeItem{
            TreeItem::Kind::Proxy, {title, std::nullopt, std::string("00000000-") + title}, {}, {}};
    };
    TreeItem root = Folder("", "00000000-ROOT", {proxy("History")});
    root.children.insert(root.children.end(), folders_.begin(), folders_.end());
    root.children.push_back(proxy("Bonjour"));
    return WriteTree(root, path, form_, encoding);
}

} // namespace testsupport
