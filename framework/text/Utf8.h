// UTF-8 walking and case folding shared by the text functions. Internal to the framework.
// Bytes that do not start a well-formed sequence count as one character each, so every byte string
// has a character count and invalid bytes only ever match themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fw::utf8 {

struct Char {
    std::uint32_t value; // the code point, or kStrayByte + the byte for a byte outside any sequence
    std::size_t size;    // bytes taken
};

inline constexpr std::uint32_t kStrayByte = 0x110000;

Char DecodeAt(std::string_view s, std::size_t pos);
// Unicode simple case folding; stray bytes fold to themselves.
std::uint32_t Fold(std::uint32_t value);

std::int64_t CountChars(std::string_view s);
// Byte offset of the character with the given index from 0; s.size() when s is shorter.
std::size_t OffsetOfChar(std::string_view s, std::int64_t index);

struct Match {
    std::size_t begin;
    std::size_t end;
    bool found() const { return begin != std::string_view::npos; }
};
inline constexpr Match kNoMatch{std::string_view::npos, std::string_view::npos};

// First occurrence of a non-empty find in s at or after byte offset from (a character boundary).
using Finder = Match (*)(std::string_view s, std::size_t from, std::string_view find);
Match FindFolded(std::string_view s, std::size_t from, std::string_view find);
Match FindBytes(std::string_view s, std::size_t from, std::string_view find);

} // namespace fw::utf8
