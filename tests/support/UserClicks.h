// A user's click lands on whatever lies on top where the pointer is, not on the control a test names.
#pragma once

#include "framework/ui/VisualControl.h"
#include "framework/ui/qt/Bridge.h"

#include <QTest>
#include <QWidget>

namespace testsupport {

// Clicks at the middle of `control`, delivered to the widget on top there; returns that widget.
inline QWidget* ClickOnTop(const fw::VisualControl& control) {
    QWidget* widget = fw::detail::WidgetOf(control);
    QWidget* parent = widget->parentWidget();
    const QPoint at = widget->geometry().center();
    QWidget* top = parent->childAt(at);
    if (top)
        QTest::mouseClick(top, Qt::LeftButton, {}, top->mapFrom(parent, at));
    return top;
}

} // namespace testsupport
