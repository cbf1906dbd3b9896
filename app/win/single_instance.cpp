#include "single_instance.h"

#include <windows.h>

#include <cctype>
#include <string>

#include "framework/shell_folders.h"

namespace app {
namespace {

// Long enough for an instance that is ending to write its rows and settings.
constexpr DWORD kWaitForEndingMs = 10000;
constexpr DWORD kLookEveryMs = 100;
const char kMainWindowClass[] = "TTavroF";

std::string LowerFileName(const std::string& path) {
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string ProcessFileName(DWORD process) {
    HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle)
        return std::string();
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    const bool read = ::QueryFullProcessImageNameA(handle, 0, path, &size) != FALSE;
    ::CloseHandle(handle);
    return read ? LowerFileName(path) : std::string();
}

struct Search {
    std::string fileName;
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
    const std::string fileName = LowerFileName(framework::ExecutablePath());
    // Per session, and per executable name as the settings file and the results list are.
    std::string name = "Local\\Halvetra.";
    for (char c : fileName)
        name += c == '\\' ? '_' : c;
    mutex_.Reset(::CreateMutexA(nullptr, TRUE, name.c_str()));
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
