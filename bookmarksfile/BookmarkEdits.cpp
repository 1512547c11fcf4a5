// The bookmarks are found by the reader's own walk over the lines, so an edit reaches every bookmark
// that is listed.
#include "bookmarksfile/BookmarkEdits.h"

#include "bookmarksfile/BookmarkLines.h"
#include "bookmarksfile/BookmarksMarkers.h"

#include <algorithm>
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

// The reference that begins a text ("&amp;", "&#38;", "&#x26;"): its length, 0 when "&" begins none, and
// whether it stands for a line break. Only references a property list may hold count: its five named
// entities and legal character codes.
struct Reference {
    std::size_t length = 0;
    bool lineBreak = false;
};

Reference ReferenceAt(std::string_view text) {
    for (std::string_view named : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"})
        if (text.starts_with(named))
            return {named.size()};
    if (!text.starts_with("&#"))
        return {};
    const bool hex = text.starts_with("&#x");
    const char* const last = text.data() + text.size();
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + (hex ? 3 : 2), last, value, hex ? 16 : 10);
    if (error != std::errc() || end == last || *end != ';' || !IsXmlChar(value))
        return {};
    return {static_cast<std::size_t>(end - text.data()) + 1, value == 0xA || value == 0xD};
}

// Where a value's text lies in the whole text: what a new value replaces.
struct Slot {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// A bookmark's title or URL string element, and its text once a record has changed it.
struct Element {
    std::optional<Slot> slot; // none when a new value cannot be written safely
    std::string_view listed;  // the text as the list shows it
    // Written around the new text where the element itself is missing and goes in whole.
    std::string before;
    std::string after;
    std::optional<std::string> changed;

