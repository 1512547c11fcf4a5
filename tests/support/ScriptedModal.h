// Stands in for message boxes and file dialogs (every dialog is cancelled), and records beeps, messages and
// opened URLs.
#pragma once

#include "framework/Modal.h"

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedModal : public fw::ModalServices {
public:
    ScriptedModal() { fw::SetModalServices(this); }
    ~ScriptedModal() override { fw::SetModalServices(nullptr); }

    void MsgBox(const std::string& text) override { messages.push_back(text); }
    void Beep() override { ++beeps; }
    void ShowURL(const std::string& url) override { urls.push_back(url); }
    std::optional<std::string> SaveAsDialog(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> OpenDialog(const std::string&) override { return {}; }

    std::vector<std::string> messages;
    std::vector<std::string> urls;
    int beeps = 0;
};

} // namespace testsupport
