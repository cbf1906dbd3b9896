// Times the tool's runs against the simulator under Wine, with the product's waits and with the
// first version's 200 ms between looks (the benchmark build's own look pace), side by side. The
// user answers at once: a click on the drawing 20 ms after the pick prompt shows, and the scripted
// user for the selections. For face-centre first runs (a new report), later runs (asked to
// replace it) and single region passes it prints medians of the time from the user's pick, or the
// end of the selection, to the CIRCLE record reaching the simulator (on the simulator's clock),
// and from the Execute click.
// Then, while a run waits for a pick that does not come: how many prompt reads the tool adds and
// what they cost the simulator, the tool's CPU, and the longest time a message sent to the tool's
// window waited to be handled. Before those, with real input: a click on Execute (the pointer
// leaving at once, or resting) and Enter to the pick being asked, and the tool's CPU while a run
// waits 10 s for a pick, minimised. Figures, not a test.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench_windows.h"
#include "cadsim_process.h"

namespace {

using bench::Control;
using bench::OwnFolder;

constexpr int kRuns = 11;
constexpr int kFirstRuns = 11;
constexpr double kPickDelayMs = 20.0;
const char kPickPrompt[] = "点を指定";
constexpr DWORD kIdleWaitMs = 2000;
constexpr DWORD kFrozenMs = 5000;
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

// One "busy WORK ms=... at=..." line of the simulator's log: what it handled, for how long, and
// when it began on its clock (the same performance counter as this program's).
struct Busy {
    std::string work;
    double ms = 0, at = 0;
};
std::optional<Busy> BusyLine(const std::string& line) {
    const std::size_t ms = line.find(" ms="), at = line.find(" at=");
    if (line.rfind("busy ", 0) != 0 || ms == std::string::npos || at == std::string::npos)
        return std::nullopt;
    return Busy{line.substr(5, ms - 5), std::strtod(line.c_str() + ms + 4, nullptr),
                std::strtod(line.c_str() + at + 4, nullptr)};
}

// What the simulator handled in one run, with the time since the click: where the run's time goes.
void PrintTrace(const std::string& log, double clickMs) {
    std::string pending;
    for (const std::string& line : testsupport::LogLines(log)) {
        if (line.rfind("copydata ", 0) == 0 && line.find(" data=") != std::string::npos)
            pending = Preview(line.substr(line.find(" data=") + 6));
        else if (line.rfind("command ", 0) == 0)
            pending = "history copy";
        const std::optional<Busy> busy = BusyLine(line);
        if (!busy)
            continue;
        std::printf("    %+8.1f ms  %-14s %6.2f ms  %s\n", busy->at - clickMs, busy->work.c_str(), busy->ms,
                    pending.c_str());
        pending.clear();
    }
}

// When the simulator began to handle the last CIRCLE record of a log, on its clock: the bench's own
// polling of the log file does not count. 0 when the log holds none.
double CircleHandledAt(const std::string& log) {
    double at = 0;
    bool circle = false;
    for (const std::string& line : testsupport::LogLines(log)) {
        if (line.rfind("copydata ", 0) == 0 && line.find(" data=") != std::string::npos)
            circle = Preview(line.substr(line.find(" data=") + 6)).rfind("^CCIRCLE ", 0) == 0;
        else if (const std::optional<Busy> busy = circle ? BusyLine(line) : std::nullopt;
                 busy && busy->work == "copydata") {
            at = busy->at;
            circle = false;
        }
    }
    return at;
}

// When the simulator had handled the last click of a log, on its clock: the pick as the CAD program
// took it, after the desktop delivered it. 0 when the log holds none.
double PickTakenAt(const std::string& log) {
    double at = 0;
    for (const std::string& line : testsupport::LogLines(log)) {
        if (const std::optional<Busy> busy = BusyLine(line); busy && busy->work == "mouse")
            at = busy->at + busy->ms;
    }
    return at;
}

struct Runs {
    std::vector<double> fromClick;      // Execute click to CIRCLE
    std::vector<double> fromUser;       // the user's pick or end of selection to CIRCLE
    std::vector<double> fromPickTaken;  // face-centre: the pick taken by the CAD program to CIRCLE
    std::string lastLog;                // the last run's part of the log
    double lastClickMs = 0;
};

void PrintFigure(const char* what, const char* mode, std::vector<double> values) {
    if (values.empty()) {
        std::printf("  %-34s %-16s no run finished\n", what, mode);
        return;
    }
    std::printf("  %-34s %-16s median %7.1f ms (min %.1f, max %.1f, %zu runs)\n", what, mode, Median(values),
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                values.size());
}

// When the scripted user last acted, from the log's "user ... at=" lines; 0 when it has not.
double LastUserActionMs(const std::string& log) {
    const std::size_t line = log.rfind("\nuser ");
    if (line == std::string::npos)
        return 0;
    const std::size_t at = log.find(" at=", line);
    const std::size_t end = log.find('\n', line + 1);
    return at != std::string::npos && at < end ? std::strtod(log.c_str() + at + 4, nullptr) : 0;
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

// The CPU time of the Linux process that runs a Wine program, by a name unique to it: under Wine,
// GetProcessTimes of another process reads 0, so the counters are read through the Z: drive.
class LinuxCpu {
public:
    // A Linux process id given from outside (the script knows its Wine server).
    explicit LinuxCpu(unsigned long pid) : dir_(pid ? "Z:\\proc\\" + std::to_string(pid) : "") {}
    explicit LinuxCpu(const std::string& uniqueName) {
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
            if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
                continue;
            std::ifstream cmdline(dir + "\\cmdline", std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
            if (text.find(uniqueName) != std::string::npos) {
                dir_ = dir;
                break;
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    bool Found() const { return !dir_.empty(); }
    // The time its threads have run, in milliseconds: the scheduler's count in nanoseconds, not
    // the clock ticks of 10 ms that a share of a tenth of a percent over 10 s would drown in.
    double Ms() const {
        if (dir_.empty())
            return 0;
        double ns = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((dir_ + "\\task\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return 0;
        do {
            if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
                continue;
            std::ifstream file(dir_ + "\\task\\" + found.cFileName + "\\schedstat", std::ios::binary);
            double onCpu = 0;
            if (file >> onCpu)
                ns += onCpu;
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
        return ns / 1e6;
    }

private:
    std::string dir_;
};

// A click as the system delivers a user's: the pointer there, the button pressed and let go. Returns
// when the button came up.
double ClickAt(POINT at) {
    ::SetCursorPos(at.x, at.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &clicks[0], sizeof(INPUT));
    const double released = NowMs();
    ::SendInput(1, &clicks[1], sizeof(INPUT));
    return released;
}

// The command records of a log (payload bytes as sent), in order.
std::vector<std::string> Records(const std::string& log) {
    std::vector<std::string> records;
    for (std::size_t at = log.find("\ncopydata "); at != std::string::npos; at = log.find("\ncopydata ", at + 1)) {
        const std::size_t data = log.find(" data=", at);
        const std::size_t end = log.find_first_of("\r\n", at + 1);
        if (data == std::string::npos || data > end)
            continue;
        std::string bytes;
        for (std::size_t i = data + 6; i + 1 < end; i += 2)
            bytes += static_cast<char>(std::stoi(log.substr(i, 2), nullptr, 16));
        records.push_back(bytes);
    }
    return records;
}

// The pointer moving over a rectangle of the screen for 5 s, about 125 movements a second, as input
// the system delivers (a Wine program cannot wait for xdotool, which it starts detached): what a
// user's hand does while the run waits. Returns the movements a second.
double MovePointer(RECT over) {
    constexpr int kMoves = 625;
    const double start = NowMs();
    for (int i = 0; i < kMoves; ++i) {
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        const LONG x = over.left + 10 + (i * 7) % std::max(1L, over.right - over.left - 20);
        const LONG y = over.top + 10 + (i * 3) % std::max(1L, over.bottom - over.top - 20);
        move.mi.dx = x * 65535 / std::max(1, ::GetSystemMetrics(SM_CXSCREEN) - 1);
        move.mi.dy = y * 65535 / std::max(1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        ::SendInput(1, &move, sizeof move);
        // Paced by the clock, not by Sleep alone, whose rounding would change the rate.
        while (NowMs() - start < (i + 1) * 8.0)
            ::Sleep(1);
    }
    return kMoves / ((NowMs() - start) / 1000.0);
}

// How the user starts a run in the figures from Execute to the pick being asked.
enum class Start { ClickThenLeave, ClickAndRest, Enter };

// A real click (or key) on Execute, as the system delivers it: the pointer moved there, the button
// pressed and let go; then, for ClickThenLeave, the pointer moved on to the drawing at once. Returns
// when the button came up, or the key went down.
double StartRun(HWND execute, Start how, POINT drawing) {
    if (how == Start::Enter) {
        ::SetForegroundWindow(::GetAncestor(execute, GA_ROOT));
        const double at = NowMs();
        ::PostMessageA(execute, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        ::PostMessageA(execute, WM_KEYUP, VK_RETURN, 0xC01C0001);
        return at;
    }
    RECT button;
    ::GetWindowRect(execute, &button);
    ::SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::Sleep(30);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &clicks[0], sizeof(INPUT));
    ::Sleep(60);
    const double at = NowMs();
    ::SendInput(1, &clicks[1], sizeof(INPUT));
    if (how == Start::ClickThenLeave)
        ::SetCursorPos(drawing.x, drawing.y);
    return at;
}

struct ModeFigures {
    std::vector<double> toPickLeaving, toPickResting, toPickEnter;  // Execute to the pick being asked
    double minimizedWaitCpuShare = -1;  // the tool's CPU while a run waits 10 s for a pick, minimised
    double toolMoving = -1;             // the tool's own share of the moving figure below
    // The tool, the simulator and the Wine server, in shares of a core: waiting minimised less idle
    // minimised, with the pointer at rest (10 s) and moving over the CAD program (5 s).
    double desktopRest = -1, desktopMoving = -1, movesPerSecond = 0;
    double restParts[3] = {};         // of desktopRest: the tool, the simulator, the Wine server
    std::vector<double> floor;        // a bare sender's records from the pick noticed to CIRCLE
    std::vector<double> floorNotice;  // the bare sender's click to the pick noticed (1 ms reads)
    Runs first, later, region;
    double readsPerSecond = 0, readMsPerSecond = 0, cpuShare = 0, longestMessageWaitMs = 0;
    double bannerCpuMs = 0, frozenCpuMs = 0;  // in kFrozenMs
    double frozenLongestMessageWaitMs = 0;
    bool ok = false;
};

// One tool with one simulator: the three kinds of run, then the idle wait.
ModeFigures Measure(const std::string& bin, const std::string& script, const char* exe, bool trace, bool startFigures) {
    ModeFigures figures;
    testsupport::CadsimProcess cad({"--drawing", bin + "samples\\regions.txt", "--user", script, "--log-busy"});
    if (!cad.Ready()) {
        std::printf("the simulator did not start: %s\n", cad.Failure().c_str());
        return figures;
    }
    // A copy under a name of its own, so that its Linux process can be told from any other tool's.
    const std::string unique = "TavroWorkflowBench" + std::to_string(::GetCurrentProcessId()) + ".exe";
    ::CopyFileA((bin + exe).c_str(), (bin + unique).c_str(), FALSE);
    struct RemoveCopy {
        std::string path;
        ~RemoveCopy() { ::DeleteFileA(path.c_str()); }
    } removeCopy{bin + unique};
    bench::StartedTool tool = bench::StartTool(bin, kTitle, unique.c_str());
    HWND window = tool.window;
    HWND execute = window ? Control(window, 106) : nullptr;
    HWND faceCentre = window ? Control(window, 107) : nullptr;
    HWND size = window ? Control(window, 101) : nullptr;
    if (!execute || !faceCentre || !size) {
        std::printf("the tool's window did not appear\n");
        if (tool.process)
            ::TerminateProcess(tool.process.Get(), 1);
        return figures;
    }
    ::SendMessageA(size, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
    const LinuxCpu cpu(unique);

    // The picks are real clicks, a moment after the pick prompt shows: a scripted user acts before
    // the tool has even looked at the prompt after typing ID, which no person does.
    const POINT pickOnScreen = cad.Windows().ScreenPoint(80, 70);
    double pickedAt = 0;
    auto pickWhenAsked = [&] {
        if (cad.Prompt().rfind(kPickPrompt, 0) != 0)
            return false;
        const double shown = NowMs();
        while (NowMs() - shown < kPickDelayMs)
            ::Sleep(1);
        pickedAt = ClickAt(pickOnScreen);
        return true;
    };

    // The floor: the records the tool typed after the pick in the run just before, typed by a bare
    // sender with one prompt read after each, from the same click on the same simulator. Each floor
    // run follows a run of the tool's, so that both meet the same drawing and the same machine.
    std::size_t floorRecords = 0;
    std::string floorLog;  // the last floor run's records, for the trace
    double floorNoticedMs = 0;
    auto floorRun = [&](const std::string& log) {
        std::vector<std::string> records = Records(log);
        const auto pickRecord = std::find_if(records.begin(), records.end(), [](const std::string& r) {
            return r.size() >= 8 && r[0] == 3 && r[2] == 'I' && r[4] == 'D';
        });
        const auto circleRecord = std::find_if(records.begin(), records.end(), [](const std::string& r) {
            return r.size() >= 14 && r[2] == 'C' && r[4] == 'I' && r[6] == 'R';
        });
        if (pickRecord == records.end() || circleRecord == records.end() || pickRecord > circleRecord)
            return;
        const std::vector<std::string> afterPick(pickRecord + 1, circleRecord + 1);
        floorRecords = afterPick.size();
        auto send = [&](const std::string& bytes) {
            COPYDATASTRUCT record{1, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
            ::SendMessageW(cad.Windows().mainFrame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
        };
        ::Sleep(300);
        send(*pickRecord);
        testsupport::CadsimProcess::WaitUntil([&] { return cad.Prompt().rfind(kPickPrompt, 0) == 0; });
        ::Sleep(static_cast<DWORD>(kPickDelayMs));
        const double picked = ClickAt(pickOnScreen);
        // The pick is waited for the cheapest way, so that a spin of reads does not hold up the
        // simulator's own handling of the click; only the records are timed.
        while (cad.Prompt().rfind(kPickPrompt, 0) == 0 && NowMs() - picked < 5000)
            ::Sleep(1);
        const std::size_t floorLogStart = cad.LogContent().size();
        const double noticed = NowMs();
        for (const std::string& record : afterPick) {
            send(record);
            cad.Prompt();
        }
        double arrived = NowMs();
        if (const double handled = CircleHandledAt(cad.LogContent().substr(floorLogStart)))
            arrived = handled;
        floorLog = cad.LogContent().substr(floorLogStart);
        floorNoticedMs = noticed;
        figures.floor.push_back(arrived - noticed);
        figures.floorNotice.push_back(noticed - picked);
        // Untimed, the settings go back as the tool put them back: its next run meets them as the user has them.
        for (auto record = circleRecord + 1; record != records.end(); ++record) {
            send(*record);
            cad.Prompt();
        }
        ::Sleep(100);
    };

    bool faceCentreRuns = true;
    auto timeRuns = [&](int count, bool firstRuns, bool withFloor) {
        Runs runs;
        for (int run = 0; run < count; ++run) {
            if (firstRuns)
                RemoveReports();
            const std::size_t logStart = cad.LogContent().size();
            const int before = Count(cad.LogContent(), "type=circle");
            const double start = NowMs();
            ::PostMessageA(execute, BM_CLICK, 0, 0);
            double arrived = 0;
            unsigned long long logSize = FileSize(cad.LogPath());
            bool picked = !faceCentreRuns;
            while (NowMs() - start < 30000) {
                if (!picked)
                    picked = pickWhenAsked();
                const unsigned long long now = FileSize(cad.LogPath());
                if (now != logSize) {
                    logSize = now;
                    if (Count(cad.LogContent(), "type=circle") > before) {
                        arrived = NowMs();
                        break;
                    }
                }
                ::Sleep(1);
            }
            if (arrived == 0)
                break;
            const std::string log = cad.LogContent().substr(logStart);
            const double userAt = faceCentreRuns ? pickedAt : LastUserActionMs(log);
            if (const double handled = CircleHandledAt(log))
                arrived = handled;
            runs.fromClick.push_back(arrived - start);
            if (userAt > 0)
                runs.fromUser.push_back(arrived - userAt);
            if (const double taken = faceCentreRuns ? PickTakenAt(log) : 0)
                runs.fromPickTaken.push_back(arrived - taken);
            // The run ends by restoring the window; the next click must not fall into it.
            testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); });
            ::Sleep(100);
            runs.lastLog = cad.LogContent().substr(logStart);
            runs.lastClickMs = start;
            if (withFloor)
                floorRun(runs.lastLog);
        }
        return runs;
    };
    figures.first = timeRuns(kFirstRuns, true, false);
    figures.later = timeRuns(kRuns, false, startFigures);
    if (trace) {
        std::printf("  the last later face-centre run (%s), as the simulator handled it:\n", exe);
        PrintTrace(figures.later.lastLog, figures.later.lastClickMs);
    }
    if (floorRecords > 0)
        std::printf("  the floor types %zu records after the pick\n", floorRecords);
    if (trace && !floorLog.empty()) {
        std::printf("  the last floor run, from the pick noticed, as the simulator handled it:\n");
        PrintTrace(floorLog, floorNoticedMs);
    }
    ::SendMessageA(faceCentre, BM_SETCHECK, BST_UNCHECKED, 0);
    faceCentreRuns = false;
    figures.region = timeRuns(kRuns, false, false);

    ::SendMessageA(faceCentre, BM_SETCHECK, BST_CHECKED, 0);
    if (startFigures) {
        // From the start of a run to the pick being asked; the user then presses Esc in the CAD program.
        // The pick is asked when the simulator's prompt asks for a point.
        auto timeStarts = [&](Start how) {
            std::vector<double> values;
            for (int run = 0; run < kRuns; ++run) {
                ::Sleep(700);  // no double click with the run before
                ::SetCursorPos(pickOnScreen.x, pickOnScreen.y);
                const double start = StartRun(execute, how, pickOnScreen);
                bool asked = false;
                while (!asked && NowMs() - start < 5000) {
                    asked = cad.Prompt().rfind(kPickPrompt, 0) == 0;
                    if (!asked)
                        ::Sleep(1);
                }
                if (asked)
                    values.push_back(NowMs() - start);  // a click the window did not take is left out
                ::Sleep(50);
                cad.Type("\x03");
                testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); });
            }
            return values;
        };
        figures.toPickLeaving = timeStarts(Start::ClickThenLeave);
        figures.toPickResting = timeStarts(Start::ClickAndRest);
        figures.toPickEnter = timeStarts(Start::Enter);

        // The whole desktop's CPU: minimised and idle, then minimised and waiting 10 s for a pick,
        // nothing sent to the tool meanwhile; each with the pointer at rest and then moving.
        const LinuxCpu simCpu(bin + "samples\\regions.txt");
        const char* serverPid = std::getenv("TAVRO_BENCH_WINESERVER_PID");
        const LinuxCpu serverCpu(serverPid ? std::strtoul(serverPid, nullptr, 10) : 0ul);
        auto desktopMs = [&] { return cpu.Ms() + simCpu.Ms() + serverCpu.Ms(); };
        RECT cadRect{};
        ::GetWindowRect(cad.Windows().mainFrame, &cadRect);
        struct Share {
            double rest, moving, toolRest, toolMoving, simRest, serverRest;
        };
        auto measureShares = [&] {
            Share share{};
            const double restAt = desktopMs(), toolAt = cpu.Ms(), simAt = simCpu.Ms(), serverAt = serverCpu.Ms();
            const double restStart = NowMs();
            ::Sleep(10000);
            share.rest = (desktopMs() - restAt) / (NowMs() - restStart);
            share.toolRest = (cpu.Ms() - toolAt) / (NowMs() - restStart);
            share.simRest = (simCpu.Ms() - simAt) / (NowMs() - restStart);
            share.serverRest = (serverCpu.Ms() - serverAt) / (NowMs() - restStart);
            const double movingAt = desktopMs(), toolMovingAt = cpu.Ms(), movingStart = NowMs();
            figures.movesPerSecond = MovePointer(cadRect);
            share.moving = (desktopMs() - movingAt) / (NowMs() - movingStart);
            share.toolMoving = (cpu.Ms() - toolMovingAt) / (NowMs() - movingStart);
            return share;
        };
        ::Sleep(700);
        ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ::Sleep(500);
        const Share idle = measureShares();
        ::PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        ::Sleep(700);
        ::PostMessageA(execute, BM_CLICK, 0, 0);
        testsupport::CadsimProcess::WaitUntil([&] { return cad.Prompt().rfind(kPickPrompt, 0) == 0; });
        ::Sleep(300);
        const Share waiting = measureShares();
        if (cpu.Found())
            figures.minimizedWaitCpuShare = waiting.toolRest;
        if (cpu.Found())
            figures.toolMoving = waiting.toolMoving - idle.toolMoving;
        if (cpu.Found() && simCpu.Found() && serverPid) {
            figures.desktopRest = waiting.rest - idle.rest;
            figures.restParts[0] = waiting.toolRest - idle.toolRest;
            figures.restParts[1] = waiting.simRest - idle.simRest;
            figures.restParts[2] = waiting.serverRest - idle.serverRest;
            figures.desktopMoving = waiting.moving - idle.moving;
        }
        cad.Type("\x03");
        testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); });
        ::Sleep(700);
    }

    // A face-centre run that waits for a pick: nothing but the tool reads the prompt meanwhile.
    ::PostMessageA(execute, BM_CLICK, 0, 0);
    testsupport::CadsimProcess::WaitUntil([&] { return cad.Prompt().rfind(kPickPrompt, 0) == 0; });
    ::Sleep(300);
    const std::size_t logStart = cad.LogContent().size();
    const double cpuBefore = cpu.Ms();
    const double start = NowMs();
    double longest = 0;
    while (NowMs() - start < kIdleWaitMs) {
        const double sent = NowMs();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        longest = std::max(longest, NowMs() - sent);
        ::Sleep(1);
    }
    const double seconds = (NowMs() - start) / 1000.0;
    const double cpuUsed = cpu.Ms() - cpuBefore;
    const std::string waitLog = cad.LogContent().substr(logStart);
    int reads = 0;
    double readMs = 0;
    for (std::size_t at = waitLog.find("busy gettext "); at != std::string::npos;
         at = waitLog.find("busy gettext ", at + 1)) {
        ++reads;
        readMs += std::strtod(waitLog.c_str() + waitLog.find(" ms=", at) + 4, nullptr);
    }
    figures.readsPerSecond = reads / seconds;
    figures.readMsPerSecond = readMs / seconds;
    figures.cpuShare = cpu.Found() ? cpuUsed / (seconds * 1000.0) : -1;
    figures.longestMessageWaitMs = longest;
    cad.Type("\x03");  // ends the pick; the run then stops
    testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); });
    cad.Close();

