#include "workflows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <deque>
#include <map>
#include <set>
#include <variant>

#include "cadlink/cad_link.h"
#include "cad_numbers.h"
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

// What every run asks about the drawing before it asks the user anything, and what it sets for
// its length and puts back on a drawing at the CAD program's defaults (LUPREC 4, OSMODE 4133).
// UNDOCTL is asked at UNDO's own prompt, the others inside the group.
const char kUndoControl[] = "'SETVAR UNDOCTL\r";
const std::vector<std::string> kAsked{"'SETVAR LUNITS\r",   "\x03", "'SETVAR LUPREC\r", "\x03",
                                      "'SETVAR UNITMODE\r", "\x03", "'SETVAR OSMODE\r", "\x03"};
const std::vector<std::string> kSet{"\x03LUPREC 8\r", "\x03OSMODE 20517\r"};
const std::vector<std::string> kPutBack{"\x03OSMODE 4133\r", "\x03LUPREC 4\r"};

std::vector<std::string> Seq(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct Box {
    double minX, minY, maxX, maxY;
    bool Holds(double x, double y) const { return x > minX && x < maxX && y > minY && y < maxY; }
};

std::string Report(const std::string& x,
                   const std::string& y,
                   const Box& box = {0, 0, 60, 70},
                   const std::string& area = "1234.5678") {
    char bounds[200];
    std::snprintf(bounds, sizeof bounds,
                  "境界ボックス:         X: %.4f  --  %.4f\r\n                      Y: %.4f  --  %.4f\r\n", box.minX,
                  box.maxX, box.minY, box.maxY);
    return "----------------   リージョン   ----------------\r\n面積:                    " + area +
           "\r\n周囲:                    140.0000\r\n" + bounds + "図心                  X: " + x +
           "\r\n                      Y: " + y + "\r\n";
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
    void On(const app::RowAdded& row) { rows.push_back(A(row.row)); }
    void On(const app::HintShown& hint) { hints.push_back(A(hint.text)); }
    void On(const app::NoCadProgram&) { ++cadMissing; }
    void On(const app::NoClosedArea&) { ++noClosedArea; }
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
    int noClosedArea = 0;
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
    // A record the run calls brief follows a look or other brief records, never a lasting record
    // whose work a CAD program that runs its input later may still be doing when the next message
    // goes without a sign of life asked first.
    void TearDown() override {
        const std::vector<ReceivedMessage>& sent = desktop.Messages();
        const std::vector<std::size_t>& idle = desktop.IdleAnswers();
        for (std::size_t at : idle) {
            if (sent[at].message != platform::kWmCopyData)
                continue;
            std::size_t before = at;
            while (before > 0 && sent[before - 1].posted)
                --before;
            // After a record the CAD program took without answering, the link asks for a sign of life.
            const std::vector<std::size_t>& unanswered = desktop.UnansweredRecords();
            if (before == 0 || sent[before - 1].message != platform::kWmCopyData ||
                std::find(unanswered.begin(), unanswered.end(), before - 1) != unanswered.end())
                continue;
            auto text = [](std::string bytes) {  // the records are ASCII: a UTF-16 payload without its zeros
                bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
                return bytes;
            };
            EXPECT_NE(std::find(idle.begin(), idle.end(), before - 1), idle.end())
                << "brief \"" << text(sent[at].payload) << "\" right after lasting \"" << text(sent[before - 1].payload)
                << "\"";
        }
    }

    SimulatedDesktop desktop;
    cadlink::CadLink link{desktop, desktop, desktop};
    FakeHost host;
    app::RunPaths paths{u"C:\\work\\Halvetra\\", "261207101500"};
    app::CentroidWorkflows workflows{link, desktop, host, paths};
    WindowHandle frame = 0;

    std::string prompt = kIdle;
    std::vector<std::string> history{"コマンド:"};
    // The CAD program's defaults for a drawing in millimetres with running snaps on.
    std::map<std::string, std::string> variables{{"LASTPOINT", "0.0000,0.0000,0.0000"},
                                                 {"FILEDIA", "1"},
                                                 {"HPBOUND", "1"},
                                                 {"LUNITS", "2"},
                                                 {"LUPREC", "4"},
                                                 {"UNITMODE", "0"},
                                                 {"OSMODE", "4133"}};
    // UNDOCTL, read-only: undo on, auto, combined zoom, and the group bit while one is open.
    std::string UndoControl() const { return std::to_string(undoAll ? 21 + (groupOpen ? 8 : 0) : 4); }
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
    std::vector<std::u16string> records;     // what the frame received, as it received it
    bool undoAll = true;                     // the user's undo control: All, or None (no Begin offered)
    std::set<std::string> unknownVariables;  // an older CAD program or a peer without them
    bool groupOpen = false;
    int groupsBegun = 0;
    int groupsTakenBack = 0;

    void SetUp() override {
        const WindowHandle text = desktop.AddTopLevel("AutoCAD テキスト ウィンドウ", kAfxText, 7);
        frame = desktop.AddTopLevel("AutoCAD 2024", kAfxFrame, 7);
        desktop.AddChild(frame, "MountTam", "H");
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
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            const std::u16string record = it->substr(std::min(it->find_first_not_of(u'\x03'), it->size()));
            if (A(record) == input)
                return record;
        }
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
        if (exactCentroid) {
            pendingReport = Printed(exactCentroid->first) + "," + Printed(exactCentroid->second);
            pendingArea = Printed(exactArea);
        }
        const std::size_t comma = pendingReport.find(',');
        host.WriteFile(reportTarget, !unrecognisedReport.empty()
                                         ? unrecognisedReport
                                         : Report(pendingReport.substr(0, comma), pendingReport.substr(comma + 1),
                                                  measured, pendingArea));
        prompt = kIdle;
    }

    void WriteOrAskToReplace() {
        if (host.files.count(reportTarget))
            prompt = "ファイルは既に存在します。置き換えますか? <N>: ";
        else
            WriteReport();
    }

    bool SnapsOn() {
        const int mode = std::stoi(variables["OSMODE"]);
        return mode != 0 && (mode & 16384) == 0;
    }
    bool typedSnaps = false;  // input by message is taken as a script's (OSNAPCOORD 2)
    // The exact centroid and area of what the next report measures, printed as the drawing's units
    // say: decimal at LUPREC places, or feet and inches, which are no number.
    std::optional<std::pair<double, double>> exactCentroid;
    double exactArea = 0;
    std::string Printed(double value) {
        if (variables["LUNITS"] != "2")
            return std::to_string(static_cast<int>(value) / 12) + "'-" + std::to_string(static_cast<int>(value) % 12) +
                   "\"";
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", std::stoi(variables["LUPREC"]), value);
        return text;
    }

    void Boundary(const std::string& at) {
        const double x = std::stod(at), y = std::stod(at.substr(at.find(',') + 1));
        if (typedSnaps && SnapsOn())
            return;  // snapped onto an edge: no area around it
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
        typed.push_back(text);
        late = late || (!lateFrom.empty() && text.rfind(lateFrom, 0) == 0);
        if (lateness != Lateness::None)
            Queue(text);
        else if (late)
            pending.push_back(text);
        else
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
            if (name == "UNDOCTL" && !unknownVariables.count(name))
                history.push_back("UNDOCTL = " + UndoControl() + " (読み込み専用)");
            else if (!variables.count(name) || unknownVariables.count(name))
                history.push_back("変数名が不明です。");
            else
                prompt = name + " の新しい値を入力 <" + variables[name] + ">: ";
        } else if (const std::size_t blank = input.find(' ');
                   blank != std::string::npos && variables.count(input.substr(0, blank)) && input.back() == '\r') {
            const std::string name = input.substr(0, blank);
            variables[name] = input.substr(blank + 1, input.size() - blank - 2);
            if (name == "FILEDIA")
                variables[name] = variables[name].substr(0, 1);
        } else if (input.rfind("-BOUNDARY ", 0) == 0) {
            Boundary(input.substr(10));
        } else if (input == "_region L \r") {
            // The last closed object becomes a region; the host removes its source.
            if (!objects.empty() && objects.back().kind != Kind::Region)
                objects.back().kind = Kind::Region;
        } else if (input.rfind("CIRCLE ", 0) == 0) {
            // Input taken as a script's snaps too: the centre goes onto the nearest endpoint.
            circles.push_back(typedSnaps && SnapsOn()
                                  ? "0.0000,0.0000" +
                                        input.substr(input.find(' ', 7), input.size() - input.find(' ', 7) - 1)
                                  : input.substr(7, input.size() - 8));
            const double x = std::stod(input.substr(7)), y = std::stod(input.substr(input.find(',') + 1));
            objects.push_back({Kind::Circle, {x - 50, y - 50, x + 50, y + 50}});
        } else if (input.rfind("_massprop LAST \rY\r", 0) == 0) {
            const std::u16string record = Received(input);
            Unquoted(input.substr(18, input.size() - 19));
            reportTarget = Resolved(record.substr(18, record.size() - 19)) + u".mpr";
            if (ignoreMassprop || objects.empty() || objects.back().kind != Kind::Region) {
                if (ignoreMassprop)
                    return;
                // Nothing to measure: the command ends, and its answers reach the idle command line.
                history.push_back("リージョンまたはソリッドが選択されていません。");
                history.push_back("不明なコマンド \"Y\" です。");
                history.push_back("不明なコマンド \"" + input.substr(18, input.size() - 19) + "\" です。");
                return;
            }
            measured = objects.back().box;
            WriteOrAskToReplace();
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
            WriteOrAskToReplace();
        }
    }

    // The user's side, called at each poll.
    void PickAt(const std::string& x, const std::string& y) {
        host.onPoll = [this, x, y] {
            if (prompt != "点を指定: ")
                return;
            // A running snap moves a pick near the area's left edge onto its midpoint.
            const std::string at = SnapsOn() ? "0.0000" : x;
            history.push_back("点を指定:  X = " + at + "     Y = " + y + "     Z = 0.0000");
            variables["LASTPOINT"] = at + "," + y + ",0.0000";
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

    // The drawing, the files and the CAD program as a test starts with them, for the next case.
    void Fresh() {
        typed.clear();
        records.clear();
        circles.clear();
        objects.clear();
        host.files.clear();
        host.areas.clear();
        host.minimizeCalls = 0;
        variables["FILEDIA"] = variables["HPBOUND"] = "1";
        variables["LUNITS"] = "2";
        variables["LUPREC"] = "4";
        variables["UNITMODE"] = "0";
        variables["OSMODE"] = "4133";
        prompt = kIdle;
        pendingReport = "30.0000,35.0000";
        ignoreMassprop = false;
    }
    // The user picks inside the area or selects regions at every selection prompt.
    void UserActs(bool faceCentre) { faceCentre ? PickAt("10.0000", "20.0000") : SelectRegions(); }
    app::RunOutcome RunIn(bool faceCentre) { return faceCentre ? FaceCentre() : Region(); }
    // What every run leaves: the user's settings back, the CAD program idle, the window back.
    void ExpectLeftAsItWas(const std::string& fileDialogs = "1") {
        EXPECT_EQ(variables["FILEDIA"], fileDialogs);
        EXPECT_EQ(variables["HPBOUND"], "1");
        EXPECT_EQ(variables["LUPREC"], "4");
        EXPECT_EQ(variables["OSMODE"], "4133");
        EXPECT_EQ(prompt, kIdle);
        EXPECT_FALSE(host.minimized);
        EXPECT_FALSE(workflows.Running());
    }

    // A run as the window's message loop drives it: each wake-up moves the clock, the host and
    // the user act.
    app::RunOutcome Run(app::RunMode mode, const app::RunTrigger& trigger = {}) {
        return Run(workflows, mode, trigger);
    }
    app::RunOutcome Run(app::CentroidWorkflows& workflows, app::RunMode mode, const app::RunTrigger& trigger = {}) {
        if (!workflows.Start(Request(mode, trigger)))
            return workflows.Outcome();
        while (const std::optional<app::Wake> wake = workflows.Step()) {
            ++host.polls;
            host.now += wake->afterMs;
            if (host.beforePoll)
                host.beforePoll();
            if (host.onPoll)
                host.onPoll();
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
    EXPECT_EQ(typed, Seq({{kBegin, kUndoControl, "_BEgin\r"},
                          kAsked,
                          kSet,
                          {"\x03ID ", "'SETVAR LASTPOINT\r", "\x03", "'SETVAR HPBOUND\r", "\x03", "\003HPBOUND 0\r",
                           "'SETVAR FILEDIA\r", "\x03", "\003FILEDIA 0\r", "\x03-BOUNDARY 10.0000,20.0000 \r",
                           "\x03_massprop LAST \rY\r" + A(paths.ReportStem()) + "\r", "\003CIRCLE 30.0000,35.0000 50\r",
                           "\003FILEDIA 1\r", "\003HPBOUND 1\r"},
                          kPutBack,
                          {kEnd}}));
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
    EXPECT_EQ(host.areas, Expected({"", "1234.5678"}));
    EXPECT_EQ(host.perimeters, Expected({"", "140.0000"}));
    EXPECT_EQ(host.hints, Expected({"計算したい面の内側をクリック"}));
    EXPECT_EQ(host.minimizeCalls, 1);
    ExpectLeftAsItWas();
}

// A face-centre run that cannot draw its circle puts back what it changed and types nothing more:
// no region is made from a point that is no point, no circle comes from a report this run did not
// write, a report that cannot be read ends the run with its file error, and a history read cut
// short by another program's hold ends it without a word.
TEST_F(WorkflowTest, FaceCentreRunWithoutACircleLeavesEverythingAsItWas) {
    enum Trouble { Esc, Point, OldReport, Unreadable, HistoryHeld };
    const struct {
        Trouble trouble;
        const char* point;  // LASTPOINT after the pick
        app::RunEnd end;
    } cases[] = {
        {Esc, "", app::RunEnd::Finished},          {Point, "", app::RunEnd::Finished},
        {Point, "12.5", app::RunEnd::Finished},    {Point, ",5,0", app::RunEnd::Finished},
        {Point, "1 2,3,0", app::RunEnd::Finished}, {OldReport, "", app::RunEnd::Finished},
        {Unreadable, "", app::RunEnd::Error},      {HistoryHeld, "", app::RunEnd::Aborted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.trouble) + " " + c.point);
        Fresh();
        if (c.trouble == OldReport) {
            PickAt("10.0000", "20.0000");
            FaceCentre();
            circles.clear();
            ignoreMassprop = true;  // the host does not write this time: the old report is still there
        }
        host.reportRefused = c.trouble == Unreadable ? u"I/O エラー (32)" : u"";
        host.onPoll = [&, this] {
            if (prompt != "点を指定: ")
                return;
            if (c.trouble == Esc)
                return Type("\x03");
            desktop.SetClipboardHeldElsewhere(c.trouble == HistoryHeld);
            history.push_back("点を指定:  X = 10.0000     Y = 20.0000     Z = 0.0000");
            variables["LASTPOINT"] = c.trouble == Point ? c.point : "10.0000,20.0000,0.0000";
            prompt = kIdle;
        };
        const app::RunOutcome outcome = FaceCentre();
        desktop.SetClipboardHeldElsewhere(false);
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.error, c.trouble == Unreadable ? u"I/O エラー (32)" : u"");
        EXPECT_TRUE(circles.empty());
        for (const std::string& t : typed)
            EXPECT_EQ(t.find("_region"), std::string::npos);
        if (c.trouble == Esc) {  // the fourth is the user's Esc
            EXPECT_EQ(
                typed,
                Seq({{kBegin, kUndoControl, "_BEgin\r"}, kAsked, kSet, {"\x03ID ", "\x03"}, kPutBack, {kEndBack}}));
        }
        ExpectLeftAsItWas();
    }
}

TEST_F(WorkflowTest, NothingHappensWithoutCadOrPrompt) {
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

TEST_F(WorkflowTest, PointWithBlanksAfterTheCommasGivesTheSameItems) {
    std::u16string point = u" 12.5, 40, 0 ";
    EXPECT_EQ(app::SplitFirst(point), u"12.5");
    EXPECT_EQ(app::SplitFirst(point), u"40");
    EXPECT_EQ(app::SplitFirst(point), u"0");
    EXPECT_EQ(point, u"");
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
    ExpectLeftAsItWas();
}

TEST_F(WorkflowTest, RegionOnceAnswersTheQuestionsAndDrawsOneCircle) {
    SelectRegions();
    host.size = "30 ";
    Region();
    EXPECT_EQ(typed, Seq({{kBegin, kUndoControl, "_BEgin\r"},
                          kAsked,
                          kSet,
                          {"'SETVAR FILEDIA\r", "\x03", "\003\003FILEDIA 0\r", "\x03_massprop\r", "Y\r",
                           A(paths.ReportPath()) + "\r", "\003FILEDIA 1\r", "\003CIRCLE 10.0000,15.0000 30\r"},
                          kPutBack,
                          {kEnd}}));
    EXPECT_EQ(host.areas, Expected({"", "1234.57"}));
    EXPECT_EQ(host.perimeters, Expected({"", "140.00"}));
    EXPECT_EQ(host.hints, Expected({"基データを選択"}));
    ExpectLeftAsItWas();
    host.polls = 0;
    Region();  // the second pass meets the replace question too, answered within its one poll
    EXPECT_EQ(circles.size(), 2u);
    EXPECT_EQ(host.polls, 1);

    // A host that takes its input a poll late gets each answer once. It shows no value when it is
    // asked: the setting goes back to the CAD program's default.
    late = true;
    host.beforePoll = [this] { HandleLate(); };
    typed.clear();
    Region();
    HandleLate();  // what the host still had to do when the run ended
    EXPECT_EQ(typed, Seq({{kBegin, kUndoControl, "_BEgin\r"},
                          kAsked,
                          kSet,
                          {"'SETVAR FILEDIA\r", "\003\003FILEDIA 0\r", "\x03_massprop\r", "Y\r",
                           A(paths.ReportPath()) + "\r", "Y\r", "\003FILEDIA 1\r", "\003CIRCLE 30.0000,35.0000 30\r"},
                          kPutBack,
                          {kEnd}}));
    ExpectLeftAsItWas();

    // The report has a full stop whatever the user's decimal symbol; the labels show the user's.
    late = false;
    host.decimal = u',';
    Region();
    EXPECT_EQ(circles.back(), "40.0000,45.0000 30");
    EXPECT_EQ(host.areas.back() + " " + host.perimeters.back(), "1234,57 140,00");
}

// A continuous region run ends when the box is unchecked (the pass then running still ends), when
// no centroid comes, before the circle of a size that became one that would type more than a radius,
// and at once when the user cancels the third selection inside the send that asked for it: the
// history, looked at against the line the pass before read, shows the cancel; no late host is awaited.
TEST_F(WorkflowTest, ContinuousRegionRunEndsWhenItCannotGoOn) {
    enum Change { Unchecked, NoCentroid, UntypeableSize, CancelledInTheSend };
    const struct {
        Change change;
        app::RunEnd end;
        std::size_t circles;
    } cases[] = {{Unchecked, app::RunEnd::Finished, 2},
                 {NoCentroid, app::RunEnd::Finished, 0},
                 {UntypeableSize, app::RunEnd::Error, 1},
                 {CancelledInTheSend, app::RunEnd::Finished, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        Fresh();
        host.continuous = true;
        host.size = "50";
        int selections = 0;
        desktop.SetCopyDataHandler(frame, [&](const ReceivedMessage& m) {
            const std::string text = Decode(m);
            Type(text);
            if (c.change == CancelledInTheSend && text == "\x03_massprop\r" && ++selections == 3)
                Type("\x03");
        });
        SelectRegions();
        host.onPoll = [&, select = host.onPoll] {
            select();
            if (c.change == NoCentroid)
                pendingReport = ",";
            if (circles.size() == 1 && c.change == Unchecked)
                host.continuous = false;
            if (circles.size() == 1 && c.change == UntypeableSize)
                host.size = "5 ERASE ALL";
        };
        EXPECT_EQ(Region().end, c.end);
        const std::vector<std::string> all{"10.0000,15.0000 50", "20.0000,25.0000 50"};
        EXPECT_EQ(circles, std::vector<std::string>(all.begin(), all.begin() + c.circles));
        for (const std::string& t : typed)
            EXPECT_EQ(t.find("ERASE"), std::string::npos);
        EXPECT_LT(host.now, app::kLateHostMs);
        ExpectLeftAsItWas();
    }
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
        Fresh();
        if (!c.hostTellsBoundaryKind)
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

// The report's folder as each frame is given it: a Unicode frame the folder itself, an ANSI frame
// its code page bytes or its short form, and never a look-alike: without a short form the run does
// not start and says which folder. A folder with a blank (a Windows user name with one) goes in double
// quotes, since the host would end the input at the blank. The longest command of each mode carries
// the report path (face-centre mode the stem in "_massprop", region mode the path at the file-name
// question), and one record holds 255 characters: a longer one stops the run before anything is typed.
TEST_F(WorkflowTest, WorkFolderGoesAsTheFrameCanTakeItOrTheRunDoesNotStart) {
    const std::u16string jose = u"C:\\users\\Jos\u00e9\\AppData\\Roaming\\Halvetra\\";
    const std::u16string ono = u"C:\\users\\大野\\AppData\\Roaming\\Halvetra\\";
    const std::u16string brief = u"C:\\users\\JOSE~1\\AppData\\Roaming\\Halvetra\\";
    const std::u16string spaced = u"C:\\Users\\Taro Yamada\\AppData\\Roaming\\Halvetra\\";
    const auto longFolder = [](std::size_t length) {
        return W("C:\\" + std::string(length - 13, 'u') + "\\Halvetra\\");
    };
    const std::u16string notPassed = u" の名前を CAD プログラムに渡せません", tooLong = u" のパスが長すぎます";
    enum Refused { No, InFaceCentre, InBoth };
    const struct {
        std::u16string folder;
        bool unicodeFrame;
        std::u16string shortForm;    // empty: the file system keeps none
        std::u16string typedFolder;  // empty: the folder as it is
        Refused refused;
        std::u16string refusal;
    } cases[] = {
        {ono, false, u"", u"", No, u""},
        {jose, true, u"", u"", No, u""},
        {jose, false, brief, brief, No, u""},
        {jose, false, u"", u"", InBoth, notPassed},
        {jose, false, jose, u"", InBoth, notPassed},  // short names switched off
        {spaced, false, u"", u"\"" + spaced, No, u""},
        {longFolder(223), false, u"", u"", No, u""},
        {longFolder(224), false, u"", u"", InFaceCentre, tooLong},
        {longFolder(238), false, u"", u"", InFaceCentre, tooLong},
        {longFolder(239), false, u"", u"", InBoth, tooLong},
    };
    for (const auto& c : cases) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(A(c.folder) + (c.unicodeFrame ? " unicode" : " ansi") + " short " + A(c.shortForm) +
                         (faceCentre ? " face centre" : " region"));
            const bool refused = c.refused == InBoth || (c.refused == InFaceCentre && faceCentre);
            desktop.SetUnicode(frame, c.unicodeFrame);
            host.shortForms.clear();
            if (!c.shortForm.empty())
                host.shortForms[c.folder] = c.shortForm;
            const app::RunPaths folderPaths{c.folder, "261207101500"};
            app::CentroidWorkflows other{link, desktop, host, folderPaths};
            Fresh();
            UserActs(faceCentre);
            const app::RunOutcome outcome = Run(other, faceCentre ? app::RunMode::FaceCentre : app::RunMode::Region);
            EXPECT_EQ(outcome.end, refused ? app::RunEnd::Error : app::RunEnd::Finished);
            EXPECT_EQ(outcome.error, refused ? u"作業フォルダ " + c.folder + c.refusal : u"");
            EXPECT_EQ(records.empty(), refused);
            EXPECT_EQ(host.minimizeCalls, refused ? 0 : 1);
            EXPECT_EQ(circles.size(), refused ? 0u : 1u);
            if (refused)
                continue;
            const std::u16string path = (c.typedFolder.empty() ? c.folder : c.typedFolder) + u"261207101500";
            EXPECT_NE(std::find_if(records.begin(), records.end(),
                                   [&](const std::u16string& r) {
                                       return r.find(path + (faceCentre ? u"" : u".mpr")) != std::u16string::npos;
                                   }),
                      records.end());
        }
    }
}

// A host that handles input inside the send asks to replace the report before the tool has waited:
// the question is answered at once, the new report is read, and a later run costs only the wait for
// the pick, or none when the user is quicker than the first look.
TEST_F(WorkflowTest, ReplaceQuestionSeenAtOnceIsAnsweredAtOnce) {
    PickAt("10.0000", "20.0000");
    FaceCentre();
    EXPECT_EQ(host.polls, 1);  // the pick; the new report is seen at the first look
    pendingReport = "31.5000,36.5000";
    host.polls = 0;
    typed.clear();
    FaceCentre();
    EXPECT_EQ(host.polls, 1);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "Y\r"), 1);
    ASSERT_GE(typed.size(), 5u);
    EXPECT_EQ(typed[typed.size() - 7], "Y\r");
    // The pick is over before its prompt was ever seen: the history shows it.
    desktop.SetCopyDataHandler(frame, [this, pick = host.onPoll](const ReceivedMessage& m) {
        Type(Decode(m));
        pick();
    });
    host.polls = 0;
    pendingReport = "32.5000,37.5000";
    FaceCentre();
    EXPECT_EQ(host.polls, 0);
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50", "31.5000,36.5000 50", "32.5000,37.5000 50"}));
}

