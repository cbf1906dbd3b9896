#include "cadlink/window_discovery.h"

#include <gtest/gtest.h>

#include "simulated_desktop.h"

using cadlink::WindowDiscovery;
using platform::WindowHandle;
using platform::sim::SimulatedDesktop;

namespace {

const char kAfxFrame[] = "Afx:0000000140000000:8:0000000000010003:0000000000000000:0000000000110597";
const char kAfxText[] = "Afx:0000000140000000:b:0000000000010003:0000000000000006:0000000000000000";
const std::uint32_t kCadProcess = 0x1a4;
const std::uint32_t kOtherProcess = 0x2b8;

// One running AutoCAD: main frame with a docked command line, and its text window.
struct CadWindows {
    WindowHandle mainFrame, dock, prompt, history, textWindow;
};

CadWindows OpenAutoCad(SimulatedDesktop& desktop,
                       std::uint32_t process,
                       const char* promptTitle = "Headlands",
                       const char* historyTitle = "MountTam") {
    CadWindows cad{};
    cad.textWindow = desktop.AddTopLevel("AutoCAD テキスト ウィンドウ - Drawing1.dwg", kAfxText, process);
    cad.mainFrame = desktop.AddTopLevel("AutoCAD 2024 - [Drawing1.dwg]", kAfxFrame, process);
    cad.dock = desktop.AddChild(cad.mainFrame, "コマンド ライン", "Afx:CommandBar");
    cad.history = desktop.AddChild(cad.dock, historyTitle, "Afx:History");
    cad.prompt = desktop.AddChild(cad.dock, promptTitle, "Afx:Prompt");
    return cad;
}

class DiscoveryTest : public ::testing::Test {
protected:
    SimulatedDesktop desktop;
    WindowDiscovery discovery{desktop};

    bool IsMainFrame(const std::string& title, const std::string& className) {
        SimulatedDesktop local;
        WindowDiscovery d(local);
        const WindowHandle w = local.AddTopLevel(title, className, kCadProcess);
        return d.FindMainFrame() == w;
    }
};

TEST_F(DiscoveryTest, NoCadProgramFindsNothingAndSearchesNoChildren) {
    desktop.AddTopLevel("メモ帳", "Notepad", 7);
    desktop.AddTopLevel("", "Shell_TrayWnd", 8);
    EXPECT_EQ(discovery.FindMainFrame(), 0u);
    EXPECT_FALSE(discovery.IsCadReady());
    desktop.ResetCalls();
    EXPECT_EQ(discovery.FindPromptWindow(), 0u);
    EXPECT_EQ(discovery.FindHistoryPane(), 0u);
    EXPECT_EQ(desktop.Calls().enumChildWindows, 0);
}

TEST_F(DiscoveryTest, TitleFamiliesNeedTheirExactPrefix) {
    EXPECT_TRUE(IsMainFrame("AutoCAD 2024 - [a.dwg]", kAfxFrame));
    EXPECT_TRUE(IsMainFrame("Autodesk AutoCAD LT 2024", kAfxFrame));
    EXPECT_TRUE(IsMainFrame("ACADLT - [a.dwg]", kAfxFrame));  // "ACAD" and further letters
    EXPECT_TRUE(IsMainFrame("ACAD", kAfxFrame));
    EXPECT_FALSE(IsMainFrame("AutoCAD", kAfxFrame));  // prefix without its trailing space
    EXPECT_FALSE(IsMainFrame("AUTOCAD 2024", kAfxFrame));
    EXPECT_FALSE(IsMainFrame("autodesk AutoCAD", kAfxFrame));
    EXPECT_FALSE(IsMainFrame("Acad 2024", kAfxFrame));
    EXPECT_FALSE(IsMainFrame(" AutoCAD 2024", kAfxFrame));
    EXPECT_FALSE(IsMainFrame("", kAfxFrame));
}

TEST_F(DiscoveryTest, AutoCadClassRules) {
    EXPECT_TRUE(IsMainFrame("AutoCAD 2024", "Afx:400000:8:10003:0:0"));
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "Afx:400000:b:10003:0:0"));
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "XAfx:400000:8:10003"));  // ":8:" but not an Afx class
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "QPopup"));
    for (int n = 10; n <= 140; n += 10) {
        const std::string frame = "AfxMDIFrame" + std::to_string(n) + "u";
        EXPECT_TRUE(IsMainFrame("AutoCAD 2024", frame)) << frame;
        EXPECT_TRUE(IsMainFrame("Autodesk AutoCAD", "Prefix" + frame + "Suffix")) << frame;
    }
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "AfxMDIFrame150u"));
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "AfxMDIFrame140"));
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "AfxMDIFrame15u"));
}

