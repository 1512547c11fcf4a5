// The bookmarks file's line reader, as "Get Bookmarks" walks a converted file.
#include "bookmarksfile/BookmarkLines.h"
#include "bookmarksfile/BookmarksMarkers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillfen::LineSource lines(std::string_view(reinterpret_cast<const char*>(data), size), false);
    while (const auto line = lines.Next()) {
        quillfen::StringElement(*line);
        if (quillfen::ContainsMarker(*line, quillfen::markers::kEntry))
            quillfen::ReadEntryValueLines(lines);
    }
    return 0;
}
