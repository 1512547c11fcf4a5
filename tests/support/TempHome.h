// Points HOME at a fresh temporary folder for the life of the object; and reading back what a test wrote.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

namespace testsupport {

class TempHome {
public:
    TempHome() {
        if (!mkdtemp(path_.data()))
            throw std::runtime_error("cannot make a temporary home");
        if (const char* home = std::getenv("HOME"))
            previous_ = home;
        setenv("HOME", path_.c_str(), 1);
    }
    ~TempHome() {
        previous_ ? setenv("HOME", previous_->c_str(), 1) : unsetenv("HOME");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_ = (std::filesystem::temp_directory_path() / "quillfen-home-XXXXXX").string();
    std::optional<std::string> previous_;
};

// The whole file, byte for byte; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// How many entries the folder holds: a temporary file left behind shows as one more.
inline long EntryCount(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

} // namespace testsupport
