#pragma once
// The two measuring workflows: face-centre mode (the user clicks inside a closed area; the CAD
// program builds a boundary and a region there and measures it) and region mode (the user selects
// regions at the CAD program's own prompt, once or continuously). Each ends with a circle at the
// centroid that the report gives.
//
// A run is a list of steps. Start checks the size and the CAD program and returns at once; the
// window's own message loop then calls Step when the run asked to be woken, and each step types
// what it types or looks once at what it waits for. Stop ends a run from wherever the user or the
// system ends it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cadlink/cad_link.h"
#include "platform/command_line_system.h"
#include "run_paths.h"
#include "workflow_host.h"

namespace app {

// The first comma-separated item of a trimmed text; the text keeps what follows the comma.
std::string SplitFirst(std::string& text);

// True when a value read from the CAD program or its report can be typed back safely: nothing in
// it would end the input early or start another command.
bool IsTypeableValue(const std::string& value);

// A blank ends an input at the CAD command line except inside double quotes.
std::string QuotedIfBlank(const std::string& text);

// The radius a circle size gives in both modes: the blanks and control characters around it
// removed. Throws the framework's conversion error for a size the CAD program would not take.
std::string RadiusOfSize(const std::string& sizeText);

enum class RunMode { FaceCentre, Region };

// How Execute was given: a click leaves the rest of a double click to come, a key nothing.
struct RunTrigger {
    bool byPointer = false;
    PointerPoint at;  // where the click was, in screen pixels
};

// Why a run ended.
enum class RunEnd {
    Finished,    // the workflow came to its end (a circle drawn, or nothing to draw)
    Close,       // the user closed the window
    SessionEnd,  // the system is logging off or shutting down
    CadGone,     // the CAD program's process ended
    TimeLimit,   // the user gave no pick or selection in time
    Aborted,     // the clipboard could not be used: ends without a word
    Error,       // a size, report or file error, shown after the run
};

struct RunOutcome {
    RunEnd end = RunEnd::Finished;
    std::string error;  // for RunEnd::Error: the error box's text
};

// When a waiting run wants its next step: after this long, or earlier when the report folder
// changes, the user lets go of a button or a key, or the CAD program's process ends.
struct Wake {
    unsigned afterMs = 0;
    bool onReportFolder = false;
    bool onUserInput = false;  // the run waits for the user's pick or selection
};

class CentroidWorkflows {
public:
    CentroidWorkflows(cadlink::CadLink& link,
                      platform::CommandLineSystem& system,
                      WorkflowHost& host,
                      const RunPaths& paths)
        : link_(link), system_(system), host_(host), paths_(paths) {}

    // Checks the size and starts a run; true when a run goes on (call Step at once and then as
    // each Wake says). A size refused ends it at once: the size message is shown, or the error is
    // left in Outcome. Asked during a run it does nothing.
    bool Start(RunMode mode, const RunTrigger& trigger = {});
    // Does what is due and returns when to come back; nothing once the run has ended.
    std::optional<Wake> Step();
    // Ends the run at once: puts back what it changed in the CAD program, cancels a command of its
    // own that still asks for input, and gives the window back its normal state. Called from a
    // message handled inside a step, it does the putting back at once and ends the run as the step
    // returns.
    void Stop(RunEnd why);
    // The user let go of a button or a key: the CAD program is about to show what it did, so the
    // wait looks often again for a while.
    void UserActed() { lastChangeMs_ = host_.NowMs(); }
    bool Running() const { return step_ != StepId::Ended; }
    // How the last run ended.
    const RunOutcome& Outcome() const { return outcome_; }
    // The process of the CAD program the run drives, for a wake-up when it ends (0: none known).
    std::uint32_t CadProcessId() const { return link_.Discovery().Kept().MainProcessId; }

    // A wait looks at the host this often while the host has just been given something.
    static constexpr unsigned kLookIntervalMs = 10;
    // While the same prompt has waited for the user this long, it is looked at less often: every
    // look is a message to the CAD program, and a person takes longer than this to pick.
    static constexpr std::uint64_t kBusyAfterChangeMs = 300;
    // The user's own clicks and keys wake the wait (Wake::onUserInput); this slow look is for what
    // no device reports: a point or an Esc that another program sends the CAD program as messages
    // (a digitiser's or a macro tool's), and the CAD program ending the command by itself.
    static constexpr unsigned kUserLookIntervalMs = 250;
    // The longest wait for the user (a pick, a selection) or for the report.
    static constexpr std::uint64_t kWaitLimitMs = 120000;
    // A host that takes typed input late still shows the idle prompt for a while: a wait ends on
    // it only on evidence that the command ran, or after this long.
    static constexpr std::uint64_t kLateHostMs = 10000;
    // How often the history is looked at while a late host has shown nothing of the pick yet:
    // every look at it is a clipboard exchange.
    static constexpr std::uint64_t kHistoryLookMs = 250;
    // A question still shown after its answer is answered again only this much later: a host that
    // handles input at once asks again, a late one has not read the answer yet.
    static constexpr std::uint64_t kRepeatAnswerMs = 200;

private:
    // The steps of both workflows, in the order a run meets them.
    enum class StepId {
        Ended,
        CheckCad,
        LetTheClickSettle,
        TakeLateValue,
        // face-centre mode
        AskForPick,
        JudgePick,
        UsePoint,
        UseBoundaryKind,
        Measure,
        AnswerReplace,
        DrawFaceCentreCircle,
        // region mode
        StartRegion,
        StartPass,
        AskForSelection,
        EndPass,
    };
    // What one look at the host saw. Gone only when the CAD program's window or its prompt window
    // no longer exists or it stopped answering: an empty prompt read alone is not the end.
    struct Look {
        bool gone = false;
        std::string prompt;
    };
    struct Waiting {
        std::function<bool()> done;
        std::uint64_t start = 0;
        std::uint64_t limitMs = 0;
        StepId then = StepId::Ended;
        bool forUser = false;  // the user's pick or selection: its time limit ends the run
        bool onReportFolder = false;
    };