TEST_F(DiscoveryTest, DraftSightNeedsQPopupAndNothingElse) {
    EXPECT_TRUE(IsMainFrame("DraftSight 2019 - [a.dwg]", "Qt5QPopupWindow"));
    EXPECT_TRUE(IsMainFrame("DraftSight", "QPopup"));
    EXPECT_FALSE(IsMainFrame("DraftSight 2019", kAfxFrame));
    EXPECT_FALSE(IsMainFrame("DraftSight 2019", "AfxMDIFrame140u"));
    EXPECT_FALSE(IsMainFrame("Draftsight 2019", "QPopup"));
    EXPECT_FALSE(IsMainFrame("AutoCAD 2024", "QPopup"));
}

TEST_F(DiscoveryTest, RejectedCandidateLetsTheSearchGoOnDownTheZOrder) {
    const WindowHandle real = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    desktop.AddTopLevel("AutoCAD 2024", kAfxText, kOtherProcess);  // higher, wrong class
    EXPECT_EQ(discovery.FindMainFrame(), real);
    EXPECT_EQ(discovery.Kept().MainProcessId, kCadProcess);
}

TEST_F(DiscoveryTest, HigherOfTwoMainFramesIsTaken) {
    const WindowHandle lower = desktop.AddTopLevel("AutoCAD 2023", kAfxFrame, kCadProcess);
    const WindowHandle upper = desktop.AddTopLevel("DraftSight 2019", "QPopup", kOtherProcess);
    EXPECT_EQ(discovery.FindMainFrame(), upper);
    EXPECT_EQ(discovery.Kept().MainProcessId, kOtherProcess);
    desktop.Destroy(upper);
    desktop.BringToTop(lower);
    EXPECT_EQ(discovery.FindMainFrame(), lower);
    EXPECT_EQ(discovery.Kept().MainProcessId, kCadProcess);
}

TEST_F(DiscoveryTest, LiveMainFrameIsKeptWithoutSearching) {
    const WindowHandle first = desktop.AddTopLevel("AutoCAD 2023", kAfxFrame, kCadProcess);
    ASSERT_EQ(discovery.FindMainFrame(), first);
    desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kOtherProcess);  // now higher
    desktop.ResetCalls();
    EXPECT_EQ(discovery.FindMainFrame(), first);
    EXPECT_EQ(desktop.Calls().enumWindows, 0);
}

TEST_F(DiscoveryTest, FailedSearchLeavesDeadHandleAndProcessAsTheyWere) {
    const WindowHandle gone = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    ASSERT_EQ(discovery.FindMainFrame(), gone);
    desktop.Destroy(gone);
    desktop.AddTopLevel("AutoCAD 2024", "NotAFrame", kOtherProcess);
    EXPECT_EQ(discovery.FindMainFrame(), gone);
    EXPECT_FALSE(discovery.IsCadReady());
    EXPECT_EQ(discovery.Kept().MainProcessId, kCadProcess);
}

TEST_F(DiscoveryTest, TextWindowOfAnotherProcessIsSkipped) {
    const CadWindows mine = OpenAutoCad(desktop, kCadProcess);
    ASSERT_EQ(discovery.FindMainFrame(), mine.mainFrame);
    // A second AutoCAD's text window, above ours in the Z order.
    desktop.AddTopLevel("AutoCAD テキスト ウィンドウ - Other.dwg", kAfxText, kOtherProcess);
    EXPECT_EQ(discovery.FindTextWindow(), mine.textWindow);
    desktop.ResetCalls();
    EXPECT_EQ(discovery.FindTextWindow(), mine.textWindow);  // kept: one question, no walk
    EXPECT_EQ(desktop.Calls().enumWindows, 0);
    EXPECT_EQ(desktop.Calls().getProcessId, 1);

    desktop.Destroy(mine.textWindow);
    EXPECT_EQ(discovery.FindTextWindow(), 0u);
    EXPECT_EQ(discovery.Kept().TextWindow, 0u);  // cleared by every search
}

