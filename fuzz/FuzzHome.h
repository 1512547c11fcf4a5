// A folder of the fuzzer's own for targets that read files, removed when the process ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class FuzzHome {
public:
    FuzzHome() {
        std::string folder = (std::filesystem::temp_directory_path() / "quillfen-fuzz-XXXXXX").string();
        if (::mkdtemp(folder.data()) == nullptr)
            std::abort();
        path_ = folder;
    }
    ~FuzzHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    FuzzHome(const FuzzHome&) = delete;
    FuzzHome& operator=(const FuzzHome&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    static void Write(const std::filesystem::path& file, std::string_view bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};
