// An edit log for the large bookmarks file of BookmarksFixture.h, for the apply's kill test and benchmark.
#pragma once

#include "bookmarksfile/EditLog.h"
#include "tests/support/BookmarksFixture.h"

#include <string>

namespace testsupport {

// `edits` records spread evenly over LargeTree(count)'s bookmarks, each changing a title and a URL.
inline std::string EditLogFor(int count, int edits) {
    std::string log;
    for (int e = 0; e < edits; ++e) {
        const int i = static_cast<int>(static_cast<long long>(e) * count / edits);
        const std::string title = Numbered("site", i), url = "http://" + title + ".example/";
        quillfen::AppendEditRecord(log, {Numbered("5A0C-", 100000 + i), "Edited <" + title + "> & more",
                                         title, url + "?e", url, ""});
    }
    return log;
}

} // namespace testsupport
