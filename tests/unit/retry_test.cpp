#include "platform/retry.h"

#include <gtest/gtest.h>

namespace {

// Time passes only while the retry sleeps or a try takes it.
struct FakeClock {
    std::uint64_t now = 0;
    std::uint64_t GetTickCount64() const { return now; }
    void Sleep(unsigned ms) { now += ms; }
};

// Each case: the try that succeeds (0: none), what a try costs, then the outcome, the tries and
// the time spent. A limit of 100 ms with 30 between tries: at 0, 30, 60, 90 and at the deadline.
TEST(RetryUntilDeadline, TriesUntilSuccessOrTheDeadlineAndOnceMoreAtIt) {
    const int cases[][5] = {{1, 0, true, 1, 0}, {3, 0, true, 3, 60}, {0, 0, false, 5, 100}, {0, 45, false, 2, 120}};
    for (const auto& c : cases) {
        FakeClock clock;
        int tries = 0;
        const bool result = platform::RetryUntilDeadline(clock, platform::RetryPolicy{100, 30}, [&] {
            clock.now += c[1];
            return ++tries == c[0];
        });
        EXPECT_EQ(result, c[2] != 0) << c[0] << " " << c[1];
        EXPECT_EQ(tries, c[3]) << c[0] << " " << c[1];
        EXPECT_EQ(clock.now, static_cast<std::uint64_t>(c[4])) << c[0] << " " << c[1];
    }
}

}  // namespace
