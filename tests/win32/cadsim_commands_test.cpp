// The simulator's drawing commands as logic, typed the way the tool types them: ID, -BOUNDARY,
// _region, _massprop with its questions and report file, CIRCLE, FILEDIA, and Ctrl+C.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "cadsim_process.h"
#include "command_interpreter.h"
#include "drawing_file.h"
#include "file_bytes.h"
#include "linear_units.h"
#include "mass_properties.h"
#include "massprop_command.h"
#include "report_writer.h"

namespace {

// Ctrl+C, apart: "\x03" before a hex digit would run into it.
const std::string kCtrlC = "\x03";

using cadsim::CommandInterpreter;
using cadsim::Point;

// Report files kept in memory; names without a folder are completed with one folder of its own.
class MemoryFiles : public cadsim::ReportFiles {
public:
    std::string FullPath(const std::string& name) const override {
        return name.find('\\') == std::string::npos ? "C:\\drawings\\" + name : name;
    }
    bool Exists(const std::string& path) const override { return files.count(path) != 0; }
    bool Write(const std::string& path, const std::string& bytes) override {
        if (path.find("readonly") != std::string::npos)
            return false;
        files[path] = bytes;
        ++writes;
        return true;
    }

    std::map<std::string, std::string> files;
    int writes = 0;
};

// The same shapes as the regions sample, written here so that these cases stand on their own.
const char kDrawing[] =
    "region 0,0 40,0 40,30 0,30\n"
    "region 60,0 100,0 80,30\n"
    "region 0,50 30,50 30,60 10,60 10,90 0,90\n"
    "polyline 60,50 100,50 100,90 60,90\n"
    "polyline 120,0 150,0 120,40\n";

const char kSquareCorners[] = "corners=60.0000,50.0000;100.0000,50.0000;100.0000,90.0000;60.0000,90.0000";

class CadsimCommands : public ::testing::Test {
public:
    static cadsim::Drawing Load(const char* text) {
        cadsim::Drawing drawing;
        std::string error;
        EXPECT_TRUE(cadsim::ParseDrawingFile(text, drawing, error)) << error;
        return drawing;
    }

protected:
    CadsimCommands() : commandLine(cadsim::OpeningHistory(), cadsim::SystemVariables(), Load(kDrawing), &files) {}

    std::string LastLine() const { return commandLine.Lines().back(); }

    std::vector<std::string> LinesSince(std::size_t count) const {
        const cadsim::History& lines = commandLine.Lines();
        return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(count), lines.end());
    }

    std::string Variable(const char* name) const {
        return commandLine.Variables().Text(*commandLine.Variables().Find(name));
    }

    MemoryFiles files;
    CommandInterpreter commandLine;
};

