#include "bookmarksfile/EditLog.h"

#include <algorithm>
#include <array>

namespace quillfen {
namespace {

constexpr std::string_view kMarker = "*EDIT*";
constexpr std::string_view kSeparator = "**";

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%')
            out += "%25";
        else if (c == '*')
            out += "%2A";
        else
            out += c;
    }
    return out;
}

// Only the two escapes written above are undone; any other "%" stays as it is.
std::string Unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i, 3);
        if (rest == "%25" || rest == "%2A") {
            out += rest == "%25" ? '%' : '*';
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

void AppendEditRecord(std::string& log, const EditRecord& record) {
    log += kMarker;
    const std::array<const std::string*, 6> fields = {&record.uuid,   &record.newTitle, &record.oldTitle,
                                                      &record.newURL, &record.oldURL,   &record.orderKey};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            log += kSeparator;
        log += Escaped(*fields[i]);
    }
}

// Read by position, not split at the marker: escaped fields hold no "*", so after a field "**" can only be
// the separator and "*EDIT*" the next record, even where a field reads "EDIT" and so forms the marker with
// the separators around it.
std::vector<EditRecord> ReadEditLog(std::string_view log) {
    std::vector<EditRecord> records;
    std::size_t at = log.find(kMarker);
    while (at != std::string_view::npos) {
        at += kMarker.size();
        std::array<std::string, 6> fields;
        for (std::size_t n = 0; n < fields.size(); ++n) {
            const std::size_t end = std::min(log.find('*', at), log.size());
            fields[n] = Unescaped(log.substr(at, end - at));
            at = end;
            if (n + 1 == fields.size() || !log.substr(at).starts_with(kSeparator))
                break;
            at += kSeparator.size();
        }
        records.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
        at = log.find(kMarker, at);
    }
    return records;
}

} // namespace quillfen
