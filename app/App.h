// The application object and its three menu commands (New, About, Preferences).
#pragma once

#include "framework/ui/Application.h"

namespace quillfen {

class AppClass : public fw::Application {
public:
    bool _FileNew_Action();
    bool _AppleAboutSafariLindquay_Action();
    bool _EditPreferences_Action();

protected:
    void Event_Open() override;
};

class App : public AppClass {
public:
    // The registered application object.
    static App& Instance();
};

} // namespace quillfen
