// The wall clock of the text layer.
#include "framework/text/Text.h"

#include <chrono>

namespace fw {

double TotalSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

} // namespace fw
