#include "win32_workflow_host.h"

#include <windows.h>

#include <cstdio>
#include <variant>
#include <vector>

#include "framework/application.h"
#include "framework/file_read.h"
#include "framework/exceptions.h"
#include "framework/handles.h"
#include "framework/shell_folders.h"
#include "framework/wide_text.h"
#include "text_conversion.h"
#include "user_locale.h"

namespace app {
namespace {

// A report is a few kilobytes; anything beyond this is not a report and is not read further.
constexpr std::size_t kMaxReportBytes = 64u * 1024 * 1024;

bool FolderExists(const std::u16string& folder) {
    const DWORD attributes = ::GetFileAttributesW(framework::WidePath(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::u16string Win32WorkflowHost::SizeText() {
    return form_.Edit1->Text();
}

bool Win32WorkflowHost::ContinuousChecked() {
    return form_.CheckBox1->Checked();
}

void Win32WorkflowHost::Tell(const RunEvent& event) {
    std::visit([this](const auto& told) { Show(told); }, event);
}

RunRequest Win32WorkflowHost::Request(RunMode mode, const RunTrigger& trigger) {
    const DoubleClickLimits doubleClick{::GetDoubleClickTime(), ::GetSystemMetrics(SM_CXDOUBLECLK),
                                        ::GetSystemMetrics(SM_CYDOUBLECLK)};
    return {mode, SizeText(), ContinuousChecked(), trigger, doubleClick, platform::UserDecimalSeparatorOneByte()};
}

void Win32WorkflowHost::Show(const WindowMinimized& window) {
    form_.SetMinimized(window.minimized);
}

PointerNow Win32WorkflowHost::Pointer() {
    PointerNow pointer;
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        pointer.buttonsDown = pointer.buttonsDown || (::GetAsyncKeyState(button) & 0x8000) != 0;
    POINT at{};
    ::GetCursorPos(&at);
    pointer.at = {at.x, at.y};
    return pointer;
}

std::uint64_t Win32WorkflowHost::NowMs() {
    return ::GetTickCount64();
}

LocalTime Win32WorkflowHost::Now() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void Win32WorkflowHost::Show(const RowAdded& row) {
    form_.Results().Append(row.row);
}

void Win32WorkflowHost::Show(const MessageShown& message) {
    framework::Application.MessageBox(message.text, MB_OK);
}

void Win32WorkflowHost::Show(const NoCadProgram&) {
    // Long enough to read twice; it goes earlier at the next click or key.
    constexpr unsigned kShownMs = 5000;
    cadMissingTip_.Show(form_.plButton2->Handle(), u"AutoCAD または DraftSight が見つかりません", kShownMs);
}

void Win32WorkflowHost::Show(const NoClosedArea&) {
    constexpr unsigned kShownMs = 8000;
    cadMissingTip_.Show(form_.plButton2->Handle(),
                        u"クリックした点を囲む閉じた領域が見つかりません。線に隙間がないか確かめてください", kShownMs);
}

void Win32WorkflowHost::Show(const HintShown& hint) {
    const wchar_t* text = framework::WideText(hint.text);
    const int length = static_cast<int>(hint.text.size());
    HWND target = reinterpret_cast<HWND>(hint.window);
    RECT outer;
    if (!target || !::GetWindowRect(target, &outer))
        return;  // without the pane there is nowhere to draw
    framework::WindowDc dc(target);
    if (!dc)
        return;
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.Get(), text, length, &extent);
    ::SetBkColor(dc.Get(), RGB(255, 127, 127));
    ::SetTextColor(dc.Get(), RGB(0, 0, 0));
    ::TextOutW(dc.Get(), 0, (outer.bottom - outer.top) - extent.cy, text, length);
}

Checked<std::optional<std::string>> Win32WorkflowHost::ReadReportFile(const std::u16string& path) {
    try {
        return framework::ReadWholeFile(path, kMaxReportBytes);
    } catch (const framework::EInOutError& error) {
        return Checked<std::optional<std::string>>::Refused(error.Message());
    }
}

std::optional<std::uint64_t> Win32WorkflowHost::FileVersion(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(framework::WidePath(path), GetFileExInfoStandard, &data))
        return std::nullopt;
    const std::uint64_t written =
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return written ^ (size * 0x9E3779B97F4A7C15ull);
}

std::optional<std::u16string> Win32WorkflowHost::ShortPathOf(const std::u16string& path) {
    wchar_t shortForm[MAX_PATH * 2] = {};
    const DWORD length = ::GetShortPathNameW(framework::WidePath(path), shortForm, ARRAYSIZE(shortForm));
    if (length == 0 || length >= ARRAYSIZE(shortForm))
        return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(shortForm), length);
}

void Win32WorkflowHost::Show(const ValuesMeasured& values) {
    if (values.area)
        form_.Label1->SetCaption(*values.area);
    if (values.perimeter)
        form_.Label2->SetCaption(*values.perimeter);
}

void Win32WorkflowHost::ReportResultsFailure() {
    const std::u16string message = form_.Results().TakeFailureMessage();
    if (!message.empty())
        framework::Application.ShowException(message);
}

namespace {

constexpr UINT_PTR kStepTimer = 1;
constexpr UINT kStepNow = WM_APP;
constexpr unsigned kTimerSlackMs = 5;

}  // namespace

TavroRuntime::TavroRuntime(TTavroF& form, LookPace pace, InputWatch inputWatch)
    : form_(form),
      pace_(std::move(pace)),
      inputWatch_(std::move(inputWatch)),
      link_(windows_, system_, clipboard_),
      host_(form),
      workflows_(link_, system_, host_, form.Paths()),
      wakeWindow_(
          [this](UINT message, WPARAM wParam, LPARAM lParam) { return HandleMessage(message, wParam, lParam); }),
      userInput_([this] {
          // At once, not through the queue: the user has just acted and waits for the circle.
          workflows_.UserActed();
          StepNow();
      }) {}

TavroRuntime::~TavroRuntime() {
    framework::Application.WatchHandles({}, nullptr);
    framework::Application.WakeAfter(0, nullptr);
}

void TavroRuntime::Start(RunMode mode, const RunTrigger& trigger) {
    if (workflows_.Running())
        return;
    // A work folder deleted since the start comes back before anything is typed: the CAD
    // program's report goes there.
    if (!framework::ForceDirectories(form_.WorkFolder())) {
        framework::Application.ShowException(u"作業フォルダ " + form_.WorkFolder() + u" を作れません");
        return;
    }
    if (!workflows_.Start(host_.Request(mode, trigger))) {
        RunEnded();
        return;
    }
    // The click that started the run returns at once; the first step comes from the loop.
    ::PostMessageA(wakeWindow_.Handle(), kStepNow, 0, 0);
}

void TavroRuntime::Stop(RunEnd why) {
    if (!workflows_.Running())
        return;
    workflows_.Stop(why);
    if (!workflows_.Running())
        RunEnded();
}

LRESULT TavroRuntime::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_TIMER && wParam == kStepTimer) || message == kStepNow) {
        StepNow();
        return 0;
    }
    return ::DefWindowProcW(wakeWindow_.Handle(), message, wParam, lParam);
}

