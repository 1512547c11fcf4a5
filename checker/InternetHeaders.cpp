#include "checker/InternetHeaders.h"

#include <algorithm>
#include <cctype>

namespace quillfen {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

void InternetHeaders::SetHeader(const std::string& name, const std::string& value) {
    auto named = [&name](const auto& entry) { return SameName(entry.first, name); };
    auto first = std::ranges::find_if(entries_, named);
    if (first == entries_.end()) {
        entries_.emplace_back(name, value);
        return;
    }
    first->second = value;
    const auto rest = std::remove_if(first + 1, entries_.end(), named);
    entries_.erase(rest, entries_.end());
}

void InternetHeaders::AppendHeader(const std::string& name, const std::string& value) {
    entries_.emplace_back(name, value);
}

void InternetHeaders::Delete(const std::string& name) {
    std::erase_if(entries_, [&name](const auto& entry) { return SameName(entry.first, name); });
}

std::string InternetHeaders::Value(const std::string& name) const {
    const auto found =
        std::ranges::find_if(entries_, [&name](const auto& entry) { return SameName(entry.first, name); });
    return found == entries_.end() ? std::string() : found->second;
}

int InternetHeaders::Count() const {
    return static_cast<int>(entries_.size());
}

std::string InternetHeaders::Name(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].first : std::string();
}

std::string InternetHeaders::Value(int index) const {
    return index >= 0 && index < Count() ? entries_[static_cast<std::size_t>(index)].second : std::string();
}

std::string InternetHeaders::Format() const {
    std::string text;
    for (const auto& [name, value] : entries_) {
        if (!text.empty())
            text += "\r\n";
        text += name + ": " + value;
    }
    return text;
}

} // namespace quillfen
