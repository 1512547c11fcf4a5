// The two clocks of the text layer: Ticks for intervals, TotalSeconds for the wall clock.
#include "framework/Text.h"

#include <chrono>

namespace fw {
namespace {

// Taken during static initialisation, so Ticks counts from the start of the process.
const auto gProcessStart = std::chrono::steady_clock::now();

} // namespace

std::int64_t Ticks() {
    using Tick = std::chrono::duration<std::int64_t, std::ratio<1, 60>>;
    return std::chrono::duration_cast<Tick>(std::chrono::steady_clock::now() - gProcessStart).count();
}

double TotalSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

} // namespace fw
