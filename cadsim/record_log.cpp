#include "record_log.h"

#include <cstdint>
#include <cstdio>

namespace cadsim {
namespace {

std::string Hex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%llx", value);
    return text;
}

std::string WindowText(HWND window) {
    return Hex(reinterpret_cast<std::uintptr_t>(window));
}

std::string HexBytes(const void* data, std::size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * size);
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace

bool RecordLog::Open(const std::string& path, std::string& error) {
    framework::FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = "cannot create the log " + path + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    file_ = std::move(file);
    return true;
}

void RecordLog::CopyData(HWND window, const COPYDATASTRUCT* record) {
    if (!file_)
        return;
    if (record == nullptr) {
        Write("copydata window=" + WindowText(window) + " record=none");
        return;
    }
    const std::string data = record->lpData ? HexBytes(record->lpData, record->cbData) : std::string();
    Write("copydata window=" + WindowText(window) + " dwData=" + std::to_string(record->dwData) +
          " cbData=" + std::to_string(record->cbData) + " data=" + data);
}

void RecordLog::Command(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!file_)
        return;
    Write("command window=" + WindowText(window) + " wParam=" + std::to_string(wParam) +
          " lParam=" + std::to_string(lParam));
}

void RecordLog::Event(const std::string& line) {
    if (file_)
        Write(line);
}

void RecordLog::Busy(const char* work, double milliseconds, double startMs) {
    if (!file_)
        return;
    char text[96];
    std::snprintf(text, sizeof(text), " ms=%.3f at=%.3f", milliseconds, startMs);
    Write(std::string("busy ") + work + text);
}

void RecordLog::Write(const std::string& line) {
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace cadsim
