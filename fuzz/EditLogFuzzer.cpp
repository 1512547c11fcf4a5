// The edit log: whatever it holds is read, and what was read is written and read back unchanged.
#include "bookmarksfile/EditLog.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto records = quillfen::ReadEditLog(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string log;
    for (const quillfen::EditRecord& record : records)
        quillfen::AppendEditRecord(log, record);
    if (quillfen::ReadEditLog(log) != records)
        __builtin_trap();
    return 0;
}
