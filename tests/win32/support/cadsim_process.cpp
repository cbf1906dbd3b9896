#include "cadsim_process.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace testsupport {
namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kTerminateWaitMs = 5000;
constexpr UINT kTerminatedExitCode = 0xDEAD;

std::wstring Wide(const std::string& bytes) {
    if (bytes.empty())
        return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], n);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    const int n =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], n, nullptr, nullptr);
    return bytes;
}

std::wstring ExeDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0)
            return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Quotes one argument so that the C runtime's command-line parsing hands it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    for (auto it = argument.begin();; ++it) {
        std::size_t backslashes = 0;
        while (it != argument.end() && *it == L'\\') {
            ++it;
            ++backslashes;
        }
        if (it == argument.end()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (*it == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        quoted.push_back(*it);
    }
    quoted.push_back(L'"');
    return quoted;
}

std::wstring TempFilePath(const wchar_t* kind) {
    static LONG counter = 0;
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
    const std::wstring base = (n > 0 && n <= MAX_PATH) ? std::wstring(folder, n) : std::wstring(L".\\");
    return base + L"cadsim-" + kind + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::InterlockedIncrement(&counter)) + L".txt";
}

std::string ReadWholeFile(const std::wstring& path) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content;
    if (!file)
        return content;
    char buffer[4096];
    DWORD got = 0;
    while (content.size() < (1u << 20) && ::ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
        content.append(buffer, got);
    return content;
}

bool ParseHex(const std::string& text, unsigned long long& value) {
    if (text.empty() || text.size() > 16)
        return false;
    value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

HWND AsWindow(unsigned long long value) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

// Starts cadsim.exe with its standard output and error going to errorPath. The process is put in a
// job that ends it when the job handle closes, so a test that dies leaves no simulator behind.
bool StartCadsim(const std::vector<std::string>& options,
                 const std::wstring& errorPath,
                 UniqueHandle& job,
                 UniqueHandle& process,
                 std::string& failure) {
    const std::wstring exe = ExeDirectory() + L"cadsim.exe";
    std::wstring commandLine = QuoteArgument(exe);
    for (const std::string& option : options)
        commandLine += L" " + QuoteArgument(Wide(option));

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle errorFile(::CreateFileW(errorPath.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!errorFile) {
        failure = "cannot create the error-output file (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = errorFile.Get();
    startup.hStdError = errorFile.Get();
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &started)) {
        failure = "cannot start " + Narrow(exe) + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    process = UniqueHandle(started.hProcess);
    const UniqueHandle thread(started.hThread);

    job = UniqueHandle(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!job || !::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)) ||
        !::AssignProcessToJobObject(job.Get(), process.Get())) {
        job.Reset();  // only a safety net: without it the simulator still runs
    }
    ::ResumeThread(thread.Get());
    return true;
}

// Waits for the process to end, terminating it after timeoutMs.
ProcessEnd AwaitEnd(HANDLE process, const std::wstring& errorPath, DWORD startTick, DWORD timeoutMs) {
    ProcessEnd end;
    end.endedInTime = ::WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!end.endedInTime) {
        ::TerminateProcess(process, kTerminatedExitCode);
        ::WaitForSingleObject(process, kTerminateWaitMs);
    }
    end.elapsedMs = ::GetTickCount() - startTick;
    ::GetExitCodeProcess(process, &end.exitCode);
    end.errorOutput = ReadWholeFile(errorPath);
    return end;
}

// "a,b,c" of decimal numbers, exactly count of them.
bool ParseDecimals(const std::string& text, std::size_t count, std::vector<double>& numbers) {
    numbers.clear();
    std::size_t start = 0;
    while (numbers.size() < count) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        const double value = std::strtod(part.c_str(), &end);
        if (part.empty() || end != part.c_str() + part.size() || !std::isfinite(value))
            return false;
        numbers.push_back(value);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers.size() == count && text.find(',', start) == std::string::npos;
}

// Lines of what the simulator did rather than received.
bool IsEventKind(const std::string& kind) {
    return kind == "entity" || kind == "undo" || kind == "host" || kind == "variable" || kind == "report" ||
           kind == "file" || kind == "user" || kind == "mouse" || kind == "key";
}

}  // namespace

std::vector<std::string> LogLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

void UniqueHandle::Reset() {
    if (handle_)
        ::CloseHandle(handle_);
    handle_ = nullptr;
}

POINT CadsimWindows::ScreenPoint(double x, double y) const {
    return POINT{static_cast<LONG>(std::lround(drawingArea.left + viewOriginX + x * viewScale)),
                 static_cast<LONG>(std::lround(drawingArea.bottom - viewOriginY - y * viewScale))};
}

