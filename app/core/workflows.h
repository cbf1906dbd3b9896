#pragma once
// The two measuring workflows: face-centre mode (the user clicks inside a closed area; the CAD
// program builds a boundary and a region there and measures it) and region mode (the user selects
// regions at the CAD program's own prompt, once or continuously). Each ends with a circle at the
// centroid that the report gives.

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

// The text without the blanks (code 32) at either end.
std::string TrimSpaces(const std::string& text);

// A blank ends an input at the CAD command line except inside double quotes.
std::string QuotedIfBlank(const std::string& text);

struct RegionPassResult {
    bool reportRead = false;
    ReportValues values;
    std::string lastLine;  // the history's last line as the pass read it after the selection
};

class CentroidWorkflows {
public:
    CentroidWorkflows(cadlink::CadLink& link,
                      platform::CommandLineSystem& system,
                      WorkflowHost& host,
                      const RunPaths& paths)
        : link_(link), system_(system), host_(host), paths_(paths) {}

    // A second run asked for while one is waiting does nothing.
    void FaceCentre();
    void Region();
    // historyBefore: the history's last line before the pass, when the caller knows it; read
    // afresh otherwise.
    RegionPassResult RegionPass(const std::string& reportPath,
                                const std::optional<std::string>& historyBefore = std::nullopt);
    bool Running() const { return running_; }
    // Puts back at once the CAD settings the running run changed (file dialogs, the boundary
    // kind) and cancels a command of the run that still asks for input; called as a run ends, and
    // for a process that may end before the run can unwind (the session is ending).
    void PutBackCadSettings();

    // A wait looks at the host this often, handling the window's messages in between, so that
    // the answer to a pick comes at once and the banner keeps moving.
    static constexpr unsigned kLookIntervalMs = 10;
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

    // For the benchmark's side-by-side figures only: sleep this long between looks without
    // handling messages meanwhile (0: the product's waits).
    void SetFixedSleepMs(unsigned milliseconds) { fixedSleepMs_ = milliseconds; }

private:
    class RunScope;
    enum class Wait { Idle, Replace };

    bool Send(const std::u16string& text) { return link_.SendCommand(text); }
    // A command longer than one record would be cut or not typed at all: the run must not start.
    // Throws the framework's file error naming the work folder, whose length is the cause.
    void CheckFitsRecord(const std::string& command);
    // Only a run that reads values shows values.
    void ClearLabels();
    bool SendAssembled(const std::string& text) { return link_.SendCommand(system_.AnsiToWide(text)); }
    // Lets the window work; ends the run when the user closes the window or the session ends.
    void ProcessMessages();
    // Returns once the mouse buttons are up and none went down for the double-click time, the
    // window working meanwhile: the rest of a double or triple click on Execute then lands on this
    // window, never on a CAD program that asks for a point.
    void LetTheClickSettle();
    // What one look at the host saw. Gone only when the CAD program's window or its prompt window
    // no longer exists or it stopped answering: an empty prompt read alone is not the end.
    struct Look {
        bool gone = false;
        std::string prompt;
    };
    Look LookAtHost();
    // Looks at the host at once and then every look interval, handling the window's messages in
    // between, until done accepts a look or limitMs have passed; returns the last look. Ends the
    // run (the silent abort) once the user closes the window.
    Look WaitFor(const std::function<bool(const Look&)>& done, std::uint64_t limitMs);
    // A system variable's value; from a late host, once it shows the value's prompt.
    std::string QuerySysVar(const std::string& name);
    void SwitchFileDialogs(bool on);
    // Has -BOUNDARY make the region itself, so that no object of the user's is ever turned into
    // one; false when the host does not tell its boundary kind (then "_region L" makes it).
    bool SwitchBoundaryToRegions();
    void RestoreBoundaryKind();
    // Answers the questions of the mass-properties command on one prompt, and the next ones the
    // host shows at once; returns the prompt it stopped at.
    std::string AnswerMasspropQuestions(std::string prompt, const std::string& reportPath);
    // The report's text, only when this run rewrote it.
    std::optional<std::string> ReadFreshReport(const std::string& path, std::optional<std::uint64_t> before);

    cadlink::CadLink& link_;
    platform::CommandLineSystem& system_;
    WorkflowHost& host_;
    const RunPaths& paths_;
    bool running_ = false;
    bool fileDialogsOff_ = false;
    std::string boundaryKind_;  // HPBOUND as the run found it, while the run has changed it
    platform::WindowHandle historyPane_ = 0;
    unsigned fixedSleepMs_ = 0;
    bool lateHost_ = false;  // the host did not show the pick prompt inside the send
};

}  // namespace app
