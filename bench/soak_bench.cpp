// A long run: the tool makes N continuous region passes against the simulator's scripted user,
// and every 100 passes this prints the tool's memory (private bytes, working set), its object
// counts and the mean pass time, to show whether they stay flat; at the end, the ratio of the
// last hundred passes to the first. Figures, not a test. bench/soak.sh adds the CPU time per pass
// of the tool and of the simulator beside each line: Wine's GetProcessTimes does not give another
// process's own times. With --sampled, each figures line waits for a line on standard input, which
// the script sends once it has read both processes' times: the samples are then taken while the
// tool and the simulator still run, the last one too.
// With --history-keep K the simulator holds at most K history lines, as a CAD program with a fixed
// history size does, so that what grows with the history shows apart from the rest.
// Usage: soak_bench.exe N [--sampled] [--history-keep K]

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_windows.h"
#include "cadsim_process.h"
#include "gui_objects.h"

namespace {

using bench::Control;
using bench::OwnFolder;

const char kTitle[] = "図心位置に円を描く";
constexpr int kEvery = 100;
constexpr DWORD kStallMs = 30000;
constexpr int kCycles = 100;
constexpr int kDpiRoundTrips = 20;

// Counts circles in the simulator's log as it grows, reading only what is new: the log of a long
// run is megabytes, and reading it whole at every look would cost more than the passes.
class CircleCounter {
public:
    explicit CircleCounter(const std::wstring& path) : path_(path) {}

    int Count() {
        pending_ += testsupport::ReadFileFrom(path_, offset_);
        // Whole lines only; a line still being written waits for the next look.
        std::size_t start = 0;
        for (std::size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n', start)) {
            if (pending_.find("type=circle", start) < end)
                ++circles_;
            start = end + 1;
        }
        pending_.erase(0, start);
        return circles_;
    }

private:
    std::wstring path_;
    long long offset_ = 0;
    std::string pending_;
    int circles_ = 0;
};

// Waits for the line that says the figures just printed have been sampled; an ended or broken
// input ends the wait too, so that a script gone away cannot hold the run.
void AwaitSample(bool sampled) {
    if (!sampled)
        return;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    char byte = 0;
    DWORD read = 0;
    while (input && input != INVALID_HANDLE_VALUE && ::ReadFile(input, &byte, 1, &read, nullptr) && read == 1 &&
           byte != '\n') {
    }
}

struct Sample {
    int passes = 0;
    double seconds = 0;
    SIZE_T privateBytes = 0;  // PrivateUsage, or PagefileUsage (the same commit charge) where that is all there is
    SIZE_T workingSet = 0;
    testsupport::GdiObjects gdi;
    long userObjects = -1;
    DWORD handles = 0;
};

Sample Measure(HANDLE process, int passes, DWORD startTick) {
    Sample sample;
    sample.passes = passes;
    sample.seconds = (::GetTickCount() - startTick) / 1000.0;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        sample.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
        sample.workingSet = memory.WorkingSetSize;
    }
    sample.gdi = testsupport::CountGdiObjects(process);
    sample.userObjects = testsupport::UserObjectCount(process);
    ::GetProcessHandleCount(process, &sample.handles);
    return sample;
}

