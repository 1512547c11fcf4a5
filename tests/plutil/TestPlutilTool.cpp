// The built plutil run through /bin/sh: in-place conversion, file safety and hostile names.
#include "tools/plutil/PlistXmlWriter.h"

#include <gtest/gtest.h>

#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct PlistFree {
    void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class PlutilToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "plutil-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        work_ = root_ / "work";
        fs::create_directory(work_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // Runs the tool from the work folder with `args` as typed on a shell line; returns its exit status.
    int Run(const std::string& args) {
        const std::string cmd = "cd " + Quote(work_.string()) + " && " + Quote(PLUTIL_PATH) + " " + args +
                                " 2>" + Quote((root_ / "stderr").string());
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int Convert(const std::string& name) { return Run("-convert xml1 " + Quote(name)); }
    std::string Stderr() const { return Read(root_ / "stderr"); }

    fs::path Path(const std::string& name) const { return work_ / name; }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    using Serialiser = void (*)(plist_t, char**, uint32_t*);
    static std::string Serialise(plist_t node, Serialiser serialise, void (*release)(char*)) {
        char* text = nullptr;
        uint32_t length = 0;
        serialise(node, &text, &length);
        std::string bytes(text, length);
        release(text);
        return bytes;
    }
    static std::string Binary(plist_t node) { return Serialise(node, plist_to_bin, plist_to_bin_free); }
    // libplist's own XML: a second opinion on values, independent of our writer's layout.
    static std::string LibplistXml(plist_t node) { return Serialise(node, plist_to_xml, plist_to_xml_free); }
    static PlistPtr Parse(const std::string& bytes) {
        plist_t node = nullptr;
        plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
        return PlistPtr(node);
    }
    size_t FileCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(work_), {})); }

    fs::path root_;
    fs::path work_;
};

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

plist_t Bookmark(const std::string& title, const std::string& url, const std::string& uuid) {
    // File order as the browser writes it, the reverse of sorted order, so sorting shows.
    plist_t entry = plist_new_dict();
    plist_t sync = plist_new_dict();
    plist_dict_set_item(sync, "ServerID", plist_new_string(("id-" + uuid).c_str()));
    plist_dict_set_item(entry, "WebBookmarkUUID", plist_new_string(uuid.c_str()));
    plist_dict_set_item(entry, "WebBookmarkType", plist_new_string("WebBookmarkTypeLeaf"));
    plist_dict_set_item(entry, "URLString", plist_new_string(url.c_str()));
    plist_t uri = plist_new_dict();
    plist_dict_set_item(uri, "title", plist_new_string(title.c_str()));
    plist_dict_set_item(entry, "URIDictionary", uri);
    plist_dict_set_item(entry, "Sync", sync);
    return entry;
}

plist_t Folder(const std::string& title, std::vector<plist_t> children) {
    plist_t folder = plist_new_dict();
    plist_t list = plist_new_array();
    for (plist_t child : children)
        plist_array_append_item(list, child);
    plist_dict_set_item(folder, "WebBookmarkType", plist_new_string("WebBookmarkTypeList"));
    plist_dict_set_item(folder, "Title", plist_new_string(title.c_str()));
    plist_dict_set_item(folder, "Children", list);
    return folder;
}

// A Safari-like bookmarks file: root dict with Children, leaves and nested folders.
PlistPtr SafariSample() {
    plist_t inner = Folder("Inner", {Bookmark("Deep & <low>", "https://deep.example/?a=1&b=2", "U-3")});
    plist_t menu = Folder("BookmarksMenu", {Bookmark("Two", "feed://two.example/", "U-2"), inner});
    PlistPtr root(Folder("", {Bookmark("One", "http://one.example/", "U-1"), menu}));
    plist_dict_set_item(root.get(), "WebBookmarkFileVersion", plist_new_uint(1));
    return root;
}

// Binary and foreign-layout XML give the same text with every value kept; our own XML changes no byte.
TEST_F(PlutilToolTest, ConvertsBinaryAndKeepsXmlStable) {
    const PlistPtr original = AllKinds();
    Write("all.plist", Binary(original.get()));
    ASSERT_EQ(Convert("all.plist"), 0) << Stderr();
    const std::string xml = Read(Path("all.plist"));
    EXPECT_EQ(xml, plutil::PlistToXml(original.get()));
    const PlistPtr back = Parse(xml);
    ASSERT_TRUE(back);
    EXPECT_EQ(LibplistXml(back.get()), LibplistXml(original.get()));

    ASSERT_EQ(Convert("all.plist"), 0) << Stderr();
    EXPECT_EQ(Read(Path("all.plist")), xml);
    Write("all.plist", LibplistXml(original.get()));
    ASSERT_EQ(Convert("all.plist"), 0) << Stderr();
    EXPECT_EQ(Read(Path("all.plist")), xml);
    EXPECT_EQ(FileCount(), 1u);
}

