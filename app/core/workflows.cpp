#include "workflows.h"

#include <cstdlib>

#include "cad_numbers.h"
#include "cadlink/text_lines.h"
#include "framework/exceptions.h"
#include "platform/abort.h"
#include "report_bounds.h"
#include "results_table.h"

namespace app {
namespace {

const char kIdlePrompt[] = "コマンド: ";
const char kCancelled[] = "キャンセル";
const char kAskWrite[] = "書き出しますか";
const char kAskReplace[] = "置き換えますか";
const char kAskFileName[] = "ファイル名を入力";
const char kFaceCentreHint[] = "計算したい面の内側をクリック";
const char kRegionHint[] = "基データを選択";
const char kSizeMissing[] = "円の大きさが入力されていません";

// Every command but a reply begins with Ctrl+C, so that whatever the CAD program still does ends first.
const char kCancel[] = "\x03";
const char16_t kCancelOnly[] = u"\x03";
const char16_t kPickPoint[] = u"\x03ID ";
const char16_t kRegionFromLast[] = u"\x03_region L \r";
const char16_t kMassPropBySelection[] = u"\x03_massprop\r";
const char16_t kFileDialogsOn[] =
    u"\x03"
    u"FILEDIA 1\r";
const char16_t kFileDialogsOff[] =
    u"\x03"
    u"FILEDIA 0\r";
const char16_t kFileDialogsOffTwice[] =
    u"\x03\x03"
    u"FILEDIA 0\r";
const char16_t kYes[] = u"Y\r";
const char16_t kFileDialogsOnly[] =
    u"\x03"
    u"FILEDIA ";
const char16_t kBoundaryMakesRegions[] =
    u"\x03"
    u"HPBOUND 0\r";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A prompt other than the idle one: the command waited for has started.
bool ShowsCommand(const std::string& prompt) {
    return !prompt.empty() && prompt != kIdlePrompt;
}

// A cancel other than the one of a Ctrl+C typed at the idle prompt, which a late host prints
// between the parts of a record before it reaches the command.
bool IsCommandCancel(const std::string& line) {
    return Contains(line, kCancelled) && line.rfind(cadlink::Trim(kIdlePrompt), 0) != 0;
}

// Whether a history line shows that the user ended a command since baseline was the last line.
bool ShowsUserEnd(const std::string& line, const std::string& baseline) {
    return line != baseline && (Contains(line, "X") || IsCommandCancel(line));
}

}  // namespace

std::string SplitFirst(std::string& text) {
    text = cadlink::Trim(text);
    const std::size_t comma = text.find(',');
    std::string item;
    if (comma == std::string::npos) {
        item.swap(text);
    } else {
        item = text.substr(0, comma);
        text.erase(0, comma + 1);
    }
    return item;
}

bool IsTypeableValue(const std::string& value) {
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 32 || byte == 0x7F)
            return false;
    }
    return true;
}

std::string RadiusOfSize(const std::string& sizeText) {
    return CheckedRadius(cadlink::Trim(sizeText), sizeText);
}

void CentroidWorkflows::CheckFitsRecord(const std::string& command) {
    if (!link_.FitsRecord(system_.AnsiToWide(command)))
        throw framework::EInOutError("作業フォルダ " + paths_.WorkFolder() + " のパスが長すぎます");
}

void CentroidWorkflows::ClearLabels() {
    host_.ShowArea("");
    host_.ShowPerimeter("");
}

std::string QuotedIfBlank(const std::string& text) {
    return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
}

bool CentroidWorkflows::Send(const std::u16string& text) {
    if (stopAfterStep_)
        return false;
    lastChangeMs_ = host_.NowMs();
    return link_.SendCommand(text);
}

