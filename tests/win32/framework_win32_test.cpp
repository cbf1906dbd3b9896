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
#include "message_box_catcher.h"

namespace {

using framework::Application;

std::string TempFolder() {
    char path[MAX_PATH] = {};
    ::GetTempPathA(sizeof path, path);
    std::string folder = std::string(path) + "tavro-framework-test-" + std::to_string(::GetCurrentProcessId()) + "\\";
    framework::ForceDirectories(folder);
    return folder;
}

using testsupport::ReadBytes;
using testsupport::WriteBytes;

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    const std::string path = TempFolder() + "missing.Ini";
    ::DeleteFileA(path.c_str());
    framework::TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "50");
    WriteBytes(path, "[other]\r\nkey=1\r\n");
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "50");
    WriteBytes(path, "[初期化]\r\n別=1\r\n");
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "50");
    WriteBytes(path, "[初期化]\r\n大きさ=\r\n");
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "");
}

TEST(IniFile, WritesCodePage932AndKeepsTheRestOfTheFile) {
    const std::string path = TempFolder() + "keep.Ini";
    WriteBytes(path, "; 設定\r\n[other]\r\nkey=value\r\n[初期化]\r\n大きさ=1\r\n別=2\r\n");
    framework::TIniFile ini(path);
    ini.WriteString("初期化", "大きさ", "abc");
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(bytes.find("; 設定"), std::string::npos);
    EXPECT_NE(bytes.find("[other]\r\nkey=value"), std::string::npos);
    EXPECT_NE(bytes.find("[初期化]\r\n大きさ=abc\r\n別=2"), std::string::npos) << bytes;
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "abc");
    ini.WriteString("初期化", "大きさ", "");
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "");
}

TEST(IniFile, NewFileGetsTheSectionAndKey) {
    const std::string path = TempFolder() + "new.Ini";
    ::DeleteFileA(path.c_str());
    framework::TIniFile(path).WriteString("初期化", "大きさ", "50");
    EXPECT_EQ(ReadBytes(path), "[初期化]\r\n大きさ=50\r\n");
}

TEST(IniFile, LongValueIsCutAt2047BytesAndOtherEntriesSurviveTheNextWrite) {
    const std::string path = TempFolder() + "long.Ini";
    const std::string longValue(5000, '7');
    WriteBytes(path, "[初期化]\r\n大きさ=" + longValue + "\r\n[keep]\r\nmine=yes\r\n");
    framework::TIniFile ini(path);
    const std::string read = ini.ReadString("初期化", "大きさ", "50");
    EXPECT_EQ(read, std::string(2047, '7'));
    ini.WriteString("初期化", "大きさ", read);
    EXPECT_EQ(ini.ReadString("keep", "mine", ""), "yes");
}

TEST(IniFile, GarbageAndByteOrderMarkAreReadAsTheProfileFunctionsReadThem) {
    const std::string path = TempFolder() + "garbage.Ini";
    WriteBytes(path, std::string("\x01\x02\xff\xfe junk\r\n[初期化]\r\n大きさ=12\r\n\x80\x81\x82", 23));
    framework::TIniFile ini(path);
    // The profile functions decide what such a file holds; the program only must not fail on it.
    const std::string size = ini.ReadString("初期化", "大きさ", "50");
    EXPECT_LE(size.size(), 2047u);
    ini.WriteString("初期化", "大きさ", "34");
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "34");

    WriteBytes(path, "\xEF\xBB\xBF[keep]\r\nmine=yes\r\n");
    ini.WriteString("初期化", "大きさ", "56");
    EXPECT_EQ(ini.ReadString("初期化", "大きさ", "50"), "56");
    EXPECT_EQ(ini.ReadString("keep", "mine", ""), "yes");
}

TEST(IniFile, UnwritableFileRaisesTheWriteErrorWithItsPath) {
    const std::string path = TempFolder() + "folder.Ini";
    ::CreateDirectoryA(path.c_str(), nullptr);  // a folder in the file's place cannot be written
    try {
        framework::TIniFile(path).WriteString("初期化", "大きさ", "50");
        FAIL() << "no error";
    } catch (const framework::EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), path + " に書き込めません");
    }
}

