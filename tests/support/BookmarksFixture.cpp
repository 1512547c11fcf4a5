// Builds the property list with libplist and lets it write either encoding.
#include "BookmarksFixture.h"

#include <plist/plist.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace testsupport {
namespace {

constexpr std::string_view kReadingList = "com.apple.ReadingList";

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistDeleter>;

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

class TreeBuilder {
public:
    explicit TreeBuilder(bool withSync) : withSync_(withSync) {}

    // Folders and proxies get made-up identifiers; a leaf's comes from the test (or is missing).
    plist_t Node(const char* type, const std::optional<std::string>& title, bool isLeaf = false,
                 const std::optional<std::string>& uuid = std::nullopt) {
        const std::string id = uuid ? *uuid : "00000000-FIXTURE-" + std::to_string(++generated_);
        const std::string data(48, '\x5a');
        return Dict(
            {{"WebBookmarkType", plist_new_string(type)},
             {"WebBookmarkUUID", isLeaf && !uuid ? nullptr : plist_new_string(id.c_str())},
             {"Sync", withSync_ ? Dict({{"ServerID", String("server-" + id)},
                                        {"Data", plist_new_data(data.data(), data.size())}})
                                : nullptr},
             {"Title", isLeaf ? nullptr : String(title)},
             {"WebBookmarkIdentifier",
              std::string_view(type) == "WebBookmarkTypeProxy" ? String(title) : nullptr},
             {"Children", std::string_view(type) == "WebBookmarkTypeList" ? plist_new_array() : nullptr}});
    }

    plist_t Leaf(const FixtureBookmark& bookmark, const std::optional<std::string>& previewText) {
        plist_t leaf = Node("WebBookmarkTypeLeaf", std::nullopt, true, bookmark.uuid);
        plist_dict_set_item(leaf, "URIDictionary", Dict({{"title", String(bookmark.title)}}));
        if (bookmark.url)
            plist_dict_set_item(leaf, "URLString", String(bookmark.url));
        if (previewText) {
            plist_dict_set_item(
                leaf, "ReadingList",
                Dict({{"DateAdded", plist_new_date(700000000, 0)}, {"PreviewText", String(previewText)}}));
            plist_dict_set_item(
                leaf, "ReadingListNonSync",
                Dict({{"neverFetchMetadata", plist_new_bool(0)}, {"siteName", String("Example")}}));
        }
        return leaf;
    }

private:
    bool withSync_;
    int generated_ = 0;
};

} // namespace

BookmarksFixture::Folder& BookmarksFixture::FolderNamed(std::string_view title) {
    const auto found = std::ranges::find(folders_, title, &Folder::title);
    return found != folders_.end() ? *found : folders_.emplace_back(Folder{std::string(title), {}});
}

void BookmarksFixture::Add(std::string_view folder, const FixtureBookmark& bookmark) {
    FolderNamed(folder).items.push_back(Item{bookmark, std::nullopt});
}

void BookmarksFixture::AddToReadingList(const FixtureBookmark& bookmark, std::string_view previewText) {
    FolderNamed(kReadingList).items.push_back(Item{bookmark, std::string(previewText)});
}

bool BookmarksFixture::Write(const std::string& path, Encoding encoding) const {
    TreeBuilder builder(form_ == Form::Modern);
    Plist root(builder.Node("WebBookmarkTypeList", ""));
    plist_dict_set_item(root.get(), "WebBookmarkFileVersion", plist_new_uint(1));
    plist_t children = plist_dict_get_item(root.get(), "Children");
    plist_array_append_item(children, builder.Node("WebBookmarkTypeProxy", "History"));
    for (const Folder& folder : folders_) {
        plist_t node = builder.Node("WebBookmarkTypeList", folder.title);
        for (const Item& item : folder.items)
            plist_array_append_item(plist_dict_get_item(node, "Children"),
                                    builder.Leaf(item.bookmark, item.previewText));
        plist_array_append_item(children, node);
    }
    plist_array_append_item(children, builder.Node("WebBookmarkTypeProxy", "Bonjour"));

    const bool xml = encoding == Encoding::Xml;
    char* bytes = nullptr;
    std::uint32_t length = 0;
    (xml ? plist_to_xml : plist_to_bin)(root.get(), &bytes, &length);
    std::ofstream file(path, std::ios::binary);
    const bool written = bytes && file.write(bytes, length);
    (xml ? plist_to_xml_free : plist_to_bin_free)(bytes);
    return written;
}

} // namespace testsupport
