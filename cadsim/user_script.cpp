#include "user_script.h"

#include "source_lines.h"

#include "system_variables.h"

namespace cadsim {
namespace {

const char kPointPromptText[] = "点を指定";
const char kSelectPromptText[] = "オブジェクトを選択";

std::string TrimBlanks(const std::string& text) {
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(start, end - start);
}

// Cuts the first blank-separated word off text.
std::string TakeWord(std::string& text) {
    text = TrimBlanks(text);
    std::size_t end = 0;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t')
        ++end;
    std::string word = text.substr(0, end);
    text = TrimBlanks(text.substr(end));
    return word;
}

bool ParseWait(const std::string& word, unsigned long& ms) {
    if (word.empty() || word.size() > 6)
        return false;
    unsigned long n = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<unsigned long>(c - '0');
    }
    if (n > kLongestWaitMs)
        return false;
    ms = n;
    return true;
}

bool ParseStep(std::string rest, UserStep& step, std::string& error) {
    const std::string kind = UpperAscii(TakeWord(rest));
    if (kind == "WAIT") {
        step.kind = UserStep::Kind::Wait;
        const std::string ms = TakeWord(rest);
        if (!ParseWait(ms, step.waitMs) || !rest.empty()) {
            error = "wait needs a number of milliseconds from 0 to " + std::to_string(kLongestWaitMs);
            return false;
        }
        return true;
    }
    if (kind == "PICK" || kind == "SELECT") {
        step.kind = kind == "PICK" ? UserStep::Kind::Pick : UserStep::Kind::Select;
        step.prompt = kind == "PICK" ? kPointPromptText : kSelectPromptText;
        step.atStart = true;
        const std::string point = TakeWord(rest);
        if (!ParsePoint(point, step.point)) {
            error = kind == "PICK" ? "pick needs a point x,y" : "select needs a point x,y";
            return false;
        }
    } else if (kind == "ENTER") {
        step.kind = UserStep::Kind::Enter;
        step.prompt = kSelectPromptText;
        step.atStart = true;
    } else if (kind == "ESC") {
        step.kind = UserStep::Kind::Esc;
    } else if (kind == "FREEZE") {
        step.kind = UserStep::Kind::Freeze;
        if (!ParseWait(TakeWord(rest), step.waitMs)) {
            error = "freeze needs a number of milliseconds from 0 to " + std::to_string(kLongestWaitMs);
            return false;
        }
    } else {
        error = "unknown step (pick, select, enter, esc, wait or freeze)";
        return false;
    }
    if (rest.empty())
        return true;
    if (UpperAscii(TakeWord(rest)) != "AT" || rest.empty()) {
        error = "expected 'at' and a prompt text after the step";
        return false;
    }
    step.prompt = rest;
    step.atStart = false;
    return true;
}

std::string Describe(const UserStep& step) {
    switch (step.kind) {
        case UserStep::Kind::Pick:
            return "pick " + PointText(step.point);
        case UserStep::Kind::Select:
            return "select " + PointText(step.point);
        case UserStep::Kind::Enter:
            return "enter";
        case UserStep::Kind::Esc:
            return "esc";
        case UserStep::Kind::Wait:
            return "wait " + std::to_string(step.waitMs);
        case UserStep::Kind::Freeze:
            return "freeze " + std::to_string(step.waitMs);
    }
    return std::string();
}

}  // namespace

bool ParseUserScript(const std::string& text, std::vector<UserStep>& steps, std::string& error) {
    std::vector<UserStep> parsed;
    for (const SourceLine& source : SourceLines(text)) {
        const std::string& line = source.text;
        const std::size_t lineNumber = source.number;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        for (char c : line) {
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
                error = where + "control characters in the line (is this a script file?)";
                return false;
            }
        }
        if (TrimBlanks(line).empty())
            continue;
        UserStep step;
        step.line = lineNumber;
        std::string problem;
        if (!ParseStep(line, step, problem)) {
            error = where + problem;
            return false;
        }
        if (parsed.size() == kMostSteps) {
            error = where + "more than " + std::to_string(kMostSteps) + " steps";
            return false;
        }
        parsed.push_back(step);
    }
    steps = std::move(parsed);
    return true;
}

bool ScriptedUser::Act(CommandInterpreter& commandLine, unsigned long nowMs, std::string& action) {
    if (Done())
        return false;
    const UserStep& step = steps_[next_];
    if (step.kind == UserStep::Kind::Wait) {
        if (!waiting_) {
            waiting_ = true;
            waitStartMs_ = nowMs;
        }
        if (nowMs - waitStartMs_ < step.waitMs)
            return false;
        waiting_ = false;
        ++next_;
        action = Describe(step);
        return true;
    }
    const std::size_t at = commandLine.Prompt().find(step.prompt);
    const bool showing = step.prompt.empty() ? !commandLine.Idle() : (step.atStart ? at == 0 : at != std::string::npos);
    if (!showing)
        return false;
    action = Describe(step);
    switch (step.kind) {
        case UserStep::Kind::Pick:
        case UserStep::Kind::Select:
            if (!commandLine.Click(step.point))
                action += " ignored";
            break;
        case UserStep::Kind::Enter:
            commandLine.Type("\r");
            break;
        case UserStep::Kind::Esc:
            commandLine.Type("\x03");
            break;
        case UserStep::Kind::Freeze:
            freezeMs_ = step.waitMs;
            break;
        case UserStep::Kind::Wait:
            break;
    }
    ++next_;
    return true;
}

}  // namespace cadsim