bool ParseReadyFile(const std::string& content, CadsimWindows& windows, std::string& error) {
    std::map<std::string, unsigned long long> values;
    std::map<std::string, std::vector<double>> decimals;
    for (const std::string& line : LogLines(content)) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        if (key == "DrawingArea" || key == "View") {
            std::vector<double> numbers;
            if (!ParseDecimals(line.substr(equals + 1), key == "View" ? 3 : 4, numbers)) {
                error = "bad line '" + line + "'";
                return false;
            }
            if (!decimals.emplace(key, numbers).second) {
                error = "repeated key in '" + line + "'";
                return false;
            }
            continue;
        }
        unsigned long long value = 0;
        if (equals == std::string::npos || !ParseHex(line.substr(equals + 1), value)) {
            error = "bad line '" + line + "'";
            return false;
        }
        if (!values.emplace(line.substr(0, equals), value).second) {
            error = "repeated key in '" + line + "'";
            return false;
        }
    }
    static const char* const kKeys[] = {"ProcessId",    "MainFrame",   "TextWindow", "Palette",
                                        "PromptWindow", "HistoryPane", "MainUnicode"};
    for (const char* key : kKeys) {
        if (!values.count(key)) {
            error = std::string("no ") + key;
            return false;
        }
    }
    windows.processId = static_cast<DWORD>(values["ProcessId"]);
    windows.mainFrame = AsWindow(values["MainFrame"]);
    windows.textWindow = AsWindow(values["TextWindow"]);
    windows.palette = AsWindow(values["Palette"]);
    windows.promptWindow = AsWindow(values["PromptWindow"]);
    windows.historyPane = AsWindow(values["HistoryPane"]);
    windows.mainUnicode = values["MainUnicode"] != 0;
    for (const char* key : {"DrawingArea", "View"}) {
        if (!decimals.count(key)) {
            error = std::string("no ") + key;
            return false;
        }
    }
    const std::vector<double>& area = decimals["DrawingArea"];
    windows.drawingArea = RECT{static_cast<LONG>(area[0]), static_cast<LONG>(area[1]), static_cast<LONG>(area[2]),
                               static_cast<LONG>(area[3])};
    windows.viewScale = decimals["View"][0];
    windows.viewOriginX = decimals["View"][1];
    windows.viewOriginY = decimals["View"][2];
    return true;
}

bool ParseRecordLog(const std::string& content, std::vector<ReceivedRecord>& records, std::string& error) {
    records.clear();
    for (const std::string& line : LogLines(content)) {
        std::map<std::string, std::string> fields;
        std::size_t at = line.find(' ');
        const std::string kind = line.substr(0, at);
        if (IsEventKind(kind))
            continue;
        while (at != std::string::npos) {
            const std::size_t next = line.find(' ', at + 1);
            const std::string field =
                line.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
            const std::size_t equals = field.find('=');
            if (equals == std::string::npos) {
                error = "bad field in '" + line + "'";
                return false;
            }
            fields[field.substr(0, equals)] = field.substr(equals + 1);
            at = next;
        }
        ReceivedRecord record;
        unsigned long long window = 0;
        if (!ParseHex(fields["window"], window)) {
            error = "no window in '" + line + "'";
            return false;
        }
        record.window = AsWindow(window);
        try {
            if (kind == "copydata" && fields.count("record") && fields["record"] == "none") {
                record.kind = ReceivedRecord::Kind::CopyData;
                record.hasRecord = false;
            } else if (kind == "copydata") {
                record.kind = ReceivedRecord::Kind::CopyData;
                record.dwData = std::stoull(fields.at("dwData"));
                record.cbData = std::stoul(fields.at("cbData"));
                const std::string& hex = fields.at("data");
                for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
                    unsigned long long byte = 0;
                    if (!ParseHex(hex.substr(i, 2), byte))
                        throw std::invalid_argument("data");
                    record.data += static_cast<char>(byte);
                }
                if (hex.size() % 2 != 0)
                    throw std::invalid_argument("data");
            } else if (kind == "command") {
                record.kind = ReceivedRecord::Kind::Command;
                record.wParam = std::stoull(fields.at("wParam"));
                record.lParam = std::stoll(fields.at("lParam"));
            } else {
                error = "unknown line '" + line + "'";
                return false;
            }
        } catch (const std::exception&) {
            error = "bad line '" + line + "'";
            return false;
        }
        records.push_back(record);
    }
    return true;
}

std::vector<std::string> LogEvents(const std::string& content, const std::string& prefix) {
    std::vector<std::string> events;
    for (const std::string& line : LogLines(content))
        if (line.compare(0, prefix.size(), prefix) == 0)
            events.push_back(line);
    return events;
}

std::string CadsimTempPath(const std::string& stem, const std::string& extension) {
    static LONG counter = 0;
    char folder[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(MAX_PATH + 1, folder);
    const std::string base = (n > 0 && n <= MAX_PATH) ? std::string(folder, n) : std::string(".\\");
    return base + stem + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::InterlockedIncrement(&counter)) + extension;
}

