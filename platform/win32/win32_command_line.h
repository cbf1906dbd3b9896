#pragma once
// Messages to the CAD program's windows, the system code page and the clipboard, passed to Win32.

#include <windows.h>

#include "platform/command_line_system.h"

namespace platform {

class Win32CommandLineSystem : public CommandLineSystem {
public:
    bool IsWindowUnicode(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    Delivery SendCopyData(WindowHandle window, const CopyDataRecord& record) override;
    std::optional<std::intptr_t> SendMessageA(WindowHandle window,
                                              unsigned message,
                                              std::uintptr_t wParam,
                                              std::intptr_t lParam) override;
    std::optional<std::intptr_t> SendMessageW(WindowHandle window,
                                              unsigned message,
                                              std::uintptr_t wParam,
                                              std::intptr_t lParam) override;
    bool PostMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void AnsweredIdle(WindowHandle window) override;
    bool AnswersNow(WindowHandle window) override;
    bool AnswersInTime(WindowHandle window) override;
    std::string WideToAnsi(const std::u16string& text) override;
    std::u16string AnsiToWide(const std::string& text) override;
    void Sleep(unsigned milliseconds) override;
    std::uint64_t GetTickCount64() override;
};

// Opens the clipboard for a hidden window of its own: a clipboard opened for no window cannot take data.
class Win32Clipboard : public Clipboard {
public:
    Win32Clipboard();
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    bool OwnerAnswers() override;
    bool OpenClipboard() override;
    bool CloseClipboard() override;
    bool EmptyClipboard() override;
    std::vector<unsigned> Formats() override;
    bool GetClipboardData(unsigned format, std::string& bytes) override;
    bool ViewClipboardData(unsigned format, const std::function<void(std::string_view)>& look) override;
    bool SetClipboardData(unsigned format, const std::string& bytes) override;
    // Kept in a heap of its own, which goes back to the system whole when the saved content goes.
    std::unique_ptr<SavedClipboard> Save() override;
    void PutBack(const SavedClipboard& saved) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace platform
