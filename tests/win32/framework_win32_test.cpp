#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/file_read.h"
#include "framework/form.h"
#include "framework/ini_file.h"
#include "framework/shell_folders.h"
#include "file_bytes.h"
#include "text_conversion.h"
#include "message_box_catcher.h"

namespace {

using framework::Application;

std::u16string TempFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    const std::string process = std::to_string(::GetCurrentProcessId());
    std::u16string folder = reinterpret_cast<const char16_t*>(path);
    folder += u"tavro-framework-test-" + std::u16string(process.begin(), process.end()) + u"\\";
    framework::ForceDirectories(folder);
    return folder;
}

const wchar_t* W(const std::u16string& path) {
    return framework::WidePath(path);
}

using testsupport::ReadBytes;
using testsupport::WriteBytes;

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    const std::u16string path = TempFolder() + u"missing.Ini";
    ::DeleteFileW(W(path));
    framework::TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"50");
    WriteBytes(path, "[other]\r\nkey=1\r\n");
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"50");
    WriteBytes(path, "[初期化]\r\n別=1\r\n");
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"50");
    WriteBytes(path, "[初期化]\r\n大きさ=\r\n");
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"");
}

// A settings file an earlier version wrote (code page 932, no mark) stays in code page 932.
TEST(IniFile, WritesCodePage932AndKeepsTheRestOfTheFile) {
    const std::u16string path = TempFolder() + u"keep.Ini";
    WriteBytes(path, "; 設定\r\n[other]\r\nkey=value\r\n[初期化]\r\n大きさ=1\r\n別=2\r\n");
    framework::TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"1");
    ini.WriteString(u"初期化", u"大きさ", u"abc");
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(bytes.find("; 設定"), std::string::npos);
    EXPECT_NE(bytes.find("[other]\r\nkey=value"), std::string::npos);
    EXPECT_NE(bytes.find("[初期化]\r\n大きさ=abc\r\n別=2"), std::string::npos) << bytes;
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"abc");
    ini.WriteString(u"初期化", u"大きさ", u"");
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"");
}

TEST(IniFile, NewFileGetsTheSectionAndKeyInCodePage932) {
    const std::u16string path = TempFolder() + u"new.Ini";
    ::DeleteFileW(W(path));
    framework::TIniFile(path).WriteString(u"初期化", u"大きさ", u"50");
    EXPECT_EQ(ReadBytes(path), "[初期化]\r\n大きさ=50\r\n");
}

TEST(IniFile, LongValueIsCutAt2047CharactersAndOtherEntriesSurviveTheNextWrite) {
    const std::u16string path = TempFolder() + u"long.Ini";
    WriteBytes(path, "[初期化]\r\n大きさ=" + std::string(5000, '7') + "\r\n[keep]\r\nmine=yes\r\n");
    framework::TIniFile ini(path);
    const std::u16string read = ini.ReadString(u"初期化", u"大きさ", u"50");
    EXPECT_EQ(read, std::u16string(2047, u'7'));
    ini.WriteString(u"初期化", u"大きさ", read);
    EXPECT_EQ(ini.ReadString(u"keep", u"mine", u""), u"yes");
}

TEST(IniFile, GarbageAndByteOrderMarkAreReadAsTheProfileFunctionsReadThem) {
    const std::u16string path = TempFolder() + u"garbage.Ini";
    WriteBytes(path, std::string("\x01\x02\xff\xfe junk\r\n[初期化]\r\n大きさ=12\r\n\x80\x81\x82", 23));
    framework::TIniFile ini(path);
    // The profile functions decide what such a file holds; the program only must not fail on it.
    const std::u16string size = ini.ReadString(u"初期化", u"大きさ", u"50");
    EXPECT_LE(size.size(), 2047u);
    ini.WriteString(u"初期化", u"大きさ", u"34");
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"34");

    WriteBytes(path, "\xEF\xBB\xBF[keep]\r\nmine=yes\r\n");
    ini.WriteString(u"初期化", u"大きさ", u"56");
    EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"56");
    EXPECT_EQ(ini.ReadString(u"keep", u"mine", u""), u"yes");
}

