#include "report_reader.h"

#include <gtest/gtest.h>

#include "cad_numbers.h"

namespace {

using app::ParseReport;
using app::ReportVariant;

// The host's report: label lines with values at a fixed column, X and Y aligned under each other.
const std::u16string kReport =
    u"----------------   リージョン   ----------------\r\n"
    u"面積:                    1234.5678\r\n"
    u"周囲:                    140.0000\r\n"
    u"境界ボックス:         X: 10.0000  --  50.0000\r\n"
    u"                      Y: 20.0000  --  50.0000\r\n"
    u"図心:                 X: 30.0000\r\n"
    u"                      Y: 35.0000\r\n"
    u"慣性モーメント:       X: 1.0000\r\n";

std::u16string WithCentroidLabel(const std::u16string& blanks) {
    std::u16string report = kReport;
    report.replace(report.find(u"図心:"), 5, u"図心" + blanks + u":");
    return report;
}

TEST(ReportReader, FaceCentreTakesTheCentroidAndTheValuesAsRead) {
    const auto values = ParseReport(WithCentroidLabel(u"  "), ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, u"30.0000");
    EXPECT_EQ(values.centroidY, u"35.0000");
    EXPECT_EQ(values.area, u"1234.5678");
    EXPECT_EQ(values.perimeter, u"140.0000");
    EXPECT_TRUE(values.areaSeen && values.perimeterSeen);
}

// The one formatted value that the label and the results row both show.
TEST(ReportReader, ShownValueIsAsReadInFaceCentreModeAndTwoDecimalsInRegionMode) {
    const struct {
        ReportVariant variant;
        const char16_t* value;
        char16_t separator;
        const char16_t* shown;  // nullptr: refused
    } cases[] = {
        {ReportVariant::FaceCentre, u"1234.5678", u',', u"1234.5678"},
        {ReportVariant::FaceCentre, u"1.#INF", u'.', u""},
        {ReportVariant::FaceCentre, u"NaN", u'.', u""},
        {ReportVariant::FaceCentre, u"1e999", u'.', u""},
        {ReportVariant::Region, u"1234.5678", u'.', u"1234.57"},
        {ReportVariant::Region, u"140", u',', u"140,00"},
        {ReportVariant::Region, u"1.#INF", u'.', nullptr},
    };
    for (const auto& c : cases) {
        const app::Checked<std::u16string> shown = app::ShownValue(c.variant, c.value, c.separator);
        EXPECT_EQ(shown ? *shown : u"(refused)", c.shown ? c.shown : u"(refused)");
    }
}

TEST(ReportReader, RegionShowsTwoDecimalsPaddedToFive) {
    EXPECT_EQ(*app::FormatTwoDecimals(u"1.5"), u" 1.50");
    EXPECT_EQ(*app::FormatTwoDecimals(u" -2.125e1 "), u"-21.25");
    // The report has a full stop whatever the user's decimal symbol; the caption has the user's.
    EXPECT_EQ(*app::FormatTwoDecimals(u"1200.0000", u','), u"1200,00");
    EXPECT_FALSE(app::FormatTwoDecimals(u"3,5", u','));
}

TEST(ReportReader, CentroidTagWithOneSpaceIsForRegionModeOnly) {
    EXPECT_EQ(ParseReport(WithCentroidLabel(u" "), ReportVariant::FaceCentre).centroidX, u"");
    EXPECT_EQ(ParseReport(WithCentroidLabel(u"   "), ReportVariant::Region).centroidX, u"30.0000");
}

TEST(ReportReader, LastValuesWinAndTheYLineIsConsumed) {
    const std::u16string report = u"図心  X: 1\n  Y: 2 面積: 77\n図心  X: 3\r\n  Y: 4\r\n周囲: 8\n周囲: 9";
    EXPECT_EQ(ParseReport(report, ReportVariant::FaceCentre).area, u"77");  // the text after u"Y:" is looked at
    const auto values = ParseReport(report + u"\n面積:5", ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, u"3");
    EXPECT_EQ(values.centroidY, u"4");
    EXPECT_EQ(values.area, u"5");  // no blank after the colon: the whole number
    EXPECT_EQ(values.perimeter, u"9");
}

TEST(ReportReader, CentroidOnTheLastLineGivesAnEmptyY) {
    const auto values = ParseReport(u"面積: 1\n図心  X: 5.5", ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, u"5.5");
    EXPECT_EQ(values.centroidY, u"");
}

TEST(ReportReader, LinesEndWithCrLfOrLfAndALoneCrStaysInTheLine) {
    using Lines = std::vector<std::u16string>;
    const std::pair<std::u16string, Lines> cases[] = {
        {u"", Lines{}},
        {u"\r\n", Lines{u""}},
        {u"a\r\nb\nc", Lines{u"a", u"b", u"c"}},
        {u"a\n\nb\r\n", Lines{u"a", u"", u"b"}},
        {u"a\rb\r\n", Lines{u"a\rb"}},
        {u"a\r", Lines{u"a\r"}},
        {u"a\r\r\n", Lines{u"a\r"}},
    };
    for (const auto& [content, lines] : cases)
        EXPECT_EQ(app::ReportLines(content), lines) << testing::PrintToString(content);
}

TEST(ReportReader, EmptyOrTaglessReportsLeaveTheLabelsAlone) {
    for (const std::u16string& report :
         {std::u16string(), std::u16string(u"\r\n\r\n"), std::u16string(u"\x00\x01\xff\x81", 4),
          std::u16string(10 * 1024 * 1024, 'x')}) {
        const auto values = ParseReport(report, ReportVariant::Region);
        EXPECT_EQ(values.centroidX + values.centroidY + values.area + values.perimeter, u"");
        EXPECT_FALSE(values.areaSeen || values.perimeterSeen);
    }
}

TEST(ReportReader, MissingMarkersGiveEmptyValuesWithoutFault) {
    const auto values = ParseReport(u"図心  30.0\n 35.0\n面積 12\n周囲 3", ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, u"");
    EXPECT_EQ(values.centroidY, u"");
    EXPECT_EQ(values.area, u"");
    EXPECT_EQ(values.perimeter, u"");
}

TEST(ReportReader, RegionValueThatIsNotANumberIsRefusedWithTheConversionMessage) {
    EXPECT_EQ(app::ShownValue(ReportVariant::Region, u"1,5a", u'.').Error(), u"'1,5a' は浮動小数点数ではありません");
    for (const char16_t* bad : {u"", u" ", u"abc", u"1.2.3", u"e5", u"1e", u"--1", u"1 2", u"1e999", u"1e308", u"nan",
                                u"inf", u"0x10", u"１"})
        EXPECT_FALSE(app::FormatTwoDecimals(bad)) << testing::PrintToString(std::u16string(bad));
}

// One scanner, four forms: each text in each form (C: the CAD program's, S: shown, X: a
// spreadsheet cell's, W: a whole number of the program's own).
TEST(NumberForms, DifferOnlyInSeparatorsAndExponent) {
    const struct {
        const char16_t* text;
        const char* takenBy;
    } cases[] = {
        {u"12", "CSXW"}, {u"-0.5", "CSX"}, {u".5", "CSX"}, {u"5.", "CSX"},  {u"1,5", "SX"},
        {u"1e-3", "CX"}, {u"1E3", "CX"},   {u"1e", ""},    {u"1.2.3", ""},  {u"+", ""},
        {u" 1", ""},     {u"1 ", ""},      {u"--1", ""},   {u"\uFF11", ""}, {u"1,5e2", "X"},
    };
    const std::pair<char, app::NumberForm> forms[] = {{'C', app::kCadNumberForm},
                                                      {'S', app::kShownNumberForm},
                                                      {'X', app::kCellNumberForm},
                                                      {'W', app::kWholeNumberForm}};
    for (const auto& c : cases) {
        std::string taken;
        for (const auto& [name, form] : forms)
            if (app::ScanNumber(c.text, form))
                taken += name;
        EXPECT_EQ(taken, c.takenBy) << testing::PrintToString(std::u16string(c.text));
    }
    EXPECT_EQ(app::ParseCount(u"18446744073709551615"), UINT64_MAX);
    EXPECT_FALSE(app::ParseCount(u"18446744073709551616"));
    EXPECT_FALSE(app::ParseCount(u"+1"));
}

}  // namespace
