#include <windows.h>

#include <gtest/gtest.h>

#include "control_ids.h"
#include "framework/application.h"
#include "framework/shell_folders.h"
#include "file_bytes.h"
#include "message_box_catcher.h"
#include "report_stem_claim.h"
#include "tavro_form.h"
#include "text_conversion.h"

namespace {

using framework::Application;

using testsupport::ReadBytes;
using testsupport::WriteBytes;

std::u16string WorkFolder() {
    return framework::SpecialFolderPath(nullptr, 0x1a) + u"\\Halvetra\\";
}

// The settings file of this test program: named after the exe, in the work folder.
std::u16string SettingsFile() {
    return WorkFolder() + u"tavro_form_win32_test.Ini";
}

const wchar_t* W(const std::u16string& path) {
    return framework::WidePath(path);
}

// The window's place as closing writes it beside the size.
std::string PlaceLines(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return "左=" + std::to_string(rect.left) + "\r\n上=" + std::to_string(rect.top) + "\r\n";
}

RECT ClientRectIn(HWND window, HWND reference) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A left click on a gradient button, as its window gets it from the mouse.
void ClickButton(pl::TplButton* button) {
    const LPARAM centre = MAKELPARAM(button->Width() / 2, button->Height() / 2);
    ::SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageA(button->Handle(), WM_LBUTTONUP, 0, centre);
}

class RecordingWorkflows : public app::Workflows {
public:
    void Start(app::RunMode mode, const app::RunTrigger& trigger) override {
        calls += mode == app::RunMode::FaceCentre ? "F" : "R";
        byPointer = trigger.byPointer;
    }
    bool Running() const override { return running; }
    void Stop(app::RunEnd why) override {
        if (running)
            calls += why == app::RunEnd::Close ? "C" : why == app::RunEnd::SessionEnd ? "S" : "?";
        running = false;
    }
    std::string calls;
    bool running = false;
    bool byPointer = false;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        Application.SetTitle(app::kApplicationTitle);
        framework::ForceDirectories(WorkFolder());
        ::DeleteFileW(W(SettingsFile()));
        ::RemoveDirectoryW(W(SettingsFile()));
    }
    void TearDown() override {
        ::SetFileAttributesW(W(SettingsFile()), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(W(SettingsFile()));
        ::RemoveDirectoryW(W(SettingsFile()));
    }
};

TEST_F(MainWindow, LayoutCaptionsAndStyleAreAsDesigned) {
    app::TTavroF form;
    HWND window = form.Handle();
    char caption[64] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "図心位置に円を描く");
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 210);
    EXPECT_EQ(client.bottom, 97);

    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    // Centred on the screen.
    RECT frame;
    ::GetWindowRect(window, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    struct Expected {
        int id;
        const char* text;
        RECT bounds;  // left, top, right, bottom within the client area
    };
    const Expected controls[] = {
        {app::kIdGroupBox2, "円の大きさ", {8, 52, 81, 93}}, {app::kIdCheckBox1, "連続", {88, 32, 137, 49}},
        {app::kIdPlButton1, "閉じる", {144, 64, 201, 90}},  {app::kIdPlButton2, "実　行", {144, 32, 201, 58}},
        {app::kIdCheckBox2, "面の中心", {8, 32, 81, 49}},
    };
    for (const Expected& control : controls) {
        HWND child = ::GetDlgItem(window, control.id);
        ASSERT_NE(child, nullptr) << control.id;
        char text[64] = {};
        ::GetWindowTextA(child, text, sizeof text);
        // The gradient buttons draw their caption line themselves; their windows carry no text.
        if (control.id == app::kIdPlButton1)
            EXPECT_EQ(platform::AnsiFromWide(form.plButton1->CaptionA().Caption()), control.text);
        else if (control.id == app::kIdPlButton2)
            EXPECT_EQ(platform::AnsiFromWide(form.plButton2->CaptionA().Caption()), control.text);
        else
            EXPECT_STREQ(text, control.text);
        const RECT rect = ClientRectIn(child, window);
        EXPECT_EQ(rect.left, control.bounds.left) << control.text;
        EXPECT_EQ(rect.top, control.bounds.top) << control.text;
        EXPECT_EQ(rect.right, control.bounds.right) << control.text;
        EXPECT_EQ(rect.bottom, control.bounds.bottom) << control.text;
    }
    // The size box sits inside the group box.
    EXPECT_EQ(::GetParent(form.Edit1->Handle()), form.GroupBox2->Handle());
    const RECT edit = ClientRectIn(form.Edit1->Handle(), form.GroupBox2->Handle());
    EXPECT_EQ(edit.left, 16);
    EXPECT_EQ(edit.top, 16);
    EXPECT_EQ(edit.right - edit.left, 41);
    EXPECT_EQ(edit.bottom - edit.top, 20);
    EXPECT_TRUE(form.CheckBox2->Checked());
    EXPECT_FALSE(form.CheckBox1->Checked());

    LOGFONTA font{};
    ASSERT_TRUE(::GetObjectA(form.Font(), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(form.Edit1->Handle(), WM_GETFONT, 0, 0)), form.Font());
}

