// /bin/sh -c through posix_spawn; the output is drained while the child runs, so a child that writes
// more than a pipe holds never blocks.
#include "framework/files/Shell.h"

#include "framework/files/UniqueFd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <vector>

extern char** environ;

namespace fw {
namespace {

std::string ProgramFolder() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
}

// The environment with the program's folder put first on PATH.
std::vector<std::string> ChildEnvironment() {
    const char* path = std::getenv("PATH");
    std::vector<std::string> variables{"PATH=" + ProgramFolder() + ":" +
                                       (path ? path : "/usr/local/bin:/usr/bin:/bin")};
    for (char** variable = environ; *variable; ++variable) {
        if (!std::string_view(*variable).starts_with("PATH="))
            variables.emplace_back(*variable);
    }
    return variables;
}

class FileActions {
public:
    FileActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

int StatusCode(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : status;
}

} // namespace

void Shell::Execute(const std::string& command) {
    result_.clear();
    errorCode_ = 0;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        errorCode_ = 127;
        result_ = "cannot run /bin/sh: " + std::generic_category().message(errno);
        return;
    }
    UniqueFd output(ends[0]);
    UniqueFd input(ends[1]);

    // The child gets no terminal input: a program reading stdin would otherwise wait on the user.
    FileActions actions;
    ::posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(actions.Get(), input.Get(), 1);
    ::posix_spawn_file_actions_adddup2(actions.Get(), input.Get(), 2);

    std::vector<std::string> environment = ChildEnvironment();
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string sh = "sh", dashC = "-c", script = command;
    char* argv[] = {sh.data(), dashC.data(), script.data(), nullptr};

    pid_t pid = 0;
    const int spawnError = ::posix_spawn(&pid, "/bin/sh", actions.Get(), nullptr, argv, envp.data());
    input.Reset();
    if (spawnError != 0) {
        errorCode_ = 127;
        result_ = "cannot run /bin/sh: " + std::generic_category().message(spawnError);
        return;
    }

    char block[1 << 14];
    for (;;) {
        const ssize_t n = ReadSome(output.Get(), block, sizeof block);
        if (n <= 0)
            break;
        result_.append(block, static_cast<std::size_t>(n));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    errorCode_ = StatusCode(status);
}

} // namespace fw
