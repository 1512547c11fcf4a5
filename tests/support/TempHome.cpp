#include "TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testsupport {

TempHome::TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillfen-home-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary home");
    path_ = pattern;
    if (const char* home = std::getenv("HOME"))
        previous_ = home;
    setenv("HOME", path_.c_str(), 1);
}

TempHome::~TempHome() {
    if (previous_)
        setenv("HOME", previous_->c_str(), 1);
    else
        unsetenv("HOME");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace testsupport
