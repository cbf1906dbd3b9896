#include "single_instance.h"

#include <windows.h>

#include <string>

#include "control_ids.h"
#include "framework/handles.h"
#include "framework/shell_folders.h"
#include "platform/path_names.h"

namespace app {
namespace {

// Long enough for an instance that is ending to write its rows and settings.
constexpr DWORD kWaitForEndingMs = 10000;
constexpr DWORD kLookEveryMs = 100;
std::u16string LowerFileName(const std::u16string& path) {
    std::u16string name = platform::FileNameOf(path);
    if (!name.empty())
        ::CharLowerBuffW(reinterpret_cast<wchar_t*>(name.data()), static_cast<DWORD>(name.size()));
    return name;
}

std::u16string ProcessFileName(DWORD process) {
    framework::KernelHandle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
    if (!handle)
        return std::u16string();
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = ARRAYSIZE(path);
    const bool read = ::QueryFullProcessImageNameW(handle.Get(), 0, path, &size) != FALSE;
    return read ? LowerFileName(std::u16string(reinterpret_cast<const char16_t*>(path), size)) : std::u16string();
}

struct Search {
    std::u16string fileName;
    HWND found = nullptr;
};

// The shown main window of another process started from an executable of the same name.
BOOL CALLBACK FindRunning(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char className[16] = {};
    DWORD process = 0;
    ::GetClassNameA(window, className, sizeof className);
    ::GetWindowThreadProcessId(window, &process);
    if (std::string(className) != kMainWindowClass || !::IsWindowVisible(window) ||
        process == ::GetCurrentProcessId() || ProcessFileName(process) != search->fileName)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool SingleInstance::Claim() {
    const std::u16string fileName = LowerFileName(framework::ExecutablePath());
    // Per session, and per executable name as the settings file and the results list are.
    const std::u16string name = u"Local\\Halvetra." + fileName;
    mutex_.Reset(::CreateMutexW(nullptr, TRUE, framework::WidePath(name)));
    if (!mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS)
        return true;  // without the mutex nothing can be told: the start goes on
    Search search{fileName};
    for (DWORD waited = 0; waited < kWaitForEndingMs; waited += kLookEveryMs) {
        search.found = nullptr;
        ::EnumWindows(FindRunning, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // Asked without waiting: a first instance whose thread does not answer must not hold
            // this start, which ends at once either way.
            if (::IsIconic(search.found))
                ::ShowWindowAsync(search.found, SW_RESTORE);
            ::SetForegroundWindow(search.found);
            return false;
        }
        // No window yet (still starting) or none any more (ending): the mutex comes free when it ends.
        const DWORD state = ::WaitForSingleObject(mutex_.Get(), kLookEveryMs);
        if (state == WAIT_OBJECT_0 || state == WAIT_ABANDONED)
            return true;
    }
    return true;  // an instance that shows no window for this long is not to keep the user out
}

}  // namespace app
