// A UTF-8 file is checked in place; the other encodings are converted once, before the reader sees them,
// so that the text written back under encoding="UTF-8" is UTF-8 indeed.
#include "tools/plutil/XmlText.h"

#include "framework/text/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plutil {
namespace {

enum class Encoding { Utf8, Utf16Le, Utf16Be, Latin1, Ascii };

bool Fail(std::string& error, std::string_view why) {
    error = why;
    return false;
}

std::string Upper(std::string_view s) {
    std::string up(s);
    std::transform(up.begin(), up.end(), up.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    return up;
}

// The encoding named in an XML declaration at the start of the text (after blanks, which the reader
// accepts there); empty when none is named.
std::string DeclaredEncoding(std::string_view text) {
    while (!text.empty() && IsXmlSpace(text.front()))
        text.remove_prefix(1);
    if (!text.starts_with("<?xml"))
        return {};
    const std::string_view decl = text.substr(0, text.find("?>"));
    const std::size_t name = decl.find("encoding");
    if (name == std::string_view::npos)
        return {};
    std::size_t at = decl.find_first_not_of(" \t\r\n", name + 8);
    if (at == std::string_view::npos || decl[at] != '=')
        return {};
    at = decl.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string_view::npos || (decl[at] != '"' && decl[at] != '\''))
        return {};
    const std::size_t end = decl.find(decl[at], at + 1);
    return end == std::string_view::npos ? std::string() : Upper(decl.substr(at + 1, end - at - 1));
}

bool Named(const std::string& name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// How many bytes from p on are printable ASCII, TAB, LF or CR, counted sixteen at a time where the machine
// can; at most the bytes that remain.
std::size_t PlainAsciiRun(const unsigned char* p, const unsigned char* end) {
    const unsigned char* const start = p;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(0x20), tab = _mm_set1_epi8('\t'), lf = _mm_set1_epi8('\n'),
                  cr = _mm_set1_epi8('\r');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i below = _mm_cmplt_epi8(v, space); // signed: bytes from 0x80 on are below it too
        const __m128i lineBreakOrTab =
            _mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        if (_mm_movemask_epi8(_mm_andnot_si128(lineBreakOrTab, below)) != 0)
            break;
        p += 16;
    }
#endif
    return static_cast<std::size_t>(p - start);
}

} // namespace

bool IsXmlText(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        p += PlainAsciiRun(p, end);
        if (p == end)
            break;
        const unsigned c = *p;
        if (c >= 0x20 && c < 0x80) {
            ++p;
            continue;
        }
        if (c < 0x80) {
            if (c != '\t' && c != '\n' && c != '\r')
                return false;
            ++p;
            continue;
        }
        const int length = c > 0xF4 ? 0 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (length == 0 || end - p < length)
            return false;
        std::uint32_t code = c & (0x3F >> (length - 1));
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        static constexpr std::array<std::uint32_t, 5> kLeast{0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[static_cast<std::size_t>(length)] || !IsXmlChar(code))
            return false;
        p += length;
    }
    return true;
}

bool Utf16ToXmlText(std::string_view bytes, bool littleEndian, std::string& out) {
    if (bytes.size() % 2 != 0)
        return false;
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]),
                   b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<std::uint32_t>(littleEndian ? b << 8 | a : a << 8 | b);
    };
    out.reserve(bytes.size() * 3 / 2);
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(++i) - 0xDC00);
        if (!IsXmlChar(code))
            return false; // a lone surrogate, or a character XML cannot hold
        out += fw::Chr(code);
    }
    return true;
}

namespace {

void FromLatin1(std::string_view bytes, std::string& out) {
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes)
        out += fw::Chr(static_cast<unsigned char>(c));
}

} // namespace

bool IsXmlChar(std::uint32_t code) {
    return code == '\t' || code == '\n' || code == '\r' || (code >= 0x20 && code < 0xD800) ||
           (code >= 0xE000 && code < 0xFFFE) || (code >= 0x10000 && code <= 0x10FFFF);
}

bool XmlUtf8Text(std::string_view file, std::string& converted, std::string_view& text, std::string& error) {
    Encoding marked = Encoding::Utf8;
    bool mark = true;
    if (file.starts_with("\xEF\xBB\xBF"))
        file.remove_prefix(3);
    else if (file.starts_with("\xFF\xFE") || file.starts_with("\xFE\xFF"))
        marked = file[0] == '\xFF' ? Encoding::Utf16Le : Encoding::Utf16Be;
    else
        mark = false;
    if (!mark &&
        (file.starts_with(std::string_view("<\0", 2)) || file.starts_with(std::string_view("\0<", 2))))
        return Fail(error, "UTF-16 without a byte-order mark, which is not supported");
    if (marked != Encoding::Utf8 && !Utf16ToXmlText(file.substr(2), marked == Encoding::Utf16Le, converted))
        return Fail(error, "not a property list, or a damaged one (not UTF-16 text)");
    text = marked == Encoding::Utf8 ? file : std::string_view(converted);

    const std::string declared = DeclaredEncoding(text);
    const bool utf8 = declared.empty() || Named(declared, {"UTF-8", "UTF8"});
    const bool utf16 = declared.starts_with("UTF-16");
    const bool contradicts =
        marked == Encoding::Utf8 ? utf16 || (mark && !utf8) : !declared.empty() && !utf16;
    if (contradicts)
        return Fail(error, "its declared encoding " + declared + " contradicts its byte-order mark or bytes");
    Encoding encoding = marked;
    if (marked == Encoding::Utf8 && !utf8) {
        if (Named(declared, {"ISO-8859-1", "ISO_8859-1", "LATIN1", "LATIN-1", "L1"}))
            encoding = Encoding::Latin1;
        else if (Named(declared, {"US-ASCII", "ASCII"}))
            encoding = Encoding::Ascii;
        else
            return Fail(error, "encoded as " + declared + ", which is not supported");
    }
    if (encoding == Encoding::Latin1) {
        FromLatin1(text, converted);
        text = converted;
    } else if (encoding == Encoding::Ascii &&
               std::any_of(text.begin(), text.end(), [](char c) { return c & 0x80; })) {
        return Fail(error, "not a property list, or a damaged one (not US-ASCII text as declared)");
    }
    if (!IsXmlText(text))
        return Fail(error,
                    "not a property list, or a damaged one (a byte that is no XML character in UTF-8)");
    return true;
}

} // namespace plutil