void TavroRuntime::StepNow() {
    ::KillTimer(wakeWindow_.Handle(), kStepTimer);
    framework::Application.WakeAfter(0, nullptr);
    if (!workflows_.Running()) {
        if (const std::optional<Wake> again = workflows_.TakeUpPutBack())
            WakeAfter(again->afterMs);
        return;
    }
    const std::optional<Wake> wake = workflows_.Step();
    if (!wake) {
        RunEnded();
        return;
    }
    // The first step found the CAD program: its end ends the run.
    bool watchChanged = false;
    if (!cadProcessOpened_) {
        cadProcessOpened_ = true;
        if (const std::uint32_t process = workflows_.CadProcessId())
            cadProcess_.Reset(::OpenProcess(SYNCHRONIZE, FALSE, process));
        watchChanged = static_cast<bool>(cadProcess_);
    }
    WakeAfter(pace_ ? pace_(wake->afterMs) : wake->afterMs);
    ListenToUser(wake->onUserInput);
    if (wake->onReportFolder != watchReportFolder_ || watchChanged) {
        watchReportFolder_ = wake->onReportFolder;
        WatchHandles();
    }
}

void TavroRuntime::WakeAfter(unsigned afterMs) {
    // The loop's own wake-up is on time; the timer carries the run inside another loop (a message box).
    framework::Application.WakeAfter(afterMs, [this] { StepNow(); });
    ::SetTimer(wakeWindow_.Handle(), kStepTimer, afterMs + kTimerSlackMs, nullptr);
}

