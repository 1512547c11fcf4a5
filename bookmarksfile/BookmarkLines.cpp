#include "bookmarksfile/BookmarkLines.h"

#include "bookmarksfile/BookmarksMarkers.h"

#include "framework/runtime/Thread.h"
#include "framework/text/Text.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillfen {

bool ContainsMarker(std::string_view line, std::string_view marker) {
    return fw::InStrB(line, marker) > 0;
}

std::optional<std::string_view> StringElement(std::string_view line) {
    const std::size_t open = line.find(markers::kStringOpen);
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t begin = open + markers::kStringOpen.size();
    const std::size_t close = line.find(markers::kStringClose, begin);
    if (close == std::string_view::npos)
        return std::nullopt;
    return line.substr(begin, close - begin);
}

LineSource::LineSource(std::string_view text, bool yield)
    : text_(text), yield_(yield), nextLF_(Find('\n', 0)), nextCR_(Find('\r', 0)) {}

std::optional<std::string_view> LineSource::Next() {
    if (pushedBack_)
        return std::exchange(pushedBack_, std::nullopt);
    if (pos_ >= text_.size())
        return std::nullopt;
    // Each search runs to the next LF or CR and is kept until the reading passes it, so the text is
    // scanned once whatever mix of line ends it holds.
    if (nextLF_ < pos_)
        nextLF_ = Find('\n', pos_);
    if (nextCR_ < pos_)
        nextCR_ = Find('\r', pos_);
    const std::size_t end = std::min(nextLF_, nextCR_);
    const std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + (text_.substr(end).starts_with("\r\n") ? 2 : 1);
    if (yield_)
        fw::BackgroundYield();
    return line;
}

std::size_t LineSource::Find(char c, std::size_t from) const {
    const void* found = std::memchr(text_.data() + from, c, text_.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) : text_.size();
}

namespace {

// The lines of one bookmark entry after its marker line.
class EntryLines {
public:
    explicit EntryLines(LineSource& lines) : lines_(lines) {}

    // The line right after the next line holding key at the entry's own level: a key inside a dictionary
    // the entry nests is another's. Nothing when the entry ends first.
    std::optional<std::string_view> ValueAfter(std::string_view key);
    // The title inside the URI dictionary that follows the marker, and where a missing one would stand.
    void ReadTitle(EntryValueLines& values);

private:
    std::optional<std::string_view> Next();

    LineSource& lines_;
    int depth_ = 1; // the marker stands inside the entry's own dictionary
    bool closed_ = false;
};

std::optional<std::string_view> EntryLines::ValueAfter(std::string_view key) {
    while (const std::optional<std::string_view> line = Next())
        if (depth_ == 1 && ContainsMarker(*line, key))
            return Next();
    return std::nullopt;
}

// plutil sorts keys by their bytes; escaping keeps that order against "title", whose letters all sort
// after "&", "<" and ">".
bool KeySortsAfterTitle(std::string_view line) {
    constexpr std::string_view kKey = "<key>";
    const std::size_t begin = line.find(kKey) + kKey.size(); // the line holds a key
    return line.substr(begin, line.find("</key>", begin) - begin) > "title";
}

void EntryLines::ReadTitle(EntryValueLines& values) {
    values.uriDictionary = Next();
    if (!values.uriDictionary || depth_ != 2)
        return; // an empty dictionary, or no dictionary
    while (const std::optional<std::string_view> line = Next()) {
        if (depth_ < 2) {
            values.titlePlace = values.titlePlace.value_or(*line);
            return;
        }
        if (depth_ > 2 || !ContainsMarker(*line, "<key>"))
            continue;
        if (ContainsMarker(*line, markers::kTitleKey)) {
            values.title = Next();
            values.titlePlace.reset();
            return;
        }
        if (!values.titlePlace && KeySortsAfterTitle(*line))
            values.titlePlace = line;
    }
    values.titlePlace.reset(); // the dictionary never closed
}

std::optional<std::string_view> EntryLines::Next() {
    if (closed_)
        return std::nullopt;
    std::optional<std::string_view> line = lines_.Next();
    if (!line) {
        closed_ = true;
    } else if (ContainsMarker(*line, markers::kEntry)) {
        lines_.PushBack(*line);
        closed_ = true;
    } else {
        // plutil writes one element per line and escapes '<' inside strings, so these are tags.
        depth_ += ContainsMarker(*line, "<dict>") ? 1 : 0;
        depth_ -= ContainsMarker(*line, "</dict>") ? 1 : 0;
        closed_ = depth_ <= 0;
    }
    return closed_ ? std::nullopt : line;
}

} // namespace

EntryValueLines ReadEntryValueLines(LineSource& lines) {
    EntryLines entry(lines);
    EntryValueLines values;
    entry.ReadTitle(values);
    values.url = entry.ValueAfter(markers::kURLKey);
    values.uuid = entry.ValueAfter(markers::kUUIDKey);
    return values;
}

} // namespace quillfen
