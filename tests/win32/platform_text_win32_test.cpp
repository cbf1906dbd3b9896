// The code-page conversions and the user's decimal symbol, through the real system (code page 932).

#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "text_conversion.h"
#include "user_locale.h"

namespace {

// Korean is outside code page 932: its default character there, whole in UTF-8.
TEST(TextConversion, EachEncodingBothWays) {
    const std::u16string wide = u"\uD55C\u56F3.dwg";
    EXPECT_EQ(platform::AnsiFromWide(wide), "?\x90\x7d.dwg");
    EXPECT_EQ(platform::WideFromAnsi("\x90\x7d.dwg"), wide.substr(1));
    EXPECT_EQ(platform::Utf8FromWide(wide), "\xED\x95\x9C\xE5\x9B\xB3.dwg");
    EXPECT_EQ(platform::ToWideStrict(platform::kUtf8CodePage, "\xED\x95\x9C\xE5\x9B\xB3.dwg"), wide);
    EXPECT_FALSE(platform::ToWideStrict(platform::kUtf8CodePage, "\x90\x7d").has_value());  // not UTF-8
    EXPECT_EQ(platform::WideFromUtf8("a\xFF"), u"a\uFFFD");
}

TEST(UserLocale, DecimalSymbolInUtf16AndInOneCodePageByte) {
    wchar_t saved[8] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8);
    // A wide full stop is two bytes in code page 932; U+066B is not in it at all.
    for (const auto& [symbol, wide, oneByte] :
         {std::tuple{L",", u',', u','}, std::tuple{L"\uFF0E", u'\uFF0E', u'.'}, std::tuple{L"\u066B", u'\u066B', u'.'},
          std::tuple{L",,", u'.', u'.'}}) {
        ASSERT_TRUE(::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol));
        EXPECT_EQ(platform::UserDecimalSeparator(), wide);
        EXPECT_EQ(platform::UserDecimalSeparatorOneByte(), oneByte);
    }
    ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
}

}  // namespace
