// The simulator process with a drawing: records typed the way the tool types them, in both input
// modes and both kinds of main frame; the scripted user; real clicks and keys in its window; the
// report file's bytes; the ready file's view of the drawing; and bad drawing and script files.

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cadsim_process.h"
#include "file_bytes.h"

namespace {

using testsupport::CadsimProcess;
using testsupport::LogEvents;

const char kIdle[] = "コマンド: ";
// Ctrl+C, apart: "\x03" before a hex digit would run into it.
const std::string kCtrlC = "\x03";
const char kSquareCorners[] = "corners=60.0000,50.0000;100.0000,50.0000;100.0000,90.0000;60.0000,90.0000";

// A file of the test's own, removed again at the end of the case.
class TempFile {
public:
    TempFile(const std::string& stem, const std::string& extension)
        : path_(testsupport::CadsimTempPath(stem, extension)) {}
    ~TempFile() { ::DeleteFileA(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }
    void Write(const std::string& bytes) const { testsupport::WriteBytes(path_, bytes); }

private:
    std::string path_;
};

struct Mode {
    const char* input;
    bool ansi;
};

const Mode kModes[] = {{"inside", false}, {"after", false}, {"inside", true}, {"after", true}};

std::vector<std::string> Options(const Mode& mode, const std::vector<std::string>& more) {
    std::vector<std::string> options = {"--input", mode.input};
    if (mode.ansi)
        options.push_back("--ansi");
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

std::string Describe(const Mode& mode) {
    return std::string("input ") + mode.input + (mode.ansi ? ", ANSI main frame" : ", Unicode main frame");
}

bool Logged(const CadsimProcess& sim, const std::string& prefix, std::size_t count = 1) {
    return LogEvents(sim.LogContent(), prefix).size() >= count;
}

bool IdleAnd(const CadsimProcess& sim, const std::string& prefix, std::size_t count = 1) {
    return sim.Prompt() == kIdle && Logged(sim, prefix, count);
}

std::string Blanks(std::size_t count) {
    return std::string(count, ' ');
}

// The report of the square 60..100 x 50..90, worked out by hand: moments 40 * (90^3 - 50^3) / 3
// and 40 * (100^3 - 60^3) / 3, product 3200 * 2800, about the centroid 40^4 / 12.
std::string SquareReport() {
    const std::vector<std::string> lines = {
        "----------------   リージョン   ----------------",
        "面積:" + Blanks(20) + "1600.0000",
        "周囲:" + Blanks(20) + "160.0000",
        "境界ボックス:" + Blanks(9) + "X: 60.0000  --  100.0000",
        Blanks(22) + "Y: 50.0000  --  90.0000",
        "図心" + Blanks(18) + "X: 80.0000",
        Blanks(22) + "Y: 70.0000",
        "慣性モーメント:" + Blanks(7) + "X: 8053333.3333",
        Blanks(22) + "Y: 10453333.3333",
        "慣性乗積:" + Blanks(12) + "XY: 8960000.0000",
        "回転半径:" + Blanks(13) + "X: 70.9460",
        Blanks(22) + "Y: 80.8290",
        "主慣性モーメントと重心周りの X-Y 方向:",
        Blanks(22) + "I: 213333.3333 方向 [1.0000 0.0000]",
        Blanks(22) + "J: 213333.3333 方向 [0.0000 1.0000]",
    };
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

TEST(CadsimDrawingHost, FaceCentreCommandsAsTheToolTypesThemMeasureTheShapeAroundThePick) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(Describe(mode));
        TempFile script("cadsim-user", ".txt");
        script.Write("pick 70,60\n");
        TempFile report("cadsim-report", ".mpr");
        const std::string stem = report.Path().substr(0, report.Path().size() - 4);
        ASSERT_EQ(stem.find(' '), std::string::npos) << "a blank would end the name early: " << stem;
        CadsimProcess sim(
            Options(mode, {"--drawing", testsupport::CadsimSamplePath("regions.txt"), "--user", script.Path()}));
        ASSERT_TRUE(sim.Ready()) << sim.Failure();

        ASSERT_TRUE(sim.Type("\x03ID "));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "user pick 70.0000,60.0000"); }))
            << sim.Prompt() << "\n"
            << sim.LogContent();
        EXPECT_EQ(LogEvents(sim.LogContent(), "variable "),
                  std::vector<std::string>{"variable LASTPOINT=70.0000,60.0000,0.0000"});

        // One record after the other, without waiting, as the tool sends them.
        ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 0\r"));
        ASSERT_TRUE(sim.Type("\x03-BOUNDARY 70.0000,60.0000 \r"));
        ASSERT_TRUE(sim.Type("\x03_region L \r"));
        ASSERT_TRUE(sim.Type("\x03_massprop LAST \rY\r" + stem + "\r"));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "report written "); })) << sim.LogContent();

        const std::string bytes = testsupport::ReadBytes(report.Path());
        EXPECT_EQ(bytes, SquareReport());
        const std::vector<std::string> expected = {
            "variable LASTPOINT=70.0000,60.0000,0.0000",
            "variable FILEDIA=0",
            std::string("entity created id=6 type=polyline ") + kSquareCorners,
            std::string("entity created id=7 type=region ") + kSquareCorners,
            "entity removed id=6",
            "report written bytes=" + std::to_string(SquareReport().size()) + " path=" + report.Path(),
        };
        std::vector<std::string> events;
        for (const char* kind : {"variable ", "entity created", "entity removed", "report "})
            for (const std::string& line : LogEvents(sim.LogContent(), kind))
                events.push_back(line);
        EXPECT_EQ(events.size(), expected.size()) << sim.LogContent();
        for (const std::string& line : expected)
            EXPECT_EQ(LogEvents(sim.LogContent(), line).size(), 1u) << line;

        // The second run finds the report and asks before replacing it.
        testsupport::WriteBytes(report.Path(), "earlier");
        ASSERT_TRUE(sim.Type("\x03_massprop LAST \rY\r" + stem + "\r"));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return sim.Prompt().find("置き換えますか") != std::string::npos; }))
            << sim.Prompt();
        EXPECT_EQ(testsupport::ReadBytes(report.Path()), "earlier");
        ASSERT_TRUE(sim.Type("Y\r"));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "report written ", 2); }));
        EXPECT_EQ(testsupport::ReadBytes(report.Path()), SquareReport());

        ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 1\r"));
        ASSERT_TRUE(sim.Type(kCtrlC + "CIRCLE 80.0000,70.0000 50\r"));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] {
            return IdleAnd(sim, "entity created id=8 type=circle center=80.0000,70.0000 radius=50.0000");
        })) << sim.LogContent();
        EXPECT_TRUE(Logged(sim, "variable FILEDIA=1"));
        EXPECT_EQ(sim.Close().exitCode, 0u);
    }
}

