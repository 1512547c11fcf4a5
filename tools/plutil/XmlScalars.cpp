// Forms as the Mac tool and Python's plistlib write and read them: integers in decimal or 0x hexadecimal,
// reals as strtod reads them (nan and infinities too), dates as "YYYY[-MM[-DD[THH[:MM[:SS]]]]]Z" in UTC,
// Base64 data with any whitespace between its characters.
#include "tools/plutil/XmlScalars.h"

#include "framework/text/Text.h"
#include "tools/plutil/XmlText.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace plutil {
namespace {

constexpr std::string_view kSpace = " \t\r\n";
// Seconds of 2001-01-01T00:00:00Z, counted from 1970.
constexpr std::int64_t kMacEpochOffset = 978307200;
// Years of more digits would overflow the seconds; the writer refuses far less.
constexpr int kMaxYearDigits = 9;

std::string_view Trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

bool Reference(std::string_view name, std::string& text) {
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, c] : kNamed) {
        if (name == entity) {
            text += c;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#')
        return false;
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t code = 0;
    for (const char c : digits) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0 || code > 0x10FFFF)
            return false;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (digits.empty() || !IsXmlChar(code))
        return false;
    text += fw::Chr(code);
    return true;
}

// Digits of `base` to the end of s, at most 2^64-1.
bool Magnitude(std::string_view s, unsigned base, std::uint64_t& value) {
    value = 0;
    if (s.empty())
        return false;
    for (const char c : s) {
        unsigned digit = base;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        if (digit >= base || value > (std::numeric_limits<std::uint64_t>::max() - digit) / base)
            return false;
        value = value * base + digit;
    }
    return true;
}

bool Integer(std::string_view s, PlistValue& value) {
    const bool negative = s.starts_with('-');
    if (negative || s.starts_with('+'))
        s.remove_prefix(1);
    const bool hex = s.starts_with("0x") || s.starts_with("0X");
    std::uint64_t magnitude = 0;
    if (!Magnitude(hex ? s.substr(2) : s, hex ? 16 : 10, magnitude))
        return false;
    constexpr std::uint64_t kSignedMax = std::numeric_limits<std::int64_t>::max();
    if (negative && magnitude > kSignedMax + 1)
        return false;
    value.integer = negative ? 0 - magnitude : magnitude;
    value.unsignedInteger = !negative && magnitude > kSignedMax;
    return true;
}

bool Real(std::string_view s, double& real) {
    const std::string text(s); // strtod needs the terminating NUL
    char* end = nullptr;
    real = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (Howard Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool Date(std::string_view s, double& seconds) {
    if (!s.ends_with('Z'))
        return false;
    s.remove_suffix(1);
    const bool bc = s.starts_with('-');
    if (bc)
        s.remove_prefix(1);
    const std::size_t yearDigits = std::min(s.find('-'), s.size());
    std::uint64_t year = 0;
    if (yearDigits < 4 || yearDigits > kMaxYearDigits || !Magnitude(s.substr(0, yearDigits), 10, year))
        return false;
    s.remove_prefix(yearDigits);
    // The parts after the year, each two digits after its separator: month, day, hour, minute, second.
    static constexpr char kSeparators[] = "--T::";
    static constexpr unsigned kLeast[] = {1, 1, 0, 0, 0};
    unsigned parts[] = {1, 1, 0, 0, 0};
    for (std::size_t i = 0; i < 5 && !s.empty(); ++i) {
        std::uint64_t part = 0;
        if (s.size() < 3 || s[0] != kSeparators[i] || !Magnitude(s.substr(1, 2), 10, part) ||
            part < kLeast[i])
            return false;
        parts[i] = static_cast<unsigned>(part);
        s.remove_prefix(3);
    }
    const auto y = bc ? -static_cast<std::int64_t>(year) : static_cast<std::int64_t>(year);
    const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
    static constexpr unsigned kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!s.empty() || parts[0] > 12 || parts[1] > kMonthDays[parts[0] - 1] + (parts[0] == 2 && leap) ||
        parts[2] > 23 || parts[3] > 59 || parts[4] > 59)
        return false;
    const std::int64_t days = DaysFromCivil(y, parts[0], parts[1]);
    seconds =
        static_cast<double>(days * 86400 + parts[2] * 3600 + parts[3] * 60 + parts[4] - kMacEpochOffset);
    return true;
}

// Each byte's worth as a Base64 digit, or what else it is.
constexpr unsigned char kSkip = 64, kPad = 65, kBad = 66;
constexpr std::array<unsigned char, 256> kBase64 = [] {
    std::array<unsigned char, 256> table{};
    table.fill(kBad);
    constexpr std::string_view digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < digits.size(); ++i)
        table[static_cast<unsigned char>(digits[i])] = static_cast<unsigned char>(i);
    for (const char c : kSpace)
        table[static_cast<unsigned char>(c)] = kSkip;
    table['='] = kPad;
    return table;
}();

