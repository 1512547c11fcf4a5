// The state of one scan and its scheduler: the rows in scope are taken by identity at the start, and a
// cursor walks down them, hands each row still in the list to a check worker, stops while the pool is
// full, and ends the scan once it has passed the last of them and the last request has ended. Every
// result re-enters the scheduler, so each result dispatches one more row.
#pragma once

#include "checker/ScanRows.h"
#include "framework/runtime/Thread.h"

#include <memory>
#include <string>
#include <vector>

namespace quillfen {

class ScanHost;
class threadClass;

class kritiskClass : public fw::CriticalSection {
public:
    explicit kritiskClass(ScanHost& host);
    ~kritiskClass();
    kritiskClass(const kritiskClass&) = delete;
    kritiskClass& operator=(const kritiskClass&) = delete;

    // The scheduler. s only names the caller ("start", "PSock").
    void checkBookies(const std::string& s);
    // Measures the list and fills the pool.
    void start();
    // Counts one result; returns the count so far.
    int oneDone();
    // The worker dispatched at cursor index row while its request runs; null when there is none.
    threadClass* worker(int row) const;
    // Hands over the worker at cursor index row once its result is written, so that it can be released.
    std::unique_ptr<threadClass> release(int row);

    int scanNumber = -1;    // the last cursor index examined
    int currentThreads = 0; // workers started since it was last set to 0; a result never lowers it
    std::vector<std::unique_ptr<threadClass>> threadNo; // by cursor index; a slot empties with its result
    int simultScanInteger = 0;                          // the pool size
    fw::CriticalSection critCheck;
    double startDate = 0; // seconds since 1970 when start() ran
    int scansTodo = 0;    // rows in scope at the start
    int scansCompleted = 0;
    fw::CriticalSection critDone;
    int scanAntal = 0; // rows in scope at the start: the cursor's end
    bool doneChecking = false;

private:
    void Dispatch(int index, int row);
    void End();

    std::vector<ScanRows::RowId> scope_; // the rows in scope at the start, in list order
    int inFlight_ = 0;                   // requests dispatched whose result has not been written
    ScanHost& host_;
};

} // namespace quillfen