TEST_F(DiscoveryTest, TextWindowRules) {
    auto isTextWindow = [](const std::string& title, const std::string& className) {
        SimulatedDesktop local;
        WindowDiscovery d(local);
        local.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
        const WindowHandle w = local.AddTopLevel(title, className, kCadProcess);
        d.FindMainFrame();
        return d.FindTextWindow() == w;
    };
    EXPECT_TRUE(isTextWindow("AutoCAD テキスト ウィンドウ - a.dwg", kAfxText));
    EXPECT_TRUE(isTextWindow("AutoCAD LT テキスト ウィンドウ", "Afx:1:b:2"));
    EXPECT_FALSE(isTextWindow("AutoCAD テキスト ウィンドウ", kAfxFrame));  // ":8:" class
    EXPECT_FALSE(isTextWindow("AutoCAD テキスト ウィンドウ", "Window:b:"));
    EXPECT_FALSE(isTextWindow("AutoCAD ウィンドウ", kAfxText));
    EXPECT_FALSE(isTextWindow("Autodesk テキスト ウィンドウ", kAfxText));
    // The command window is taken by its whole title alone, whatever its class.
    EXPECT_TRUE(isTextWindow("コマンド ウィンドウ", "AnyClass"));
    EXPECT_TRUE(isTextWindow("コマンド ウィンドウ", kAfxFrame));
    EXPECT_FALSE(isTextWindow("コマンド ウィンドウ - Drawing1", "AnyClass"));
    EXPECT_FALSE(isTextWindow("コマンド ウィンドウ ", "AnyClass"));
    EXPECT_FALSE(isTextWindow("コマンド ウィン", "AnyClass"));
    // An "AutoCAD " title is judged by the AutoCAD rule only.
    EXPECT_FALSE(isTextWindow("AutoCAD コマンド ウィンドウ", "AnyClass"));
}

TEST_F(DiscoveryTest, TextWindowNeedsAKnownMainFrameProcess) {
    desktop.AddTopLevel("コマンド ウィンドウ", "AnyClass", kCadProcess);
    EXPECT_EQ(discovery.FindTextWindow(), 0u);  // no main frame recorded: process 0 matches nothing
}

TEST_F(DiscoveryTest, DockedCommandLineIsFoundInTheMainFrame) {
    const CadWindows cad = OpenAutoCad(desktop, kCadProcess);
    EXPECT_EQ(discovery.FindPromptWindow(), cad.prompt);
    EXPECT_EQ(discovery.Kept().HistoryPane, cad.history);  // refreshed on the way
    desktop.ResetCalls();
    EXPECT_EQ(discovery.FindHistoryPane(), cad.history);
    EXPECT_EQ(discovery.FindPromptWindow(), cad.prompt);
    // The steady state costs liveness tests only.
    EXPECT_EQ(desktop.Calls().enumWindows + desktop.Calls().enumChildWindows, 0);
    EXPECT_EQ(desktop.Calls().getWindowText, 0);
}

TEST_F(DiscoveryTest, InputOutputChildTitlesAreRecognisedToo) {
    const CadWindows cad = OpenAutoCad(desktop, kCadProcess, "input", "output");
    EXPECT_EQ(discovery.FindHistoryPane(), cad.history);
    EXPECT_EQ(discovery.FindPromptWindow(), cad.prompt);
}

TEST_F(DiscoveryTest, ChildTitlesAreComparedWhole) {
    const WindowHandle frame = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    for (const char* title : {"headlands", "Headlands ", "HeadlandsX", "Input", "mounttam", "OUTPUT", "output2"})
        desktop.AddChild(frame, title, "Child");
    EXPECT_EQ(discovery.FindPromptWindow(), 0u);
    EXPECT_EQ(discovery.FindHistoryPane(), 0u);
    EXPECT_EQ(discovery.Kept().PromptWindow, 0u);
    EXPECT_EQ(discovery.Kept().HistoryPane, 0u);
}