// previous: the sample before, for the mean pass time since it (a pass that grows slower shows here).
void Print(const Sample& s, const Sample* previous) {
    std::printf("%6d passes %8.1f s", s.passes, s.seconds);
    if (previous && s.passes > previous->passes)
        std::printf("  %6.0f ms/pass", 1000.0 * (s.seconds - previous->seconds) / (s.passes - previous->passes));
    else
        std::printf("  %14s", "");
    std::printf("  private %8.0f KB  working set %8.0f KB", s.privateBytes / 1024.0, s.workingSet / 1024.0);
    if (s.handles)
        std::printf("  handles %5lu", static_cast<unsigned long>(s.handles));
    if (s.gdi.total >= 0)
        std::printf("  GDI %5ld (%s)", s.gdi.total, s.gdi.Kinds().c_str());
    if (s.userObjects >= 0)
        std::printf("  USER %5ld", s.userObjects);
    else
        std::printf("  USER -");
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int passes = argc > 1 ? std::atoi(argv[1]) : 1000;
    bool sampled = false;
    std::string historyKeep;
    bool usage = passes < 1;
    for (int i = 2; i < argc && !usage; ++i) {
        if (std::string(argv[i]) == "--sampled")
            sampled = true;
        else if (std::string(argv[i]) == "--history-keep" && i + 1 < argc)
            historyKeep = argv[++i];
        else
            usage = true;
    }
    if (usage) {
        std::printf("usage: soak_bench.exe N [--sampled] [--history-keep K] (N passes, at least 1)\n");
        return 2;
    }
    const std::string bin = OwnFolder();
    const std::string script = testsupport::CadsimTempPath("soak-user", ".txt");
    {
        // The region is selected again and again; Esc at the selection after the last pass ends the run.
        std::ofstream user(script, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < passes; ++i)
            user << "select 20,15\nenter\n";
        user << "esc at オブジェクトを選択\n";
    }
    std::vector<std::string> simulatorOptions{"--drawing", bin + "samples\\regions.txt", "--user", script};
    if (!historyKeep.empty())
        simulatorOptions.insert(simulatorOptions.end(), {"--history-keep", historyKeep});
    testsupport::CadsimProcess cad(simulatorOptions);
    if (!cad.Ready()) {
        std::printf("the simulator did not start: %s\n", cad.Failure().c_str());
        return 1;
    }

    bench::StartedTool tool = bench::StartTool(bin, kTitle);
    HWND window = tool.window;
    const HANDLE process = tool.process.Get();
    HWND execute = window ? Control(window, 106) : nullptr;
    HWND faceCentre = window ? Control(window, 107) : nullptr;
    HWND continuous = window ? Control(window, 104) : nullptr;
    HWND size = window ? Control(window, 101) : nullptr;
    if (!execute || !faceCentre || !continuous || !size) {
        std::printf("the tool's window did not appear\n");
        ::TerminateProcess(process, 1);
        return 1;
    }
    ::SendMessageA(size, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
    ::SendMessageA(faceCentre, BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageA(continuous, BM_SETCHECK, BST_CHECKED, 0);

    std::printf(
        "%d continuous region passes; the tool's figures every %d passes (private: PrivateUsage, or "
        "PagefileUsage where the platform leaves that empty; GDI: objects in the process's handle table, "
        "stock objects left out; USER where the platform counts them)\n",
        passes, kEvery);
    if (testsupport::UserObjectCount(process) < 0)
        std::printf("USER objects: GetGuiResources answers 0 on this platform (a stub under Wine), no count\n");
    std::vector<Sample> samples;
    CircleCounter counter(cad.LogPath());
    const DWORD start = ::GetTickCount();
    samples.push_back(Measure(process, 0, start));
    Print(samples.back(), nullptr);
    AwaitSample(sampled);
    ::PostMessageA(execute, BM_CLICK, 0, 0);

    int done = 0;
    DWORD lastProgress = ::GetTickCount();
    while (done < passes) {
        ::Sleep(50);
        const int now = counter.Count();
        if (now != done) {
            lastProgress = ::GetTickCount();
            for (int mark = done / kEvery + 1; mark <= now / kEvery; ++mark) {
                samples.push_back(Measure(process, mark * kEvery, start));
                Print(samples.back(), &samples[samples.size() - 2]);
                AwaitSample(sampled);
            }
            done = now;
        } else if (::GetTickCount() - lastProgress > kStallMs) {
            std::printf("no pass for %lu s after %d passes: stopped\n", kStallMs / 1000, done);
            break;
        }
    }
    if (done % kEvery != 0) {
        samples.push_back(Measure(process, done, start));
        Print(samples.back(), &samples[samples.size() - 2]);
        AwaitSample(sampled);
    }

    // Flat after warm-up: compare the first sample past the warm-up with the last.
    if (samples.size() >= 3) {
        const Sample& warm = samples[1];
        const Sample& last = samples.back();
        std::printf("after warm-up (pass %d to %d): private %+.0f KB, working set %+.0f KB\n", warm.passes, last.passes,
                    (static_cast<double>(last.privateBytes) - warm.privateBytes) / 1024.0,
                    (static_cast<double>(last.workingSet) - warm.workingSet) / 1024.0);
    }
    std::printf("mean pass %.1f ms\n", done ? samples.back().seconds * 1000.0 / done : 0.0);
    // The last full hundred against the first: 1 is flat, more is a cost that grows with the session.
    if (samples.size() >= 3 && samples.back().passes == samples[samples.size() - 2].passes + kEvery) {
        const Sample& first0 = samples[0];
        const Sample& first1 = samples[1];
        const Sample& last0 = samples[samples.size() - 2];
        const Sample& last1 = samples.back();
        std::printf("last hundred / first hundred: pass time %.2f\n",
                    (last1.seconds - last0.seconds) / (first1.seconds - first0.seconds));
    }

    // GDI objects over the first hundred passes and over the last: caches made once show in the
    // first, a leak per pass in both.
    if (samples.size() >= 3 && samples[1].gdi.total >= 0) {
        const Sample& last0 = samples[samples.size() - 2];
        const Sample& last1 = samples.back();
        std::printf("GDI objects: first hundred %+ld, last hundred %+ld (%ld at start, %ld now)\n",
                    samples[1].gdi.total - samples[0].gdi.total, last1.gdi.total - last0.gdi.total,
                    samples[0].gdi.total, last1.gdi.total);
    }

    testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); }, 10000);
    // What every run does to the window, without the runs, and moves between monitors: the count
    // is to come back.
    const std::string beforeCycles = testsupport::GuiFigures(process);
    testsupport::MinimiseRestore(window, kCycles);
    ::Sleep(500);
    const std::string afterCycles = testsupport::GuiFigures(process);
    std::printf("%d minimise/restore cycles: %s -> %s\n", kCycles, beforeCycles.c_str(), afterCycles.c_str());
    const bool dpiTaken = testsupport::DpiRoundTrips(window, process, kDpiRoundTrips, 106);
    ::Sleep(500);
    std::printf("%d DPI round trips (96 -> 144 -> 96)%s: %s -> %s\n", kDpiRoundTrips,
                dpiTaken ? "" : " NOT TAKEN by the window", afterCycles.c_str(),
                testsupport::GuiFigures(process).c_str());
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(process, 10000);
    ::DeleteFileA(script.c_str());
    return done == passes ? 0 : 1;
}
