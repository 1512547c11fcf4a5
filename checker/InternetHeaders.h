// An ordered list of HTTP header names with their values: the request headers to send and the
// headers of a response. Names compare without regard to letter case.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillfen {

class InternetHeaders {
public:
    // Makes value the one value of name: replaces the first entry of that name and drops any
    // other, or adds the name at the end.
    void SetHeader(const std::string& name, const std::string& value);
    // Adds an entry at the end, keeping earlier ones of the same name (responses may repeat names).
    void AppendHeader(const std::string& name, const std::string& value);
    void Delete(const std::string& name);
    // The first value of name; empty when absent.
    std::string Value(const std::string& name) const;

    int Count() const;
    std::string Name(int index) const;
    std::string Value(int index) const;

    // "name: value" lines joined by CR LF, with no line end after the last.
    std::string Format() const;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

} // namespace quillfen
