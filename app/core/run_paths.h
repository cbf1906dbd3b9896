#pragma once
// The file paths of one run of the program, fixed at start-up: the work folder under the user's
// application-data folder, the script path stamped with the start time, and what derives from them.
// Held in UTF-16: the files are the user's own, whatever code page the user's name is outside of.

#include <functional>
#include <optional>
#include <string>

namespace app {

// "yymmddhhnnss": two digits each for year, month, day, hour (00-23), minute and second.
std::string FormatStartStamp(int year, int month, int day, int hour, int minute, int second);

// The first stamp that claim accepts: the stamp itself, then "-2", "-3", ... after it. Two
// instances started in the same second would otherwise write one report path, each overwriting
// the other's measurement. After kStampTries refusals the stamp is used as it is.
constexpr int kStampTries = 100;
std::string FirstFreeStamp(const std::string& stamp, const std::function<bool(const std::string&)>& claim);

// The work folder for a given application-data folder; always ends in a backslash.
std::u16string WorkFolderFor(const std::u16string& appDataFolder);

class RunPaths {
public:
    RunPaths() = default;
    RunPaths(std::u16string workFolder, const std::string& startStamp);

    const std::u16string& WorkFolder() const { return workFolder_; }
    const std::u16string& ScriptPath() const { return scriptPath_; }
    // The script path without its extension: the name given to the CAD program for its report.
    std::u16string ReportStem() const;
    std::u16string ReportPath() const { return ReportStem() + u".mpr"; }
    // The same files named from another folder (the work folder's short form).
    RunPaths InFolder(std::u16string folder) const;

private:
    std::u16string workFolder_;
    std::u16string scriptPath_;
    std::string stamp_;
};

// The work folder as the CAD program's records name it. A Unicode main frame takes it as it is.
// An ANSI one receives code page bytes: the folder itself when the code page names it whole, else
// its short form when that does; nothing when neither does, since a best-fit look-alike ("Jose")
// would send the CAD program's report into another user's folder or nowhere.
std::optional<std::u16string> RecordFolderFor(
    const std::u16string& folder,
    bool unicodeFrame,
    const std::function<bool(const std::u16string&)>& inCodePage,
    const std::function<std::optional<std::u16string>(const std::u16string&)>& shortForm);

}  // namespace app
