// The CAD link through the real window system and clipboard, against the simulator in another
// process: the bytes it types, the prompt and history it reads, the system-variable query, and the
// user's clipboard content, which a third process puts there or holds open.
//
// This program has a main of its own, because it runs itself again as that third process; the
// linker then leaves GoogleTest's main out.

#include "cadlink/cad_link.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cadsim_process.h"
#include "platform/abort.h"
#include "text_conversion.h"
#include "win32_command_line.h"
#include "win32_window_system.h"

namespace {

using testsupport::CadsimProcess;
using testsupport::ProcessEnd;
using testsupport::ReceivedRecord;
using testsupport::UniqueHandle;

const char16_t kIdlePrompt[] = u"コマンド: ";

// For messages of failed checks.
std::string A(const std::u16string& text) {
    return platform::AnsiFromWide(text);
}
const char kHelperCommand[] = "clipboard-helper";

// What the helper process puts on the clipboard: a text and a private format with zero bytes inside.
const char kUserText[] = "利用者のテキスト 123";
const char kPrivateFormatName[] = "TavroTest.CadEntities";
const std::string kPrivateBytes("\x01\x00\xFE\x80\x7F\x00\x42", 7);

constexpr DWORD kHelperReadyMs = 15000;
constexpr DWORD kHelperQuitMs = 10000;

// Every operation of the link over Win32, as the program builds them.
struct Win32Link {
    platform::Win32WindowSystem windows;
    platform::Win32CommandLineSystem system;
    platform::Win32Clipboard clipboard;
    cadlink::CadLink link{windows, system, clipboard};
};

std::string Describe(const std::vector<std::string>& options) {
    std::string text = "cadsim";
    for (const std::string& option : options)
        text += " " + option;
    return text;
}

std::vector<std::string> With(std::vector<std::string> options, const std::vector<std::string>& more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    char digits[4];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof(digits), "%02x ", byte);
        text += digits;
    }
    return text;
}

std::vector<ReceivedRecord> Received(const CadsimProcess& sim) {
    std::vector<ReceivedRecord> records;
    std::string error;
    if (!testsupport::ParseRecordLog(sim.LogContent(), records, error))
        ADD_FAILURE() << "unreadable simulator log: " << error;
    return records;
}

std::vector<ReceivedRecord> OfKind(const std::vector<ReceivedRecord>& records, ReceivedRecord::Kind kind) {
    std::vector<ReceivedRecord> selected;
    for (const ReceivedRecord& record : records)
        if (record.kind == kind)
            selected.push_back(record);
    return selected;
}

// The text of a keystroke record as the host reads it, in the ANSI code page.
std::string TypedText(const ReceivedRecord& record, bool unicode) {
    if (!unicode)
        return std::string(record.data.c_str());
    std::wstring wide;
    for (std::size_t i = 0; i + 1 < record.data.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(static_cast<unsigned char>(record.data[i]) |
                                               (static_cast<unsigned char>(record.data[i + 1]) << 8));
        if (unit == L'\0')
            break;
        wide += unit;
    }
    char narrow[1024] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow, sizeof(narrow) - 1, nullptr,
                          nullptr);
    return narrow;
}

std::vector<std::string> Typed(const CadsimProcess& sim) {
    std::vector<std::string> typed;
    for (const ReceivedRecord& record : OfKind(Received(sim), ReceivedRecord::Kind::CopyData))
        typed.push_back(TypedText(record, sim.Windows().mainUnicode));
    return typed;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(10);
    }
}

// On a loaded machine the simulator may show no sign of life within the link's time: the link then
// types and reads nothing and counts the put-off. The read is taken up once it answers, as a run's
// later wake-up would, until it goes through whole.
template <typename Read>
auto WhenAnswering(cadlink::CadLink& link, Read read) {
    decltype(read()) value{};
    WaitFor(
        [&] {
            if (!link.Answering())
                return false;
            link.TakeUpPending();
            const unsigned putOff = link.PutOff();
            value = read();
            return link.PutOff() == putOff;
        },
        10000);
    return value;
}

// With input handled after the send, keystrokes may still wait in the simulator's queue: the
// prompt must stay idle for a few reads in a row, and any other prompt is cancelled.
bool BackToIdle(cadlink::CadLink& link) {
    int idleReads = 0;
    return WaitFor([&] {
        if (link.ReadPrompt() == kIdlePrompt)
            return ++idleReads >= 5;
        idleReads = 0;
        link.SendCommand(u"\x03");
        return false;
    });
}

