#pragma once
// A balloon tip of the common controls pointing at a control: a word to the user that needs no
// answer. It goes after a while, or at the next click or key in this program.

#include <windows.h>

#include <string>

namespace app {

class BalloonTip {
public:
    BalloonTip() = default;
    ~BalloonTip();
    BalloonTip(const BalloonTip&) = delete;
    BalloonTip& operator=(const BalloonTip&) = delete;

    // Shows text under anchor (a child window) for at most durationMs; a tip already shown goes first.
    void Show(HWND anchor, const std::u16string& text, unsigned durationMs);
    void Hide();
    bool Shown() const { return tip_ != nullptr; }

private:
    static LRESULT CALLBACK WatchInput(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Expire(HWND, UINT, UINT_PTR, DWORD);

    HWND tip_ = nullptr;
    HHOOK inputHook_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace app
