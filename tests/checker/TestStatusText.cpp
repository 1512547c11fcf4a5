#include "checker/StatusText.h"

#include <gtest/gtest.h>

#include <climits>
#include <span>
#include <string>
#include <utility>
#include <vector>

using quillfen::ProgressText, quillfen::StatusText, quillfen::TimeLeftText;

// The whole table, byte for byte: socket errors, HTTP statuses and the time-out share one number space and
// the number alone decides; ranges include both ends, and codes the table does not name fall to the last row.
TEST(StatusTextTest, EveryCodeOfTheTable) {
    // Socket errors and redirections, then client errors and the time-out: one code a text.
    const std::pair<int, std::string> socketAndRedirect[] = {
        {100, "Open Driver Error"},        {101, ""},
        {102, "Lost Connection"},          {103, "Name Resolution Error"},
        {105, "Address In Use Error"},     {106, "Invalid State Error"},
        {107, "Invalid Port Error"},       {108, "Out Of Memory Error"},
        {300, "Multiple Choices"},         {301, "Moved Permanently"},
        {302, "Redirect: 'Found'"},        {303, "Redirect: 'See Other'"},
        {304, "Redirect: 'Not Modified'"}, {305, "Redirect: 'Use Proxy'"},
        {307, "Redirect: 'Temporary'"}};
    const std::pair<int, std::string> clientAndTimeout[] = {
        {400, "Bad Request"},      {401, "Unauthorized"},
        {402, "Payment Required"}, {403, "Forbidden"},
        {404, "Not Found"},        {405, "Method Not Allowed"},
        {406, "Not Acceptable"},   {407, "Proxy Authorization Req."},
        {408, "Request Timeout"},  {999, "Timeout"}};
    using Named = std::span<const std::pair<int, std::string>>;
    for (const Named named : {Named(socketAndRedirect), Named(clientAndTimeout)})
        for (const auto& [code, text] : named)
            EXPECT_EQ(StatusText(code), text) << "code " << code;
    const std::vector<std::pair<std::string, std::vector<int>>> ranges{
        {"\xE2\x9C\x94", {200, 204, 299}},
        {"Client Error", {409, 450, 499}},
        {"Server Error", {500, 503, 599}},
        {"Unspecified Error", {104, 109, 199, 306, 308, 0, -1, -999, 600, 998, 1000, INT_MAX, INT_MIN}}};
    for (const auto& [text, codes] : ranges)
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
