// The edit log and the writing of its records into the bookmarks XML text.
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/EditLog.h"

#include <gtest/gtest.h>

#include <array>

using namespace quillfen;

namespace {

// Bookmarks (title, URL, UUID) in a folder whose title follows them, as plutil's sorted keys put it; an
// empty title leaves the URI dictionary empty, a null one writes `uriDictionary` instead.
std::string Xml(const std::vector<std::array<const char*, 3>>& leaves, std::string_view uriDictionary = {}) {
    std::string xml = "<plist version=\"1.0\">\n<dict>\n\t<key>Children</key>\n\t<array>\n";
    for (const auto& [title, url, uuid] : leaves)
        xml += "\t\t<dict>\n\t\t\t<key>URIDictionary</key>\n" +
               (!title    ? std::string(uriDictionary)
                : !*title ? std::string("\t\t\t<dict/>\n")
                          : "\t\t\t<dict>\n\t\t\t\t<key>title</key>\n\t\t\t\t<string>" + std::string(title) +
                                "</string>\n\t\t\t</dict>\n") +
               "\t\t\t<key>URLString</key>\n\t\t\t<string>" + url + "</string>\n\t\t\t<key>WebBookmarkUUID</key>\n\t\t\t<string>" +
               uuid + "</string>\n\t\t</dict>\n";
    return xml + "\t</array>\n\t<key>Title</key>\n\t<string>News</string>\n</dict>\n</plist>\n";
}

// A URI dictionary with keys around the place of a title.
std::string OtherKeys(std::string_view title) {
    return "\t\t\t<dict>\n\t\t\t\t<key>Title</key>\n\t\t\t\t<string>T</string>\n" + std::string(title) +
           "\t\t\t\t<key>title2</key>\n\t\t\t\t<integer>2</integer>\n\t\t\t</dict>\n";
}

// Each record, read back from the log, changes its own bookmark's elements, in whole or not at all, and only
// where they hold its old value in the form typed text takes in the file; what became of it is told. A
// title the bookmark lacks, or holds over several lines (listed as empty), is written in the file's layout;
// one in another form is not. An identifier that two bookmarks share names neither.
TEST(BookmarkEditsTest, RecordsChangeOnlyTheirOwnElements) {
    using enum EditOutcome;
    const std::string original = Xml({{"News", "http://n/", "U1"},
                                      {"Tom &amp; Jerry", "http://t/", "U2"},
                                      {"Nameless", "http://x/", ""},
                                      {"", "http://old/", "U4"},
                                      {"Two\nlines", "http://two/", "U5"},
                                      {nullptr, "http://o/", "U6"},
                                      {"A", "http://s1/", "S"},
                                      {"B", "http://s2/", "S"}},
                                     OtherKeys(""));
    const std::string odd = Xml({{nullptr, "http://o/", "U6"}}, "\t\t\t<dict>\n\t\t\t\t<key>title</key>\n"
                                                                 "\t\t\t\t<integer>1</integer>\n\t\t\t</dict>\n");
    const struct {
        std::string xml;
        std::vector<EditRecord> records;
        std::string expected;
        std::vector<EditOutcome> outcomes;
    } cases[] = {
        {original,
         {{"U1", "R&D", "News", "http://n/", "http://n/", ""},
          {"U1", "R&D 2", "R&D", "http://n/?a&b", "http://n/", ""},
          {"U4", "New", "", "http://new/", "http://old/", ""},
          {"U5", "One", "", "http://two/", "http://two/", ""},
          {"U6", "Six", "", "http://o/", "http://o/", ""}},
         Xml({{"R&amp;D 2", "http://n/?a&amp;b", "U1"},
              {"Tom &amp; Jerry", "http://t/", "U2"},
              {"Nameless", "http://x/", ""},
              {"New", "http://new/", "U4"},
              {"One", "http://two/", "U5"},
              {nullptr, "http://o/", "U6"},
              {"A", "http://s1/", "S"},
              {"B", "http://s2/", "S"}},
             OtherKeys("\t\t\t\t<key>title</key>\n\t\t\t\t<string>Six</string>\n")),
         {Applied, Applied, Applied, Applied, Applied}},
        {original,
         {{"U1", "X", "Not the title", "http://y/", "http://n/", ""},
          {"U1", "X", "News", "http://y/", "http://n/?", ""},
          {"U9", "X", "News", "", "", ""},
          {"", "X", "Nameless", "", "", ""},
          {"S", "X", "A", "http://s1/", "http://s1/", ""},
          {"U2", "Tom &amp; Jerry", "Tom &amp; Jerry", "http://t/", "http://t/", ""}},
         original,
         {Changed, Changed, NotFound, NotFound, Shared, Applied}},
        {odd, {{"U6", "Six", "", "http://o/", "http://o/", ""}}, odd, {Unwritable}},
    };
    for (const auto& c : cases) {
        std::string log;
        for (const EditRecord& record : c.records)
            AppendEditRecord(log, record);
        std::vector<EditOutcome> outcomes;
        EXPECT_EQ(ApplyEdits(c.xml, ReadEditLog(log), {}, &outcomes), c.expected);
        EXPECT_EQ(outcomes, c.outcomes);
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
        {"&#10;&#x0d;&#013;&#xA;&#9;", "    &#9;"},
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
