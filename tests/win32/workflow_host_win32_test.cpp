#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "balloon_tip.h"
#include "cadsim_process.h"
#include "file_bytes.h"
#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/shell_folders.h"
#include "main_form.h"
#include "tavro_form.h"
#include "text_conversion.h"
#include "win32_workflow_host.h"

namespace {

using framework::Application;
using testsupport::WriteBytes;

std::string TempFile(const std::string& name) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof folder, folder);
    const std::string dir = std::string(folder) + "tavro-host-test-" + std::to_string(::GetCurrentProcessId());
    framework::ForceDirectories(platform::WideFromAnsi(dir));
    return dir + "\\" + name;
}

class WorkflowHostTest : public ::testing::Test {
protected:
    app::TTavroF& form = testsupport::MainForm();
    app::Win32WorkflowHost host{form};
};

TEST_F(WorkflowHostTest, MissingReportIsNoReportAndHasNoVersion) {
    const std::string path = TempFile("missing.mpr");
    ::DeleteFileA(path.c_str());
    EXPECT_FALSE(host.ReadReportFile(platform::WideFromAnsi(path))->has_value());
    EXPECT_FALSE(host.FileVersion(platform::WideFromAnsi(path)).has_value());
}

TEST_F(WorkflowHostTest, ReportIsReadWholeWhateverItHolds) {
    const std::string path = TempFile("big.mpr");
    std::string binary(256, '\0');
    for (int i = 0; i < 256; ++i)
        binary[static_cast<std::size_t>(i)] = static_cast<char>(i);
    WriteBytes(path, binary);
    EXPECT_EQ(host.ReadReportFile(platform::WideFromAnsi(path))->value(), binary);
    const std::string big(10 * 1024 * 1024, 'r');
    WriteBytes(path, big);
    EXPECT_EQ(host.ReadReportFile(platform::WideFromAnsi(path))->value().size(), big.size());
    WriteBytes(path, "");
    EXPECT_EQ(host.ReadReportFile(platform::WideFromAnsi(path))->value(), "");
}

TEST_F(WorkflowHostTest, VersionChangesWhenTheFileIsRewritten) {
    const std::string path = TempFile("version.mpr");
    WriteBytes(path, "面積: 1\r\n");
    const auto first = host.FileVersion(platform::WideFromAnsi(path));
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(host.FileVersion(platform::WideFromAnsi(path)), first);
    ::Sleep(20);
    WriteBytes(path, "面積: 1\r\n");  // same size, later write
    EXPECT_NE(host.FileVersion(platform::WideFromAnsi(path)), first);
}

TEST_F(WorkflowHostTest, LockedReportIsRefusedWithTheFileError) {
    const std::string path = TempFile("locked.mpr");
    WriteBytes(path, "面積: 1\r\n");
    // Another program holds the file open without sharing it.
    HANDLE lock = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(host.ReadReportFile(platform::WideFromAnsi(path)).Error(), u"I/O エラー (32)");
    ::CloseHandle(lock);
}

TEST_F(WorkflowHostTest, LabelsAndControlsAreTheMainWindows) {
    host.Tell(app::ValuesMeasured{u"1234.5678", u" 1.50"});
    EXPECT_EQ(form.Label1->Caption(), u"1234.5678");
    EXPECT_EQ(form.Label2->Caption(), u" 1.50");
    host.Tell(app::ValuesMeasured{u"7", std::nullopt});  // a value the report lacked keeps its label
    EXPECT_EQ(form.Label2->Caption(), u" 1.50");
    form.Edit1->SetText(u" 30 ");
    EXPECT_EQ(host.SizeText(), u" 30 ");
    form.CheckBox1->SetChecked(true);
    EXPECT_TRUE(host.ContinuousChecked());
    host.Tell(app::WindowMinimized{true});
    EXPECT_TRUE(form.Minimized());
    host.Tell(app::WindowMinimized{false});
    EXPECT_FALSE(form.Minimized());
    // The pointer, the double-click limits and the decimal symbol are the system's.
    ::SetCursorPos(37, 41);
    EXPECT_EQ(host.Pointer().at.x, 37);
    EXPECT_EQ(host.Pointer().at.y, 41);
    const app::RunRequest request = host.Request(app::RunMode::Region, {});
    EXPECT_EQ(request.size, u" 30 ");
    EXPECT_TRUE(request.continuous);
    EXPECT_EQ(request.decimalSymbol, u'.');
    EXPECT_EQ(request.doubleClick.timeMs, ::GetDoubleClickTime());
    EXPECT_EQ(request.doubleClick.width, ::GetSystemMetrics(SM_CXDOUBLECLK));
}

TEST_F(WorkflowHostTest, HintIsDrawnOnAPinkBandAtTheBottomLeft) {
    // A window of this process stands for the CAD program's history pane.
    HWND pane = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 60, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(pane, nullptr);
    ::UpdateWindow(pane);
    host.Tell(app::HintShown{reinterpret_cast<platform::WindowHandle>(pane), u"計算したい面の内側をクリック"});
    HDC dc = ::GetDC(pane);
    RECT outer;
    ::GetWindowRect(pane, &outer);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, "計算したい面の内側をクリック", 28, &extent);
    int pink = 0;
    for (int x = 0; x < extent.cx; ++x)
        for (int y = (outer.bottom - outer.top) - extent.cy; y < outer.bottom - outer.top; ++y)
            if (::GetPixel(dc, x, y) == RGB(255, 127, 127))
                ++pink;
    ::ReleaseDC(pane, dc);
    ::DestroyWindow(pane);
    EXPECT_GT(pink, extent.cx * extent.cy / 4);
    host.Tell(app::HintShown{0, u"x"});  // no pane: nothing to draw on, and no fault
}

