#include "WindowBench.h"

#include "framework/ui/Runtime.h"
#include "framework/ui/WindowRegistry.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fs = std::filesystem;

namespace benchsupport {
namespace {
fs::path g_home;
} // namespace

const fs::path& BenchHome() { return g_home; }

} // namespace benchsupport

int main(int argc, char** argv) {
    std::string pattern = (fs::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("temporary home");
        return 1;
    }
    benchsupport::g_home = pattern;
    setenv("HOME", pattern.c_str(), 1);
    fs::create_directories(benchsupport::g_home / "Library/Safari");
    {
        fw::Runtime runtime(argc, argv);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        fw::detail::CloseAllWindows();
        fw::detail::FreeRetiredWindows();
    }
    std::error_code ignored;
    fs::remove_all(benchsupport::g_home, ignored);
    return 0;
}
