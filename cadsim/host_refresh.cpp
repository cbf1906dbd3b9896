#include "host_refresh.h"

#include "drawing_view.h"

namespace cadsim {
namespace {

// Beyond this many changed objects one rectangle around them all is cheaper to send than each.
constexpr std::size_t kMostRedrawRects = 64;

// Marks for repainting only the parts of the drawing that look different now.
void RepaintChanges(Host& host) {
    const std::vector<Box> areas = host.commandLine.TakeRedrawAreas();
    if (!host.windows.mainFrame || ::IsRectEmpty(&host.drawingArea) || areas.empty())
        return;
    RECT all{};
    for (const Box& area : areas) {
        const RECT pixels = PixelsShowing(host, area);
        if (::IsRectEmpty(&pixels))
            continue;
        if (areas.size() <= kMostRedrawRects)
            ::InvalidateRect(host.windows.mainFrame, &pixels, TRUE);
        else
            ::UnionRect(&all, &all, &pixels);
    }
    if (!::IsRectEmpty(&all))
        ::InvalidateRect(host.windows.mainFrame, &all, TRUE);
}

void Repaint(HWND window) {
    if (window)
        ::InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void AfterInput(Host& host) {
    for (const std::string& event : host.commandLine.TakeEvents())
        host.log.Event(event);
    Repaint(host.windows.promptWindow);
    Repaint(host.windows.historyPane);
    Repaint(host.windows.textWindow);
    RepaintChanges(host);
    if (!host.user.Done() && !host.userCheckPosted && host.anchor)
        host.userCheckPosted = ::PostMessageW(host.anchor, kRunScriptedUser, 0, 0) != FALSE;
}

}  // namespace cadsim
