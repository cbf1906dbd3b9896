#pragma once
// The main window and the machine as a run sees them, the one CAD link of the process, and what
// drives a run from the window's own message loop.

#include <functional>

#include "balloon_tip.h"
#include "cadlink/cad_link.h"
#include "framework/handles.h"
#include "framework/utility_window.h"
#include "tavro_form.h"
#include "user_input_waker.h"
#include "win32_command_line.h"
#include "win32_window_system.h"
#include "workflow_host.h"
#include "workflows.h"

namespace app {

class Win32WorkflowHost : public WorkflowHost {
public:
    explicit Win32WorkflowHost(TTavroF& form) : form_(form) {}

    std::u16string SizeText() override;
    bool ContinuousChecked() override;
    PointerNow Pointer() override;
    std::uint64_t NowMs() override;
    LocalTime Now() override;
    Checked<std::optional<std::string>> ReadReportFile(const std::u16string& path) override;
    std::optional<std::uint64_t> FileVersion(const std::u16string& path) override;
    std::optional<std::u16string> ShortPathOf(const std::u16string& path) override;
    // A row that cannot be written now is kept and written with the next one.
    void Tell(const RunEvent& event) override;
    // The request of an Execute, from the window as it is now.
    RunRequest Request(RunMode mode, const RunTrigger& trigger);
    // Shows the error box once when a row of the last run could not be written.
    void ReportResultsFailure();

    // The tip of the last run that had a word for the user (no CAD program, no closed area at the
    // pick), while it is shown.
    const BalloonTip& CadMissingTip() const { return cadMissingTip_; }

private:
    void Show(const ValuesMeasured& values);
    void Show(const RowAdded& row);
    void Show(const HintShown& hint);
    void Show(const NoCadProgram&);
    void Show(const NoClosedArea&);
    void Show(const WindowMinimized& window);
    void Show(const MessageShown& message);

    TTavroF& form_;
    BalloonTip cadMissingTip_;
};

// How often a run looks while it waits, given what it asks for: the product takes the run's own
// pace; a benchmark build may supply another.
using LookPace = std::function<unsigned(unsigned wishedMs)>;
// Told whenever the run registered or removed its raw input: a benchmark build records what the
// process has registered, which nothing outside the process can read.
using InputWatch = std::function<void()>;

// Everything a run of the program needs to drive the CAD program, wired to the main window: a run
// is stepped from a timer of the window's thread, and woken early when the report folder changes;
// the user's release of a button or a key while it waits for the user; the CAD program's process
// ending stops it.
class TavroRuntime : public Workflows {
public:
    explicit TavroRuntime(TTavroF& form, LookPace pace = nullptr, InputWatch inputWatch = nullptr);
    ~TavroRuntime() override;
    TavroRuntime(const TavroRuntime&) = delete;
    TavroRuntime& operator=(const TavroRuntime&) = delete;

    void Start(RunMode mode, const RunTrigger& trigger) override;
    bool Running() const override { return workflows_.Running(); }
    void Stop(RunEnd why) override;
    // After the window has gone: what a run changed in a CAD program that was busy goes back as
    // soon as it answers, within limitMs; returns at once when nothing is left to put back.
    void FinishPutBack(unsigned limitMs);

private:
    struct ChangeNotificationTraits {
        static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
        static void Close(HANDLE h) { ::FindCloseChangeNotification(h); }
    };
    using ChangeNotification = framework::UniqueHandle<HANDLE, ChangeNotificationTraits>;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void StepNow();
    // After the run's last step: the error of a step, and a row that could not be written.
    void RunEnded();
    void WatchHandles();
    // Wakes the loop after afterMs, and the timer a little later for a loop of another kind.
    void WakeAfter(unsigned afterMs);
    void ListenToUser(bool on);

    TTavroF& form_;
    LookPace pace_;
    InputWatch inputWatch_;
    platform::Win32WindowSystem windows_;
    platform::Win32CommandLineSystem system_;
    platform::Win32Clipboard clipboard_;
    cadlink::CadLink link_;
    Win32WorkflowHost host_;
    CentroidWorkflows workflows_;
    framework::TUtilityWindow wakeWindow_;
    UserInputWaker userInput_;
    framework::KernelHandle cadProcess_;
    bool cadProcessOpened_ = false;
    // Made once and kept: making one costs more than a look.
    ChangeNotification reportFolder_;
    bool watchReportFolder_ = false;
};

}  // namespace app
