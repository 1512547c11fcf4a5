#include "checker/InternetHeaders.h"

#include <gtest/gtest.h>

namespace {

class InternetHeadersTest : public ::testing::Test {
protected:
    InternetHeaders headers;
};

} // namespace

// SetHeader keeps the first position of a name (any case) with the one new value and adds new
// names at the end; Format joins the lines by CR LF without a final line end.
TEST_F(InternetHeadersTest, SetHeaderReplacesInPlaceAndFormatKeepsOrder) {
    headers.SetHeader("Accept", "*/*");
    headers.SetHeader("Accept-Language", "en");
    headers.AppendHeader("Set-Cookie", "a=1");
    headers.AppendHeader("set-cookie", "b=2");
    headers.SetHeader("ACCEPT", "text/html");
    headers.SetHeader("SET-COOKIE", "c=3");
    headers.SetHeader("Host", "example.org:8080");
    EXPECT_EQ(headers.Format(),
              "Accept: text/html\r\nAccept-Language: en\r\nSet-Cookie: c=3\r\nHost: example.org:8080");
    EXPECT_EQ(headers.Count(), 4);
    EXPECT_EQ(headers.Name(3), "Host");
    EXPECT_EQ(headers.Value(3), "example.org:8080");
    EXPECT_EQ(headers.Value("host"), "example.org:8080");
}

// Delete removes every entry of a name; absent names and indexes read as empty.
TEST_F(InternetHeadersTest, DeleteAndMissingEntries) {
    EXPECT_EQ(headers.Format(), "");
    headers.AppendHeader("A", "1");
    headers.AppendHeader("b", "2");
    headers.AppendHeader("a", "3");
    headers.Delete("A");
    EXPECT_EQ(headers.Format(), "b: 2");
    EXPECT_EQ(headers.Value("a"), "");
    EXPECT_EQ(headers.Name(5), "");
    EXPECT_EQ(headers.Value(-1), "");
}
