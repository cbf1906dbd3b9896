#pragma once
// What a run of the measuring workflows needs of the main window and of the machine it runs on.

#include <cstdint>
#include <optional>
#include <string>

#include "measurement.h"
#include "platform/window_system.h"
#include "report_reader.h"

namespace app {

// A point on the screen, in pixels.
struct PointerPoint {
    int x = 0;
    int y = 0;
};

// The mouse as the system sees it now.
struct PointerNow {
    bool buttonsDown = false;
    PointerPoint at;
};

// How far apart in time and place two clicks may be to make a double click.
struct DoubleClickLimits {
    unsigned timeMs = 500;
    int width = 4;
    int height = 4;
};

// Local date and time, for the results row.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class WorkflowHost {
public:
    virtual ~WorkflowHost() = default;
    // The circle size as typed, and the continuous box.
    virtual std::string SizeText() = 0;
    virtual bool ContinuousChecked() = 0;
    virtual void SetMinimized(bool minimized) = 0;
    virtual PointerNow Pointer() = 0;
    virtual DoubleClickLimits DoubleClick() = 0;
    // A clock in milliseconds, for the waits' time limits and paces.
    virtual std::uint64_t NowMs() = 0;
    virtual LocalTime Now() = 0;
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
    // One row of the results list (CRLF included), for a circle that was typed.
    virtual void AddResultRow(const std::u16string& row) = 0;
    // The measured values, formatted as the results row has them (ShownValue).
    virtual void ShowArea(const std::string& caption) = 0;
    virtual void ShowPerimeter(const std::string& caption) = 0;
};

}  // namespace app
