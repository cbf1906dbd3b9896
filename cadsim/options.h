#pragma once
// The simulator's command-line options: which host windows to open and how they look.
// Parsing is a pure function so that a bad option is reported before any window exists.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "undo_history.h"

namespace cadsim {

enum class FrameFamily { Afx, MdiFrame, DraftSight };
// None: no command line at all (only with a lone text window).
enum class CommandLinePlace { None, Docked, Palette, TextWindow };
enum class ChildNames { Headlands, InputOutput };
enum class TextWindowKind { AutoCad, CommandWindow, None };
// When typed input is handled: inside the WM_COPYDATA send, or queued and handled from the message
// loop after the send has returned, as a real host may do: right away, or after a delay when the
// host is busy for a moment.
enum class InputMode { Inside, After };
// What goes wrong with each report file the mass-properties command writes, for fault tests: it is
// gone afterwards, held open by another program, a folder stands in its place, it holds garbage,
// or it is 10 MB long.
enum class ReportFault { None, Missing, Locked, Folder, Garbage, Huge, NaN };

struct Options {
    FrameFamily frame = FrameFamily::Afx;
    int mdiNumber = 0;  // 10, 20, ..., 140 for FrameFamily::MdiFrame
    bool hasTitle = false;
    std::string title;  // code-page-932 bytes, as the arguments arrive
    // --unicode-title: the title is set in UTF-16 with each "\uXXXX" of it as that code unit, so
    // that a drawing's name may hold characters outside code page 932.
    bool titleEscapes = false;
    bool ansi = false;
    CommandLinePlace commandLine = CommandLinePlace::Docked;
    ChildNames names = ChildNames::Headlands;
    TextWindowKind textWindow = TextWindowKind::AutoCad;
    bool textWindowOnly = false;
    std::string readyFile;  // empty: write none
    InputMode input = InputMode::Inside;
    unsigned inputDelayMs = 0;     // InputMode::After: 0 handles input as soon as the loop runs
    unsigned lineDelayMs = 0;      // InputMode::After: a stall before each line of a record, not only before the record
    unsigned clipboardHoldMs = 0;  // keeps the clipboard open this long after copying the history
    std::string logFile;           // empty: log nothing
    bool logBusy = false;          // also log how long each piece of work took (for benchmarks)
    bool hasHistoryLines = false;
    std::size_t historyLines = 0;                                // the history's length at start when hasHistoryLines
    std::size_t historyKeep = 0;                                 // at most this many lines kept; 0: the general limit
    std::vector<std::pair<std::string, std::string>> variables;  // NAME=VALUE presets, in order
    std::string drawingFile;                                     // empty: an empty drawing
    std::string userFile;                                        // empty: no scripted user
    ReportFault reportFault = ReportFault::None;
    UndoControl undoControl = UndoControl::All;  // --undo-control
    // --typed-as-script: keystroke records are a script's input, not keyboard entry, so that
    // OSNAPCOORD 2 lets running object snaps move the points they type.
    bool typedAsScript = false;
    // --user-group: the host starts with an UNDO group of the user's own open, holding a short
    // line the user drew just outside the drawing's extents.
    bool userGroup = false;
    // --freeze-waits: the host stops answering (its window thread handles no message) for this
    // long each time a wait begins: a prompt that asks for a point of ID's or for objects, and
    // each report file written; with --freeze-at, each time a prompt holding that text shows.
    unsigned freezeWaitsMs = 0;
    std::string freezeAt;  // code page 932; empty: the waits above
};

struct ParseResult {
    bool ok = false;
    Options options;
    std::string error;  // one line saying what is wrong, when !ok
};

// args are the arguments after the program name.
ParseResult ParseOptions(const std::vector<std::string>& args);

// The title in UTF-16 pieces: runs of code-page-932 bytes and the code units of "\uXXXX"
// escapes, in order; false for a backslash-u without four hexadecimal digits.
struct TitlePiece {
    std::string bytes;  // empty for an escape
    char16_t unit = 0;
};
bool SplitEscapedTitle(const std::string& title, std::vector<TitlePiece>& pieces);

// The option summary printed with a parse error.
const char* Usage();

}  // namespace cadsim
