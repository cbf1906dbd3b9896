#pragma once
// The simulator's files: the drawing and script files it reads at start, and the report files
// the mass-properties command writes (through the portable ReportFiles interface).

#include <string>

#include "framework/handles.h"
#include "options.h"
#include "report_files.h"

namespace cadsim {

// Input files beyond this size are refused rather than read.
constexpr std::size_t kLargestInputFile = 1 << 20;

// Reads a whole file. False, with error saying why, when it is missing, unreadable or too large.
bool ReadInputFile(const std::string& path, std::string& content, std::string& error);

// Text of a file that may be UTF-8 (with or without a byte-order mark) or code page 932, as
// code page 932: texts written on this side of the test harness are often UTF-8.
std::string AsCp932(const std::string& bytes);

// A Unicode frame's input in the code page 932 the interpreter works in; a unit the code page
// lacks (a file name of a user named outside it) becomes kWideEscape and four hex digits, so that
// the file it names is the one written.
constexpr char kWideEscape = '\x7F';
std::string Cp932WithEscapes(const std::wstring& wide);
std::wstring WideFromEscaped(const std::string& text);

// Paths in code page 932 with those escapes; relative names resolve against the current folder.
class Win32ReportFiles : public ReportFiles {
public:
    explicit Win32ReportFiles(ReportFault fault = ReportFault::None) : fault_(fault) {}

    std::string FullPath(const std::string& name) const override;
    bool Exists(const std::string& path) const override;
    // Writes the report, then does to it what the fault asks for.
    bool Write(const std::string& path, const std::string& bytes) override;

private:
    bool WriteBytes(const std::string& path, const std::string& bytes);

    ReportFault fault_;
    framework::FileHandle held_;  // the last report, open without sharing, while the fault is Locked
};

}  // namespace cadsim
