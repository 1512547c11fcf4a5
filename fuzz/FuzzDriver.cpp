// Where libFuzzer is missing (the g++ build), each target links this main instead: it runs the target
// once over every file of the folders and files it is given, so CTest keeps the stored corpus checked.
// Options that libFuzzer would take ("-runs=0") are passed over.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Corpus files are small by design; anything larger is a mistake in the corpus, not an input.
constexpr std::uintmax_t kMaxInputBytes = 1 << 20;

bool RunOne(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) ||
        std::filesystem::file_size(file, error) > kMaxInputBytes) {
        std::cerr << file << ": no regular file of at most " << kMaxInputBytes << " bytes\n";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (path.string().starts_with("-"))
            continue;
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path))
            for (const auto& entry : std::filesystem::directory_iterator(path))
                files.push_back(entry.path());
        else
            files.push_back(path);
        for (const auto& file : files) {
            std::cout << "running " << file.filename().string() << std::endl;
            ok = RunOne(file) && ok;
            ++inputs;
        }
    }
    std::cout << inputs << " inputs run\n";
    // An empty run means a lost corpus, not a clean one.
    return ok && inputs > 0 ? 0 : 1;
}