bool CentroidWorkflows::Start(RunMode mode, const RunTrigger& trigger) {
    if (Running())
        return true;
    outcome_ = RunOutcome{};
    const std::string size = host_.SizeText();
    if (size.empty()) {
        host_.ShowMessage(kSizeMissing);
        return false;
    }
    try {
        RadiusOfSize(size);
    } catch (const std::exception& error) {
        outcome_ = {RunEnd::Error, error.what()};
        return false;
    }

    mode_ = mode;
    trigger_ = trigger;
    waiting_.reset();
    stopAfterStep_.reset();
    asked_ = minimized_ = fileDialogsOff_ = fileDialogsKnown_ = false;
    userFileDialogs_ = "1";
    boundaryKind_.clear();
    passHistoryBefore_.reset();
    lastPrompt_.clear();
    clickAt_ = lastChangeMs_ = host_.NowMs();
    clickPoint_ = trigger.at;
    buttonsWereDown_ = false;
    step_ = StepId::CheckCad;
    return true;
}

// The CAD program is brought forward and asked for nothing yet: without one the run ends with the
// tip, and a report path too long for one command record ends it before anything is typed.
CentroidWorkflows::StepId CentroidWorkflows::CheckCad() {
    if (!link_.ActivateCad()) {
        host_.ShowCadMissing();
        return StepId::Ended;
    }
    if (mode_ == RunMode::FaceCentre) {
        if (link_.ReadPrompt().empty())
            return StepId::Ended;
        CheckFitsRecord(std::string(kCancel) + "_massprop LAST \rY\r" + QuotedIfBlank(paths_.ReportStem()) + "\r");
    } else {
        CheckFitsRecord(QuotedIfBlank(paths_.ReportPath()) + "\r");
    }
    ClearLabels();
    return StepId::LetTheClickSettle;
}

std::optional<Wake> CentroidWorkflows::Step() {
    inStep_ = true;
    try {
        while (Running() && !stopAfterStep_) {
            if (waiting_) {
                const std::uint64_t now = host_.NowMs();
                const bool done = waiting_->done();
                const bool timeUp = host_.NowMs() - waiting_->start >= waiting_->limitMs;
                if (!done && !timeUp) {
                    inStep_ = false;
                    return Wake{LookIntervalMs(now), waiting_->onReportFolder, waiting_->forUser};
                }
                const Waiting finished = std::move(*waiting_);
                waiting_.reset();
                if (!done && finished.forUser) {
                    stopAfterStep_ = RunEnd::TimeLimit;
                    break;
                }
                step_ = finished.then;
                continue;
            }
            const StepId next = Perform(step_);
            if (next == StepId::Ended) {
                stopAfterStep_ = RunEnd::Finished;
                break;
            }
            step_ = next;
        }
    } catch (const platform::EAbort&) {
        stopAfterStep_ = RunEnd::Aborted;
    } catch (const std::exception& error) {
        outcome_.error = error.what();
        stopAfterStep_ = RunEnd::Error;
    }
    inStep_ = false;
    if (stopAfterStep_) {
        const RunEnd why = *stopAfterStep_;
        stopAfterStep_.reset();
        Stop(why);
    }
    return std::nullopt;
}

void CentroidWorkflows::Stop(RunEnd why) {
    if (!Running())
        return;
    if (inStep_) {
        // The step is still on the stack: what it changed goes back now (the process may end as
        // soon as the message is answered), and the run ends when it returns.
        PutBackCadSettings();
        if (!stopAfterStep_)
            stopAfterStep_ = why;  // the rest of the step types nothing
        return;
    }
    std::string error = why == RunEnd::Error ? outcome_.error : std::string();
    try {
        PutBackCadSettings();
    } catch (...) {
        // The window still comes back below; a history read that fails here shows nothing.
    }
    End(why, error);
}

void CentroidWorkflows::End(RunEnd why, const std::string& error) {
    step_ = StepId::Ended;
    waiting_.reset();
    outcome_ = {why, error};
    if (minimized_) {
        minimized_ = false;
        host_.SetMinimized(false);
    }
}

