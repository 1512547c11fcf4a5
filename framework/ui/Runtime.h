// The framework runtime: brings up the platform (event loop, windows, sockets) for one process.
#pragma once

namespace fw {

class Runtime {
public:
    Runtime(int& argc, char** argv);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Runs the event loop until Quit; returns the exit status.
    int Exec();
    static void Quit(int status = 0);
};

} // namespace fw
