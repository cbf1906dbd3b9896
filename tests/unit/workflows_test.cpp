#include "workflows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <deque>
#include <map>
#include <variant>

#include "cadlink/cad_link.h"
#include "framework/exceptions.h"
#include "platform/abort.h"
#include "cad_numbers.h"
#include "cadlink/text_lines.h"
#include "simulated_desktop.h"
#include "platform/text_trim.h"

using app::IsCadNumber;
using platform::WindowHandle;
using platform::sim::ReceivedMessage;
using platform::sim::SimulatedDesktop;

namespace {

const char kAfxFrame[] = "Afx:0000000140000000:8:0000000000010003:0000000000000000:0000000000110597";
const char kAfxText[] = "Afx:0000000140000000:b:0000000000010003:0000000000000006:0000000000000000";
const char kIdle[] = "コマンド: ";
const char kBegin[] = "\x03_.UNDO ";  // then "_BEgin\r" where the CAD offers it
const char kEnd[] = "\x03_.UNDO _End\r";
const char kEndBack[] = "\x03_.UNDO _End\r_.UNDO 1\r";  // a group without a circle leaves no undo step

struct Box {
    double minX, minY, maxX, maxY;
    bool Holds(double x, double y) const { return x > minX && x < maxX && y > minY && y < maxY; }
};

std::string Fixed(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

std::string Report(const std::string& x,
                   const std::string& y,
                   const Box& box = {0, 0, 60, 70},
                   const std::string& area = "1234.5678") {
    return "----------------   リージョン   ----------------\r\n"
           "面積:                    " +
           area +
           "\r\n"
           "周囲:                    140.0000\r\n"
           "境界ボックス:         X: " +
           Fixed(box.minX) + "  --  " + Fixed(box.maxX) +
           "\r\n"
           "                      Y: " +
           Fixed(box.minY) + "  --  " + Fixed(box.maxY) +
           "\r\n"
           "図心                  X: " +
           x +
           "\r\n"
           "                      Y: " +
           y + "\r\n";
}

std::string A(const std::u16string& text) {
    return SimulatedDesktop().WideToAnsi(text);
}
std::u16string W(const std::string& text) {
    return SimulatedDesktop().AnsiToWide(text);
}

// The main window and the files, as the workflows see them.
struct FakeHost : app::WorkflowHost {
    std::string size = "50";
    bool continuous = false;
    bool minimized = false;
    int minimizeCalls = 0;
    bool stop = false;  // the user closes the window at the next look
    std::vector<std::string> messages, areas, perimeters, hints;
    std::map<std::u16string, std::pair<std::string, std::uint64_t>> files;
    std::map<std::u16string, std::u16string> shortForms;
    std::uint64_t nextVersion = 1;
    std::function<void()> onPoll;      // the user's side, acting while the workflow waits
    std::function<void()> beforePoll;  // a host that handles typed input late does it here
    int polls = 0;
    std::vector<std::string> rows;  // the results rows, split into their fields
    void Tell(const app::RunEvent& event) override {
        std::visit([this](const auto& told) { On(told); }, event);
    }
    void On(const app::ValuesMeasured& values) {
        if (values.area)
            areas.push_back(A(*values.area));
        if (values.perimeter)
            perimeters.push_back(A(*values.perimeter));
    }
    void On(const app::RowAdded& row) { rows.push_back(platform::sim::SimulatedDesktop().WideToAnsi(row.row)); }
    void On(const app::HintShown& hint) { hints.push_back(A(hint.text)); }
    void On(const app::NoCadProgram&) { ++cadMissing; }
    void On(const app::WindowMinimized& window) { SetMinimized(window.minimized); }
    void On(const app::MessageShown& message) { messages.push_back(A(message.text)); }
    std::vector<std::string> RowFields(std::size_t index) const {
        std::vector<std::string> fields;
        std::string row = rows.at(index).substr(0, rows.at(index).size() - 2);
        for (std::size_t comma; (comma = row.find(',')) != std::string::npos; row.erase(0, comma + 1))
            fields.push_back(row.substr(0, comma));
        fields.push_back(row);
        return fields;
    }
    std::uint64_t now = 0;  // virtual milliseconds: only the waits move the clock
    unsigned longestWaitMs = 0;

    void WriteFile(const std::u16string& path, const std::string& content) { files[path] = {content, nextVersion++}; }

    std::u16string SizeText() override { return W(size); }
    bool ContinuousChecked() override { return continuous; }
    void SetMinimized(bool value) {
        minimized = value;
        if (value) {
            ++minimizeCalls;
            minimizedAt = now;
        }
    }
    std::uint64_t NowMs() override { return now; }
    app::LocalTime Now() override { return {2026, 12, 8, 10, 15, 0}; }
    unsigned doubleClickMs = 500;
    std::function<bool(std::uint64_t)> buttonsDownAt;  // the user's hand on the mouse, by time
    std::function<platform::Point(std::uint64_t)> pointerAt;
    app::PointerNow Pointer() override {
        return {buttonsDownAt && buttonsDownAt(now), pointerAt ? pointerAt(now) : platform::Point{}};
    }
    app::DoubleClickLimits DoubleClick() const { return {doubleClickMs, 4, 4}; }
    std::uint64_t minimizedAt = 0;
    int cadMissing = 0;
    std::u16string reportRefused;  // the file error of a report that cannot be read
    app::Checked<std::optional<std::string>> ReadReportFile(const std::u16string& path) override {
        if (!reportRefused.empty())
            return app::Checked<std::optional<std::string>>::Refused(reportRefused);
        auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second.first);
    }
    std::optional<std::u16string> ShortPathOf(const std::u16string& path) override {
        auto it = shortForms.find(path);
        return it == shortForms.end() ? std::nullopt : std::optional<std::u16string>(it->second);
    }
    std::optional<std::uint64_t> FileVersion(const std::u16string& path) override {
        auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional<std::uint64_t>(it->second.second);
    }
    char16_t decimal = u'.';
};

// A CAD program that answers the commands the workflows type, with a user who picks, selects
// or presses Esc when the test says so.
class WorkflowTest : public ::testing::Test {
protected:
    SimulatedDesktop desktop;
    cadlink::CadLink link{desktop, desktop, desktop};
    FakeHost host;
    app::RunPaths paths{u"C:\\work\\Halvetra\\", "261207101500"};
    app::CentroidWorkflows workflows{link, desktop, host, paths};
    WindowHandle frame = 0, historyPane = 0;

    std::string prompt = kIdle;
    std::vector<std::string> history{"コマンド:"};
    std::map<std::string, std::string> variables{{"LASTPOINT", "0.0000,0.0000,0.0000"},
                                                 {"FILEDIA", "1"},
                                                 {"HPBOUND", "1"}};
    // The drawing: closed areas that -BOUNDARY finds, and the objects in creation order.
    enum class Kind { Polyline, Region, Circle };
    struct Object {
        Kind kind;
        Box box;
    };
    std::vector<Box> areas{{0, 0, 60, 70}};
    std::vector<Object> objects;
    std::vector<std::string> typed;
    std::vector<std::string> circles;
    std::string pendingReport;  // the report the next massprop writes, as "x,y"
    bool ignoreMassprop = false;
    std::u16string reportTarget;
    std::vector<std::u16string> records;  // what the frame received, as it received it
    bool undoAll = true;                  // the user's undo control: All, or None (no Begin offered)
    bool groupOpen = false;
    int groupsBegun = 0;
    int groupsTakenBack = 0;

    void SetUp() override {
        const WindowHandle text = desktop.AddTopLevel("AutoCAD テキスト ウィンドウ", kAfxText, 7);
        frame = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, 7);
        historyPane = desktop.AddChild(frame, "MountTam", "H");
        const WindowHandle promptWindow = desktop.AddChild(frame, "Headlands", "P");
        desktop.SetTextSource(promptWindow, [this] { return prompt; });
        desktop.SetCommandHandler(text, [this](std::uintptr_t) {
            std::string all;
            for (const std::string& line : history)
                all += line + "\r\n";
            desktop.OpenClipboard();
            desktop.EmptyClipboard();
            desktop.SetClipboardData(platform::kCfText, all + '\0');
            desktop.CloseClipboard();
        });
        desktop.SetCopyDataHandler(frame, [this](const ReceivedMessage& m) { Type(Decode(m)); });
        pendingReport = "30.0000,35.0000";
    }

    std::string Decode(const ReceivedMessage& m) {
        std::u16string wide;
        if (!desktop.IsWindowUnicode(frame))
            wide = W(m.payload.c_str());
        for (std::size_t i = 0; desktop.IsWindowUnicode(frame) && i + 1 < m.payload.size(); i += 2)
            wide += static_cast<char16_t>(static_cast<unsigned char>(m.payload[i]) |
                                          (static_cast<unsigned char>(m.payload[i + 1]) << 8));
        records.push_back(wide.c_str());
        return desktop.WideToAnsi(records.back());
    }
    // An input as the frame received it: a late host may have typed it in parts.
    std::u16string Received(const std::string& input) const {
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (A(*it) == input)
                return *it;
        return W(input);
    }
    // The file a name the CAD program was given stands for: a short form is the folder it names.
    std::u16string Resolved(std::u16string name) const {
        if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"')
            name = name.substr(1, name.size() - 2);
        for (const auto& [folder, brief] : host.shortForms)
            if (name.rfind(brief, 0) == 0)
                return folder + name.substr(brief.size());
        return name;
    }

