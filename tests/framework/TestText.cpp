// The text functions: fields, search, slicing, case rule, numbers and encodings.
#include "framework/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>

using namespace fw;

namespace {

const std::string kKelvin = "\u212A"; // folds to ASCII 'k' but takes three bytes

class TextTest : public ::testing::Test {};

} // namespace

// Fields count from 1, a missing field is "", an empty text or separator still holds one field.
TEST_F(TextTest, FieldsCountFromOneAndMissingOnesAreEmpty) {
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
    EXPECT_EQ(NthFieldB("a\tb", "\t", 2), "b");
    EXPECT_EQ(CountFieldsB("", "\t"), 1);
}

// The plain forms find separators in any letter case, the B forms only byte for byte.
TEST_F(TextTest, FieldSeparatorsIgnoreCaseOnlyInPlainForms) {
    EXPECT_EQ(NthField("oneXtwoxthree", "x", 2), "two");
    EXPECT_EQ(CountFields("oneXtwoxthree", "x"), 3);
    EXPECT_EQ(CountFieldsB("oneXtwoxthree", "x"), 2);
    EXPECT_EQ(NthFieldB("oneXtwoxthree", "x", 2), "three");
    EXPECT_EQ(Split("aÉbéc", "é"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitB("aÉbéc", "é"), (std::vector<std::string>{"aÉb", "c"}));
}

// Split keeps empty fields, so Join gives back the original text.
TEST_F(TextTest, SplitAndJoinRoundTrip) {
    const std::vector<std::string> fields = SplitB("\ta\t\tb\t", "\t");
    EXPECT_EQ(fields, (std::vector<std::string>{"", "a", "", "b", ""}));
    EXPECT_EQ(Join(fields, "\t"), "\ta\t\tb\t");
    EXPECT_EQ(Split("", ","), std::vector<std::string>{""});
    EXPECT_EQ(Join({}, ","), "");
}

// InStr counts characters from 1, ignores case and gives 0 for an absent or empty search text.
TEST_F(TextTest, InStrFindsCharacterPositionsIgnoringCase) {
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
}

// InStrB counts bytes and matches exactly.
TEST_F(TextTest, InStrBCountsBytesAndMatchesExactly) {
    EXPECT_EQ(InStrB("ééx", "x"), 5);
    EXPECT_EQ(InStrB("Hello", "LL"), 0);
    EXPECT_EQ(InStrB(2, "abab", "ab"), 3);
    EXPECT_EQ(InStrB("abc", ""), 0);
}

// Replace changes the first match, ReplaceAll every match once, and the B form only exact bytes.
TEST_F(TextTest, ReplaceFirstAllAndBytes) {
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
    EXPECT_EQ(Left(s, 2), "hé");
    EXPECT_EQ(Left(s, 0), "");
    EXPECT_EQ(Left(s, 99), s);
    EXPECT_EQ(Right(s, 3), "llo");
    EXPECT_EQ(Right(s, 99), s);
    EXPECT_EQ(Right(s, -1), "");
    EXPECT_EQ(Mid(s, 2), "éllo");
    EXPECT_EQ(Mid(s, 2, 2), "él");
    EXPECT_EQ(Mid(s, 0, 2), "hé");
    EXPECT_EQ(Mid(s, 9), "");
    EXPECT_EQ(LeftB(s, 2), "h\xC3");
    EXPECT_EQ(MidB(s, 2, 2), "é");
    EXPECT_EQ(MidB(s, 5), "lo");
    EXPECT_EQ(MidB(s, 99, 2), "");
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

    std::vector<std::string> texts{"b",    "B",  "a",   "",     "Ä",     "ä",  "z",    kKelvin, "k",
                                   "kA",   "Ka", "\xFF", "\xFE", "école", "ÉCOLE", "e", "http://X"};
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            EXPECT_EQ(TextCompare(a, b) == 0, TextEquals(a, b)) << a << " / " << b;
            EXPECT_EQ(TextCompare(a, b), -TextCompare(b, a)) << a << " / " << b;
        }
    }
    std::stable_sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return TextCompare(a, b) < 0; });
    for (std::size_t i = 1; i < texts.size(); ++i)
        EXPECT_LE(TextCompare(texts[i - 1], texts[i]), 0);
}

