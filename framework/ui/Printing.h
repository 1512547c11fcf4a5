// Page setup, the print dialog and the printer's drawing surface, whose units are points (72 an inch).
#pragma once

#include "framework/ui/graphics/Graphics.h"

#include <memory>
#include <string>

namespace fw {

// Paper size, orientation and margins, carried as a setup string; fresh, it is the platform's default.
class PrinterSetup {
public:
    PrinterSetup();
    ~PrinterSetup();
    PrinterSetup(const PrinterSetup&) = delete;
    PrinterSetup& operator=(const PrinterSetup&) = delete;

    // "width=612;height=792;orientation=portrait;margins=18,18,18,18" (the paper upright, in points).
    std::string SetupString() const;
    // A text that is no usable setup string leaves the setup as it was.
    void SetSetupString(const std::string& setup);
    // Shows the page setup dialog; true when the user confirmed it.
    bool PageSetupDialog();
    // The printable area.
    int PageWidth() const;
    int PageHeight() const;
    // Sends the printout to a PDF file instead of a printer, as the print dialog's "print to file" does.
    void PrintToFile(const std::string& path);

    // The pages, copies and order the print dialog offers, set as the user sets them there.
    struct JobChoice {
        int fromPage = 0, toPage = 0; // from 1; 0 to 0 is every page
        int copies = 1;
        bool collate = true; // whole sets one after another, rather than each page's copies together
        bool lastPageFirst = false;
    };
    void SetJobChoice(const JobChoice& choice);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// A printout in progress, drawn onto the printable area of its current page; it ends when it is destroyed.
// When the print dialog chose a page range, the last page first or copies the printer does not make itself,
// every page is laid out first and the chosen ones go to the printer, in that order and number, at the end.
class PrinterGraphics : public Graphics {
public:
    ~PrinterGraphics();
    void NextPage();

    struct Job;
    explicit PrinterGraphics(std::unique_ptr<Job> job);

private:
    std::unique_ptr<Job> job_;
};

// Shows the print dialog for `setup`; nothing when the user cancels it or the printer cannot be started. A
// printout laid out first starts the printer only at its end, and then prints nothing if it cannot.
std::unique_ptr<PrinterGraphics> OpenPrinter(PrinterSetup& setup);

} // namespace fw
