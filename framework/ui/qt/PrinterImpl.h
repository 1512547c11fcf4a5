// Inside the framework only: the printer behind a page setup, for the platform's dialogs.
#pragma once

#include "framework/ui/Printing.h"

#include <QPrinter>
#include <memory>

namespace fw {

struct PrinterSetup::Impl {
    // Shared with a printout, which may outlive the setup it was opened from.
    std::shared_ptr<QPrinter> printer = std::make_shared<QPrinter>();
};

} // namespace fw
