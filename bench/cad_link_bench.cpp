// Prints what the CAD link costs against the simulator under Wine: the platform calls of one
// prompt read once the windows are known, and the median time of a prompt read and of a
// last-history-line read with histories of the lengths given on the command line (5,000 lines
// without one), beside the simulator's own time for copying its history and the tool's CPU time.
// Figures, not a test.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cadlink/cad_link.h"
#include "cadsim_process.h"
#include "text_conversion.h"
#include "win32_command_line.h"
#include "win32_window_system.h"

namespace {

constexpr int kDefaultHistoryLines = 5000;
constexpr int kPromptReads = 500;
constexpr int kHistoryReads = 50;

// Names the windows a call is about, so the count says which liveness test was made.
class WindowNames {
public:
    void Add(platform::WindowHandle window, const char* name) { names_[window] = name; }
    std::string Of(platform::WindowHandle window) const {
        const auto found = names_.find(window);
        return found == names_.end() ? "other window" : found->second;
    }

private:
    std::map<platform::WindowHandle, std::string> names_;
};

// Counts every call that passes through, by operation (and window or message), then passes it on.
class CallCounter {
public:
    void Count(const std::string& call) { ++counts_[call]; }
    void Reset() { counts_.clear(); }
    const std::map<std::string, int>& Counts() const { return counts_; }
    int Total() const {
        int total = 0;
        for (const auto& entry : counts_)
            total += entry.second;
        return total;
    }

private:
    std::map<std::string, int> counts_;
};

class CountingWindowSystem : public platform::WindowSystem {
public:
    CountingWindowSystem(platform::WindowSystem& inner, CallCounter& counter, const WindowNames& names)
        : inner_(inner), counter_(counter), names_(names) {}

    void EnumWindows(const platform::WindowVisitor& visit) override {
        counter_.Count("EnumWindows");
        inner_.EnumWindows(visit);
    }
    void EnumChildWindows(platform::WindowHandle parent, const platform::WindowVisitor& visit) override {
        counter_.Count("EnumChildWindows");
        inner_.EnumChildWindows(parent, visit);
    }
    int GetWindowTextA(platform::WindowHandle window, char* buffer, int count) override {
        counter_.Count("GetWindowTextA");
        return inner_.GetWindowTextA(window, buffer, count);
    }
    int GetWindowTextW(platform::WindowHandle window, char16_t* buffer, int count) override {
        counter_.Count("GetWindowTextW");
        return inner_.GetWindowTextW(window, buffer, count);
    }
    int GetClassNameA(platform::WindowHandle window, char* buffer, int count) override {
        counter_.Count("GetClassNameA");
        return inner_.GetClassNameA(window, buffer, count);
    }
    std::uint32_t GetWindowThreadProcessId(platform::WindowHandle window) override {
        counter_.Count("GetWindowThreadProcessId");
        return inner_.GetWindowThreadProcessId(window);
    }
    bool IsWindow(platform::WindowHandle window) override {
        counter_.Count("IsWindow(" + names_.Of(window) + ")");
        return inner_.IsWindow(window);
    }
    int CompareStringA(const char* left, int leftLength, const char* right, int rightLength) override {
        counter_.Count("CompareStringA");
        return inner_.CompareStringA(left, leftLength, right, rightLength);
    }

private:
    platform::WindowSystem& inner_;
    CallCounter& counter_;
    const WindowNames& names_;
};

std::string MessageName(unsigned message) {
    switch (message) {
        case platform::kWmGetText:
            return "WM_GETTEXT";
        case platform::kWmGetTextLength:
            return "WM_GETTEXTLENGTH";
        case platform::kWmCommand:
            return "WM_COMMAND";
        case platform::kWmNull:
            return "WM_NULL";
        default:
            return "message " + std::to_string(message);
    }
}

class CountingCommandLineSystem : public platform::CommandLineSystem {
public:
    CountingCommandLineSystem(platform::CommandLineSystem& inner, CallCounter& counter, const WindowNames& names)
        : inner_(inner), counter_(counter), names_(names) {}

