// The reader walks the XML text one line at a time, viewing the lines in place.
#include "bookmarksfile/BookmarksReader.h"

#include "bookmarksfile/BookmarkLines.h"
#include "bookmarksfile/BookmarksMarkers.h"
#include "bookmarksfile/BookmarksText.h"

#include "framework/text/Text.h"

#include <optional>
#include <utility>

namespace quillfen {
namespace {

// The text of a line's string element; empty when the line has none.
std::string StringText(std::string_view line) { return std::string(StringElement(line).value_or("")); }

// The URL when it begins with "http" or "feed" in any letter case; empty otherwise. File and script
// addresses are not checked: a bookmarklet's code may hold "http" anywhere.
std::string WebAddress(std::string_view line) {
    std::string text = StringText(line);
    const std::string scheme = fw::Left(text, 4);
    return fw::TextEquals(scheme, "http") || fw::TextEquals(scheme, "feed") ? text : std::string();
}

// Reads one entry whose marker line was just read; nothing when it is not to be listed.
std::optional<BookmarkRow> ReadEntry(LineSource& lines) {
    const EntryValueLines entry = ReadEntryValueLines(lines);
    if (!entry.url || !entry.uuid)
        return std::nullopt;
    BookmarkRow row{StringText(entry.title.value_or("")), WebAddress(*entry.url), {}, StringText(*entry.uuid)};
    // An empty identifier would match nothing when deleting or editing: such an entry is not listed.
    if (row.url.empty() || row.uuid.empty())
        return std::nullopt;
    return row;
}

} // namespace

ReadResult ReadBookmarks(const fw::FolderItem& file, BookmarkSink& sink) {
    std::optional<std::string> text = ConvertAndReadBookmarks(file);
    if (!text)
        return {ReadStatus::ReadFailure, {}, {}, {}};
    return ListBookmarks(std::move(*text), sink);
}

ReadResult ListBookmarks(std::string text, BookmarkSink& sink) {
    ReadResult result;
    LineSource lines(text);
    while (const std::optional<std::string_view> line = lines.Next()) {
        if (!ContainsMarker(*line, markers::kEntry))
            continue;
        // A marker on the last line means the text is not one element per line (all on one line).
        if (lines.AtEnd()) {
            result.status = ReadStatus::ReadFailure;
            return result;
        }
        std::optional<BookmarkRow> row = ReadEntry(lines);
        if (!row)
            continue;
        row->orderKey = fw::Format(static_cast<double>(result.RowCount() + 1), "000000");
        result.urlArray.push_back(row->url);
        result.UUIDArray.push_back(row->uuid);
        sink.AddBookmark(*row);
    }
    // The rewrites work on the whole text as read; the lines above were views into it.
    result.wholeText = std::move(text);
    return result;
}

} // namespace quillfen
