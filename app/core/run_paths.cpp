#include "run_paths.h"

#include <cstdio>

#include "platform/codepage.h"

namespace app {
namespace {

bool IsPathDelimiter(char c) {
    return c == '\\' || c == '/' || c == ':';
}

// Index just after the last path delimiter that is a whole character, or 0.
std::size_t FileNameStart(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        if (platform::IsCp932LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (IsPathDelimiter(path[i]))
            start = i + 1;
        ++i;
    }
    return start;
}

}  // namespace

std::string FormatStartStamp(int year, int month, int day, int hour, int minute, int second) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d", year % 100, month % 100, day % 100, hour % 100,
                  minute % 100, second % 100);
    return text;
}

std::string WorkFolderFor(const std::string& appDataFolder) {
    return appDataFolder + "\\Halvetra\\";
}

std::string ExtractFileName(const std::string& path) {
    return path.substr(FileNameStart(path));
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
    const std::size_t nameStart = FileNameStart(path);
    std::size_t dot = std::string::npos;
    for (std::size_t i = nameStart; i < path.size();) {
        if (platform::IsCp932LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (path[i] == '.')
            dot = i;
        ++i;
    }
    return (dot == std::string::npos ? path : path.substr(0, dot)) + extension;
}

}  // namespace app
