#include "bookmarksfile/BookmarkCut.h"

#include "bookmarksfile/BookmarksMarkers.h"

#include <string_view>
#include <utility>
#include <vector>

namespace quillfen {
namespace {

constexpr std::string_view kOpen = "<dict>";
constexpr std::string_view kClose = "</dict>";
constexpr std::string_view kKey = "<key>";
constexpr std::string_view kKeyEnd = "</key>";

// A dictionary not yet closed. Only an entry with its own URIDictionary key is a bookmark, so a folder
// is never cut, whatever identifier it carries.
struct OpenDict {
    std::size_t start;
    bool bookmark = false;
    bool chosen = false;
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

} // namespace

std::string CutBookmarks(const std::string& whole, const std::set<std::string, std::less<>>& uuids,
                         const std::function<void(std::size_t)>& afterEntry) {
    const std::string_view text(whole);
    std::vector<OpenDict> open;
    std::vector<std::pair<std::size_t, std::size_t>> cuts; // [begin, end), in text order
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        const std::string_view rest = text.substr(pos);
        if (rest.starts_with(kOpen)) {
            open.push_back({pos});
            pos += kOpen.size();
        } else if (rest.starts_with(kClose)) {
            pos += kClose.size();
            if (open.empty())
                continue;
            const OpenDict entry = open.back();
            open.pop_back();
            if (!entry.bookmark)
                continue;
            if (entry.chosen) {
                // An entry holds any cut made inside it.
                while (!cuts.empty() && cuts.back().first >= entry.start)
                    cuts.pop_back();
                cuts.emplace_back(entry.start, pos);
            }
            if (afterEntry)
                afterEntry(cuts.size());
        } else if (rest.starts_with(kKey)) {
            const std::size_t end = text.find(kKeyEnd, pos + kKey.size());
            if (end == std::string_view::npos)
                break;
            const std::string_view key = text.substr(pos + kKey.size(), end - pos - kKey.size());
            pos = end + kKeyEnd.size();
            if (open.empty())
                continue;
            if (key == "URIDictionary") {
                open.back().bookmark = true;
            } else if (key == "WebBookmarkUUID") {
                const std::string_view uuid = StringValueAfter(text, pos);
                if (!uuid.empty() && uuids.contains(uuid))
                    open.back().chosen = true;
            }
        } else {
            ++pos;
        }
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
