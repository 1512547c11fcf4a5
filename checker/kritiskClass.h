// The state of one scan and its scheduler: a row cursor walks down the list, hands each row in scope to
// a check worker, stops while the pool is full, and ends the scan when it passes the last row. Every
// result re-enters the scheduler, so each result dispatches one more row.
#pragma once

#include "framework/Thread.h"

#include <memory>
#include <string>
#include <vector>

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
    // The worker dispatched at cursor index row; null when there is none, also out of range.
    threadClass* worker(int row) const;

    int scanNumber = -1;    // the last row the cursor examined
    int currentThreads = 0; // workers started since it was last set to 0; a result never lowers it
    std::vector<std::unique_ptr<threadClass>> threadNo; // by cursor index
    int simultScanInteger = 0;                          // the pool size
    fw::CriticalSection critCheck;
    double startDate = 0; // seconds since 1970 when start() ran
    int scansTodo = 0;    // rows in scope at the start
    int scansCompleted = 0;
    fw::CriticalSection critDone;
    int scanAntal = 0; // rows in the list at the start: the cursor's end
    bool doneChecking = false;

private:
    bool InScope(int row) const;
    void Dispatch(int row);
    void End();

    ScanHost& host_;
};
