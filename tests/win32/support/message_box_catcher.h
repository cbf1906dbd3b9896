#pragma once
// Answers the message boxes that a test provokes: a thread watches for boxes with a given caption,
// records their text and presses OK, so that a modal box never blocks the test.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(std::u16string caption);
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    // Texts of the boxes answered so far, in order.
    std::vector<std::u16string> Texts() const;
    // Waits up to the given time for at least count boxes.
    bool WaitFor(std::size_t count, DWORD milliseconds) const;

private:
    void Watch();

    std::u16string caption_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::u16string> texts_;
    std::thread thread_;
};

}  // namespace testsupport
