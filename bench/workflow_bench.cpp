// Times the tool's runs against the simulator under Wine, with a user who answers at once (a
// click on the drawing 20 ms after the pick prompt shows; the scripted user for the selections):
// from the Execute click to the CIRCLE record reaching the simulator, for face-centre runs
// (a first run, which writes a new report, and later runs, which are asked to replace it) and for
// single region passes. Each is printed beside its floor: the 200 ms polls it cannot avoid plus
// the simulator's own handling time, which its log records. Figures, not a test.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_windows.h"
#include "cadsim_process.h"

namespace {

using bench::Control;
using bench::OwnFolder;

constexpr int kRuns = 11;
constexpr int kFirstRuns = 5;
constexpr double kPickDelayMs = 20.0;
const char kPickPrompt[] = "点を指定";
constexpr double kPollMs = 200.0;
const char kTitle[] = "図心位置に円を描く";

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The log's size: cheap to ask, so the log is read again only when it has grown.
unsigned long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The simulator's handling time in a stretch of its log: the "busy" lines up to the one that ends
// the handling of the CIRCLE record.
double BusyMs(const std::string& log) {
    double total = 0;
    const std::size_t circle = log.find("type=circle");
    std::size_t at = 0;
    while ((at = log.find("busy ", at)) != std::string::npos) {
        const std::size_t ms = log.find(" ms=", at);
        if (ms == std::string::npos)
            break;
        total += std::strtod(log.c_str() + ms + 4, nullptr);
        if (circle != std::string::npos && at > circle)
            break;
        at = ms;
    }
    return total;
}

// A record's payload as text to read: UTF-16 or ANSI bytes shown as ASCII, Ctrl+C as ^C.
std::string Preview(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    const bool wide = bytes.size() > 1 && bytes[1] == '\0';
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += wide ? 2 : 1) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0)
            break;
        text += c == 3 ? std::string("^C") : c == '\r' ? std::string("\\r") : std::string(1, c < 0x80 ? c : '?');
    }
    return text;
}

// What the simulator handled in one run, with the time since the click: where the run's time goes.
void PrintTrace(const std::string& log, double clickMs) {
    std::string pending;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        start = end + 1;
        if (line.rfind("copydata ", 0) == 0 && line.find(" data=") != std::string::npos)
            pending = Preview(line.substr(line.find(" data=") + 6));
        else if (line.rfind("command ", 0) == 0)
            pending = "history copy";
        if (line.rfind("busy ", 0) != 0)
            continue;
        const std::size_t ms = line.find(" ms=");
        const std::size_t at = line.find(" at=");
        if (ms == std::string::npos || at == std::string::npos)
            continue;
        std::printf("    %+8.1f ms  %-14s %6.2f ms  %s\n", std::strtod(line.c_str() + at + 4, nullptr) - clickMs,
                    line.substr(5, ms - 5).c_str(), std::strtod(line.c_str() + ms + 4, nullptr), pending.c_str());
        pending.clear();
    }
}

struct Runs {
    std::vector<double> times;   // click to CIRCLE
    std::vector<double> busyMs;  // the simulator's handling time in that span
    std::string lastLog;         // the last run's part of the log
    double lastClickMs = 0;
};

void Report(const char* what, const Runs& runs, int polls) {
    if (runs.times.empty()) {
        std::printf("%s: no run finished\n", what);
        return;
    }
    const double median = Median(runs.times);
    const double busy = Median(runs.busyMs);
    const double floorMs = polls * kPollMs + busy;
    std::printf("%-38s median %7.1f ms (min %.1f, max %.1f, %zu runs)\n", what, median,
                *std::min_element(runs.times.begin(), runs.times.end()),
                *std::max_element(runs.times.begin(), runs.times.end()), runs.times.size());
    std::printf("%-38s floor  %7.1f ms = %d x %.0f ms polls + %.1f ms simulator handling; ratio %.3f\n", "", floorMs,
                polls, kPollMs, busy, median / floorMs);
}

// The folder the tool writes its reports to.
std::string WorkFolder() {
    char appData[MAX_PATH] = {};
    ::GetEnvironmentVariableA("APPDATA", appData, sizeof appData);
    return std::string(appData) + "\\Halvetra\\";
}

// Removes the tool's report files, so that the next face-centre run writes a new report.
void RemoveReports() {
    const std::string folder = WorkFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*.mpr").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        ::DeleteFileA((folder + found.cFileName).c_str());
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

}  // namespace

