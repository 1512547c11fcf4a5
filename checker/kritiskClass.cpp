#include "checker/kritiskClass.h"

#include "app/Globals.h"
#include "checker/ScanHost.h"
#include "checker/WholeNumber.h"
#include "checker/threadClass.h"
#include "framework/text/Text.h"
#include "framework/ui/System.h"

namespace quillfen {

kritiskClass::kritiskClass(ScanHost& host) : host_(host) {}

kritiskClass::~kritiskClass() = default;

void kritiskClass::start() {
    ScanRows& rows = host_.Rows();
    scanNumber = -1;
    simultScanInteger = WholeNumber(quillfen::Globals::simultSocks);
    // Taken by identity, so that sorting, filtering or reloading cannot move a row past the cursor.
    const bool wholeList = host_.ScopeIndex() == 0;
    scope_.clear();
    for (int row = 0; row < rows.ListCount(); ++row)
        if (wholeList || rows.Selected(row) || rows.CellCheck(row, 0))
            scope_.push_back(rows.RowIdentity(row));
    threadNo.clear();
    threadNo.resize(scope_.size());
    scansTodo = wholeList ? rows.ListCount() : rows.SelCount();
    currentThreads = 0;
    inFlight_ = 0;
    scanAntal = static_cast<int>(scope_.size());
    startDate = fw::TotalSeconds();
    doneChecking = false;
    checkBookies("start");
}

void kritiskClass::checkBookies(const std::string& /*s*/) {
    for (;;) {
        if (fw::UserCancelled() || host_.StopIt() || host_.ScanCaption() == "Resume")
            return;
        if (scanNumber + 1 >= scanAntal) {
            scanNumber = scanAntal;
            // The scan is over only when its last request has ended.
            if (inFlight_ == 0 && !doneChecking)
                End();
            return;
        }
        ++scanNumber;
        const int row = host_.Rows().RowOf(scope_[static_cast<std::size_t>(scanNumber)]);
        if (row < 0) // the bookmark has left the list
            continue;
        Dispatch(scanNumber, row);
        // Checked after dispatching, so that a pool of 0 or less still acts as a pool of 1.
        if (currentThreads >= simultScanInteger)
            return;
    }
}

int kritiskClass::oneDone() {
    --inFlight_;
    return ++scansCompleted;
}

threadClass* kritiskClass::worker(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= threadNo.size())
        return nullptr;
    return threadNo[static_cast<std::size_t>(row)].get();
}

std::unique_ptr<threadClass> kritiskClass::release(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= threadNo.size())
        return nullptr;
    return std::move(threadNo[static_cast<std::size_t>(row)]);
}

void kritiskClass::Dispatch(int index, int row) {
    ScanRows& rows = host_.Rows();
    rows.SetCell(row, ScanRows::kStatusColumn, "checking");
    if (!rows.Cell(row, ScanRows::kCodeColumn).empty()) // most rows have no code yet: nothing to write
        rows.SetCell(row, ScanRows::kCodeColumn, "");
    // A row at or below the first row past the visible part becomes the top row; a visible one never moves.
    if (rows.DefaultRowHeight() > 0 &&
        rows.ScrollPosition() + double(rows.Height()) / rows.DefaultRowHeight() <= row)
        rows.SetScrollPosition(row);
    ++currentThreads;
    ++inFlight_;
    auto& slot = threadNo[static_cast<std::size_t>(index)];
    slot = std::make_unique<threadClass>(host_, *this, index, scope_[static_cast<std::size_t>(index)]);
    slot->Run();
}

void kritiskClass::End() {
    host_.PlayGlass();
    host_.SetScanCaption("Scan");
    host_.SetStatusText("Done");
    host_.Refresh();
    doneChecking = true;
}

} // namespace quillfen