// The clipboard is shared with every program on the desktop (Wine's clipboard manager too).
bool OpenClipboardWithRetry(HWND owner = nullptr) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::OpenClipboard(owner))
            return true;
        ::Sleep(20);
    }
    return false;
}

// A format's bytes on the clipboard; nothing when it is not there.
struct FormatContent {
    bool present = false;
    std::string bytes;
};

FormatContent ReadFormat(UINT format) {
    FormatContent content;
    if (!OpenClipboardWithRetry()) {
        ADD_FAILURE() << "cannot open the clipboard to read it";
        return content;
    }
    if (HANDLE data = ::GetClipboardData(format)) {
        const void* bytes = ::GlobalLock(data);
        if (bytes) {
            content.present = true;
            content.bytes.assign(static_cast<const char*>(bytes), ::GlobalSize(data));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return content;
}

void EmptyTheClipboard() {
    ASSERT_TRUE(OpenClipboardWithRetry());
    ::EmptyClipboard();
    ::CloseClipboard();
}

UINT PrivateFormat() {
    return ::RegisterClipboardFormatA(kPrivateFormatName);
}

void ExpectUsersContentOnTheClipboard() {
    const FormatContent text = ReadFormat(CF_TEXT);
    ASSERT_TRUE(text.present) << "the user's text is gone";
    EXPECT_EQ(std::string(text.bytes.c_str()), kUserText);
    const FormatContent privateData = ReadFormat(PrivateFormat());
    ASSERT_TRUE(privateData.present) << "the user's private format is gone";
    EXPECT_EQ(Hex(privateData.bytes.substr(0, kPrivateBytes.size())), Hex(kPrivateBytes));
    EXPECT_EQ(privateData.bytes.size(), kPrivateBytes.size());
}

// ---- The third process: this program run again as "clipboard-helper <action> <event prefix>". ----

std::wstring EventName(const std::wstring& prefix, const wchar_t* which) {
    return prefix + L"-" + which;
}

// Waits for the event while handling the messages sent to this process's windows (the clipboard
// sends its owner WM_DESTROYCLIPBOARD when someone empties it).
bool PumpUntil(HANDLE event, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &event, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
}

bool PutUsersContent(HWND owner) {
    if (!OpenClipboardWithRetry(owner))
        return false;
    ::EmptyClipboard();
    bool ok = true;
    for (const auto& [format, bytes] : {std::make_pair(static_cast<UINT>(CF_TEXT), std::string(kUserText) + '\0'),
                                        std::make_pair(PrivateFormat(), kPrivateBytes)}) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        void* data = memory ? ::GlobalLock(memory) : nullptr;
        if (!data) {
            ok = false;
            continue;
        }
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(data));
        ::GlobalUnlock(memory);
        if (!::SetClipboardData(format, memory)) {
            ::GlobalFree(memory);
            ok = false;
        }
    }
    ::CloseClipboard();
    return ok;
}

// "put": owns the clipboard with the user's content until told to quit.
// "hold": keeps the clipboard open until told to quit.
// "hang": offers a text it renders only on request, then handles no message until told to quit.
int RunClipboardHelper(const std::string& action, const std::wstring& prefix) {
    const UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, EventName(prefix, L"ready").c_str()));
    const UniqueHandle quit(::OpenEventW(SYNCHRONIZE, FALSE, EventName(prefix, L"quit").c_str()));
    if (!ready || !quit)
        return 3;
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         ::GetModuleHandleW(nullptr), nullptr);
    if (!owner)
        return 4;
    int code = 0;
    if (action == "put") {
        if (!PutUsersContent(owner))
            code = 5;
        ::SetEvent(ready.Get());
        PumpUntil(quit.Get(), kHelperReadyMs + kHelperQuitMs);
    } else if (action == "hang") {
        if (!OpenClipboardWithRetry(owner)) {
            code = 6;
        } else {
            ::EmptyClipboard();
            ::SetClipboardData(CF_TEXT, nullptr);
            ::CloseClipboard();
            ::SetEvent(ready.Get());
            ::WaitForSingleObject(quit.Get(), kHelperReadyMs + kHelperQuitMs);
        }
    } else if (action == "hold") {
        if (!OpenClipboardWithRetry(owner)) {
            code = 6;
        } else {
            ::SetEvent(ready.Get());
            PumpUntil(quit.Get(), kHelperReadyMs + kHelperQuitMs);
            ::CloseClipboard();
        }
    } else {
        code = 7;
    }
    ::DestroyWindow(owner);
    return code;
}

