#pragma once
// What the measuring workflows need of the main window and of the machine they run on.

#include <cstdint>
#include <optional>
#include <string>

#include "measurement.h"
#include "platform/window_system.h"
#include "report_reader.h"

namespace app {

class WorkflowHost : public ReportLabels {
public:
    // The circle size as typed, and the continuous box.
    virtual std::string SizeText() = 0;
    virtual bool ContinuousChecked() = 0;
    virtual void SetMinimized(bool minimized) = 0;
    // Handles every waiting window message (clicks, repaints, the banner) and returns.
    virtual void ProcessMessages() = 0;
    // Handles the window's messages as they arrive for this long, sleeping in between; returns
    // early once the user asked to stop.
    virtual void HandleMessagesFor(unsigned milliseconds) = 0;
    // Sleeps without handling anything.
    virtual void Sleep(unsigned milliseconds) = 0;
    // Whether a mouse button is down now, and the system's double-click time.
    virtual bool MouseButtonsDown() = 0;
    virtual unsigned DoubleClickTimeMs() = 0;
    // A clock in milliseconds, for the waits' time limits.
    virtual std::uint64_t NowMs() = 0;
    // True once the user asked to close the window or the application is ending: a run ends at
    // its next poll.
    virtual bool StopRequested() = 0;
    // The plain message dialog: no icon, one OK button, the application title as caption.
    virtual void ShowMessage(const std::string& text) = 0;
    // Tells the user, without a modal box, that no CAD program was found.
    virtual void ShowCadMissing() = 0;
    // Draws a hint once over the bottom left of another program's window.
    virtual void DrawHint(platform::WindowHandle window, const std::string& text) = 0;
    // The whole report file, or nothing when there is no file; throws the framework's file error
    // when it exists but cannot be read.
    virtual std::optional<std::string> ReadReportFile(const std::string& path) = 0;
    // Something that changes whenever the file is written (its last write time and size), or
    // nothing when there is no file.
    virtual std::optional<std::uint64_t> FileVersion(const std::string& path) = 0;
    // The locale's decimal separator.
    virtual char DecimalSeparator() = 0;
    // A circle was typed at a measured shape's centroid.
    virtual void MeasurementDrawn(const DrawnMeasurement&) {}
};

}  // namespace app