TEST_F(CadsimCommands, IdPrintsThePointWithAnXAndKeepsItInLastpoint) {
    commandLine.Type("\x03ID ");
    EXPECT_EQ(commandLine.PromptText(), "点を指定: ");
    EXPECT_TRUE(commandLine.TakesClicks());
    commandLine.Type("10,20.5\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(), "X = 10.0000     Y = 20.5000     Z = 0.0000");
    EXPECT_EQ(Variable("LASTPOINT"), "10.0000,20.5000,0.0000");
    EXPECT_EQ(commandLine.TakeEvents(), std::vector<std::string>{"variable LASTPOINT=10.0000,20.5000,0.0000"});

    commandLine.Type("ID ");
    const std::size_t before = commandLine.Lines().size();
    ASSERT_TRUE(commandLine.Click(Point{-12.25, 1000000}));
    EXPECT_EQ(LinesSince(before),
              (std::vector<std::string>{"点を指定:", "X = -12.2500     Y = 1000000.0000     Z = 0.0000"}));
    EXPECT_EQ(Variable("LASTPOINT"), "-12.2500,1000000.0000,0.0000");
    EXPECT_FALSE(commandLine.Click(Point{1, 1})) << "the idle prompt takes no clicks";
}

TEST_F(CadsimCommands, IdAsksAgainForTextThatIsNoPointAndEndsWithoutOneOnEnter) {
    commandLine.Type("ID abc ");
    EXPECT_EQ(LastLine(), "点または オプション キーワードが必要です。");
    EXPECT_EQ(commandLine.PromptText(), "点を指定: ");
    commandLine.Type("\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(), "点を指定:");
    EXPECT_EQ(LastLine().find('X'), std::string::npos);
    EXPECT_EQ(Variable("LASTPOINT"), "0.0000,0.0000,0.0000");
}

TEST_F(CadsimCommands, CtrlCAtAnyPromptCancelsWithTheMarkAndChangesNothing) {
    commandLine.Type("\x03ID ");
    commandLine.Type("\x03");
    EXPECT_EQ(LastLine(), "点を指定: *キャンセル*");

    commandLine.Type("\x03-BOUNDARY 70,60 ");
    commandLine.Type("\x03");
    EXPECT_EQ(LastLine(), "内側の点を指定: *キャンセル*");

    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03_massprop 20,15 \rY\r");
    EXPECT_EQ(commandLine.Prompt(), "ファイル名を入力 <Drawing1.mpr>: ");
    commandLine.Type("\x03");
    EXPECT_EQ(LastLine(), "ファイル名を入力 <Drawing1.mpr>: *キャンセル*");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(commandLine.CurrentDrawing().Entities().size(), 5u);
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(commandLine.TakeEvents(), std::vector<std::string>{"variable FILEDIA=0"});
}

TEST_F(CadsimCommands, FilediaTypedAsTheToolTypesItIsSetAndLogged) {
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(Variable("FILEDIA"), "0");
    commandLine.Type(kCtrlC + kCtrlC + "FILEDIA 1\r");
    EXPECT_EQ(Variable("FILEDIA"), "1");
    EXPECT_EQ(commandLine.TakeEvents(), (std::vector<std::string>{"variable FILEDIA=0", "variable FILEDIA=1"}));
    EXPECT_TRUE(commandLine.TakeEvents().empty());
}

TEST_F(CadsimCommands, BoundaryMakesAPolylineOfTheInnermostShapeWhenTheCommandEnds) {
    commandLine.Type("\x03-BOUNDARY 70,60 ");
    EXPECT_EQ(commandLine.Prompt(), "内側の点を指定: ");
    EXPECT_TRUE(commandLine.TakeEvents().empty()) << "nothing is made before the command ends";
    EXPECT_EQ(commandLine.Highlighted(), std::vector<int>{4});
    commandLine.Type("\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(), "BOUNDARY は 1 個のポリラインを作成しました");
    EXPECT_EQ(commandLine.TakeEvents(),
              std::vector<std::string>{std::string("entity created id=6 type=polyline ") + kSquareCorners});
    ASSERT_EQ(commandLine.CurrentDrawing().Last()->id, 6);

    // A region counts as a boundary too; the boundary just made is now the innermost at 70,60.
    commandLine.Type("\x03-BOUNDARY 20,15 \r");
    EXPECT_EQ(commandLine.TakeEvents(),
              std::vector<std::string>{"entity created id=7 type=polyline "
                                       "corners=0.0000,0.0000;40.0000,0.0000;40.0000,30.0000;0.0000,30.0000"});
}

TEST_F(CadsimCommands, BoundaryOutsideEveryShapeSaysSoAndMakesNothing) {
    const std::size_t before = commandLine.Lines().size();
    commandLine.Type("\x03-BOUNDARY 500,-3 \r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(
        LinesSince(before),
        (std::vector<std::string>{"コマンド: *キャンセル*", "コマンド: -BOUNDARY", "内側の点を指定: 500,-3",
                                  "すべてを選択中...", "選択されたデータを解析中...", "有効な境界が見つかりません。",
                                  "内側の点を指定:", "BOUNDARY は 0 個のポリラインを作成しました"}));
    EXPECT_TRUE(commandLine.TakeEvents().empty());
    EXPECT_EQ(commandLine.CurrentDrawing().Entities().size(), 5u);
}

TEST_F(CadsimCommands, RegionTurnsTheLastPolylineIntoARegionAndRemovesIt) {
    commandLine.Type("\x03-BOUNDARY 70,60 \r");
    commandLine.TakeEvents();
    commandLine.Type("\x03_region L \r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LinesSince(commandLine.Lines().size() - 5),
              (std::vector<std::string>{"オブジェクトを選択: L", "1 個を検出", "オブジェクトを選択:",
                                        "1 個のループが抽出されました。", "1 個のリージョンが作成されました。"}));
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{std::string("entity created id=7 type=region ") + kSquareCorners,
                                        "entity removed id=6"}));

    // The last object is a region now: nothing to extract, nothing changes.
    commandLine.Type("\x03_region L \r");
    EXPECT_EQ(LastLine(), "0 個のリージョンが作成されました。");
    EXPECT_TRUE(commandLine.TakeEvents().empty());
}

TEST_F(CadsimCommands, WithHpbound0BoundaryMakesTheRegionItselfAndTheReportCarriesItsBox) {
    EXPECT_EQ(Variable("HPBOUND"), "1");
    commandLine.Type(kCtrlC + "HPBOUND 0\r");
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03-BOUNDARY 70,60 \r");
    EXPECT_EQ(LastLine(), "BOUNDARY は 1 個のリージョンを作成しました");
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{"variable HPBOUND=0", "variable FILEDIA=0",
                                        std::string("entity created id=6 type=region ") + kSquareCorners}));
    commandLine.Type("\x03_massprop LAST \rY\rC:\\reports\\run1\r");
    const std::string& report = files.files["C:\\reports\\run1.mpr"];
    EXPECT_NE(report.find("\r\n境界ボックス:" + std::string(9, ' ') + "X: 60.0000  --  100.0000\r\n" +
                          std::string(22, ' ') + "Y: 50.0000  --  90.0000\r\n"),
              std::string::npos)
        << report;
}

