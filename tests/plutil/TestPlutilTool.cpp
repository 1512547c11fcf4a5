// The built plutil run through /bin/sh: in-place conversion, file safety and hostile names.
#include "TempHome.h"
#include "tools/plutil/PlistConvert.h"
#include "tools/plutil/PlistXmlWriter.h"

#include <gtest/gtest.h>

#include <plist/plist.h>

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

using PlistPtr = std::unique_ptr<void, decltype([](plist_t node) { plist_free(node); })>;

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string BigEndian(std::uint64_t value, int width) {
    std::string bytes;
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        bytes += static_cast<char>(value >> shift & 0xFF);
    return bytes;
}

// A binary property list of objects already encoded, the first on top, with references of refSize bytes.
std::string Bplist(const std::vector<std::string>& objects, int refSize = 1) {
    std::string bytes = "bplist00";
    std::string table;
    for (const std::string& object : objects) {
        table += BigEndian(bytes.size(), 4);
        bytes += object;
    }
    const std::size_t tableAt = bytes.size();
    return bytes + table + std::string(6, '\0') + '\4' + static_cast<char>(refSize) +
           BigEndian(objects.size(), 8) + BigEndian(0, 8) + BigEndian(tableAt, 8);
}

// A string object of `size` bytes, its count given in four.
std::string LongString(std::size_t size, char c) {
    return "\x5F\x12" + BigEndian(size, 4) + std::string(size, c);
}