CentroidWorkflows::StepId CentroidWorkflows::Perform(StepId step) {
    switch (step) {
        case StepId::Ended:
            return StepId::Ended;
        case StepId::CheckCad:
            return CheckCad();
        case StepId::LetTheClickSettle:
            return LetTheClickSettle();
        case StepId::TakeLateValue:
            return TakeLateValue();
        case StepId::AskForPick:
            return AskForPick();
        case StepId::JudgePick:
            return JudgePick();
        case StepId::UsePoint:
            return UsePoint();
        case StepId::UseBoundaryKind:
            return UseBoundaryKind();
        case StepId::Measure:
            return Measure();
        case StepId::AnswerReplace:
            return AnswerReplace();
        case StepId::DrawFaceCentreCircle:
            return DrawFaceCentreCircle();
        case StepId::StartRegion:
            return StartRegion();
        case StepId::StartPass:
            return StartPass();
        case StepId::AskForSelection:
            return AskForSelection();
        case StepId::EndPass:
            return EndPass();
    }
    return StepId::Ended;
}

CentroidWorkflows::StepId CentroidWorkflows::WaitUntil(std::function<bool()> done,
                                                       std::uint64_t limitMs,
                                                       StepId then,
                                                       bool forUser) {
    waiting_ = Waiting{std::move(done), host_.NowMs(), limitMs, then, forUser, false};
    return step_;
}

CentroidWorkflows::StepId CentroidWorkflows::WaitForPrompt(std::function<bool(const Look&)> done,
                                                           std::uint64_t limitMs,
                                                           StepId then,
                                                           bool forUser) {
    return WaitUntil(
        [this, done = std::move(done)] {
            lastLook_ = LookAtHost();
            if (lastLook_.prompt != lastPrompt_) {
                lastPrompt_ = lastLook_.prompt;
                lastChangeMs_ = host_.NowMs();
            }
            return done(lastLook_);
        },
        limitMs, then, forUser);
}

unsigned CentroidWorkflows::LookIntervalMs(std::uint64_t now) const {
    if (waiting_ && waiting_->forUser && now - lastChangeMs_ >= kBusyAfterChangeMs)
        return kUserLookIntervalMs;
    return kLookIntervalMs;
}

void CentroidWorkflows::PutBackCadSettings() {
    const bool changed = fileDialogsOff_ || !boundaryKind_.empty();
    if (changed && link_.Discovery().IsCadReady()) {
        // Even a CAD program that stopped answering gets the settings back, should it wake.
        link_.ExpectAnswers();
        if (fileDialogsOff_)
            SwitchFileDialogs(true);
        RestoreBoundaryKind();
    }
    fileDialogsOff_ = false;
    boundaryKind_.clear();
    // A command the run typed that still asks for input (a pick nobody made, a value the CAD
    // program refused) would take the user's next click in the drawing: one Ctrl+C ends it.
    if (asked_ && link_.Answering() && link_.Discovery().IsCadReady()) {
        const Look look = LookAtHost();
        if (!look.gone && !look.prompt.empty() && look.prompt != kIdlePrompt)
            Send(kCancelOnly);
    }
}

// The rest of a double or triple click on Execute lands on this window, never on a CAD program
// that asks for a point: a further click comes within the double-click time of the one before and
// inside the double-click rectangle around it. Enter and Space leave nothing to come.
CentroidWorkflows::StepId CentroidWorkflows::LetTheClickSettle() {
    const StepId next = mode_ == RunMode::FaceCentre ? StepId::AskForPick : StepId::StartRegion;
    if (!trigger_.byPointer)
        return next;
    return WaitUntil(
        [this] {
            const PointerNow pointer = host_.Pointer();
            const DoubleClickLimits limits = host_.DoubleClick();
            const std::uint64_t now = host_.NowMs();
            if (pointer.buttonsDown) {
                if (!buttonsWereDown_) {
                    clickAt_ = now;
                    clickPoint_ = pointer.at;
                }
                buttonsWereDown_ = true;
                return false;
            }
            buttonsWereDown_ = false;
            const bool left = 2 * std::abs(pointer.at.x - clickPoint_.x) > limits.width ||
                              2 * std::abs(pointer.at.y - clickPoint_.y) > limits.height;
            return left || now - clickAt_ >= limits.timeMs;
        },
        UINT64_MAX, next);
}