TEST(CadsimDrawingHost, RegionPassWithTheScriptedSelectionAnswersTheQuestionsTheToolAnswers) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(Describe(mode));
        TempFile script("cadsim-user", ".txt");
        // Written as UTF-8, as a shell script would write it.
        script.Write(
            "select 20,15\n"
            "select 80,10 at \xE3\x82\xAA\xE3\x83\x96\xE3\x82\xB8\xE3\x82\xA7\xE3\x82\xAF\xE3\x83\x88\n"
            "enter\n");
        TempFile report("cadsim-report", ".mpr");
        CadsimProcess sim(
            Options(mode, {"--drawing", testsupport::CadsimSamplePath("regions.txt"), "--user", script.Path()}));
        ASSERT_TRUE(sim.Ready()) << sim.Failure();

        ASSERT_TRUE(sim.Type(kCtrlC + kCtrlC + "FILEDIA 0\r"));
        ASSERT_TRUE(sim.Type("\x03_massprop\r"));
        // The tool's poll: every answer as soon as its question shows, until the prompt is idle.
        bool asked[3] = {false, false, false};
        const bool ended = CadsimProcess::WaitUntil([&] {
            const std::string prompt = sim.Prompt();
            if (prompt.find("書き出しますか") != std::string::npos && !asked[0])
                asked[0] = sim.Type("Y\r");
            if (prompt.find("ファイル名を入力") != std::string::npos && !asked[1])
                asked[1] = sim.Type(report.Path() + "\r");
            if (prompt.find("置き換えますか") != std::string::npos)
                asked[2] = sim.Type("Y\r");
            return prompt == kIdle && Logged(sim, "report written ");
        });
        ASSERT_TRUE(ended) << sim.Prompt() << "\n" << sim.LogContent();
        EXPECT_TRUE(asked[0] && asked[1]);
        EXPECT_FALSE(asked[2]) << "no file was there to replace";
        EXPECT_EQ(
            LogEvents(sim.LogContent(), "user "),
            (std::vector<std::string>{"user select 20.0000,15.0000", "user select 80.0000,10.0000", "user enter"}));

        const std::string bytes = testsupport::ReadBytes(report.Path());
        EXPECT_NE(bytes.find("\r\n面積:" + Blanks(20) + "1800.0000\r\n"), std::string::npos) << bytes;
        EXPECT_NE(bytes.find("\r\n周囲:" + Blanks(20) + "252.1110\r\n"), std::string::npos);
        EXPECT_NE(bytes.find("\r\n図心" + Blanks(18) + "X: 40.0000\r\n" + Blanks(22) + "Y: 13.3333\r\n"),
                  std::string::npos);
        EXPECT_EQ(LogEvents(sim.LogContent(), "report written ").front(),
                  "report written bytes=" + std::to_string(bytes.size()) + " path=" + report.Path());
        EXPECT_TRUE(LogEvents(sim.LogContent(), "entity created").empty());
    }
}