bool CadsimProcess::Type(const std::string& keys) const {
    if (!windows_.mainFrame)
        return false;
    COPYDATASTRUCT record{};
    record.dwData = 1;
    if (windows_.mainUnicode) {
        std::wstring wide;
        if (!keys.empty()) {
            const int n = ::MultiByteToWideChar(932, 0, keys.data(), static_cast<int>(keys.size()), nullptr, 0);
            wide.assign(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
            if (n > 0)
                ::MultiByteToWideChar(932, 0, keys.data(), static_cast<int>(keys.size()), &wide[0], n);
        }
        record.cbData = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
        record.lpData = const_cast<wchar_t*>(wide.c_str());
        return ::SendMessageW(windows_.mainFrame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
    }
    record.cbData = static_cast<DWORD>(keys.size() + 1);
    record.lpData = const_cast<char*>(keys.c_str());
    return ::SendMessageA(windows_.mainFrame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

std::string CadsimProcess::Prompt() const {
    char text[1024] = {};
    const LRESULT n = ::SendMessageA(windows_.promptWindow, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string CadsimSamplePath(const std::string& name) {
    return Narrow(ExeDirectory()) + "samples\\" + name;
}

CadsimProcess::CadsimProcess(const std::vector<std::string>& options, DWORD readyTimeoutMs)
    : readyPath_(TempFilePath(L"ready")), errorPath_(TempFilePath(L"stderr")), logPath_(TempFilePath(L"log")) {
    ::DeleteFileW(readyPath_.c_str());
    std::vector<std::string> arguments = options;
    arguments.push_back("--ready");
    arguments.push_back(Narrow(readyPath_));
    arguments.push_back("--log");
    arguments.push_back(Narrow(logPath_));
    if (StartCadsim(arguments, errorPath_, job_, process_, failure_))
        WaitUntilReady(readyTimeoutMs);
}

CadsimProcess::~CadsimProcess() {
    Close();
    process_.Reset();
    job_.Reset();
    ::DeleteFileW(readyPath_.c_str());
    ::DeleteFileW(errorPath_.c_str());
    ::DeleteFileW(logPath_.c_str());
}

std::string CadsimProcess::LogContent() const {
    return ReadWholeFile(logPath_);
}

void CadsimProcess::WaitUntilReady(DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::GetFileAttributesW(readyPath_.c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::string error;
            if (!ParseReadyFile(ReadWholeFile(readyPath_), windows_, error)) {
                failure_ = "unreadable ready file: " + error;
            } else if (windows_.processId != ::GetProcessId(process_.Get())) {
                failure_ = "the ready file names process " + std::to_string(windows_.processId) + ", not " +
                           std::to_string(::GetProcessId(process_.Get()));
            } else {
                ready_ = true;
            }
            return;
        }
        if (::WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process_.Get(), &code);
            failure_ = "cadsim ended with exit code " + std::to_string(code) +
                       " before it was ready; it said: " + ReadWholeFile(errorPath_);
            return;
        }
        if (::GetTickCount() - start >= timeoutMs) {
            failure_ = "cadsim was not ready after " + std::to_string(timeoutMs) + " ms";
            return;
        }
        ::Sleep(kPollMs);
    }
}

ProcessEnd CadsimProcess::Close(DWORD timeoutMs) {
    if (closed_ || !process_)
        return end_;
    closed_ = true;
    const HWND anchor = windows_.mainFrame ? windows_.mainFrame : windows_.textWindow;
    const DWORD start = ::GetTickCount();
    if (anchor)
        ::PostMessageW(anchor, WM_CLOSE, 0, 0);
    end_ = AwaitEnd(process_.Get(), errorPath_, start, anchor ? timeoutMs : 0);
    return end_;
}

ProcessEnd CadsimProcess::RunToExit(const std::vector<std::string>& options, DWORD timeoutMs) {
    const std::wstring errorPath = TempFilePath(L"stderr");
    UniqueHandle job;
    UniqueHandle process;
    std::string failure;
    const DWORD start = ::GetTickCount();
    ProcessEnd end;
    if (!StartCadsim(options, errorPath, job, process, failure)) {
        ::DeleteFileW(errorPath.c_str());
        end.errorOutput = failure;
        end.exitCode = static_cast<DWORD>(-1);
        return end;
    }
    end = AwaitEnd(process.Get(), errorPath, start, timeoutMs);
    ::DeleteFileW(errorPath.c_str());
    return end;
}

std::string ReadFileFrom(const std::wstring& path, long long& offset) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!file)
        return text;
    LARGE_INTEGER at;
    at.QuadPart = offset;
    ::SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN);
    char buffer[64 * 1024];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        offset += read;
        text.append(buffer, read);
    }
    return text;
}

}  // namespace testsupport
