#include "user_locale.h"

#include <windows.h>

#include "text_conversion.h"

namespace platform {

char16_t UserDecimalSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) != 2)
        return u'.';
    return static_cast<char16_t>(separator[0]);
}

char16_t UserDecimalSeparatorOneByte() {
    const std::u16string separator(1, UserDecimalSeparator());
    const std::string bytes = Cp932FromWide(separator);
    return bytes.size() == 1 && WideFromCp932(bytes) == separator ? separator[0] : u'.';
}

}  // namespace platform