TEST(ShellFolders, ForceDirectoriesCreatesParentsAndStepsWholeCharacters) {
    const std::string base = TempFolder();
    // "ソ" and "表" end in the byte 0x5C, which must not split the path.
    const std::string nested = base + "ソフト\\表\\深い\\";
    ASSERT_TRUE(framework::ForceDirectories(nested));
    const DWORD attributes = ::GetFileAttributesA((base + "ソフト\\表\\深い").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(framework::ForceDirectories(nested));  // already there

    WriteBytes(base + "afile", "x");
    EXPECT_FALSE(framework::ForceDirectories(base + "afile\\sub\\"));
}

// Each kind of file at a path: what the whole-file read gives, or the error it raises.
TEST(FileRead, WholeFilesLimitsAndErrors) {
    const std::string folder = TempFolder();
    std::string big(200000, 'a');
    big[123456] = 'b';
    WriteBytes(folder + "big.txt", big);
    WriteBytes(folder + "held.txt", "x");
    framework::ForceDirectories(folder + "folder.mpr\\");
    // Another program holds one file without sharing; the CAD program is writing the other.
    const HANDLE held =
        ::CreateFileA((folder + "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const HANDLE writer = ::CreateFileA((folder + "big.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(framework::ReadWholeFile(folder + "missing.txt"), std::nullopt);
    EXPECT_EQ(framework::ReadWholeFile(folder + "big.txt"), big);
    EXPECT_EQ(framework::ReadWholeFile(folder + "big.txt", 1000), big.substr(0, 1000));
    for (const auto& [name, message] :
         {std::pair<const char*, const char*>{"folder.mpr", "ファイルへのアクセスが拒否されました"},
          {"held.txt", "I/O エラー (32)"}}) {
        try {
            framework::ReadWholeFile(folder + name);
            ADD_FAILURE() << name;
        } catch (const framework::EInOutError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    ::CloseHandle(held);
    ::CloseHandle(writer);
}

TEST(ShellFolders, ApplicationDataFolderIsKnown) {
    const std::string appData = framework::SpecialFolderPath(nullptr, 0x1a);
    ASSERT_FALSE(appData.empty());
    EXPECT_NE(::GetFileAttributesA(appData.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ErrorModel, ErrorBoxTextEndsWithOneFullStop) {
    EXPECT_EQ(framework::ErrorBoxText("C:\\a.Ini に書き込めません"), "C:\\a.Ini に書き込めません.");
    EXPECT_EQ(framework::ErrorBoxText("done."), "done.");
}

// A standard push button whose click runs a handler, as any control's event would.
class ClickControl : public framework::TWinControl {
public:
    explicit ClickControl(HWND parent) {
        CreateHandle(parent, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, "go", framework::Bounds{4, 4, 80, 24}, 10);
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
    ThrowingForm() : TForm({"TThrowingForm", "throwing", 120, 60, false, {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET}}) {
        button = std::make_unique<ClickControl>(Handle());
        Created();
    }
    std::unique_ptr<ClickControl> button;
    bool failClose = false;

protected:
    void DoClose() override {
        if (failClose)
            throw framework::EIniFileException::WriteError("X:\\nowhere\\t.Ini");
    }
};

class FormErrorModel : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetTitle("図心位置に円を描く");
    }
};

TEST_F(FormErrorModel, ErrorInAClickIsShownInTheErrorBoxAndTheWindowLives) {
    ThrowingForm form;
    form.button->OnClick = [](framework::TObject*) { throw framework::EConvertError("'abc' は数値ではありません"); };
    testsupport::MessageBoxCatcher catcher("図心位置に円を描く");
    ::SendMessageA(form.button->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    EXPECT_EQ(catcher.Texts().at(0), "'abc' は数値ではありません.");
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST_F(FormErrorModel, SilentAbortShowsNothingAndEndsTheAction) {
    ThrowingForm form;
    bool after = false;
    form.button->OnClick = [&after](framework::TObject*) {
        framework::Abort();
        after = true;
    };
    testsupport::MessageBoxCatcher catcher("図心位置に円を描く");
    ::SendMessageA(form.button->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(catcher.WaitFor(1, 500));
    EXPECT_FALSE(after);
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST_F(FormErrorModel, FailingCloseHandlerIsShownAndTheWindowStillCloses) {
    ThrowingForm form;
    form.failClose = true;
    testsupport::MessageBoxCatcher catcher("図心位置に円を描く");
    HWND window = form.Handle();
    form.Close();
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    EXPECT_EQ(catcher.Texts().at(0), "X:\\nowhere\\t.Ini に書き込めません.");
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