    Box measured{0, 0, 60, 70};  // the box of what the next report measures

    std::string pendingArea = "1234.5678";
    std::string unrecognisedReport;  // when set, the host writes this instead of its usual layout

    void WriteReport() {
        const std::size_t comma = pendingReport.find(',');
        host.WriteFile(reportTarget, !unrecognisedReport.empty()
                                         ? unrecognisedReport
                                         : Report(pendingReport.substr(0, comma), pendingReport.substr(comma + 1),
                                                  measured, pendingArea));
        prompt = kIdle;
    }

    void Boundary(const std::string& at) {
        const double x = std::stod(at), y = std::stod(at.substr(at.find(',') + 1));
        for (const Box& area : areas)
            if (area.Holds(x, y)) {
                objects.push_back({variables["HPBOUND"] == "0" ? Kind::Region : Kind::Polyline, area});
                return;
            }
    }

    // A host that takes typed input only later: records wait until the next poll.
    bool late = false;
    std::string lateFrom;  // the host turns late from the record that begins with this on
    std::vector<std::string> pending;

    std::vector<std::uint64_t> typedAt;

    void Type(const std::string& text) {
        typedAt.push_back(host.now);
        if (lateness != Lateness::None) {
            typed.push_back(text);
            Queue(text);
            return;
        }
        if (!lateFrom.empty() && text.rfind(lateFrom, 0) == 0)
            late = true;
        if (late) {
            typed.push_back(text);
            pending.push_back(text);
            return;
        }
        typed.push_back(text);
        Handle(text);
    }

    // A host that takes its input lateByMs after it was typed.
    void MakeLate(std::uint64_t lateByMs) {
        late = true;
        host.beforePoll = [this, lateByMs, since = std::uint64_t{0}]() mutable {
            if (pending.empty())
                since = host.now;
            else if (host.now - since >= lateByMs)
                HandleLate();
        };
    }

    void HandleLate() {
        const std::vector<std::string> inputs = std::move(pending);
        pending.clear();
        for (const std::string& input : inputs)
            Handle(input);
        while (!parts.empty()) {
            Handle(parts.front().text);
            parts.pop_front();
        }
    }

    // A host busy for a while before each record, or before each part of one: its leading Ctrl+C
    // first (which leaves it idle), then the rest.
    enum class Lateness { None, PerRecord, PerLine };
    struct Part {
        std::string text;
        std::uint64_t due;
    };
    std::deque<Part> parts;
    Lateness lateness = Lateness::None;
    std::uint64_t partDelayMs = 0;

    void MakeLatePer(Lateness how, std::uint64_t delayMs) {
        lateness = how;
        partDelayMs = delayMs;
        host.beforePoll = [this] {
            while (!parts.empty() && parts.front().due <= host.now) {
                const std::string text = parts.front().text;
                parts.pop_front();
                Handle(text);
            }
        };
    }

    void Queue(const std::string& text) {
        std::size_t cancels = 0;
        while (lateness == Lateness::PerLine && cancels < text.size() && text[cancels] == '\x03')
            ++cancels;
        std::uint64_t due = std::max(host.now, parts.empty() ? 0 : parts.back().due);
        for (const std::string& part : {text.substr(0, cancels), text.substr(cancels)}) {
            if (part.empty())
                continue;
            due += partDelayMs;
            parts.push_back({part, due});
        }
    }

    // A blank ends an input unless it stands between double quotes: a quoted name arrives whole.
    static std::string Unquoted(const std::string& name) {
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            return name.substr(1, name.size() - 2);
        EXPECT_EQ(name.find(' '), std::string::npos) << "a blank would end the input: " << name;
        return name;
    }

    void Handle(const std::string& text) {
        std::string input = text;
        while (!input.empty() && input[0] == '\x03') {
            input.erase(0, 1);
            history.push_back(std::string(platform::Trim(prompt)) + " *キャンセル*");
            prompt = kIdle;
        }
        if (input == "_.UNDO ") {
            prompt =
                undoAll
                    ? "元に戻す操作の数を入力 または [自動(A)/コントロール(C)/開始(BE)/終了(E)/マーク(M)/後退(B)] <1>: "
                    : "UNDO コントロールのオプションを入力 [すべて(A)/なし(N)/1 つ(O)/結合(C)/画層(L)] <すべて>: ";
        } else if (input == "_BEgin\r" && prompt.find("(BE)") != std::string::npos) {
            groupOpen = true;
            ++groupsBegun;
            prompt = kIdle;
        } else if (input == "_.UNDO _End\r" || input == "_.UNDO _End\r_.UNDO 1\r") {
            groupsTakenBack += groupOpen && input.size() > 12 ? 1 : 0;
            groupOpen = false;
        } else if (input == "ID ") {
            prompt = "点を指定: ";
        } else if (input.rfind("'SETVAR ", 0) == 0) {
            const std::string name = input.substr(8, input.size() - 9);
            prompt = name + " の新しい値を入力 <" + variables[name] + ">: ";
        } else if (input.rfind("FILEDIA ", 0) == 0) {
            variables["FILEDIA"] = input.substr(8, 1);
        } else if (input.rfind("HPBOUND ", 0) == 0) {
            variables["HPBOUND"] = input.substr(8, input.size() - 9);
        } else if (input.rfind("-BOUNDARY ", 0) == 0) {
            Boundary(input.substr(10));
        } else if (input == "_region L \r") {
            // The last closed object becomes a region; the host removes its source.
            if (!objects.empty() && objects.back().kind != Kind::Region)
                objects.back().kind = Kind::Region;
        } else if (input.rfind("CIRCLE ", 0) == 0) {
            circles.push_back(input.substr(7, input.size() - 8));
            const double x = std::stod(input.substr(7)), y = std::stod(input.substr(input.find(',') + 1));
            objects.push_back({Kind::Circle, {x - 50, y - 50, x + 50, y + 50}});
        } else if (input.rfind("_massprop LAST \rY\r", 0) == 0) {
            const std::u16string record = Received(input);
            Unquoted(input.substr(18, input.size() - 19));
            reportTarget = Resolved(record.substr(18, record.size() - 19)) + u".mpr";
            if (ignoreMassprop || objects.empty() || objects.back().kind != Kind::Region)
                return;
            measured = objects.back().box;
            if (host.files.count(reportTarget))
                prompt = "ファイルは既に存在します。置き換えますか? <N>: ";
            else
                WriteReport();
        } else if (input == "_massprop\r") {
            history.push_back("コマンド: _massprop");
            prompt = "オブジェクトを選択: ";
        } else if (input == "Y\r" && prompt.find("置き換えますか") != std::string::npos) {
            WriteReport();
        } else if (input == "Y\r" && prompt.find("書き出しますか") != std::string::npos) {
            prompt = "ファイル名を入力 <Drawing1.mpr>: ";
        } else if (prompt.rfind("ファイル名を入力", 0) == 0 && !input.empty()) {
            const std::u16string record = Received(input);
            Unquoted(input.substr(0, input.size() - 1));
            reportTarget = Resolved(record.substr(0, record.size() - 1));
            if (host.files.count(reportTarget))
                prompt = "ファイルは既に存在します。置き換えますか? <N>: ";
            else
                WriteReport();
        }
    }

    // The user's side, called at each poll.
    void PickAt(const std::string& x, const std::string& y) {
        host.onPoll = [this, x, y] {
            if (prompt != "点を指定: ")
                return;
            history.push_back("点を指定:  X = " + x + "     Y = " + y + "     Z = 0.0000");
            variables["LASTPOINT"] = x + "," + y + ",0.0000";
            prompt = kIdle;
        };
    }
    void PressEscAtPick() {
        host.onPoll = [this] {
            if (prompt == "点を指定: ")
                Type("\x03");
        };
    }
    // Selects a region at every selection prompt; presses Esc at the selection prompt number escAt.
    void SelectRegions(int escAt = -1) {
        host.onPoll = [this, escAt, passes = 0]() mutable {
            if (prompt != "オブジェクトを選択: ")
                return;
            if (++passes == escAt) {
                Type("\x03");
                return;
            }
            pendingReport = std::to_string(passes) + "0.0000," + std::to_string(passes) + "5.0000";
            prompt = "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ";
        };
    }

    std::vector<std::string> Expected(std::initializer_list<std::string> texts) { return texts; }

    // A run as the window's message loop drives it: each wake-up moves the clock, the host and
    // the user act, and a Close asked for meanwhile stops the run.
    app::RunOutcome Run(app::RunMode mode, const app::RunTrigger& trigger = {}) {
        return Run(workflows, mode, trigger);
    }
    app::RunOutcome Run(app::CentroidWorkflows& workflows, app::RunMode mode, const app::RunTrigger& trigger = {}) {
        if (!workflows.Start(Request(mode, trigger)))
            return workflows.Outcome();
        while (const std::optional<app::Wake> wake = workflows.Step()) {
            ++host.polls;
            host.now += wake->afterMs;
            host.longestWaitMs = std::max(host.longestWaitMs, wake->afterMs);
            if (host.beforePoll)
                host.beforePoll();
            if (host.onPoll)
                host.onPoll();
            if (host.stop)
                workflows.Stop(app::RunEnd::Close);
        }
        return workflows.Outcome();
    }
    // The request as the window makes it at Execute.
    app::RunRequest Request(app::RunMode mode, const app::RunTrigger& trigger = {}) const {
        return {mode, W(host.size), host.continuous, trigger, host.DoubleClick(), host.decimal};
    }
    app::RunOutcome FaceCentre(const app::RunTrigger& trigger = {}) { return Run(app::RunMode::FaceCentre, trigger); }
    app::RunOutcome Region(const app::RunTrigger& trigger = {}) { return Run(app::RunMode::Region, trigger); }
};

