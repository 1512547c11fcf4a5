#include "checker/BrowserAddress.h"

#include "framework/text/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace quillfen {
namespace {

// The text one reference at the start of `s` ("&amp;", "&#38;", "&#x26;") stands for, and its length;
// a length of 0 when `s` begins no reference we can decode, so the "&" stays as written.
std::pair<std::string, std::size_t> DecodeReference(std::string_view s) {
    const std::size_t end = s.find(';');
    if (end == std::string_view::npos || end < 2)
        return {{}, 0};
    const std::string_view name = s.substr(1, end - 1);
    constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kEntities{
        {{"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}}};
    for (const auto& [entity, text] : kEntities)
        if (name == entity)
            return {std::string(text), end + 1};
    if (name[0] != '#')
        return {{}, 0};
    const bool hex = name.size() > 1 && name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t codePoint = 0;
    // Eight digits reach past the last code point already; more could only overflow.
    if (digits.empty() || digits.size() > 8)
        return {{}, 0};
    const auto [stop, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), codePoint, hex ? 16 : 10);
    if (error != std::errc() || stop != digits.data() + digits.size() || codePoint == 0)
        return {{}, 0};
    std::string text = fw::Chr(codePoint);
    return {text, text.empty() ? 0 : end + 1};
}

std::string DecodeXml(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '&') {
            auto [text, length] = DecodeReference(s.substr(i));
            if (length > 0) {
                out += text;
                i += length;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

// Controls and blanks, which would split a request line anywhere.
bool IsControlOrBlank(unsigned char byte) {
    return byte <= 0x20 || byte == 0x7F;
}

// In the path and query, besides those, non-ASCII bytes and the characters a browser never sends bare.
bool NeedsEscape(unsigned char byte) {
    return IsControlOrBlank(byte) || byte >= 0x80 || byte == '"' || byte == '<' || byte == '>';
}

void AppendEscaped(std::string& out, std::string_view text, bool (*needsEscape)(unsigned char)) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
}

} // namespace

std::string BrowserAddress(std::string_view url) {
    std::string decoded = DecodeXml(url);
    decoded = decoded.substr(0, decoded.find('#'));

    // Before the path only what would split a request line is escaped: a browser looks up a non-ASCII
    // host name as it is. The path begins at the first "/" or "?" after the host.
    const std::size_t scheme = decoded.find("://");
    const std::size_t hostStart = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t pathStart =
        std::min(scheme == std::string::npos ? 0 : decoded.find_first_of("/?", hostStart), decoded.size());
    const std::string_view text = decoded;
    std::string out;
    AppendEscaped(out, text.substr(0, pathStart), IsControlOrBlank);
    if (scheme != std::string::npos && text.substr(pathStart).starts_with('?'))
        out += '/';
    AppendEscaped(out, text.substr(pathStart), NeedsEscape);
    return out;
}

} // namespace quillfen
