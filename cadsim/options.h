#pragma once
// The simulator's command-line options: which host windows to open and how they look.
// Parsing is a pure function so that a bad option is reported before any window exists.

#include <string>
#include <vector>

namespace cadsim {

enum class FrameFamily { Afx, MdiFrame, DraftSight };
// None: no command line at all (only with a lone text window).
enum class CommandLinePlace { None, Docked, Palette, TextWindow };
enum class ChildNames { Headlands, InputOutput };
enum class TextWindowKind { AutoCad, CommandWindow, None };

struct Options {
    FrameFamily frame = FrameFamily::Afx;
    int mdiNumber = 0;  // 10, 20, ..., 140 for FrameFamily::MdiFrame
    bool hasTitle = false;
    std::string title;  // code-page-932 bytes, as the arguments arrive
    bool ansi = false;
    CommandLinePlace commandLine = CommandLinePlace::Docked;
    ChildNames names = ChildNames::Headlands;
    TextWindowKind textWindow = TextWindowKind::AutoCad;
    bool textWindowOnly = false;
    std::string readyFile;  // empty: write none
};

struct ParseResult {
    bool ok = false;
    Options options;
    std::string error;  // one line saying what is wrong, when !ok
};

// args are the arguments after the program name.
ParseResult ParseOptions(const std::vector<std::string>& args);

// The option summary printed with a parse error.
const char* Usage();

}  // namespace cadsim
