// Modal services (message boxes, file, page setup and print dialogs), the beep and opening URLs: one seam
// that tests replace.
#pragma once

#include <optional>
#include <string>

namespace fw {

class PrinterSetup;

class ModalServices {
public:
    virtual ~ModalServices() = default;
    virtual void MsgBox(const std::string& text) = 0;
    virtual void Beep() = 0;
    virtual void ShowURL(const std::string& url) = 0;
    // POSIX path chosen by the user, or nothing when cancelled.
    virtual std::optional<std::string> SaveAsDialog(const std::string& title, const std::string& suggestedName) = 0;
    virtual std::optional<std::string> OpenDialog(const std::string& title) = 0;
    // The page setup and print dialogs change `setup` as the user chooses; true when the user confirmed.
    virtual bool PageSetupDialog(PrinterSetup& setup) = 0;
    virtual bool PrintDialog(PrinterSetup& setup) = 0;
};

// Replaces the services (tests); nullptr restores the platform's own.
void SetModalServices(ModalServices* services);
ModalServices& Modal();

void MsgBox(const std::string& text);
void Beep();
void ShowURL(const std::string& url);

} // namespace fw
