// The scripted user as logic: the script file's steps and errors, and each step done only once
// its prompt shows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_interpreter.h"
#include "drawing_file.h"
#include "user_script.h"

namespace {

using cadsim::ScriptedUser;
using cadsim::UserStep;

std::vector<UserStep> Parse(const std::string& text) {
    std::vector<UserStep> steps;
    std::string error;
    EXPECT_TRUE(cadsim::ParseUserScript(text, steps, error)) << error;
    return steps;
}

TEST(CadsimUserScript, StepsTakeTheirDefaultPromptsOrTheTextAfterAt) {
    const std::vector<UserStep> steps = Parse(
        "# face-centre, then a region\r\n"
        "\r\n"
        "pick 15,10\r\n"
        "WAIT 250  # a moment\r\n"
        "select -1.5,2e3 at オブジェクトを選択\r\n"
        "enter\r\n"
        "esc\r\n"
        "Enter AT 書き出しますか? [はい(Y)\r\n"
        "\tesc at 点を指定 ");
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0].kind, UserStep::Kind::Pick);
    EXPECT_EQ(steps[0].point.x, 15);
    EXPECT_EQ(steps[0].point.y, 10);
    EXPECT_EQ(steps[0].prompt, "点を指定");
    EXPECT_TRUE(steps[0].atStart);
    EXPECT_EQ(steps[0].line, 3u);
    EXPECT_EQ(steps[1].kind, UserStep::Kind::Wait);
    EXPECT_EQ(steps[1].waitMs, 250u);
    EXPECT_EQ(steps[2].kind, UserStep::Kind::Select);
    EXPECT_EQ(steps[2].point.x, -1.5);
    EXPECT_EQ(steps[2].point.y, 2000);
    EXPECT_EQ(steps[2].prompt, "オブジェクトを選択");
    EXPECT_FALSE(steps[2].atStart);
    EXPECT_EQ(steps[3].kind, UserStep::Kind::Enter);
    EXPECT_EQ(steps[3].prompt, "オブジェクトを選択");
    EXPECT_EQ(steps[4].kind, UserStep::Kind::Esc);
    EXPECT_EQ(steps[4].prompt, "") << "any prompt of a running command";
    EXPECT_EQ(steps[5].prompt, "書き出しますか? [はい(Y)");
    EXPECT_EQ(steps[6].prompt, "点を指定");
    EXPECT_EQ(steps[6].line, 9u);
}

TEST(CadsimUserScript, BadLinesAreNamedWithTheirNumber) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pick 1,1\nclick 1,1\n", "line 2: unknown step (pick, select, enter, esc, wait or freeze)"},
        {"freeze\n", "line 1: freeze needs a number of milliseconds from 0 to 600000"},
        {"pick 1\n", "line 1: pick needs a point x,y"},
        {"select\n", "line 1: select needs a point x,y"},
        {"wait\n", "line 1: wait needs a number of milliseconds from 0 to 600000"},
        {"wait 600001\n", "line 1: wait needs a number of milliseconds from 0 to 600000"},
        {"wait -5\n", "line 1: wait needs a number of milliseconds from 0 to 600000"},
        {"wait 5 more\n", "line 1: wait needs a number of milliseconds from 0 to 600000"},
        {"enter at\n", "line 1: expected 'at' and a prompt text after the step"},
        {"esc now\n", "line 1: expected 'at' and a prompt text after the step"},
        {"pick 1,1 2,2\n", "line 1: expected 'at' and a prompt text after the step"},
        {std::string("\n\nenter\0\n", 9), "line 3: control characters in the line (is this a script file?)"},
    };
    for (const auto& bad : cases) {
        std::vector<UserStep> steps;
        std::string error;
        EXPECT_FALSE(cadsim::ParseUserScript(bad.first, steps, error)) << bad.first;
        EXPECT_EQ(error, bad.second);
    }
}

class CadsimScriptedUser : public ::testing::Test {
protected:
    static cadsim::Drawing Regions() {
        cadsim::Drawing drawing;
        std::string error;
        EXPECT_TRUE(cadsim::ParseDrawingFile("region 0,0 40,0 40,30 0,30\nregion 60,0 100,0 80,30\n", drawing, error));
        return drawing;
    }

    cadsim::CommandInterpreter commandLine{cadsim::OpeningHistory(), cadsim::SystemVariables(), Regions()};
    std::string action;
};