TEST(CadsimDrawingHost, EscFromTheScriptedUserAndCtrlCFromTheToolCancelWithNothingChanged) {
    for (const Mode& mode : {kModes[0], kModes[1]}) {
        SCOPED_TRACE(Describe(mode));
        TempFile script("cadsim-user", ".txt");
        script.Write("wait 100\nesc at 点を指定\n");
        CadsimProcess sim(
            Options(mode, {"--drawing", testsupport::CadsimSamplePath("island.txt"), "--user", script.Path()}));
        ASSERT_TRUE(sim.Ready()) << sim.Failure();
        ASSERT_TRUE(sim.Type("\x03ID "));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "user esc"); })) << sim.LogContent();
        EXPECT_TRUE(LogEvents(sim.LogContent(), "variable ").empty());

        ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 0\r"));
        ASSERT_TRUE(sim.Type("\x03-BOUNDARY 30,30 "));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return sim.Prompt() == "内側の点を指定: "; })) << sim.Prompt();
        ASSERT_TRUE(sim.Type("\x03"));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return sim.Prompt() == kIdle; }));
        EXPECT_TRUE(LogEvents(sim.LogContent(), "entity created").empty()) << "the boundary went with the command";
    }
}

TEST(CadsimDrawingHost, BoundaryOutsideEveryShapeCreatesNothing) {
    CadsimProcess sim({"--drawing", testsupport::CadsimSamplePath("far_negative.txt")});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(sim.Type("\x03-BOUNDARY 0,0 \r"));
    EXPECT_EQ(sim.Prompt(), kIdle);
    ASSERT_TRUE(sim.Type("\x03-BOUNDARY 1000120,-1000070 \r"));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return Logged(sim, "entity created"); }));
    EXPECT_EQ(LogEvents(sim.LogContent(), "entity created"),
              std::vector<std::string>{"entity created id=3 type=polyline corners=1000100.0000,-1000050.0000;"
                                       "1000160.0000,-1000050.0000;1000100.0000,-1000130.0000"});
}

// The tool's side of one face-centre run, as it types it: ID, the point from the log, the
// boundary, region and report, the replace question, then the circle at the report's centroid.
void FaceCentreRun(const CadsimProcess& sim, const std::string& stem, std::size_t run) {
    ASSERT_TRUE(sim.Type("\x03ID "));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "variable LASTPOINT=", run); })) << sim.LogContent();
    const std::string point = LogEvents(sim.LogContent(), "variable LASTPOINT=").back().substr(19);
    const std::string xy = point.substr(0, point.rfind(','));
    ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 0\r"));
    ASSERT_TRUE(sim.Type("\x03-BOUNDARY " + xy + " \r"));
    ASSERT_TRUE(sim.Type("\x03_region L \r"));
    ASSERT_TRUE(sim.Type("\x03_massprop LAST \rY\r" + stem + "\r"));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] {
        return sim.Prompt().find("置き換えますか") != std::string::npos ||
               (sim.Prompt() == kIdle && Logged(sim, "report written ", run));
    }));
    if (sim.Prompt().find("置き換えますか") != std::string::npos) {
        ASSERT_TRUE(sim.Type("Y\r"));
    }
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "report written ", run); })) << sim.LogContent();
    ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 1\r"));
}

// The centroid's X and Y as the report prints them.
std::string ReportCentroid(const std::string& path) {
    const std::string bytes = testsupport::ReadBytes(path);
    const std::size_t x = bytes.find("図心");
    if (x == std::string::npos)
        return std::string();
    const std::size_t xValue = bytes.find("X: ", x) + 3;
    const std::size_t yValue = bytes.find("Y: ", xValue) + 3;
    return bytes.substr(xValue, bytes.find('\r', xValue) - xValue) + "," +
           bytes.substr(yValue, bytes.find('\r', yValue) - yValue);
}

