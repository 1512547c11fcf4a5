// What the scan needs of the main window: its list, status line, scan control, pause flag, scope
// pop-up, end-of-scan sound and the scan state it holds. The main window implements it.
#pragma once

#include "checker/ScanRows.h"

#include <memory>
#include <string>

namespace quillfen {

class kritiskClass;

class ScanHost {
public:
    virtual ~ScanHost() = default;

    virtual ScanRows& Rows() = 0;
    // Sets the status line's text and redraws it.
    virtual void SetStatusText(const std::string& text) = 0;
    // The scan control's caption; setting it redraws the button.
    virtual std::string ScanCaption() const = 0;
    virtual void SetScanCaption(const std::string& caption) = 0;
    // The pause request.
    virtual bool StopIt() const = 0;
    virtual void SetStopIt(bool on) = 0;
    // The scope pop-up's index: 0 the whole list, otherwise the selection.
    virtual int ScopeIndex() const = 0;
    // The end-of-scan movie, played once.
    virtual void PlayGlass() = 0;
    // Redraws the whole window.
    virtual void Refresh() = 0;

    // The scan state the window holds now; null before the first scan. Results are handled through it.
    virtual kritiskClass* CurrentScan() = 0;
    // Replaces the scan state; the window owns it (and ends it when the window closes).
    virtual void SetCurrentScan(std::unique_ptr<kritiskClass> scan) = 0;
};

} // namespace quillfen
