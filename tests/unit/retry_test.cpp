#include "platform/retry.h"

#include <gtest/gtest.h>

namespace {

// Time passes only while the retry sleeps or a try takes it.
struct FakeClock {
    std::uint64_t now = 0;
    std::uint64_t GetTickCount64() const { return now; }
    void Sleep(unsigned ms) { now += ms; }
};

TEST(RetryUntilDeadline, TriesUntilSuccessOrTheDeadlineAndOnceMoreAtIt) {
    struct Case {
        int succeedsAt;  // the try that succeeds (0: none)
        unsigned tryMs;  // what each try costs
        bool result;
        int tries;
        std::uint64_t spentMs;
    } cases[] = {
        {1, 0, true, 1, 0},
        {3, 0, true, 3, 60},
        {0, 0, false, 5, 100},   // at 0, 30, 60, 90 and the deadline
        {0, 45, false, 2, 120},  // a slow try counts against the limit
    };
    for (const Case& c : cases) {
        FakeClock clock;
        int tries = 0;
        const bool result = platform::RetryUntilDeadline(clock, platform::RetryPolicy{100, 30}, [&] {
            clock.now += c.tryMs;
            return ++tries == c.succeedsAt;
        });
        EXPECT_EQ(result, c.result) << c.succeedsAt << " " << c.tryMs;
        EXPECT_EQ(tries, c.tries) << c.succeedsAt << " " << c.tryMs;
        EXPECT_EQ(clock.now, c.spentMs) << c.succeedsAt << " " << c.tryMs;
    }
}

}  // namespace
