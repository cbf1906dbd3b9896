#include "report_reader.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"

namespace {

using app::ParseReport;
using app::ReportVariant;

// The host's report: label lines with values at a fixed column, X and Y aligned under each other.
const std::string kReport =
    "----------------   リージョン   ----------------\r\n"
    "面積:                    1234.5678\r\n"
    "周囲:                    140.0000\r\n"
    "境界ボックス:         X: 10.0000  --  50.0000\r\n"
    "                      Y: 20.0000  --  50.0000\r\n"
    "図心:                 X: 30.0000\r\n"
    "                      Y: 35.0000\r\n"
    "慣性モーメント:       X: 1.0000\r\n";

std::string WithCentroidLabel(const std::string& blanks) {
    std::string report = kReport;
    report.replace(report.find("図心:"), 5, "図心" + blanks + ":");
    return report;
}

TEST(ReportReader, FaceCentreTakesTheCentroidAndTheValuesAsRead) {
    const auto values = ParseReport(WithCentroidLabel("  "), ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, "30.0000");
    EXPECT_EQ(values.centroidY, "35.0000");
    EXPECT_EQ(values.area, "1234.5678");
    EXPECT_EQ(values.perimeter, "140.0000");
    EXPECT_TRUE(values.areaSeen && values.perimeterSeen);
}

// The one formatted value that the label and the results row both show.
TEST(ReportReader, ShownValueIsAsReadInFaceCentreModeAndTwoDecimalsInRegionMode) {
    const struct {
        ReportVariant variant;
        const char* value;
        char separator;
        const char* shown;  // nullptr: the conversion error
    } cases[] = {
        {ReportVariant::FaceCentre, "1234.5678", ',', "1234.5678"},
        {ReportVariant::FaceCentre, "1.#INF", '.', ""},
        {ReportVariant::FaceCentre, "NaN", '.', ""},
        {ReportVariant::FaceCentre, "1e999", '.', ""},
        {ReportVariant::Region, "1234.5678", '.', "1234.57"},
        {ReportVariant::Region, "140", ',', "140,00"},
        {ReportVariant::Region, "1.#INF", '.', nullptr},
    };
    for (const auto& c : cases) {
        if (c.shown)
            EXPECT_EQ(app::ShownValue(c.variant, c.value, c.separator), c.shown) << c.value;
        else
            EXPECT_THROW(app::ShownValue(c.variant, c.value, c.separator), framework::EConvertError) << c.value;
    }
}

TEST(ReportReader, RegionShowsTwoDecimalsPaddedToFive) {
    EXPECT_EQ(app::FormatTwoDecimals("1.5"), " 1.50");
    EXPECT_EQ(app::FormatTwoDecimals(" -2.125e1 "), "-21.25");
    // The report has a full stop whatever the user's decimal symbol; the caption has the user's.
    EXPECT_EQ(app::FormatTwoDecimals("1200.0000", ','), "1200,00");
    EXPECT_THROW(app::FormatTwoDecimals("3,5", ','), framework::EConvertError);
}

TEST(ReportReader, CentroidTagWithOneSpaceIsForRegionModeOnly) {
    EXPECT_EQ(ParseReport(WithCentroidLabel(" "), ReportVariant::FaceCentre).centroidX, "");
    EXPECT_EQ(ParseReport(WithCentroidLabel("   "), ReportVariant::Region).centroidX, "30.0000");
}

TEST(ReportReader, LastValuesWinAndTheYLineIsConsumed) {
    const std::string report = "図心  X: 1\n  Y: 2 面積: 77\n図心  X: 3\r\n  Y: 4\r\n周囲: 8\n周囲: 9";
    EXPECT_EQ(ParseReport(report, ReportVariant::FaceCentre).area, "77");  // the text after "Y:" is looked at
    const auto values = ParseReport(report + "\n面積:5", ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, "3");
    EXPECT_EQ(values.centroidY, "4");
    EXPECT_EQ(values.area, "5");  // no blank after the colon: the whole number
    EXPECT_EQ(values.perimeter, "9");
}

TEST(ReportReader, CentroidOnTheLastLineGivesAnEmptyY) {
    const auto values = ParseReport("面積: 1\n図心  X: 5.5", ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, "5.5");
    EXPECT_EQ(values.centroidY, "");
}

TEST(ReportReader, LinesEndWithCrLfOrLfAndALoneCrStaysInTheLine) {
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> cases[] = {
        {"", Lines{}},
        {"\r\n", Lines{""}},
        {"a\r\nb\nc", Lines{"a", "b", "c"}},
        {"a\n\nb\r\n", Lines{"a", "", "b"}},
        {"a\rb\r\n", Lines{"a\rb"}},
        {"a\r", Lines{"a\r"}},
        {"a\r\r\n", Lines{"a\r"}},
    };
    for (const auto& [content, lines] : cases)
        EXPECT_EQ(app::ReportLines(content), lines) << content;
}

TEST(ReportReader, EmptyOrTaglessReportsLeaveTheLabelsAlone) {
    for (const std::string& report : {std::string(), std::string("\r\n\r\n"), std::string("\x00\x01\xff\x81", 4),
                                      std::string(10 * 1024 * 1024, 'x')}) {
        const auto values = ParseReport(report, ReportVariant::Region);
        EXPECT_EQ(values.centroidX + values.centroidY + values.area + values.perimeter, "");
        EXPECT_FALSE(values.areaSeen || values.perimeterSeen);
    }
}

TEST(ReportReader, MissingMarkersGiveEmptyValuesWithoutFault) {
    const auto values = ParseReport("図心  30.0\n 35.0\n面積 12\n周囲 3", ReportVariant::FaceCentre);
    EXPECT_EQ(values.centroidX, "");
    EXPECT_EQ(values.centroidY, "");
    EXPECT_EQ(values.area, "");
    EXPECT_EQ(values.perimeter, "");
}

TEST(ReportReader, RegionValueThatIsNotANumberRaisesTheConversionError) {
    try {
        app::ShownValue(ReportVariant::Region, "1,5a", '.');
        FAIL() << "no error";
    } catch (const framework::EConvertError& error) {
        EXPECT_EQ(std::string(error.what()), "'1,5a' は浮動小数点数ではありません");
    }
    for (const char* bad : {"", " ", "abc", "1.2.3", "e5", "1e", "--1", "1 2", "1e999", "1e308", "nan", "inf", "0x10"})
        EXPECT_THROW(app::FormatTwoDecimals(bad), framework::EConvertError) << bad;
}

}  // namespace
