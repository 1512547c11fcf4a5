// The system tests and the metal window look they gate.
#include "app/Look.h"
#include "framework/Application.h"
#include "framework/System.h"
#include "framework/Window.h"

#include <gtest/gtest.h>

namespace quillfen {
namespace {

class LookTest : public ::testing::Test {
protected:
    void SetUp() override { window_.Create(); }
    void TearDown() override { fw::System::ResetGestaltAnswers(); }

    fw::Application app_;
    fw::Window window_{"Aboutbox"};
};

// The Aqua test reads bit 1 of "menu" and says no when the selector fails.
TEST_F(LookTest, AquaFollowsTheMenuLayoutBit) {
    EXPECT_TRUE(Globals::isAquaAvailable());
    for (const auto& [answer, aqua] : {std::pair{std::optional<int64_t>(0x1), false},
                                       {std::optional<int64_t>(0x3), true},
                                       {std::optional<int64_t>(), false}}) {
        fw::System::SetGestaltAnswer("menu", answer);
        EXPECT_EQ(Globals::isAquaAvailable(), aqua);
    }
}

// 10.2 (0x1020) is the first system with the metal look: there it is set and cleared and the window paints
// either way; on 0x1019 the window keeps the look it has, whichever way it is asked.
TEST_F(LookTest, MetalLookFrom10_2On) {
    fw::System::SetGestaltAnswer("sysv", 0x1020);
    CarbonDeclares::SetWindowMetal(window_, true);
    EXPECT_TRUE(window_.Metal());
    window_.Refresh();
    app_.DoEvents(50);
    CarbonDeclares::SetWindowMetal(window_, false);
    EXPECT_FALSE(window_.Metal());
    app_.DoEvents(50);

    fw::System::SetGestaltAnswer("sysv", 0x1019);
    CarbonDeclares::SetWindowMetal(window_, true);
    EXPECT_FALSE(window_.Metal());
    window_.SetMetal(true);
    CarbonDeclares::SetWindowMetal(window_, false);
    EXPECT_TRUE(window_.Metal());
}

} // namespace
} // namespace quillfen
