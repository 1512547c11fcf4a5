#include "checker/StatusText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class StatusTextTest : public ::testing::Test {
protected:
    static void ExpectTexts(const std::vector<std::pair<int, std::string>>& cases) {
        for (const auto& [code, text] : cases)
            EXPECT_EQ(StatusText(code), text) << "code " << code;
    }
};

// Socket errors, HTTP statuses and the time-out share one number space: the number alone decides;
// the ranges include both their ends.
TEST_F(StatusTextTest, CodesAndRanges) {
    ExpectTexts({{100, "Open Driver Error"},
                 {101, ""},
                 {103, "Name Resolution Error"},
                 {108, "Out Of Memory Error"},
                 {200, "\u2714"},
                 {299, "\u2714"},
                 {302, "Redirect: 'Found'"},
                 {307, "Redirect: 'Temporary'"},
                 {407, "Proxy Authorization Req."},
                 {408, "Request Timeout"},
                 {409, "Client Error"},
                 {499, "Client Error"},
                 {500, "Server Error"},
                 {599, "Server Error"},
                 {999, "Timeout"}});
}

// Codes the table does not name fall to the last row, whatever their range.
TEST_F(StatusTextTest, UnnamedCodesAreUnspecified) {
    for (int code : {104, 109, 199, 306, 308, 0, -1, 600, 998, 1000})
        EXPECT_EQ(StatusText(code), "Unspecified Error") << "code " << code;
}

// The Code cell: the time-out setting as typed for a time-out, the number for anything not OK, and
// for OK codes only when the preference asks for them.
TEST_F(StatusTextTest, CodeCellFollowsTheRule) {
    EXPECT_EQ(CodeCellText(999, "5", "nocodes"), "5 sec.");
    EXPECT_EQ(CodeCellText(999, "abc", "nocodes"), "abc sec.");
    EXPECT_EQ(CodeCellText(404, "5", "nocodes"), "404");
    EXPECT_EQ(CodeCellText(101, "5", "nocodes"), "101");
    EXPECT_EQ(CodeCellText(0, "5", "nocodes"), "0");
    EXPECT_EQ(CodeCellText(300, "5", "nocodes"), "300");
    EXPECT_EQ(CodeCellText(200, "5", "nocodes"), std::nullopt);
    EXPECT_EQ(CodeCellText(299, "5", ""), std::nullopt);
    EXPECT_EQ(CodeCellText(204, "5", "showcodes"), "204");
}

// Each threshold belongs to the row below it; the texts keep their double and trailing blanks.
TEST_F(StatusTextTest, TimeLeftThresholds) {
    EXPECT_EQ(TimeLeftText(200), "About 3 min. left");
    EXPECT_EQ(TimeLeftText(75), "About 1 min. left");
    EXPECT_EQ(TimeLeftText(70.5), "About 1 min. left");
    EXPECT_EQ(TimeLeftText(70), "About one min. left ");
    EXPECT_EQ(TimeLeftText(50), "Less than one min. left ");
    EXPECT_EQ(TimeLeftText(35), "About  30 sec. left");
    EXPECT_EQ(TimeLeftText(25), "About  20 sec. left");
    EXPECT_EQ(TimeLeftText(15), "About 10 sec. left");
    EXPECT_EQ(TimeLeftText(7.5), "About 10 sec. left");
    EXPECT_EQ(TimeLeftText(7), "Less than 5 sec. left");
    EXPECT_EQ(TimeLeftText(-12), "Less than 5 sec. left");
}

// The progress line: counts on the first line, the estimate from real arithmetic on the second.
TEST_F(StatusTextTest, ProgressLine) {
    // A third done after 100 s leaves 200 s.
    EXPECT_EQ(ProgressText(120, 40, 100), "120 bookmarks, 40 checked.\rAbout 3 min. left");
    EXPECT_EQ(ProgressText(120, 17, 1), "120 bookmarks, 17 checked.\rLess than 5 sec. left");
    // More results than rows in scope: a negative estimate.
    EXPECT_EQ(ProgressText(1, 2, 30), "1 bookmarks, 2 checked.\rLess than 5 sec. left");
    // Nothing in scope.
    EXPECT_EQ(ProgressText(0, 3, 100), "0 bookmarks, 3 checked.\rLess than 5 sec. left");
}

} // namespace
