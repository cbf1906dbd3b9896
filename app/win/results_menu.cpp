#include "results_menu.h"

#include <shellapi.h>

#include <string>

#include "framework/exceptions.h"
#include "framework/shell_folders.h"
#include "results_clipboard.h"
#include "win32_command_line.h"

namespace app {
namespace {

constexpr int kClipboardTries = 20;
constexpr DWORD kClipboardRetryMs = 25;

char16_t LocaleDecimalSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1)
        return static_cast<char16_t>(separator[0]);
    return u'.';
}

std::string WithTerminator(std::string bytes, std::size_t zeros) {
    bytes.append(zeros, '\0');
    return bytes;
}

}  // namespace

void ResultsMenu::AddTo(HWND window) {
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
    const std::u16string text = ResultsClipboardText(file_.ListText(), LocaleDecimalSeparator());
    const std::string wide(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    platform::Win32Clipboard clipboard;
    bool open = false;
    for (int attempt = 0; attempt < kClipboardTries && !open; ++attempt) {
        open = clipboard.OpenClipboard();
        if (!open)
            ::Sleep(kClipboardRetryMs);
    }
    if (!open)
        throw framework::EInOutError("クリップボードを開けません");
    // The user asked for the copy, so what the clipboard held is replaced.
    const bool copied = clipboard.EmptyClipboard() &&
                        clipboard.SetClipboardData(CF_UNICODETEXT, WithTerminator(wide, sizeof(char16_t))) &&
                        clipboard.SetClipboardData(CF_TEXT, WithTerminator(AnsiFromWide(text), 1));
    clipboard.CloseClipboard();
    if (!copied)
        throw framework::EInOutError("クリップボードに書き込めません");
}

void ResultsMenu::Open(HWND window) {
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(window, "open", file_.Path().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return;
    // Without a program for ".csv" the user still gets to the file: its folder, with it selected.
    const std::string select = "/select,\"" + file_.Path() + "\"";
    const auto shown = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(window, "open", "explorer.exe", select.c_str(), nullptr, SW_SHOWNORMAL));
    if (shown <= 32)
        throw framework::EInOutError(file_.Path() + " を開けません");
}

void ResultsMenu::StartNewList() {
    if (file_.Exists())
        file_.StartNewList(framework::ExecutablePath());
}

}  // namespace app
