// The edit log and the writing of its records into the bookmarks XML text.
#include "bookmarksfile/BookmarkEdits.h"
#include "bookmarksfile/EditLog.h"

#include <gtest/gtest.h>

#include <map>

namespace quillfen {
namespace {

struct Leaf {
    std::string title, url, uuid;
};

// A bookmarks XML text as plutil writes it: one folder whose title follows its children, as sorted keys put it.
std::string Xml(const std::string& folderTitle, const std::vector<Leaf>& leaves) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>Children</key>\n"
                      "\t<array>\n\t\t<dict>\n\t\t\t<key>Children</key>\n\t\t\t<array>\n";
    for (const Leaf& leaf : leaves)
        xml += "\t\t\t\t<dict>\n\t\t\t\t\t<key>URIDictionary</key>\n\t\t\t\t\t<dict>\n\t\t\t\t\t\t<key>title</key>\n"
               "\t\t\t\t\t\t<string>" + leaf.title + "</string>\n\t\t\t\t\t</dict>\n\t\t\t\t\t<key>URLString</key>\n"
               "\t\t\t\t\t<string>" + leaf.url + "</string>\n\t\t\t\t\t<key>WebBookmarkUUID</key>\n"
               "\t\t\t\t\t<string>" + leaf.uuid + "</string>\n\t\t\t\t</dict>\n";
    return xml + "\t\t\t</array>\n\t\t\t<key>Title</key>\n\t\t\t<string>" + folderTitle +
           "</string>\n\t\t</dict>\n\t</array>\n</dict>\n</plist>\n";
}

const std::vector<Leaf> kLeaves = {
    {"News", "http://news/", "U1"},
    {"http://same/", "http://same/", "U2"},
    {"Tom &amp; Jerry", "http://tj/", "U3"},
    {"News", "http://news2/", "U4"},
    {"Nameless", "http://nameless/", ""},
};

EditRecord Title(const std::string& uuid, const std::string& from, const std::string& to, const std::string& url) {
    return {uuid, to, from, url, url, "000001"};
}

// Every case goes through the log's text first; the result must be the same text with only the named
// bookmarks' elements changed.
TEST(BookmarkEditsTest, EachRecordChangesOnlyItsOwnBookmark) {
    struct Case {
        const char* what;
        std::vector<EditRecord> records;
        std::map<std::string, std::pair<std::string, std::string>> expected; // uuid -> title, URL in the text
    };
    const Case cases[] = {
        {"title; the folder and another bookmark of that title stay", {Title("U1", "News", "Daily", "http://news/")},
         {{"U1", {"Daily", "http://news/"}}}},
        {"URL of a bookmark titled like its URL", {{"U2", "http://same/", "http://same/", "http://other/", "http://same/", ""}},
         {{"U2", {"http://same/", "http://other/"}}}},
        {"title of a bookmark titled like its URL", {Title("U2", "http://same/", "Same", "http://same/")},
         {{"U2", {"Same", "http://same/"}}}},
        {"both, typed text escaped, the shown entity kept",
         {{"U3", "Tom &amp; Jerry <3>", "Tom &amp; Jerry", "http://tj/?a=1&b=2", "http://tj/", ""}},
         {{"U3", {"Tom &amp; Jerry &lt;3&gt;", "http://tj/?a=1&amp;b=2"}}}},
        {"the same bookmark twice, old values matched as written", {Title("U1", "News", "R&D", "http://news/"),
                                                                    Title("U1", "R&D", "R&D 2", "http://news/")},
         {{"U1", {"R&amp;D 2", "http://news/"}}}},
        {"stars and markers survive the log", {Title("U4", "News", "*lead **x*EDIT*y trail*", "http://news2/")},
         {{"U4", {"*lead **x*EDIT*y trail*", "http://news2/"}}}},
        {"old value no longer there", {Title("U1", "Other", "X", "http://elsewhere/")}, {}},
        {"UUID gone, empty UUID", {Title("U9", "News", "X", "http://news/"), Title("", "Nameless", "X", "http://nameless/")},
         {}},
    };
    const std::string original = Xml("News", kLeaves);
    for (const Case& c : cases) {
        std::string log;
        for (const EditRecord& record : c.records)
            AppendEditRecord(log, record);
        std::vector<Leaf> leaves = kLeaves;
        for (Leaf& leaf : leaves)
            if (const auto it = c.expected.find(leaf.uuid); it != c.expected.end() && !leaf.uuid.empty())
                std::tie(leaf.title, leaf.url) = it->second;
        EXPECT_EQ(ApplyEdits(original, ReadEditLog(log)), Xml("News", leaves)) << c.what;
    }
}

// The log gives back every field as it was put in, whatever stars or percent signs it holds.
TEST(BookmarkEditsTest, LogCarriesAnyText) {
    const std::vector<std::string> texts = {"", "*", "**", "*EDIT*", "a**b*EDIT*c", "*lead", "trail*", "100%",
                                            "%2A", "%25*", "Tom & Jerry"};
    std::string log;
    std::vector<EditRecord> written;
    for (const std::string& text : texts) {
        written.push_back({"U-" + text, text, text + "old", "http://x/" + text, text, "000007"});
        AppendEditRecord(log, written.back());
    }
    EXPECT_EQ(ReadEditLog(log), written);
    // Text without stars or percent signs stands in the log as typed.
    EXPECT_NE(log.find("*EDIT*U-Tom & Jerry**Tom & Jerry**Tom & Jerryold**"), std::string::npos);
    EXPECT_TRUE(ReadEditLog("").empty());
}

// What typed text becomes inside a string element.
TEST(BookmarkEditsTest, TypedTextIsWrittenWellFormed) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tom & Jerry", "Tom &amp; Jerry"}, {"Tom &amp; Jerry", "Tom &amp; Jerry"}, {"<b>", "&lt;b&gt;"},
        {"&lt;&gt;&quot;&apos;", "&lt;&gt;&quot;&apos;"}, {"&#38;&#x26;&#X26;", "&#38;&#x26;&amp;#X26;"},
        {"&nbsp;", "&amp;nbsp;"}, {"&#0;&#xD800;&#;&#x;", "&amp;#0;&amp;#xD800;&amp;#;&amp;#x;"},
        {"&#128512;", "&#128512;"}, {"&", "&amp;"}, {"a&amp", "a&amp;amp"}, {"line\nbreak\rand\ttab", "line break and\ttab"},
        {"Größe", "Größe"},
    };
    for (const auto& [typed, written] : cases)
        EXPECT_EQ(StringElementText(typed), written) << typed;
}

// The run reports each record and stops when told; with no records the text comes back byte for byte.
TEST(BookmarkEditsTest, ProgressAndStop) {
    const std::string original = Xml("News", kLeaves);
    std::vector<EditRecord> records(5, Title("U1", "News", "X", "http://news/"));
    std::vector<std::size_t> seen;
    EXPECT_EQ(ApplyEdits(original, records, [&](std::size_t done) { return seen.push_back(done), done < 3; }),
              std::nullopt);
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(ApplyEdits(original, {}), original);
}

} // namespace
} // namespace quillfen
