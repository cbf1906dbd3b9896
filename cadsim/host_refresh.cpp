#include "host_refresh.h"

#include "drawing_view.h"

namespace cadsim {
namespace {

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
    ShowDrawingChanges(host);
    if (!host.user.Done() && !host.userCheckPosted && host.anchor)
        host.userCheckPosted = ::PostMessageW(host.anchor, kRunScriptedUser, 0, 0) != FALSE;
}

}  // namespace cadsim