TEST_F(CadsimCommands, RegionFromLastTakesACircleTooAndMasspropMeasuresItAsADisc) {
    commandLine.Type(kCtrlC + "CIRCLE 30,35 50\r");
    commandLine.TakeEvents();
    commandLine.Type("\x03_region L \r");
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{"entity created id=7 type=region center=30.0000,35.0000 radius=50.0000",
                                        "entity removed id=6"}));
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03_massprop LAST \rY\rC:\\reports\\disc\r");
    const std::string& report = files.files["C:\\reports\\disc.mpr"];
    EXPECT_NE(report.find("面積:" + std::string(20, ' ') + "7853.9816\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("周囲:" + std::string(20, ' ') + "314.1593\r\n"), std::string::npos);
    EXPECT_NE(report.find("X: -20.0000  --  80.0000\r\n" + std::string(22, ' ') + "Y: -15.0000  --  85.0000\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("X: 30.0000\r\n" + std::string(22, ' ') + "Y: 35.0000\r\n"), std::string::npos);
}

// A blank ends an input, except between double quotes, which do not belong to the input.
TEST_F(CadsimCommands, DoubleQuotesKeepBlanksInOneInputAtEveryPrompt) {
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03-BOUNDARY 70,60 \r");
    commandLine.Type("\x03_region L \r");
    commandLine.Type("\x03_massprop LAST \rY\r\"C:\\Users\\Taro Yamada\\run1\"\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(files.files.count("C:\\Users\\Taro Yamada\\run1.mpr"), 1u);

    // Unquoted, the name ends at the blank and the rest is typed as a command.
    commandLine.Type("\x03_massprop LAST \rY\rC:\\Users\\Taro Yamada\\run2\r");
    EXPECT_EQ(files.files.count("C:\\Users\\Taro.mpr"), 1u);
    EXPECT_EQ(LastLine(), "不明なコマンド \"Yamada\\run2\" です。F1 キーを押すとヘルプが表示されます。");
}

TEST_F(CadsimCommands, MasspropLastWritesTheReportWithMprAddedAndAsksBeforeReplacingIt) {
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03-BOUNDARY 70,60 \r");
    commandLine.Type("\x03_region L \r");
    commandLine.TakeEvents();
    const std::size_t before = commandLine.Lines().size();
    commandLine.Type("\x03_massprop LAST \rY\rC:\\reports\\run1\r");
    EXPECT_TRUE(commandLine.Idle());

    const std::string path = "C:\\reports\\run1.mpr";
    ASSERT_EQ(files.files.count(path), 1u);
    const std::string& report = files.files[path];
    EXPECT_NE(report.find("\r\n面積:" + std::string(20, ' ') + "1600.0000\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\r\n周囲:" + std::string(20, ' ') + "160.0000\r\n"), std::string::npos);
    EXPECT_NE(
        report.find("\r\n図心" + std::string(18, ' ') + "X: 80.0000\r\n" + std::string(22, ' ') + "Y: 70.0000\r\n"),
        std::string::npos);
    EXPECT_EQ(commandLine.TakeEvents(),
              std::vector<std::string>{"report written bytes=" + std::to_string(report.size()) + " path=" + path});

    // The history holds the analysis, then the question and the name, as the file holds it.
    const std::vector<std::string> lines = LinesSince(before);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"コマンド: *キャンセル*", "コマンド: _massprop", "オブジェクトを選択: LAST",
                                        "1 個を検出", "オブジェクトを選択:"}));
    std::string printed;
    for (std::size_t i = 5; i < 20; ++i)
        printed += lines[i] + "\r\n";
    EXPECT_EQ(printed, report);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 20, lines.end()),
              (std::vector<std::string>{"解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: Y",
                                        "ファイル名を入力 <Drawing1.mpr>: C:\\reports\\run1"}));

    files.files[path] = "earlier";
    commandLine.Type("\x03_massprop LAST \rY\rC:\\reports\\run1\r");
    EXPECT_EQ(commandLine.Prompt(),
              "ファイル C:\\reports\\run1.mpr は既に存在します。置き換えますか? [はい(Y)/いいえ(N)] <N>: ");
    commandLine.Type("Y\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(files.files[path], report);

    files.files[path] = "earlier";
    commandLine.Type("\x03_massprop LAST \rY\rC:\\reports\\run1\r");
    commandLine.Type("N\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(files.files[path], "earlier");
    EXPECT_EQ(files.writes, 2);
}

TEST_F(CadsimCommands, MasspropMeasuresTheRegionsClickedTogetherAndTakesTheDefaultName) {
    commandLine.Type(kCtrlC + kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03_massprop\r");
    EXPECT_EQ(commandLine.Prompt(), "オブジェクトを選択: ");
    ASSERT_TRUE(commandLine.Click(Point{20, 15}));
    EXPECT_EQ(LastLine(), "1 個を検出");
    commandLine.Type("20,15 ");
    EXPECT_EQ(LastLine(), "1 個を検出 (1 個重複)、合計 1 個");
    ASSERT_TRUE(commandLine.Click(Point{80, 10}));
    EXPECT_EQ(LastLine(), "1 個を検出、合計 2 個");
    EXPECT_EQ(commandLine.Highlighted(), (std::vector<int>{1, 2}));
    commandLine.Type("\r");
    EXPECT_EQ(commandLine.Prompt(), "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ");
    EXPECT_TRUE(commandLine.Highlighted().empty());
    commandLine.Type("yes\r");
    EXPECT_EQ(commandLine.Prompt(), "ファイル名を入力 <Drawing1.mpr>: ");
    commandLine.Type("\r");
    EXPECT_TRUE(commandLine.Idle());
    const std::string& report = files.files["C:\\drawings\\Drawing1.mpr"];
    EXPECT_NE(report.find("面積:" + std::string(20, ' ') + "1800.0000\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("周囲:" + std::string(20, ' ') + "252.1110\r\n"), std::string::npos);
    EXPECT_NE(report.find("X: 40.0000\r\n" + std::string(22, ' ') + "Y: 13.3333\r\n"), std::string::npos);
}

TEST_F(CadsimCommands, MasspropWithNoRegionSelectedSaysSoAndWritesNothing) {
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03_massprop\r");
    ASSERT_TRUE(commandLine.Click(Point{80, 70}));  // a polyline
    commandLine.Type("\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(), "リージョンまたはソリッドが選択されていません。");

    commandLine.Type("\x03_massprop\r");
    ASSERT_TRUE(commandLine.Click(Point{500, 500}));
    EXPECT_EQ(LastLine(), "0 個を検出");
    commandLine.Type("\r");
    EXPECT_EQ(LastLine(), "リージョンまたはソリッドが選択されていません。");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(CadsimCommands, MasspropRefusesUnknownAnswersAndSaysWhenTheFileCannotBeWritten) {
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    commandLine.Type("\x03_massprop ALL \r");
    commandLine.Type("maybe\r");
    EXPECT_EQ(LastLine(), "オプション キーワードが無効です。");
    EXPECT_EQ(commandLine.Prompt(), "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ");
    commandLine.Type("XYZ ");
    EXPECT_EQ(LastLine(), "オプション キーワードが無効です。");
    commandLine.Type("_Y\rC:\\readonly\\r\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(), "ファイル C:\\readonly\\r.mpr に書き込めません。");
    commandLine.TakeEvents();

    commandLine.Type("_massprop NONSENSE ");
    EXPECT_EQ(LinesSince(commandLine.Lines().size() - 2),
              (std::vector<std::string>{"*無効な選択*", "点を指定するか、最後(L)/すべて(ALL) を入力してください。"}));
    commandLine.Type("\r");
    EXPECT_EQ(LastLine(), "リージョンまたはソリッドが選択されていません。");
    commandLine.Type("\r");  // Enter at the idle prompt repeats MASSPROP
    EXPECT_EQ(commandLine.Prompt(), "オブジェクトを選択: ");
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(commandLine.TakeEvents().empty());
}

TEST_F(CadsimCommands, WithFileDialogsOnTheDialogTakesTheDefaultNameAndTheReportIsWritten) {
    commandLine.Type("\x03_massprop 5,80 \rY\r");
    EXPECT_TRUE(commandLine.Idle()) << "no name is asked on the command line";
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{
                  "file dialog path=C:\\drawings\\Drawing1.mpr",
                  "report written bytes=" + std::to_string(files.files["C:\\drawings\\Drawing1.mpr"].size()) +
                      " path=C:\\drawings\\Drawing1.mpr"}));
    EXPECT_NE(files.files["C:\\drawings\\Drawing1.mpr"].find("X: 10.0000\r\n"), std::string::npos);
}

TEST_F(CadsimCommands, CircleAsTheToolTypesItAppearsInTheDrawing) {
    commandLine.Type(kCtrlC + "CIRCLE 30.0000,35.0000 50\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{"entity created id=6 type=circle center=30.0000,35.0000 radius=50.0000",
                                        "entity exact id=6 center=30,35 radius=50"}));
    const cadsim::Entity* circle = commandLine.CurrentDrawing().Last();
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->type, cadsim::EntityType::Circle);
    EXPECT_EQ(circle->radius, 50);
}

// The view redraws only these areas, so each change must name exactly what looks different.
TEST_F(CadsimCommands, RedrawAreasAreWhatWasAddedRemovedSelectedOrLetGo) {
    // "+id box" for an entity added, "- box" for one removed, "selection box" for one selected or let go.
    const auto text = [](const cadsim::RedrawAreas& areas) {
        const auto box = [](const cadsim::Box& b) { return cadsim::PointText(b.min) + " " + cadsim::PointText(b.max); };
        std::vector<std::string> texts;
        for (const cadsim::DrawingChange& change : areas.drawing)
            texts.push_back((change.added ? "+" + std::to_string(change.added) : std::string("-")) + " " +
                            box(change.bounds));
        for (const cadsim::Box& b : areas.selection)
            texts.push_back("selection " + box(b));
        return texts;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()), Texts{}) << "the loaded drawing is painted whole at start";
    commandLine.Type(kCtrlC + "FILEDIA 0\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()), Texts{});

    commandLine.Type("_massprop\r20,15\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()), Texts{"selection 0.0000,0.0000 40.0000,30.0000"});
    commandLine.Type("80,10\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()), Texts{"selection 60.0000,0.0000 100.0000,30.0000"});
    commandLine.Type("\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()),
              (Texts{"selection 0.0000,0.0000 40.0000,30.0000", "selection 60.0000,0.0000 100.0000,30.0000"}))
        << "let go when the selection ends";
    commandLine.Type("N\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()), Texts{});

    commandLine.Type("CIRCLE 30,35 5\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()), Texts{"+6 25.0000,30.0000 35.0000,40.0000"});
    commandLine.Type("REGION L\r\r");
    EXPECT_EQ(text(commandLine.TakeRedrawAreas()),
              (Texts{"+7 25.0000,30.0000 35.0000,40.0000", "- 25.0000,30.0000 35.0000,40.0000"}))
        << "the region made from the circle, and the circle gone";
}

TEST_F(CadsimCommands, CircleRefusesRadiiThatAreNoPositiveDistance) {
    commandLine.Type(kCtrlC + "CIRCLE 1,1 ");
    EXPECT_EQ(commandLine.Prompt(), "円の半径を指定: ");
    commandLine.Type("-5\r");
    EXPECT_EQ(LastLine(), "値は正で 0 以外でなければなりません。");
    commandLine.Type("0\r");
    EXPECT_EQ(LastLine(), "値は正で 0 以外でなければなりません。");
    commandLine.Type("abc\r");
    EXPECT_EQ(LastLine(), "数値距離か 2 点目が必要です。");
    commandLine.Type("\r");
    EXPECT_EQ(LastLine(), "数値距離か 2 点目が必要です。");
    EXPECT_EQ(commandLine.Prompt(), "円の半径を指定: ");
    EXPECT_TRUE(commandLine.TakeEvents().empty());
    commandLine.Type("4,5\r");  // a point on the circle: 5 from the centre
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{"entity created id=6 type=circle center=1.0000,1.0000 radius=5.0000",
                                        "entity exact id=6 center=1,1 radius=5"}));

    // Clicks give the centre and a point on the circle.
    commandLine.Type("C ");
    ASSERT_TRUE(commandLine.Click(Point{10, 10}));
    ASSERT_TRUE(commandLine.Click(Point{10, 13}));
    EXPECT_EQ(commandLine.TakeEvents(),
              (std::vector<std::string>{"entity created id=7 type=circle center=10.0000,10.0000 radius=3.0000",
                                        "entity exact id=7 center=10,10 radius=3"}));
}

// A triangle of 20 by 5.4 inches: area 54, centroid 20/3,1.8.
const char kTriangle[] = "region 0,0 20,0 0,5.4\n";

struct UnitsCase {
    const char* settings;  // typed, each with another of the prefixes a command may carry
    const char* point;     // typed at ID's prompt
    const char* x;         // ID's X, Y and Z as printed
    const char* y;
    const char* z;
    const char* area;  // the report's
    const char* centroidX;
    const char* centroidY;
};

TEST(CadsimUnits, LengthsAndCoordinatesPrintInTheLinearUnitsAndTheReportKeepsItsColumns) {
    const UnitsCase cases[] = {
        {"", "15.6,-1.8,0.3", "15.6000", "-1.8000", "0.3000", "54.0000", "6.6667", "1.8000"},
        {"_LUPREC 0 ", "15.6,-1.8,0.3", "16", "-2", "0", "54", "7", "2"},
        // 20/3 printed to 8 places lies within 1e-8 of it.
        {"_.LUPREC 8 ", "15.6,-1.8,0.3", "15.60000000", "-1.80000000", "0.30000000", "54.00000000", "6.66666667",
         "1.80000000"},
        {"._LUNITS 1 ", "15.6,-1.8,0.3", "1.5600E+01", "-1.8000E+00", "3.0000E-01", "5.4000E+01", "6.6667E+00",
         "1.8000E+00"},
        {"'SETVAR LUNITS 3 LUPREC 2 ", "15.6,-1.8,0.3", "1'-3.60\"", "-0'-1.80\"", "0'-0.30\"", "54.00", "0'-6.67\"",
         "0'-1.80\""},
        {"LUNITS 3 LUPREC 2 UNITMODE 1 ", "15.6,-1.8,0.3", "1'3.60\"", "-0'1.80\"", "0'0.30\"", "54.00", "0'6.67\"",
         "0'1.80\""},
        {"LUNITS 4 ", "15.6,-1.8,0.3", "1'-3 5/8\"", "-0'-1 13/16\"", "0'-0 5/16\"", "54.0000", "0'-6 11/16\"",
         "0'-1 13/16\""},
        {"LUNITS 4 UNITMODE 1 ", "15.6,-1.8,0.3", "1'3-5/8\"", "-0'1-13/16\"", "0'0-5/16\"", "54.0000", "0'6-11/16\"",
         "0'1-13/16\""},
        // Inches that round up to 12 carry into the feet; a minus that rounds away goes with it.
        {"LUNITS 4 ", "11.99,23.999,-0.01", "1'-0\"", "2'-0\"", "0'-0\"", "54.0000", "0'-6 11/16\"", "0'-1 13/16\""},
        {"LUNITS 4 LUPREC 0 ", "15.6,-1.8,0.3", "1'-4\"", "-0'-2\"", "0'-0\"", "54", "0'-7\"", "0'-2\""},
        {"LUNITS 5 LUPREC 2 ", "15.6,-1.8,0.3", "15 1/2", "-1 3/4", "1/4", "54.00", "6 3/4", "1 3/4"},
        {"LUNITS 5 LUPREC 2 UNITMODE 1 ", "15.6,-1.8,0.3", "15-1/2", "-1-3/4", "1/4", "54.00", "6-3/4", "1-3/4"},
    };
    for (const UnitsCase& one : cases) {
        SCOPED_TRACE(one.settings);
        MemoryFiles files;
        CommandInterpreter commandLine(cadsim::OpeningHistory(), cadsim::SystemVariables(),
                                       CadsimCommands::Load(kTriangle), &files);
        commandLine.Type(std::string(one.settings) + "FILEDIA 0 ID " + one.point + " ");
        const std::string xyz = std::string(one.x) + "," + one.y + "," + one.z;
        EXPECT_EQ(commandLine.Lines().back(), std::string("X = ") + one.x + "     Y = " + one.y + "     Z = " + one.z);
        const std::vector<std::string> events = commandLine.TakeEvents();
        EXPECT_EQ(events.back(), "variable LASTPOINT=" + xyz);
        commandLine.Type("LASTPOINT ");
        EXPECT_EQ(commandLine.Prompt(), "LASTPOINT の新しい値を入力 <" + xyz + ">: ");

        commandLine.Type("\x03_massprop ALL \rY\rC:\\r\r");
        const std::vector<std::string> report =
            cadsim::ReportLines(cadsim::Measure({{{0, 0}, {20, 0}, {0, 5.4}}}), commandLine.Variables().Units());
        EXPECT_EQ(files.files["C:\\r.mpr"], cadsim::ReportFileBytes(report));
        EXPECT_EQ(report[1], "面積:" + std::string(20, ' ') + one.area);
        EXPECT_EQ(report[5], "図心" + std::string(18, ' ') + "X: " + one.centroidX);
        EXPECT_EQ(report[6], std::string(22, ' ') + "Y: " + one.centroidY);
    }
    // The rest of an architectural report: lengths in feet and inches, moments as numbers.
    cadsim::LinearUnits architectural;
    architectural.kind = cadsim::UnitKind::Architectural;
    const std::vector<std::string> report =
        cadsim::ReportLines(cadsim::Measure({{{0, 0}, {20, 0}, {0, 5.4}}}), architectural);
    EXPECT_EQ(std::vector<std::string>(report.begin() + 2, report.begin() + 5),
              (std::vector<std::string>{"周囲:" + std::string(20, ' ') + "3'-10 1/8\"",
                                        "境界ボックス:" + std::string(9, ' ') + "X: 0'-0\"  --  1'-8\"",
                                        std::string(22, ' ') + "Y: 0'-0\"  --  0'-5 3/8\""}));
    EXPECT_EQ(std::vector<std::string>(report.begin() + 7, report.begin() + 12),
              (std::vector<std::string>{
                  "慣性モーメント:" + std::string(7, ' ') + "X: 262.4400", std::string(22, ' ') + "Y: 3600.0000",
                  "慣性乗積:" + std::string(12, ' ') + "XY: 486.0000",
                  "回転半径:" + std::string(13, ' ') + "X: 0'-2 3/16\"", std::string(22, ' ') + "Y: 0'-8 3/16\""}));
}

struct SnapCase {
    long osmode;
    long osnapcoord;
    cadsim::KeySource source;
    const char* keys;    // typed
    const Point* click;  // then clicked, when not null
    std::vector<std::string> events;
};

TEST(CadsimSnaps, ClicksAndTypedPointsMoveOntoTheNearestSnapPointAsOsmodeAndOsnapcoordSay) {
    // Endpoints 0,0 4,0 4,2 0,2, midpoints 2,0 4,1 2,2 0,1, a centre 20,1; the aperture is 1.2.
    const char drawing[] = "polyline 0,0 4,0 4,2 0,2\ncircle 20,1 3\n";
    const Point nearCorner{3.8, 0.1};
    const Point nearEdge{2.1, 0.3};
    const Point nearBoth{3.6, 0.8};  // the midpoint 4,1 is nearer than the corner 4,0
    const Point nearCentre{20.5, 1.5};
    const std::string toCorner = "host snap from=3.8000,0.1000 to=4.0000,0.0000 by=endpoint";
    const std::string atCorner = "variable LASTPOINT=4.0000,0.0000,0.0000";
    const std::string unmoved = "variable LASTPOINT=3.8000,0.1000,0.0000";
    const std::string toCentre = "host snap from=20.5000,1.5000 to=20.0000,1.0000 by=centre";
    const std::string toMidpoint = "host snap from=2.1000,0.3000 to=2.0000,0.0000 by=midpoint";
    const std::string toSide = "host snap from=3.6000,0.8000 to=4.0000,1.0000 by=midpoint";
    const std::string rectangle =
        "entity created id=3 type=polyline corners=0.0000,0.0000;4.0000,0.0000;4.0000,2.0000;"
        "0.0000,2.0000";
    const auto keyboard = cadsim::KeySource::Keyboard;
    const auto script = cadsim::KeySource::Script;
    const SnapCase cases[] = {
        {4133, 2, keyboard, "ID ", &nearCorner, {toCorner, atCorner}},
        {4133, 2, keyboard, "ID ", &nearEdge, {"variable LASTPOINT=2.1000,0.3000,0.0000"}},  // midpoints are off
        {2, 2, keyboard, "ID ", &nearEdge, {toMidpoint, "variable LASTPOINT=2.0000,0.0000,0.0000"}},
        {3, 2, keyboard, "ID ", &nearBoth, {toSide, "variable LASTPOINT=4.0000,1.0000,0.0000"}},
        {4133 + 16384, 2, keyboard, "ID ", &nearCorner, {unmoved}},
        {4133, 2, keyboard, "ID _non ", &nearCorner, {unmoved}},
        {4133, 2, keyboard, "ID 3.8,0.1 ", nullptr, {unmoved}},
        {4133, 2, script, "ID 3.8,0.1 ", nullptr, {toCorner, atCorner}},
        {4133, 0, keyboard, "ID 3.8,0.1 ", nullptr, {toCorner, atCorner}},
        {4133, 0, script, "ID 3.8,0.1 ", nullptr, {toCorner, atCorner}},
        {4133, 1, keyboard, "ID 3.8,0.1 ", nullptr, {unmoved}},
        {4133, 1, script, "ID 3.8,0.1 ", nullptr, {unmoved}},
        {4133, 0, script, "ID none 3.8,0.1 ", nullptr, {unmoved}},
        {4133, 0, keyboard, "ID _non 3.8,0.1 ID 3.8,0.1 ", nullptr, {unmoved, toCorner, atCorner}},  // once only
        {4133,
         0,
         keyboard,
         "._CIRCLE 20.5,1.5 1 ",
         nullptr,
         {toCentre, "entity created id=3 type=circle center=20.0000,1.0000 radius=1.0000",
          "entity exact id=3 center=20,1 radius=1"}},
        {4133, 2, keyboard, "CIRCLE ", &nearCentre, {toCentre}},
        // On the corner the point is inside no shape: the snap spoils the boundary, _non keeps it.
        {4133, 0, keyboard, "-BOUNDARY 3.8,0.1 \r", nullptr, {toCorner}},
        {4133, 0, keyboard, "-BOUNDARY _non 3.8,0.1 \r", nullptr, {rectangle}},
    };
    for (const SnapCase& one : cases) {
        SCOPED_TRACE(std::to_string(one.osmode) + " " + std::to_string(one.osnapcoord) + " " + one.keys +
                     (one.source == script ? " (script)" : "") + (one.click ? " and a click" : ""));
        cadsim::SystemVariables variables;
        ASSERT_TRUE(variables.Preset("OSMODE", std::to_string(one.osmode)));
        ASSERT_TRUE(variables.Preset("OSNAPCOORD", std::to_string(one.osnapcoord)));
        CommandInterpreter commandLine(cadsim::OpeningHistory(), variables, CadsimCommands::Load(drawing));
        commandLine.SetSnapAperture(1.2);
        commandLine.Type(one.keys, one.source);
        if (one.click) {
            EXPECT_TRUE(commandLine.Click(*one.click));
        }
        EXPECT_EQ(commandLine.TakeEvents(), one.events);
    }
}

TEST(CadsimGap, BoundaryInsideLinesWithAGapFindsNoneAndMakesNothing) {
    const struct {
        const char* keys;
        const char* said;  // the last line
        std::size_t made;
    } cases[] = {
        {"-BOUNDARY 80,20 \r", "BOUNDARY は 0 個のポリラインを作成しました", 0},
        {"-BOUNDARY 60,20 \r", "BOUNDARY は 0 個のポリラインを作成しました", 0},  // in the gap itself
        {"-BOUNDARY 20,20 \r", "BOUNDARY は 1 個のポリラインを作成しました", 1},
        {"_region ALL \r", "1 個のリージョンが作成されました。", 1},  // the open lines make no loop
    };
    for (const auto& one : cases) {
        SCOPED_TRACE(one.keys);
        const std::string sample = testsupport::ReadBytes(testsupport::CadsimSamplePath("gap.txt"));
        CommandInterpreter commandLine(cadsim::OpeningHistory(), cadsim::SystemVariables(),
                                       CadsimCommands::Load(sample.c_str()));
        commandLine.Type(one.keys);
        EXPECT_TRUE(commandLine.Idle());
        EXPECT_EQ(commandLine.Lines().back(), one.said);
        const auto said = [&](const char* line) {
            return std::count(commandLine.Lines().begin(), commandLine.Lines().end(), line);
        };
        EXPECT_EQ(said("有効な境界が見つかりません。"), one.made == 0 ? 1 : 0);
        std::size_t made = 0;
        for (const std::string& event : commandLine.TakeEvents())
            made += event.rfind("entity created", 0) == 0 ? 1 : 0;
        EXPECT_EQ(made, one.made);
    }
}

TEST(CadsimReportFileName, AddsMprOnlyWhenTheLastPartHasNoExtension) {
    EXPECT_EQ(cadsim::ReportFileName("C:\\a.b\\251207103000"), "C:\\a.b\\251207103000.mpr");
    EXPECT_EQ(cadsim::ReportFileName("C:\\x\\report.txt"), "C:\\x\\report.txt");
    EXPECT_EQ(cadsim::ReportFileName("C:stem"), "C:stem.mpr");
    // "表" ends with the byte of a backslash; it is no folder separator.
    EXPECT_EQ(cadsim::ReportFileName("data.d\\表"), "data.d\\表.mpr");
    EXPECT_EQ(cadsim::ReportFileName("C:\\x\\run.mpr"), "C:\\x\\run.mpr");
}

}  // namespace
