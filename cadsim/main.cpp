// cadsim: stands in for the CAD host (AutoCAD or DraftSight) on the desktop, with real windows that
// tools find by title and class and talk to through window messages.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "command_interpreter.h"
#include "diagnostics.h"
#include "gdi.h"
#include "host_state.h"
#include "host_windows.h"
#include "options.h"
#include "ready_file.h"

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

int Run(const std::vector<std::string>& args) {
    const cadsim::ParseResult parsed = cadsim::ParseOptions(args);
    if (!parsed.ok) {
        cadsim::ReportError(parsed.error + "\n" + cadsim::Usage());
        return cadsim::kExitBadOptions;
    }
    const cadsim::Options& options = parsed.options;

    cadsim::SystemVariables variables;
    for (const auto& preset : options.variables)
        variables.Preset(preset.first, preset.second);  // checked with the options
    // The lines a host shows after opening a drawing, unless a longer history was asked for.
    cadsim::Host host(cadsim::CommandInterpreter(
        cadsim::OpeningHistory(options.hasHistoryLines ? options.historyLines : cadsim::kOpeningLineCount),
        std::move(variables)));
    host.ansi = options.ansi;
    host.input = options.input;
    host.inputDelayMs = options.inputDelayMs;
    std::string error;
    if (!options.logFile.empty() && !host.log.Open(options.logFile, error)) {
        cadsim::ReportError(error);
        return cadsim::kExitStartFailed;
    }
    // "ＭＳ ゴシック" is what the host's command line uses; the Wine prefix maps it to IPA Gothic.
    const cadsim::GdiObject<HFONT> font(::CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                      FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"));
    host.font = font.Get();

    if (!cadsim::OpenHostWindows(options, host, error)) {
        cadsim::ReportError(error);
        return cadsim::kExitStartFailed;
    }
    if (!options.readyFile.empty()) {
        const std::string ready = cadsim::FormatReadyFile(::GetCurrentProcessId(), host.windows);
        if (!cadsim::WriteReadyFile(options.readyFile, ready, error)) {
            cadsim::ReportError(error);
            return cadsim::kExitStartFailed;
        }
    }
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
