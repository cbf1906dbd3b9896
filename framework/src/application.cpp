#include "framework/application.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "framework/custom_control.h"
#include "framework/exceptions.h"
#include "framework/window_class.h"
#include "text_conversion.h"

namespace framework {

TApplication Application;

namespace {

// Milliseconds of a clock finer than the tick count, which moves in steps of a timer tick.
ULONGLONG PreciseMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<ULONGLONG>(now.QuadPart / (frequency / 1000));
}

}  // namespace

std::u16string ErrorBoxText(const std::u16string& message) {
    if (!message.empty() && message.back() == u'.')
        return message;
    return message + u".";
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

bool TApplication::DispatchOne(MSG& message) {
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    struct Dispatching {
        const MSG*& current;
        const MSG* outer;
        ~Dispatching() { current = outer; }
    } dispatching{dispatching_, dispatching_};
    dispatching_ = &message;
    // Raw input (pointer movements come by the hundred a second) goes straight to its window:
    // neither the dialog navigation nor the key translation has anything to do with it.
    if (message.message == WM_INPUT) {
        ::DispatchMessageW(&message);
        return true;
    }
    // Enter and Escape are first offered to the controls of the key's form (a button may take
    // them); only keys no control took go on to the dialog navigation.
    if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
        TWinControl* form = TWinControl::FromHandle(root);
        if (form && form->Perform(CM_DIALOGKEY, message.wParam, message.lParam))
            return true;
    }
    // Tab and arrow keys move between the main window's controls as in a dialog.
    HWND dialog = mainWindow_ && ::IsWindow(mainWindow_) ? mainWindow_ : nullptr;
    if (!dialog || !::IsDialogMessageW(dialog, &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

void TApplication::WatchHandles(std::vector<HANDLE> handles, std::function<void(std::size_t)> onSignal) {
    watched_ = std::move(handles);
    onSignal_ = std::move(onSignal);
}

void TApplication::WakeAfter(unsigned milliseconds, std::function<void()> onTime) {
    onTime_ = std::move(onTime);
    wakeAt_ = onTime_ ? PreciseMs() + milliseconds : 0;
}

void TApplication::HoldRawInput(unsigned milliseconds, std::function<void()> onDue) {
    onRawDue_ = std::move(onDue);
    rawDueAt_ = onRawDue_ ? PreciseMs() + milliseconds : 0;
}

// Takes the handler first: it may set a new one.
void TApplication::CallOnce(std::function<void()>& handler) {
    const std::function<void()> call = std::move(handler);
    handler = nullptr;
    try {
        call();
    } catch (...) {
        HandleException();
    }
}

void TApplication::Run() {
    MSG message;
    while (!terminated_) {
        if (!watched_.empty() || onTime_ || onRawDue_) {
            // Sleeps until a message comes, a watched object is signalled or the wake-up is due.
            const std::vector<HANDLE> handles = watched_;
            const DWORD count = static_cast<DWORD>(handles.size());
            const ULONGLONG now = PreciseMs();
            if (onRawDue_ && now >= rawDueAt_) {
                CallOnce(onRawDue_);
                continue;
            }
            if (onTime_ && now >= wakeAt_) {
                // Due, however busy the queue: messages that keep coming never hold it up.
                CallOnce(onTime_);
                continue;
            }
            DWORD timeout = onTime_ ? static_cast<DWORD>(wakeAt_ - now) : INFINITE;
            DWORD wakeMask = QS_ALLINPUT;
            if (onRawDue_) {
                timeout = std::min(timeout, static_cast<DWORD>(rawDueAt_ - now));
                wakeMask &= ~static_cast<DWORD>(QS_RAWINPUT);
            }
            const DWORD woken = ::MsgWaitForMultipleObjectsEx(count, count ? handles.data() : nullptr, timeout,
                                                              wakeMask, MWMO_INPUTAVAILABLE);
            if (woken == WAIT_TIMEOUT) {
                continue;  // the wake-up is due: it runs at the top
            } else if (woken >= WAIT_OBJECT_0 && woken < WAIT_OBJECT_0 + count) {
                // The handler may watch other objects, or none: it runs on a copy.
                const std::function<void(std::size_t)> onSignal = onSignal_;
                try {
                    if (onSignal)
                        onSignal(woken - WAIT_OBJECT_0);
                } catch (...) {
                    HandleException();
                }
            } else if (woken == WAIT_FAILED) {
                watched_.clear();  // a handle that went away: back to the plain loop
            }
            ProcessMessages();
            continue;
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        DispatchOne(message);
    }
}

void TApplication::ProcessMessages() {
    MSG message;
    while (!terminated_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!DispatchOne(message))
            break;
    }
}

void TApplication::HandleException() noexcept {
    try {
        throw;
    } catch (const EAbort&) {
        // The silent abort ends the action without a word.
    } catch (const Exception& error) {
        ShowException(error.Message());
    } catch (const std::exception& error) {
        ShowException(platform::WideFromAnsi(error.what()));
    } catch (...) {
        ShowException(u"Unknown error");
    }
}

void TApplication::ShowException(const std::u16string& message) noexcept {
    MessageBox(ErrorBoxText(message), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::u16string& text, UINT flags) noexcept {
    HWND owner = mainWindow_ && ::IsWindow(mainWindow_) ? mainWindow_ : nullptr;
    return ::MessageBoxW(owner, WideText(text), WideText(title_), flags);
}

}  // namespace framework
