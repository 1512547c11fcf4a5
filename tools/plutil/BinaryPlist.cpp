// Layout: "bplist00", the objects, a table of their offsets, and a 32-byte trailer with the table's
// geometry. An object starts with a marker byte: its kind in the high half, its size or count in the low.
#include "tools/plutil/BinaryPlist.h"

#include "tools/plutil/XmlText.h"

#include <algorithm>
#include <bit>

namespace plutil {
namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;

bool Fail(std::string& error, std::string_view why) {
    error = why;
    return false;
}

} // namespace

bool Utf8Text(const PlistValue& value, std::string& text) {
    if (value.kind != Kind::Utf16String) {
        if (!IsXmlText(value.bytes))
            return false;
        text.assign(value.bytes);
        return true;
    }
    text.clear();
    return Utf16ToXmlText(value.bytes, false, text);
}

std::uint64_t BinaryPlist::Number(std::size_t at, unsigned width) const {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < width; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes_[at + i]);
    return value;
}

std::optional<BinaryPlist> BinaryPlist::Open(std::string_view bytes, std::string& error) {
    if (!bytes.starts_with(kMagic) || bytes.size() < kMagic.size() + 1 + kTrailerSize) {
        error = "not a binary property list";
        return std::nullopt;
    }
    BinaryPlist plist(bytes);
    const std::size_t trailer = bytes.size() - kTrailerSize;
    plist.offsetSize_ = static_cast<unsigned char>(bytes[trailer + 6]);
    plist.refSize_ = static_cast<unsigned char>(bytes[trailer + 7]);
    plist.objects_ = plist.Number(trailer + 8, 8);
    plist.top_ = plist.Number(trailer + 16, 8);
    const std::uint64_t table = plist.Number(trailer + 24, 8);
    const bool sane = plist.offsetSize_ >= 1 && plist.offsetSize_ <= 8 && plist.refSize_ >= 1 &&
                      plist.refSize_ <= 8 && plist.top_ < plist.objects_ && table >= kMagic.size() &&
                      table <= trailer && plist.objects_ <= (trailer - table) / plist.offsetSize_;
    if (!sane) {
        error = "damaged binary property list (its offset table is out of range)";
        return std::nullopt;
    }
    plist.table_ = static_cast<std::size_t>(table);
    return plist;
}

std::uint64_t BinaryPlist::RefAt(const Object& container, std::uint64_t i) const {
    return Number(container.handle + static_cast<std::size_t>(i) * refSize_, refSize_);
}

bool BinaryPlist::Items(const Object& array, std::vector<Ref>& items, std::string&) const {
    items.clear();
    items.reserve(static_cast<std::size_t>(array.count));
    for (std::uint64_t i = 0; i < array.count; ++i)
        items.push_back(RefAt(array, i));
    return true;
}

bool BinaryPlist::Entries(const Object& dict, std::vector<std::pair<std::string, Ref>>& entries,
                          std::string& error) const {
    // No writer gives one key object twice in a dictionary; entries that all name one long key would
    // copy it once each. Keys are told apart by where they start, before any is copied.
    std::vector<std::size_t> starts;
    starts.reserve(static_cast<std::size_t>(dict.count));
    for (std::uint64_t i = 0; i < dict.count; ++i) {
        const std::optional<std::size_t> at = Offset(RefAt(dict, i), error);
        if (!at)
            return false;
        starts.push_back(*at);
    }
    std::sort(starts.begin(), starts.end());
    if (std::adjacent_find(starts.begin(), starts.end()) != starts.end())
        return Fail(error, "damaged binary property list (a dictionary gives one key twice)");

    entries.clear();
    entries.reserve(static_cast<std::size_t>(dict.count));
    std::uint64_t copied = 0;
    for (std::uint64_t i = 0; i < dict.count; ++i) {
        const std::optional<Object> key = At(RefAt(dict, i), error);
        if (!key)
            return false;
        if (key->kind != Kind::String && key->kind != Kind::Utf16String)
            return Fail(error, "damaged binary property list (a dictionary key is not a string)");
        // Keys that start apart but overlap could still copy the file many times over.
        copied += key->bytes.size();
        if (copied > bytes_.size())
            return Fail(error, "damaged binary property list (dictionary keys overlap)");
        std::string text;
        if (!Utf8Text(*key, text))
            return Fail(error, "a dictionary key " + std::string(kNoXmlText));
        entries.emplace_back(std::move(text), RefAt(dict, dict.count + i));
    }
    return true;
}

