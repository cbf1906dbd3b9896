#include "results_file.h"

#include <windows.h>

#include "framework/exceptions.h"
#include "framework/handles.h"
#include "framework/shell_folders.h"
#include "platform/codepage.h"
#include "results_table.h"

namespace app {
namespace {

const char kBom[] = "\xEF\xBB\xBF";
// Another instance may be appending its row at the same moment.
constexpr int kOpenTries = 20;
constexpr DWORD kOpenRetryMs = 25;

std::string Utf8FromWide(const std::u16string& text) {
    if (text.empty())
        return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::u16string WideFrom(UINT codePage, const std::string& text) {
    if (text.empty())
        return std::u16string();
    const int size = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(size), u'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                          reinterpret_cast<wchar_t*>(wide.data()), size);
    return wide;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = platform::LastCharOf(path, "\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::uint64_t FileSize(HANDLE file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

bool SeekTo(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

// The last byte of a file that is not empty.
char LastByte(HANDLE file, std::uint64_t size) {
    char last = '\n';
    DWORD read = 0;
    if (!SeekTo(file, size - 1) || !::ReadFile(file, &last, 1, &read, nullptr) || read != 1)
        return '\n';
    return last;
}

[[noreturn]] void RaiseReadError(const std::string& path) {
    throw framework::EInOutError(path + " を読み込めません");
}

}  // namespace

std::u16string WideFromAnsi(const std::string& text) {
    return WideFrom(CP_ACP, text);
}

std::string AnsiFromWide(const std::u16string& text) {
    if (text.empty())
        return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

bool ResultsFile::Append(const std::string& row) {
    pending_.push_back(row);
    return WritePending();
}

bool ResultsFile::WritePending() {
    if (pending_.empty())
        return true;
    framework::ForceDirectories(FolderOf(path_));  // a work folder removed since the start comes back
    // A list the user made read-only stays as it is, whatever rights the process has.
    const DWORD attributes = ::GetFileAttributesA(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        failed_ = true;
        return false;
    }
    framework::FileHandle file;
    for (int attempt = 0; attempt < kOpenTries; ++attempt) {
        // Others may read the list while a row is written, never write to it.
        file.Reset(::CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || ::GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        ::Sleep(kOpenRetryMs);
    }
    if (!file) {
        failed_ = true;
        return false;
    }
    // Only the end of the file is looked at, so a long list appends as fast as a short one.
    const std::uint64_t size = FileSize(file.Get());
    std::string text;
    if (size == 0)
        text = kBom + Utf8FromWide(WideFromAnsi(kResultsHeader));
    else if (LastByte(file.Get(), size) != '\n')
        text = "\r\n";  // a file that does not end its last line would run it into our row
    for (const std::string& pending : pending_)
        text += Utf8FromWide(WideFromAnsi(pending));
    DWORD written = 0;
    const bool complete = SeekTo(file.Get(), size) &&
                          ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                          written == text.size();
    if (!complete) {
        // A full disk may have taken part of the text: the file goes back to its rows before.
        if (SeekTo(file.Get(), size))
            ::SetEndOfFile(file.Get());
        failed_ = true;
        return false;
    }
    pending_.clear();
    return true;
}

bool ResultsFile::Exists() const {
    const DWORD attributes = ::GetFileAttributesA(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ResultsFile::HasRows() const {
    if (!pending_.empty())
        return true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // More than the byte-order mark and the header that start every list.
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > std::string(kBom).size() + Utf8FromWide(WideFromAnsi(kResultsHeader)).size();
}

std::u16string ResultsFile::ListText() const {
    std::string bytes;
    if (Exists()) {
        framework::FileHandle file(::CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            RaiseReadError(path_);
        char buffer[64 * 1024];
        DWORD read = 0;
        for (;;) {
            if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
                RaiseReadError(path_);
            if (read == 0)
                break;
            bytes.append(buffer, read);
        }
    }
    std::u16string text = WideFrom(CP_UTF8, bytes);
    if (!text.empty() && text.back() != u'\n')
        text += u"\r\n";
    for (const std::string& pending : pending_)
        text += WideFromAnsi(pending);
    return text;
}

std::string ResultsFile::StartNewList(const std::string& executablePath) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::string folder = FolderOf(path_);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::string target = folder + ArchivedResultsName(executablePath, now.wYear, now.wMonth, now.wDay,
                                                                now.wHour, now.wMinute, now.wSecond, attempt);
        // Never replaces a file: a list kept in the same second gets the next number.
        if (::MoveFileA(path_.c_str(), target.c_str()))
            return target;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    throw framework::EInOutError(path_ + " の名前を変更できません");
}

}  // namespace app
