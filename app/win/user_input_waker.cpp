#include "user_input_waker.h"

namespace app {
namespace {

constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouse = 0x02;
constexpr USHORT kKeyboard = 0x06;
constexpr USHORT kButtonsUp = RI_MOUSE_LEFT_BUTTON_UP | RI_MOUSE_RIGHT_BUTTON_UP | RI_MOUSE_MIDDLE_BUTTON_UP |
                              RI_MOUSE_BUTTON_4_UP | RI_MOUSE_BUTTON_5_UP;

bool Register(DWORD flags, HWND target) {
    RAWINPUTDEVICE devices[2] = {{kGenericDesktop, kMouse, flags, target}, {kGenericDesktop, kKeyboard, flags, target}};
    return ::RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)) != FALSE;
}

// A release ends a pick, a typed point or an Esc; a press or a movement says nothing yet.
bool IsRelease(const RAWINPUT& input) {
    if (input.header.dwType == RIM_TYPEMOUSE)
        return (input.data.mouse.usButtonFlags & kButtonsUp) != 0;
    if (input.header.dwType == RIM_TYPEKEYBOARD)
        return (input.data.keyboard.Flags & RI_KEY_BREAK) != 0;
    return false;
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
    Register(RIDEV_REMOVE, nullptr);
}

LRESULT UserInputWaker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUT && listening_) {
        RAWINPUT input{};
        UINT size = sizeof input;
        if (::GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) !=
                static_cast<UINT>(-1) &&
            IsRelease(input))
            onUserInput_();
    }
    // WM_INPUT too: the system frees the input's data there.
    return ::DefWindowProcA(window_.Handle(), message, wParam, lParam);
}

}  // namespace app
