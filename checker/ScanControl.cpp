#include "checker/ScanControl.h"

#include "checker/ScanHost.h"
#include "checker/kritiskClass.h"

#include <memory>

namespace quillfen {

void PressScanControl(ScanHost& host) {
    const std::string caption = host.ScanCaption();
    if (caption == "Scan") {
        host.SetScanCaption("Cancel");
        host.SetStopIt(false);
        auto scan = std::make_unique<kritiskClass>(host);
        kritiskClass& started = *scan;
        host.SetCurrentScan(std::move(scan));
        started.start();
    } else if (caption == "Resume") {
        host.SetScanCaption("Cancel");
        host.SetStopIt(false);
        if (kritiskClass* scan = host.CurrentScan()) {
            scan->checkBookies("start");
            // After the call: this one dispatches a single row, the next result a full pool.
            scan->currentThreads = 0;
        }
    } else if (caption == "Cancel") {
        host.SetStopIt(true);
        host.SetScanCaption("Resume");
    }
}

} // namespace quillfen
