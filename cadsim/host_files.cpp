#include "host_files.h"

#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/handles.h"
#include "platform/codepage.h"

namespace cadsim {

std::string Cp932WithEscapes(const std::wstring& wide) {
    std::string text;
    for (const wchar_t unit : wide) {
        char bytes[4];
        BOOL lacking = FALSE;
        const int n =
            ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes, sizeof bytes, nullptr, &lacking);
        if (n > 0 && !lacking) {
            text.append(bytes, static_cast<std::size_t>(n));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "%c%04X", kWideEscape, static_cast<unsigned>(unit));
            text += escape;
        }
    }
    return text;
}

std::wstring WideFromEscaped(const std::string& text) {
    std::wstring wide;
    std::size_t start = 0;
    const auto flush = [&](std::size_t end) {
        if (end <= start)
            return;
        const int n = ::MultiByteToWideChar(932, 0, text.data() + start, static_cast<int>(end - start), nullptr, 0);
        std::wstring part(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
        if (n > 0)
            ::MultiByteToWideChar(932, 0, text.data() + start, static_cast<int>(end - start), &part[0], n);
        wide += part;
    };
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == kWideEscape && i + 5 <= text.size()) {
            flush(i);
            wide += static_cast<wchar_t>(std::strtoul(text.substr(i + 1, 4).c_str(), nullptr, 16));
            start = i += 5;
        } else {
            i += platform::IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        }
    }
    flush(text.size());
    return wide;
}

bool ReadInputFile(const std::string& path, std::string& content, std::string& error) {
    framework::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = "cannot open " + path + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > static_cast<LONGLONG>(kLargestInputFile)) {
        error = path + " is larger than " + std::to_string(kLargestInputFile) + " bytes";
        return false;
    }
    content.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!content.empty() && (!::ReadFile(file.Get(), &content[0], static_cast<DWORD>(content.size()), &got, nullptr) ||
                             got != content.size())) {
        error = "cannot read " + path + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    return true;
}

std::string AsCp932(const std::string& bytes) {
    std::string text = bytes;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    bool ascii = true;
    for (char c : text)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii || text.size() > static_cast<std::size_t>(INT_MAX / 2))
        return text;
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return text;  // not UTF-8: taken as code page 932
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    const int m = ::WideCharToMultiByte(932, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(m > 0 ? m : 0), '\0');
    if (m > 0)
        ::WideCharToMultiByte(932, 0, wide.data(), n, &converted[0], m, nullptr, nullptr);
    return converted;
}

namespace {

// The report as a host with a broken geometry kernel prints it: "NaN" for the area and the
// centroid, everything else as it was.
std::string WithNaNValues(const std::string& bytes) {
    std::string result;
    bool centroidY = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        end = end == std::string::npos ? bytes.size() : end + 2;
        std::string line = bytes.substr(start, end - start);
        const bool centroid = line.find("図心") != std::string::npos;
        if (centroid || centroidY || line.find("面積") != std::string::npos)
            line = line.substr(0, line.find_last_of(' ') + 1) + "NaN\r\n";
        centroidY = centroid;
        result += line;
        start = end;
    }
    return result;
}

}  // namespace

std::string Win32ReportFiles::FullPath(const std::string& name) const {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = ::GetFullPathNameW(WideFromEscaped(name).c_str(), MAX_PATH * 2, buffer, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? Cp932WithEscapes(std::wstring(buffer, n)) : name;
}

bool Win32ReportFiles::Exists(const std::string& path) const {
    const DWORD attributes = ::GetFileAttributesW(WideFromEscaped(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32ReportFiles::Write(const std::string& path, const std::string& bytes) {
    held_ = framework::FileHandle();
    switch (fault_) {
        case ReportFault::None:
            return WriteBytes(path, bytes);
        case ReportFault::Missing:
            // The host says it wrote the report, and something removed it at once.
            ::DeleteFileA(path.c_str());
            return true;
        case ReportFault::Locked:
            if (!WriteBytes(path, bytes))
                return false;
            held_ = framework::FileHandle(::CreateFileW(WideFromEscaped(path).c_str(), GENERIC_READ, 0, nullptr,
                                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return true;
        case ReportFault::Folder:
            ::DeleteFileA(path.c_str());
            ::CreateDirectoryA(path.c_str(), nullptr);
            return false;
        case ReportFault::Garbage: {
            std::string garbage(4096, '\0');
            std::uint32_t state = 12345;
            for (char& c : garbage) {
                state = state * 1103515245u + 12345u;
                c = static_cast<char>(state >> 24);
            }
            return WriteBytes(path, garbage);
        }
        case ReportFault::NaN:
            return WriteBytes(path, WithNaNValues(bytes));
        case ReportFault::Huge: {
            // The real report, then lines without any tag up to 10 MB.
            std::string huge = bytes;
            const std::string filler = std::string(78, 'x') + "\r\n";
            while (huge.size() + filler.size() <= 10u * 1024 * 1024)
                huge += filler;
            return WriteBytes(path, huge);
        }
    }
    return false;
}

bool Win32ReportFiles::WriteBytes(const std::string& path, const std::string& bytes) {
    framework::FileHandle file(::CreateFileW(WideFromEscaped(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace cadsim
