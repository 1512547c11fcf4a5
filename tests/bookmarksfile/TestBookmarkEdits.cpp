// The edit log and the writing of its records into the bookmarks XML text.
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/EditLog.h"

#include <gtest/gtest.h>

#include <array>

using namespace quillfen;

namespace {

// Bookmarks (title, URL, UUID) in a folder whose title follows them, as plutil's sorted keys put it; an
// empty title leaves the URI dictionary without one.
std::string Xml(const std::vector<std::array<std::string, 3>>& leaves) {
    std::string xml = "<plist version=\"1.0\">\n<dict>\n\t<key>Children</key>\n\t<array>\n";
    for (const auto& [title, url, uuid] : leaves)
        xml += "\t\t<dict>\n\t\t\t<key>URIDictionary</key>\n\t\t\t<dict>\n" +
               (title.empty() ? "" : "\t\t\t\t<key>title</key>\n\t\t\t\t<string>" + title + "</string>\n") +
               "\t\t\t</dict>\n\t\t\t<key>URLString</key>\n\t\t\t<string>" + url +
               "</string>\n\t\t\t<key>WebBookmarkUUID</key>\n\t\t\t<string>" + uuid +
               "</string>\n\t\t</dict>\n";
    return xml + "\t</array>\n\t<key>Title</key>\n\t<string>News</string>\n</dict>\n</plist>\n";
}

// Each record, read back from the log, changes its own bookmark's elements and only where they hold its
// old value in the form typed text takes in the file. A bookmark listed without a title still takes an edit
// of its URL.
TEST(BookmarkEditsTest, RecordsChangeOnlyTheirOwnElements) {
    const std::string original = Xml({{"News", "http://n/", "U1"},
                                      {"Tom &amp; Jerry", "http://t/", "U2"},
                                      {"Nameless", "http://x/", ""},
                                      {"", "http://old/", "U4"}});
    const std::pair<std::vector<EditRecord>, std::string> cases[] = {
        {{{"U1", "R&D", "News", "http://n/", "http://n/", ""},
          {"U1", "R&D 2", "R&D", "http://n/?a&b", "http://n/", ""},
          {"U4", "", "", "http://new/", "http://old/", ""}},
         Xml({{"R&amp;D 2", "http://n/?a&amp;b", "U1"},
              {"Tom &amp; Jerry", "http://t/", "U2"},
              {"Nameless", "http://x/", ""},
              {"", "http://new/", "U4"}})},
        {{{"U1", "X", "Not the title", "http://y/", "http://n/?", ""},
          {"U9", "X", "News", "", "", ""},
          {"", "X", "Nameless", "", "", ""}},
         original},
    };
    for (const auto& [records, expected] : cases) {
        std::string log;
        for (const EditRecord& record : records)
            AppendEditRecord(log, record);
        EXPECT_EQ(ApplyEdits(original, ReadEditLog(log)), expected);
    }
}

// What typed text becomes inside a string element: references kept, everything else well-formed.
TEST(BookmarkEditsTest, TypedTextIsWrittenWellFormed) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tom & Jerry <b>", "Tom &amp; Jerry &lt;b&gt;"},
        {"Tom &amp; Jerry &lt;&gt;&quot;&apos;", "Tom &amp; Jerry &lt;&gt;&quot;&apos;"},
        {"&#38;&#x26;&#X26;&#128512;", "&#38;&#x26;&amp;#X26;&#128512;"},
        {"&nbsp;a&amp", "&amp;nbsp;a&amp;amp"},
        {"&#0;&#xD800;&#;&#x;", "&amp;#0;&amp;#xD800;&amp;#;&amp;#x;"},
        {"line\nbreak\rand\ttab", "line break and\ttab"},
    };
    for (const auto& [typed, written] : cases)
        EXPECT_EQ(StringElementText(typed), written) << typed;
}

} // namespace

// Any field text reads back as written, also where it forms the record marker with the separators around it.
TEST(EditLogTest, EveryFieldReadsBackAsWritten) {
    const std::vector<EditRecord> records = {
        {"U1", "EDIT", "", "*EDIT*", "**", "000001"},
        {"", "", "", "", "", ""},
        {"EDIT*", "*", "%2A%25", "E", "*EDIT***EDIT", "x"},
    };
    std::string log;
    for (const EditRecord& record : records)
        AppendEditRecord(log, record);
    EXPECT_EQ(ReadEditLog(log), records);
}