TEST(CadsimDrawingHost, TheSampleUserScriptCarriesTheMainJobToTheExactCentroids) {
    for (const Mode& mode : {kModes[0], kModes[1]}) {
        SCOPED_TRACE(Describe(mode));
        TempFile report("cadsim-report", ".mpr");
        const std::string stem = report.Path().substr(0, report.Path().size() - 4);
        CadsimProcess sim(Options(mode, {"--drawing", testsupport::CadsimSamplePath("regions.txt"), "--user",
                                         testsupport::CadsimSamplePath("regions_user.txt")}));
        ASSERT_TRUE(sim.Ready()) << sim.Failure();

        std::vector<std::string> centres;
        for (std::size_t run = 1; run <= 2; ++run) {
            FaceCentreRun(sim, stem, run);
            centres.push_back(ReportCentroid(report.Path()));
            ASSERT_TRUE(sim.Type(kCtrlC + "CIRCLE " + centres.back() + " 5\r"));
        }
        // Region passes until the user cancels a selection.
        for (std::size_t pass = 1;; ++pass) {
            ASSERT_LE(pass, 3u);
            ASSERT_TRUE(sim.Type(kCtrlC + kCtrlC + "FILEDIA 0\r"));
            ASSERT_TRUE(sim.Type(kCtrlC + "_massprop\r"));
            ASSERT_TRUE(CadsimProcess::WaitUntil([&] {
                const std::string prompt = sim.Prompt();
                if (prompt.find("書き出しますか") != std::string::npos ||
                    prompt.find("置き換えますか") != std::string::npos)
                    sim.Type("Y\r");
                if (prompt.find("ファイル名を入力") != std::string::npos)
                    sim.Type(report.Path() + "\r");
                // Input handled after the send may not have started the command yet: an idle
                // prompt counts once the pass has ended one way or the other.
                return sim.Prompt() == kIdle && (Logged(sim, "user esc") || Logged(sim, "report written ", 2 + pass));
            })) << sim.LogContent();
            ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 1\r"));
            if (Logged(sim, "user esc"))
                break;
            centres.push_back(ReportCentroid(report.Path()));
            ASSERT_TRUE(sim.Type(kCtrlC + "CIRCLE " + centres.back() + " 5\r"));
        }
        EXPECT_EQ(centres, (std::vector<std::string>{"80.0000,70.0000", "130.0000,13.3333", "20.0000,15.0000",
                                                     "80.0000,10.0000"}));
        ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return Logged(sim, "entity created id=", 8); }));
        EXPECT_EQ(LogEvents(sim.LogContent(), "entity created id=").size(), 8u) << sim.LogContent();
        const std::vector<std::string> circles = LogEvents(sim.LogContent(), "entity created id=");
        EXPECT_EQ(circles[2], "entity created id=8 type=circle center=80.0000,70.0000 radius=5.0000");
        EXPECT_EQ(circles[7], "entity created id=13 type=circle center=80.0000,10.0000 radius=5.0000");
        EXPECT_EQ(sim.Windows().mainFrame ? sim.Prompt() : "", kIdle);
    }
}