TEST_F(WorkflowTest, FaceCentreTypesTheCommandsInOrderAndDrawsTheCircle) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    EXPECT_EQ(typed,
              Expected({kBegin, "_BEgin\r", "\x03ID ", "'SETVAR LASTPOINT\r", "\x03", "'SETVAR HPBOUND\r", "\x03",
                        "\x03"
                        "HPBOUND 0\r",
                        "'SETVAR FILEDIA\r", "\x03",
                        "\x03"
                        "FILEDIA 0\r",
                        "\x03-BOUNDARY 10.0000,20.0000 \r", "\x03_massprop LAST \rY\r" + A(paths.ReportStem()) + "\r",
                        "\x03"
                        "CIRCLE 30.0000,35.0000 50\r",
                        "\x03"
                        "FILEDIA 1\r",
                        "\x03"
                        "HPBOUND 1\r",
                        kEnd}));
    EXPECT_EQ(variables["HPBOUND"], "1");
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
    EXPECT_EQ(host.areas, Expected({"", "1234.5678"}));
    EXPECT_EQ(host.perimeters, Expected({"", "140.0000"}));
    EXPECT_EQ(host.hints, Expected({"計算したい面の内側をクリック"}));
    EXPECT_EQ(host.minimizeCalls, 1);
    EXPECT_FALSE(host.minimized);
    EXPECT_EQ(variables["FILEDIA"], "1");
}

// A report that is there but cannot be read ends the run with its file error, and what the run
// changed is put back all the same.
TEST_F(WorkflowTest, UnreadableReportEndsTheRunWithTheFileError) {
    host.reportRefused = u"I/O エラー (32)";
    PickAt("10.0000", "20.0000");
    const app::RunOutcome outcome = FaceCentre();
    EXPECT_EQ(outcome.end, app::RunEnd::Error);
    EXPECT_EQ(outcome.error, u"I/O エラー (32)");
    EXPECT_TRUE(circles.empty());
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_EQ(variables["HPBOUND"], "1");
}

TEST_F(WorkflowTest, SecondFaceCentreRunAnswersTheReplaceQuestionAndUsesTheNewReport) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    pendingReport = "31.5000,36.5000";
    typed.clear();
    FaceCentre();
    ASSERT_GE(typed.size(), 3u);
    EXPECT_EQ(typed[typed.size() - 5], "Y\r");
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50", "31.5000,36.5000 50"}));
}

TEST_F(WorkflowTest, CancelledPickSendsNothingMore) {
    PressEscAtPick();
    FaceCentre();
    EXPECT_EQ(typed, Expected({kBegin, "_BEgin\r", "\x03ID ", "\x03", kEndBack}));  // the fourth is the user's Esc
    EXPECT_TRUE(circles.empty());
    EXPECT_FALSE(host.minimized);
    EXPECT_EQ(variables["FILEDIA"], "1");
}

TEST_F(WorkflowTest, NothingHappensWithoutCadOrPromptOrSize) {
    host.size = "";
    FaceCentre();
    Region();
    EXPECT_EQ(host.messages, Expected({"円の大きさが入力されていません", "円の大きさが入力されていません"}));
    host.size = "50";
    prompt = "";
    FaceCentre();
    EXPECT_TRUE(typed.empty());
    desktop.Destroy(frame);
    FaceCentre();
    Region();
    EXPECT_TRUE(typed.empty());
    EXPECT_EQ(host.minimizeCalls, 0);
    EXPECT_EQ(host.cadMissing, 2);  // not for the missing prompt: a CAD program is there
}

TEST_F(WorkflowTest, FaceCentreSizeIsTrimmedAndBlanksAloneAreRefused) {
    PickAt("1", "2");
    host.size = "  30 ";
    FaceCentre();
    host.size = "   ";
    EXPECT_EQ(FaceCentre().end, app::RunEnd::Error);
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 30"}));
}

TEST_F(WorkflowTest, PointWithBlanksAfterTheCommasGivesTheSameItems) {
    std::u16string point = u" 12.5, 40, 0 ";
    EXPECT_EQ(app::SplitFirst(point), u"12.5");
    EXPECT_EQ(app::SplitFirst(point), u"40");
    EXPECT_EQ(app::SplitFirst(point), u"0");
    EXPECT_EQ(point, u"");
}

TEST_F(WorkflowTest, UnusablePointStopsTheRunBeforeTheDrawingIsTouched) {
    for (const char* value : {"", "12.5", ",5,0", "1 2,3,0"}) {
        host.onPoll = [this, value] {
            if (prompt != "点を指定: ")
                return;
            history.push_back("点を指定:  X = 1  Y = 2");
            variables["LASTPOINT"] = value;
            prompt = kIdle;
        };
        typed.clear();
        FaceCentre();
        for (const std::string& t : typed)
            EXPECT_EQ(t.find("_region"), std::string::npos) << value;
        EXPECT_EQ(variables["FILEDIA"], "1") << value;
        EXPECT_FALSE(host.minimized);
    }
}

TEST_F(WorkflowTest, ReportThisRunDidNotWriteGivesNoCircle) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    ignoreMassprop = true;  // the host does not write this time: the old report is still there
    FaceCentre();
    EXPECT_EQ(circles.size(), 1u);
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_FALSE(host.minimized);
}

TEST_F(WorkflowTest, ReportValuesThatCouldRunAsCommandsAreNotTyped) {
    PickAt("10.0000", "20.0000");
    pendingReport = "30.0 ERASE ALL,35.0";
    FaceCentre();
    pendingReport = "30.0,3\r5";
    FaceCentre();
    EXPECT_TRUE(circles.empty());
    EXPECT_EQ(variables["FILEDIA"], "1");
}

TEST_F(WorkflowTest, FailedHistoryReadEndsTheRunWithTheWindowRestored) {
    host.onPoll = [this] {
        if (prompt == "点を指定: ")
            desktop.SetClipboardHeldElsewhere(true);
        prompt = kIdle;
    };
    EXPECT_EQ(FaceCentre().end, app::RunEnd::Aborted);
    EXPECT_FALSE(host.minimized);
    EXPECT_FALSE(workflows.Running());
}

TEST_F(WorkflowTest, CloseDuringAWaitEndsTheRunAndSwitchesFileDialogsBackOn) {
    // At the pick: no setting was changed, so none is put back; the group's end cancels the pick
    // command the run typed, so that the user's next click in the drawing is no pick.
    host.onPoll = [this] { host.stop = prompt == "点を指定: "; };
    EXPECT_EQ(FaceCentre().end, app::RunEnd::Close);
    EXPECT_EQ(typed, Expected({kBegin, "_BEgin\r", "\x03ID ", kEndBack}));
    EXPECT_EQ(prompt, kIdle);
    EXPECT_FALSE(host.minimized);
    EXPECT_FALSE(workflows.Running());
    host.stop = false;
    host.onPoll = [this] {
        if (prompt == "オブジェクトを選択: ")
            host.stop = true;
    };
    EXPECT_EQ(Region().end, app::RunEnd::Close);
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_FALSE(host.minimized);
    EXPECT_EQ(typed.back(), kEndBack);
    typed.pop_back();
    EXPECT_EQ(typed.back(),
              "\x03"
              "FILEDIA 1\r");
}

TEST_F(WorkflowTest, ExecuteDuringARunDoesNothing) {
    host.onPoll = [this] {
        const std::size_t before = typed.size();
        EXPECT_TRUE(workflows.Start(Request(app::RunMode::FaceCentre)));
        EXPECT_TRUE(workflows.Start(Request(app::RunMode::Region)));
        EXPECT_EQ(typed.size(), before);
        if (prompt == "点を指定: ")
            Type("\x03");
    };
    FaceCentre();
    EXPECT_FALSE(workflows.Running());
}

TEST_F(WorkflowTest, RegionOnceAnswersTheQuestionsAndDrawsOneCircle) {
    SelectRegions();
    host.size = "30 ";
    Region();
    EXPECT_EQ(typed, Expected({kBegin, "_BEgin\r", "'SETVAR FILEDIA\r", "\x03",
                               "\x03\x03"
                               "FILEDIA 0\r",
                               "\x03_massprop\r", "Y\r", A(paths.ReportPath()) + "\r",
                               "\x03"
                               "FILEDIA 1\r",
                               "\x03"
                               "CIRCLE 10.0000,15.0000 30\r",
                               kEnd}));
    EXPECT_EQ(host.areas, Expected({"", "1234.57"}));
    EXPECT_EQ(host.perimeters, Expected({"", "140.00"}));
    EXPECT_EQ(host.hints, Expected({"基データを選択"}));
    EXPECT_FALSE(host.minimized);
}

TEST_F(WorkflowTest, RegionPassAnswersAPromptHostWithinOnePoll) {
    SelectRegions();
    Region();
    Region();  // the second pass meets the replace question too
    EXPECT_EQ(circles.size(), 2u);
    EXPECT_EQ(host.polls, 2);
}

