#include "framework/ui/System.h"

#include <QApplication>
#include <QKeyEvent>
#include <map>

namespace fw::System {
namespace {
// This platform always offers the newest look: system 10.4.9 and the Aqua menu layout.
const std::map<std::string, int64_t>& Answers() {
    static const std::map<std::string, int64_t> answers = {{"sysv", 0x1049}, {"menu", 0x2}};
    return answers;
}
} // namespace

bool Gestalt(const std::string& selector, int64_t& value) {
    const auto it = Answers().find(selector);
    if (it == Answers().end())
        return false;
    value = it->second;
    return true;
}

} // namespace fw::System

namespace fw {
namespace {
bool g_cancelled = false;

class CancelWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Period && key->modifiers().testFlag(Qt::ControlModifier))
                g_cancelled = true;
        }
        return false;
    }
};
} // namespace

bool UserCancelled() {
    const bool was = g_cancelled;
    g_cancelled = false;
    return was;
}

void WatchUserCancel() {
    if (auto* app = QCoreApplication::instance())
        app->installEventFilter(new CancelWatch(app));
}

} // namespace fw
