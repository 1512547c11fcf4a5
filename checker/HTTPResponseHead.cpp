#include "checker/HTTPResponseHead.h"

#include "checker/WholeNumber.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace quillfen {

namespace {

// The status is the second field of the first line, split at single blanks: two blanks leave it empty.
int StatusOf(std::string_view firstLine) {
    const std::size_t first = firstLine.find(' ');
    if (first == std::string_view::npos)
        return 0;
    const std::size_t second = firstLine.find(' ', first + 1);
    return WholeNumber(
        firstLine.substr(first + 1, second == std::string_view::npos ? second : second - first - 1));
}

// The line at the start of `text` and the length of its line end (0 at the end of the text).
std::pair<std::string_view, std::size_t> FirstLine(std::string_view text) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    if (end == text.size())
        return {text, 0};
    return {text.substr(0, end), text.substr(end).starts_with("\r\n") ? 2 : 1};
}

} // namespace

std::optional<HeaderBlockEnd> FindHeaderBlockEnd(std::string_view received) {
    // No blank line is the start of another, nor holds a shorter one after its first byte, so the
    // earliest one complete in part of a response is the earliest in the whole.
    static constexpr std::array<std::string_view, 5> kBlankLines{"\r\n\r\n", "\n\n", "\n\r\n", "\r\n\n",
                                                                 "\r\r"};
    std::optional<HeaderBlockEnd> earliest;
    for (const std::string_view blank : kBlankLines) {
        const std::size_t at = received.find(blank);
        if (at != std::string_view::npos && (!earliest || at < earliest->at))
            earliest = HeaderBlockEnd{at, blank.size()};
    }
    return earliest;
}

ResponseHead ParseHeaderBlock(std::string_view block) {
    ResponseHead head;
    const auto [statusLine, statusEnd] = FirstLine(block);
    head.status = StatusOf(statusLine);
    for (std::size_t start = statusLine.size() + statusEnd; start < block.size();) {
        const auto [line, lineEnd] = FirstLine(block.substr(start));
        start += line.size() + lineEnd;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view value = line.substr(colon + 1);
        value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
        value.remove_suffix(value.size() - (value.find_last_not_of(" \t") + 1));
        head.headers.AppendHeader(std::string(line.substr(0, colon)), std::string(value));
    }
    return head;
}

} // namespace quillfen
