#pragma once
// The results list's three items in the main window's system menu: copy it for a spreadsheet,
// open it with the program the system associates with ".csv", and start a new list.

#include <windows.h>

#include "results_file.h"

namespace app {

// System-menu commands: below 0xF000, the low four bits left to the system.
enum ResultsCommand : UINT {
    kCmdCopyResults = 0x0110,
    kCmdOpenResults = 0x0120,
    kCmdNewResults = 0x0130,
};

class ResultsMenu {
public:
    explicit ResultsMenu(ResultsFile& file) : file_(file) {}

    // A separator and the three items below the system menu's own.
    void AddTo(HWND window);
    // Greys the items that have nothing to act on.
    void UpdateItems(HWND window);
    // Handles the menu's messages; true when the message was one of them.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The list as tab-separated text, on the clipboard in Unicode and ANSI text. Throws
    // framework::EInOutError when the clipboard cannot be opened or the file cannot be read.
    void CopyToClipboard();
    // With the program the system associates with ".csv"; without one, the list's folder opens with
    // the file selected.
    void Open(HWND window);
    void StartNewList();

private:
    ResultsFile& file_;
    HWND window_ = nullptr;
};

}  // namespace app
