#include "host_window.h"

#include <exception>

#include "command_input.h"
#include "diagnostics.h"
#include "host_refresh.h"

namespace cadsim {
namespace {

constexpr UINT kCp932 = 932;

std::wstring WideFrom(UINT codePage, const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

Host* HostOf(HWND window) {
    return reinterpret_cast<Host*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The messages through which the tool and the scripted user make the host work.
const char* WorkName(UINT message) {
    switch (message) {
        case WM_COPYDATA:
            return "copydata";
        case WM_COMMAND:
            return "command";
        case WM_GETTEXTLENGTH:
            return "gettextlength";
        case WM_GETTEXT:
            return "gettext";
        case WM_TIMER:
            return "timer";
        case WM_LBUTTONDOWN:
            return "mouse";
        case WM_PAINT:
            return "paint";
        case kTypeQueuedInput:
            return "queued-input";
        case kRunScriptedUser:
            return "user";
        default:
            return nullptr;
    }
}

// Times a message handled outside any other, with --log-busy, so that a benchmark can tell the
// host's own share of a run from the tool's; messages sent while it is handled count in it.
class BusyScope {
public:
    BusyScope(Host& host, UINT message)
        : host_(host),
          work_(host.logBusy && host.messageDepth == 0 ? WorkName(message) : nullptr),
          start_(work_ ? CounterMs() : 0) {
        ++host_.messageDepth;
    }
    ~BusyScope() {
        --host_.messageDepth;
        if (work_) {
            try {
                host_.log.Busy(work_, CounterMs() - start_, start_);
            } catch (...) {
                // A line the log could not take changes nothing the host does.
            }
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Host& host_;
    const char* work_;
    double start_;
};

}  // namespace

double CounterMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::IsWindowUnicode(window) ? ::DefWindowProcW(window, message, wParam, lParam)
                                     : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT GuardedProc(MessageHandler handler, HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_NCCREATE) {
            // lpCreateParams sits at the same place in CREATESTRUCTA and CREATESTRUCTW.
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        Host* host = HostOf(window);
        if (host == nullptr)
            return DefaultProc(window, message, wParam, lParam);
        BusyScope busy(*host, message);
        return handler(*host, window, message, wParam, lParam);
    } catch (const std::exception& error) {
        ReportError(std::string("window procedure failed: ") + error.what());
    } catch (...) {
        ReportError("window procedure failed");
    }
    ::PostQuitMessage(kExitInternalError);
    return DefaultProc(window, message, wParam, lParam);
}

bool RegisterHostClass(bool ansi, const char* className, WNDPROC proc, HBRUSH background) {
    if (ansi) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = className;
        return ::RegisterClassExA(&windowClass) != 0;
    }
    const std::wstring wideName = WideFrom(CP_ACP, className);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = wideName.c_str();
    return ::RegisterClassExW(&windowClass) != 0;
}

HWND CreateHostWindow(Host& host,
                      DWORD exStyle,
                      const char* className,
                      const std::string& title,
                      DWORD style,
                      const RECT& bounds,
                      HWND parent) {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (host.ansi) {
        return ::CreateWindowExA(exStyle, className, title.c_str(), style, bounds.left, bounds.top, width, height,
                                 parent, nullptr, ::GetModuleHandleA(nullptr), &host);
    }
    // Titles come from the command line or from code-page-932 literals: both in the ANSI code page.
    return ::CreateWindowExW(exStyle, WideFrom(CP_ACP, className).c_str(), WideFrom(CP_ACP, title).c_str(), style,
                             bounds.left, bounds.top, width, height, parent, nullptr, ::GetModuleHandleW(nullptr),
                             &host);
}

std::wstring WideFromCp932(const std::string& text) {
    return WideFrom(kCp932, text);
}

}  // namespace cadsim
