// Fields, search, replace, slicing and comparison of UTF-8 text.
#include "framework/text/Text.h"

#include "framework/text/Utf8.h"

#include <algorithm>

namespace fw {
namespace {

using utf8::Finder;
using utf8::Match;

template <typename Visit>
void ForEachField(std::string_view s, std::string_view sep, Finder find, Visit visit) {
    std::size_t begin = 0;
    if (!sep.empty()) {
        for (Match m = find(s, 0, sep); m.found(); m = find(s, begin, sep)) {
            if (!visit(s.substr(begin, m.begin - begin)))
                return;
            begin = m.end;
        }
    }
    visit(s.substr(begin));
}

std::string NthFieldWith(std::string_view s, std::string_view sep, std::int64_t n, Finder find) {
    std::string result;
    std::int64_t index = 0;
    ForEachField(s, sep, find, [&](std::string_view field) {
        if (++index < n)
            return true;
        if (index == n)
            result = field;
        return false;
    });
    return result;
}

std::vector<std::string> SplitWith(std::string_view s, std::string_view sep, Finder find) {
    std::vector<std::string> fields;
    ForEachField(s, sep, find, [&](std::string_view field) { return fields.emplace_back(field), true; });
    return fields;
}

std::string_view CharSlice(std::string_view s, std::int64_t start, std::int64_t count) {
    if (count <= 0)
        return {};
    const std::string_view rest = s.substr(utf8::OffsetOfChar(s, std::max<std::int64_t>(start, 1) - 1));
    return rest.substr(0, utf8::OffsetOfChar(rest, count));
}

std::string_view ByteSlice(std::string_view s, std::int64_t start, std::int64_t count) {
    const auto size = static_cast<std::int64_t>(s.size());
    const std::int64_t begin = std::clamp<std::int64_t>(start - 1, 0, size);
    if (count <= 0)
        return {};
    return s.substr(static_cast<std::size_t>(begin),
                    static_cast<std::size_t>(std::min(count, size - begin)));
}

} // namespace

std::string NthField(std::string_view s, std::string_view sep, std::int64_t n) {
    return NthFieldWith(s, sep, n, utf8::FindFolded);
}

std::string NthFieldB(std::string_view s, std::string_view sep, std::int64_t n) {
    return NthFieldWith(s, sep, n, utf8::FindBytes);
}

std::vector<std::string> Split(std::string_view s, std::string_view sep) {
    return SplitWith(s, sep, utf8::FindFolded);
}

std::vector<std::string> SplitB(std::string_view s, std::string_view sep) {
    return SplitWith(s, sep, utf8::FindBytes);
}

std::string Join(const std::vector<std::string>& fields, std::string_view sep) {
    std::string result;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            result.append(sep);
        result.append(fields[i]);
    }
    return result;
}

std::int64_t InStr(std::string_view s, std::string_view find) {
    return InStr(1, s, find);
}

std::int64_t InStr(std::int64_t start, std::string_view s, std::string_view find) {
    if (find.empty())
        return 0;
    const std::size_t from = utf8::OffsetOfChar(s, std::max<std::int64_t>(start, 1) - 1);
    const Match m = utf8::FindFolded(s, from, find);
    return m.found() ? utf8::CountChars(s.substr(0, m.begin)) + 1 : 0;
}

std::int64_t InStrB(std::string_view s, std::string_view find) {
    return InStrB(1, s, find);
}

std::int64_t InStrB(std::int64_t start, std::string_view s, std::string_view find) {
    if (find.empty())
        return 0;
    const Match m = utf8::FindBytes(s, static_cast<std::size_t>(std::max<std::int64_t>(start, 1) - 1), find);
    return m.found() ? static_cast<std::int64_t>(m.begin) + 1 : 0;
}

std::int64_t Len(std::string_view s) {
    return utf8::CountChars(s);
}

std::string Left(std::string_view s, std::int64_t count) {
    return std::string(CharSlice(s, 1, count));
}

std::string MidB(std::string_view s, std::int64_t start) {
    return std::string(ByteSlice(s, start, static_cast<std::int64_t>(s.size())));
}

std::string MidB(std::string_view s, std::int64_t start, std::int64_t count) {
    return std::string(ByteSlice(s, start, count));
}

int TextCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const utf8::Char ca = utf8::DecodeAt(a, i);
        const utf8::Char cb = utf8::DecodeAt(b, j);
        const std::uint32_t fa = utf8::Fold(ca.value);
        const std::uint32_t fb = utf8::Fold(cb.value);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        i += ca.size, j += cb.size;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool TextEquals(std::string_view a, std::string_view b) {
    return TextCompare(a, b) == 0;
}

} // namespace fw
