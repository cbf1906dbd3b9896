#include "run/face_centre_run.h"

#include "cad_numbers.h"
#include "report_bounds.h"

namespace app {
namespace {

const char16_t kFaceCentreHint[] = u"計算したい面の内側をクリック";
const char16_t kPickPoint[] = u"\x03ID ";
const char16_t kRegionFromLast[] = u"\x03_region L \r";
const char16_t kFileDialogsOff[] =
    u"\x03"
    u"FILEDIA 0\r";
const char16_t kBoundaryMakesRegions[] =
    u"\x03"
    u"HPBOUND 0\r";

}  // namespace

ModeNext FaceCentreRun::Perform(int step) {
    switch (static_cast<Step>(step)) {
        case AskDrawing:
            return AskAboutDrawing();
        case BeginGroup:
            return OpenGroup(run_, AskDrawing);
        case ChangeDrawing:
            // Before the pick: the user's click is taken as clicked, and LASTPOINT tells it whole.
            return app::ChangeDrawing(run_, AskForPick);
        case AskForPick:
            return Ask();
        case JudgePick:
            return Judge();
        case UsePoint:
            return Use();
        case UseBoundaryKind:
            return UseKind();
        case Measure:
            return MeasureAtPoint();
        case AnswerReplace:
            return Replace();
        case DrawCircle:
            return Draw();
        case PutSettingsBack:
            return PutBack();
    }
    return ModeNext::End();
}

void FaceCentreRun::Postpone(std::uint64_t busyMs) {
    watchStart_ += busyMs;
}

bool FaceCentreRun::Seen(const Look& look) {
    switch (watch_) {
        case Watch::Pick:
            return PickOver(look);
        case Watch::Report:
            return ReportWritten(look);
        case Watch::ReplaceAnswered:
            return look.gone || look.prompt == kIdlePrompt;
    }
    return true;
}

ModeNext FaceCentreRun::AskAboutDrawing() {
    // The window goes out of the way from the run's first record on: a late host may take seconds
    // over the queries and UNDO alone. The run's group is ended by the guard, after every setting
    // went back.
    run_.Ask();
    return AboutDrawing(run_, AskDrawing, BeginGroup, ChangeDrawing);
}

ModeNext FaceCentreRun::Ask() {
    run_.Ask();
    cadlink::CadLink& link = run_.Link();
    const platform::WindowHandle historyPane = link.Discovery().FindHistoryPane();
    // The history's last line before the pick: a late host that has handled nothing yet still
    // shows an older pick or cancel there. Taken up again after a busy CAD program took the pick
    // command, the step keeps it: the history may show the pick by now.
    if (!run_.Replaying())
        historyBefore_ = link.LastHistoryLine();
    run_.Send(kPickPoint);
    if (historyPane)
        run_.Tell(HintShown{historyPane, kFaceCentreHint});
    sawCommand_ = pickInHistory_ = historyLooked_ = false;
    pickLine_.clear();
    firstLook_ = lateHost_ = true;
    watch_ = Watch::Pick;
    watchStart_ = run_.Host().NowMs();
    return ModeNext::WaitFor(JudgePick, kWaitLimitMs, true, false);
}

// The pick is over once the host, having shown the pick prompt, is idle again. A late host shows
// its idle prompt before it has taken the command (between its Ctrl+C and "ID" too); a user
// quicker than the looks leaves only the history to show the pick.
bool FaceCentreRun::PickOver(const Look& look) {
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
    const std::uint64_t now = run_.Host().NowMs();
    if (now - watchStart_ >= kLateHostMs)
        return true;
    if (!historyLooked_ || now - historyLookedAt_ >= kHistoryLookMs) {
        historyLooked_ = true;
        historyLookedAt_ = now;
        pickLine_ = run_.Link().LastHistoryLine();
        pickInHistory_ = ShowsUserEnd(pickLine_, historyBefore_);
    }
    return pickInHistory_;
}

ModeNext FaceCentreRun::Judge() {
    // The line that showed the pick is still the last: the host is idle.
    // Read once: a step taken up again after a busy CAD program would find the query's lines there.
    if (!pickInHistory_) {
        const unsigned putOff = run_.Link().PutOff();
        pickLine_ = run_.Link().LastHistoryLine();
        pickInHistory_ = run_.Link().PutOff() == putOff;
    }
    const std::u16string& lastLine = pickLine_;
    if (Contains(lastLine, kCancelled) || !Contains(lastLine, u"X")) {
        // A host that may still take the pick command later is left idle.
        if (!sawCommand_)
            run_.SendBrief(kCancel);
        return ModeNext::End();
    }
    return ModeNext::Ask(u"LASTPOINT", UsePoint, lateHost_);
}

ModeNext FaceCentreRun::Use() {
    std::u16string point = run_.Queried();
    pointX_ = SplitFirst(point);
    pointY_ = SplitFirst(point);
    // Without a usable point the boundary would make nothing and "_region L" would turn the
    // user's last object into a region: stop as after a cancelled pick.
    if (!IsCadNumber(pointX_) || !IsCadNumber(pointY_)) {
        run_.SendBrief(kCancel);  // a late host has the query still to come: it must not stay at its prompt
        return ModeNext::End();
    }
    reportPath_ = run_.Paths().ReportPath();
    reportBefore_ = run_.Host().FileVersion(reportPath_);
    return ModeNext::Ask(u"HPBOUND", UseBoundaryKind, lateHost_);
}

// Has -BOUNDARY make the region itself, so that no object of the user's is ever turned into one;
// a host that does not tell its boundary kind gets "_region L" to make it.
ModeNext FaceCentreRun::UseKind() {
    const std::u16string kind = run_.Queried();
    boundaryMakesRegion_ = !kind.empty() && IsTypeableValue(kind);
    if (boundaryMakesRegion_ && kind != u"0") {
        run_.Guard().Changed("HPBOUND", kCancel + (u"HPBOUND " + kind) + u"\r");
        run_.SendBrief(kBoundaryMakesRegions);
    }
    return ModeNext::Ask(u"FILEDIA", Measure, lateHost_);
}

ModeNext FaceCentreRun::MeasureAtPoint() {
    run_.KeepUserFileDialogs(run_.Queried());
    run_.SwitchFileDialogs(false, kFileDialogsOff);
    run_.Send(kCancel + (u"-BOUNDARY " + pointX_) + u"," + pointY_ + u" \r");
    if (!boundaryMakesRegion_)
        run_.Send(kRegionFromLast);
    run_.Send(MeasureLastRecord(run_.RecordPaths()));
    sawQuestion_ = false;
    reportHistoryAt_ = 0;
    watch_ = Watch::Report;
    watchStart_ = run_.Host().NowMs();
    return ModeNext::WaitFor(AnswerReplace, kWaitLimitMs, false, true);
}

// What ends this wait is the host's word about this command: the report rewritten, its questions
// seen and then the idle prompt, or the replace question. An idle prompt alone may be one that a
// late host shows between the records, or between the parts of one. The first look comes at once:
// a host that handles input inside the send may have asked to replace already.
bool FaceCentreRun::ReportWritten(const Look& seen) {
    if (seen.gone || Contains(seen.prompt, kAskReplace))
        return true;
    if (Contains(seen.prompt, kAskWrite) || Contains(seen.prompt, kAskFileName))
        sawQuestion_ = true;
    if (seen.prompt != kIdlePrompt)
        return false;
    return sawQuestion_ || run_.Host().FileVersion(reportPath_) != reportBefore_ ||
           run_.Host().NowMs() - watchStart_ >= kLateHostMs || MeasuredNothing();
}

// When the boundary made nothing, "_massprop LAST" has nothing to measure and ends at once; the
// answers after it reach the idle command line, which names the report's stem as no command it
// knows. The history tells it without any one wording being relied on.
bool FaceCentreRun::MeasuredNothing() {
    const std::uint64_t now = run_.Host().NowMs();
    if (reportHistoryAt_ != 0 && now - reportHistoryAt_ < kHistoryLookMs)
        return false;
    reportHistoryAt_ = now == 0 ? 1 : now;
    const RunPaths& paths = run_.RecordPaths();
    const std::u16string& stem = paths.ReportStem();
    const std::u16string extension = paths.ReportPath().substr(stem.size());
    const std::size_t folderEnd = stem.find_last_of(u"\\/:");
    const std::u16string name = folderEnd == std::u16string::npos ? stem : stem.substr(folderEnd + 1);
    if (name.empty())
        return false;
    const std::u16string line = run_.Link().LastHistoryLine();
    return Contains(line, name.c_str()) && !Contains(line, extension.c_str());
}

ModeNext FaceCentreRun::Replace() {
    if (!Contains(run_.LastLook().prompt, kAskReplace))
        return ModeNext::Go(DrawCircle);
    run_.Send(kYes);
    // The report is complete once the host has handled the answer and left the question.
    watch_ = Watch::ReplaceAnswered;
    return ModeNext::WaitFor(DrawCircle, kWaitLimitMs, false, true);
}

// The circle comes first, the settings go back after it: neither touches CIRCLE, and the user's
// circle does not wait for them. However the run ends here, the guard puts them back.
ModeNext FaceCentreRun::Draw() {
    const Checked<std::optional<std::u16string>> report = run_.ReadFreshReport(reportPath_, reportBefore_);
    if (!report)
        return Refuse(report.Error());
    // When -BOUNDARY found nothing, "_massprop LAST" measured an older object (its box is
    // elsewhere) or nothing at all: the user is told that the pick found no closed area.
    if (!*report || !ReportBoxHolds(**report, pointX_, pointY_)) {
        if (!run_.LastLook().gone) {
            run_.RestoreWindow();
            run_.Tell(NoClosedArea{});
        }
        return ModeNext::Go(PutSettingsBack);
    }
    const ReportValues values = ParseReport(**report, ReportVariant::FaceCentre);
    const Checked<bool> drawn = run_.DrawAndShow(ReportVariant::FaceCentre, values);
    if (!drawn)
        return Refuse(drawn.Error());
    return ModeNext::Go(PutSettingsBack);
}

// A step of its own: a CAD program busy with the circle takes this up again, not the circle.
ModeNext FaceCentreRun::PutBack() {
    run_.SwitchFileDialogs(true, nullptr);
    run_.Guard().PutBack("HPBOUND");
    run_.PutBackDrawingSettings();
    return ModeNext::End();
}

}  // namespace app
