#include "window_place.h"

#include <gtest/gtest.h>

namespace {

using namespace app;

TEST(WindowPlace, SavedCoordinatesAreStrictNumbers) {
    EXPECT_EQ(ParseCoordinate("120"), 120);
    EXPECT_EQ(ParseCoordinate(" -1900 "), -1900);
    EXPECT_EQ(ParseCoordinate("+5"), 5);
    for (const char* garbage : {"", " ", "-", "12abc", "1 2", "0x10", "１２", "9999999", "99999999999999999999"})
        EXPECT_FALSE(ParseCoordinate(garbage).has_value()) << garbage;
}

TEST(WindowPlace, APlaceOffEveryMonitorFallsBackToCentredAndOnOneMovesWhollyInside) {
    // A primary monitor and a second one to its left; the window is 220 x 130, its title bar 24 high.
    const std::vector<ScreenRect> monitors{{0, 0, 1920, 1040}, {-1280, 0, 0, 984}};
    const ScreenPoint centred{850, 470};
    const struct {
        const char *left, *top;
        int x, y;
    } cases[] = {
        {"100", "200", 100, 200},    {"-1000", "300", -1000, 300},  // on the second monitor
        {"1800", "1000", 1700, 910},  // buttons off a screen smaller since: moved inside its work area
        {"-110", "-11", 0, 0},        // the middle of the title bar is on the edge
        {"-200", "900", -220, 854},   // on the second monitor's right edge
        {"-1400", "0", 850, 470},     // its middle off the left edge of the second monitor
        {"100", "-13", 850, 470},     // title bar above the top
        {"-1000", "990", 850, 470},   // below the second, lower monitor
        {"3000", "200", 850, 470},    // a display that was removed
        {"", "200", 850, 470},       {"100", "abc", 850, 470},
    };
    for (const auto& c : cases) {
        const ScreenPoint place = ChooseWindowPlace(c.left, c.top, 220, 130, 24, monitors, centred);
        EXPECT_EQ(place.x, c.x) << c.left << "," << c.top;
        EXPECT_EQ(place.y, c.y) << c.left << "," << c.top;
    }
    EXPECT_EQ(ChooseWindowPlace("100", "100", 220, 130, 24, {}, centred).x, 850);
    // A work area smaller than the window keeps the title bar's start on it.
    EXPECT_EQ(ChooseWindowPlace("50", "50", 220, 130, 24, {{0, 0, 200, 100}}, centred).x, 0);
    EXPECT_EQ(ChooseWindowPlace("50", "50", 220, 130, 24, {{0, 0, 200, 100}}, centred).y, 0);
}

}  // namespace