TEST_F(WorkflowTest, HostThatTakesInputLateGetsEachAnswerOnce) {
    SelectRegions();
    Region();
    late = true;
    host.beforePoll = [this] { HandleLate(); };
    typed.clear();
    Region();
    HandleLate();  // what the host still had to do when the run ended
    // The late host shows no value when it is asked: the setting goes back to the CAD's default.
    EXPECT_EQ(typed, Expected({kBegin, "_BEgin\r", "'SETVAR FILEDIA\r",
                               "\x03\x03"
                               "FILEDIA 0\r",
                               "\x03_massprop\r", "Y\r", A(paths.ReportPath()) + "\r", "Y\r",
                               "\x03"
                               "FILEDIA 1\r",
                               "\x03"
                               "CIRCLE 20.0000,25.0000 50\r",
                               kEnd}));
    EXPECT_EQ(circles.size(), 2u);
    EXPECT_EQ(variables["FILEDIA"], "1");
}

TEST_F(WorkflowTest, FaceCentreRunAgainstALateHostReadsOnlyTheReportItAskedFor) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    pendingReport = "31.5000,36.5000";
    // From the replace question on, the host takes its input a poll late.
    auto pick = host.onPoll;
    host.onPoll = [this, pick] {
        pick();
        late = late || prompt.find("置き換えますか") != std::string::npos;
    };
    host.beforePoll = [this] { HandleLate(); };
    FaceCentre();
    HandleLate();
    // The answer to the replace question is handled a poll later; the circle is at the new centroid.
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50", "31.5000,36.5000 50"}));
}

TEST_F(WorkflowTest, ContinuousRegionRunGoesOnUntilEsc) {
    SelectRegions(3);
    host.continuous = true;
    Region();
    EXPECT_EQ(circles, Expected({"10.0000,15.0000 50", "20.0000,25.0000 50"}));
    // Each pass is a group of its own, ended after its circle.
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "_BEgin\r"), 3);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), kEnd), 2);  // the last pass, ended by Esc, is taken back
    EXPECT_EQ(typed[typed.size() - 2],
              "\x03"
              "FILEDIA 1\r");
    EXPECT_EQ(typed.back(), kEndBack);
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_FALSE(host.minimized);
    EXPECT_EQ(host.hints.size(), 3u);
}

// Every history read copies the CAD program's whole history through the clipboard: a pass that
// read it twice cost more and more as a long session's history grew. The first pass takes its
// baseline before it starts; each later one starts from what the pass before it read.
TEST_F(WorkflowTest, ContinuousRegionRunReadsTheHistoryOncePerPassAfterTheFirst) {
    SelectRegions(6);
    host.continuous = true;
    desktop.ClearMessages();
    Region();
    ASSERT_EQ(circles.size(), 5u);
    int copies = 0;
    for (const ReceivedMessage& m : desktop.Messages())
        if (m.message == platform::kWmCommand && m.wParam == cadlink::kCopyHistoryCommand)
            ++copies;
    EXPECT_EQ(copies, 6 + 1);  // six passes, the last one ended by Esc
}

// A user quicker than the first look cancels the third selection inside the send that asked for
// it: the history, looked at against the line the pass before read, shows the cancel, and the run
// ends without waiting for a late host.
TEST_F(WorkflowTest, SelectionCancelledBeforeTheFirstLookOfALaterPassEndsTheRunAtOnce) {
    SelectRegions();
    host.continuous = true;
    int selections = 0;
    desktop.SetCopyDataHandler(frame, [this, &selections](const ReceivedMessage& m) {
        const std::string text = Decode(m);
        Type(text);
        if (text == "\x03_massprop\r" && ++selections == 3)
            Type("\x03");
    });
    Region();
    EXPECT_EQ(circles, Expected({"10.0000,15.0000 50", "20.0000,25.0000 50"}));
    EXPECT_LT(host.now, app::kLateHostMs);
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_FALSE(workflows.Running());
}

TEST_F(WorkflowTest, ContinuousRunEndsWhenTheBoxIsUncheckedOrNoCentroidComes) {
    SelectRegions();
    host.continuous = true;
    auto select = host.onPoll;
    host.onPoll = [this, select] {
        select();
        if (circles.size() == 1)
            host.continuous = false;
    };
    Region();
    EXPECT_EQ(circles.size(), 2u);  // the pass that was running when the box was unchecked still ends

    circles.clear();
    host.continuous = true;
    SelectRegions();
    pendingReport = ",";
    host.onPoll = [this] {
        if (prompt == "オブジェクトを選択: ")
            prompt = "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ";
    };
    Region();
    EXPECT_TRUE(circles.empty());
}

TEST_F(WorkflowTest, RegionSizeMustBeANumber) {
    host.size = "abc";
    const app::RunOutcome outcome = Region();
    EXPECT_EQ(outcome.end, app::RunEnd::Error);
    EXPECT_EQ(A(outcome.error), "'abc' は浮動小数点数ではありません");
    EXPECT_TRUE(typed.empty());
    EXPECT_EQ(host.minimizeCalls, 0);
    host.size = std::string(300, '9');  // a number, but far beyond what the CAD program takes
    EXPECT_EQ(Region().end, app::RunEnd::Error);
    EXPECT_TRUE(typed.empty());
}

// A pick outside every closed area after a first run, with the first run's circle or a region of
// the user's as the drawing's last object; with and without a host that tells its boundary kind.
TEST_F(WorkflowTest, OutsidePickLeavesTheDrawingTheLabelsAndTheSettingsAsTheyWere) {
    struct Case {
        bool userRegionLast;
        bool hostTellsBoundaryKind;
    };
    for (const Case c : {Case{false, true}, Case{true, true}, Case{false, false}, Case{true, false}}) {
        SCOPED_TRACE(std::to_string(c.userRegionLast) + std::to_string(c.hostTellsBoundaryKind));
        objects.clear();
        circles.clear();
        host.files.clear();
        if (c.hostTellsBoundaryKind)
            variables["HPBOUND"] = "1";
        else
            variables.erase("HPBOUND");
        PickAt("10.0000", "20.0000");
        FaceCentre();
        ASSERT_EQ(circles.size(), 1u);
        if (c.userRegionLast)
            objects.push_back({Kind::Region, {100, 100, 120, 120}});
        const std::vector<Object> before = objects;
        host.areas.clear();
        host.perimeters.clear();

        PickAt("200.0000", "200.0000");
        FaceCentre();
        EXPECT_EQ(circles.size(), 1u);
        // Only cleared, as every run starts: nothing of the older shape is shown as this pick's.
        EXPECT_EQ(host.areas, Expected({""}));
        EXPECT_EQ(host.perimeters, Expected({""}));
        if (c.hostTellsBoundaryKind) {
            ASSERT_EQ(objects.size(), before.size());
            for (std::size_t i = 0; i < objects.size(); ++i)
                EXPECT_EQ(objects[i].kind, before[i].kind) << i;
            EXPECT_EQ(variables["HPBOUND"], "1");
        }
        EXPECT_EQ(variables["FILEDIA"], "1");
        EXPECT_FALSE(host.minimized);
    }
    // Inside picks still work where the host does not tell its boundary kind: "_region L" makes the region.
    PickAt("10.0000", "20.0000");
    typed.clear();
    FaceCentre();
    EXPECT_EQ(circles.size(), 2u);
    EXPECT_NE(std::find(typed.begin(), typed.end(), "\x03_region L \r"), typed.end());
}

TEST_F(WorkflowTest, BoundaryKindIsPutBackWhenTheRunEndsEarly) {
    variables["HPBOUND"] = "1";
    PickAt("10.0000", "20.0000");
    ignoreMassprop = true;
    host.onPoll = [this, pick = host.onPoll] {
        pick();
        if (variables["HPBOUND"] == "0")
            host.stop = true;  // Close while the report is awaited
    };
    EXPECT_EQ(FaceCentre().end, app::RunEnd::Close);
    EXPECT_EQ(variables["HPBOUND"], "1");
    EXPECT_EQ(variables["FILEDIA"], "1");
}

// A size that holds a blank or a control character would type what follows as commands. Both modes
// take the size without the blanks and control characters around it.
TEST_F(WorkflowTest, SizesThatWouldTypeMoreThanARadiusAreRefusedBeforeAnythingIsTyped) {
    struct Case {
        const char* size;
        bool refused;
    };
    for (const Case c : {Case{"5 ERASE ALL", true}, Case{"5\t0", true}, Case{"5\t", false}, Case{"\t5", false},
                         Case{"5\x7f", true}, Case{"5\r0", true}, Case{" 30 ", false}}) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(std::string(c.size) + (faceCentre ? " face centre" : " region"));
            typed.clear();
            host.size = c.size;
            host.onPoll = [this] { Type("\x03"); };  // a run that starts is cancelled at once
            const app::RunOutcome outcome = faceCentre ? FaceCentre() : Region();
            if (c.refused) {
                EXPECT_EQ(outcome.end, app::RunEnd::Error);
                EXPECT_EQ(A(outcome.error), "'" + std::string(c.size) + "' は浮動小数点数ではありません");
                EXPECT_TRUE(typed.empty());
            } else {
                EXPECT_EQ(outcome.end, app::RunEnd::Finished);
                EXPECT_FALSE(typed.empty());
            }
        }
    }
    EXPECT_EQ(host.minimizeCalls, 6);  // only the runs that were not refused started
}