// The CAD program stops answering for six seconds right after its k-th answer, for every k of a
// run, also inside its handling of a record (the send gets no answer, the record is taken): whatever
// wait or step it meets, the run waits for it, goes on, types nothing twice, reads every value it
// asked for and draws its one circle with its one row; the user's settings come back.
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
            Fresh();
            UserActs(faceCentre);
            host.onPoll = [&, act = host.onPoll] {
                if (busyUntil && host.now >= busyUntil) {
                    desktop.SetProcessFrozen(7, false);
                    busyUntil = 0;
                }
                if (!busyUntil)
                    act();
            };
            const std::size_t rows = host.rows.size();
            const app::RunOutcome outcome = RunIn(faceCentre);
            EXPECT_EQ(host.rows.size(), rows + 1);  // one row for the one circle
            desktop.SetProcessFrozen(7, false);     // a group still open once the CAD answers is ended then
            busyUntil = 0;
            workflows.TakeUpPutBack();
            EXPECT_FALSE(groupOpen);
            EXPECT_EQ(outcome.end, app::RunEnd::Finished);
            EXPECT_EQ(circles, Expected({faceCentre ? "30.0000,35.0000 50" : "10.0000,15.0000 50"}));
            ExpectLeftAsItWas();
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
        Fresh();
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
        ExpectLeftAsItWas();
    }
}