void ClickAt(POINT point, bool right) {
    ::SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void PressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

// "variable LASTPOINT=x,y,z" as numbers.
bool LastPoint(const CadsimProcess& sim, double& x, double& y) {
    const std::vector<std::string> set = LogEvents(sim.LogContent(), "variable LASTPOINT=");
    if (set.empty())
        return false;
    const std::string value = set.back().substr(std::string("variable LASTPOINT=").size());
    char* end = nullptr;
    x = std::strtod(value.c_str(), &end);
    y = std::strtod(end + 1, nullptr);
    return true;
}

TEST(CadsimDrawingHost, RealClicksPickPointsAndSelectRegionsAndEscCancels) {
    CadsimProcess sim({"--drawing", testsupport::CadsimSamplePath("regions.txt")});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    const testsupport::CadsimWindows& windows = sim.Windows();
    // Real input goes where the window manager has put the windows: wait until the main frame is
    // in front and under the points clicked, however long a loaded machine takes.
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] {
        if (::GetForegroundWindow() != windows.mainFrame)
            ::SetForegroundWindow(windows.mainFrame);
        return ::GetForegroundWindow() == windows.mainFrame &&
               ::WindowFromPoint(windows.ScreenPoint(80, 70)) == windows.mainFrame &&
               ::WindowFromPoint(windows.ScreenPoint(5, 80)) == windows.mainFrame;
    }));

    ASSERT_TRUE(sim.Type("\x03ID "));
    ClickAt(windows.ScreenPoint(80, 70), false);
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "variable LASTPOINT="); })) << sim.LogContent();
    double x = 0;
    double y = 0;
    ASSERT_TRUE(LastPoint(sim, x, y));
    // A pixel is 1 / scale drawing units wide.
    EXPECT_NEAR(x, 80, 1 / windows.viewScale);
    EXPECT_NEAR(y, 70, 1 / windows.viewScale);
    EXPECT_EQ(LogEvents(sim.LogContent(), "mouse click ").size(), 1u);

    // A click inside a region selects it; a right click ends the selection.
    ASSERT_TRUE(sim.Type(kCtrlC + "FILEDIA 0\r"));
    ASSERT_TRUE(sim.Type("\x03_massprop\r"));
    ClickAt(windows.ScreenPoint(5, 80), false);
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return Logged(sim, "mouse click ", 2); }));
    ClickAt(windows.ScreenPoint(5, 80), true);
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return sim.Prompt().find("書き出しますか") != std::string::npos; }))
        << sim.Prompt() << "\n"
        << sim.LogContent();

    // The key goes to the window with the focus.
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return ::GetForegroundWindow() == windows.mainFrame; }));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "key esc"); })) << sim.LogContent();
    EXPECT_TRUE(LogEvents(sim.LogContent(), "report written").empty());

    // A click at the idle prompt picks nothing.
    ClickAt(windows.ScreenPoint(20, 15), false);
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return Logged(sim, "mouse click ", 3); }));
    const std::string idleClick = LogEvents(sim.LogContent(), "mouse click ").back();
    EXPECT_EQ(idleClick.substr(idleClick.size() - 8), " ignored") << idleClick;
}

COLORREF PixelAt(POINT point) {
    const HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

TEST(CadsimDrawingHost, TheReadyFileSaysWhereTheDrawingIsAndCirclesAppearInIt) {
    CadsimProcess sim({"--drawing", testsupport::CadsimSamplePath("regions.txt")});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    const testsupport::CadsimWindows& windows = sim.Windows();
    ::SetForegroundWindow(windows.mainFrame);

    // The area is the main frame's client area above the docked command line.
    RECT client{};
    ::GetClientRect(windows.mainFrame, &client);
    POINT origin{0, 0};
    ::ClientToScreen(windows.mainFrame, &origin);
    EXPECT_EQ(windows.drawingArea.left, origin.x);
    EXPECT_EQ(windows.drawingArea.top, origin.y);
    EXPECT_EQ(windows.drawingArea.right, origin.x + client.right);
    RECT commandLine{};
    ::GetWindowRect(::GetParent(windows.promptWindow), &commandLine);
    EXPECT_EQ(windows.drawingArea.bottom, commandLine.top);

    // The extents 0,0 .. 150,90 fit centred with a margin of 24 pixels on the tighter side.
    const double width = windows.drawingArea.right - windows.drawingArea.left;
    const double height = windows.drawingArea.bottom - windows.drawingArea.top;
    EXPECT_DOUBLE_EQ(windows.viewScale, std::min((width - 48) / 150, (height - 48) / 90));
    const POINT low = windows.ScreenPoint(0, 0);
    const POINT high = windows.ScreenPoint(150, 90);
    EXPECT_NEAR((low.x + high.x) / 2.0, windows.drawingArea.left + width / 2, 1);
    EXPECT_NEAR((low.y + high.y) / 2.0, windows.drawingArea.bottom - height / 2, 1);

    // Inside a region its fill shows; a circle drawn by CIRCLE shows its red outline.
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return PixelAt(windows.ScreenPoint(20, 15)) == RGB(205, 225, 250); }))
        << std::hex << PixelAt(windows.ScreenPoint(20, 15));
    const POINT rim = windows.ScreenPoint(120 + 10, 70);
    EXPECT_NE(PixelAt(rim), RGB(210, 0, 0));
    ASSERT_TRUE(sim.Type(kCtrlC + "CIRCLE 120,70 10\r"));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] {
        for (int dx = -1; dx <= 1; ++dx)
            if (PixelAt(POINT{rim.x + dx, rim.y}) == RGB(210, 0, 0))
                return true;
        return false;
    })) << std::hex
        << PixelAt(rim);
    EXPECT_EQ(PixelAt(windows.ScreenPoint(120, 70)), RGB(255, 255, 255)) << "a circle is an outline";
}

