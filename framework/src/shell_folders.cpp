#include "framework/shell_folders.h"

#include <shlobj.h>

#include <memory>

#include "platform/codepage.h"

namespace framework {
namespace {

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const { ::CoTaskMemFree(pidl); }
};

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder above a path, by its last whole-character backslash or slash.
std::string ParentOf(const std::string& path, bool& found) {
    const std::size_t lastSlash = platform::LastCharOf(path, "\\/");
    found = lastSlash != std::string::npos;
    return found ? path.substr(0, lastSlash) : std::string();
}

}  // namespace

std::string SpecialFolderPath(HWND owner, int csidl) {
    ITEMIDLIST* raw = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(owner, csidl, &raw)) || !raw)
        return std::string();
    std::unique_ptr<ITEMIDLIST, PidlDeleter> pidl(raw);
    char path[261] = {};
    if (!::SHGetPathFromIDListA(pidl.get(), path))
        return std::string();
    return path;
}

bool ForceDirectories(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && platform::LastCharOf(path, "\\/") == path.size() - 1)
        path.pop_back();
    if (path.empty() || (path.size() == 2 && path[1] == ':'))
        return true;
    if (IsFolder(path))
        return true;
    bool hasParent = false;
    const std::string parent = ParentOf(path, hasParent);
    if (hasParent && !parent.empty() && !ForceDirectories(parent))
        return false;
    return ::CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path);
}

std::string ExecutablePath() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
}

}  // namespace framework