// A host that has not handled the measuring commands yet still shows its idle prompt right after
// they are typed: that is not the end of the wait, in a first run (new report) or a later one; nor
// is the old report there the new one while the answer to the replace question waits.
TEST_F(WorkflowTest, IdlePromptSeenAtOnceIsNotTakenAsTheEndWithALateHost) {
    const struct {
        const char* lateFrom;  // the host turns late from the record that begins with this on
        bool reportExists;
    } cases[] = {{"\003FILEDIA 0", false}, {"\003FILEDIA 0", true}, {"Y\r", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.reportExists ? "later run, late from " : "first run, late from ") + c.lateFrom);
        Fresh();
        if (c.reportExists)
            host.WriteFile(paths.ReportPath(), Report("1.0000", "2.0000"));
        late = false;
        lateFrom = c.lateFrom;
        host.beforePoll = [this] { HandleLate(); };
        PickAt("10.0000", "20.0000");
        FaceCentre();
        HandleLate();
        EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
        EXPECT_EQ(std::count(typed.begin(), typed.end(), "Y\r"), c.reportExists ? 1 : 0);
        ExpectLeftAsItWas();
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
    ExpectLeftAsItWas();
}

// A continuous region run goes on until Esc; each pass is an undo group of its own, ended after its
// circle, and the last one, ended by Esc, is taken back. Every history read copies the CAD program's
// whole history through the clipboard: the first pass takes its baseline before it starts, each later
// one starts from what the pass before it read. Every circle typed is one results row.
TEST_F(WorkflowTest, ContinuousRegionRunGoesOnUntilEscWithOneRowPerCircle) {
    SelectRegions(3);
    host.continuous = true;
    host.size = "30 ";
    desktop.ClearMessages();
    Region();
    EXPECT_EQ(circles, Expected({"10.0000,15.0000 30", "20.0000,25.0000 30"}));
    EXPECT_EQ(std::count(typed.begin(), typed.end(), "_BEgin\r"), 3);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), kEnd), 2);
    ASSERT_GE(typed.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(typed.end() - 4, typed.end()), Seq({{"\003FILEDIA 1\r"}, kPutBack, {kEndBack}}));
    // Each pass's group holds the settings and their put-back: a U of any pass leaves them as the user's.
    EXPECT_EQ(std::count(typed.begin(), typed.end(), kSet[0]), 3);
    EXPECT_EQ(std::count(typed.begin(), typed.end(), kPutBack[1]), 3);
    ExpectLeftAsItWas();
    EXPECT_EQ(host.hints.size(), 3u);
    int copies = 0;
    for (const ReceivedMessage& m : desktop.Messages())
        if (m.message == platform::kWmCommand && m.wParam == cadlink::kCopyHistoryCommand)
            ++copies;
    // Three passes, the last one ended by Esc; UNDOCTL's value, which the history shows (asked in
    // the first pass), and the line before the first query, which tells whether the host takes
    // input inside the send.
    EXPECT_EQ(copies, 3 + 1 + 2);
    ASSERT_EQ(host.rows.size(), 2u);
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

