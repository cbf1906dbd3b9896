#include "options.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "command_interpreter.h"
#include "system_variables.h"

namespace cadsim {
namespace {

bool ParseMdiNumber(const std::string& value, int& number) {
    static const std::string kPrefix = "mdi";
    if (value.compare(0, kPrefix.size(), kPrefix) != 0)
        return false;
    const std::string digits = value.substr(kPrefix.size());
    // Two or three digits without a leading zero: the host's frame classes run AfxMDIFrame10u..140u.
    if (digits.size() < 2 || digits.size() > 3 || digits[0] == '0')
        return false;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    if (n % 10 != 0 || n < 10 || n > 140)
        return false;
    number = n;
    return true;
}

constexpr std::size_t kLongestInputDelayMs = 10000;
// As long as the scripted user's longest freeze.
constexpr std::size_t kLongestFreezeMs = 600000;

bool ParseCount(const std::string& value, std::size_t largest, std::size_t& count) {
    if (value.empty() || value.size() > 7)
        return false;
    std::size_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    if (n > largest)
        return false;
    count = n;
    return true;
}

ParseResult Fail(const std::string& error) {
    ParseResult result;
    result.error = error;
    return result;
}

}  // namespace

const char* Usage() {
    return "usage: cadsim [--frame afx|mdi<10..140>|draftsight] [--title TEXT | --unicode-title TEXT] [--ansi]\n"
           "              [--cmdline docked|palette|textwindow] [--names headlands|io]\n"
           "              [--textwin autocad|command|none] [--text-window-only] [--ready FILE]\n"
           "              [--input inside|after] [--input-delay MS] [--line-delay MS] [--hold-clipboard MS] [--log "
           "FILE]\n"
           "              [--log-busy] [--history-lines N] [--history-keep N]\n"
           "              [--var NAME=VALUE]... [--drawing FILE] [--user FILE]\n"
           "              [--report-fault missing|locked|folder|garbage|huge|nan] [--undo-control all|none|one]\n"
           "              [--freeze-waits MS [--freeze-at TEXT]] [--typed-as-script] [--user-group]\n"
           "  --freeze-waits MS: stop answering for MS ms (1 to 600000) each time a wait begins: ID's point\n"
           "      prompt, a select-objects prompt, a report file written; with --freeze-at, each time a\n"
           "      prompt holding TEXT shows (once per showing)\n"
           "  --typed-as-script: typed records are a script's input (OSNAPCOORD 2 snaps their points)\n"
           "  --user-group: start with the user's own UNDO group open, holding a line they drew";
}

bool SplitEscapedTitle(const std::string& title, std::vector<TitlePiece>& pieces) {
    pieces.clear();
    std::size_t i = 0;
    while (i < title.size()) {
        const std::size_t escape = title.find("\\u", i);
        if (escape != i) {
            const std::size_t end = escape == std::string::npos ? title.size() : escape;
            pieces.push_back(TitlePiece{title.substr(i, end - i), 0});
            i = end;
            continue;
        }
        unsigned unit = 0;
        for (std::size_t d = escape + 2; d < escape + 6; ++d) {
            const char c = d < title.size() ? title[d] : '\0';
            const int digit = (c >= '0' && c <= '9')   ? c - '0'
                              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                       : -1;
            if (digit < 0)
                return false;
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        pieces.push_back(TitlePiece{std::string(), static_cast<char16_t>(unit)});
        i = escape + 6;
    }
    return true;
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
    Options options;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        const bool isFlag = name == "--ansi" || name == "--text-window-only" || name == "--log-busy" ||
                            name == "--typed-as-script" || name == "--user-group";
        const bool takesValue = name == "--frame" || name == "--title" || name == "--unicode-title" ||
                                name == "--cmdline" || name == "--names" || name == "--textwin" || name == "--ready" ||
                                name == "--input" || name == "--input-delay" || name == "--line-delay" ||
                                name == "--hold-clipboard" || name == "--log" || name == "--history-lines" ||
                                name == "--history-keep" || name == "--var" || name == "--drawing" ||
                                name == "--user" || name == "--report-fault" || name == "--undo-control" ||
                                name == "--freeze-waits" || name == "--freeze-at";
        if (!isFlag && !takesValue)
            return Fail("unknown option '" + name + "'");
        // Each variable may be preset once; the other options once at all.
        if (!seen.insert(name).second && name != "--var")
            return Fail("option '" + name + "' given twice");
        if (isFlag) {
            if (name == "--ansi")
                options.ansi = true;
            else if (name == "--log-busy")
                options.logBusy = true;
            else if (name == "--typed-as-script")
                options.typedAsScript = true;
            else if (name == "--user-group")
                options.userGroup = true;
            else
                options.textWindowOnly = true;
            continue;
        }
        if (i + 1 >= args.size())
            return Fail("option '" + name + "' needs a value");
        const std::string& value = args[++i];
        const std::string bad = "bad value '" + value + "' for " + name;
        if (name == "--frame") {
            if (value == "afx")
                options.frame = FrameFamily::Afx;
            else if (value == "draftsight")
                options.frame = FrameFamily::DraftSight;
            else if (ParseMdiNumber(value, options.mdiNumber))
                options.frame = FrameFamily::MdiFrame;
            else
                return Fail(bad + " (afx, mdi10, mdi20, ..., mdi140 or draftsight)");
        } else if (name == "--title" || name == "--unicode-title") {
            std::vector<TitlePiece> pieces;
            if (name == "--unicode-title" && !SplitEscapedTitle(value, pieces))
                return Fail(bad + " (\\u needs four hexadecimal digits)");
            options.hasTitle = true;
            options.title = value;
            options.titleEscapes = name == "--unicode-title";
        } else if (name == "--cmdline") {
            if (value == "docked")
                options.commandLine = CommandLinePlace::Docked;
            else if (value == "palette")
                options.commandLine = CommandLinePlace::Palette;
            else if (value == "textwindow")
                options.commandLine = CommandLinePlace::TextWindow;
            else
                return Fail(bad + " (docked, palette or textwindow)");
        } else if (name == "--names") {
            if (value == "headlands")
                options.names = ChildNames::Headlands;
            else if (value == "io")
                options.names = ChildNames::InputOutput;
            else
                return Fail(bad + " (headlands or io)");
        } else if (name == "--textwin") {
            if (value == "autocad")
                options.textWindow = TextWindowKind::AutoCad;
            else if (value == "command")
                options.textWindow = TextWindowKind::CommandWindow;
            else if (value == "none")
                options.textWindow = TextWindowKind::None;
            else
                return Fail(bad + " (autocad, command or none)");
        } else if (name == "--input") {
            if (value == "inside")
                options.input = InputMode::Inside;
            else if (value == "after")
                options.input = InputMode::After;
            else
                return Fail(bad + " (inside or after)");
        } else if (name == "--input-delay") {
            std::size_t delay = 0;
            if (!ParseCount(value, kLongestInputDelayMs, delay))
                return Fail(bad + " (0 to " + std::to_string(kLongestInputDelayMs) + " ms)");
            options.inputDelayMs = static_cast<unsigned>(delay);
        } else if (name == "--line-delay") {
            std::size_t delay = 0;
            if (!ParseCount(value, kLongestInputDelayMs, delay))
                return Fail(bad + " (0 to " + std::to_string(kLongestInputDelayMs) + " ms)");
            options.lineDelayMs = static_cast<unsigned>(delay);
        } else if (name == "--hold-clipboard") {
            // As a clipboard monitor would, at the worst moment for whoever asked for the history.
            std::size_t hold = 0;
            if (!ParseCount(value, kLongestInputDelayMs, hold))
                return Fail(bad + " (0 to " + std::to_string(kLongestInputDelayMs) + " ms)");
            options.clipboardHoldMs = static_cast<unsigned>(hold);
        } else if (name == "--report-fault") {
            static const std::pair<const char*, ReportFault> kFaults[] = {
                {"missing", ReportFault::Missing}, {"locked", ReportFault::Locked}, {"folder", ReportFault::Folder},
                {"garbage", ReportFault::Garbage}, {"huge", ReportFault::Huge},     {"nan", ReportFault::NaN},
            };
            const auto* fault = std::find_if(std::begin(kFaults), std::end(kFaults),
                                             [&](const auto& known) { return value == known.first; });
            if (fault == std::end(kFaults))
                return Fail(bad + " (missing, locked, folder, garbage, huge or nan)");
            options.reportFault = fault->second;
        } else if (name == "--undo-control") {
            if (value == "all")
                options.undoControl = UndoControl::All;
            else if (value == "none")
                options.undoControl = UndoControl::None;
            else if (value == "one")
                options.undoControl = UndoControl::One;
            else
                return Fail(bad + " (all, none or one)");
        } else if (name == "--freeze-waits") {
            std::size_t freeze = 0;
            if (!ParseCount(value, kLongestFreezeMs, freeze) || freeze == 0)
                return Fail(bad + " (1 to " + std::to_string(kLongestFreezeMs) + " ms)");
            options.freezeWaitsMs = static_cast<unsigned>(freeze);
        } else if (name == "--freeze-at") {
            if (value.empty())
                return Fail("option '" + name + "' needs a prompt text");
            options.freezeAt = value;
        } else if (name == "--history-lines") {
            if (!ParseCount(value, kHistoryLimit, options.historyLines))
                return Fail(bad + " (0 to " + std::to_string(kHistoryLimit) + ")");
            options.hasHistoryLines = true;
        } else if (name == "--history-keep") {
            if (!ParseCount(value, kHistoryLimit, options.historyKeep) || options.historyKeep == 0)
                return Fail(bad + " (1 to " + std::to_string(kHistoryLimit) + ")");
        } else if (name == "--var") {
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos || equals == 0)
                return Fail(bad + " (NAME=VALUE)");
            const std::string variable = value.substr(0, equals);
            for (const auto& preset : options.variables)
                if (UpperAscii(preset.first) == UpperAscii(variable))
                    return Fail("variable " + variable + " given twice");
            SystemVariables check;
            const SystemVariable* known = check.Find(variable);
            if (!known)
                return Fail(bad + " (no system variable " + variable + ")");
            if (known->kind == VariableKind::ReadOnlyInteger)
                return Fail(bad + " (" + known->name + " is read-only: the host computes it)");
            if (!check.Preset(variable, value.substr(equals + 1)))
                return Fail(bad + " (not a value of " + variable + ")");
            options.variables.emplace_back(variable, value.substr(equals + 1));
        } else {
            if (value.empty())
                return Fail("option '" + name + "' needs a file name");
            if (name == "--log")
                options.logFile = value;
            else if (name == "--drawing")
                options.drawingFile = value;
            else if (name == "--user")
                options.userFile = value;
            else
                options.readyFile = value;
        }
    }

