// The menu model: menus and items known by name, shown in every window that keeps its menu bar visible.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

enum class MenuItemKind { Normal, Quit, Prefs, Apple };

class MenuItem {
public:
    explicit MenuItem(MenuItemKind kind = MenuItemKind::Normal) : kind_(kind) {}
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::string Name;
    bool AutoEnable = true;
    std::string Text; // "-" makes a separator
    std::optional<std::string> KeyboardShortcut; // "Cmd+Shift+P"; Cmd is Ctrl here
    bool Enabled = true;

    MenuItemKind Kind() const { return kind_; }
    bool IsSeparator() const { return Text == "-"; }

    void Append(std::unique_ptr<MenuItem> item);
    // A direct child by name, or nullptr.
    MenuItem* Child(const std::string& name) const;
    // Any item below this one by name, submenus included, or nullptr.
    MenuItem* _Lookup(const std::string& name) const;
    int Count() const { return static_cast<int>(children_.size()); }
    MenuItem& Item(int index) const { return *children_.at(static_cast<size_t>(index)); }

private:
    MenuItemKind kind_;
    std::vector<std::unique_ptr<MenuItem>> children_;
};

class MenuBar : public MenuItem {
public:
    // While false, no item of the bar and no shortcut fires.
    bool BarEnabled() const { return barEnabled_; }
    void SetBarEnabled(bool on) { barEnabled_ = on; }

private:
    bool barEnabled_ = true;
};

} // namespace fw
