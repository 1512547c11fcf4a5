#include "checker/Base64.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Base64Test : public ::testing::Test {};

} // namespace

// Standard alphabet and padding for every remainder length, including bytes above 127.
TEST_F(Base64Test, EncodesWithPadding) {
    EXPECT_EQ(EncodeBase64OneLine(""), "");
    EXPECT_EQ(EncodeBase64OneLine("f"), "Zg==");
    EXPECT_EQ(EncodeBase64OneLine("fo"), "Zm8=");
    EXPECT_EQ(EncodeBase64OneLine("foo"), "Zm9v");
    EXPECT_EQ(EncodeBase64OneLine(":"), "Og==");
    EXPECT_EQ(EncodeBase64OneLine("user:pass"), "dXNlcjpwYXNz");
    EXPECT_EQ(EncodeBase64OneLine("\xff\xfe\x80"), "//6A");
}

// Long credentials stay on one line: a header cannot be continued.
TEST_F(Base64Test, NeverBreaksTheLine) {
    const std::string encoded = EncodeBase64OneLine(std::string(300, 'p'));
    EXPECT_EQ(encoded.size(), 400U);
    EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(encoded.substr(0, 4), "cHBw");
}