TEST_F(MainWindow, GradientButtonsCarryTheirDesignValues) {
    app::TTavroF form;
    for (pl::TplButton* button : {form.plButton1, form.plButton2}) {
        EXPECT_EQ(button->GradBeginColor(), framework::clWhite) << button->Name();
        EXPECT_EQ(button->GradEndColor(), framework::clMoneyGreen) << button->Name();
        EXPECT_EQ(button->CaptionTop(), 8) << button->Name();
        EXPECT_FALSE(button->CaptionVertCenter()) << button->Name();
        EXPECT_FALSE(button->DisableImage()) << button->Name();
        // Image.Top 0 is the value it had, so its centring stays on.
        EXPECT_EQ(button->Image().Top(), 0) << button->Name();
        EXPECT_TRUE(button->Image().VertCenter()) << button->Name();
        EXPECT_TRUE(button->CaptionInitialized()) << button->Name();
        EXPECT_EQ(button->ButtonStyle(), pl::bsNormal) << button->Name();
        EXPECT_TRUE(button->TabStop()) << button->Name();
    }
    EXPECT_EQ(form.plButton1->Name(), "plButton1");
    EXPECT_EQ(form.plButton2->Name(), "plButton2");
}

TEST_F(MainWindow, TabOrderRunsFromTheSizeToFaceCentre) {
    app::TTavroF form;
    HWND window = form.Handle();
    const HWND expected[] = {form.Edit1->Handle(), form.CheckBox1->Handle(), form.plButton1->Handle(),
                             form.plButton2->Handle(), form.CheckBox2->Handle()};
    HWND item = expected[0];
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        item = ::GetNextDlgTabItem(window, item, FALSE);
        EXPECT_EQ(item, expected[i]) << "tab stop " << i;
    }
    EXPECT_EQ(::GetNextDlgTabItem(window, item, FALSE), expected[0]);
}

