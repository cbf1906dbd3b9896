#include "framework/file_read.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/exceptions.h"
#include "framework/handles.h"
#include "framework/shell_folders.h"

namespace framework {
namespace {

// One ReadFile counts in a DWORD; the pieces stay well below it.
constexpr std::size_t kPiece = 16u * 1024 * 1024;
// Read past the size the file had when opened: its end, or what was written since.
constexpr std::size_t kTail = 64u * 1024;

[[noreturn]] void RaiseFileError(DWORD error) {
    throw EInOutError(FileErrorMessage(error));
}

// Read straight into a string of the file's size, with room to see its end (or that it grew): a
// long file is held once, not twice.
std::optional<std::string> ReadOpen(HANDLE file, std::size_t maxBytes) {
    LARGE_INTEGER size{};
    const std::size_t expected = ::GetFileSizeEx(file, &size) ? static_cast<std::size_t>(size.QuadPart) : 0;
    std::string content;
    content.reserve(std::min(expected, maxBytes) + std::min(kTail, maxBytes));
    while (content.size() < maxBytes) {
        const std::size_t at = content.size();
        const std::size_t want = std::min(at < expected ? std::min(kPiece, expected - at) : kTail, maxBytes - at);
        content.resize(at + want);
        DWORD read = 0;
        if (!::ReadFile(file, content.data() + at, static_cast<DWORD>(want), &read, nullptr))
            return std::nullopt;
        content.resize(at + read);
        if (read == 0)
            break;
    }
    return content;
}

}  // namespace

std::u16string FileErrorMessage(unsigned long error) {
    if (error == ERROR_ACCESS_DENIED)
        return u"ファイルへのアクセスが拒否されました";
    char code[24];
    std::snprintf(code, sizeof code, "%lu", error);
    return u"I/O エラー (" + std::u16string(code, code + std::strlen(code)) + u")";
}

std::optional<std::string> ReadWholeFile(const std::u16string& path, std::size_t maxBytes) {
    if (::GetFileAttributesW(WidePath(path)) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    FileHandle file(::CreateFileW(WidePath(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseFileError(::GetLastError());
    std::optional<std::string> content = ReadOpen(file.Get(), maxBytes);
    if (!content)
        RaiseFileError(::GetLastError());
    return content;
}

std::optional<std::string> ReadWholeFile(void* file, std::size_t maxBytes) {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(static_cast<HANDLE>(file), start, nullptr, FILE_BEGIN))
        return std::nullopt;
    return ReadOpen(static_cast<HANDLE>(file), maxBytes);
}

}  // namespace framework