// Val reads the number that begins the text and gives 0 when none does.
TEST_F(TextTest, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val("404"), 404);
    EXPECT_EQ(Val("  12abc"), 12);
    EXPECT_EQ(Val("\t-3.5"), -3.5);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("5."), 5);
    EXPECT_EQ(Val("1e3"), 1000);
    EXPECT_EQ(Val("2E-2x"), 0.02);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("1e+"), 1);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("- 1"), 0);
    EXPECT_EQ(Val("1e999"), HUGE_VAL);
    EXPECT_EQ(Val("1e-999"), 0);
}

// Whole numbers print without decimals, others in their shortest exact form.
TEST_F(TextTest, StrPrintsNaturalForms) {
    EXPECT_EQ(Str(404.0), "404");
    EXPECT_EQ(Str(-3.0), "-3");
    EXPECT_EQ(Str(-0.0), "0");
    EXPECT_EQ(Str(0.5), "0.5");
    EXPECT_EQ(Str(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(Str(12), "12");
    EXPECT_EQ(Str(std::int64_t{-9007199254740993}), "-9007199254740993");
    EXPECT_EQ(Val(Str(1e20)), 1e20);
}

// Format pads '0' places, shows '#' places when needed and rounds half away from zero.
TEST_F(TextTest, FormatPlaceholdersAndRounding) {
    EXPECT_EQ(Format(1, "000000"), "000001");
    EXPECT_EQ(Format(123456, "000000"), "123456");
    EXPECT_EQ(Format(1234567, "000000"), "1234567");
    EXPECT_EQ(Format(0.4, "#"), "0");
    EXPECT_EQ(Format(1.5, "#"), "2");
    EXPECT_EQ(Format(2.5, "#"), "3");
    EXPECT_EQ(Format(-1.5, "#"), "-2");
    EXPECT_EQ(Format(-0.4, "#"), "0");
    EXPECT_EQ(Format(37.0, "#"), "37");
    EXPECT_EQ(Format(3.14159, "0.00"), "3.14");
    EXPECT_EQ(Format(2.5, "#.##"), "2.5");
    EXPECT_EQ(Format(2, "#.##"), "2");
    EXPECT_EQ(Format(2, "0.0#"), "2.0");
    EXPECT_EQ(Format(0.05, "0.0"), "0.1");
}

// Chr encodes a code point as UTF-8 and refuses values that are no character.
TEST_F(TextTest, ChrEncodesUtf8) {
    EXPECT_EQ(Chr(13), "\r");
    EXPECT_EQ(Chr(0xE9), "é");
    EXPECT_EQ(Chr(0x20AC), "€");
    EXPECT_EQ(Chr(0x1F600), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Chr(0xD800), "");
    EXPECT_EQ(Chr(0x110000), "");
    EXPECT_EQ(Len(Chr(0x1F600)), 1);
}

// Base64 is the standard alphabet with padding, broken into CR LF separated lines when asked.
TEST_F(TextTest, EncodeBase64StandardAndLineBreaks) {
    EXPECT_EQ(EncodeBase64("", 76), "");
    EXPECT_EQ(EncodeBase64("f", 76), "Zg==");
    EXPECT_EQ(EncodeBase64("fo", 76), "Zm8=");
    EXPECT_EQ(EncodeBase64("foobar", 76), "Zm9vYmFy");
    EXPECT_EQ(EncodeBase64(std::string("\xFB\xFF\x00", 3), 0), "+/8A");
    EXPECT_EQ(EncodeBase64(":", 76), "Og==");

    const std::string exactLine = EncodeBase64(std::string(57, 'a'), 76);
    EXPECT_EQ(exactLine.size(), 76u);
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
