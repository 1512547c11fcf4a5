// The text functions: fields, search, slicing, case rule, numbers and encodings.
#include "framework/text/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace fw;

namespace {

const std::string kKelvin = "\u212A"; // folds to ASCII 'k' but takes three bytes

using Texts = std::vector<std::string>;
using Counts = std::vector<std::int64_t>;

// Fields count from 1 and a missing one is ""; the plain forms find separators and search texts in any
// letter case, the B forms only byte for byte; Split keeps empty fields, so Join gives back the text. InStr
// counts characters from 1, a byte outside any UTF-8 sequence as one, and gives 0 for an empty search text.
TEST(TextTest, FieldsAndSearchesIgnoreCaseOnlyInPlainForms) {
    const std::string s = "oneXtwoxthree";
    EXPECT_EQ((Texts{NthField("a,b,c", ",", 3), NthField("a,b,c", ",", 0), NthField("a,b,c", ",", 4),
                     NthField("a<>b<>c", "<>", 2), NthField(s, "x", 2), NthFieldB(s, "x", 2),
                     Left("héllo", 2), MidB("héllo", 99, 2)}),
              (Texts{"c", "", "", "b", "two", "three", "hé", ""}));
    EXPECT_EQ((std::vector<Texts>{Split("aÉbéc", "é"), SplitB("aÉbéc", "é"), SplitB("\ta\t\tb\t", "\t")}),
              (std::vector<Texts>{{"a", "b", "c"}, {"aÉb", "c"}, {"", "a", "", "b", ""}}));
    EXPECT_EQ(Join({"", "a", "", "b", ""}, "\t"), "\ta\t\tb\t");
    EXPECT_EQ(
        (Counts{InStr("Hello", "LL"), InStr("Hello", ""), InStr("ééX", "x"), InStr("x" + kKelvin + "y", "K"),
                InStr(4, "abab", "ab"), InStrB("ééx", "x"), InStrB("Hello", "LL"), Len("\xFF\xC3\xE2\x82")}),
        (Counts{3, 0, 3, 2, 0, 5, 0, 4}));
}

// Texts differing only in letter case are equal, and equality and order follow one rule.
TEST(TextTest, CompareIgnoresCaseAndAgreesWithEquals) {
    Texts texts{"b",  "B",  "a",    "",     "Ä",     "ä",     "z", kKelvin,   "k",
                "kA", "Ka", "\xFF", "\xFE", "école", "ÉCOLE", "e", "http://X"};
    EXPECT_TRUE(TextEquals("ÉCOLE", "école"));
    EXPECT_EQ(TextCompare("abc", "ABCD"), -1);
    for (const auto& a : texts)
        for (const auto& b : texts)
            EXPECT_EQ(std::pair(TextCompare(a, b) == 0, TextCompare(a, b)),
                      std::pair(TextEquals(a, b), -TextCompare(b, a)))
                << a << " / " << b;
    const auto less = [](const auto& a, const auto& b) { return TextCompare(a, b) < 0; };
    std::ranges::stable_sort(texts, less);
    EXPECT_TRUE(std::ranges::is_sorted(texts, less));
}

// Val reads the number that begins the text and gives 0 when none does; Str prints whole numbers without
// decimals; Format pads '0' places and rounds half away from zero; Base64 is the standard alphabet.
TEST(TextTest, NumbersAndEncodings) {
    const std::vector<std::pair<std::string, double>> vals{
        {"  12abc", 12}, {"\t-3.5", -3.5}, {".5", 0.5}, {"2E-2x", 0.02},    {"1e", 1},
        {"abc", 0},      {"", 0},          {"- 1", 0},  {"1e999", HUGE_VAL}};
    for (const auto& [text, value] : vals)
        EXPECT_EQ(Val(text), value) << text;
    EXPECT_EQ(
        (Texts{Str(404.0), Str(-0.0), Format(1, "000000"), Format(1234567, "000000"), Format(2.5, "#"),
               Format(-1.5, "#"), EncodeBase64("fo", 0), EncodeBase64(std::string("\xFB\xFF\x00", 3), 0)}),
        (Texts{"404", "0", "000001", "1234567", "3", "-2", "Zm8=", "+/8A"}));
}

} // namespace