std::optional<std::size_t> BinaryPlist::Offset(std::uint64_t index, std::string& error) const {
    if (index >= objects_) {
        Fail(error, "damaged binary property list (a reference is out of range)");
        return std::nullopt;
    }
    const std::uint64_t at = Number(table_ + static_cast<std::size_t>(index) * offsetSize_, offsetSize_);
    if (at < kMagic.size() || at >= table_) {
        Fail(error, "damaged binary property list (an offset is out of range)");
        return std::nullopt;
    }
    return static_cast<std::size_t>(at);
}

std::optional<BinaryPlist::Object> BinaryPlist::At(std::uint64_t index, std::string& error) const {
    const std::optional<std::size_t> at = Offset(index, error);
    if (!at)
        return std::nullopt;
    std::size_t pos = *at;
    const auto left = [&] { return table_ - pos; };
    const unsigned marker = static_cast<unsigned char>(bytes_[pos++]);
    const unsigned type = marker >> 4;
    const unsigned info = marker & 0xF;
    const auto damaged = [&](std::string_view what) {
        Fail(error, "damaged binary property list (" + std::string(what) + ")");
        return std::nullopt;
    };

    // A count of 15 or more follows the marker as an integer object.
    std::uint64_t count = info;
    const bool counted = type == 0x4 || type == 0x5 || type == 0x6 || type == 0xA || type == 0xD;
    if (counted && info == 0xF) {
        if (left() < 1)
            return damaged("a count is cut off");
        const unsigned countMarker = static_cast<unsigned char>(bytes_[pos++]);
        const unsigned width = 1u << (countMarker & 0xF);
        if (countMarker >> 4 != 0x1 || width > 8 || left() < width)
            return damaged("a count is damaged");
        count = Number(pos, width);
        pos += width;
    }

    Object object;
    const auto payload = [&](std::uint64_t unit) {
        if (count > left() / unit)
            return false;
        object.bytes = bytes_.substr(pos, static_cast<std::size_t>(count * unit));
        object.count = count;
        object.handle = pos;
        return true;
    };
    switch (type) {
    case 0x0:
        if (info != 0x8 && info != 0x9)
            break;
        object.kind = Kind::Boolean;
        object.integer = info == 0x9;
        return object;
    case 0x1: {
        // Eight bytes hold a signed value, fewer an unsigned one. Sixteen bytes are a signed 128-bit value,
        // which writers use for 2^63 to 2^64-1; beyond 64 bits nothing can be written back unchanged.
        const unsigned width = 1u << info;
        if (width > 16 || left() < width)
            return damaged("an integer is cut off");
        object.kind = Kind::Integer;
        object.integer = Number(pos + (width > 8 ? width - 8 : 0), width > 8 ? 8 : width);
        object.unsignedInteger = width < 8;
        if (width == 16) {
            const std::uint64_t high = Number(pos, 8);
            const bool negative = static_cast<std::int64_t>(object.integer) < 0;
            if (high != 0 && !(high == ~std::uint64_t{0} && negative)) {
                Fail(error, "an integer needs more than 64 bits");
                return std::nullopt;
            }
            object.unsignedInteger = high == 0;
        }
        return object;
    }
    case 0x2:
    case 0x3: {
        const unsigned width = 1u << info;
        if ((type == 0x2 && width != 4 && width != 8) || (type == 0x3 && width != 8) || left() < width)
            return damaged("a number is cut off");
        const std::uint64_t bits = Number(pos, width);
        object.kind = type == 0x2 ? Kind::Real : Kind::Date;
        object.real = width == 4 ? std::bit_cast<float>(static_cast<std::uint32_t>(bits))
                                 : std::bit_cast<double>(bits);
        return object;
    }
    case 0x4:
    case 0x5:
    case 0x6:
        object.kind = type == 0x4 ? Kind::Data : type == 0x5 ? Kind::String : Kind::Utf16String;
        if (!payload(type == 0x6 ? 2 : 1))
            return damaged("a string or data is cut off");
        return object;
    case 0x8:
        if (info >= 8 || left() < info + 1u)
            return damaged("a UID is cut off");
        object.kind = Kind::Uid;
        object.integer = Number(pos, info + 1);
        return object;
    case 0xA:
    case 0xD:
        object.kind = type == 0xA ? Kind::Array : Kind::Dict;
        if (!payload(refSize_ * (type == 0xD ? 2u : 1u)))
            return damaged("a container is cut off");
        return object;
    default:
        break;
    }
    Fail(error, "unsupported object in binary property list");
    return std::nullopt;
}

} // namespace plutil
