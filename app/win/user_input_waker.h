#pragma once
// Tells a run that waits for the user's pick or selection that the user let go of a mouse button or
// a key anywhere on the desktop, so that it looks at the CAD program then rather than on a clock.
// Raw input reaches a message-only window of its own even while the CAD program has the focus, and
// costs nothing while nothing happens; it is registered only while a wait for the user is on.

#include <windows.h>

#include <functional>

#include "framework/utility_window.h"

namespace app {

class UserInputWaker {
public:
    explicit UserInputWaker(std::function<void()> onUserInput);
    ~UserInputWaker() { Stop(); }
    UserInputWaker(const UserInputWaker&) = delete;
    UserInputWaker& operator=(const UserInputWaker&) = delete;

    // Registers raw input of the mouse and the keyboard; false when the system refused it (the
    // run then still looks on its clock).
    bool Start();
    // Removes the registration; harmless when there is none.
    void Stop();
    bool Listening() const { return listening_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What inputs said, the weightiest of several last.
    enum class Seen { Nothing, Movement, Other, Release };
    Seen Take(const RAWINPUT& input);
    // A release wakes the run; once movements stream, the input of the next moments is taken in
    // one go. streaming: movements came while they were held.
    void AfterInput(Seen seen, bool streaming);
    // Takes every raw input queued, without a message for each.
    void Drain();

    std::function<void()> onUserInput_;
    framework::TUtilityWindow window_;
    bool listening_ = false;
    bool buttonDown_ = false;
    ULONGLONG lastMovementAt_ = 0;
};

}  // namespace app
