// Characters and Base64: the encodings the program builds by hand.
#include "framework/text/Text.h"

namespace fw {

std::string Chr(std::uint32_t codePoint) {
    std::string s;
    if (codePoint < 0x80) {
        s += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        s += static_cast<char>(0xC0 | (codePoint >> 6));
        s += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            return {};
        s += static_cast<char>(0xE0 | (codePoint >> 12));
        s += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= 0x10FFFF) {
        s += static_cast<char>(0xF0 | (codePoint >> 18));
        s += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return s;
}

std::string EncodeBase64(std::string_view bytes, int lineLength) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            encoded += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    if (lineLength <= 0)
        return encoded;
    const auto width = static_cast<std::size_t>(lineLength);
    std::string lines;
    for (std::size_t i = 0; i < encoded.size(); i += width) {
        if (i > 0)
            lines += "\r\n";
        lines.append(encoded, i, width);
    }
    return lines;
}

} // namespace fw
