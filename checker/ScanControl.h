// The scan control's press: its caption is the scan's state ("Scan" idle, "Cancel" running, "Resume"
// paused).
#pragma once

namespace quillfen {

class ScanHost;

// "Scan" starts a new scan from the first row, "Cancel" pauses, "Resume" goes on after the last row
// handed out and refills the pool with the next result.
void PressScanControl(ScanHost& host);

} // namespace quillfen