// Padding is optional, but nothing follows it. The decoded bytes are the first `length` of `bytes`, which
// only ever grows: a buffer used again is not cleared again.
bool Base64(std::string_view s, std::string& bytes, std::size_t& length) {
    bytes.resize(std::max(bytes.size(), s.size() / 4 * 3 + 3));
    char* out = bytes.data();
    std::uint32_t group = 0;
    int digits = 0;
    int padding = 0;
    for (const char c : s) {
        const unsigned digit = kBase64[static_cast<unsigned char>(c)];
        if (digit < kSkip && padding == 0) {
            group = group << 6 | digit;
            if (++digits == 4) {
                *out++ = static_cast<char>(group >> 16);
                *out++ = static_cast<char>(group >> 8 & 0xFF);
                *out++ = static_cast<char>(group & 0xFF);
                digits = 0;
            }
        } else if (digit == kPad && digits + padding >= 2 && digits + padding < 4) {
            ++padding;
        } else if (digit != kSkip) {
            return false;
        }
    }
    if (digits == 1)
        return false;
    if (digits >= 2)
        *out++ = static_cast<char>(group >> (digits == 2 ? 4 : 10));
    if (digits == 3)
        *out++ = static_cast<char>(group >> 2 & 0xFF);
    length = static_cast<std::size_t>(out - bytes.data());
    return padding == 0 || digits + padding == 4;
}

} // namespace

bool DecodeContent(std::string_view content, std::string& text) {
    text.clear();
    // The next '&' and '<', each looked for again only once passed, so that many of one cost no rescans.
    std::size_t amp = content.find('&'), lt = content.find('<');
    for (std::size_t at = 0; at < content.size();) {
        if (amp < at)
            amp = content.find('&', at);
        if (lt < at)
            lt = content.find('<', at);
        const std::size_t special = std::min(amp, lt);
        text.append(content.substr(at, special - at));
        if (special == std::string_view::npos)
            break;
        const std::string_view rest = content.substr(special);
        std::string_view close = ";";
        if (rest.starts_with("<![CDATA["))
            close = "]]>";
        else if (rest.starts_with("<!--"))
            close = "-->";
        else if (rest.starts_with("<?"))
            close = "?>";
        else if (rest[0] == '<')
            return false;
        const std::size_t end = rest.find(close);
        if (end == std::string_view::npos)
            return false;
        if (close == ";" && !Reference(rest.substr(1, end - 1), text))
            return false;
        if (close == "]]>")
            text.append(rest.substr(9, end - 9));
        at = special + end + close.size();
    }
    return true;
}

bool ParseScalar(std::string_view text, PlistValue& value, std::string& bytes) {
    switch (value.kind) {
    case Kind::Integer:
        return Integer(Trimmed(text), value);
    case Kind::Real:
        return Real(Trimmed(text), value.real);
    case Kind::Date:
        return Date(Trimmed(text), value.real);
    case Kind::Data: {
        std::size_t length = 0;
        if (!Base64(text, bytes, length))
            return false;
        value.bytes = std::string_view(bytes).substr(0, length);
        return true;
    }
    default:
        return false;
    }
}

} // namespace plutil
