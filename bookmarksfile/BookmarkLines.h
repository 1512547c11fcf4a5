// The bookmarks XML text walked one line at a time, the lines viewed in place, and one bookmark entry's
// lines: how the reader lists the bookmarks and how edits find the same ones.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillfen {

// Markers are matched byte for byte: "<key>title</key>" must not match a folder's "<key>Title</key>".
bool ContainsMarker(std::string_view line, std::string_view marker);

// The text of a line's string element, between its first "<string>" and the "</string>" after it, viewed
// in place; nothing when either is missing (a value spread over lines, or an empty value written as
// "<string/>").
std::optional<std::string_view> StringElement(std::string_view line);

// The text's lines, with room to hand one line back when an entry's reading ran into the next entry. A
// line ends at LF, CR LF or CR. With `yield`, each line gives way to the cooperative threads.
class LineSource {
public:
    explicit LineSource(std::string_view text, bool yield = true);

    bool AtEnd() const { return !pushedBack_ && pos_ >= text_.size(); }
    std::optional<std::string_view> Next();
    void PushBack(std::string_view line) { pushedBack_ = line; }

private:
    std::size_t Find(char c, std::size_t from) const;

    std::string_view text_;
    bool yield_;
    std::size_t pos_ = 0;
    std::size_t nextLF_;
    std::size_t nextCR_;
    std::optional<std::string_view> pushedBack_;
};

// The value lines of the bookmark entry whose "URIDictionary" marker line was just read: the line after
// its title key (looked for inside the URI dictionary alone, which may be empty or lack it), then after its
// URL key and its UUID key, each at the entry's own level; each nothing when the entry lacks it. Reading
// stops at the entry's own closing "</dict>" and at the next entry's marker, so a missing key is never taken
// from a neighbour (the last child of a folder would otherwise get the folder's UUID) nor from a dictionary
// the entry nests.
struct EntryValueLines {
    std::optional<std::string_view> title;
    std::optional<std::string_view> url;
    std::optional<std::string_view> uuid;
    // The line after the marker, the URI dictionary's own; and, when it holds no title, the line a title
    // key would stand before in plutil's key order (a later key, or the dictionary's "</dict>").
    std::optional<std::string_view> uriDictionary;
    std::optional<std::string_view> titlePlace;
};
EntryValueLines ReadEntryValueLines(LineSource& lines);

} // namespace quillfen
