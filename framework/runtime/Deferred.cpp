#include "framework/runtime/Deferred.h"

#include <QCoreApplication>
#include <QTimer>

namespace fw {

void CallLater(std::function<void()> work) {
    if (work && QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(work));
}

} // namespace fw