TEST(IniFile, UnwritableFileRaisesTheWriteErrorWithItsPath) {
    const std::u16string path = TempFolder() + u"folder.Ini";
    ::CreateDirectoryW(W(path), nullptr);  // a folder in the file's place cannot be written
    try {
        framework::TIniFile(path).WriteString(u"初期化", u"大きさ", u"50");
        FAIL() << "no error";
    } catch (const framework::EIniFileException& error) {
        EXPECT_EQ(error.Message(), path + u" に書き込めません");
    }
}

// Folders named in code page 932 (with second bytes 0x5C) and outside it: each step finds the
// folder by its own name, and no look-alike ("Zoe" for "Zoë") is made.
TEST(ShellFolders, PathsInAndOutsideTheCodePageNameTheirOwnFolder) {
    const std::u16string base = TempFolder();
    const struct {
        std::u16string folder, lookAlike;
    } cases[] = {
        {u"ソフト\\表\\深い", u""},
        {u"Zo\u00EB\\M\u00FCller", u"Zoe"},
        {u"\uD55C\uAD6D\\\u00C5se", u""},
    };
    for (const auto& c : cases) {
        const std::u16string folder = base + c.folder + u"\\";
        ASSERT_TRUE(framework::ForceDirectories(folder));
        EXPECT_TRUE(framework::ForceDirectories(folder));  // already there
        const framework::TIniFile ini(folder + u"Tavro.Ini");
        ini.WriteString(u"初期化", u"大きさ", u"75");
        EXPECT_EQ(ini.ReadString(u"初期化", u"大きさ", u"50"), u"75");
        EXPECT_EQ(framework::ReadWholeFile(folder + u"Tavro.Ini"), "[初期化]\r\n大きさ=75\r\n");
        if (!c.lookAlike.empty()) {
            EXPECT_EQ(::GetFileAttributesW(W(base + c.lookAlike)), INVALID_FILE_ATTRIBUTES);
        }
    }
    WriteBytes(base + u"afile", "x");
    EXPECT_FALSE(framework::ForceDirectories(base + u"afile\\sub\\"));
}

