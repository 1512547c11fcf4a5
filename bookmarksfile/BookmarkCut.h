// Cuts bookmarks out of the bookmarks XML text by their identifiers: each one's whole <dict> entry, whatever
// dictionaries it nests and in whatever order its keys stand, in one pass over the text.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace quillfen {

// What became of one identifier asked for.
enum class CutOutcome {
    Cut,
    NotFound, // no bookmark entry has it as its own identifier
    Shared,   // several entries have it, so it names none of them
    Stuck,    // its entry is the outermost dictionary, which cannot go
};
using CutOutcomes = std::map<std::string, CutOutcome, std::less<>>;

// The text without the entries of the bookmarks whose own WebBookmarkUUID is in `uuids`. An entry that is a
// key's value goes with its key; each cut leaves one blank, every other byte stays. An empty identifier
// matches nothing. `afterEntry` runs after each bookmark entry passed, with the number of chosen entries
// so far, so that a long cut can give way and show progress. `outcomes` gets one answer per identifier.
std::string CutBookmarks(const std::string& text, const std::set<std::string, std::less<>>& uuids,
                         const std::function<void(std::size_t cut)>& afterEntry = {},
                         CutOutcomes* outcomes = nullptr);

} // namespace quillfen