CentroidWorkflows::Look CentroidWorkflows::LookAtHost() {
    Look look;
    const platform::WindowHandle promptWindow = link_.Discovery().FindPromptWindow();
    if (promptWindow)
        look.prompt = link_.ReadWindowText(promptWindow);
    // A prompt that reads empty for a moment (the host redrawing it) is no sign of anything.
    look.gone = !promptWindow || !link_.Answering();
    return look;
}

void CentroidWorkflows::SwitchFileDialogs(bool on) {
    const std::u16string command =
        on ? kFileDialogsOnly + system_.AnsiToWide(userFileDialogs_) + u"\r" : std::u16string(kFileDialogsOff);
    // Switched on only once the command went out: otherwise the end of the run tries again.
    if (Send(command) || !on)
        fileDialogsOff_ = !on;
}

void CentroidWorkflows::KeepUserFileDialogs(const std::string& value) {
    if (value.empty())
        return;  // not told (yet): the default goes back unless a later look shows the value
    fileDialogsKnown_ = true;
    userFileDialogs_ = value == "0" ? "0" : "1";
}

CentroidWorkflows::StepId CentroidWorkflows::Query(const std::string& name, StepId then) {
    queryName_ = name;
    afterQuery_ = then;
    queried_ = link_.QuerySysVar(name);
    if (!queried_.empty() || !lateHost_)
        return then;
    // A late host reaches the query after the link has looked: its prompt shows the value then.
    return WaitForPrompt(
        [this](const Look& seen) { return seen.gone || !cadlink::ValueShownFor(seen.prompt, queryName_).empty(); },
        kLateHostMs, StepId::TakeLateValue);
}

CentroidWorkflows::StepId CentroidWorkflows::TakeLateValue() {
    queried_ = cadlink::ValueShownFor(lastLook_.prompt, queryName_);
    if (!queried_.empty())
        Send(kCancelOnly);  // leave the prompt that shows the value
    return afterQuery_;
}

void CentroidWorkflows::RestoreBoundaryKind() {
    if (!boundaryKind_.empty() && SendAssembled(std::string(kCancel) + "HPBOUND " + boundaryKind_ + "\r"))
        boundaryKind_.clear();
}

std::optional<std::string> CentroidWorkflows::ReadFreshReport(const std::string& path,
                                                              std::optional<std::uint64_t> before) {
    // A report this run did not write belongs to an earlier measurement: its centroid is not ours.
    const std::optional<std::uint64_t> now = host_.FileVersion(path);
    if (!now || (before && *before == *now))
        return std::nullopt;
    return host_.ReadReportFile(path);
}

void CentroidWorkflows::DrawCircle(ReportVariant variant, const ReportValues& values) {
    // Read afresh for every circle: a size changed during the run is checked again.
    const std::string radius = RadiusOfSize(host_.SizeText());
    if (!SendAssembled(std::string(kCancel) + "CIRCLE " + values.centroidX + "," + values.centroidY + " " + radius +
                       "\r"))
        return;
    const LocalTime t = host_.Now();
    host_.AddResultRow(FormatResultRow(FormatRowTime(t.year, t.month, t.day, t.hour, t.minute, t.second),
                                       DrawingNameFromTitle(link_.Discovery().MainFrameTitle()),
                                       MeasurementAsShown(variant, values, radius, host_.DecimalSeparator()),
                                       [this](const std::string& text) { return system_.AnsiToWide(text); }));
}

