// UTF-8 decoding and case-insensitive matching without allocation: these run over long lists.
#include "framework/text/Utf8.h"

#include <QChar>

namespace fw::utf8 {
namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

std::uint32_t AsciiLower(std::uint32_t c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

// Byte length of the character that begins at pos; 0 when s[pos] starts no well-formed sequence.
std::size_t SequenceLength(std::string_view s, std::size_t pos, std::uint32_t& value) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - pos < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[pos + k]);
        if (!IsContinuation(c))
            return 0;
        value = (value << 6) | (c & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < minimum || value > 0x10FFFF || surrogate)
        return 0;
    return length;
}

} // namespace

Char DecodeAt(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80)
        return {lead, 1};
    std::uint32_t value = 0;
    const std::size_t length = SequenceLength(s, pos, value);
    if (length == 0)
        return {kStrayByte + lead, 1};
    return {value, length};
}

std::uint32_t Fold(std::uint32_t value) {
    if (value < 0x80)
        return AsciiLower(value);
    if (value >= kStrayByte)
        return value;
    return QChar::toCaseFolded(static_cast<char32_t>(value));
}

std::int64_t CountChars(std::string_view s) {
    std::int64_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); pos += DecodeAt(s, pos).size)
        ++count;
    return count;
}

std::size_t OffsetOfChar(std::string_view s, std::int64_t index) {
    std::size_t pos = 0;
    for (std::int64_t i = 0; i < index && pos < s.size(); ++i)
        pos += DecodeAt(s, pos).size;
    return pos;
}

namespace {

// Byte length of the text in s at pos that equals find ignoring case; npos when it does not.
std::size_t FoldedMatchLength(std::string_view s, std::size_t pos, std::string_view find) {
    std::size_t i = pos;
    std::size_t j = 0;
    while (j < find.size()) {
        if (i >= s.size())
            return std::string_view::npos;
        const auto a = static_cast<unsigned char>(s[i]);
        const auto b = static_cast<unsigned char>(find[j]);
        if (a < 0x80 && b < 0x80) {
            if (AsciiLower(a) != AsciiLower(b))
                return std::string_view::npos;
            ++i, ++j;
            continue;
        }
        const Char ca = DecodeAt(s, i);
        const Char cb = DecodeAt(find, j);
        if (Fold(ca.value) != Fold(cb.value))
            return std::string_view::npos;
        i += ca.size, j += cb.size;
    }
    return i - pos;
}

} // namespace

Match FindFolded(std::string_view s, std::size_t from, std::string_view find) {
    for (std::size_t pos = from; pos < s.size(); pos += DecodeAt(s, pos).size) {
        const std::size_t length = FoldedMatchLength(s, pos, find);
        if (length != std::string_view::npos)
            return {pos, pos + length};
    }
    return kNoMatch;
}

Match FindBytes(std::string_view s, std::size_t from, std::string_view find) {
    const std::size_t pos = s.find(find, from);
    if (pos == std::string_view::npos)
        return kNoMatch;
    return {pos, pos + find.size()};
}

} // namespace fw::utf8
