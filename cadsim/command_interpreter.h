#pragma once
// The host's command line as portable logic: keystrokes and clicks in the drawing go in, the
// prompt, the history, the drawing and the system variables come out. The windows only show what
// this holds; commands are small state machines that answer one input at a time, so more of them
// can be added to the table.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "running_command.h"

namespace cadsim {

// What looks different in the drawing since the last look.
struct RedrawAreas {
    std::vector<DrawingChange> drawing;  // entities added or removed
    std::vector<Box> selection;          // the bounds of entities selected or let go
};

// The prompt of a command line waiting for a command.
extern const char kIdlePrompt[];

// Starts a command: null when it ended at once (having printed what it had to say).
using CommandFactory = std::function<std::unique_ptr<RunningCommand>(CommandContext& context)>;

// Where typed keys come from: the user's keyboard, or a script (which OSNAPCOORD 2 snaps).
enum class KeySource { Keyboard, Script };

class CommandInterpreter {
public:
    // files may be null (no report can then be written); it must outlive the interpreter.
    explicit CommandInterpreter(History history = History(),
                                SystemVariables variables = SystemVariables(),
                                Drawing drawing = Drawing(),
                                ReportFiles* files = nullptr,
                                UndoControl undoControl = UndoControl::All);

    // Keystrokes in code page 932: "\r" and a space end an input, 0x03 cancels the running
    // command, backspace erases the last character typed; other control characters are ignored.
    // Between double quotes a space is part of the input (a file name with blanks); the quotes
    // themselves are not. "_non" or "none" at a point prompt leaves the next point unsnapped.
    void Type(const std::string& keys, KeySource source = KeySource::Keyboard);

    // The user clicked the drawing at point. False when the prompt takes no clicks (then nothing
    // happens); what was typed but not ended is dropped.
    bool Click(const Point& point);

    // How near (in drawing units) a point must come to a snap point to be moved onto it: the
    // host's aperture at the view's scale. kSnapAperturePixels until set.
    void SetSnapAperture(double drawingUnits) { snapAperture_ = drawingUnits; }

    // Opens an UNDO group as the user's own, as UNDO BEgin typed at the idle prompt does, and draws
    // entity inside it. False, and nothing changes, when the undo control allows no groups.
    bool OpenUserGroup(Entity entity);

    // The input line: the current prompt followed by what has been typed since the last input.
    std::string PromptText() const;
    // The current prompt alone.
    std::string Prompt() const;
    bool TakesClicks() const { return !transparent_ && running_ && running_->TakesClicks(); }
    const History& Lines() const { return history_; }
    const SystemVariables& Variables() const { return variables_; }
    const Drawing& CurrentDrawing() const { return drawing_; }
    std::vector<int> Highlighted() const;
    bool Idle() const { return running_ == nullptr; }
    const UndoHistory& Undo() const { return undo_; }

    // The log lines of what happened since the last call (entities, variables, files), oldest first.
    std::vector<std::string> TakeEvents();

    // What looks different in the drawing since the last call: entities added or removed, and
    // entities selected or let go.
    RedrawAreas TakeRedrawAreas();

private:
    void Submit();
    void Cancel();
    void Erase();
    void Start(const std::string& input);
    // The running command has ended (or was cancelled): what it changed becomes a step to take back.
    void EndCommand();
    // What commands see of the host for one input, with UNDOCTL brought up to date first.
    CommandContext Context();
    void UpdateUndoCtl();

    History history_;
    SystemVariables variables_;
    Drawing drawing_;
    ReportFiles* files_;
    std::vector<std::string> events_;
    std::map<std::string, CommandFactory> commands_;
    std::unique_ptr<RunningCommand> running_;
    std::unique_ptr<RunningCommand> transparent_;  // 'SETVAR at the running command's prompt
    UndoHistory undo_;
    DrawingEdits edits_;                 // of the running command
    std::string stepName_;               // of the running command; empty when it is no step (UNDO, U)
    std::string pending_;                // typed since the last input ended
    bool quoted_ = false;                // inside double quotes: a space does not end the input
    std::string lastCommand_;            // what Enter at the idle prompt repeats
    std::vector<int> shownHighlighted_;  // sorted; as of the last TakeRedrawAreas
    double snapAperture_;
    KeySource source_ = KeySource::Keyboard;  // of the keys being typed
    bool unsnapNext_ = false;                 // "_non" was given at the current point prompt
};

// How many lines a host shows after opening a drawing.
constexpr std::size_t kOpeningLineCount = 3;

// The lines a host shows after opening a drawing, preceded by filler lines when more are asked
// for: exactly lineCount lines (at most kHistoryLimit), the opening lines last.
History OpeningHistory(std::size_t lineCount = kOpeningLineCount);

}  // namespace cadsim