// Runs this program as the clipboard helper and ends it again.
class ClipboardHelper {
public:
    explicit ClipboardHelper(const char* action) {
        static LONG counter = 0;
        prefix_ = L"Local\\TavroClipboardHelper-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(::InterlockedIncrement(&counter));
        ready_ = UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, EventName(prefix_, L"ready").c_str()));
        quit_ = UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, EventName(prefix_, L"quit").c_str()));
        wchar_t exe[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring commandLine =
            L"\"" + std::wstring(exe) + L"\" " + Wide(kHelperCommand) + L" " + Wide(action) + L" " + prefix_;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (!ready_ || !quit_ ||
            !::CreateProcessW(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            failure_ = "cannot start the clipboard helper (error " + std::to_string(::GetLastError()) + ")";
            return;
        }
        process_ = UniqueHandle(started.hProcess);
        const UniqueHandle thread(started.hThread);
        const HANDLE either[] = {ready_.Get(), process_.Get()};
        const DWORD woken = ::WaitForMultipleObjects(2, either, FALSE, kHelperReadyMs);
        if (woken != WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process_.Get(), &code);
            failure_ = "the clipboard helper did not get ready (exit code " + std::to_string(code) + ")";
        }
    }
    ~ClipboardHelper() { Finish(); }
    ClipboardHelper(const ClipboardHelper&) = delete;
    ClipboardHelper& operator=(const ClipboardHelper&) = delete;

    const std::string& Failure() const { return failure_; }

    // Tells the helper to quit; its exit code (0 when all it did worked).
    DWORD Finish() {
        if (!process_)
            return exitCode_;
        ::SetEvent(quit_.Get());
        if (::WaitForSingleObject(process_.Get(), kHelperQuitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.Get(), 0xDEAD);
            ::WaitForSingleObject(process_.Get(), kHelperQuitMs);
        }
        ::GetExitCodeProcess(process_.Get(), &exitCode_);
        process_.Reset();
        return exitCode_;
    }

private:
    static std::wstring Wide(const char* ascii) {
        return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
    }

    std::wstring prefix_;
    UniqueHandle ready_;
    UniqueHandle quit_;
    UniqueHandle process_;
    DWORD exitCode_ = 0;
    std::string failure_;
};

// ---- The cases. ----

class CadLinkWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        // Another CAD frame on the desktop would take the messages meant for the simulator.
        Win32Link probe;
        ASSERT_FALSE(probe.link.Discovery().IsCadReady()) << "a CAD main frame is already on the desktop";
    }

    static void ExpectClosesCleanly(CadsimProcess& sim) {
        const ProcessEnd end = sim.Close();
        EXPECT_TRUE(end.endedInTime) << "cadsim had to be terminated";
        EXPECT_EQ(end.exitCode, 0u) << end.errorOutput;
    }

    Win32Link cad;
};

