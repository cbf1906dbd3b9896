#pragma once
// The main window and the machine as the workflows see them, and the one CAD link of the process.

#include "balloon_tip.h"
#include "cadlink/cad_link.h"
#include "tavro_form.h"
#include "win32_command_line.h"
#include "win32_window_system.h"
#include "workflow_host.h"
#include "workflows.h"

namespace app {

class Win32WorkflowHost : public WorkflowHost {
public:
    explicit Win32WorkflowHost(TTavroF& form) : form_(form) {}

    std::string SizeText() override;
    bool ContinuousChecked() override;
    void SetMinimized(bool minimized) override;
    void ProcessMessages() override;
    void HandleMessagesFor(unsigned milliseconds) override;
    void Sleep(unsigned milliseconds) override;
    std::uint64_t NowMs() override;
    bool MouseButtonsDown() override;
    unsigned DoubleClickTimeMs() override;
    bool StopRequested() override;
    void ShowMessage(const std::string& text) override;
    void ShowCadMissing() override;
    void DrawHint(platform::WindowHandle window, const std::string& text) override;
    std::optional<std::string> ReadReportFile(const std::string& path) override;
    std::optional<std::uint64_t> FileVersion(const std::string& path) override;
    char DecimalSeparator() override;
    void ShowArea(const std::string& caption) override;
    void ShowPerimeter(const std::string& caption) override;
    // Adds the shape's row to the results list, with the drawing's name from the CAD title.
    void MeasurementDrawn(const DrawnMeasurement& measurement) override;
    void SetCadWindows(cadlink::WindowDiscovery* discovery) { discovery_ = discovery; }
    // Shows the error box once when a row of the last run could not be written.
    void ReportResultsFailure();

    // The tip of the last Execute that found no CAD program, while it is shown.
    const BalloonTip& CadMissingTip() const { return cadMissingTip_; }

private:
    TTavroF& form_;
    cadlink::WindowDiscovery* discovery_ = nullptr;
    BalloonTip cadMissingTip_;
};

// A row that could not be written is reported once the run has ended, however it ends (an
// Execute clicked during a run returns at once and leaves the report to the run).
struct ResultsFailureAfterRun {
    Win32WorkflowHost& host;
    const CentroidWorkflows& workflows;
    ~ResultsFailureAfterRun() {
        if (!workflows.Running())
            host.ReportResultsFailure();
    }
};

// Everything a run of the program needs to drive the CAD program, wired to the main window.
class TavroRuntime : public Workflows {
public:
    explicit TavroRuntime(TTavroF& form)
        : link_(windows_, system_, clipboard_), host_(form), workflows_(link_, system_, host_, form.Paths()) {
        host_.SetCadWindows(&link_.Discovery());
    }

    void FaceCentre() override {
        const ResultsFailureAfterRun report{host_, workflows_};
        workflows_.FaceCentre();
    }
    void Region() override {
        const ResultsFailureAfterRun report{host_, workflows_};
        workflows_.Region();
    }
    bool Running() const override { return workflows_.Running(); }
    void PutBackCadSettings() override { workflows_.PutBackCadSettings(); }
    // The benchmark build's side-by-side figures: fixed sleeps between the waits' looks.
    void SetFixedSleepMs(unsigned milliseconds) { workflows_.SetFixedSleepMs(milliseconds); }

private:
    platform::Win32WindowSystem windows_;
    platform::Win32CommandLineSystem system_;
    platform::Win32Clipboard clipboard_;
    cadlink::CadLink link_;
    Win32WorkflowHost host_;
    CentroidWorkflows workflows_;
};

}  // namespace app
