#pragma once
// What the benchmarks that drive the tool share: where they run from and how they find the main
// window's controls.

#include <windows.h>

#include <string>

#include "cadsim_process.h"
#include "gui_objects.h"

namespace bench {

// The folder of the running benchmark exe, with its trailing backslash; the tool and the simulator
// are built beside it.
inline std::string OwnFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full = path;
    return full.substr(0, full.find_last_of('\\') + 1);
}

// A child window of the main window by its control id, or null.
inline HWND Control(HWND window, int id) {
    return testsupport::ControlById(window, id);
}

// Tavro.exe (or the benchmark build of it) started from the bench folder, with its main window once shown.
struct StartedTool {
    testsupport::UniqueHandle job;  // the tool ends with the benchmark, however that ends
    testsupport::UniqueHandle process;
    testsupport::UniqueHandle thread;
    HWND window = nullptr;  // null when the program did not start or showed no window in 30 s
};

inline StartedTool StartTool(const std::string& folder, const char* title, const char* exe = "Tavro.exe") {
    StartedTool tool;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string commandLine = "\"" + folder + exe + "\"";
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &started))
        return tool;
    tool.process = testsupport::UniqueHandle(started.hProcess);
    tool.thread = testsupport::UniqueHandle(started.hThread);
    tool.job = testsupport::UniqueHandle(::CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!tool.job ||
        !::SetInformationJobObject(tool.job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !::AssignProcessToJobObject(tool.job.Get(), tool.process.Get()))
        tool.job.Reset();  // a safety net only
    ::ResumeThread(tool.thread.Get());
    // The window exists before its controls: wait until it is shown.
    testsupport::CadsimProcess::WaitUntil(
        [&] {
            tool.window = ::FindWindowA(nullptr, title);
            return tool.window && ::IsWindowVisible(tool.window);
        },
        30000);
    if (tool.window && !::IsWindowVisible(tool.window))
        tool.window = nullptr;
    return tool;
}

}  // namespace bench
