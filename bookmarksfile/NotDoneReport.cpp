#include "bookmarksfile/NotDoneReport.h"

#include <set>

namespace quillfen {
namespace {

// A message box holds no more lines than a screen shows.
constexpr std::size_t kMaxNamed = 20;

constexpr std::string_view kNotInFile = "it is not in Safari's bookmarks file.";
constexpr std::string_view kShared = "another bookmark in the file has the same identifier.";

} // namespace

std::string_view WhyNotCut(CutOutcome outcome) {
    switch (outcome) {
    case CutOutcome::Cut:
        break;
    case CutOutcome::NotFound:
        return kNotInFile;
    case CutOutcome::Shared:
        return kShared;
    case CutOutcome::Stuck:
        return "it holds the whole file.";
    }
    return {};
}

std::string_view WhyNotApplied(EditOutcome outcome) {
    switch (outcome) {
    case EditOutcome::Applied:
        break;
    case EditOutcome::NotFound:
        return kNotInFile;
    case EditOutcome::Shared:
        return kShared;
    case EditOutcome::Changed:
        return "the file no longer holds its old title or URL.";
    case EditOutcome::Unwritable:
        return "the file keeps its title or URL in a form that cannot be rewritten safely.";
    }
    return {};
}

// A bookmark edited twice is named once.
std::string NotDoneMessage(std::string_view heading, const std::vector<NotDone>& items) {
    std::set<std::string> seen;
    std::string message(heading);
    std::size_t named = 0;
    for (const NotDone& item : items) {
        std::string line = "\r\"" + (item.name.empty() ? item.url : item.name) + "\" (" + item.url + "): ";
        line += item.why;
        if (seen.insert(line).second && ++named <= kMaxNamed)
            message += line;
    }
    if (named > kMaxNamed)
        message += "\rand " + std::to_string(named - kMaxNamed) + " more.";
    return message;
}

} // namespace quillfen
