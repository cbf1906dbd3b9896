#include "window_place.h"

#include <gtest/gtest.h>

namespace {

using namespace app;

TEST(WindowPlace, SavedCoordinatesAreStrictNumbers) {
    EXPECT_EQ(ParseCoordinate(u"120"), 120);
    EXPECT_EQ(ParseCoordinate(u" -1900\t"), -1900);
    EXPECT_EQ(ParseCoordinate(u"+5"), 5);
    for (const char16_t* garbage :
         {u"", u" ", u"-", u"12abc", u"1 2", u"0x10", u"１２", u"9999999", u"99999999999999999999"})
        EXPECT_FALSE(ParseCoordinate(garbage).has_value());
}

TEST(WindowPlace, APlaceOffEveryMonitorFallsBackToCentredAndOnOneMovesWhollyInside) {
    // A primary monitor and a second one to its left; the window is 220 x 130, its title bar 24 high.
    const std::vector<platform::Rect> monitors{{0, 0, 1920, 1040}, {-1280, 0, 0, 984}};
    const platform::Point centred{850, 470};
    const struct {
        const char16_t *left, *top;
        int x, y;
    } cases[] = {
        {u"100", u"200", 100, 200},    {u"-1000", u"300", -1000, 300},  // on the second monitor
        {u"1800", u"1000", 1700, 910},  // buttons off a screen smaller since: moved inside its work area
        {u"-110", u"-11", 0, 0},        // the middle of the title bar is on the edge
        {u"-200", u"900", -220, 854},   // on the second monitor's right edge
        {u"-1400", u"0", 850, 470},     // its middle off the left edge of the second monitor
        {u"100", u"-13", 850, 470},     // title bar above the top
        {u"-1000", u"990", 850, 470},   // below the second, lower monitor
        {u"3000", u"200", 850, 470},    // a display that was removed
        {u"", u"200", 850, 470},       {u"100", u"abc", 850, 470},
    };
    for (const auto& c : cases) {
        const platform::Point place = ChooseWindowPlace(c.left, c.top, 220, 130, 24, monitors, centred);
        EXPECT_EQ(place.x, c.x) << c.x;
        EXPECT_EQ(place.y, c.y) << c.y;
    }
    EXPECT_EQ(ChooseWindowPlace(u"100", u"100", 220, 130, 24, {}, centred).x, 850);
    // A work area smaller than the window keeps the title bar's start on it.
    EXPECT_EQ(ChooseWindowPlace(u"50", u"50", 220, 130, 24, {{0, 0, 200, 100}}, centred).x, 0);
    EXPECT_EQ(ChooseWindowPlace(u"50", u"50", 220, 130, 24, {{0, 0, 200, 100}}, centred).y, 0);
}

}  // namespace
