#include "workflows.h"

#include <cstdlib>

#include "cad_numbers.h"
#include "framework/exceptions.h"
#include "platform/abort.h"
#include "run/face_centre_run.h"
#include "run/region_run.h"

namespace app {
namespace {

const char16_t kSizeMissing[] = u"円の大きさが入力されていません";
const char kLateQuery[] = "QUERY";

}  // namespace

bool CentroidWorkflows::Start(const RunRequest& request) {
    if (Running())
        return true;
    outcome_ = RunOutcome{};
    if (request.size.empty()) {
        run_.Tell(MessageShown{kSizeMissing});
        return false;
    }
    const Checked<std::u16string> radius = CheckedRadius(request.size);
    if (!radius) {
        outcome_ = {RunEnd::Error, radius.Error()};
        return false;
    }
    run_.Reset(request);
    if (request.mode == RunMode::FaceCentre)
        mode_ = std::make_unique<FaceCentreRun>(run_);
    else
        mode_ = std::make_unique<RegionRun>(run_);
    waiting_.reset();
    stopAfterStep_.reset();
    busySince_.reset();
    lastPrompt_.clear();
    settle_ = ClickSettle{host_.NowMs(), request.trigger.at, false};
    modeStep_ = 0;
    phase_ = Phase::CheckCad;
    return true;
}

// The CAD program is brought forward and asked for nothing yet: without one the run ends with the
// tip, and a report path too long for one command record ends it before anything is typed.
Checked<bool> CentroidWorkflows::CheckCad() {
    if (!link_.ActivateCad()) {
        run_.Guard().Forget();
        run_.Tell(NoCadProgram{});
        return false;
    }
    // What an earlier run left with a busy CAD program goes back before anything else is typed.
    if (!run_.Guard().PutBackAll())
        return false;
    const std::optional<std::u16string> recordFolder = RecordFolderFor(
        paths_.WorkFolder(), link_.IsCadUnicode(), [this](const std::u16string& path) { return run_.InCodePage(path); },
        [this](const std::u16string& path) { return host_.ShortPathOf(path); });
    if (!recordFolder)
        return Checked<bool>::Refused(u"作業フォルダ " + paths_.WorkFolder() + u" の名前を CAD プログラムに渡せません");
    run_.SetRecordPaths(paths_.InFolder(*recordFolder));
    if (run_.Request().mode == RunMode::FaceCentre && link_.ReadPrompt().empty())
        return false;
    // A command longer than one record would be cut or not typed at all: the run must not start.
    const std::u16string longest = run_.Request().mode == RunMode::FaceCentre ? MeasureLastRecord(run_.RecordPaths())
                                                                              : ReportNameRecord(run_.RecordPaths());
    if (!link_.FitsRecord(longest))
        return Checked<bool>::Refused(u"作業フォルダ " + paths_.WorkFolder() + u" のパスが長すぎます");
    // Only a run that reads values shows values.
    run_.Tell(ValuesMeasured{std::u16string(), std::u16string()});
    return true;
}

std::optional<Wake> CentroidWorkflows::Step() {
    inStep_ = true;
    std::optional<Wake> wake;
    try {
        // A history read cut short by another program's hold ends the run without a word, once
        // the user's clipboard content is back.
        if (link_.TakeUpPending())
            platform::Abort();
        while (Running() && !stopAfterStep_ && !wake) {
            if ((wake = WaitWhileBusy()))
                break;
            if (waiting_) {
                const std::uint64_t now = host_.NowMs();
                const unsigned putOff = link_.PutOff();
                const bool done = WaitOver();
                if (link_.PutOff() != putOff) {
                    // The look met a busy CAD program or a held clipboard: it counts for nothing.
                    wake = Wake{kBusyLookIntervalMs, waiting_->onReportFolder, waiting_->forUser};
                    break;
                }
                const bool timeUp = host_.NowMs() - waiting_->start >= waiting_->limitMs;
                if (!done && !timeUp) {
                    wake = Wake{LookIntervalMs(now), waiting_->onReportFolder, waiting_->forUser};
                    break;
                }
                const Waiting finished = *waiting_;
                waiting_.reset();
                if (!done && finished.forUser) {
                    stopAfterStep_ = RunEnd::TimeLimit;
                    break;
                }
                if (finished.phase == Phase::UndoPrompt && !run_.LastLook().gone) {
                    // Not shown in time: the Ctrl+C cancels it whenever it shows, and there is no group.
                    run_.AnswerUndo(run_.LastLook().prompt);
                    waiting_ = Waiting{Phase::UndoAnswered, host_.NowMs(), kLateHostMs, finished.then, false, false};
                    continue;
                }
                if (finished.phase == Phase::LateValue) {
                    const std::u16string shown = cadlink::ValueShownFor(run_.LastLook().prompt, lateName_);
                    if (!shown.empty()) {
                        run_.Guard().Drop(kLateQuery);
                        run_.SendBrief(kCancel);  // leave the prompt that shows the value
                    }
                    run_.SetQueried(lateName_, shown);
                    // A host that never told the value within the limit is not waited for again.
                    if (!run_.HostLate())
                        run_.SetHostLate(!run_.Queried().empty());
                }
                phase_ = Phase::Mode;
                modeStep_ = finished.then;
                continue;
            }
            if (phase_ == Phase::Settle) {
                phase_ = Phase::Mode;
                modeStep_ = 0;
                if (run_.Request().trigger.byPointer)
                    waiting_ = Waiting{Phase::Settle, host_.NowMs(), UINT64_MAX, 0, false, false};
                continue;
            }
            // A value prompt that a busy CAD program kept showing is left before anything else.
            if (link_.PromptLeaveOwed() && !link_.LeaveValuePrompt()) {
                wake = Wake{kBusyLookIntervalMs, false, false};
                break;
            }
            // A step that meets a busy CAD program is taken up again from its start at a later
            // wake-up; the records it typed before are not typed twice.
            putOffBeforeStep_ = link_.PutOff();
            run_.BeginStep();
            bool goesOn = false;
            ModeNext next;
            std::u16string queried;
            std::u16string refusal;
            if (phase_ == Phase::CheckCad) {
                const Checked<bool> found = CheckCad();
                if (!found) {
                    outcome_.error = found.Error();
                    stopAfterStep_ = RunEnd::Error;
                    break;
                }
                goesOn = *found;
            } else {
                next = mode_->Perform(modeStep_);
                refusal = mode_->TakeRefusal();
                if (next.kind == ModeNext::Kind::Query && link_.PutOff() == putOffBeforeStep_)
                    queried = Query(next);
                if (next.kind == ModeNext::Kind::Group && link_.PutOff() == putOffBeforeStep_) {
                    run_.StartUndo();
                    // Taken up again after a busy CAD program took UNDO, the step answers what its
                    // earlier try saw: the prompt may have moved on by now.
                    if (!run_.Replaying())
                        undoShown_ = link_.ReadPrompt();
                    const std::u16string shown = undoShown_;
                    // A late host shows UNDO's prompt only later, and another command's prompt
                    // until it gets there: only UNDO's own is answered, else the wait looks for it.
                    undoAnswered_ = IsUndoPrompt(shown);
                    if (undoAnswered_)
                        run_.AnswerUndo(shown);
                }
            }
            // A query whose value came back is done, even when the CAD program was busy with the
            // Ctrl+C that left its prompt.
            const bool valueRead = next.kind == ModeNext::Kind::Query && !queried.empty();
            if (link_.PutOff() != putOffBeforeStep_ && !valueRead) {
                run_.StepPutOff();
                wake = Wake{kBusyLookIntervalMs, false, false};
                break;
            }
            run_.StepDone();
            if (phase_ == Phase::CheckCad) {
                phase_ = Phase::Settle;
            } else if (!refusal.empty()) {
                outcome_.error = std::move(refusal);
                stopAfterStep_ = RunEnd::Error;
                break;
            } else {
                goesOn = Follow(next, std::move(queried));
            }
            if (!goesOn)
                stopAfterStep_ = RunEnd::Finished;
        }
    } catch (const platform::EAbort&) {
        stopAfterStep_ = RunEnd::Aborted;
    } catch (const std::exception& error) {
        outcome_.error = ErrorText(error);
        stopAfterStep_ = RunEnd::Error;
    }
    inStep_ = false;
    if (stopAfterStep_) {
        const RunEnd why = *stopAfterStep_;
        stopAfterStep_.reset();
        run_.RefuseSends(false);
        Stop(why);
        return std::nullopt;
    }
    return Running() ? wake : std::nullopt;
}

bool CentroidWorkflows::Follow(const ModeNext& next, std::u16string queried) {
    switch (next.kind) {
        case ModeNext::Kind::Step:
            modeStep_ = next.step;
            return true;
        case ModeNext::Kind::Wait:
            waiting_ = Waiting{Phase::Mode, host_.NowMs(), next.limitMs, next.step, next.forUser, next.onReportFolder};
            return true;
        case ModeNext::Kind::Query:
            modeStep_ = next.step;
            run_.SetQueried(next.name, std::move(queried));
            // A late host reaches the query after the link has looked: its prompt shows the value
            // then. A host seen to have taken the query at once has said all it will.
            if (run_.Queried().empty() && next.lateHost && !queryTakenAtOnce_) {
                lateName_ = next.name;
                // The host may show the query's prompt only after the run has ended: a Ctrl+C
                // then leaves it.
                run_.Guard().Changed(kLateQuery, kCancel);
                waiting_ = Waiting{Phase::LateValue, host_.NowMs(), kLateHostMs, next.step, false, false};
            }
            return true;
        case ModeNext::Kind::Group:
            // A late host still shows UNDO's prompt after the answer: the mode's first look
            // must not take it for its own command's.
            waiting_ = Waiting{undoAnswered_ ? Phase::UndoAnswered : Phase::UndoPrompt,
                               host_.NowMs(),
                               kLateHostMs,
                               next.step,
                               false,
                               false};
            return true;
        case ModeNext::Kind::Idle:
            waiting_ = Waiting{Phase::UndoAnswered, host_.NowMs(), kLateHostMs, next.step, false, false};
            return true;
        case ModeNext::Kind::End:
            break;
    }
    return false;
}

std::u16string CentroidWorkflows::Query(const ModeNext& next) {
    // Until the run knows whether the host takes input at once, the history tells it: a host that
    // took the query inside the send has a new last line, whatever it answered.
    queryTakenAtOnce_ = false;
    std::optional<std::u16string> before;
    if (next.lateHost && !run_.HostLate())
        before = link_.LastHistoryLine();
    if (!run_.SendBrief(link_.QueryRecord(next.name)))
        return std::u16string();
    const unsigned putOff = link_.PutOff();
    std::u16string value = link_.QueriedValue(next.name);
    // Nothing is learnt from a CAD program that did not answer the reads.
    if (before && link_.PutOff() == putOff && (!value.empty() || link_.LastHistoryLine() != *before)) {
        run_.SetHostLate(false);
        queryTakenAtOnce_ = true;
    }
    return value;
}

bool CentroidWorkflows::WaitOver() {
    if (waiting_->phase == Phase::Settle)
        return ClickSettled();
    const Look look = LookAtHost();
    if (look.busy)
        return false;
    if (look.prompt != lastPrompt_) {
        lastPrompt_ = look.prompt;
        run_.NoteChange();
    }
    run_.SetLastLook(look);
    if (waiting_->phase == Phase::UndoPrompt)
        return look.gone || IsUndoPrompt(look.prompt);
    if (waiting_->phase == Phase::UndoAnswered)
        return look.gone || look.prompt == kIdlePrompt;
    if (waiting_->phase == Phase::LateValue)
        return look.gone || !cadlink::ValueShownFor(look.prompt, lateName_).empty();
    return mode_->Seen(run_.LastLook());
}

// The rest of a double or triple click on Execute lands on this window, never on a CAD program
// that asks for a point: a further click comes within the double-click time of the one before and
// inside the double-click rectangle around it. Enter and Space leave nothing to come.
bool CentroidWorkflows::ClickSettled() {
    const PointerNow pointer = host_.Pointer();
    const DoubleClickLimits& limits = run_.Request().doubleClick;
    const std::uint64_t now = host_.NowMs();
    if (pointer.buttonsDown) {
        if (!settle_.buttonsWereDown) {
            settle_.clickAt = now;
            settle_.clickPoint = pointer.at;
        }
        settle_.buttonsWereDown = true;
        return false;
    }
    settle_.buttonsWereDown = false;
    const bool left = 2 * std::abs(pointer.at.x - settle_.clickPoint.x) > limits.width ||
                      2 * std::abs(pointer.at.y - settle_.clickPoint.y) > limits.height;
    return left || now - settle_.clickAt >= limits.timeMs;
}

Look CentroidWorkflows::LookAtHost() {
    Look look;
    const platform::WindowHandle promptWindow = link_.Discovery().FindPromptWindow();
    if (promptWindow)
        look.prompt = link_.ReadWindowText(promptWindow);
    // A prompt that reads empty for a moment (the host redrawing it) is no sign of anything.
    look.gone = !promptWindow;
    look.busy = !look.gone && !link_.Answering();
    return look;
}

unsigned CentroidWorkflows::LookIntervalMs(std::uint64_t now) const {
    if (waiting_ && waiting_->forUser && now - run_.LastChangeMs() >= kBusyAfterChangeMs)
        return kUserLookIntervalMs;
    return kLookIntervalMs;
}

std::optional<Wake> CentroidWorkflows::WaitWhileBusy() {
    const std::uint64_t now = host_.NowMs();
    if (link_.Answering()) {
        if (busySince_) {
            // The time the CAD program was busy is not the host's lateness.
            const std::uint64_t busyMs = now - *busySince_;
            if (waiting_ && !waiting_->forUser)
                waiting_->start += busyMs;
            mode_->Postpone(busyMs);
            busySince_.reset();
        }
        return std::nullopt;
    }
    if (!busySince_)
        busySince_ = now;
    // A CAD program busy as long as a user may take ends the run as the user's silence would.
    if (now - *busySince_ >= kWaitLimitMs) {
        stopAfterStep_ = RunEnd::TimeLimit;
        return std::nullopt;
    }
    return Wake{kBusyLookIntervalMs, waiting_ && waiting_->onReportFolder, waiting_ && waiting_->forUser};
}

std::optional<Wake> CentroidWorkflows::TakeUpPutBack() {
    if (Running())
        return std::nullopt;
    link_.TakeUpPending();
    if (!run_.Guard().Empty()) {
        if (!link_.Discovery().IsCadReady())
            run_.Guard().Forget();
        else if (link_.Answering())
            run_.Guard().PutBackAll();
    }
    if (!PutBackPending())
        return std::nullopt;
    return Wake{kBusyLookIntervalMs, false, false};
}

void CentroidWorkflows::Stop(RunEnd why) {
    if (!Running())
        return;
    if (inStep_) {
        // The step is still on the stack: what it changed goes back now (the process may end as
        // soon as the message is answered), and the run ends when it returns.
        PutBackCadSettings();
        if (!stopAfterStep_)
            stopAfterStep_ = why;
        run_.RefuseSends(true);  // the rest of the step types nothing
        return;
    }
    const std::u16string error = why == RunEnd::Error ? outcome_.error : std::u16string();
    try {
        PutBackCadSettings();
    } catch (...) {
        // The window still comes back below; a history read that fails here shows nothing.
    }
    End(why, error);
}

void CentroidWorkflows::PutBackCadSettings() {
    if (!link_.Discovery().IsCadReady())
        run_.Guard().Forget();
    // A busy CAD program keeps what is left; it goes back once it answers (TakeUpPutBack).
    run_.StepDone();
    run_.Guard().PutBackAll();
    // A command the run typed that still asks for input (a pick nobody made, a value the CAD
    // program refused) would take the user's next click in the drawing: one Ctrl+C ends it.
    if (run_.Asked() && link_.Answering() && link_.Discovery().IsCadReady()) {
        const Look look = LookAtHost();
        if (!look.gone && !look.busy && !look.prompt.empty() && look.prompt != kIdlePrompt)
            run_.SendBrief(kCancel);
    }
}

std::u16string CentroidWorkflows::ErrorText(const std::exception& error) {
    const auto* own = dynamic_cast<const framework::Exception*>(&error);
    return own ? own->Message() : system_.AnsiToWide(error.what());
}

void CentroidWorkflows::End(RunEnd why, const std::u16string& error) {
    phase_ = Phase::Ended;
    waiting_.reset();
    outcome_ = {why, error};
    link_.ForgetCutShort();
    run_.RestoreWindow();
}

}  // namespace app
