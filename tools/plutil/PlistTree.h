// A property list parsed by libplist, seen as the XML writer sees a binary one. Children are reached by
// iterators: libplist's indexed access walks its list from the start for every item.
#pragma once

#include "tools/plutil/BinaryPlist.h"

#include <plist/plist.h>

namespace plutil {

class PlistTree {
public:
    using Ref = plist_t;
    using Object = PlistValue;

    explicit PlistTree(plist_t root) : root_(root) {}

    Ref Top() const { return root_; }
    std::optional<Object> At(Ref node, std::string& error) const;
    bool Items(const Object& array, std::vector<Ref>& items, std::string& error) const;
    bool Entries(const Object& dict, std::vector<std::pair<std::string, Ref>>& entries, std::string& error) const;

private:
    plist_t root_;
};

} // namespace plutil
