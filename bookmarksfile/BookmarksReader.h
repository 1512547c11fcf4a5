// Fills the bookmark list from Safari's bookmarks file: converts it to XML in place with plutil, reads the
// text once, then walks it line by line by its marker lines, never parsing it as XML. Texts are taken
// byte for byte.
#pragma once

#include "framework/files/FolderItem.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

// Shown when the file cannot be read; the line end is the platform's CR.
inline constexpr std::string_view kReadFailureMessage =
    "Vozez Quillfen has encountered a problem and could not read Safari's bookmarks.\r\r"
    "If you used Ordnix to organize your bookmarks there is a simple way to fix this problem. "
    "Please read the documentation that came with Safari Quillfen. ";

// One listed bookmark: the cells of its row in the bookmark list.
struct BookmarkRow {
    std::string name;
    std::string url;
    std::string orderKey; // 1-based place among the listed bookmarks, six digits
    std::string uuid;

    bool operator==(const BookmarkRow&) const = default;
};

// Where the rows go, one call per listed bookmark in file order.
class BookmarkSink {
public:
    virtual ~BookmarkSink() = default;
    virtual void AddBookmark(const BookmarkRow& row) = 0;
};

enum class ReadStatus { Ok, ReadFailure };

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    // The URL and UUID of every row added by this load, in row order; also after a read failure.
    std::vector<std::string> urlArray;
    std::vector<std::string> UUIDArray;
    // The whole file as it stood after the load; empty after a read failure.
    std::string wholeText;

    std::size_t RowCount() const { return urlArray.size(); }
};

// Lists every bookmark whose URL begins with "http" or "feed" (any letter case). A file that cannot be
// converted or read ends with ReadFailure and no rows.
ReadResult ReadBookmarks(const fw::FolderItem& file, BookmarkSink& sink);

// The listing of text already read. A text whose last line opens a bookmark ends with ReadFailure; the
// rows added before stay added. An entry without a title is listed with an empty name; one without a
// URL or UUID is left out without touching the next entry. The URL and UUID are the entry's own, never
// those of a dictionary it nests.
ReadResult ListBookmarks(std::string text, BookmarkSink& sink);

} // namespace quillfen
