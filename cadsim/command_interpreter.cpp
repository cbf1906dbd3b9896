#include "command_interpreter.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "drawing_commands.h"
#include "massprop_command.h"
#include "object_snap.h"
#include "platform/codepage.h"
#include "undo_command.h"

namespace cadsim {

const char kIdlePrompt[] = "コマンド: ";

namespace {

const char kCancelMark[] = "*キャンセル*";
const char kReadOnlyMark[] = "(読み込み専用)";
const char kVariableNamePrompt[] = "変数名を入力 または [?]: ";
const char kUnknownVariable[] = "変数名が不明です。SETVAR ? と入力すると変数の一覧が表示されます。";

constexpr char kCancelKey = '\x03';
constexpr char kBackspaceKey = '\x08';
// A line longer than this is not typed by anyone; the rest is dropped instead of growing without end.
constexpr std::size_t kLongestInput = 1024;

const char* const kOpeningLines[kOpeningLineCount] = {
    "カスタマイズ ファイル ACAD をロードしました。",
    "図面を再作図中.",
    "コマンド:",
};

std::string TrimRightSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// "'" runs a command transparently and "_" or "." asks for its international or built-in
// name; the simulator treats all of them as the command itself.
std::string CommandName(const std::string& input) {
    std::size_t start = 0;
    while (start < input.size() && (input[start] == '\'' || input[start] == '_' || input[start] == '.'))
        ++start;
    return UpperAscii(input.substr(start));
}

// "_non", "none" and the like: no object snap for the next point.
bool IsNoSnap(const std::string& input) {
    const std::string word = UpperAscii(!input.empty() && input[0] == '_' ? input.substr(1) : input);
    return word == "NON" || word == "NONE";
}

std::string ValueLine(const SystemVariable& variable, const SystemVariables& variables) {
    return variable.name + " = " + variables.Shown(variable) + " " + kReadOnlyMark;
}

// Asks for a new value of one variable; Enter keeps the current one. Only this command changes
// the value while it waits, so the value shown is taken once.
class NewValueCommand : public RunningCommand {
public:
    NewValueCommand(const SystemVariable& variable, const SystemVariables& variables)
        : name_(variable.name), shown_(variables.Shown(variable)) {}

    std::string Prompt() const override { return name_ + " の新しい値を入力 <" + shown_ + ">: "; }

    bool Answer(const std::string& input, CommandContext& context) override {
        if (input.empty() || context.SetVariable(name_, input))
            return false;
        if (const SystemVariable* variable = context.variables.Find(name_))
            context.Print(SystemVariables::InvalidValueMessage(*variable));
        return true;  // asks again
    }

private:
    std::string name_;
    std::string shown_;
};

// Starts on a variable named at the command prompt or at SETVAR's: a read-only one is printed,
// any other asks for its new value.
std::unique_ptr<RunningCommand> OpenVariable(const SystemVariable& variable, CommandContext& context) {
    if (variable.ReadOnly()) {
        context.Print(ValueLine(variable, context.variables));
        return nullptr;
    }
    return std::make_unique<NewValueCommand>(variable, context.variables);
}

// SETVAR: the variable's name first, then its value.
class SetVarCommand : public RunningCommand {
public:
    std::string Prompt() const override { return value_ ? value_->Prompt() : kVariableNamePrompt; }

