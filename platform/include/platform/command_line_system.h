#pragma once
// The operations that typing into the CAD command line and reading it back rely on, under their
// Win32 names: messages to the CAD program's windows, the system code page, and the clipboard.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"

namespace platform {

// Message numbers the CAD link sends.
constexpr unsigned kWmNull = 0x0000;
constexpr unsigned kWmGetText = 0x000D;
constexpr unsigned kWmGetTextLength = 0x000E;
constexpr unsigned kWmCopyData = 0x004A;
constexpr unsigned kWmCommand = 0x0111;

// Clipboard format numbers the CAD link names.
constexpr unsigned kCfText = 1;

// The COPYDATASTRUCT of a WM_COPYDATA message.
struct CopyDataRecord {
    std::uintptr_t dwData;
    std::uint32_t cbData;
    const void* lpData;
};

class CommandLineSystem {
public:
    virtual ~CommandLineSystem() = default;

    // False for a handle that names no window.
    virtual bool IsWindowUnicode(WindowHandle window) = 0;
    // The answer says whether the window system agreed; callers do not rely on it.
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    // Sends to another program wait at most kAnswerTimeoutMs for a sign that it answers, and not
    // at all while an earlier sign is still awaited: a busy CAD program must not freeze the tool's
    // window. Nothing comes back when the window did not answer; the caller tries again later.
    static constexpr unsigned kAnswerTimeoutMs = 50;
    // What became of a record sent with WM_COPYDATA. A window that took the message but did not
    // answer in time (a CAD program busy inside its handling) still handles it once it is free:
    // the record is taken and must never be sent again.
    enum class Delivery { Answered, Taken, NotSent };
    virtual Delivery SendCopyData(WindowHandle window, const CopyDataRecord& record) = 0;
    // For WM_GETTEXTLENGTH, WM_GETTEXT (lParam the buffer) and WM_COMMAND.
    virtual std::optional<std::intptr_t> SendMessageA(WindowHandle window,
                                                      unsigned message,
                                                      std::uintptr_t wParam,
                                                      std::intptr_t lParam) = 0;
    // The same in the W form, for WM_GETTEXTLENGTH and WM_GETTEXT of a Unicode window: lengths in
    // UTF-16 units, lParam a char16_t buffer of wParam units. Only this form gives such a window's
    // text whole; the A form turns what the code page cannot express into its default character.
    virtual std::optional<std::intptr_t> SendMessageW(WindowHandle window,
                                                      unsigned message,
                                                      std::uintptr_t wParam,
                                                      std::intptr_t lParam) = 0;
    virtual bool PostMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // The window has just answered a message that left it nothing to do (a record that only
    // cancels, or asks or sets a system variable; the history copied): as after a read, the next
    // send within a moment goes without asking for a sign of life first.
    virtual void AnsweredIdle(WindowHandle window) = 0;
    // Without waiting: whether a window that did not answer a send in time has answered since
    // (true for one that never failed to). False for a handle that names no window.
    virtual bool AnswersNow(WindowHandle window) = 0;
    // Whether the window shows within kAnswerTimeoutMs that it answers, sending it nothing else.
    virtual bool AnswersInTime(WindowHandle window) = 0;

    // WideCharToMultiByte / MultiByteToWideChar with the system code page and no flags: characters
    // the code page cannot express become its default character.
    virtual std::string WideToAnsi(const std::u16string& text) = 0;
    virtual std::u16string AnsiToWide(const std::string& text) = 0;

    virtual void Sleep(unsigned milliseconds) = 0;
    // Milliseconds since the system started.
    virtual std::uint64_t GetTickCount64() = 0;
};

// What the clipboard held, kept to be put back. Held only while needed: releasing it gives its
// memory back.
class SavedClipboard {
public:
    virtual ~SavedClipboard() = default;
    // Whether the clipboard held any format when saved, copied or not.
    bool heldAny = false;
};

// The shared clipboard, as bytes of each format. Formats whose data is not a block of memory are
// carried by the implementation in a form it can put back (or not offered at all).
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // With the clipboard open: a copy of every format that can be copied.
    virtual std::unique_ptr<SavedClipboard> Save();
    // With the clipboard open: empties it and puts the saved formats back.
    virtual void PutBack(const SavedClipboard& saved);

    // Whether the program that owns the clipboard's content answers within kOwnerTimeoutMs (true
    // with no owner or with this program as owner). Reading a format that its owner renders only
    // on request waits for that program: a hung owner would hang the reader.
    static constexpr unsigned kOwnerTimeoutMs = CommandLineSystem::kAnswerTimeoutMs;
    virtual bool OwnerAnswers() = 0;
    virtual bool OpenClipboard() = 0;
    virtual bool CloseClipboard() = 0;
    virtual bool EmptyClipboard() = 0;
    // Every format on the clipboard, in the order EnumClipboardFormats gives them.
    virtual std::vector<unsigned> Formats() = 0;
    // The data of one format; false when the clipboard does not hold it or it cannot be copied.
    virtual bool GetClipboardData(unsigned format, std::string& bytes) = 0;
    // Shows the data of one format to look in place, without a copy: a long text costs a reader
    // only what it looks at. False, and look is not called, when the clipboard does not hold it.
    virtual bool ViewClipboardData(unsigned format, const std::function<void(std::string_view)>& look) = 0;
    virtual bool SetClipboardData(unsigned format, const std::string& bytes) = 0;
};

// The saved formats as byte strings, for clipboards that need nothing better.
class SavedClipboardBytes : public SavedClipboard {
public:
    std::vector<std::pair<unsigned, std::string>> formats;
};

inline std::unique_ptr<SavedClipboard> Clipboard::Save() {
    auto saved = std::make_unique<SavedClipboardBytes>();
    const std::vector<unsigned> formats = Formats();
    saved->heldAny = !formats.empty();
    for (unsigned format : formats) {
        std::string bytes;
        if (GetClipboardData(format, bytes))
            saved->formats.emplace_back(format, std::move(bytes));
    }
    return saved;
}

inline void Clipboard::PutBack(const SavedClipboard& saved) {
    EmptyClipboard();
    for (const auto& [format, bytes] : static_cast<const SavedClipboardBytes&>(saved).formats)
        SetClipboardData(format, bytes);
}

}  // namespace platform
