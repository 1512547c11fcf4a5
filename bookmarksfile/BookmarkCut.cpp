#include "bookmarksfile/BookmarkCut.h"

#include "bookmarksfile/BookmarksMarkers.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillfen {
namespace {

constexpr std::string_view kOpen = "<dict>";
constexpr std::string_view kClose = "</dict>";
constexpr std::string_view kArrayOpen = "<array>";
constexpr std::string_view kArrayClose = "</array>";
constexpr std::string_view kKey = "<key>";
constexpr std::string_view kKeyEnd = "</key>";
constexpr std::size_t kNone = std::string_view::npos;

// A container not yet closed. Only a dictionary with its own URIDictionary key is a bookmark, so a folder
// is never cut, whatever identifier it carries.
struct Open {
    bool dict = false;
    // Where its cut would begin: an array element at its "<dict>", a key's value at that key, which must
    // go with it; kNone for the outermost dictionary.
    std::size_t start = kNone;
    std::size_t lastKey = kNone; // in a dictionary: where the key of the value to come begins
    bool bookmark = false;
    std::string_view uuid = {}; // its own identifier, when it is one asked for
};

struct Entry {
    std::string_view uuid;
    std::size_t begin;
    std::size_t end;
};

// The text of the <string> element that follows `pos` (blanks and line ends between), or nothing.
std::string_view StringValueAfter(std::string_view text, std::size_t pos) {
    const std::size_t open = text.find_first_not_of(" \t\r\n", pos);
    if (open == std::string_view::npos || text.substr(open, markers::kStringOpen.size()) != markers::kStringOpen)
        return {};
    const std::size_t begin = open + markers::kStringOpen.size();
    const std::size_t end = text.find(markers::kStringClose, begin);
    return end == std::string_view::npos ? std::string_view() : text.substr(begin, end - begin);
}

// The entries of the chosen bookmarks, in the order they close (one nested in another comes first).
std::vector<Entry> ChosenEntries(std::string_view text, const std::set<std::string, std::less<>>& uuids,
                                 const std::function<void(std::size_t)>& afterEntry) {
    std::vector<Open> open;
    std::vector<Entry> chosen;
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        const std::string_view rest = text.substr(pos);
        if (rest.starts_with(kOpen) || rest.starts_with(kArrayOpen)) {
            const bool dict = rest.starts_with(kOpen);
            const Open* parent = open.empty() ? nullptr : &open.back();
            open.push_back({.dict = dict, .start = !parent ? kNone : parent->dict ? parent->lastKey : pos});
            pos += dict ? kOpen.size() : kArrayOpen.size();
        } else if (rest.starts_with(kClose) || rest.starts_with(kArrayClose)) {
            pos += rest.starts_with(kClose) ? kClose.size() : kArrayClose.size();
            if (open.empty())
                continue;
            const Open done = open.back();
            open.pop_back();
            if (!done.bookmark)
                continue;
            if (!done.uuid.empty())
                chosen.push_back({done.uuid, done.start, pos});
            if (afterEntry)
                afterEntry(chosen.size());
        } else if (rest.starts_with(kKey)) {
            const std::size_t end = text.find(kKeyEnd, pos + kKey.size());
            if (end == std::string_view::npos)
                break;
            const std::string_view key = text.substr(pos + kKey.size(), end - pos - kKey.size());
            if (!open.empty() && open.back().dict) {
                Open& dict = open.back();
                dict.lastKey = pos;
                if (key == "URIDictionary") {
                    dict.bookmark = true;
                } else if (key == "WebBookmarkUUID") {
                    const std::string_view uuid = StringValueAfter(text, end + kKeyEnd.size());
                    if (!uuid.empty() && uuids.contains(uuid))
                        dict.uuid = uuid;
                }
            }
            pos = end + kKeyEnd.size();
        } else {
            ++pos;
        }
    }
    return chosen;
}

} // namespace

std::string CutBookmarks(const std::string& whole, const std::set<std::string, std::less<>>& uuids,
                         const std::function<void(std::size_t)>& afterEntry, CutOutcomes* outcomes) {
    const std::string_view text(whole);
    const std::vector<Entry> chosen = ChosenEntries(text, uuids, afterEntry);
    std::unordered_map<std::string_view, int> entriesOf;
    for (const Entry& entry : chosen)
        ++entriesOf[entry.uuid];
    std::vector<std::pair<std::size_t, std::size_t>> cuts; // [begin, end), in text order
    for (const Entry& entry : chosen) {
        if (entriesOf[entry.uuid] != 1 || entry.begin == kNone)
            continue;
        // An entry holds any cut made inside it.
        while (!cuts.empty() && cuts.back().first >= entry.begin)
            cuts.pop_back();
        cuts.emplace_back(entry.begin, entry.end);
    }
    if (outcomes) {
        outcomes->clear();
        for (const Entry& entry : chosen)
            outcomes->emplace(entry.uuid, entriesOf[entry.uuid] != 1 ? CutOutcome::Shared
                                          : entry.begin == kNone    ? CutOutcome::Stuck
                                                                    : CutOutcome::Cut);
        for (const std::string& uuid : uuids)
            outcomes->emplace(uuid, CutOutcome::NotFound);
    }
    if (cuts.empty())
        return whole;
    std::string out;
    out.reserve(whole.size());
    std::size_t kept = 0;
    for (const auto& [begin, end] : cuts) {
        out.append(text.substr(kept, begin - kept));
        out += ' ';
        kept = end;
    }
    out.append(text.substr(kept));
    return out;
}

} // namespace quillfen