struct BadStart {
    std::vector<std::string> options;
    std::string message;
};

TEST(CadsimDrawingHost, BadDrawingAndScriptFilesEndTheStartWithAMessageAndExitCode2) {
    TempFile badDrawing("cadsim-bad", ".txt");
    badDrawing.Write("# two good lines, then a bad one\npolyline 0,0 1,0 1,1\n\npolyline 0,0 1,1\n");
    TempFile binary("cadsim-binary", ".bin");
    binary.Write(std::string("MZ\x90\0\x03\0\0\0", 8) + std::string(200, '\xFF'));
    TempFile huge("cadsim-huge", ".txt");
    huge.Write(std::string(2 << 20, '#'));
    TempFile badScript("cadsim-script", ".txt");
    badScript.Write("pick 1,1\nclick 2,2\n");
    const std::string missing = testsupport::CadsimTempPath("cadsim-missing", ".txt");

    const std::vector<BadStart> cases = {
        {{"--drawing", badDrawing.Path()},
         "drawing " + badDrawing.Path() + ": line 4: a polyline needs at least 3 corners"},
        {{"--drawing", binary.Path()}, "drawing " + binary.Path() + ": line 1: control characters in the line"},
        {{"--drawing", huge.Path()}, huge.Path() + " is larger than 1048576 bytes"},
        {{"--drawing", missing}, "cannot open " + missing},
        {{"--user", badScript.Path()}, "user script " + badScript.Path() + ": line 2: unknown step"},
        {{"--user", missing}, "cannot open " + missing},
        {{"--drawing"}, "option '--drawing' needs a value"},
        {{"--user", ""}, "option '--user' needs a file name"},
    };
    for (const BadStart& bad : cases) {
        const testsupport::ProcessEnd end = CadsimProcess::RunToExit(bad.options, 20000);
        EXPECT_TRUE(end.endedInTime) << bad.message;
        EXPECT_EQ(end.exitCode, 2u) << bad.message;
        EXPECT_NE(end.errorOutput.find(bad.message), std::string::npos) << end.errorOutput;
    }
}

std::string Decimals(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.4f", value);
    return text;
}

// Typed records taken as a script's, so that OSNAPCOORD 2 snaps their points within the aperture of
// 10 pixels at the view's scale; the user's own group with their line, which one U after UNDO End
// takes back with everything done inside it; units preset at start.
TEST(CadsimDrawingHost, ScriptInputSnapsAndTheUsersOpenGroupIsTakenBackWhole) {
    CadsimProcess sim({"--typed-as-script", "--user-group", "--var", "LUNITS=4", "--drawing",
                       testsupport::CadsimSamplePath("gap.txt")});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    // Below the extents 0,0 .. 100,40 by a tenth of their span.
    EXPECT_EQ(LogEvents(sim.LogContent(), "undo "), (std::vector<std::string>{"undo control=all", "undo begin"}));
    EXPECT_EQ(
        LogEvents(sim.LogContent(), "entity created"),
        std::vector<std::string>{"entity created id=3 type=openpolyline corners=0.0000,-10.0000;20.0000,-10.0000"});

    const double aperture = 10 / sim.Windows().viewScale;
    const std::string nearby = Decimals(40 + aperture / 2);
    ASSERT_TRUE(sim.Type("ID " + nearby + ",0 ID " + Decimals(40 + aperture * 2) + ",0 "));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return Logged(sim, "variable LASTPOINT=", 2); })) << sim.LogContent();
    EXPECT_EQ(LogEvents(sim.LogContent(), "host snap "),
              std::vector<std::string>{"host snap from=" + nearby + ",0.0000 to=40.0000,0.0000 by=endpoint"});
    EXPECT_EQ(LogEvents(sim.LogContent(), "variable LASTPOINT=").front(), "variable LASTPOINT=3'-4\",0'-0\",0'-0\"");

    ASSERT_TRUE(sim.Type("CIRCLE 80.3,20 5 _.UNDO _End U "));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return IdleAnd(sim, "undo back GROUP"); })) << sim.LogContent();
    EXPECT_EQ(LogEvents(sim.LogContent(), "entity exact"),
              std::vector<std::string>{"entity exact id=4 center=80.299999999999997,20 radius=5"});
    EXPECT_EQ(LogEvents(sim.LogContent(), "entity removed"),
              (std::vector<std::string>{"entity removed id=4", "entity removed id=3"}));
}

}  // namespace
