// The text functions: fields, search, slicing, case rule, numbers and encodings.
#include "framework/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>

using namespace fw;

namespace {

const std::string kKelvin = "\u212A"; // folds to ASCII 'k' but takes three bytes

using Texts = std::vector<std::string>;
using Counts = std::vector<std::int64_t>;

class TextTest : public ::testing::Test {};

} // namespace

// Fields count from 1, a missing field is "", an empty text or separator still holds one field; the
// plain forms find separators in any letter case, the B forms only byte for byte; Split keeps empty
// fields, so Join gives back the original text.
TEST_F(TextTest, FieldsCountFromOneAndIgnoreCaseOnlyInPlainForms) {
    const std::string s = "oneXtwoxthree";
    EXPECT_EQ(
        (Texts{NthField("a,b,c", ",", 1), NthField("a,b,c", ",", 3), NthField("a,b,c", ",", 0),
               NthField("a,b,c", ",", 4), NthField("a,,c", ",", 2), NthField("a<>b<>c", "<>", 2),
               NthField("abc", "", 1), NthField("abc", "", 2), NthField(s, "x", 2), NthFieldB(s, "x", 2)}),
        (Texts{"a", "c", "", "", "", "b", "abc", "", "two", "three"}));
    EXPECT_EQ((Counts{CountFields("", ","), CountFields("abc", ""), CountFields("a,,c,", ","),
                      CountFieldsB("", "\t"), CountFields(s, "x"), CountFieldsB(s, "x")}),
              (Counts{1, 1, 4, 1, 3, 2}));
    EXPECT_EQ((std::vector<Texts>{Split("aÉbéc", "é"), SplitB("aÉbéc", "é"), SplitB("\ta\t\tb\t", "\t"),
                                  Split("", ",")}),
              (std::vector<Texts>{{"a", "b", "c"}, {"aÉb", "c"}, {"", "a", "", "b", ""}, {""}}));
    EXPECT_EQ((Texts{Join({"", "a", "", "b", ""}, "\t"), Join({}, ",")}), (Texts{"\ta\t\tb\t", ""}));
}

// Searches ignore letter case and the B forms match exact bytes: InStr counts characters from 1 and gives
// 0 for an absent or empty search text, InStrB counts bytes; Replace changes the first match, ReplaceAll
// every match once.
TEST_F(TextTest, SearchAndReplaceIgnoreCaseExceptInBForms) {
    EXPECT_EQ((Counts{InStr("Hello", "LL"), InStr("Hello", "x"), InStr("Hello", ""), InStr("", "a"),
                      InStr("ééX", "x"), InStr("http://ÄBC", "äb"), InStr("x" + kKelvin + "y", "K"),
                      InStr(3, "abab", "AB"), InStr(4, "abab", "ab"), InStr(0, "abab", "ab"),
                      InStr(9, "abab", "ab"), InStrB("ééx", "x"), InStrB("Hello", "LL"),
                      InStrB(2, "abab", "ab"), InStrB("abc", "")}),
              (Counts{3, 0, 0, 0, 3, 8, 2, 3, 0, 1, 0, 5, 0, 3, 0}));
    // A folded match of another byte length (the Kelvin sign) is cut out whole.
    EXPECT_EQ(
        (Texts{Replace("aXbxc", "x", "-"), ReplaceAll("aXbxc", "x", "-"), ReplaceAllB("aXbxc", "x", "-"),
               ReplaceAll("aa", "a", "aa"), ReplaceAll("abc", "", "-"), Replace("abc", "z", "-"),
               ReplaceAll("x" + kKelvin + "y", "k", "-"), ReplaceAll("<b>&amp;</B>", "</b>", "")}),
        (Texts{"a-bxc", "a-b-c", "aXb-c", "aaaa", "abc", "abc", "x-y", "<b>&amp;"}));
}

// Left, Right and Mid cut whole characters; B forms cut bytes; counts out of range are clamped.
TEST_F(TextTest, SlicesCountCharactersOrBytes) {
    const std::string s = "héllo";
    // Bytes outside any UTF-8 sequence count as one character each.
    EXPECT_EQ((Counts{Len(s), LenB(s), Len("\xF0\x9F\x98\x80"), Len("\xFF\xC3\xE2\x82")}),
              (Counts{5, 6, 1, 4}));
    const Texts got{Left(s, 2),   Left(s, 0),    Left(s, 99),  Right(s, 3),    Right(s, 99),
                    Right(s, -1), Mid(s, 2),     Mid(s, 2, 2), Mid(s, 0, 2),   Mid(s, 9),
                    LeftB(s, 2),  MidB(s, 2, 2), MidB(s, 5),   MidB(s, 99, 2), Mid("a\xFF-", 2, 1)};
    EXPECT_EQ(got,
              (Texts{"hé", "", s, "llo", s, "", "éllo", "él", "hé", "", "h\xC3", "é", "lo", "", "\xFF"}));
}

