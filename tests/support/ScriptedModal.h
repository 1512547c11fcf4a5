// Stands in for message boxes and file dialogs and records what they were asked. Every dialog is cancelled
// unless a test scripts its answer: the path a save or open dialog returns, the setup string a page setup
// confirms ("" keeps what is offered), the PDF file the print dialog prints to and the pages, copies and
// order chosen there.
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
        if (printToPdf) {
            setup.PrintToFile(*printToPdf);
            setup.SetJobChoice(printChoice);
        }
        return printToPdf.has_value();
    }

    std::optional<std::string> saveAnswer, openAnswer, pageSetupChoice, printToPdf;
    fw::PrinterSetup::JobChoice printChoice;
    std::vector<std::string> dialogsAsked, pageSetupsOffered, messages, urls;
    int printDialogs = 0, beeps = 0;
};

} // namespace testsupport
