// Test entry: every test process gets the framework runtime, so windows, timers and sockets work offscreen.
#include "framework/ui/Runtime.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    fw::Runtime runtime(argc, argv);
    return RUN_ALL_TESTS();
}
