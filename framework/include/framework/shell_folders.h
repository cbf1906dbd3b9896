#pragma once
// File-system helpers of the framework over the shell and kernel.

#include <windows.h>

#include <string>

namespace framework {

// The path of a shell special folder (a CSIDL value), or empty when the shell cannot tell.
std::string SpecialFolderPath(HWND owner, int csidl);
// Creates a folder together with any missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& folder);
// The full path of the running executable.
std::string ExecutablePath();

}  // namespace framework
