// Times the tool's runs against the simulator under Wine, with the scripted user answering at
// once: from the Execute click to the CIRCLE record reaching the simulator, for face-centre runs
// and for single region passes, beside the floor that the 200 ms polls set. Figures, not a test.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cadsim_process.h"

namespace {

constexpr int kRuns = 11;
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

std::string Folder(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return Folder(path);
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

HWND Control(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(child) != s->id)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Report(const char* what, std::vector<double> times, double floorMs) {
    if (times.empty()) {
        std::printf("%s: no run finished\n", what);
        return;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-34s median %7.1f ms  (min %.1f, max %.1f, %zu runs)  floor %.0f ms  ratio %.3f\n", what, median,
                times.front(), times.back(), times.size(), floorMs, median / floorMs);
}

}  // namespace

int main() {
    const std::string bin = OwnFolder();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    const std::string script = std::string(temp) + "tavro-workflow-bench-user.txt";
    {
        std::ofstream user(script, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < kRuns; ++i)
            user << "pick 80,70\n";
        for (int i = 0; i < kRuns; ++i)
            user << "select 20,15\nenter\n";
    }
    testsupport::CadsimProcess cad({"--drawing", bin + "samples\\regions.txt", "--user", script});
    if (!cad.Ready()) {
        std::printf("the simulator did not start: %s\n", cad.Failure().c_str());
        return 1;
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION tavro{};
    std::string commandLine = "\"" + bin + "Tavro.exe\"";
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &tavro)) {
        std::printf("cannot start Tavro.exe\n");
        return 1;
    }
    HWND window = nullptr;
    // The window exists before its controls: wait until it is shown.
    testsupport::CadsimProcess::WaitUntil(
        [&] {
            window = ::FindWindowA(nullptr, kTitle);
            return window && ::IsWindowVisible(window);
        },
        30000);
    HWND execute = window ? Control(window, 106) : nullptr;
    HWND faceCentre = window ? Control(window, 107) : nullptr;
    HWND size = window ? Control(window, 101) : nullptr;
    if (!execute || !faceCentre || !size) {
        std::printf("the tool's window did not appear\n");
        ::TerminateProcess(tavro.hProcess, 1);
        return 1;
    }
    ::SendMessageA(size, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));

    auto timeRuns = [&](const char* what, double floorMs) {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            const int before = Count(cad.LogContent(), "type=circle");
            const double start = NowMs();
            ::PostMessageA(execute, BM_CLICK, 0, 0);
            double arrived = 0;
            unsigned long long size = FileSize(cad.LogPath());
            while (NowMs() - start < 30000) {
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
            times.push_back(arrived - start);
            // The run ends by restoring the window; the next click must not fall into it.
            testsupport::CadsimProcess::WaitUntil([&] { return !::IsIconic(window); });
            ::Sleep(100);
        }
        Report(what, times, floorMs);
    };

    timeRuns("face-centre run, click to CIRCLE", 2 * kPollMs);
    ::SendMessageA(faceCentre, BM_SETCHECK, BST_UNCHECKED, 0);
    timeRuns("region pass, click to CIRCLE", 1 * kPollMs);

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(tavro.hProcess, 10000);
    ::CloseHandle(tavro.hThread);
    ::CloseHandle(tavro.hProcess);
    return 0;
}