    if (options.textWindow == TextWindowKind::None) {
        if (options.commandLine == CommandLinePlace::TextWindow)
            return Fail("--cmdline textwindow needs a text window (not --textwin none)");
        if (options.textWindowOnly)
            return Fail("--text-window-only needs a text window (not --textwin none)");
    }
    if (seen.count("--title") && seen.count("--unicode-title"))
        return Fail("--title and --unicode-title both set the title: give one");
    if (options.titleEscapes && options.ansi)
        return Fail("--unicode-title needs a Unicode main frame (not --ansi)");
    if (options.logBusy && options.logFile.empty())
        return Fail("--log-busy needs --log");
    if (options.userGroup && options.undoControl != UndoControl::All)
        return Fail("--user-group needs --undo-control all (groups exist only then)");
    if (!options.freezeAt.empty() && options.freezeWaitsMs == 0)
        return Fail("--freeze-at needs --freeze-waits");
    if (seen.count("--input-delay") && options.input != InputMode::After)
        return Fail("--input-delay needs --input after");
    if (seen.count("--line-delay") && options.input != InputMode::After)
        return Fail("--line-delay needs --input after");
    if (seen.count("--line-delay") && seen.count("--input-delay"))
        return Fail("--line-delay and --input-delay are two kinds of lateness: give one");
    if (options.textWindowOnly) {
        if (seen.count("--frame") || options.hasTitle)
            return Fail("--frame and --title need a main frame, which --text-window-only leaves out");
        if (seen.count("--cmdline") && options.commandLine != CommandLinePlace::TextWindow)
            return Fail("with --text-window-only the command line can only be in the text window");
        // Without a main frame there is no command line unless it was asked for in the text window.
        if (!seen.count("--cmdline"))
            options.commandLine = CommandLinePlace::None;
    }
    ParseResult result;
    result.ok = true;
    result.options = options;
    return result;
}

}  // namespace cadsim
