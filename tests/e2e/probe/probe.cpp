// A small console tool that the end-to-end scripts use to look at windows from outside, as a user
// looking at the screen would: find a window, read a control's text, tell where a control is on the
// screen (for xdotool clicks), read and answer a message box, close a window, time a start-up.
//
//   tavroprobe wait <caption> <ms>          exit 0 once a visible window with that caption exists
//   tavroprobe gone <caption> <ms>          exit 0 once no window with that caption exists
//   tavroprobe text <caption> <id>          print the text of the descendant control with that id
//   tavroprobe checked <caption> <id>       print 1 or 0 for a check box
//   tavroprobe iconic <caption>             print 1 while the window is minimised, else 0
//   tavroprobe above <caption> <other>      print 1 when the window is above the other in the Z order, else 0
//   tavroprobe origin <caption>             print "x y" of the client area's top-left corner on the screen
//   tavroprobe show <caption>               restore a minimised window without activating it
//   tavroprobe minimize <caption>           minimise a window as its minimise button does
//   tavroprobe rect <caption> <id>          print "x y" of the control's centre on the screen (id 0: client area)
//   tavroprobe bounds <caption> <id>        print "left top width height" of the control on the screen
//   tavroprobe focus <caption>              print the id of the control that has the keyboard focus (0: none)
//   tavroprobe msgbox <caption> <ms>        print the text of a message box with that caption
//   tavroprobe answer <caption> <ms> [<id>] press OK (or the button with that id) on a message box
//   tavroprobe mem <caption>                print the committed private bytes of the window's program and their peak
//   tavroprobe gdi <caption>                print the GDI (and USER) objects of the window's program
//   tavroprobe cycles <caption> <n> <k> <id>  minimise and restore the window n times, then move it to
//                                           144 DPI and back k times (control id grows at 144);
//                                           print the objects before and after each
//   tavroprobe clip-big <mb>                put that many megabytes of text on the clipboard
//   tavroprobe hold <path> <ms>             hold a file open as a spreadsheet does (reading, others may only read)
//   tavroprobe close <caption>              post WM_CLOSE to the window
//   tavroprobe close-time <caption>         post WM_CLOSE and print the milliseconds until the window is gone
//   tavroprobe post-click <caption> <id>    post BM_CLICK to a control, even of a minimised window
//   tavroprobe press <caption> <id>         do a control's default action as a screen reader does;
//                                           print the answer (0x00000000 for S_OK)
//   tavroprobe appdata                      print the user's application-data folder
//   tavroprobe prompt <caption>             print the prompt of the CAD window with that caption
//   tavroprobe clip-put <text>              put a text on the clipboard
//   tavroprobe clip-get                     print the clipboard's text
//   tavroprobe clip-hang <ms>               offer a text to render on request, then answer nothing for ms
//   tavroprobe clip-owner                   print the clipboard owner's process id and the formats offered
//   tavroprobe tip <caption>                print 1 while a balloon tip of that window's program is shown, else 0
//   tavroprobe endsession <caption>         end the session for that window's program as the system does:
//                                           ask, tell, then end the process
//   tavroprobe launch-time <runs> <exe> <caption> [<exe> <caption>]...
//                                                   start each exe in turn, time until its window is
//                                                   visible, close it; a median for each

#include <windows.h>

#include <oleacc.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gui_objects.h"