TEST_F(WorkflowTest, ContinuousRunEndsBeforeTheCircleOfASizeThatBecameUntypeable) {
    SelectRegions();
    host.continuous = true;
    host.onPoll = [this, select = host.onPoll] {
        select();
        if (circles.size() == 1)
            host.size = "5 ERASE ALL";
    };
    EXPECT_EQ(Region().end, app::RunEnd::Error);
    EXPECT_EQ(circles.size(), 1u);
    for (const std::string& t : typed)
        EXPECT_EQ(t.find("ERASE"), std::string::npos);
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_FALSE(host.minimized);
}

// The report's folder as each frame is given it: a Unicode frame the folder itself, an ANSI frame
// its code page bytes or its short form, and never a look-alike: without a short form the run
// does not start and says which folder.
TEST_F(WorkflowTest, WorkFolderOutsideTheCodePageGoesAsItIsOrInItsShortFormOrNotAtAll) {
    const std::u16string jose = u"C:\\users\\Jos\u00e9\\AppData\\Roaming\\Halvetra\\";
    const std::u16string ono = u"C:\\users\\大野\\AppData\\Roaming\\Halvetra\\";
    const std::u16string brief = u"C:\\users\\JOSE~1\\AppData\\Roaming\\Halvetra\\";
    struct Case {
        const std::u16string& folder;
        bool unicodeFrame;
        std::u16string shortForm;           // empty: the file system keeps none
        const std::u16string* typedFolder;  // null: the run does not start
    } cases[] = {
        {ono, false, u"", &ono},     {jose, true, u"", &jose},     {jose, false, brief, &brief},
        {jose, false, u"", nullptr}, {jose, false, jose, nullptr},  // short names switched off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(A(c.folder) + (c.unicodeFrame ? " unicode" : " ansi") + " short " + A(c.shortForm));
        desktop.SetUnicode(frame, c.unicodeFrame);
        host.shortForms.clear();
        if (!c.shortForm.empty())
            host.shortForms[c.folder] = c.shortForm;
        const app::RunPaths folderPaths{c.folder, "261207101500"};
        app::CentroidWorkflows other{link, desktop, host, folderPaths};
        records.clear();
        circles.clear();
        SelectRegions();
        const app::RunOutcome outcome = Run(other, app::RunMode::Region);
        if (c.typedFolder) {
            EXPECT_EQ(outcome.end, app::RunEnd::Finished);
            EXPECT_NE(std::find(records.begin(), records.end(), *c.typedFolder + u"261207101500.mpr\r"), records.end());
            EXPECT_EQ(circles, Expected({"10.0000,15.0000 50"}));
        } else {
            EXPECT_EQ(outcome.end, app::RunEnd::Error);
            EXPECT_EQ(outcome.error, u"作業フォルダ " + c.folder + u" の名前を CAD プログラムに渡せません");
            EXPECT_TRUE(records.empty());
        }
    }
}

// A Windows user name with a blank puts a blank in the report path; the host would end the input there.
TEST_F(WorkflowTest, ReportPathWithABlankIsTypedInDoubleQuotesInBothModes) {
    const app::RunPaths spaced{u"C:\\Users\\Taro Yamada\\AppData\\Roaming\\Halvetra\\", "261207101500"};
    app::CentroidWorkflows other{link, desktop, host, spaced};
    SelectRegions();
    Run(other, app::RunMode::Region);
    pendingReport = "30.0000,35.0000";
    PickAt("10.0000", "20.0000");
    Run(other, app::RunMode::FaceCentre);
    EXPECT_EQ(circles, Expected({"10.0000,15.0000 50", "30.0000,35.0000 50"}));
    EXPECT_NE(std::find(typed.begin(), typed.end(), "\"" + A(spaced.ReportPath()) + "\"\r"), typed.end());
    EXPECT_EQ(app::QuotedIfBlank(paths.ReportPath()), paths.ReportPath());
}

// The host takes typed input 3 s late: waits go on until the command shows, each answer is typed
// once, and the CAD program is left idle, with the right circle or none.
TEST_F(WorkflowTest, HostThatTakesInputSecondsLateGetsTheRightCircleOrNoneAndIsLeftIdle) {
    SelectRegions();
    MakeLate(3000);
    Region();
    HandleLate();
    EXPECT_EQ(circles, Expected({"10.0000,15.0000 50"}));
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "Y\r"), 1);
    EXPECT_EQ(prompt, kIdle);

    typed.clear();
    circles.clear();
    pendingReport = "30.0000,35.0000";
    PickAt("10.0000", "20.0000");
    FaceCentre();
    HandleLate();
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
    EXPECT_EQ(prompt, kIdle);
    EXPECT_EQ(variables["FILEDIA"], "1");
    EXPECT_EQ(variables["HPBOUND"], "1");
}

TEST_F(WorkflowTest, HostThatHandlesInputInsideTheSendIsNotWaitedForLonger) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    EXPECT_EQ(host.polls, 1);  // the pick; the new report is seen at the first look
    // A user quicker than the first look: the pick is over before its prompt was ever seen.
    desktop.SetCopyDataHandler(frame, [this, pick = host.onPoll](const ReceivedMessage& m) {
        Type(Decode(m));
        pick();
    });
    host.polls = 0;
    pendingReport = "31.5000,36.5000";
    FaceCentre();
    EXPECT_EQ(host.polls, 0);  // the history shows the pick, the replace question is answered at once
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50", "31.5000,36.5000 50"}));
}

// The CAD program stops answering for six seconds right after its k-th answer, for every k of a
// run: whatever wait or step it meets, the run waits for it, goes on, types nothing twice and
// draws its one circle; the user's settings come back.
TEST_F(WorkflowTest, BusyCadAtEveryAnswerOfARunIsWaitedForAndTheRunGoesOn) {
    constexpr std::uint64_t kBusyMs = 6000;
    int answers = 0, busyAt = 0;
    std::uint64_t busyUntil = 0;
    const auto answered = [&] {
        if (++answers == busyAt) {
            desktop.SetProcessFrozen(7, true);
            busyUntil = host.now + kBusyMs;
        }
    };
    const WindowHandle promptWindow = link.Discovery().FindPromptWindow();
    desktop.SetTextSource(promptWindow, [&] {
        answered();
        return prompt;
    });
    desktop.SetCopyDataHandler(frame, [&](const ReceivedMessage& m) {
        Type(Decode(m));
        answered();
    });
    for (const bool faceCentre : {true, false}) {
        std::vector<std::string> undisturbed;
        for (busyAt = 0;; ++busyAt) {
            SCOPED_TRACE(std::string(faceCentre ? "face centre" : "region") + ", busy after answer " +
                         std::to_string(busyAt));
            desktop.SetProcessFrozen(7, false);
            answers = 0;
            circles.clear();
            typed.clear();
            host.files.clear();
            variables["FILEDIA"] = "1";
            variables["HPBOUND"] = "1";
            prompt = kIdle;
            if (faceCentre)
                PickAt("10.0000", "20.0000");
            else
                SelectRegions();
            host.onPoll = [&, act = host.onPoll] {
                if (busyUntil && host.now >= busyUntil) {
                    desktop.SetProcessFrozen(7, false);
                    busyUntil = 0;
                }
                if (!busyUntil)
                    act();
            };
            const app::RunOutcome outcome = faceCentre ? FaceCentre() : Region();
            desktop.SetProcessFrozen(7, false);  // a group still open once the CAD answers is ended then
            busyUntil = 0;
            workflows.TakeUpPutBack();
            EXPECT_FALSE(groupOpen);
            EXPECT_EQ(outcome.end, app::RunEnd::Finished);
            EXPECT_EQ(circles, Expected({faceCentre ? "30.0000,35.0000 50" : "10.0000,15.0000 50"}));
            EXPECT_EQ(variables["FILEDIA"], "1");
            EXPECT_EQ(variables["HPBOUND"], "1");
            EXPECT_EQ(prompt, kIdle);
            EXPECT_FALSE(host.minimized);
            if (busyAt == 0) {
                undisturbed = typed;
                continue;
            }
            EXPECT_EQ(typed, undisturbed);  // nothing typed twice, nothing left out
            if (busyAt >= answers)
                break;  // the last answer of the run has had its turn
        }
    }
}

// A run ended while the CAD program is busy: the window is given back at once, and what the run
// changed, its undo group too, goes back as soon as the CAD program answers.
TEST_F(WorkflowTest, RunEndedWhileTheCadIsBusyPutsItsChangesBackOnceItAnswers) {
    for (const bool changed : {true, false}) {
        SCOPED_TRACE(changed ? "at the report" : "at the pick");
        desktop.SetProcessFrozen(7, false);
        variables["FILEDIA"] = variables["HPBOUND"] = "1";
        prompt = kIdle;
        ignoreMassprop = changed;
        PickAt("10.0000", "20.0000");
        host.onPoll = [&, pick = host.onPoll] {
            const bool there = changed ? variables["FILEDIA"] == "0" : prompt == "点を指定: ";
            if (there && workflows.Running()) {
                desktop.SetProcessFrozen(7, true);
                workflows.Stop(app::RunEnd::Close);
            } else if (changed) {
                pick();
            }
        };
        EXPECT_EQ(FaceCentre().end, app::RunEnd::Close);
        EXPECT_FALSE(host.minimized);
        EXPECT_TRUE(workflows.PutBackPending());
        EXPECT_EQ(variables["FILEDIA"], changed ? "0" : "1");
        EXPECT_TRUE(groupOpen);
        EXPECT_TRUE(workflows.TakeUpPutBack().has_value());  // still busy
        desktop.SetProcessFrozen(7, false);
        EXPECT_FALSE(workflows.TakeUpPutBack());
        EXPECT_FALSE(workflows.PutBackPending());
        EXPECT_FALSE(groupOpen);
        EXPECT_EQ(variables["FILEDIA"], "1");
        EXPECT_EQ(variables["HPBOUND"], "1");
    }
}

