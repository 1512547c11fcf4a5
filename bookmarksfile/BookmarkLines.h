// The bookmarks XML text walked one line at a time, the lines viewed in place, and one bookmark entry's
// lines: how the reader lists the bookmarks and how edits find the same ones.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillfen {

// Markers are matched byte for byte: "<key>title</key>" must not match a folder's "<key>Title</key>".
bool ContainsMarker(std::string_view line, std::string_view marker);

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

// The lines of one bookmark entry after its "URIDictionary" key. Reading stops at the entry's own
// closing "</dict>" and at the next entry's marker, so a missing key is never taken from a neighbour
// (the last child of a folder would otherwise get the folder's UUID).
class EntryLines {
public:
    explicit EntryLines(LineSource& lines) : lines_(lines) {}

    // The line right after the next line holding key, searched while the reading stays `within` levels
    // deep (2: inside the entry's URI dictionary); nothing when the entry or that dictionary ends first.
    std::optional<std::string_view> ValueAfter(std::string_view key, int within = 1);

private:
    std::optional<std::string_view> Next();

    LineSource& lines_;
    int depth_ = 1; // the marker stands inside the entry's own dictionary
    bool closed_ = false;
};

} // namespace quillfen