// Bombs that a limit on the text's size alone let through: work or memory far beyond the file's size.
// 2,000 entries of one dictionary all naming one 20 KB key, copied once each.
std::string KeyCopies() {
    std::string dict = "\xDF\x11" + BigEndian(2'000, 2);
    for (int i = 0; i < 4'000; ++i)
        dict += BigEndian(i < 2'000 ? 1 : 2, 2);
    return Bplist({dict, LongString(20'000, 'k'), "\x09"}, 2);
}
// 80 UTF-16 keys of 28 bytes, each starting one byte after the last: "n" (0x6E) is followed by 14 units
// of "nn" (U+6E6E).
std::string OverlappingKeys() {
    std::string dict = "\xDF\x10\x50";
    for (int i = 1; i <= 80; ++i)
        dict += static_cast<char>(i);
    std::vector<std::string> objects{dict + std::string(80, '\x51')};
    objects.insert(objects.end(), 80, "n");
    objects.insert(objects.end(), {"\x09", std::string(28, 'n')});
    return Bplist(objects);
}
// 40 levels that each hold one 256 KB key open while the key "a", sorted first, leads a level deeper.
std::string LongKeyAtEveryLevel() {
    std::vector<std::string> objects;
    for (int level = 0; level < 40; ++level)
        objects.push_back("\xD2\x28\x29" + std::string(1, static_cast<char>(level == 39 ? 0x2A : level + 1)) +
                          "\x2A");
    objects.insert(objects.end(), {"\x51\x61", LongString(1 << 18, 'b'), "\x09"});
    return Bplist(objects);
}

// The text with its first `from` replaced.
std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    return text.replace(text.find(from), from.size(), to);
}

// UTF-16 with its byte-order mark, from Latin-1 text.
std::string Utf16(std::string_view latin1, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : latin1)
        out += little ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}

// Every kind of value, keys already in sorted order so libplist's own text can compare them.
PlistPtr AllKinds() {
    PlistPtr dict(plist_new_dict());
    plist_t nested = plist_new_array();
    plist_array_append_item(nested, plist_new_dict());
    plist_array_append_item(nested, plist_new_array());
    plist_array_append_item(nested, plist_new_string(""));
    plist_dict_set_item(dict.get(), "a", nested);
    plist_dict_set_item(dict.get(), "bool", plist_new_bool(1));
    plist_dict_set_item(dict.get(), "data", plist_new_data("\0\1\2binary\xff", 10));
    plist_dict_set_item(dict.get(), "date", plist_new_date(-86400 * 400, 0));
    plist_dict_set_item(dict.get(), "int", plist_new_uint(static_cast<uint64_t>(-123456789012LL)));
    plist_dict_set_item(dict.get(), "real", plist_new_real(0.1));
    plist_dict_set_item(dict.get(), "text", plist_new_string("a & b <c>\nsecond line ü"));
    return dict;
}

class PlutilToolTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(work_); }

    // Converts `name` in the work folder as typed on a shell line; returns the tool's exit status.
    int Convert(const std::string& name) {
        const std::string cmd = "cd " + Quote(work_.string()) + " && " + Quote(PLUTIL_PATH) +
                                " -convert xml1 " + Quote(name) + " 2>" + Quote((root_ / "stderr").string());
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Stderr() const { return testsupport::ReadFile(root_ / "stderr"); }

    fs::path Path(const std::string& name) const { return work_ / name; }
    std::string Read(const std::string& name) const { return testsupport::ReadFile(Path(name)); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    // libplist's own binary or XML text; its XML is a second opinion on values, independent of our layout.
    static std::string Libplist(plist_t node, bool xml) {
        char* text = nullptr;
        uint32_t length = 0;
        (xml ? plist_to_xml : plist_to_bin)(node, &text, &length);
        std::string bytes(text, length);
        (xml ? plist_to_xml_free : plist_to_bin_free)(text);
        return bytes;
    }
    // Our XML text of a property list, by way of libplist's binary form.
    static std::string OurXml(plist_t node) {
        std::string text, error;
        plutil::BinaryToXml(
            Libplist(node, false), {plutil::kMaxOutputBytes, plutil::kMaxDepth},
            [&text](std::string_view piece) { return text += piece, true; }, error);
        return text;
    }
    size_t FileCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(work_), {})); }

    testsupport::TempHome temp_;
    const fs::path root_ = temp_.Path();
    const fs::path work_ = root_ / "work";
    const PlistPtr sample_ = AllKinds();
    // The sample as the browser might store it, and as the tool must leave it.
    const std::string binary_ = Libplist(sample_.get(), false);
    const std::string xml_ = OurXml(sample_.get());
};

// Binary, foreign-layout XML, and XML in any encoding (named by a byte-order mark or declared) and any of
// its forms become the one UTF-8 text, holding every value Python's plistlib reads in the file before; a
// key given twice keeps its last value, so that XML converts to a fixed point, and a file in our text
// already is left as it is, not even replaced.
// Spaces, quotes, "$" and a leading "-" reach the tool as one literal name: that file, and only it,
// converts. Through a symbolic link the target is replaced with its mode kept, and the link stays a link.
TEST_F(PlutilToolTest, ConvertsTheNamedFileToOurXml) {
    plist_t back = nullptr;
    plist_from_memory(xml_.data(), static_cast<uint32_t>(xml_.size()), &back);
    ASSERT_TRUE(back);
    EXPECT_EQ(Libplist(PlistPtr(back).get(), true), Libplist(sample_.get(), true));
    // Our own layout: one TAB per level, only & < > escaped, line ends verbatim.
    EXPECT_NE(xml_.find("\t<key>text</key>\n\t<string>a &amp; b &lt;c&gt;\nsecond line ü</string>\n"),
              std::string::npos);
    PlistPtr lastValues(plist_new_dict());
    plist_dict_set_item(lastValues.get(), "a", plist_new_string("second"));
    plist_dict_set_item(lastValues.get(), "b", plist_new_string("kept"));
    const std::string forms = R"(<?xml version="1.0"?>
<!-- <array><array> --><?editor <!-- ?>
<!DOCTYPE plist SYSTEM "plist.dtd">
<plist version='1.0'><dict>
 <key>text</key><string>a &amp; b &lt;c<![CDATA[>]]>&#10;second line &#xFC;<!-- no text --></string>
 <key>real</key><real> 1e-1 </real> <key>int</key><integer>-123456789012</integer>
 <key>date</key><date>1999-11-28T00:00:00Z</date>
 <key>data</key><data>AAEC
   YmluYXJ5/w==</data>
 <key>bool</key><true></true>
 <key>a</key><array><dict></dict><array/><string/></array>
</dict></plist>)";
    const std::string latin1 = Replaced(xml_, "\xC3\xBC", "\xFC"),
                      utf16 = Replaced(latin1, "UTF-8", "UTF-16");
    const std::vector<std::tuple<std::string, std::string, std::string>> files{
        {"a b.plist", binary_, xml_},
        {"it's \"q\".plist", Libplist(sample_.get(), true), xml_},
        {"$HOME.plist",
         "<plist><dict><key>a</key><string>first</string><key>b</key><string>kept</string><key>a</key>"
         "<string>second</string></dict></plist>",
         OurXml(lastValues.get())},
        {"-convert", xml_, xml_},
        {"target", binary_, xml_},
        {"latin1", Replaced(latin1, "UTF-8", "ISO-8859-1"), xml_},
        {"utf16le", Utf16(utf16, true), xml_},
        {"utf16be", Utf16(utf16, false), xml_},
        {"utf8bom", "\xEF\xBB\xBF" + xml_, xml_},
        {"forms", forms, xml_}};
    // Each file's ".in" link keeps the bytes read, and shows whether the file was replaced.
    for (const auto& [name, input, output] : files) {
        Write(name, input);
        fs::create_hard_link(Path(name), Path(name + ".in"));
    }
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(Path("target"), mode);
    fs::create_symlink("target", Path("link"));
    std::string names;
    for (const auto& [name, input, output] : files) {
        ASSERT_EQ(Convert(name == "target" ? "link" : name), 0) << name << ": " << Stderr();
        EXPECT_EQ(Read(name), output) << name;
        EXPECT_EQ(fs::hard_link_count(Path(name)), input == output ? 2u : 1u) << name;
        names += " " + Quote(name);
    }
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_EQ(fs::status(Path("target")).permissions(), mode);
    EXPECT_EQ(FileCount(), 2 * files.size() + 1);
    if (std::system("command -v python3 >/dev/null") != 0)
        GTEST_SKIP() << "no python3: the values were not compared with plistlib's";
    const std::string compare =
        "cd " + Quote(work_.string()) +
        " && python3 -c 'import plistlib, sys; sys.exit(any(plistlib.load(open(f + \".in\", "
        "\"rb\")) != plistlib.load(open(f, \"rb\")) for f in sys.argv[1:]))'" +
        names;
    EXPECT_EQ(std::system(compare.c_str()), 0);
}

