#include "checker/InternetHeaders.h"

#include <gtest/gtest.h>

// SetHeader keeps the first position of a name (any case) with the one new value and adds new
// names at the end; Delete removes every entry of a name; Format joins the lines by CR LF without a
// final line end; absent names and indexes read as empty.
TEST(InternetHeadersTest, SetDeleteAndFormatKeepOrder) {
    InternetHeaders headers;
    headers.SetHeader("Accept", "*/*");
    headers.AppendHeader("Set-Cookie", "a=1");
    headers.AppendHeader("set-cookie", "b=2");
    headers.AppendHeader("X", "1");
    headers.AppendHeader("x", "2");
    headers.SetHeader("ACCEPT", "text/html");
    headers.SetHeader("SET-COOKIE", "c=3");
    headers.SetHeader("Host", "example.org:8080");
    headers.Delete("X");
    EXPECT_EQ(headers.Format(), "Accept: text/html\r\nSet-Cookie: c=3\r\nHost: example.org:8080");
    EXPECT_EQ(headers.Value("x"), "");
    EXPECT_EQ(headers.Name(3), "");
    EXPECT_EQ(headers.Value(-1), "");
}
