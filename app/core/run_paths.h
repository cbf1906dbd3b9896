#pragma once
// The file paths of one run of the program, fixed at start-up: the work folder under the user's
// application-data folder, the script path stamped with the start time, and what derives from them.

#include <functional>
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
std::string WorkFolderFor(const std::string& appDataFolder);

// The file-name part of a path: what follows the last backslash, colon or slash. Code-page aware,
// so the second byte of a double-byte character (0x5C in "ソ" or "表") is not taken as a backslash.
std::string ExtractFileName(const std::string& path);
// The path with the extension of its file name replaced (or added when it has none).
std::string ChangeFileExt(const std::string& path, const std::string& extension);

class RunPaths {
public:
    RunPaths() = default;
    RunPaths(std::string workFolder, const std::string& startStamp)
        : workFolder_(std::move(workFolder)), scriptPath_(workFolder_ + startStamp + ".scr") {}

    const std::string& WorkFolder() const { return workFolder_; }
    const std::string& ScriptPath() const { return scriptPath_; }
    // The script path without its extension: the name given to the CAD program for its report.
    std::string ReportStem() const { return ChangeFileExt(scriptPath_, ""); }
    std::string ReportPath() const { return ReportStem() + ".mpr"; }
    // Always in the work folder, named after the running executable's file.
    std::string SettingsPath(const std::string& executablePath) const {
        return workFolder_ + ChangeFileExt(ExtractFileName(executablePath), ".Ini");
    }

private:
    std::string workFolder_;
    std::string scriptPath_;
};

}  // namespace app