// Face-centre mode: the user picks a point inside a closed area; the CAD program makes a region
// of the boundary there and measures it; the circle goes to the region's centroid.

CentroidWorkflows::StepId CentroidWorkflows::AskForPick() {
    host_.SetMinimized(true);
    minimized_ = true;
    const platform::WindowHandle historyPane = link_.Discovery().FindHistoryPane();
    // The history's last line before the pick: a late host that has handled nothing yet still
    // shows an older pick or cancel there.
    historyBefore_ = link_.LastHistoryLine();
    asked_ = true;
    Send(kPickPoint);
    if (historyPane)
        host_.DrawHint(historyPane, kFaceCentreHint);
    // The pick is over once the host, having shown the pick prompt, is idle again. A late host
    // shows its idle prompt before it has taken the command (between its Ctrl+C and "ID" too);
    // a user quicker than the looks leaves only the history to show the pick.
    sawCommand_ = pickInHistory_ = historyLooked_ = false;
    pickLine_.clear();
    firstLook_ = true;
    lateHost_ = true;
    phaseStart_ = host_.NowMs();
    return WaitForPrompt(
        [this](const Look& look) {
            if (look.gone)
                return true;
            if (ShowsCommand(look.prompt)) {
                lateHost_ = lateHost_ && !firstLook_;
                firstLook_ = false;
                sawCommand_ = true;
                return false;
            }
            firstLook_ = false;
            if (look.prompt != kIdlePrompt)
                return false;
            if (sawCommand_)
                return true;
            const std::uint64_t now = host_.NowMs();
            if (now - phaseStart_ >= kLateHostMs)
                return true;
            if (!historyLooked_ || now - historyLookedAt_ >= kHistoryLookMs) {
                historyLooked_ = true;
                historyLookedAt_ = now;
                pickLine_ = link_.LastHistoryLine();
                pickInHistory_ = ShowsUserEnd(pickLine_, historyBefore_);
            }
            return pickInHistory_;
        },
        kWaitLimitMs, StepId::JudgePick, true);
}

CentroidWorkflows::StepId CentroidWorkflows::JudgePick() {
    // The line that showed the pick is still the last: the host is idle.
    const std::string lastLine = pickInHistory_ ? pickLine_ : link_.LastHistoryLine();
    if (Contains(lastLine, kCancelled) || !Contains(lastLine, "X")) {
        // A host that may still take the pick command later is left idle.
        if (!sawCommand_)
            Send(kCancelOnly);
        return StepId::Ended;
    }
    return Query("LASTPOINT", StepId::UsePoint);
}

CentroidWorkflows::StepId CentroidWorkflows::UsePoint() {
    std::string point = queried_;
    pointX_ = SplitFirst(point);
    pointY_ = SplitFirst(point);
    // Without a usable point the boundary would make nothing and "_region L" would turn the
    // user's last object into a region: stop as after a cancelled pick.
    if (!IsCadNumber(pointX_) || !IsCadNumber(pointY_)) {
        Send(kCancelOnly);  // a late host has the query still to come: it must not stay at its prompt
        return StepId::Ended;
    }
    reportPath_ = paths_.ReportPath();
    reportBefore_ = host_.FileVersion(reportPath_);
    return Query("HPBOUND", StepId::UseBoundaryKind);
}

// Has -BOUNDARY make the region itself, so that no object of the user's is ever turned into one;
// a host that does not tell its boundary kind gets "_region L" to make it.
CentroidWorkflows::StepId CentroidWorkflows::UseBoundaryKind() {
    const std::string kind = queried_;
    boundaryMakesRegion_ = !kind.empty() && IsTypeableValue(kind);
    if (boundaryMakesRegion_ && kind != "0") {
        boundaryKind_ = kind;
        Send(kBoundaryMakesRegions);
    }
    return Query("FILEDIA", StepId::Measure);
}