TEST_F(DiscoveryTest, LaterChildMatchOverwritesEarlierUntilBothAreLive) {
    const WindowHandle frame = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    desktop.AddChild(frame, "Headlands", "Child");
    const WindowHandle second = desktop.AddChild(frame, "input", "Child");
    const WindowHandle history = desktop.AddChild(frame, "MountTam", "Child");
    const WindowHandle afterStop = desktop.AddChild(frame, "input", "Child");
    EXPECT_EQ(discovery.FindPromptWindow(), second);
    EXPECT_EQ(discovery.Kept().HistoryPane, history);
    EXPECT_NE(discovery.Kept().PromptWindow, afterStop);  // the walk stopped once both were live
}

TEST_F(DiscoveryTest, FloatingPaletteOfAnyProcessHoldsTheCommandLine) {
    desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    const WindowHandle palette = desktop.AddTopLevel("コマンド ライン", "Afx:1:8:2", kOtherProcess);
    const WindowHandle history = desktop.AddChild(palette, "MountTam", "H");
    const WindowHandle prompt = desktop.AddChild(palette, "Headlands", "P");
    EXPECT_EQ(discovery.FindPromptWindow(), prompt);
    EXPECT_EQ(discovery.Kept().Palette, palette);
    EXPECT_EQ(discovery.FindHistoryPane(), history);
}

TEST_F(DiscoveryTest, PaletteNeedsAnAfxEightClass) {
    desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    const WindowHandle palette = desktop.AddTopLevel("コマンド ライン", "Afx:1:b:2", kCadProcess);
    desktop.AddChild(palette, "Headlands", "P");
    EXPECT_EQ(discovery.FindPromptWindow(), 0u);
    EXPECT_EQ(discovery.Kept().Palette, 0u);
}

TEST_F(DiscoveryTest, PaletteTitleIsNotMatchedFromTheMiddleOfACharacter) {
    desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    // 0x81 0x83 is one character; the literal's bytes follow from its second byte on.
    const std::string title = std::string("\x81") + "コマンド ライン";
    const WindowHandle palette = desktop.AddTopLevel(title, "Afx:1:8:2", kCadProcess);
    desktop.AddChild(palette, "Headlands", "P");
    EXPECT_EQ(discovery.FindPromptWindow(), 0u);
    desktop.SetTitle(palette, "AutoCAD 2024 コマンド ライン - Drawing1");
    EXPECT_NE(discovery.FindPromptWindow(), 0u);
}

TEST_F(DiscoveryTest, WithoutPaletteTheTextWindowIsSearched) {
    desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    const WindowHandle text = desktop.AddTopLevel("コマンド ウィンドウ", "Any", kCadProcess);
    const WindowHandle prompt = desktop.AddChild(text, "input", "P");
    EXPECT_EQ(discovery.FindPromptWindow(), prompt);
    EXPECT_EQ(discovery.Kept().TextWindow, text);
}

TEST_F(DiscoveryTest, WithoutTextWindowOnlyTheCadsOwnTopLevelWindowsAreWalked) {
    const WindowHandle frame = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    const WindowHandle prompt = desktop.AddChild(frame, "Headlands", "P");
    // Another program's windows with command-line titles, above the CAD program's own.
    const WindowHandle own = desktop.AddTopLevel("output", "Whatever", kCadProcess);
    desktop.AddTopLevel("output", "Whatever", kOtherProcess);
    desktop.AddTopLevel("Headlands", "Whatever", kOtherProcess);
    EXPECT_EQ(discovery.FindPromptWindow(), prompt);
    EXPECT_EQ(discovery.FindHistoryPane(), own);
    // The history search walked past the other program's "Headlands": the prompt window stays.
    EXPECT_EQ(discovery.FindPromptWindow(), prompt);
    desktop.Destroy(own);
    EXPECT_EQ(discovery.FindHistoryPane(), 0u);
}

