// The HTTP response header block as a server sends it, and a bookmark's text as the address it is
// requested at.
#include "checker/BrowserAddress.h"
#include "checker/HTTPResponseHead.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto end = quillfen::FindHeaderBlockEnd(bytes);
    if (end)
        quillfen::ParseHeaderBlock(bytes.substr(0, end->at));
    // The end must not depend on where the packets were split.
    for (std::size_t split = 0; split < size; split += 1 + split / 8) {
        const auto part = quillfen::FindHeaderBlockEnd(bytes.substr(0, split));
        if (part && (!end || part->at != end->at || part->length != end->length))
            __builtin_trap();
    }
    // Nothing in the address may end the request line or a header.
    const std::string address = quillfen::BrowserAddress(bytes);
    if (std::ranges::any_of(address, [](unsigned char byte) { return byte <= 0x20 || byte == 0x7F; }))
        __builtin_trap();
    return 0;
}