CentroidWorkflows::StepId CentroidWorkflows::Measure() {
    KeepUserFileDialogs(queried_);
    SwitchFileDialogs(false);
    SendAssembled(std::string(kCancel) + "-BOUNDARY " + pointX_ + "," + pointY_ + " " + "\r");
    if (!boundaryMakesRegion_)
        Send(kRegionFromLast);
    SendAssembled(std::string(kCancel) + "_massprop LAST \rY\r" + QuotedIfBlank(paths_.ReportStem()) + "\r");

    // What ends this wait is the host's word about this command: the report rewritten, its
    // questions seen and then the idle prompt, or the replace question. An idle prompt alone may be
    // one that a late host shows between the records, or between the parts of one. The first look
    // comes at once: a host that handles input inside the send may have asked to replace already.
    sawQuestion_ = false;
    phaseStart_ = host_.NowMs();
    const StepId next = WaitForPrompt(
        [this](const Look& seen) {
            if (seen.gone || Contains(seen.prompt, kAskReplace))
                return true;
            if (Contains(seen.prompt, kAskWrite) || Contains(seen.prompt, kAskFileName))
                sawQuestion_ = true;
            if (seen.prompt != kIdlePrompt)
                return false;
            return sawQuestion_ || host_.FileVersion(reportPath_) != reportBefore_ ||
                   host_.NowMs() - phaseStart_ >= kLateHostMs;
        },
        kWaitLimitMs, StepId::AnswerReplace);
    waiting_->onReportFolder = true;
    return next;
}

CentroidWorkflows::StepId CentroidWorkflows::AnswerReplace() {
    if (!Contains(lastLook_.prompt, kAskReplace))
        return StepId::DrawFaceCentreCircle;
    Send(kYes);
    // The report is complete once the host has handled the answer and left the question.
    const StepId next = WaitForPrompt([](const Look& seen) { return seen.gone || seen.prompt == kIdlePrompt; },
                                      kWaitLimitMs, StepId::DrawFaceCentreCircle);
    waiting_->onReportFolder = true;
    return next;
}

CentroidWorkflows::StepId CentroidWorkflows::DrawFaceCentreCircle() {
    SwitchFileDialogs(true);
    RestoreBoundaryKind();
    const std::optional<std::string> report = ReadFreshReport(reportPath_, reportBefore_);
    // When -BOUNDARY found nothing, "_massprop LAST" measured an older object: its box is elsewhere.
    if (!report || !ReportBoxHolds(*report, pointX_, pointY_))
        return StepId::Ended;
    const ReportValues values = ParseReport(*report, ReportVariant::FaceCentre, host_, host_.DecimalSeparator());
    if (IsCadNumber(values.centroidX) && IsCadNumber(values.centroidY))
        DrawCircle(ReportVariant::FaceCentre, values);
    return StepId::Ended;
}

// Region mode: the user selects regions at the CAD program's own mass-properties prompt, once or
// pass after pass while the continuous box is checked.

CentroidWorkflows::StepId CentroidWorkflows::StartRegion() {
    host_.SetMinimized(true);
    minimized_ = true;
    historyPane_ = link_.Discovery().FindHistoryPane();
    asked_ = true;
    lateHost_ = false;
    return Query("FILEDIA", StepId::StartPass);
}

CentroidWorkflows::StepId CentroidWorkflows::StartPass() {
    if (!fileDialogsKnown_)
        KeepUserFileDialogs(queried_);
    reportPath_ = paths_.ReportPath();
    reportBefore_ = host_.FileVersion(reportPath_);
    // Each pass after the first takes the last line the pass before it read as its baseline: the
    // lines that the settings and the circle add in between are never a command's cancel.
    historyBefore_ = passHistoryBefore_ ? *passHistoryBefore_ : link_.LastHistoryLine();
    fileDialogsOff_ = true;
    Send(kFileDialogsOffTwice);
    Send(kMassPropBySelection);
    if (historyPane_ && link_.Discovery().IsLive(historyPane_))
        host_.DrawHint(historyPane_, kRegionHint);
    return AskForSelection();
}

