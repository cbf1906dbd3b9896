#pragma once
// The window-system operations of CAD window discovery, passed straight to Win32.

#include "platform/window_system.h"

namespace platform {

class Win32WindowSystem : public WindowSystem {
public:
    void EnumWindows(const WindowVisitor& visit) override;
    void EnumChildWindows(WindowHandle parent, const WindowVisitor& visit) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int count) override;
    int GetWindowTextW(WindowHandle window, char16_t* buffer, int count) override;
    int GetClassNameA(WindowHandle window, char* buffer, int count) override;
    std::uint32_t GetWindowThreadProcessId(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    int CompareStringA(const char* left, int leftLength, const char* right, int rightLength) override;
};

}  // namespace platform