// Each kind of file at a path: what the whole-file read gives, or the error it raises.
TEST(FileRead, WholeFilesLimitsAndErrors) {
    const std::u16string folder = TempFolder();
    std::string big(200000, 'a');
    big[123456] = 'b';
    WriteBytes(folder + u"big.txt", big);
    WriteBytes(folder + u"held.txt", "x");
    framework::ForceDirectories(folder + u"folder.mpr\\");
    // Another program holds one file without sharing; the CAD program is writing the other.
    const HANDLE held = ::CreateFileW(W(folder + u"held.txt"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const HANDLE writer = ::CreateFileW(W(folder + u"big.txt"), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(framework::ReadWholeFile(folder + u"missing.txt"), std::nullopt);
    EXPECT_EQ(framework::ReadWholeFile(folder + u"big.txt"), big);
    EXPECT_EQ(framework::ReadWholeFile(folder + u"big.txt", 1000), big.substr(0, 1000));
    for (const auto& [name, message] :
         {std::pair<const char16_t*, const char16_t*>{u"folder.mpr", u"ファイルへのアクセスが拒否されました"},
          {u"held.txt", u"I/O エラー (32)"}}) {
        try {
            framework::ReadWholeFile(folder + name);
            ADD_FAILURE() << message;
        } catch (const framework::EInOutError& error) {
            EXPECT_EQ(error.Message(), message);
        }
    }
    ::CloseHandle(held);
    ::CloseHandle(writer);
}

TEST(ShellFolders, ApplicationDataFolderIsKnown) {
    const std::u16string appData = framework::SpecialFolderPath(nullptr, 0x1a);
    ASSERT_FALSE(appData.empty());
    EXPECT_NE(::GetFileAttributesW(W(appData)), INVALID_FILE_ATTRIBUTES);
}

TEST(ErrorModel, ErrorBoxTextEndsWithOneFullStop) {
    EXPECT_EQ(framework::ErrorBoxText(u"C:\\a.Ini に書き込めません"), u"C:\\a.Ini に書き込めません.");
    EXPECT_EQ(framework::ErrorBoxText(u"done."), u"done.");
}

// A standard push button whose click runs a handler, as any control's event would.
class ClickControl : public framework::TWinControl {
public:
    explicit ClickControl(HWND parent) {
        CreateHandle(parent, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, u"go", framework::Bounds{4, 4, 80, 24}, 10);
    }
    framework::TNotifyEvent OnClick;

protected:
    void Notify(WORD code) override {
        if (code == BN_CLICKED && OnClick)
            OnClick(this);
    }
};

class ThrowingForm : public framework::TForm {
public:
    ThrowingForm()
        : TForm({"TThrowingForm", u"throwing", 120, 60, false, {u"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET}}) {
        button = std::make_unique<ClickControl>(Handle());
        Created();
    }
    std::unique_ptr<ClickControl> button;
    bool failClose = false;

protected:
    void DoClose() override {
        // A settings file in a folder outside code page 932, on a drive that is not there.
        if (failClose)
            framework::TIniFile(u"X:\\José\\t.Ini").WriteString(u"a", u"b", u"c");
    }
};

class FormErrorModel : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetTitle(u"図心位置に円を描く");
    }
};

TEST_F(FormErrorModel, ErrorInAClickIsShownInTheErrorBoxAndTheWindowLives) {
    ThrowingForm form;
    form.button->OnClick = [](framework::TObject*) { throw framework::EConvertError(u"'abc' は数値ではありません"); };
    testsupport::MessageBoxCatcher catcher(u"図心位置に円を描く");
    ::SendMessageA(form.button->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    EXPECT_EQ(catcher.Texts().at(0), u"'abc' は数値ではありません.");
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST_F(FormErrorModel, SilentAbortShowsNothingAndEndsTheAction) {
    ThrowingForm form;
    bool after = false;
    form.button->OnClick = [&after](framework::TObject*) {
        framework::Abort();
        after = true;
    };
    testsupport::MessageBoxCatcher catcher(u"図心位置に円を描く");
    ::SendMessageA(form.button->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(catcher.WaitFor(1, 500));
    EXPECT_FALSE(after);
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST_F(FormErrorModel, FailingCloseHandlerIsShownAndTheWindowStillCloses) {
    ThrowingForm form;
    form.failClose = true;
    testsupport::MessageBoxCatcher catcher(u"図心位置に円を描く");
    HWND window = form.Handle();
    form.Close();
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    // The error box names the folder as it is, not a best-fit look-alike (Jose).
    const std::u16string expected = u"X:\\José\\t.Ini に書き込めません.";
    EXPECT_EQ(catcher.Texts().at(0), expected);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(FormErrorModel, ProcessMessagesHandlesWaitingMessagesAndSeesTheQuit) {
    ThrowingForm form;
    int clicks = 0;
    form.button->OnClick = [&clicks](framework::TObject*) { ++clicks; };
    ::PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(10, BN_CLICKED),
                   reinterpret_cast<LPARAM>(form.button->Handle()));
    ::PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(10, BN_CLICKED),
                   reinterpret_cast<LPARAM>(form.button->Handle()));
    Application.ProcessMessages();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(Application.Terminated());
    ::PostQuitMessage(0);
    Application.ProcessMessages();
    EXPECT_TRUE(Application.Terminated());
}

// The message loop also wakes for the kernel objects it watches and for its wake-up: a signalled
// object goes to its handler, which may watch others or none, the wake-up comes once when due, and
// the loop still ends at WM_QUIT.
double QueryMs() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

TEST(ApplicationLoop, WatchedObjectsAndTheWakeUpWakeTheLoop) {
    HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::vector<std::size_t> woken;
    double asked = 0, due = 0;
    Application.WatchHandles({event}, [&](std::size_t index) {
        woken.push_back(index);
        if (woken.size() < 3) {
            ::SetEvent(event);
            return;
        }
        Application.WatchHandles({}, nullptr);
        asked = QueryMs();
        Application.WakeAfter(50, [&] {
            due = QueryMs();
            ::PostQuitMessage(0);
        });
    });
    ::SetEvent(event);
    Application.Run();
    EXPECT_EQ(woken, (std::vector<std::size_t>{0, 0, 0}));
    EXPECT_GE(due, asked + 49);  // whole milliseconds
    EXPECT_LT(due, asked + 1000);
    EXPECT_TRUE(Application.Terminated());
    ::CloseHandle(event);
}

}  // namespace
