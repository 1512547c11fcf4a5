// plutil -convert xml1 on a file holding the input: a refused file is left as it was, and a converted
// one converts again to the very same bytes, as every later read of the bookmarks file converts it again.
#include "FuzzHome.h"
#include "tools/plutil/PlistConvert.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzHome home;
    const std::string file = home.Path() / "Bookmarks.plist";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    FuzzHome::Write(file, input);
    if (!plutil::ConvertToXml(file).ok) {
        if (FuzzHome::Read(file) != input)
            __builtin_trap();
        return 0;
    }
    const std::string xml = FuzzHome::Read(file);
    if (!plutil::ConvertToXml(file).ok || FuzzHome::Read(file) != xml)
        __builtin_trap();
    return 0;
}
