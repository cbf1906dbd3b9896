#include "platform/retry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Time passes only while the retry sleeps, and each try may itself take a while.
struct FakeClock {
    std::uint64_t now = 1000;
    std::vector<unsigned> sleeps;
    std::uint64_t GetTickCount64() const { return now; }
    void Sleep(unsigned ms) {
        sleeps.push_back(ms);
        now += ms;
    }
};

TEST(RetryUntilDeadline, TriesUntilSuccessOrTheDeadlineAndOnceMoreAtIt) {
    struct Case {
        int succeedsAt;  // the try that succeeds (0: none)
        unsigned tryMs;  // what each try costs
        bool result;
        int tries;
        std::uint64_t spentMs;
    };
    const platform::RetryPolicy policy{100, 30};
    for (const Case& c : {
             Case{1, 0, true, 1, 0}, Case{3, 0, true, 3, 60},
             Case{0, 0, false, 5, 100},   // at 0, 30, 60, 90 and the deadline
             Case{0, 45, false, 2, 120},  // a slow try counts against the limit
             Case{5, 0, true, 5, 100},    // the try at the deadline still counts
         }) {
        FakeClock clock;
        int tries = 0;
        const bool result = platform::RetryUntilDeadline(clock, policy, [&] {
            clock.now += c.tryMs;
            return ++tries == c.succeedsAt;
        });
        EXPECT_EQ(result, c.result) << c.succeedsAt << " " << c.tryMs;
        EXPECT_EQ(tries, c.tries) << c.succeedsAt << " " << c.tryMs;
        EXPECT_EQ(clock.now - 1000, c.spentMs) << c.succeedsAt << " " << c.tryMs;
    }
}

}  // namespace
