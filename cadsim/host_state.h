#pragma once
// The state the simulator's windows share: its command line and drawing, which windows exist, how
// typed input is taken, how the drawing is shown, the scripted user, and the log.

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <utility>

#include "command_interpreter.h"
#include "options.h"
#include "record_log.h"
#include "user_script.h"
#include "view_transform.h"

namespace cadsim {

class DrawingBuffer;

struct HostWindows {
    HWND mainFrame = nullptr;
    HWND textWindow = nullptr;
    HWND palette = nullptr;
    HWND commandLine = nullptr;  // the container of the prompt window and the history pane
    HWND promptWindow = nullptr;
    HWND historyPane = nullptr;
};

// One per process; every window reaches it through GWLP_USERDATA.
struct Host {
    explicit Host(CommandInterpreter interpreter) : commandLine(std::move(interpreter)) {}

    CommandInterpreter commandLine;
    HostWindows windows;
    HWND anchor = nullptr;  // closing this window ends the process
    HFONT font = nullptr;   // owned by main for the whole run
    bool ansi = false;      // ANSI windows instead of Unicode ones
    InputMode input = InputMode::Inside;
    bool typedAsScript = false;  // keystroke records are a script's input (--typed-as-script)
    unsigned inputDelayMs = 0;
    unsigned lineDelayMs = 0;             // queued input is typed one line at a time, this far apart
    unsigned clipboardHoldMs = 0;         // after each history copy the clipboard stays open this long
    std::deque<std::string> queuedInput;  // keystrokes waiting for the message loop (InputMode::After)
    bool inputTimerSet = false;           // the delay for the queued keystrokes is running
    RecordLog log;
    bool logBusy = false;                          // log the time each piece of work took
    int messageDepth = 0;                          // messages being handled, nested ones included
    RECT drawingArea{};                            // in the main frame's client area; empty without a main frame
    ViewTransform view;                            // fixed at start: the main frame keeps its size
    std::shared_ptr<DrawingBuffer> drawingBuffer;  // made at the first paint
    ScriptedUser user;
    bool userCheckPosted = false;     // a kRunScriptedUser message is on its way
    unsigned freezeWaitsMs = 0;       // stop answering this long at each wait (--freeze-waits)
    std::string freezeAt;             // the prompt text that is a wait; empty: the usual ones
    std::string lastPrompt;           // as of the last look, so that each showing freezes once
    std::deque<std::string> freezes;  // the waits that froze, for kFreezeAtWait to take one by one
};

}  // namespace cadsim
