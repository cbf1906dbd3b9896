#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "file_bytes.h"
#include "framework/application.h"
#include "framework/shell_folders.h"
#include "message_box_catcher.h"
#include "results_file.h"
#include "results_menu.h"
#include "results_table.h"
#include "main_form.h"
#include "tavro_form.h"
#include "text_conversion.h"
#include "win32_workflow_host.h"

namespace {

using framework::Application;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

const std::string kBomHeader = "\xEF\xBB\xBF" + std::string(u8"日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n");

const wchar_t* W(const std::u16string& path) {
    return framework::WidePath(path);
}

std::u16string WorkFolder() {
    return framework::SpecialFolderPath(nullptr, 0x1a) + u"\\Halvetra\\";
}

// The list of this test program: named after the exe, in the work folder.
std::u16string ListPath() {
    return WorkFolder() + u"results_win32_test.csv";
}

std::u16string KeptPath(int number = 1) {
    return app::KeptFilePath(ListPath(), number);
}

// The list, its side files and lists kept aside by earlier cases.
void RemoveList(const std::u16string& path) {
    ::SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(W(path));
    ::RemoveDirectoryW(W(path));
    const std::u16string stem = path.substr(0, path.size() - 4);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(W(stem + u"*.csv"), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        ::DeleteFileW(W(WorkFolder() + reinterpret_cast<const char16_t*>(found.cFileName)));
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Held as a spreadsheet holds an open list: reading, others may only read.
HANDLE HoldAsASpreadsheetDoes(const std::u16string& path) {
    return ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::u16string ListText(const app::ResultsFile& list) {
    std::u16string text;
    list.ReadList([&text](std::u16string_view piece) { text.append(piece); });
    return text;
}

std::string Utf8(const std::string& ansi) {
    return platform::Utf8FromWide(platform::WideFromAnsi(ansi));
}

std::u16string ClipboardUnicode() {
    std::u16string text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

std::string ClipboardAnsi() {
    std::string text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

class ResultsList : public ::testing::Test {
protected:
    void SetUp() override {
        framework::ForceDirectories(WorkFolder());
        RemoveList(ListPath());
        file.SetPath(ListPath());
    }
    void TearDown() override { RemoveList(ListPath()); }
    app::ResultsFile file;
};

TEST_F(ResultsList, EachEncodingIsContinuedInItselfAndReadBackWhole) {
    const std::string row = "2026/12/08 14:30:15,図面.dwg,面の中心,1,2,3,4,5\r\n";  // code page 932 here
    const std::string rowUtf8 = Utf8(row);
    const std::string sjisHeader = "日時,図面\r\n";
    const std::string utf8Header = Utf8(sjisHeader);
    const std::string mixed = "\xE6\x97\xA5\xE6\x99\x82," + sjisHeader;  // 日時 in UTF-8, then code page 932
    const struct {
        const char* what;
        std::string before;
        std::string after;  // empty: kept aside, a new list started
    } cases[] = {
        {"empty", "", kBomHeader + rowUtf8},
        {"mark only", "\xEF\xBB\xBF", kBomHeader + rowUtf8},
        {"UTF-8 with the mark", "\xEF\xBB\xBF" + utf8Header, "\xEF\xBB\xBF" + utf8Header + rowUtf8},
        {"UTF-8 without it", utf8Header, utf8Header + rowUtf8},
        {"code page 932", sjisHeader, sjisHeader + row},
        {"a header in another language", "Date,Drawing", "Date,Drawing\r\n" + row},
        {"mixed", mixed, ""},
    };
    for (const auto& c : cases) {
        RemoveList(ListPath());
        WriteBytes(ListPath(), c.before);
        app::ResultsFile list;
        list.SetPath(ListPath());
        ASSERT_TRUE(list.Append(platform::WideFromAnsi(row))) << c.what;
        const std::u16string message = list.TakeFailureMessage();
        if (c.after.empty()) {
            EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + rowUtf8) << c.what;
            EXPECT_NE(message.find(u"新しい一覧を始めました"), std::u16string::npos) << c.what;
            EXPECT_TRUE(list.TakeFailureMessage().empty()) << c.what;  // said once
            continue;
        }
        EXPECT_EQ(ReadBytes(ListPath()), c.after) << c.what;
        EXPECT_TRUE(message.empty()) << c.what << ": " << platform::AnsiFromWide(message);
        const std::u16string text = ListText(list);
        EXPECT_NE(text.find(platform::WideFromAnsi(row)), std::u16string::npos) << c.what;
        EXPECT_EQ(text.find(u'\xFFFD'), std::u16string::npos) << c.what;
    }
}

// The header and the rows are the list's own bytes whatever the system's code page: UTF-8 for a new
// list, code page 932 for one kept in it. The case runs again under another code page, which
// TAVRO_TEST_ANSI_PAGE then names.
TEST_F(ResultsList, BytesAreTheListsOwnWhateverTheSystemCodePage) {
    if (const char* page = std::getenv("TAVRO_TEST_ANSI_PAGE")) {
        ASSERT_EQ(::GetACP(), std::strtoul(page, nullptr, 10));
    }
    const std::u16string row = u"2026/12/08 14:30:15,図面.dwg,面の中心,1,2,3,4,5\r\n";
    ASSERT_TRUE(file.Append(row));
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + platform::Utf8FromWide(row));
    EXPECT_EQ(ListText(file), u"\uFEFF" + std::u16string(app::kResultsHeader) + row);

    // 日時,図面 and the row in code page 932, spelled out.
    const std::string header932 = "\x93\xfa\x8e\x9e,\x90\x7d\x96\xca\r\n";
    const std::string row932 =
        "2026/12/08 14:30:15,\x90\x7d\x96\xca.dwg,\x96\xca\x82\xcc\x92\x86\x90\x53,1,2,3,4,5\r\n";
    RemoveList(ListPath());
    WriteBytes(ListPath(), header932);
    app::ResultsFile kept;
    kept.SetPath(ListPath());
    ASSERT_TRUE(kept.Append(row));
    EXPECT_EQ(ReadBytes(ListPath()), header932 + row932);
    EXPECT_EQ(ListText(kept), u"日時,図面\r\n" + row);
}

TEST_F(ResultsList, RowsLeftBesideALockedListGoIntoItOnceAheadOfNewRows) {
    ASSERT_TRUE(file.Append(u"1\r\n"));
    HANDLE hold = HoldAsASpreadsheetDoes(ListPath());
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    EXPECT_FALSE(file.Append(u"2\r\n"));
    ::QueryPerformanceCounter(&start);
    EXPECT_FALSE(file.Append(u"3\r\n"));
    ::QueryPerformanceCounter(&end);
    std::printf("a row for a list known locked: %.2f ms\n",
                1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    EXPECT_TRUE(file.KeepPending());
    EXPECT_EQ(file.KeptPath(), KeptPath());
    EXPECT_EQ(ReadBytes(KeptPath()), std::string(app::kKeptSignature) + "2\r\n3\r\n");

    // The program ends and starts again, still locked: the side file takes the next rows behind its own.
    {
        app::ResultsFile again;
        again.SetPath(ListPath());
        EXPECT_FALSE(again.Append(u"4\r\n"));
    }
    EXPECT_EQ(ReadBytes(KeptPath()), std::string(app::kKeptSignature) + "2\r\n3\r\n4\r\n");
    ::CloseHandle(hold);

    // The next start writes them ahead of its own row, once, and the side file goes.
    app::ResultsFile next;
    next.SetPath(ListPath());
    ASSERT_TRUE(next.Append(u"5\r\n"));
    ASSERT_TRUE(next.Append(u"6\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    EXPECT_EQ(::GetFileAttributesW(W(KeptPath())), INVALID_FILE_ATTRIBUTES);
}

// The program ended while a side file's rows were going into the list: whether they reached it
// or not, or another instance wrote there since, each row is in the list once at the next start.
TEST_F(ResultsList, AnEndHalfWayFromTheSideFileIntoTheListWritesNoRowTwice) {
    const struct {
        const char* what;
        std::string listAfterMark;
        std::string listAtLast;
    } cases[] = {
        {"the list took them", "2\r\n3\r\n", "1\r\n2\r\n3\r\n4\r\n"},
        {"ended before the list took them", "", "1\r\n2\r\n3\r\n4\r\n"},
        {"another instance wrote there", "9\r\n", "1\r\n9\r\n2\r\n3\r\n4\r\n"},
    };
    for (const auto& c : cases) {
        RemoveList(ListPath());
        WriteBytes(ListPath(), kBomHeader + "1\r\n");
        const std::size_t offset = ReadBytes(ListPath()).size();
        WriteBytes(ListPath(), kBomHeader + "1\r\n" + c.listAfterMark);
        WriteBytes(KeptPath(), app::kKeptSignature + std::string("2\r\n3\r\n#>") + std::to_string(offset) + "\r\n");
        app::ResultsFile next;
        next.SetPath(ListPath());
        ASSERT_TRUE(next.Append(u"4\r\n")) << c.what;
        EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + c.listAtLast) << c.what;
        EXPECT_EQ(::GetFileAttributesW(W(KeptPath())), INVALID_FILE_ATTRIBUTES) << c.what;
    }
}

TEST_F(ResultsList, ASideFileNotOursIsLeftAsItIsAndALockedOneHoldsBackNewerRows) {
    WriteBytes(KeptPath(), "someone else's notes\r\n");
    ::SetFileAttributesW(W(ListPath()), 0);
    WriteBytes(ListPath(), "");
    ::SetFileAttributesW(W(ListPath()), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(file.Append(u"1\r\n"));
    EXPECT_TRUE(file.KeepPending());
    EXPECT_EQ(file.KeptPath(), KeptPath(2));
    EXPECT_EQ(ReadBytes(KeptPath()), "someone else's notes\r\n");

    // The side file is locked by a reader when the list can be written again: the list waits for it.
    ::SetFileAttributesW(W(ListPath()), FILE_ATTRIBUTE_NORMAL);
    HANDLE hold = HoldAsASpreadsheetDoes(KeptPath(2));
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file.Append(u"2\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), "");
    ::CloseHandle(hold);
    ASSERT_TRUE(file.Append(u"3\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + "1\r\n2\r\n3\r\n");
    EXPECT_EQ(ReadBytes(KeptPath()), "someone else's notes\r\n");
}

TEST_F(ResultsList, ANewListTakesNoRowMeasuredForTheOldOne) {
    ASSERT_TRUE(file.Append(u"1\r\n"));
    HANDLE hold = HoldAsASpreadsheetDoes(ListPath());
    EXPECT_FALSE(file.Append(u"2\r\n"));
    ::CloseHandle(hold);
    const std::u16string kept = file.StartNewList(ListPath());
    EXPECT_EQ(ReadBytes(kept), kBomHeader + "1\r\n2\r\n");
    ASSERT_TRUE(file.Append(u"3\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + "3\r\n");

    // Read-only: the row that cannot go into the old list goes beside it, under its new name.
    ::SetFileAttributesW(W(ListPath()), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(file.Append(u"4\r\n"));
    const std::u16string second = file.StartNewList(ListPath());
    EXPECT_EQ(ReadBytes(second), kBomHeader + "3\r\n");
    EXPECT_EQ(ReadBytes(app::KeptFilePath(second, 1)), std::string(app::kKeptSignature) + "4\r\n");
    EXPECT_FALSE(file.Exists());
    ASSERT_TRUE(file.Append(u"5\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + "5\r\n");
    ::SetFileAttributesW(W(second), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ResultsList, ANewListStartsWithTheHeaderAndEachRowIsAppendedWhole) {
    ASSERT_TRUE(file.Append(u"2026/12/08 14:30:15,図面1.dwg,面の中心,100,40,5,5,30\r\n"));
    ASSERT_TRUE(file.Append(u"2026/12/08 14:31:00,,リージョン,2.00,6.00,1,1,30\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + Utf8("2026/12/08 14:30:15,図面1.dwg,面の中心,100,40,5,5,30\r\n") +
                                         Utf8("2026/12/08 14:31:00,,リージョン,2.00,6.00,1,1,30\r\n"));
}

TEST_F(ResultsList, AFileThatIsNoListIsAppendedToAndNeverRewritten) {
    const std::string foreign = "not a list \x01\x02 without a last line end";
    WriteBytes(ListPath(), foreign);
    ASSERT_TRUE(file.Append(u"a,b\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), foreign + "\r\na,b\r\n");
}

TEST_F(ResultsList, AnUnwritableListKeepsItsRowsUntilItCanBeWritten) {
    ASSERT_TRUE(file.Append(u"1\r\n"));
    const std::string before = ReadBytes(ListPath());

    // Locked by another program that shares nothing.
    const HANDLE lock =
        ::CreateFileW(W(ListPath()), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file.Append(u"2\r\n"));
    EXPECT_TRUE(file.TakeFailure());
    EXPECT_FALSE(file.TakeFailure());
    ::CloseHandle(lock);
    EXPECT_EQ(ReadBytes(ListPath()), before);

    // Read-only.
    ::SetFileAttributesW(W(ListPath()), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(file.Append(u"3\r\n"));
    ::SetFileAttributesW(W(ListPath()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(ListPath()), before);
    EXPECT_EQ(file.PendingRows(), 2u);

    // The next row that can be written takes the kept ones with it, in order.
    ASSERT_TRUE(file.Append(u"4\r\n"));
    EXPECT_EQ(ReadBytes(ListPath()), before + "2\r\n3\r\n4\r\n");
    EXPECT_EQ(file.PendingRows(), 0u);

    // A folder of the list's name.
    RemoveList(ListPath());
    ASSERT_TRUE(::CreateDirectoryW(W(ListPath()), nullptr));
    EXPECT_FALSE(file.Append(u"5\r\n"));
    EXPECT_FALSE(file.HasRows() && file.Exists());
}

TEST_F(ResultsList, AListRenamedOrAWorkFolderRemovedWhileRunningStartsAgain) {
    ASSERT_TRUE(file.Append(u"1\r\n"));
    const std::u16string moved = WorkFolder() + u"results_win32_test-moved.csv";
    ::DeleteFileW(W(moved));
    ASSERT_TRUE(::MoveFileW(W(ListPath()), W(moved)));
    ASSERT_TRUE(file.Append(u"2\r\n"));
    EXPECT_EQ(ReadBytes(moved), kBomHeader + "1\r\n");
    EXPECT_EQ(ReadBytes(ListPath()), kBomHeader + "2\r\n");
    ::DeleteFileW(W(moved));

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::u16string folder = reinterpret_cast<const char16_t*>(temp) + std::u16string(u"tavro-gone-Zo\u00EB\\");
    app::ResultsFile elsewhere;
    elsewhere.SetPath(folder + u"list.csv");
    ASSERT_TRUE(elsewhere.Append(u"1\r\n"));
    EXPECT_EQ(ReadBytes(folder + u"list.csv"), kBomHeader + "1\r\n");
    ::DeleteFileW(W(folder + u"list.csv"));
    ::RemoveDirectoryW(W(folder));
}

TEST_F(ResultsList, AppendingToALongListNeverReadsItWhole) {
    // 100 MB of rows: an append that read the list would take seconds; the figure is printed.
    {
        HANDLE big = ::CreateFileW(W(ListPath()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(big, INVALID_HANDLE_VALUE);
        const std::string block = std::string(1024 * 1024 - 2, 'x') + "\r\n";
        DWORD written = 0;
        for (int i = 0; i < 100; ++i)
            ::WriteFile(big, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
        ::CloseHandle(big);
    }
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ASSERT_TRUE(file.Append(u"1\r\n"));
    ::QueryPerformanceCounter(&end);
    std::printf("append to a 100 MB list: %.2f ms\n", 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    app::ResultsFile small;
    small.SetPath(ListPath() + u".small.csv");
    ::QueryPerformanceCounter(&start);
    ASSERT_TRUE(small.Append(u"1\r\n"));
    ::QueryPerformanceCounter(&end);
    std::printf("append to a new list: %.2f ms\n", 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    RemoveList(ListPath() + u".small.csv");
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExW(W(ListPath()), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 100u * 1024 * 1024 + 3);
}

class ResultsMenuOnTheForm : public ResultsList {
protected:
    app::TTavroF& form = testsupport::MainForm();

    UINT ItemState(UINT command) {
        return ::GetMenuState(::GetSystemMenu(form.Handle(), FALSE), command, MF_BYCOMMAND);
    }
    void OpenSystemMenu() {
        // What the system sends as the system menu drops down.
        ::SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSystemMenu(form.Handle(), FALSE)),
                       MAKELPARAM(0, TRUE));
    }
};

TEST_F(ResultsMenuOnTheForm, ItemsFollowTheSystemMenusOwnAndAreGreyedWithAnEmptyList) {
    EXPECT_EQ(form.Results().Path(), ListPath());
    HMENU menu = ::GetSystemMenu(form.Handle(), FALSE);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 4);
    const UINT commands[] = {app::kCmdCopyResults, app::kCmdOpenResults, app::kCmdNewResults};
    const char* texts[] = {"結果をコピー(&P)", "結果を開く(&O)", "結果を新しくする(&W)"};
    EXPECT_TRUE(::GetMenuState(menu, static_cast<UINT>(count - 4), MF_BYPOSITION) & MF_SEPARATOR);
    for (int i = 0; i < 3; ++i) {
        char text[64] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(count - 3 + i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, texts[i]);
        EXPECT_EQ(::GetMenuItemID(menu, count - 3 + i), commands[i]);
    }

    OpenSystemMenu();
    for (UINT command : commands)
        EXPECT_TRUE(ItemState(command) & MF_GRAYED) << command;
    // A file holding only the header is still an empty list to copy.
    WriteBytes(ListPath(), kBomHeader);
    OpenSystemMenu();
    EXPECT_TRUE(ItemState(app::kCmdCopyResults) & MF_GRAYED);
    EXPECT_FALSE(ItemState(app::kCmdNewResults) & MF_GRAYED);

    ASSERT_TRUE(form.Results().Append(u"1\r\n"));
    OpenSystemMenu();
    for (UINT command : commands)
        EXPECT_FALSE(ItemState(command) & MF_GRAYED) << command;
}

TEST_F(ResultsMenuOnTheForm, CopyPutsTheTableOnTheClipboardInBothTextFormats) {
    ASSERT_TRUE(form.Results().Append(
        u"2026/12/08 14:30:15,\"'=HYPERLINK(\"\"x\"\")見取図.dwg\",面の中心,100.25,40,-5,5,30\r\n"));
    ASSERT_TRUE(form.Results().Append(u"2026/12/08 14:31:00,\"a,b.dwg\",リージョン,1.50,5.00,1.5,-2.5,30\r\n"));
    // Whatever the clipboard held is replaced.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL old = ::GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(::GlobalLock(old), "old", 4);
    ::GlobalUnlock(old);
    ::SetClipboardData(CF_TEXT, old);
    ::CloseClipboard();

    ::SendMessageA(form.Handle(), WM_SYSCOMMAND, app::kCmdCopyResults, 0);
    const std::string expected =
        "日時\t図面\tモード\t面積\t周長\t図心X\t図心Y\t円の大きさ\r\n"
        "2026/12/08 14:30:15\t'=HYPERLINK(\"x\")見取図.dwg\t面の中心\t100.25\t40\t-5\t5\t30\r\n"
        "2026/12/08 14:31:00\ta,b.dwg\tリージョン\t1.50\t5.00\t1.5\t-2.5\t30\r\n"
        "合計\t\t\t101.75\t\t\t\t\r\n";
    EXPECT_EQ(ClipboardAnsi(), expected);
    EXPECT_EQ(ClipboardUnicode(), platform::WideFromAnsi(expected));
}

TEST_F(ResultsMenuOnTheForm, CopyWaitsOutAnotherProgramHoldingTheClipboardForAMoment) {
    ASSERT_TRUE(form.Results().Append(u"2026/12/08 14:31:00,a.dwg,リージョン,1.50,5.00,1.5,-2.5,30\r\n"));
    HANDLE held = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([held] {
        ::OpenClipboard(nullptr);
        ::SetEvent(held);
        ::Sleep(150);
        ::CloseClipboard();
    });
    ASSERT_EQ(::WaitForSingleObject(held, 5000), WAIT_OBJECT_0);
    testsupport::MessageBoxCatcher boxes(app::kApplicationTitle);
    ::SendMessageA(form.Handle(), WM_SYSCOMMAND, app::kCmdCopyResults, 0);
    holder.join();
    ::CloseHandle(held);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_NE(ClipboardAnsi().find("a.dwg\tリージョン\t1.50"), std::string::npos);
}

TEST_F(ResultsMenuOnTheForm, AFailedRowIsShownOnceAfterTheRunAndWrittenByALaterOne) {
    app::Win32WorkflowHost host(form);
    const std::u16string shape = app::FormatResultRow(
        u"2026/12/08 14:30:15", u"", {app::ReportVariant::Region, u"1.00", u"4.00", u"0.5", u"0.5", u"30"});
    ASSERT_TRUE(form.Results().Append(u"0\r\n"));
    HANDLE lock = ::CreateFileW(W(ListPath()), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    {
        testsupport::MessageBoxCatcher boxes(app::kApplicationTitle);
        host.Tell(app::RowAdded{shape});  // two passes of one continuous run
        host.Tell(app::RowAdded{shape});
        host.ReportResultsFailure();
        host.ReportResultsFailure();
        ASSERT_TRUE(boxes.WaitFor(1, 5000));
        ::Sleep(300);
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], ListPath() + u" に書き込めません.");
    }
    ::CloseHandle(lock);
    host.Tell(app::RowAdded{shape});
    const std::string list = ReadBytes(ListPath());
    std::size_t rows = 0;
    for (std::size_t at = list.find(Utf8(",,リージョン,1.00,4.00,0.5,0.5,30\r\n")); at != std::string::npos;
         at = list.find(Utf8(",,リージョン,1.00,4.00,0.5,0.5,30\r\n"), at + 1))
        ++rows;
    EXPECT_EQ(rows, 3u);
}

}  // namespace
