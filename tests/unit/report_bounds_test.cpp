#include "report_bounds.h"

#include <gtest/gtest.h>

namespace {

std::u16string Box(const std::u16string& x, const std::u16string& y) {
    return u"面積:                    1.0000\r\n"
           u"境界ボックス:         X: " +
           x + u"\r\n                      Y: " + y + u"\r\n";
}

TEST(ReportBounds, PointInsideTheLastBoxWithinOnePrintedDigit) {
    struct Case {
        std::u16string report;
        const char16_t* x;
        const char16_t* y;
        bool holds;
    };
    const std::u16string box = Box(u"-20.0000  --  80.0000", u"-15.0000  --  85.0000");
    for (const Case& c : {
             Case{box, u"30.0000", u"35.0000", true},
             Case{box, u"-20.0000", u"85.0000", true},  // on the edge
             Case{box, u"80.0001", u"0", true},         // one printed digit past it
             Case{box, u"80.0002", u"0", false},
             Case{box, u"500.0000", u"500.0000", false},
             Case{box, u"30", u"-15.0002", false},
             Case{box + Box(u"100  --  120", u"100  --  120"), u"30", u"35", false},  // the last box counts
             Case{Box(u"80.0000  --  -20.0000", u"0  --  1"), u"30", u"0.5", false},  // not a range
             Case{Box(u"-20.0000", u"-15  --  85"), u"30", u"35", false},
             Case{u"境界ボックス:         X: 0  --  10\r\n", u"5", u"5", false},  // no Y line
             // A lone CR ends no report line: the Y after it is on the box's own line.
             Case{u"境界ボックス:         X: 0  --  10\r  Y: 0  --  10\r\n", u"5", u"5", false},
             Case{Box(u"0  --  1.0E+01", u"0  --  10"), u"5", u"5", true},  // as the reader takes numbers
             Case{box, u"3O", u"35", false},
             Case{u"", u"30", u"35", false},
         }) {
        EXPECT_EQ(app::ReportBoxHolds(c.report, c.x, c.y), c.holds)
            << testing::PrintToString(c.report) << testing::PrintToString(c.x);
    }
}

}  // namespace