// The selection waits for the user, so a host that handles input inside the send shows it at the
// first look, and its questions come back answered or changed at once. A late host shows its idle
// prompt until it reaches the command, and still shows a question it has not read the answer to:
// that is not asked again yet.
CentroidWorkflows::StepId CentroidWorkflows::AskForSelection() {
    phaseStart_ = host_.NowMs();
    started_ = selectionLate_ = historyLooked_ = false;
    firstLook_ = true;
    answered_.clear();
    answeredAt_ = 0;
    const StepId next = WaitForPrompt(
        [this](const Look& look) {
            const bool first = firstLook_;
            firstLook_ = false;
            if (look.gone)
                return true;
            // A late host shows the answer to the FILEDIA query before it reaches the command.
            const std::string fileDialogs = cadlink::ValueShownFor(look.prompt, "FILEDIA");
            if (!fileDialogs.empty()) {
                if (!fileDialogsKnown_)
                    KeepUserFileDialogs(fileDialogs);
                return false;
            }
            const std::uint64_t now = host_.NowMs();
            if (look.prompt == kIdlePrompt) {
                selectionLate_ = selectionLate_ || first;
                if (started_ || now - phaseStart_ >= kLateHostMs)
                    return true;
                // A quick user may have cancelled the selection before any look saw it.
                if (historyLooked_ && now - historyLookedAt_ < kHistoryLookMs)
                    return false;
                historyLooked_ = true;
                historyLookedAt_ = now;
                const std::string line = link_.LastHistoryLine();
                return ShowsUserEnd(line, historyBefore_) && IsCommandCancel(line);
            }
            if (!ShowsCommand(look.prompt))
                return false;
            started_ = true;
            if (look.prompt == answered_ && now - answeredAt_ < (selectionLate_ ? kLateHostMs : kRepeatAnswerMs))
                return false;
            answered_ = AnswerMasspropQuestions(look.prompt, reportPath_);
            answeredAt_ = now;
            return answered_ == kIdlePrompt;
        },
        kWaitLimitMs, StepId::EndPass, true);
    waiting_->onReportFolder = true;
    return next;
}

std::string CentroidWorkflows::AnswerMasspropQuestions(std::string prompt, const std::string& reportPath) {
    for (;;) {
        bool answered = false;
        if (Contains(prompt, kAskWrite)) {
            Send(kYes);
            answered = true;
        }
        if (Contains(prompt, kAskReplace)) {
            Send(kYes);
            answered = true;
        }
        if (Contains(prompt, kAskFileName)) {
            SendAssembled(QuotedIfBlank(reportPath) + "\r");
            answered = true;
        }
        if (!answered)
            return prompt;
        // A host that handles input inside the send shows its next question at once: answer it
        // without waiting. An unchanged prompt is still the one answered, so it waits for the next look.
        std::string next = link_.ReadPrompt();
        if (next == prompt)
            return prompt;
        prompt = std::move(next);
    }
}

CentroidWorkflows::StepId CentroidWorkflows::EndPass() {
    const std::string lastLine = link_.LastHistoryLine();
    passHistoryBefore_ = lastLine;
    SwitchFileDialogs(true);
    if (IsCommandCancel(lastLine))
        return StepId::Ended;
    const std::optional<std::string> report = ReadFreshReport(reportPath_, reportBefore_);
    if (!report)
        return StepId::Ended;
    const ReportValues values = ParseReport(*report, ReportVariant::Region, host_, host_.DecimalSeparator());
    // Only numbers the CAD program takes are typed as the centre.
    if (!IsCadNumber(values.centroidX) || !IsCadNumber(values.centroidY))
        return StepId::Ended;
    DrawCircle(ReportVariant::Region, values);
    return host_.ContinuousChecked() ? StepId::StartPass : StepId::Ended;
}

}  // namespace app
