// Running a check as an ordinary user: the tests may run as root, for whom no permission bit holds.
#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace fwtest {

// Runs check in a child process as user "nobody" when we are root, else directly; its result.
// The paths the check touches must be reachable for that user.
inline bool RunUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) // 65534 is "nobody"
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace fwtest
