#include "user_input_waker.h"

#include <algorithm>
#include <cstdint>

#include "framework/application.h"

namespace app {
namespace {

constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouse = 0x02;
constexpr USHORT kKeyboard = 0x06;
constexpr USHORT kButtonsDown = RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_DOWN |
                                RI_MOUSE_BUTTON_4_DOWN | RI_MOUSE_BUTTON_5_DOWN;
// How long movements are left queued before they are taken together, once they come as a stream
// (the next within kStreamGapMs of the last): a release that comes meanwhile is noticed this much
// later, but a click after the pointer came to rest, or a release while a button is down, is not.
constexpr unsigned kMovementBatchMs = 30;
constexpr ULONGLONG kStreamGapMs = 20;
constexpr USHORT kButtonsUp = RI_MOUSE_LEFT_BUTTON_UP | RI_MOUSE_RIGHT_BUTTON_UP | RI_MOUSE_MIDDLE_BUTTON_UP |
                              RI_MOUSE_BUTTON_4_UP | RI_MOUSE_BUTTON_5_UP;

// The inputs of one buffer each start at the pointer size's alignment.
RAWINPUT* NextInput(RAWINPUT* input) {
    constexpr std::uintptr_t kAlign = sizeof(void*);
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(input) + input->header.dwSize;
    return reinterpret_cast<RAWINPUT*>((end + kAlign - 1) & ~(kAlign - 1));
}

bool Register(DWORD flags, HWND target) {
    RAWINPUTDEVICE devices[2] = {{kGenericDesktop, kMouse, flags, target}, {kGenericDesktop, kKeyboard, flags, target}};
    return ::RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)) != FALSE;
}

}  // namespace

UserInputWaker::UserInputWaker(std::function<void()> onUserInput)
    : onUserInput_(std::move(onUserInput)),
      window_([this](UINT message, WPARAM wParam, LPARAM lParam) { return HandleMessage(message, wParam, lParam); }) {}

bool UserInputWaker::Start() {
    if (!listening_ && window_.Handle())
        listening_ = Register(RIDEV_INPUTSINK, window_.Handle());
    return listening_;
}

void UserInputWaker::Stop() {
    if (!listening_)
        return;
    listening_ = false;
    buttonDown_ = false;
    lastMovementAt_ = 0;
    framework::Application.HoldRawInput(0, nullptr);
    Register(RIDEV_REMOVE, nullptr);
}

// A release ends a pick, a typed point or an Esc; a press or a movement says nothing yet.
UserInputWaker::Seen UserInputWaker::Take(const RAWINPUT& input) {
    if (input.header.dwType == RIM_TYPEKEYBOARD)
        return (input.data.keyboard.Flags & RI_KEY_BREAK) != 0 ? Seen::Release : Seen::Other;
    if (input.header.dwType != RIM_TYPEMOUSE)
        return Seen::Other;
    const USHORT flags = input.data.mouse.usButtonFlags;
    if (flags & kButtonsDown)
        buttonDown_ = true;
    if (flags & kButtonsUp) {
        buttonDown_ = false;
        return Seen::Release;
    }
    return flags == 0 ? Seen::Movement : Seen::Other;
}

void UserInputWaker::AfterInput(Seen seen, bool streaming) {
    if (seen == Seen::Release) {
        framework::Application.HoldRawInput(0, nullptr);
        onUserInput_();
    } else if (seen == Seen::Movement && !buttonDown_) {
        const ULONGLONG now = ::GetTickCount64();
        if (streaming || now - lastMovementAt_ <= kStreamGapMs)
            framework::Application.HoldRawInput(kMovementBatchMs, [this] { Drain(); });
        lastMovementAt_ = now;
    }
}

void UserInputWaker::Drain() {
    if (!listening_)
        return;
    // Room for a few hundred inputs; a fuller queue is taken in further calls.
    alignas(8) static BYTE buffer[32 * 1024];
    Seen seen = Seen::Nothing;
    for (;;) {
        UINT size = sizeof buffer;
        const UINT count = ::GetRawInputBuffer(reinterpret_cast<RAWINPUT*>(buffer), &size, sizeof(RAWINPUTHEADER));
        if (count == 0 || count == static_cast<UINT>(-1))
            break;
        auto* input = reinterpret_cast<RAWINPUT*>(buffer);
        for (UINT i = 0; i < count; ++i, input = NextInput(input))
            seen = std::max(seen, Take(*input));
    }
    // When only movements came, the stream goes on and the next ones are held too; after nothing,
    // or a press, raw input wakes the loop again at once.
    AfterInput(seen, seen == Seen::Movement);
}

LRESULT UserInputWaker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUT && listening_) {
        RAWINPUT input{};
        UINT size = sizeof input;
        if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) !=
            static_cast<UINT>(-1))
            AfterInput(Take(input), false);
    }
    // WM_INPUT too: the system frees the input's data there.
    return ::DefWindowProcW(window_.Handle(), message, wParam, lParam);
}

}  // namespace app
