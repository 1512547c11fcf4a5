// The check worker of one dispatched row. Its thread body only arms the row's time-out and sends the
// HEAD request; the result arrives later on the event loop, from the timer or the socket.
#pragma once

#include "checker/ScanRows.h"
#include "framework/runtime/Thread.h"

#include <memory>
#include <string>

namespace quillfen {

class ScanHost;
class kritiskClass;
class myHTTPClass;
class timerClass;

class threadClass : public fw::Thread {
public:
    // index is the scan's cursor index of the bookmark `id`.
    threadClass(ScanHost& host, kritiskClass& scan, int index, ScanRows::RowId id);
    ~threadClass() override;

    void runHTTP();
    // The row's result sink: writes the row, counts the result, shows the progress and lets the
    // scheduler dispatch the next row. The scan releases the worker (and with it its socket and timer)
    // as endit returns: nothing of it may be touched after the call.
    void endit(int code);

    // Where the response headers, a socket error and the time-out end: the first of them takes the
    // result. A worker that is no longer its scan's, or whose scan the window no longer holds, drops
    // it and falls silent.
    void TakeResult(int code);
    // An interim Status text while the request runs ("Connected", "Req. Authorization").
    void ShowProgress(const std::string& text);

    const int scanTransportThread;
    std::unique_ptr<timerClass> timerNo;
    std::unique_ptr<myHTTPClass> pSocket;
    bool sem = false; // a result path has taken the result

protected:
    void Event_Run() override;

private:
    bool IsCurrent() const;
    void Silence();
    // Writes a cell of this worker's bookmark wherever its row is now; nothing when it has left the list.
    void WriteCell(int column, const std::string& text);

    ScanHost& host_;
    kritiskClass& scan_;
    const ScanRows::RowId rowId_;
};

} // namespace quillfen
