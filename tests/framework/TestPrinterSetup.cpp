// The page setup string: what it carries back, the printable area it gives, and texts it refuses.
#include "framework/Printing.h"

#include <gtest/gtest.h>

namespace {

// A setup string comes back as it went in and sets the printable area: the paper less the margins, turned
// for landscape.
TEST(PrinterSetupTest, SetupStringGivesThePrintableArea) {
    struct Case {
        const char* setup;
        int width, height;
    };
    const Case cases[] = {
        {"width=630;height=800;orientation=portrait;margins=10,10,10,10", 610, 780},
        {"width=612;height=792;orientation=landscape;margins=36,18,36,18", 720, 576},
        {"width=595;height=842;orientation=portrait;margins=28.35,0,28.35,14.5", 538, 827},
    };
    for (const Case& c : cases) {
        fw::PrinterSetup setup;
        setup.SetSetupString(c.setup);
        EXPECT_EQ(setup.SetupString(), c.setup);
        EXPECT_EQ(setup.PageWidth(), c.width) << c.setup;
        EXPECT_EQ(setup.PageHeight(), c.height) << c.setup;
    }
}

// A text that describes no printable page leaves the setup as it was.
TEST(PrinterSetupTest, UnusableSetupStringsChangeNothing) {
    const char* unusable[] = {
        "",
        "garbage",
        "width=630;height=800;orientation=portrait",
        "width=630;height=800;orientation=sideways;margins=10,10,10,10",
        "width=-630;height=800;orientation=portrait;margins=10,10,10,10",
        "width=nan;height=800;orientation=portrait;margins=10,10,10,10",
        "width=1e300;height=800;orientation=portrait;margins=10,10,10,10",
        "width=630;height=800;orientation=portrait;margins=10,10,10",
        "width=630;height=800;orientation=portrait;margins=300,10,330,10",
        "width=630;height=800;orientation=landscape;margins=10,300,10,330",
    };
    const std::string start = "width=500;height=700;orientation=portrait;margins=5,5,5,5";
    for (const char* text : unusable) {
        fw::PrinterSetup setup;
        setup.SetSetupString(start);
        setup.SetSetupString(text);
        EXPECT_EQ(setup.SetupString(), start) << text;
    }
}

} // namespace
