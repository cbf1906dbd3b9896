// The floor under the banner's cost: a 10 ms multimedia timer whose callback posts to a hidden
// window, and a message loop that does nothing with the ticks. Runs for the seconds given.
// With "paint" after the seconds, each tick also copies a 193 x 25 strip, moved on by a pixel,
// from a memory bitmap into a shown window through a kept device context: the least any program
// pays to scroll a strip of that size at every tick on this platform.
#include <windows.h>

#include <mmsystem.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kStripWidth = 193;
constexpr int kStripHeight = 25;

struct Painter {
    HWND shown = nullptr;
    HDC windowDc = nullptr;
    HDC memoryDc = nullptr;
    int offset = 0;
};
Painter painter;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 500 && painter.windowDc) {
        painter.offset = (painter.offset + 1) % kStripWidth;
        ::BitBlt(painter.windowDc, 8, 0, kStripWidth, kStripHeight, painter.memoryDc, painter.offset, 0, SRCCOPY);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// A window the size of the tool's with a striped image twice the strip's width to copy from.
void StartPainting(HINSTANCE instance) {
    painter.shown = ::CreateWindowExA(0, "TimerFloorBench", "timer floor painting", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      100, 100, 216, 122, nullptr, nullptr, instance, nullptr);
    painter.windowDc = ::GetDC(painter.shown);
    painter.memoryDc = ::CreateCompatibleDC(painter.windowDc);
    HBITMAP image = ::CreateCompatibleBitmap(painter.windowDc, 2 * kStripWidth, kStripHeight);
    ::SelectObject(painter.memoryDc, image);
    for (int x = 0; x < 2 * kStripWidth; x += 4) {
        RECT bar{x, 2, x + 2, kStripHeight - 2};
        ::FillRect(painter.memoryDc, &bar, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    }
}

void CALLBACK TimerProc(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    ::PostMessageA(reinterpret_cast<HWND>(user), WM_USER + 500, 0, static_cast<LPARAM>(id));
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 70;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TimerFloorBench";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, "TimerFloorBench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
    if (argc > 2 && std::strcmp(argv[2], "paint") == 0)
        StartPainting(windowClass.hInstance);
    const UINT timer = ::timeSetEvent(10, 10, TimerProc, reinterpret_cast<DWORD_PTR>(window), TIME_PERIODIC);
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < seconds * 1000 && ::GetMessageA(&message, nullptr, 0, 0))
        ::DispatchMessageA(&message);
    ::timeKillEvent(timer);
    ::DestroyWindow(window);
    return 0;
}
