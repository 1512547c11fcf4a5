// The edit log: one record per change of a bookmark's title or URL in the list, kept as text until the
// edits are written into the bookmarks file. A record is "*EDIT*" followed by six fields joined by "**".
// Inside a field "%" and "*" are written "%25" and "%2A", so that any title or URL, "**", "*EDIT*" and
// leading or trailing stars included, reads back as it was typed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

struct EditRecord {
    std::string uuid;
    std::string newTitle;
    std::string oldTitle;
    std::string newURL;
    std::string oldURL;
    std::string orderKey;

    bool operator==(const EditRecord&) const = default;
};

void AppendEditRecord(std::string& log, const EditRecord& record);
// Every record of the log in the order it was made; missing fields read as empty.
std::vector<EditRecord> ReadEditLog(std::string_view log);

} // namespace quillfen
