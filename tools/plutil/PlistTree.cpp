#include "tools/plutil/PlistTree.h"

#include <cstdlib>
#include <memory>

namespace plutil {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

plist_t Node(std::uintptr_t handle) {
    return reinterpret_cast<plist_t>(handle);
}

} // namespace

std::optional<PlistValue> PlistTree::At(Ref node, std::string& error) const {
    PlistValue value;
    value.handle = reinterpret_cast<std::uintptr_t>(node);
    const plist_type type = plist_get_node_type(node);
    switch (type) {
    case PLIST_BOOLEAN:
        value.kind = Kind::Boolean;
        value.integer = plist_bool_val_is_true(node) ? 1 : 0;
        return value;
    case PLIST_UINT:
    case PLIST_UID:
        value.kind = type == PLIST_UINT ? Kind::Integer : Kind::Uid;
        (type == PLIST_UINT ? plist_get_uint_val : plist_get_uid_val)(node, &value.integer);
        return value;
    case PLIST_REAL:
        value.kind = Kind::Real;
        plist_get_real_val(node, &value.real);
        return value;
    case PLIST_DATE: {
        // Whole seconds: libplist keeps the fraction unsigned, so before 2001 its sign is lost.
        std::int32_t sec = 0;
        std::int32_t usec = 0;
        plist_get_date_val(node, &sec, &usec);
        value.kind = Kind::Date;
        value.real = sec;
        return value;
    }
    case PLIST_DATA:
    case PLIST_STRING: {
        const bool data = type == PLIST_DATA;
        std::uint64_t length = 0;
        const char* bytes = data ? plist_get_data_ptr(node, &length) : plist_get_string_ptr(node, &length);
        value.kind = data ? Kind::Data : Kind::String;
        value.bytes = bytes ? std::string_view(bytes, length) : std::string_view();
        return value;
    }
    case PLIST_ARRAY:
    case PLIST_DICT:
        value.kind = type == PLIST_ARRAY ? Kind::Array : Kind::Dict;
        value.count = type == PLIST_ARRAY ? plist_array_get_size(node) : plist_dict_get_size(node);
        return value;
    case PLIST_KEY:
    case PLIST_NONE:
        break;
    }
    error = "unsupported value in property list";
    return std::nullopt;
}

bool PlistTree::Items(const Object& array, std::vector<Ref>& items, std::string&) const {
    items.clear();
    plist_array_iter raw = nullptr;
    plist_array_new_iter(Node(array.handle), &raw);
    const std::unique_ptr<void, FreeDeleter> iter(raw);
    for (plist_t item = nullptr;;) {
        plist_array_next_item(Node(array.handle), raw, &item);
        if (!item)
            return true;
        items.push_back(item);
    }
}

bool PlistTree::Entries(const Object& dict, std::vector<std::pair<std::string, Ref>>& entries,
                        std::string&) const {
    entries.clear();
    plist_dict_iter raw = nullptr;
    plist_dict_new_iter(Node(dict.handle), &raw);
    const std::unique_ptr<void, FreeDeleter> iter(raw);
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(Node(dict.handle), raw, &rawKey, &value);
        const std::unique_ptr<char, FreeDeleter> key(rawKey);
        if (!value)
            return true;
        entries.emplace_back(key ? key.get() : "", value);
    }
}

} // namespace plutil
