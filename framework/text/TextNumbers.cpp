// Numbers to and from text: Val, Str and Format. Locale-independent on purpose: Qt sets the C locale
// from the environment, and a decimal comma must never change what a stored number means.
#include "framework/text/Text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace fw {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

// Length of the number's text at the start of s (no sign): digits, one point, an exponent with digits.
std::size_t NumberLength(std::string_view s, bool& negativeExponent) {
    const std::size_t integerEnd = SkipDigits(s, 0);
    std::size_t end = integerEnd;
    std::size_t digits = integerEnd;
    if (end < s.size() && s[end] == '.') {
        end = SkipDigits(s, end + 1);
        digits += end - integerEnd - 1;
    }
    if (digits == 0)
        return 0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t k = end + 1;
        negativeExponent = k < s.size() && s[k] == '-';
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && IsDigit(s[k]))
            end = SkipDigits(s, k);
        else
            negativeExponent = false;
    }
    return end;
}

std::string FixedDigits(double wholeNumber) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, wholeNumber, std::chars_format::fixed, 0);
    return std::string(buffer, result.ptr);
}

} // namespace

double Val(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::string_view text = s.substr(i);
    bool negativeExponent = false;
    const std::size_t length = NumberLength(text, negativeExponent);
    if (length == 0)
        return 0;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + length, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view integerDigits = text.substr(0, SkipDigits(text, 0));
        const bool tiny = negativeExponent || integerDigits.find_first_not_of('0') == std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::string StrInteger(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Str(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return StrInteger(static_cast<std::int64_t>(value));
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Format(double value, std::string_view format) {
    if (!std::isfinite(value))
        return Str(value);
    const std::size_t dot = format.find('.');
    const std::string_view integerPart = format.substr(0, dot);
    const std::string_view fractionPart = dot == std::string_view::npos ? std::string_view{} : format.substr(dot + 1);
    const auto count = [](std::string_view part, std::string_view chars) {
        std::size_t n = 0;
        for (char c : part)
            n += chars.find(c) != std::string_view::npos ? 1 : 0;
        return n;
    };
    const std::size_t minIntegerDigits = std::max<std::size_t>(count(integerPart, "0"), 1);
    const std::size_t fractionDigits = count(fractionPart, "0#");
    const std::size_t minFractionDigits = count(fractionPart, "0");

    // std::round rounds half away from zero, as the format promises.
    const double scaled = std::round(std::fabs(value) * std::pow(10.0, static_cast<double>(fractionDigits)));
    std::string digits = FixedDigits(scaled);
    if (digits.size() < fractionDigits + minIntegerDigits)
        digits.insert(0, fractionDigits + minIntegerDigits - digits.size(), '0');
    std::string fraction = digits.substr(digits.size() - fractionDigits);
    while (fraction.size() > minFractionDigits && fraction.back() == '0')
        fraction.pop_back();

    std::string result = (value < 0 && scaled != 0) ? "-" : "";
    result += digits.substr(0, digits.size() - fractionDigits);
    if (!fraction.empty())
        result += "." + fraction;
    return result;
}

} // namespace fw
