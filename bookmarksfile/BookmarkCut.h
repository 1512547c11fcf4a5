// Cuts bookmarks out of the bookmarks XML text by their identifiers: each one's whole <dict> entry, whatever
// dictionaries it nests and in whatever order its keys stand, in one pass over the text.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>

namespace quillfen {

// The text without the entries of the bookmarks whose WebBookmarkUUID is in `uuids`; each cut entry leaves
// one blank, every other byte stays. An empty identifier matches nothing. `afterEntry` runs after each
// bookmark entry passed, with the number cut so far, so that a long cut can give way and show progress.
std::string CutBookmarks(const std::string& text, const std::set<std::string, std::less<>>& uuids,
                         const std::function<void(std::size_t cut)>& afterEntry = {});

} // namespace quillfen
