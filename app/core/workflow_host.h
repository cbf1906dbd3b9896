#pragma once
// What a run of the measuring workflows needs of the main window and of the machine it runs on.

#include <cstdint>
#include <optional>
#include <string>

#include "checked.h"
#include "measurement.h"
#include "platform/geometry.h"
#include "platform/window_system.h"
#include "report_reader.h"
#include "run/run_events.h"

namespace app {

// The mouse as the system sees it now, in screen pixels.
struct PointerNow {
    bool buttonsDown = false;
    platform::Point at{};
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

// What a run reads of the main window and of the machine while it goes on; what it has to say it
// tells as events (RunEvent).
class WorkflowHost {
public:
    virtual ~WorkflowHost() = default;
    // The circle size and the continuous box as they are now: a size changed during a run is
    // checked again for each circle, and unchecking the box ends a continuous run after its pass.
    virtual std::u16string SizeText() = 0;
    virtual bool ContinuousChecked() = 0;
    virtual PointerNow Pointer() = 0;
    // A clock in milliseconds, for the waits' time limits and paces.
    virtual std::uint64_t NowMs() = 0;
    virtual LocalTime Now() = 0;
    // The whole report file, or nothing when there is no file; refused with the file error's words
    // when it exists but cannot be read.
    virtual Checked<std::optional<std::string>> ReadReportFile(const std::u16string& path) = 0;
    // Something that changes whenever the file is written (its last write time and size), or
    // nothing when there is no file.
    virtual std::optional<std::uint64_t> FileVersion(const std::u16string& path) = 0;
    // The path's short (8.3) form, or nothing when the file system keeps none for it.
    virtual std::optional<std::u16string> ShortPathOf(const std::u16string& path) = 0;
    // What the run has to tell the window (values, a row, the hint, no CAD program, ...).
    virtual void Tell(const RunEvent& event) = 0;
};

}  // namespace app
