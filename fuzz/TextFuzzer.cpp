// The framework's text functions: the first byte tells how long a separator the input starts with.
#include "framework/text/Text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view sep = input.substr(0, data[0] % 4);
    const std::string_view text = input.substr(sep.size());
    // Splitting at bytes and joining again gives the text back; equality and order agree.
    if (!sep.empty() && fw::Join(fw::SplitB(text, sep), sep) != text)
        __builtin_trap();
    if (fw::TextEquals(text, sep) != (fw::TextCompare(text, sep) == 0))
        __builtin_trap();
    fw::NthField(text, sep, data[0] / 4);
    fw::Split(text, sep);
    fw::InStr(data[0] % 7, text, sep);
    fw::Left(text, fw::Len(text) / 2);
    fw::MidB(text, data[0] / 4, data[0] % 5);
    const double number = fw::Val(text);
    fw::Str(number);
    fw::Format(number, sep);
    fw::EncodeBase64(text, data[0] % 80);
    return 0;
}
