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

void SetString(plist_t dict, const char* key, const std::string& value) {
    plist_dict_set_item(dict, key, plist_new_string(value.c_str()));
}

class TreeBuilder {
public:
    explicit TreeBuilder(bool withSync) : withSync_(withSync) {}

    plist_t Proxy(const std::string& title) {
        plist_t proxy = Node("WebBookmarkTypeProxy");
        SetString(proxy, "Title", title);
        SetString(proxy, "WebBookmarkIdentifier", title);
        return proxy;
    }

    plist_t Folder(const std::string& title) {
        plist_t folder = Node("WebBookmarkTypeList");
        SetString(folder, "Title", title);
        plist_dict_set_item(folder, "Children", plist_new_array());
        return folder;
    }

    plist_t Leaf(const FixtureBookmark& bookmark, const std::optional<std::string>& previewText) {
        plist_t leaf = Node("WebBookmarkTypeLeaf", bookmark.uuid);
        plist_t uri = plist_new_dict();
        if (bookmark.title)
            SetString(uri, "title", *bookmark.title);
        plist_dict_set_item(leaf, "URIDictionary", uri);
        if (bookmark.url)
            SetString(leaf, "URLString", *bookmark.url);
        if (previewText) {
            plist_t reading = plist_new_dict();
            plist_dict_set_item(reading, "DateAdded", plist_new_date(700000000, 0));
            SetString(reading, "PreviewText", *previewText);
            plist_dict_set_item(leaf, "ReadingList", reading);
            plist_t nonSync = plist_new_dict();
            plist_dict_set_item(nonSync, "neverFetchMetadata", plist_new_bool(0));
            SetString(nonSync, "siteName", "Example");
            plist_dict_set_item(leaf, "ReadingListNonSync", nonSync);
        }
        return leaf;
    }

private:
    // Folders and proxies get made-up identifiers; a leaf's comes from the test (or is missing).
    plist_t Node(const char* type, const std::optional<std::string>& uuid = std::nullopt) {
        const std::string id = uuid ? *uuid : "00000000-FIXTURE-" + std::to_string(++generated_);
        plist_t node = plist_new_dict();
        SetString(node, "WebBookmarkType", type);
        if (uuid || std::string_view(type) != "WebBookmarkTypeLeaf")
            SetString(node, "WebBookmarkUUID", id);
        if (withSync_) {
            plist_t sync = plist_new_dict();
            SetString(sync, "ServerID", "server-" + id);
            const std::string data(48, '\x5a');
            plist_dict_set_item(sync, "Data", plist_new_data(data.data(), data.size()));
            plist_dict_set_item(node, "Sync", sync);
        }
        return node;
    }

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
    Plist root(builder.Folder(""));
    plist_dict_set_item(root.get(), "WebBookmarkFileVersion", plist_new_uint(1));
    plist_t children = plist_dict_get_item(root.get(), "Children");
    plist_array_append_item(children, builder.Proxy("History"));
    for (const Folder& folder : folders_) {
        plist_t node = builder.Folder(folder.title);
        plist_t items = plist_dict_get_item(node, "Children");
        for (const Item& item : folder.items)
            plist_array_append_item(items, builder.Leaf(item.bookmark, item.previewText));
        plist_array_append_item(children, node);
    }
    plist_array_append_item(children, builder.Proxy("Bonjour"));

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
