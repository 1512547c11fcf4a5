// Stands in for message boxes and file dialogs (every dialog is cancelled unless a test scripts an answer),
// and records beeps, messages, opened URLs, the file dialogs asked and the page setups offered.
#pragma once

#include "framework/ui/Modal.h"
#include "framework/ui/Printing.h"

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
    std::optional<std::string> SaveAsDialog(const std::string& title, const std::string& name) override {
        dialogsAsked.push_back(title + " / " + name);
        return saveAnswer;
    }
    std::optional<std::string> OpenDialog(const std::string& title) override {
        dialogsAsked.push_back(title);
        return openAnswer;
    }
    bool PageSetupDialog(fw::PrinterSetup& setup) override {
        pageSetupsOffered.push_back(setup.SetupString());
        if (pageSetupChoice)
            setup.SetSetupString(*pageSetupChoice);
        return pageSetupChoice.has_value();
    }
    bool PrintDialog(fw::PrinterSetup& setup) override {
        ++printDialogs;
        if (printToPdf)
            setup.PrintToFile(*printToPdf);
        return printToPdf.has_value();
    }

    // The setup string the user confirms ("" keeps what is offered); nothing cancels the page setup dialog.
    std::optional<std::string> pageSetupChoice;
    // The PDF file the print dialog prints to; nothing cancels it.
    std::optional<std::string> printToPdf;
    std::vector<std::string> pageSetupsOffered;
    // The paths the save and open dialogs return; nothing cancels them. Their titles as they were asked.
    std::optional<std::string> saveAnswer, openAnswer;
    std::vector<std::string> dialogsAsked;
    int printDialogs = 0;

    std::vector<std::string> messages;
    std::vector<std::string> urls;
    int beeps = 0;
};

} // namespace testsupport
