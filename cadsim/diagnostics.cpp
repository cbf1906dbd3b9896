#include "diagnostics.h"

#include <windows.h>

namespace cadsim {

void ReportError(const std::string& message) {
    // A GUI program may have no standard error at all; then the message is dropped.
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return;
    const std::string line = "cadsim: " + message + "\n";
    DWORD written = 0;
    ::WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace cadsim
