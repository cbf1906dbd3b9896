#pragma once
// A hidden window whose messages go to a function of an object: a way for another thread (a
// timer callback) to hand work to the GUI thread by posting a message. The window goes with the
// object, and messages still queued for it then go nowhere.

#include <windows.h>

#include <functional>

namespace framework {

class TUtilityWindow {
public:
    // Gets every message of the window (a Unicode window); what it does not handle it passes to
    // DefWindowProcW.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;
    explicit TUtilityWindow(Handler handler);
    ~TUtilityWindow();
    TUtilityWindow(const TUtilityWindow&) = delete;
    TUtilityWindow& operator=(const TUtilityWindow&) = delete;

    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    Handler handler_;
    HWND handle_ = nullptr;
};

}  // namespace framework
