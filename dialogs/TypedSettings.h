// Texts the user types into the settings windows, checked before they are stored: the preferences record
// separates its fields with "*" and has no escape for it, so a "*" would split a field in two.
#pragma once

#include <initializer_list>
#include <string>

namespace quillfen {

struct TypedSetting {
    std::string label;
    std::string text;
};

// False when a text holds a "*", after telling the user which field it is in.
bool Storable(std::initializer_list<TypedSetting> settings);

} // namespace quillfen