// A host that handles input inside the send asks to replace the report before the tool has waited:
// the question is answered at once, and a later run costs only the wait for the pick.
TEST_F(WorkflowTest, ReplaceQuestionSeenAtOnceIsAnsweredAtOnce) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    EXPECT_EQ(host.polls, 1);
    pendingReport = "31.5000,36.5000";
    host.polls = 0;
    typed.clear();
    FaceCentre();
    EXPECT_EQ(host.polls, 1);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "Y\r"), 1);
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50", "31.5000,36.5000 50"}));
}

// A host that has not handled the measuring commands yet still shows its idle prompt right after
// they are typed: that is not the end of the wait, in a first run (new report) or a later one.
TEST_F(WorkflowTest, IdlePromptSeenAtOnceIsNotTakenAsTheEndWithALateHost) {
    for (const bool reportExists : {false, true}) {
        SCOPED_TRACE(reportExists ? "later run" : "first run");
        host.files.clear();
        if (reportExists)
            host.WriteFile(paths.ReportPath(), Report("1.0000", "2.0000"));
        late = false;
        lateFrom =
            "\x03"
            "FILEDIA 0";
        host.beforePoll = [this] { HandleLate(); };
        circles.clear();
        typed.clear();
        PickAt("10.0000", "20.0000");
        FaceCentre();
        HandleLate();
        EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
        EXPECT_EQ(std::count(typed.begin(), typed.end(), "Y\r"), reportExists ? 1 : 0);
        EXPECT_EQ(prompt, kIdle);
    }
}

// The waits look often, never sleeping long before a look, and end after their time limit.
TEST_F(WorkflowTest, WaitsLookEveryFewMillisecondsAndEndAfterTheirTimeLimit) {
    std::vector<std::uint64_t> looks;
    desktop.SetTextSource(link.Discovery().FindPromptWindow(), [this, &looks] {
        looks.push_back(host.now);
        return prompt;
    });
    host.onPoll = nullptr;  // the user never picks
    FaceCentre();
    ASSERT_GE(looks.size(), 2u);
    std::uint64_t longestGap = 0;
    for (std::size_t i = 1; i < looks.size(); ++i)
        longestGap = std::max(longestGap, looks[i] - looks[i - 1]);
    EXPECT_LE(longestGap, app::CentroidWorkflows::kUserLookIntervalMs);
    EXPECT_GE(host.now, app::kWaitLimitMs);
    EXPECT_LT(host.now, app::kWaitLimitMs + 100);
    EXPECT_FALSE(host.minimized);
}

TEST_F(WorkflowTest, EveryCircleTypedIsOneResultsRowAsShownAndTyped) {
    SelectRegions(3);
    host.continuous = true;
    host.size = "30 ";
    Region();
    ASSERT_EQ(host.rows.size(), 2u);  // the third pass was cancelled
    // When, the drawing (from the CAD title "AutoCAD 2024": none), mode, area, perimeter, X, Y, size.
    EXPECT_EQ(host.RowFields(0), Expected({"2026/12/08 10:15:00", "", "リージョン", "1234.57", "140.00", "10.0000",
                                           "15.0000", "30"}));  // the size as typed, without its blanks
    EXPECT_EQ(host.RowFields(1)[5] + "," + host.RowFields(1)[6], "20.0000,25.0000");

    host.rows.clear();
    host.size = " 40 ";
    PressEscAtPick();
    FaceCentre();
    EXPECT_TRUE(host.rows.empty());
    PickAt("10.0000", "20.0000");
    pendingReport = "30.0000,35.0000";
    desktop.SetTitle(frame, "AutoCAD 2024 - [図面1.dwg]");
    FaceCentre();
    ASSERT_EQ(host.rows.size(), 1u);
    EXPECT_EQ(host.RowFields(0), Expected({"2026/12/08 10:15:00", "図面1.dwg", "面の中心", "1234.5678", "140.0000",
                                           "30.0000", "35.0000", "40"}));
    EXPECT_EQ(circles.back(), "30.0000,35.0000 40");
}

// Sizes the CAD program would not take as a radius: it would stay asking for one.
TEST_F(WorkflowTest, SizesTheCadRefusesAreRefusedBeforeAnythingIsTyped) {
    struct Case {
        const char* size;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"abc", "'abc' は浮動小数点数ではありません"},
        {"D", "'D' は浮動小数点数ではありません"},
        {"５", "'５' は浮動小数点数ではありません"},
        {"1e999", "'1e999' は浮動小数点数ではありません"},
        {"1e12", "'1e12' は浮動小数点数ではありません"},
        {"nan", "'nan' は浮動小数点数ではありません"},
        {"12,5", "'12,5' は浮動小数点数ではありません"},
        {"   ", "'   ' は浮動小数点数ではありません"},
        {"0", "'0' は正の数ではありません"},
        {"-0", "'-0' は正の数ではありません"},
        {"-5", "'-5' は正の数ではありません"},
        {"0.5", ""},
        {"2e1", ""},
    };
    for (const Case& c : cases) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(std::string(c.size) + (faceCentre ? " face centre" : " region"));
            typed.clear();
            host.size = c.size;
            host.minimizeCalls = 0;
            host.onPoll = [this] { Type("\x03"); };  // a run that starts is cancelled at once
            const app::RunOutcome outcome = faceCentre ? FaceCentre() : Region();
            EXPECT_EQ(A(outcome.error), c.message);
            EXPECT_EQ(typed.empty(), c.message[0] != '\0');
            EXPECT_EQ(host.minimizeCalls, c.message[0] ? 0 : 1);
        }
    }
}

// Centroids the CAD program would refuse leave it asking for a centre: they are never typed, the
// labels never show them, and the CAD program is idle when the run ends.
TEST_F(WorkflowTest, ReportNumbersTheCadRefusesAreNeitherTypedNorShown) {
    struct Case {
        const char* centroid;
        const char* area;
        bool circle;
    };
    for (const Case c :
         {Case{"NaN,NaN", "NaN", false}, Case{"inf,-inf", "inf", false}, Case{"1e308,1.0000", "1e308", false},
          Case{"30.0000,", "12.5", false}, Case{"-0,-0", "-0", true}, Case{"30.0000,35.0000", "1.#INF", true}}) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(std::string(c.centroid) + (faceCentre ? " face centre" : " region"));
            circles.clear();
            host.files.clear();
            host.areas.clear();
            pendingReport = c.centroid;
            pendingArea = c.area;
            bool refused = false;
            if (faceCentre) {
                PickAt("10.0000", "20.0000");
                FaceCentre();  // face-centre mode shows values as read: no conversion error
                ASSERT_EQ(host.areas.size(), 2u);
                EXPECT_EQ(host.areas.back(), IsCadNumber(W(c.area)) ? c.area : "");
            } else {
                host.onPoll = [this] {
                    if (prompt == "オブジェクトを選択: ")
                        prompt = "解析結果をファイルに書き出しますか? [はい(Y)/いいえ(N)] <N>: ";
                };
                const app::RunOutcome outcome = Region();
                // An area that is no number ends the run with the error box.
                refused = outcome.end == app::RunEnd::Error;
                if (refused) {
                    EXPECT_EQ(A(outcome.error), "'" + std::string(c.area) + "' は浮動小数点数ではありません");
                }
            }
            EXPECT_EQ(refused, !faceCentre && !IsCadNumber(W(c.area)));
            if (refused && c.circle)
                continue;
            for (const std::string& caption : host.areas)
                EXPECT_TRUE(caption.empty() || IsCadNumber(platform::Trim(W(caption)))) << caption;
            EXPECT_EQ(circles.size(), c.circle ? 1u : 0u);
            if (c.circle) {
                EXPECT_EQ(circles.back(), pendingReport.substr(0, pendingReport.find(',')) + "," +
                                              pendingReport.substr(pendingReport.find(',') + 1) + " 50");
                // The row shows the area as the label does.
                EXPECT_EQ(host.RowFields(host.rows.size() - 1).at(3), host.areas.back());
            }
            EXPECT_EQ(prompt, kIdle);
            EXPECT_EQ(variables["FILEDIA"], "1");
            EXPECT_FALSE(host.minimized);
        }
    }
}

