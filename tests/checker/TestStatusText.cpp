#include "checker/StatusText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace quillfen {

namespace {

// Socket errors, HTTP statuses and the time-out share one number space and the number alone decides;
// ranges include both ends, and codes no row names fall to "Unspecified Error".
TEST(StatusTextTest, CodesAndTimeLeft) {
    const std::vector<std::pair<std::string, std::vector<int>>> cases = {
        {"", {101}},
        {"Lost Connection", {102}},
        {"\xE2\x9C\x94", {200, 299}},
        {"Redirect: 'Found'", {302}},
        {"Proxy Authorization Req.", {407}},
        {"Client Error", {409, 499}},
        {"Server Error", {500, 599}},
        {"Timeout", {999}},
        {"Unspecified Error", {104, 199, 306, 0, -1, 600, 998, INT_MAX, INT_MIN}}};
    for (const auto& [text, codes] : cases)
        for (int code : codes)
            EXPECT_EQ(StatusText(code), text) << "code " << code;
    // Each threshold of the time left belongs to the row below it; a third done after 100 s leaves 200 s.
    EXPECT_EQ(TimeLeftText(70.5), "About 1 min. left");
    EXPECT_EQ(TimeLeftText(70), "About one min. left ");
    EXPECT_EQ(TimeLeftText(-12), "Less than 5 sec. left");
    EXPECT_EQ(ProgressText(120, 40, 100), "120 bookmarks, 40 checked.\rAbout 3 min. left");
}

} // namespace

} // namespace quillfen
