// Prints what the CAD host simulator costs per command with a small drawing and history and with a
// large one (10,000 shapes, 100,000 history lines by default): a prompt read, a history copy, a
// boundary, a mass-properties report written to a file, and a circle. The figures are the
// simulator's own time (its --log-busy lines: the message handling, and the repaints it causes) and
// the time the sender waited. Figures, not a test. Usage: cadsim_bench.exe [SHAPES HISTORY_LINES]

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cadsim_process.h"

namespace {

using testsupport::CadsimProcess;

constexpr double kPitch = 10;
constexpr double kSide = 8;
// Long enough for the repaints a batch caused to be done and logged.
constexpr DWORD kSettleMs = 400;

struct Size {
    int shapes;
    int historyLines;
};

// Square regions in rows; returns the centre of the one in the middle.
std::string WriteDrawing(const std::string& path, int shapes) {
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(shapes))));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    char line[160];
    for (int i = 0; i < shapes; ++i) {
        const double x = (i % columns) * kPitch;
        const double y = (i / columns) * kPitch;
        std::snprintf(line, sizeof line, "region %g,%g %g,%g %g,%g %g,%g\n", x, y, x + kSide, y, x + kSide, y + kSide,
                      x, y + kSide);
        file << line;
    }
    const int middle = shapes / 2;
    std::snprintf(line, sizeof line, "%g,%g", (middle % columns) * kPitch + kSide / 2,
                  (middle / columns) * kPitch + kSide / 2);
    return line;
}

struct Cost {
    double hostMs = 0;   // handling the messages the operation sent
    double paintMs = 0;  // repainting afterwards
    double waitMs = 0;   // the sender's wait
};

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// What the log got since the last look.
std::string NewLogText(const CadsimProcess& sim, long long& offset) {
    return testsupport::ReadFileFrom(sim.LogPath(), offset);
}

// Runs operation repeats times and splits the simulator's busy lines logged meanwhile.
Cost Measure(const CadsimProcess& sim, int repeats, const std::function<void()>& operation) {
    long long offset = 0;
    NewLogText(sim, offset);
    const double start = Now();
    for (int i = 0; i < repeats; ++i)
        operation();
    const double waited = Now() - start;
    ::Sleep(kSettleMs);
    const std::string log = NewLogText(sim, offset);
    Cost cost;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = log.find('\n', at);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(at, end - at);
        at = end + 1;
        if (line.rfind("busy ", 0) != 0)
            continue;
        const std::size_t ms = line.find(" ms=");
        if (ms == std::string::npos)
            continue;
        const double value = std::strtod(line.c_str() + ms + 4, nullptr);
        (line.rfind("busy paint ", 0) == 0 ? cost.paintMs : cost.hostMs) += value;
    }
    cost.hostMs /= repeats;
    cost.paintMs /= repeats;
    cost.waitMs = waited / repeats;
    return cost;
}

bool Run(const Size& size, std::map<std::string, Cost>& costs) {
    const std::string drawing = testsupport::CadsimTempPath("bench-drawing", ".txt");
    const std::string report = testsupport::CadsimTempPath("bench-report", ".mpr");
    const std::string inside = WriteDrawing(drawing, size.shapes);
    ::DeleteFileA(report.c_str());
    const double startAt = Now();
    CadsimProcess sim({"--drawing", drawing, "--history-lines", std::to_string(size.historyLines), "--log-busy"},
                      120000);
    if (!sim.Ready()) {
        std::printf("the simulator did not start: %s\n", sim.Failure().c_str());
        ::DeleteFileA(drawing.c_str());
        return false;
    }
    std::printf("%d shapes, %d history lines: ready after %.0f ms\n", size.shapes, size.historyLines, Now() - startAt);
    ::Sleep(kSettleMs);  // the first paint of the whole drawing is not a command's

    const HWND textWindow = sim.Windows().textWindow;
    costs["prompt read"] = Measure(sim, 200, [&] { sim.Prompt(); });
    costs["history copy"] = Measure(sim, 10, [&] { ::SendMessageA(textWindow, WM_COMMAND, 32781, 0); });
    costs["boundary"] = Measure(sim, 10, [&] {
        sim.Type("-BOUNDARY\r");
        sim.Type(inside + "\r");
        sim.Type("\r");
    });
    sim.Type("FILEDIA 0\r");
    costs["mass-properties report"] = Measure(sim, 10, [&] {
        sim.Type("_massprop\r");
        sim.Type(inside + "\r");
        sim.Type("\r");
        sim.Type("Y\r");
        sim.Type(report + "\r");
        if (sim.Prompt().find("置き換えますか") != std::string::npos)
            sim.Type("Y\r");
    });
    costs["circle"] = Measure(sim, 20, [&] { sim.Type("CIRCLE " + inside + " 3\r"); });
    const bool idle = sim.Prompt() == "コマンド: ";
    if (!idle)
        std::printf("  the command line did not end idle: \"%s\"\n", sim.Prompt().c_str());
    sim.Close();
    ::DeleteFileA(drawing.c_str());
    ::DeleteFileA(report.c_str());
    return idle;
}

}  // namespace

int main(int argc, char** argv) {
    const Size small{10, 10};
    const Size large{argc > 2 ? std::atoi(argv[1]) : 10000, argc > 2 ? std::atoi(argv[2]) : 100000};
    if (large.shapes < 1 || large.historyLines < 0) {
        std::printf("usage: cadsim_bench.exe [SHAPES HISTORY_LINES]\n");
        return 2;
    }
    std::map<std::string, Cost> smallCosts;
    std::map<std::string, Cost> largeCosts;
    if (!Run(small, smallCosts) || !Run(large, largeCosts))
        return 1;
    std::printf("\nms per command: the simulator's handling + its repaints (the sender's wait)\n");
    std::printf("%-24s %26s %26s %8s\n", "command", "10 shapes, 10 lines", "large", "ratio");
    for (const auto& [name, one] : smallCosts) {
        const Cost& many = largeCosts[name];
        const double a = one.hostMs + one.paintMs;
        const double b = many.hostMs + many.paintMs;
        std::printf("%-24s %8.3f + %6.3f (%6.2f) %8.3f + %6.3f (%6.2f) %8.2f\n", name.c_str(), one.hostMs, one.paintMs,
                    one.waitMs, many.hostMs, many.paintMs, many.waitMs, a > 0 ? b / a : 0.0);
    }
    return 0;
}
