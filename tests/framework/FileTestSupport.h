// Helpers for the framework's file tests: a fixture with a private temporary home, file contents, and
// running a check as an ordinary user (the tests may run as root, for whom no permission bit holds).
#pragma once

#include "tests/support/TempHome.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fwtest {

class FileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return home_.Path() + "/" + name; }

    testsupport::TempHome home_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

using testsupport::ReadFile;

inline std::tuple<unsigned, uid_t, gid_t> ModeAndOwner(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return {info.st_mode & 07777u, info.st_uid, info.st_gid};
}

inline long EntryCount(const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

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
