#include "results_encoding.h"

#include <gtest/gtest.h>

#include "results_clipboard.h"

namespace {

using namespace app;

ListEncoding Scanned(const std::string& bytes, std::size_t piece) {
    ListEncodingScan scan;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        scan.Feed(std::string_view(bytes).substr(at, piece));
    return scan.Result();
}

TEST(ResultsEncoding, TheListsEncodingIsToldFromItsBytesFedInAnyPieces) {
    const std::string mark = "\xEF\xBB\xBF";
    const std::string utf8 = "\xE5\x9B\xB3\xE9\x9D\xA2";  // 図面 in UTF-8
    const std::string sjis = "\x90\x7D\x96\xCA";          // 図面 in code page 932
    const struct {
        std::string bytes;
        ListEncoding expected;
    } cases[] = {
        {"", ListEncoding::Empty},
        {mark, ListEncoding::MarkOnly},
        {mark + utf8 + "\r\n", ListEncoding::Utf8WithMark},
        {mark + utf8 + sjis, ListEncoding::Utf8WithMark},  // the mark decides
        {utf8 + ",1\r\n", ListEncoding::Utf8},
        {sjis + ",1\r\n", ListEncoding::CodePage932},
        {"Date,Drawing,Mode,Area\r\n", ListEncoding::CodePage932},  // plain ASCII
        {utf8 + sjis, ListEncoding::CodePage932},                   // UTF-8 Japanese is often valid code page 932 too
        {"\xE6\x97\xA5\xE6\x99\x82," + sjis, ListEncoding::Unreadable},  // 日時 in UTF-8, then code page 932
        {"a\x90", ListEncoding::Unreadable},                             // cut inside a character
        {"\xFF\xFE"
         "a",
         ListEncoding::Unreadable},
    };
    for (const auto& c : cases) {
        for (std::size_t piece : {1u, 2u, 5u, 4096u})
            EXPECT_EQ(Scanned(c.bytes, piece), c.expected) << c.bytes << " in pieces of " << piece;
    }
}

TEST(ResultsEncoding, APieceEndsBeforeACharacterItCuts) {
    EXPECT_EQ(CompleteUtf8Prefix("ab\xE5\x9B"), 2u);
    EXPECT_EQ(CompleteUtf8Prefix("ab\xE5\x9B\xB3"), 5u);
    EXPECT_EQ(CompleteUtf8Prefix("\xF0\x9F\x98"), 0u);
    EXPECT_EQ(CompleteCp932Prefix("a\x90\x7D\x96"), 3u);
    EXPECT_EQ(CompleteCp932Prefix("\x90\x90"), 2u);  // a trail byte of a lead byte's value
    EXPECT_EQ(CompleteCp932Prefix("\x90\x90\x90"), 2u);
}

TEST(ResultsEncoding, SideFilesAreOursOnlyWithTheSignatureAndKeepWholeRows) {
    const std::string signature = kKeptSignature;
    const KeptRows kept = ParseKeptFile(signature + "1,a\r\n2,b\r\n3,torn");
    EXPECT_TRUE(kept.ours);
    EXPECT_EQ(kept.rows, (std::vector<std::string>{"1,a\r\n", "2,b\r\n"}));
    EXPECT_EQ(ParseKeptFile(signature + std::string("1,a\0\r\n\0\0\r\n", 9)).rows, std::vector<std::string>{"1,a\r\n"});
    EXPECT_TRUE(ParseKeptFile("").ours);
    EXPECT_FALSE(ParseKeptFile("1,a\r\n").ours);
    EXPECT_FALSE(ParseKeptFile(signature.substr(0, 5)).ours);
    EXPECT_FALSE(kept.movingAt.has_value());
    // A move into the list that the program's end may have cut short: the last mark holds.
    const KeptRows moving = ParseKeptFile(signature + "1,a\r\n#>12\r\n#>345\r\n");
    EXPECT_EQ(moving.rows, (std::vector<std::string>{"1,a\r\n"}));
    EXPECT_EQ(moving.movingAt, 345u);
    EXPECT_FALSE(ParseKeptFile(signature + "1,a\r\n#>x\r\n").movingAt.has_value());

    EXPECT_EQ(KeptFilePath(u"C:\\w\\Tavro.csv", 1), u"C:\\w\\Tavro.kept.csv");
    EXPECT_EQ(KeptFilePath(u"C:\\Jos\u00E9\\Tavro.csv", 12), u"C:\\Jos\u00E9\\Tavro.kept-12.csv");
    const struct {
        const char16_t* name;
        int number;
    } names[] = {{u"Tavro.kept.csv", 1},   {u"Tavro.kept-2.csv", 2},  {u"Tavro.kept-99.csv", 99},
                 {u"Tavro.kept-1.csv", 0}, {u"Tavro.kept-02.csv", 0}, {u"Tavro.kept-x.csv", 0},
                 {u"Tavro.csv", 0},        {u"Other.kept.csv", 0}};
    for (const auto& n : names)
        EXPECT_EQ(KeptFileNumber(u"Tavro.csv", n.name), n.number) << n.number;
}

TEST(ResultsClipboard, ATableFedInPiecesIsTheTableOfTheWholeTextAndAForeignHeaderIsNotRepeated) {
    const std::u16string csv =
        u"Date,Drawing,Mode,Area,Perimeter,X,Y,Size\r\n"
        u"2026/12/08 14:30:15,\"a,\"\"b\"\"\",面の中心,100.25,40,5,5,30\r\n"
        u"2026/12/08 14:31:00,c,リージョン,1.50,5,1,1,30\r";
    const std::u16string whole = ResultsClipboardText(csv, u'.');
    EXPECT_EQ(whole.find(u"Date"), std::u16string::npos);
    EXPECT_NE(whole.find(u"合計\t\t\t101.75\t"), std::u16string::npos);
    for (std::size_t piece : {1u, 3u, 7u}) {
        std::u16string out;
        ClipboardTableWriter writer(u'.', [&out](std::u16string_view text) { out.append(text); });
        for (std::size_t at = 0; at < csv.size(); at += piece)
            writer.Feed(std::u16string_view(csv).substr(at, piece));
        writer.Finish();
        EXPECT_EQ(out, whole) << piece;
    }
}

}  // namespace
