// The one menu bar: File, Edit, Tools and Help, every item known by its name.
#pragma once

#include "framework/MenuBar.h"

namespace quillfen {

class Menu : public fw::MenuBar {
public:
    Menu();

    // The single instance, built on first use.
    static Menu& Instance();
    static void Release();

private:
    void Untitled0();
    void Untitled2();
    void Untitled3();
    void Untitled4();
};

} // namespace quillfen
