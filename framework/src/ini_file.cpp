#include "framework/ini_file.h"

#include <windows.h>

#include "framework/exceptions.h"
#include "framework/shell_folders.h"

namespace framework {

std::u16string TIniFile::ReadString(const std::u16string& section,
                                    const std::u16string& key,
                                    const std::u16string& fallback) const {
    wchar_t buffer[2048] = {};
    const DWORD length = ::GetPrivateProfileStringW(WidePath(section), WidePath(key), WidePath(fallback), buffer,
                                                    ARRAYSIZE(buffer), WidePath(path_));
    return std::u16string(reinterpret_cast<const char16_t*>(buffer),
                          length < ARRAYSIZE(buffer) ? length : ARRAYSIZE(buffer) - 1);
}

void TIniFile::WriteString(const std::u16string& section,
                           const std::u16string& key,
                           const std::u16string& value) const {
    if (!::WritePrivateProfileStringW(WidePath(section), WidePath(key), WidePath(value), WidePath(path_)))
        throw EIniFileException::WriteError(path_);
}

}  // namespace framework