// The longest command of each mode carries the report path: face-centre mode types the stem in
// "_massprop", region mode the path at the file-name question. One record holds 255 characters.
TEST_F(WorkflowTest, WorkFolderTooLongForTheCommandRecordStopsTheRunBeforeAnythingIsTyped) {
    struct Case {
        bool faceCentre;
        std::size_t folderLength;
        bool fits;
    };
    for (const Case c : {Case{true, 223, true}, Case{true, 224, false}, Case{false, 238, true}, Case{false, 239, false},
                         Case{false, 240, false}}) {
        SCOPED_TRACE(std::to_string(c.folderLength) + (c.faceCentre ? " face centre" : " region"));
        const std::string folder = "C:\\" + std::string(c.folderLength - 13, 'u') + "\\Halvetra\\";
        ASSERT_EQ(folder.size(), c.folderLength);
        const app::RunPaths longPaths{W(folder), "261207101500"};
        app::CentroidWorkflows other{link, desktop, host, longPaths};
        typed.clear();
        circles.clear();
        host.files.clear();
        host.minimizeCalls = 0;
        if (c.faceCentre)
            PickAt("10.0000", "20.0000");
        else
            SelectRegions();
        const app::RunOutcome outcome = Run(other, c.faceCentre ? app::RunMode::FaceCentre : app::RunMode::Region);
        if (c.fits) {
            EXPECT_EQ(outcome.end, app::RunEnd::Finished);
            EXPECT_EQ(circles.size(), 1u);
        } else {
            EXPECT_EQ(outcome.end, app::RunEnd::Error);
            EXPECT_EQ(A(outcome.error), "作業フォルダ " + folder + " のパスが長すぎます");
            EXPECT_TRUE(typed.empty());
            EXPECT_EQ(host.minimizeCalls, 0);
        }
    }
}

// The report has a full stop whatever the user's decimal symbol; the labels show the user's.
TEST_F(WorkflowTest, CommaDecimalSymbolStillReadsTheReportAndDrawsTheCircle) {
    host.decimal = u',';
    SelectRegions();
    Region();
    EXPECT_EQ(circles, Expected({"10.0000,15.0000 50"}));
    EXPECT_EQ(host.areas, Expected({"", "1234,57"}));
    EXPECT_EQ(host.perimeters, Expected({"", "140,00"}));
}

// A run that reads no values (here a report in a layout the tool does not know) must not leave the
// last run's values on the labels, where they would look like this run's.
TEST_F(WorkflowTest, RunClearsTheLabelsWhenItStarts) {
    for (const bool faceCentre : {true, false}) {
        SCOPED_TRACE(faceCentre ? "face centre" : "region");
        unrecognisedReport.clear();
        faceCentre ? PickAt("10.0000", "20.0000") : SelectRegions();
        faceCentre ? FaceCentre() : Region();
        ASSERT_FALSE(host.areas.back().empty());
        ASSERT_FALSE(host.perimeters.back().empty());
        unrecognisedReport = "Area = 12\r\nPerimeter = 3\r\n";
        faceCentre ? FaceCentre() : Region();
        EXPECT_EQ(host.areas.back(), "");
        EXPECT_EQ(host.perimeters.back(), "");
    }
}

// The session ends while a run waits: the settings must be back before the window's handler
// returns, since the process may be ended then, before the run can unwind.
TEST_F(WorkflowTest, SessionEndPutsTheSettingsBackAtOnceAndTheRunEndsAtItsNextPoll) {
    for (const bool faceCentre : {true, false}) {
        SCOPED_TRACE(faceCentre ? "report wait" : "selection wait");
        variables["HPBOUND"] = "1";
        ignoreMassprop = true;  // the report wait goes on until the session ends
        std::map<std::string, std::string> whenPutBack;
        std::size_t typedWhenPutBack = 0;
        const auto endSession = [&, this] {
            ASSERT_EQ(variables["FILEDIA"], "0");
            workflows.Stop(app::RunEnd::SessionEnd);  // what the window does on WM_QUERYENDSESSION
            whenPutBack = variables;
            typedWhenPutBack = typed.size();
        };
        if (faceCentre) {
            PickAt("10.0000", "20.0000");
            host.onPoll = [&, this, pick = host.onPoll] {
                pick();
                if (variables["HPBOUND"] == "0" && workflows.Running())
                    endSession();
            };
        } else {
            host.onPoll = [&, this] {
                if (prompt == "オブジェクトを選択: " && workflows.Running())
                    endSession();
            };
        }
        EXPECT_EQ((faceCentre ? FaceCentre() : Region()).end, app::RunEnd::SessionEnd);
        EXPECT_EQ(whenPutBack["FILEDIA"], "1");
        EXPECT_EQ(whenPutBack["HPBOUND"], "1");
        EXPECT_EQ(typed.size(), typedWhenPutBack);  // nothing more was typed as the run unwound
        EXPECT_FALSE(host.minimized);
        host.stop = false;
        ignoreMassprop = false;
    }
}

}  // namespace

namespace {

// Every host behaviour a wait meets, in both workflows: the right circle or none, never one from an
// older report; FILEDIA and HPBOUND as they were; the host left idle. A late host shows its idle
// prompt between the records and between the parts of one (after its leading Ctrl+C): a wait that
// took that for the end would lose the late region pass and ask for the point before the pick.
TEST_F(WorkflowTest, EveryHostBehaviourGetsTheRightCircleOrNoneAndIsLeftAsItWas) {
    enum class Trouble { None, Closed, Flicker, SlowReads };
    struct Case {
        const char* name;
        Lateness lateness;
        std::uint64_t delayMs;
        Trouble trouble;
    };
    const Case cases[] = {
        {"synchronous", Lateness::None, 0, Trouble::None},
        {"late per record, 20 ms", Lateness::PerRecord, 20, Trouble::None},
        {"late per record, 400 ms", Lateness::PerRecord, 400, Trouble::None},
        {"late per line, 5 ms", Lateness::PerLine, 5, Trouble::None},
        {"late per line, 50 ms", Lateness::PerLine, 50, Trouble::None},
        {"late per line, 400 ms", Lateness::PerLine, 400, Trouble::None},
        {"prompt reads empty once while the command runs", Lateness::None, 0, Trouble::Flicker},
        {"prompt reads take 30 ms", Lateness::PerLine, 20, Trouble::SlowReads},
        {"closed while waiting", Lateness::None, 0, Trouble::Closed},
    };
    const WindowHandle promptWindow = link.Discovery().FindPromptWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        parts.clear();
        host.files.clear();
        circles.clear();
        typed.clear();
        objects.clear();
        prompt = kIdle;
        variables["HPBOUND"] = "1";
        MakeLatePer(c.lateness, c.delayMs);
        bool flickered = false;
        desktop.SetTextSource(promptWindow, [&] {
            if (c.trouble == Trouble::SlowReads)
                host.now += 30;
            if (c.trouble == Trouble::Flicker && !flickered && prompt != kIdle) {
                flickered = true;
                return std::string();
            }
            return prompt;
        });
        const bool ends = c.trouble == Trouble::Closed;
        // The trouble strikes while the user has the prompt; the user acts a look later.
        bool struck = false;
        const auto strike = [&] {
            if (struck)
                return false;
            struck = true;
            if (c.trouble == Trouble::Closed)
                desktop.Destroy(frame);
            return ends;
        };

        SelectRegions();
        host.onPoll = [this, &strike, select = host.onPoll] {
            if (prompt == "オブジェクトを選択: " && strike())
                return;
            select();
        };
        Region();
        HandleLate();
        EXPECT_EQ(circles, ends ? Expected({}) : Expected({"10.0000,15.0000 50"}));
        EXPECT_FALSE(host.minimized);
        EXPECT_FALSE(workflows.Running());
        if (c.trouble == Trouble::Closed)
            continue;  // nothing is left to type to

        struck = false;
        flickered = false;
        circles.clear();
        typed.clear();
        std::size_t typedAtPick = 0;
        pendingReport = "30.0000,35.0000";
        PickAt("10.0000", "20.0000");
        host.onPoll = [this, &strike, &typedAtPick, pick = host.onPoll] {
            if (prompt != "点を指定: " || strike())
                return;
            typedAtPick = typed.size();
            pick();
        };
        FaceCentre();
        HandleLate();
        if (ends) {
            EXPECT_TRUE(circles.empty());
        } else {
            EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
            // The point was asked for only after the user had picked.
            ASSERT_GT(typedAtPick, 0u);
            const auto query = std::find(typed.begin(), typed.end(), "'SETVAR LASTPOINT\r");
            ASSERT_NE(query, typed.end());
            EXPECT_GE(static_cast<std::size_t>(query - typed.begin()), typedAtPick);
        }
        if (!ends) {
            EXPECT_EQ(variables["FILEDIA"], "1");
            EXPECT_EQ(variables["HPBOUND"], "1");
            EXPECT_EQ(prompt, kIdle);
        }
        EXPECT_FALSE(host.minimized);
    }
}

// The Execute click starts the run at its release; a further click of a double or triple click
// comes within the double-click time of the press before it and inside the double-click rectangle
// around it. Nothing may ask the CAD program for anything before that is over; a key waits for nothing.
TEST_F(WorkflowTest, PickIsAskedOnlyOnceTheRestOfADoubleOrTripleClickIsOver) {
    struct Press {
        std::uint64_t down, up;  // after the run started
    };
    struct Case {
        const char* name;
        bool byPointer;
        std::vector<Press> presses;
        std::uint64_t leavesAt;  // the pointer leaves the rectangle then
        std::uint64_t earliest;  // the first command may be typed from here on
    };
    const std::uint64_t never = 1000000;
    const Case cases[] = {
        {"single click, the pointer resting", true, {}, never, 500},
        {"single click, the pointer leaving at once", true, {}, 30, 30},
        {"double click", true, {{100, 180}}, never, 600},
        {"triple click", true, {{100, 180}, {300, 380}}, never, 800},
        {"double click, then away", true, {{100, 180}}, 200, 200},
        {"button held", true, {{50, 3000}}, never, 3000},
        {"second click 600 ms later is a pick", true, {{600, 680}}, never, 500},
        {"Enter", false, {}, never, 0},
    };
    for (const Case& c : cases) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (faceCentre ? " face centre" : " region"));
            const std::uint64_t start = host.now = 10000;
            host.buttonsDownAt = [start, presses = c.presses](std::uint64_t now) {
                for (const Press& p : presses)
                    if (now >= start + p.down && now < start + p.up)
                        return true;
                return false;
            };
            host.pointerAt = [start, leaves = c.leavesAt](std::uint64_t now) {
                return now >= start + leaves ? platform::Point{110, 100} : platform::Point{101, 101};
            };
            typed.clear();
            typedAt.clear();
            circles.clear();
            faceCentre ? PickAt("10.0000", "20.0000") : SelectRegions();
            faceCentre ? FaceCentre({c.byPointer, {100, 100}}) : Region({c.byPointer, {100, 100}});
            ASSERT_FALSE(typedAt.empty());
            // A change is seen at the look after it.
            const std::uint64_t look = app::CentroidWorkflows::kLookIntervalMs;
            EXPECT_GE(typedAt.front(), start + c.earliest);
            EXPECT_LE(typedAt.front(), start + c.earliest + look);
            EXPECT_GE(host.minimizedAt, start + c.earliest);  // until then the clicks land on the tool
            EXPECT_EQ(circles.size(), 1u);
        }
    }
}