TEST_F(CadsimScriptedUser, PicksOnlyOnceThePointPromptShows) {
    ScriptedUser user(Parse("pick 15,10\npick 3,4 at 点を指定\n"));
    EXPECT_FALSE(user.Act(commandLine, 0, action)) << "idle: nothing to pick";
    commandLine.Type("CIRCLE ");
    EXPECT_FALSE(user.Act(commandLine, 10, action)) << "CIRCLE's centre is not ID's point";
    commandLine.Type("\x03ID ");
    ASSERT_TRUE(user.Act(commandLine, 20, action));
    EXPECT_EQ(action, "pick 15.0000,10.0000");
    EXPECT_EQ(commandLine.Variables().Text(*commandLine.Variables().Find("LASTPOINT")), "15.0000,10.0000,0.0000");
    // With "at", anywhere in the prompt will do.
    commandLine.Type("CIRCLE ");
    ASSERT_TRUE(user.Act(commandLine, 30, action));
    EXPECT_EQ(action, "pick 3.0000,4.0000");
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(commandLine.Prompt(), "円の半径を指定: ");
    EXPECT_FALSE(user.Act(commandLine, 40, action));
}

TEST_F(CadsimScriptedUser, SelectsEndsTheSelectionAndCancelsTheNextPassInOrder) {
    ScriptedUser user(Parse("select 20,15\nselect 80,10\nenter\nesc at オブジェクトを選択\n"));
    commandLine.Type("\x03_massprop\r");
    ASSERT_TRUE(user.Act(commandLine, 0, action));
    EXPECT_EQ(action, "select 20.0000,15.0000");
    ASSERT_TRUE(user.Act(commandLine, 0, action));
    ASSERT_TRUE(user.Act(commandLine, 0, action));
    EXPECT_EQ(action, "enter");
    EXPECT_EQ(commandLine.Prompt(), "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ");
    EXPECT_FALSE(user.Act(commandLine, 0, action)) << "Esc waits for the next selection prompt";
    commandLine.Type("N\r");
    EXPECT_FALSE(user.Act(commandLine, 0, action));
    commandLine.Type("\x03_massprop\r");
    ASSERT_TRUE(user.Act(commandLine, 0, action));
    EXPECT_EQ(action, "esc");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_NE(commandLine.Lines().back().find("キャンセル"), std::string::npos);
    EXPECT_TRUE(user.Done());
}

TEST_F(CadsimScriptedUser, WaitsLetTheirTimePassFromWhenTheyBecomeTheNextStep) {
    ScriptedUser user(Parse("wait 100\nesc\n"));
    commandLine.Type("ID ");
    EXPECT_FALSE(user.Act(commandLine, 1000, action));
    EXPECT_FALSE(user.Act(commandLine, 1099, action));
    ASSERT_TRUE(user.Act(commandLine, 1100, action));
    EXPECT_EQ(action, "wait 100");
    EXPECT_FALSE(commandLine.Idle()) << "the wait itself presses nothing";
    ASSERT_TRUE(user.Act(commandLine, 1100, action));
    EXPECT_EQ(action, "esc");
    EXPECT_EQ(commandLine.Lines().back(), "点を指定: *キャンセル*");
}

TEST_F(CadsimScriptedUser, FreezeActsAtItsPromptAndAsksTheHostToStopOnce) {
    ScriptedUser user(Parse("freeze 4000 at 点を指定\n"));
    EXPECT_FALSE(user.Act(commandLine, 0, action)) << "idle: not yet";
    EXPECT_EQ(user.TakeFreezeMs(), 0u);
    commandLine.Type("\x03ID ");
    ASSERT_TRUE(user.Act(commandLine, 10, action));
    EXPECT_EQ(action, "freeze 4000");
    EXPECT_EQ(user.TakeFreezeMs(), 4000u);
    EXPECT_EQ(user.TakeFreezeMs(), 0u);
    EXPECT_EQ(commandLine.Prompt(), "点を指定: ") << "the freeze itself presses nothing";
}

TEST_F(CadsimScriptedUser, AClickAtAPromptThatTakesNoneIsNotedAsIgnored) {
    ScriptedUser user(Parse("pick 1,1 at 変数名を入力\n"));
    commandLine.Type("SETVAR ");
    ASSERT_TRUE(user.Act(commandLine, 0, action));
    EXPECT_EQ(action, "pick 1.0000,1.0000 ignored");
    EXPECT_EQ(commandLine.Prompt(), "変数名を入力 または [?]: ");
}

}  // namespace