// Texts differing only in letter case are equal, and equality and order follow one rule.
TEST_F(TextTest, CompareIgnoresCaseAndAgreesWithEquals) {
    EXPECT_EQ(
        (std::vector<bool>{TextEquals("ABC", "abc"), TextEquals("ÉCOLE", "école"), TextEquals(kKelvin, "K"),
                           TextEquals("abc", "abd"), TextEquals("\xFF", "\xFE")}),
        (std::vector<bool>{true, true, true, false, false}));
    EXPECT_EQ((std::vector<int>{TextCompare("a", "B"), TextCompare("abc", "ABCD"), TextCompare("", "")}),
              (std::vector<int>{-1, -1, 0}));

    Texts texts{"b",  "B",  "a",    "",     "Ä",     "ä",     "z", kKelvin,   "k",
                "kA", "Ka", "\xFF", "\xFE", "école", "ÉCOLE", "e", "http://X"};
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            EXPECT_EQ(TextCompare(a, b) == 0, TextEquals(a, b)) << a << " / " << b;
            EXPECT_EQ(TextCompare(a, b), -TextCompare(b, a)) << a << " / " << b;
        }
    }
    const auto less = [](const auto& a, const auto& b) { return TextCompare(a, b) < 0; };
    std::ranges::stable_sort(texts, less);
    EXPECT_TRUE(std::ranges::is_sorted(texts, less));
}

// Val reads the number that begins the text and gives 0 when none does; Str prints whole numbers
// without decimals, others in their shortest exact form.
TEST_F(TextTest, ValReadsTheLeadingNumberAndStrPrintsNaturalForms) {
    const std::vector<std::pair<std::string, double>> vals{
        {"404", 404},  {"  12abc", 12}, {"\t-3.5", -3.5}, {"+7", 7},  {".5", 0.5},         {"5.", 5},
        {"1e3", 1000}, {"2E-2x", 0.02}, {"1e", 1},        {"1e+", 1}, {"1.2.3", 1.2},      {"abc", 0},
        {"", 0},       {".", 0},        {"-", 0},         {"- 1", 0}, {"1e999", HUGE_VAL}, {"1e-999", 0}};
    for (const auto& [text, value] : vals)
        EXPECT_EQ(Val(text), value) << text;

    EXPECT_EQ((Texts{Str(404.0), Str(-3.0), Str(-0.0), Str(0.5), Str(12), Str(0.1 + 0.2),
                     Str(std::int64_t{-9007199254740993})}),
              (Texts{"404", "-3", "0", "0.5", "12", "0.30000000000000004", "-9007199254740993"}));
    EXPECT_EQ(Val(Str(1e20)), 1e20);
}

// Format pads '0' places, shows '#' places when needed and rounds half away from zero.
TEST_F(TextTest, FormatPlaceholdersAndRounding) {
    EXPECT_EQ((Texts{Format(1, "000000"), Format(123456, "000000"), Format(1234567, "000000"),
                     Format(0.4, "#"), Format(1.5, "#"), Format(2.5, "#"), Format(-1.5, "#"),
                     Format(-0.4, "#"), Format(37, "#"), Format(2.5, "#.##"), Format(2, "#.##"),
                     Format(3.14159, "0.00"), Format(2, "0.0#"), Format(0.05, "0.0")}),
              (Texts{"000001", "123456", "1234567", "0", "2", "3", "-2", "0", "37", "2.5", "2", "3.14", "2.0",
                     "0.1"}));
}

// Chr encodes a code point as UTF-8 and refuses values that are no character.
TEST_F(TextTest, ChrEncodesUtf8) {
    EXPECT_EQ((Texts{Chr(13), Chr(0xE9), Chr(0x20AC), Chr(0x1F600), Chr(0xD800), Chr(0x110000)}),
              (Texts{"\r", "é", "€", "\xF0\x9F\x98\x80", "", ""}));
}

// Base64 is the standard alphabet with padding, broken into CR LF separated lines when asked.
TEST_F(TextTest, EncodeBase64StandardAndLineBreaks) {
    EXPECT_EQ((Texts{EncodeBase64("", 76), EncodeBase64("f", 76), EncodeBase64("fo", 76),
                     EncodeBase64("foobar", 76), EncodeBase64(":", 76)}),
              (Texts{"", "Zg==", "Zm8=", "Zm9vYmFy", "Og=="}));
    EXPECT_EQ(EncodeBase64(std::string("\xFB\xFF\x00", 3), 0), "+/8A");
    const std::string fullLine = EncodeBase64(std::string(57, 'a'), 76);
    EXPECT_EQ(fullLine.size(), 76u);
    EXPECT_EQ(EncodeBase64(std::string(60, 'a'), 76), fullLine + "\r\nYWFh");
    EXPECT_EQ(EncodeBase64(std::string(60, 'a'), 0), fullLine + "YWFh");
}

// Ticks never go back, and TotalSeconds is the wall clock.
TEST_F(TextTest, ClocksAreMonotonicAndWallClock) {
    const std::int64_t first = Ticks();
    EXPECT_GE(first, 0);
    EXPECT_GE(Ticks(), first);
    EXPECT_NEAR(TotalSeconds(), static_cast<double>(std::time(nullptr)), 5.0);
}
