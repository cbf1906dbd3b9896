// The simulator's command line as logic: keystrokes in, prompt, history and variables out; and the
// options that choose how it takes its input.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "command_interpreter.h"
#include "options.h"
#include "record_lines.h"
#include "system_variables.h"

namespace {

using cadsim::CommandInterpreter;
using cadsim::History;
using cadsim::SystemVariables;

std::string LastLine(const CommandInterpreter& commandLine) {
    return commandLine.Lines().empty() ? std::string() : commandLine.Lines().back();
}

std::vector<std::string> LastLines(const CommandInterpreter& commandLine, std::size_t count) {
    const History& lines = commandLine.Lines();
    const std::size_t first = lines.size() > count ? lines.size() - count : 0;
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
}

std::string Value(const CommandInterpreter& commandLine, const char* name) {
    const cadsim::SystemVariable* variable = commandLine.Variables().Find(name);
    return variable ? commandLine.Variables().Text(*variable) : "(none)";
}

class CadsimCommandLine : public ::testing::Test {
protected:
    CommandInterpreter commandLine{cadsim::OpeningHistory()};
};

TEST_F(CadsimCommandLine, StartsIdleAfterTheOpeningLines) {
    EXPECT_EQ(commandLine.PromptText(), "コマンド: ");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(commandLine.Lines().size(), cadsim::kOpeningLineCount);
    EXPECT_EQ(LastLine(commandLine), "コマンド:");
}

TEST_F(CadsimCommandLine, SetvarShowsTheValueInThePromptAndTakesTheNext) {
    commandLine.Type("'SETVAR LASTPOINT\r");
    EXPECT_EQ(commandLine.PromptText(), "LASTPOINT の新しい値を入力 <0.0000,0.0000,0.0000>: ");
    EXPECT_EQ(LastLines(commandLine, 2),
              (std::vector<std::string>{"コマンド: 'SETVAR", "変数名を入力 または [?]: LASTPOINT"}));
    commandLine.Type("10,20.5");
    EXPECT_EQ(commandLine.PromptText(), "LASTPOINT の新しい値を入力 <0.0000,0.0000,0.0000>: 10,20.5");
    commandLine.Type("\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(Value(commandLine, "LASTPOINT"), "10.0000,20.5000,0.0000");
    EXPECT_EQ(LastLine(commandLine), "LASTPOINT の新しい値を入力 <0.0000,0.0000,0.0000>: 10,20.5");
}

TEST_F(CadsimCommandLine, ASpaceEndsAnInputAsEnterDoes) {
    commandLine.Type("_setvar filedia 0 ");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(Value(commandLine, "FILEDIA"), "0");
    commandLine.Type("FILEDIA ");
    EXPECT_EQ(commandLine.PromptText(), "FILEDIA の新しい値を入力 <0>: ");
}

TEST_F(CadsimCommandLine, CtrlCCancelsTheRunningCommandAndWhatWasTyped) {
    commandLine.Type("'SETVAR FILEDIA\r1");
    commandLine.Type("\x03");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(commandLine.PromptText(), "コマンド: ");
    EXPECT_EQ(LastLine(commandLine), "FILEDIA の新しい値を入力 <1>: *キャンセル*");
    EXPECT_EQ(Value(commandLine, "FILEDIA"), "1");
    // At the idle prompt too, and a leading Ctrl+C before a command cancels first, then runs it.
    commandLine.Type(
        "\x03"
        "FILEDIA\r");
    EXPECT_EQ(LastLines(commandLine, 2), (std::vector<std::string>{"コマンド: *キャンセル*", "コマンド: FILEDIA"}));
    EXPECT_EQ(commandLine.PromptText(), "FILEDIA の新しい値を入力 <1>: ");
}

TEST_F(CadsimCommandLine, EnterAtTheIdlePromptRepeatsTheLastCommand) {
    commandLine.Type("\r");
    EXPECT_TRUE(commandLine.Idle()) << "nothing to repeat yet";
    EXPECT_EQ(LastLine(commandLine), "コマンド:");
    commandLine.Type("CMDECHO\r0\r");
    commandLine.Type("\r");
    EXPECT_EQ(commandLine.PromptText(), "CMDECHO の新しい値を入力 <0>: ");
    commandLine.Type("\r");  // Enter keeps the value
    EXPECT_EQ(Value(commandLine, "CMDECHO"), "0");
    commandLine.Type("'SETVAR\r");
    commandLine.Type("\x03\r");
    EXPECT_EQ(commandLine.PromptText(), "変数名を入力 または [?]: ");
}

TEST_F(CadsimCommandLine, ReadOnlyVariablesPrintTheirValueWithTheMark) {
    commandLine.Type("ACADVER\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLines(commandLine, 2),
              (std::vector<std::string>{"コマンド: ACADVER", "ACADVER = \"24.3s (LMS Tech)\" (読み込み専用)"}));
    commandLine.Type("'SETVAR dwgname\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(commandLine), "DWGNAME = \"Drawing1.dwg\" (読み込み専用)");
}

TEST_F(CadsimCommandLine, BadValuesAreRefusedAndAskedAgain) {
    commandLine.Type("FILEDIA\r2\r");
    EXPECT_EQ(LastLine(commandLine), "0 から 1 までの整数を入力してください。");
    EXPECT_EQ(commandLine.PromptText(), "FILEDIA の新しい値を入力 <1>: ");
    commandLine.Type("x\r-1\r1.5\r");
    EXPECT_EQ(Value(commandLine, "FILEDIA"), "1");
    commandLine.Type("0\r");
    EXPECT_EQ(Value(commandLine, "FILEDIA"), "0");

    for (const char* bad : {"1", "1,,2", "1,2,3,4", "a,b", "1e999,0", "1,2,", ",1"}) {
        commandLine.Type("LASTPOINT\r");
        commandLine.Type(std::string(bad) + "\r");
        EXPECT_FALSE(commandLine.Idle()) << bad;
        EXPECT_EQ(LastLine(commandLine), "点を X,Y または X,Y,Z の形式で入力してください。") << bad;
        commandLine.Type("\x03");
    }
    EXPECT_EQ(Value(commandLine, "LASTPOINT"), "0.0000,0.0000,0.0000");

    const std::pair<const char*, const char*> outOfRange[] = {{"LUNITS 0\r", "1 から 5"},
                                                              {"_LUPREC 9\r", "0 から 8"},
                                                              {"UNITMODE -1\r", "0 から 1"},
                                                              {"OSNAPCOORD 3\r", "0 から 2"}};
    for (const auto& [typed, range] : outOfRange) {
        commandLine.Type(typed);
        EXPECT_EQ(LastLine(commandLine), std::string(range) + " までの整数を入力してください。") << typed;
        commandLine.Type("\x03");
    }
    EXPECT_EQ(Value(commandLine, "LUNITS") + Value(commandLine, "LUPREC") + Value(commandLine, "UNITMODE") +
                  Value(commandLine, "OSNAPCOORD"),
              "2402");
}

TEST_F(CadsimCommandLine, UnknownNamesGiveTheHostsMessages) {
    commandLine.Type("'SETVAR NOSUCHVAR\r");
    EXPECT_TRUE(commandLine.Idle());
    EXPECT_EQ(LastLine(commandLine), "変数名が不明です。SETVAR ? と入力すると変数の一覧が表示されます。");
    commandLine.Type("円弧\r");
    EXPECT_EQ(LastLine(commandLine), "不明なコマンド \"円弧\" です。F1 キーを押すとヘルプが表示されます。");
    // An unknown command is not repeated by Enter.
    commandLine.Type("\r");
    EXPECT_EQ(LastLine(commandLine), "コマンド:");
}

TEST_F(CadsimCommandLine, DoubleByteCharactersStayWhole) {
    // "ア" is 83 41: its second byte is an ASCII letter, which must not be upper-cased or split.
    commandLine.Type("\x83\x41");
    commandLine.Type("\x08");
    EXPECT_EQ(commandLine.PromptText(), "コマンド: ");
    commandLine.Type("a\x83\x41\r");
    EXPECT_EQ(LastLine(commandLine), "不明なコマンド \"a\x83\x41\" です。F1 キーを押すとヘルプが表示されます。");
    EXPECT_EQ(cadsim::UpperAscii("a\x83\x61z"), "A\x83\x61Z");
    // A lone lead byte at the end of a record is kept as typed.
    commandLine.Type("x\x83");
    EXPECT_EQ(commandLine.PromptText(), "コマンド: x\x83");
}

TEST_F(CadsimCommandLine, ControlCharactersAndFloodsDoNotGrowWithoutEnd) {
    commandLine.Type(std::string("\t\n\x01\x1b", 4));
    EXPECT_EQ(commandLine.PromptText(), "コマンド: ");
    commandLine.Type(std::string(100000, 'x'));
    EXPECT_EQ(commandLine.PromptText().size(), std::string("コマンド: ").size() + 1024);
    commandLine.Type("\x03");
    commandLine.Type(std::string(200000, '\r'));
    EXPECT_EQ(commandLine.Lines().size(), cadsim::kHistoryLimit);
    EXPECT_EQ(LastLine(commandLine), "コマンド:");
}

// The history's text is what a copy puts on the clipboard; it is kept as lines come and go.
TEST(CadsimHistory, TextIsEveryLineWithCrLfAsLinesComeAndGo) {
    History history;
    std::deque<std::string> expected;
    const auto joined = [&expected] {
        std::string text;
        for (const std::string& line : expected)
            text += line + "\r\n";
        return text;
    };
    for (int i = 0; i < 400; ++i) {
        const std::string line = std::string(static_cast<std::size_t>(i % 7), 'x') + "行" + std::to_string(i);
        history.push_back(line);
        expected.push_back(line);
        // Lines go faster than they come in the second half, past the point where the text is compacted.
        for (int drop = 0; drop < (i < 200 ? i % 2 : 3) && !expected.empty(); ++drop) {
            history.pop_front();
            expected.pop_front();
        }
        ASSERT_EQ(history.Text(), joined()) << "after line " << i;
        ASSERT_EQ(history.size(), expected.size());
    }
    history.pop_front();  // on an empty history: nothing happens
    EXPECT_EQ(history.Text(), "");
}

cadsim::ParseResult Parse(const std::vector<std::string>& args);

// A history held at a fixed number of lines keeps the newest ones, and its text with them.
TEST(CadsimHistory, KeptAtAFixedSizeHoldsTheNewestLines) {
    History history = cadsim::OpeningHistory(10);
    history.SetKeep(3);
    EXPECT_EQ(history, (History{"カスタマイズ ファイル ACAD をロードしました。", "図面を再作図中.", "コマンド:"}));
    for (int i = 0; i < 50; ++i)
        history.push_back("行" + std::to_string(i));
    EXPECT_EQ(history, (History{"行47", "行48", "行49"}));
    EXPECT_EQ(history.Text(), "行47\r\n行48\r\n行49\r\n");
    EXPECT_EQ(Parse({"--history-keep", "2048"}).options.historyKeep, 2048u);
    EXPECT_FALSE(Parse({"--history-keep", "0"}).ok);
    EXPECT_FALSE(Parse({"--history-keep", std::to_string(cadsim::kHistoryLimit + 1)}).ok);
}

TEST(CadsimOpeningHistory, HasExactlyTheLinesAskedForWithTheOpeningLinesLast) {
    EXPECT_TRUE(cadsim::OpeningHistory(0).empty());
    EXPECT_EQ(cadsim::OpeningHistory(1), (History{"コマンド:"}));
    const History long_ = cadsim::OpeningHistory(5000);
    EXPECT_EQ(long_.size(), 5000u);
    EXPECT_EQ(long_.back(), "コマンド:");
    EXPECT_EQ(long_[4997], "カスタマイズ ファイル ACAD をロードしました。");
    const History longest = cadsim::OpeningHistory(cadsim::kHistoryLimit + 5);
    EXPECT_EQ(longest.size(), cadsim::kHistoryLimit);
    EXPECT_EQ(
        longest.Text().size(), longest.size() * 2 + [&longest] {
            std::size_t bytes = 0;
            for (const std::string& line : longest)
                bytes += line.size();
            return bytes;
        }());
}

TEST(CadsimSystemVariables, PresetsAreCheckedLikeTypedValuesButMaySetReadOnlyOnes) {
    SystemVariables variables;
    EXPECT_TRUE(variables.Preset("acadver", "25.0s (LMS Tech)"));
    EXPECT_EQ(variables.Shown(*variables.Find("ACADVER")), "\"25.0s (LMS Tech)\"");
    EXPECT_FALSE(variables.Assign("ACADVER", "26"));
    EXPECT_FALSE(variables.Preset("ACADVER", "a\"b"));
    EXPECT_FALSE(variables.Preset("NOSUCH", "1"));
    EXPECT_FALSE(variables.Preset("OSMODE", "32768"));
    EXPECT_FALSE(variables.Preset("OSMODE", "9999999999"));
    EXPECT_TRUE(variables.Preset("LASTPOINT", "-0,1e2,3"));
    EXPECT_EQ(variables.Text(*variables.Find("LASTPOINT")), "0.0000,100.0000,3.0000");
}

cadsim::ParseResult Parse(const std::vector<std::string>& args) {
    return cadsim::ParseOptions(args);
}

TEST(CadsimOptions, InputModeLogHistoryAndVariables) {
    const cadsim::ParseResult parsed =
        Parse({"--input", "after", "--input-delay", "250", "--log", "x.log", "--log-busy", "--history-lines", "5000",
               "--var", "LASTPOINT=1,2", "--var", "ACADVER=25.0s (LMS Tech)"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.input, cadsim::InputMode::After);
    EXPECT_EQ(parsed.options.inputDelayMs, 250u);
    EXPECT_EQ(parsed.options.logFile, "x.log");
    EXPECT_TRUE(parsed.options.logBusy);
    EXPECT_FALSE(Parse({"--log", "x.log"}).options.logBusy);
    EXPECT_TRUE(parsed.options.hasHistoryLines);
    EXPECT_EQ(parsed.options.historyLines, 5000u);
    ASSERT_EQ(parsed.options.variables.size(), 2u);
    EXPECT_EQ(parsed.options.variables[1].second, "25.0s (LMS Tech)");
    EXPECT_EQ(Parse({}).options.input, cadsim::InputMode::Inside);
}

TEST(CadsimOptions, DrawingAndUserScriptFiles) {
    const cadsim::ParseResult parsed = Parse({"--drawing", "samples\\island.txt", "--user", "steps.txt"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.drawingFile, "samples\\island.txt");
    EXPECT_EQ(parsed.options.userFile, "steps.txt");
    EXPECT_TRUE(Parse({}).options.drawingFile.empty());
    EXPECT_TRUE(Parse({}).options.userFile.empty());
    EXPECT_EQ(Parse({"--drawing", "a", "--drawing", "b"}).error, "option '--drawing' given twice");
    EXPECT_EQ(Parse({"--user", ""}).error, "option '--user' needs a file name");
    EXPECT_NE(std::string(cadsim::Usage()).find("[--drawing FILE] [--user FILE]"), std::string::npos);
}

TEST(CadsimOptions, ReportFaultsByName) {
    const std::pair<const char*, cadsim::ReportFault> faults[] = {
        {"missing", cadsim::ReportFault::Missing}, {"locked", cadsim::ReportFault::Locked},
        {"folder", cadsim::ReportFault::Folder},   {"garbage", cadsim::ReportFault::Garbage},
        {"huge", cadsim::ReportFault::Huge},
    };
    for (const auto& [name, fault] : faults) {
        const cadsim::ParseResult parsed = Parse({"--report-fault", name});
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(parsed.options.reportFault, fault) << name;
    }
    EXPECT_EQ(Parse({}).options.reportFault, cadsim::ReportFault::None);
}

TEST(CadsimOptions, BadInputOptionsAreRefusedWithTheirName) {
    struct Bad {
        std::vector<std::string> args;
        const char* named;
    };
    for (const Bad& bad : std::vector<Bad>{
             {{"--input", "later"}, "later"},
             {{"--input-delay", "100"}, "--input after"},
             {{"--input", "after", "--input-delay", "10001"}, "10001"},
             {{"--history-lines", "100001"}, "100001"},
             {{"--history-lines", "-1"}, "-1"},
             {{"--log", ""}, "--log"},
             {{"--log-busy"}, "--log"},
             {{"--var", "LASTPOINT"}, "NAME=VALUE"},
             {{"--var", "=1"}, "NAME=VALUE"},
             {{"--var", "NOSUCH=1"}, "NOSUCH"},
             {{"--var", "FILEDIA=2"}, "FILEDIA"},
             {{"--var", "FILEDIA=1", "--var", "filedia=0"}, "filedia"},
             {{"--report-fault", "slow"}, "slow"},
             {{"--line-delay", "20"}, "--input after"},
             {{"--input", "after", "--line-delay", "20", "--input-delay", "20"}, "--line-delay"},
             {{"--undo-control", "some"}, "some"},
             {{"--freeze-waits", "0"}, "--freeze-waits"},
             {{"--freeze-at", "点を指定"}, "needs --freeze-waits"},
             {{"--var", "UNDOCTL=5"}, "UNDOCTL is read-only"},
             {{"--var", "LUNITS=6"}, "LUNITS"},
             {{"--var", "OSNAPCOORD=3"}, "OSNAPCOORD"},
             {{"--user-group", "--undo-control", "one"}, "--user-group needs --undo-control all"},
             {{"--typed-as-script", "yes"}, "unknown option 'yes'"},
         }) {
        const cadsim::ParseResult parsed = Parse(bad.args);
        EXPECT_FALSE(parsed.ok) << bad.named;
        EXPECT_NE(parsed.error.find(bad.named), std::string::npos) << parsed.error;
    }
}

// A host late at every line stalls after the leading Ctrl+C keys and after every Enter; a space
// alone does not end a line.
TEST(CadsimInput, RecordsSplitIntoTheLinesALateHostStallsBetween) {
    const struct {
        std::string record;
        std::vector<std::string> lines;
    } cases[] = {
        {"\x03\x03"
         "FILEDIA 0\r",
         {"\x03\x03", "FILEDIA 0\r"}},
        {"\x03_massprop LAST \rY\rC:\\a b\\x\r", {"\x03", "_massprop LAST \r", "Y\r", "C:\\a b\\x\r"}},
        {"\x03ID ", {"\x03", "ID "}},
        {"Y\r", {"Y\r"}},
        {"\x03", {"\x03"}},
        {"", {}},
        {"\r\r", {"\r", "\r"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cadsim::RecordLines(c.record), c.lines) << c.record;
    const cadsim::ParseResult parsed = Parse({"--input", "after", "--line-delay", "50"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.lineDelayMs, 50u);
}

}  // namespace
