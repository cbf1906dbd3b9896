#include "framework/shell_folders.h"

#include <shlobj.h>

#include <memory>
#include <vector>

namespace framework {
namespace {

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const { ::CoTaskMemFree(pidl); }
};

bool IsFolder(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::u16string SpecialFolderPath(HWND owner, int csidl) {
    ITEMIDLIST* raw = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(owner, csidl, &raw)) || !raw)
        return std::u16string();
    std::unique_ptr<ITEMIDLIST, PidlDeleter> pidl(raw);
    wchar_t path[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListW(pidl.get(), path))
        return std::u16string();
    return reinterpret_cast<const char16_t*>(path);
}

bool ForceDirectories(const std::u16string& folder) {
    std::u16string path = folder;
    while (!path.empty() && (path.back() == u'\\' || path.back() == u'/'))
        path.pop_back();
    if (path.empty() || (path.size() == 2 && path[1] == u':'))
        return true;
    if (IsFolder(path))
        return true;
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator != std::u16string::npos && separator > 0 && !ForceDirectories(path.substr(0, separator)))
        return false;
    return ::CreateDirectoryW(WidePath(path), nullptr) || IsFolder(path);
}

std::u16string ExecutablePath() {
    // A path may be longer than MAX_PATH; the buffer grows until the whole path fits.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::u16string();
        if (length < path.size())
            return std::u16string(reinterpret_cast<const char16_t*>(path.data()), length);
        if (path.size() >= 32768)
            return std::u16string();
        path.resize(path.size() * 2);
    }
}

}  // namespace framework
