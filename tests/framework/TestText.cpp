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

class TextTest : public ::testing::Test {};

} // namespace

// Fields count from 1, a missing field is "", an empty text or separator still holds one field; the
// plain forms find separators in any letter case, the B forms only byte for byte; Split keeps empty
// fields, so Join gives back the original text.
TEST_F(TextTest, FieldsCountFromOneAndIgnoreCaseOnlyInPlainForms) {
    EXPECT_EQ(NthField("a,b,c", ",", 1), "a");
    EXPECT_EQ(NthField("a,b,c", ",", 3), "c");
    EXPECT_EQ(NthField("a,b,c", ",", 0), "");
    EXPECT_EQ(NthField("a,b,c", ",", 4), "");
    EXPECT_EQ(NthField("a,,c", ",", 2), "");
    EXPECT_EQ(NthField("a<>b<>c", "<>", 2), "b");
    EXPECT_EQ(NthField("abc", "", 1), "abc");
    EXPECT_EQ(NthField("abc", "", 2), "");
    EXPECT_EQ(CountFields("", ","), 1);
    EXPECT_EQ(CountFields("abc", ""), 1);
    EXPECT_EQ(CountFields("a,,c,", ","), 4);
    EXPECT_EQ(CountFieldsB("", "\t"), 1);

    EXPECT_EQ(NthField("oneXtwoxthree", "x", 2), "two");
    EXPECT_EQ(CountFields("oneXtwoxthree", "x"), 3);
    EXPECT_EQ(CountFieldsB("oneXtwoxthree", "x"), 2);
    EXPECT_EQ(NthFieldB("oneXtwoxthree", "x", 2), "three");
    EXPECT_EQ(Split("aÉbéc", "é"), (Texts{"a", "b", "c"}));
    EXPECT_EQ(SplitB("aÉbéc", "é"), (Texts{"aÉb", "c"}));

    const Texts fields = SplitB("\ta\t\tb\t", "\t");
    EXPECT_EQ(fields, (Texts{"", "a", "", "b", ""}));
    EXPECT_EQ(Join(fields, "\t"), "\ta\t\tb\t");
    EXPECT_EQ(Split("", ","), Texts{""});
    EXPECT_EQ(Join({}, ","), "");
}

// Searches ignore letter case and the B forms match exact bytes: InStr counts characters from 1 and gives
// 0 for an absent or empty search text, InStrB counts bytes; Replace changes the first match, ReplaceAll
// every match once.
TEST_F(TextTest, SearchAndReplaceIgnoreCaseExceptInBForms) {
    EXPECT_EQ(InStr("Hello", "LL"), 3);
    EXPECT_EQ(InStr("Hello", "x"), 0);
    EXPECT_EQ(InStr("Hello", ""), 0);
    EXPECT_EQ(InStr("", "a"), 0);
    EXPECT_EQ(InStr("ééX", "x"), 3);
    EXPECT_EQ(InStr("http://ÄBC", "äb"), 8);
    EXPECT_EQ(InStr("x" + kKelvin + "y", "K"), 2);
    EXPECT_EQ(InStr(3, "abab", "AB"), 3);
    EXPECT_EQ(InStr(4, "abab", "ab"), 0);
    EXPECT_EQ(InStr(0, "abab", "ab"), 1);
    EXPECT_EQ(InStr(9, "abab", "ab"), 0);

    EXPECT_EQ(InStrB("ééx", "x"), 5);
    EXPECT_EQ(InStrB("Hello", "LL"), 0);
    EXPECT_EQ(InStrB(2, "abab", "ab"), 3);
    EXPECT_EQ(InStrB("abc", ""), 0);

    EXPECT_EQ(Replace("aXbxc", "x", "-"), "a-bxc");
    EXPECT_EQ(ReplaceAll("aXbxc", "x", "-"), "a-b-c");
    EXPECT_EQ(ReplaceAllB("aXbxc", "x", "-"), "aXb-c");
    EXPECT_EQ(ReplaceAll("aa", "a", "aa"), "aaaa");
    EXPECT_EQ(ReplaceAll("abc", "", "-"), "abc");
    EXPECT_EQ(Replace("abc", "z", "-"), "abc");
    // A folded match of another byte length is cut out whole.
    EXPECT_EQ(ReplaceAll("x" + kKelvin + "y", "k", "-"), "x-y");
    EXPECT_EQ(ReplaceAll("<b>&amp;</B>", "</b>", ""), "<b>&amp;");
}

// Left, Right and Mid cut whole characters; B forms cut bytes; counts out of range are clamped.
TEST_F(TextTest, SlicesCountCharactersOrBytes) {
    const std::string s = "héllo";
    EXPECT_EQ(Len(s), 5);
    EXPECT_EQ(LenB(s), 6);
    const Texts got{Left(s, 2),   Left(s, 0),    Left(s, 99),  Right(s, 3),   Right(s, 99),
                    Right(s, -1), Mid(s, 2),     Mid(s, 2, 2), Mid(s, 0, 2),  Mid(s, 9),
                    LeftB(s, 2),  MidB(s, 2, 2), MidB(s, 5),   MidB(s, 99, 2)};
    EXPECT_EQ(got, (Texts{"hé", "", s, "llo", s, "", "éllo", "él", "hé", "", "h\xC3", "é", "lo", ""}));
    // Bytes outside any UTF-8 sequence count as one character each.
    EXPECT_EQ(Len("\xFF\xC3\xE2\x82"), 4);
    EXPECT_EQ(Mid("a\xFF" "b", 2, 1), "\xFF");
}

