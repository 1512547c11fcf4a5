#include "checker/timerClass.h"

#include "checker/StatusText.h"
#include "checker/threadClass.h"

namespace quillfen {

void timerClass::back() {
    worker_.TakeResult(kTimeoutCode);
}

// The result sink writes "Timeout" and the time-out setting into the row.
void timerClass::Event_Action() {
    back();
}

} // namespace quillfen
