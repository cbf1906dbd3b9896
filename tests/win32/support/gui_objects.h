#pragma once
// The GDI and USER objects a process holds, read in a way that also works under Wine, where
// GetGuiResources answers 0: the process's GDI handle table, which its PEB points at, is read
// entry by entry. Shared by the benchmarks and the Win32 tests.

#include <windows.h>

#include <map>
#include <string>

namespace testsupport {

struct GdiObjects {
    long total = -1;             // -1: the count could not be read
    std::map<int, long> byType;  // the table's type byte: 1 DC, 4 region, 5 bitmap, 10 font, ...
    std::string Kinds() const;   // "DC 3, region 2, ..." for a figures line
};

// Stock objects are left out: they belong to the system, not to the process.
GdiObjects CountGdiObjects(HANDLE process);

// GetGuiResources where it answers; -1 where it does not (Wine).
long UserObjectCount(HANDLE process);

// "GDI n (DC 1, ...)  USER m" for a figures line; USER "-" where the platform does not count them.
std::string GuiFigures(HANDLE process);

// What every run does to the tool's window, done from outside: minimise, then restore.
void MinimiseRestore(HWND window, int cycles);

// A child window of window by its control id, or null.
HWND ControlById(HWND window, int id);

// A move to a monitor of 144 DPI and back, as the system tells a window (WM_DPICHANGED, which
// Wine never sends), from another process: the suggested rectangle is written into the window's
// process, which needs PROCESS_VM_OPERATION and PROCESS_VM_WRITE. False when the window did not
// take the change (its control `probeId` did not grow at 144).
bool DpiRoundTrips(HWND window, HANDLE process, int roundTrips, int probeId);

}  // namespace testsupport
