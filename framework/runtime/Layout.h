// Window layouts are data (resources/layouts/<Name>.json): the window's properties and every control's.
#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace fw {

using LayoutValue = std::variant<bool, double, std::string, std::vector<std::string>>;

struct LayoutProps {
    std::map<std::string, LayoutValue> values;

    bool Bool(const std::string& key, bool fallback = false) const;
    int Int(const std::string& key, int fallback = 0) const;
    std::string Text(const std::string& key, const std::string& fallback = {}) const;
    std::vector<std::string> List(const std::string& key) const;
    bool Has(const std::string& key) const { return values.count(key) != 0; }
};

struct ControlLayout {
    std::string name;
    std::string kind;
    int left = 0, top = 0, width = 0, height = 0;
    LayoutProps props;
};

struct WindowLayout {
    std::string name;
    LayoutProps props;
    std::vector<ControlLayout> controls;
};

// Reads the layout called `name` from the program's resources; throws std::runtime_error when missing or malformed.
WindowLayout LoadWindowLayout(const std::string& name);

} // namespace fw
