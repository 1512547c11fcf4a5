#include "checker/StatusText.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillfen {

namespace {

class StatusTextTest : public ::testing::Test {};

// The whole table, byte for byte: socket errors, HTTP statuses and the time-out share one number space and
// the number alone decides; ranges include both ends, and codes the table does not name fall to the last row.
TEST_F(StatusTextTest, EveryCodeOfTheTable) {
    const std::vector<std::pair<std::string, std::vector<int>>> cases = {
        {"Open Driver Error", {100}},
        {"", {101}},
        {"Lost Connection", {102}},
        {"Name Resolution Error", {103}},
        {"Address In Use Error", {105}},
        {"Invalid State Error", {106}},
        {"Invalid Port Error", {107}},
        {"Out Of Memory Error", {108}},
        {"\xE2\x9C\x94", {200, 204, 299}},
        {"Multiple Choices", {300}},
        {"Moved Permanently", {301}},
        {"Redirect: 'Found'", {302}},
        {"Redirect: 'See Other'", {303}},
        {"Redirect: 'Not Modified'", {304}},
        {"Redirect: 'Use Proxy'", {305}},
        {"Redirect: 'Temporary'", {307}},
        {"Bad Request", {400}},
        {"Unauthorized", {401}},
        {"Payment Required", {402}},
        {"Forbidden", {403}},
        {"Not Found", {404}},
        {"Method Not Allowed", {405}},
        {"Not Acceptable", {406}},
        {"Proxy Authorization Req.", {407}},
        {"Request Timeout", {408}},
        {"Client Error", {409, 450, 499}},
        {"Server Error", {500, 503, 599}},
        {"Timeout", {999}},
        {"Unspecified Error", {104, 109, 199, 306, 308, 0, -1, -999, 600, 998, 1000, INT_MAX, INT_MIN}}};
    for (const auto& [text, codes] : cases)
        for (int code : codes)
            EXPECT_EQ(StatusText(code), text) << "code " << code;
}

// The Code cell: the time-out setting as typed for a time-out, the number for anything not OK, and
// for OK codes only when the preference asks for them.
TEST_F(StatusTextTest, CodeCellFollowsTheRule) {
    const std::vector<std::pair<int, std::optional<std::string>>> nocodes = {
        {999, "5 sec."}, {404, "404"}, {101, "101"}, {0, "0"}, {300, "300"}, {200, std::nullopt}};
    for (const auto& [code, text] : nocodes)
        EXPECT_EQ(CodeCellText(code, "5", "nocodes"), text) << "code " << code;
    EXPECT_EQ(CodeCellText(299, "5", ""), std::nullopt);
    EXPECT_EQ(CodeCellText(204, "5", "showcodes"), "204");
}

// Each threshold belongs to the row below it; the texts keep their double and trailing blanks.
TEST_F(StatusTextTest, TimeLeftThresholds) {
    const std::vector<std::pair<double, std::string>> cases = {
        {200, "About 3 min. left"},   {75, "About 1 min. left"},        {70.5, "About 1 min. left"},
        {70, "About one min. left "}, {50, "Less than one min. left "}, {35, "About  30 sec. left"},
        {25, "About  20 sec. left"},  {15, "About 10 sec. left"},       {7.5, "About 10 sec. left"},
        {7, "Less than 5 sec. left"}, {-12, "Less than 5 sec. left"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(TimeLeftText(seconds), text) << seconds << " s";
}

// The progress line: counts on the first line, the estimate from real arithmetic on the second.
TEST_F(StatusTextTest, ProgressLine) {
    // A third done after 100 s leaves 200 s.
    EXPECT_EQ(ProgressText(120, 40, 100), "120 bookmarks, 40 checked.\rAbout 3 min. left");
    EXPECT_EQ(ProgressText(120, 17, 1), "120 bookmarks, 17 checked.\rLess than 5 sec. left");
    // More results than rows in scope, or nothing in scope: a negative estimate.
    EXPECT_EQ(ProgressText(1, 2, 30), "1 bookmarks, 2 checked.\rLess than 5 sec. left");
    EXPECT_EQ(ProgressText(0, 3, 100), "0 bookmarks, 3 checked.\rLess than 5 sec. left");
}

} // namespace

} // namespace quillfen
