// UNDO and U in the simulator: groups, numbers and the control, taking back what each command made
// and removed; and a host that stops answering at each wait.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "command_interpreter.h"
#include "drawing_file.h"
#include "support/cadsim_process.h"
#include "undo_command.h"

namespace {

using cadsim::UndoControl;
using testsupport::CadsimProcess;
using testsupport::LogEvents;

// The user's own square (1) and circle (2); the run's records as the tool types them.
const char kDrawing[] = "polyline 0,0 40,0 40,30 0,30\ncircle 80,15 10\n";
const char kFaceCentreRun[] = "ID 20,15 -BOUNDARY 20,15  CIRCLE 20,15 5 ";
// REGION turns the two closed objects into regions (3, 4), MASSPROP measures, CIRCLE draws (5).
const char kRegionPass[] = "_region ALL  CIRCLE 20,15 5 ";

struct Case {
    const char* name;
    UndoControl control;
    std::vector<std::string> typed;
    std::vector<int> left;  // the drawing's objects afterwards
    std::string prompt;     // afterwards
    UndoControl controlAfter;
    bool groupOpen;
    long undoctl;            // afterwards
    bool userGroup = false;  // the user's own group is open at the start, their line (3) in it
};

std::vector<int> Ids(const cadsim::Drawing& drawing) {
    std::vector<int> ids;
    for (const auto& entry : drawing.Entities())
        ids.push_back(entry.first);
    return ids;
}

TEST(CadsimUndo, GroupsNumbersAndTheControlTakeBackWhatEachCommandChanged) {
    const std::string begin = "_.UNDO _BEgin ";
    const std::string end = "_.UNDO _End ";
    const std::string idle = cadsim::kIdlePrompt;
    const std::string control = cadsim::kUndoControlPrompt;
    const UndoControl all = UndoControl::All;
    const UndoControl none = UndoControl::None;
    const UndoControl one = UndoControl::One;
    const Case cases[] = {
        {"a group is one U", all, {begin, kFaceCentreRun, end, "U "}, {1, 2}, idle, all, false, 53},
        {"the next U: the user's circle",
         all,
         {"CIRCLE 0,0 3 ", begin, kFaceCentreRun, end, "U U "},
         {1, 2},
         idle,
         all,
         false,
         53},
        {"without a group U takes the last command only", all, {kFaceCentreRun, "U "}, {1, 2, 3}, idle, all, false, 53},
        {"a region pass gives back its sources", all, {begin, kRegionPass, end, "U "}, {1, 2}, idle, all, false, 53},
        {"UNDO 2 takes back two",
         all,
         {"CIRCLE 0,0 3 CIRCLE 0,0 4 CIRCLE 0,0 5 UNDO 2 "},
         {1, 2, 3},
         idle,
         all,
         false,
         53},
        {"Begin ends an open group",
         all,
         {begin, "CIRCLE 0,0 3 ", begin, "CIRCLE 0,0 4 ", end, "U "},
         {1, 2, 3},
         idle,
         all,
         false,
         53},
        {"a group left open is open", all, {begin, "CIRCLE 0,0 3 "}, {1, 2, 3}, idle, all, true, 61},
        {"None asks for a control option", none, {"CIRCLE 0,0 3 ", "_.UNDO "}, {1, 2, 3}, control, none, false, 52},
        {"Esc keeps None; U does nothing",
         none,
         {"CIRCLE 0,0 3 ", "_.UNDO ", "\x03U "},
         {1, 2, 3},
         idle,
         none,
         false,
         52},
        {"Begin is no answer to it", none, {"_.UNDO ", "_BEgin "}, {1, 2}, control, none, false, 52},
        {"answering All turns it on", none, {"UNDO A CIRCLE 0,0 3 U "}, {1, 2}, idle, all, false, 53},
        {"control One keeps one step", one, {"CIRCLE 0,0 3 CIRCLE 0,0 4 U U "}, {1, 2, 3}, idle, one, false, 55},
        {"showing UNDOCTL is no step", all, {"CIRCLE 0,0 3 UNDOCTL U "}, {1, 2}, idle, all, false, 53},
        {"the user's group is open at the start", all, {}, {1, 2, 3}, idle, all, true, 61, true},
        {"End, then U takes their line too", all, {kFaceCentreRun, end, "U "}, {1, 2}, idle, all, false, 53, true},
        {"the run's Begin ends their group",
         all,
         {begin, kFaceCentreRun, end, "U "},
         {1, 2, 3},
         idle,
         all,
         false,
         53,
         true},
        {"and the next U takes it", all, {begin, kFaceCentreRun, end, "U U "}, {1, 2}, idle, all, false, 53, true},
        // 'SETVAR at UNDO's prompt runs inside it: no step, UNDO's prompt back, the group still open.
        {"UNDOCTL asked inside UNDO",
         all,
         {"_.UNDO 'SETVAR UNDOCTL "},
         {1, 2, 3},
         cadsim::kUndoPrompt,
         all,
         true,
         61,
         true},
    };
    for (const Case& run : cases) {
        cadsim::Drawing drawing;
        std::string error;
        ASSERT_TRUE(cadsim::ParseDrawingFile(kDrawing, drawing, error)) << error;
        cadsim::CommandInterpreter commandLine(cadsim::OpeningHistory(), cadsim::SystemVariables(), drawing, nullptr,
                                               run.control);
        if (run.userGroup) {
            cadsim::Entity line;
            line.type = cadsim::EntityType::OpenPolyline;
            line.corners = {{0, -10}, {20, -10}};
            ASSERT_TRUE(commandLine.OpenUserGroup(line));
        }
        for (const std::string& keys : run.typed)
            commandLine.Type(keys);
        EXPECT_EQ(Ids(commandLine.CurrentDrawing()), run.left) << run.name;
        EXPECT_EQ(commandLine.Prompt(), run.prompt) << run.name;
        EXPECT_EQ(commandLine.Undo().Control(), run.controlAfter) << run.name;
        EXPECT_EQ(commandLine.Undo().GroupOpen(), run.groupOpen) << run.name;
        EXPECT_EQ(commandLine.Variables().Number("UNDOCTL"), run.undoctl) << run.name;
    }
}

// A read-only number is printed bare, a read-only text in quotes; neither takes a value.
TEST(CadsimUndo, UndoctlIsPrintedAsTheHostPrintsAReadOnlyNumberAndRefusesAValue) {
    cadsim::CommandInterpreter commandLine(cadsim::OpeningHistory());
    commandLine.Type("_.UNDO _BEgin 'SETVAR UNDOCTL ");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(commandLine.Lines().back(), "UNDOCTL = 61 (読み込み専用)");
    commandLine.Type("_UNDOCTL 5 ACADVER ");
    const cadsim::History& lines = commandLine.Lines();
    EXPECT_EQ(std::vector<std::string>(lines.end() - 6, lines.end()),
              (std::vector<std::string>{"コマンド: _UNDOCTL", "UNDOCTL = 61 (読み込み専用)", "コマンド: 5",
                                        "不明なコマンド \"5\" です。F1 キーを押すとヘルプが表示されます。",
                                        "コマンド: ACADVER", "ACADVER = \"24.3s (LMS Tech)\" (読み込み専用)"}));
    EXPECT_FALSE(cadsim::SystemVariables().Assign("UNDOCTL", "5"));
    EXPECT_FALSE(cadsim::SystemVariables().Preset("UNDOCTL", "5"));
}

TEST(CadsimUndo, ObjectsComeBackUnderTheirOwnNumbersAndTheLogSaysWhatWasTakenBack) {
    const std::string drawingPath = testsupport::CadsimTempPath("undo", ".txt");
    {
        FILE* file = std::fopen(drawingPath.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs(kDrawing, file);
        std::fclose(file);
    }
    CadsimProcess sim({"--drawing", drawingPath});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(sim.Type(std::string("_.UNDO _BEgin ") + kRegionPass + "_.UNDO _End U "));
    ASSERT_TRUE(CadsimProcess::WaitUntil([&] { return !LogEvents(sim.LogContent(), "undo back").empty(); }));
    const std::string log = sim.LogContent();
    EXPECT_EQ(LogEvents(log, "undo "),
              (std::vector<std::string>{"undo control=all", "undo begin", "undo end", "undo back GROUP"}));
    EXPECT_EQ(
        LogEvents(log, "entity restored"),
        (std::vector<std::string>{
            "entity restored id=1 type=polyline corners=0.0000,0.0000;40.0000,0.0000;40.0000,30.0000;0.0000,30.0000",
            "entity restored id=2 type=circle center=80.0000,15.0000 radius=10.0000"}));
    EXPECT_EQ(LogEvents(log, "entity removed").size(), 5u) << "2 sources, then 2 regions and the circle";
    std::remove(drawingPath.c_str());
}

TEST(CadsimUndo, ControlNoneFromTheStartIsLogged) {
    CadsimProcess sim({"--undo-control", "none"});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    ASSERT_TRUE(sim.Type("_.UNDO "));
    EXPECT_EQ(sim.Prompt(), cadsim::kUndoControlPrompt);
    EXPECT_EQ(LogEvents(sim.LogContent(), "undo "), std::vector<std::string>{"undo control=none"});
}

// The window answers nothing for about the time asked once the wait's prompt shows: a message sent
// right after the record that began the wait comes back only when the freeze is over.
TEST(CadsimUndo, FreezeWaitsStopsAnsweringAtEachWaitOnce) {
    constexpr DWORD kFreezeMs = 1500;
    CadsimProcess sim(
        {"--freeze-waits", std::to_string(kFreezeMs), "--drawing", testsupport::CadsimSamplePath("regions.txt")});
    ASSERT_TRUE(sim.Ready()) << sim.Failure();
    for (const char* record : {"ID ", "\x03_region "}) {
        const std::size_t before = LogEvents(sim.LogContent(), "host freeze ").size();
        ASSERT_TRUE(sim.Type(record));
        ASSERT_TRUE(
            CadsimProcess::WaitUntil([&] { return LogEvents(sim.LogContent(), "host freeze ").size() > before; }));
        const DWORD start = ::GetTickCount();
        ::SendMessageW(sim.Windows().mainFrame, WM_NULL, 0, 0);
        const DWORD blocked = ::GetTickCount() - start;
        EXPECT_GE(blocked, kFreezeMs * 6 / 10) << record;
        EXPECT_LT(blocked, kFreezeMs * 3) << record;
        // The same prompt still showing is the same wait.
        const DWORD again = ::GetTickCount();
        ::SendMessageW(sim.Windows().mainFrame, WM_NULL, 0, 0);
        EXPECT_LT(::GetTickCount() - again, kFreezeMs / 2) << record;
    }
    EXPECT_EQ(LogEvents(sim.LogContent(), "host freeze"),
              (std::vector<std::string>{"host freeze pick ms=1500", "host freeze over", "host freeze select ms=1500",
                                        "host freeze over"}));
}

}  // namespace
