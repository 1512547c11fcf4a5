// The shared main of the main window's benchmarks: Google Benchmark run inside the framework, in a
// temporary home (with its Library/Safari folder) that is made first and removed at the end, so that
// the user's preferences and bookmarks are never read or written.
#pragma once

#include <filesystem>

namespace benchsupport {

const std::filesystem::path& BenchHome();

} // namespace benchsupport
