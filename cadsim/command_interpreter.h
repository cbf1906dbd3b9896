#pragma once
// The host's command line as portable logic: keystrokes go in, the prompt, the history and the
// system variables come out. The windows only show what this holds; commands are small state
// machines that answer one input at a time, so more of them can be added to the table.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "system_variables.h"

namespace cadsim {

// Oldest first; the last line is the newest.
using History = std::deque<std::string>;

// The host forgets its oldest lines beyond this many.
constexpr std::size_t kHistoryLimit = 100000;

// The prompt of a command line waiting for a command.
extern const char kIdlePrompt[];

// What a command may touch while it runs.
struct CommandContext {
    History& history;
    SystemVariables& variables;

    void Print(const std::string& line);
};

// A command waiting at its own prompt.
class RunningCommand {
public:
    virtual ~RunningCommand() = default;
    virtual std::string Prompt() const = 0;
    // One input, ended by Enter or a space, possibly empty. False when the command has ended.
    virtual bool Answer(const std::string& input, CommandContext& context) = 0;
};

// Starts a command: null when it ended at once (having printed what it had to say).
using CommandFactory = std::function<std::unique_ptr<RunningCommand>(CommandContext& context)>;

class CommandInterpreter {
public:
    explicit CommandInterpreter(History history = History(), SystemVariables variables = SystemVariables());

    // Keystrokes in code page 932: "\r" and a space end an input, 0x03 cancels the running
    // command, backspace erases the last character typed; other control characters are ignored.
    void Type(const std::string& keys);

    // The input line: the current prompt followed by what has been typed since the last input.
    std::string PromptText() const;
    const History& Lines() const { return history_; }
    const SystemVariables& Variables() const { return variables_; }
    bool Idle() const { return running_ == nullptr; }

private:
    void Submit();
    void Cancel();
    void Erase();
    void Start(const std::string& input);
    std::string CurrentPrompt() const;
    CommandContext Context() { return CommandContext{history_, variables_}; }

    History history_;
    SystemVariables variables_;
    std::map<std::string, CommandFactory> commands_;
    std::unique_ptr<RunningCommand> running_;
    std::string pending_;      // typed since the last input ended
    std::string lastCommand_;  // what Enter at the idle prompt repeats
};

// How many lines a host shows after opening a drawing.
constexpr std::size_t kOpeningLineCount = 3;

// The lines a host shows after opening a drawing, preceded by filler lines when more are asked
// for: exactly lineCount lines (at most kHistoryLimit), the opening lines last.
History OpeningHistory(std::size_t lineCount = kOpeningLineCount);

}  // namespace cadsim
