// The XML text of the writer: the layout the bookmarks reader depends on, line by line.
#include "tools/plutil/PlistXmlWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                          "<plist version=\"1.0\">\n";

class PlistXmlWriterTest : public ::testing::Test {
protected:
    // Serialises and frees `root`; returns the text between the <plist> lines.
    static std::string Body(plist_t root) {
        const std::string xml = plutil::PlistToXml(root);
        plist_free(root);
        const std::string tail = "</plist>\n";
        EXPECT_TRUE(xml.starts_with(kHead) && xml.ends_with(tail)) << xml;
        return xml.substr(kHead.size(), xml.size() - kHead.size() - tail.size());
    }

    static plist_t Dict(std::initializer_list<std::pair<const char*, plist_t>> items) {
        plist_t dict = plist_new_dict();
        for (const auto& [key, value] : items)
            plist_dict_set_item(dict, key, value);
        return dict;
    }
};

// Keys come out in byte order whatever the file order; nesting is one TAB per level. Only & < > are
// escaped, in keys and strings; other text, line ends included, stays verbatim.
TEST_F(PlistXmlWriterTest, SortsKeysIndentsWithTabsAndEscapesMarkup) {
    plist_t inner = Dict({{"b", plist_new_bool(0)}, {"a", plist_new_bool(1)}});
    plist_t array = plist_new_array();
    plist_array_append_item(array, plist_new_uint(static_cast<uint64_t>(-7)));
    EXPECT_EQ(
        Body(Dict({{"z", inner},
                   {"Z", array},
                   {"a<&>", plist_new_string("Tom & \"Jerry\" <b> 'ü'")},
                   {"m", plist_new_string("line one\nline two")}})),
        "<dict>\n"
        "\t<key>Z</key>\n\t<array>\n\t\t<integer>-7</integer>\n\t</array>\n"
        "\t<key>a&lt;&amp;&gt;</key>\n\t<string>Tom &amp; \"Jerry\" &lt;b&gt; 'ü'</string>\n"
        "\t<key>m</key>\n\t<string>line one\nline two</string>\n"
        "\t<key>z</key>\n\t<dict>\n\t\t<key>a</key>\n\t\t<true/>\n\t\t<key>b</key>\n\t\t<false/>\n\t</dict>\n"
        "</dict>\n");
}

// Empty values keep both markers on one line or use the short container forms; reals read back to the
// same double; dates are UTC whole seconds counted from 2001; UIDs become CF$UID. Base64 lines are
// indented like the element and 76 columns wide less 8 per level.
TEST_F(PlistXmlWriterTest, WritesEmptyValuesNumbersDatesUidsAndData) {
    const std::string bytes(61, '\xff');
    const std::string wrapped = "\t" + std::string(68, '/') + "\n\t" + std::string(13, '/') + "w==\n";
    plist_t array = plist_new_array();
    for (plist_t item : {plist_new_string(""), plist_new_dict(), plist_new_array(), plist_new_data("", 0),
                         plist_new_real(1.0), plist_new_real(0.5), plist_new_real(3.141592653589793),
                         plist_new_real(-1e300), plist_new_date(1, 999999), plist_new_date(-86400, 0),
                         plist_new_uid(12), plist_new_data(bytes.data(), bytes.size())})
        plist_array_append_item(array, item);
    EXPECT_EQ(Body(array), "<array>\n\t<string></string>\n\t<dict/>\n\t<array/>\n\t<data>\n\t</data>\n"
                           "\t<real>1</real>\n\t<real>0.5</real>\n\t<real>3.1415926535897931</real>\n"
                           "\t<real>-1.0000000000000001e+300</real>\n"
                           "\t<date>2001-01-01T00:00:01Z</date>\n\t<date>2000-12-31T00:00:00Z</date>\n"
                           "\t<dict>\n\t\t<key>CF$UID</key>\n\t\t<integer>12</integer>\n\t</dict>\n"
                           "\t<data>\n" +
                               wrapped + "\t</data>\n</array>\n");
    EXPECT_EQ(Body(plist_new_data("ab", 2)), "<data>\nYWI=\n</data>\n");
}

} // namespace
