#include "framework/ini_file.h"

#include <windows.h>

#include "framework/exceptions.h"

namespace framework {

std::string TIniFile::ReadString(const std::string& section,
                                 const std::string& key,
                                 const std::string& fallback) const {
    char buffer[2048] = {};
    const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                                    sizeof buffer, path_.c_str());
    return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
    if (!::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw EIniFileException::WriteError(path_);
}

}  // namespace framework
