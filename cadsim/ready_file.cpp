#include "ready_file.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/handles.h"

namespace cadsim {
namespace {

std::string Hex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%llx", value);
    return text;
}

std::string Line(const char* key, unsigned long long value) {
    return std::string(key) + "=" + Hex(value) + "\r\n";
}

unsigned long long HandleValue(HWND window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

std::string SystemMessage(DWORD code) {
    return "error " + std::to_string(code);
}

bool WriteWhole(const std::string& path, const std::string& content, std::string& error) {
    framework::FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = "cannot create " + path + " (" + SystemMessage(::GetLastError()) + ")";
        return false;
    }
    DWORD written = 0;
    if (!::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size() || !::FlushFileBuffers(file.Get())) {
        error = "cannot write " + path + " (" + SystemMessage(::GetLastError()) + ")";
        return false;
    }
    return true;
}

}  // namespace

std::string FormatReadyFile(DWORD processId,
                            const HostWindows& windows,
                            const RECT& drawingArea,
                            const ViewTransform& view) {
    const bool mainUnicode = windows.mainFrame && ::IsWindowUnicode(windows.mainFrame);
    char area[128];
    std::snprintf(area, sizeof(area), "DrawingArea=%ld,%ld,%ld,%ld\r\n", drawingArea.left, drawingArea.top,
                  drawingArea.right, drawingArea.bottom);
    // Seventeen digits give back the very doubles that paint and take clicks.
    char transform[128];
    std::snprintf(transform, sizeof(transform), "View=%.17g,%.17g,%.17g\r\n", view.scale, view.originX, view.originY);
    return Line("ProcessId", processId) + Line("MainFrame", HandleValue(windows.mainFrame)) +
           Line("TextWindow", HandleValue(windows.textWindow)) + Line("Palette", HandleValue(windows.palette)) +
           Line("PromptWindow", HandleValue(windows.promptWindow)) +
           Line("HistoryPane", HandleValue(windows.historyPane)) + Line("MainUnicode", mainUnicode ? 1 : 0) + area +
           transform;
}

bool WriteReadyFile(const std::string& path, const std::string& content, std::string& error) {
    const std::string temporary = path + "." + std::to_string(::GetCurrentProcessId()) + ".tmp";
    if (!WriteWhole(temporary, content, error)) {
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    if (!::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = "cannot move " + temporary + " to " + path + " (" + SystemMessage(::GetLastError()) + ")";
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace cadsim