// Sizes the CAD program would not take as a radius (it would stay asking for one), and sizes that hold
// a blank or a control character, which would type what follows as commands: refused before anything
// is typed. Blanks and control characters around the size are no part of it.
TEST_F(WorkflowTest, SizesTheCadRefusesAreRefusedBeforeAnythingIsTyped) {
    enum Said { Taken, NotANumber, NotPositive, Missing };
    const struct {
        std::string size;
        Said said;
    } cases[] = {
        {"abc", NotANumber},
        {"D", NotANumber},
        {"５", NotANumber},
        {"1e999", NotANumber},
        {"1e12", NotANumber},
        {"nan", NotANumber},
        {"12,5", NotANumber},
        {"   ", NotANumber},
        {"5 ERASE ALL", NotANumber},
        {"5\t0", NotANumber},
        {"5\x7f", NotANumber},
        {"5\r0", NotANumber},
        {std::string(300, '9'), NotANumber},  // a number, but far beyond what the CAD program takes
        {"0", NotPositive},
        {"-0", NotPositive},
        {"-5", NotPositive},
        {"", Missing},
        {"0.5", Taken},
        {"2e1", Taken},
        {"5\t", Taken},
        {"\t5", Taken},
        {" 30 ", Taken},
    };
    for (const auto& c : cases) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(c.size + (faceCentre ? " face centre" : " region"));
            typed.clear();
            host.messages.clear();
            host.size = c.size;
            host.minimizeCalls = 0;
            host.onPoll = [this] { Type("\x03"); };  // a run that starts is cancelled at once
            const app::RunOutcome outcome = faceCentre ? FaceCentre() : Region();
            const std::string said = c.said == NotANumber ? "'" + c.size + "' は浮動小数点数ではありません"
                                     : c.said == NotPositive ? "'" + c.size + "' は正の数ではありません"
                                                             : "";
            EXPECT_EQ(A(outcome.error), said);
            EXPECT_EQ(host.messages, c.said == Missing ? Expected({"円の大きさが入力されていません"}) : Expected({}));
            EXPECT_EQ(outcome.end, c.said == Taken || c.said == Missing ? app::RunEnd::Finished : app::RunEnd::Error);
            EXPECT_EQ(typed.empty(), c.said != Taken);
            EXPECT_EQ(host.minimizeCalls, c.said == Taken ? 1 : 0);
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
        const char* shown;  // in face-centre mode, at the user's four places
    };
    for (const Case c :
         {Case{"NaN,NaN", "NaN", false, ""}, Case{"inf,-inf", "inf", false, ""},
          Case{"1e308,1.0000", "1e308", false, ""}, Case{"30.0000,", "12.5", false, "12.5000"},
          Case{"-0,-0", "-0", true, "0.0000"}, Case{"30.0000,35.0000", "1.#INF", true, ""},
          Case{"30.0 ERASE ALL,35.0", "12.5", false, "12.5000"}, Case{"30.0,3\r5", "12.5", false, "12.5000"}}) {
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(std::string(c.centroid) + (faceCentre ? " face centre" : " region"));
            Fresh();
            pendingReport = c.centroid;
            pendingArea = c.area;
            bool refused = false;
            if (faceCentre) {
                PickAt("10.0000", "20.0000");
                FaceCentre();  // face-centre mode shows only numbers: no conversion error
                ASSERT_EQ(host.areas.size(), 2u);
                EXPECT_EQ(host.areas.back(), c.shown);
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
            ExpectLeftAsItWas();
        }
    }
}