namespace {

// The shown window with the caption. Without a class, a program's own window is preferred to a
// message box of the same caption (the tool titles its error boxes with its own name, and a box
// may still be closing after its key).
HWND FindVisible(const char* caption, const char* className = nullptr) {
    if (className) {
        HWND window = ::FindWindowA(className, caption);
        return window && ::IsWindowVisible(window) ? window : nullptr;
    }
    HWND box = nullptr;
    for (HWND window = ::FindWindowExA(nullptr, nullptr, nullptr, caption); window;
         window = ::FindWindowExA(nullptr, window, nullptr, caption)) {
        if (!::IsWindowVisible(window))
            continue;
        char windowClass[16] = {};
        ::GetClassNameA(window, windowClass, sizeof windowClass);
        if (std::strcmp(windowClass, "#32770") != 0)
            return window;
        if (!box)
            box = window;
    }
    return box;
}

HWND WaitVisible(const char* caption, DWORD ms, const char* className = nullptr) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND window = FindVisible(caption, className))
            return window;
        if (::GetTickCount() - start >= ms)
            return nullptr;
        ::Sleep(20);
    }
}

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<IdSearch*>(param);
    if (::GetDlgCtrlID(child) == search->id) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(HWND window, int id) {
    IdSearch search{id, nullptr};
    ::EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control of the shown window with the caption. Another window may carry the same caption (the
// tool's error boxes do, and one may still be closing after its key): the control is looked for
// in each of them, not only in the first one found.
HWND FindControlByCaption(const char* caption, int id) {
    struct Search {
        const char* caption;
        int id;
        HWND found;
    } search{caption, id, nullptr};
    ::EnumWindows(
        [](HWND candidate, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char text[256] = {};
            ::GetWindowTextA(candidate, text, sizeof text);
            if (!::IsWindowVisible(candidate) || std::strcmp(text, s->caption) != 0)
                return TRUE;
            s->found = FindControl(candidate, s->id);
            return s->found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Fail(const char* what) {
    std::fprintf(stderr, "tavroprobe: %s\n", what);
    return 1;
}

std::string WindowText(HWND window) {
    const LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

// Milliseconds from CreateProcess to the window with the caption being visible; negative when
// the program cannot be started or shows no window within six seconds.
double TimeOneLaunch(const char* exe, const char* caption) {
    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = std::string("\"") + exe + "\"";
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    HWND window = nullptr;
    for (int i = 0; i < 3000 && !window; ++i) {
        window = FindVisible(caption);
        if (!window)
            ::Sleep(2);
    }
    ::QueryPerformanceCounter(&now);
    if (window)
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    else
        ::TerminateProcess(process.hProcess, 1);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!window)
        return -1;
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The programs take turns, so that a change in the machine's load falls on all of them alike.
int LaunchTime(int runs, const std::vector<std::pair<std::string, std::string>>& programs) {
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const double ms = TimeOneLaunch(programs[i].first.c_str(), programs[i].second.c_str());
            if (ms < 0)
                return Fail(("no window from " + programs[i].first).c_str());
            times[i].push_back(ms);
        }
    }
    for (std::size_t i = 0; i < programs.size(); ++i) {
        std::vector<double> sorted = times[i];
        std::sort(sorted.begin(), sorted.end());
        std::printf("%s:", programs[i].first.c_str());
        for (double t : times[i])
            std::printf(" %.1f", t);
        std::printf("\nmedian_ms=%.1f\n", sorted[sorted.size() / 2]);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Fail("no command");
    const std::string command = argv[1];
    auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : ""; };
    const DWORD ms = static_cast<DWORD>(std::atoi(arg(3)));

    if (command == "appdata") {
        char path[MAX_PATH] = {};
        if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path)))
            return Fail("no application-data folder");
        std::printf("%s\n", path);
        return 0;
    }
    if (command == "clip-put" || command == "clip-get") {
        // The clipboard's text, as another program of the user's puts it there or finds it.
        bool open = false;
        for (int i = 0; i < 100 && !open; ++i) {
            open = ::OpenClipboard(nullptr) != FALSE;
            if (!open)
                ::Sleep(20);
        }
        if (!open)
            return Fail("the clipboard stayed busy");
        int result = 0;
        if (command == "clip-put") {
            const std::string text = arg(2);
            ::EmptyClipboard();
            HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
            if (void* data = memory ? ::GlobalLock(memory) : nullptr) {
                std::memcpy(data, text.c_str(), text.size() + 1);
                ::GlobalUnlock(memory);
            }
            if (!memory || !::SetClipboardData(CF_TEXT, memory)) {
                if (memory)
                    ::GlobalFree(memory);
                result = Fail("SetClipboardData failed");
            }
        } else if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
            if (const void* text = ::GlobalLock(data)) {
                std::printf("%s\n", static_cast<const char*>(text));
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
        return result;
    }
    if (command == "clip-big") {
        // A large text a user copied: lines of digits, as a big table or log would be.
        const std::size_t size = static_cast<std::size_t>(std::atoi(arg(2))) * 1024 * 1024;
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size + 1);
        char* data = memory ? static_cast<char*>(::GlobalLock(memory)) : nullptr;
        if (!data)
            return Fail("no memory");
        for (std::size_t i = 0; i < size; ++i)
            data[i] = (i % 64 == 63) ? '\n' : static_cast<char>('0' + i % 10);
        data[size] = '\0';
        ::GlobalUnlock(memory);
        if (!::OpenClipboard(nullptr))
            return Fail("the clipboard stayed busy");
        ::EmptyClipboard();
        const bool set = ::SetClipboardData(CF_TEXT, memory) != nullptr;
        ::CloseClipboard();
        return set ? 0 : Fail("SetClipboardData failed");
    }
    if (command == "hold") {
        HANDLE file = ::CreateFileA(arg(2), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return Fail("cannot open the file");
        std::printf("held\n");
        std::fflush(stdout);
        ::Sleep(ms);
        ::CloseHandle(file);
        return 0;
    }
    if (command == "clip-hang") {
        // A program that offers its data to render on request and then hangs: it creates a window
        // to own the clipboard and never looks at its messages again.
        HWND owner = ::CreateWindowExA(0, "STATIC", "clip-hang", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        if (!owner || !::OpenClipboard(owner))
            return Fail("cannot own the clipboard");
        ::EmptyClipboard();
        ::SetClipboardData(CF_TEXT, nullptr);
        ::CloseClipboard();
        std::printf("%lu\n", ::GetCurrentProcessId());
        std::fflush(stdout);
        ::Sleep(static_cast<DWORD>(std::atoi(arg(2))));
        return 0;
    }
    if (command == "clip-owner") {
        DWORD process = 0;
        if (HWND owner = ::GetClipboardOwner())
            ::GetWindowThreadProcessId(owner, &process);
        std::printf("%lu", process);
        if (::OpenClipboard(nullptr)) {
            // Listing the formats asks the owner for nothing.
            for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format))
                std::printf(" %u", format);
            ::CloseClipboard();
        }
        std::printf("\n");
        return 0;
    }
    if (command == "wait")
        return WaitVisible(arg(2), ms) ? 0 : Fail("window not found");
    if (command == "gone") {
        const DWORD start = ::GetTickCount();
        while (::FindWindowA(nullptr, arg(2))) {
            if (::GetTickCount() - start >= ms)
                return Fail("window still there");
            ::Sleep(20);
        }
        return 0;
    }
    if (command == "msgbox" || command == "answer") {
        HWND box = WaitVisible(arg(2), ms, "#32770");
        if (!box)
            return Fail("no message box");
        if (command == "msgbox") {
            char text[2048] = {};
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            std::printf("%s\n", text);
        } else {
            const int button = argc > 4 ? std::atoi(argv[4]) : IDOK;
            ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        }
        return 0;
    }
    if (command == "launch-time") {
        std::vector<std::pair<std::string, std::string>> programs;
        for (int i = 3; i + 1 < argc; i += 2)
            programs.emplace_back(argv[i], argv[i + 1]);
        if (programs.empty())
            return Fail("launch-time needs an exe and a caption");
        return LaunchTime(std::max(1, std::atoi(arg(2))), programs);
    }

    HWND window = FindVisible(arg(2));
    if (!window)
        return Fail("window not found");
    if (command == "gdi" || command == "cycles") {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        HANDLE handle = ::OpenProcess(
            PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
        if (!handle)
            return Fail("the window's program cannot be opened");
        if (testsupport::UserObjectCount(handle) < 0)
            std::printf("(USER objects: GetGuiResources answers 0 on this platform, no count)\n");
        const std::string before = testsupport::GuiFigures(handle);
        if (command == "gdi") {
            std::printf("%s\n", before.c_str());
        } else {
            const int cycles = std::atoi(arg(3));
            const int trips = std::atoi(arg(4));
            testsupport::MinimiseRestore(window, cycles);
            ::Sleep(500);
            const std::string restored = testsupport::GuiFigures(handle);
            std::printf("%d minimise/restore cycles: %s -> %s\n", cycles, before.c_str(), restored.c_str());
            const bool taken = testsupport::DpiRoundTrips(window, handle, trips, std::atoi(arg(5)));
            ::Sleep(500);
            std::printf("%d DPI round trips (96 -> 144 -> 96)%s: %s -> %s\n", trips,
                        taken ? "" : " NOT TAKEN by the window", restored.c_str(),
                        testsupport::GuiFigures(handle).c_str());
        }
        ::CloseHandle(handle);
        return 0;
    }
    if (command == "mem") {
        // Under Wine PrivateUsage is 0; PagefileUsage is the same commit charge.
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        HANDLE handle = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        const bool read = handle && ::GetProcessMemoryInfo(handle, &counters, sizeof counters);
        if (handle)
            ::CloseHandle(handle);
        if (!read)
            return Fail("no memory counters");
        std::printf("%llu %llu\n", static_cast<unsigned long long>(counters.PagefileUsage),
                    static_cast<unsigned long long>(counters.PeakPagefileUsage));
        return 0;
    }
    if (command == "close") {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == "close-time") {
        const DWORD start = ::GetTickCount();
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        while (::IsWindow(window)) {
            if (::GetTickCount() - start >= 10000)
                return Fail("window still there");
            ::Sleep(5);
        }
        std::printf("%lu\n", static_cast<unsigned long>(::GetTickCount() - start));
        return 0;
    }
    if (command == "type") {
        // Types into a CAD frame as the user at its command line would: one record; "\r" in the
        // argument is Enter.
        std::string keys = arg(3);
        for (std::size_t at; (at = keys.find("\\r")) != std::string::npos;)
            keys.replace(at, 2, "\r");
        std::wstring wide(keys.size() + 1, L'\0');
        wide.resize(::MultiByteToWideChar(CP_ACP, 0, keys.c_str(), -1, &wide[0], static_cast<int>(wide.size())));
        COPYDATASTRUCT record{1, static_cast<DWORD>(wide.size() * sizeof(wchar_t)), &wide[0]};
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, 10000,
                                   &result))
            return Fail("the frame did not take the record");
        return 0;
    }
    if (command == "tip" || command == "tip-text") {
        struct Search {
            DWORD process;
            HWND shown;
        } search{0, nullptr};
        ::GetWindowThreadProcessId(window, &search.process);
        ::EnumWindows(
            [](HWND candidate, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                char className[64] = {};
                DWORD process = 0;
                ::GetClassNameA(candidate, className, sizeof className);
                ::GetWindowThreadProcessId(candidate, &process);
                if (process == s->process && std::strcmp(className, "tooltips_class32") == 0 &&
                    ::IsWindowVisible(candidate) && (::GetWindowLongA(candidate, GWL_STYLE) & 0x40 /* TTS_BALLOON */))
                    s->shown = candidate;
                return !s->shown;
            },
            reinterpret_cast<LPARAM>(&search));
        if (command == "tip") {
            std::printf("%d\n", search.shown ? 1 : 0);
            return 0;
        }
        // The text the balloon shows now: the tooltip answers WM_GETTEXT with it.
        char text[512] = {};
        if (search.shown)
            ::SendMessageA(search.shown, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        std::printf("%s\n", text);
        return 0;
    }
    if (command == "endsession") {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        HANDLE handle = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process);
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer);
        ::SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, nullptr);
        if (handle) {
            ::TerminateProcess(handle, 0);
            ::WaitForSingleObject(handle, 5000);
            ::CloseHandle(handle);
        }
        std::printf("%d\n", static_cast<int>(answer));
        return 0;
    }
    if (command == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const bool known = ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) != FALSE;
        std::printf("%d\n", known && info.hwndFocus ? ::GetDlgCtrlID(info.hwndFocus) : 0);
        return 0;
    }
    if (command == "prompt") {
        // The CAD command line's prompt: the child window whose stored caption is "Headlands".
        HWND prompt = nullptr;
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM found) -> BOOL {
                char caption[64] = {};
                ::GetWindowTextA(child, caption, sizeof caption);
                if (std::string(caption) != "Headlands")
                    return TRUE;
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&prompt));
        if (!prompt)
            return Fail("no prompt window");
        std::printf("%s\n", WindowText(prompt).c_str());
        return 0;
    }
    if (command == "above") {
        HWND other = FindVisible(arg(3));
        if (!other)
            return Fail("other window not found");
        // The first of the two that the walk from the top of the Z order meets.
        for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
            if (w == window || w == other) {
                std::printf("%d\n", w == window ? 1 : 0);
                return 0;
            }
        }
        return Fail("neither window in the Z order");
    }
    if (command == "iconic") {
        std::printf("%d\n", ::IsIconic(window) ? 1 : 0);
        return 0;
    }
    if (command == "origin") {
        POINT origin{0, 0};
        ::ClientToScreen(window, &origin);
        std::printf("%ld %ld\n", origin.x, origin.y);
        return 0;
    }
    if (command == "syscommand") {
        // A system-menu command as the menu sends it; SC_KEYMENU with a blank opens the menu as Alt+Space does.
        ::PostMessageA(window, WM_SYSCOMMAND, std::strtoul(arg(3), nullptr, 0), std::strtol(arg(4), nullptr, 0));
        return 0;
    }
    if (command == "move") {
        ::SetWindowPos(window, nullptr, std::atoi(arg(3)), std::atoi(arg(4)), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (command == "minimize") {
        // As the user's minimise button: the window goes to the task bar and stops being drawn.
        ::ShowWindow(window, SW_MINIMIZE);
        return 0;
    }
    if (command == "show") {
        // Back from the task bar without taking the focus, so that a run in progress goes on as it was.
        ::ShowWindow(window, SW_SHOWNOACTIVATE);
        return 0;
    }
    const int id = std::atoi(arg(3));
    HWND control = id == 0 ? window : FindControlByCaption(arg(2), id);
    if (!control)
        return Fail("control not found");
    if (command == "text") {
        std::printf("%s\n", WindowText(control).c_str());
        return 0;
    }
    if (command == "post-click") {
        // A click that reaches the control whatever the window's state, as a minimised window's
        // button can still be pressed from the keyboard or the taskbar.
        ::PostMessageA(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "press") {
        // From another process, as a reader does: the call goes to the control's own thread and
        // its answer comes back here, while the control's program goes on with what it posted.
        ::CoInitialize(nullptr);
        IAccessible* object = nullptr;
        HRESULT result = ::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(&object));
        if (SUCCEEDED(result) && object) {
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            result = object->accDoDefaultAction(self);
            object->Release();
        }
        std::printf("0x%08lx\n", static_cast<unsigned long>(result));
        ::CoUninitialize();
        return 0;
    }
    if (command == "checked") {
        std::printf("%d\n", ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (command == "rect") {
        RECT rect;
        if (id == 0) {
            ::GetClientRect(window, &rect);
            ::MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
        } else {
            ::GetWindowRect(control, &rect);
        }
        std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        return 0;
    }
    if (command == "bounds") {
        RECT rect;
        ::GetWindowRect(control, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    return Fail("unknown command");
}
