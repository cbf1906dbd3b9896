#pragma once
// Runs the CAD host simulator (cadsim.exe, beside the test program) for a test: starts it with the
// given options, waits until its ready file says which windows it opened, and closes it again.

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Owns a kernel handle (process, thread, job, file); closed with CloseHandle.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset();

private:
    HANDLE handle_ = nullptr;
};

// What the simulator wrote to its ready file; null for windows its layout leaves out.
struct CadsimWindows {
    DWORD processId = 0;
    HWND mainFrame = nullptr;
    HWND textWindow = nullptr;
    HWND palette = nullptr;
    HWND promptWindow = nullptr;
    HWND historyPane = nullptr;
    bool mainUnicode = false;
    RECT drawingArea{};  // screen pixels; empty without a main frame
    double viewScale = 0;
    double viewOriginX = 0;
    double viewOriginY = 0;

    // The screen pixel that shows the drawing point x,y.
    POINT ScreenPoint(double x, double y) const;
};

// Reads "Key=hex" lines, and the decimal "DrawingArea=l,t,r,b" and "View=scale,x,y". False, with
// error set, when a key is missing or repeated or a value cannot be read.
bool ParseReadyFile(const std::string& content, CadsimWindows& windows, std::string& error);

// One line of the simulator's log: a WM_COPYDATA record or a WM_COMMAND it received.
struct ReceivedRecord {
    enum class Kind { CopyData, Command } kind = Kind::CopyData;
    HWND window = nullptr;
    bool hasRecord = true;          // CopyData: false for a WM_COPYDATA without a record
    unsigned long long dwData = 0;  // CopyData
    unsigned long cbData = 0;       // CopyData
    std::string data;               // CopyData: the payload bytes
    unsigned long long wParam = 0;  // Command
    long long lParam = 0;           // Command
};

// Reads the log's message lines ("copydata", "command"), passing over the lines of what the
// simulator did (see LogEvents). False, with error set, at a line it cannot read.
bool ParseRecordLog(const std::string& content, std::vector<ReceivedRecord>& records, std::string& error);
// The non-empty lines of a log or ready file, without their line ends.
std::vector<std::string> LogLines(const std::string& content);

// The log's lines that begin with prefix (for example "entity created "), without their line ends,
// in order: what the simulator did with the drawing, its variables, report files and the user.
std::vector<std::string> LogEvents(const std::string& content, const std::string& prefix);

// The path of a sample drawing (or any file) in the samples folder beside the test program.
std::string CadsimSamplePath(const std::string& name);

// A path in the temporary folder for a file of the test's own, unique within the test process
// (code page 932); nothing is created.
std::string CadsimTempPath(const std::string& stem, const std::string& extension);

// How a simulator run ended.
struct ProcessEnd {
    bool endedInTime = false;  // false: it had to be terminated
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;      // from the request (or the start) to the end
    std::string errorOutput;  // what it wrote to standard error
};

class CadsimProcess {
public:
    // Starts cadsim.exe with options (code-page-932 bytes, as on its command line) plus ready-file
    // and log options of its own, and waits at most readyTimeoutMs for the ready file.
    explicit CadsimProcess(const std::vector<std::string>& options, DWORD readyTimeoutMs = 20000);
    // Closes the simulator if it still runs.
    ~CadsimProcess();
    CadsimProcess(const CadsimProcess&) = delete;
    CadsimProcess& operator=(const CadsimProcess&) = delete;

    bool Ready() const { return ready_; }
    // Why the simulator is not ready: start failure, early exit (with its error output), time-out.
    const std::string& Failure() const { return failure_; }
    const CadsimWindows& Windows() const { return windows_; }

    // Everything the simulator logged so far (see ParseRecordLog).
    std::string LogContent() const;
    const std::wstring& LogPath() const { return logPath_; }

    // Sends keystrokes (code page 932) to the main frame as one WM_COPYDATA record, the way the
    // tool does: UTF-16 for a Unicode main frame, else the bytes, with the terminating zero.
    bool Type(const std::string& keys) const;

    // The prompt window's text (WM_GETTEXT, code page 932).
    std::string Prompt() const;

    // Polls every 20 ms until condition() holds; false after timeoutMs (long enough for a loaded
    // machine: a wait that passes costs only the time the state takes to come).
    template <typename Condition>
    static bool WaitUntil(Condition condition, DWORD timeoutMs = 30000) {
        const DWORD start = ::GetTickCount();
        while (!condition()) {
            if (::GetTickCount() - start >= timeoutMs)
                return false;
            ::Sleep(20);
        }
        return true;
    }

    // Posts WM_CLOSE to the main frame (or the lone text window) and waits up to timeoutMs for the
    // process to end; terminates it only when it does not. A second call returns the first result.
    ProcessEnd Close(DWORD timeoutMs = 10000);

    // Runs cadsim.exe with exactly these options until it ends by itself (for options it must
    // refuse); terminated after timeoutMs.
    static ProcessEnd RunToExit(const std::vector<std::string>& options, DWORD timeoutMs);

private:
    bool Start(const std::vector<std::string>& options);
    void WaitUntilReady(DWORD timeoutMs);

    UniqueHandle job_;
    UniqueHandle process_;
    std::wstring readyPath_;
    std::wstring errorPath_;
    std::wstring logPath_;
    CadsimWindows windows_;
    bool ready_ = false;
    bool closed_ = false;
    ProcessEnd end_;
    std::string failure_;
};

// What a file (a simulator's log) got since offset, which moves past it: read piecewise, since the
// log of a large drawing or a long session is megabytes. Empty when the file cannot be opened.
std::string ReadFileFrom(const std::wstring& path, long long& offset);

}  // namespace testsupport
