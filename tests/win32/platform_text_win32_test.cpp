// The code-page conversions and the user's decimal symbol, through the real system (code page 932).

#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "text_conversion.h"
#include "user_locale.h"

namespace {

TEST(TextConversion, EachEncodingBothWays) {
    struct Case {
        std::u16string wide;
        std::string ansi;
        std::string utf8;
    } cases[] = {
        {u"", "", ""},
        {u"\u56F3\u5FC3 X:", "\x90\x7d\x90\x53 X:", "\xE5\x9B\xB3\xE5\xBF\x83 X:"},  // 図心 X:
        // Korean is outside code page 932: its default character there, whole in UTF-8.
        {u"\uD55C\u56F3.dwg", "?\x90\x7d.dwg", "\xED\x95\x9C\xE5\x9B\xB3.dwg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::AnsiFromWide(c.wide), c.ansi);
        EXPECT_EQ(platform::Utf8FromWide(c.wide), c.utf8);
        EXPECT_EQ(platform::ToWideStrict(platform::kUtf8CodePage, c.utf8), c.wide);
    }
    EXPECT_EQ(platform::WideFromAnsi("\x90\x7d"), u"\u56F3");
    EXPECT_FALSE(platform::ToWideStrict(platform::kUtf8CodePage, "\x90\x7d").has_value());  // not UTF-8
    EXPECT_EQ(platform::WideFromUtf8("a\xFF"), u"a\uFFFD");
}

TEST(UserLocale, DecimalSymbolInUtf16AndAsOneAnsiByte) {
    wchar_t saved[8] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8);
    // A wide full stop is two bytes in code page 932; U+066B is not in it at all.
    for (const auto& [symbol, wide, ansi] : {std::tuple{L",", u',', ','}, std::tuple{L"\uFF0E", u'\uFF0E', '.'},
                                             std::tuple{L"\u066B", u'\u066B', '.'}, std::tuple{L",,", u'.', '.'}}) {
        ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol));
        EXPECT_EQ(platform::UserDecimalSeparator(), wide);
        EXPECT_EQ(platform::UserDecimalSeparatorAnsi(), ansi);
    }
    ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
}

}  // namespace
