#include "framework/display.h"

#include "framework/handles.h"

namespace framework {
namespace {

std::optional<bool> forcedHighContrast;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn DpiForWindowFunction() {
    // Looked up once: user32 stays loaded for the life of the process.
    static const auto function = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return function;
}

}  // namespace

int WindowDpi(HWND window) {
    if (GetDpiForWindowFn function = DpiForWindowFunction()) {
        if (const UINT dpi = function(window))
            return static_cast<int>(dpi);
    }
    WindowDc dc(window);
    return dc ? ::GetDeviceCaps(dc.Get(), LOGPIXELSY) : kDesignDpi;
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool HighContrast() {
    if (forcedHighContrast)
        return *forcedHighContrast;
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void ForceHighContrast(std::optional<bool> on) {
    forcedHighContrast = on;
}

}  // namespace framework
