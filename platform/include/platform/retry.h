#pragma once
// The one way to wait out something another program holds for a moment: the clipboard (a
// clipboard monitor, another program copying), a file (a spreadsheet, a second instance).

#include <algorithm>
#include <cstdint>

namespace platform {

struct RetryPolicy {
    unsigned limitMs;  // no new try starts once this long has passed since the first
    unsigned pauseMs;  // rest between tries
};

// A short hold is waited out; a long one fails before the user would wonder what the tool does.
constexpr RetryPolicy kBriefHoldRetry{250, 20};
// Another program writing to the same file at the same moment is done within tens of milliseconds.
constexpr RetryPolicy kConcurrentWriteRetry{70, 10};
// What the user asked for there and then (a copy) is worth a little longer than a brief hold.
constexpr RetryPolicy kUserRequestRetry{500, 25};
// A hold already met and known to last (a spreadsheet holding a file) is tried once, not waited for.
constexpr RetryPolicy kSingleTry{0, 0};

// Calls attempt until it answers true or policy.limitMs have passed: at least once, and once more
// at the deadline. The clock is anything with GetTickCount64() and Sleep(ms), as CommandLineSystem.
template <typename Clock, typename Attempt>
bool RetryUntilDeadline(Clock& clock, const RetryPolicy& policy, Attempt&& attempt) {
    const std::uint64_t deadline = clock.GetTickCount64() + policy.limitMs;
    for (;;) {
        if (attempt())
            return true;
        const std::uint64_t now = clock.GetTickCount64();
        if (now >= deadline)
            return false;
        clock.Sleep(static_cast<unsigned>(std::min<std::uint64_t>(policy.pauseMs, deadline - now)));
    }
}

}  // namespace platform
