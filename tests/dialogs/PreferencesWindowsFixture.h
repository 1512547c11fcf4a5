// The Preferences and proxy settings windows in a temporary home, driven by keys and clicks.
#pragma once

#include "ScriptedModal.h"
#include "TempHome.h"
#include "app/Globals.h"
#include "dialogs/ProxyWin.h"
#include "dialogs/prefWin.h"
#include "framework/EditField.h"
#include "framework/PushButton.h"
#include "framework/ToggleButtons.h"
#include "framework/WindowRegistry.h"
#include "framework/detail/Bridge.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

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

    void WriteRecord(const std::string& text) {
        std::filesystem::create_directories(folder_);
        std::ofstream(file_, std::ios::binary) << text;
    }
    std::string Record() const { return testsupport::ReadFile(file_); }
    static quillfen::prefWin& Prefs() { return fw::Instance<quillfen::prefWin>(); }
    static quillfen::ProxyWin& Proxy() { return fw::Instance<quillfen::ProxyWin>(); }
    static bool IsOpen(const std::type_info& type) { return fw::detail::OpenWindow(type) != nullptr; }

    // A click where the control lies, delivered to whatever is on top there; returns that widget.
    static QWidget* Click(const fw::VisualControl& control) {
        QWidget* widget = fw::detail::WidgetOf(control);
        QWidget* content = widget->parentWidget();
        const QPoint at = widget->geometry().center();
        QWidget* top = content->childAt(at);
        if (top)
            QTest::mouseClick(top, Qt::LeftButton, {}, top->mapFrom(content, at));
        return top;
    }
    // Clicks into the field, selects what it holds and types over it; nothing commits the text.
    static void Type(const fw::EditField& field, const std::string& text) {
        QWidget* widget = fw::detail::WidgetOf(field);
        ASSERT_EQ(Click(field), widget) << field.Name() << " lies under another control";
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(widget, Qt::Key_Delete);
        QTest::keyClicks(widget, QString::fromStdString(text));
    }
    template <class W> static void CloseBox(W& window) {
        fw::detail::WidgetOf(window.template Get<fw::EditField>("EditField1"))->window()->close();
    }
    static fw::EditField& Field(fw::Window& window, const char* name) { return window.Get<fw::EditField>(name); }
    static fw::CheckBox& Box(const char* name) { return Prefs().Get<fw::CheckBox>(name); }

    testsupport::TempHome home_;
    testsupport::ScriptedModal modal_;
    const std::filesystem::path folder_ = std::filesystem::path(home_.Path()) / "Library" / "Preferences";
    const std::filesystem::path file_ = folder_ / "Safari Quillfen";
};
