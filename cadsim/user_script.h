#pragma once
// The scripted user: steps read from a file and done one after the other, each as soon as the
// prompt shows its text, so that tests and demonstrations answer the host's prompts the same way
// every time. One step per line, '#' starts a comment:
//
//   pick X,Y [at TEXT]     click the drawing at a point
//   select X,Y [at TEXT]   click inside an object to select it
//   enter [at TEXT]        press Enter
//   esc [at TEXT]          press Esc
//   wait MS                let MS milliseconds pass before the next step
//   freeze MS [at TEXT]    the host stops responding for MS milliseconds (its window thread blocks)
//
// A step with "at TEXT" acts when the prompt contains TEXT (the rest of the line, code page 932).
// Without it, pick acts at a prompt that begins with "点を指定" (ID's, not CIRCLE's or
// -BOUNDARY's), select and enter at one that begins with "オブジェクトを選択", and esc and
// freeze at any prompt of a running command. Portable: no window system here.

#include <string>
#include <utility>
#include <vector>

#include "command_interpreter.h"

namespace cadsim {

struct UserStep {
    enum class Kind { Pick, Select, Enter, Esc, Wait, Freeze };
    Kind kind = Kind::Enter;
    Point point;               // Pick, Select
    std::string prompt;        // acts when the prompt shows this; empty: any running command
    bool atStart = false;      // the prompt must begin with it, not only contain it
    unsigned long waitMs = 0;  // Wait, Freeze
    std::size_t line = 0;      // in the script file
};

constexpr unsigned long kLongestWaitMs = 600000;
constexpr std::size_t kMostSteps = 10000;

// False, with error "line N: ...", at the first line that is not a step.
bool ParseUserScript(const std::string& text, std::vector<UserStep>& steps, std::string& error);

class ScriptedUser {
public:
    explicit ScriptedUser(std::vector<UserStep> steps = {}) : steps_(std::move(steps)) {}

    // Does the next step if its prompt is showing, or ends a wait whose time is over. Returns
    // true when a step was done; action then says what for the log ("pick 15.0000,10.0000").
    bool Act(CommandInterpreter& commandLine, unsigned long nowMs, std::string& action);

    bool Done() const { return next_ >= steps_.size(); }
    // How long the step just done asks the host to stop responding; asked once.
    unsigned long TakeFreezeMs() { return std::exchange(freezeMs_, 0); }

private:
    std::vector<UserStep> steps_;
    std::size_t next_ = 0;
    bool waiting_ = false;
    unsigned long waitStartMs_ = 0;
    unsigned long freezeMs_ = 0;
};

}  // namespace cadsim
