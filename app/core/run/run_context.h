#pragma once
// What the steps of either mode use of a run: typing records of the run's own, the settings the
// run changes (held by its guard), the report, the circle and its row, and the events that tell
// the window what happened. One per run driver; each step of a mode sees it, nothing else.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "cadlink/cad_link.h"
#include "platform/command_line_system.h"
#include "report_reader.h"
#include "run/cad_guard.h"
#include "run/drawing_settings.h"
#include "run/run_types.h"
#include "run_paths.h"
#include "workflow_host.h"

namespace app {

// The CAD program's own words that the steps look for in its prompt and history.
inline constexpr char16_t kIdlePrompt[] = u"コマンド: ";
inline constexpr char16_t kCancelled[] = u"キャンセル";
inline constexpr char16_t kAskWrite[] = u"書き出しますか";
inline constexpr char16_t kAskReplace[] = u"置き換えますか";
inline constexpr char16_t kAskFileName[] = u"ファイル名を入力";
// Every command but a reply begins with Ctrl+C, so that whatever the CAD program still does ends first.
inline constexpr char16_t kCancel[] = u"\x03";
inline constexpr char16_t kYes[] = u"Y\r";

inline bool Contains(const std::u16string& text, const char16_t* part) {
    return text.find(part) != std::u16string::npos;
}
// A prompt other than the idle one: the command waited for has started.
bool ShowsCommand(const std::u16string& prompt);
// UNDO's own prompt: its main one offers Begin, its control question names the command.
bool IsUndoPrompt(const std::u16string& prompt);
// A cancel other than the one of a Ctrl+C typed at the idle prompt, which a late host prints
// between the parts of a record before it reaches the command.
bool IsCommandCancel(const std::u16string& line);
// Whether a history line shows that the user ended a command since baseline was the last line.
bool ShowsUserEnd(const std::u16string& line, const std::u16string& baseline);

// The first comma-separated item of a trimmed text; the text keeps what follows the comma.
std::u16string SplitFirst(std::u16string& text);
// True when a value read from the CAD program or its report can be typed back safely: nothing in
// it would end the input early or start another command.
bool IsTypeableValue(const std::u16string& value);
// A blank ends an input at the CAD command line except inside double quotes.
std::u16string QuotedIfBlank(const std::u16string& text);
// The records that name the report: face-centre mode measures the last object into the report
// stem, region mode answers the file-name question with the report path.
inline std::u16string MeasureLastRecord(const RunPaths& recordPaths) {
    return u"\x03_massprop LAST \rY\r" + QuotedIfBlank(recordPaths.ReportStem()) + u"\r";
}
inline std::u16string ReportNameRecord(const RunPaths& recordPaths) {
    return QuotedIfBlank(recordPaths.ReportPath()) + u"\r";
}

class RunContext {
public:
    RunContext(cadlink::CadLink& link, platform::CommandLineSystem& system, WorkflowHost& host, const RunPaths& paths)
        : link_(link), system_(system), host_(host), paths_(paths), guard_(link) {}
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    cadlink::CadLink& Link() { return link_; }
    WorkflowHost& Host() { return host_; }
    // The files as this machine names them.
    const RunPaths& Paths() const { return paths_; }
    // The same files as the CAD program's records name them (set when the run finds the CAD program).
    const RunPaths& RecordPaths() const { return recordPaths_; }
    void SetRecordPaths(RunPaths paths) { recordPaths_ = std::move(paths); }
    CadGuard& Guard() { return guard_; }
    const RunRequest& Request() const { return request_; }
    void Tell(const RunEvent& event) { host_.Tell(event); }

    // A new run; what the guard still holds of an earlier one stays.
    void Reset(const RunRequest& request);

    // Types a record of the run's own; false when it did not go out. A step taken up again after
    // a busy CAD program does not type again what its earlier try typed.
    bool Send(const std::u16string& text, cadlink::RecordWork work = cadlink::RecordWork::MayLast);
    bool SendBrief(const std::u16string& text) { return Send(text, cadlink::RecordWork::Brief); }
    // The next Send only counts a record that an earlier try of the step typed already.
    bool Replaying() const { return sentInStep_ < sentBeforePutOff_; }
    // Whether an ANSI frame's code page carries the text as it is.
    bool InCodePage(const std::u16string& text) { return system_.AnsiToWide(system_.WideToAnsi(text)) == text; }
    void BeginStep() { sentInStep_ = 0; }
    void StepPutOff() {
        sentBeforePutOff_ = sentInStep_;
        sentInStep_ = 0;
    }
    void StepDone() { sentInStep_ = sentBeforePutOff_ = 0; }
    // From now on nothing more is typed: the run is stopping.
    void RefuseSends(bool refuse) { refuseSends_ = refuse; }
    // When the run last typed or saw the prompt change.
    std::uint64_t LastChangeMs() const { return lastChangeMs_; }
    void NoteChange() { lastChangeMs_ = host_.NowMs(); }

