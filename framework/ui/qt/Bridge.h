// Inside the framework only: how the plain-C++ controls and windows reach their Qt widgets.
#pragma once

#include "framework/ui/graphics/Color.h"
#include "framework/runtime/Layout.h"
#include "framework/ui/VisualControl.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

namespace fw {

class Window;

struct VisualControl::Impl {
    QPointer<QWidget> widget;
    QObject* filter = nullptr;
};

namespace detail {

inline QWidget* WidgetOf(const VisualControl& control) { return control.impl().widget.data(); }

template <class W> W* As(const VisualControl& control) { return qobject_cast<W*>(WidgetOf(control)); }

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }
inline QColor Q(const Color& c) { return QColor(c.r, c.g, c.b); }

// The platform's line end is a carriage return: shown text breaks there as at a line feed.
inline QString Displayed(const std::string& s) {
    QString text = Q(s);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

// A layout's "textAlign": "left" (the default), "center" or "right".
inline Qt::Alignment HorizontalAlignment(const LayoutProps& props) {
    const std::string alignment = props.Text("textAlign");
    return alignment == "center" ? Qt::AlignHCenter : alignment == "right" ? Qt::AlignRight : Qt::AlignLeft;
}

// The widget every control of a window is placed on.
QWidget* ContentOf(Window& window);

} // namespace detail
} // namespace fw
