#pragma once
// The system's clock, for platform::RetryUntilDeadline where no CommandLineSystem is at hand.

#include <windows.h>

#include <cstdint>

namespace platform {

struct Win32Clock {
    std::uint64_t GetTickCount64() { return ::GetTickCount64(); }
    void Sleep(unsigned ms) { ::Sleep(ms); }
};

}  // namespace platform