// A run that reads no values (here a report in a layout the tool does not know) must not leave the
// last run's values on the labels, where they would look like this run's.
TEST_F(WorkflowTest, RunClearsTheLabelsWhenItStarts) {
    for (const bool faceCentre : {true, false}) {
        SCOPED_TRACE(faceCentre ? "face centre" : "region");
        unrecognisedReport.clear();
        UserActs(faceCentre);
        RunIn(faceCentre);
        ASSERT_FALSE(host.areas.back().empty());
        ASSERT_FALSE(host.perimeters.back().empty());
        unrecognisedReport = "Area = 12\r\nPerimeter = 3\r\n";
        RunIn(faceCentre);
        EXPECT_EQ(host.areas.back(), "");
        EXPECT_EQ(host.perimeters.back(), "");
    }
}

}  // namespace

namespace {

// Every host behaviour a wait meets, in both workflows: the right circle or none, never one from an
// older report; FILEDIA and HPBOUND as they were; the host left idle. A late host shows its idle
// prompt between the records and between the parts of one (after its leading Ctrl+C): a wait that
// took that for the end would lose the late region pass and ask for the point before the pick.
TEST_F(WorkflowTest, EveryHostBehaviourGetsTheRightCircleOrNoneAndIsLeftAsItWas) {
    enum class Trouble { None, Closed, Flicker, SlowReads, SecondsLate };
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
        {"all input taken 3 s late", Lateness::None, 0, Trouble::SecondsLate},
        {"closed while waiting", Lateness::None, 0, Trouble::Closed},  // last: the CAD program is gone
    };
    const WindowHandle promptWindow = link.Discovery().FindPromptWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        parts.clear();
        MakeLatePer(c.lateness, c.delayMs);
        late = false;
        if (c.trouble == Trouble::SecondsLate)
            MakeLate(3000);
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
        // The window closes while the user has the prompt; the user acts a look later.
        const bool ends = c.trouble == Trouble::Closed;
        bool closed = false;
        SelectRegions();
        host.onPoll = [&, select = host.onPoll] {
            if (ends && !closed && prompt == "オブジェクトを選択: ") {
                closed = true;
                desktop.Destroy(frame);
                return;
            }
            select();
        };
        Region();
        HandleLate();
        EXPECT_EQ(circles, ends ? Expected({}) : Expected({"10.0000,15.0000 50"}));
        EXPECT_EQ(std::count(typed.begin(), typed.end(), "Y\r"), ends ? 0 : 1);  // each answer once
        EXPECT_EQ(prompt == kIdle, !ends);
        EXPECT_FALSE(host.minimized);
        EXPECT_FALSE(workflows.Running());
        if (ends)
            continue;  // nothing is left to type to