    std::string_view Now() const { return changed ? std::string_view(*changed) : listed; }
    // The element takes the new value, both in the form they take in the text, where it holds the old
    // one; nothing asked of it when they are the same.
    bool CanChange(std::string_view oldText, std::string_view newText) const {
        return oldText == newText || (slot && Now() == oldText);
    }
    void Change(std::string_view oldText, std::string_view newText) {
        if (oldText != newText)
            changed = std::string(newText);
    }
    bool Written() const { return changed && *changed != listed; }
};

struct Entry {
    Element title;
    Element url;
};

// A value line's string element on one line, or one that runs on over the next lines, which is listed
// as empty; none when the line holds no string element.
Element ValueElement(std::string_view xml, std::string_view line) {
    const std::size_t open = line.find(kStringOpen);
    if (open == std::string_view::npos)
        return {};
    const auto begin = static_cast<std::size_t>(line.data() - xml.data()) + open + kStringOpen.size();
    const std::size_t end = xml.find(kStringClose, begin); // "<" inside a string is escaped
    if (end == std::string_view::npos)
        return {};
    return {Slot{begin, end}, StringElement(line).value_or(""), {}, {}, {}};
}

// The line end that follows a line, as the file writes it.
std::string_view LineEndAfter(std::string_view xml, std::string_view line) {
    const std::string_view rest = xml.substr(static_cast<std::size_t>(line.data() - xml.data()) + line.size());
    return rest.substr(0, rest.starts_with("\r\n") ? 2 : 1);
}

// A title the URI dictionary lacks, written in the file's own layout: one element per line, one TAB
// deeper than the dictionary, before the key it sorts before.
Element MissingTitle(std::string_view xml, const EntryValueLines& lines) {
    if (!lines.uriDictionary)
        return {};
    const std::string_view dict = *lines.uriDictionary;
    const std::size_t tag = dict.find_first_not_of(" \t");
    const std::string_view indent = dict.substr(0, std::min(tag, dict.size()));
    const std::string_view rest = dict.substr(std::min(tag, dict.size()));
    const std::string eol(LineEndAfter(xml, dict));
    const std::string inner = std::string(indent) + '\t';
    const std::string key = inner + "<key>title</key>" + eol + inner + "<string>";
    const auto at = [&](std::string_view text) { return static_cast<std::size_t>(text.data() - xml.data()); };
    if (rest == "<dict/>") // an empty dictionary opens up
        return {Slot{at(rest), at(rest) + rest.size()}, {}, "<dict>" + eol + key,
                "</string>" + eol + std::string(indent) + "</dict>", {}};
    if (rest != "<dict>" || !lines.titlePlace)
        return {};
    return {Slot{at(*lines.titlePlace), at(*lines.titlePlace)}, {}, key, "</string>" + eol, {}};
}

// An identifier that two entries share names neither of them.
constexpr std::size_t kShared = static_cast<std::size_t>(-1);

struct Bookmarks {
    std::vector<Entry> entries;
    std::unordered_map<std::string_view, std::size_t> byUUID; // the entry of each UUID, or kShared
};

Bookmarks FindBookmarks(std::string_view xml) {
    Bookmarks found;
    // The apply gives way after each record rather than after each line.
    LineSource lines(xml, /*yield=*/false);
    while (const std::optional<std::string_view> line = lines.Next()) {
        if (!ContainsMarker(*line, kEntry))
            continue;
        const EntryValueLines entry = ReadEntryValueLines(lines);
        // An entry without a UUID is matched by no record; an empty UUID names no bookmark.
        const std::optional<std::string_view> id = entry.uuid ? StringElement(*entry.uuid) : std::nullopt;
        if (!entry.url || !id || id->empty())
            continue;
        if (const auto [it, added] = found.byUUID.emplace(*id, found.entries.size()); !added) {
            it->second = kShared;
            continue;
        }
        found.entries.push_back({entry.title ? ValueElement(xml, *entry.title) : MissingTitle(xml, entry),
                                 ValueElement(xml, *entry.url)});
    }
    return found;
}

EditOutcome Apply(Bookmarks& bookmarks, const EditRecord& record) {
    const auto it = bookmarks.byUUID.find(record.uuid);
    const std::string oldTitle = StringElementText(record.oldTitle), newTitle = StringElementText(record.newTitle);
    const std::string oldURL = StringElementText(record.oldURL), newURL = StringElementText(record.newURL);
    if (oldTitle == newTitle && oldURL == newURL)
        return EditOutcome::Applied; // nothing asked of the file
    if (it == bookmarks.byUUID.end())
        return EditOutcome::NotFound;
    if (it->second == kShared)
        return EditOutcome::Shared;
    Entry& entry = bookmarks.entries[it->second];
    // A record goes in whole or not at all.
    if (!entry.title.CanChange(oldTitle, newTitle) || !entry.url.CanChange(oldURL, newURL)) {
        const bool unwritable = (oldTitle != newTitle && !entry.title.slot) || (oldURL != newURL && !entry.url.slot);
        return unwritable ? EditOutcome::Unwritable : EditOutcome::Changed;
    }
    entry.title.Change(oldTitle, newTitle);
    entry.url.Change(oldURL, newURL);
    return EditOutcome::Applied;
}

} // namespace

std::string StringElementText(std::string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == '&') {
            // A line break by reference would come back as a real one at the next conversion, and the
            // element would no longer stand on one line.
            const Reference reference = ReferenceAt(typed.substr(i));
            out += reference.lineBreak ? std::string_view(" ")
                   : reference.length  ? typed.substr(i, reference.length)
                                       : std::string_view("&amp;");
            i += reference.length ? reference.length - 1 : 0;
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
                                      const std::function<bool(std::size_t)>& afterRecord,
                                      std::vector<EditOutcome>* outcomes) {
    Bookmarks bookmarks = FindBookmarks(xml);
    if (outcomes)
        outcomes->clear();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const EditOutcome outcome = Apply(bookmarks, records[i]);
        if (outcomes)
            outcomes->push_back(outcome);
        if (afterRecord && !afterRecord(i + 1))
            return std::nullopt;
    }
    // Entries and their slots stand in text order, the title before the URL.
    std::string out;
    out.reserve(xml.size());
    std::size_t copied = 0;
    for (const Entry& entry : bookmarks.entries) {
        for (const Element* element : {&entry.title, &entry.url}) {
            if (!element->Written())
                continue;
            out.append(xml.substr(copied, element->slot->begin - copied));
            out += element->before + *element->changed + element->after;
            copied = element->slot->end;
        }
    }
    out.append(xml.substr(copied));
    return out;
}

} // namespace quillfen
