#include "cadlink/text_match.h"

#include <gtest/gtest.h>

#include "simulated_desktop.h"

namespace {

using namespace cadlink;

TEST(TextMatch, BytePrefixIsCaseSensitiveAndNeedsTheWholeLiteral) {
    EXPECT_TRUE(BytePrefix("AutoCAD 2024", "AutoCAD "));
    EXPECT_FALSE(BytePrefix("AutoCAD", "AutoCAD "));
    EXPECT_FALSE(BytePrefix("autoCAD 2024", "AutoCAD "));
    EXPECT_TRUE(BytePrefix("x", ""));
}

TEST(TextMatch, LocalePrefixComparesOverTheLiteralsLength) {
    platform::sim::SimulatedDesktop desktop;
    EXPECT_TRUE(LocalePrefix(desktop, "AutoCAD テキスト", "AutoCAD "));
    EXPECT_FALSE(LocalePrefix(desktop, "AutoCAD", "AutoCAD "));
    EXPECT_FALSE(LocalePrefix(desktop, "", "AutoCAD "));
}

TEST(TextMatch, LocaleContainsStartsOnlyAtCharacterBoundaries) {
    platform::sim::SimulatedDesktop desktop;
    EXPECT_TRUE(LocaleContains(desktop, "AutoCAD テキスト ウィンドウ - a", "テキスト ウィンドウ"));
    EXPECT_TRUE(LocaleContains(desktop, "テキスト ウィンドウ", "テキスト ウィンドウ"));
    EXPECT_FALSE(LocaleContains(desktop, "テキスト ウィンド", "テキスト ウィンドウ"));
    // "\x83\x65" (テ) after a lead byte 0x81 is the second half of one character and its neighbour.
    EXPECT_FALSE(LocaleContains(desktop, std::string("\x81") + "テキスト", "テキスト"));
    // A whole preceding character does not hide a later match.
    EXPECT_TRUE(LocaleContains(desktop, std::string("\x81\x83") + "テキスト", "テキスト"));
    EXPECT_FALSE(LocaleContains(desktop, "abc", ""));
}

}  // namespace
