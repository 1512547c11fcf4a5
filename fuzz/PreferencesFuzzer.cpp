// The preferences record as the program finds it at start-up, in a home folder of the fuzzer's own.
#include "FuzzHome.h"
#include "app/PreferencesFile.h"
#include "app/PreferencesRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzHome home;
    static const std::string path = [] {
        if (::setenv("HOME", home.Path().c_str(), 1) != 0)
            std::abort();
        std::filesystem::create_directories(home.Path() / "Library" / "Preferences");
        return quillfen::PreferencesFile::Path();
    }();
    FuzzHome::Write(path, std::string_view(reinterpret_cast<const char*>(data), size));
    std::string welcome;
    quillfen::ReadPreferences(welcome);
    return 0;
}