    bool IsWindowUnicode(platform::WindowHandle window) override {
        counter_.Count("IsWindowUnicode(" + names_.Of(window) + ")");
        return inner_.IsWindowUnicode(window);
    }
    bool SetForegroundWindow(platform::WindowHandle window) override {
        counter_.Count("SetForegroundWindow");
        return inner_.SetForegroundWindow(window);
    }
    Delivery SendCopyData(platform::WindowHandle window, const platform::CopyDataRecord& record) override {
        counter_.Count("SendMessageA(WM_COPYDATA)");
        return inner_.SendCopyData(window, record);
    }
    void AnsweredIdle(platform::WindowHandle window) override { inner_.AnsweredIdle(window); }
    std::optional<std::intptr_t> SendMessageA(platform::WindowHandle window,
                                              unsigned message,
                                              std::uintptr_t wParam,
                                              std::intptr_t lParam) override {
        counter_.Count("SendMessageA(" + names_.Of(window) + ", " + MessageName(message) + ")");
        return inner_.SendMessageA(window, message, wParam, lParam);
    }
    std::optional<std::intptr_t> SendMessageW(platform::WindowHandle window,
                                              unsigned message,
                                              std::uintptr_t wParam,
                                              std::intptr_t lParam) override {
        counter_.Count("SendMessageW(" + names_.Of(window) + ", " + MessageName(message) + ")");
        return inner_.SendMessageW(window, message, wParam, lParam);
    }
    bool PostMessageA(platform::WindowHandle window,
                      unsigned message,
                      std::uintptr_t wParam,
                      std::intptr_t lParam) override {
        counter_.Count("PostMessageA(" + MessageName(message) + ")");
        return inner_.PostMessageA(window, message, wParam, lParam);
    }
    bool AnswersInTime(platform::WindowHandle window) override {
        counter_.Count("SendMessageCallbackA(WM_NULL)");
        return inner_.AnswersInTime(window);
    }
    bool AnswersNow(platform::WindowHandle window) override {
        counter_.Count("AnswersNow");
        return inner_.AnswersNow(window);
    }
    std::string WideToAnsi(const std::u16string& text) override {
        counter_.Count("WideCharToMultiByte");
        return inner_.WideToAnsi(text);
    }
    std::u16string AnsiToWide(const std::string& text) override {
        counter_.Count("MultiByteToWideChar");
        return inner_.AnsiToWide(text);
    }
    void Sleep(unsigned milliseconds) override {
        counter_.Count("Sleep");
        inner_.Sleep(milliseconds);
    }
    std::uint64_t GetTickCount64() override {
        counter_.Count("GetTickCount64");
        return inner_.GetTickCount64();
    }

private:
    platform::CommandLineSystem& inner_;
    CallCounter& counter_;
    const WindowNames& names_;
};

class CountingClipboard : public platform::Clipboard {
public:
    CountingClipboard(platform::Clipboard& inner, CallCounter& counter) : inner_(inner), counter_(counter) {}

    bool OwnerAnswers() override {
        counter_.Count("GetClipboardOwner and WM_NULL to its owner");
        return inner_.OwnerAnswers();
    }
    bool OpenClipboard() override {
        counter_.Count("OpenClipboard");
        return inner_.OpenClipboard();
    }
    bool CloseClipboard() override {
        counter_.Count("CloseClipboard");
        return inner_.CloseClipboard();
    }
    bool EmptyClipboard() override {
        counter_.Count("EmptyClipboard");
        return inner_.EmptyClipboard();
    }
    std::vector<unsigned> Formats() override {
        counter_.Count("EnumClipboardFormats (all)");
        return inner_.Formats();
    }
    bool GetClipboardData(unsigned format, std::string& bytes) override {
        counter_.Count("GetClipboardData");
        return inner_.GetClipboardData(format, bytes);
    }
    bool ViewClipboardData(unsigned format, const std::function<void(std::string_view)>& look) override {
        counter_.Count("GetClipboardData (viewed in place)");
        return inner_.ViewClipboardData(format, look);
    }
    bool SetClipboardData(unsigned format, const std::string& bytes) override {
        counter_.Count("SetClipboardData");
        return inner_.SetClipboardData(format, bytes);
    }

private:
    platform::Clipboard& inner_;
    CallCounter& counter_;
};

platform::WindowHandle Handle(HWND window) {
    return reinterpret_cast<platform::WindowHandle>(window);
}

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / frequency;
}

