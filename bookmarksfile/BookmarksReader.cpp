// The reader walks the XML text one line at a time and only holds the lines of the bookmark it reads.
#include "bookmarksfile/BookmarksReader.h"

#include "bookmarksfile/BookmarksText.h"

#include "framework/Shell.h"
#include "framework/Text.h"
#include "framework/Thread.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace quillfen {
namespace {

constexpr std::string_view kEntryMarker = "<key>URIDictionary</key>";
constexpr std::string_view kTitleKey = "<key>title</key>";
constexpr std::string_view kURLKey = "<key>URLString</key>";
constexpr std::string_view kUUIDKey = "<key>WebBookmarkUUID</key>";
constexpr std::string_view kStringOpen = "<string>";
constexpr std::string_view kStringClose = "</string>";

// Markers are matched byte for byte: "<key>title</key>" must not match a folder's "<key>Title</key>".
bool Contains(std::string_view line, std::string_view marker) {
    return fw::InStrB(line, marker) > 0;
}

// The file's lines, yielding to the cooperative threads after each one, with room to hand one line
// back when an entry's reading ran into the next entry.
class LineSource {
public:
    explicit LineSource(fw::TextInputStream& in) : in_(in) {}

    bool AtEnd() { return !pushedBack_ && in_.AtEOF(); }

    std::optional<std::string> Next() {
        if (pushedBack_)
            return std::exchange(pushedBack_, std::nullopt);
        if (in_.AtEOF())
            return std::nullopt;
        std::string line = in_.ReadLine();
        fw::BackgroundYield();
        return line;
    }

    void PushBack(std::string line) { pushedBack_ = std::move(line); }

private:
    fw::TextInputStream& in_;
    std::optional<std::string> pushedBack_;
};

// The lines of one bookmark entry after its "URIDictionary" key. Reading stops at the entry's own
// closing "</dict>" and at the next entry's marker, so a missing key is never taken from a neighbour
// (the last child of a folder would otherwise get the folder's UUID).
class EntryLines {
public:
    explicit EntryLines(LineSource& lines) : lines_(lines) {}

    // The line right after the next line holding key; nothing when the entry ends first.
    std::optional<std::string> ValueAfter(std::string_view key) {
        while (const std::optional<std::string> line = Next()) {
            if (Contains(*line, key))
                return Next();
        }
        return std::nullopt;
    }

private:
    std::optional<std::string> Next() {
        if (closed_)
            return std::nullopt;
        std::optional<std::string> line = lines_.Next();
        if (!line) {
            closed_ = true;
        } else if (Contains(*line, kEntryMarker)) {
            lines_.PushBack(std::move(*line));
            closed_ = true;
        } else {
            // plutil writes one element per line and escapes '<' inside strings, so these are tags.
            depth_ += Contains(*line, "<dict>") ? 1 : 0;
            depth_ -= Contains(*line, "</dict>") ? 1 : 0;
            closed_ = depth_ <= 0;
        }
        return closed_ ? std::nullopt : std::move(line);
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

// The URL from its first "http", else its first "feed", in any letter case; empty when neither occurs
// (file and script addresses are not checked).
std::string WebAddress(std::string_view line) {
    const std::string text = StringText(line);
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    std::int64_t start = fw::InStrB(lower, "http");
    if (start == 0)
        start = fw::InStrB(lower, "feed");
    return start == 0 ? std::string() : fw::MidB(text, start);
}

// Reads one entry whose marker line was just read; nothing when it is not to be listed.
std::optional<BookmarkRow> ReadEntry(LineSource& lines) {
    EntryLines entry(lines);
    const std::optional<std::string> title = entry.ValueAfter(kTitleKey);
    const std::optional<std::string> url = entry.ValueAfter(kURLKey);
    const std::optional<std::string> uuid = entry.ValueAfter(kUUIDKey);
    if (!title || !url || !uuid)
        return std::nullopt;
    BookmarkRow row{StringText(*title), WebAddress(*url), {}, StringText(*uuid)};
    // An empty identifier would match nothing when deleting or editing: such an entry is not listed.
    if (row.url.empty() || row.uuid.empty())
        return std::nullopt;
    return row;
}

} // namespace

ReadResult ReadBookmarks(const fw::FolderItem& file, BookmarkSink& sink) {
    ReadResult result;
    fw::Shell shell;
    shell.Execute("plutil -convert xml1 " + file.ShellPath());

    const std::unique_ptr<fw::TextInputStream> in = file.OpenAsTextFile();
    if (!in) {
        result.status = ReadStatus::ReadFailure;
        return result;
    }
    LineSource lines(*in);
    while (const std::optional<std::string> line = lines.Next()) {
        if (!Contains(*line, kEntryMarker))
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
    in->Close();

    // Read again in one piece, as the later rewrites need the whole text.
    std::optional<std::string> whole = ConvertAndReadBookmarks(file);
    if (!whole) {
        result.status = ReadStatus::ReadFailure;
        return result;
    }
    result.wholeText = std::move(*whole);
    return result;
}

} // namespace quillfen
