#include "results_menu.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "framework/exceptions.h"
#include "framework/shell_folders.h"
#include "platform/retry.h"
#include "clipboard_memory.h"
#include "results_clipboard.h"
#include "text_conversion.h"
#include "user_locale.h"
#include "win32_clock.h"

namespace app {

void ResultsMenu::AddTo(HWND window) {
    window_ = window;
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kCmdCopyResults, L"\u7d50\u679c\u3092\u30b3\u30d4\u30fc(&P)");
    ::AppendMenuW(menu, MF_STRING, kCmdOpenResults, L"\u7d50\u679c\u3092\u958b\u304f(&O)");
    ::AppendMenuW(menu, MF_STRING, kCmdNewResults, L"\u7d50\u679c\u3092\u65b0\u3057\u304f\u3059\u308b(&W)");
    UpdateItems(window);
}

void ResultsMenu::UpdateItems(HWND window) {
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    const UINT rows = file_.HasRows() ? MF_ENABLED : MF_GRAYED;
    const UINT exists = file_.Exists() ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(menu, kCmdCopyResults, MF_BYCOMMAND | rows);
    ::EnableMenuItem(menu, kCmdOpenResults, MF_BYCOMMAND | exists);
    ::EnableMenuItem(menu, kCmdNewResults, MF_BYCOMMAND | exists);
}

bool ResultsMenu::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP && HIWORD(lParam)) {
        UpdateItems(window);
        return false;  // the system menu's own items are set up as usual
    }
    if (message != WM_SYSCOMMAND)
        return false;
    switch (wParam & 0xFFF0) {
        case kCmdCopyResults:
            CopyToClipboard();
            return true;
        case kCmdOpenResults:
            Open(window);
            return true;
        case kCmdNewResults:
            StartNewList();
            return true;
    }
    return false;
}

void ResultsMenu::CopyToClipboard() {
    // The table is measured in a first reading and written straight into the clipboard's memory in
    // a second, so that a long list is held once, not as text, records and table side by side.
    // Only the Unicode text is given: the system makes the ANSI text from it for whoever asks.
    const char16_t separator = platform::UserDecimalSeparator();
    std::size_t length = 0;
    {
        ClipboardTableWriter measure(separator, [&length](std::u16string_view text) { length += text.size(); });
        file_.ReadList([&measure](std::u16string_view text) { measure.Feed(text); });
        measure.Finish();
    }
    platform::ClipboardMemory memory((length + 1) * sizeof(char16_t));
    auto* table = static_cast<char16_t*>(memory.Lock());
    if (!table)
        throw framework::EInOutError(u"クリップボードに書き込めません");
    {
        std::size_t written = 0;  // the list may have grown since it was measured
        ClipboardTableWriter write(separator, [&](std::u16string_view text) {
            const std::size_t count = std::min(text.size(), length - written);
            std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count), table + written);
            written += count;
        });
        try {
            file_.ReadList([&write](std::u16string_view text) { write.Feed(text); });
            write.Finish();
        } catch (...) {
            memory.Unlock();
            throw;
        }
        table[written] = u'\0';
        memory.Unlock();
    }
    // Owned by the window, which lives on: when another program's copy replaces the table, the
    // window sees that the memory can go (a clipboard opened for no window cannot take data).
    // Another program holding the clipboard for a moment is waited out.
    platform::Win32Clock clock;
    if (!platform::RetryUntilDeadline(clock, platform::kUserRequestRetry,
                                      [this] { return ::OpenClipboard(window_) != FALSE; }))
        throw framework::EInOutError(u"クリップボードを開けません");
    // The user asked for the copy, so what the clipboard held is replaced.
    const bool copied = ::EmptyClipboard() && memory.PutOn(CF_UNICODETEXT);
    ::CloseClipboard();
    if (!copied)
        throw framework::EInOutError(u"クリップボードに書き込めません");
}

void ResultsMenu::Open(HWND window) {
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(window, L"open", framework::WidePath(file_.Path()), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return;
    // Without a program for ".csv" the user still gets to the file: its folder, with it selected.
    const std::u16string select = u"/select,\"" + file_.Path() + u"\"";
    const auto shown = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(window, L"open", L"explorer.exe", framework::WidePath(select), nullptr, SW_SHOWNORMAL));
    if (shown <= 32)
        throw framework::EInOutError(file_.Path() + u" を開けません");
}

void ResultsMenu::StartNewList() {
    if (file_.Exists())
        file_.StartNewList(framework::ExecutablePath());
}

}  // namespace app
