#pragma once
// The application object: its title, the message loop, and the error model at the top of every
// user action (the error box for the framework's errors, nothing for the silent abort).

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace framework {

class TApplication {
public:
    // Registers the common controls (version 6 through the manifest).
    void Initialize();

    const std::u16string& Title() const { return title_; }
    void SetTitle(const std::u16string& title) { title_ = title; }

    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    // Runs the message loop until the main window has closed (WM_QUIT).
    void Run();
    // Handles every message that is waiting and returns; sets Terminated when WM_QUIT comes.
    void ProcessMessages();
    bool Terminated() const { return terminated_; }
    // Kernel objects the message loop also waits for: when one is signalled, onSignal gets its
    // index. An empty list watches nothing.
    void WatchHandles(std::vector<HANDLE> handles, std::function<void(std::size_t index)> onSignal);
    // Calls onTime once when the loop has waited this long without a message for it (a timer's
    // message comes late and seldom under load); null cancels.
    void WakeAfter(unsigned milliseconds, std::function<void()> onTime);
    // Leaves raw input queued for this long: the loop does not wake for it, and calls onDue once
    // the time is up (onDue then takes the input that came meanwhile in one go). Pointer movements
    // come by the hundred a second; waking for each costs more than all else a waiting run does.
    // Null cancels; raw input then wakes the loop again.
    void HoldRawInput(unsigned milliseconds, std::function<void()> onDue);
    // The message the loop is handing out now (a click's button-up, a key), or null outside one.
    const MSG* Dispatching() const { return dispatching_; }

    // Call inside a catch block: shows the current exception in the error box, or nothing for the
    // silent abort. Never throws.
    void HandleException() noexcept;
    // The error box: stop icon, the application title as caption, the message with a full stop.
    void ShowException(const std::u16string& message) noexcept;
    int MessageBox(const std::u16string& text, UINT flags) noexcept;

private:
    void CallOnce(std::function<void()>& handler);
    bool DispatchOne(MSG& message);

    std::u16string title_;
    HWND mainWindow_ = nullptr;
    bool terminated_ = false;
    const MSG* dispatching_ = nullptr;
    std::vector<HANDLE> watched_;
    std::function<void(std::size_t)> onSignal_;
    ULONGLONG wakeAt_ = 0;
    std::function<void()> onTime_;
    ULONGLONG rawDueAt_ = 0;
    std::function<void()> onRawDue_;
};

extern TApplication Application;

// The message shown for an error: the text with a full stop appended (unless it already ends with one).
std::u16string ErrorBoxText(const std::u16string& message);

}  // namespace framework