BOOL CALLBACK FindShownTip(HWND window, LPARAM found) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == TOOLTIPS_CLASSA && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND ShownTip() {
    HWND tip = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownTip, reinterpret_cast<LPARAM>(&tip));
    return tip;
}

// The text the tip shows now: the tooltip answers WM_GETTEXT with it.
std::u16string TipText(HWND tip) {
    wchar_t text[256] = {};
    const LRESULT length = ::SendMessageW(tip, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text));
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    MSG message;
    while (::GetTickCount() - start < milliseconds) {
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        ::Sleep(10);
    }
}

// No modal box: a balloon on Execute that says what is missing, gone at the next key or click or
// after a few seconds.
TEST_F(WorkflowHostTest, MissingCadTipPointsAtExecuteAndGoesAtTheNextKeyOrAfterAWhile) {
    ::ShowWindow(form.Handle(), SW_SHOWNORMAL);
    ASSERT_EQ(ShownTip(), nullptr);
    host.Tell(app::NoCadProgram{});
    HWND tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(TipText(tip), u"AutoCAD または DraftSight が見つかりません");
    EXPECT_TRUE(::GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON);
    // The balloon's tail is at the bottom centre of Execute: the balloon touches that point.
    RECT button, balloon;
    ::GetWindowRect(form.plButton2->Handle(), &button);
    ::GetWindowRect(tip, &balloon);
    const POINT tail{(button.left + button.right) / 2, button.bottom};
    EXPECT_TRUE(tail.x >= balloon.left && tail.x <= balloon.right) << balloon.left << ".." << balloon.right;
    EXPECT_TRUE(tail.y >= balloon.top - 1 && tail.y <= balloon.bottom + 1) << balloon.top << ".." << balloon.bottom;

    ::PostMessageA(form.Edit1->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
    PumpFor(100);
    EXPECT_EQ(ShownTip(), nullptr);
    EXPECT_FALSE(host.CadMissingTip().Shown());

    host.Tell(app::NoCadProgram{});
    PumpFor(1000);
    EXPECT_NE(ShownTip(), nullptr);
    const DWORD start = ::GetTickCount();
    while (ShownTip() && ::GetTickCount() - start < 15000)
        PumpFor(100);
    EXPECT_EQ(ShownTip(), nullptr);
}

// What code page 932 cannot express (a Latin letter with an accent, a Thai letter, a character
// beyond the 16-bit range) is shown as given.
TEST_F(WorkflowHostTest, TipShowsItsTextWhole) {
    ::ShowWindow(form.Handle(), SW_SHOWNORMAL);
    const std::u16string text = u"線に隙間がないか確かめてください (caf\u00e9 \u0e01 \U0001F600)";
    app::BalloonTip tip;
    tip.Show(form.Edit1->Handle(), text, 5000);
    HWND shown = ShownTip();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(TipText(shown), text);
    tip.Hide();
    EXPECT_EQ(ShownTip(), nullptr);
}

double NowMs() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Execute answers at once and the window's own loop carries the run: the click returns at once,
// and a message sent to the window from another thread is answered while every step goes on.
TEST_F(WorkflowHostTest, ExecuteReturnsAtOnceAndTheWindowAnswersWhileTheRunGoesOn) {
    const std::string script = testsupport::CadsimTempPath("run-user", ".txt");
    WriteBytes(script, "pick 70,60\n");
    testsupport::CadsimProcess cad({"--drawing", testsupport::CadsimSamplePath("regions.txt"), "--user", script});
    ASSERT_TRUE(cad.Ready()) << cad.Failure();
    app::TavroRuntime runtime(form);
    form.SetWorkflows(&runtime);
    form.CheckBox2->SetChecked(true);
    form.Edit1->SetText(u"5");

    std::atomic<bool> done{false}, finished{false};
    std::atomic<double> longest{0};
    HWND window = form.Handle();
    std::thread sender([&] {
        while (!done) {
            const double sent = NowMs();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            longest = std::max(longest.load(), NowMs() - sent);
            ::Sleep(2);
        }
        finished = true;
    });
    // This thread's own loop, as the program's: it also answers the sender until that stops.
    const auto pump = [](DWORD waitMs) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    };
    pump(0);
    const double minimizing = NowMs();
    form.SetMinimized(true);
    const double minimizeMs = NowMs() - minimizing;
    form.SetMinimized(false);
    pump(0);
    const double clicked = NowMs();
    ::SendMessageA(form.plButton2->Handle(), BM_CLICK, 0, 0);
    const double clickMs = NowMs() - clicked;
    const bool runningAfterClick = runtime.Running();
    while (runtime.Running() && NowMs() - clicked < 30000)
        pump(50);
    done = true;
    while (!finished)
        pump(5);
    sender.join();
    form.SetWorkflows(nullptr);
    std::printf(
        "click handler %.1f ms; longest answer to a sent message during the run %.1f ms (minimising the "
        "window alone takes %.1f ms)\n",
        clickMs, longest.load(), minimizeMs);
    EXPECT_LT(clickMs, 50.0);
    EXPECT_TRUE(runningAfterClick);
    EXPECT_FALSE(runtime.Running());
    EXPECT_NE(cad.LogContent().find("type=circle"), std::string::npos);
    // The longest answer is about 20 ms on a quiet machine (one step's sends and reads); a loaded one
    // was seen taking 100 ms.
    EXPECT_LT(longest.load(), 250.0);
    ::DeleteFileA(script.c_str());
}

}  // namespace
