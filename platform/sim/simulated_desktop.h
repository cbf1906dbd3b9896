#pragma once
// A desktop of windows held in memory, for tests of the logic that looks for windows: each window
// has a title, a class name, an owning process, children and a place in the Z order.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace platform::sim {

class SimulatedDesktop : public WindowSystem {
public:
    // Opens a top-level window above all others and returns its handle.
    WindowHandle AddTopLevel(const std::string& title, const std::string& className, std::uint32_t processId);
    // Opens a child as the last child of parent; it belongs to the parent's process.
    WindowHandle AddChild(WindowHandle parent, const std::string& title, const std::string& className);
    // Closes a window and all its descendants; their handles are never used again.
    void Destroy(WindowHandle window);
    // Moves a top-level window to the top of the Z order.
    void BringToTop(WindowHandle window);
    void SetTitle(WindowHandle window, const std::string& title);

    // How often each operation was called, for tests of what a lookup costs.
    struct CallCounts {
        int enumWindows = 0;
        int enumChildWindows = 0;
        int getWindowText = 0;
        int getClassName = 0;
        int getProcessId = 0;
        int isWindow = 0;
        int compareString = 0;
    };
    const CallCounts& Calls() const { return calls_; }
    void ResetCalls() { calls_ = {}; }

    void EnumWindows(const WindowVisitor& visit) override;
    void EnumChildWindows(WindowHandle parent, const WindowVisitor& visit) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int count) override;
    int GetClassNameA(WindowHandle window, char* buffer, int count) override;
    std::uint32_t GetWindowThreadProcessId(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    int CompareStringA(const char* left, int leftLength, const char* right, int rightLength) override;

private:
    struct Window {
        std::string title;
        std::string className;
        std::uint32_t processId = 0;
        WindowHandle parent = 0;
        std::vector<WindowHandle> children;
    };

    const Window* Find(WindowHandle window) const;
    void WalkTopLevel(const WindowVisitor& visit);
    bool VisitDescendants(const Window& parent, const WindowVisitor& visit);
    static int CopyText(const std::string& text, char* buffer, int count);

    std::map<WindowHandle, Window> windows_;
    std::vector<WindowHandle> zOrder_;  // top-level windows, topmost first
    WindowHandle nextHandle_ = 0x10010;
    CallCounts calls_;
};

}  // namespace platform::sim