TEST_F(CadLinkWin32Test, TypedRecordsFollowTheMainFrameKindAcrossRestarts) {
    struct Run {
        std::vector<std::string> options;
        bool unicode;
    };
    // The same link throughout: each restart in the other kind must change the form of the record.
    for (const Run& run : {Run{{}, true}, Run{{"--ansi"}, false}, Run{{"--frame", "mdi20"}, true},
                           Run{{"--frame", "draftsight", "--ansi"}, false}}) {
        SCOPED_TRACE(Describe(run.options));
        CadsimProcess sim(run.options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        ASSERT_EQ(sim.Windows().mainUnicode, run.unicode);

        ASSERT_TRUE(cad.link.SendCommand(u"\x03ID "));
        // A Japanese character, and one the code page has no place for, through the real conversion
        // (a Thai letter: for a Latin letter with an accent the conversion finds a close fit instead).
        // The Ctrl+C ends ID's point prompt, so the text is taken as a command.
        ASSERT_TRUE(cad.link.SendCommand(u"\x03円\u0e01\r"));

        const std::vector<ReceivedRecord> records = Received(sim);
        ASSERT_EQ(records.size(), 2u);
        for (const ReceivedRecord& record : records) {
            EXPECT_EQ(record.kind, ReceivedRecord::Kind::CopyData);
            EXPECT_EQ(record.window, sim.Windows().mainFrame);
            EXPECT_EQ(record.dwData, 1u);
        }
        if (run.unicode) {
            EXPECT_EQ(records[0].cbData, 10u);
            EXPECT_EQ(Hex(records[0].data), "03 00 49 00 44 00 20 00 00 00 ");
            EXPECT_EQ(records[1].cbData, 10u);
            EXPECT_EQ(Hex(records[1].data), "03 00 86 51 01 0e 0d 00 00 00 ");  // the Thai letter whole
        } else {
            EXPECT_EQ(records[0].cbData, 5u);
            EXPECT_EQ(Hex(records[0].data), "03 49 44 20 00 ");
            EXPECT_EQ(records[1].cbData, 6u);
            EXPECT_EQ(Hex(records[1].data), "03 89 7e 3f 0d 00 ");
        }
        // The host read the keystrokes in its own kind: the command it did not know is named back
        // (an ANSI frame got the code page's "?" for the Thai letter).
        const std::u16string line = cad.link.LastHistoryLine();
        EXPECT_EQ(line.rfind(u"不明なコマンド \"円", 0), 0u) << A(line);
        if (!run.unicode) {
            EXPECT_EQ(line, u"不明なコマンド \"円?\" です。F1 キーを押すとヘルプが表示されます。");
        }
        ExpectClosesCleanly(sim);
    }
}

// Records that the link never sends, straight through Win32: the simulator logs each one and takes
// no byte beyond cbData, and nothing from a record that is not keystrokes.
TEST_F(CadLinkWin32Test, SimulatorTakesOnlyTheBytesOfAKeystrokeRecord) {
    for (const bool ansi : {false, true}) {
        SCOPED_TRACE(ansi ? "ANSI main frame" : "Unicode main frame");
        CadsimProcess sim(ansi ? std::vector<std::string>{"--ansi"} : std::vector<std::string>{});
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        const HWND frame = sim.Windows().mainFrame;
        const auto send = [&](ULONG_PTR dwData, DWORD cbData, const void* data) {
            COPYDATASTRUCT record{dwData, cbData, const_cast<void*>(data)};
            ::SendMessageA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
        };
        const char narrow[] = "ACADVER\r";
        const wchar_t wide[] = L"ACADVER\r";
        // No terminator within cbData: four characters (and, for UTF-16, not the odd last byte).
        if (ansi)
            send(1, 4, narrow);
        else
            send(1, 9, wide);
        send(2, sizeof(wide), ansi ? static_cast<const void*>(narrow) : wide);  // not keystrokes
        send(1, 0, narrow);
        send(1, 8, nullptr);
        EXPECT_EQ(cad.link.ReadPrompt(), u"コマンド: ACAD");

        const std::vector<ReceivedRecord> records = Received(sim);
        ASSERT_EQ(records.size(), 4u);
        EXPECT_EQ(records[0].cbData, ansi ? 4u : 9u);
        EXPECT_EQ(Hex(records[0].data), ansi ? "41 43 41 44 " : "41 00 43 00 41 00 44 00 56 ");
        EXPECT_EQ(records[1].dwData, 2u);
        EXPECT_EQ(records[2].cbData, 0u);
        EXPECT_EQ(records[2].data, "");
        EXPECT_EQ(records[3].data, "");
        ExpectClosesCleanly(sim);
    }
}

TEST_F(CadLinkWin32Test, PromptIsTheSimulatorsCurrentPrompt) {
    const std::vector<std::vector<std::string>> layouts = {
        {},
        {"--names", "io", "--ansi"},
        {"--cmdline", "palette", "--input", "after"},
        {"--cmdline", "textwindow", "--textwin", "command", "--ansi", "--input", "after"},
    };
    for (const std::vector<std::string>& options : layouts) {
        SCOPED_TRACE(Describe(options));
        CadsimProcess sim(options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        EXPECT_EQ(cad.link.ReadPrompt(), kIdlePrompt);

        ASSERT_TRUE(cad.link.SendCommand(u"'SETVAR FILEDIA\r"));
        EXPECT_TRUE(WaitFor([&] { return cad.link.ReadPrompt() == u"FILEDIA の新しい値を入力 <1>: "; }))
            << A(cad.link.ReadPrompt());
        // What is typed without Enter stands behind the prompt, as on the host's input line.
        ASSERT_TRUE(cad.link.SendCommand(u"0"));
        EXPECT_TRUE(WaitFor([&] { return cad.link.ReadPrompt() == u"FILEDIA の新しい値を入力 <1>: 0"; }))
            << A(cad.link.ReadPrompt());
        ASSERT_TRUE(cad.link.SendCommand(u"\x03"));
        EXPECT_TRUE(WaitFor([&] { return cad.link.ReadPrompt() == kIdlePrompt; })) << A(cad.link.ReadPrompt());
        ExpectClosesCleanly(sim);
    }
    // The simulator is gone: no prompt.
    EXPECT_EQ(cad.link.ReadPrompt(), u"");
}

TEST_F(CadLinkWin32Test, LastHistoryLineIsTheSimulatorsInBothInputModes) {
    for (const char* mode : {"inside", "after"}) {
        for (const bool ansi : {false, true}) {
            std::vector<std::string> options = {"--input", mode};
            if (ansi)
                options.push_back("--ansi");
            SCOPED_TRACE(Describe(options));
            CadsimProcess sim(options);
            ASSERT_TRUE(sim.Ready()) << sim.Failure();
            ASSERT_TRUE(cad.link.ActivateCad());
            EXPECT_EQ(cad.link.LastHistoryLine(), u"コマンド:");

            const auto lastLineBecomes = [&](const std::u16string& line) {
                return WaitFor([&] { return cad.link.LastHistoryLine() == line; });
            };
            ASSERT_TRUE(cad.link.SendCommand(u"'SETVAR FILEDIA\r"));
            ASSERT_TRUE(cad.link.SendCommand(u"0\r"));
            EXPECT_TRUE(lastLineBecomes(u"FILEDIA の新しい値を入力 <1>: 0")) << A(cad.link.LastHistoryLine());

            ASSERT_TRUE(cad.link.SendCommand(u"'SETVAR LASTPOINT\r"));
            ASSERT_TRUE(cad.link.SendCommand(u"\x03"));
            EXPECT_TRUE(lastLineBecomes(u"LASTPOINT の新しい値を入力 <0.0000,0.0000,0.0000>: *キャンセル*"))
                << A(cad.link.LastHistoryLine());

            // Enter at the idle prompt repeats the last command.
            ASSERT_TRUE(cad.link.SendCommand(u"\r"));
            EXPECT_TRUE(WaitFor([&] { return cad.link.ReadPrompt() == u"変数名を入力 または [?]: "; }))
                << A(cad.link.ReadPrompt());
            EXPECT_EQ(cad.link.LastHistoryLine(), u"コマンド:");
            ASSERT_TRUE(cad.link.SendCommand(u"\x03"));
            EXPECT_TRUE(lastLineBecomes(u"変数名を入力 または [?]: *キャンセル*")) << A(cad.link.LastHistoryLine());

            // Each read asked the text window once, and nothing else was asked of it.
            for (const ReceivedRecord& command : OfKind(Received(sim), ReceivedRecord::Kind::Command)) {
                EXPECT_EQ(command.window, sim.Windows().textWindow);
                EXPECT_EQ(command.wParam, 32781u);
                EXPECT_EQ(command.lParam, 0);
            }
            ExpectClosesCleanly(sim);
        }
    }
}

TEST_F(CadLinkWin32Test, QueryReturnsTheValueTheSimulatorHoldsWhenInputIsHandledInsideTheSend) {
    const std::vector<std::string> values = {
        "--input", "inside", "--var", "LASTPOINT=10,20.5,-3", "--var", "ACADVER=25.0s (LMS Tech)"};
    for (const bool ansi : {false, true}) {
        const std::vector<std::string> options = ansi ? With(values, {"--ansi"}) : values;
        SCOPED_TRACE(Describe(options));
        CadsimProcess sim(options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        ASSERT_TRUE(cad.link.ActivateCad());

        const auto query = [&](const char16_t* name) {
            return WhenAnswering(cad.link, [&] { return cad.link.QuerySysVar(name); });
        };
        const auto prompt = [&] { return WhenAnswering(cad.link, [&] { return cad.link.ReadPrompt(); }); };
        const auto type = [&](const char16_t* keys) {
            return WhenAnswering(cad.link, [&] { return cad.link.SendCommand(keys); });
        };

        // Through the prompt, followed by one Ctrl+C that leaves it.
        EXPECT_EQ(query(u"LASTPOINT"), u"10.0000,20.5000,-3.0000");
        EXPECT_EQ(prompt(), kIdlePrompt);
        EXPECT_EQ(Typed(sim), (std::vector<std::string>{"'SETVAR LASTPOINT\r", "\x03"}));

        // Through the history, in the caller's letters, with nothing typed after the request.
        EXPECT_EQ(query(u"ACADVER"), u"\"25.0s (LMS Tech)\"");
        EXPECT_EQ(query(u"acadver"), u"\"25.0s (LMS Tech)\"");
        EXPECT_EQ(Typed(sim), (std::vector<std::string>{"'SETVAR LASTPOINT\r", "\x03", "ACADVER\r", "acadver\r"}));
        EXPECT_EQ(prompt(), kIdlePrompt);

        // A value the user changed is the value read.
        EXPECT_EQ(query(u"FILEDIA"), u"1");
        ASSERT_TRUE(type(u"FILEDIA\r"));
        ASSERT_TRUE(type(u"0\r"));
        EXPECT_EQ(query(u"FILEDIA"), u"0");
        EXPECT_EQ(query(u"LASTPOINT"), u"10.0000,20.5000,-3.0000");

        // A name the host does not know gives nothing, and leaves the host idle.
        EXPECT_EQ(query(u"NOSUCHVAR"), u"");
        EXPECT_EQ(WhenAnswering(cad.link, [&] { return cad.link.LastHistoryLine(); }),
                  u"変数名が不明です。SETVAR ? と入力すると変数の一覧が表示されます。");
        EXPECT_EQ(prompt(), kIdlePrompt);
        ExpectClosesCleanly(sim);
    }
}

TEST_F(CadLinkWin32Test, QueryWithInputHandledAfterTheSendGivesTheValueOrNothing) {
    const std::vector<std::string> values = {
        "--input", "after", "--var", "LASTPOINT=7.25,-1,0", "--var", "ACADVER=23.1s (LMS Tech)"};
    int fromValue = 0;
    int empty = 0;
    for (const bool ansi : {false, true}) {
        const std::vector<std::string> options = ansi ? With(values, {"--ansi"}) : values;
        SCOPED_TRACE(Describe(options));
        CadsimProcess sim(options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        ASSERT_TRUE(cad.link.ActivateCad());
        // Both orders: a read-only line left in the history must not answer for another variable.
        for (int round = 0; round < 6; ++round) {
            for (const auto& [name, value] : {std::make_pair(u"LASTPOINT", u"7.2500,-1.0000,0.0000"),
                                              std::make_pair(u"ACADVER", u"\"23.1s (LMS Tech)\"")}) {
                const std::u16string got = cad.link.QuerySysVar(name);
                if (got.empty())
                    ++empty;
                else
                    ++fromValue;
                EXPECT_TRUE(got.empty() || got == value) << A(name) << " read as " << A(got);
                ASSERT_TRUE(BackToIdle(cad.link)) << A(cad.link.ReadPrompt());
            }
        }
        ExpectClosesCleanly(sim);
    }
    std::cout << "queries with input handled after the send: " << fromValue << " gave the value, " << empty
              << " gave nothing\n";
}

TEST_F(CadLinkWin32Test, QueryToAHostBusyForAMomentGivesNothingRatherThanAnEarlierAnswer) {
    for (const bool ansi : {false, true}) {
        std::vector<std::string> options = {"--input", "after", "--input-delay", "300"};
        if (ansi)
            options.push_back("--ansi");
        SCOPED_TRACE(Describe(options));
        CadsimProcess sim(options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        ASSERT_TRUE(cad.link.ActivateCad());

        // The answer comes after the read: nothing yet.
        EXPECT_EQ(cad.link.QuerySysVar(u"ACADVER"), u"");
        ASSERT_TRUE(WaitFor([&] {
            return cad.link.LastHistoryLine() == u"ACADVER = \"24.3s (LMS Tech)\" (読み込み専用)";
        })) << A(cad.link.LastHistoryLine());

        // That answer, still the last history line, is no answer for another variable.
        EXPECT_EQ(cad.link.QuerySysVar(u"LASTPOINT"), u"");
        // The host gets to the request later and waits for a new value; leave that prompt.
        EXPECT_TRUE(WaitFor([&] {
            return cad.link.ReadPrompt() == u"LASTPOINT の新しい値を入力 <0.0000,0.0000,0.0000>: ";
        })) << A(cad.link.ReadPrompt());
        ASSERT_TRUE(cad.link.SendCommand(u"\x03"));
        EXPECT_TRUE(WaitFor([&] { return cad.link.ReadPrompt() == kIdlePrompt; })) << A(cad.link.ReadPrompt());
        ExpectClosesCleanly(sim);
    }
}

TEST_F(CadLinkWin32Test, HistoryReadPutsBackWhatAnotherProgramPutOnTheClipboard) {
    CadsimProcess sim({});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(cad.link.ActivateCad());
    ClipboardHelper user("put");
    ASSERT_EQ(user.Failure(), "");
    ExpectUsersContentOnTheClipboard();

    EXPECT_EQ(cad.link.LastHistoryLine(), u"コマンド:");
    ExpectUsersContentOnTheClipboard();
    // The history still came from the clipboard: the text window was asked once.
    const auto commands = OfKind(Received(sim), ReceivedRecord::Kind::Command);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].window, sim.Windows().textWindow);
    EXPECT_EQ(commands[0].wParam, 32781u);

    // And again, through a query, after the helper has gone.
    EXPECT_EQ(user.Finish(), 0u);
    EXPECT_EQ(cad.link.QuerySysVar(u"ACADVER"), u"\"24.3s (LMS Tech)\"");
    ExpectUsersContentOnTheClipboard();
    ExpectClosesCleanly(sim);
}

TEST_F(CadLinkWin32Test, AnEmptyClipboardIsEmptyAgainAfterTheHistoryRead) {
    CadsimProcess sim({"--ansi"});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(cad.link.ActivateCad());
    EmptyTheClipboard();
    EXPECT_EQ(WhenAnswering(cad.link, [&] { return cad.link.LastHistoryLine(); }), u"コマンド:");
    // A clipboard the simulator still held a moment gets its emptiness back at a later wake-up.
    EXPECT_TRUE(WaitFor(
        [&] {
            cad.link.TakeUpPending();
            return !cad.link.ClipboardPending();
        },
        10000));
    EXPECT_FALSE(ReadFormat(CF_TEXT).present) << "the history was left on the clipboard";
    ExpectClosesCleanly(sim);
}

TEST_F(CadLinkWin32Test, ClipboardHeldOpenElsewherePutsTheReadOffThenEndsInTheSilentAbortWithNothingLost) {
    CadsimProcess sim({});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(cad.link.ActivateCad());
    ClipboardHelper user("put");
    ASSERT_EQ(user.Failure(), "");
    {
        ClipboardHelper holder("hold");
        ASSERT_EQ(holder.Failure(), "");
        // Each read is put off without waiting out the hold (the run comes back at a later
        // wake-up); a hold that lasts ends in the silent abort.
        const DWORD start = ::GetTickCount();
        bool aborted = false;
        while (!aborted && ::GetTickCount() - start < 2000) {
            const DWORD call = ::GetTickCount();
            try {
                EXPECT_EQ(cad.link.LastHistoryLine(), u"");
            } catch (const platform::EAbort&) {
                aborted = true;
            }
            EXPECT_LT(::GetTickCount() - call, 200u);
            ::Sleep(25);
        }
        EXPECT_TRUE(aborted);
        EXPECT_THROW(cad.link.QuerySysVar(u"ACADVER"), platform::EAbort);
        EXPECT_EQ(holder.Finish(), 0u);
    }
    // The host was not asked to copy, and the user's content is still there.
    EXPECT_TRUE(OfKind(Received(sim), ReceivedRecord::Kind::Command).empty());
    ExpectUsersContentOnTheClipboard();
    // Once the clipboard is free the read works again.
    EXPECT_EQ(cad.link.LastHistoryLine(), u"ACADVER = \"24.3s (LMS Tech)\" (読み込み専用)");
    ExpectUsersContentOnTheClipboard();
    EXPECT_EQ(user.Finish(), 0u);
    ExpectClosesCleanly(sim);
}

// Reading a format its hung owner renders on request would wait as long as the owner hangs.
TEST_F(CadLinkWin32Test, HungClipboardOwnerEndsTheReadInTheSilentAbortAndTheClipboardIsLeftAlone) {
    CadsimProcess sim({});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(cad.link.ActivateCad());
    {
        ClipboardHelper hung("hang");
        ASSERT_EQ(hung.Failure(), "");
        const HWND owner = ::GetClipboardOwner();
        ASSERT_NE(owner, nullptr);
        const DWORD start = ::GetTickCount();
        EXPECT_THROW(cad.link.LastHistoryLine(), platform::EAbort);
        // One short wait for the owner; it would hang the read until it quits, 25 s on.
        EXPECT_LT(::GetTickCount() - start, 5000u);
        EXPECT_EQ(::GetClipboardOwner(), owner);
        EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
        EXPECT_TRUE(OfKind(Received(sim), ReceivedRecord::Kind::Command).empty());
        EXPECT_EQ(hung.Finish(), 0u);
    }
    // With the owner gone, the read works again.
    EXPECT_EQ(cad.link.LastHistoryLine(), u"コマンド:");
    ExpectClosesCleanly(sim);
}

TEST_F(CadLinkWin32Test, WithoutACadProgramNothingIsSent) {
    // A window of the same layout whose title names no CAD program: found by nothing.
    CadsimProcess other({"--title", "Drawing1.dwg - メモ帳"});
    ASSERT_TRUE(other.Ready()) << other.Failure();
    EXPECT_FALSE(cad.link.SendCommand(u"\x03ID "));
    EXPECT_FALSE(cad.link.SendCommandAs(u"ID ", true));
    EXPECT_FALSE(cad.link.SendCommandAs(u"ID ", false));
    EXPECT_FALSE(cad.link.ActivateCad());
    EXPECT_EQ(cad.link.ReadPrompt(), u"");
    EXPECT_EQ(cad.link.QuerySysVar(u"LASTPOINT"), u"");
    EXPECT_EQ(cad.link.LastHistoryLine(), u"");
    EXPECT_TRUE(Received(other).empty()) << other.LogContent();

    // A CAD program that has closed is no CAD program.
    {
        CadsimProcess sim({});
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        EXPECT_TRUE(cad.link.SendCommand(u"\x03"));
        ExpectClosesCleanly(sim);
    }
    EXPECT_FALSE(cad.link.SendCommand(u"\x03ID "));
    EXPECT_EQ(cad.link.QuerySysVar(u"LASTPOINT"), u"");
    EXPECT_TRUE(Received(other).empty()) << other.LogContent();
    ExpectClosesCleanly(other);
}

// A window of another thread whose text is what its class's default procedure keeps, in the form
// the class was registered in: a prompt window that holds any text a test gives it.
class TextWindowThread {
public:
    TextWindowThread(bool unicode, const std::u16string& text) {
        thread_ = std::thread([this, unicode, text] {
            HINSTANCE instance = ::GetModuleHandleW(nullptr);
            if (unicode) {
                WNDCLASSW windowClass{};
                windowClass.lpfnWndProc = ::DefWindowProcW;
                windowClass.hInstance = instance;
                windowClass.lpszClassName = L"TavroTestTextW";
                ::RegisterClassW(&windowClass);
                window_ =
                    ::CreateWindowExW(0, windowClass.lpszClassName, reinterpret_cast<const wchar_t*>(text.c_str()),
                                      WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
            } else {
                WNDCLASSA windowClass{};
                windowClass.lpfnWndProc = ::DefWindowProcA;
                windowClass.hInstance = instance;
                windowClass.lpszClassName = "TavroTestTextA";
                ::RegisterClassA(&windowClass);
                window_ = ::CreateWindowExA(0, windowClass.lpszClassName, platform::AnsiFromWide(text).c_str(),
                                            WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
            }
            threadId_ = ::GetCurrentThreadId();
            ready_ = true;
            MSG message;
            while (window_ && ::GetMessageW(&message, nullptr, 0, 0) > 0)
                ::DispatchMessageW(&message);
            if (window_)
                ::DestroyWindow(window_);
        });
        WaitFor([this] { return ready_.load(); });
    }
    ~TextWindowThread() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    TextWindowThread(const TextWindowThread&) = delete;
    TextWindowThread& operator=(const TextWindowThread&) = delete;

    platform::WindowHandle Handle() const { return reinterpret_cast<platform::WindowHandle>(window_); }

private:
    std::thread thread_;
    std::atomic<bool> ready_{false};
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

// What code page 932 cannot express (a Latin letter with an accent, a Thai letter, a character
// beyond the 16-bit range) comes back whole from a Unicode window, in a text read in one message and
// in a longer one; an ANSI window's code page text comes back as it is.
TEST_F(CadLinkWin32Test, PromptReadKeepsWhatTheCodePageCannotExpressInAUnicodeWindow) {
    const std::u16string prompt = u"点を指定 <caf\u00e9 \u0e01 \U0001F600>: ";
    for (const std::u16string& text : {prompt, std::u16string(cadlink::kTextReadUnits, u'\u0e01') + prompt}) {
        TextWindowThread window(true, text);
        ASSERT_NE(window.Handle(), 0u);
        EXPECT_EQ(cad.link.ReadWindowText(window.Handle()), text);
    }
    TextWindowThread ansi(false, kIdlePrompt);
    ASSERT_NE(ansi.Handle(), 0u);
    EXPECT_EQ(cad.link.ReadWindowText(ansi.Handle()), kIdlePrompt);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == kHelperCommand) {
        const std::string prefix = argv[3];
        return RunClipboardHelper(argv[2], std::wstring(prefix.begin(), prefix.end()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
