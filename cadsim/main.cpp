// cadsim: stands in for the CAD host (AutoCAD or DraftSight) on the desktop, with real windows that
// tools find by title and class and talk to through window messages.

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "command_interpreter.h"
#include "diagnostics.h"
#include "drawing_file.h"
#include "drawing_view.h"
#include "framework/handles.h"
#include "host_files.h"
#include "host_state.h"
#include "host_windows.h"
#include "object_snap.h"
#include "options.h"
#include "ready_file.h"
#include "user_script.h"
#include "user_side.h"

namespace {

int RunMessageLoop(bool ansi) {
    MSG message{};
    for (;;) {
        const BOOL got = ansi ? ::GetMessageA(&message, nullptr, 0, 0) : ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1) {
            cadsim::ReportError("GetMessage failed");
            return cadsim::kExitInternalError;
        }
        ::TranslateMessage(&message);
        if (ansi)
            ::DispatchMessageA(&message);
        else
            ::DispatchMessageW(&message);
    }
}

// Bad files are the caller's mistake, as bad options are: a message and kExitBadOptions.
bool LoadDrawing(const std::string& path, cadsim::Drawing& drawing, std::string& error) {
    std::string content;
    if (!cadsim::ReadInputFile(path, content, error))
        return false;
    if (!cadsim::ParseDrawingFile(content, drawing, error)) {
        error = "drawing " + path + ": " + error;
        return false;
    }
    return true;
}

bool LoadUserScript(const std::string& path, std::vector<cadsim::UserStep>& steps, std::string& error) {
    std::string content;
    if (!cadsim::ReadInputFile(path, content, error))
        return false;
    if (!cadsim::ParseUserScript(cadsim::AsCp932(content), steps, error)) {
        error = "user script " + path + ": " + error;
        return false;
    }
    return true;
}

// A short line just below the drawing's extents, clear of every shape in it: what the user drew
// inside their own undo group (--user-group).
cadsim::Entity UserGroupLine(const cadsim::Drawing& drawing) {
    cadsim::Box extents{cadsim::Point{0, 0}, cadsim::Point{100, 100}};
    drawing.Extents(extents);
    const double span = std::max(extents.max.x - extents.min.x, extents.max.y - extents.min.y);
    const double y = extents.min.y - span / 10;
    cadsim::Entity line;
    line.type = cadsim::EntityType::OpenPolyline;
    line.corners = {cadsim::Point{extents.min.x, y}, cadsim::Point{extents.min.x + span / 5, y}};
    return line;
}

// The drawing area in screen pixels, and the view that fits the drawing into it.
void FitDrawing(cadsim::Host& host, RECT& onScreen) {
    onScreen = RECT{0, 0, 0, 0};
    const RECT& area = host.drawingArea;
    if (!host.windows.mainFrame || ::IsRectEmpty(&area))
        return;
    cadsim::Box extents;
    const bool any = host.commandLine.CurrentDrawing().Extents(extents);
    host.view = cadsim::FitView(any ? &extents : nullptr, area.right - area.left, area.bottom - area.top);
    POINT corners[2] = {{area.left, area.top}, {area.right, area.bottom}};
    ::MapWindowPoints(host.windows.mainFrame, nullptr, corners, 2);
    onScreen = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

int Run(const std::vector<std::string>& args) {
    const cadsim::ParseResult parsed = cadsim::ParseOptions(args);
    if (!parsed.ok) {
        cadsim::ReportError(parsed.error + "\n" + cadsim::Usage());
        return cadsim::kExitBadOptions;
    }
    const cadsim::Options& options = parsed.options;

    std::string error;
    cadsim::Drawing drawing;
    if (!options.drawingFile.empty() && !LoadDrawing(options.drawingFile, drawing, error)) {
        cadsim::ReportError(error);
        return cadsim::kExitBadOptions;
    }
    std::vector<cadsim::UserStep> steps;
    if (!options.userFile.empty() && !LoadUserScript(options.userFile, steps, error)) {
        cadsim::ReportError(error);
        return cadsim::kExitBadOptions;
    }

    cadsim::SystemVariables variables;
    for (const auto& preset : options.variables)
        variables.Preset(preset.first, preset.second);  // checked with the options
    cadsim::Win32ReportFiles files(options.reportFault);
    // The lines a host shows after opening a drawing, unless a longer history was asked for.
    cadsim::History history =
        cadsim::OpeningHistory(options.hasHistoryLines ? options.historyLines : cadsim::kOpeningLineCount);
    history.SetKeep(options.historyKeep);
    cadsim::Host host(cadsim::CommandInterpreter(std::move(history), std::move(variables), std::move(drawing), &files,
                                                 options.undoControl));
    host.ansi = options.ansi;
    host.input = options.input;
    host.typedAsScript = options.typedAsScript;
    host.inputDelayMs = options.inputDelayMs;
    host.lineDelayMs = options.lineDelayMs;
    host.logBusy = options.logBusy;
    host.clipboardHoldMs = options.clipboardHoldMs;
    host.user = cadsim::ScriptedUser(std::move(steps));
    host.freezeWaitsMs = options.freezeWaitsMs;
    host.freezeAt = options.freezeAt;
    if (!options.logFile.empty() && !host.log.Open(options.logFile, error)) {
        cadsim::ReportError(error);
        return cadsim::kExitStartFailed;
    }
    host.log.Event(std::string("undo control=") + cadsim::UndoControlName(options.undoControl));
    for (const auto& entry : host.commandLine.CurrentDrawing().Entities())
        host.log.Event("entity loaded " + cadsim::Describe(entry.second));
    if (options.userGroup) {
        host.commandLine.OpenUserGroup(UserGroupLine(host.commandLine.CurrentDrawing()));  // checked with the options
        for (const std::string& event : host.commandLine.TakeEvents())
            host.log.Event(event);
    }
    // "ＭＳ ゴシック" is what the host's command line uses; the Wine prefix maps it to IPA Gothic.
    const framework::FontHandle font = framework::FontHandle::Make(
        ::CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"));
    host.font = font.Get();

    if (!cadsim::OpenHostWindows(options, host, error)) {
        cadsim::ReportError(error);
        return cadsim::kExitStartFailed;
    }
    RECT drawingOnScreen{};
    FitDrawing(host, drawingOnScreen);
    host.commandLine.SetSnapAperture(cadsim::kSnapAperturePixels / host.view.scale);
    cadsim::ForgetRenderedDrawing(host);
    if (host.windows.mainFrame)
        ::InvalidateRect(host.windows.mainFrame, &host.drawingArea, TRUE);
    if (!options.readyFile.empty()) {
        const std::string ready =
            cadsim::FormatReadyFile(::GetCurrentProcessId(), host.windows, drawingOnScreen, host.view);
        if (!cadsim::WriteReadyFile(options.readyFile, ready, error)) {
            cadsim::ReportError(error);
            return cadsim::kExitStartFailed;
        }
    }
    cadsim::StartScriptedUser(host);
    return RunMessageLoop(host.ansi);
}

}  // namespace

// MinGW's start-up code calls main for a GUI program too; the arguments arrive in the ANSI code page.
int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& failure) {
        cadsim::ReportError(std::string("failed: ") + failure.what());
    } catch (...) {
        cadsim::ReportError("failed");
    }
    return cadsim::kExitInternalError;
}
