#pragma once
// The two measuring workflows: face-centre mode (the user clicks inside a closed area; the CAD
// program builds a boundary and a region there and measures it) and region mode (the user selects
// regions at the CAD program's own prompt, once or continuously). Each ends with a circle at the
// centroid that the report gives.
//
// CentroidWorkflows is the run's driver: Start checks the request and returns at once; the
// window's own message loop then calls Step when the run asked to be woken, and each step types
// what it types or looks once at what it waits for. The steps of each mode live in an object of
// their own (FaceCentreRun, RegionRun); what the run changed in the CAD program is its guard's
// (CadGuard), which puts it back however the run ends. Stop ends a run from wherever the user or
// the system ends it. The run tells the window what happened as events (RunEvent).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "cadlink/cad_link.h"
#include "platform/command_line_system.h"
#include "run/run_context.h"
#include "run/run_types.h"
#include "run_paths.h"
#include "workflow_host.h"

namespace app {

class CentroidWorkflows {
public:
    CentroidWorkflows(cadlink::CadLink& link,
                      platform::CommandLineSystem& system,
                      WorkflowHost& host,
                      const RunPaths& paths)
        : link_(link), system_(system), host_(host), paths_(paths), run_(link, system, host, paths) {}

    // Checks the size and starts a run; true when a run goes on (call Step at once and then as
    // each Wake says). A size refused ends it at once: the size message is shown, or the error is
    // left in Outcome. Asked during a run it does nothing.
    bool Start(const RunRequest& request);
    // Does what is due and returns when to come back; nothing once the run has ended.
    std::optional<Wake> Step();
    // Ends the run at once: puts back what it changed in the CAD program, cancels a command of its
    // own that still asks for input, and gives the window back its normal state. Called from a
    // message handled inside a step, it does the putting back at once and ends the run as the step
    // returns. What a busy CAD program cannot take yet is left to TakeUpPutBack.
    void Stop(RunEnd why);
    // The user let go of a button or a key: the CAD program is about to show what it did, so the
    // wait looks often again for a while.
    void UserActed() { run_.NoteChange(); }
    bool Running() const { return phase_ != Phase::Ended; }
    // How the last run ended.
    const RunOutcome& Outcome() const { return outcome_; }
    // The process of the CAD program the run drives, for a wake-up when it ends (0: none known).
    std::uint32_t CadProcessId() const { return link_.Discovery().Kept().MainProcessId; }
    // Whether an ended run still has something to put back in a CAD program that was busy.
    bool PutBackPending() { return !Running() && (!run_.Guard().Empty() || link_.ClipboardPending()); }
    // Puts it back once the CAD program answers; returns when to try again, nothing once done
    // (or once the CAD program is gone).
    std::optional<Wake> TakeUpPutBack();

    // A wait looks at the host this often while the host has just been given something.
    static constexpr unsigned kLookIntervalMs = 10;
    // While the same prompt has waited for the user this long, it is looked at less often: every
    // look is a message to the CAD program, and a person takes longer than this to pick.
    static constexpr std::uint64_t kBusyAfterChangeMs = 300;
    // The user's own clicks and keys wake the wait (Wake::onUserInput); this slow look is for what
    // no device reports: a point or an Esc that another program sends the CAD program as messages
    // (a digitiser's or a macro tool's), and the CAD program ending the command by itself. Each
    // look costs the CAD program two messages (a sign of life, then the prompt): at this pace a
    // waiting run costs the whole desktop under 0.3 % of a core, and such a pick is still seen
    // within a third of a second.
    static constexpr unsigned kUserLookIntervalMs = 300;
    // A CAD program that does not answer is looked at this often, until it answers again or has
    // been busy for kWaitLimitMs: a look asks the window system only whether an answer came.
    static constexpr unsigned kBusyLookIntervalMs = 50;

private:
    // Where the run is: its own steps before and around the mode's, or the mode's.
    // UndoAnswered: until the prompt is idle, after UNDO's answer or the run's settings.
    enum class Phase { Ended, CheckCad, Settle, LateValue, UndoPrompt, UndoAnswered, Mode };
    struct Waiting {
        Phase phase = Phase::Mode;  // whose wait: the click settling, a late value, UNDO's prompt, or the mode's
        std::uint64_t start = 0;
        std::uint64_t limitMs = 0;
        int then = 0;  // the mode's step that follows
        bool forUser = false;
        bool onReportFolder = false;
    };
    // The rest of a double or triple click on Execute, while it may still come.
    struct ClickSettle {
        std::uint64_t clickAt = 0;
        platform::Point clickPoint{};
        bool buttonsWereDown = false;
    };

    // The CAD program is brought forward; false without one. Refused for a work folder that the
    // CAD program cannot be given or whose report path is too long for one record.
    Checked<bool> CheckCad();
    bool ClickSettled();
    // Carries out what a mode's step asked for next (a query's value already read); false when
    // the run ends.
    bool Follow(const ModeNext& next, std::u16string queried);
    // Types the query a step asked for and reads the value back; empty when it is not shown yet.
    std::u16string Query(const ModeNext& next);
    // One look at the CAD program for the wait that is on.
    bool WaitOver();
    Look LookAtHost();
    unsigned LookIntervalMs(std::uint64_t now) const;
    std::optional<Wake> WaitWhileBusy();
    // What the error box says of a fault: a message of the framework's own, or the library's.
    std::u16string ErrorText(const std::exception& error);
    void PutBackCadSettings();
    void End(RunEnd why, const std::u16string& error = std::u16string());

    cadlink::CadLink& link_;
    platform::CommandLineSystem& system_;
    WorkflowHost& host_;
    const RunPaths& paths_;
    RunContext run_;
    std::unique_ptr<ModeRun> mode_;

    Phase phase_ = Phase::Ended;
    int modeStep_ = 0;
    RunOutcome outcome_;
    std::optional<Waiting> waiting_;
    ClickSettle settle_;
    std::u16string lateName_;        // the variable whose value a late host is to show
    bool queryTakenAtOnce_ = false;  // the last query's host was seen to take it inside the send
    bool undoAnswered_ = false;
    std::u16string undoShown_;  // UNDO's prompt as the step's first try read it
    std::u16string lastPrompt_;
    std::optional<std::uint64_t> busySince_;
    unsigned putOffBeforeStep_ = 0;
    bool inStep_ = false;
    std::optional<RunEnd> stopAfterStep_;
};

}  // namespace app
