// Runs a command through /bin/sh and waits for it, with the program's own folder first on PATH so
// that our command-line tools are found before any of the system's.
#pragma once

#include <string>

namespace fw {

class Shell {
public:
    void Execute(const std::string& command);
    // The exit status as sh reports it (127 for a command not found, 128 + n for a signal).
    int ErrorCode() const { return errorCode_; }
    // What the command wrote to stdout and stderr, interleaved.
    std::string Result() const { return result_; }

private:
    int errorCode_ = 0;
    std::string result_;
};

} // namespace fw