// A run that ends while the command it typed still asks for input leaves the CAD program idle,
// with one Ctrl+C: the user's next click in the drawing must not be taken as a pick.
TEST_F(WorkflowTest, RunThatEndsInsideItsOwnCommandCancelsItOnce) {
    for (const bool closeDuringPick : {false, true}) {
        SCOPED_TRACE(closeDuringPick ? "Close during the pick" : "the wait runs out");
        typed.clear();
        host.stop = false;
        host.onPoll = [this, closeDuringPick] {
            if (closeDuringPick && prompt == "点を指定: ")
                host.stop = true;
        };
        try {
            FaceCentre();
        } catch (const platform::EAbort&) {
            EXPECT_TRUE(closeDuringPick);
        }
        EXPECT_EQ(prompt, kIdle);
        ASSERT_GE(typed.size(), 2u);
        EXPECT_EQ(typed[typed.size() - 2], "\x03ID ");
        EXPECT_EQ(typed.back(), kEndBack);  // its Ctrl+C ends the pick command first
        EXPECT_FALSE(host.minimized);
    }
    // A run that ends with the CAD program idle types nothing more.
    typed.clear();
    host.stop = false;
    PickAt("10.0000", "20.0000");
    FaceCentre();
    ASSERT_GE(typed.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(typed.end() - 4, typed.end()), Expected({"\x03"
                                                                                "CIRCLE 30.0000,35.0000 50\r",
                                                                                "\x03"
                                                                                "FILEDIA 1\r",
                                                                                "\x03"
                                                                                "HPBOUND 1\r",
                                                                                kEnd}));
}

}  // namespace

namespace {

// Every way a run ends, at each step it can end at, with the user's FILEDIA of 0 or 1: FILEDIA and
// HPBOUND as the user had them, the user's clipboard back, no object of the drawing changed, the CAD
// program idle and the window back.
TEST_F(WorkflowTest, EveryWayARunEndsAtEveryStepLeavesTheUsersSettingsAndDrawing) {
    enum class At { Settling, UndoTyped, UndoPrompt, Pick, Report, Selection };
    struct Case {
        const char* name;
        At at;
        app::RunEnd why;
    };
    const Case cases[] = {
        {"Close while the click settles", At::Settling, app::RunEnd::Close},
        {"Close before a late host takes UNDO", At::UndoTyped, app::RunEnd::Close},
        {"Close at UNDO's prompt", At::UndoPrompt, app::RunEnd::Close},
        {"Close at the pick", At::Pick, app::RunEnd::Close},
        {"session end at the pick", At::Pick, app::RunEnd::SessionEnd},
        {"Close at the report", At::Report, app::RunEnd::Close},
        {"session end at the report", At::Report, app::RunEnd::SessionEnd},
        {"CAD gone at the report", At::Report, app::RunEnd::CadGone},
        {"Close at the selection", At::Selection, app::RunEnd::Close},
        {"session end at the selection", At::Selection, app::RunEnd::SessionEnd},
        {"time limit at the pick", At::Pick, app::RunEnd::TimeLimit},
        {"time limit at the selection", At::Selection, app::RunEnd::TimeLimit},
    };
    // The user's FILEDIA 0 with undo control None, FILEDIA 1 with All, and that with a host 3 s late.
    const struct {
        const char* userFileDialogs;
        bool lateHost;
    } hosts[] = {{"0", false}, {"1", false}, {"1", true}};
    for (const Case& c : cases) {
        for (const auto& [userFileDialogs, lateHost] : hosts) {
            if (!lateHost && (c.at == At::UndoTyped || c.at == At::UndoPrompt))
                continue;  // UNDO is answered within the step that types it
            SCOPED_TRACE(std::string(c.name) + ", FILEDIA " + userFileDialogs + (lateHost ? ", late host" : ""));
            undoAll = *userFileDialogs == '1';  // the user's undo control: All, or None
            groupsBegun = groupsTakenBack = 0;
            typed.clear();
            if (lateHost)
                MakeLate(3000);
            variables["FILEDIA"] = userFileDialogs;
            variables["HPBOUND"] = "1";
            objects = {{Kind::Polyline, {100, 100, 110, 110}}};
            circles.clear();
            prompt = kIdle;
            ignoreMassprop = c.at == At::Report;  // the report wait goes on until the run is ended
            desktop.OpenClipboard();
            desktop.EmptyClipboard();
            desktop.SetClipboardData(platform::kCfText, std::string("the user's text") + '\0');
            desktop.CloseClipboard();
            const bool faceCentre = c.at != At::Selection;
            const bool limit = c.why == app::RunEnd::TimeLimit;
            if (faceCentre)
                PickAt("10.0000", "20.0000");
            host.onPoll = [&, this, pick = host.onPoll] {
                const bool there = c.at == At::Settling     ? true
                                   : c.at == At::UndoTyped  ? typed.size() == 1
                                   : c.at == At::UndoPrompt ? app::IsUndoPrompt(W(prompt))
                                   : c.at == At::Pick       ? prompt == "点を指定: "
                                   : c.at == At::Report     ? variables["FILEDIA"] == "0" && variables["HPBOUND"] == "0"
                                                            : prompt == "オブジェクトを選択: ";
                if (there && !limit && workflows.Running()) {
                    workflows.Stop(c.why);
                    return;
                }
                if (c.at == At::Report && pick)
                    pick();
            };
            host.buttonsDownAt = nullptr;
            const app::RunOutcome outcome = faceCentre ? FaceCentre({c.at == At::Settling, {0, 0}}) : Region();
            HandleLate();  // what a late host still had to do when the run ended
            late = false;
            host.beforePoll = nullptr;
            EXPECT_EQ(outcome.end, c.why);
            EXPECT_EQ(variables["FILEDIA"], userFileDialogs);
            EXPECT_EQ(variables["HPBOUND"], "1");
            EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("the user's text") + '\0');
            ASSERT_GE(objects.size(), 1u);  // a region the boundary made may stay; the user's object is untouched
            EXPECT_EQ(objects[0].kind, Kind::Polyline);
            EXPECT_TRUE(circles.empty());
            EXPECT_EQ(prompt, kIdle);
            EXPECT_FALSE(host.minimized);
            EXPECT_FALSE(workflows.Running());
            EXPECT_EQ(groupsBegun, undoAll && c.at > At::UndoPrompt ? 1 : 0);
            EXPECT_EQ(groupsTakenBack, groupsBegun);  // no circle: the group leaves no undo step
            EXPECT_FALSE(groupOpen);
        }
    }
    undoAll = true;
}

// FILEDIA is a switch of 0 and 1; anything else the CAD program answers is not typed back: the run
// leaves the file dialogs on, as the CAD program's default has them.
TEST_F(WorkflowTest, FileDialogsValueOtherThanZeroOrOneIsPutBackAsOn) {
    for (const char* answer : {"2", "-1", "ON", "1 ERASE"}) {
        SCOPED_TRACE(answer);
        variables["FILEDIA"] = answer;
        PickAt("10.0000", "20.0000");
        FaceCentre();
        EXPECT_EQ(variables["FILEDIA"], "1");
        variables["FILEDIA"] = answer;
        SelectRegions();
        Region();
        EXPECT_EQ(variables["FILEDIA"], "1");
    }
}

}  // namespace

// A wait for the user's pick is woken by the user's input and looks only slowly by itself; a
// release of a button or a key brings the quick looks back.
TEST_F(WorkflowTest, AWaitForTheUserWakesOnTheUserAndLooksSlowlyMeanwhile) {
    ASSERT_TRUE(workflows.Start(Request(app::RunMode::FaceCentre)));
    const std::uint64_t start = host.now;
    std::optional<app::Wake> wake;
    while ((wake = workflows.Step()) && host.now - start < 2000)
        host.now += wake->afterMs;
    ASSERT_TRUE(wake);
    EXPECT_TRUE(wake->onUserInput);
    EXPECT_EQ(wake->afterMs, app::CentroidWorkflows::kUserLookIntervalMs);
    workflows.UserActed();
    wake = workflows.Step();
    ASSERT_TRUE(wake);
    EXPECT_EQ(wake->afterMs, app::CentroidWorkflows::kLookIntervalMs);
    workflows.Stop(app::RunEnd::Close);
}
