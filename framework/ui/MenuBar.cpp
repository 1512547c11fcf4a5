#include "framework/ui/MenuBar.h"

namespace fw {

void MenuItem::Append(std::unique_ptr<MenuItem> item) { children_.push_back(std::move(item)); }

MenuItem* MenuItem::Child(const std::string& name) const {
    for (const auto& child : children_)
        if (child->Name == name)
            return child.get();
    return nullptr;
}

MenuItem* MenuItem::_Lookup(const std::string& name) const {
    for (const auto& child : children_) {
        if (child->Name == name)
            return child.get();
        if (MenuItem* found = child->_Lookup(name))
            return found;
    }
    return nullptr;
}

} // namespace fw
