#include "run/region_run.h"

#include "cad_numbers.h"
#include "cadlink/cad_link.h"

namespace app {
namespace {

const char16_t kRegionHint[] = u"基データを選択";
const char16_t kMassPropBySelection[] = u"\x03_massprop\r";
const char16_t kFileDialogsOffTwice[] =
    u"\x03\x03"
    u"FILEDIA 0\r";

}  // namespace

ModeNext RegionRun::Perform(int step) {
    switch (static_cast<Step>(step)) {
        case Begin:
            return BeginRun();
        case AskDrawing:
            return AskAboutDrawing();
        case BeginGroup:
            return OpenGroup(run_, AskDrawing);
        case ChangeDrawing:
            // Before the selection: the report prints at full precision.
            return app::ChangeDrawing(run_, passHistoryBefore_ ? StartPass : AskFileDialogs);
        case AskFileDialogs:
            return ModeNext::Ask(u"FILEDIA", StartPass, false);
        case StartPass:
            return StartThePass();
        case EndPass:
            return EndThePass();
    }
    return ModeNext::End();
}

ModeNext RegionRun::BeginRun() {
    run_.Ask();
    historyPane_ = run_.Link().Discovery().FindHistoryPane();
    return AskAboutDrawing();
}

ModeNext RegionRun::AskAboutDrawing() {
    return AboutDrawing(run_, AskDrawing, BeginGroup, ChangeDrawing);
}

ModeNext RegionRun::NextGroup() {
    // The user's own group (known from the first pass) takes in every pass.
    if (run_.Drawing().UserGroupOpen())
        return ModeNext::Go(ChangeDrawing);
    return ModeNext::InGroup(ChangeDrawing);
}

// The selection waits for the user, so a host that handles input inside the send shows it at the
// first look, and its questions come back answered or changed at once. A late host shows its idle
// prompt until it reaches the command, and still shows a question it has not read the answer to:
// that is not asked again yet.
ModeNext RegionRun::StartThePass() {
    if (!run_.FileDialogsKnown())
        run_.KeepUserFileDialogs(run_.Queried());
    // Taken up again after a busy CAD program took the pass's records, the step keeps what it saw
    // before them: the report and the history may show the pass by now.
    if (!run_.Replaying()) {
        reportPath_ = run_.Paths().ReportPath();
        reportBefore_ = run_.Host().FileVersion(reportPath_);
        historyBefore_ = passHistoryBefore_ ? *passHistoryBefore_ : run_.Link().LastHistoryLine();
    }
    run_.SwitchFileDialogs(false, kFileDialogsOffTwice);
    run_.Send(kMassPropBySelection);
    if (historyPane_ && run_.Link().Discovery().IsLive(historyPane_))
        run_.Tell(HintShown{historyPane_, kRegionHint});
    passStart_ = run_.Host().NowMs();
    started_ = selectionLate_ = historyLooked_ = false;
    firstLook_ = true;
    answered_.clear();
    answeredAt_ = 0;
    return ModeNext::WaitFor(EndPass, kWaitLimitMs, true, true);
}

bool RegionRun::Seen(const Look& look) {
    const bool first = firstLook_;
    firstLook_ = false;
    if (look.gone)
        return true;
    // A late host shows the answer to the FILEDIA query before it reaches the command.
    const std::u16string fileDialogs = cadlink::ValueShownFor(look.prompt, u"FILEDIA");
    if (!fileDialogs.empty()) {
        if (!run_.FileDialogsKnown())
            run_.KeepUserFileDialogs(fileDialogs);
        return false;
    }
    const std::uint64_t now = run_.Host().NowMs();
    if (look.prompt == kIdlePrompt) {
        selectionLate_ = selectionLate_ || first;
        if (started_ || now - passStart_ >= kLateHostMs)
            return true;
        // A quick user may have cancelled the selection before any look saw it.
        if (historyLooked_ && now - historyLookedAt_ < kHistoryLookMs)
            return false;
        historyLooked_ = true;
        historyLookedAt_ = now;
        const std::u16string line = run_.Link().LastHistoryLine();
        return ShowsUserEnd(line, historyBefore_) && IsCommandCancel(line);
    }
    if (!ShowsCommand(look.prompt))
        return false;
    started_ = true;
    if (look.prompt == answered_ && now - answeredAt_ < (selectionLate_ ? kLateHostMs : kRepeatAnswerMs))
        return false;
    answered_ = AnswerQuestions(look.prompt);
    answeredAt_ = now;
    return answered_ == kIdlePrompt;
}

std::u16string RegionRun::AnswerQuestions(std::u16string prompt) {
    for (;;) {
        bool answered = false;
        if (Contains(prompt, kAskWrite)) {
            run_.Send(kYes);
            answered = true;
        }
        if (Contains(prompt, kAskReplace)) {
            run_.Send(kYes);
            answered = true;
        }
        if (Contains(prompt, kAskFileName)) {
            run_.Send(ReportNameRecord(run_.RecordPaths()));
            answered = true;
        }
        if (!answered)
            return prompt;
        // A host that handles input inside the send shows its next question at once: answer it
        // without waiting. An unchanged prompt is still the one answered, so it waits for the next look.
        std::u16string next = run_.Link().ReadPrompt();
        if (next == prompt)
            return prompt;
        prompt = std::move(next);
    }
}

ModeNext RegionRun::EndThePass() {
    const std::u16string lastLine = run_.Link().LastHistoryLine();
    passHistoryBefore_ = lastLine;
    run_.SwitchFileDialogs(true, nullptr);
    if (IsCommandCancel(lastLine))
        return ModeNext::End();
    const Checked<std::optional<std::u16string>> report = run_.ReadFreshReport(reportPath_, reportBefore_);
    if (!report)
        return Refuse(report.Error());
    if (!*report)
        return ModeNext::End();
    const ReportValues values = ParseReport(**report, ReportVariant::Region);
    const Checked<bool> drawn = run_.DrawAndShow(ReportVariant::Region, values);
    if (!drawn)
        return Refuse(drawn.Error());
    // A pass without a circle (a centroid the CAD program does not take) ends the run.
    if (!IsCadNumber(values.centroidX) || !IsCadNumber(values.centroidY) || !run_.Host().ContinuousChecked())
        return ModeNext::End();
    // What the pass set goes back inside its group, and is set again inside the next one.
    run_.PutBackDrawingSettings();
    run_.EndUndoGroup();
    return NextGroup();
}

}  // namespace app
