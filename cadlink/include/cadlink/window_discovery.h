#pragma once
// Finds the CAD program's windows on the desktop by title, class name and process, and keeps the
// handles found until they stop naming live windows.

#include <cstdint>
#include <string>

#include "platform/window_system.h"

namespace cadlink {

using platform::WindowHandle;

// The handles found so far. Only TextWindow is ever cleared (at the start of each text-window
// search); every other handle stays until a later search overwrites it, so users test liveness.
struct KeptWindows {
    WindowHandle MainFrame = 0;
    std::uint32_t MainProcessId = 0;
    WindowHandle TextWindow = 0;
    WindowHandle Palette = 0;
    WindowHandle PromptWindow = 0;
    WindowHandle HistoryPane = 0;
};

class WindowDiscovery {
public:
    explicit WindowDiscovery(platform::WindowSystem& windows) : windows_(windows) {}

    // Searches the top-level windows only when the kept main frame is not live; returns the kept
    // handle as it then stands (possibly zero or dead: callers test liveness).
    WindowHandle FindMainFrame();
    bool IsCadReady();
    // Always a fresh search; zero when no text window of the main frame's process exists.
    WindowHandle FindTextWindow();
    WindowHandle FindPromptWindow();
    WindowHandle FindHistoryPane();

    // The kept main frame's title (it names the drawing); empty without a live one.
    std::string MainFrameTitle();

    bool IsLive(WindowHandle window) { return window != 0 && windows_.IsWindow(window); }
    const KeptWindows& Kept() const { return kept_; }
    platform::WindowSystem& Windows() { return windows_; }

    // Enumeration callbacks: true continues the walk, false stops it.
    bool MatchMainFrame(WindowHandle window);
    bool MatchTextWindow(WindowHandle window);
    bool MatchCommandLinePalette(WindowHandle window);
    bool MatchCommandLineChild(WindowHandle window);

private:
    // One liveness test while the kept main frame lives; a search otherwise.
    bool MainFrameLive();
    WindowHandle FindCommandLineChild(WindowHandle KeptWindows::*field);

    platform::WindowSystem& windows_;
    KeptWindows kept_;
};

}  // namespace cadlink
