#pragma once
// What this process put on the clipboard (the user's content put back after a history read, a
// copied results list) stays in its memory while the system keeps it there for the clipboard.
// Once another program's copy has replaced it, opening the clipboard once lets the system drop it.

#include <windows.h>

namespace app {

class ClipboardRelease {
public:
    // Listens for clipboard changes with this window.
    void Attach(HWND window);
    // True for the clipboard's change message, which it has handled.
    bool HandleMessage(HWND window, UINT message);

private:
    bool ownedLast_ = false;
};

}  // namespace app
