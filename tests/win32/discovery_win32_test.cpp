// CAD window discovery through the real window system, against simulator processes on the desktop.

#include "cadlink/window_discovery.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cadsim_process.h"
#include "win32_window_system.h"

namespace {

using cadlink::WindowDiscovery;
using platform::WindowHandle;
using testsupport::CadsimProcess;
using testsupport::CadsimWindows;
using testsupport::ProcessEnd;

// The idle prompt, spelled out in code-page-932 bytes so that a wrong execution character set shows.
const char kIdlePromptBytes[] = "\x83\x52\x83\x7d\x83\x93\x83\x68\x3a\x20";  // "コマンド: "

WindowHandle Handle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

std::string TitleOf(HWND window) {
    char title[256] = {};
    ::GetWindowTextA(window, title, sizeof(title));
    return title;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<HWND> TopLevelZOrder() {
    std::vector<HWND> order;
    ::EnumWindows(
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&order));
    return order;
}

// Place of window in the Z order, from the top; -1 when it is not a top-level window.
int ZPosition(const std::vector<HWND>& order, HWND window) {
    const auto found = std::find(order.begin(), order.end(), window);
    return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

std::string DescribeZOrder(const std::vector<HWND>& order) {
    std::string text = "Z order from the top:";
    for (HWND window : order) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        const std::string title = TitleOf(window);
        if (!title.empty())
            text += "\n  " + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + " process " +
                    std::to_string(processId) + " " + title;
    }
    return text;
}

void RaiseWithoutActivating(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Runs lookups while the top-level Z order holds still and is as wanted. Under Wine a window is
// activated, and raised, when the window manager hands it the focus, which may come a moment after
// the simulator is ready; so the order is read on both sides of the lookups, and the attempt is
// repeated (arrange first) while it moved.
::testing::AssertionResult WithSteadyZOrder(const std::function<void()>& arrange,
                                            const std::function<bool(const std::vector<HWND>&)>& wanted,
                                            const std::function<void()>& lookups) {
    std::vector<HWND> after;
    for (int attempt = 0; attempt < 20; ++attempt) {
        arrange();
        const std::vector<HWND> before = TopLevelZOrder();
        lookups();
        after = TopLevelZOrder();
        if (before == after && wanted(after))
            return ::testing::AssertionSuccess();
        ::Sleep(100);
    }
    return ::testing::AssertionFailure() << "the Z order did not settle as the test needs it\n"
                                         << DescribeZOrder(after);
}

enum class Place { MainFrame, Palette, TextWindow };

// A simulator layout and what its windows must look like.
struct Layout {
    explicit Layout(std::vector<std::string> simulatorOptions) : options(std::move(simulatorOptions)) {}
    Layout& Title(const char* prefix) {
        titlePrefix = prefix;
        return *this;
    }
    Layout& Class(const char* marker) {
        classMarker = marker;
        return *this;
    }
    Layout& Ansi() {
        unicode = false;
        return *this;
    }
    Layout& CommandLineIn(Place place) {
        commandLine = place;
        return *this;
    }
    Layout& InputOutputNames() {
        promptTitle = "input";
        historyTitle = "output";
        return *this;
    }
    Layout& TextWindow(const char* prefix) {
        textTitlePrefix = prefix;
        return *this;
    }

    std::vector<std::string> options;
    std::string titlePrefix = "AutoCAD 2024 - [Drawing1.dwg]";
    std::string classMarker = ":8:";
    bool unicode = true;
    Place commandLine = Place::MainFrame;
    std::string promptTitle = "Headlands";
    std::string historyTitle = "MountTam";
    const char* textTitlePrefix = "AutoCAD テキスト ウィンドウ";  // null: no text window
};

std::string Describe(const std::vector<std::string>& options) {
    std::string text = "cadsim";
    for (const std::string& option : options)
        text += " " + option;
    return text;
}

class DiscoveryWin32Test : public ::testing::Test {
protected:
    void SetUp() override { ExpectNoCadOnDesktop(); }

    // Another CAD frame on the desktop (a simulator left over by someone else) would be found instead.
    void ExpectNoCadOnDesktop() {
        WindowDiscovery fresh(windows);
        const WindowHandle frame = fresh.FindMainFrame();
        ASSERT_EQ(frame, 0u) << "a CAD main frame is already on the desktop: process " << fresh.Kept().MainProcessId;
    }

    // The simulator opened the windows the layout asks for.
    void ExpectLayoutShown(const Layout& layout, const CadsimWindows& sim) {
        ASSERT_NE(sim.mainFrame, nullptr);
        EXPECT_TRUE(StartsWith(TitleOf(sim.mainFrame), layout.titlePrefix)) << TitleOf(sim.mainFrame);
        EXPECT_NE(ClassOf(sim.mainFrame).find(layout.classMarker), std::string::npos) << ClassOf(sim.mainFrame);
        EXPECT_EQ(::IsWindowUnicode(sim.mainFrame) != FALSE, layout.unicode);
        EXPECT_EQ(sim.mainUnicode, layout.unicode);

        HWND commandLineRoot = sim.mainFrame;
        if (layout.commandLine == Place::Palette)
            commandLineRoot = sim.palette;
        else if (layout.commandLine == Place::TextWindow)
            commandLineRoot = sim.textWindow;
        ASSERT_NE(commandLineRoot, nullptr);
        EXPECT_EQ(::GetAncestor(sim.promptWindow, GA_ROOT), commandLineRoot);
        EXPECT_EQ(::GetAncestor(sim.historyPane, GA_ROOT), commandLineRoot);
        EXPECT_EQ(TitleOf(sim.promptWindow), layout.promptTitle);
        EXPECT_EQ(TitleOf(sim.historyPane), layout.historyTitle);

        EXPECT_EQ(sim.palette != nullptr, layout.commandLine == Place::Palette);
        if (sim.palette) {
            EXPECT_EQ(TitleOf(sim.palette), "コマンド ライン");
            EXPECT_EQ(::GetWindow(sim.palette, GW_OWNER), sim.mainFrame);
        }
        EXPECT_EQ(sim.textWindow != nullptr, layout.textTitlePrefix != nullptr);
        if (sim.textWindow && layout.textTitlePrefix) {
            EXPECT_TRUE(StartsWith(TitleOf(sim.textWindow), layout.textTitlePrefix)) << TitleOf(sim.textWindow);
        }
    }

    // Each lookup from a fresh start, so that every search path runs on its own.
    void ExpectDiscoveryFinds(const CadsimWindows& sim) {
        WindowDiscovery frameOnly(windows);
        EXPECT_EQ(frameOnly.FindMainFrame(), Handle(sim.mainFrame));
        EXPECT_TRUE(frameOnly.IsCadReady());
        EXPECT_EQ(frameOnly.Kept().MainProcessId, sim.processId);
        EXPECT_EQ(::IsWindowUnicode(reinterpret_cast<HWND>(frameOnly.Kept().MainFrame)) != FALSE, sim.mainUnicode);

        WindowDiscovery promptFirst(windows);
        EXPECT_EQ(promptFirst.FindPromptWindow(), Handle(sim.promptWindow));
        EXPECT_EQ(promptFirst.Kept().Palette, Handle(sim.palette));

        WindowDiscovery historyFirst(windows);
        EXPECT_EQ(historyFirst.FindHistoryPane(), Handle(sim.historyPane));
        EXPECT_EQ(historyFirst.Kept().Palette, Handle(sim.palette));

        WindowDiscovery all(windows);
        EXPECT_EQ(all.FindMainFrame(), Handle(sim.mainFrame));
        EXPECT_EQ(all.FindTextWindow(), Handle(sim.textWindow));
        EXPECT_EQ(all.FindPromptWindow(), Handle(sim.promptWindow));
        EXPECT_EQ(all.FindHistoryPane(), Handle(sim.historyPane));
    }

    void ExpectClosesCleanly(CadsimProcess& sim) {
        const ProcessEnd end = sim.Close();
        EXPECT_TRUE(end.endedInTime) << "cadsim had to be terminated";
        EXPECT_EQ(end.exitCode, 0u) << end.errorOutput;
    }

    void CheckLayout(const Layout& layout) {
        SCOPED_TRACE(Describe(layout.options));
        CadsimProcess sim(layout.options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        ExpectLayoutShown(layout, sim.Windows());
        ExpectDiscoveryFinds(sim.Windows());
        ExpectClosesCleanly(sim);
    }

    platform::Win32WindowSystem windows;
};

TEST_F(DiscoveryWin32Test, FindsAfxFrameUnicodeAndAnsi) {
    CheckLayout(Layout({}));
    CheckLayout(Layout({"--frame", "afx", "--ansi"}).Ansi());
}

TEST_F(DiscoveryWin32Test, FindsMdiFramesOfSeveralNumbers) {
    CheckLayout(Layout({"--frame", "mdi10"}).Title("Autodesk AutoCAD 2024").Class("AfxMDIFrame10u"));
    CheckLayout(Layout({"--frame", "mdi70", "--ansi"}).Title("Autodesk AutoCAD 2024").Class("AfxMDIFrame70u").Ansi());
    CheckLayout(Layout({"--frame", "mdi140"}).Title("Autodesk AutoCAD 2024").Class("AfxMDIFrame140u"));
}

TEST_F(DiscoveryWin32Test, FindsDraftSightFrame) {
    CheckLayout(Layout({"--frame", "draftsight", "--textwin", "command"})
                    .Title("DraftSight 2019")
                    .Class("QPopup")
                    .TextWindow("コマンド ウィンドウ"));
    CheckLayout(Layout({"--frame", "draftsight", "--ansi"}).Title("DraftSight 2019").Class("QPopup").Ansi());
}

TEST_F(DiscoveryWin32Test, FindsFramesWithOtherTitles) {
    CheckLayout(Layout({"--title", "ACADLT 2024 - [Drawing1.dwg]"}).Title("ACADLT 2024 - [Drawing1.dwg]"));
    // A Japanese title arrives as code-page-932 bytes and must come back as the same bytes.
    CheckLayout(Layout({"--frame", "mdi20", "--title", "Autodesk AutoCAD LT 2024 - [図面1.dwg]"})
                    .Title("Autodesk AutoCAD LT 2024 - [図面1.dwg]")
                    .Class("AfxMDIFrame20u"));
    CheckLayout(Layout({"--title", "ACAD", "--ansi"}).Title("ACAD").Ansi());
}

TEST_F(DiscoveryWin32Test, FindsCommandLineInPalette) {
    CheckLayout(Layout({"--cmdline", "palette"}).CommandLineIn(Place::Palette));
    CheckLayout(Layout({"--cmdline", "palette", "--names", "io", "--ansi"})
                    .CommandLineIn(Place::Palette)
                    .InputOutputNames()
                    .Ansi());
    CheckLayout(
        Layout({"--cmdline", "palette", "--textwin", "none"}).CommandLineIn(Place::Palette).TextWindow(nullptr));
}

TEST_F(DiscoveryWin32Test, FindsCommandLineInTextWindow) {
    CheckLayout(Layout({"--cmdline", "textwindow"}).CommandLineIn(Place::TextWindow));
    CheckLayout(Layout({"--cmdline", "textwindow", "--textwin", "command", "--names", "io", "--ansi"})
                    .CommandLineIn(Place::TextWindow)
                    .TextWindow("コマンド ウィンドウ")
                    .InputOutputNames()
                    .Ansi());
}

TEST_F(DiscoveryWin32Test, FindsDockedCommandLineWithBothNamesAndTextWindowKinds) {
    CheckLayout(Layout({"--names", "io"}).InputOutputNames());
    CheckLayout(Layout({"--textwin", "command"}).TextWindow("コマンド ウィンドウ"));
    CheckLayout(Layout({"--textwin", "none", "--names", "headlands"}).TextWindow(nullptr));
}

TEST_F(DiscoveryWin32Test, PromptWindowAnswersWithThePromptUnderItsCaption) {
    ASSERT_EQ(std::string(kIdlePromptBytes), "コマンド: ");
    const std::vector<Layout> layouts = {
        Layout({}),
        Layout({"--names", "io", "--ansi"}).InputOutputNames().Ansi(),
        Layout({"--cmdline", "palette", "--ansi"}).CommandLineIn(Place::Palette).Ansi(),
        Layout({"--cmdline", "textwindow", "--names", "io"}).CommandLineIn(Place::TextWindow).InputOutputNames(),
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(Describe(layout.options));
        CadsimProcess sim(layout.options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        WindowDiscovery discovery(windows);
        const HWND prompt = reinterpret_cast<HWND>(discovery.FindPromptWindow());
        const HWND history = reinterpret_cast<HWND>(discovery.FindHistoryPane());
        ASSERT_EQ(prompt, sim.Windows().promptWindow);
        ASSERT_EQ(history, sim.Windows().historyPane);

        // From another process GetWindowTextA reads the stored caption; WM_GETTEXT asks the window.
        EXPECT_EQ(TitleOf(prompt), layout.promptTitle);
        EXPECT_EQ(TitleOf(history), layout.historyTitle);
        char text[256];
        std::fill(std::begin(text), std::end(text), '\x7f');
        const LRESULT copied = ::SendMessageA(prompt, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(copied, static_cast<LRESULT>(sizeof(kIdlePromptBytes) - 1));
        EXPECT_EQ(std::string(text), kIdlePromptBytes);
        EXPECT_GE(::SendMessageA(prompt, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(sizeof(kIdlePromptBytes) - 1));
        ExpectClosesCleanly(sim);
    }
}

TEST_F(DiscoveryWin32Test, PromptWindowAnswersABufferWithoutRoomWithNothing) {
    for (const std::vector<std::string>& options : {std::vector<std::string>{}, std::vector<std::string>{"--ansi"}}) {
        SCOPED_TRACE(Describe(options));
        CadsimProcess sim(options);
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        const HWND prompt = sim.Windows().promptWindow;
        char text[16];
        std::fill(std::begin(text), std::end(text), '\x7f');
        EXPECT_EQ(::SendMessageA(prompt, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
        EXPECT_EQ(text[0], '\x7f') << "wrote into a buffer of no size";
        // Still answering afterwards.
        EXPECT_EQ(::SendMessageA(prompt, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text)),
                  static_cast<LRESULT>(sizeof(kIdlePromptBytes) - 1));
        EXPECT_EQ(std::string(text), kIdlePromptBytes);
        ExpectClosesCleanly(sim);
    }
}

TEST_F(DiscoveryWin32Test, SkipsTheTextWindowOfAnotherProcess) {
    struct Pair {
        std::vector<std::string> full, lone;
    };
    const std::vector<Pair> pairs = {
        {{}, {"--text-window-only"}},
        {{"--textwin", "command"}, {"--text-window-only", "--textwin", "command"}},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(Describe(pair.lone));
        CadsimProcess cad(pair.full);
        ASSERT_TRUE(cad.Ready()) << cad.Failure();
        CadsimProcess other(pair.lone);
        ASSERT_TRUE(other.Ready()) << other.Failure();
        ASSERT_EQ(other.Windows().mainFrame, nullptr);
        ASSERT_NE(other.Windows().textWindow, nullptr);

        WindowHandle frame = 0;
        WindowHandle text = 0;
        // The other text window must be met first for the test to mean anything.
        ASSERT_TRUE(WithSteadyZOrder([&] { RaiseWithoutActivating(other.Windows().textWindow); },
                                     [&](const std::vector<HWND>& order) {
                                         return ZPosition(order, other.Windows().textWindow) <
                                                ZPosition(order, cad.Windows().textWindow);
                                     },
                                     [&] {
                                         WindowDiscovery discovery(windows);
                                         frame = discovery.FindMainFrame();
                                         text = discovery.FindTextWindow();
                                     }));
        EXPECT_EQ(frame, Handle(cad.Windows().mainFrame));
        EXPECT_EQ(text, Handle(cad.Windows().textWindow));
        ExpectClosesCleanly(other);
        ExpectClosesCleanly(cad);
    }
}

TEST_F(DiscoveryWin32Test, TakesNoTextWindowWhenOnlyAnotherProcessHasOne) {
    CadsimProcess cad({"--textwin", "none"});
    ASSERT_TRUE(cad.Ready()) << cad.Failure();
    CadsimProcess other({"--text-window-only"});
    ASSERT_TRUE(other.Ready()) << other.Failure();
    WindowDiscovery discovery(windows);
    EXPECT_EQ(discovery.FindMainFrame(), Handle(cad.Windows().mainFrame));
    EXPECT_EQ(discovery.FindTextWindow(), 0u);
    ExpectClosesCleanly(other);
    ExpectClosesCleanly(cad);
}

TEST_F(DiscoveryWin32Test, CommandLineFallbackUsesTheTextWindowOfTheCadProcess) {
    CadsimProcess cad({"--cmdline", "textwindow"});
    ASSERT_TRUE(cad.Ready()) << cad.Failure();
    CadsimProcess other({"--text-window-only", "--cmdline", "textwindow"});
    ASSERT_TRUE(other.Ready()) << other.Failure();
    ASSERT_NE(other.Windows().promptWindow, nullptr);
    WindowHandle prompt = 0;
    WindowHandle history = 0;
    ASSERT_TRUE(WithSteadyZOrder([&] { RaiseWithoutActivating(other.Windows().textWindow); },
                                 [&](const std::vector<HWND>& order) {
                                     return ZPosition(order, other.Windows().textWindow) <
                                            ZPosition(order, cad.Windows().textWindow);
                                 },
                                 [&] {
                                     WindowDiscovery discovery(windows);
                                     prompt = discovery.FindPromptWindow();
                                     history = discovery.FindHistoryPane();
                                 }));
    EXPECT_EQ(prompt, Handle(cad.Windows().promptWindow));
    EXPECT_EQ(history, Handle(cad.Windows().historyPane));
    ExpectClosesCleanly(other);
    ExpectClosesCleanly(cad);
}

TEST_F(DiscoveryWin32Test, WithTwoCadProgramsTheTextWindowFollowsTheMainFrameFound) {
    CadsimProcess first({});
    ASSERT_TRUE(first.Ready()) << first.Failure();
    CadsimProcess second({});
    ASSERT_TRUE(second.Ready()) << second.Failure();
    const CadsimWindows& a = first.Windows();
    const CadsimWindows& b = second.Windows();

    // Each way round: one program's frame on top, the other program's text window above its own.
    struct Arrangement {
        const CadsimWindows& top;
        const CadsimWindows& below;
    };
    for (const Arrangement& arrangement : {Arrangement{a, b}, Arrangement{b, a}}) {
        WindowHandle frame = 0;
        std::uint32_t frameProcess = 0;
        WindowHandle text = 0;
        ASSERT_TRUE(WithSteadyZOrder(
            [&] {
                RaiseWithoutActivating(arrangement.top.mainFrame);
                RaiseWithoutActivating(arrangement.below.textWindow);
            },
            [&](const std::vector<HWND>& order) {
                return ZPosition(order, arrangement.top.mainFrame) < ZPosition(order, arrangement.below.mainFrame) &&
                       ZPosition(order, arrangement.below.textWindow) < ZPosition(order, arrangement.top.textWindow);
            },
            [&] {
                WindowDiscovery discovery(windows);
                frame = discovery.FindMainFrame();
                frameProcess = discovery.Kept().MainProcessId;
                text = discovery.FindTextWindow();
            }));
        EXPECT_EQ(frame, Handle(arrangement.top.mainFrame));
        EXPECT_EQ(frameProcess, arrangement.top.processId);
        EXPECT_EQ(text, Handle(arrangement.top.textWindow));
        EXPECT_EQ(windows.GetWindowThreadProcessId(text), windows.GetWindowThreadProcessId(frame));
    }
    ExpectClosesCleanly(second);
    ExpectClosesCleanly(first);
}

// The title of a drawing outside the code page comes whole in UTF-16 from the frame a run chose.
TEST_F(DiscoveryWin32Test, TitleOutsideTheCodePageComesWholeInUtf16) {
    CadsimProcess sim({"--unicode-title", "AutoCAD 2024 - [\\uD55C\\uAD6D\\uC5B4図面.dwg]"});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    WindowDiscovery discovery(windows);
    EXPECT_EQ(discovery.ChooseTopMainFrame(), Handle(sim.Windows().mainFrame));
    EXPECT_EQ(discovery.MainFrameTitle(), u"AutoCAD 2024 - [\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg]");
    ExpectClosesCleanly(sim);
}

TEST_F(DiscoveryWin32Test, FindsTheNewWindowsAfterTheCadProgramRestarts) {
    const std::vector<std::vector<std::string>> layouts = {
        {}, {"--cmdline", "palette", "--names", "io"}, {"--cmdline", "textwindow", "--textwin", "command"}};
    for (const std::vector<std::string>& options : layouts) {
        SCOPED_TRACE(Describe(options));
        WindowDiscovery discovery(windows);
        CadsimWindows old;
        {
            CadsimProcess sim(options);
            ASSERT_TRUE(sim.Ready()) << sim.Failure();
            old = sim.Windows();
            ASSERT_EQ(discovery.FindMainFrame(), Handle(old.mainFrame));
            ASSERT_EQ(discovery.FindPromptWindow(), Handle(old.promptWindow));
            ASSERT_EQ(discovery.FindHistoryPane(), Handle(old.historyPane));
            ASSERT_EQ(discovery.FindTextWindow(), Handle(old.textWindow));
            ExpectClosesCleanly(sim);
        }
        for (HWND gone : {old.mainFrame, old.promptWindow, old.historyPane, old.textWindow})
            EXPECT_FALSE(::IsWindow(gone));

        CadsimProcess restarted(options);
        ASSERT_TRUE(restarted.Ready()) << restarted.Failure();
        const CadsimWindows& now = restarted.Windows();
        ASSERT_NE(now.processId, old.processId);
        // The dead handles are still kept until a lookup replaces them.
        EXPECT_EQ(discovery.Kept().MainFrame, Handle(old.mainFrame));
        EXPECT_EQ(discovery.Kept().PromptWindow, Handle(old.promptWindow));
        EXPECT_EQ(discovery.Kept().HistoryPane, Handle(old.historyPane));

        EXPECT_EQ(discovery.FindMainFrame(), Handle(now.mainFrame));
        EXPECT_EQ(discovery.Kept().MainProcessId, now.processId);
        EXPECT_EQ(discovery.FindHistoryPane(), Handle(now.historyPane));
        EXPECT_EQ(discovery.FindPromptWindow(), Handle(now.promptWindow));
        EXPECT_EQ(discovery.Kept().Palette, Handle(now.palette));
        EXPECT_EQ(discovery.FindTextWindow(), Handle(now.textWindow));
        ExpectClosesCleanly(restarted);
    }
}

// Each bad command line and a word its error message must name.
struct BadOptions {
    std::vector<std::string> options;
    const char* named;
};

void ExpectRefused(const std::vector<BadOptions>& cases) {
    for (const BadOptions& bad : cases) {
        SCOPED_TRACE(Describe(bad.options));
        const ProcessEnd end = CadsimProcess::RunToExit(bad.options, 15000);
        EXPECT_TRUE(end.endedInTime) << "cadsim did not end by itself";
        EXPECT_EQ(end.exitCode, 2u);
        EXPECT_LT(end.elapsedMs, 5000u);
        EXPECT_NE(end.errorOutput.find(bad.named), std::string::npos) << end.errorOutput;
    }
}

TEST_F(DiscoveryWin32Test, BadOptionValuesEndTheSimulatorWithCode2) {
    ExpectRefused({
        {{"--frame", "mdi15"}, "mdi15"},
        {{"--frame", "mdi150"}, "mdi150"},
        {{"--frame", "mdi010"}, "mdi010"},
        {{"--cmdline", "floating"}, "floating"},
        {{"--names", "Headlands"}, "Headlands"},
        {{"--textwin", "text"}, "text"},
        {{"--frame"}, "--frame"},
    });
}

TEST_F(DiscoveryWin32Test, UnknownOrConflictingOptionsEndTheSimulatorWithCode2) {
    ExpectRefused({
        {{"--bogus"}, "--bogus"},
        {{"Drawing1.dwg"}, "Drawing1.dwg"},
        {{"--ansi", "--ansi"}, "--ansi"},
        {{"--cmdline", "textwindow", "--textwin", "none"}, "--textwin none"},
        {{"--text-window-only", "--textwin", "none"}, "--textwin none"},
        {{"--text-window-only", "--frame", "afx"}, "--text-window-only"},
        {{"--unicode-title", "AutoCAD \\u12G4"}, "\\u12G4"},
        {{"--unicode-title", "AutoCAD \\uD55C", "--ansi"}, "--ansi"},
        {{"--unicode-title", "AutoCAD", "--title", "AutoCAD"}, "--unicode-title"},
    });
}

TEST_F(DiscoveryWin32Test, RefusedOptionsWriteNoReadyFile) {
    wchar_t folder[MAX_PATH + 1] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH + 1, folder), 0u);
    const std::wstring ready = std::wstring(folder) + L"cadsim-refused-" + std::to_wstring(::GetCurrentProcessId());
    ::DeleteFileW(ready.c_str());
    char readyBytes[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, ready.c_str(), -1, readyBytes, sizeof(readyBytes), nullptr, nullptr);

    const ProcessEnd end = CadsimProcess::RunToExit({"--ready", readyBytes, "--frame", "mdi5"}, 15000);
    EXPECT_EQ(end.exitCode, 2u) << end.errorOutput;
    EXPECT_EQ(::GetFileAttributesW(ready.c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileW(ready.c_str());
}

}  // namespace
