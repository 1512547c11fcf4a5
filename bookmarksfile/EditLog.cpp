#include "bookmarksfile/EditLog.h"

#include "framework/text/Text.h"

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

std::vector<EditRecord> ReadEditLog(std::string_view log) {
    std::vector<EditRecord> records;
    const std::vector<std::string> pieces = fw::SplitB(log, kMarker);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const std::vector<std::string> f = fw::SplitB(pieces[i], kSeparator);
        auto field = [&](std::size_t n) { return n < f.size() ? Unescaped(f[n]) : std::string(); };
        records.push_back({field(0), field(1), field(2), field(3), field(4), field(5)});
    }
    return records;
}

} // namespace quillfen