        flickered = false;
        circles.clear();
        typed.clear();
        std::size_t typedAtPick = 0;
        pendingReport = "30.0000,35.0000";
        PickAt("10.0000", "20.0000");
        host.onPoll = [&, pick = host.onPoll] {
            if (prompt != "点を指定: ")
                return;
            typedAtPick = typed.size();
            pick();
        };
        FaceCentre();
        HandleLate();
        EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
        // The point was asked for only after the user had picked.
        ASSERT_GT(typedAtPick, 0u);
        const auto query = std::find(typed.begin(), typed.end(), "'SETVAR LASTPOINT\r");
        ASSERT_NE(query, typed.end());
        EXPECT_GE(static_cast<std::size_t>(query - typed.begin()), typedAtPick);
        ExpectLeftAsItWas();
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

}  // namespace

namespace {

// Every way a run ends, at each step it can end at, with the user's FILEDIA of 0 or 1: FILEDIA and
// HPBOUND as the user had them, the user's clipboard back, no object of the drawing changed, the CAD
// program idle and the window back. A run that ends inside its own command ends it with one Ctrl+C,
// so that the user's next click in the drawing is no pick. At a session end the settings are back
// before the window's handler returns: the process may be ended then, before the run can unwind.
TEST_F(WorkflowTest, EveryWayARunEndsAtEveryStepLeavesTheUsersSettingsAndDrawing) {
    enum class At { Settling, UndoTyped, UndoPrompt, Pick, Report, Selection };
    struct Case {
        const char* name;
        At at;
        app::RunEnd why;
        std::vector<std::string> lastTyped;  // with the user's FILEDIA 1 and a prompt host
    };
    const std::string fileDialogsOn = "\003FILEDIA 1\r";
    const Case cases[] = {
        {"Close while the click settles", At::Settling, app::RunEnd::Close, {}},
        {"Close before a late host takes UNDO", At::UndoTyped, app::RunEnd::Close, {}},
        {"Close at UNDO's prompt", At::UndoPrompt, app::RunEnd::Close, {}},
        {"Close at the pick", At::Pick, app::RunEnd::Close, Seq({kSet, {"\x03ID "}, kPutBack, {kEndBack}})},
        {"session end at the pick", At::Pick, app::RunEnd::SessionEnd, Seq({{"\x03ID "}, kPutBack, {kEndBack}})},
        {"Close at the report", At::Report, app::RunEnd::Close, {}},
        {"session end at the report", At::Report, app::RunEnd::SessionEnd, {}},
        {"CAD gone at the report", At::Report, app::RunEnd::CadGone, {}},
        {"Close at the selection", At::Selection, app::RunEnd::Close, Seq({{fileDialogsOn}, kPutBack, {kEndBack}})},
        {"session end at the selection", At::Selection, app::RunEnd::SessionEnd,
         Seq({{fileDialogsOn}, kPutBack, {kEndBack}})},
        {"time limit at the pick", At::Pick, app::RunEnd::TimeLimit, Seq({{"\x03ID "}, kPutBack, {kEndBack}})},
        {"time limit at the selection", At::Selection, app::RunEnd::TimeLimit,
         Seq({{fileDialogsOn}, kPutBack, {kEndBack}})},
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
            Fresh();
            if (lateHost)
                MakeLate(3000);
            variables["FILEDIA"] = userFileDialogs;
            objects = {{Kind::Polyline, {100, 100, 110, 110}}};
            ignoreMassprop = c.at == At::Report;  // the report wait goes on until the run is ended
            desktop.OpenClipboard();
            desktop.EmptyClipboard();
            desktop.SetClipboardData(platform::kCfText, std::string("the user's text") + '\0');
            desktop.CloseClipboard();
            const bool faceCentre = c.at != At::Selection;
            const bool limit = c.why == app::RunEnd::TimeLimit;
            if (faceCentre)
                PickAt("10.0000", "20.0000");
            std::optional<std::size_t> typedAtSessionEnd;
            host.onPoll = [&, this, pick = host.onPoll] {
                const bool there = c.at == At::Settling     ? true
                                   : c.at == At::UndoTyped  ? !typed.empty() && typed.back() == kBegin
                                   : c.at == At::UndoPrompt ? app::IsUndoPrompt(W(prompt))
                                   : c.at == At::Pick       ? prompt == "点を指定: "
                                   : c.at == At::Report     ? variables["FILEDIA"] == "0" && variables["HPBOUND"] == "0"
                                                            : prompt == "オブジェクトを選択: ";
                if (there && !limit && workflows.Running()) {
                    workflows.Stop(c.why);
                    if (c.why == app::RunEnd::SessionEnd && !lateHost) {
                        EXPECT_EQ(variables["FILEDIA"], userFileDialogs);
                        EXPECT_EQ(variables["HPBOUND"], "1");
                        typedAtSessionEnd = typed.size();
                    }
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
            // Nothing more was typed as the run unwound.
            EXPECT_EQ(typed.size(), typedAtSessionEnd.value_or(typed.size()));
            if (*userFileDialogs == '1' && !lateHost) {
                ASSERT_GE(typed.size(), c.lastTyped.size());
                EXPECT_EQ(std::vector<std::string>(typed.end() - c.lastTyped.size(), typed.end()), c.lastTyped);
            }
            ExpectLeftAsItWas(userFileDialogs);
            EXPECT_EQ(desktop.ClipboardData(platform::kCfText), std::string("the user's text") + '\0');
            ASSERT_GE(objects.size(), 1u);  // a region the boundary made may stay; the user's object is untouched
            EXPECT_EQ(objects[0].kind, Kind::Polyline);
            EXPECT_TRUE(circles.empty());
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
        for (const bool faceCentre : {true, false}) {
            SCOPED_TRACE(std::string(answer) + (faceCentre ? " face centre" : " region"));
            variables["FILEDIA"] = answer;
            UserActs(faceCentre);
            RunIn(faceCentre);
            ExpectLeftAsItWas();
        }
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

// The session ends while the run types a command: what it changed goes back at once, and the rest of
// that step types nothing.
TEST_F(WorkflowTest, SessionEndInsideASendTypesNothingAfterThePutBack) {
    std::optional<std::size_t> typedAtEnd;
    desktop.SetCopyDataHandler(frame, [&](const ReceivedMessage& m) {
        Type(Decode(m));
        if (!typedAtEnd && typed.back() == "\x03-BOUNDARY 10.0000,20.0000 \r") {
            workflows.Stop(app::RunEnd::SessionEnd);
            typedAtEnd = typed.size();
            EXPECT_EQ(variables["FILEDIA"], "1");
            EXPECT_EQ(variables["HPBOUND"], "1");
        }
    });
    PickAt("10.0000", "20.0000");
    EXPECT_EQ(FaceCentre().end, app::RunEnd::SessionEnd);
    ASSERT_TRUE(typedAtEnd);
    EXPECT_EQ(typed.size(), *typedAtEnd);
    EXPECT_TRUE(circles.empty());
    ExpectLeftAsItWas();
}

// Whatever the user's drawing holds, a run measures at full precision in decimal units with no
// running snap moving a point, joins the user's own undo group instead of splitting it, and leaves
// every setting as the user had it however it ends. A CAD program that does not answer a query, or
// answers a value the variable cannot hold, has that setting left alone.
TEST_F(WorkflowTest, UsersDrawingSettingsAreHeldForTheRunAndPutBackAtEveryEnd) {
    struct Drawing {
        const char* name;
        std::map<std::string, std::string> user;
        bool userGroup;
        std::set<std::string> unknown;
        std::vector<std::string> set;  // the records that change the drawing's settings, in order
        const char* circle;            // what CIRCLE gets, empty for none
        const char* shownArea;         // face-centre mode: at the user's own places
    };
    const char kAll[] = "1234.56789012";
    const char kExact[] = "30.12345679,35.98765432 50";
    const Drawing drawings[] = {
        {"defaults", {}, false, {}, kSet, kExact, "1234.5679"},
        {"whole units", {{"LUPREC", "0"}}, false, {}, {"\x03LUPREC 8\r", "\x03OSMODE 20517\r"}, kExact, "1235"},
        {"feet and inches",
         {{"LUNITS", "4"}, {"LUPREC", "3"}, {"UNITMODE", "1"}, {"OSMODE", "0"}},
         false,
         {},
         {"\x03LUNITS 2\r", "\x03LUPREC 8\r", "\x03UNITMODE 0\r"},
         kExact,
         "1234.568"},
        {"snaps already off", {{"LUPREC", "8"}, {"OSMODE", "16421"}}, false, {}, {}, kExact, kAll},
        {"the user's group open", {}, true, {}, kSet, kExact, "1234.5679"},
        // A CAD program without these variables (and without running snaps) is measured as before,
        // at the precision it prints; a unit the run cannot set back gives no number and no circle.
        {"an older CAD program",
         {{"OSMODE", "0"}},
         false,
         {"LUNITS", "LUPREC", "UNITMODE", "OSMODE", "UNDOCTL"},
         {},
         "30.1235,35.9877 50",
         "1234.5679"},
        {"values out of range", {{"LUPREC", "12"}, {"LUNITS", "7"}}, false, {}, {"\x03OSMODE 20517\r"}, "", ""},
    };
    enum class End { Circle, Esc, Close };
    for (const Drawing& d : drawings) {
        for (const bool faceCentre : {true, false}) {
            for (const End end : {End::Circle, End::Esc, End::Close}) {
                SCOPED_TRACE(std::string(d.name) + (faceCentre ? ", face centre" : ", region") + ", end " +
                             std::to_string(static_cast<int>(end)));
                Fresh();
                std::map<std::string, std::string> user = variables;
                for (const auto& [name, value] : d.user)
                    user[name] = variables[name] = value;
                unknownVariables = d.unknown;
                groupOpen = d.userGroup;
                groupsBegun = 0;
                typedSnaps = true;  // snaps act on typed points too, unless the run switched them off
                exactCentroid = {30.123456789012, 35.987654321098};
                exactArea = 1234.56789012;
                UserActs(faceCentre);
                host.onPoll = [this, faceCentre, end, act = host.onPoll] {
                    const bool asking = prompt == (faceCentre ? "点を指定: " : "オブジェクトを選択: ");
                    if (asking && end == End::Esc)
                        Type("\x03");
                    else if (asking && end == End::Close)
                        workflows.Stop(app::RunEnd::Close);
                    else
                        act();
                };
                RunIn(faceCentre);
                for (const auto& [name, value] : user) {
                    if (name != "LASTPOINT") {
                        EXPECT_EQ(variables[name], value) << name;
                    }
                }
                // The user's group is still open and was never ended or begun again; the run's own ended.
                EXPECT_EQ(groupOpen, d.userGroup);
                EXPECT_EQ(groupsBegun, d.userGroup ? 0 : 1);
                std::vector<std::string> set;
                for (const std::string& t : typed) {
                    const bool setting = t.size() > 1 && t[0] == '\x03' && t.find(' ') != std::string::npos &&
                                         user.count(t.substr(1, t.find(' ') - 1)) &&
                                         t.find("FILEDIA") == std::string::npos &&
                                         t.find("HPBOUND") == std::string::npos;
                    if (setting && set.size() < d.set.size())
                        set.push_back(t);
                }
                EXPECT_EQ(set, d.set);
                const bool drawn = end == End::Circle && *d.circle;
                EXPECT_EQ(circles, drawn ? Expected({d.circle}) : Expected({}));
                if (drawn) {
                    EXPECT_EQ(host.areas.back(), faceCentre ? d.shownArea : "1234.57");
                }
            }
        }
    }
}

// A pick in an area whose lines have a gap makes no boundary and nothing to measure: the user is
// told at once, nothing is drawn, and the next run measures as usual.
TEST_F(WorkflowTest, PickWithoutAClosedAreaIsToldAndTheNextRunGoesOn) {
    areas.clear();                                     // the lines around the pick do not meet
    objects = {{Kind::Circle, {100, 100, 110, 110}}};  // the user's last object is no region
    PickAt("10.0000", "20.0000");
    EXPECT_EQ(FaceCentre().end, app::RunEnd::Finished);
    EXPECT_EQ(host.noClosedArea, 1);
    EXPECT_TRUE(circles.empty());
    EXPECT_LT(host.now, 1000u);  // told from the history, not after a late host's time limit
    ExpectLeftAsItWas();
    // An older region is the last object: its report is not this pick's.
    objects.push_back({Kind::Region, {100, 100, 110, 110}});
    FaceCentre();
    EXPECT_EQ(host.noClosedArea, 2);
    EXPECT_TRUE(circles.empty());
    areas = {{0, 0, 60, 70}};
    FaceCentre();
    EXPECT_EQ(host.noClosedArea, 2);
    EXPECT_EQ(circles, Expected({"30.0000,35.0000 50"}));
    ExpectLeftAsItWas();
}

// A CAD program busy inside a put-back record takes it once: Esc at the pick takes the run's group
// back once (a second UNDO 1 would take back the user's own work), and Close while it is busy
// inside CIRCLE keeps the circle it then draws, with its row.
TEST_F(WorkflowTest, RecordTakenByABusyCadIsNeverTypedAgain) {
    for (const bool atCircle : {false, true}) {
        SCOPED_TRACE(atCircle ? "busy inside CIRCLE, then Close" : "busy inside the put-back after Esc");
        desktop.SetProcessFrozen(7, false);
        Fresh();
        groupsTakenBack = 0;
        const std::size_t rows = host.rows.size();
        desktop.SetCopyDataHandler(frame, [&](const ReceivedMessage& m) {
            Type(Decode(m));
            if (typed.back().rfind(atCircle ? "\x03CIRCLE" : kEndBack, 0) == 0)
                desktop.SetProcessFrozen(7, true);
        });
        if (atCircle) {
            PickAt("10.0000", "20.0000");
            host.onPoll = [&, pick = host.onPoll] {
                if (desktop.Messages().size() > 0 && !circles.empty() && workflows.Running())
                    workflows.Stop(app::RunEnd::Close);
                pick();
            };
        } else {
            PressEscAtPick();
        }
        FaceCentre();
        desktop.SetProcessFrozen(7, false);
        while (workflows.TakeUpPutBack()) {
        }
        EXPECT_EQ(std::count(typed.begin(), typed.end(), kEndBack), atCircle ? 0 : 1);
        EXPECT_EQ(groupsTakenBack, atCircle ? 0 : 1);
        EXPECT_EQ(circles.size(), atCircle ? 1u : 0u);
        EXPECT_EQ(host.rows.size(), rows + (atCircle ? 1 : 0));
        ExpectLeftAsItWas();
        desktop.SetCopyDataHandler(frame, [this](const ReceivedMessage& m) { Type(Decode(m)); });
    }
}