// Damaged, foreign, empty and hostile content is refused before anything is written: a message naming the
// file and the reason, a non-zero status, the file byte for byte as it was, no unbounded memory or time.
TEST_F(PlutilToolTest, RefusesWhatIsNoPropertyListAndLeavesItAlone) {
    std::vector<std::string> fanOut; // twelve levels of fifteen references to the next: 15^12 leaves
    for (int level = 1; level <= 12; ++level)
        fanOut.push_back("\xAF\x10\x0F" + std::string(15, static_cast<char>(level)));
    fanOut.push_back("\x09");
    std::vector<std::string> chain; // arrays nested 100,000 deep
    for (std::uint64_t i = 1; i <= 100'000; ++i)
        chain.push_back("\xA1" + BigEndian(i, 4));
    chain.push_back("\x09");
    std::string deep, closing; // XML arrays nested 200,000 deep, behind a comment's start a scan might see
    for (int i = 0; i < 200'000; ++i)
        deep += "<array>", closing += "</array>";
    const char* noXml = "XML cannot hold";
    std::string strings;
    for (int i = 0; i < 80'000; ++i)
        strings += "<string>x</string>";
    const std::vector<std::tuple<const char*, std::string, const char*>> cases{
        {"half a binary", binary_.substr(0, binary_.size() / 2), "damaged"},
        {"foreign text", "hello <plist>", "not a property list"},
        {"empty", "", "not a property list"},
        {"key with U+0001", Bplist({"\xD1\x01\x02", std::string("\x62\x00\x61\x00\x01", 5), "\x09"}), noXml},
        {"string with NUL", Bplist({"\xA1\x01", std::string("\x53\x61\x00\x62", 4)}), noXml},
        {"string with U+FFFF", Bplist({"\xA1\x01", "\x61\xFF\xFF"}), noXml},
        {"unpaired surrogate", Bplist({"\xA1\x01", std::string("\x62\xD8\x00\x00\x61", 5)}), noXml},
        {"bytes that are no UTF-8", Bplist({"\xA1\x01", "\x52\xC3\x28"}), noXml},
        {"date in the year 33,700", Bplist({"\x33" + BigEndian(std::bit_cast<std::uint64_t>(1e12), 8)}),
         "years 1 to"},
        {"date not a number", Bplist({"\x33" + BigEndian(0x7FF8'0000'0000'0000, 8)}), "years 1 to"},
        {"integer of 65 bits", Bplist({"\x14" + BigEndian(1, 8) + BigEndian(0, 8)}), "64 bits"},
        {"shared references", Bplist(fanOut), "referenced twice"},
        {"array holding itself", Bplist({std::string("\xA1\x00", 2)}), "referenced twice"},
        {"one string written 200 times",
         Bplist({"\xAF\x10\xC8" + std::string(200, '\1'), LongString(1'000, 's')}), "larger than"},
        {"entries naming one key", KeyCopies(), "one key twice"},
        {"keys overlapping", OverlappingKeys(), "keys overlap"},
        {"long key open at every level", LongKeyAtEveryLevel(), "more entries and keys"},
        {"binary nested 100,000 deep", Bplist(chain, 4), "nested deeper"},
        {"nesting after a processing instruction",
         "<plist><?pi <!-- ?>" + deep + "<!-- -->" + closing + "</plist>", "nested deeper"},
        {"nesting after an internal subset",
         "<!DOCTYPE plist [<!-- ]><plist>" + deep + "<!-- -->" + closing + "</plist>", "declarations"},
        // Measured only as it is written: refused after the first megabyte went to a temporary file.
        {"XML one level too deep after a megabyte",
         "<plist><array>" + strings + deep.substr(0, 512 * 7) + "<true/>" + closing.substr(0, 512 * 8) +
             "</array></plist>",
         "nested deeper"},
        {"declared Shift_JIS", Replaced(xml_, "UTF-8", "Shift_JIS"), "not supported"},
        {"UTF-8 mark, declared Latin-1", "\xEF\xBB\xBF" + Replaced(xml_, "UTF-8", "ISO-8859-1"),
         "contradicts"},
        {"Latin-1 bytes declared UTF-8", Replaced(xml_, "\xC3\xBC", "\xFC"), "damaged"},
        {"integer of 2^64", "<plist><integer>18446744073709551616</integer></plist>", "damaged"},
        {"undefined entity", "<plist><string>&nbsp;</string></plist>", "damaged"},
        {"key without a value", "<plist><dict><key>a</key></dict></plist>", "damaged"},
        {"offset out of range", Bplist({"\xA2\x01\x07", "\x09"}), "damaged"},
    };
    for (const auto& [what, bytes, reason] : cases) {
        SCOPED_TRACE(what);
        Write("hostile.plist", bytes);
        EXPECT_NE(Convert("hostile.plist"), 0);
        EXPECT_NE(Stderr().find("hostile.plist: "), std::string::npos) << Stderr();
        EXPECT_NE(Stderr().find(reason), std::string::npos) << Stderr();
        EXPECT_EQ(Read("hostile.plist"), bytes);
        EXPECT_EQ(FileCount(), 1u);
    }
}

// Random trees written by Python's plistlib, binary and XML, come back from the tool with every value as
// plistlib reads them, converted again unchanged; a tree XML cannot hold leaves its file as it was.
TEST_F(PlutilToolTest, KeepsEveryValueOfRandomTreesAsPlistlibReadsThem) {
    const char* python = "/usr/bin/python3";
    if (!fs::exists(python))
        GTEST_SKIP() << python << " is missing: plutil is not compared with plistlib";
    const std::string cmd = std::string(python) + " " + Quote(PLISTLIB_COMPARE) + " " + Quote(PLUTIL_PATH) +
                            " " + Quote(work_.string()) + " 1 80 >" + Quote((root_ / "stderr").string());
    EXPECT_EQ(std::system(cmd.c_str()), 0) << Stderr();
}

// Only a regular file of at most the input limit is read: a FIFO (which would wait for a writer), a link to
// an endless device and a file one byte too large are refused at once, left as
// they are, and nothing is created.
TEST_F(PlutilToolTest, ReadsOnlyRegularFilesWithinTheLimit) {
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", Path("zero"));
    Write("huge", "");
    fs::resize_file(Path("huge"), plutil::kMaxInputBytes + 1); // sparse: costs no disk
    for (const auto& [name, reason] :
         {std::pair{"fifo", "not a regular file"}, {"zero", "not a regular file"}, {"huge", "larger than"}}) {
        SCOPED_TRACE(name);
        EXPECT_NE(Convert(name), 0);
        EXPECT_NE(Stderr().find(reason), std::string::npos) << Stderr();
    }
    EXPECT_TRUE(fs::is_fifo(Path("fifo")) && fs::is_symlink(Path("zero")));
    EXPECT_EQ(fs::file_size(Path("huge")), plutil::kMaxInputBytes + 1);
    EXPECT_EQ(FileCount(), 3u);
}

} // namespace