// Texts differing only in letter case are equal, and equality and order follow one rule.
TEST_F(TextTest, CompareIgnoresCaseAndAgreesWithEquals) {
    EXPECT_TRUE(TextEquals("ABC", "abc"));
    EXPECT_TRUE(TextEquals("ÉCOLE", "école"));
    EXPECT_TRUE(TextEquals(kKelvin, "K"));
    EXPECT_FALSE(TextEquals("abc", "abd"));
    EXPECT_FALSE(TextEquals("\xFF", "\xFE"));
    EXPECT_EQ(TextCompare("a", "B"), -1);
    EXPECT_EQ(TextCompare("b", "A"), 1);
    EXPECT_EQ(TextCompare("abc", "ABCD"), -1);
    EXPECT_EQ(TextCompare("", ""), 0);

    Texts texts{"b",  "B",  "a",    "",     "Ä",     "ä",     "z", kKelvin,   "k",
                "kA", "Ka", "\xFF", "\xFE", "école", "ÉCOLE", "e", "http://X"};
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            EXPECT_EQ(TextCompare(a, b) == 0, TextEquals(a, b)) << a << " / " << b;
            EXPECT_EQ(TextCompare(a, b), -TextCompare(b, a)) << a << " / " << b;
        }
    }
    std::stable_sort(texts.begin(), texts.end(),
                     [](const auto& a, const auto& b) { return TextCompare(a, b) < 0; });
    for (std::size_t i = 1; i < texts.size(); ++i)
        EXPECT_LE(TextCompare(texts[i - 1], texts[i]), 0);
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

    EXPECT_EQ((Texts{Str(404.0), Str(-3.0), Str(-0.0), Str(0.5), Str(12)}),
              (Texts{"404", "-3", "0", "0.5", "12"}));
    EXPECT_EQ(Str(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(Str(std::int64_t{-9007199254740993}), "-9007199254740993");
    EXPECT_EQ(Val(Str(1e20)), 1e20);
}

// Format pads '0' places, shows '#' places when needed and rounds half away from zero.
TEST_F(TextTest, FormatPlaceholdersAndRounding) {
    const auto format = [](const std::string& pattern, const std::vector<double>& numbers) {
        Texts out;
        for (double number : numbers)
            out.push_back(Format(number, pattern));
        return out;
    };
    EXPECT_EQ(format("000000", {1, 123456, 1234567}), (Texts{"000001", "123456", "1234567"}));
    EXPECT_EQ(format("#", {0.4, 1.5, 2.5, -1.5, -0.4, 37}), (Texts{"0", "2", "3", "-2", "0", "37"}));
    EXPECT_EQ(format("#.##", {2.5, 2}), (Texts{"2.5", "2"}));
    EXPECT_EQ(Format(3.14159, "0.00"), "3.14");
    EXPECT_EQ(Format(2, "0.0#"), "2.0");
    EXPECT_EQ(Format(0.05, "0.0"), "0.1");
}

// Chr encodes a code point as UTF-8 and refuses values that are no character.
TEST_F(TextTest, ChrEncodesUtf8) {
    EXPECT_EQ((Texts{Chr(13), Chr(0xE9), Chr(0x20AC), Chr(0x1F600), Chr(0xD800), Chr(0x110000)}),
              (Texts{"\r", "é", "€", "\xF0\x9F\x98\x80", "", ""}));
    EXPECT_EQ(Len(Chr(0x1F600)), 1);
}

// Base64 is the standard alphabet with padding, broken into CR LF separated lines when asked.
TEST_F(TextTest, EncodeBase64StandardAndLineBreaks) {
    EXPECT_EQ((Texts{EncodeBase64("", 76), EncodeBase64("f", 76), EncodeBase64("fo", 76),
                     EncodeBase64("foobar", 76), EncodeBase64(":", 76)}),
              (Texts{"", "Zg==", "Zm8=", "Zm9vYmFy", "Og=="}));
    EXPECT_EQ(EncodeBase64(std::string("\xFB\xFF\x00", 3), 0), "+/8A");
    EXPECT_EQ(EncodeBase64(std::string(57, 'a'), 76).size(), 76u);
    const std::string twoLines = EncodeBase64(std::string(60, 'a'), 76);
    ASSERT_EQ(twoLines.size(), 82u);
    EXPECT_EQ(twoLines.substr(76, 2), "\r\n");
    EXPECT_EQ(EncodeBase64(std::string(60, 'a'), 0).find('\r'), std::string::npos);
}

// Ticks never go back, and TotalSeconds is the wall clock.
TEST_F(TextTest, ClocksAreMonotonicAndWallClock) {
    const std::int64_t first = Ticks();
    EXPECT_GE(first, 0);
    EXPECT_GE(Ticks(), first);
    EXPECT_NEAR(TotalSeconds(), static_cast<double>(std::time(nullptr)), 5.0);
}
