#include "host_windows.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "command_input.h"
#include "command_line_views.h"
#include "drawing_view.h"
#include "framework/handles.h"
#include "host_refresh.h"
#include "host_window.h"
#include "user_side.h"

namespace cadsim {
namespace {

// Class names as an MFC host registers them ("Afx:" instance, style, cursor, brush, icon): style 8
// for frames and palettes, b for the text window.
const char kAfxFrameClass[] = "Afx:0000000140000000:8:0000000000010003:0000000000000000:0000000000110597";
const char kPaletteClass[] = "Afx:0000000140000000:8:0000000000010003:0000000000000000:0000000000000000";
const char kAfxTextWindowClass[] = "Afx:0000000140000000:b:0000000000010003:0000000000000006:0000000000000000";
const char kDraftSightFrameClass[] = "Qt5QWindowQPopup";
const char kCommandWindowClass[] = "CadsimCommandWindow";

const char kAutoCadTextWindowTitle[] = "AutoCAD テキスト ウィンドウ - Drawing1.dwg";
const char kCommandWindowTitle[] = "コマンド ウィンドウ";
const char kPaletteTitle[] = "コマンド ライン";

std::string FrameClass(const Options& options) {
    switch (options.frame) {
        case FrameFamily::MdiFrame:
            return "AfxMDIFrame" + std::to_string(options.mdiNumber) + "u";
        case FrameFamily::DraftSight:
            return kDraftSightFrameClass;
        case FrameFamily::Afx:
            break;
    }
    return kAfxFrameClass;
}

std::string FrameTitle(const Options& options) {
    if (options.hasTitle)
        return options.title;
    switch (options.frame) {
        case FrameFamily::MdiFrame:
            return "Autodesk AutoCAD 2024 - [Drawing1.dwg]";
        case FrameFamily::DraftSight:
            return "DraftSight 2019 - [NewDocument1.dwg]";
        case FrameFamily::Afx:
            break;
    }
    return "AutoCAD 2024 - [Drawing1.dwg]";
}

bool HostsCommandLine(const Host& host, HWND window) {
    return host.windows.commandLine && ::GetParent(host.windows.commandLine) == window;
}

RECT DrawingArea(const Host& host, HWND frame) {
    RECT client{};
    ::GetClientRect(frame, &client);
    if (HostsCommandLine(host, frame))
        client.bottom = std::max(client.top, client.bottom - DockedCommandLineHeight());
    return client;
}

void LayOut(const Host& host, HWND window) {
    if (!HostsCommandLine(host, window))
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    if (window == host.windows.mainFrame) {
        const RECT drawing = DrawingArea(host, window);
        ::MoveWindow(host.windows.commandLine, 0, drawing.bottom, client.right, client.bottom - drawing.bottom, TRUE);
    } else {
        ::MoveWindow(host.windows.commandLine, 0, 0, client.right, client.bottom, TRUE);
    }
}

// Main frame, text window and palette share one procedure; the role follows from the handle.
LRESULT TopLevelMessage(Host& host, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            LayOut(host, window);
            return 0;
        case WM_PAINT: {
            framework::PaintDc paint(window);
            if (window == host.windows.mainFrame) {
                PaintDrawing(paint.Get(), host, paint.Area());
            } else if (window == host.windows.textWindow && !HostsCommandLine(host, window)) {
                RECT client{};
                ::GetClientRect(window, &client);
                PaintHistory(paint.Get(), client, host);
            }
            return 0;
        }
        case WM_COPYDATA:
            return ReceiveCopyData(host, window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_COMMAND:
            host.log.Command(window, wParam, lParam);
            if (window == host.windows.textWindow && LOWORD(wParam) == kCopyHistoryCommand && lParam == 0) {
                if (CopyHistoryToClipboard(host, window))
                    HoldClipboard(host, window);
                return 0;
            }
            return DefaultProc(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (window == host.windows.mainFrame)
                UserClick(host, message == WM_RBUTTONDOWN, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_CHAR:
            if (window == host.windows.mainFrame) {
                UserCharacter(host, window, wParam);
                return 0;
            }
            return DefaultProc(window, message, wParam, lParam);
        case kRunScriptedUser:
            if (window == host.anchor)
                RunScriptedUser(host);
            return 0;
        case kFreezeAtWait:
            if (window == host.anchor)
                FreezeAtWait(host);
            return 0;
        case kTypeQueuedInput:
            if (window == host.windows.mainFrame)
                TypeQueuedInput(host);
            return 0;
        case WM_TIMER:
            if (window == host.windows.mainFrame && wParam == kQueuedInputTimer) {
                TypeDelayedInput(host, window);
                return 0;
            }
            if (window == host.windows.textWindow && wParam == kClipboardHoldTimer) {
                EndClipboardHold(host, window);
                return 0;
            }
            if (window == host.anchor && wParam == kScriptedUserTimer) {
                RunScriptedUser(host);
                return 0;
            }
            return DefaultProc(window, message, wParam, lParam);
        case WM_CLOSE:
            // A host hides its text window and palette when they are closed; only the anchor ends it.
            if (window == host.anchor)
                ::DestroyWindow(window);
            else
                ::ShowWindow(window, SW_HIDE);
            return 0;
        case WM_DESTROY:
            if (window == host.anchor)
                ::PostQuitMessage(0);
            return 0;
        default:
            return DefaultProc(window, message, wParam, lParam);
    }
}

bool Register(const Host& host, const std::string& className, HBRUSH background) {
    return RegisterHostClass(host.ansi, className.c_str(), WindowProcFor<TopLevelMessage>, background);
}

HWND OpenTextWindow(const Options& options, Host& host, const RECT& bounds) {
    const bool autoCad = options.textWindow == TextWindowKind::AutoCad;
    const char* className = autoCad ? kAfxTextWindowClass : kCommandWindowClass;
    if (!Register(host, className, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH))))
        return nullptr;
    return CreateHostWindow(host, 0, className, autoCad ? kAutoCadTextWindowTitle : kCommandWindowTitle,
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, bounds, nullptr);
}

}  // namespace

bool OpenHostWindows(const Options& options, Host& host, std::string& error) {
    const bool headlands = options.names == ChildNames::Headlands;
    const std::string promptCaption = headlands ? "Headlands" : "input";
    const std::string historyCaption = headlands ? "MountTam" : "output";
    if (options.commandLine != CommandLinePlace::None && !RegisterCommandLineClasses(host.ansi)) {
        error = "cannot register the command-line classes";
        return false;
    }

    if (!options.textWindowOnly) {
        const std::string frameClass = FrameClass(options);
        if (!Register(host, frameClass, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)))) {
            error = "cannot register the main frame class " + frameClass;
            return false;
        }
        // A fixed size keeps the drawing's view, and so the ready file's transform, valid.
        host.windows.mainFrame =
            CreateHostWindow(host, 0, frameClass.c_str(), FrameTitle(options),
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                             RECT{20, 20, 980, 760}, nullptr);
        if (!host.windows.mainFrame) {
            error = "cannot create the main frame";
            return false;
        }
        if (options.titleEscapes) {
            std::vector<TitlePiece> pieces;
            SplitEscapedTitle(options.title, pieces);
            std::wstring title;
            for (const TitlePiece& piece : pieces)
                title += piece.bytes.empty() ? std::wstring(1, static_cast<wchar_t>(piece.unit))
                                             : WideFromCp932(piece.bytes);
            ::SetWindowTextW(host.windows.mainFrame, title.c_str());
        }
        host.anchor = host.windows.mainFrame;
    }

    if (options.commandLine == CommandLinePlace::Palette) {
        if (!Register(host, kPaletteClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
            error = "cannot register the palette class";
            return false;
        }
        // Owned by the main frame, so it stays above it and goes with it.
        host.windows.palette = CreateHostWindow(host, WS_EX_TOOLWINDOW, kPaletteClass, kPaletteTitle,
                                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                                                RECT{60, 780, 940, 920}, host.windows.mainFrame);
        if (!host.windows.palette) {
            error = "cannot create the command-line palette";
            return false;
        }
    }

    if (options.textWindow != TextWindowKind::None) {
        // Below the main frame, so that it never covers the drawing that users and tests click.
        const RECT bounds = options.textWindowOnly ? RECT{640, 60, 1240, 400} : RECT{600, 770, 1240, 1010};
        host.windows.textWindow = OpenTextWindow(options, host, bounds);
        if (!host.windows.textWindow) {
            error = "cannot create the text window";
            return false;
        }
        if (options.textWindowOnly)
            host.anchor = host.windows.textWindow;
    }

    HWND commandLineParent = nullptr;
    switch (options.commandLine) {
        case CommandLinePlace::Docked:
            commandLineParent = host.windows.mainFrame;
            break;
        case CommandLinePlace::Palette:
            commandLineParent = host.windows.palette;
            break;
        case CommandLinePlace::TextWindow:
            commandLineParent = host.windows.textWindow;
            break;
        case CommandLinePlace::None:
            break;
    }
    if (commandLineParent) {
        if (!CreateCommandLine(host, commandLineParent, promptCaption, historyCaption)) {
            error = "cannot create the command line";
            return false;
        }
        LayOut(host, commandLineParent);
    }

    for (HWND window : {host.windows.mainFrame, host.windows.palette, host.windows.textWindow}) {
        if (window) {
            ::ShowWindow(window, SW_SHOWNORMAL);
            ::UpdateWindow(window);
        }
    }
    if (host.windows.mainFrame)
        host.drawingArea = DrawingArea(host, host.windows.mainFrame);
    return true;
}

}  // namespace cadsim