TEST_F(MainWindow, StartUpClearsLabelsFixesPathsAndShowsTheDefaultSize) {
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    app::TTavroF form;
    EXPECT_EQ(form.Label1->Caption(), u"");
    EXPECT_EQ(form.Label2->Caption(), u"");
    EXPECT_EQ(form.Edit1->Text(), u"50");

    const app::RunPaths& paths = form.Paths();
    EXPECT_EQ(paths.WorkFolder(), WorkFolder());
    const DWORD attributes = ::GetFileAttributesW(W(paths.WorkFolder()));
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    const std::string stamp = platform::AnsiFromWide(paths.ReportStem().substr(paths.WorkFolder().size()));
    ASSERT_EQ(stamp.size(), 12u) << stamp;
    char datePart[16];
    std::snprintf(datePart, sizeof datePart, "%02d%02d%02d", before.wYear % 100, before.wMonth, before.wDay);
    EXPECT_EQ(stamp.substr(0, 6), datePart);
    EXPECT_EQ(paths.ReportPath(), paths.ReportStem() + u".mpr");
    EXPECT_EQ(form.SettingsPath(), SettingsFile());
    // No file is made for the script or report paths at start-up.
    EXPECT_EQ(::GetFileAttributesW(W(paths.ScriptPath())), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindow, InstancesStartedTogetherGetReportStemsOfTheirOwn) {
    // Three windows within a second or two: each stem is held by one of them only.
    app::TTavroF first;
    app::TTavroF second;
    app::TTavroF third;
    const std::u16string stems[] = {first.Paths().ReportStem(), second.Paths().ReportStem(),
                                    third.Paths().ReportStem()};
    EXPECT_NE(stems[0], stems[1]);
    EXPECT_NE(stems[1], stems[2]);
    EXPECT_NE(stems[0], stems[2]);
    const std::size_t folder = first.Paths().WorkFolder().size();
    if (stems[0].size() == folder + 12 && stems[1].substr(0, folder + 12) == stems[0]) {
        EXPECT_EQ(stems[1].substr(folder + 12), u"-2");  // the same second: the next free stamp
    }

    // The claim itself: held while its owner lives, refused for a stamp whose report is there.
    const std::u16string workFolder = WorkFolder();
    {
        app::ReportStemClaim held;
        app::ReportStemClaim other;
        ASSERT_TRUE(held.TryClaim(workFolder, "991231235958"));
        EXPECT_FALSE(other.TryClaim(workFolder, "991231235958"));
    }
    app::ReportStemClaim again;
    EXPECT_TRUE(again.TryClaim(workFolder, "991231235958"));
    const std::u16string report = workFolder + u"991231235957.mpr";
    WriteBytes(report, "report of an instance that has ended");
    EXPECT_FALSE(again.TryClaim(workFolder, "991231235957"));
    ::DeleteFileW(W(report));
}

TEST_F(MainWindow, SavedSizeIsShownAndClosingWritesItBackUnchanged) {
    WriteBytes(SettingsFile(), "[初期化]\r\n大きさ=75\r\n");
    std::string place;
    {
        app::TTavroF form;
        EXPECT_EQ(form.Edit1->Text(), u"75");
        form.Edit1->SetText(u"ab c");
        place = PlaceLines(form.Handle());
        form.Close();
        EXPECT_FALSE(::IsWindow(form.Handle()));
    }
    EXPECT_EQ(ReadBytes(SettingsFile()), "[初期化]\r\n大きさ=ab c\r\n" + place);
    {
        app::TTavroF form;
        EXPECT_EQ(form.Edit1->Text(), u"ab c");
        form.Edit1->SetText(u"");
        form.Close();
    }
    EXPECT_EQ(ReadBytes(SettingsFile()), "[初期化]\r\n大きさ=\r\n" + place);
    app::TTavroF form;
    EXPECT_EQ(form.Edit1->Text(), u"");
}

TEST_F(MainWindow, ExecuteRunsTheModeOfTheFaceCentreBox) {
    app::TTavroF form;
    RecordingWorkflows workflows;
    form.SetWorkflows(&workflows);
    ClickButton(form.plButton2);
    EXPECT_EQ(workflows.calls, "F");
    form.CheckBox1->SetChecked(true);  // continuous has no say in the choice
    ClickButton(form.plButton2);
    EXPECT_EQ(workflows.calls, "FF");
    // A real click on the box unchecks it.
    ::SendMessageA(form.CheckBox2->Handle(), BM_CLICK, 0, 0);
    ASSERT_FALSE(form.CheckBox2->Checked());
    ClickButton(form.plButton2);
    EXPECT_EQ(workflows.calls, "FFR");
    form.CheckBox1->SetChecked(false);
    form.ExecuteClick(form.plButton2);
    EXPECT_EQ(workflows.calls, "FFRR");
    // Automation clicks a push button with BM_CLICK; the self-painted one answers as a standard one,
    // and not while it is disabled.
    ::SendMessageA(form.plButton2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(workflows.calls, "FFRRR");
    ::EnableWindow(form.plButton2->Handle(), FALSE);
    ::SendMessageA(form.plButton2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(workflows.calls, "FFRRR");
}

// Close during a run stops the run (its CAD settings go back) and the window closes at once; a
// further Execute during a run starts nothing.
TEST_F(MainWindow, CloseDuringARunStopsItAndCloses) {
    app::TTavroF form;
    RecordingWorkflows workflows;
    form.SetWorkflows(&workflows);
    HWND window = form.Handle();
    const std::string place = PlaceLines(window);
    workflows.running = true;
    ClickButton(form.plButton2);
    EXPECT_EQ(workflows.calls, "");
    form.Close();
    EXPECT_EQ(workflows.calls, "C");
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(ReadBytes(SettingsFile()), "[初期化]\r\n大きさ=50\r\n" + place);
}

// The system asks whether the session may end, then says it ends, then ends the process: the run
// stops at the question (its CAD settings go back at once), and the size is saved at the end.
TEST_F(MainWindow, SessionEndStopsTheRunPutsBackItsSettingsAndSavesTheSize) {
    for (const bool running : {true, false}) {
        ::DeleteFileW(W(SettingsFile()));
        app::TTavroF form;
        RecordingWorkflows workflows;
        form.SetWorkflows(&workflows);
        workflows.running = running;
        form.Edit1->SetText(running ? u"12.5" : u"7");
        EXPECT_EQ(::SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        EXPECT_EQ(workflows.calls, running ? "S" : "");
        EXPECT_EQ(ReadBytes(SettingsFile()), "");
        ::SendMessageA(form.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(ReadBytes(SettingsFile()),
                  std::string("[初期化]\r\n大きさ=") + (running ? "12.5" : "7") + "\r\n" + PlaceLines(form.Handle()));
        EXPECT_TRUE(::IsWindow(form.Handle()));
    }
}

TEST_F(MainWindow, CloseButtonSavesTheSizeAndClosesTheWindow) {
    app::TTavroF form;
    HWND window = form.Handle();
    form.Edit1->SetText(u"123");
    const std::string place = PlaceLines(window);
    ClickButton(form.plButton1);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(ReadBytes(SettingsFile()), "[初期化]\r\n大きさ=123\r\n" + place);
}

TEST_F(MainWindow, UnwritableSettingsFileShowsTheErrorAndTheWindowStillCloses) {
    ::CreateDirectoryW(W(SettingsFile()), nullptr);
    app::TTavroF form;
    EXPECT_EQ(form.Edit1->Text(), u"50");
    HWND window = form.Handle();
    testsupport::MessageBoxCatcher catcher(app::kApplicationTitle);
    ClickButton(form.plButton1);
    ASSERT_TRUE(catcher.WaitFor(1, 5000));
    EXPECT_EQ(catcher.Texts().at(0), SettingsFile() + u" に書き込めません.");
    EXPECT_FALSE(::IsWindow(window));
}

}  // namespace

namespace {

TEST_F(MainWindow, BannerIsTheMarqueeWithItsDesignValuesAndJapaneseGlyphs) {
    app::TTavroF form;
    es::TEsScrollingMarquee* banner = form.EsScrollingMarquee1;
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->Left(), 8);
    EXPECT_EQ(banner->Top(), 0);
    EXPECT_EQ(banner->Width(), 193);
    EXPECT_EQ(banner->Height(), 25);
    EXPECT_EQ(banner->Alignment(), framework::taCenter);
    EXPECT_EQ(banner->Caption(),
              u"AutoCADのMassProコマンドを使用して図心位置を取得します。面の中心かリージョンをクリックしてください");
    EXPECT_EQ(banner->Font(), (framework::TFont{u"Times New Roman", -24, SHIFTJIS_CHARSET, framework::clGray, 0}));
    EXPECT_FALSE(banner->ParentFont());
    EXPECT_EQ(banner->ScrollSpeed(), 5);
    EXPECT_EQ(banner->Behavior(), es::TEsBehaviors::bhCycle);
    EXPECT_EQ(banner->ScrollDirection(), es::TEsScrollDirection::sdRightToLeft);
    EXPECT_EQ(banner->Appearance(), es::TEsAppearance::apRaised);
    EXPECT_EQ(banner->ColorScheme(), es::TEsColorScheme::csWindows);
    EXPECT_EQ(banner->FocusControl(), form.Edit1);
    EXPECT_EQ(banner->Version(), "1.11");
    // Switched on by FormCreate: the text enters at the right edge and the timer runs.
    EXPECT_TRUE(banner->Active());
    EXPECT_TRUE(banner->TimerRunning());
    EXPECT_LE(banner->Position().x, 193);

    // The banner's font, asked for with the Japanese character set, has the caption's glyphs.
    framework::WindowDc dc(form.Handle());
    framework::FontHandle font = framework::CreateFontHandle(banner->Font());
    framework::SelectedObject selected(dc.Get(), font.Get());
    const wchar_t text[] = L"\u56f3\u5fc3\u4f4d\u7f6e\u30ea\u30fc\u30b8\u30e7\u30f3";  // 図心位置リージョン
    WORD glyphs[std::size(text) - 1] = {};
    ASSERT_EQ(
        ::GetGlyphIndicesW(dc.Get(), text, static_cast<int>(std::size(glyphs)), glyphs, GGI_MARK_NONEXISTING_GLYPHS),
        static_cast<DWORD>(std::size(glyphs)));
    for (WORD glyph : glyphs)
        EXPECT_NE(glyph, 0xFFFF);
    EXPECT_EQ(::GetTextCharset(dc.Get()), SHIFTJIS_CHARSET);
}

}  // namespace
