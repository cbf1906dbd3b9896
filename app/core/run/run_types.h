#pragma once
// The words a run and the window share: what starts a run, what it tells the window, how it ends,
// and when it wants to be woken.

#include <cstdint>
#include <optional>
#include <string>

#include "workflow_host.h"

namespace app {

enum class RunMode { FaceCentre, Region };

// The longest wait for the user (a pick, a selection), for the report, or for a busy CAD program.
inline constexpr std::uint64_t kWaitLimitMs = 120000;
// A host that takes typed input late still shows its idle prompt, or shows a queried value only
// later, for up to this long: a wait ends on the idle prompt only on evidence that the command
// ran, or after this long.
inline constexpr std::uint64_t kLateHostMs = 10000;
// How often the history is looked at while a late host has shown nothing yet (a pick, or a
// selection cancelled before any look saw it): every look at it is a clipboard exchange.
inline constexpr std::uint64_t kHistoryLookMs = 250;

// How Execute was given: a click leaves the rest of a double click to come, a key nothing.
struct RunTrigger {
    bool byPointer = false;
    platform::Point at{};  // where the click was, in screen pixels
};

// Everything a run is started with, as the window had it at Execute.
struct RunRequest {
    RunMode mode = RunMode::FaceCentre;
    std::u16string size;      // the circle size as typed
    bool continuous = false;  // region mode: pass after pass
    RunTrigger trigger;
    DoubleClickLimits doubleClick;
    char16_t decimalSymbol = u'.';  // the user's, for the values shown
};

// Why a run ended.
enum class RunEnd {
    Finished,    // the workflow came to its end (a circle drawn, or nothing to draw)
    Close,       // the user closed the window
    SessionEnd,  // the system is logging off or shutting down
    CadGone,     // the CAD program's process ended
    TimeLimit,   // the user gave no pick or selection in time (or the CAD program stayed busy as long)
    Aborted,     // the clipboard could not be used: ends without a word
    Error,       // a size, report or file error, shown after the run
};

struct RunOutcome {
    RunEnd end = RunEnd::Finished;
    std::u16string error;  // for RunEnd::Error: the error box's text
};

// When a waiting run wants its next step: after this long, or earlier when the report folder
// changes or the CAD program's process ends. While onUserInput is set the run waits for the
// user's pick or selection, and a button or key released anywhere may end that wait.
struct Wake {
    unsigned afterMs = 0;
    bool onReportFolder = false;
    bool onUserInput = false;
};

// What one look at the CAD program saw. Gone only when its prompt window no longer exists: an
// empty prompt read alone is not the end, and a busy program is only busy.
struct Look {
    bool gone = false;
    bool busy = false;  // the CAD program did not answer: the look saw nothing
    std::u16string prompt;
};

}  // namespace app
