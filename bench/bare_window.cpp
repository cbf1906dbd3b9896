// The smallest program that shows a top-level window: the start-up benchmark starts it the same
// way as the tool, so that the tool's start-up time can be read against what Wine itself costs.
// Built a second time with BARE_WITH_TOOLS_DLLS: the same empty window in a program that loads
// what the tool needs of the platform (the common controls of the manifest, the shell, COM's
// allocator, the multimedia timer), so that the platform's share of the tool's start-up shows.

#include <windows.h>
#ifdef BARE_WITH_TOOLS_DLLS
#include <commctrl.h>
#include <mmsystem.h>
#include <shlobj.h>
#endif

namespace {

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef BARE_WITH_TOOLS_DLLS
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    ITEMIDLIST* folder = nullptr;
    if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &folder)))
        ::CoTaskMemFree(folder);
    TIMECAPS caps{};
    ::timeGetDevCaps(&caps, sizeof caps);
    const char* const title = "bare window with the tool's DLLs";
#else
    const char* const title = "bare window";
#endif
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "TavroBareWindow";
    if (!::RegisterClassA(&windowClass))
        return 1;
    HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 320, 240, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
