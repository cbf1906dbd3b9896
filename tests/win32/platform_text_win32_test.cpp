// The code-page conversions and the user's decimal symbol, through the real system (code page 932).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text_conversion.h"
#include "user_locale.h"

namespace {

TEST(TextConversion, EachEncodingBothWays) {
    struct Case {
        std::u16string wide;
        std::string ansi;  // what the system code page makes of it
        std::string utf8;
    };
    for (const Case& c : {
             Case{u"", "", ""},
             Case{u"ID 30,35\r", "ID 30,35\r", "ID 30,35\r"},
             Case{u"\u56F3\u5FC3 X:", "\x90\x7d\x90\x53 X:", "\xE5\x9B\xB3\xE5\xBF\x83 X:"},  // 図心 X:
             // Korean is outside code page 932: its default character there, whole in UTF-8.
             Case{u"\uD55C\u56F3.dwg", "?\x90\x7d.dwg", "\xED\x95\x9C\xE5\x9B\xB3.dwg"},
         }) {
        EXPECT_EQ(platform::AnsiFromWide(c.wide), c.ansi);
        EXPECT_EQ(platform::Utf8FromWide(c.wide), c.utf8);
        EXPECT_EQ(platform::WideFromUtf8(c.utf8), c.wide);
        if (c.ansi.find('?') == std::string::npos) {
            EXPECT_EQ(platform::WideFromAnsi(c.ansi), c.wide);
        }
        EXPECT_EQ(platform::ToWideStrict(platform::kUtf8CodePage, c.utf8), c.wide);
    }
    // Bytes that are no UTF-8: nothing from the strict form, the default character from the other.
    EXPECT_FALSE(platform::ToWideStrict(platform::kUtf8CodePage, "\x90\x7d").has_value());
    EXPECT_EQ(platform::WideFromUtf8("a\xFF"), u"a\uFFFD");
}

// Sets the user's decimal symbol for one case and puts the user's own back afterwards.
class DecimalSymbol {
public:
    DecimalSymbol() { ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_, 8); }
    ~DecimalSymbol() { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_); }
    bool Set(const wchar_t* symbol) { return ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol) != FALSE; }

private:
    wchar_t saved_[8] = {};
};

TEST(UserLocale, DecimalSymbolInUtf16AndAsOneAnsiByte) {
    struct Case {
        const wchar_t* symbol;
        char16_t wide;
        char ansi;
    };
    DecimalSymbol setting;
    for (const Case& c : {Case{L".", u'.', '.'}, Case{L",", u',', ','},
                          Case{L"\uFF0E", u'\uFF0E', '.'},  // a wide full stop is two bytes in code page 932
                          Case{L"\u066B", u'\u066B', '.'},  // not in code page 932 at all
                          Case{L",,", u'.', '.'}}) {
        ASSERT_TRUE(setting.Set(c.symbol));
        EXPECT_EQ(platform::UserDecimalSeparator(), c.wide);
        EXPECT_EQ(platform::UserDecimalSeparatorAnsi(), c.ansi);
    }
}

}  // namespace
