#include "report_bounds.h"

#include <gtest/gtest.h>

namespace {

std::string Box(const std::string& x, const std::string& y) {
    return "面積:                    1.0000\r\n"
           "境界ボックス:         X: " +
           x + "\r\n                      Y: " + y + "\r\n";
}

TEST(ReportBounds, PointInsideTheLastBoxWithinOnePrintedDigit) {
    struct Case {
        std::string report;
        const char* x;
        const char* y;
        bool holds;
    };
    const std::string box = Box("-20.0000  --  80.0000", "-15.0000  --  85.0000");
    for (const Case& c : {
             Case{box, "30.0000", "35.0000", true},
             Case{box, "-20.0000", "85.0000", true},  // on the edge
             Case{box, "80.0001", "0", true},         // one printed digit past it
             Case{box, "80.0002", "0", false},
             Case{box, "500.0000", "500.0000", false},
             Case{box, "30", "-15.0002", false},
             Case{box + Box("100  --  120", "100  --  120"), "30", "35", false},  // the last box counts
             Case{Box("80.0000  --  -20.0000", "0  --  1"), "30", "0.5", false},  // not a range
             Case{Box("-20.0000", "-15  --  85"), "30", "35", false},
             Case{"境界ボックス:         X: 0  --  10\r\n", "5", "5", false},  // no Y line
             // A lone CR ends no report line: the Y after it is on the box's own line.
             Case{"境界ボックス:         X: 0  --  10\r  Y: 0  --  10\r\n", "5", "5", false},
             Case{Box("0  --  1.0E+01", "0  --  10"), "5", "5", true},  // as the reader takes numbers
             Case{box, "3O", "35", false},
             Case{"", "30", "35", false},
         }) {
        EXPECT_EQ(app::ReportBoxHolds(c.report, c.x, c.y), c.holds) << c.report << c.x << "," << c.y;
    }
}

// The trail byte of "ス" is an "X": "ボックス:" must not be taken for the axis.
TEST(ReportBounds, TheLabelIsNotTakenForTheAxis) {
    EXPECT_FALSE(app::ReportBoxHolds("境界ボックス: 1 -- 2\r\n                      Y: 0 -- 10\r\n", "1.5", "5"));
}

}  // namespace
