#include "message_box_catcher.h"

namespace testsupport {

MessageBoxCatcher::MessageBoxCatcher(std::u16string caption) : caption_(std::move(caption)) {
    thread_ = std::thread([this] { Watch(); });
}

MessageBoxCatcher::~MessageBoxCatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<std::u16string> MessageBoxCatcher::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

bool MessageBoxCatcher::WaitFor(std::size_t count, DWORD milliseconds) const {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        if (Texts().size() >= count)
            return true;
        ::Sleep(20);
    }
    return Texts().size() >= count;
}

void MessageBoxCatcher::Watch() {
    while (!stop_) {
        HWND box = ::FindWindowW(L"#32770", reinterpret_cast<const wchar_t*>(caption_.c_str()));
        if (box && ::IsWindowVisible(box)) {
            wchar_t text[1024] = {};
            // A message box keeps its text in the static control with identifier 0xFFFF.
            ::GetDlgItemTextW(box, 0xFFFF, text, ARRAYSIZE(text));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                texts_.push_back(reinterpret_cast<const char16_t*>(text));
            }
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (::IsWindow(box) && !stop_)
                ::Sleep(10);
        }
        ::Sleep(10);
    }
}

}  // namespace testsupport
