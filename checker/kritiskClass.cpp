#include "checker/kritiskClass.h"

#include "app/Globals.h"
#include "checker/ScanHost.h"
#include "checker/WholeNumber.h"
#include "checker/threadClass.h"
#include "framework/System.h"
#include "framework/Text.h"

kritiskClass::kritiskClass(ScanHost& host) : host_(host) {}

kritiskClass::~kritiskClass() = default;

void kritiskClass::start() {
    ScanRows& rows = host_.Rows();
    scanNumber = -1;
    simultScanInteger = WholeNumber(quillfen::Globals::simultSocks);
    threadNo.clear();
    threadNo.resize(static_cast<std::size_t>(rows.ListCount()));
    scansTodo = host_.ScopeIndex() == 0 ? rows.ListCount() : rows.SelCount();
    currentThreads = 0;
    scanAntal = rows.ListCount();
    startDate = fw::TotalSeconds();
    doneChecking = false;
    checkBookies("start");
}

void kritiskClass::checkBookies(const std::string& /*s*/) {
    for (;;) {
        if (fw::UserCancelled() || host_.StopIt() || host_.ScanCaption() == "Resume")
            return;
        ++scanNumber;
        if (scanNumber >= scanAntal) {
            End();
            return;
        }
        if (!InScope(scanNumber))
            continue;
        Dispatch(scanNumber);
        // Checked after dispatching, so that a pool of 0 or less still acts as a pool of 1.
        if (currentThreads >= simultScanInteger)
            return;
    }
}

int kritiskClass::oneDone() {
    return ++scansCompleted;
}

threadClass* kritiskClass::worker(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= threadNo.size())
        return nullptr;
    return threadNo[static_cast<std::size_t>(row)].get();
}

bool kritiskClass::InScope(int row) const {
    const ScanRows& rows = host_.Rows();
    // The list may have been shortened since the start: rows past its end are passed over.
    if (row >= rows.ListCount())
        return false;
    return host_.ScopeIndex() == 0 || rows.Selected(row) || rows.CellCheck(row, 0);
}

void kritiskClass::Dispatch(int row) {
    ScanRows& rows = host_.Rows();
    rows.SetCell(row, ScanRows::kStatusColumn, "checking");
    rows.SetCell(row, ScanRows::kCodeColumn, "");
    // A row at or below the first row past the visible part becomes the top row; a visible one never moves.
    if (rows.DefaultRowHeight() > 0 &&
        rows.ScrollPosition() + double(rows.Height()) / rows.DefaultRowHeight() <= row)
        rows.SetScrollPosition(row);
    ++currentThreads;
    auto& slot = threadNo[static_cast<std::size_t>(row)];
    slot = std::make_unique<threadClass>(host_, *this, row);
    slot->Run();
    rows.Refresh();
}

void kritiskClass::End() {
    // Later results pass the end again; the sound belongs to the first time only.
    if (scanNumber == scanAntal)
        host_.PlayGlass();
    host_.SetScanCaption("Scan");
    host_.SetStatusText("Done");
    host_.Refresh();
    doneChecking = true;
}
