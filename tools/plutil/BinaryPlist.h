// The object table of a binary property list ("bplist00"), read in place: no tree is built, so a file
// costs no more memory than its bytes, and every offset, count and reference is checked against them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plutil {

class BinaryPlist {
public:
    enum class Kind { Boolean, Integer, Real, Date, Data, AsciiString, Utf16String, Uid, Array, Dict };

    struct Object {
        Kind kind = Kind::Boolean;
        std::uint64_t integer = 0; // Integer (the 64-bit pattern), Uid, Boolean (0 or 1)
        double real = 0;           // Real, Date
        std::string_view bytes;    // Data, strings (UTF-16 big-endian as stored)
        std::uint64_t count = 0;   // entries of an Array or Dict
        std::size_t refsAt = 0;    // where an Array's or Dict's references begin
    };

    // Nothing, with the reason, when the bytes are no binary property list or its table is out of range.
    static std::optional<BinaryPlist> Open(std::string_view bytes, std::string& error);

    std::uint64_t Top() const { return top_; }
    // Nothing, with the reason, when the object is damaged or of a kind the XML form cannot hold.
    std::optional<Object> At(std::uint64_t index, std::string& error) const;
    // The i-th reference of a container; a Dict's keys come first, then its values.
    std::uint64_t Ref(const Object& container, std::uint64_t i) const;

private:
    BinaryPlist(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Number(std::size_t at, unsigned width) const;

    std::string_view bytes_;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::uint64_t objects_ = 0;
    std::uint64_t top_ = 0;
    std::size_t table_ = 0; // the offset table; objects lie between the header and it
};

} // namespace plutil
