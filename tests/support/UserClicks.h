// A user's input goes to the window, which hands it to whatever lies on top where the pointer is, and
// keys to whatever has the focus, not to the control a test names. These helpers send it that way.
#pragma once

#include "framework/ui/VisualControl.h"
#include "framework/ui/qt/Bridge.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <string>

namespace testsupport {

// The native window that holds `widget`, as the display server sees it.
inline QWindow* WindowOf(const QWidget* widget) {
    return widget->window()->windowHandle();
}

// A click into a window that is not the active one makes it active first, as a window manager does; the
// window then hands the focus back to the widget that last had it.
inline void Activate(QWidget* top) {
    if (QApplication::activeWindow() == top)
        return;
    top->activateWindow();
    for (int i = 0; i < 100 && QApplication::activeWindow() != top; ++i)
        QTest::qWait(5);
}

// Clicks (or double-clicks) at `at` in `widget`'s coordinates, delivered through its window; returns the
// widget that lay on top there.
inline QWidget* ClickAt(QWidget* widget, QPoint at, Qt::KeyboardModifiers modifiers = {}, bool twice = false) {
    QWidget* top = widget->window();
    Activate(top);
    const QPoint inWindow = widget->mapTo(top, at);
    QWidget* onTop = top->childAt(inWindow);
    if (twice)
        QTest::mouseDClick(WindowOf(top), Qt::LeftButton, modifiers, inWindow);
    else
        QTest::mouseClick(WindowOf(top), Qt::LeftButton, modifiers, inWindow);
    return onTop;
}

// Clicks at the middle of `control`, as the window sees it; returns the widget that lay on top there.
inline QWidget* ClickOnTop(const fw::VisualControl& control, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* widget = fw::detail::WidgetOf(control);
    return ClickAt(widget, widget->rect().center(), modifiers);
}

// Text dragged in from another program and dropped at `at` in `widget`'s coordinates, delivered through its
// window, which hands the drag to whatever accepts drops there.
inline void DropText(QWidget* widget, QPoint at, const std::string& text) {
    QWidget* top = widget->window();
    const QPoint inWindow = widget->mapTo(top, at);
    QMimeData data;
    data.setText(QString::fromStdString(text));
    QDragEnterEvent enter(inWindow, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(WindowOf(top), &enter);
    QDropEvent drop(inWindow, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(WindowOf(top), &drop);
}

// The window that has the keyboard now, or `fallback`'s when none has.
inline QWindow* KeyWindow(const QWidget* fallback) {
    QWidget* focus = QApplication::focusWidget();
    return WindowOf(focus ? focus : fallback);
}

// A key press and release, delivered to the focus as the window hands it on.
inline void PressKey(const QWidget* inWindow, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(KeyWindow(inWindow), key, modifiers);
}

// Typed text, one character at a time, delivered to the focus; nothing commits it.
inline void TypeText(const QWidget* inWindow, const std::string& text) {
    for (const QChar c : QString::fromStdString(text))
        QTest::sendKeyEvent(QTest::Click, KeyWindow(inWindow), Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace testsupport
