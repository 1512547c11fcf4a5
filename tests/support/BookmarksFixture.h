// Writes Safari-like bookmarks files (XML or binary property lists) for the reader's tests and benchmark:
// proxy entries without URLs, top-level folders of bookmarks, and the Reading List. The modern form gives
// every item a "Sync" dictionary ahead of its other keys, as newer Safari versions do; the older form has none.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// A missing key is left out of the file.
struct FixtureBookmark {
    std::optional<std::string> title;
    std::optional<std::string> url;
    std::optional<std::string> uuid;
};

class BookmarksFixture {
public:
    enum class Form { Modern, Older };
    enum class Encoding { Xml, Binary };

    explicit BookmarksFixture(Form form) : form_(form) {}

    // Appends to the top-level folder of that title, created after the others on first use.
    void Add(std::string_view folder, const FixtureBookmark& bookmark);
    // Appends to the Reading List, whose items carry a preview text (several lines) and their own dictionaries.
    void AddToReadingList(const FixtureBookmark& bookmark, std::string_view previewText);

    // False when the file cannot be written.
    bool Write(const std::string& path, Encoding encoding) const;

private:
    struct Item {
        FixtureBookmark bookmark;
        std::optional<std::string> previewText;
    };
    struct Folder {
        std::string title;
        std::vector<Item> items;
    };
    Folder& FolderNamed(std::string_view title);

    Form form_;
    std::vector<Folder> folders_;
};

} // namespace testsupport
