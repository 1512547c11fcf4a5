// The Preferences and proxy settings windows in a temporary home, driven by clicks and keys.
#pragma once

#include "ScriptedModal.h"
#include "TempHome.h"
#include "UserClicks.h"
#include "app/Globals.h"
#include "dialogs/ProxyWin.h"
#include "dialogs/prefWin.h"
#include "framework/ui/WindowRegistry.h"
#include "framework/ui/controls/EditField.h"
#include "framework/ui/controls/PushButton.h"
#include "framework/ui/controls/ToggleButtons.h"
#include "framework/ui/qt/Bridge.h"

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

class PreferencesWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        quillfen::Globals::Release();
        quillfen::prefWin::mainWindow = {}; // a main window of an earlier test must not be reached
    }
    void TearDown() override {
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
        quillfen::Globals::Release();
    }

    void WriteRecord(const std::string& text, fs::perms mode = fs::perms{0600}) {
        fs::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << text;
        fs::permissions(file_, mode);
    }
    std::string Record() const { return testsupport::ReadFile(file_); }
    static quillfen::prefWin& Prefs() { return fw::Instance<quillfen::prefWin>(); }
    static quillfen::ProxyWin& Proxy() { return fw::Instance<quillfen::ProxyWin>(); }
    static bool IsOpen(const std::type_info& type) { return fw::detail::OpenWindow(type) != nullptr; }
    static std::string Text(fw::Window& window, const char* field) {
        return window.Get<fw::EditField>(field).Text();
    }
    static bool On(const char* box) { return Prefs().Get<fw::CheckBox>(box).Value(); }

    // A click where the control lies, delivered to whatever is on top there; returns that widget.
    static QWidget* Click(fw::Window& window, const std::string& name) {
        return testsupport::ClickOnTop(window.Get<fw::VisualControl>(name));
    }
    // Clicks into the field and types over what it holds; nothing commits the text.
    static void Type(fw::Window& window, const std::string& field, const std::string& text) {
        QWidget* widget = fw::detail::WidgetOf(window.Get<fw::EditField>(field));
        ASSERT_EQ(Click(window, field), widget) << field << " lies under another control";
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widget, Qt::Key_Delete);
        QTest::keyClicks(widget, QString::fromStdString(text));
    }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    const fs::path folder_ = fs::path(home_.Path()) / "Library" / "Preferences";
    const fs::path file_ = folder_ / "Safari Quillfen";
};