int main(int argc, char** argv) {
    const bool trace = argc > 1 && std::string(argv[1]) == "--trace";
    const std::string bin = OwnFolder();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    const std::string script = std::string(temp) + "tavro-workflow-bench-user.txt";
    {
        std::ofstream user(script, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < kRuns; ++i)
            user << "select 20,15\nenter\n";
    }
    testsupport::CadsimProcess cad({"--drawing", bin + "samples\\regions.txt", "--user", script, "--log-busy"});
    if (!cad.Ready()) {
        std::printf("the simulator did not start: %s\n", cad.Failure().c_str());
        return 1;
    }

    bench::StartedTool tool = bench::StartTool(bin, kTitle);
    HWND window = tool.window;
    HWND execute = window ? Control(window, 106) : nullptr;
    HWND faceCentre = window ? Control(window, 107) : nullptr;
    HWND size = window ? Control(window, 101) : nullptr;
    if (!execute || !faceCentre || !size) {
        std::printf("the tool's window did not appear\n");
        ::TerminateProcess(tool.process.Get(), 1);
        return 1;
    }
    ::SendMessageA(size, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));

    // The picks are real clicks, a moment after the pick prompt shows: a scripted user acts before
    // the tool has even looked at the prompt after typing ID, which no person does.
    const POINT pickOnScreen = cad.Windows().ScreenPoint(80, 70);
    auto pickWhenAsked = [&] {
        if (cad.Prompt().rfind(kPickPrompt, 0) != 0)
            return false;
        const double shown = NowMs();
        while (NowMs() - shown < kPickDelayMs)
            ::Sleep(1);
        POINT client = pickOnScreen;
        ::ScreenToClient(cad.Windows().mainFrame, &client);
        ::PostMessageA(cad.Windows().mainFrame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        ::PostMessageA(cad.Windows().mainFrame, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        return true;
    };

    bool faceCentreRuns = true;
    auto timeRuns = [&](int count, bool firstRuns) {
        Runs runs;
        for (int run = 0; run < count; ++run) {
            if (firstRuns)
                RemoveReports();
            const std::size_t logStart = cad.LogContent().size();
            const int before = Count(cad.LogContent(), "type=circle");
            const double start = NowMs();
            ::PostMessageA(execute, BM_CLICK, 0, 0);
            double arrived = 0;
            unsigned long long size = FileSize(cad.LogPath());
            bool picked = !faceCentreRuns;
            while (NowMs() - start < 30000) {
                if (!picked)
                    picked = pickWhenAsked();
                const unsigned long long now = FileSize(cad.LogPath());
                if (now != size) {
                    size = now;
                    if (Count(cad.LogContent(), "type=circle") > before) {
                        arrived = NowMs();
                        break;
                    }
                }
                ::Sleep(1);
            }
            if (arrived == 0)
                break;
            // The tool lets the double-click time pass before it asks for anything, so that the rest
            // of a double click cannot become the pick; a user's hand needs longer to reach the
            // shape, so that time is no latency.
            runs.times.push_back(arrived - start - ::GetDoubleClickTime());
            // The run ends by restoring the window; the next click must not fall into it.
            testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); });
            ::Sleep(100);
            runs.lastLog = cad.LogContent().substr(logStart);
            runs.lastClickMs = start;
            runs.busyMs.push_back(BusyMs(runs.lastLog));
        }
        return runs;
    };
    auto report = [&](const char* what, const Runs& runs, int polls) {
        Report(what, runs, polls);
        if (trace) {
            std::printf("  the last run, as the simulator handled it:\n");
            PrintTrace(runs.lastLog, runs.lastClickMs);
        }
    };

    std::printf(
        "Execute click to CIRCLE record, less the double-click time (%u ms) the tool lets pass first;\n"
        "floor: the polls a run cannot avoid plus the simulator's handling\n",
        ::GetDoubleClickTime());
    // The pick always costs a poll; a first run sees the idle prompt at once, which cannot be told
    // from a host that has not handled the input yet, so it waits a second poll. A later run is
    // asked to replace the report, which can be answered at once.
    report("face-centre, first run (new report)", timeRuns(kFirstRuns, true), 2);
    report("face-centre, later runs (replace)", timeRuns(kRuns, false), 1);
    ::SendMessageA(faceCentre, BM_SETCHECK, BST_UNCHECKED, 0);
    faceCentreRuns = false;
    report("region pass", timeRuns(kRuns, false), 1);

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(tool.process.Get(), 10000);
    return 0;
}
