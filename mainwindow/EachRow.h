// The long loops over the bookmark list's rows.
#pragma once

#include "framework/runtime/Thread.h"
#include "framework/ui/controls/ListBox.h"

namespace quillfen {

// Visits every row from the first, giving way to the scan's workers after each one. The row count is
// read again each time, so a list that changed meanwhile is never read past its end.
template <class Visit> void ForEachRow(const fw::ListBox& list, Visit visit) {
    for (int row = 0; row < list.ListCount(); ++row) {
        visit(row);
        fw::BackgroundYield();
    }
}

} // namespace quillfen
