// The text functions the program's code is written against. A std::string holds UTF-8 bytes; character
// positions count code points, and every function whose name ends in B counts bytes instead.
// The non-B search, split and compare functions ignore letter case (Unicode simple case folding);
// the B forms compare bytes exactly.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Fields count from 1; a field that does not exist is "". An empty separator leaves one field.
std::string NthField(std::string_view s, std::string_view sep, std::int64_t n);
std::string NthFieldB(std::string_view s, std::string_view sep, std::int64_t n);
std::vector<std::string> Split(std::string_view s, std::string_view sep);
std::vector<std::string> SplitB(std::string_view s, std::string_view sep);
std::string Join(const std::vector<std::string>& fields, std::string_view sep);

// Position from 1 of the first match at or after start; 0 when absent or when find is empty.
std::int64_t InStr(std::string_view s, std::string_view find);
std::int64_t InStr(std::int64_t start, std::string_view s, std::string_view find);
std::int64_t InStrB(std::string_view s, std::string_view find);
std::int64_t InStrB(std::int64_t start, std::string_view s, std::string_view find);

// Character counts below 1 give ""; MidB's start counts from 1.
std::int64_t Len(std::string_view s);
std::string Left(std::string_view s, std::int64_t count);
std::string MidB(std::string_view s, std::int64_t start);
std::string MidB(std::string_view s, std::int64_t start, std::int64_t count);

// One case rule for equality and order: TextCompare(a, b) == 0 exactly when TextEquals(a, b).
bool TextEquals(std::string_view a, std::string_view b);
int TextCompare(std::string_view a, std::string_view b);

// The number that begins s (after blanks), or 0 when none does.
double Val(std::string_view s);
// Whole numbers without decimals, others in their shortest exact form.
std::string Str(double value);
std::string StrInteger(std::int64_t value);
template <std::integral T>
std::string Str(T value) {
    return StrInteger(static_cast<std::int64_t>(value));
}
// Understands the digit placeholders '0' (always shown) and '#' (shown when needed) with an optional
// '.' part; other characters are ignored. Rounds half away from zero. At least one integer digit is
// shown, so Format(0.4, "#") is "0".
std::string Format(double value, std::string_view format);

// The UTF-8 form of one code point; "" for a value that is no Unicode scalar value.
std::string Chr(std::uint32_t codePoint);
// Standard Base64 with padding, broken into lines of lineLength characters joined by CR LF (0: one line).
std::string EncodeBase64(std::string_view bytes, int lineLength);

// Wall-clock seconds since 1970-01-01 UTC.
double TotalSeconds();

} // namespace fw
