#include "run_paths.h"

#include <cstdio>
#include <string>

#include "platform/codepage.h"

namespace app {
namespace {

// Index just after the last path delimiter, or 0.
std::size_t FileNameStart(const std::string& path) {
    const std::size_t delimiter = platform::LastCharOf(path, "\\/:");
    return delimiter == std::string::npos ? 0 : delimiter + 1;
}

}  // namespace

std::string FormatStartStamp(int year, int month, int day, int hour, int minute, int second) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d", year % 100, month % 100, day % 100, hour % 100,
                  minute % 100, second % 100);
    return text;
}

std::string FirstFreeStamp(const std::string& stamp, const std::function<bool(const std::string&)>& claim) {
    for (int n = 1; n <= kStampTries; ++n) {
        const std::string candidate = n == 1 ? stamp : stamp + "-" + std::to_string(n);
        if (claim(candidate))
            return candidate;
    }
    return stamp;
}

std::string WorkFolderFor(const std::string& appDataFolder) {
    return appDataFolder + "\\Halvetra\\";
}

std::string ExtractFileName(const std::string& path) {
    return path.substr(FileNameStart(path));
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
    const std::size_t dot = platform::LastCharOf(path, ".");
    const bool hasExtension = dot != std::string::npos && dot >= FileNameStart(path);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

}  // namespace app