// CPU time of this thread, user and kernel, in milliseconds.
double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// Runs the operation count times; prints the median with the fastest and slowest run, and the
// mean CPU time this process spent per run.
void PrintTimes(const char* what, int count, const std::function<void()>& operation) {
    std::vector<double> times;
    const double cpuBefore = ThreadCpuMs();
    for (int i = 0; i < count; ++i) {
        const double start = NowMs();
        operation();
        times.push_back(NowMs() - start);
    }
    const double cpu = (ThreadCpuMs() - cpuBefore) / count;
    std::sort(times.begin(), times.end());
    std::printf("  %-46s median %8.3f ms (min %.3f, max %.3f, %d runs), tool CPU %.2f ms/run\n", what,
                times[times.size() / 2], times.front(), times.back(), count, cpu);
}

// The median time the simulator logged for handling the history copy requests.
double MedianHistoryCopyMs(const std::string& log) {
    std::vector<double> times;
    for (const std::string& line : testsupport::LogLines(log)) {
        if (line.rfind("busy command ms=", 0) == 0)
            times.push_back(std::strtod(line.c_str() + 16, nullptr));
    }
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void CountCalls(cadlink::CadLink& link, CallCounter& counter, const std::string& prompt) {
    counter.Reset();
    link.ReadPrompt();
    std::printf("One ReadPrompt once the windows are known (prompt \"%s\"): %d platform calls\n", prompt.c_str(),
                counter.Total());
    for (const auto& [call, count] : counter.Counts())
        std::printf("  %-52s %d\n", call.c_str(), count);
    std::printf("  goal: IsWindow of the main frame and of the prompt window, one WM_GETTEXT\n");

    counter.Reset();
    const std::string last = platform::AnsiFromWide(link.LastHistoryLine());
    std::printf("One LastHistoryLine with an empty clipboard before: %d platform calls (last line \"%s\")\n",
                counter.Total(), last.c_str());
    for (const auto& [call, count] : counter.Counts())
        std::printf("  %-52s %d\n", call.c_str(), count);
}

int Run(int historyLines, bool countCalls) {
    testsupport::CadsimProcess sim({"--history-lines", std::to_string(historyLines), "--log-busy"});
    if (!sim.Ready()) {
        std::fprintf(stderr, "cad_link_bench: the simulator did not start: %s\n", sim.Failure().c_str());
        return 1;
    }
    WindowNames names;
    names.Add(Handle(sim.Windows().mainFrame), "main frame");
    names.Add(Handle(sim.Windows().promptWindow), "prompt window");
    names.Add(Handle(sim.Windows().historyPane), "history pane");
    names.Add(Handle(sim.Windows().textWindow), "text window");

    platform::Win32WindowSystem windows;
    platform::Win32CommandLineSystem system;
    platform::Win32Clipboard clipboard;
    CallCounter counter;
    CountingWindowSystem countedWindows(windows, counter, names);
    CountingCommandLineSystem countedSystem(system, counter, names);
    CountingClipboard countedClipboard(clipboard, counter);
    cadlink::CadLink link(countedWindows, countedSystem, countedClipboard);

    // The user's clipboard is put back after each history read; start from an empty one so the
    // figures do not depend on what happens to be on it.
    if (clipboard.OpenClipboard()) {
        clipboard.EmptyClipboard();
        clipboard.CloseClipboard();
    }
    if (!link.ActivateCad()) {
        std::fprintf(stderr, "cad_link_bench: the simulator's main frame was not found\n");
        return 1;
    }
    const std::string prompt = platform::AnsiFromWide(link.ReadPrompt());  // the first read finds the windows
    if (countCalls)
        CountCalls(link, counter, prompt);

    std::printf("Times against the simulator with a %d-line history:\n", historyLines);
    PrintTimes("ReadPrompt", kPromptReads, [&] { link.ReadPrompt(); });
    std::size_t historyUnits = 0;
    PrintTimes("LastHistoryLine", kHistoryReads, [&] { link.LastHistoryLine(); });
    PrintTimes("  of it ReadHistory (the whole text)", kHistoryReads,
               [&] { historyUnits = link.ReadHistory().size(); });
    std::printf("  history text: %zu UTF-16 units; the simulator's own time to copy it: median %.3f ms\n", historyUnits,
                MedianHistoryCopyMs(sim.LogContent()));
    sim.Close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::vector<int> lengths;
        for (int i = 1; i < argc; ++i)
            lengths.push_back(std::atoi(argv[i]));
        if (lengths.empty())
            lengths.push_back(kDefaultHistoryLines);
        for (std::size_t i = 0; i < lengths.size(); ++i)
            if (Run(lengths[i], i == 0) != 0)
                return 1;
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cad_link_bench: %s\n", error.what());
    }
    return 1;
}
