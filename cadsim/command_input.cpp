#include "command_input.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "diagnostics.h"
#include "host_files.h"
#include "host_refresh.h"
#include "record_lines.h"

namespace cadsim {
namespace {

// The clipboard is shared with every program on the desktop (Wine's own clipboard manager too).
constexpr int kClipboardTries = 20;
constexpr DWORD kClipboardRetryMs = 10;

// Keystrokes of a record as code-page-932 bytes (escapes for what the code page lacks): the payload up to its first
// zero unit, never beyond cbData. UTF-16 for a Unicode main frame; an odd last byte is not a whole unit.
std::string Keystrokes(const COPYDATASTRUCT& record, bool unicode) {
    if (record.lpData == nullptr || record.cbData == 0)
        return std::string();
    const auto* bytes = static_cast<const unsigned char*>(record.lpData);
    if (!unicode) {
        const auto* end = std::find(bytes, bytes + record.cbData, 0);
        return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(end - bytes));
    }
    std::wstring wide;
    for (std::size_t i = 0; i + 1 < record.cbData; i += 2) {
        const auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == L'\0')
            break;
        wide += unit;
    }
    return Cp932WithEscapes(wide);
}

void Type(Host& host, const std::string& keys) {
    host.commandLine.Type(keys, host.typedAsScript ? KeySource::Script : KeySource::Keyboard);
    AfterInput(host);
}

// The clipboard opened for one window, closed on every path.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        for (int attempt = 0; attempt < kClipboardTries && !open_; ++attempt) {
            open_ = ::OpenClipboard(owner) != FALSE;
            if (!open_)
                ::Sleep(kClipboardRetryMs);
        }
    }
    ~OpenClipboardScope() {
        if (open_)
            ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool Open() const { return open_; }

private:
    bool open_ = false;
};

// Global memory that is ours until the clipboard takes it.
class GlobalMemory {
public:
    explicit GlobalMemory(std::size_t size) : memory_(::GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalMemory() {
        if (memory_)
            ::GlobalFree(memory_);
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;

    HGLOBAL Get() const { return memory_; }
    HGLOBAL Release() {
        HGLOBAL memory = memory_;
        memory_ = nullptr;
        return memory;
    }

private:
    HGLOBAL memory_;
};

}  // namespace

LRESULT ReceiveCopyData(Host& host, HWND window, const COPYDATASTRUCT* record) {
    host.log.CopyData(window, record);
    if (record == nullptr || window != host.windows.mainFrame || record->dwData != kKeystrokeRecord)
        return FALSE;
    const std::string keys = Keystrokes(*record, ::IsWindowUnicode(window) != FALSE);
    if (host.input == InputMode::Inside) {
        Type(host, keys);
        return TRUE;
    }
    // The record's memory is gone once the send returns: keep a copy for the message loop.
    if (host.lineDelayMs > 0) {
        for (std::string& line : RecordLines(keys))
            host.queuedInput.push_back(std::move(line));
    } else {
        host.queuedInput.push_back(keys);
    }
    if (host.inputDelayMs > 0 || host.lineDelayMs > 0) {
        // A busy host takes everything typed meanwhile when it gets round to it; one that stalls
        // at every line takes one line each time.
        if (!host.inputTimerSet)
            host.inputTimerSet = ::SetTimer(window, kQueuedInputTimer,
                                            host.lineDelayMs > 0 ? host.lineDelayMs : host.inputDelayMs, nullptr) != 0;
        if (host.inputTimerSet)
            return TRUE;
    } else if (::PostMessageW(window, kTypeQueuedInput, 0, 0)) {
        return TRUE;
    }
    // Without a timer or a posted message the input is taken now, after what waits before it.
    while (!host.queuedInput.empty())
        TypeQueuedInput(host);
    return TRUE;
}

void TypeDelayedInput(Host& host, HWND mainFrame) {
    if (host.lineDelayMs > 0) {
        TypeQueuedInput(host);
        if (!host.queuedInput.empty())
            return;  // the timer goes on for the next line
    }
    ::KillTimer(mainFrame, kQueuedInputTimer);
    host.inputTimerSet = false;
    while (!host.queuedInput.empty())
        TypeQueuedInput(host);
}

void TypeQueuedInput(Host& host) {
    if (host.queuedInput.empty())
        return;
    const std::string keys = std::move(host.queuedInput.front());
    host.queuedInput.pop_front();
    Type(host, keys);
}

void HoldClipboard(Host& host, HWND textWindow) {
    if (host.clipboardHoldMs == 0 || !::OpenClipboard(textWindow))
        return;
    host.log.Event("clipboard held");
    if (!::SetTimer(textWindow, kClipboardHoldTimer, host.clipboardHoldMs, nullptr))
        EndClipboardHold(host, textWindow);
}

void EndClipboardHold(Host& host, HWND textWindow) {
    ::KillTimer(textWindow, kClipboardHoldTimer);
    ::CloseClipboard();
    host.log.Event("clipboard released");
}

bool CopyHistoryToClipboard(const Host& host, HWND owner) {
    const std::string_view text = host.commandLine.Lines().Text();
    GlobalMemory memory(text.size() + 1);
    void* data = memory.Get() ? ::GlobalLock(memory.Get()) : nullptr;
    if (data == nullptr) {
        ReportError("no memory for the history copy");
        return false;
    }
    std::memcpy(data, text.data(), text.size());
    static_cast<char*>(data)[text.size()] = '\0';
    ::GlobalUnlock(memory.Get());

    OpenClipboardScope clipboard(owner);
    if (!clipboard.Open()) {
        ReportError("the clipboard stayed busy; the history was not copied");
        return false;
    }
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_TEXT, memory.Get())) {
        ReportError("SetClipboardData failed (error " + std::to_string(::GetLastError()) + ")");
        return false;
    }
    memory.Release();  // the clipboard owns it now
    return true;
}

}  // namespace cadsim
