#pragma once
// The state the simulator's windows share: what its command line shows and which windows exist.

#include <windows.h>

#include <string>
#include <vector>

namespace cadsim {

// Texts are code-page-932 bytes, as the host hands them to ANSI callers.
struct CommandLineState {
    std::string prompt;
    std::vector<std::string> history;  // oldest first; the last line is the newest
};

struct HostWindows {
    HWND mainFrame = nullptr;
    HWND textWindow = nullptr;
    HWND palette = nullptr;
    HWND commandLine = nullptr;  // the container of the prompt window and the history pane
    HWND promptWindow = nullptr;
    HWND historyPane = nullptr;
};

// The prompt of a command line waiting for a command.
extern const char kIdlePrompt[];

// An idle command line with the few history lines a host shows after opening a drawing.
CommandLineState InitialCommandLine();

// One per process; every window reaches it through GWLP_USERDATA.
struct Host {
    CommandLineState commandLine;
    HostWindows windows;
    HWND anchor = nullptr;  // closing this window ends the process
    HFONT font = nullptr;   // owned by main for the whole run
    bool ansi = false;      // ANSI windows instead of Unicode ones
};

}  // namespace cadsim
