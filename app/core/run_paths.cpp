#include "run_paths.h"

#include <cstdio>
#include <string>

#include "platform/path_names.h"

namespace app {

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

std::u16string WorkFolderFor(const std::u16string& appDataFolder) {
    return appDataFolder + u"\\Halvetra\\";
}

RunPaths::RunPaths(std::u16string workFolder, const std::string& startStamp)
    : workFolder_(std::move(workFolder)), stamp_(startStamp) {
    // The stamp is digits and '-' only.
    scriptPath_ = workFolder_ + std::u16string(stamp_.begin(), stamp_.end()) + u".scr";
}

std::u16string RunPaths::ReportStem() const {
    return platform::ChangeExtension(scriptPath_, u"");
}

RunPaths RunPaths::InFolder(std::u16string folder) const {
    return RunPaths(std::move(folder), stamp_);
}

std::optional<std::u16string> RecordFolderFor(
    const std::u16string& folder,
    bool unicodeFrame,
    const std::function<bool(const std::u16string&)>& inCodePage,
    const std::function<std::optional<std::u16string>(const std::u16string&)>& shortForm) {
    if (unicodeFrame || inCodePage(folder))
        return folder;
    std::optional<std::u16string> brief = shortForm(folder);
    if (brief && !brief->empty() && inCodePage(*brief))
        return brief;
    return std::nullopt;
}

}  // namespace app
