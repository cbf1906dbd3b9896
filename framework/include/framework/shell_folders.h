#pragma once
// File-system helpers of the framework over the shell and kernel, in UTF-16: a folder named
// outside the system code page is still the same folder.

#include <windows.h>

#include <string>

namespace framework {

// The path of a shell special folder (a CSIDL value), or empty when the shell cannot tell.
std::u16string SpecialFolderPath(HWND owner, int csidl);
// Creates a folder together with any missing parents; true when it exists afterwards.
bool ForceDirectories(const std::u16string& folder);
// The full path of the running executable.
std::u16string ExecutablePath();

// The path as the W functions take it.
inline const wchar_t* WidePath(const std::u16string& path) {
    return reinterpret_cast<const wchar_t*>(path.c_str());
}

}  // namespace framework