TEST_F(DiscoveryTest, RestartedCadIsFoundAlthoughOldHandlesAreKept) {
    const CadWindows before = OpenAutoCad(desktop, kCadProcess);
    ASSERT_EQ(discovery.FindPromptWindow(), before.prompt);
    ASSERT_EQ(discovery.FindTextWindow(), before.textWindow);
    desktop.Destroy(before.mainFrame);
    desktop.Destroy(before.textWindow);
    EXPECT_FALSE(discovery.IsCadReady());
    EXPECT_EQ(discovery.Kept().PromptWindow, before.prompt);  // kept, dead

    const CadWindows after = OpenAutoCad(desktop, kOtherProcess, "input", "output");
    EXPECT_EQ(discovery.FindPromptWindow(), after.prompt);
    EXPECT_EQ(discovery.Kept().MainFrame, after.mainFrame);
    EXPECT_EQ(discovery.Kept().MainProcessId, kOtherProcess);
    EXPECT_EQ(discovery.FindHistoryPane(), after.history);
    EXPECT_EQ(discovery.FindTextWindow(), after.textWindow);
}

// Two CAD programs: each run drives the frame on top with that program's own windows, the palette
// of its own process before another's higher one; a chosen frame that goes is not replaced by the
// other until the next run chooses again, and a choice that finds none keeps what was kept.
TEST_F(DiscoveryTest, RunChoosesTheFrameOnTopWithItsOwnWindowsAndHoldsIt) {
    const CadWindows a = OpenAutoCad(desktop, kCadProcess);
    const CadWindows b = OpenAutoCad(desktop, kOtherProcess, "input", "output");
    for (const CadWindows* top : {&a, &b, &b, &a}) {
        desktop.BringToTop(top->mainFrame);
        EXPECT_EQ(discovery.ChooseTopMainFrame(), top->mainFrame);
        EXPECT_EQ(discovery.FindPromptWindow(), top->prompt);
        EXPECT_EQ(discovery.FindHistoryPane(), top->history);
        EXPECT_EQ(discovery.FindTextWindow(), top->textWindow);
    }
    const WindowHandle paletteA = desktop.AddTopLevel("コマンド ライン", "Afx:1:8:2", kCadProcess);
    desktop.AddChild(desktop.AddTopLevel("コマンド ライン", "Afx:1:8:2", kOtherProcess), "Headlands", "P");
    const WindowHandle floating = desktop.AddChild(paletteA, "Headlands", "P");
    desktop.Destroy(a.prompt);
    EXPECT_EQ(discovery.FindPromptWindow(), floating);

    desktop.BringToTop(b.mainFrame);
    ASSERT_EQ(discovery.ChooseTopMainFrame(), b.mainFrame);
    desktop.Destroy(b.mainFrame);
    EXPECT_FALSE(discovery.IsCadReady());
    EXPECT_EQ(discovery.ChooseTopMainFrame(), a.mainFrame);
    desktop.Destroy(a.mainFrame);
    EXPECT_EQ(discovery.ChooseTopMainFrame(), a.mainFrame);
    EXPECT_EQ(discovery.Kept().MainProcessId, kCadProcess);
}

TEST_F(DiscoveryTest, MainFrameTitleComesWholeInUtf16) {
    const CadWindows cad = OpenAutoCad(desktop, kCadProcess);
    const std::u16string title = u"AutoCAD 2024 - [\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg] " + std::u16string(300, u'x');
    desktop.SetTitleW(cad.mainFrame, title);
    ASSERT_EQ(discovery.ChooseTopMainFrame(), cad.mainFrame);  // the code page's form still matches
    EXPECT_EQ(discovery.MainFrameTitle(), title);
    desktop.Destroy(cad.mainFrame);
    EXPECT_EQ(discovery.MainFrameTitle(), u"");
}

TEST_F(DiscoveryTest, OnlyTheFirst254BytesOfATitleAreTested) {
    desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, kCadProcess);
    ASSERT_TRUE(discovery.IsCadReady());
    const std::string padding(240, 'x');
    // "テキスト ウィンドウ" starts at byte 248 and so is cut short.
    const WindowHandle cut = desktop.AddTopLevel("AutoCAD " + padding + "テキスト ウィンドウ", kAfxText, kCadProcess);
    EXPECT_EQ(discovery.FindTextWindow(), 0u);
    desktop.SetTitle(cut, "AutoCAD " + std::string(227, 'x') + "テキスト ウィンドウ");  // ends at byte 254
    EXPECT_EQ(discovery.FindTextWindow(), cut);
}

}  // namespace
