#include "user_side.h"

#include <cstdio>

#include "host_refresh.h"
#include "host_window.h"

namespace cadsim {
namespace {

constexpr wchar_t kEscape = 0x1B;
constexpr UINT kCp932 = 932;

}  // namespace

void StartScriptedUser(Host& host) {
    if (!host.user.Done() && host.anchor)
        ::SetTimer(host.anchor, kScriptedUserTimer, kScriptedUserTickMs, nullptr);
}

void RunScriptedUser(Host& host) {
    host.userCheckPosted = false;
    std::string action;
    if (host.user.Act(host.commandLine, ::GetTickCount(), action)) {
        if (host.logBusy) {
            // When the user acted, for a benchmark that times the tool's answer to it.
            char at[32];
            std::snprintf(at, sizeof at, " at=%.3f", CounterMs());
            action += at;
        }
        host.log.Event("user " + action);
        // A host that stops responding: its window thread handles no message, sent ones included.
        if (const unsigned long freezeMs = host.user.TakeFreezeMs()) {
            ::Sleep(freezeMs);
            host.log.Event("user freeze over");
        }
        AfterInput(host);  // looks again at once, for the next step
    }
    if (host.user.Done() && host.anchor)
        ::KillTimer(host.anchor, kScriptedUserTimer);
}

void UserClick(Host& host, bool right, int x, int y) {
    const RECT& area = host.drawingArea;
    const POINT at{x, y};
    if (!::PtInRect(&area, at))
        return;
    if (right) {
        // A right click is Enter for a command that waits; at the idle prompt it does nothing.
        host.log.Event("mouse right");
        if (!host.commandLine.Idle())
            host.commandLine.Type("\r");
    } else {
        const Point point = ToDrawing(host.view, x - area.left, area.bottom - y);
        const bool taken = host.commandLine.Click(point);
        host.log.Event("mouse click " + PointText(point) + (taken ? "" : " ignored"));
    }
    AfterInput(host);
}

void UserCharacter(Host& host, HWND window, WPARAM character) {
    std::string keys;
    if (character == kEscape) {
        host.log.Event("key esc");
        keys = "\x03";
    } else if (character == '\r') {
        host.log.Event("key enter");
        keys = "\r";
    } else if (!::IsWindowUnicode(window)) {
        keys = std::string(1, static_cast<char>(character & 0xFF));
    } else {
        const wchar_t unit = static_cast<wchar_t>(character);
        char bytes[4] = {};
        const int n = ::WideCharToMultiByte(kCp932, 0, &unit, 1, bytes, sizeof(bytes), nullptr, nullptr);
        keys.assign(bytes, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    if (keys.empty())
        return;
    host.commandLine.Type(keys);
    AfterInput(host);
}

}  // namespace cadsim
