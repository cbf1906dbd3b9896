#pragma once
// Finds the CAD program's windows on the desktop by title, class name and process, and keeps the
// handles found until they stop naming live windows or a run chooses another CAD program's frame.

#include <cstdint>
#include <string>

#include "platform/window_system.h"

namespace cadlink {

using platform::WindowHandle;

// The handles found so far. TextWindow is cleared when a search for it starts (once the kept one
// is gone or of another process), and the command-line handles when a run chooses another main
// frame; otherwise a handle stays until a later search overwrites it, so users test liveness.
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

    // Searches the top-level windows only when the kept main frame is not live and no run has
    // chosen one; returns the kept handle as it then stands (possibly zero or dead: callers test
    // liveness).
    WindowHandle FindMainFrame();
    // For the start of a run: the CAD frame highest in the Z order, the one the user was last in,
    // searched afresh. When it is another frame than the kept one, every handle found for the old
    // frame is dropped and found anew for this one, so that a run never reads one CAD program and
    // types into another. The frame is then held: should it go, FindMainFrame does not take
    // another program's frame in its place until the next run chooses again. Without a CAD frame
    // on the desktop the kept handles stay as they were.
    WindowHandle ChooseTopMainFrame();
    // The kept main frame's title in UTF-16, as the window holds it (a drawing's name may hold
    // characters the system code page cannot express); empty without a live main frame.
    std::u16string MainFrameTitle();
    bool IsCadReady();
    // The kept text window while it lives in the main frame's process; a fresh search otherwise.
    // Zero when no text window of that process exists.
    WindowHandle FindTextWindow();
    WindowHandle FindPromptWindow();
    WindowHandle FindHistoryPane();

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
    // A palette of another process, taken only when the main frame's process shows none.
    WindowHandle otherPalette_ = 0;
    bool held_ = false;  // a run chose the kept main frame
};

}  // namespace cadlink