    // Runs one step and says which comes next.
    StepId Perform(StepId step);
    StepId CheckCad();
    StepId LetTheClickSettle();
    StepId AskForPick();
    StepId JudgePick();
    StepId UsePoint();
    StepId UseBoundaryKind();
    StepId Measure();
    StepId AnswerReplace();
    StepId DrawFaceCentreCircle();
    StepId StartRegion();
    StepId StartPass();
    StepId AskForSelection();
    StepId EndPass();

    // The next step waits until done says so (looked at once at once) or limitMs have passed.
    StepId WaitUntil(std::function<bool()> done, std::uint64_t limitMs, StepId then, bool forUser = false);
    // A wait on the prompt; the look that ended it is in lastLook_.
    StepId WaitForPrompt(std::function<bool(const Look&)> done,
                         std::uint64_t limitMs,
                         StepId then,
                         bool forUser = false);
    // Asks for a system variable's value into queried_, then goes on with then; from a late host,
    // once it shows the value's prompt.
    StepId Query(const std::string& name, StepId then);
    StepId TakeLateValue();
    // The look pace of the wait that is on.
    unsigned LookIntervalMs(std::uint64_t now) const;
    void End(RunEnd why, const std::string& error = std::string());
    void PutBackCadSettings();

    bool Send(const std::u16string& text);
    bool SendAssembled(const std::string& text) { return Send(system_.AnsiToWide(text)); }
    // A command longer than one record would be cut or not typed at all: the run must not start.
    // Throws the framework's file error naming the work folder, whose length is the cause.
    void CheckFitsRecord(const std::string& command);
    // Only a run that reads values shows values.
    void ClearLabels();
    Look LookAtHost();
    void SwitchFileDialogs(bool on);
    // The user's FILEDIA, as the run found it: only 0 and 1 are file-dialog settings, anything
    // else (or no answer) is taken as the CAD program's default, 1.
    void KeepUserFileDialogs(const std::string& value);
    void RestoreBoundaryKind();
    // Answers the questions of the mass-properties command on one prompt, and the next ones the
    // host shows at once; returns the prompt it stopped at.
    std::string AnswerMasspropQuestions(std::string prompt, const std::string& reportPath);
    // The report's text, only when this run rewrote it.
    std::optional<std::string> ReadFreshReport(const std::string& path, std::optional<std::uint64_t> before);
    // Types the circle and adds the measurement to the results list.
    void DrawCircle(ReportVariant variant, const ReportValues& values);

    cadlink::CadLink& link_;
    platform::CommandLineSystem& system_;
    WorkflowHost& host_;
    const RunPaths& paths_;

    // The run as a whole.
    StepId step_ = StepId::Ended;
    RunMode mode_ = RunMode::FaceCentre;
    RunTrigger trigger_;
    RunOutcome outcome_;
    std::optional<Waiting> waiting_;
    Look lastLook_;
    std::string lastPrompt_;
    std::uint64_t lastChangeMs_ = 0;  // when the run last typed or saw the prompt change
    bool inStep_ = false;
    std::optional<RunEnd> stopAfterStep_;
    bool asked_ = false;
    bool minimized_ = false;
    std::uint64_t clickAt_ = 0;
    PointerPoint clickPoint_;
    bool buttonsWereDown_ = false;
    platform::WindowHandle historyPane_ = 0;
    bool lateHost_ = false;  // the host did not show the pick prompt inside the send
    std::string queryName_;
    std::string queried_;
    StepId afterQuery_ = StepId::Ended;

    // What the run changed in the CAD program, while it has changed it.
    bool fileDialogsOff_ = false;
    std::string userFileDialogs_ = "1";
    bool fileDialogsKnown_ = false;
    std::string boundaryKind_;  // HPBOUND as the run found it, while the run has changed it

    // Face-centre mode.
    std::string historyBefore_;
    bool sawCommand_ = false;
    bool pickInHistory_ = false;
    std::string pickLine_;
    bool firstLook_ = true;
    bool historyLooked_ = false;
    std::uint64_t historyLookedAt_ = 0;
    std::uint64_t phaseStart_ = 0;
    std::string pointX_, pointY_;
    std::string reportPath_;
    std::optional<std::uint64_t> reportBefore_;
    bool boundaryMakesRegion_ = false;
    bool sawQuestion_ = false;

    // Region mode.
    std::optional<std::string> passHistoryBefore_;
    bool started_ = false;
    bool selectionLate_ = false;
    std::string answered_;
    std::uint64_t answeredAt_ = 0;
};

}  // namespace app