    bool Answer(const std::string& input, CommandContext& context) override {
        if (value_)
            return value_->Answer(input, context);
        if (input.empty())
            return false;
        const SystemVariable* variable = context.variables.Find(input);
        if (variable == nullptr) {
            context.Print(kUnknownVariable);
            return false;
        }
        value_ = OpenVariable(*variable, context);
        return value_ != nullptr;
    }

private:
    std::unique_ptr<RunningCommand> value_;
};

// Bytes of the last character of text, which is code page 932.
std::size_t LastCharacterSize(const std::string& text) {
    std::size_t start = 0;
    std::size_t size = 0;
    while (start < text.size()) {
        size = platform::IsCp932LeadByte(static_cast<unsigned char>(text[start])) && start + 1 < text.size() ? 2 : 1;
        start += size;
    }
    return size;
}

}  // namespace

CommandInterpreter::CommandInterpreter(History history,
                                       SystemVariables variables,
                                       Drawing drawing,
                                       ReportFiles* files,
                                       UndoControl undoControl)
    : history_(std::move(history)),
      variables_(std::move(variables)),
      drawing_(std::move(drawing)),
      files_(files),
      undo_(undoControl),
      snapAperture_(kSnapAperturePixels) {
    while (history_.size() > kHistoryLimit)
        history_.pop_front();
    drawing_.TakeChanges();  // the view starts by showing all of it
    commands_["SETVAR"] = [](CommandContext&) -> std::unique_ptr<RunningCommand> {
        return std::make_unique<SetVarCommand>();
    };
    commands_["ID"] = StartId;
    commands_["CIRCLE"] = commands_["C"] = StartCircle;
    commands_["-BOUNDARY"] = commands_["-BO"] = StartBoundary;
    commands_["REGION"] = commands_["REG"] = StartRegion;
    commands_["MASSPROP"] = StartMassprop;
    commands_["UNDO"] = StartUndo;
    commands_["U"] = StartU;
    UpdateUndoCtl();
}

CommandContext CommandInterpreter::Context() {
    UpdateUndoCtl();
    const PointInput pointInput{snapAperture_, source_ == KeySource::Script, unsnapNext_};
    return CommandContext{history_, variables_, drawing_, files_, events_, edits_, undo_, pointInput};
}

void CommandInterpreter::UpdateUndoCtl() {
    variables_.SetComputed("UNDOCTL", UndoCtl(undo_));
}

bool CommandInterpreter::OpenUserGroup(Entity entity) {
    if (!Idle() || !undo_.Begin())
        return false;
    CommandContext context = Context();
    context.Note("undo begin");
    context.AddEntity(std::move(entity));
    // Drawn as a command of its own would be, so that it joins the group.
    undo_.Record("LINE", std::move(edits_));
    edits_ = DrawingEdits();
    UpdateUndoCtl();
    return true;
}

void CommandInterpreter::Type(const std::string& keys, KeySource source) {
    source_ = source;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const char key = keys[i];
        if (platform::IsCp932LeadByte(static_cast<unsigned char>(key)) && i + 1 < keys.size()) {
            // A trail byte is never one of the keys below, but both bytes go in together.
            if (pending_.size() + 2 <= kLongestInput)
                pending_.append(keys, i, 2);
            ++i;
        } else if (key == '"') {
            quoted_ = !quoted_;
        } else if (key == '\r' || (key == ' ' && !quoted_)) {
            Submit();
        } else if (key == kCancelKey) {
            Cancel();
        } else if (key == kBackspaceKey) {
            Erase();
        } else if ((static_cast<unsigned char>(key) >= 0x20) && pending_.size() < kLongestInput) {
            pending_ += key;
        }
    }
    source_ = KeySource::Keyboard;
    UpdateUndoCtl();
}

std::string CommandInterpreter::Prompt() const {
    // A transparent command shows its prompt marked, over the command it interrupts.
    if (transparent_)
        return ">>" + transparent_->Prompt();
    return running_ ? running_->Prompt() : kIdlePrompt;
}

std::string CommandInterpreter::PromptText() const {
    return Prompt() + pending_;
}

bool CommandInterpreter::Click(const Point& point) {
    if (!TakesClicks())
        return false;
    pending_.clear();
    CommandContext context = Context();
    unsnapNext_ = false;
    context.Print(TrimRightSpaces(Prompt()));
    if (!running_->Click(point, context))
        EndCommand();
    UpdateUndoCtl();
    return true;
}

std::vector<int> CommandInterpreter::Highlighted() const {
    return running_ ? running_->Highlighted() : std::vector<int>();
}

std::vector<std::string> CommandInterpreter::TakeEvents() {
    std::vector<std::string> events;
    events.swap(events_);
    return events;
}

