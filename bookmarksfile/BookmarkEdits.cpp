// The bookmarks are found by the reader's own walk over the lines, so an edit reaches every bookmark
// that is listed.
#include "bookmarksfile/BookmarkEdits.h"

#include "bookmarksfile/BookmarkLines.h"
#include "bookmarksfile/BookmarksMarkers.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace quillfen {
namespace {

using namespace markers;

bool IsXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The length of the reference that begins `text` ("&amp;", "&#38;", "&#x26;"), or 0 when "&" begins none.
// Only references a property list may hold count: its five named entities and legal character codes.
std::size_t ReferenceLength(std::string_view text) {
    for (std::string_view named : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"})
        if (text.starts_with(named))
            return named.size();
    if (!text.starts_with("&#"))
        return 0;
    const bool hex = text.starts_with("&#x");
    const char* const last = text.data() + text.size();
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + (hex ? 3 : 2), last, value, hex ? 16 : 10);
    const bool closed = error == std::errc() && end < last && *end == ';';
    return closed && IsXmlChar(value) ? static_cast<std::size_t>(end - text.data()) + 1 : 0;
}

// Where a value line's text lies in the whole text: between its first "<string>" and the "</string>" after
// it.
struct Slot {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::string_view TextOf(std::string_view xml, const Slot& slot) {
    return xml.substr(slot.begin, slot.end - slot.begin);
}

// A bookmark's title or URL string element, and its text once a record has changed it.
struct Element {
    std::optional<Slot> slot;
    std::optional<std::string> changed;

    // Takes the new value where the element holds the old one, both in the form they take in the text.
    void Change(std::string_view xml, std::string_view oldTyped, std::string_view newTyped) {
        if (!slot)
            return;
        const std::string_view now = changed ? std::string_view(*changed) : TextOf(xml, *slot);
        if (now == StringElementText(oldTyped))
            changed = StringElementText(newTyped);
    }
};

struct Entry {
    Element title;
    Element url;
};

std::optional<Slot> SlotOf(std::string_view xml, std::string_view line) {
    const std::optional<std::string_view> text = StringElement(line);
    if (!text)
        return std::nullopt;
    const auto begin = static_cast<std::size_t>(text->data() - xml.data()); // lines are views into xml
    return Slot{begin, begin + text->size()};
}

struct Bookmarks {
    std::vector<Entry> entries;
    std::unordered_map<std::string_view, std::size_t> byUUID; // the first entry of each UUID
};

Bookmarks FindBookmarks(std::string_view xml) {
    Bookmarks found;
    // The apply gives way after each record rather than after each line.
    LineSource lines(xml, /*yield=*/false);
    while (const std::optional<std::string_view> line = lines.Next()) {
        if (!ContainsMarker(*line, kEntry))
            continue;
        const auto [title, url, uuid] = ReadEntryValueLines(lines);
        // An entry without a UUID is matched by no record; an empty UUID names no bookmark.
        const std::optional<Slot> id = uuid ? SlotOf(xml, *uuid) : std::nullopt;
        if (!url || !id || id->end == id->begin)
            continue;
        if (!found.byUUID.emplace(TextOf(xml, *id), found.entries.size()).second)
            continue;
        found.entries.push_back({{title ? SlotOf(xml, *title) : std::nullopt, {}}, {SlotOf(xml, *url), {}}});
    }
    return found;
}

} // namespace

std::string StringElementText(std::string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == '&') {
            const std::size_t keep = ReferenceLength(typed.substr(i));
            out += keep ? typed.substr(i, keep) : std::string_view("&amp;");
            i += keep ? keep - 1 : 0;
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> ApplyEdits(std::string_view xml, const std::vector<EditRecord>& records,
                                      const std::function<bool(std::size_t)>& afterRecord) {
    Bookmarks bookmarks = FindBookmarks(xml);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const EditRecord& record = records[i];
        if (const auto it = bookmarks.byUUID.find(record.uuid); it != bookmarks.byUUID.end()) {
            Entry& entry = bookmarks.entries[it->second];
            entry.title.Change(xml, record.oldTitle, record.newTitle);
            entry.url.Change(xml, record.oldURL, record.newURL);
        }
        if (afterRecord && !afterRecord(i + 1))
            return std::nullopt;
    }
    // Entries and their slots stand in text order, the title before the URL.
    std::string out;
    out.reserve(xml.size());
    std::size_t copied = 0;
    for (const Entry& entry : bookmarks.entries) {
        for (const Element* element : {&entry.title, &entry.url}) {
            if (!element->changed)
                continue;
            out.append(xml.substr(copied, element->slot->begin - copied));
            out += *element->changed;
            copied = element->slot->end;
        }
    }
    out.append(xml.substr(copied));
    return out;
}

} // namespace quillfen
