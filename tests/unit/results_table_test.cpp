#include "results_table.h"

#include <gtest/gtest.h>

#include <string>

#include "results_clipboard.h"

namespace {

using namespace app;

TEST(ResultsTable, DrawingNameIsTheTextOfTheLastBrackets) {
    const struct {
        const char16_t* title;
        const char16_t* name;
    } cases[] = {
        {u"AutoCAD 2000 - [図面1.dwg]", u"図面1.dwg"},
        {u"AutoCAD [古い] - [新しい.dwg]", u"新しい.dwg"},
        {u"DraftSight", u""},
        {u"AutoCAD - [閉じていない", u""},
        {u"AutoCAD - []", u""},
        {u"AutoCAD - [a,b\"c.dwg] ゾ", u"a,b\"c.dwg"},
        {u"AutoCAD ]x[", u""},
        {u"AutoCAD 2024 - [x] [=\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg]", u"=\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawingNameFromTitle(c.title), c.name);
}

// Decimal commas of the labels, a name with a comma and a quote, a long one, and one the code page
// cannot hold (kept, and kept as text).
TEST(ResultsTable, RowIsQuotedAsCsvRequires) {
    const DrawnMeasurement face{ReportVariant::FaceCentre, u"1234.5678", u"140.0000", u"-12.5", u"40.25", u"30"};
    const DrawnMeasurement region{ReportVariant::Region, u"1234,57", u" 1,50", u"3,5", u"-4,25", u"30 "};
    const DrawnMeasurement plain{ReportVariant::Region, u"1", u"2", u"3", u"4", u"5"};
    const std::u16string longName(1000, u'x');
    const struct {
        std::u16string time, name;
        const DrawnMeasurement& values;
        std::u16string row;
    } cases[] = {
        {u"2026/12/08 14:30:15", u"図面1.dwg", face,
         u"2026/12/08 14:30:15,図面1.dwg,面の中心,1234.5678,140.0000,-12.5,40.25,30\r\n"},
        {u"2026/01/02 03:04:05", u"a,\"b\".dwg", region,
         u"2026/01/02 03:04:05,\"a,\"\"b\"\".dwg\",リージョン,\"1234,57\",\" 1,50\",\"3,5\",\"-4,25\",30 \r\n"},
        {u"t", longName + u",", plain, u"t,\"" + longName + u",\",リージョン,1,2,3,4,5\r\n"},
        {u"t", u"=\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg", plain,
         u"t,'=\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg,リージョン,1,2,3,4,5\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatResultRow(c.time, c.name, c.values), c.row);
    EXPECT_EQ(kResultsHeader, std::u16string(u"日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n"));
    EXPECT_EQ(FormatRowTime(2026, 12, 8, 4, 5, 6), u"2026/12/08 04:05:06");
}

TEST(ResultsTable, TextsASpreadsheetWouldEvaluateStayText) {
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"=HYPERLINK(\"http://x\")見取図.dwg", u"'=HYPERLINK(\"http://x\")見取図.dwg"},
        {u"+1+2.dwg", u"'+1+2.dwg"},
        {u"-2+3.dwg", u"'-2+3.dwg"},
        {u"@SUM(A1).dwg", u"'@SUM(A1).dwg"},
        {u"\t=1.dwg", u"'=1.dwg"},
        {u"\rplan.dwg", u"'plan.dwg"},
        {u"\t5", u"'5"},
        {u" =1", u"' =1"},
        {u"pl\x01"
         u"an\n.dwg\x7F",
         u"plan.dwg"},
        {u"図面-1.dwg", u"図面-1.dwg"},
        // Numbers stay numbers.
        {u"-12.5", u"-12.5"},
        {u"+3", u"+3"},
        {u" -1,50", u" -1,50"},
        {u"1.5E-3", u"1.5E-3"},
        {u"-", u"'-"},
        {u"1.2.3", u"1.2.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafeCellText(c.in), c.out);
}

TEST(ResultsTable, RegionValuesAreWrittenAsTheLabelsShowThem) {
    const ReportValues values{u"3.25", u"-4.5", u"1234.5678", u"1.5"};  // the report has full stops
    const DrawnMeasurement region = MeasurementAsShown(ReportVariant::Region, values, u"30 ", u',');
    EXPECT_EQ(region.area, u"1234,57");
    EXPECT_EQ(region.perimeter, u" 1,50");
    EXPECT_EQ(region.centroidX, u"3.25");
    EXPECT_EQ(region.size, u"30 ");
    EXPECT_EQ(MeasurementAsShown(ReportVariant::FaceCentre, values, u"30", u',').area, u"1234.5678");
    EXPECT_EQ(MeasurementAsShown(ReportVariant::Region, ReportValues{u"1", u"2", u"", u""}, u"3", u'.').area, u"");
}

TEST(ResultsTable, FileNamesFollowTheExecutable) {
    EXPECT_EQ(ResultsFileName(u"C:\\ソフト\\Tavro.exe"), u"Tavro.csv");
    EXPECT_EQ(ResultsFileName(u"D:\\x.y\\TavroCopy"), u"TavroCopy.csv");
    EXPECT_EQ(ResultsFileName(u"C:\\users\\Jos\u00E9\\Zo\u00EB.exe"), u"Zo\u00EB.csv");
    EXPECT_EQ(ArchivedResultsName(u"C:\\ソフト\\Tavro.exe", 2026, 12, 8, 14, 30, 15, 1), u"Tavro-20261208-143015.csv");
    EXPECT_EQ(ArchivedResultsName(u"表.exe", 2027, 1, 2, 3, 4, 5, 3), u"表-20270102-030405-3.csv");
}

TEST(ResultsClipboard, CsvParsesQuotesLineEndsAndAnyText) {
    const auto records = ParseCsv(
        u"\xFEFF"
        u"a,\"b,\"\"c\"\"\r\nd\",e\r\n\r\n1,2\n3\r");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0], (Record{u"a", u"b,\"c\"\r\nd", u"e"}));
    EXPECT_EQ(records[1], (Record{u""}));
    EXPECT_EQ(records[2], (Record{u"1", u"2"}));
    EXPECT_EQ(records[3], (Record{u"3"}));
    EXPECT_EQ(ParseCsv(u"\"unterminated,x").size(), 1u);
    EXPECT_TRUE(ParseCsv(u"").empty());
}

TEST(ResultsClipboard, TotalOfAreasInBothNumberFormats) {
    const struct {
        std::vector<std::u16string> areas;
        char16_t fallback;
        std::u16string total;
    } cases[] = {
        {{u"1234.5678", u" 1.50", u"10"}, u',', u"1246.0678"},
        {{u"1234,57", u" 1,50"}, u'.', u"1236,07"},
        {{u"0.1", u"0.2"}, u'.', u"0.3"},
        {{u"-5.25", u"1"}, u'.', u"-4.25"},
        {{u"abc", u"", u"'=1"}, u'.', u"0"},
        {{u"3", u"4"}, u',', u"7"},
        {{}, u'.', u"0"},
        {{u"99999999999999999", u"99999999999999999"}, u'.', u"199999999999999998"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SumOfNumbers(c.areas, c.fallback), c.total);
}

TEST(ResultsClipboard, ClipboardTextIsTabSeparatedWithATotalRow) {
    const std::u16string csv =
        u"\xFEFF日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n"
        u"2026/12/08 14:30:15,\"'=HYPERLINK(\"\"x\"\")\",面の中心,100.25,40,5,5,30\r\n"
        u"2026/12/08 14:31:00,\"a\tb\",リージョン,\" 1,50\",\"5,00\",\"1,5\",\"-2,5\",30\r\n";
    EXPECT_EQ(ResultsClipboardText(csv, u'.'),
              u"日時\t図面\tモード\t面積\t周長\t図心X\t図心Y\t円の大きさ\r\n"
              u"2026/12/08 14:30:15\t'=HYPERLINK(\"x\")\t面の中心\t100.25\t40\t5\t5\t30\r\n"
              u"2026/12/08 14:31:00\t\"a\tb\"\tリージョン\t 1,50\t5,00\t1,5\t-2,5\t30\r\n"
              u"合計\t\t\t101.75\t\t\t\t\r\n");
    // A file that is not a list at all is still copied, row by row, with a zero total.
    EXPECT_EQ(ResultsClipboardText(u"hello\nworld", u'.'),
              u"日時\t図面\tモード\t面積\t周長\t図心X\t図心Y\t円の大きさ\r\nhello\r\nworld\r\n合計\t\t\t0\t\t\t\t\r\n");
}

TEST(ResultsClipboard, NulBytesAreSkippedWhereverTheListHasThem) {
    using namespace std::string_literals;
    const std::u16string header = u"日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n";
    const std::u16string row = u"2026/12/08 14:30:15,a,面の中心,2,1,1,1,30\r\n";
    const std::u16string copied =
        u"日時\t図面\tモード\t面積\t周長\t図心X\t図心Y\t円の大きさ\r\n"
        u"2026/12/08 14:30:15\ta\t面の中心\t2\t1\t1\t1\t30\r\n"
        u"2026/12/08 14:30:15\ta\t面の中心\t2\t1\t1\t1\t30\r\n"
        u"合計\t\t\t4\t\t\t\t\r\n";
    const std::u16string endings[] = {
        row + u"\0\0\0"s + u"\r\n" + row,                 // a power cut's tail, then the next row on a line of its own
        row + u"\0\0\0\r\n"s + row + u"\0"s,              // NULs at the very end
        row.substr(0, 5) + u"\0"s + row.substr(5) + row,  // inside a field
    };
    for (const std::u16string& ending : endings)
        EXPECT_EQ(ResultsClipboardText(header + ending, u'.'), copied);
}

}  // namespace