RedrawAreas CommandInterpreter::TakeRedrawAreas() {
    RedrawAreas areas;
    areas.drawing = drawing_.TakeChanges();
    std::vector<int> highlighted = Highlighted();
    std::sort(highlighted.begin(), highlighted.end());
    std::vector<int> changed;
    std::set_symmetric_difference(highlighted.begin(), highlighted.end(), shownHighlighted_.begin(),
                                  shownHighlighted_.end(), std::back_inserter(changed));
    for (int id : changed)
        if (const Entity* entity = drawing_.Find(id))
            areas.selection.push_back(BoundsOf(*entity));
    shownHighlighted_ = std::move(highlighted);
    return areas;
}

void CommandInterpreter::Submit() {
    const std::string input = std::move(pending_);
    pending_.clear();
    quoted_ = false;
    CommandContext context = Context();
    context.Print(TrimRightSpaces(Prompt() + input));
    if (transparent_) {
        if (!transparent_->Answer(input, context))
            transparent_.reset();
        return;
    }
    // 'SETVAR at another command's prompt runs inside it: no step of its own, and the command's
    // prompt comes back once it is done.
    if (running_ && !input.empty() && input[0] == '\'' && CommandName(input) == "SETVAR") {
        transparent_ = std::make_unique<SetVarCommand>();
        return;
    }
    if (running_) {
        // The override holds for the next input at the same prompt, which stays as it was.
        const bool noSnap = running_->TakesPoints() && IsNoSnap(input);
        unsnapNext_ = noSnap;
        if (!noSnap && !running_->Answer(input, context))
            EndCommand();
        return;
    }
    Start(input);
}

void CommandInterpreter::Cancel() {
    // What was typed without Enter goes with the cancelled command, as on the host.
    CommandContext context = Context();
    context.Print(Prompt() + kCancelMark);
    pending_.clear();
    quoted_ = false;
    transparent_.reset();
    if (running_)
        EndCommand();
}

void CommandInterpreter::EndCommand() {
    running_.reset();
    unsnapNext_ = false;
    if (!stepName_.empty())
        undo_.Record(stepName_, std::move(edits_));
    stepName_.clear();
    edits_ = DrawingEdits();
}

void CommandInterpreter::Erase() {
    pending_.resize(pending_.size() - LastCharacterSize(pending_));
}

void CommandInterpreter::Start(const std::string& input) {
    std::string name = CommandName(input);
    if (name.empty()) {
        if (lastCommand_.empty())
            return;
        name = lastCommand_;
    }
    CommandContext context = Context();
    const auto command = commands_.find(name);
    if (command != commands_.end()) {
        lastCommand_ = name;
        // Taking back is not itself taken back.
        stepName_ = name == "UNDO" || name == "U" ? std::string() : name;
        running_ = command->second(context);
        if (!running_)
            EndCommand();
        return;
    }
    // A variable's name is a command of its own; showing a read-only one changes nothing to take back.
    if (const SystemVariable* variable = variables_.Find(name)) {
        lastCommand_ = variable->name;
        stepName_ = variable->ReadOnly() ? std::string() : variable->name;
        running_ = OpenVariable(*variable, context);
        if (!running_)
            EndCommand();
        return;
    }
    context.Print("不明なコマンド \"" + input + "\" です。F1 キーを押すとヘルプが表示されます。");
}

History OpeningHistory(std::size_t lineCount) {
    if (lineCount > kHistoryLimit)
        lineCount = kHistoryLimit;
    const std::size_t opening = kOpeningLineCount;
    History history;
    const std::size_t filler = lineCount > opening ? lineCount - opening : 0;
    for (std::size_t n = 1; n <= filler; ++n)
        history.push_back("コマンド: LINE 最初の点を指定: " + std::to_string(n) + ".0000," + std::to_string(n % 97) +
                          ".5000");
    for (std::size_t i = opening - (lineCount - filler); i < opening; ++i)
        history.push_back(kOpeningLines[i]);
    return history;
}

}  // namespace cadsim
