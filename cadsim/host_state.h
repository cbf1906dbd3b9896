#pragma once
// The state the simulator's windows share: its command line, which windows exist, how typed
// input is taken, and the log of what it received.

#include <windows.h>

#include <deque>
#include <string>
#include <utility>

#include "command_interpreter.h"
#include "options.h"
#include "record_log.h"

namespace cadsim {

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
    unsigned inputDelayMs = 0;
    std::deque<std::string> queuedInput;  // keystrokes waiting for the message loop (InputMode::After)
    bool inputTimerSet = false;           // the delay for the queued keystrokes is running
    RecordLog log;
};

}  // namespace cadsim
