#include "win32_workflow_host.h"

#include <windows.h>

#include <cstdio>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/handles.h"
#include "results_table.h"

namespace app {
namespace {

// A report is a few kilobytes; anything beyond this is not a report and is not read further.
constexpr DWORD kMaxReportBytes = 64u * 1024 * 1024;

[[noreturn]] void RaiseFileError(DWORD error) {
    if (error == ERROR_ACCESS_DENIED)
        throw framework::EInOutError("ファイルへのアクセスが拒否されました");
    char message[64];
    std::snprintf(message, sizeof message, "I/O エラー (%lu)", static_cast<unsigned long>(error));
    throw framework::EInOutError(message);
}

}  // namespace

std::string Win32WorkflowHost::SizeText() {
    return form_.Edit1->Text();
}

bool Win32WorkflowHost::ContinuousChecked() {
    return form_.CheckBox1->Checked();
}

void Win32WorkflowHost::SetMinimized(bool minimized) {
    form_.SetMinimized(minimized);
}

void Win32WorkflowHost::ProcessMessages() {
    framework::Application.ProcessMessages();
}

void Win32WorkflowHost::HandleMessagesFor(unsigned milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        framework::Application.ProcessMessages();
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end || StopRequested())
            return;
        // The queue is empty now: this sleeps until a message comes or the time is up.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void Win32WorkflowHost::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

bool Win32WorkflowHost::MouseButtonsDown() {
    for (int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        if (::GetAsyncKeyState(button) & 0x8000)
            return true;
    return false;
}

unsigned Win32WorkflowHost::DoubleClickTimeMs() {
    return ::GetDoubleClickTime();
}

std::uint64_t Win32WorkflowHost::NowMs() {
    return ::GetTickCount64();
}

bool Win32WorkflowHost::StopRequested() {
    return form_.CloseRequested() || form_.SessionEnding() || framework::Application.Terminated();
}

void Win32WorkflowHost::ShowMessage(const std::string& text) {
    framework::Application.MessageBox(text, MB_OK);
}

void Win32WorkflowHost::ShowCadMissing() {
    // Long enough to read twice; it goes earlier at the next click or key.
    constexpr unsigned kShownMs = 5000;
    cadMissingTip_.Show(form_.plButton2->Handle(), "AutoCAD または DraftSight が見つかりません", kShownMs);
}

void Win32WorkflowHost::DrawHint(platform::WindowHandle window, const std::string& text) {
    HWND target = reinterpret_cast<HWND>(window);
    RECT outer;
    if (!target || !::GetWindowRect(target, &outer))
        return;  // without the pane there is nowhere to draw
    framework::WindowDc dc(target);
    if (!dc)
        return;
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    ::SetBkColor(dc.Get(), RGB(255, 127, 127));
    ::SetTextColor(dc.Get(), RGB(0, 0, 0));
    ::TextOutA(dc.Get(), 0, (outer.bottom - outer.top) - extent.cy, text.c_str(), static_cast<int>(text.size()));
}

std::optional<std::string> Win32WorkflowHost::ReadReportFile(const std::string& path) {
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    framework::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseFileError(::GetLastError());
    std::string content;
    char buffer[64 * 1024];
    DWORD read = 0;
    while (content.size() < kMaxReportBytes) {
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
            RaiseFileError(::GetLastError());
        if (read == 0)
            break;
        content.append(buffer, read);
    }
    return content;
}

std::optional<std::uint64_t> Win32WorkflowHost::FileVersion(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    const std::uint64_t written =
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return written ^ (size * 0x9E3779B97F4A7C15ull);
}

char Win32WorkflowHost::DecimalSeparator() {
    char separator[8] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 1)
        return separator[0];
    return '.';
}

void Win32WorkflowHost::ShowArea(const std::string& caption) {
    form_.Label1->SetCaption(caption);
}

void Win32WorkflowHost::MeasurementDrawn(const DrawnMeasurement& measurement) {
    std::string drawing;
    if (discovery_ && discovery_->IsLive(discovery_->Kept().MainFrame)) {
        std::string title(32 * 1024, '\0');
        const int length = discovery_->Windows().GetWindowTextA(discovery_->Kept().MainFrame, title.data(),
                                                                static_cast<int>(title.size()));
        title.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        drawing = DrawingNameFromTitle(title);
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::string when = FormatRowTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    // A row that cannot be written now is kept and written with the next one.
    form_.Results().Append(FormatResultRow(when, drawing, measurement));
}

void Win32WorkflowHost::ReportResultsFailure() {
    const std::string message = form_.Results().TakeFailureMessage();
    if (!message.empty())
        framework::Application.ShowException(message);
}

void Win32WorkflowHost::ShowPerimeter(const std::string& caption) {
    form_.Label2->SetCaption(caption);
}

}  // namespace app
