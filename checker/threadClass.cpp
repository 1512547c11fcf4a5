#include "checker/threadClass.h"

#include "app/Globals.h"
#include "checker/BrowserAddress.h"
#include "checker/ScanHost.h"
#include "checker/StatusText.h"
#include "checker/WholeNumber.h"
#include "checker/kritiskClass.h"
#include "checker/myHTTPClass.h"
#include "checker/timerClass.h"
#include "framework/text/Text.h"

namespace quillfen {

namespace {

// Holds a critical section for a scope.
class Held {
public:
    explicit Held(fw::CriticalSection& section) : section_(section) { section_.Enter(); }
    ~Held() { section_.Leave(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    fw::CriticalSection& section_;
};

} // namespace

threadClass::threadClass(ScanHost& host, kritiskClass& scan, int index, ScanRows::RowId id)
    : scanTransportThread(index), host_(host), scan_(scan), rowId_(id) {}

threadClass::~threadClass() = default;

void threadClass::Event_Run() {
    runHTTP();
}

void threadClass::runHTTP() {
    if (sem)
        return;
    timerNo = std::make_unique<timerClass>(*this, scanTransportThread);
    const int period = WholeNumber(fw::Val(Globals::timeOut) * 1000);
    const int row = host_.Rows().RowOf(rowId_);
    // A time-out of 0 or less has run out before any request could answer, and a bookmark that left
    // the list before its worker ran has nothing to check: the timer ends such a row at the next turn
    // of the event loop, and the scan goes on.
    const bool send = period > 0 && row >= 0;
    timerNo->SetPeriod(send ? period : 0);
    timerNo->SetMode(fw::Timer::ModeSingle);
    if (!send)
        return;

    pSocket = std::make_unique<myHTTPClass>(*this, scanTransportThread);
    if (Globals::proxyUse == "useProxy") {
        // One header line whatever the length of the credentials.
        pSocket->SetRequestHeader("Proxy-Authorization",
                                  "Basic " +
                                      fw::EncodeBase64(Globals::proxyUser + ":" + Globals::proxyPass, 0));
        pSocket->HTTPProxyAddress = Globals::proxyURL;
        pSocket->HTTPProxyPort = WholeNumber(Globals::proxyPort);
    }
    pSocket->Yield = false;
    pSocket->GetHeaders(quillfen::BrowserAddress(host_.Rows().Cell(row, ScanRows::kUrlColumn)));
}

void threadClass::endit(int code) {
    // A finished row keeps no worker, socket or timer: this worker is released when endit returns.
    const std::unique_ptr<threadClass> finished = scan_.release(scanTransportThread);
    if (pSocket)
        pSocket->Close();
    if (timerNo)
        timerNo->SetEnabled(false);
    if (const auto codeText = CodeCellText(code, Globals::timeOut, Globals::showOKcodes))
        WriteCell(ScanRows::kCodeColumn, *codeText);
    WriteCell(ScanRows::kStatusColumn, StatusText(code));

    const double now = fw::TotalSeconds();
    int checked = 0;
    {
        Held done(scan_.critDone);
        checked = scan_.oneDone();
    }
    if (!scan_.doneChecking)
        host_.SetStatusText(ProgressText(scan_.scansTodo, checked, now - scan_.startDate));
    Held check(scan_.critCheck);
    scan_.checkBookies("PSock");
}

void threadClass::TakeResult(int code) {
    if (!IsCurrent()) {
        Silence();
        return;
    }
    if (sem)
        return;
    sem = true;
    endit(code);
}

void threadClass::ShowProgress(const std::string& text) {
    if (!IsCurrent()) {
        Silence();
        return;
    }
    WriteCell(ScanRows::kStatusColumn, text);
}

bool threadClass::IsCurrent() const {
    const kritiskClass* current = host_.CurrentScan();
    return current == &scan_ && current->worker(scanTransportThread) == this;
}

void threadClass::Silence() {
    sem = true;
    if (pSocket)
        pSocket->Close();
    if (timerNo)
        timerNo->SetEnabled(false);
}

void threadClass::WriteCell(int column, const std::string& text) {
    ScanRows& rows = host_.Rows();
    const int row = rows.RowOf(rowId_);
    if (row >= 0)
        rows.SetCell(row, column, text);
}

} // namespace quillfen