void TavroRuntime::FinishPutBack(unsigned limitMs) {
    ::KillTimer(wakeWindow_.Handle(), kStepTimer);
    framework::Application.WakeAfter(0, nullptr);
    const ULONGLONG deadline = ::GetTickCount64() + limitMs;
    for (std::optional<Wake> wake = workflows_.TakeUpPutBack(); wake && ::GetTickCount64() < deadline;
         wake = workflows_.TakeUpPutBack()) {
        // The CAD program's answer arrives as a sent message: only the queue's sent messages are
        // handled, nothing of a window that is gone.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, wake->afterMs, QS_SENDMESSAGE, 0);
        MSG message;
        ::PeekMessageA(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void TavroRuntime::WatchHandles() {
    if (watchReportFolder_ && !reportFolder_)
        reportFolder_.Reset(::FindFirstChangeNotificationW(
            framework::WidePath(form_.Paths().WorkFolder()), FALSE,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    std::vector<HANDLE> handles;
    if (cadProcess_)
        handles.push_back(cadProcess_.Get());
    if (watchReportFolder_ && reportFolder_)
        handles.push_back(reportFolder_.Get());
    framework::Application.WatchHandles(handles, [this, handles](std::size_t index) {
        if (handles[index] == cadProcess_.Get()) {
            Stop(RunEnd::CadGone);
            return;
        }
        ::FindNextChangeNotification(reportFolder_.Get());
        StepNow();
    });
}

void TavroRuntime::ListenToUser(bool on) {
    if (on == userInput_.Listening())
        return;
    if (on)
        userInput_.Start();
    else
        userInput_.Stop();
    if (inputWatch_)
        inputWatch_();
}

void TavroRuntime::RunEnded() {
    ListenToUser(false);
    ::KillTimer(wakeWindow_.Handle(), kStepTimer);
    framework::Application.WakeAfter(0, nullptr);
    watchReportFolder_ = false;
    cadProcess_.Reset();
    cadProcessOpened_ = false;
    framework::Application.WatchHandles({}, nullptr);
    // A busy CAD program gets back what the run changed once it answers.
    if (workflows_.PutBackPending())
        WakeAfter(CentroidWorkflows::kBusyLookIntervalMs);
    const RunOutcome& outcome = workflows_.Outcome();
    // A window that closes or a session that ends says what it must itself.
    if (outcome.end == RunEnd::Close || outcome.end == RunEnd::SessionEnd)
        return;
    if (outcome.end == RunEnd::Error)
        framework::Application.ShowException(outcome.error);
    else if (!FolderExists(form_.Paths().WorkFolder())) {
        // Deleted during the run: the report had nowhere to go. Said once, and the folder comes back.
        framework::Application.ShowException(u"作業フォルダ " + form_.WorkFolder() +
                                             u" がなくなったため、報告を書き込めませんでした");
        framework::ForceDirectories(form_.WorkFolder());
    }
    host_.ReportResultsFailure();
}

}  // namespace app