    // The window goes out of the way while the CAD program asks the user; the run has asked.
    void Ask();
    bool Asked() const { return asked_; }
    // Gives the window back its normal state, once.
    void RestoreWindow();

    // The last look of a wait, and the last query: the variable and its value.
    const Look& LastLook() const { return lastLook_; }
    void SetLastLook(Look look) { lastLook_ = std::move(look); }
    const std::u16string& Queried() const { return queried_; }
    const std::u16string& QueriedName() const { return queriedName_; }
    void SetQueried(std::u16string name, std::u16string value) {
        queriedName_ = std::move(name);
        queried_ = std::move(value);
    }
    // Whether the CAD program takes typed input only after the send has returned, as far as the
    // run has seen; nothing until a query or a look told.
    std::optional<bool> HostLate() const { return hostLate_; }
    void SetHostLate(bool late) { hostLate_ = late; }

    // The user's drawing as the run found it, and the settings the run holds for its length.
    DrawingSettings& Drawing() { return drawing_; }
    // Takes the answer to the last query about the drawing; the next variable to ask about, or
    // nothing once all were asked. A step taken up again does not take an answer twice.
    std::optional<std::u16string> NextDrawingQuery() {
        drawing_.Answer(queriedName_, queried_);
        return drawing_.NextQuery();
    }
    // Whether the run has decided about its undo group (begun one, or joined the user's).
    bool GroupDecided() const { return groupDecided_; }
    void DecideGroup() { groupDecided_ = true; }
    // Sets what differs (the guard takes the user's values first); puts it back. Each undo group
    // of the run holds both, so that a U of any of them leaves the user's settings as they were.
    void ChangeDrawingSettings();
    void PutBackDrawingSettings();

    // The user's FILEDIA, as the run found it: only 0 and 1 are file-dialog settings, anything
    // else (or no answer) is taken as the CAD program's default, 1.
    void KeepUserFileDialogs(const std::u16string& value);
    bool FileDialogsKnown() const { return fileDialogsKnown_; }
    // Off: the guard takes the user's setting first. On: the guard puts it back.
    void SwitchFileDialogs(bool on, const char16_t* offRecord);

    // The run's commands go into one undo group, so that one U takes the run back. UNDO is typed
    // and its prompt read first: only a prompt that offers Begin is answered with it ("(BE)" is
    // the Begin option's key, shown so in every language of the CAD program). Under the user's
    // undo control None or One the prompt asks for a control option instead: that is cancelled,
    // the control stays as the user set it and the run goes on without a group. Until the prompt
    // is answered the guard holds a Ctrl+C for it: a late host shows it only after the run ended.
    void StartUndo();
    void AnswerUndo(const std::u16string& prompt);
    // Ends the group after the run's last command; the guard ends it on any other way out. A
    // group that holds no circle is taken back as it ends: nothing of the run is left to undo,
    // and the user's next U takes back the user's own work.
    void EndUndoGroup() {
        if (guard_.PutBack(kUndoGroup))
            groupOpen_ = false;
    }
    static constexpr char kUndoGroup[] = "UNDO";