    // The tool's CPU in 5 s of the banner alone, then in 5 s from an Execute click while the CAD
    // program is frozen at the pick prompt.
    const std::string freezeScript = script + ".freeze.txt";
    {
        std::ofstream user(freezeScript, std::ios::binary | std::ios::trunc);
        user << "freeze " << kFrozenMs << " at " << kPickPrompt << "\n";
    }
    testsupport::CadsimProcess frozen({"--drawing", bin + "samples\\regions.txt", "--user", freezeScript});
    if (frozen.Ready()) {
        double cpuAt = cpu.Ms();
        ::Sleep(kFrozenMs);
        figures.bannerCpuMs = cpu.Ms() - cpuAt;
        cpuAt = cpu.Ms();
        ::PostMessageA(execute, BM_CLICK, 0, 0);
        // Every 10 ms a message to the tool's window: how long it waits is the longest single call
        // the window's thread was inside meanwhile.
        const double frozenStart = NowMs();
        while (NowMs() - frozenStart < kFrozenMs) {
            const double sent = NowMs();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            figures.frozenLongestMessageWaitMs = std::max(figures.frozenLongestMessageWaitMs, NowMs() - sent);
            ::Sleep(10);
        }
        figures.frozenCpuMs = cpu.Ms() - cpuAt;
        // The run waits on for the pick once the CAD program answers again: Esc ends it.
        testsupport::CadsimProcess::WaitUntil([&] { return frozen.Prompt().rfind(kPickPrompt, 0) == 0; }, 20000);
        frozen.Type("\x03");
        testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); }, 20000);
    }

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(tool.process.Get(), 10000);
    figures.ok = true;
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    // --trace prints the last later face-centre run as the simulator handled it; --exe NAME times
    // another build of the tool (an earlier one, copied beside this exe) in place of Tavro.exe.
    bool trace = false;
    std::string exe = "Tavro.exe";
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--trace")
            trace = true;
        else if (std::string(argv[i]) == "--exe" && i + 1 < argc)
            exe = argv[++i];
    }
    const std::string bin = OwnFolder();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    const std::string script = std::string(temp) + "tavro-workflow-bench-user.txt";
    {
        std::ofstream user(script, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < kRuns; ++i)
            user << "select 20,15\nenter\n";
    }

    const ModeFigures ours = Measure(bin, script, exe.c_str(), trace, true);
    // The benchmark build, whose look pace brings back 200 ms between looks when asked.
    ::SetEnvironmentVariableA("TAVRO_FIXED_SLEEPS", "1");
    const ModeFigures fixed = Measure(bin, script, "TavroBannerBench.exe", trace, false);
    ::SetEnvironmentVariableA("TAVRO_FIXED_SLEEPS", nullptr);
    if (!ours.ok || !fixed.ok)
        return 1;

    const std::string oursLabel = exe == "Tavro.exe" ? std::string("looks 10 ms") : exe;
    const char* kOurs = oursLabel.c_str();
    const char kFixed[] = "200 ms sleeps";
    std::printf("From the user's pick (face-centre) or the end of the selection (region) to the CIRCLE record:\n");
    const struct {
        const char* what;
        const Runs& ours;
        const Runs& fixed;
    } kinds[] = {
        {"face-centre, first run (new report)", ours.first, fixed.first},
        {"face-centre, later runs (replace)", ours.later, fixed.later},
        {"region pass", ours.region, fixed.region},
    };
    for (const auto& kind : kinds) {
        PrintFigure(kind.what, kOurs, kind.ours.fromUser);
        PrintFigure(kind.what, kFixed, kind.fixed.fromUser);
        if (!kind.ours.fromUser.empty() && !kind.fixed.fromUser.empty())
            std::printf("  %-34s ratio %.3f\n", "", Median(kind.ours.fromUser) / Median(kind.fixed.fromUser));
    }
    // The tool lets the double-click time pass before it asks for anything, so that the rest of a
    // double click cannot become the pick: the figures from the user's action above leave it out.
    std::printf("From the Execute click to the CIRCLE record (with the %u ms double-click time the tool lets pass):\n",
                ::GetDoubleClickTime());
    for (const auto& kind : kinds) {
        PrintFigure(kind.what, kOurs, kind.ours.fromClick);
        PrintFigure(kind.what, kFixed, kind.fixed.fromClick);
    }
    std::printf("From the release of the click or the Enter key on Execute to the pick being asked (%s):\n", kOurs);
    PrintFigure("click, the pointer leaving at once", "", ours.toPickLeaving);
    PrintFigure("click, the pointer resting", "", ours.toPickResting);
    PrintFigure("Enter", "", ours.toPickEnter);
    std::printf(
        "From the user's pick to the CIRCLE record, the tool (later runs) and a bare sender of the same records:\n");
    PrintFigure("pick to CIRCLE", kOurs, ours.later.fromUser);
    // The floor's whole pick to CIRCLE, run by run: its noticing and its records.
    std::vector<double> floorWhole(ours.floor.size());
    for (std::size_t run = 0; run < floorWhole.size(); ++run)
        floorWhole[run] = ours.floorNotice[run] + ours.floor[run];
    PrintFigure("pick to CIRCLE", "floor", floorWhole);
    PrintFigure("  of it pick to pick noticed", "floor", ours.floorNotice);
    PrintFigure("  of it pick noticed to CIRCLE", "floor", ours.floor);
    PrintFigure("pick taken by the CAD to CIRCLE", kOurs, ours.later.fromPickTaken);
    // Both from the same click: the floor notices the pick by a prompt read every millisecond,
    // about as soon as the tool does. The records alone leave out the floor's noticing, not the tool's.
    if (!ours.later.fromUser.empty() && !floorWhole.empty())
        std::printf("  %-34s ratio %.3f (the records alone: %.3f from the pick taken)\n", "",
                    Median(ours.later.fromUser) / Median(floorWhole),
                    ours.later.fromPickTaken.empty() ? 0.0 : Median(ours.later.fromPickTaken) / Median(ours.floor));
    std::printf(
        "Whole desktop (tool, simulator, Wine server) while a run waits minimised, less the same with the tool "
        "idle: %.2f %% of a core, pointer at rest (10 s); %.2f %% moving over the CAD program (5 s, %.0f "
        "movements/s) (%s)\n",
        100 * ours.desktopRest, 100 * ours.desktopMoving, ours.movesPerSecond, kOurs);
    std::printf("  of it at rest: the tool %.2f %%, the simulator %.2f %%, the Wine server %.2f %%\n",
                100 * ours.restParts[0], 100 * ours.restParts[1], 100 * ours.restParts[2]);
    std::printf("Tool CPU while a run waits 10 s for a pick, minimised, nothing sent to it: %.2f %% of a core (%s)\n",
                100 * ours.minimizedWaitCpuShare, kOurs);
    std::printf("Tool CPU alone while the pointer moves over a waiting run, less idle: %.2f %% of a core (%s)\n",
                100 * ours.toolMoving, kOurs);
    std::printf("While a run waits %lu ms for a pick that does not come:\n", kIdleWaitMs);
    for (const auto* f : {&ours, &fixed})
        std::printf(
            "  %-16s %5.1f prompt reads/s costing the simulator %.2f ms/s; tool CPU %.1f %% of a core; "
            "longest wait of a message sent to the tool's window %.1f ms\n",
            f == &ours ? kOurs : kFixed, f->readsPerSecond, f->readMsPerSecond, 100 * f->cpuShare,
            f->longestMessageWaitMs);
    std::printf("Tool CPU in %lu ms, banner alone / from an Execute click with the CAD program frozen at the pick:\n",
                kFrozenMs);
    for (const auto* f : {&ours, &fixed})
        std::printf("  %-16s %6.0f ms / %6.0f ms; longest wait of a message sent to the tool's window %.1f ms\n",
                    f == &ours ? kOurs : kFixed, f->bannerCpuMs, f->frozenCpuMs, f->frozenLongestMessageWaitMs);
    return 0;
}
