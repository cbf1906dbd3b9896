#pragma once
// What the benchmarks that drive the tool share: where they run from and how they find the main
// window's controls.

#include <windows.h>

#include <string>

namespace bench {

// The folder of the running benchmark exe, with its trailing backslash; the tool and the simulator
// are built beside it.
inline std::string OwnFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full = path;
    return full.substr(0, full.find_last_of('\\') + 1);
}

// A child window of the main window by its control id, or null.
inline HWND Control(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(child) != s->id)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace bench
