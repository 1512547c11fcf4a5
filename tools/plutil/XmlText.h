// The text of an XML property list as UTF-8, whatever encoding its byte-order mark or declaration names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plutil {

// `text` is the file's bytes themselves when they are UTF-8 already (a UTF-8 byte-order mark dropped),
// else `converted`, which holds them in UTF-8: UTF-16 with a byte-order mark, ISO-8859-1 and US-ASCII as
// declared. False, with the reason, for any other encoding, a declaration that contradicts the mark, or
// bytes that are not characters of the encoding or of XML.
bool XmlUtf8Text(std::string_view file, std::string& converted, std::string_view& text, std::string& error);

// Whether UTF-8 bytes are characters an XML 1.0 document may hold, and nothing else: no control character
// but TAB, LF and CR, no surrogate, no overlong form, nothing past U+10FFFF, no U+FFFE or U+FFFF.
bool IsXmlText(std::string_view utf8);
// UTF-16 bytes appended to `out` as UTF-8; false for an odd count, an unpaired surrogate or a character
// XML cannot hold.
bool Utf16ToXmlText(std::string_view bytes, bool littleEndian, std::string& out);
// Whether a code point is a character an XML 1.0 document may hold.
bool IsXmlChar(std::uint32_t code);

inline bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace plutil
