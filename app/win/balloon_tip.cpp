#include "balloon_tip.h"

#include <commctrl.h>

#include "framework/wide_text.h"

namespace app {
namespace {

// The one tip shown: the hook and the timer reach it here. Only the GUI thread shows tips.
BalloonTip* shownTip = nullptr;

bool IsClickOrKey(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return true;
        default:
            return false;
    }
}

}  // namespace

BalloonTip::~BalloonTip() {
    Hide();
}

void BalloonTip::Show(HWND anchor, const std::u16string& text, unsigned durationMs) {
    Hide();
    HWND owner = ::GetAncestor(anchor, GA_ROOT);
    tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_BALLOON,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
    if (!tip_)
        return;
    // The tip keeps a copy of the text: the caller's string may go once the tool is added.
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(anchor);
    tool.lpszText = const_cast<wchar_t*>(framework::WideText(text));
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT bounds;
    ::GetWindowRect(anchor, &bounds);
    ::SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM((bounds.left + bounds.right) / 2, bounds.bottom));
    ::SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    shownTip = this;
    // Sees every click and key this thread takes from its queue, whichever window it is for.
    inputHook_ = ::SetWindowsHookExW(WH_GETMESSAGE, WatchInput, nullptr, ::GetCurrentThreadId());
    timer_ = ::SetTimer(nullptr, 0, durationMs, Expire);
}

void BalloonTip::Hide() {
    if (timer_)
        ::KillTimer(nullptr, timer_);
    if (inputHook_)
        ::UnhookWindowsHookEx(inputHook_);
    if (tip_)
        ::DestroyWindow(tip_);
    timer_ = 0;
    inputHook_ = nullptr;
    tip_ = nullptr;
    if (shownTip == this)
        shownTip = nullptr;
}

LRESULT CALLBACK BalloonTip::WatchInput(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = shownTip ? shownTip->inputHook_ : nullptr;
    if (code == HC_ACTION && shownTip && IsClickOrKey(reinterpret_cast<const MSG*>(lParam)->message))
        shownTip->Hide();  // the message itself goes on as usual
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

void CALLBACK BalloonTip::Expire(HWND, UINT, UINT_PTR, DWORD) {
    if (shownTip)
        shownTip->Hide();
}

}  // namespace app