    // The report's text, only when this run rewrote it; its code page bytes become UTF-16 here.
    // Refused when the file is there but cannot be read.
    Checked<std::optional<std::u16string>> ReadFreshReport(const std::u16string& path,
                                                           std::optional<std::uint64_t> before);
    // Types the circle at a centroid the CAD program takes (none otherwise), adds the measurement
    // to the results list, then tells the labels the values: the labels of a minimised window can
    // wait, the user's circle cannot. Refused, with no circle, for a value that cannot be shown
    // (the values before it are shown) or for a circle size that the user changed during the run
    // into one the CAD program does not take (the values are shown).
    Checked<bool> DrawAndShow(ReportVariant variant, const ReportValues& values);

private:
    // The values as the labels and the results row show them; refused for a value that cannot be
    // shown, once the values before it are told.
    Checked<ValuesMeasured> ValuesToShow(ReportVariant variant, const ReportValues& values);
    Checked<bool> DrawCircle(ReportVariant variant, const ReportValues& values);
    // The places a face-centre value shows with: the user's own, or as read (-1).
    int UserDecimals() const { return drawing_.UserPrecision().value_or(-1); }
    // The record that puts the user's FILEDIA back.
    std::u16string UserFileDialogsRecord() const;
    cadlink::CadLink& link_;
    platform::CommandLineSystem& system_;
    WorkflowHost& host_;
    const RunPaths& paths_;
    RunPaths recordPaths_;
    CadGuard guard_;
    RunRequest request_;
    std::size_t sentInStep_ = 0;
    std::size_t sentBeforePutOff_ = 0;
    bool refuseSends_ = false;
    std::uint64_t lastChangeMs_ = 0;
    bool asked_ = false;
    bool minimized_ = false;
    Look lastLook_;
    std::u16string queried_;
    std::u16string queriedName_;
    std::optional<bool> hostLate_;
    DrawingSettings drawing_;
    bool groupDecided_ = false;
    std::u16string userFileDialogs_ = u"1";
    bool fileDialogsKnown_ = false;
    bool groupOpen_ = false;
};

// What one step of a mode asks the run to do next.
struct ModeNext {
    enum class Kind { Step, Wait, Query, Group, Idle, End };
    Kind kind = Kind::End;
    int step = 0;  // the mode's step that follows
    // Wait: until the mode's Seen says so, or limitMs; a wait for the user ends the run at its limit.
    std::uint64_t limitMs = 0;
    bool forUser = false;
    bool onReportFolder = false;
    // Query: the variable, whose value the next step reads (RunContext::Queried); a host that
    // takes input late may show it only at a later look.
    std::u16string name;
    bool lateHost = false;

    static ModeNext Go(int step) {
        ModeNext next;
        next.kind = Kind::Step;
        next.step = step;
        return next;
    }
    static ModeNext WaitFor(int step, std::uint64_t limitMs, bool forUser, bool onReportFolder) {
        ModeNext next = Go(step);
        next.kind = Kind::Wait;
        next.limitMs = limitMs;
        next.forUser = forUser;
        next.onReportFolder = onReportFolder;
        return next;
    }
    static ModeNext Ask(const std::u16string& name, int step, bool lateHost) {
        ModeNext next = Go(step);
        next.kind = Kind::Query;
        next.name = name;
        next.lateHost = lateHost;
        return next;
    }
    // Group: an undo group begins (where the CAD program offers one), then the step follows.
    static ModeNext InGroup(int step) {
        ModeNext next = Go(step);
        next.kind = Kind::Group;
        return next;
    }
    // Idle: a host that takes input late has handled what was typed (it shows the idle prompt,
    // not a value prompt of the run's own queries) before the step follows.
    static ModeNext OnceIdle(int step) {
        ModeNext next = Go(step);
        next.kind = Kind::Idle;
        return next;
    }
    static ModeNext End() { return {}; }
};

// What a run does about the user's drawing before it asks the user anything, taken up at step
// again after each answer: UNDOCTL, then step openGroup (OpenGroup), then inside the group the other
// queries; step then once all are answered.
ModeNext AboutDrawing(RunContext& run, int again, int openGroup, int then);
// The run's undo group, a step of its own (a CAD program busy with UNDO takes the step up again):
// none where the user's own is open, which the run joins.
ModeNext OpenGroup(RunContext& run, int again);
// Sets what the run holds for its length, then step then, once a late host has caught up.
ModeNext ChangeDrawing(RunContext& run, int then);

// One mode of measuring: its steps, in its own state.
class ModeRun {
public:
    virtual ~ModeRun() = default;
    // Performs one step; step 0 is the first, once the CAD program is found and the click on
    // Execute has settled.
    virtual ModeNext Perform(int step) = 0;
    // One look during a wait the mode began: true when the wait is over.
    virtual bool Seen(const Look& look) = 0;
    // The CAD program was busy this long: its own time limits do not count it.
    virtual void Postpone(std::uint64_t busyMs) = 0;
    // What stopped the mode's last step with an error, for the error box; empty when nothing did.
    std::u16string TakeRefusal() { return std::exchange(refusal_, std::u16string()); }

protected:
    // Ends the mode's run with the error box's words.
    ModeNext Refuse(std::u16string why) {
        refusal_ = std::move(why);
        return ModeNext::End();
    }

private:
    std::u16string refusal_;
};

}  // namespace app
