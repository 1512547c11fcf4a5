// The object table of a binary property list ("bplist00"), read in place: no tree is built, so a file
// costs no more memory than its bytes, and every offset, count and reference is checked against them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plutil {

// One value of a property list as the XML writer takes it, whatever form the list was read from.
enum class Kind { Boolean, Integer, Real, Date, Data, String, Utf16String, Uid, Array, Dict };

struct PlistValue {
    Kind kind = Kind::Boolean;
    std::uint64_t integer = 0; // Integer (the 64-bit pattern), Uid, Boolean (0 or 1)
    bool unsignedInteger = false; // an Integer above 2^63-1
    double real = 0;           // Real, Date (seconds since 2001)
    std::string_view bytes;    // Data, String (bytes as stored), Utf16String (big-endian as stored)
    std::uint64_t count = 0;   // entries of an Array or Dict, code units of a Utf16String
    std::uintptr_t handle = 0; // where the source finds an Array's or Dict's entries
};

// A string's text as UTF-8; false for a NUL character, which no XML text can hold.
bool Utf8Text(const PlistValue& value, std::string& text);

class BinaryPlist {
public:
    using Ref = std::uint64_t;
    using Object = PlistValue;

    // Nothing, with the reason, when the bytes are no binary property list or its table is out of range.
    static std::optional<BinaryPlist> Open(std::string_view bytes, std::string& error);

    std::uint64_t Top() const { return top_; }
    // Nothing, with the reason, when the object is damaged or of a kind the XML form cannot hold.
    std::optional<Object> At(std::uint64_t index, std::string& error) const;
    // The references of an Array's items, in order.
    bool Items(const Object& array, std::vector<Ref>& items, std::string& error) const;
    // A Dict's keys as UTF-8 with the references of their values, in file order.
    bool Entries(const Object& dict, std::vector<std::pair<std::string, Ref>>& entries, std::string& error) const;

private:
    BinaryPlist(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Number(std::size_t at, unsigned width) const;
    // The i-th reference of a container; a Dict's keys come first, then its values.
    std::uint64_t RefAt(const Object& container, std::uint64_t i) const;

    std::string_view bytes_;
    unsigned offsetSize_ = 0;
    unsigned refSize_ = 0;
    std::uint64_t objects_ = 0;
    std::uint64_t top_ = 0;
    std::size_t table_ = 0; // the offset table; objects lie between the header and it
};

} // namespace plutil
