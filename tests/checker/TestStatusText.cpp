#include "checker/StatusText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

using quillfen::ProgressText, quillfen::StatusText, quillfen::TimeLeftText;

// The whole table, byte for byte: socket errors, HTTP statuses and the time-out share one number space and
// the number alone decides; ranges include both ends, and codes the table does not name fall to the last row.
TEST(StatusTextTest, EveryCodeOfTheTable) {
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

// Each threshold of the time left belongs to the row below it; the texts keep their double and trailing
// blanks.
TEST(StatusTextTest, TimeLeftThresholds) {
    const std::vector<std::pair<double, std::string>> cases = {
        {200, "About 3 min. left"},   {75, "About 1 min. left"},        {70.5, "About 1 min. left"},
        {70, "About one min. left "}, {50, "Less than one min. left "}, {35, "About  30 sec. left"},
        {25, "About  20 sec. left"},  {15, "About 10 sec. left"},       {7.5, "About 10 sec. left"},
        {7, "Less than 5 sec. left"}, {-12, "Less than 5 sec. left"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(TimeLeftText(seconds), text) << seconds << " s";
    // The progress line's estimate: a third done after 100 s leaves 200 s.
    EXPECT_EQ(ProgressText(120, 40, 100), "120 bookmarks, 40 checked.\rAbout 3 min. left");
}
