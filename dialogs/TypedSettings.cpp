#include "dialogs/TypedSettings.h"

#include "framework/ui/Modal.h"

namespace quillfen {

bool Storable(std::initializer_list<TypedSetting> settings) {
    for (const TypedSetting& setting : settings) {
        if (setting.text.find('*') != std::string::npos) {
            fw::MsgBox("\"*\" cannot be stored in the preferences. Please remove it from \"" + setting.label +
                       "\".");
            return false;
        }
    }
    return true;
}

} // namespace quillfen
