// The reader walks the XML text one line at a time, viewing the lines in place.
#include "bookmarksfile/BookmarksReader.h"

#include "bookmarksfile/BookmarksMarkers.h"
#include "bookmarksfile/BookmarksText.h"

#include "framework/text/Text.h"
#include "framework/runtime/Thread.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace quillfen {
namespace {

using markers::kStringClose;
using markers::kStringOpen;
using markers::kTitleKey;
using markers::kURLKey;
using markers::kUUIDKey;

// Markers are matched byte for byte: "<key>title</key>" must not match a folder's "<key>Title</key>".
bool Contains(std::string_view line, std::string_view marker) {
    return fw::InStrB(line, marker) > 0;
}

// The text's lines, yielding to the cooperative threads after each one, with room to hand one line
// back when an entry's reading ran into the next entry. A line ends at LF, CR LF or CR.
class LineSource {
public:
    explicit LineSource(std::string_view text)
        : text_(text), nextLF_(Find('\n', 0)), nextCR_(Find('\r', 0)) {}

    bool AtEnd() const { return !pushedBack_ && pos_ >= text_.size(); }

    std::optional<std::string_view> Next() {
        if (pushedBack_)
            return std::exchange(pushedBack_, std::nullopt);
        if (pos_ >= text_.size())
            return std::nullopt;
        // Each search runs to the next LF or CR and is kept until the reading passes it, so the text
        // is scanned once whatever mix of line ends it holds.
        if (nextLF_ < pos_)
            nextLF_ = Find('\n', pos_);
        if (nextCR_ < pos_)
            nextCR_ = Find('\r', pos_);
        const std::size_t end = std::min(nextLF_, nextCR_);
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + (text_.substr(end).starts_with("\r\n") ? 2 : 1);
        fw::BackgroundYield();
        return line;
    }

    void PushBack(std::string_view line) { pushedBack_ = line; }

private:
    std::size_t Find(char c, std::size_t from) const {
        const void* found = std::memchr(text_.data() + from, c, text_.size() - from);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) : text_.size();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t nextLF_;
    std::size_t nextCR_;
    std::optional<std::string_view> pushedBack_;
};

// The lines of one bookmark entry after its "URIDictionary" key. Reading stops at the entry's own
// closing "</dict>" and at the next entry's marker, so a missing key is never taken from a neighbour
// (the last child of a folder would otherwise get the folder's UUID).
class EntryLines {
public:
    explicit EntryLines(LineSource& lines) : lines_(lines) {}

    // The line right after the next line holding key, searched while the reading stays `within` levels
    // deep (2: inside the entry's URI dictionary); nothing when the entry or that dictionary ends first.
    std::optional<std::string_view> ValueAfter(std::string_view key, int within = 1) {
        while (const std::optional<std::string_view> line = Next()) {
            if (depth_ < within)
                return std::nullopt;
            if (Contains(*line, key))
                return Next();
        }
        return std::nullopt;
    }

private:
    std::optional<std::string_view> Next() {
        if (closed_)
            return std::nullopt;
        std::optional<std::string_view> line = lines_.Next();
        if (!line) {
            closed_ = true;
        } else if (Contains(*line, markers::kEntry)) {
            lines_.PushBack(*line);
            closed_ = true;
        } else {
            // plutil writes one element per line and escapes '<' inside strings, so these are tags.
            depth_ += Contains(*line, "<dict>") ? 1 : 0;
            depth_ -= Contains(*line, "</dict>") ? 1 : 0;
            closed_ = depth_ <= 0;
        }
        return closed_ ? std::nullopt : line;
    }

    LineSource& lines_;
    int depth_ = 1; // the marker stands inside the entry's own dictionary
    bool closed_ = false;
};

// The text of a line's string element; empty when the line lacks "<string>" or "</string>" after it
// (a value spread over lines, or an empty value written as "<string/>").
std::string StringText(std::string_view line) {
    const std::int64_t open = fw::InStrB(line, kStringOpen);
    if (open == 0)
        return {};
    const std::int64_t start = open + static_cast<std::int64_t>(kStringOpen.size());
    const std::int64_t close = fw::InStrB(start, line, kStringClose);
    return close == 0 ? std::string() : fw::MidB(line, start, close - start);
}

bool StartsWithFolded(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(), [](char lower, char c) {
               return lower == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
           });
}

// The URL when it begins with "http" or "feed" in any letter case; empty otherwise. File and script
// addresses are not checked: a bookmarklet's code may hold "http" anywhere.
std::string WebAddress(std::string_view line) {
    std::string text = StringText(line);
    return StartsWithFolded(text, "http") || StartsWithFolded(text, "feed") ? text : std::string();
}

// Reads one entry whose marker line was just read; nothing when it is not to be listed.
std::optional<BookmarkRow> ReadEntry(LineSource& lines) {
    EntryLines entry(lines);
    // The title is looked for inside the URI dictionary alone, which may be empty or lack it.
    const std::optional<std::string_view> title = entry.ValueAfter(kTitleKey, 2);
    const std::optional<std::string_view> url = entry.ValueAfter(kURLKey);
    const std::optional<std::string_view> uuid = entry.ValueAfter(kUUIDKey);
    if (!url || !uuid)
        return std::nullopt;
    BookmarkRow row{title ? StringText(*title) : std::string(), WebAddress(*url), {}, StringText(*uuid)};
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
        if (!Contains(*line, markers::kEntry))
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
