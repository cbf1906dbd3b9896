// The floor under the banner's cost: a 10 ms multimedia timer whose callback posts to a hidden
// window, and a message loop that does nothing with the ticks. Runs for the seconds given.
#include <windows.h>

#include <mmsystem.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(window, message, wParam, lParam);
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
    const UINT timer = ::timeSetEvent(10, 10, TimerProc, reinterpret_cast<DWORD_PTR>(window), TIME_PERIODIC);
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < seconds * 1000 && ::GetMessageA(&message, nullptr, 0, 0))
        ::DispatchMessageA(&message);
    ::timeKillEvent(timer);
    ::DestroyWindow(window);
    return 0;
}
