// The message that names the bookmarks a delete or an apply could not change, and why, so that nothing
// asked for is passed over in silence.
#pragma once

#include "bookmarksfile/BookmarkCut.h"
#include "bookmarksfile/BookmarkEdits.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

struct NotDone {
    std::string name;
    std::string url;
    std::string_view why;
};

std::string_view WhyNotCut(CutOutcome outcome);
std::string_view WhyNotApplied(EditOutcome outcome);

// `heading`, then one line per bookmark (the first few of a long list, and how many more); the line end is
// the platform's CR.
std::string NotDoneMessage(std::string_view heading, const std::vector<NotDone>& items);

} // namespace quillfen