// In each bookmark entry the reader finds title, URL and UUID in that order, each value on the next line.
TEST_F(PlutilToolTest, SafariSampleKeepsReaderLineOrder) {
    Write("Bookmarks.plist", Binary(SafariSample().get()));
    ASSERT_EQ(Convert("Bookmarks.plist"), 0) << Stderr();
    std::ifstream in(Path("Bookmarks.plist"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::vector<std::string> seen;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        for (const char* key : {"URIDictionary", "title", "URLString", "WebBookmarkUUID"})
            if (lines[i].find(std::string("<key>") + key + "</key>") != std::string::npos)
                seen.push_back(key == std::string("URIDictionary") ? key : key + (":" + lines[i + 1]));
    }
    const std::string tabs = "\t\t\t\t\t";
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "URIDictionary", "title:\t\t\t\t<string>One</string>",
                        "URLString:\t\t\t<string>http://one.example/</string>",
                        "WebBookmarkUUID:\t\t\t<string>U-1</string>", "URIDictionary",
                        "title:" + tabs + "\t<string>Two</string>",
                        "URLString:" + tabs + "<string>feed://two.example/</string>",
                        "WebBookmarkUUID:" + tabs + "<string>U-2</string>", "URIDictionary",
                        "title:" + tabs + "\t\t\t<string>Deep &amp; &lt;low&gt;</string>",
                        "URLString:" + tabs + "\t\t<string>https://deep.example/?a=1&amp;b=2</string>",
                        "WebBookmarkUUID:" + tabs + "\t\t<string>U-3</string>"}));
}

// Spaces, quotes, "$" and a leading "-" reach the tool as one literal name: that file, and only it, converts.
TEST_F(PlutilToolTest, HostileNamesConvertTheNamedFile) {
    const std::vector<std::string> names = {"a b.plist", "it's \"q\".plist", "$HOME.plist", "-convert"};
    for (const std::string& name : names)
        Write(name, Binary(SafariSample().get()));
    for (const std::string& name : names) {
        ASSERT_EQ(Convert(name), 0) << name << ": " << Stderr();
        EXPECT_EQ(Read(Path(name)), plutil::PlistToXml(SafariSample().get())) << name;
    }
    EXPECT_EQ(FileCount(), names.size());
}

// Damaged, foreign or empty content is refused with a message and stays byte for byte as it was.
TEST_F(PlutilToolTest, RefusesWhatIsNoPropertyList) {
    const std::string binary = Binary(SafariSample().get());
    for (const std::string& bytes :
         {binary.substr(0, binary.size() / 2), std::string("hello <plist>"), std::string()}) {
        Write("bad.plist", bytes);
        EXPECT_NE(Convert("bad.plist"), 0);
        EXPECT_NE(Stderr().find("bad.plist"), std::string::npos);
        EXPECT_EQ(Read(Path("bad.plist")), bytes);
        EXPECT_EQ(FileCount(), 1u);
    }
}

// A missing file or a folder fails without creating anything; wrong usage prints the usage and fails.
TEST_F(PlutilToolTest, MissingFileAndWrongUsageFail) {
    EXPECT_NE(Convert("missing.plist"), 0);
    EXPECT_FALSE(fs::exists(Path("missing.plist")));
    fs::create_directory(Path("folder"));
    EXPECT_NE(Convert("folder"), 0);
    fs::remove(Path("folder"));
    Write("x.plist", Binary(SafariSample().get()));
    for (const char* args :
         {"", "-convert xml1", "-convert binary1 x.plist", "-convert xml1 x.plist x.plist"}) {
        EXPECT_NE(Run(args), 0) << args;
        EXPECT_NE(Stderr().find("usage"), std::string::npos) << args;
    }
}

// Through a symbolic link the target is replaced with its mode kept, and the link stays a link.
TEST_F(PlutilToolTest, FollowsSymlinkAndKeepsMode) {
    Write("target.plist", Binary(SafariSample().get()));
    fs::permissions(Path("target.plist"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("target.plist", Path("link.plist"));
    ASSERT_EQ(Convert("link.plist"), 0) << Stderr();
    EXPECT_TRUE(fs::is_symlink(Path("link.plist")));
    EXPECT_EQ(Read(Path("target.plist")), plutil::PlistToXml(SafariSample().get()));
    struct stat st {};
    ASSERT_EQ(stat(Path("target.plist").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FileCount(), 2u);
}

} // namespace
