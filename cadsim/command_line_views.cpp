#include "command_line_views.h"

#include <algorithm>
#include <cstring>

#include "framework/handles.h"
#include "host_window.h"
#include "platform/codepage.h"
#include "user_side.h"

namespace cadsim {
namespace {

const char kContainerClass[] = "CadsimCommandLine";
const char kPromptClass[] = "CadsimPrompt";
const char kHistoryClass[] = "CadsimHistory";

constexpr int kLineHeight = 20;
constexpr int kTextMargin = 4;
constexpr int kDockedHistoryLines = 3;
constexpr int kPromptHeight = kLineHeight + 2 * kTextMargin;

// Bytes of text that fit into count bytes without cutting a double-byte character in half.
std::size_t WholeCharactersWithin(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + (platform::IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > count || next > text.size())
            break;
        end = next;
    }
    return end;
}

void DrawLine(HDC dc, int x, int y, const std::string& text) {
    const std::wstring wide = WideFromCp932(text);
    ::TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

// WM_GETTEXT: capacity counts characters of the window's own kind, terminator included.
LRESULT CopyPrompt(HWND window, const std::string& prompt, WPARAM capacity, LPARAM buffer) {
    if (capacity == 0 || buffer == 0)
        return 0;
    if (::IsWindowUnicode(window)) {
        const std::wstring wide = WideFromCp932(prompt);
        const std::size_t n = std::min<std::size_t>(wide.size(), capacity - 1);
        auto* out = reinterpret_cast<wchar_t*>(buffer);
        std::memcpy(out, wide.data(), n * sizeof(wchar_t));
        out[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    const std::size_t n = WholeCharactersWithin(prompt, capacity - 1);
    auto* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, prompt.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

LRESULT PromptLength(HWND window, const std::string& prompt) {
    return static_cast<LRESULT>(::IsWindowUnicode(window) ? WideFromCp932(prompt).size() : prompt.size());
}

LRESULT PromptMessage(Host& host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // The caption stays as created, so tools can find the window by it; the text is the prompt.
        case WM_GETTEXT:
            return CopyPrompt(window, host.commandLine.PromptText(), wParam, lParam);
        case WM_GETTEXTLENGTH:
            return PromptLength(window, host.commandLine.PromptText());
        // The user may type at the input line, as at the host's.
        case WM_LBUTTONDOWN:
            ::SetFocus(window);
            return 0;
        case WM_CHAR:
            UserCharacter(host, window, wParam);
            return 0;
        case WM_PAINT: {
            framework::PaintDc paint(window);
            framework::SelectedObject font(paint.Get(), host.font);
            ::SetBkMode(paint.Get(), TRANSPARENT);
            ::SetTextColor(paint.Get(), RGB(0, 0, 0));
            DrawLine(paint.Get(), kTextMargin, kTextMargin, host.commandLine.PromptText());
            return 0;
        }
        default:
            return DefaultProc(window, message, wParam, lParam);
    }
}

LRESULT HistoryMessage(Host& host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        framework::PaintDc paint(window);
        RECT client{};
        ::GetClientRect(window, &client);
        PaintHistory(paint.Get(), client, host);
        return 0;
    }
    return DefaultProc(window, message, wParam, lParam);
}

LRESULT ContainerMessage(Host& host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        const int width = LOWORD(lParam);
        const int height = HIWORD(lParam);
        const int historyHeight = std::max(0, height - kPromptHeight - 1);
        if (host.windows.historyPane)
            ::MoveWindow(host.windows.historyPane, 0, 0, width, historyHeight, TRUE);
        if (host.windows.promptWindow)
            ::MoveWindow(host.windows.promptWindow, 0, historyHeight + 1, width, height - historyHeight - 1, TRUE);
        return 0;
    }
    return DefaultProc(window, message, wParam, lParam);
}

}  // namespace

bool RegisterCommandLineClasses(bool ansi) {
    return RegisterHostClass(ansi, kContainerClass, WindowProcFor<ContainerMessage>,
                             reinterpret_cast<HBRUSH>(COLOR_BTNSHADOW + 1)) &&
           RegisterHostClass(ansi, kHistoryClass, WindowProcFor<HistoryMessage>,
                             static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH))) &&
           RegisterHostClass(ansi, kPromptClass, WindowProcFor<PromptMessage>,
                             static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

bool CreateCommandLine(Host& host, HWND parent, const std::string& promptCaption, const std::string& historyCaption) {
    const RECT none{0, 0, 0, 0};
    const DWORD childStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    host.windows.commandLine =
        CreateHostWindow(host, 0, kContainerClass, std::string(), childStyle | WS_CLIPCHILDREN, none, parent);
    if (!host.windows.commandLine)
        return false;
    host.windows.historyPane =
        CreateHostWindow(host, 0, kHistoryClass, historyCaption, childStyle, none, host.windows.commandLine);
    host.windows.promptWindow =
        CreateHostWindow(host, 0, kPromptClass, promptCaption, childStyle, none, host.windows.commandLine);
    return host.windows.historyPane && host.windows.promptWindow;
}

int DockedCommandLineHeight() {
    return kDockedHistoryLines * kLineHeight + 2 * kTextMargin + 1 + kPromptHeight;
}

void PaintHistory(HDC dc, const RECT& area, const Host& host) {
    framework::SelectedObject font(dc, host.font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    const History& history = host.commandLine.Lines();
    int top = area.bottom - kTextMargin - kLineHeight;
    for (auto line = history.rbegin(); line != history.rend() && top >= area.top; ++line, top -= kLineHeight)
        DrawLine(dc, area.left + kTextMargin, top, *line);
}

}  // namespace cadsim
